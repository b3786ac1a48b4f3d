#include "common/IniNamn.h"
#include "platform/workbook/Skrivarmotor.h"
#include "printouts/Registrering.h"
#include "printouts/Vandringsprisbok.h"
#include "shell/Fonsternamn.h"
#include "support/Testfixtur.h"
#include "support/XlsxLasare.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <cmath>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(NyTavling::Typ)
Q_DECLARE_METATYPE(Utskriftsmal)
Q_DECLARE_METATYPE(Vandringsprisbok::Layout)

namespace {

using T = NyTavling::Typ;
using Rad = QStringList;

// A prize shooter as the list reads it; what is not given stays 0.
struct Pristagare {
    QString efternamn;
    int totalt = 0;
    int innertior = 0;
    QString tioNior = u"0,0,0,0,0,0,0,0,0,0"_s;
    double sarskjutning = 0;
    QList<int> serier{}; // Res1.. (national) or Sum10.. (sport)
    QString namn = u"Anna"_s;
    int vandringsSerier = 8;
};

struct Pris {
    Testfixtur f;
    Skrivarmotor motor;
    explicit Pris(T typ, const QString& antalSkott = {}) {
        f.skapaTavling(u"Cup"_s, typ, 10, 1, 0);
        f.g.strTavlingsdatum = u"6 december 2026"_s;
        skriv(Ini::VandringsprisTavlingsnamn, u"Klubbpokalen"_s);
        if (!antalSkott.isEmpty())
            skriv(Ini::VandringsprisAntalSkott, antalSkott);
        motor.setPdfFil(f.t.fil(u"lista.pdf"_s));
    }
    void skriv(const IniNyckel& n, const QString& varde) {
        if (!f.g.iniTavling.WriteKey(n.sektion, n.nyckel, varde))
            qFatal("INI not written");
    }
    void lagg(const Pristagare& p) {
        const bool sport = f.g.blnSportskytte;
        QStringList falt{
            u"Namn"_s,      u"Efternamn"_s, u"Förening"_s,     u"VandringsSerier"_s,
            u"Innertior"_s, u"TioNior"_s,   u"Särskjutning"_s, sport ? u"Totalt60"_s : u"Totalt40"_s};
        QVariantList v{p.namn,      p.efternamn, u"Klubb"_s,     p.vandringsSerier,
                       p.innertior, p.tioNior,   p.sarskjutning, p.totalt};
        if (sport) {
            falt << u"Totalt40"_s;
            int fyrtio = 0;
            for (int i = 0; i < 4 && i < p.serier.size(); ++i)
                fyrtio += p.serier[i];
            v << (p.serier.size() > 4 ? fyrtio : p.totalt);
        }
        for (int i = 0; i < p.serier.size(); ++i) {
            falt << (sport ? u"Sum%1"_s.arg(10 * (i + 1)) : u"Res%1"_s.arg(i + 1));
            v << p.serier[i];
        }
        f.g.cnnTavling.kor(u"INSERT INTO Skyttar (%1) VALUES (%2)"_s.arg(
                               falt.join(u", "_s), QStringList(falt.size(), u"?"_s).join(u", "_s)),
                           v);
    }
    QString utskrifter(const QString& fil = {}) const {
        return QDir(f.g.strTavlingsmapp + u"Utskrifter"_s).filePath(fil);
    }
    std::optional<QString> kor(Utskriftsmal mal = Utskriftsmal::Fil) {
        return Vandringsprisbok::kor({f.g, f.m, &motor}, mal);
    }
    XlsxLasare fil() {
        const auto sparad = kor();
        if (!sparad)
            qFatal("not saved: %s", qPrintable(f.m.senasteText()));
        return XlsxLasare(*sparad);
    }
    // Place and name of each shooter row.
    QList<Rad> platser() {
        QList<Rad> p;
        const QList<Rad> rader = fil().rader();
        for (qsizetype i = 3; i < rader.size(); ++i)
            p << rader[i].mid(0, 2);
        return p;
    }
};

// A column's width in characters, as the file's width (with the cell
// padding of 5 pixels of 7-pixel digits) stands for.
double tecken(double filbredd) {
    return std::round((filbredd * 7 - 5) / 7 * 100) / 100;
}

} // namespace

