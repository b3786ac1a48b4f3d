#include "app/Delsystem.h"
#include "app/MDIfrmHuvudmeny.h"
#include "common/IniNamn.h"
#include "shell/Fonsternamn.h"
#include "shell/Tavling.h"
#include "support/Testfixtur.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

// Every registered window in the real main window: opened as the program
// opens it and closed in each way the operator can close it (its own button,
// its frame's X, closing the competition, leaving the program). Each way gives
// the menu back as it was and leaves no frame behind.
class T_Fonstervard : public QObject {
    Q_OBJECT

    struct Miljo : Testfixtur {
        std::unique_ptr<MDIfrmHuvudmeny> f;
        QString fil;
        explicit Miljo(bool oppnaTavling) {
            fil = skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 2, 3);
            QVERIFY2(
                g.iniTavling.WriteKey(Ini::Lagtavling.sektion, Ini::Lagtavling.nyckel, QStringLiteral("1")),
                "");
            Tavling::stang(g);
            f = std::make_unique<MDIfrmHuvudmeny>(g, m, dialoger, ledigPort(), QHostAddress::LocalHost);
            registreraDelsystem(f->programdelar());
            f->MDIForm_Load(nullptr, 1);
            f->show();
            QApplication::setActiveWindow(f.get());
            (void)QTest::qWaitForWindowActive(f.get());
            if (oppnaTavling)
                oppna();
        }
        void oppna() {
            dialoger.filer.enqueue(fil);
            f->menyval(Meny::mnuOppna)->trigger();
            // The information window the opening shows goes first.
            f->stangAllaBarn();
            rensa();
        }
        QList<bool> menyer() const {
            QList<bool> l;
            for (const Menystart& post : menytrad)
                l << f->vard().menyPa(post.meny) << f->vard().menySynlig(post.meny);
            return l;
        }
        int ramar() const {
            rensa();
            return int(f->mdiYta()->subWindowList().size());
        }
        static void rensa() {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    };

    // How each window opens, and the button that closes it (none: only its frame).
    struct Fonster {
        const char* namn;
        std::function<QWidget*(Fonstervard&)> oppna;
        const char* knapp;
        bool tavlingOppen = true;
        bool rorMenyer = true;
    };
    static QList<Fonster> fonster() {
        return {
            {"frmNyTavling", [](Fonstervard& v) { return v.visaFonster(Fonsternamn::NyTavling); },
             "cmdAvbryt", false},
            {"frmInstallningar", [](Fonstervard& v) { return v.visaFonster(Fonsternamn::Installningar); },
             "cmdOK"},
            {"frmInskrivningSkyttar",
             [](Fonstervard& v) { return v.visaFonster(Fonsternamn::InskrivningSkyttar); }, "cmdAterga"},
            {"frmLagInskrivning", [](Fonstervard& v) { return v.visaFonster(Fonsternamn::LagInskrivning); },
             "cmdAterga"},
            {"frmResultatInskrivning",
             [](Fonstervard& v) {
                 return v.visaFonster(Fonsternamn::ResultatInskrivning, Skjutlagsbegaran{2});
             },
             "cmdAterga"},
            {"frmKonfigAskSkarm", [](Fonstervard& v) { return v.visaFonster(Fonsternamn::KonfigAskSkarm); },
             "cmdOK", true, false},
            {"frmVisaAskSkarm", [](Fonstervard& v) { return v.visaFonster(Fonsternamn::VisaAskSkarm); },
             "cmdAvbryt"},
            {"frmValResSkarmGrund",
             [](Fonstervard& v) { return v.visaFonster(Fonsternamn::ValResSkarmGrund, Utskriftsmal::Skarm); },
             "cmdAvbryt"},
            {"frmResSkarmGrund", [](Fonstervard& v) { return v.visaFonster(Fonsternamn::ResSkarmGrund); },
             "cmdOK", true, false},
            {"frmUtskriftSkjutlag",
             [](Fonstervard& v) { return v.visaFonster(Fonsternamn::UtskriftSkjutlag, Utskriftsmal::Fil); },
             "cmdAngra"},
            {"frmLagutskrift",
             [](Fonstervard& v) { return v.visaFonster(Fonsternamn::Lagutskrift, Utskriftsmal::Fil); },
             "cmdAvbryt"},
            {"frmOppnat", [](Fonstervard& v) { return v.visaFonster(Fonsternamn::Oppnat); }, nullptr, true,
             false},
            {"frmForeningsutskrift",
             [](Fonstervard& v) { return v.visaFonster(Fonsternamn::Foreningsutskrift, Utskriftsmal::Fil); },
             "cmdAngra"},
        };
    }

