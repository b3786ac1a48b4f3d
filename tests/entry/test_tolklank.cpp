#include <QTest>

class T_tolklank : public QObject {
    Q_OBJECT
};

QTEST_MAIN(T_tolklank)
#include "test_tolklank.moc"
