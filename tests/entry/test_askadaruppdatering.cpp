#include <QTest>

class T_askadaruppdatering : public QObject {
    Q_OBJECT
};

QTEST_MAIN(T_askadaruppdatering)
#include "test_askadaruppdatering.moc"
