#include "common/IniNamn.h"
#include "platform/workbook/Arbetsblad.h"
#include "platform/workbook/Skrivarmotor.h"
#include "printouts/Foreningslista.h"
#include "support/Testfixtur.h"
#include "support/XlsxLasare.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <cmath>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Utskriftsmal)

namespace {

using Rader = QList<QStringList>;

// Four clubs: "bälinge" sorts before "IFK" only in Swedish order with letter
// case ignored; "IFK" and "ifk" are one club; Arboga's shooter has no lane.
// Squad 1 has a shooting time, squad 2 none; two rounds.
struct Klubbar {
    Testfixtur f;
    Skrivarmotor motor;

    Klubbar() {
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Nationellt, 4, 2, 0);
        skytt(u"Al"_s, u"Ås"_s, u"bälinge"_s, 2, 1, 2, 0);
        skytt(u"Cy"_s, u"Berg"_s, u"IFK"_s, 1, 1, 1, 480);
        skytt(u"Bo"_s, u"Ek"_s, u"ifk"_s, 1, 2, 1, 510);
        skytt(u"Ed"_s, u"Ny"_s, u"Arboga"_s, 0, 0, 1, 0);
        Databas& db = f.g.cnnTavling;
        db.kor(u"INSERT INTO Skjuttider (Skjutlag, Skjuttid) VALUES (1, '9.30')"_s);
        db.kor(u"INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (1, 'Lördag'), (2, 'Söndag')"_s);
        motor.setPdfFil(f.t.fil(u"lista.pdf"_s));
    }
    // A shooter, on the lane given (squad 0: none).
    void skytt(const QString& namn, const QString& efternamn, const QString& forening, int skjutlag, int bana,
               int omg, int totalt60) {
        Databas& db = f.g.cnnTavling;
        db.kor(u"INSERT INTO Skyttar (Namn, Efternamn, Förening, Klass, Omg, Totalt60) "
               "VALUES (?, ?, ?, 'K1', ?, ?)"_s,
               {namn, efternamn, forening, omg, totalt60});
        if (skjutlag > 0)
            db.kor(u"UPDATE Skjutlag SET Startnummer = (SELECT MAX(Löpnummer) FROM Skyttar) "
                   "WHERE Skjutlag = ? AND Bana = ?"_s,
                   {skjutlag, bana});
    }
    std::optional<QString> kor(Utskriftsmal mal, const Foreningslista::Val& val) {
        const Arbetsboksram::Omgivning o{f.g, f.m, &motor};
        return Foreningslista::kor(o, mal, val);
    }
};

const QStringList Tom;
const QString Titel = u"Föreningslista"_s;
const QString Forklaring = u"Förklaringar till dom olika tävlingsomgångarna."_s;
const QStringList Rubrik{u"Namn"_s, {}, u"Klass"_s, u"Skjutlag"_s, u"Bana"_s, u"Skjuttid"_s};
const QStringList RubrikOmg{u"Namn"_s,      {},           u"Klass"_s, u"Skjutlag"_s, u"Bana"_s,
                            u"Tävl.omg."_s, u"Skjuttid"_s};
// The file keeps a width with the cell's padding, in whole pixels of seven
// to the character; the spreadsheet shows it without.
double visadBredd(double lagrad) {
    return std::round((std::round(lagrad * 7) - 5) / 7 * 100) / 100;
}
QStringList b(const QString& text) {
    return {{}, text};
}

} // namespace

class TestForeningslista : public QObject {
    Q_OBJECT
private slots:
    void foreningarISvenskOrdning() {
        Klubbar k;
        QCOMPARE(Foreningslista::foreningar(k.f.g.cnnTavling),
                 (QStringList{u"Arboga"_s, u"bälinge"_s, u"IFK"_s}));
    }

