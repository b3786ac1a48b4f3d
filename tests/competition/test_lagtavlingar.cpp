#include "competition/Lagtavlingar.h"
#include "support/Testfixtur.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace Lagtavlingar;
using Typ = NyTavling::Typ;
using Ikon = Meddelanden::Ikon;

namespace {

// A competition whose only team competition is the one creation makes ("Cup").
struct Miljo {
    Testfixtur f;
    explicit Miljo(Typ typ = Typ::Nationellt) { f.skapaTavling(u"Cup"_s, typ, 10, 1, 3); }
    Databas& db() { return f.g.cnnTavling; }
    qint64 cup() { return db().varde(u"SELECT Lagtävling FROM Lagtävling"_s).toLongLong(); }
    qint64 ny(const QString& namn, int omg = 0) {
        db().kor(u"INSERT INTO Lagtävling (Lagtävlingsnamn, [Antal skyttar], [Antal skott], Omg, "
                 "[Sport/Nat]) VALUES (?, 3, 40, ?, 'Nat')"_s,
                 {namn, omg});
        return db().varde(u"SELECT last_insert_rowid()"_s).toLongLong();
    }
    void lag(qint64 lagtavling, const QString& namn = u"Laget"_s) {
        db().kor(u"INSERT INTO Lag (Lagnamn, Lagtävling) VALUES (?, ?)"_s, {namn, lagtavling});
    }
    void omgang(int omg, const QString& beskrivning) {
        f.g.blnFleraTavlingar = true;
        db().kor(u"INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (?, ?)"_s, {omg, beskrivning});
    }
    Lagtavling las(qint64 nyckel) { return *hamta(db(), nyckel); }
    int antal() { return db().varde(u"SELECT COUNT(*) FROM Lagtävling"_s).toInt(); }
};

} // namespace

class TestLagtavlingar : public QObject {
    Q_OBJECT
private slots:
    void nyFarSlagetsStandardvarden_data() {
        QTest::addColumn<int>("typ");
        QTest::addColumn<bool>("rundor");
        QTest::addColumn<int>("skott");
        QTest::addColumn<int>("omg");
        QTest::addColumn<QString>("sportNat");
        QTest::newRow("nationell") << int(Typ::Nationellt) << false << 40 << 0 << "Nat";
        QTest::newRow("sport") << int(Typ::Sportskytte) << false << 60 << 0 << "Sport";
        QTest::newRow("mix") << int(Typ::Mix) << false << 60 << 0 << "Sport";
        // The first round is the lowest number, not the first one made.
        QTest::newRow("nationell med omgångar") << int(Typ::Nationellt) << true << 40 << 2 << "Nat";
    }
    void nyFarSlagetsStandardvarden() {
        QFETCH(int, typ);
        QFETCH(bool, rundor);
        Miljo mj(static_cast<Typ>(typ));
        if (rundor) {
            mj.omgang(7, u"Final"_s);
            mj.omgang(2, u"Kval"_s);
        }
        mj.f.m.skriv(u"  Lag O'Brien  "_s);
        const Ny ny = NyLagtavling(mj.f.g, mj.f.m);
        QVERIFY(ny.nyckel);
        QCOMPARE(mj.f.m.fragor, QStringList{u"Vad ska den nya lagtävlingen heta?"_s});
        const Lagtavling l = mj.las(*ny.nyckel);
        QCOMPARE(l.namn, u"Lag O'Brien"_s);
        QCOMPARE(l.antalSkyttar, 3);
        QFETCH(int, skott);
        QCOMPARE(l.antalSkott, skott);
        QFETCH(int, omg);
        QCOMPARE(l.omg, omg);
        QFETCH(QString, sportNat);
        QCOMPARE(l.sportNat, sportNat);
        QCOMPARE(lista(mj.db()).last().nyckel, *ny.nyckel);

        // Cancel or blanks make nothing and say nothing.
        mj.f.m.tom();
        mj.f.m.skriv(std::nullopt);
        mj.f.m.skriv(u"   "_s);
        QVERIFY(!NyLagtavling(mj.f.g, mj.f.m).nyckel);
        QVERIFY(!NyLagtavling(mj.f.g, mj.f.m).nyckel);
        QCOMPARE(mj.antal(), 2);
        QVERIFY(mj.f.m.visade.isEmpty());
    }

