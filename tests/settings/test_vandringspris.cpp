#include <QTest>

class TestVandringspris : public QObject {
    Q_OBJECT
private slots:
    void tom() {}
};

QTEST_MAIN(TestVandringspris)
#include "test_vandringspris.moc"
