#include "entry/Askadaruppdatering.h"
#include "support/Askadarstod.h"

#include <QThread>

namespace {
// Short in place of the program's 2000 ms.
constexpr int Intervall = 300;

// A competition whose squad 1 is open in result entry, with a display connected.
struct Miljo : Flodesmiljo {
    Miljo() {
        skytt(1, 1, QStringLiteral("Anna"), QStringLiteral("Ek"), QStringLiteral("SK"), QStringLiteral("H"));
        skytt(2, 1, QStringLiteral("Bo"), QStringLiteral("Al"), QStringLiteral("SK"), QStringLiteral("H"));
        askadare = anslut();
        g.intValtSkjutlag = 1;
        inskrivningOppen = true;
    }
    bool visa(int skjutlag) {
        const int fore = antal();
        return flode->visaSkjutlag(skjutlag) && askadare->vantaPaMeddelanden(fore + 1);
    }
    int antal() const { return int(askadare->meddelanden().size()); }
    // The squad of the last message (fourth field of its header line).
    int senaste() const {
        const QByteArray m = askadare->meddelanden().back();
        return m.left(m.indexOf("\r\n")).split('|').value(3).toInt();
    }
    // Long enough for the timer to have fired.
    void latTimernGa() { QTest::qWait(Intervall * 2); }
    std::unique_ptr<Askadare> askadare;
};
} // namespace

class T_askadaruppdatering : public QObject {
    Q_OBJECT

private slots:
    // A save that changed a pair sum, or shot by shot, (re)starts the wait
    // while the open squad is on screen; one message goes out after the last.
    void vantanStartasOchBorjarOm() {
        Miljo f;
        QVERIFY(f.askadare);
        Askadaruppdatering u(f.g, *f.flode, Intervall);
        u.serieSparad(true);
        u.skottForSkottSparat();
        QVERIFY(!u.vantar()); // nothing on screen yet
        QVERIFY(f.visa(1));
        u.serieSparad(false);
        QVERIFY(!u.vantar());
        // Two saves further apart than the wait: the second starts it again.
        u.serieSparad(true);
        QThread::msleep(Intervall * 3 / 2);
        u.serieSparad(true);
        QCoreApplication::processEvents();
        QVERIFY(u.vantar());
        QVERIFY(f.askadare->vantaPaMeddelanden(2));
        QVERIFY(!u.vantar());
        QCOMPARE(f.senaste(), 1);
        u.skottForSkottSparat();
        QVERIFY(u.vantar());
        QVERIFY(f.askadare->vantaPaMeddelanden(3));
        // Another squad on screen: a changed save starts nothing.
        QVERIFY(f.visa(2));
        u.serieSparad(true);
        QVERIFY(!u.vantar());
        f.latTimernGa();
        QCOMPARE(f.antal(), 4);
    }

    // With another squad on screen the update waits for the open one; at a
    // switch or close it goes at once if its squad shows, else is dropped.
    void annatSkjutlagPaSkarmen() {
        Miljo f;
        QVERIFY(f.askadare);
        QVERIFY(f.visa(1));
        Askadaruppdatering u(f.g, *f.flode, Intervall);
        u.serieSparad(true);
        QVERIFY(f.visa(2));
        f.latTimernGa();
        QVERIFY(u.vantar());
        QCOMPARE(f.antal(), 2);
        QCOMPARE(f.senaste(), 2);
        f.g.intSkjutlagPaSkarm = 1;
        QVERIFY(f.askadare->vantaPaMeddelanden(3));
        QCOMPARE(f.senaste(), 1);
        QVERIFY(!u.vantar());
        Askadaruppdatering lang(f.g, *f.flode, 60000);
        lang.skickaVantande(); // nothing pending, nothing sent
        lang.serieSparad(true);
        lang.skickaVantande();
        QVERIFY(!lang.vantar());
        QVERIFY(f.askadare->vantaPaMeddelanden(4));
        QCOMPARE(f.senaste(), 1);
        lang.serieSparad(true);
        QVERIFY(f.visa(2));
        lang.skickaVantande();
        QVERIFY(!lang.vantar());
        f.latTimernGa();
        QCOMPARE(f.antal(), 5);
        QCOMPARE(f.senaste(), 2);
    }
};

QTEST_MAIN(T_askadaruppdatering)
#include "test_askadaruppdatering.moc"
