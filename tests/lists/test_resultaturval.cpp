#include "common/Databasnamn.h"
#include "competition/Klasser.h"
#include "lists/Resultaturval.h"
#include "support/Testfixtur.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Typ = NyTavling::Typ;

namespace {

struct Miljo : Testfixtur {
    explicit Miljo(Typ typ = Typ::Nationellt) { skapaTavling(u"Cup"_s, typ, 10, 1, 0); }

    Databas& db() { return g.cnnTavling; }
    Klasser klasser() { return Klasser(g, m); }

    // A shooter of a class and round with a total (Totalt40 and, unless told,
    // Totalt60 the same).
    qint64 skytt(const QString& efternamn, const QString& klass, int totalt, int omg = 0, int totalt60 = -1) {
        db().kor(u"INSERT INTO Skyttar (Namn, Efternamn, Klass, Omg) VALUES ('Al', ?, ?, ?)"_s,
                 {efternamn, klass, omg});
        const qint64 nr = db().varde(u"SELECT last_insert_rowid()"_s).toLongLong();
        db().kor(u"UPDATE Skyttar SET Totalt40 = ?, Totalt60 = ? WHERE Löpnummer = ?"_s,
                 {totalt, totalt60 < 0 ? totalt : totalt60, nr});
        return nr;
    }

    ValdKlass klass(const QString& kod) {
        for (const Klass& k : klasser().lista())
            if (k.kod == kod)
                return {k, false};
        qFatal("no class %s", qPrintable(kod));
    }
    // A main class of these member classes (same shots and kind as the first).
    ValdKlass huvudklass(const QString& kod, const QStringList& medlemmar) {
        const Klass forsta = klass(medlemmar.first()).klass;
        if (klasser().nyHuvudklass({kod, kod + u" sammanslagen"_s, QString::number(forsta.antalSkott),
                                    forsta.sportNat}) != Klasser::Utfall::Ok)
            qFatal("main class");
        const Klass h = klasser().huvudklasser().last();
        for (const QString& m : medlemmar)
            db().kor(u"UPDATE %1 SET Sammanslagen = ? WHERE Klass = ?"_s.arg(g.klasstabell()),
                     {h.raknare, m});
        return {h, true};
    }

    // "place name" per shooter, or "-" when the class is left out.
    QStringList lista(const ValdKlass& k, std::optional<int> omg = std::nullopt) {
        const std::optional<Klassblock> b = Resultaturval(g).valjUt(k, omg);
        if (!b)
            return {u"-"_s};
        if (b->platser.size() != b->skyttar.size())
            qFatal("one place per shooter");
        QStringList l;
        for (qsizetype i = 0; i < b->skyttar.size(); ++i)
            l << u"%1 %2"_s.arg(b->platser[i]).arg(b->skyttar[i].efternamn);
        return l;
    }
    std::optional<Klassslag> slag(const ValdKlass& k) {
        const std::optional<Klassblock> b = Resultaturval(g).valjUt(k, std::nullopt);
        return b ? std::optional(b->slag) : std::nullopt;
    }
};

} // namespace

// The shooters of one chosen class: which are selected, by which chain they are
// ranked, and their places.
class TestResultaturval : public QObject {
    Q_OBJECT
private slots:
    // A class's own shooters (its code in any letter case), ranked with shared
    // places by the class's chain, those without results sharing the last;
    // equal shooters by name.
    // The first of every class is 1.
    void vanligKlass() {
        Miljo f;
        f.skytt(u"Lind"_s, u"LG1"_s, 380);
        f.skytt(u"Åberg"_s, u"LG1"_s, 390, 0, 391); // Totalt60 is no national key
        f.skytt(u"Ek"_s, u"LG1"_s, 0);
        f.skytt(u"Zetterberg"_s, u"lg1"_s, 390);
        f.skytt(u"Berg"_s, u"LG1"_s, 0);
        f.skytt(u"Alm"_s, u"LG1"_s, 400);
        f.skytt(u"Ask"_s, u"LG2"_s, 380);
        QCOMPARE(f.lista(f.klass(u"LG1"_s)), (QStringList{u"1 Alm"_s, u"2 Zetterberg"_s, u"2 Åberg"_s,
                                                          u"4 Lind"_s, u"5 Berg"_s, u"5 Ek"_s}));
        QCOMPARE(f.lista(f.klass(u"LG2"_s)), (QStringList{u"1 Ask"_s}));
        QCOMPARE(f.lista(f.klass(u"LG3"_s)), (QStringList{u"-"_s}));
        QVERIFY(f.slag(f.klass(u"LG1"_s)) == Klassslag::Nationell);
    }

