#include <QTest>

class TestLagtavlingar : public QObject {
    Q_OBJECT
private slots:
    void tom() {}
};

QTEST_MAIN(TestLagtavlingar)
#include "test_lagtavlingar.moc"
