#include <QTest>

class TestFrminstallningar : public QObject {
    Q_OBJECT
private slots:
    void tom() {}
};

QTEST_MAIN(TestFrminstallningar)
#include "test_frminstallningar.moc"