    // The rows of the whole sheet and where the pages break.
    void blockOchSidor_data() {
        QTest::addColumn<bool>("omgangar");
        QTest::addColumn<QString>("forening"); // empty: all
        QTest::addColumn<bool>("nySida");
        QTest::addColumn<bool>("resultat");
        QTest::addColumn<Rader>("rader");
        QTest::addColumn<QList<int>>("brytningar");
        QTest::newRow("alla, ny sida") << false << QString() << true << false
                                       << Rader{b(Titel),
                                                Tom,
                                                b(u"Arboga"_s),
                                                Rubrik,
                                                Tom,
                                                b(Titel),
                                                Tom,
                                                b(u"bälinge"_s),
                                                Rubrik,
                                                {u"Al Ås"_s, {}, u"K1"_s, u"2"_s, u"1"_s},
                                                Tom,
                                                b(Titel),
                                                Tom,
                                                b(u"IFK"_s),
                                                Rubrik,
                                                {u"Cy Berg"_s, {}, u"K1"_s, u"1"_s, u"1"_s, u"9.30"_s},
                                                {u"Bo Ek"_s, {}, u"K1"_s, u"1"_s, u"2"_s, u"9.30"_s}}
                                       << QList<int>{6, 12};
        QTest::newRow("alla, omgångar, resultat")
            << true << QString() << false << true
            << Rader{b(Titel),
                     Tom,
                     b(u"Arboga"_s),
                     RubrikOmg + QStringList{u"Res"_s},
                     Tom,
                     Tom,
                     b(u"bälinge"_s),
                     RubrikOmg + QStringList{u"Res"_s},
                     {u"Al Ås"_s, {}, u"K1"_s, u"2"_s, u"1"_s, u"2"_s, {}, u"0"_s},
                     Tom,
                     Tom,
                     b(u"IFK"_s),
                     RubrikOmg + QStringList{u"Res"_s},
                     {u"Bo Ek"_s, {}, u"K1"_s, u"1"_s, u"2"_s, u"1"_s, u"9.30"_s, u"510"_s},
                     {u"Cy Berg"_s, {}, u"K1"_s, u"1"_s, u"1"_s, u"1"_s, u"9.30"_s, u"480"_s},
                     Tom,
                     Tom,
                     Tom,
                     b(Forklaring),
                     b(u"1 = Lördag"_s),
                     b(u"2 = Söndag"_s)}
            << QList<int>{19};
        QTest::newRow("alla, omgångar, ny sida")
            << true << QString() << true << false
            << Rader{b(Titel),
                     Tom,
                     b(u"Arboga"_s),
                     RubrikOmg,
                     Tom,
                     b(Forklaring),
                     b(u"1 = Lördag"_s),
                     b(u"2 = Söndag"_s),
                     Tom,
                     b(Titel),
                     Tom,
                     b(u"bälinge"_s),
                     RubrikOmg,
                     {u"Al Ås"_s, {}, u"K1"_s, u"2"_s, u"1"_s, u"2"_s},
                     Tom,
                     b(Forklaring),
                     b(u"1 = Lördag"_s),
                     b(u"2 = Söndag"_s),
                     Tom,
                     b(Titel),
                     Tom,
                     b(u"IFK"_s),
                     RubrikOmg,
                     {u"Cy Berg"_s, {}, u"K1"_s, u"1"_s, u"1"_s, u"1"_s, u"9.30"_s},
                     {u"Bo Ek"_s, {}, u"K1"_s, u"1"_s, u"2"_s, u"1"_s, u"9.30"_s},
                     Tom,
                     Tom,
                     Tom,
                     b(Forklaring),
                     b(u"1 = Lördag"_s),
                     b(u"2 = Söndag"_s)}
            << QList<int>{10, 20};
        // The club as the list shows it; its other spelling is the same club.
        QTest::newRow("en förening, omgångar")
            << true << u"IFK"_s << true << false
            << Rader{b(Titel),
                     Tom,
                     b(u"IFK"_s),
                     RubrikOmg,
                     {u"Cy Berg"_s, {}, u"K1"_s, u"1"_s, u"1"_s, u"1"_s, u"9.30"_s},
                     {u"Bo Ek"_s, {}, u"K1"_s, u"1"_s, u"2"_s, u"1"_s, u"9.30"_s},
                     Tom,
                     b(Forklaring),
                     b(u"1 = Lördag"_s),
                     b(u"2 = Söndag"_s)}
            << QList<int>{};
        QTest::newRow("en förening utan bana")
            << false << u"Arboga"_s << false << true
            << Rader{b(Titel), Tom, b(u"Arboga"_s), Rubrik + QStringList{u"Res"_s}} << QList<int>{};
    }
    void blockOchSidor() {
        QFETCH(bool, omgangar);
        QFETCH(QString, forening);
        QFETCH(bool, nySida);
        QFETCH(bool, resultat);
        Klubbar k;
        k.f.g.blnFleraTavlingar = omgangar;
        const Foreningslista::Val val{forening.isEmpty() ? std::nullopt : std::optional(forening), nySida,
                                      resultat};
        const std::optional<QString> fil = k.kor(Utskriftsmal::Fil, val);
        QVERIFY(fil);
        const XlsxLasare x(*fil);
        QTEST(x.rader(), "rader");
        // Another program prints the list's own columns and rows, as this one does.
        qsizetype kolumner = 0;
        for (const QStringList& rad : x.rader())
            kolumner = std::max(kolumner, rad.size());
        QCOMPARE(x.utskriftsomrade(),
                 u"$A$1:$%1$%2"_s.arg(Kalkyl::Arbetsblad::kolumnnamn(int(kolumner))).arg(x.rader().size()));
        // The file marks the row above each break.
        QList<int> sidstart;
        for (int rad : x.sidbrytningar())
            sidstart << rad + 1;
        QTEST(sidstart, "brytningar");
    }

