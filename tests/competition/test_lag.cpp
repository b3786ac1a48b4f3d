#include "competition/Lag.h"
#include "competition/Lagmedlemmar.h"
#include "registration/Registrering.h"
#include "registration/frmLagInskrivning.h"
#include "shell/Fonsternamn.h"
#include "shell/Rutnat.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using Typ = NyTavling::Typ;
using Ikon = Meddelanden::Ikon;
using Svar = Meddelanden::Svar;
using Knappar = Meddelanden::Knappar;
using Lagmedlemmar::Utfall;

namespace {

const QString FinnsInte = QStringLiteral("Skytten finns inte, eller så är skytten redan med i ett lag.");

// A sport-shooting competition whose team competition "Cup" (made with it)
// counts 3 shooters of 60 shots; its shooters are of class H (60 shots).
struct Miljo {
    Testfixtur f;
    qint64 cup = 0;
    explicit Miljo(Typ typ = Typ::Sportskytte, int skyttar = 0) {
        f.skapaTavling(QStringLiteral("Cup"), typ, 10, 2, skyttar);
        cup = db().varde(QStringLiteral("SELECT Lagtävling FROM Lagtävling")).toLongLong();
    }
    Databas& db() { return f.g.cnnTavling; }
    qint64 lagtavling(const QString& namn, int storlek, int skott, int omg = 0) {
        db().kor(
            QStringLiteral("INSERT INTO Lagtävling (Lagtävlingsnamn, [Antal skyttar], [Antal skott], Omg, "
                           "[Sport/Nat]) VALUES (?, ?, ?, ?, 'Sport')"),
            {namn, storlek, skott, omg});
        return db().varde(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    }
    qint64 skytt(const QString& namn, const QString& efternamn = QStringLiteral("Berg"),
                 const QString& klass = QStringLiteral("H"), int omg = 0) {
        db().kor(QStringLiteral("INSERT INTO Skyttar (Startnr, Namn, Efternamn, Förening, Klass, Omg) "
                                "VALUES (7, ?, ?, 'Klubben', ?, ?)"),
                 {namn, efternamn, klass, omg});
        return db().varde(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    }
    qint64 lagMed(qint64 lagtavling, const QString& namn, const QList<qint64>& medlemmar) {
        const qint64 nr = Lag::skapa(db(), lagtavling, namn);
        for (qint64 s : medlemmar)
            if (!Lagmedlemmar::laggTill(db(), nr, s))
                qFatal("the team was full");
        return nr;
    }
    QPair<int, int> lagOchSerier(qint64 lopnummer) {
        QSqlQuery q =
            db().kor(QStringLiteral("SELECT Lag, Lagserier FROM Skyttar WHERE Löpnummer = ?"), {lopnummer});
        q.next();
        return {q.value(0).toInt(), q.value(1).toInt()};
    }
    int antalLag() { return db().varde(QStringLiteral("SELECT COUNT(*) FROM Lag")).toInt(); }
    QStringList sok(qint64 lagNr, const QString& namn, const QString& efternamn = {}) {
        QStringList namnen;
        for (const Lagmedlemmar::Skytt& s : Lagmedlemmar::sok(f.g, lagNr, namn, efternamn))
            namnen << s.namn;
        return namnen;
    }
    QImage ikon(const QString& fil) {
        return QIcon(f.t.fil(QStringLiteral("Grafik/Ikoner/") + fil)).pixmap(16).toImage();
    }
};

QImage bild(const QTreeWidgetItem* nod) {
    return nod->icon(0).pixmap(16).toImage();
}

} // namespace

class TestLag : public QObject {
    Q_OBJECT
private slots:
    // The name is asked again with the reason while it is refused; what is
    // taken is trimmed, and a name used in any team competition is taken, in
    // any letter case.
    void nyttLagFragarTillsNamnetDuger() {
        Miljo mj;
        const qint64 annan = mj.lagtavling(QStringLiteral("Damer"), 3, 40);
        Lag::skapa(mj.db(), annan, QStringLiteral("Östra"));
        int pip = 0;
        mj.f.m.skriv(QStringLiteral("O'Brien"));
        mj.f.m.skriv(QStringLiteral(" öSTRA "));
        mj.f.m.skriv(QStringLiteral("  Västra  "));
        const std::optional<Lag::Nytt> nytt = Lag::NyttLag(mj.db(), mj.f.m, mj.cup, [&] { ++pip; });
        QVERIFY(nytt);
        QCOMPARE(nytt->namn, QStringLiteral("Västra"));
        QCOMPARE(
            mj.f.m.fragor,
            (QStringList{QStringLiteral("Vad ska laget heta?"),
                         QStringLiteral(
                             "Du har skrivit ett felaktigt tecken i namnet!\rDu måste välja ett nytt namn."),
                         QStringLiteral("Det laget fanns redan!\rDu måste välja ett nytt namn.")}));
        QCOMPARE(pip, 2);
        const Lag::Lagpost lag = *Lag::hamta(mj.db(), nytt->nr);
        QCOMPARE(lag.namn, QStringLiteral("Västra"));
        QCOMPARE(lag.lagtavling, mj.cup);
        QVERIFY(mj.f.m.visade.isEmpty());

        // Cancel, nothing or blanks end it without a team and without a word.
        for (const std::optional<QString>& svar :
             {std::optional<QString>(), std::optional<QString>(QString()),
              std::optional<QString>(QStringLiteral("   "))}) {
            mj.f.m.skriv(svar);
            QVERIFY(!Lag::NyttLag(mj.db(), mj.f.m, mj.cup));
        }
        QCOMPARE(mj.antalLag(), 2);
        QVERIFY(mj.f.m.visade.isEmpty());

        // The core refuses what the question refuses, and a team competition
        // that is gone.
        QVERIFY(felnummer([&] { Lag::skapa(mj.db(), mj.cup, QStringLiteral("Ek'en")); }) != 0);
        QVERIFY(felnummer([&] { Lag::skapa(mj.db(), mj.cup, QStringLiteral("västra")); }) != 0);
        QVERIFY(felnummer([&] { Lag::skapa(mj.db(), mj.cup, QStringLiteral(" ")); }) != 0);
        QCOMPARE(felnummer([&] { Lag::skapa(mj.db(), 999, QStringLiteral("Norra")); }), 3021);
        QCOMPARE(mj.antalLag(), 2);
        QCOMPARE(mj.db().transaktionsdjup(), 0);
    }

