#include "platform/Databas.h"
#include "platform/workbook/Skrivarmotor.h"
#include "printouts/Lagutskriftbok.h"
#include "printouts/Registrering.h"
#include "shell/Fonstervard.h"
#include "support/Testfixtur.h"
#include "support/Textplats.h"
#include "support/Widget.h"
#include "support/XlsxLasare.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using Ikon = Meddelanden::Ikon;
using Lagsammanstallning = Lagutskriftbok::Lagsammanstallning;

Q_DECLARE_METATYPE(Utskriftsmal)

namespace {

// A team as its kind's keys give it: "namn:summa:innertior:sum60:indres:res8:tionior".
struct Lag {
    QString namn;
    int summa = 0;
    int innertior = 0;
    int sum60 = 0;
    QString indRes{};
    int res8 = 0;
    QString tioNior = u"0,0,0,0,0,0,0,0,0,0"_s;
};

// A sport competition without its own team competition.
struct Miljo {
    Testfixtur f;
    explicit Miljo(int skyttar = 4, bool medGrafik = true) : f(medGrafik) {
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 10, 1, skyttar);
        db().kor(u"DELETE FROM Lagtävling"_s);
        Utskrifter::registrera(f.delar());
    }
    Databas& db() { return f.g.cnnTavling; }
    qint64 tavling(const QString& namn, const QString& slag, int omg = 0) {
        db().kor(
            u"INSERT INTO Lagtävling (Lagtävlingsnamn, [Antal skyttar], [Antal skott], Omg, [Sport/Nat]) "
            u"VALUES (?, 3, 40, ?, ?)"_s,
            {namn, omg, slag});
        return db().varde(u"SELECT last_insert_rowid()"_s).toLongLong();
    }
    qint64 lag(qint64 tavling, const Lag& l) {
        db().kor(u"INSERT INTO Lag (Lagnamn, Lagtävling, Summa, Innertior, Sum60, IndRes, Res8, TioNior) "
                 u"VALUES (?, ?, ?, ?, ?, COALESCE(?, ''), ?, ?)"_s,
                 {l.namn, tavling, l.summa, l.innertior, l.sum60, l.indRes, l.res8, l.tioNior});
        return db().varde(u"SELECT last_insert_rowid()"_s).toLongLong();
    }
    // Shooter i (from 0) in the team, shooting its series for it.
    void medlem(int i, qint64 lag, const QString& namn, const QList<int>& serier) {
        const qint64 nr =
            db().varde(
                    u"SELECT Löpnummer FROM Skyttar WHERE Löpnummer <> 1 ORDER BY Löpnummer LIMIT 1 OFFSET ?"_s,
                    {i})
                .toLongLong();
        db().kor(
            u"UPDATE Skyttar SET Namn = ?, Efternamn = 'Berg', Lag = ?, Lagserier = ? WHERE Löpnummer = ?"_s,
            {namn, lag, serier.size(), nr});
        for (int s = 0; s < serier.size(); ++s)
            db().kor(u"UPDATE Skyttar SET Res%1 = ? WHERE Löpnummer = ?"_s.arg(s + 1), {serier[s], nr});
    }
    void omgangar() {
        f.g.blnFleraTavlingar = true;
        db().kor(u"INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (1, 'Första'), (2, 'Andra')"_s);
    }
    QString utskrifter(const QString& fil) const {
        return QDir(f.g.strTavlingsmapp + u"Utskrifter"_s).filePath(fil);
    }
    QWidget* oppna(Utskriftsmal mal = Utskriftsmal::Fil) {
        return f.fonster.visaFonster(Fonsternamn::Lagutskrift, mal);
    }
};

} // namespace

Q_DECLARE_METATYPE(QList<Lag>)

