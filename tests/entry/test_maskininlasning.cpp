#include "Inskrivningsstod.h"
#include "Tolkstod.h"
#include "common/IniNamn.h"
#include "entry/frmValjSkjutlag.h"

#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

// Cards read into result entry end to end: the window in machine mode on one
// end of a cable, a scoring machine of either model on the other.

using Bild = Tolklank::Bild;

namespace {

// A competition in machine mode whose program reaches the machine as COM1.
struct Maskininlasning : Inskrivning {
    explicit Maskininlasning(Modell m, NyTavling::Typ typ = NyTavling::Typ::Sportskytte)
        : Inskrivning(typ, 4, 2, 8), modell(m) {
        const QString t = Ini::Sektion::Tolkmaskin;
        if (!f.g.iniTavling.WriteKeys({{t, Ini::TolkmaskinIGrundomg.nyckel, u"1"_s},
                                       {t, Ini::Comport.nyckel, u"1"_s},
                                       {t, Ini::Model.nyckel, modelltext(m)},
                                       {t, Ini::DecimalerRika.nyckel, u"1"_s}}) ||
            !f.g.iniProgram.WriteKey(SerieportarSektion, u"COM1"_s, kabel.pc))
            qFatal("the settings could not be written");
        f.g.blnTolkmaskinGrundomg = true;
    }
    // The window goes before the cable.
    ~Maskininlasning() { delete w; }

    F* oppna(int skjutlag, Tolklank::Tider tider = korta()) { return Inskrivning::oppna(skjutlag, tider); }
    // Enter on a series field, and the machine has been polled.
    bool lasIn(int serie, int rad) {
        ser(w, serie, rad)->setFocus();
        const qsizetype fore = maskin.mottaget.size();
        tryck(Qt::Key_Return);
        return QTest::qWaitFor([&] { return maskin.mottaget.indexOf(tal(modell).poll, fore) >= 0; }, 10000);
    }
    // The next card, and (waited for) what it stored in the series.
    int kortTill(const QString& skott, int bana, int serie) {
        const int fore = res(1, bana, serie);
        maskin.lagg(skott);
        (void)QTest::qWaitFor([&] { return res(1, bana, serie) != fore; }, 10000);
        return res(1, bana, serie);
    }
    // After a card: the acknowledgement, the restart's short start, a poll.
    bool kvitteratOchOmstartat() {
        const Tal t = tal(modell, '1');
        return QTest::qWaitFor([&] { return maskin.efterRam().startsWith(t.kvittens + t.omstart + t.poll); },
                               10000);
    }
    bool stoppat() {
        return QTest::qWaitFor([&] { return maskin.mottaget.endsWith(tal(modell).stopp); }, 10000);
    }
    // The link is open and waits for Enter (no read runs, nothing restarts).
    bool oppenVila() const {
        return w->tolklank()->portOppen() && !w->tolklank()->lasningPagar() && w->tolkbild() == Bild::Ingen &&
               tolkstatus() == F::TolkmaskinVilar;
    }
    // The link has let go of the port.
    bool stangd() const {
        return !w->tolklank()->portOppen() && !w->tolklank()->lasningPagar() && !harOppen(kabel.pc);
    }
    // The machine's status panel, and " [bild]" while its picture shows.
    QString tolkstatus() const {
        const auto* bild = widget<QLabel>(w, "bildStatusTolkmaskin");
        return panel(w, F::PanelStatusTolkmaskin) +
               (bild->isHidden() || bild->pixmap().isNull() ? QString() : u" [bild]"_s);
    }

    Kabel kabel;
    Modell modell;
    Maskin maskin{kabel.tolk, modell};
};

} // namespace

