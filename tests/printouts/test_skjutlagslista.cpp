#include "competition/Omgangar.h"
#include "competition/Skjuttider.h"
#include "platform/workbook/Skrivarmotor.h"
#include "printouts/Skjutlagslista.h"
#include "support/Testfixtur.h"
#include "support/XlsxLasare.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;
using T = NyTavling::Typ;
using Rad = QStringList;

Q_DECLARE_METATYPE(NyTavling::Typ)

namespace {

const QString Rubrikkod = u"&\"MS Sans Serif,Normal\"&10"_s;

// A competition whose squad list is saved or printed to a PDF file.
struct Lista {
    Testfixtur f;
    Skrivarmotor motor;
    QStringList status;

    Lista(T typ, int banor, int skjutlag, int skyttar, bool omgangar = false, bool resultat = false) {
        f.skapaTavling(u"Cup"_s, typ, banor, skjutlag, skyttar);
        f.g.blnFleraTavlingar = omgangar;
        f.g.blnSkjutlagslistaMedResultat = resultat;
        if (omgangar) {
            QVERIFY(!Omgangar::laggTill(f.g.cnnTavling, u"1"_s, u"Kval"_s));
            QVERIFY(!Omgangar::laggTill(f.g.cnnTavling, u"2"_s, u"Final"_s));
        }
        motor.setPdfFil(f.t.fil(u"lista.pdf"_s));
    }
    std::optional<QString> kor(Utskriftsmal mal, std::optional<int> skjutlag = std::nullopt,
                               bool forklaringar = false) {
        const Arbetsboksram::Omgivning o{f.g, f.m, &motor, {}, [this](const QString& s) { status << s; }};
        return Skjutlagslista::kor(o, mal, skjutlag, forklaringar);
    }
    XlsxLasare fil(std::optional<int> skjutlag = std::nullopt, bool forklaringar = false) {
        const auto sparad = kor(Utskriftsmal::Fil, skjutlag, forklaringar);
        if (!sparad)
            qFatal("not saved: %s", qPrintable(f.m.senasteText()));
        return XlsxLasare(*sparad);
    }
    // A shooter on a lane of squad 1, every field filled.
    qint64 skytt(int bana, const QString& namn, const QString& klass, const QString& resultat = {}) {
        Databas& db = f.g.cnnTavling;
        db.kor(
            u"INSERT INTO Skyttar (Namn, Efternamn, Förening, Klass, Födelseår, Licensnr, SkyttekortNr, Omg) "
            "VALUES (?, 'Berg', 'Klubb', ?, '1990', 'L1', 'G1', 2)"_s,
            {namn, klass});
        const qint64 lopnummer = db.varde(u"SELECT last_insert_rowid()"_s).toLongLong();
        if (!resultat.isEmpty())
            db.kor(u"UPDATE Skyttar SET "_s + resultat + u" WHERE Löpnummer = ?"_s, {lopnummer});
        db.kor(u"UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = 1 AND Bana = ?"_s, {lopnummer, bana});
        return lopnummer;
    }
};

Rad siffror(int forsta, int sista) {
    Rad r;
    for (int i = forsta; i <= sista; ++i)
        r << QString::number(i);
    return r;
}

// One letter per column from A: r right, l left, c centre, - none.
QString justeringar(const XlsxLasare& x, int kolumner) {
    QString s;
    for (int k = 1; k <= kolumner; ++k) {
        const QString j = x.kolumnformat(k).justering;
        s += j == u"right"_s ? u'r' : j == u"left"_s ? u'l' : j == u"center"_s ? u'c' : u'-';
    }
    return s;
}

} // namespace

