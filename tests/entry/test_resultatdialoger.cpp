#include <QTest>

class T_resultatdialoger : public QObject {
    Q_OBJECT
};

QTEST_MAIN(T_resultatdialoger)
#include "test_resultatdialoger.moc"