    enum class Satt { Knapp, Ram, Tavlingen, Programmet };

private slots:
    void stangningGerTillbakaMenyerna_data() {
        QTest::addColumn<int>("fall");
        QTest::addColumn<int>("satt");
        const QList<Fonster> alla = fonster();
        for (int i = 0; i < alla.size(); ++i) {
            const QByteArray namn(alla[i].namn);
            if (alla[i].knapp)
                QTest::newRow(namn + " knapp") << i << int(Satt::Knapp);
            QTest::newRow(namn + " ram") << i << int(Satt::Ram);
            if (alla[i].tavlingOppen)
                QTest::newRow(namn + " tävlingen") << i << int(Satt::Tavlingen);
            QTest::newRow(namn + " programmet") << i << int(Satt::Programmet);
        }
    }
    void stangningGerTillbakaMenyerna() {
        QFETCH(int, fall);
        QFETCH(int, satt);
        const Fonster fonster = T_Fonstervard::fonster()[fall];
        Miljo mj(fonster.tavlingOppen);
        // What closing the competition leaves, with no window open.
        QList<bool> utanTavling;
        if (fonster.tavlingOppen) {
            QVERIFY(mj.f->stangTavling());
            utanTavling = mj.menyer();
            mj.oppna();
        } else {
            utanTavling = mj.menyer();
        }
        const QList<bool> fore = mj.menyer();
        QCOMPARE(mj.ramar(), 0);

        QWidget* w = fonster.oppna(mj.f->vard());
        QVERIFY(w);
        QCOMPARE(mj.ramar(), 1);
        QVERIFY(mj.menyer() != fore || !fonster.rorMenyer);

        switch (Satt(satt)) {
        case Satt::Knapp: {
            auto* knapp = w->findChild<QAbstractButton*>(QString::fromLatin1(fonster.knapp));
            QVERIFY(knapp);
            knapp->click();
            QCOMPARE(mj.ramar(), 0);
            QCOMPARE(mj.menyer(), fore);
            break;
        }
        case Satt::Ram:
            QVERIFY(qobject_cast<QMdiSubWindow*>(w->parentWidget())->close());
            QCOMPARE(mj.ramar(), 0);
            QCOMPARE(mj.menyer(), fore);
            break;
        case Satt::Tavlingen:
            mj.f->menyval(Meny::mnuStang)->trigger();
            QCOMPARE(mj.ramar(), 0);
            QCOMPARE(mj.menyer(), utanTavling);
            break;
        case Satt::Programmet:
            QVERIFY(mj.f->close());
            QCOMPARE(mj.ramar(), 0);
            break;
        }
        QVERIFY(!mj.f->vard().fonster(QString::fromLatin1(fonster.namn)));
    }

    // "&Tabort filnamn" in the settings empties the recent items of the main
    // menu, captions too, so that nothing of them can come back.
    void tomdaSenasteFilerForsvinnerHelt() {
        Miljo mj(true);
        QVERIFY(mj.f->vard().menySynlig(mnuFil(1)));
        QVERIFY(mj.f->menyval(mnuFil(1))->text().endsWith(QStringLiteral("Cup.air")));
        QWidget* w = mj.f->vard().visaFonster(Fonsternamn::Installningar);
        QVERIFY(w);
        mj.m.svara(Meddelanden::Svar::Ja);
        w->findChild<QAbstractButton*>(QStringLiteral("cmdRensaArkivMeny"))->click();
        QCOMPARE(mj.m.visade.back().text, QStringLiteral("Är du säker att du vill tabort filnamnen?"));
        QVERIFY(!mj.f->vard().menySynlig(mnuFil(1)) && !mj.f->vard().menySynlig(Meny::mnuLineFiler));
        QVERIFY(mj.f->menyval(mnuFil(1))->text().isEmpty());
    }