class TestSkjutlagslista : public QObject {
    Q_OBJECT
private slots:
    // The heading row, the columns' alignment and widths, and the page, by
    // the competition's kind, results and rounds.
    void uppstallning_data() {
        QTest::addColumn<T>("typ");
        QTest::addColumn<bool>("resultat");
        QTest::addColumn<bool>("omgangar");
        QTest::addColumn<Rad>("rubriker");
        QTest::addColumn<QString>("justering");
        QTest::addColumn<QList<double>>("bredder");
        const Rad ae{u"Bana"_s, u"Namn"_s, u"Förening"_s, u"Klass"_s, u"F-år"_s};
        const QList<double> b{5, 24, 17, 7, 5};
        const auto n = [](int antal, double bredd) { return QList<double>(antal, bredd); };
        const Rad akt{u"Akt.kort"_s, u"GS Kort"_s};
        const QString inget = u"r"_s + QString(18, u'-');
        QTest::newRow("nationell") << T::Nationellt << false << false << ae + Rad{u"GS Kort"_s} << inget
                                   << b + QList<double>{11} + n(8, 3.57) + n(2, 6.43) + QList<double>{3.71};
        QTest::newRow("nationell omg")
            << T::Nationellt << false << true << ae + Rad{u"GS Kort"_s, u"T.omg."_s}
            << u"r-----l------------"_s
            << b + QList<double>{11, 7} + n(8, 3.57) + n(2, 6.43) + QList<double>{3.71};
        QTest::newRow("sport") << T::Sportskytte << false << false << ae + akt << inget
                               << b + QList<double>{8, 11} + n(6, 3.57) + n(2, 6.43);
        QTest::newRow("mix omg") << T::Mix << false << true << ae + akt + Rad{u"T.omg."_s}
                                 << u"r------l-----------"_s
                                 << b + QList<double>{8, 11, 7} + n(8, 3.57) + n(2, 6.43) +
                                        QList<double>{3.71};
        QTest::newRow("sport resultat")
            << T::Sportskytte << true << false << ae + akt + siffror(1, 6) + Rad{u"Tot.40"_s, u"Tot.60"_s}
            << u"r------ccccccrr----"_s << b + QList<double>{8, 11} + n(6, 3.57) + n(2, 6.43);
        QTest::newRow("sport resultat omg")
            << T::Sportskytte << true << true
            << ae + akt + Rad{u"T.omg."_s} + siffror(1, 6) + Rad{u"Tot.40"_s, u"Tot.60"_s}
            << u"r---llllccccccrr---"_s << b + QList<double>{8, 11, 7} + n(6, 3.57) + n(2, 6.43);
        QTest::newRow("nationell resultat")
            << T::Nationellt << true << false
            << ae + Rad{u"GS Kort"_s} + siffror(1, 8) + Rad{u"Totalt"_s, u"10'"_s} << u"r-----ccccccccrr---"_s
            << b + QList<double>{11} + n(8, 3.57) + n(2, 6.43) + QList<double>{3.71};
        QTest::newRow("nationell resultat omg")
            << T::Nationellt << true << true
            << ae + Rad{u"GS Kort"_s, u"T.omg."_s} + siffror(1, 8) + Rad{u"Totalt"_s, u"10'"_s}
            << u"r-----lccccccccrr--"_s
            << b + QList<double>{11, 7} + n(8, 3.57) + n(2, 6.43) + QList<double>{3.71};
        QTest::newRow("mix resultat")
            << T::Mix << true << false << ae + akt + siffror(1, 8) + Rad{u"Tot.40"_s, u"Tot.60"_s, u"10'"_s}
            << u"r------ccccccccrrr-"_s
            << b + QList<double>{8, 11} + n(8, 3.57) + n(2, 6.43) + QList<double>{3.71};
        QTest::newRow("mix resultat omg")
            << T::Mix << true << true
            << ae + akt + Rad{u"T.omg."_s} + siffror(1, 8) + Rad{u"Tot.40"_s, u"Tot.60"_s, u"10'"_s}
            << u"r------lccccccccrrr"_s
            << b + QList<double>{8, 11, 7} + n(8, 3.57) + n(2, 6.43) + QList<double>{3.71};
    }
    void uppstallning() {
        QFETCH(T, typ);
        QFETCH(bool, resultat);
        QFETCH(bool, omgangar);
        QFETCH(QList<double>, bredder);
        Lista l(typ, 2, 1, 0, omgangar, resultat);
        const XlsxLasare x = l.fil();
        QTEST(x.rader().value(2), "rubriker");
        // The series are headed by numbers, the rest by text.
        QStringList typer, vantade;
        for (const QString& rubrik : x.rader().value(2)) {
            typer << x.typ(QChar(char16_t(u'A' + typer.size())) + u"3"_s);
            vantade << (rubrik.toInt() > 0 ? u"n"_s : u"s"_s);
        }
        QCOMPARE(typer, vantade);
        QTEST(justeringar(x, 19), "justering");
        // Compared as the spreadsheet shows them: a character is 7 pixels,
        // and each column has 5 more.
        QList<int> lasta, pixlar;
        for (int k = 1; k <= bredder.size(); ++k) {
            lasta << qRound(x.kolumnbredd(k) * 7);
            pixlar << int(bredder[k - 1] * 7 + 0.5) + 5;
        }
        QCOMPARE(lasta, pixlar);
        QCOMPARE(x.attribut(u"pageSetup"_s).value(u"orientation"_s),
                 resultat ? u"landscape"_s : u"portrait"_s);
        QCOMPARE(qRound(x.attribut(u"pageMargins"_s).value(u"left"_s).toDouble() * 2540),
                 resultat ? 1000 : 1500);
    }

