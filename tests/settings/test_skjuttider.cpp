#include <QTest>

class TestSkjuttider : public QObject {
    Q_OBJECT
private slots:
    void tom() {}
};

QTEST_MAIN(TestSkjuttider)
#include "test_skjuttider.moc"
