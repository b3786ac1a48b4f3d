#include "competition/Klasser.h"
#include "lists/Klassval.h"
#include "support/Testfixtur.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Klass klass(const QString& kod, const QString& namn, qint64 raknare) {
    Klass k;
    k.kod = kod;
    k.namn = namn;
    k.raknare = raknare;
    return k;
}

ValdKlass vanlig(const QString& kod, qint64 raknare) {
    return {klass(kod, kod + u" namn"_s, raknare), false};
}

QStringList koder(const QList<ValdKlass>& klasser) {
    QStringList k;
    for (const ValdKlass& v : klasser)
        k << v.klass.kod + (v.huvudklass ? u"*"_s : QString());
    return k;
}

// Steps as the dialog takes them: A "Alla klasser", V "Valda", xN Enter or the
// left button on row N (x- with no row selected), r any other key or button.
void tag(Klassval& val, const QString& steg) {
    for (const QString& s : steg.split(u' ', Qt::SkipEmptyParts)) {
        if (s == u"A"_s)
            val.valjAlla();
        else if (s == u"V"_s)
            val.valjValda();
        else if (s == u"r"_s)
            val.rakna();
        else if (s == u"x-"_s)
            val.vaxla(-1);
        else
            val.vaxla(s.mid(1).toInt());
    }
}

} // namespace