    // The three result-list items open the class-choice dialog for their
    // output kind, at its place and fixed size in the main window.
    void resultatlistansMenyval_data() {
        QTest::addColumn<int>("meny");
        QTest::addColumn<QString>("knapp");
        QTest::newRow("skärm") << int(Meny::mnuResGrund) << QStringLiteral("&Visa");
        QTest::newRow("skrivare") << int(Meny::mnuResGrundPrinter) << QStringLiteral("&Skriv ut");
        QTest::newRow("fil") << int(Meny::mnuResGrundFil) << QStringLiteral("&Spara");
    }
    void resultatlistansMenyval() {
        QFETCH(int, meny);
        QFETCH(QString, knapp);
        Miljo mj(true);
        mj.f->menyval(Meny(meny))->trigger();
        QWidget* w = mj.f->vard().fonster(Fonsternamn::ValResSkarmGrund);
        QVERIFY(w);
        QCOMPARE(w->findChild<QAbstractButton*>(QStringLiteral("cmdVisa"))->text(), knapp);
        auto* ram = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        QVERIFY(ram);
        ram->move(200, 100);
        ram->showMaximized();
        QMdiSubWindow* annan = mj.f->mdiYta()->addSubWindow(new QWidget);
        annan->show();
        mj.f->mdiYta()->setActiveSubWindow(annan);
        mj.f->mdiYta()->setActiveSubWindow(ram);
        QCOMPARE(ram->geometry(), QRect(0, 0, 236, 387));
        QCOMPARE(ram->minimumSize(), ram->maximumSize());
    }

    // The printout dialogs open in the main window at their own size, not
    // shrunk to a bare title bar.
    void utskriftsdialogernasStorlek_data() {
        QTest::addColumn<int>("meny");
        QTest::addColumn<QString>("namn");
        QTest::addColumn<QSize>("storlek");
        QTest::newRow("föreningslista")
            << int(Meny::mnuForeningslistaFil) << QStringLiteral("frmForeningsutskrift")
            << QSize(4800 / 15, 3810 / 15);
    }
    void utskriftsdialogernasStorlek() {
        QFETCH(int, meny);
        QFETCH(QString, namn);
        QFETCH(QSize, storlek);
        Miljo mj(true);
        mj.f->menyval(Meny(meny))->trigger();
        QWidget* w = mj.f->vard().fonster(namn);
        QVERIFY(w);
        auto* ram = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        QVERIFY(ram);
        QCOMPARE(ram->size(), storlek);
        QVERIFY(!ram->isMinimized());
    }

    // The menus follow the windows still open: a window closing while a
    // list's dialog is open gives back none of the items the dialog holds,
    // whether it opened before the dialog or after.
    void menyernaFoljerDeOppnaFonstren_data() {
        QTest::addColumn<QString>("annat");
        QTest::addColumn<bool>("fore");
        QTest::newRow("inställningar före listan") << QStringLiteral("frmInstallningar") << true;
        QTest::newRow("inskrivning av skyttar under listan")
            << QStringLiteral("frmInskrivningSkyttar") << false;
    }
    void menyernaFoljerDeOppnaFonstren() {
        QFETCH(QString, annat);
        QFETCH(bool, fore);
        Miljo mj(true);
        const auto oppnaAnnat = [&] {
            return annat == QStringLiteral("frmInstallningar")
                       ? mj.f->vard().visaFonster(Fonsternamn::Installningar)
                       : mj.f->vard().visaFonster(Fonsternamn::InskrivningSkyttar);
        };
        QWidget* w = fore ? oppnaAnnat() : nullptr;
        mj.f->menyval(Meny::mnuForeningslistaFil)->trigger();
        QVERIFY(mj.f->vard().fonster(Fonsternamn::Foreningsutskrift));
        if (!fore)
            w = oppnaAnnat();
        QVERIFY(w);
        QVERIFY(qobject_cast<QMdiSubWindow*>(w->parentWidget())->close());
        const QList<Meny> halls{Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning};
        for (const Meny meny : halls)
            QVERIFY2(!mj.f->vard().menyPa(meny), menytrad[size_t(meny)].kontroll);
        QVERIFY(mj.f->stangAllaBarn());
        for (const Meny meny : halls)
            QVERIFY(mj.f->vard().menyPa(meny));
    }

