#include <QTest>

class TestUtskriftsval : public QObject {
    Q_OBJECT
private slots:
    void tom() {}
};

QTEST_MAIN(TestUtskriftsval)
#include "test_utskriftsval.moc"
