#include <QTest>

class TestOmgangar : public QObject {
    Q_OBJECT
private slots:
    void tom() {}
};

QTEST_MAIN(TestOmgangar)
#include "test_omgangar.moc"