    // One sheet against the list's page, columns, fonts, heights and alignment.
    void bladetsFormat_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<double>("storlek");
        QTest::addColumn<bool>("fet");
        QTest::addColumn<QString>("understrykning");
        QTest::addColumn<QString>("justering");
        QTest::addColumn<QString>("talformat");
        QTest::addColumn<double>("radhojd");
        // "alla, omgångar, ny sida" above: title, club, headings, a shooter, the explanations.
        QTest::newRow("titel") << "B1" << 18.0 << true << ""
                               << ""
                               << "" << 23.25;
        QTest::newRow("förening") << "B3" << 13.5 << true << ""
                                  << ""
                                  << "" << 19.5;
        QTest::newRow("rubrik namn") << "A4" << 10.0 << true << ""
                                     << ""
                                     << "" << 15.75;
        QTest::newRow("rubrik skjuttid") << "G4" << 10.0 << true << ""
                                         << "left"
                                         << "" << 15.75;
        QTest::newRow("skytt klass") << "C14" << 10.0 << false << ""
                                     << "left"
                                     << "" << 15.75;
        QTest::newRow("skytt skjutlag") << "D14" << 10.0 << false << ""
                                        << "left"
                                        << "" << 15.75;
        QTest::newRow("skytt skjuttid") << "G24" << 10.0 << false << ""
                                        << "left"
                                        << "@" << 15.75;
        QTest::newRow("förklaring mellan") << "B6" << 13.5 << false << "single"
                                           << ""
                                           << "" << 19.5;
        QTest::newRow("förklaring sist") << "B29" << 16.0 << false << "single"
                                         << ""
                                         << "" << 23.25;
    }
    void bladetsFormat() {
        QFETCH(QString, cell);
        Klubbar k;
        k.f.g.blnFleraTavlingar = true;
        const XlsxLasare x(*k.kor(Utskriftsmal::Fil, {}));
        const XlsxLasare::Format f = x.format(cell);
        QCOMPARE(f.font, u"MS Sans Serif"_s);
        QTEST(f.storlek, "storlek");
        QTEST(f.fet, "fet");
        QTEST(f.understrykning, "understrykning");
        QTEST(f.justering, "justering");
        QTEST(f.talformat, "talformat");
        QTEST(x.radhojd(cell.mid(1).toInt()), "radhojd");
    }

    void sidaOchKolumner_data() {
        QTest::addColumn<bool>("omgangar");
        QTest::addColumn<QList<double>>("bredder");
        QTest::newRow("utan omgångar") << false << QList<double>{5.29, 22.57, 8.43, 8.43, 6, 30.57, 3.86};
        QTest::newRow("omgångar") << true << QList<double>{5.29, 22.57, 8.43, 8.43, 6, 10.71, 20.57, 3.86};
    }
    void sidaOchKolumner() {
        QFETCH(bool, omgangar);
        QFETCH(QList<double>, bredder);
        Klubbar k;
        k.f.g.blnFleraTavlingar = omgangar;
        k.f.g.strTavlingsdatum = u"7 december"_s;
        const XlsxLasare x(*k.kor(Utskriftsmal::Fil, {}));
        QCOMPARE(x.bladnamn(), u"Föreningslista"_s);
        QList<double> lasta;
        for (int i = 1; i <= bredder.size(); ++i)
            lasta << visadBredd(x.kolumnbredd(i));
        QCOMPARE(lasta, bredder);
        QCOMPARE(x.text(u"oddHeader"_s), u"&L&\"MS Sans Serif,Normal\"&10 Cup 7 december\n Föreningslista"_s);
        QCOMPARE(x.attribut(u"pageSetup"_s).value(u"orientation"_s), u"portrait"_s);
        // 2.0 cm on the left, 1.0 cm on the right, in inches.
        QCOMPARE(x.attribut(u"pageMargins"_s).value(u"left"_s).toDouble(), 2.0 / 2.54);
        QCOMPARE(x.attribut(u"pageMargins"_s).value(u"right"_s).toDouble(), 1.0 / 2.54);
    }

    // A quote in a club's name is part of the name.
    void citattecken() {
        Klubbar k;
        const QString klubb = u"Sk \"Kulan\" ' --"_s;
        k.skytt(u"Di"_s, u"Ros"_s, klubb, 2, 3, 1, 0);
        QVERIFY(Foreningslista::foreningar(k.f.g.cnnTavling).contains(klubb));
        const XlsxLasare x(*k.kor(Utskriftsmal::Fil, {klubb, true, false}));
        QCOMPARE(x.rader().value(2), b(klubb));
        QCOMPARE(x.rader().value(4).value(0), u"Di Ros"_s);
    }

    // Shooters with no club name make no club.
    void tomtForeningsnamn() {
        Klubbar k;
        k.skytt(u"Ulf"_s, u"Utan"_s, u""_s, 2, 2, 1, 0);
        QCOMPARE(Foreningslista::foreningar(k.f.g.cnnTavling),
                 (QStringList{u"Arboga"_s, u"bälinge"_s, u"IFK"_s}));
        const XlsxLasare x(*k.kor(Utskriftsmal::Fil, {std::nullopt, false, false}));
        for (const QStringList& rad : x.rader())
            QVERIFY(rad.value(0) != u"Ulf Utan"_s);
        QCOMPARE(x.rader().count(Rubrik), 3);
    }

    // The rows counted for the last explanation are the last club's alone:
    // 21 and then 14 rows with one round, a page each, break only between them.
    void radraknarenPerForening() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Nationellt, 7, 5, 0);
        f.g.blnFleraTavlingar = true;
        Databas& db = f.g.cnnTavling;
        db.kor(u"INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (1, 'Lördag')"_s);
        for (int i = 0; i < 35; ++i) {
            db.kor(
                u"INSERT INTO Skyttar (Namn, Efternamn, Förening, Klass, Omg) VALUES ('S', ?, ?, 'K1', 1)"_s,
                {QString::number(i), i < 21 ? u"Alfa"_s : u"Beta"_s});
            db.kor(u"UPDATE Skjutlag SET Startnummer = (SELECT MAX(Löpnummer) FROM Skyttar) "
                   "WHERE Skjutlag = ? AND Bana = ?"_s,
                   {i / 7 + 1, i % 7 + 1});
        }
        Skrivarmotor motor;
        const Arbetsboksram::Omgivning o{f.g, f.m, &motor};
        const std::optional<QString> fil =
            Foreningslista::kor(o, Utskriftsmal::Fil, {std::nullopt, true, false});
        QVERIFY(fil);
        const XlsxLasare x(*fil);
        QCOMPARE(x.sidbrytningar().size(), 1);
        QCOMPARE(x.varde(u"B%1"_s.arg(x.sidbrytningar()[0] + 1)), Titel);
        QCOMPARE(x.rader().last(), b(u"1 = Lördag"_s));
    }

    void filnamn_data() {
        QTest::addColumn<Utskriftsmal>("mal");
        QTest::addColumn<QString>("fil");
        QTest::addColumn<QStringList>("texter");
        QTest::newRow("fil") << Utskriftsmal::Fil << "Föreningslista_Fil.xlsx"
                             << QStringList{u"Filen spardes i:\r\n"_s};
        QTest::newRow("skrivare") << Utskriftsmal::Printer << "Föreningslista_Printer.xlsx" << QStringList{};
    }
    void filnamn() {
        QFETCH(Utskriftsmal, mal);
        QFETCH(QString, fil);
        QFETCH(QStringList, texter);
        Klubbar k;
        const QString utskrifter = k.f.g.strTavlingsmapp + u"Utskrifter"_s;
        QCOMPARE(k.kor(mal, {}), QDir(utskrifter).filePath(fil));
        QCOMPARE(QDir(utskrifter).entryList(QDir::Files), QStringList{fil});
        QCOMPARE(k.f.m.visade.size(), texter.size());
        for (int i = 0; i < texter.size(); ++i)
            QVERIFY(k.f.m.visade[i].text.startsWith(texter[i]));
        QCOMPARE(QFile::exists(k.motor.pdfFil()), mal == Utskriftsmal::Printer);
    }

    // The header step notes the engine's version; a note that cannot be
    // written stops the run as any failure does.
    void versionExcel() {
        Klubbar k;
        QVERIFY(k.kor(Utskriftsmal::Fil, {}));
        QCOMPARE(k.f.g.iniTavling.GetKeyValue(u"Debug"_s, u"VersionExcel"_s, {}), u"12.0"_s);

        const QString ini = k.f.g.iniTavling.Path();
        k.f.g.iniTavling.setPath(k.f.t.fil(u"saknas/tavling.ini"_s));
        k.f.m.tom();
        QDir(k.f.g.strTavlingsmapp + u"Utskrifter"_s).removeRecursively();
        QVERIFY(!k.kor(Utskriftsmal::Fil, {}));
        QCOMPARE(k.f.m.visade.size(), 1);
        QVERIFY(k.f.m.senasteText().startsWith(u"frmFöreningsutskrift.UtskriftExcel: "_s));
        QVERIFY(k.f.m.senasteText().endsWith(u" 75"_s));
        QVERIFY(!QFile::exists(k.f.g.strTavlingsmapp + u"Utskrifter/Föreningslista_Fil.xlsx"_s));
        k.f.g.iniTavling.setPath(ini);
    }
};

QTEST_MAIN(TestForeningslista)
#include "test_foreningslista.moc"
