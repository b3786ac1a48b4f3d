#include <QTest>

class T_tavelsvar : public QObject {
    Q_OBJECT
};

QTEST_MAIN(T_tavelsvar)
#include "test_tavelsvar.moc"
