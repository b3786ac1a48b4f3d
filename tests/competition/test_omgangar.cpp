#include "competition/Omgangar.h"
#include "support/Testfixtur.h"

#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// A competition that uses rounds, with these rounds numbered from 1.
Databas& medOmgangar(Testfixtur& f, const QStringList& beskrivningar, int skyttar = 0) {
    f.skapaTavling(u"Cup"_s, NyTavling::Typ::Nationellt, 10, 1, skyttar);
    f.g.blnFleraTavlingar = true;
    Databas& db = f.g.cnnTavling;
    db.kor(u"DELETE FROM [Tävlings omg]"_s);
    for (int i = 0; i < beskrivningar.size(); ++i)
        db.kor(u"INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (?, ?)"_s, {i + 1, beskrivningar[i]});
    return db;
}

QStringList tabell(const Databas& db) {
    QStringList rader;
    QSqlQuery q = db.kor(u"SELECT Omg, Beskrivning FROM [Tävlings omg] ORDER BY Omg"_s);
    while (q.next())
        rader << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
    return rader;
}

const QString Noll = u"Du får inte ha 0 som tävlingsomgång!"_s;
const QString Heltal = u"Tävlingsomgången måste vara ett heltal från 1 till 32767!"_s;
const QString Dublett = u"Du får inte skriva in en Omgång/Beskrivning som redan finns!\r\nSkriv in en ny."_s;
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
        const QString fel = u"Fel omgång."_s;
        const QString dubblett = u"Dubblett av omgången."_s;
        const auto rad = [](const char* omg, const char* beskrivning, const QString& text,
                            const QString& titel) {
            QTest::newRow(omg) << QString::fromUtf8(omg) << QString::fromUtf8(beskrivning) << text << titel;
        };
        rad("+2", "Söndag", u"2=Söndag"_s, {});
        rad(" 007 ", " Tisdag ", u"7=Tisdag"_s, {});
        rad("32767", "Sist", u"32767=Sist"_s, {});
        for (const char* noll : {"0", "00", " 0", "-3"})
            rad(noll, "Ny", Noll, fel);
        for (const char* inte : {"två", "1,5", "32768", "99999999999", "٣"})
            rad(inte, "Ny", Heltal, fel);
        rad("3", "Ny", Dublett, dubblett);
        rad("4", "LÖRDAG", Dublett, dubblett);
        rad("4", "o'brien CUP", Dublett, dubblett);
        rad("4", "  ", u"Du måste fylla i alla fälten!"_s, u"Tomma fält"_s);
    }
    void nyOmgang() {
        QFETCH(QString, omg);
        QFETCH(QString, beskrivning);
        QFETCH(QString, text);
        Testfixtur f;
        Databas& db = medOmgangar(f, {u"Lördag"_s});
        QVERIFY(!Omgangar::laggTill(db, u" 3 "_s, u" O'Brien cup "_s));
        const QStringList forut{u"1=Lördag"_s, u"3=O'Brien cup"_s};
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
        Databas& db = medOmgangar(f, {u"Lördag"_s, u"Söndag"_s});
        QVERIFY(!Omgangar::andraBeskrivning(db, 2, u" lördag "_s));
        QVERIFY(Omgangar::andraBeskrivning(db, 7, u"Finns inte"_s));
        QCOMPARE(tabell(db), (QStringList{u"1=Lördag"_s, u"2=lördag"_s}));
    }

    void borttagVagras() {
        Testfixtur f;
        Databas& db = medOmgangar(f, {u"Lördag"_s}, 6);
        const std::optional<Omgangar::Vagran> sista = Omgangar::taBort(db, 1);
        QVERIFY(sista);
        QCOMPARE(sista->text, u"Det måste finnas minst en tävling inskriven!"_s);
        QCOMPARE(sista->titel, u"Radering ej tillåten"_s);

        Omgangar::laggTill(db, u"2"_s, u"Söndag"_s);
        Omgangar::laggTill(db, u"3"_s, u"Måndag"_s);
        db.kor(u"UPDATE Skyttar SET Omg = 2 WHERE Startnr BETWEEN 1 AND 4"_s);
        const std::optional<Omgangar::Vagran> skyttar = Omgangar::taBort(db, 2);
        QVERIFY(skyttar);
        QCOMPARE(skyttar->text, u"Det finns 4st skyttar inskriven på denna omgång!\r\n"
                                "Du kan inte radera omgången då!"_s);
        QCOMPARE(skyttar->titel, u"Fel vid radering"_s);
        QVERIFY(!Omgangar::taBort(db, 3));
        QCOMPARE(tabell(db), (QStringList{u"1=Lördag"_s, u"2=Söndag"_s}));
    }
};

QTEST_MAIN(TestOmgangar)
#include "test_omgangar.moc"