    // The kind decides the chain: a sport class of more than 40 shots (its own
    // count, a main class's too) ranks by Totalt60, one of at most 40 by
    // Totalt40; in a mixed competition the class says its kind, elsewhere the
    // competition does; a class of no known kind is left out.
    void slag_data() {
        QTest::addColumn<Typ>("typ");
        QTest::addColumn<QString>("kod");
        QTest::addColumn<bool>("huvud");
        QTest::addColumn<int>("skott");
        QTest::addColumn<QString>("sportNat");
        QTest::addColumn<QString>("forst"); // "40", "60" or "-" for left out
        QTest::newRow("sport 40") << Typ::Sportskytte << u"D"_s << false << 40 << QString() << u"40"_s;
        QTest::newRow("sport 45") << Typ::Sportskytte << u"D"_s << false << 45 << QString() << u"60"_s;
        QTest::newRow("sport 60") << Typ::Sportskytte << u"H"_s << false << 60 << QString() << u"60"_s;
        QTest::newRow("sport utan skott") << Typ::Sportskytte << u"H"_s << false << 0 << QString() << u"40"_s;
        QTest::newRow("huvudklass 60") << Typ::Sportskytte << u"H"_s << true << 60 << QString() << u"60"_s;
        QTest::newRow("huvudklass 40") << Typ::Sportskytte << u"H"_s << true << 40 << QString() << u"40"_s;
        QTest::newRow("nationell, Sport")
            << Typ::Nationellt << u"LG1"_s << false << 60 << u"Sport"_s << u"40"_s;
        QTest::newRow("mix Sport") << Typ::Mix << u"H"_s << false << 60 << u"Sport"_s << u"60"_s;
        QTest::newRow("mix Nat") << Typ::Mix << u"H"_s << false << 60 << u"Nat"_s << u"40"_s;
        QTest::newRow("mix okänd") << Typ::Mix << u"H"_s << false << 60 << QString() << u"-"_s;
        QTest::newRow("mix huvudklass Sport") << Typ::Mix << u"H"_s << true << 60 << u"Sport"_s << u"60"_s;
        QTest::newRow("mix huvudklass okänd") << Typ::Mix << u"H"_s << true << 60 << u"X"_s << u"-"_s;
    }
    void slag() {
        QFETCH(Typ, typ);
        QFETCH(QString, kod);
        QFETCH(bool, huvud);
        Miljo f(typ);
        f.skytt(u"Fyrtio"_s, kod, 390, 0, 390);
        f.skytt(u"Sextio"_s, kod, 380, 0, 580);
        ValdKlass k = huvud ? f.huvudklass(u"X"_s, {kod}) : f.klass(kod);
        QFETCH(int, skott);
        k.klass.antalSkott = skott;
        QFETCH(QString, sportNat);
        k.klass.sportNat = sportNat;
        const QStringList l = f.lista(k);
        QFETCH(QString, forst);
        if (forst == u"-")
            QCOMPARE(l, QStringList{u"-"_s});
        else
            QCOMPARE(l.first(), forst == u"40" ? u"1 Fyrtio"_s : u"1 Sextio"_s);
    }

    // A competition of no kind ranks nothing.
    void ingenTavlingstyp() {
        Miljo f;
        f.skytt(u"Alm"_s, u"LG1"_s, 390);
        const ValdKlass k = f.klass(u"LG1"_s);
        f.g.blnNationellt = false;
        QCOMPARE(f.lista(k), QStringList{u"-"_s});
    }