    void namnIAnnanBokstavsformNekas() {
        Miljo mj;
        const qint64 annan = mj.ny(u"Öst"_s);
        const QString finns = u"Lagtävlingen finns redan, du måste välja ett nytt namn!"_s;

        mj.f.m.skriv(u"cUP"_s);
        const Ny ny = NyLagtavling(mj.f.g, mj.f.m);
        QVERIFY(!ny.nyckel);
        QVERIFY(ny.namnUpptaget);
        QCOMPARE(mj.f.m.senasteText(), finns);
        QCOMPARE(mj.f.m.visade.last().titel, u"Fel"_s);
        QCOMPARE(mj.f.m.visade.last().ikon, Ikon::Kritisk);
        QCOMPARE(mj.antal(), 2);

        mj.f.m.tom();
        QCOMPARE(sparaNamn(mj.db(), &mj.f.m, annan, u"CUP "_s), Utfall::Nekad);
        QCOMPARE(mj.f.m.senasteText(), finns);
        QCOMPARE(mj.las(annan).namn, u"Öst"_s);
        // Swedish letters ignore case too.
        QCOMPARE(sparaNamn(mj.db(), nullptr, mj.cup(), u"öST"_s), Utfall::Nekad);

        // A team competition may change the case of its own name.
        QCOMPARE(sparaNamn(mj.db(), &mj.f.m, annan, u" ÖST "_s), Utfall::Sparad);
        QCOMPARE(mj.las(annan).namn, u"ÖST"_s);
        mj.f.m.tom();
        QCOMPARE(sparaNamn(mj.db(), &mj.f.m, annan, u"  "_s), Utfall::Nekad);
        QCOMPARE(mj.f.m.senasteText(), u"Du måste ange ett namn på lagtävlingen!"_s);
        QCOMPARE(mj.las(annan).namn, u"ÖST"_s);
    }

    // The counts as the boxes give them: at least one shooter, from 10 to 60
    // shots; a refused count is told and the stored one stays.
    void antal_data() {
        QTest::addColumn<bool>("skyttar"); // else the shots
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("sparat");
        QTest::addColumn<QString>("meddelande");
        QTest::addColumn<QString>("titel");
        const QString utanfor = u"Du får bara välja antal mellan 10 och 60 skott!"_s;
        const QString ingaSkyttar = u"Du måste ange antalet skyttar!"_s;
        QTest::newRow("0 skyttar") << true << "0" << 3 << ingaSkyttar << "Fel";
        QTest::newRow("inga skyttar") << true << "" << 3 << ingaSkyttar << "Fel";
        QTest::newRow("x skyttar") << true << "x" << 3 << ingaSkyttar << "Fel";
        QTest::newRow("1 skytt") << true << " 1 " << 1 << QString() << QString();
        QTest::newRow("9 skott") << false << "9" << 40 << utanfor << "Fel antal";
        QTest::newRow("61 skott") << false << "61" << 40 << utanfor << "Fel antal";
        QTest::newRow("inga skott") << false << " " << 40 << "Du måste ange antalet skott!"
                                    << "Fel";
        QTest::newRow("10 skott") << false << "10" << 10 << QString() << QString();
        QTest::newRow("60 skott") << false << "60" << 60 << QString() << QString();
    }
    void antal() {
        QFETCH(bool, skyttar);
        QFETCH(QString, text);
        QFETCH(QString, meddelande);
        Miljo mj;
        const qint64 cup = mj.cup();
        const Utfall u = skyttar ? sparaAntalSkyttar(mj.db(), &mj.f.m, cup, text)
                                 : sparaAntalSkott(mj.db(), &mj.f.m, cup, text);
        QCOMPARE(u, meddelande.isEmpty() ? Utfall::Sparad : Utfall::Nekad);
        QTEST(skyttar ? mj.las(cup).antalSkyttar : mj.las(cup).antalSkott, "sparat");
        QCOMPARE(mj.f.m.senasteText(), meddelande);
        if (!meddelande.isEmpty())
            QTEST(mj.f.m.visade.last().titel, "titel");
    }