    // A list's dialog opened under Fil and chosen again under Skrivare
    // prints: its button makes the printed list (kept as _Printer, the print
    // itself refused here for want of the printer) and saves no _Fil list.
    void listanValdIgenTarDetNyaMalet_data() {
        QTest::addColumn<int>("fil");
        QTest::addColumn<int>("skrivare");
        QTest::addColumn<QString>("namn");
        QTest::addColumn<QString>("knapp");
        QTest::addColumn<QString>("stam");
        QTest::newRow("föreningslista") << int(Meny::mnuForeningslistaFil) << int(Meny::mnuForeningslista)
                                        << QStringLiteral("frmForeningsutskrift") << QStringLiteral("cmdAlla")
                                        << QStringLiteral("Föreningslista");
        QTest::newRow("skjutlagslista") << int(Meny::mnuSkjutlagslistaFil) << int(Meny::mnuSkjutlagslista)
                                        << QStringLiteral("frmUtskriftSkjutlag") << QStringLiteral("cmdAlla")
                                        << QStringLiteral("Skjutlagslista");
        QTest::newRow("resultatlista") << int(Meny::mnuResGrundFil) << int(Meny::mnuResGrundPrinter)
                                       << QStringLiteral("frmValResSkarmGrund") << QStringLiteral("cmdVisa")
                                       << QStringLiteral("ResultatlistaOmg1");
        QTest::newRow("lagutskrift med omgångar")
            << int(Meny::mnuLagutskriftFil) << int(Meny::mnuLagutskrift) << QStringLiteral("frmLagutskrift")
            << QStringLiteral("cmdOK") << QStringLiteral("LagutskriftOmg1");
    }
    void listanValdIgenTarDetNyaMalet() {
        QFETCH(int, fil);
        QFETCH(int, skrivare);
        QFETCH(QString, namn);
        QFETCH(QString, knapp);
        QFETCH(QString, stam);
        Miljo mj(true);
        mj.g.strValdSkrivare = QStringLiteral("Pilkrona provskrivare som inte finns");
        // The team dialog stays open only when the competition has rounds; the
        // lists of a round carry its number.
        mj.g.blnFleraTavlingar = true;
        mj.g.cnnTavling.kor(
            QStringLiteral("INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (1, 'Första')"));
        mj.f->menyval(Meny(fil))->trigger();
        QWidget* w = mj.f->vard().fonster(namn);
        QVERIFY(w);
        mj.f->menyval(Meny(skrivare))->trigger();
        QCOMPARE(mj.f->vard().fonster(namn), w);
        mj.f->vard().kontext().meddelaAktivering(w);
        mj.m.tom();
        w->findChild<QAbstractButton*>(knapp)->click();
        const QString utskrifter = mj.g.strTavlingsmapp + QStringLiteral("Utskrifter/") + stam;
        QVERIFY(QFile::exists(utskrifter + QStringLiteral("_Printer.xlsx")));
        QVERIFY(!QFile::exists(utskrifter + QStringLiteral("_Fil.xlsx")));
        for (const TestMeddelanden::Visat& v : std::as_const(mj.m.visade))
            QVERIFY2(!v.text.startsWith(QStringLiteral("Filen spardes i:")), qPrintable(v.text));
    }