    // Members are taken until the team is full; a full team offers nobody.
    // Taking one out makes room again.
    void medlemmarTillsLagetArFullt() {
        Miljo mj(Typ::Sportskytte, 5);
        const qint64 lag = Lag::skapa(mj.db(), mj.cup, QStringLiteral("Laget"));
        for (int i = 1; i <= 3; ++i) {
            QVERIFY(Lagmedlemmar::harPlats(mj.db(), lag));
            mj.f.m.svara(Svar::Ja);
            QCOMPARE(Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.f.m, lag, QStringLiteral("Skytt%1").arg(i), {}),
                     Utfall::Tillagd);
        }
        QVERIFY(!Lagmedlemmar::harPlats(mj.db(), lag));
        const QList<Lagmedlemmar::Skytt> medlemmar = Lagmedlemmar::lista(mj.db(), lag);
        QCOMPARE(medlemmar.size(), 3);
        QCOMPARE(medlemmar[2].namn, QStringLiteral("Skytt3"));
        QCOMPARE(mj.lagOchSerier(medlemmar[0].lopnummer), qMakePair(int(lag), 12));

        mj.f.m.tom();
        QCOMPARE(Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.f.m, lag, {}, {}), Utfall::Fullt);
        QVERIFY(mj.f.m.visade.isEmpty());
        const qint64 fjarde =
            mj.db().varde(QStringLiteral("SELECT Löpnummer FROM Skyttar WHERE Namn = 'Skytt4'")).toLongLong();
        QVERIFY(!Lagmedlemmar::laggTill(mj.db(), lag, fjarde));
        QCOMPARE(mj.lagOchSerier(fjarde), qMakePair(0, 0));

        // Out of the team only after a yes.
        QVERIFY(!Lagmedlemmar::taBort(mj.db(), mj.f.m, lag, medlemmar[1].lopnummer));
        QCOMPARE(mj.f.m.visade.last().text,
                 QStringLiteral("Är du säker på att du vill ta bort skytten ur laget?"));
        QCOMPARE(mj.f.m.visade.last().knappar, Knappar::JaNej);
        QCOMPARE(Lagmedlemmar::antal(mj.db(), lag), 3);
        mj.f.m.svara(Svar::Ja);
        QVERIFY(Lagmedlemmar::taBort(mj.db(), mj.f.m, lag, medlemmar[1].lopnummer));
        QCOMPARE(mj.lagOchSerier(medlemmar[1].lopnummer), qMakePair(0, 0));
        QVERIFY(Lagmedlemmar::laggTill(mj.db(), lag, fjarde));

