#include <QTest>

class T_maskininlasning : public QObject {
    Q_OBJECT
};

QTEST_MAIN(T_maskininlasning)
#include "test_maskininlasning.moc"