class TestVandringsprislista : public QObject {
    Q_OBJECT
private slots:
    // One saved sheet per layout: title, headings, a shooter's row, column
    // widths and alignments, fonts and heights.
    void bladet_data() {
        QTest::addColumn<T>("typ");
        QTest::addColumn<QString>("antalSkott");
        QTest::addColumn<QList<int>>("serier");
        QTest::addColumn<int>("totalt");
        QTest::addColumn<QList<Rad>>("rader");
        // From column A on; 8.43: a width the list leaves alone.
        QTest::addColumn<QList<double>>("bredder");
        QTest::addColumn<QString>("justering"); // a letter per column: h right, c centre, v left, - none
        const Rad titel{QString(), u"Klubbpokalen"_s};
        const Rad person{u"1"_s, u"Anna Berg"_s, u"Klubb"_s};
        const Rad fast{u"Plac"_s, u"Namn"_s, u"Förening"_s};
        QTest::newRow("nationell") << T::Nationellt << u"60"_s << QList<int>{48, 49, 50, 47, 46, 45, 44, 43}
                                   << 372
                                   << QList<Rad>{titel,
                                                 fast + Rad{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s,
                                                            u"7"_s, u"8"_s, u"Totalt"_s, u"10´"_s},
                                                 {},
                                                 person + Rad{u"48"_s, u"49"_s, u"50"_s, u"47"_s, u"46"_s,
                                                              u"45"_s, u"44"_s, u"43"_s, u"372"_s, u"7"_s}}
                                   << QList<double>{5,    22.86, 15.57, 3.57, 3.57, 3.57, 3.57,
                                                    3.57, 3.57,  3.57,  3.57, 7,    6.43, 8.43}
                                   << u"h--cccccccchv-"_s;
        const Rad sportrubrik = fast + Rad{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"Totalt"_s};
        const QList<double> sportbredder{5,    22.86, 15.57, 3.57, 3.57, 3.57,
                                         3.57, 3.57,  3.57,  6.43, 5.29, 8.43};
        QTest::newRow("sport 40, utan nyckel")
            << T::Sportskytte << QString() << QList<int>{98, 97, 96, 95} << 386
            << QList<Rad>{titel,
                          sportrubrik,
                          {},
                          person + Rad{u"98"_s, u"97"_s, u"96"_s, u"95"_s, QString(), QString(), u"386"_s}}
            << sportbredder << u"h--cccccch--"_s;
        QTest::newRow("sport 40") << T::Sportskytte << u"40"_s << QList<int>{98, 97, 96, 95} << 386
                                  << QList<Rad>{titel,
                                                sportrubrik,
                                                {},
                                                person + Rad{u"98"_s, u"97"_s, u"96"_s, u"95"_s, QString(),
                                                             QString(), u"386"_s}}
                                  << sportbredder << u"h--cccccch--"_s;
        QTest::newRow("sport 60") << T::Sportskytte << u"41"_s << QList<int>{98, 97, 96, 95, 94, 93} << 573
                                  << QList<Rad>{titel,
                                                sportrubrik,
                                                {},
                                                person + Rad{u"98"_s, u"97"_s, u"96"_s, u"95"_s, u"94"_s,
                                                             u"93"_s, u"573"_s}}
                                  << sportbredder << u"h--cccccch--"_s;
    }
    void bladet() {
        QFETCH(T, typ);
        QFETCH(QString, antalSkott);
        QFETCH(QList<int>, serier);
        QFETCH(int, totalt);
        Pris p(typ, antalSkott);
        p.lagg({.efternamn = u"Berg"_s, .totalt = totalt, .innertior = 7, .serier = serier});
        const XlsxLasare x = p.fil();
        QCOMPARE(x.bladnamn(), u"Vandringspris"_s);
        QTEST(x.rader(), "rader");

        QFETCH(QList<double>, bredder);
        QFETCH(QString, justering);
        QList<double> lasta;
        QString lastJustering;
        const QHash<QString, QChar> kod{{u"right"_s, u'h'}, {u"center"_s, u'c'}, {u"left"_s, u'v'}};
        for (int k = 1; k <= bredder.size(); ++k) {
            lasta << tecken(x.kolumnbredd(k));
            lastJustering += kod.value(x.kolumnformat(k).justering, u'-');
        }
        QCOMPARE(lasta, bredder);
        QCOMPARE(lastJustering, justering);

        QCOMPARE(x.kolumnformat(1).font, u"MS Sans Serif"_s);
        QCOMPARE(x.kolumnformat(1).storlek, 10.0);
        QCOMPARE(x.radhojd(1), 19.5);
        QCOMPARE(x.format(u"B1"_s).storlek, 13.5);
        QVERIFY(x.format(u"B1"_s).fet);
        QVERIFY(x.radformat(2).fet);
        QVERIFY(x.format(u"C2"_s).fet);
        QCOMPARE(x.radhojd(2), 15.75);
        QCOMPARE(x.radhojd(4), 15.75);
        QVERIFY(!x.format(u"B4"_s).fet);
        QCOMPARE(x.format(u"A4"_s).justering, u"right"_s);
        QCOMPARE(x.typ(u"A4"_s), u"n"_s);

        QCOMPARE(x.attribut(u"pageSetup"_s).value(u"orientation"_s), u"portrait"_s);
        const auto marginaler = x.attribut(u"pageMargins"_s);
        QList<int> cm;
        for (const QString& m : {u"left"_s, u"right"_s, u"top"_s, u"bottom"_s, u"header"_s, u"footer"_s})
            cm << qRound(marginaler.value(m).toDouble() * 25.4);
        QCOMPARE(cm, (QList<int>{12, 10, 25, 25, 13, 13}));
        QCOMPARE(x.text(u"oddHeader"_s), u"&L&\"MS Sans Serif,Normal\"&10 Cup 6 december 2026\n"
                                         " Resultatlista Vandringspris"_s);
        QCOMPARE(x.text(u"oddFooter"_s), u"&R&\"MS Sans Serif,Normal\"&10&P"_s);
    }

