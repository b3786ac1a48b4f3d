#include <QTest>

class TestTolkmaskinstest : public QObject {
    Q_OBJECT
private slots:
    void tom() {}
};

QTEST_MAIN(TestTolkmaskinstest)
#include "test_tolkmaskinstest.moc"
