#include "common/IniNamn.h"
#include "lists/Resultatlistbok.h"
#include "platform/workbook/Arbetsblad.h"
#include "platform/workbook/Skrivarmotor.h"
#include "support/Testfixtur.h"
#include "support/XlsxLasare.h"

#include <QLocale>
#include <QProcess>
#include <QTest>
#include <numeric>

using namespace Qt::StringLiterals;
using Kalkyl::Arbetsblad;

Q_DECLARE_METATYPE(NyTavling::Typ)
Q_DECLARE_METATYPE(Klassslag)

namespace {

using T = NyTavling::Typ;
using Rad = QStringList;

// A shooter with every column filled, so that a layout shows where each goes.
Skytt skytt(const QString& namn, int innertior = 0) {
    Skytt s;
    s.namn = namn;
    s.efternamn = u"Berg"_s;
    s.forening = u"Klubb"_s;
    s.fodelsear = u"1990"_s;
    s.licensnr = u"L123"_s;
    s.skyttekortNr = u"G456"_s;
    s.innertior = innertior;
    return s;
}
Skytt nationell(const QString& namn, std::array<int, 8> serier, int innertior = 0) {
    Skytt s = skytt(namn, innertior);
    std::copy(serier.begin(), serier.end(), s.res.begin());
    s.totalt40 = std::accumulate(serier.begin(), serier.end(), 0);
    s.totalt60 = s.totalt40;
    return s;
}
// The pair sums of a sport shooter; a 40-shot shooter has the last two 0.
Skytt sport(const QString& namn, std::array<int, 6> par, int innertior = 0) {
    Skytt s = skytt(namn, innertior);
    s.sum = par;
    s.totalt40 = par[0] + par[1] + par[2] + par[3];
    s.totalt60 = s.totalt40 + par[4] + par[5];
    return s;
}
Klassblock block(const QString& namn, Klassslag slag, const QList<Skytt>& skyttar, QList<int> platser = {}) {
    Klassblock b;
    b.vald.klass.namn = namn;
    b.slag = slag;
    b.skyttar = skyttar;
    if (platser.isEmpty())
        for (int i = 1; i <= skyttar.size(); ++i)
            platser << i;
    b.platser = platser;
    return b;
}

struct Lista {
    Testfixtur f;
    explicit Lista(T typ) { f.skapaTavling(u"Cup"_s, typ, 10, 1, 0); }
    Arbetsboksram::Omgivning omgivning() { return {f.g, f.m}; }
    // The optional columns on in Utskriftsval.
    void medKolumner(const QStringList& falt) {
        for (const QString& namn : falt)
            f.g.cnnTavling.kor(u"UPDATE Utskriftsval SET Enable = 1 WHERE FältNamn = ?"_s, {namn});
    }
    // The list saved to a file and read back; nothing when it was not saved.
    std::optional<XlsxLasare> fil(const QList<Klassblock>& klasser) {
        const auto sparad = Resultatlistbok::kor(omgivning(), Utskriftsmal::Fil, klasser, std::nullopt);
        if (!sparad)
            qWarning("not saved: %s", qPrintable(f.m.senasteText()));
        return sparad ? std::optional<XlsxLasare>(*sparad) : std::nullopt;
    }
};

const QStringList AllaValfria = {u"Födelseår"_s, u"Aktivitetskort"_s, u"SkyttekortNr"_s};

Rad siffror(int forsta, int sista) {
    Rad r;
    for (int i = forsta; i <= sista; ++i)
        r << QString::number(i);
    return r;
}

} // namespace

