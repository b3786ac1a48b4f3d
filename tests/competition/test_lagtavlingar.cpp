#include "competition/Lagtavlingar.h"
#include "support/Testfixtur.h"

#include <QTest>

using namespace Lagtavlingar;
using Typ = NyTavling::Typ;
using Ikon = Meddelanden::Ikon;

namespace {

// A competition whose only team competition is the one creation makes ("Cup").
struct Miljo {
    Testfixtur f;
    explicit Miljo(Typ typ = Typ::Nationellt) { f.skapaTavling(QStringLiteral("Cup"), typ, 10, 1, 3); }
    Databas& db() { return f.g.cnnTavling; }
    qint64 cup() { return db().varde(QStringLiteral("SELECT Lagtävling FROM Lagtävling")).toLongLong(); }
    qint64 ny(const QString& namn, int omg = 0) {
        db().kor(
            QStringLiteral("INSERT INTO Lagtävling (Lagtävlingsnamn, [Antal skyttar], [Antal skott], Omg, "
                           "[Sport/Nat]) VALUES (?, 3, 40, ?, 'Nat')"),
            {namn, omg});
        return db().varde(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    }
    void lag(qint64 lagtavling, const QString& namn = QStringLiteral("Laget")) {
        db().kor(QStringLiteral("INSERT INTO Lag (Lagnamn, Lagtävling) VALUES (?, ?)"), {namn, lagtavling});
    }
    void omgang(int omg, const QString& beskrivning) {
        f.g.blnFleraTavlingar = true;
        db().kor(QStringLiteral("INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (?, ?)"),
                 {omg, beskrivning});
    }
    Lagtavling las(qint64 nyckel) { return *hamta(db(), nyckel); }
    int antal() { return db().varde(QStringLiteral("SELECT COUNT(*) FROM Lagtävling")).toInt(); }
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
            mj.omgang(7, QStringLiteral("Final"));
            mj.omgang(2, QStringLiteral("Kval"));
        }
        mj.f.m.skriv(QStringLiteral("  Lag O'Brien  "));
        const Ny ny = NyLagtavling(mj.f.g, mj.f.m);
        QVERIFY(ny.nyckel);
        QCOMPARE(mj.f.m.fragor, QStringList{QStringLiteral("Vad ska den nya lagtävlingen heta?")});
        const Lagtavling l = mj.las(*ny.nyckel);
        QCOMPARE(l.namn, QStringLiteral("Lag O'Brien"));
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
        mj.f.m.skriv(QStringLiteral("   "));
        QVERIFY(!NyLagtavling(mj.f.g, mj.f.m).nyckel);
        QVERIFY(!NyLagtavling(mj.f.g, mj.f.m).nyckel);
        QCOMPARE(mj.antal(), 2);
        QVERIFY(mj.f.m.visade.isEmpty());
    }

    void namnIAnnanBokstavsformNekas() {
        Miljo mj;
        const qint64 annan = mj.ny(QStringLiteral("Öst"));
        const QString finns = QStringLiteral("Lagtävlingen finns redan, du måste välja ett nytt namn!");

        mj.f.m.skriv(QStringLiteral("cUP"));
        const Ny ny = NyLagtavling(mj.f.g, mj.f.m);
        QVERIFY(!ny.nyckel);
        QVERIFY(ny.namnUpptaget);
        QCOMPARE(mj.f.m.senasteText(), finns);
        QCOMPARE(mj.f.m.visade.last().titel, QStringLiteral("Fel"));
        QCOMPARE(mj.f.m.visade.last().ikon, Ikon::Kritisk);
        QCOMPARE(mj.antal(), 2);

        mj.f.m.tom();
        QCOMPARE(sparaNamn(mj.db(), &mj.f.m, annan, QStringLiteral("CUP ")), Utfall::Nekad);
        QCOMPARE(mj.f.m.senasteText(), finns);
        QCOMPARE(mj.las(annan).namn, QStringLiteral("Öst"));
        // Swedish letters ignore case too.
        QCOMPARE(sparaNamn(mj.db(), nullptr, mj.cup(), QStringLiteral("öST")), Utfall::Nekad);

        // A team competition may change the case of its own name.
        QCOMPARE(sparaNamn(mj.db(), &mj.f.m, annan, QStringLiteral(" ÖST ")), Utfall::Sparad);
        QCOMPARE(mj.las(annan).namn, QStringLiteral("ÖST"));
        mj.f.m.tom();
        QCOMPARE(sparaNamn(mj.db(), &mj.f.m, annan, QStringLiteral("  ")), Utfall::Nekad);
        QCOMPARE(mj.f.m.senasteText(), QStringLiteral("Du måste ange ett namn på lagtävlingen!"));
        QCOMPARE(mj.las(annan).namn, QStringLiteral("ÖST"));
    }

