#include <QTest>

class TestSkytt : public QObject {
    Q_OBJECT
private slots:
    void tom() {}
};

QTEST_MAIN(TestSkytt)
#include "test_skytt.moc"
