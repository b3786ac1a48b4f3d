#include <QTest>

class TestLag : public QObject {
    Q_OBJECT
private slots:
    void tom() {}
};

QTEST_MAIN(TestLag)
#include "test_lag.moc"
