#include "competition/Klassmodell.h"
#include "support/Testfixtur.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Typ = NyTavling::Typ;

Q_DECLARE_METATYPE(Klassslag)

// The one rule of a class's kind, and the one lookup of a class by its code.
class TestKlassmodell : public QObject {
    Q_OBJECT
private slots:
    void slag_data() {
        QTest::addColumn<bool>("mix");
        QTest::addColumn<bool>("nationellt");
        QTest::addColumn<bool>("sport");
        QTest::addColumn<QString>("sportNat");
        QTest::addColumn<int>("skott");
        QTest::addColumn<Klassslag>("slag");
        QTest::newRow("nationell") << false << true << false << u"Sport"_s << 60 << Klassslag::Nationell;
        QTest::newRow("sport 41") << false << false << true << QString() << 41 << Klassslag::Sport60;
        QTest::newRow("sport 40") << false << false << true << QString() << 40 << Klassslag::Sport40;
        QTest::newRow("sport före nationell")
            << false << true << true << QString() << 60 << Klassslag::Sport60;
        QTest::newRow("inget slag") << false << false << false << QString() << 60 << Klassslag::Okand;
        QTest::newRow("mix Nat") << true << false << false << u"Nat"_s << 40 << Klassslag::Nationell;
        QTest::newRow("mix Sport") << true << true << false << u"Sport"_s << 60 << Klassslag::Sport60;
        QTest::newRow("mix okänt") << true << false << true << u"nat"_s << 40 << Klassslag::Okand;
        QTest::newRow("mix utan klass") << true << false << false << QString() << 0 << Klassslag::Okand;
    }
    void slag() {
        QFETCH(bool, mix);
        QFETCH(bool, nationellt);
        QFETCH(bool, sport);
        QFETCH(QString, sportNat);
        QFETCH(int, skott);
        QFETCH(Klassslag, slag);
        QCOMPARE(Klassmodell::slag({mix, nationellt, sport}, sportNat, skott), slag);
    }

    // The table of the competition's kind, read once: a code in any letter
    // case finds the first row of that code; Sport/Nat only where the table has it.
    void register_() {
        for (const Typ typ : {Typ::Mix, Typ::Sportskytte}) {
            Testfixtur f;
            f.skapaTavling(u"Cup"_s, typ, 10, 1, 0);
            f.g.cnnTavling.kor(u"INSERT INTO %1 (Klass, Klassnamn, [Antal skott]) VALUES ('Åk', 'Ett', 40), "
                               "('ÅK', 'Två', 60)"_s.arg(f.g.klasstabell()));
            const Klassmodell::Klassregister r = Klassmodell::Klassregister::las(f.g);
            const Klass* k = r.hitta(u"åK"_s);
            QVERIFY(k);
            QCOMPARE(k->namn, u"Ett"_s);
            QVERIFY(!r.hitta(u"Ak"_s));
            QCOMPARE(r.klasser().size(), Klassmodell::lasKlasser(f.g).size());
        }
    }

    // The codes a shooter's class is chosen from: the competition's own table,
    // in Swedish order with letter case ignored.
    void klasskoder() {
        for (const Typ typ : {Typ::Mix, Typ::Nationellt, Typ::Sportskytte}) {
            Testfixtur f;
            f.skapaTavling(u"Cup"_s, typ, 10, 1, 0);
            f.g.cnnTavling.kor(u"DELETE FROM %1"_s.arg(f.g.klasstabell()));
            f.g.cnnTavling.kor(
                u"INSERT INTO %1 (Klass, Klassnamn, [Antal skott]) VALUES ('Ö1', '', 40), "
                "('b', '', 40), ('Å1', '', 40), ('A', '', 40), ('z', '', 40)"_s.arg(f.g.klasstabell()));
            QCOMPARE(Klassmodell::klasskoder(f.g), (QStringList{u"A"_s, u"b"_s, u"z"_s, u"Å1"_s, u"Ö1"_s}));
        }
    }
};

QTEST_MAIN(TestKlassmodell)
#include "test_klassmodell.moc"