    // A prize without a name keeps its title row and the title's format.
    void titelUtanNamn() {
        Pris p(T::Nationellt);
        p.skriv(Ini::VandringsprisTavlingsnamn, QString());
        p.lagg({.efternamn = u"A"_s, .totalt = 370});
        const XlsxLasare x = p.fil();
        QCOMPARE(x.radhojd(1), 19.5);
        QCOMPARE(x.varde(u"B1"_s), QString());
        QCOMPARE(x.format(u"B1"_s).storlek, 13.5);
        QVERIFY(x.format(u"B1"_s).fet);
        QCOMPARE(x.rader().value(3).value(1), u"Anna A"_s);
    }

    // Places follow the ranked order; shooters equal on every key share a
    // place, and the family name only orders them.
    void platser_data() {
        QTest::addColumn<T>("typ");
        QTest::addColumn<QList<Pristagare>>("skyttar");
        QTest::addColumn<QList<Rad>>("platser");
        const QString tioTior = u"10,0,0,0,0,0,0,0,0,0"_s, nioTior = u"9,9,0,0,0,0,0,0,0,0"_s;
        QTest::newRow("1, 2, 2, 4 med särskjutning")
            << T::Nationellt
            << QList<Pristagare>{{.efternamn = u"D"_s, .totalt = 370},
                                 {.efternamn = u"C"_s, .totalt = 375},
                                 {.efternamn = u"A"_s, .totalt = 380},
                                 {.efternamn = u"B"_s, .totalt = 375},
                                 {.efternamn = u"F"_s, .totalt = 360, .sarskjutning = 0.5},
                                 {.efternamn = u"E"_s, .totalt = 360, .sarskjutning = 1.25}}
            << QList<Rad>{{u"1"_s, u"Anna A"_s}, {u"2"_s, u"Anna B"_s}, {u"2"_s, u"Anna C"_s},
                          {u"4"_s, u"Anna D"_s}, {u"5"_s, u"Anna E"_s}, {u"6"_s, u"Anna F"_s}};
        // As text "9,9,..." would stand above "10,0,...".
        QTest::newRow("tior räknas som tal")
            << T::Nationellt
            << QList<Pristagare>{{.efternamn = u"A"_s, .totalt = 370, .tioNior = nioTior},
                                 {.efternamn = u"B"_s, .totalt = 370, .tioNior = tioTior}}
            << QList<Rad>{{u"1"_s, u"Anna B"_s}, {u"2"_s, u"Anna A"_s}};
        QTest::newRow("nationell: innertior före tiorna")
            << T::Nationellt
            << QList<Pristagare>{{.efternamn = u"A"_s, .totalt = 370, .innertior = 1, .tioNior = tioTior},
                                 {.efternamn = u"B"_s, .totalt = 370, .innertior = 2, .tioNior = nioTior}}
            << QList<Rad>{{u"1"_s, u"Anna B"_s}, {u"2"_s, u"Anna A"_s}};
        QTest::newRow("sport: tiorna före innertior")
            << T::Sportskytte
            << QList<Pristagare>{{.efternamn = u"A"_s, .totalt = 370, .innertior = 1, .tioNior = tioTior},
                                 {.efternamn = u"B"_s, .totalt = 370, .innertior = 2, .tioNior = nioTior}}
            << QList<Rad>{{u"1"_s, u"Anna A"_s}, {u"2"_s, u"Anna B"_s}};
        QTest::newRow("sport: sista paret före de första")
            << T::Sportskytte
            << QList<Pristagare>{{.efternamn = u"A"_s, .totalt = 380, .serier = {100, 95, 90, 95}},
                                 {.efternamn = u"B"_s, .totalt = 380, .serier = {90, 95, 95, 100}}}
            << QList<Rad>{{u"1"_s, u"Anna B"_s}, {u"2"_s, u"Anna A"_s}};
        QTest::newRow("lika: efternamn, förnamn ordnar")
            << T::Nationellt
            << QList<Pristagare>{{.efternamn = u"berg"_s, .totalt = 370, .namn = u"Per"_s},
                                 {.efternamn = u"Berg"_s, .totalt = 370, .namn = u"Eva"_s},
                                 {.efternamn = u"Åberg"_s, .totalt = 370},
                                 {.efternamn = u"Ali"_s, .totalt = 370}}
            << QList<Rad>{{u"1"_s, u"Anna Ali"_s},
                          {u"1"_s, u"Eva Berg"_s},
                          {u"1"_s, u"Per berg"_s},
                          {u"1"_s, u"Anna Åberg"_s}};
        QTest::newRow("bara pristagare")
            << T::Nationellt
            << QList<Pristagare>{{.efternamn = u"A"_s, .totalt = 370, .vandringsSerier = 0},
                                 {.efternamn = u"B"_s, .totalt = 360, .vandringsSerier = 6}}
            << QList<Rad>{{u"1"_s, u"Anna B"_s}};
    }
    void platser() {
        QFETCH(T, typ);
        QFETCH(QList<Pristagare>, skyttar);
        Pris p(typ);
        for (const Pristagare& s : skyttar)
            p.lagg(s);
        QTEST(p.platser(), "platser");
    }

