#include "competition/Omgangar.h"
#include "support/Testfixtur.h"

#include <QSqlQuery>
#include <QTest>

namespace {
// A competition that uses rounds, with these rounds numbered from 1.
Databas& medOmgangar(Testfixtur& f, const QStringList& beskrivningar, int skyttar = 0) {
    f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Nationellt, 10, 1, skyttar);
    f.g.blnFleraTavlingar = true;
    Databas& db = f.g.cnnTavling;
    db.kor(QStringLiteral("DELETE FROM [Tävlings omg]"));
    for (int i = 0; i < beskrivningar.size(); ++i)
        db.kor(QStringLiteral("INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (?, ?)"),
               {i + 1, beskrivningar[i]});
    return db;
}

QStringList tabell(const Databas& db) {
    QStringList rader;
    QSqlQuery q = db.kor(QStringLiteral("SELECT Omg, Beskrivning FROM [Tävlings omg] ORDER BY Omg"));
    while (q.next())
        rader << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
    return rader;
}

const QString Noll = QStringLiteral("Du får inte ha 0 som tävlingsomgång!");
const QString Heltal = QStringLiteral("Tävlingsomgången måste vara ett heltal från 1 till 32767!");
const QString Dublett =
    QStringLiteral("Du får inte skriva in en Omgång/Beskrivning som redan finns!\r\nSkriv in en ny.");
} // namespace

// The rules of adding, changing and deleting the competition's rounds.
class TestOmgangar : public QObject {
    Q_OBJECT
private slots:
    // A new round next to round 1 "Lördag" and round 3 "O'Brien cup": a whole
    // number up to the largest the field has always held, no number or
    // description repeated (letter case ignored); or what it is told.
    void nyOmgang_data() {
        QTest::addColumn<QString>("omg");
        QTest::addColumn<QString>("beskrivning");
        QTest::addColumn<QString>("text"); // the refusal, or the row written
        QTest::addColumn<QString>("titel");
        const QString fel = QStringLiteral("Fel omgång.");
        const QString dubblett = QStringLiteral("Dubblett av omgången.");
        const auto rad = [](const char* omg, const char* beskrivning, const QString& text,
                            const QString& titel) {
            QTest::newRow(omg) << QString::fromUtf8(omg) << QString::fromUtf8(beskrivning) << text << titel;
        };
        rad("+2", "Söndag", QStringLiteral("2=Söndag"), {});
        rad(" 007 ", " Tisdag ", QStringLiteral("7=Tisdag"), {});
        rad("32767", "Sist", QStringLiteral("32767=Sist"), {});
        for (const char* noll : {"0", "00", " 0", "-3"})
            rad(noll, "Ny", Noll, fel);
        for (const char* inte : {"två", "1,5", "32768", "99999999999", "٣"})
            rad(inte, "Ny", Heltal, fel);
        rad("3", "Ny", Dublett, dubblett);
        rad("4", "LÖRDAG", Dublett, dubblett);
        rad("4", "o'brien CUP", Dublett, dubblett);
        rad("4", "  ", QStringLiteral("Du måste fylla i alla fälten!"), QStringLiteral("Tomma fält"));
    }
    void nyOmgang() {
        QFETCH(QString, omg);
        QFETCH(QString, beskrivning);
        QFETCH(QString, text);
        Testfixtur f;
        Databas& db = medOmgangar(f, {QStringLiteral("Lördag")});
        QVERIFY(!Omgangar::laggTill(db, QStringLiteral(" 3 "), QStringLiteral(" O'Brien cup ")));
        const QStringList forut{QStringLiteral("1=Lördag"), QStringLiteral("3=O'Brien cup")};
        QCOMPARE(tabell(db), forut);
        const std::optional<Omgangar::Vagran> v = Omgangar::laggTill(db, omg, beskrivning);
        if (!text.contains(u'!')) {
            QVERIFY2(!v, qPrintable(v ? v->text : QString()));
            QCOMPARE(tabell(db).size(), 3);
            QVERIFY(tabell(db).contains(text));
            return;
        }
        QVERIFY(v);
        QCOMPARE(v->text, text);
        QTEST(v->titel, "titel");
        QCOMPARE(tabell(db), forut);
    }

    // A changed description is not compared with the others; a round that is
    // gone is told.
    void andradBeskrivning() {
        Testfixtur f;
        Databas& db = medOmgangar(f, {QStringLiteral("Lördag"), QStringLiteral("Söndag")});
        QVERIFY(!Omgangar::andraBeskrivning(db, 2, QStringLiteral(" lördag ")));
        QVERIFY(Omgangar::andraBeskrivning(db, 7, QStringLiteral("Finns inte")));
        QCOMPARE(tabell(db), (QStringList{QStringLiteral("1=Lördag"), QStringLiteral("2=lördag")}));
    }

    void borttagVagras() {
        Testfixtur f;
        Databas& db = medOmgangar(f, {QStringLiteral("Lördag")}, 6);
        const std::optional<Omgangar::Vagran> sista = Omgangar::taBort(db, 1);
        QVERIFY(sista);
        QCOMPARE(sista->text, QStringLiteral("Det måste finnas minst en tävling inskriven!"));
        QCOMPARE(sista->titel, QStringLiteral("Radering ej tillåten"));

        Omgangar::laggTill(db, QStringLiteral("2"), QStringLiteral("Söndag"));
        Omgangar::laggTill(db, QStringLiteral("3"), QStringLiteral("Måndag"));
        db.kor(QStringLiteral("UPDATE Skyttar SET Omg = 2 WHERE Startnr BETWEEN 1 AND 4"));
        const std::optional<Omgangar::Vagran> skyttar = Omgangar::taBort(db, 2);
        QVERIFY(skyttar);
        QCOMPARE(skyttar->text, QStringLiteral("Det finns 4st skyttar inskriven på denna omgång!\r\n"
                                               "Du kan inte radera omgången då!"));
        QCOMPARE(skyttar->titel, QStringLiteral("Fel vid radering"));
        QVERIFY(!Omgangar::taBort(db, 3));
        QCOMPARE(tabell(db), (QStringList{QStringLiteral("1=Lördag"), QStringLiteral("2=Söndag")}));
    }
};

QTEST_MAIN(TestOmgangar)
#include "test_omgangar.moc"