    // One squad's sheet: title rows, headings, fonts, heights, header and
    // footer, and where the file goes.
    void blad() {
        Lista l(T::Nationellt, 3, 2, 5);
        Skjuttider::skriv(l.f.g.cnnTavling, 2, u"Lördag 10.00"_s);
        l.f.g.strTavlingsdatum = u"7 dec"_s;
        const auto sparad = l.kor(Utskriftsmal::Fil, 2);
        QVERIFY(sparad);
        QCOMPARE(QFileInfo(*sparad).fileName(), u"Skjutlagslista_Fil.xlsx"_s);
        QCOMPARE(QFileInfo(*sparad).dir().dirName(), u"Utskrifter"_s);
        QCOMPARE(l.status, (QStringList{u"Sparar till fil..."_s}));
        // The dialog tells where the file went, not the run.
        QVERIFY(l.f.m.visade.isEmpty());
        const XlsxLasare x(*sparad);
        QCOMPARE(x.bladnamn(), u"Skjutlagslista"_s);
        QCOMPARE(x.rader(),
                 (QList<Rad>{{QString(), u"Skjutlag: 2"_s},
                             {QString(), u"Skjuttid: Lördag 10.00"_s},
                             {u"Bana"_s, u"Namn"_s, u"Förening"_s, u"Klass"_s, u"F-år"_s, u"GS Kort"_s},
                             {u"1"_s, u"Skytt4 Efternamn4"_s, u"Klubb 1"_s, u"LG1"_s},
                             {u"2"_s, u"Skytt5 Efternamn5"_s, u"Klubb 2"_s, u"LG1"_s},
                             {u"3"_s}}));
        QCOMPARE(x.kolumnformat(1).font, u"MS Sans Serif"_s);
        QCOMPARE(x.kolumnformat(1).storlek, 10.0);
        QCOMPARE((QList<double>{x.radhojd(1), x.radhojd(2), x.radhojd(3), x.radhojd(4)}),
                 (QList<double>{23.25, 19.5, 15, 15}));
        QCOMPARE(x.format(u"B1"_s).storlek, 18.0);
        QVERIFY(x.format(u"B1"_s).fet);
        QCOMPARE(x.format(u"B2"_s).storlek, 13.5);
        QVERIFY(!x.format(u"B2"_s).fet);
        QVERIFY(x.radformat(3).fet && !x.radformat(4).fet);
        QCOMPARE(x.text(u"oddHeader"_s), u"&L"_s + Rubrikkod + u" Cup 7 dec\n Skjutlagslista"_s);
        QCOMPARE(x.text(u"oddFooter"_s), u"&R"_s + Rubrikkod + u"&P"_s);
        QCOMPARE(x.attribut(u"pageSetup"_s).value(u"paperSize"_s), u"9"_s);
        QCOMPARE(x.sidbrytningar(), QList<int>());
    }