    // Two sport shooters equal but for one pair sum: that pair decides,
    // the first one as well as the last.
    void sportparen_data() {
        QTest::addColumn<Vandringsprisbok::Layout>("layout");
        QTest::addColumn<int>("par"); // 0: Sum10
        for (int par = 0; par < 6; ++par) {
            if (par < 4)
                QTest::addRow("40 skott, Sum%d", (par + 1) * 10) << Vandringsprisbok::Layout::Sport40 << par;
            QTest::addRow("60 skott, Sum%d", (par + 1) * 10) << Vandringsprisbok::Layout::Sport60 << par;
        }
    }
    void sportparen() {
        QFETCH(Vandringsprisbok::Layout, layout);
        QFETCH(int, par);
        QList<Skytt> skyttar(2);
        for (qsizetype i = 0; i < skyttar.size(); ++i) {
            skyttar[i].lopnummer = i + 2;
            skyttar[i].efternamn = u"Ek"_s;
            skyttar[i].sum.fill(90);
            skyttar[i].totalt40 = 360;
            skyttar[i].totalt60 = 540;
        }
        ++skyttar[1].sum[size_t(par)];
        const Rangordning::Kedja<Skytt>& k = Vandringsprisbok::kedja(layout);
        Rangordning::rangordna(skyttar, k);
        QCOMPARE(skyttar[0].lopnummer, 3);
        QCOMPARE(Rangordning::platser(skyttar, k), (QList<int>{1, 2}));
    }