class TestResultatlistbok : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // Where the headings and a shooter's values stand, by competition, kind of
    // class and the optional columns chosen.
    void kolumner_data() {
        QTest::addColumn<T>("typ");
        QTest::addColumn<Klassslag>("slag");
        QTest::addColumn<QStringList>("valfria");
        QTest::addColumn<Rad>("rubriker");
        QTest::addColumn<Rad>("rad");
        const Rad fast{u"Plac"_s, u"Namn"_s, u"Förening"_s};
        const Rad person{u"1"_s, u"Anna Berg"_s, u"Klubb"_s};
        const Rad serier{u"48"_s, u"49"_s, u"50"_s, u"47"_s,  u"46"_s,
                         u"45"_s, u"44"_s, u"43"_s, u"372"_s, u"5"_s};
        const Rad par{u"98"_s, u"97"_s, u"96"_s, u"95"_s, u"94"_s, u"93"_s, u"573"_s, QString(), u"5"_s};
        const Rad fyrtio{u"98"_s,   u"97"_s,  u"96"_s,   u"95"_s, QString(),
                         QString(), u"386"_s, QString(), u"5"_s};
        const Rad nat = siffror(1, 8) << u"Totalt"_s << u"10'"_s;
        const Rad spo = siffror(1, 6) << u"Totalt"_s << QString() << u"10'"_s;
        QTest::newRow("nationell") << T::Nationellt << Klassslag::Nationell << QStringList() << fast + nat
                                   << person + serier;
        QTest::newRow("nationell, aktivitetskort aldrig")
            << T::Nationellt << Klassslag::Nationell << AllaValfria
            << fast + Rad{u"F-år"_s, u"GS Kort"_s} + nat << person + Rad{u"1990"_s, u"G456"_s} + serier;
        QTest::newRow("sport 60 alla valfria") << T::Sportskytte << Klassslag::Sport60 << AllaValfria
                                               << fast + Rad{u"F-år"_s, u"Akt.kort"_s, u"GS Kort"_s} + spo
                                               << person + Rad{u"1990"_s, u"L123"_s, u"G456"_s} + par;
        QTest::newRow("sport 40") << T::Sportskytte << Klassslag::Sport40 << QStringList() << fast + spo
                                  << person + fyrtio;
        QTest::newRow("mix nationell, tom licenskolumn")
            << T::Mix << Klassslag::Nationell << AllaValfria
            << fast + Rad{u"F-år"_s, QString(), u"GS Kort"_s} + nat
            << person + Rad{u"1990"_s, QString(), u"G456"_s} + serier;
        QTest::newRow("mix sport 60 under nationella serier 3-8")
            << T::Mix << Klassslag::Sport60 << AllaValfria
            << fast + Rad{u"F-år"_s, u"Akt.kort"_s, u"GS Kort"_s, QString(), QString()} + spo
            << person + Rad{u"1990"_s, u"L123"_s, u"G456"_s, QString(), QString()} + par;
        QTest::newRow("mix sport 40 med aktivitetskort")
            << T::Mix << Klassslag::Sport40 << QStringList{u"Aktivitetskort"_s}
            << fast + Rad{u"Akt.kort"_s, QString(), QString()} + spo
            << person + Rad{u"L123"_s, QString(), QString()} + fyrtio;
    }
    void kolumner() {
        QFETCH(T, typ);
        QFETCH(Klassslag, slag);
        QFETCH(QStringList, valfria);
        Lista l(typ);
        l.medKolumner(valfria);
        const Skytt s = slag == Klassslag::Nationell
                            ? nationell(u"Anna"_s, {48, 49, 50, 47, 46, 45, 44, 43}, 5)
                            : sport(u"Anna"_s,
                                    {98, 97, 96, 95, slag == Klassslag::Sport60 ? 94 : 0,
                                     slag == Klassslag::Sport60 ? 93 : 0},
                                    5);
        const auto x = l.fil({block(u"Klass"_s, slag, {s})});
        QVERIFY(x);
        const QList<Rad> rader = x->rader();
        QCOMPARE(rader.size(), 4);
        QTEST(rader[1], "rubriker");
        QCOMPARE(rader[2], Rad());
        QTEST(rader[3], "rad");
    }

    // The widths and alignments of the sheet's columns.
    void kolumnbredder_data() {
        QTest::addColumn<T>("typ");
        QTest::addColumn<QStringList>("valfria");
        QTest::addColumn<QList<double>>("bredder");
        const QList<double> atta(8, 3.57), sex(6, 3.57), slut{6.43, 5.29, 5.29};
        QTest::newRow("nationell") << T::Nationellt << AllaValfria
                                   << QList<double>{5, 24, 20, 6, 10} + atta + slut;
        QTest::newRow("sport") << T::Sportskytte << QStringList{u"Aktivitetskort"_s}
                               << QList<double>{5, 24, 20, 10} + sex + slut;
        QTest::newRow("mix") << T::Mix << AllaValfria << QList<double>{5, 24, 20, 6, 10, 10} + atta + slut;
    }
    void kolumnbredder() {
        QFETCH(T, typ);
        QFETCH(QStringList, valfria);
        QFETCH(QList<double>, bredder);
        Lista l(typ);
        l.medKolumner(valfria);
        Kalkyl::Kalkylprogram program;
        program.Workbooks().Add();
        Arbetsblad& blad = program.Worksheets(1);
        Resultatlistbok::sattKolumner(
            blad, Resultatlistbok::lasKolumner(l.f.g.cnnTavling, l.f.g.blnNationellt), l.f.g.blnSportskytte);
        QList<double> lasta;
        QList<int> justering, forvantad;
        for (int k = 1; k <= bredder.size(); ++k) {
            lasta << blad.kolumnbredd(k);
            justering << *blad.kolumnstil(k).justering;
        }
        QCOMPARE(lasta, bredder);
        QCOMPARE(blad.kolumnbredd(bredder.size() + 1), Kalkyl::StandardKolumnbredd);
        using namespace Kalkyl::Justering;
        const int valfria_ = int(bredder.size()) - (l.f.g.blnSportskytte ? 6 : 8) - 6;
        forvantad << Hoger << Vanster << Vanster;
        for (int i = 0; i < valfria_; ++i)
            forvantad << Vanster;
        for (int i = 0; i < (l.f.g.blnSportskytte ? 6 : 8); ++i)
            forvantad << Centrerad;
        forvantad << Hoger << Centrerad << Centrerad;
        QCOMPARE(justering, forvantad);
    }

    // A column whose row is missing from Utskriftsval is left out; name and
    // club take the template's widths.
    void saknadUtskriftsvalsrad_data() {
        QTest::addColumn<QString>("falt");
        QTest::addColumn<QList<double>>("bredder");
        QTest::newRow("Namn") << u"Namn"_s << QList<double>{5, 24, 25, 6, 10, 10};
        QTest::newRow("Förening") << u"Förening"_s << QList<double>{5, 30, 20, 6, 10, 10};
        QTest::newRow("SkyttekortNr") << u"SkyttekortNr"_s << QList<double>{5, 30, 25, 6, 10, 3.57};
    }
    void saknadUtskriftsvalsrad() {
        QFETCH(QString, falt);
        QFETCH(QList<double>, bredder);
        Lista l(T::Sportskytte);
        l.medKolumner(AllaValfria);
        l.f.g.cnnTavling.kor(u"UPDATE Utskriftsval SET Bredd = 30 WHERE FältNamn = 'Namn'"_s);
        l.f.g.cnnTavling.kor(u"UPDATE Utskriftsval SET Bredd = 25 WHERE FältNamn = 'Förening'"_s);
        l.f.g.cnnTavling.kor(u"DELETE FROM Utskriftsval WHERE FältNamn = ?"_s, {falt});
        Kalkyl::Kalkylprogram program;
        program.Workbooks().Add();
        Arbetsblad& blad = program.Worksheets(1);
        Resultatlistbok::sattKolumner(blad, Resultatlistbok::lasKolumner(l.f.g.cnnTavling, false), true);
        QList<double> lasta;
        for (int k = 1; k <= bredder.size(); ++k)
            lasta << blad.kolumnbredd(k);
        QCOMPARE(lasta, bredder);
    }

    // Blocks follow each other with two empty rows between; a class without
    // shooters leaves no trace.
    void blockavstand() {
        Lista l(T::Nationellt);
        QList<Skytt> sex;
        for (int i = 0; i < 6; ++i)
            sex << nationell(u"S%1"_s.arg(i), {40, 40, 40, 40, 40, 40, 40, 40 - i});
        const auto fil =
            l.fil({block(u"Damer"_s, Klassslag::Nationell, sex), block(u"Tom"_s, Klassslag::Nationell, {}),
                   block(u"Herrar"_s, Klassslag::Nationell, {nationell(u"H"_s, {})})});
        QVERIFY(fil);
        const XlsxLasare& x = *fil;
        const QList<Rad> rader = x.rader();
        QCOMPARE(rader.size(), 15);
        QCOMPARE(rader[0], (Rad{QString(), u"Damer"_s}));
        QCOMPARE(rader[3].value(1), u"S0 Berg"_s);
        QCOMPARE(rader[8].value(1), u"S5 Berg"_s);
        for (int i : {2, 9, 10, 13})
            QCOMPARE(rader[i], Rad());
        QCOMPARE(rader[11], (Rad{QString(), u"Herrar"_s}));
        QCOMPARE(rader[12].value(0), u"Plac"_s);
        // A shooter without results: place, name and club only.
        QCOMPARE(rader[14], (Rad{u"1"_s, u"H Berg"_s, u"Klubb"_s}));
        for (int r : {1, 12}) {
            QCOMPARE(x.radhojd(r), 19.5);
            QCOMPARE(x.format(u"B%1"_s.arg(r)).storlek, 13.5);
            QVERIFY(x.format(u"B%1"_s.arg(r)).fet);
            QVERIFY(x.radformat(r + 1).fet);
            QVERIFY(x.format(u"A%1"_s.arg(r + 1)).fet);
        }
        QCOMPARE(x.radhojd(4), 15.75);
        QVERIFY(!x.format(u"B4"_s).fet);
    }

    // Full marks red, other results black; totals bold and red only at full
    // marks; the extra pairs of a 40-shot class; inner tens by kind.
    void fargerOchFetstil_data() {
        QTest::addColumn<T>("typ");
        QTest::addColumn<Klassslag>("slag");
        QTest::addColumn<QList<Skytt>>("skyttar");
        // Cell, value, colour ("" automatic), bold.
        QTest::addColumn<QStringList>("celler");
        QTest::newRow("nationell") << T::Nationellt << Klassslag::Nationell
                                   << QList<Skytt>{nationell(u"A"_s, {50, 50, 50, 50, 50, 50, 50, 50}, 12),
                                                   nationell(u"B"_s, {49, 50, 50, 50, 50, 50, 50, 50})}
                                   << QStringList{u"D4 50 FFFF0000 -"_s,    u"K4 50 FFFF0000 -"_s,
                                                  u"L4 400 FFFF0000 fet"_s, u"M4 12  -"_s,
                                                  u"D5 49 FF000000 -"_s,    u"E5 50 FFFF0000 -"_s,
                                                  u"L5 399  fet"_s,         u"M5   -"_s};
        QTest::newRow("sport 60") << T::Sportskytte << Klassslag::Sport60
                                  << QList<Skytt>{sport(u"A"_s, {100, 100, 100, 100, 100, 100}, 30),
                                                  sport(u"B"_s, {99, 100, 100, 100, 100, 100})}
                                  << QStringList{u"D4 100 FFFF0000 -"_s,
                                                 u"J4 600 FFFF0000 fet"_s,
                                                 u"L4 30  -"_s,
                                                 u"D5 99 FF000000 -"_s,
                                                 u"J5 599  fet"_s,
                                                 u"K5   -"_s,
                                                 u"L5 0  -"_s};
        QTest::newRow("sport 40 med 60 skott")
            << T::Sportskytte << Klassslag::Sport40
            << QList<Skytt>{sport(u"A"_s, {98, 97, 96, 99, 100, 95}),
                            sport(u"B"_s, {100, 100, 100, 100, 0, 0}), sport(u"C"_s, {0, 0, 0, 0, 0, 0})}
            << QStringList{u"G4 99 FF000000 -"_s, u"H4 100 FFFF0000 -"_s,
                           u"I4 95 FF000000 -"_s, u"J4 390  fet"_s,
                           u"K4 585  -"_s,        u"D5 100 FFFF0000 -"_s,
                           u"H5   -"_s,           u"J5 400 FFFF0000 fet"_s,
                           u"K5   -"_s,           u"D6   -"_s,
                           u"J6   -"_s,           u"L6 0  -"_s};
    }
    void fargerOchFetstil() {
        QFETCH(T, typ);
        QFETCH(Klassslag, slag);
        QFETCH(QList<Skytt>, skyttar);
        QFETCH(QStringList, celler);
        Lista l(typ);
        const auto fil = l.fil({block(u"Klass"_s, slag, skyttar)});
        QVERIFY(fil);
        const XlsxLasare& x = *fil;
        for (const QString& c : celler) {
            const QStringList d = c.split(u' ');
            const XlsxLasare::Format f = x.format(d[0]);
            QCOMPARE(d[0] + u' ' + x.varde(d[0]) + u' ' + f.farg + u' ' + (f.fet ? u"fet"_s : u"-"_s), c);
        }
    }

    // The page as the print settings ask, whatever decimal separator the
    // settings were written with or the computer uses; what is no sensible
    // setting keeps the default.
    void sidinstallning_data() {
        QTest::addColumn<QString>("lokal");
        QTest::addColumn<QStringList>("ini"); // VänsterMarginal, HögerMarginal, Layout; "-" missing
        QTest::addColumn<double>("vanster");
        QTest::addColumn<double>("hoger");
        QTest::addColumn<QString>("orientering");
        for (const QString& lokal : {u"sv_SE"_s, u"en_US"_s}) {
            const auto rad = [&](const char* namn) -> QTestData& {
                return QTest::addRow("%s %s", qPrintable(lokal), namn) << lokal;
            };
            rad("komma") << QStringList{u"1,5"_s, u"0,8"_s, u"1"_s} << 1.5 << 0.8 << u"portrait"_s;
            rad("punkt") << QStringList{u"1.5"_s, u"0.8"_s, u"2"_s} << 1.5 << 0.8 << u"landscape"_s;
            rad("saknas") << QStringList{u"-"_s, u"-"_s, u"-"_s} << 1.2 << 0.0 << u"landscape"_s;
            rad("tomt") << QStringList{u""_s, u" "_s, u""_s} << 1.2 << 0.0 << u"landscape"_s;
            rad("inga tal") << QStringList{u"abc"_s, u"1,2,3"_s, u"x"_s} << 1.2 << 0.0 << u"landscape"_s;
            rad("negativt, layout 3")
                << QStringList{u"-1"_s, u"-0,5"_s, u"3"_s} << 1.2 << 0.0 << u"landscape"_s;
            rad("noll") << QStringList{u"0"_s, u"0,0"_s, u"1"_s} << 0.0 << 0.0 << u"portrait"_s;
            rad("layout 0") << QStringList{u"2"_s, u"3"_s, u"0"_s} << 2.0 << 3.0 << u"landscape"_s;
        }
    }
    void sidinstallning() {
        QFETCH(QString, lokal);
        QFETCH(QStringList, ini);
        QFETCH(double, vanster);
        QFETCH(double, hoger);
        Lista l(T::Nationellt);
        QLocale::setDefault(QLocale(lokal));
        const IniNyckel* nycklar[] = {&Ini::VansterMarginal, &Ini::HogerMarginal, &Ini::Layout};
        for (int i = 0; i < 3; ++i)
            if (ini[i] != u"-")
                QVERIFY(l.f.g.iniTavling.WriteKey(nycklar[i]->sektion, nycklar[i]->nyckel, ini[i]));
        const auto fil = l.fil({});
        QVERIFY(fil);
        const XlsxLasare& x = *fil;
        const auto marginaler = x.attribut(u"pageMargins"_s);
        QCOMPARE(qRound(marginaler.value(u"left"_s).toDouble() * 254), qRound(vanster * 100));
        QCOMPARE(qRound(marginaler.value(u"right"_s).toDouble() * 254), qRound(hoger * 100));
        QCOMPARE(qRound(marginaler.value(u"top"_s).toDouble() * 254), 250);
        QCOMPARE(qRound(marginaler.value(u"header"_s).toDouble() * 254), 130);
        QTEST(x.attribut(u"pageSetup"_s).value(u"orientation"_s), "orientering");
    }

    // The round stands in the right header and in the file's name.
    void omgang() {
        Lista l(T::Nationellt);
        l.f.g.blnFleraTavlingar = true;
        const auto fil =
            Resultatlistbok::kor(l.omgivning(), Utskriftsmal::Fil, {}, Omgangar::Omgang{3, u"Final"_s});
        QVERIFY(fil);
        QVERIFY(fil->endsWith(u"/Utskrifter/ResultatlistaOmg3_Fil.xlsx"_s));
        QVERIFY(XlsxLasare(*fil).text(u"oddHeader"_s).endsWith(u"&10Tävlings omg. Final"_s));
    }

    // On paper as in the file: the class, its headings and its rows, then the
    // "_Printer" file.
    void skrivsUtPaPapper() {
        Lista l(T::Sportskytte);
        Skrivarmotor motor;
        motor.setPdfFil(l.f.t.fil(u"lista.pdf"_s));
        Arbetsboksram::Omgivning o = l.omgivning();
        o.skrivare = &motor;
        const auto fil = Resultatlistbok::kor(
            o, Utskriftsmal::Printer,
            {block(u"Damer"_s, Klassslag::Sport40,
                   {sport(u"Åsa"_s, {100, 99, 98, 97, 0, 0}, 7), sport(u"Eva"_s, {90, 90, 90, 90, 0, 0})})},
            std::nullopt);
        QVERIFY(fil && fil->endsWith(u"/Resultatlista_Printer.xlsx"_s));
        QProcess p;
        p.start(u"pdftotext"_s, {u"-layout"_s, motor.pdfFil(), u"-"_s});
        p.waitForFinished(60000);
        QStringList rader;
        for (const QString& rad : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n'))
            if (!rad.simplified().isEmpty())
                rader << rad.simplified();
        for (const QString& rad :
             {u"Damer"_s, u"Plac Namn Förening 1 2 3 4 5 6 Totalt 10'"_s,
              u"1 Åsa Berg Klubb 100 99 98 97 394 7"_s, u"2 Eva Berg Klubb 90 90 90 90 360 0"_s})
            QVERIFY2(rader.contains(rad), qPrintable(rader.join(u'\n')));
    }

    // The print columns cannot be read: told once, nothing saved.
    void installningsfel() {
        Lista l(T::Nationellt);
        l.f.g.cnnTavling.kor(u"DROP TABLE Utskriftsval"_s);
        QVERIFY(!Resultatlistbok::kor(l.omgivning(), Utskriftsmal::Fil,
                                      {block(u"Klass"_s, Klassslag::Nationell, {nationell(u"A"_s, {})})},
                                      std::nullopt));
        QCOMPARE(l.f.m.visade.size(), 1);
        QVERIFY2(
            l.f.m.senasteText().startsWith(u"frmValResSkärmGrund.Starta_excel_och_ställ_in_kolumner: "_s),
            qPrintable(l.f.m.senasteText()));
        QVERIFY(QDir(l.f.g.strTavlingsmapp + u"Utskrifter"_s).isEmpty());
    }
};

QTEST_MAIN(TestResultatlistbok)
#include "test_resultatlistbok.moc"