    // A main class ranks its members' shooters of the chosen round as one class;
    // without a round, all of them. A class with no shooters in the round is
    // left out.
    void huvudklassOchOmgang_data() {
        QTest::addColumn<QString>("klass");
        QTest::addColumn<int>("omg"); // 0 for none
        QTest::addColumn<QStringList>("lista");
        QTest::newRow("omg 1") << u"LGA"_s << 1 << QStringList{u"1 Ek"_s, u"2 Alm"_s};
        QTest::newRow("omg 2") << u"LGA"_s << 2 << QStringList{u"1 Berg"_s};
        QTest::newRow("alla") << u"LGA"_s << 0 << QStringList{u"1 Ek"_s, u"2 Berg"_s, u"3 Alm"_s};
        QTest::newRow("andra omgångar") << u"LGB"_s << 2 << QStringList{u"-"_s};
        QTest::newRow("vanlig, omg 2") << u"LG1"_s << 2 << QStringList{u"-"_s};
        QTest::newRow("vanlig, omg 1") << u"LG1"_s << 1 << QStringList{u"1 Alm"_s};
    }
    void huvudklassOchOmgang() {
        Miljo f;
        f.skytt(u"Alm"_s, u"LG1"_s, 390, 1);
        f.skytt(u"Ek"_s, u"LG2"_s, 400, 1);
        f.skytt(u"Berg"_s, u"LG2"_s, 395, 2);
        f.skytt(u"Ås"_s, u"LG3"_s, 399, 1);
        const QMap<QString, ValdKlass> k{{u"LGA"_s, f.huvudklass(u"LGA"_s, {u"LG1"_s, u"LG2"_s})},
                                         {u"LGB"_s, f.huvudklass(u"LGB"_s, {u"LG3"_s})},
                                         {u"LG1"_s, f.klass(u"LG1"_s)}};
        QFETCH(QString, klass);
        QFETCH(int, omg);
        QTEST(f.lista(k[klass], omg ? std::optional(omg) : std::nullopt), "lista");
    }

    // In a mixed competition a main class takes every member whatever the
    // member's own kind, and ranks them by its own.
    void mixadHuvudklass() {
        Miljo f(Typ::Mix);
        f.skytt(u"Sport"_s, u"H"_s, 390, 0, 580);
        f.skytt(u"Nat"_s, u"LG1"_s, 395, 0, 395);
        f.skytt(u"Utanför"_s, u"D"_s, 400, 0, 600);
        const ValdKlass h = f.huvudklass(u"HX"_s, {u"H"_s, u"LG1"_s});
        QCOMPARE(h.klass.sportNat, u"Sport"_s);
        QCOMPARE(f.lista(h), (QStringList{u"1 Sport"_s, u"2 Nat"_s}));
        QVERIFY(f.slag(h) == Klassslag::Sport60);
    }

    // A main class named like an ordinary class lists its members, the ordinary
    // class its own shooters.
    void huvudklassMedVanligtNamn() {
        Miljo f;
        f.skytt(u"Ett"_s, u"LG1"_s, 390);
        f.skytt(u"Två"_s, u"LG2"_s, 380);
        f.skytt(u"Tre"_s, u"LG3"_s, 370);
        const ValdKlass h = f.huvudklass(u"LG1"_s, {u"LG2"_s, u"LG3"_s});
        QCOMPARE(f.lista(h), (QStringList{u"1 Två"_s, u"2 Tre"_s}));
        QCOMPARE(f.lista(f.klass(u"LG1"_s)), (QStringList{u"1 Ett"_s}));
    }

    // The placeholder is never listed, even when it carries a class's code.
    void platshallare() {
        Miljo f;
        f.skytt(u"Alm"_s, u"LG1"_s, 390);
        f.db().kor(u"UPDATE Skyttar SET Klass = ?, Efternamn = ?, Totalt40 = ? WHERE Löpnummer = ?"_s,
                   {u"LG1"_s, u"Platshållare"_s, 400, PlatshallareLopnummer});
        QCOMPARE(f.lista(f.klass(u"LG1"_s)), (QStringList{u"1 Alm"_s}));
        QCOMPARE(f.lista(f.huvudklass(u"LGA"_s, {u"LG1"_s})), (QStringList{u"1 Alm"_s}));
    }

    // A second run gives the same list and writes nothing.
    void tvaKorningar() {
        Miljo f;
        for (const QString& namn : {u"Ek"_s, u"Alm"_s, u"ek"_s, u"Berg"_s})
            f.skytt(namn, u"LG2"_s, 390, 1);
        const ValdKlass h = f.huvudklass(u"LGA"_s, {u"LG1"_s, u"LG2"_s});
        const QStringList forsta = f.lista(h, 1);
        QCOMPARE(forsta, (QStringList{u"1 Alm"_s, u"1 Berg"_s, u"1 Ek"_s, u"1 ek"_s}));
        QCOMPARE(f.lista(h, 1), forsta);
        QCOMPARE(
            f.db()
                .varde(u"SELECT (SELECT count(*) FROM TempSkyttar) + (SELECT count(*) FROM TempKlasser)"_s)
                .toInt(),
            0);
    }
};

QTEST_MAIN(TestResultaturval)
#include "test_resultaturval.moc"