    void medLagKanInteAndrasEllerRaderas() {
        Miljo mj;
        const qint64 cup = mj.cup();
        const qint64 tom = mj.ny(u"Utan lag"_s);
        mj.lag(cup);
        QVERIFY(LagtavlingAnvands(mj.db(), cup));
        QVERIFY(!LagtavlingAnvands(mj.db(), tom));

        QCOMPARE(sparaAntalSkott(mj.db(), &mj.f.m, cup, u"20"_s), Utfall::HarLag);
        QCOMPARE(sparaNamn(mj.db(), &mj.f.m, cup, u"Nytt"_s), Utfall::HarLag);
        QCOMPARE(sparaOmg(mj.db(), cup, 0), Utfall::HarLag);
        QCOMPARE(mj.las(cup).antalSkott, 40);
        QCOMPARE(mj.las(cup).namn, u"Cup"_s);

        mj.f.m.svara(Meddelanden::Svar::Ja);
        QVERIFY(!taBort(mj.db(), mj.f.m, cup));
        QCOMPARE(mj.f.m.visade.first().text, u"Är du säker på att du vill radera lagtävlingen: Cup"_s);
        QCOMPARE(mj.f.m.senasteText(), u"Du kan inte radera en lagtävling när det finns lag i den!"_s);
        QVERIFY(hamta(mj.db(), cup));

        QVERIFY(!taBort(mj.db(), mj.f.m, tom)); // No
        QVERIFY(hamta(mj.db(), tom));
        mj.f.m.svara(Meddelanden::Svar::Ja);
        QVERIFY(taBort(mj.db(), mj.f.m, tom));
        QVERIFY(!hamta(mj.db(), tom));
    }

    void omgangValjsPaNyckel() {
        Miljo mj;
        // Two rounds with the same description: only the key tells them apart.
        mj.omgang(1, u"Vår"_s);
        mj.omgang(2, u"Vår"_s);
        const qint64 cup = mj.cup();
        QCOMPARE(sparaOmg(mj.db(), cup, 2), Utfall::Sparad);
        QCOMPARE(mj.las(cup).omg, 2);
        // A round that is gone is no round, never another round's number.
        mj.db().kor(u"DELETE FROM [Tävlings omg] WHERE Omg = 2"_s);
        QCOMPARE(sparaOmg(mj.db(), cup, 2), Utfall::Sparad);
        QCOMPARE(mj.las(cup).omg, 0);
        sparaSportNat(mj.db(), cup, QString());
        QCOMPARE(mj.las(cup).sportNat, u"Sport"_s);
    }

    void utanOmgangNekasNyOchVisa() {
        Miljo mj;
        mj.f.g.blnFleraTavlingar = true;
        mj.f.m.skriv(u"Lag 2"_s);
        QVERIFY(!NyLagtavling(mj.f.g, mj.f.m).nyckel);
        QCOMPARE(mj.f.m.senasteText(), u"Du måste skapa minst en tävling innan du får skapa något lag!"_s);
        QVERIFY(mj.f.m.fragor.isEmpty());
        QVERIFY(!kanVisa(mj.f.g, mj.f.m));
        QCOMPARE(mj.f.m.senasteText(), u"Du måste skapa minst en tävling innan du får visa något lag!"_s);
        QCOMPARE(mj.antal(), 1);
    }

    void finnsLagKraverEnLagtavling() {
        Miljo mj;
        QVERIFY(FinnsLag(mj.db(), mj.f.m));
        QVERIFY(mj.f.m.visade.isEmpty());
        mj.db().kor(u"DELETE FROM Lagtävling"_s);
        QVERIFY(!FinnsLag(mj.db(), mj.f.m));
        QCOMPARE(mj.f.m.senasteText(), u"Du måste ha minst en lagtävling\rnär du har kryssat i att det "
                                       "ska finnas lagtävlingar!"_s);
        QCOMPARE(mj.f.m.visade.last().titel, u"Fel"_s);
        QCOMPARE(mj.f.m.visade.last().ikon, Ikon::Kritisk);
    }
};

QTEST_MAIN(TestLagtavlingar)
#include "test_lagtavlingar.moc"
