#include <QTest>

class TestSokskytt : public QObject {
    Q_OBJECT
private slots:
    void tom() {}
};

QTEST_MAIN(TestSokskytt)
#include "test_sokskytt.moc"