// The team results: the order and places of the teams, the saved sheet, and
// the window that makes them.
class TestLagutskrift : public QObject {
    Q_OBJECT

private slots:
    void platser_data() {
        QTest::addColumn<QString>("slag");
        QTest::addColumn<QList<Lag>>("lag");
        QTest::addColumn<QString>("lista");
        const QString tior = u"10,0,0,0,0,0,0,0,0,0"_s, nior = u"9,5,0,0,0,0,0,0,0,0"_s;
        QTest::newRow("sport lika delar plats")
            << u"Sport"_s << QList<Lag>{{u"Beta"_s, 500}, {u"Gamma"_s, 490}, {u"Alfa"_s, 500}}
            << u"1 Alfa, 1 Beta, 3 Gamma"_s;
        QTest::newRow("sport innertior före parsummor")
            << u"Sport"_s << QList<Lag>{{u"A"_s, 500, 1, 99}, {u"B"_s, 500, 2, 90}} << u"1 B, 2 A"_s;
        QTest::newRow("sport tior som tal")
            << u"Sport"_s << QList<Lag>{{u"A"_s, 500, 0, 0, {}, 0, nior}, {u"B"_s, 500, 0, 0, {}, 0, tior}}
            << u"1 B, 2 A"_s;
        QTest::newRow("nat medlemmarna som tal")
            << u"Nat"_s << QList<Lag>{{u"A"_s, 190, 0, 0, u"98,92"_s}, {u"B"_s, 190, 0, 0, u"100,90"_s}}
            << u"1 B, 2 A"_s;
        QTest::newRow("nat olika många medlemmar")
            << u"Nat"_s << QList<Lag>{{u"A"_s, 190, 0, 0, u"95,95"_s}, {u"B"_s, 190, 0, 0, u"95,95,0"_s}}
            << u"1 A, 1 B"_s;
        QTest::newRow("nat serie 8 före tior") << u"Nat"_s
                                               << QList<Lag>{{u"A"_s, 190, 0, 0, u"95,95"_s, 40, tior},
                                                             {u"B"_s, 190, 0, 0, u"95,95"_s, 41, nior}}
                                               << u"1 B, 2 A"_s;
        QTest::newRow("nat alla lika")
            << u"Nat"_s << QList<Lag>{{u"D"_s, 180}, {u"C"_s, 190}, {u"B"_s, 190}, {u"A"_s, 190}}
            << u"1 A, 1 B, 1 C, 4 D"_s;
    }
    void platser() {
        QFETCH(QString, slag);
        QFETCH(QList<Lag>, lag);
        QFETCH(QString, lista);
        Miljo mj;
        const qint64 t = mj.tavling(u"Lagen"_s, slag);
        for (const Lag& l : lag)
            mj.lag(t, l);
        const Lagutskriftbok::Urval u = Lagutskriftbok::lasIn(mj.db(), std::nullopt);
        QVERIFY(u.tavlingFinns);
        QCOMPARE(u.block.size(), 1);
        QStringList ut;
        for (const Lagutskriftbok::Placerat& p : u.block[0].lag)
            ut << u"%1 %2"_s.arg(p.plats).arg(p.lag.namn);
        QCOMPARE(ut.join(u", "_s), lista);
    }

    // Which team competitions are listed: those of the round, by key, and only
    // of a known kind with teams.
    void urval() {
        Miljo mj;
        const qint64 a = mj.tavling(u"A"_s, u"Sport"_s, 2);
        mj.tavling(u"Utan lag"_s, u"Nat"_s, 2);
        const qint64 okand = mj.tavling(u"Okänd"_s, u"Annat"_s, 2);
        const qint64 b = mj.tavling(u"B"_s, u"Nat"_s, 1);
        const qint64 c = mj.tavling(u"C"_s, u"Nat"_s, 2);
        for (qint64 t : {c, okand, b, a})
            mj.lag(t, {u"Lag%1"_s.arg(t)});
        const auto namn = [&](std::optional<int> omg) {
            QStringList l;
            for (const Lagutskriftbok::Tavlingsblock& b : Lagutskriftbok::lasIn(mj.db(), omg).block)
                l << b.tavling.namn;
            return l.join(u',');
        };
        QCOMPARE(namn(2), u"A,C"_s);
        QCOMPARE(namn(std::nullopt), u"A,B,C"_s);
        QVERIFY(!Lagutskriftbok::lasIn(mj.db(), 3).tavlingFinns);
    }