class T_maskininlasning : public QObject {
    Q_OBJECT

private slots:
    // A card is shown and stored with its sums, string and counts, the next
    // series marked for the next card. A series cleared with Delete before
    // neither stops the restart nor switches the counts to hand; a key typed
    // during a read is refused.
    void kortSparas_data() { modeller(); }
    void kortSparas() {
        QFETCH(Modell, modell);
        Maskininlasning s(modell);
        s.satt(1, 1, u"SfST3"_s, u"98*++"_s);
        F* w = s.oppna(1);
        QCOMPARE(s.tolkstatus(), F::TolkmaskinVilar);
        QCOMPARE(w->tolkbild(), Bild::Ingen);
        QString dialog;
        const auto fanga = [&] {
            QTimer::singleShot(0, [&] {
                if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    dialog = d->windowTitle();
                    d->reject();
                }
            });
        };
        // A digit opens the shots, a letter is dropped, Delete clears the string.
        ser(w, 3, 1)->setFocus();
        fanga();
        skriv(u"7"_s);
        QCOMPARE(std::exchange(dialog, {}), u"5 Skott"_s);
        QVERIFY(aktivera(w));
        skriv(u"x"_s);
        QCOMPARE(ser(w, 3, 1)->text(), u"0"_s);
        ser(w, 3, 0)->setFocus();
        tryck(Qt::Key_Delete);
        QCOMPARE(s.lagrat(1, 1, u"SfST3"_s), u"00000"_s);
        QVERIFY(s.lasIn(3, 0));
        QVERIFY(w->tolklank()->lasningPagar());
        QVERIFY(s.maskin.mottaget.startsWith(tal(modell, '1').start));
        QCOMPARE(s.tolkstatus(), Tolklank::StartText + u" [bild]"_s);
        QVERIFY(w->tolkbild() != Bild::Ingen && w->tolkbild() != Bild::NoComConn);
        fanga();
        skriv(u"7"_s);
        QVERIFY(dialog.isEmpty());
        QVERIFY(ser(w, 3, 0)->text().isEmpty());
        QCOMPARE(s.kortTill(GottKort, 1, 3), 46);
        QCOMPARE(ser(w, 3, 0)->text(), u"46"_s);
        QCOMPARE(falt(w, 0, "txtSum20")->text(), u"46"_s);
        QCOMPARE(s.lagrat(1, 1, u"SfST3, Sum20, Totalt40, Totalt60, TioNior, Innertior"_s),
                 u"*+998|46|46|46|2,2,1,0,0,0,0,0,0,0|1"_s);
        QCOMPARE(plats(), u"0 txtSer4"_s);
        QVERIFY(w->blnSerieMarkerad && w->intMarkeradRad == 0 && w->intMarkeradSerie == 4);
        QVERIFY(s.f.m.visade.isEmpty());
        QVERIFY(s.kvitteratOchOmstartat());
        QVERIFY(w->tolklank()->lasningPagar());
        QCOMPARE(s.kortTill(u"10.0,10.5,10.1,10.9,10.0"_s, 1, 4), 50);
        QCOMPARE(s.lagrat(1, 1, u"SfST4, Sum20, Innertior, Res5"_s), u"+*+*+|96|3|0"_s);
        QCOMPARE(plats(), u"0 txtSer5"_s);
        QCOMPARE(w->intMarkeradSerie, 5);
        QCOMPARE(s.maskin.ramar, 2);
        QVERIFY(s.f.m.visade.isEmpty() && !s.f.g.blnEjAuto1098);
    }

    // After series 8 comes 9 where the row shows it (red for 40 shots, bringing
    // the 60-shot total out), else series 1.
    void efterSerie8() {
        {
            Maskininlasning s(Modell::Sam4000);
            s.satt(1, 2, u"Klass"_s, u"D"_s);
            F* w = s.oppna(1);
            QVERIFY(s.lasIn(8, 1));
            QCOMPARE(s.kortTill(u"9.1,9.2,9.3,9.4,9.5"_s, 2, 8), 45);
            QCOMPARE(plats(), u"1 txtSer9"_s);
            QVERIFY(!ser(w, 9, 1)->isHidden());
            QCOMPARE(ser(w, 9, 1)->palette().color(QPalette::Base), Ljusrod);
            QCOMPARE(w->intMarkeradSerie, 9);
            QVERIFY(falt(w, 1, "txtRes60")->isHidden());
            QCOMPARE(s.kortTill(u"8,8,8,8,8"_s, 2, 9), 40);
            QCOMPARE(plats(), u"1 txtSer10"_s);
            QVERIFY(!falt(w, 1, "txtRes60")->isHidden());
            QCOMPARE(falt(w, 1, "txtRes60")->text(), u"85"_s);
        }
        Maskininlasning s(Modell::Rika, NyTavling::Typ::Nationellt);
        F* w = s.oppna(1);
        QVERIFY(ser(w, 9, 0)->isHidden());
        QVERIFY(s.lasIn(8, 0));
        QCOMPARE(s.kortTill(u"9.1,9.2,9.3,9.4,9.5"_s, 1, 8), 45);
        QCOMPARE(plats(), u"0 txtSer1"_s);
        QCOMPARE(w->intMarkeradSerie, 1);
    }

    // Cards read while another window is active still go series after series.
    void fonstretInteAktivt() {
        Maskininlasning s(Modell::Sam4000);
        F* w = s.oppna(1);
        QVERIFY(s.lasIn(5, 1));
        QWidget annat;
        QVERIFY(aktivera(&annat));
        QVERIFY(!w->isActiveWindow());
        s.maskin.lagg(u"9,9,9,9,9"_s);
        QCOMPARE(s.kortTill(u"8,8,8,8,8"_s, 2, 6), 40);
        QCOMPARE(s.res(1, 2, 5), 45);
        QVERIFY(w->blnSerieMarkerad && w->intMarkeradSerie == 7);
        QCOMPARE(panel(w, F::PanelBana), u"Bana 2"_s);
        QVERIFY(s.f.m.visade.isEmpty());
    }

    // Escape during a read: the RIKA is told to stop, the SAM 4000 nothing; the
    // port is let go, and Enter reads again.
    void escape_data() { modeller(); }
    void escape() {
        QFETCH(Modell, modell);
        Maskininlasning s(modell);
        F* w = s.oppna(1);
        QVERIFY(s.lasIn(2, 0));
        tryck(Qt::Key_Escape);
        QVERIFY(s.stangd());
        QCOMPARE(s.tolkstatus(), F::TolkmaskinVilar);
        QCOMPARE(w->tolkbild(), Bild::Ingen);
        if (modell == Modell::Rika)
            QVERIFY(s.stoppat());
        else
            QVERIFY(s.maskin.mottaget.endsWith(tal(modell).poll) && !s.maskin.mottaget.contains('\xB0'));
        QCOMPARE(plats(), u"0 txtSer2"_s);
        QVERIFY(s.f.m.visade.isEmpty());
        QVERIFY(s.lasIn(2, 0));
        QCOMPARE(s.kortTill(u"10,10,10,10,10"_s, 1, 2), 50);
    }

    // Switching squads stops the link before the picker, also with a restart
    // due, and nothing opens it again; closing the window stops it too.
    void bytSkjutlagOchStang_data() { modeller(); }
    void bytSkjutlagOchStang() {
        QFETCH(Modell, modell);
        Maskininlasning s(modell);
        F* w = s.oppna(1, korta(&Tolklank::Tider::omstart, 300ms));
        QVERIFY(s.lasIn(1, 0));
        QCOMPARE(s.kortTill(u"9,9,9,9,9"_s, 1, 1), 45);
        bool stangdUnderValet = false;
        QTimer::singleShot(0, [&] {
            auto* valj = qobject_cast<frmValjSkjutlag*>(QApplication::activeModalWidget());
            if (!valj)
                return;
            stangdUnderValet = s.stangd();
            QTest::mouseClick(widget<QRadioButton>(valj, "Opt2"), Qt::LeftButton);
            QTest::mouseClick(widget<QPushButton>(valj, "cmdOK"), Qt::LeftButton);
        });
        widget<QPushButton>(w, "cmdBytSkjutlag")->click();
        QVERIFY(stangdUnderValet);
        QCOMPARE(w->windowTitle(), u"Resultatinskrivning Skjutlag 2 "_s);
        QVERIFY(s.stoppat());
        const QByteArray vidStopp = s.maskin.mottaget;
        // Longer than the restart's wait: the port stays closed and silent.
        QTest::qWait(900);
        QVERIFY(s.stangd());
        QCOMPARE(s.maskin.mottaget, vidStopp);
        QCOMPARE(s.tolkstatus(), F::TolkmaskinVilar);
        QVERIFY(s.f.m.visade.isEmpty());
        QVERIFY(aktivera(w));
        QVERIFY(s.lasIn(1, 0));
        QVERIFY(harOppen(s.kabel.pc));
        s.maskin.mottaget.clear();
        QVERIFY(w->close());
        QTRY_VERIFY(s.w.isNull());
        QVERIFY(!harOppen(s.kabel.pc));
        QVERIFY(s.stoppat());
    }

    // A card with no series marked is told, taken, not stored; the link restarts.
    void ingenSerieMarkerad_data() { modeller(); }
    void ingenSerieMarkerad() {
        QFETCH(Modell, modell);
        Maskininlasning s(modell);
        F* w = s.oppna(1);
        s.satt(1, 1, u"SfST3"_s, u"98765"_s);
        QSignalSpy status(w->tolklank(), &Tolklank::statusAndrad);
        QVERIFY(s.lasIn(3, 0));
        falt(w, 0, "txtSarskjutning")->setFocus();
        QVERIFY(!w->blnSerieMarkerad);
        s.maskin.lagg(GottKort);
        QVERIFY(s.kvitteratOchOmstartat());
        QCOMPARE(s.f.m.visade.size(), 1);
        QCOMPARE(senaste(s.f.m),
                 meddelande(u"Ingen serie markerad"_s, Ikon::Kritisk,
                            u"Ingen skytts serie är markerad!\r\nDet går ej att spara resultat "
                            "någonstans!\r\n\r\nMarkera en skytts serie och kör tavlan igen."_s));
        QVERIFY(status.contains({Tolklank::OmstartText, QVariant::fromValue(Bild::ComConn)}));
        QCOMPARE(s.lagrat(1, 1, u"Res3, SfST3, Totalt60"_s), u"0|98765|0"_s);
        QCOMPARE(ser(w, 3, 0)->text(), u"0"_s);
        QCOMPARE(plats(), u"0 txtSarskjutning"_s);
    }

    // A card with a shot missing, or one whose save fails, stores nothing; the
    // port stays open and Enter reads again.
    void kortetSparasInte_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<bool>("saknatSkott");
        QTest::newRow("SAM 4000 saknat skott") << Modell::Sam4000 << true;
        QTest::newRow("RIKA saknat skott") << Modell::Rika << true;
        QTest::newRow("SAM 4000 sparningen misslyckas") << Modell::Sam4000 << false;
    }
    void kortetSparasInte() {
        QFETCH(Modell, modell);
        QFETCH(bool, saknatSkott);
        Maskininlasning s(modell);
        s.satt(1, 1, u"Res3"_s, 31);
        s.satt(1, 1, u"SfST3"_s, u"98765"_s);
        F* w = s.oppna(1);
        if (!saknatSkott)
            s.f.g.cnnTavling.kor(
                u"CREATE TRIGGER stopp BEFORE UPDATE ON Skyttar BEGIN SELECT RAISE(ABORT, 'stopp'); END"_s);
        QVERIFY(s.lasIn(3, 0));
        s.maskin.lagg(saknatSkott ? u"10.9,10.2,?,9.5,8.0"_s : GottKort);
        QTRY_VERIFY_WITH_TIMEOUT(!s.f.m.visade.isEmpty(), 10000);
        if (saknatSkott) {
            QCOMPARE(senaste(s.f.m), meddelande(u"Fel antal skott"_s, Ikon::Kritisk,
                                                u"Det saknas skott från tolkmaskinen!"_s));
        } else {
            QVERIFY(senaste(s.f.m).startsWith(u"|0|"_s) && senaste(s.f.m).contains(u"stopp"_s));
            s.f.g.cnnTavling.kor(u"DROP TRIGGER stopp"_s);
        }
        QVERIFY(s.oppenVila());
        QCOMPARE(s.lagrat(1, 1, u"Res3, SfST3"_s), u"31|98765"_s);
        QCOMPARE(ser(w, 3, 0)->text(), u"31"_s);
        QCOMPARE(plats(), u"0 txtSer3"_s);
        QVERIFY(s.lasIn(3, 0));
        QCOMPARE(s.kortTill(GottKort, 1, 3), 46);
        QCOMPARE(ser(w, 3, 0)->text(), u"46"_s);
        QCOMPARE(plats(), u"0 txtSer4"_s);
    }
};

QTEST_MAIN(T_maskininlasning)
#include "test_maskininlasning.moc"
