#include "registration/Registrering.h"
#include "registration/SokSkytt.h"
#include "registration/frmInskrivningSkyttar.h"
#include "registration/frmSokSkytt.h"
#include "shell/Fonsternamn.h"
#include "shell/Rutnat.h"
#include "support/Testfixtur.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

using SokSkytt::Kriterier;
using SokSkytt::Sokning;
using SokSkytt::Traff;
using Utfall = SokSkytt::Sokning::Utfall;

// The shooter search: what it matches in a real competition database, how it
// walks through the hits, and how the window drives the registration window.
class TestSokSkytt : public QObject {
    Q_OBJECT

    // A shooter of our own, placed on a lane unless skjutlag is 0.
    static qint64 skytt(Databas& db, const QString& namn, const QString& efternamn, int startnr = 0,
                        int skjutlag = 0, int bana = 0, const QString& licensnr = {}, int omg = 0) {
        db.kor(QStringLiteral("INSERT INTO Skyttar (Startnr, Namn, Efternamn, Licensnr, Omg) "
                              "VALUES (?, ?, ?, ?, ?)"),
               {startnr, namn, efternamn, licensnr.isNull() ? QStringLiteral("") : licensnr, omg});
        const qint64 lopnummer = db.varde(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
        if (skjutlag > 0)
            db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = ? AND Bana = ?"),
                   {lopnummer, skjutlag, bana});
        return lopnummer;
    }

    // The first names of the hits, in their order.
    static QStringList namn(const Databas& db, const QList<Traff>& traffar) {
        QStringList ut;
        for (const Traff& t : traffar)
            ut << db.varde(QStringLiteral("SELECT Namn FROM Skyttar WHERE Löpnummer = ?"), {t.lopnummer})
                      .toString();
        return ut;
    }
    static QStringList sok(const Databas& db, const Kriterier& k) { return namn(db, SokSkytt::sok(db, k)); }
    static Kriterier fornamn(const QString& text) { return {text, {}, {}, {}, {}}; }
    static Kriterier efternamn(const QString& text) { return {{}, text, {}, {}, {}}; }
    static Kriterier licensnr(const QString& text) { return {{}, {}, text, {}, {}}; }
    static Kriterier startnr(const QString& text) { return {{}, {}, {}, text, {}}; }

    // A competition with three squads of four lanes and no shooters of the
    // fixture's, so that every name is ours.
    static Databas& tavling(Testfixtur& f, bool omgangar = false) {
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 3, 0);
        f.g.blnFleraTavlingar = omgangar;
        return f.g.cnnTavling;
    }