    // Without rounds the list of every team competition is saved while the
    // window loads, from the scores just computed; the sheet as saved.
    void sparatBlad() {
        Miljo mj;
        const qint64 t = mj.tavling(u"Lagtävling 1"_s, u"Sport"_s);
        const qint64 norr = mj.lag(t, {u"Norr"_s});
        const qint64 soder = mj.lag(t, {u"Söder"_s});
        mj.medlem(0, norr, u"Ada"_s, {40, 40});
        mj.medlem(1, norr, u"Bo"_s, {45, 45});
        mj.medlem(2, soder, u"Cia"_s, {50, 50});
        QWidget* w = mj.oppna();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), u"Lagutskrift"_s);
        QCOMPARE(mj.f.m.senasteText(),
                 u"Filen spardes i:\r\n"_s +
                     QDir::toNativeSeparators(mj.f.g.strTavlingsmapp + u"Utskrifter"_s));
        const XlsxLasare x(mj.utskrifter(u"Lagutskrift_Fil.xlsx"_s));
        QCOMPARE(x.bladnamn(), u"Lagutskrift"_s);
        using Rad = QStringList;
        const QList<Rad> vantat{{u"Lagtävling 1"_s},
                                {},
                                {u"1"_s, u"Norr"_s},
                                {},
                                {{}, {}, u"Bo Berg"_s, u"90"_s},
                                {{}, {}, u"Ada Berg"_s, u"80"_s},
                                {{}, {}, u"Totalt"_s, u"170"_s},
                                {},
                                {u"2"_s, u"Söder"_s},
                                {},
                                {{}, {}, u"Cia Berg"_s, u"100"_s},
                                {{}, {}, u"Totalt"_s, u"100"_s}};
        QCOMPARE(x.rader(), vantat);
        QCOMPARE(x.radhojd(1), 24.75);
        QCOMPARE(x.radhojd(3), 15.75);
        QCOMPARE(x.format(u"A1"_s).storlek, 18.0);
        QVERIFY(x.format(u"A1"_s).fet);
        QCOMPARE(x.format(u"C5"_s).storlek, 12.0);
        QCOMPARE(x.typ(u"A3"_s), u"n"_s);
        QVERIFY(x.format(u"A3"_s).fet && x.format(u"B3"_s).fet);
        QVERIFY(!x.format(u"C5"_s).fet && !x.format(u"D5"_s).fet);
        const XlsxLasare::Format totalt = x.format(u"C7"_s);
        QVERIFY(totalt.fet);
        QCOMPARE(totalt.justering, u"right"_s);
        QCOMPARE(totalt.fyllning, u"FF969696"_s);
        QCOMPARE(x.format(u"D7"_s).fyllning, u"FF969696"_s);
        QVERIFY(x.format(u"D7"_s).fet);
        QVERIFY(x.format(u"B7"_s).fyllning.isEmpty());
    }

    // With rounds the dialog lists the rounds and saves the chosen round's
    // team competitions under the round's number; it stays open.
    void omgangTillFil() {
        Miljo mj;
        mj.omgangar();
        mj.lag(mj.tavling(u"Första laget"_s, u"Sport"_s, 1), {u"X"_s});
        mj.lag(mj.tavling(u"Andra laget"_s, u"Sport"_s, 2), {u"Y"_s});
        const QList<Meny> menyer{Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning};
        const auto pa = [&] {
            QList<bool> l;
            for (Meny m : menyer)
                l << mj.f.fonster.menyPa(m);
            return l;
        };
        for (Meny m : menyer)
            mj.f.fonster.sattMeny(m, true);
        QWidget* w = mj.oppna();
        QVERIFY(w);
        auto* omg = widget<QComboBox>(w, "cboVilkenOmg");
        QCOMPARE(omg->count(), 2);
        QCOMPARE(omg->currentText(), u"Första"_s);
        omg->setCurrentIndex(1);
        widget<QPushButton>(w, "cmdOK")->click();
        QVERIFY(QFile::exists(mj.utskrifter(u"LagutskriftOmg2_Fil.xlsx"_s)));
        QCOMPARE(XlsxLasare(mj.utskrifter(u"LagutskriftOmg2_Fil.xlsx"_s)).varde(u"A1"_s), u"Andra laget"_s);
        QVERIFY(mj.f.fonster.fonster(Fonsternamn::Lagutskrift));
        QCOMPARE(pa(), QList<bool>(3, false));
        widget<QPushButton>(w, "cmdAvbryt")->click();
        QVERIFY(!mj.f.fonster.fonster(Fonsternamn::Lagutskrift));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QCOMPARE(pa(), QList<bool>(3, true));
    }

    // The rounds as they were entered, not sorted by number; each carries
    // its own number.
    void omgangarnasOrdning() {
        Miljo mj;
        mj.f.g.blnFleraTavlingar = true;
        mj.db().kor(u"INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (3, 'Final'), (1, 'Kval'), "
                    u"(2, 'Semi')"_s);
        QWidget* w = mj.oppna();
        QVERIFY(w);
        auto* omg = widget<QComboBox>(w, "cboVilkenOmg");
        QStringList lista;
        for (int i = 0; i < omg->count(); ++i)
            lista << u"%1 %2"_s.arg(omg->itemData(i).toInt()).arg(omg->itemText(i));
        QCOMPARE(lista, (QStringList{u"3 Final"_s, u"1 Kval"_s, u"2 Semi"_s}));
        QCOMPARE(omg->currentText(), u"Final"_s);
    }

    // The dialog's icon tells where the list goes; every text shows whole.
    void ikonOchTexter_data() {
        QTest::addColumn<Utskriftsmal>("mal");
        QTest::addColumn<QString>("ikon");
        QTest::newRow("skrivare") << Utskriftsmal::Printer << u"Printer.ico"_s;
        QTest::newRow("fil") << Utskriftsmal::Fil << u"Disk.ico"_s;
    }
    void ikonOchTexter() {
        QFETCH(Utskriftsmal, mal);
        QFETCH(QString, ikon);
        Miljo mj;
        mj.omgangar();
        QWidget* w = mj.oppna(mal);
        QVERIFY(w);
        QVERIFY2(mj.f.m.visade.isEmpty(), qPrintable(mj.f.m.senasteText()));
        const QIcon vantad(QDir(mj.f.g.strProgrammapp).filePath(u"Grafik/Ikoner/"_s + ikon));
        QVERIFY(!vantad.isNull());
        QCOMPARE(w->windowIcon().pixmap(32).toImage(), vantad.pixmap(32).toImage());
        w->show();
        QCOMPARE(kaptaTexter(w), QString());
    }

    // A round whose team competitions have no team, or none of a known
    // kind, is no mistake: the empty sheet is saved without a word.
    void tomtBlad() {
        Miljo mj;
        mj.omgangar();
        mj.tavling(u"Utan lag"_s, u"Sport"_s, 1);
        mj.lag(mj.tavling(u"Okänd"_s, u"Annat"_s, 1), {u"X"_s});
        QWidget* w = mj.oppna();
        QVERIFY(w);
        widget<QPushButton>(w, "cmdOK")->click();
        QCOMPARE(mj.f.m.visade.size(), 1);
        QVERIFY(mj.f.m.senasteText().startsWith(u"Filen spardes i:"_s));
        QCOMPARE(XlsxLasare(mj.utskrifter(u"LagutskriftOmg1_Fil.xlsx"_s)).rader(), QList<QStringList>());
    }

    // What the window tells instead of a list, and that it then writes nothing.
    void ingetAttSkriva_data() {
        QTest::addColumn<bool>("omgangar");
        QTest::addColumn<int>("tavlingensOmg");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("titel");
        const QString ingen = u"Det finns ingen lagtävling skapad till denna omgången!"_s;
        QTest::newRow("ingen lagtävling") << false << -1 << ingen << u"Ingen tävling"_s;
        QTest::newRow("ingen i omgången") << true << 2 << ingen << u"Ingen tävling"_s;
        QTest::newRow("ingen omgång inskriven") << true << 0
                                                << u"Tävlingen har flera tävlingsomgångar men ingen "
                                                   u"är inskriven.\r\nSkriv in omgångarna under "
                                                   u"Inställningar först."_s
                                                << u"Ingen tävlingsomgång"_s;
    }
    void ingetAttSkriva() {
        QFETCH(bool, omgangar);
        QFETCH(int, tavlingensOmg);
        QFETCH(QString, text);
        QFETCH(QString, titel);
        Miljo mj;
        if (tavlingensOmg >= 0)
            mj.lag(mj.tavling(u"T"_s, u"Sport"_s, tavlingensOmg), {u"X"_s});
        if (omgangar) {
            mj.f.g.blnFleraTavlingar = true;
            if (tavlingensOmg > 0)
                mj.omgangar();
        }
        QWidget* w = mj.oppna();
        QVERIFY(w);
        if (omgangar)
            widget<QPushButton>(w, "cmdOK")->click();
        QCOMPARE(mj.f.m.senasteText(), text);
        QCOMPARE(mj.f.m.visade.back().titel, titel);
        QVERIFY(!QDir(mj.utskrifter({})).exists() || QDir(mj.utskrifter({})).isEmpty());
    }

    // A load that fails is told with the form's prefix and opens nothing; a
    // list that fails is told with the list's, and the dialog goes on.
    void fel() {
        Miljo mj;
        mj.omgangar();
        mj.db().kor(u"CREATE TRIGGER nej BEFORE UPDATE ON Lag BEGIN SELECT RAISE(ABORT, 'nej'); END"_s);
        mj.lag(mj.tavling(u"T"_s, u"Sport"_s, 1), {u"X"_s});
        const auto menyer = [&] {
            return QList<bool>{mj.f.fonster.menyPa(Meny::mnuUtskrift),
                               mj.f.fonster.menyPa(Meny::mnuInstallningar),
                               mj.f.fonster.menyPa(Meny::mnuInskrivning)};
        };
        const QList<bool> fore = menyer();
        QVERIFY(!mj.oppna());
        QVERIFY(mj.f.m.senasteText().startsWith(u"frmLagutskrift, Form_load: "_s));
        QCOMPARE(mj.f.m.visade.back().titel, u"Fel"_s);
        QCOMPARE(menyer(), fore);

        mj.db().kor(u"DROP TRIGGER nej"_s);
        QWidget* w = mj.oppna();
        QVERIFY(w);
        mj.db().kor(u"DROP TABLE Lag"_s);
        widget<QPushButton>(w, "cmdOK")->click();
        QVERIFY(mj.f.m.senasteText().startsWith(u"frmLagutskrift.UtskriftExcel: "_s));
        QCOMPARE(mj.f.m.visade.back().ikon, Ikon::Ingen);
        QVERIFY(w->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }

    // A missing icon is told once and the list is still made.
    void ikonSaknas() {
        Miljo mj(4, false);
        mj.lag(mj.tavling(u"T"_s, u"Sport"_s), {u"X"_s});
        QVERIFY(mj.oppna());
        QCOMPARE(mj.f.m.visade[0].text, u"frmLagutskrift, Form_load: Ikon saknas!"_s);
        QCOMPARE(mj.f.m.visade[0].titel, u"Ikon saknas"_s);
        QCOMPARE(mj.f.m.visade[0].ikon, Ikon::Information);
        for (qsizetype i = 1; i < mj.f.m.visade.size(); ++i)
            QVERIFY(!mj.f.m.visade[i].text.startsWith(u"frmLagutskrift"_s));
        QVERIFY(mj.f.m.senasteText().startsWith(u"Filen spardes i:"_s));
    }

    // Printed: the sheet goes to the printer and is saved as "_Printer".
    void utskrift() {
        Miljo mj;
        mj.lag(mj.tavling(u"T"_s, u"Sport"_s), {u"X"_s});
        Skrivarmotor motor;
        const QString pdf = mj.f.t.fil(u"lag.pdf"_s);
        motor.setPdfFil(pdf);
        const Arbetsboksram::Omgivning o{mj.f.g, mj.f.m, &motor};
        const std::optional<QString> fil = Lagutskriftbok::kor(o, Utskriftsmal::Printer, std::nullopt);
        QVERIFY(fil);
        QVERIFY(fil->endsWith(u"/Utskrifter/Lagutskrift_Printer.xlsx"_s));
        QVERIFY(QFileInfo(pdf).size() > 0);
    }
};

QTEST_MAIN(TestLagutskrift)
#include "test_lagutskrift.moc"
