#include "shell/Upptagen.h"

#include <QTest>
#include <stdexcept>

// The busy guard gives back what it took, once, however its scope ends. The
// test keeps a cursor of its own beneath, so a guard that gave back too much
// takes that one too.
class TestUpptagen : public QObject {
    Q_OBJECT
private slots:
    void gerTillbakaEnGang() {
        QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
        const auto markor = [] { return QGuiApplication::overrideCursor()->shape(); };
        QWidget oppen, stangd;
        stangd.setEnabled(false);
        {
            Upptagen u(&oppen);
            QCOMPARE(markor(), Qt::WaitCursor);
            QVERIFY(!oppen.isEnabled());
            QCOMPARE(u.steg([] { return 7; }), 7);
            QCOMPARE(u.utanTimglas([&] { return markor(); }), Qt::PointingHandCursor);
            QCOMPARE(markor(), Qt::WaitCursor);
            u.klar();
            QCOMPARE(u.utanTimglas([&] { return markor(); }), Qt::PointingHandCursor);
            u.klar();
            QVERIFY(oppen.isEnabled());
            QCOMPARE(markor(), Qt::PointingHandCursor);
        }
        QCOMPARE(markor(), Qt::PointingHandCursor);
        {
            Upptagen u(&stangd);
            try {
                u.steg([] { throw std::runtime_error("fel"); });
                QFAIL("the step's failure went by");
            } catch (const std::runtime_error&) {
                QCOMPARE(markor(), Qt::PointingHandCursor);
            }
        }
        QCOMPARE(markor(), Qt::PointingHandCursor);
        QVERIFY(!stangd.isEnabled());
        QGuiApplication::restoreOverrideCursor();
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(TestUpptagen)
#include "test_upptagen.moc"