    // Printed, then saved as the printed list.
    void skrivare() {
        Lista l(T::Sportskytte, 2, 1, 1);
        const auto sparad = l.kor(Utskriftsmal::Printer);
        QVERIFY(sparad);
        QCOMPARE(QFileInfo(*sparad).fileName(), u"Skjutlagslista_Printer.xlsx"_s);
        QVERIFY(QFileInfo(l.f.t.fil(u"lista.pdf"_s)).size() > 0);
        QCOMPARE(l.status, (QStringList{u"Utskrift pågår..."_s, u"Sparar till fil..."_s}));
    }

    // Each squad begins a page; the explanation page follows the last one.
    void sidbrytningar_data() {
        QTest::addColumn<int>("skjutlag"); // 0: all
        QTest::addColumn<bool>("omgangar");
        QTest::addColumn<bool>("forklaringar");
        QTest::addColumn<QList<int>>("brytningar"); // the last row of each page but the last
        QTest::addColumn<int>("forklaringsrad");    // 0: none
        // Three squads of two lanes: blocks at rows 1, 7 and 13.
        QTest::newRow("alla") << 0 << false << false << QList<int>{6, 12} << 0;
        QTest::newRow("alla, förklaringar utan omgångar") << 0 << false << true << QList<int>{6, 12} << 0;
        QTest::newRow("alla, omgångar utan förklaringar") << 0 << true << false << QList<int>{6, 12} << 0;
        QTest::newRow("alla med förklaringar") << 0 << true << true << QList<int>{6, 12, 18} << 19;
        QTest::newRow("ett") << 3 << false << false << QList<int>() << 0;
        QTest::newRow("ett med förklaringar") << 3 << true << true << QList<int>{6} << 7;
    }
    void sidbrytningar() {
        QFETCH(int, skjutlag);
        QFETCH(bool, omgangar);
        QFETCH(bool, forklaringar);
        QFETCH(int, forklaringsrad);
        Lista l(T::Nationellt, 2, 3, 6, omgangar);
        const XlsxLasare x = l.fil(skjutlag ? std::optional(skjutlag) : std::nullopt, forklaringar);
        QTEST(x.sidbrytningar(), "brytningar");
        const QList<Rad> rader = x.rader();
        if (forklaringsrad) {
            const QString titel = u"B%1"_s.arg(forklaringsrad);
            QCOMPARE(x.varde(titel), u"Förklaringar till dom olika tävlingsomgångarna."_s);
            QCOMPARE(x.format(titel).storlek, 16.0);
            QCOMPARE(x.format(titel).understrykning, u"single"_s);
            QCOMPARE(x.radhojd(forklaringsrad), 23.25);
            QCOMPARE(rader.mid(forklaringsrad),
                     (QList<Rad>{{QString(), u"1 = Kval"_s}, {QString(), u"2 = Final"_s}}));
        } else {
            QVERIFY(!rader.last().value(1).contains(u" = "_s));
        }
        if (!skjutlag)
            QCOMPARE((QStringList{x.varde(u"B1"_s), x.varde(u"B7"_s), x.varde(u"B13"_s)}),
                     (QStringList{u"Skjutlag: 1"_s, u"Skjutlag: 2"_s, u"Skjutlag: 3"_s}));
    }

