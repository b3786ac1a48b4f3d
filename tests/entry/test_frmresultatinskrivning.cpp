#include <QTest>

class T_frmresultatinskrivning : public QObject {
    Q_OBJECT
};

QTEST_MAIN(T_frmresultatinskrivning)
#include "test_frmresultatinskrivning.moc"