    // Full marks red, others black; the total bold, red only at full marks;
    // no inner tens leave their cell empty.
    void farger_data() {
        QTest::addColumn<T>("typ");
        QTest::addColumn<QString>("antalSkott");
        QTest::addColumn<QList<Pristagare>>("skyttar");
        // Cell, value, colour ("" automatic), bold.
        QTest::addColumn<QStringList>("celler");
        QTest::newRow("nationell") << T::Nationellt << QString()
                                   << QList<Pristagare>{{.efternamn = u"A"_s,
                                                         .totalt = 400,
                                                         .innertior = 12,
                                                         .serier = QList<int>(8, 50)},
                                                        {.efternamn = u"B"_s,
                                                         .totalt = 399,
                                                         .serier = {49, 50, 50, 50, 50, 50, 50, 50}}}
                                   << QStringList{u"D4 50 FFFF0000 -"_s,
                                                  u"K4 50 FFFF0000 -"_s,
                                                  u"L4 400 FFFF0000 fet"_s,
                                                  u"M4 12  -"_s,
                                                  u"D5 49 FF000000 -"_s,
                                                  u"L5 399  fet"_s,
                                                  u"M5   -"_s};
        QTest::newRow("sport 60")
            << T::Sportskytte << u"60"_s
            << QList<Pristagare>{{.efternamn = u"A"_s, .totalt = 600, .serier = QList<int>(6, 100)},
                                 {.efternamn = u"B"_s,
                                  .totalt = 599,
                                  .serier = {99, 100, 100, 100, 100, 100}}}
            << QStringList{u"D4 100 FFFF0000 -"_s, u"I4 100 FFFF0000 -"_s, u"J4 600 FFFF0000 fet"_s,
                           u"D5 99 FF000000 -"_s,  u"J5 599  fet"_s,       u"K5   -"_s};
    }
    void farger() {
        QFETCH(T, typ);
        QFETCH(QString, antalSkott);
        QFETCH(QList<Pristagare>, skyttar);
        Pris p(typ, antalSkott);
        for (const Pristagare& s : skyttar)
            p.lagg(s);
        const XlsxLasare x = p.fil();
        QStringList lasta;
        QFETCH(QStringList, celler);
        for (const QString& c : celler) {
            const QString a = c.section(u' ', 0, 0);
            const XlsxLasare::Format f = x.format(a);
            lasta << u"%1 %2 %3 %4"_s.arg(a, x.varde(a), f.farg, f.fet ? u"fet"_s : u"-"_s);
        }
        QCOMPARE(lasta, celler);
    }

    // Printed and saved, or saved alone, under the list's own name in
    // Utskrifter, which is made when it is missing.
    void filnamn_data() {
        QTest::addColumn<Utskriftsmal>("mal");
        QTest::addColumn<QString>("fil");
        QTest::newRow("skrivare") << Utskriftsmal::Printer << u"ResultatlistaVandring_Printer.xlsx"_s;
        QTest::newRow("fil") << Utskriftsmal::Fil << u"ResultatlistaVandring_Fil.xlsx"_s;
    }
    void filnamn() {
        QFETCH(Utskriftsmal, mal);
        QFETCH(QString, fil);
        Pris p(T::Nationellt);
        p.lagg({.efternamn = u"Andersson"_s, .totalt = 370});
        QVERIFY(QDir(p.utskrifter()).removeRecursively());
        QCOMPARE(p.kor(mal).value_or(QString()), p.utskrifter(fil));
        QCOMPARE(QDir(p.utskrifter()).entryList(QDir::Files), QStringList{fil});
        QCOMPARE(QFile::exists(p.motor.pdfFil()), mal == Utskriftsmal::Printer);
        if (mal == Utskriftsmal::Printer) {
            QProcess pdf;
            pdf.start(u"pdftotext"_s, {u"-layout"_s, p.motor.pdfFil(), u"-"_s});
            pdf.waitForFinished(60000);
            const QString text = QString::fromUtf8(pdf.readAllStandardOutput());
            for (const QString& del :
                 {u"Resultatlista Vandringspris"_s, u"Klubbpokalen"_s, u"Anna Andersson"_s})
                QVERIFY2(text.contains(del), qPrintable(text));
        }
        // The builder tells where the file went, once its status window is gone.
        QVERIFY(p.f.m.visade.isEmpty());
    }