    // Every lane in lane order: a free lane and one whose shooter is gone
    // show their number alone; a class missing or of no known kind shows the
    // shooter without results. Results as the class's kind shows them.
    void banor() {
        Lista l(T::Mix, 8, 1, 0, false, true);
        Databas& db = l.f.g.cnnTavling;
        db.kor(u"INSERT INTO Mixadeklasser (Klass, Klassnamn, [Antal skott], [Sport/Nat]) "
               "VALUES ('ANN', 'Annan', 40, 'Annat')"_s);
        l.skytt(1, u"Nat"_s, u"LG1"_s,
                u"Res1=50, Res2=49, Res3=48, Res4=47, Res5=46, Res6=45, Res7=44, Res8=43, Totalt40=372, "
                "Totalt60=372, Innertior=40, Sum10=99"_s);
        l.skytt(2, u"Fyrtio"_s, u"d"_s,
                u"Sum10=100, Sum20=99, Sum30=98, Sum40=97, Totalt40=394, Totalt60=394, Res1=50"_s);
        l.skytt(3, u"Mer"_s, u"D"_s,
                u"Sum10=100, Sum20=99, Sum30=98, Sum40=97, Sum50=96, Sum60=95, Totalt40=394, Totalt60=585"_s);
        l.skytt(4, u"Sextio"_s, u"H"_s,
                u"Sum10=100, Sum20=100, Sum30=100, Sum40=100, Sum50=100, Sum60=100, Totalt40=400, "
                "Totalt60=600, Innertior=12"_s);
        l.skytt(5, u"Borta"_s, u"XX"_s, u"Sum10=90, Totalt40=90"_s);
        l.skytt(6, u"Okand"_s, u"ANN"_s, u"Sum10=90, Totalt40=90"_s);
        db.kor(u"UPDATE Skjutlag SET Startnummer = 999 WHERE Bana = 8"_s);
        const XlsxLasare x = l.fil();
        const Rad person{u"Klubb"_s, QString(), u"1990"_s, u"L1"_s, u"G1"_s};
        const auto rad = [&](const QString& bana, const QString& namn, const QString& klass) {
            Rad r{bana, namn + u" Berg"_s};
            r += person;
            r[3] = klass;
            return r;
        };
        const QList<Rad> rader = x.rader();
        QCOMPARE(rader.size(), 11);
        QCOMPARE(rader[3],
                 (rad(u"1"_s, u"Nat"_s, u"LG1"_s) + Rad{u"50"_s, u"49"_s, u"48"_s, u"47"_s, u"46"_s, u"45"_s,
                                                        u"44"_s, u"43"_s, u"372"_s, QString(), u"40"_s}));
        QCOMPARE(rader[4],
                 (rad(u"2"_s, u"Fyrtio"_s, u"d"_s) +
                  Rad{u"100"_s, u"99"_s, u"98"_s, u"97"_s, u"0"_s, u"0"_s, QString(), QString(), u"394"_s}));
        QCOMPARE(rader[5],
                 (rad(u"3"_s, u"Mer"_s, u"D"_s) + Rad{u"100"_s, u"99"_s, u"98"_s, u"97"_s, u"96"_s, u"95"_s,
                                                      QString(), QString(), u"394"_s, u"585"_s}));
        QCOMPARE(rader[6], (rad(u"4"_s, u"Sextio"_s, u"H"_s) + Rad{u"100"_s, u"100"_s, u"100"_s, u"100"_s,
                                                                   u"100"_s, u"100"_s, QString(), QString(),
                                                                   QString(), u"600"_s}));
        QCOMPARE(rader[7], rad(u"5"_s, u"Borta"_s, u"XX"_s));
        QCOMPARE(rader[8], rad(u"6"_s, u"Okand"_s, u"ANN"_s));
        QCOMPARE(rader[9], Rad{u"7"_s});
        QCOMPARE(rader[10], Rad{u"8"_s});
        // Red on a full series, total and inner tens; the kept total in bold.
        const auto rod = [&](const QString& a) { return x.format(a).farg == u"FFFF0000"_s; };
        const auto fet = [&](const QString& a) { return x.format(a).fet; };
        QVERIFY(rod(u"H4"_s) && !rod(u"I4"_s) && !rod(u"P4"_s) && rod(u"R4"_s) && fet(u"P4"_s));
        QVERIFY(rod(u"H5"_s) && !rod(u"I5"_s) && fet(u"P5"_s) && !rod(u"P5"_s));
        QVERIFY(fet(u"P6"_s) && !fet(u"Q6"_s));
        QVERIFY(rod(u"M7"_s) && rod(u"Q7"_s) && fet(u"Q7"_s));
    }

