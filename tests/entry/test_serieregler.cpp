#include <QTest>

class T_serieregler : public QObject {
    Q_OBJECT
};

QTEST_MAIN(T_serieregler)
#include "test_serieregler.moc"