    // A window already open comes forward at its own size, from a normal or
    // a minimized frame, not shrunk to its title bar.
    void fonstretKommerFramISinStorlek_data() {
        QTest::addColumn<int>("meny");
        QTest::addColumn<QString>("namn");
        QTest::addColumn<bool>("minimerad");
        for (const bool minimerad : {false, true}) {
            const QByteArray lage = minimerad ? " minimerad" : "";
            QTest::newRow("föreningslista" + lage)
                << int(Meny::mnuForeningslistaFil) << QStringLiteral("frmForeningsutskrift") << minimerad;
            QTest::newRow("resultatlista" + lage)
                << int(Meny::mnuResGrundFil) << QStringLiteral("frmValResSkarmGrund") << minimerad;
            QTest::newRow("inställningar" + lage)
                << int(Meny::mnuInstallningar) << QStringLiteral("frmInstallningar") << minimerad;
        }
    }
    void fonstretKommerFramISinStorlek() {
        QFETCH(int, meny);
        QFETCH(QString, namn);
        QFETCH(bool, minimerad);
        Miljo mj(true);
        mj.f->menyval(Meny(meny))->trigger();
        QWidget* w = mj.f->vard().fonster(namn);
        QVERIFY(w);
        auto* ram = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        const QRect fore = ram->geometry();
        if (minimerad)
            ram->showMinimized();
        mj.f->vard().visaFonster(Fonsterid<Utskriftsmal>{namn}, Utskriftsmal::Fil);
        QCOMPARE(ram->geometry(), fore);
        QVERIFY(!ram->isMinimized());
        QCOMPARE(mj.f->mdiYta()->activeSubWindow(), ram);
    }

    // A list built at once: its items are off while it runs, and given back by
    // the host when it fails (the builder gives them back itself otherwise).
    void listbyggareSomFallerGerTillbakaMenyerna() {
        Miljo mj(true);
        bool avUnderBygget = false;
        mj.f->vard().registreraListbyggare(Fonsternamn::VandringsprisLista,
                                           [&](Formkontext& k, const Utskriftsmal& mal) {
                                               avUnderBygget = !k.fonster().menyPa(Meny::mnuUtskrift) &&
                                                               mal == Utskriftsmal::Fil;
                                               throw Fel(1004, QStringLiteral("Ingen skrivare"));
                                           },
                                           {.avVidOppning = {Meny::mnuInskrivning, Meny::mnuUtskrift},
                                            .paVidStangning = {Meny::mnuInskrivning, Meny::mnuUtskrift}});
        mj.f->menyval(Meny::mnuResVandringsprisFil)->setVisible(true);
        mj.f->menyval(Meny::mnuResVandringsprisFil)->trigger();
        QVERIFY(avUnderBygget);
        QCOMPARE(mj.m.senasteText(),
                 QStringLiteral("MDIfrmHuvudmeny.SkrivVandringsprisLista 1004 Ingen skrivare"));
        QVERIFY(mj.f->vard().menyPa(Meny::mnuInskrivning) && mj.f->vard().menyPa(Meny::mnuUtskrift));
    }

    // The challenge-prize list from its menu: saved or failed, the menu is as
    // it was before.
    void vandringsprislistanGerTillbakaMenyerna_data() {
        QTest::addColumn<QString>("antalSkott");
        QTest::addColumn<QString>("borjan");
        QTest::newRow("sparad") << QStringLiteral("40") << QStringLiteral("Filen spardes i:");
        QTest::newRow("fel") << QStringLiteral("x")
                             << QStringLiteral("MDIfrmHuvudmeny.SkrivVandringsprisLista.. ");
    }
    void vandringsprislistanGerTillbakaMenyerna() {
        QFETCH(QString, antalSkott);
        QFETCH(QString, borjan);
        Miljo mj(true);
        QVERIFY(mj.g.iniTavling.WriteKey(Ini::VandringsprisAntalSkott.sektion,
                                         Ini::VandringsprisAntalSkott.nyckel, antalSkott));
        mj.f->menyval(Meny::mnuResVandringsprisFil)->setVisible(true);
        const QList<bool> fore = mj.menyer();
        mj.m.tom();
        mj.f->menyval(Meny::mnuResVandringsprisFil)->trigger();
        QCOMPARE(mj.m.visade.size(), 1);
        QVERIFY2(mj.m.senasteText().startsWith(borjan), qPrintable(mj.m.senasteText()));
        QCOMPARE(mj.menyer(), fore);
    }
};

QTEST_MAIN(T_Fonstervard)
#include "test_fonstervard.moc"