    // With no squad, only the rounds' explanation: at the top, no break.
    void baraForklaringar() {
        Lista l(T::Nationellt, 2, 1, 0, true);
        l.f.g.cnnTavling.kor(u"DELETE FROM Skjutlag"_s);
        const XlsxLasare x = l.fil(std::nullopt, true);
        QCOMPARE(x.sidbrytningar(), QList<int>());
        QCOMPARE(x.rader(), (QList<Rad>{{QString(), u"Förklaringar till dom olika tävlingsomgångarna."_s},
                                        {QString(), u"1 = Kval"_s},
                                        {QString(), u"2 = Final"_s}}));
    }

    // Only a mixed competition needs the class to show a row's results: in a
    // national or sport one the competition's kind holds, class or none.
    void resultatUtanKlass_data() {
        QTest::addColumn<T>("typ");
        QTest::addColumn<QString>("klass");
        QTest::addColumn<Rad>("resultat");
        const Rad nat{u"50"_s, u"49"_s, u"48"_s, u"47"_s,  u"46"_s,
                      u"45"_s, u"44"_s, u"43"_s, u"372"_s, u"7"_s};
        const Rad sport{u"100"_s, u"99"_s, u"98"_s, u"97"_s, u"96"_s, u"95"_s, u"394"_s, u"585"_s};
        QTest::newRow("nationell, okänd klass") << T::Nationellt << u"XX"_s << nat;
        QTest::newRow("nationell, ingen klass") << T::Nationellt << u""_s << nat;
        QTest::newRow("sport, okänd klass") << T::Sportskytte << u"XX"_s << sport;
        QTest::newRow("sport, ingen klass") << T::Sportskytte << u""_s << sport;
        QTest::newRow("mix, okänd klass") << T::Mix << u"XX"_s << Rad();
    }
    void resultatUtanKlass() {
        QFETCH(T, typ);
        QFETCH(QString, klass);
        QFETCH(Rad, resultat);
        Lista l(typ, 1, 1, 0, false, true);
        l.skytt(1, u"Ola"_s, klass,
                u"Res1=50, Res2=49, Res3=48, Res4=47, Res5=46, Res6=45, Res7=44, Res8=43, Innertior=7, "
                "Sum10=100, Sum20=99, Sum30=98, Sum40=97, Sum50=96, Sum60=95, Totalt40=394, Totalt60=585"_s);
        if (typ == T::Nationellt)
            l.f.g.cnnTavling.kor(u"UPDATE Skyttar SET Totalt40 = 372 WHERE Namn = 'Ola'"_s);
        const Rad rad = l.fil().rader().value(3);
        QCOMPARE(rad.mid(typ == T::Nationellt ? 6 : 7), resultat);
    }

    // The squad typed for one squad: a whole number of an existing squad.
    void skjutlagsnummer_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("skjutlag"); // 0: refused
        QTest::newRow("första") << u"1"_s << 1;
        QTest::newRow("sista") << u"3"_s << 3;
        QTest::newRow("blanka runt") << u" 2 "_s << 2;
        QTest::newRow("inledande nolla") << u"02"_s << 2;
        QTest::newRow("ett för högt") << u"4"_s << 0;
        QTest::newRow("noll") << u"0"_s << 0;
        QTest::newRow("negativt") << u"-1"_s << 0;
        QTest::newRow("decimaler") << u"1,5"_s << 0;
        QTest::newRow("plustecken") << u"+1"_s << 0;
        QTest::newRow("text") << u"ett"_s << 0;
        QTest::newRow("bara blanka") << u"  "_s << 0;
        QTest::newRow("enormt") << u"99999999999"_s << 0;
    }
    void skjutlagsnummer() {
        QFETCH(QString, text);
        QFETCH(int, skjutlag);
        QCOMPARE(Skjutlagslista::tolkaSkjutlag(text, 3).value_or(0), skjutlag);
    }
};

QTEST_MAIN(TestSkjutlagslista)
#include "test_skjutlagslista.moc"
