#include <QTest>

class T_resultatsparning : public QObject {
    Q_OBJECT
};

QTEST_MAIN(T_resultatsparning)
#include "test_resultatsparning.moc"