// The class-choice dialog's choice without the dialog: which classes are
// offered, which go into the list, when the list can be made, and the round.
class TestKlassval : public QObject {
    Q_OBJECT
private slots:
    // The classes in no main class in Räknare order, then the main classes in
    // table order; each carries its own record, also a main class that bears
    // the code of an ordinary class. Nothing is written to the database.
    void klassernaLasesIRutnatsordning() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Mix);
        Klasser k(f.g, f.m);
        QCOMPARE(k.nyHuvudklass({u"LG1"_s, u"Luftgevär 1 och 2"_s, u"40"_s, u"Nat"_s}), Klasser::Utfall::Ok);
        QCOMPARE(k.nyHuvudklass({u"DH"_s, u"Damer och herrar"_s, u"60"_s, u"Sport"_s}), Klasser::Utfall::Ok);
        const QList<Klass> huvud = k.huvudklasser();
        const auto raknare = [&](const QString& kod) {
            for (const Klass& c : k.lista())
                if (c.kod == kod)
                    return c.raknare;
            return qint64(0);
        };
        QCOMPARE(k.slaSamman(raknare(u"LG2"_s), huvud[0].raknare), Klasser::Utfall::Ok);
        QCOMPARE(k.slaSamman(raknare(u"H"_s), huvud[1].raknare), Klasser::Utfall::Ok);

        const Klassval val(f.g, f.m);
        QCOMPARE(koder(val.klasser()),
                 (QStringList{u"D"_s, u"JH"_s, u"LG1"_s, u"LGU"_s, u"LG1*"_s, u"DH*"_s}));
        const ValdKlass& vanligLG1 = val.klasser()[2];
        const ValdKlass& huvudLG1 = val.klasser()[4];
        QCOMPARE(vanligLG1.klass.raknare, raknare(u"LG1"_s));
        QCOMPARE(vanligLG1.klass.namn, u"Luftgevär klass 1"_s);
        QCOMPARE(vanligLG1.klass.sportNat, u"Nat"_s);
        QCOMPARE(huvudLG1.klass.raknare, huvud[0].raknare);
        QCOMPARE(huvudLG1.klass.namn, u"Luftgevär 1 och 2"_s);
        QCOMPARE(val.klasser()[5].klass.sportNat, u"Sport"_s);
        QCOMPARE(val.klasser()[5].klass.antalSkott, 60);
        QCOMPARE(f.g.cnnTavling.varde(u"SELECT COUNT(*) FROM TempKlasser"_s).toInt(), 0);
    }

    // Marks, the two options and the show button, step by step.
    void markeringOchVisaknapp_data() {
        QTest::addColumn<int>("rader");
        QTest::addColumn<QString>("steg");
        QTest::addColumn<QStringList>("valda");
        QTest::addColumn<bool>("kanVisas");
        const QStringList alla{u"A1"_s, u"B2"_s, u"C3"_s};
        QTest::newRow("start: alla klasser") << 3 << u""_s << alla << true;
        QTest::newRow("valda utan kryss") << 3 << u"V"_s << QStringList{} << false;
        QTest::newRow("kryss väljer Valda") << 3 << u"x1"_s << QStringList{u"B2"_s} << true;
        QTest::newRow("kryss bort igen") << 3 << u"x1 x1"_s << QStringList{} << false;
        QTest::newRow("valda i rutnätets ordning")
            << 3 << u"x2 x0"_s << QStringList{u"A1"_s, u"C3"_s} << true;
        QTest::newRow("ingen rad vald") << 3 << u"x-"_s << alla << true;
        QTest::newRow("kryssen står kvar under Alla") << 3 << u"x2 A"_s << alla << true;
        QTest::newRow("och gäller åter under Valda") << 3 << u"x2 A V"_s << QStringList{u"C3"_s} << true;
        QTest::newRow("annan tangent under Alla") << 3 << u"V A r"_s << alla << true;
        QTest::newRow("tomt rutnät, Alla") << 0 << u""_s << QStringList{} << true;
        QTest::newRow("tomt rutnät, annan tangent") << 0 << u"r"_s << QStringList{} << false;
        QTest::newRow("tomt rutnät, Alla igen") << 0 << u"r A"_s << QStringList{} << true;
    }
    void markeringOchVisaknapp() {
        QFETCH(int, rader);
        QFETCH(QString, steg);
        QFETCH(QStringList, valda);
        QFETCH(bool, kanVisas);
        QList<ValdKlass> klasser;
        for (int i = 0; i < rader; ++i)
            klasser << vanlig(QString(QChar(u'A' + i)) + QString::number(i + 1), i + 1);
        Klassval val(klasser, std::nullopt);
        tag(val, steg);
        QCOMPARE(koder(val.valda()), valda);
        QCOMPARE(val.kanVisas(), kanVisas);
    }

    // A main class chosen beside an ordinary class of the same code goes into
    // the run as itself.
    void huvudklassMedVanligKlassKod() {
        QList<ValdKlass> klasser{vanlig(u"H"_s, 4), {klass(u"H"_s, u"Alla"_s, 4), true}};
        Klassval val(klasser, std::nullopt);
        val.vaxla(1);
        QCOMPARE(val.valda().size(), 1);
        QVERIFY(val.valda()[0].huvudklass);
        QCOMPARE(val.valda()[0].klass.namn, u"Alla"_s);
    }

    // The rounds in Omg order, the first chosen from the start; a competition
    // that uses rounds and has none can make no list.
    void omgangar_data() {
        QTest::addColumn<bool>("anvands");
        QTest::addColumn<QStringList>("inskrivna"); // "Omg=Beskrivning", in the order entered
        QTest::addColumn<int>("val");
        QTest::addColumn<QStringList>("lista");
        QTest::addColumn<int>("omg"); // 0: none
        QTest::addColumn<bool>("saknas");
        QTest::newRow("inga omgångar")
            << false << QStringList{u"1=Lördag"_s} << 0 << QStringList{} << 0 << false;
        QTest::newRow("första") << true << QStringList{u"3=Söndag"_s, u"1=Lördag"_s} << -1
                                << QStringList{u"Lördag"_s, u"Söndag"_s} << 1 << false;
        QTest::newRow("andra") << true << QStringList{u"3=Söndag"_s, u"1=Lördag"_s} << 1
                               << QStringList{u"Lördag"_s, u"Söndag"_s} << 3 << false;
        QTest::newRow("utanför listan")
            << true << QStringList{u"1=Lördag"_s} << 4 << QStringList{u"Lördag"_s} << 1 << false;
        QTest::newRow("ingen inskriven") << true << QStringList{} << 0 << QStringList{} << 0 << true;
    }
    void omgangar() {
        QFETCH(bool, anvands);
        QFETCH(QStringList, inskrivna);
        QFETCH(int, val);
        QFETCH(QStringList, lista);
        QFETCH(int, omg);
        QFETCH(bool, saknas);
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        f.g.blnFleraTavlingar = anvands;
        f.g.cnnTavling.kor(u"DELETE FROM [Tävlings omg]"_s);
        for (const QString& o : inskrivna)
            f.g.cnnTavling.kor(u"INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (?, ?)"_s,
                               {o.section(u'=', 0, 0).toInt(), o.section(u'=', 1)});
        Klassval k(f.g, f.m);
        k.valjOmgang(val);
        QStringList beskrivningar;
        for (const Omgangar::Omgang& o : k.omgangar())
            beskrivningar << o.beskrivning;
        QCOMPARE(beskrivningar, lista);
        QCOMPARE(k.valdOmgang() ? k.valdOmgang()->omg : 0, omg);
        QCOMPARE(k.omgangSaknas(), saknas);
        QCOMPARE(k.omgangarAnvands(), anvands);
    }
};

QTEST_MAIN(TestKlassval)
#include "test_klassval.moc"