        // A shooter already in a team is not put into another one.
        const qint64 annat = Lag::skapa(mj.db(), mj.cup, QStringLiteral("Annat"));
        QCOMPARE(felnummer([&] { Lagmedlemmar::laggTill(mj.db(), annat, fjarde); }), 3021);
        QCOMPARE(felnummer([&] { Lagmedlemmar::laggTill(mj.db(), annat, 1); }), 3021);
        QCOMPARE(mj.lagOchSerier(fjarde), qMakePair(int(lag), 12));
    }

    // The shooter's class must exist; a class of fewer shots than the team
    // competition counts asks first. The series are the shots / 5, rounded.
    void klassOchSkott() {
        Miljo mj;
        const qint64 fyrtio = mj.lagtavling(QStringLiteral("Fyrtio"), 3, 40);
        const qint64 dam = mj.skytt(QStringLiteral("Dam"), QStringLiteral("Berg"), QStringLiteral("D"));
        const qint64 herr = mj.skytt(QStringLiteral("Herr"), QStringLiteral("Berg"), QStringLiteral("H"));
        const qint64 borta = mj.skytt(QStringLiteral("Borta"), QStringLiteral("Berg"), QStringLiteral("XX"));
        const qint64 sextio = Lag::skapa(mj.db(), mj.cup, QStringLiteral("Sextio"));
        const qint64 lag40 = Lag::skapa(mj.db(), fyrtio, QStringLiteral("Fyrtiolaget"));

        // 60 shots for a 40-shot class: the question; no writes nothing.
        mj.f.m.svara(Svar::Ja);
        mj.f.m.svara(Svar::Nej);
        QCOMPARE(Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.f.m, sextio, QStringLiteral("dam"), {}),
                 Utfall::EjExtra);
        const auto fraga = mj.f.m.visade.last();
        QCOMPARE(fraga.text,
                 QStringLiteral(
                     "Skytten skjuter för några skott för lagtävlingen!\r\nSka skytten skjuta extra antal?"));
        QCOMPARE(fraga.titel, QStringLiteral("Fråga"));
        QCOMPARE(fraga.ikon, Ikon::Ingen);
        QCOMPARE(fraga.knappar, Knappar::JaNej);
        QCOMPARE(mj.lagOchSerier(dam), qMakePair(0, 0));
        mj.f.m.svara(Svar::Ja);
        mj.f.m.svara(Svar::Ja);
        QCOMPARE(Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.f.m, sextio, QStringLiteral("dam"), {}),
                 Utfall::Tillagd);
        QCOMPARE(mj.lagOchSerier(dam), qMakePair(int(sextio), 12));

        // 40 shots for a 60-shot class: no question.
        mj.f.m.tom();
        mj.f.m.svara(Svar::Ja);
        QCOMPARE(Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.f.m, lag40, QStringLiteral("herr"), {}),
                 Utfall::Tillagd);
        QCOMPARE(mj.f.m.visade.size(), 1);
        QCOMPARE(mj.lagOchSerier(herr), qMakePair(int(lag40), 8));

        // A class that is gone.
        mj.f.m.tom();
        mj.f.m.svara(Svar::Ja);
        QCOMPARE(Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.f.m, lag40, QStringLiteral("Borta"), {}),
                 Utfall::IngenKlass);
        QCOMPARE(mj.f.m.senasteText(),
                 QStringLiteral(
                     "Klassen för skytten finns inte.\r\nKolla så att du inte ändrat namnet på klassen!"));
        QCOMPARE(mj.f.m.visade.last().titel, QStringLiteral("Ingen klass."));
        QCOMPARE(mj.f.m.visade.last().ikon, Ikon::Kritisk);
        QCOMPARE(mj.lagOchSerier(borta), qMakePair(0, 0));

        QCOMPARE(Lagmedlemmar::lagserier(42), 8);
        QCOMPARE(Lagmedlemmar::lagserier(43), 9);
        QCOMPARE(Lagmedlemmar::lagserier(60), 12);
    }

    // Every free matching shooter is offered in turn: no goes on, yes takes,
    // cancel ends silently. Shooters in a team, of another round, and the
    // placeholder are never offered.
    void erbjudnaSkyttar() {
        Miljo mj;
        mj.f.g.blnFleraTavlingar = true;
        const qint64 omg2 = mj.lagtavling(QStringLiteral("Omgång 2"), 5, 60, 2);
        const qint64 berg = mj.skytt(QStringLiteral("Anna"), QStringLiteral("Berg"), QStringLiteral("H"), 2);
        const qint64 ek = mj.skytt(QStringLiteral("Annika"), QStringLiteral("Ek"), QStringLiteral("H"), 2);
        mj.skytt(QStringLiteral("Anna"), QStringLiteral("Ås"), QStringLiteral("H"), 1);
        const qint64 upptagen =
            mj.skytt(QStringLiteral("Anneli"), QStringLiteral("Lund"), QStringLiteral("H"), 2);
        const qint64 lag = Lag::skapa(mj.db(), omg2, QStringLiteral("Laget"));
        mj.lagMed(omg2, QStringLiteral("Annat"), {upptagen});

        QList<qint64> visade;
        const auto visa = [&](const Lagmedlemmar::Skytt& s) { visade << s.lopnummer; };
        mj.f.m.svara(Svar::Nej);
        mj.f.m.svara(Svar::Nej);
        QCOMPARE(Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.f.m, lag, QStringLiteral("ann"), {}, visa),
                 Utfall::IngenTraff);
        QCOMPARE(visade, (QList<qint64>{berg, ek}));
        QCOMPARE(mj.f.m.visade.size(), 3);
        QCOMPARE(mj.f.m.visade[0].text, QStringLiteral("Är det här rätt skytt?"));
        QCOMPARE(mj.f.m.visade[0].titel, QStringLiteral("Bekräfta"));
        QCOMPARE(mj.f.m.visade[0].ikon, Ikon::Fraga);
        QCOMPARE(mj.f.m.visade[0].knappar, Knappar::JaNejAvbryt);
        QCOMPARE(mj.f.m.senasteText(), FinnsInte);
        QCOMPARE(mj.f.m.visade.last().titel, QStringLiteral("Fel"));
        QCOMPARE(mj.f.m.visade.last().ikon, Ikon::Kritisk);

        mj.f.m.tom();
        mj.f.m.svara(Svar::Avbryt);
        QCOMPARE(Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.f.m, lag, QStringLiteral("ann"), {}),
                 Utfall::Avbruten);
        QCOMPARE(mj.f.m.visade.size(), 1);

        mj.f.m.tom();
        QCOMPARE(Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.f.m, lag, QStringLiteral("Bertil"), {}),
                 Utfall::IngenTraff);
        QCOMPARE(mj.f.m.visade.size(), 1);
        QCOMPARE(mj.f.m.senasteText(), FinnsInte);
        QCOMPARE(Lagmedlemmar::antal(mj.db(), lag), 0);

        mj.f.m.svara(Svar::Nej);
        mj.f.m.svara(Svar::Ja);
        QCOMPARE(Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.f.m, lag, {}, QStringLiteral("  ")), Utfall::Tillagd);
        QCOMPARE(mj.lagOchSerier(ek), qMakePair(int(lag), 12));
        // Both boxes empty: everyone free in the round, the placeholder never.
        QCOMPARE(mj.sok(lag, QStringLiteral(" "), {}), QStringList{QStringLiteral("Anna")});
        mj.f.g.blnFleraTavlingar = false;
        QCOMPARE(mj.sok(lag, {}, {}), (QStringList{QStringLiteral("Anna"), QStringLiteral("Anna")}));
    }

    // What is typed is matched as it stands, at the start of the name, in
    // any letter case; wildcards of every kind and apostrophes are letters.
    void sokningenArBokstavlig() {
        Miljo mj;
        const qint64 lag = Lag::skapa(mj.db(), mj.cup, QStringLiteral("Laget"));
        for (const char* namn : {"Åsa", "Xåsa", "Stjärn*a", "Stjärna", "Per?", "Perx", "100%", "1000", "A_B",
                                 "AxB", "[x]", "x", "O'Brien"})
            mj.skytt(QString::fromUtf8(namn), QStringLiteral("Öberg"));
        mj.skytt(QStringLiteral("Öst"), QStringLiteral("ÅBERG"));

        QCOMPARE(mj.sok(lag, QStringLiteral("ÅSA")), QStringList{QStringLiteral("Åsa")});
        QCOMPARE(mj.sok(lag, QStringLiteral("ö")), QStringList{QStringLiteral("Öst")});
        QCOMPARE(mj.sok(lag, {}, QStringLiteral("åb")), QStringList{QStringLiteral("Öst")});
        QCOMPARE(mj.sok(lag, QStringLiteral("åsa"), QStringLiteral("ÖBERG")),
                 QStringList{QStringLiteral("Åsa")});
        QCOMPARE(mj.sok(lag, QStringLiteral("Stjärn*")), QStringList{QStringLiteral("Stjärn*a")});
        QVERIFY(mj.sok(lag, QStringLiteral("*")).isEmpty());
        QCOMPARE(mj.sok(lag, QStringLiteral("Per?")), QStringList{QStringLiteral("Per?")});
        QVERIFY(mj.sok(lag, QStringLiteral("?")).isEmpty());
        QCOMPARE(mj.sok(lag, QStringLiteral("100%")), QStringList{QStringLiteral("100%")});
        QCOMPARE(mj.sok(lag, QStringLiteral("A_")), QStringList{QStringLiteral("A_B")});
        QVERIFY(mj.sok(lag, QStringLiteral("%")).isEmpty());
        QVERIFY(mj.sok(lag, QStringLiteral("_")).isEmpty());
        QCOMPARE(mj.sok(lag, QStringLiteral("[")), QStringList{QStringLiteral("[x]")});
        QCOMPARE(mj.sok(lag, QStringLiteral("o'b")), QStringList{QStringLiteral("O'Brien")});

        // The apostrophe goes all the way into the team.
        mj.f.m.svara(Svar::Ja);
        QCOMPARE(Lagmedlemmar::LaggTillSkytt(mj.f.g, mj.f.m, lag, QStringLiteral("O'"), QStringLiteral("Öb")),
                 Utfall::Tillagd);
        QCOMPARE(Lagmedlemmar::lista(mj.db(), lag).value(0).namn, QStringLiteral("O'Brien"));
    }

    // Deleting a team frees its members and removes it together: a failure
    // on the way leaves both as they were.
    void raderaLagIEnTransaktion() {
        Miljo mj;
        const qint64 a = mj.skytt(QStringLiteral("A")), b = mj.skytt(QStringLiteral("B")),
                     c = mj.skytt(QStringLiteral("C"));
        const qint64 lagA = mj.lagMed(mj.cup, QStringLiteral("Lag A"), {a, b});
        const qint64 lagB = mj.lagMed(mj.cup, QStringLiteral("Lag B"), {c});

        mj.db().kor(QStringLiteral(
            "CREATE TEMP TRIGGER stopp BEFORE DELETE ON Lag BEGIN SELECT RAISE(ABORT, 'stopp'); END"));
        QVERIFY(felnummer([&] { Lag::radera(mj.db(), lagA); }) != 0);
        QCOMPARE(mj.lagOchSerier(a), qMakePair(int(lagA), 12));
        QCOMPARE(mj.lagOchSerier(b), qMakePair(int(lagA), 12));
        QVERIFY(Lag::hamta(mj.db(), lagA));
        mj.db().kor(QStringLiteral("DROP TRIGGER stopp"));

        QVERIFY(!Lag::taBort(mj.db(), mj.f.m, lagA));
        QCOMPARE(mj.f.m.senasteText(), QStringLiteral("Är du säker på att du vill radera laget:\rLag A?"));
        QCOMPARE(mj.f.m.visade.last().titel, QStringLiteral("Bekräfta"));
        QCOMPARE(mj.f.m.visade.last().ikon, Ikon::Fraga);
        QVERIFY(Lag::hamta(mj.db(), lagA));

        mj.f.m.svara(Svar::Ja);
        QVERIFY(Lag::taBort(mj.db(), mj.f.m, lagA));
        QVERIFY(!Lag::hamta(mj.db(), lagA));
        QCOMPARE(mj.lagOchSerier(a), qMakePair(0, 0));
        QCOMPARE(mj.lagOchSerier(b), qMakePair(0, 0));
        QCOMPARE(mj.lagOchSerier(c), qMakePair(int(lagB), 12));
        QCOMPARE(mj.lagOchSerier(1), qMakePair(0, 0));
    }

    // --- The window ---

    // Without team competitions the tree is empty and no team can be made.
    void tomtTrad() {
        Miljo mj;
        mj.db().kor(QStringLiteral("DELETE FROM Lagtävling"));
        frmLagInskrivning form(mj.f.kontext);
        mj.f.kontext.meddelaAktivering(&form);
        QCOMPARE(form.tvwLagtavlingar->topLevelItemCount(), 0);
        QVERIFY(!form.cmdNyttLag->isEnabled());
        QVERIFY(!form.cmdTaBortLag->isEnabled());
        QVERIFY(!form.medlemsinmatningOppen());
        QCOMPARE(form.lblLaget->text(), QStringLiteral("Laget"));
        QVERIFY(mj.f.m.visade.isEmpty());
    }

    // Nodes go by key: two team competitions of one name, a team named as a
    // team competition and a name with "|" are each their own.
    void tradetGarPaNyckel() {
        Miljo mj;
        const qint64 tvilling = mj.lagtavling(QStringLiteral("Cup"), 3, 60);
        const qint64 s = mj.skytt(QStringLiteral("Stina"));
        const qint64 stang = mj.lagMed(mj.cup, QStringLiteral("LT|Cup"), {});
        const qint64 cuplaget = mj.lagMed(tvilling, QStringLiteral("Cup"), {s});

        frmLagInskrivning form(mj.f.kontext);
        mj.f.kontext.meddelaAktivering(&form);
        QTreeWidget* t = form.tvwLagtavlingar;
        QCOMPARE(t->topLevelItemCount(), 2);
        QCOMPARE(t->topLevelItem(0)->childCount(), 1);
        QCOMPARE(t->topLevelItem(0)->child(0), form.nodForLag(stang));
        QCOMPARE(t->topLevelItem(1)->child(0), form.nodForLag(cuplaget));
        QCOMPARE(form.valdLagtavling(), mj.cup);

        t->setCurrentItem(form.nodForLag(cuplaget));
        QCOMPARE(form.valtLag(), cuplaget);
        QCOMPARE(form.valdLagtavling(), tvilling);
        QCOMPARE(form.lblLaget->text(), QStringLiteral("Cup"));
        QCOMPARE(form.vbagrLag->antalRader(), 1);
        QCOMPARE(form.vbagrLag->cell(1, 2), QStringLiteral("Stina Berg"));
        QCOMPARE(form.vbagrLag->cell(1, 4), QString::number(s));
        QVERIFY(form.cmdTaBortLag->isEnabled());

        t->setCurrentItem(form.nodForLag(stang));
        QCOMPARE(form.valtLag(), stang);
        QCOMPARE(form.valdLagtavling(), mj.cup);
        QCOMPARE(form.vbagrLag->antalRader(), 0);
        QCOMPARE(form.lblLaget->text(), QStringLiteral("LT|Cup"));
    }

    // A team competition's folder opens and closes with its node; the chosen
    // team shows the arrow.
    void ikonerIFradet() {
        Miljo mj;
        const qint64 lag = mj.lagMed(mj.cup, QStringLiteral("Laget"), {});
        mj.lagMed(mj.cup, QStringLiteral("Andra"), {});
        mj.lagtavling(QStringLiteral("Tom"), 3, 60);
        frmLagInskrivning form(mj.f.kontext);
        QTreeWidgetItem* cup = form.nodForLagtavling(mj.cup);
        QCOMPARE(bild(cup), mj.ikon(QStringLiteral("ClosedFolder.ico")));
        QCOMPARE(bild(form.nodForLag(lag)), mj.ikon(QStringLiteral("Skyttar.ico")));
        QVERIFY(mj.ikon(QStringLiteral("ClosedFolder.ico")) != mj.ikon(QStringLiteral("OpenFolder.ico")));

        mj.f.kontext.meddelaAktivering(&form);
        QVERIFY(cup->isExpanded());
        QCOMPARE(bild(cup), mj.ikon(QStringLiteral("OpenFolder.ico")));
        form.tvwLagtavlingar->setCurrentItem(form.nodForLag(lag));
        QCOMPARE(bild(form.nodForLag(lag)), mj.ikon(QStringLiteral("ArrowRight.ico")));
        form.tvwLagtavlingar->setCurrentItem(cup->child(1));
        QCOMPARE(bild(form.nodForLag(lag)), mj.ikon(QStringLiteral("Skyttar.ico")));
        cup->setExpanded(false);
        QCOMPARE(bild(cup), mj.ikon(QStringLiteral("ClosedFolder.ico")));
        QVERIFY(mj.f.m.visade.isEmpty());
    }

    // Member entry is open while the team has room: Enter adds, the member
    // that fills the team closes it, a team over its size stays closed, and
    // taking one out opens it when there is room again.
    void medlemsinmatningEfterStorleken() {
        Miljo mj;
        const qint64 a = mj.skytt(QStringLiteral("Ada")), b = mj.skytt(QStringLiteral("Bo")),
                     c = mj.skytt(QStringLiteral("Cecilia"));
        const qint64 lag = mj.lagMed(mj.cup, QStringLiteral("Laget"), {a, b});
        frmLagInskrivning form(mj.f.kontext);
        form.show();
        mj.f.kontext.meddelaAktivering(&form);
        form.tvwLagtavlingar->setCurrentItem(form.nodForLag(lag));
        QVERIFY(form.medlemsinmatningOppen());
        QCOMPARE(form.vbagrLag->antalRader(), 2);

        form.txtNamn->setText(QStringLiteral("cec"));
        mj.f.m.svara(Svar::Ja);
        QTest::keyClick(form.txtNamn, Qt::Key_Return);
        QCOMPARE(mj.lagOchSerier(c), qMakePair(int(lag), 12));
        QCOMPARE(form.vbagrLag->antalRader(), 3);
        QVERIFY(!form.medlemsinmatningOppen());
        QVERIFY(form.txtNamn->text().isEmpty());
        // A disabled box takes no search.
        QTest::keyClick(form.txtNamn, Qt::Key_Return);
        QCOMPARE(mj.f.m.visade.size(), 1);

        // Over its size (lowered after the members came): closed after a click
        // and after "Töm fält".
        mj.db().kor(QStringLiteral("UPDATE Lagtävling SET [Antal skyttar] = 2"));
        form.tvwLagtavlingar->setCurrentItem(form.nodForLagtavling(mj.cup));
        form.tvwLagtavlingar->setCurrentItem(form.nodForLag(lag));
        QVERIFY(!form.medlemsinmatningOppen());
        form.vbagrLag->valjRad(1);
        QTest::mouseClick(form.vbagrLag->viewport(), Qt::LeftButton, {},
                          form.vbagrLag->visualItemRect(form.vbagrLag->item(0, 1)).center());
        QCOMPARE(form.txtNamn->text(), QStringLiteral("Ada"));
        QCOMPARE(form.txtStartNummer->text(), QStringLiteral("7"));
        QVERIFY(form.cmdTaBort->isEnabled() && form.cmdRensaFalt->isEnabled());
        form.cmdRensaFalt->click();
        QVERIFY(!form.medlemsinmatningOppen());
        QVERIFY(form.txtNamn->text().isEmpty());
        QVERIFY(!form.cmdTaBort->isEnabled());

        // Out go two: still full after the first, room after the second.
        for (const bool oppen : {false, true}) {
            form.vbagrLag->valjRad(1);
            form.vbagrLag_Slapp();
            mj.f.m.svara(Svar::Ja);
            form.cmdTaBort->click();
            QCOMPARE(form.medlemsinmatningOppen(), oppen);
        }
        QCOMPARE(Lagmedlemmar::antal(mj.db(), lag), 1);
        QCOMPARE(form.vbagrLag->antalRader(), 1);
        QCOMPARE(form.lblLaget->text(), QStringLiteral("Laget"));
    }

    // A new team is chosen at once with member entry open; deleting the last
    // team of a team competition closes its folder and chooses it.
    void nyttOchRaderatLag() {
        Miljo mj;
        const qint64 s = mj.skytt(QStringLiteral("Sven"));
        frmLagInskrivning form(mj.f.kontext);
        mj.f.kontext.meddelaAktivering(&form);
        QTreeWidgetItem* cup = form.nodForLagtavling(mj.cup);
        QVERIFY(form.cmdNyttLag->isEnabled());
        QVERIFY(!form.cmdTaBortLag->isEnabled());

        mj.f.m.skriv(QStringLiteral(" Nya laget "));
        form.cmdNyttLag->click();
        const qint64 nytt = form.valtLag();
        QVERIFY(nytt != 0);
        QCOMPARE(form.tvwLagtavlingar->currentItem(), form.nodForLag(nytt));
        QCOMPARE(form.nodForLag(nytt)->text(0), QStringLiteral("Nya laget"));
        QCOMPARE(form.nodForLag(nytt)->parent(), cup);
        QVERIFY(cup->isExpanded());
        QCOMPARE(form.lblLaget->text(), QStringLiteral("Nya laget"));
        QVERIFY(form.medlemsinmatningOppen());
        QVERIFY(form.cmdTaBortLag->isEnabled());
        QVERIFY(Lagmedlemmar::laggTill(mj.db(), nytt, s));

        form.cmdTaBortLag->click(); // no
        QVERIFY(Lag::hamta(mj.db(), nytt));
        mj.f.m.svara(Svar::Ja);
        form.cmdTaBortLag->click();
        QVERIFY(!Lag::hamta(mj.db(), nytt));
        QCOMPARE(mj.lagOchSerier(s), qMakePair(0, 0));
        QVERIFY(!form.nodForLag(nytt));
        QCOMPARE(form.tvwLagtavlingar->currentItem(), cup);
        QVERIFY(!cup->isExpanded());
        QCOMPARE(bild(cup), mj.ikon(QStringLiteral("ClosedFolder.ico")));
        QCOMPARE(form.valtLag(), 0);
        QVERIFY(!form.cmdTaBortLag->isEnabled());
        QVERIFY(!form.medlemsinmatningOppen());
        QCOMPARE(form.lblLaget->text(), QStringLiteral("Laget"));
        QVERIFY(form.cmdNyttLag->isEnabled());
    }

    // Coming back to the window starts again at the first team competition,
    // with the grid and the member panel empty, from a team or a team
    // competition chosen further down alike.
    void ateraktiveringBorjarOmVidForsta_data() {
        QTest::addColumn<bool>("lagValt");
        QTest::newRow("lag") << true;
        QTest::newRow("lagtävling") << false;
    }
    void ateraktiveringBorjarOmVidForsta() {
        QFETCH(bool, lagValt);
        Miljo mj;
        const qint64 s = mj.skytt(QStringLiteral("Stina"));
        const qint64 andra = mj.lagtavling(QStringLiteral("Andra"), 3, 60);
        const qint64 lag = mj.lagMed(andra, QStringLiteral("Laget"), {s});
        frmLagInskrivning form(mj.f.kontext);
        mj.f.kontext.meddelaAktivering(&form);
        QCOMPARE(form.valdLagtavling(), mj.cup);
        if (lagValt) {
            form.tvwLagtavlingar->setCurrentItem(form.nodForLag(lag));
            form.vbagrLag->valjRad(1);
            form.vbagrLag_Slapp();
            QCOMPARE(form.txtNamn->text(), QStringLiteral("Stina"));
        } else {
            form.tvwLagtavlingar->setCurrentItem(form.nodForLagtavling(andra));
        }
        QCOMPARE(form.valdLagtavling(), andra);

        mj.f.kontext.meddelaAktivering(&form);
        QCOMPARE(form.valdLagtavling(), mj.cup);
        QCOMPARE(form.tvwLagtavlingar->currentItem(), form.nodForLagtavling(mj.cup));
        QCOMPARE(form.lblLagtavlingOverskrift->text(), QStringLiteral("Cup"));
        QCOMPARE(form.lblLaget->text(), QStringLiteral("Laget"));
        QCOMPARE(form.valtLag(), 0);
        QCOMPARE(form.vbagrLag->antalRader(), 0);
        QVERIFY(form.txtNamn->text().isEmpty() && form.txtStartNummer->text().isEmpty());
        QVERIFY(!form.medlemsinmatningOppen());
        QVERIFY(!form.cmdTaBort->isEnabled() && !form.cmdRensaFalt->isEnabled());
        QVERIFY(!form.cmdTaBortLag->isEnabled() && form.cmdNyttLag->isEnabled());
        QVERIFY(mj.f.m.visade.isEmpty());
    }

    // While the window is open, settings and registration are off; closing
    // gives them back with the print menu that the menu command took.
    void menyerMedanFonstretArOppet() {
        Miljo mj;
        Registreringsfonster::registrera(mj.f.delar());
        for (Meny meny : {Meny::mnuInstallningar, Meny::mnuInskrivning})
            mj.f.fonster.sattMeny(meny, true);
        mj.f.fonster.sattMeny(Meny::mnuUtskrift, false);
        QPointer<QWidget> form = mj.f.fonster.visaFonster(Fonsternamn::LagInskrivning);
        QVERIFY(qobject_cast<frmLagInskrivning*>(form.data()));
        QCOMPARE(form->windowTitle(), QStringLiteral("Lag inskrivning"));
        QVERIFY(!mj.f.fonster.menyPa(Meny::mnuInstallningar));
        QVERIFY(!mj.f.fonster.menyPa(Meny::mnuInskrivning));
        QTest::mouseClick(qobject_cast<frmLagInskrivning*>(form.data())->cmdAterga, Qt::LeftButton);
        QTRY_VERIFY(!form);
        for (Meny meny : {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning})
            QVERIFY(mj.f.fonster.menyPa(meny));
        QVERIFY(mj.f.m.visade.isEmpty());
    }

    // A team competition gone from under the window: the new team is not
    // made, the failure is told and the window closes.
    void nyttLagUtanLagtavling() {
        Miljo mj;
        Registreringsfonster::registrera(mj.f.delar());
        QPointer<frmLagInskrivning> form =
            qobject_cast<frmLagInskrivning*>(mj.f.fonster.visaFonster(Fonsternamn::LagInskrivning));
        mj.f.kontext.meddelaAktivering(form);
        mj.db().kor(QStringLiteral("DELETE FROM Lagtävling"));
        mj.f.m.skriv(QStringLiteral("Laget"));
        form->cmdNyttLag->click();
        QCOMPARE(mj.f.m.senasteText(),
                 QStringLiteral("frmLagInskrivning.cmdNyttLag.Click 3021 Lagtävlingen finns inte längre."));
        QCOMPARE(mj.f.m.visade.last().ikon, Ikon::Kritisk);
        QTRY_VERIFY(!form);
        QCOMPARE(mj.antalLag(), 0);
        QVERIFY(mj.f.fonster.menyPa(Meny::mnuInskrivning));
    }
};

QTEST_MAIN(TestLag)
#include "test_lag.moc"