private slots:
    // With every box empty each placed shooter is a hit, in squad and lane order
    // whatever order they were registered in; free lanes (the placeholder) and
    // shooters on no lane are not. Keys stay whole beyond 32 bits.
    void tommaRutorGerVarjePlaceradSkytt() {
        Testfixtur f;
        Databas& db = tavling(f);
        skytt(db, QStringLiteral("Cecilia"), QStringLiteral("C"), 3, 3, 1);
        skytt(db, QStringLiteral("Anna"), QStringLiteral("A"), 1, 1, 4);
        skytt(db, QStringLiteral("Ingen"), QStringLiteral("Bana"), 9);
        db.kor(QStringLiteral("INSERT INTO Skyttar (Löpnummer, Startnr, Namn) VALUES (5000000000, 2, 'Bo')"));
        db.kor(
            QStringLiteral("UPDATE Skjutlag SET Startnummer = 5000000000 WHERE Skjutlag = 1 AND Bana = 2"));

        const QList<Traff> traffar = SokSkytt::sok(db, {});
        QCOMPARE(namn(db, traffar),
                 (QStringList{QStringLiteral("Bo"), QStringLiteral("Anna"), QStringLiteral("Cecilia")}));
        QCOMPARE(traffar.at(0), (Traff{5000000000LL, 1, 2}));
        QCOMPARE(traffar.at(2).skjutlag, 3);
        QCOMPARE(traffar.at(2).bana, 1);
    }

    // Each text is the beginning of its field, letter case ignored in Swedish
    // too, and the boxes together narrow the search.
    void borjanAvVarjeFalt() {
        Testfixtur f;
        Databas& db = tavling(f);
        skytt(db, QStringLiteral("Anna"), QStringLiteral("Öberg"), 1, 1, 1, QStringLiteral("AK-100"));
        skytt(db, QStringLiteral("Andreas"), QStringLiteral("Ågren"), 2, 1, 2, QStringLiteral("AK-200"));
        skytt(db, QStringLiteral("Johan"), QStringLiteral("Andersson"), 3, 1, 3, QStringLiteral("ak-101"));
        skytt(db, QStringLiteral("Åsa"), QStringLiteral("Älv"), 4, 2, 1);
        skytt(db, QStringLiteral("ÄRLA"), QStringLiteral("Öst"), 5, 2, 2);

        QCOMPARE(sok(db, fornamn(QStringLiteral("an"))),
                 (QStringList{QStringLiteral("Anna"), QStringLiteral("Andreas")}));
        QCOMPARE(sok(db, fornamn(QStringLiteral("  ANDR "))), QStringList{QStringLiteral("Andreas")});
        QCOMPARE(sok(db, fornamn(QStringLiteral("åSA"))), QStringList{QStringLiteral("Åsa")});
        QCOMPARE(sok(db, fornamn(QStringLiteral("är"))), QStringList{QStringLiteral("ÄRLA")});
        QCOMPARE(sok(db, efternamn(QStringLiteral("ö"))),
                 (QStringList{QStringLiteral("Anna"), QStringLiteral("ÄRLA")}));
        QCOMPARE(sok(db, efternamn(QStringLiteral("äLV"))), QStringList{QStringLiteral("Åsa")});
        // a and å are different letters in Swedish.
        QCOMPARE(sok(db, efternamn(QStringLiteral("a"))), QStringList{QStringLiteral("Johan")});
        QCOMPARE(sok(db, licensnr(QStringLiteral("ak-10"))),
                 (QStringList{QStringLiteral("Anna"), QStringLiteral("Johan")}));
        // A beginning, not a part anywhere in the field.
        QCOMPARE(sok(db, efternamn(QStringLiteral("berg"))), QStringList{});
        QCOMPARE(sok(db, {QStringLiteral("a"), QStringLiteral("ö"), QStringLiteral("AK"), {}, {}}),
                 QStringList{QStringLiteral("Anna")});
    }

    // Typed text is data: the characters that are patterns elsewhere match
    // only themselves.
    void monstertenckenArBokstavliga() {
        Testfixtur f;
        Databas& db = tavling(f);
        int bana = 0;
        for (const char* n : {"A%B", "A_B", "A*B", "A?B", "AxB", "A\\B"}) {
            skytt(db, QString::fromLatin1(n), QStringLiteral("X"), 0, 1 + bana / 4, 1 + bana % 4);
            ++bana;
        }

        QCOMPARE(sok(db, fornamn(QStringLiteral("A%"))), QStringList{QStringLiteral("A%B")});
        QCOMPARE(sok(db, fornamn(QStringLiteral("a_"))), QStringList{QStringLiteral("A_B")});
        QCOMPARE(sok(db, fornamn(QStringLiteral("A*"))), QStringList{QStringLiteral("A*B")});
        QCOMPARE(sok(db, fornamn(QStringLiteral("A?"))), QStringList{QStringLiteral("A?B")});
        QCOMPARE(sok(db, fornamn(QStringLiteral("A\\"))), QStringList{QStringLiteral("A\\B")});
        QCOMPARE(sok(db, fornamn(QStringLiteral("%"))), QStringList{});
        QCOMPARE(sok(db, fornamn(QStringLiteral("_"))), QStringList{});
        QCOMPARE(sok(db, startnr(QStringLiteral("_"))), QStringList{});
    }

    // The start number matches as its text: 5 finds 5 and 50 to 59 (and 500 on),
    // not 15 or 60.
    void startnummerSomBorjan() {
        Testfixtur f;
        Databas& db = tavling(f);
        int bana = 0;
        for (int nr : {15, 5, 50, 59, 60, 505, 105, 55}) {
            skytt(db, QString::number(nr), QStringLiteral("X"), nr, 1 + bana / 4, 1 + bana % 4);
            ++bana;
        }
        QCOMPARE(sok(db, startnr(QStringLiteral("5"))),
                 (QStringList{QStringLiteral("5"), QStringLiteral("50"), QStringLiteral("59"),
                              QStringLiteral("505"), QStringLiteral("55")}));
        QCOMPARE(sok(db, startnr(QStringLiteral(" 50 "))),
                 (QStringList{QStringLiteral("50"), QStringLiteral("505")}));
        QCOMPARE(sok(db, startnr(QStringLiteral("x"))), QStringList{});
    }

    // The round goes by its number: two rounds may carry the same description,
    // and round numbers need not run from 1.
    void omgangEfterNyckel() {
        Testfixtur f;
        Databas& db = tavling(f, true);
        db.kor(QStringLiteral("DELETE FROM [Tävlings omg]"));
        db.kor(QStringLiteral(
            "INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (3, 'Final'), (7, 'Final')"));
        skytt(db, QStringLiteral("Tre"), QStringLiteral("X"), 1, 1, 1, {}, 3);
        const qint64 sju = skytt(db, QStringLiteral("Sju"), QStringLiteral("X"), 2, 1, 2, {}, 7);
        skytt(db, QStringLiteral("Sjuan"), QStringLiteral("X"), 3, 2, 1, {}, 7);

        QCOMPARE(sok(db, {{}, {}, {}, {}, 7}), (QStringList{QStringLiteral("Sju"), QStringLiteral("Sjuan")}));
        QCOMPARE(sok(db, {{}, {}, {}, {}, 3}), QStringList{QStringLiteral("Tre")});
        QCOMPARE(sok(db, {QStringLiteral("sjuA"), {}, {}, {}, 7}), QStringList{QStringLiteral("Sjuan")});
        QCOMPARE(sok(db, {{}, {}, {}, {}, 4}), QStringList{});

        // The window offers the rounds in number order after an empty item and
        // searches by the chosen item's number.
        QList<Traff> visade;
        frmSokSkytt sokfonster(f.kontext, nullptr, [&](const Traff& t) {
            visade << t;
            return true;
        });
        QVERIFY(!sokfonster.cboOmg->isHidden() && !sokfonster.lblOmg->isHidden());
        QCOMPARE(sokfonster.cboOmg->count(), 3);
        QCOMPARE(sokfonster.cboOmg->itemText(0), QString());
        sokfonster.cboOmg->setCurrentIndex(2);
        sokfonster.cmdSok->click();
        QCOMPARE(visade, (QList<Traff>{{sju, 1, 2}}));
        sokfonster.cmdSokNasta->click();
        QCOMPARE(visade.size(), 2);
        QCOMPARE(visade.at(1).skjutlag, 2);
        // Backspace and Space take the round away again; Enter moves on.
        sokfonster.show();
        sokfonster.cboOmg->setFocus();
        QTest::keyClick(sokfonster.cboOmg, Qt::Key_Backspace);
        QCOMPARE(sokfonster.cboOmg->currentIndex(), 0);
        sokfonster.cboOmg->setCurrentIndex(1);
        QTest::keyClick(sokfonster.cboOmg, Qt::Key_Space);
        QCOMPARE(sokfonster.cboOmg->currentIndex(), 0);
        QTest::keyClick(sokfonster.cboOmg, Qt::Key_Return);
        QCOMPARE(sokfonster.focusWidget(), sokfonster.cmdSok);
        QVERIFY(f.m.visade.isEmpty());
    }

    // The placeholder of free lanes is never found, whatever it holds.
    void platshallarenArAldrigEnTraff() {
        Testfixtur f;
        Databas& db = tavling(f);
        db.kor(QStringLiteral("UPDATE Skyttar SET Namn = 'Anna', Startnr = 5 WHERE Löpnummer = 1"));
        skytt(db, QStringLiteral("Annika"), QStringLiteral("X"), 0, 2, 2);
        QCOMPARE(sok(db, {}), QStringList{QStringLiteral("Annika")});
        QCOMPARE(sok(db, fornamn(QStringLiteral("ann"))), QStringList{QStringLiteral("Annika")});
        QCOMPARE(sok(db, startnr(QStringLiteral("5"))), QStringList{});
    }

    // Walking the hits: the first is shown at once, next shows the following
    // ones, and after the last there is none; a hit that cannot be shown is
    // passed over. An apostrophe in any box searches nothing and keeps the hits.
    void traffarnaEnEfterEn() {
        Testfixtur f;
        Databas& db = tavling(f);
        const qint64 a = skytt(db, QStringLiteral("Anna"), QStringLiteral("X"), 1, 1, 1);
        const qint64 b = skytt(db, QStringLiteral("Anders"), QStringLiteral("X"), 2, 2, 3);
        const qint64 c = skytt(db, QStringLiteral("Annika"), QStringLiteral("X"), 3, 3, 4);
        QList<qint64> visade;
        qint64 gomd = 0;
        Sokning s([&](const Traff& t) {
            if (t.lopnummer == gomd)
                return false;
            visade << t.lopnummer;
            return true;
        });
        QVERIFY(!s.kanGaVidare());
        QCOMPARE(s.nasta(), Utfall::IngenTraff);

        QCOMPARE(s.sok(db, fornamn(QStringLiteral("an"))), Utfall::Visad);
        QCOMPARE(visade, QList<qint64>{a});
        QVERIFY(s.kanGaVidare());
        QCOMPARE(s.nasta(), Utfall::Visad);
        QCOMPARE(s.nasta(), Utfall::Visad);
        QCOMPARE(visade, (QList<qint64>{a, b, c}));
        QVERIFY(s.kanGaVidare());
        QCOMPARE(s.nasta(), Utfall::IngenTraff);
        QVERIFY(!s.kanGaVidare() && !s.visad());

        gomd = b;
        visade.clear();
        QCOMPARE(s.sok(db, fornamn(QStringLiteral("an"))), Utfall::Visad);
        QCOMPARE(s.nasta(), Utfall::Visad);
        QCOMPARE(visade, (QList<qint64>{a, c}));
        QCOMPARE(s.visad()->skjutlag, 3);

        for (const Kriterier& k : {Kriterier{QStringLiteral("O'"), {}, {}, {}, {}},
                                   Kriterier{{}, QStringLiteral("O'Brien"), {}, {}, {}},
                                   Kriterier{{}, {}, QStringLiteral("'"), {}, {}},
                                   Kriterier{{}, {}, {}, QStringLiteral("1'"), {}}}) {
            QCOMPARE(s.sok(db, k), Utfall::FelaktigtTecken);
            QCOMPARE(s.traffar().size(), 3);
            QCOMPARE(s.visad()->lopnummer, c);
        }
        QCOMPARE(visade.size(), 2);

        gomd = a;
        QCOMPARE(s.sok(db, fornamn(QStringLiteral("anna"))), Utfall::IngenTraff);
        QVERIFY(!s.kanGaVidare());
    }

    // The window shows each hit through the registration window with its squad
    // and lane, tells when there is none, and keeps "Sök nästa" usable only
    // while there may be more.
    void fonstretVisarTraffarna() {
        Testfixtur f;
        Databas& db = tavling(f);
        skytt(db, QStringLiteral("O'Brien"), QStringLiteral("Kelly"), 7, 1, 3);
        skytt(db, QStringLiteral("Olle"), QStringLiteral("Kelly"), 8, 3, 2);
        QList<Traff> visade;
        frmSokSkytt sok(f.kontext, nullptr, [&](const Traff& t) {
            visade << t;
            return true;
        });
        QCOMPARE(sok.windowTitle(), QStringLiteral("Sök skytt"));
        QVERIFY(sok.cboOmg->isHidden() && sok.lblOmg->isHidden());
        QVERIFY(!sok.cmdSokNasta->isEnabled());
        QCOMPARE(sok.windowModality(), Qt::WindowModal);
        sok.show();
        QApplication::setActiveWindow(&sok);
        QVERIFY(QTest::qWaitForWindowActive(&sok));

        sok.txtEfternamn->setText(QStringLiteral(" kel"));
        sok.cmdSok->click();
        QCOMPARE(visade.size(), 1);
        QCOMPARE(visade.at(0).skjutlag, 1);
        QCOMPARE(visade.at(0).bana, 3);
        QVERIFY(sok.cmdSokNasta->isEnabled());
        QCOMPARE(sok.focusWidget(), sok.cmdSokNasta);
        sok.cmdSokNasta->click();
        QCOMPARE(visade.size(), 2);
        QCOMPARE(visade.at(1).skjutlag, 3);
        QCOMPARE(visade.at(1).bana, 2);
        QVERIFY(f.m.visade.isEmpty());
        QVERIFY(sok.cmdSokNasta->isEnabled());

        sok.cmdSokNasta->click();
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(f.m.visade.at(0).text, QStringLiteral("Skytten finns inte!"));
        QCOMPARE(f.m.visade.at(0).titel, QStringLiteral("Sök"));
        QCOMPARE(f.m.visade.at(0).ikon, Meddelanden::Ikon::Information);
        QVERIFY(!sok.cmdSokNasta->isEnabled());
        QCOMPARE(visade.size(), 2);

        // A new search makes it usable again; one that finds nothing does not.
        sok.cmdSok->click();
        QVERIFY(sok.cmdSokNasta->isEnabled());
        sok.txtFornamn->setText(QStringLiteral("Z"));
        sok.cmdSok->click();
        QCOMPARE(f.m.senasteText(), QStringLiteral("Skytten finns inte!"));
        QVERIFY(!sok.cmdSokNasta->isEnabled());
        QCOMPARE(visade.size(), 3);

        // The apostrophe is refused with its message and the box gets the focus.
        f.m.tom();
        sok.txtFornamn->setText(QStringLiteral("O'B"));
        sok.cmdSok->click();
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(f.m.visade.at(0).text, QStringLiteral("Du har angivit ett felaktigt tecken i sökningen!"));
        QCOMPARE(f.m.visade.at(0).titel, QStringLiteral("Fel tecken"));
        QCOMPARE(f.m.visade.at(0).ikon, Meddelanden::Ikon::Kritisk);
        QCOMPARE(sok.focusWidget(), sok.txtFornamn);
        QCOMPARE(sok.txtFornamn->selectedText(), QStringLiteral("O'B"));
        QCOMPARE(visade.size(), 3);

        // Enter in a box moves on like Tab and searches nothing.
        QTest::keyClick(sok.txtFornamn, Qt::Key_Return);
        QCOMPARE(sok.focusWidget(), sok.txtEfternamn);
        QCOMPARE(f.m.visade.size(), 1);

        sok.cmdAvbryt->click();
        QVERIFY(sok.isHidden());
        QCOMPARE(sok.result(), int(QDialog::Rejected));
    }

    // The search shows its hit in the real registration window: that squad,
    // that lane's row, the shooter in the fields.
    void hittenVisasIRegistreringen() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 3, 10);
        Registreringsfonster::registrera(f.delar());
        auto* registrering =
            qobject_cast<frmInskrivningSkyttar*>(f.fonster.visaFonster(Fonsternamn::InskrivningSkyttar));
        QVERIFY(registrering);
        frmSokSkytt sok(f.kontext);
        sok.txtFornamn->setText(QStringLiteral("skytt7"));
        sok.cmdSok_Click();
        QVERIFY2(f.m.visade.isEmpty(), qPrintable(f.m.senasteText()));
        QCOMPARE(registrering->aktuelltSkjutlag(), 2); // shooter 7 stands on squad 2, lane 3
        QCOMPARE(registrering->vbagrSkjutlag->valdRad(), 3);
        QCOMPARE(registrering->txtNamn->text(), QStringLiteral("Skytt7"));
        QCOMPARE(registrering->txtEfternamn->text(), QStringLiteral("Efternamn7"));
        registrering->close();
    }

    // A window of its own over the main window, placed from the main window's
    // corner; the icon is there.
    void placeringOchIkon() {
        Testfixtur f;
        tavling(f);
        QWidget huvud;
        huvud.move(100, 50);
        frmSokSkytt sok(f.kontext, &huvud);
        QVERIFY(sok.isWindow());
        QCOMPARE(sok.pos(), huvud.pos() + QPoint(3400 / 15, 300 / 15));
        QVERIFY(!sok.windowIcon().isNull());
        QVERIFY(f.m.visade.isEmpty());
    }
};

QTEST_MAIN(TestSokSkytt)
#include "test_sokskytt.moc"
