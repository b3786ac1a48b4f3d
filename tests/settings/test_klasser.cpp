#include <QTest>

class TestKlasser : public QObject {
    Q_OBJECT
private slots:
    void tom() {}
};

QTEST_MAIN(TestKlasser)
#include "test_klasser.moc"
