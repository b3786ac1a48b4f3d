#include <QTest>

class TestSkjutlag : public QObject {
    Q_OBJECT
private slots:
    void tom() {}
};

QTEST_MAIN(TestSkjutlag)
#include "test_skjutlag.moc"
