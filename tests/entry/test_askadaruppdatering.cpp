#include "entry/Askadaruppdatering.h"
#include "spectator/Askadarstod.h"

#include <QElapsedTimer>
#include <QThread>

namespace {
// Short in place of the program's 2000 ms.
constexpr int Intervall = 300;

// The squad a message shows (fourth field of its header line).
int skjutlagI(const QByteArray& meddelande) {
    return meddelande.left(meddelande.indexOf("\r\n")).split('|').value(3).toInt();
}

// A competition whose squad 1 is open in result entry and on the display.
struct Miljo : Flodesmiljo {
    Miljo() {
        skytt(1, 1, QStringLiteral("Anna"), QStringLiteral("Ek"), QStringLiteral("SK"), QStringLiteral("H"));
        skytt(2, 1, QStringLiteral("Bo"), QStringLiteral("Al"), QStringLiteral("SK"), QStringLiteral("H"));
        askadare = anslut();
        g.intValtSkjutlag = 1;
        g.blnResultatInskrivningOppen = true;
    }
    bool visa(int skjutlag) {
        const int fore = int(askadare->meddelanden().size());
        return flode->visaSkjutlag(skjutlag) && askadare->vantaPaMeddelanden(fore + 1);
    }
    int antal() const { return int(askadare->meddelanden().size()); }
    // Lets the event loop run long enough for the timer to have fired at least
    // once; a timer that has not fired is not the point of what follows.
    void latTimernGa() { QTest::qWait(Intervall * 2); }
    std::unique_ptr<Askadare> askadare;
};
} // namespace

class T_askadaruppdatering : public QObject {
    Q_OBJECT

private slots:
    // Three changed saves in a row send one message, a whole wait after the
    // last. Nothing runs the event loop between the saves, so the timer cannot
    // fire between them, however slow the machine.
    void treSparningarEttMeddelande() {
        Miljo f;
        QVERIFY(f.askadare);
        QVERIFY(f.visa(1));
        Askadaruppdatering u(f.g, *f.flode, Intervall);
        u.serieSparad(true);
        QThread::msleep(Intervall * 2 / 3);
        u.serieSparad(true);
        QThread::msleep(Intervall * 2 / 3);
        u.serieSparad(true);
        QElapsedTimer sedanSista;
        sedanSista.start();
        QVERIFY(u.vantar());
        QVERIFY(f.askadare->vantaPaMeddelanden(2));
        // Had a save not started the wait again, the first save's wait would
        // have been long over by now and gone out at once.
        QVERIFY2(sedanSista.elapsed() >= Intervall * 9 / 10,
                 qPrintable(QString::number(sedanSista.elapsed())));
        QVERIFY(!u.vantar());
        f.latTimernGa();
        QCOMPARE(f.antal(), 2);
        QCOMPARE(skjutlagI(f.askadare->meddelanden().back()), 1);
    }

    void oforandradSparningSkickarIngenting() {
        Miljo f;
        QVERIFY(f.askadare);
        QVERIFY(f.visa(1));
        Askadaruppdatering u(f.g, *f.flode, Intervall);
        u.serieSparad(false);
        QVERIFY(!u.vantar());
        // Nobody on screen for this squad: a changed save starts nothing either.
        f.g.intSkjutlagPaSkarm = 0;
        u.serieSparad(true);
        QVERIFY(!u.vantar());
        QVERIFY(f.visa(2));
        u.serieSparad(true);
        QVERIFY(!u.vantar());
        f.latTimernGa();
        QCOMPARE(f.antal(), 2);
    }

    // The display switched to another squad while the wait ran: the update
    // keeps looking and goes out once the open squad is on screen again.
    void vantarTillsSkjutlagetArPaSkarmen() {
        Miljo f;
        QVERIFY(f.askadare);
        QVERIFY(f.visa(1));
        Askadaruppdatering u(f.g, *f.flode, Intervall);
        u.serieSparad(true);
        QVERIFY(f.visa(2));
        f.latTimernGa();
        QVERIFY(u.vantar());
        QCOMPARE(f.antal(), 2);
        QCOMPARE(skjutlagI(f.askadare->meddelanden().back()), 2);

        // Squad 1 counts as on screen again.
        f.g.intSkjutlagPaSkarm = 1;
        QVERIFY(f.askadare->vantaPaMeddelanden(3));
        QCOMPARE(skjutlagI(f.askadare->meddelanden().back()), 1);
        QVERIFY(!u.vantar());
        f.latTimernGa();
        QCOMPARE(f.antal(), 3);
    }

    // A shot-by-shot save starts the wait even without a change.
    void skottForSkott() {
        Miljo f;
        QVERIFY(f.askadare);
        Askadaruppdatering u(f.g, *f.flode, Intervall);
        u.skottForSkottSparat();
        QVERIFY(!u.vantar()); // nothing on screen yet
        QVERIFY(f.visa(1));
        u.skottForSkottSparat();
        QVERIFY(u.vantar());
        QVERIFY(f.askadare->vantaPaMeddelanden(2));
        QVERIFY(!u.vantar());
    }

    // Before the squad changes or the window closes a pending update goes out
    // at once, if its squad is still on screen.
    void skickaVantande() {
        Miljo f;
        QVERIFY(f.askadare);
        QVERIFY(f.visa(1));
        Askadaruppdatering u(f.g, *f.flode, 60000);
        u.skickaVantande();
        QCOMPARE(f.antal(), 1); // nothing pending, nothing sent

        u.serieSparad(true);
        u.skickaVantande();
        QVERIFY(!u.vantar());
        QVERIFY(f.askadare->vantaPaMeddelanden(2));
        QCOMPARE(skjutlagI(f.askadare->meddelanden().back()), 1);

        // Pending, but the display shows another squad: dropped, not sent.
        u.serieSparad(true);
        QVERIFY(f.visa(2));
        u.skickaVantande();
        QVERIFY(!u.vantar());
        f.latTimernGa();
        QCOMPARE(f.antal(), 3);
        QCOMPARE(skjutlagI(f.askadare->meddelanden().back()), 2);
    }
};

QTEST_MAIN(T_askadaruppdatering)
#include "test_askadaruppdatering.moc"