    // Without prize shooters, or in a mixed competition, the sheet is empty and
    // still saved.
    void tomtBlad_data() {
        QTest::addColumn<T>("typ");
        QTest::addColumn<int>("vandringsSerier");
        QTest::newRow("ingen pristagare") << T::Nationellt << 0;
        QTest::newRow("mix") << T::Mix << 8;
    }
    void tomtBlad() {
        QFETCH(T, typ);
        QFETCH(int, vandringsSerier);
        Pris p(typ);
        p.lagg({.efternamn = u"A"_s, .totalt = 370, .vandringsSerier = vandringsSerier});
        QCOMPARE(p.fil().rader(), QList<Rad>());
    }

    // The builder as the program runs it: its items are off while it runs and
    // back however it ends, and the status window goes with it.
    void byggaren_data() {
        QTest::addColumn<QString>("antalSkott");
        QTest::addColumn<bool>("sparad");
        QTest::newRow("sparad") << u"40"_s << true;
        QTest::newRow("AntalSkott ingen siffra") << u"fyrtio"_s << false;
    }
    void byggaren() {
        QFETCH(QString, antalSkott);
        QFETCH(bool, sparad);
        Pris p(T::Sportskytte, antalSkott);
        p.lagg({.efternamn = u"A"_s, .totalt = 370});
        Utskrifter::registrera(p.f.delar());
        for (const Meny m : {Meny::mnuInskrivning, Meny::mnuUtskrift})
            p.f.fonster.sattMeny(m, true);
        QList<bool> underKorning;
        bool statusfonster = false;
        p.f.m.svaraMed([&] {
            underKorning << p.f.fonster.menyPa(Meny::mnuInskrivning) << p.f.fonster.menyPa(Meny::mnuUtskrift);
            for (QWidget* w : QApplication::topLevelWidgets())
                statusfonster |= w->objectName() == u"frmStatusUtskrift"_s && w->isVisible();
            return Meddelanden::Svar::OK;
        });
        QVERIFY(p.f.fonster.byggLista(Fonsternamn::VandringsprisLista, Utskriftsmal::Fil));
        QCOMPARE(underKorning, (QList<bool>{false, false}));
        // Neither a failure nor the saved file's folder is told under the
        // status window.
        QVERIFY(!statusfonster);
        QCOMPARE(p.f.m.visade.size(), 1);
        if (sparad) {
            QCOMPARE(p.f.m.senasteText(),
                     u"Filen spardes i:\r\n"_s +
                         QDir::toNativeSeparators(p.f.g.strTavlingsmapp + u"Utskrifter"_s));
        } else {
            QVERIFY2(p.f.m.senasteText().startsWith(u"MDIfrmHuvudmeny.SkrivVandringsprisLista.. "_s) &&
                         p.f.m.senasteText().endsWith(u" 13"_s),
                     qPrintable(p.f.m.senasteText()));
            QCOMPARE(p.f.m.visade.front().titel, u"Fel"_s);
        }
        QCOMPARE(QFile::exists(p.utskrifter(u"ResultatlistaVandring_Fil.xlsx"_s)), sparad);
        QVERIFY(p.f.fonster.menyPa(Meny::mnuInskrivning) && p.f.fonster.menyPa(Meny::mnuUtskrift));
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(w->objectName() != u"frmStatusUtskrift"_s || !w->isVisible());
    }
};

QTEST_MAIN(TestVandringsprislista)
#include "test_vandringsprislista.moc"
