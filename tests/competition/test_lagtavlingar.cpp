#include "competition/Lagtavlingar.h"
#include "settings/FlikLagtavling.h"
#include "settings/Installningsvarden.h"
#include "support/Testfixtur.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
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

    void antalSkyttarMinstEn() {
        Miljo mj;
        const qint64 cup = mj.cup();
        for (const QString& text : {QStringLiteral("0"), QString(), QStringLiteral("x")}) {
            mj.f.m.tom();
            QCOMPARE(sparaAntalSkyttar(mj.db(), &mj.f.m, cup, text), Utfall::Nekad);
            QCOMPARE(mj.f.m.senasteText(), QStringLiteral("Du måste ange antalet skyttar!"));
            QCOMPARE(mj.las(cup).antalSkyttar, 3);
        }
        QCOMPARE(sparaAntalSkyttar(mj.db(), &mj.f.m, cup, QStringLiteral(" 1 ")), Utfall::Sparad);
        QCOMPARE(mj.las(cup).antalSkyttar, 1);
    }

    void antalSkott_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("sparat");
        QTest::addColumn<QString>("meddelande");
        QTest::addColumn<QString>("titel");
        const QString utanfor = QStringLiteral("Du får bara välja antal mellan 10 och 60 skott!");
        QTest::newRow("9") << "9" << 40 << utanfor << "Fel antal";
        QTest::newRow("61") << "61" << 40 << utanfor << "Fel antal";
        QTest::newRow("tomt") << " " << 40 << "Du måste ange antalet skott!"
                              << "Fel";
        QTest::newRow("10") << "10" << 10 << QString() << QString();
        QTest::newRow("60") << "60" << 60 << QString() << QString();
    }
    void antalSkott() {
        QFETCH(QString, text);
        Miljo mj;
        const qint64 cup = mj.cup();
        sparaAntalSkott(mj.db(), &mj.f.m, cup, text);
        QFETCH(int, sparat);
        QCOMPARE(mj.las(cup).antalSkott, sparat);
        QFETCH(QString, meddelande);
        QCOMPARE(mj.f.m.senasteText(), meddelande);
        if (!meddelande.isEmpty()) {
            QFETCH(QString, titel);
            QCOMPARE(mj.f.m.visade.last().titel, titel);
        }
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

    // --- The tab ---

    void kryssetOppnarOchLaserFliken() {
        Miljo mj;
        FlikLagtavling flik(mj.f.kontext);
        Installningsvarden v;
        flik.visa(v);
        QCOMPARE(flik.lstLagtavlingar->count(), 1);
        QVERIFY(!flik.lstLagtavlingar->isEnabled());
        QVERIFY(!flik.cmdNyTavling->isEnabled());

        flik.chkLagtavling->click();
        QVERIFY(flik.lstLagtavlingar->isEnabled());
        QVERIFY(flik.cmdNyTavling->isEnabled() && flik.cmdTabortTavling->isEnabled());
        QVERIFY(!flik.txtLagtavling->isEnabled());
        flik.lstLagtavlingar->setCurrentRow(0);
        QCOMPARE(flik.visadLagtavling(), mj.cup());
        QCOMPARE(flik.txtAntalSkott->text(), QStringLiteral("40"));
        QVERIFY(flik.txtAntalSkott->isEnabled());

        // Unticking empties and locks everything; an accepted pending value is kept first.
        flik.txtAntalSkyttar->setText(QStringLiteral("4"));
        flik.chkLagtavling->click();
        QCOMPARE(mj.las(mj.cup()).antalSkyttar, 4);
        QVERIFY(flik.txtAntalSkott->text().isEmpty());
        QVERIFY(!flik.lstLagtavlingar->isEnabled() && !flik.txtAntalSkott->isEnabled());
        QCOMPARE(flik.visadLagtavling(), 0);
        Installningsvarden ut;
        flik.hamta(ut);
        QVERIFY(!ut.lagtavling);
        QVERIFY(ut.lagAntalSkott.isEmpty());
    }

    void aktiveringLaserKryssetNarLagFinns() {
        Miljo mj;
        FlikLagtavling flik(mj.f.kontext);
        Installningsvarden v;
        v.lagtavling = true;
        flik.visa(v);
        QVERIFY(flik.chkLagtavling->isEnabled());
        mj.lag(mj.cup());
        flik.aktiverad();
        QVERIFY(!flik.chkLagtavling->isEnabled());
        QVERIFY(flik.lstLagtavlingar->isEnabled());

        // A team competition with teams shows greyed and closed.
        flik.lstLagtavlingar->setCurrentRow(0);
        QCOMPARE(flik.txtLagtavling->text(), QStringLiteral("Cup"));
        QVERIFY(!flik.txtLagtavling->isEnabled() && !flik.txtAntalSkott->isEnabled());
        mj.db().kor(QStringLiteral("DELETE FROM Lag"));
        flik.aktiverad();
        QVERIFY(flik.chkLagtavling->isEnabled());
    }

    void faltenSkrivsTillVisadLagtavlingNarManGarVidare() {
        Miljo mj;
        mj.ny(QStringLiteral("Andra"));
        const qint64 tredje = mj.ny(QStringLiteral("Tredje"));
        FlikLagtavling flik(mj.f.kontext);
        Installningsvarden v;
        v.lagtavling = true;
        flik.visa(v);
        flik.show();
        QVERIFY(QTest::qWaitForWindowActive(&flik));
        flik.lstLagtavlingar->setCurrentRow(2);
        QCOMPARE(flik.visadLagtavling(), tredje);

        flik.txtLagtavling->setFocus();
        flik.txtLagtavling->setText(QStringLiteral("Trean"));
        QTest::keyClick(flik.txtLagtavling, Qt::Key_Return); // Enter moves on like Tab
        QCOMPARE(mj.las(tredje).namn, QStringLiteral("Trean"));
        QCOMPARE(flik.lstLagtavlingar->item(2)->text(), QStringLiteral("Trean"));
        QVERIFY(flik.txtAntalSkyttar->hasFocus());
        flik.txtAntalSkyttar->selectAll();
        // Only digits reach the number boxes.
        QTest::keyClicks(flik.txtAntalSkyttar, QStringLiteral("5a,"));
        QCOMPARE(flik.txtAntalSkyttar->text(), QStringLiteral("5"));
        QTest::keyClick(flik.txtAntalSkyttar, Qt::Key_Tab);
        QCOMPARE(mj.las(tredje).antalSkyttar, 5);

        // A refused count keeps the focus, with its text selected, and writes nothing.
        flik.txtAntalSkott->setText(QStringLiteral("61"));
        QTest::keyClick(flik.txtAntalSkott, Qt::Key_Tab);
        QCOMPARE(mj.f.m.senasteText(), QStringLiteral("Du får bara välja antal mellan 10 och 60 skott!"));
        QTRY_VERIFY(flik.txtAntalSkott->hasFocus());
        QCOMPARE(flik.txtAntalSkott->selectedText(), QStringLiteral("61"));
        QCOMPARE(mj.las(tredje).antalSkott, 40);
        // A click in the list does not take the focus from the refused box.
        const QRect forsta = flik.lstLagtavlingar->visualItemRect(flik.lstLagtavlingar->item(0));
        QTest::mouseClick(flik.lstLagtavlingar->viewport(), Qt::LeftButton, {}, forsta.center());
        QCOMPARE(flik.visadLagtavling(), tredje);
        QCOMPARE(flik.lstLagtavlingar->currentRow(), 2);
        QTRY_VERIFY(flik.txtAntalSkott->hasFocus());
        // Closing writes only what the check accepts.
        flik.sparaVantande();
        QCOMPARE(mj.las(tredje).antalSkott, 40);
        flik.txtAntalSkott->setText(QStringLiteral("30"));
        flik.sparaVantande();
        QCOMPARE(mj.las(tredje).antalSkott, 30);
    }

    void nyOchRaderaIFliken() {
        Miljo mj(Typ::Mix);
        FlikLagtavling flik(mj.f.kontext);
        Installningsvarden v;
        v.lagtavling = true;
        flik.visa(v);
        QVERIFY(flik.cboSportNatLag->isVisibleTo(&flik));
        QVERIFY(!flik.cboTavlingsOmg->isVisibleTo(&flik));

        mj.f.m.skriv(QStringLiteral("Mix lag"));
        flik.cmdNyTavling->click();
        QCOMPARE(flik.lstLagtavlingar->count(), 2);
        QCOMPARE(flik.lstLagtavlingar->currentRow(), 1);
        QCOMPARE(flik.txtAntalSkott->text(), QStringLiteral("60"));
        QCOMPARE(flik.cboSportNatLag->currentText(), QStringLiteral("Sport"));
        QVERIFY(flik.txtLagtavling->isEnabled());

        mj.f.m.svara(Meddelanden::Svar::Ja);
        flik.cmdTabortTavling->click();
        QCOMPARE(flik.lstLagtavlingar->count(), 1);
        QCOMPARE(flik.visadLagtavling(), 0);
        QVERIFY(!flik.txtLagtavling->isEnabled());
        QVERIFY(flik.txtLagtavling->text().isEmpty());
    }

    void omgangslistanFoljerOmgangarna() {
        Miljo mj;
        mj.omgang(1, QStringLiteral("Vår"));
        mj.omgang(2, QStringLiteral("Höst"));
        const qint64 host = mj.ny(QStringLiteral("Höstlaget"), 2);
        FlikLagtavling flik(mj.f.kontext);
        Installningsvarden v;
        v.lagtavling = true;
        flik.visa(v);
        flik.lstLagtavlingar->setCurrentRow(1);
        QCOMPARE(flik.visadLagtavling(), host);
        QCOMPARE(flik.cboTavlingsOmg->currentText(), QStringLiteral("Höst"));

        // A refill keeps the chosen round; a round taken away is told and no round is written.
        mj.db().kor(QStringLiteral("INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (3, 'Först')"));
        flik.omgangarAndrade();
        QCOMPARE(flik.cboTavlingsOmg->currentData().toInt(), 2);
        mj.db().kor(QStringLiteral("DELETE FROM [Tävlings omg] WHERE Omg = 2"));
        flik.omgangarAndrade();
        QCOMPARE(flik.cboTavlingsOmg->currentIndex(), -1);
        flik.lstLagtavlingar->setCurrentRow(0);
        flik.lstLagtavlingar->setCurrentRow(1);
        QCOMPARE(mj.f.m.senasteText(),
                 QStringLiteral("Du har tagit bort tävlingen som hörde till den här lagtävlingen!"));
        flik.sparaVantande();
        QCOMPARE(mj.las(host).omg, 0);
    }
};

QTEST_MAIN(TestLagtavlingar)
#include "test_lagtavlingar.moc"