    // The counts as the boxes give them: at least one shooter, from 10 to 60
    // shots; a refused count is told and the stored one stays.
    void antal_data() {
        QTest::addColumn<bool>("skyttar"); // else the shots
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("sparat");
        QTest::addColumn<QString>("meddelande");
        QTest::addColumn<QString>("titel");
        const QString utanfor = QStringLiteral("Du får bara välja antal mellan 10 och 60 skott!");
        const QString ingaSkyttar = QStringLiteral("Du måste ange antalet skyttar!");
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
        const qint64 tom = mj.ny(QStringLiteral("Utan lag"));
        mj.lag(cup);
        QVERIFY(LagtavlingAnvands(mj.db(), cup));
        QVERIFY(!LagtavlingAnvands(mj.db(), tom));

        QCOMPARE(sparaAntalSkott(mj.db(), &mj.f.m, cup, QStringLiteral("20")), Utfall::HarLag);
        QCOMPARE(sparaNamn(mj.db(), &mj.f.m, cup, QStringLiteral("Nytt")), Utfall::HarLag);
        QCOMPARE(sparaOmg(mj.db(), cup, 0), Utfall::HarLag);
        QCOMPARE(mj.las(cup).antalSkott, 40);
        QCOMPARE(mj.las(cup).namn, QStringLiteral("Cup"));

        mj.f.m.svara(Meddelanden::Svar::Ja);
        QVERIFY(!taBort(mj.db(), mj.f.m, cup));
        QCOMPARE(mj.f.m.visade.first().text,
                 QStringLiteral("Är du säker på att du vill radera lagtävlingen: Cup"));
        QCOMPARE(mj.f.m.senasteText(),
                 QStringLiteral("Du kan inte radera en lagtävling när det finns lag i den!"));
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
        mj.omgang(1, QStringLiteral("Vår"));
        mj.omgang(2, QStringLiteral("Vår"));
        const qint64 cup = mj.cup();
        QCOMPARE(sparaOmg(mj.db(), cup, 2), Utfall::Sparad);
        QCOMPARE(mj.las(cup).omg, 2);
        // A round that is gone is no round, never another round's number.
        mj.db().kor(QStringLiteral("DELETE FROM [Tävlings omg] WHERE Omg = 2"));
        QCOMPARE(sparaOmg(mj.db(), cup, 2), Utfall::Sparad);
        QCOMPARE(mj.las(cup).omg, 0);
        sparaSportNat(mj.db(), cup, QString());
        QCOMPARE(mj.las(cup).sportNat, QStringLiteral("Sport"));
    }

    void utanOmgangNekasNyOchVisa() {
        Miljo mj;
        mj.f.g.blnFleraTavlingar = true;
        mj.f.m.skriv(QStringLiteral("Lag 2"));
        QVERIFY(!NyLagtavling(mj.f.g, mj.f.m).nyckel);
        QCOMPARE(mj.f.m.senasteText(),
                 QStringLiteral("Du måste skapa minst en tävling innan du får skapa något lag!"));
        QVERIFY(mj.f.m.fragor.isEmpty());
        QVERIFY(!kanVisa(mj.f.g, mj.f.m));
        QCOMPARE(mj.f.m.senasteText(),
                 QStringLiteral("Du måste skapa minst en tävling innan du får visa något lag!"));
        QCOMPARE(mj.antal(), 1);
    }

    void finnsLagKraverEnLagtavling() {
        Miljo mj;
        QVERIFY(FinnsLag(mj.db(), mj.f.m));
        QVERIFY(mj.f.m.visade.isEmpty());
        mj.db().kor(QStringLiteral("DELETE FROM Lagtävling"));
        QVERIFY(!FinnsLag(mj.db(), mj.f.m));
        QCOMPARE(mj.f.m.senasteText(),
                 QStringLiteral("Du måste ha minst en lagtävling\rnär du har kryssat i att det "
                                "ska finnas lagtävlingar!"));
        QCOMPARE(mj.f.m.visade.last().titel, QStringLiteral("Fel"));
        QCOMPARE(mj.f.m.visade.last().ikon, Ikon::Kritisk);
    }
};

QTEST_MAIN(TestLagtavlingar)
#include "test_lagtavlingar.moc"
