#include <QTest>

class TestFrminskrivningskyttar : public QObject {
    Q_OBJECT
private slots:
    void tom() {}
};

QTEST_MAIN(TestFrminskrivningskyttar)
#include "test_frminskrivningskyttar.moc"
