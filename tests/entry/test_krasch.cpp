#include <QTest>

class T_krasch : public QObject {
    Q_OBJECT
};

QTEST_MAIN(T_krasch)
#include "test_krasch.moc"
