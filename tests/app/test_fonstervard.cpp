#include "app/Delsystem.h"
#include "app/MDIfrmHuvudmeny.h"
#include "common/IniNamn.h"
#include "shell/Fonsternamn.h"
#include "shell/Tavling.h"
#include "support/Testfixtur.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

Q_DECLARE_METATYPE(Utskriftsmal)

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

    // A form with a field whose Enter sends the focus on to a button, a plain
    // field, that button and OK; each button tells when it is pressed. The
    // buttons are no dialog's automatic default, as the wizards' are not.
    static void byggProv(QWidget* w, QStringList& tryckta) {
        auto* l = new QVBoxLayout(w);
        const auto del = [&]<class T>(T* d, const char* namn) {
            d->setObjectName(QLatin1String(namn));
            l->addWidget(d);
            return d;
        };
        auto* vidare = del(new QLineEdit(w), "txtVidare");
        del(new QLineEdit(w), "txtFalt");
        auto* knapp = del(new QPushButton(w), "cmdTryck");
        QObject::connect(vidare, &QLineEdit::returnPressed, knapp, [knapp] { knapp->setFocus(); });
        for (QPushButton* b : {knapp, del(new QPushButton(w), "cmdOK")}) {
            b->setAutoDefault(false);
            QObject::connect(b, &QPushButton::clicked, b, [b, &tryckta] { tryckta << b->objectName(); });
        }
    }

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

    // Enter presses the button that has the focus, Return and the keypad's
    // Enter alike, in a child window of the main window and in a modal dialog,
    // where the dialog's default button yields to it; with the focus on a
    // field the dialog's default button is pressed as before. A field whose
    // Enter sends the focus on to a button has had its Enter: the button is
    // not pressed as well. The squad list's "Återgå" closes its window. Only
    // Enter does it: not another key, nor Enter with Ctrl or Shift, nor an
    // Enter held down. The keys come as the platform's do, to the window
    // first and from it to the widget with the focus.
    void enterTryckerKnappenMedFokus_data() {
        QTest::addColumn<QString>("fonster");
        QTest::addColumn<QString>("fokus");
        QTest::addColumn<int>("tangent");
        QTest::addColumn<int>("tillagg");
        QTest::addColumn<int>("upprepningar"); // of the press while the key is held
        QTest::addColumn<QStringList>("tryckta");
        const QStringList tryck{QStringLiteral("cmdTryck")};
        const QList<std::tuple<const char*, Qt::Key, Qt::KeyboardModifiers>> tangenter = {
            {"Return", Qt::Key_Return, Qt::NoModifier}, {"Enter", Qt::Key_Enter, Qt::KeypadModifier}};
        for (const auto& [namn, tangent, tillagg] : tangenter) {
            const auto rad = [&, namn = namn, tangent = tangent,
                              tillagg = tillagg](const char* fall, const char* fonster, const char* fokus,
                                                 const QStringList& tryckta) {
                QTest::addRow("%s, %s", fall, namn)
                    << QString::fromLatin1(fonster) << QString::fromLatin1(fokus) << int(tangent)
                    << int(tillagg) << 0 << tryckta;
            };
            rad("barnfönster", "barn", "cmdTryck", tryck);
            rad("modal dialog", "dialog", "cmdTryck", tryck);
            rad("fält i dialog", "dialog", "txtFalt", {QStringLiteral("cmdOK")});
            rad("fält som går vidare", "barn", "txtVidare", {});
            rad("skjutlagslistans Återgå", "skjutlagslista", "cmdAngra", {QStringLiteral("cmdAngra")});
        }
        const auto knapp = [](const char* fall, Qt::Key tangent, Qt::KeyboardModifiers tillagg,
                              int upprepningar, const QStringList& tryckta) {
            QTest::newRow(fall) << QStringLiteral("barn") << QStringLiteral("cmdTryck") << int(tangent)
                                << int(tillagg) << upprepningar << tryckta;
        };
        knapp("barnfönster, Ctrl+Return", Qt::Key_Return, Qt::ControlModifier, 0, {});
        knapp("barnfönster, Shift+Return", Qt::Key_Return, Qt::ShiftModifier, 0, {});
        knapp("barnfönster, X", Qt::Key_X, Qt::NoModifier, 0, {});
        knapp("barnfönster, Return hålls nere", Qt::Key_Return, Qt::NoModifier, 2, tryck);
    }
    void enterTryckerKnappenMedFokus() {
        QFETCH(QString, fonster);
        QFETCH(QString, fokus);
        QFETCH(int, tangent);
        QFETCH(int, tillagg);
        QFETCH(int, upprepningar);
        QFETCH(QStringList, tryckta);
        const bool lista = fonster == QLatin1String("skjutlagslista");
        Miljo mj(lista);
        QStringList fick;
        QPointer<QWidget> fokusEfter;
        const auto tryck = [&](QWidget* w) {
            QVERIFY(w);
            const QPointer<QWidget> fonstret(w);
            auto* f = w->findChild<QWidget*>(fokus);
            QVERIFY(f);
            f->setFocus();
            QWindow* fonster = w->window()->windowHandle();
            QVERIFY(fonster);
            const auto k = Qt::Key(tangent);
            const auto t = Qt::KeyboardModifiers(tillagg);
            QTest::keyPress(fonster, k, t);
            for (int i = 0; i < upprepningar; ++i)
                QTest::simulateEvent(fonster, true, k, t, QString(QLatin1Char(QTest::keyToAscii(k))), true);
            QTest::keyRelease(fonster, k, t);
            // The squad list's "Återgå" has closed its window by now.
            if (fonstret)
                fokusEfter = fonstret->focusWidget();
        };
        const Fonsterid<IngenBegaran> prov{QStringLiteral("frmProv")};
        if (fonster == QLatin1String("dialog")) {
            mj.f->vard().registreraDialog(prov, [&](Formkontext& k) {
                QDialog d(k.fonster().dialogforalder());
                byggProv(&d, fick);
                d.findChild<QPushButton*>(QStringLiteral("cmdOK"))->setDefault(true);
                QTimer::singleShot(0, &d, [&] {
                    tryck(&d);
                    d.reject();
                });
                return k.fonster().korDialog(prov, d) == QDialog::Accepted;
            });
            mj.f->vard().visaDialog(prov);
        } else if (lista) {
            QWidget* w = mj.f->vard().visaFonster(Fonsternamn::UtskriftSkjutlag, Utskriftsmal::Fil);
            auto* aterga = w ? w->findChild<QPushButton*>(QStringLiteral("cmdAngra")) : nullptr;
            QVERIFY(aterga);
            connect(aterga, &QPushButton::clicked, aterga, [&fick] { fick << QStringLiteral("cmdAngra"); });
            tryck(w);
            QCOMPARE(mj.ramar(), 0);
        } else {
            mj.f->vard().registreraFonster(prov, [&](Formkontext&) {
                auto* w = new QWidget;
                byggProv(w, fick);
                return w;
            });
            tryck(mj.f->vard().visaFonster(prov));
            if (fokus == QLatin1String("txtVidare"))
                QCOMPARE(fokusEfter ? fokusEfter->objectName() : QString(), QStringLiteral("cmdTryck"));
        }
        QCOMPARE(fick, tryckta);
    }

    // The keyboard follows the window's tab order. Tab and Shift+Tab leave a
    // grid for the controls around it. The arrows go through an option group
    // laid out 1 3 5 over 2 4 in its order, round from the last to the first.
    // A child window opens with the focus on its first control that can take
    // it (the squad list's "Välj", the result list's "Alla klasser"), and the
    // button that made a list has it again after the list is saved.
    void tangentbordetFoljerTabbordningen_data() {
        QTest::addColumn<QString>("fonster");
        QTest::addColumn<QString>("fran"); // none: as the window opened
        QTest::addColumn<int>("tangent");
        QTest::addColumn<QString>("till");
        const auto rad = [](const char* fall, const char* fonster, const char* fran, Qt::Key tangent,
                            const char* till) {
            QTest::newRow(fall) << QString::fromLatin1(fonster) << QString::fromLatin1(fran) << int(tangent)
                                << QString::fromLatin1(till);
        };
        rad("rutnät, Tab", "prov", "rutnat", Qt::Key_Tab, "cmdEfter");
        rad("rutnät, Shift+Tab", "prov", "rutnat", Qt::Key_Backtab, "txtFore");
        rad("ned från 2", "prov", "opt2", Qt::Key_Down, "opt3");
        rad("höger från 2", "prov", "opt2", Qt::Key_Right, "opt3");
        rad("upp från 3", "prov", "opt3", Qt::Key_Up, "opt2");
        rad("vänster från 3", "prov", "opt3", Qt::Key_Left, "opt2");
        rad("ned från 5", "prov", "opt5", Qt::Key_Down, "opt1");
        rad("barnfönster öppnas", "prov", "", Qt::Key_unknown, "txtFore");
        rad("Utskrift skjutlag öppnas", "frmUtskriftSkjutlag", "", Qt::Key_unknown, "cmdValj");
        rad("Resultat grundomg. öppnas", "frmValResSkarmGrund", "", Qt::Key_unknown, "optAlla");
        rad("Utskrift skjutlag, Alla", "frmUtskriftSkjutlag", "cmdAlla", Qt::Key_Space, "cmdAlla");
    }
    void tangentbordetFoljerTabbordningen() {
        QFETCH(QString, fonster);
        QFETCH(QString, fran);
        QFETCH(int, tangent);
        QFETCH(QString, till);
        const bool prov = fonster == QLatin1String("prov");
        Miljo mj(!prov);
        const Fonsterid<IngenBegaran> provet{QStringLiteral("frmProv")};
        mj.f->vard().registreraFonster(provet, [](Formkontext&) {
            // A hidden field first in tab order, a field, a grid, a button
            // after it, and an option group laid out 1 3 5 over 2 4.
            auto* w = new QWidget;
            auto* l = new QGridLayout(w);
            const auto del = [l](QWidget* d, const QString& namn, int rad, int kolumn, int bredd = 3) {
                d->setObjectName(namn);
                l->addWidget(d, rad, kolumn, 1, bredd);
                return d;
            };
            del(new QLineEdit, QStringLiteral("txtDold"), 0, 0)->hide();
            del(new QLineEdit, QStringLiteral("txtFore"), 1, 0);
            del(new QTableWidget(3, 3), QStringLiteral("rutnat"), 2, 0);
            del(new QPushButton, QStringLiteral("cmdEfter"), 3, 0);
            auto* grupp = new QButtonGroup(w);
            for (int i = 1; i <= 5; ++i)
                grupp->addButton(static_cast<QRadioButton*>(
                    del(new QRadioButton, QStringLiteral("opt%1").arg(i), 4 + (i - 1) % 2, (i - 1) / 2, 1)));
            return w;
        });
        QWidget* w = prov ? mj.f->vard().visaFonster(provet)
                     : fonster == QLatin1String("frmUtskriftSkjutlag")
                         ? mj.f->vard().visaFonster(Fonsternamn::UtskriftSkjutlag, Utskriftsmal::Fil)
                         : mj.f->vard().visaFonster(Fonsternamn::ValResSkarmGrund, Utskriftsmal::Skarm);
        QVERIFY(w);
        Miljo::rensa();
        if (!fran.isEmpty()) {
            auto* f = w->findChild<QWidget*>(fran);
            QVERIFY(f);
            f->setFocus();
            QTest::keyClick(f, Qt::Key(tangent),
                            tangent == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        }
        // The window manager gives the main window the keyboard back once the
        // status window of a list has gone.
        QApplication::setActiveWindow(mj.f.get());
        const QWidget* fokus = QApplication::focusWidget();
        QCOMPARE(fokus ? fokus->objectName() : QString(), till);
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

    // A list's dialog opened under one output kind and chosen again under
    // another, either way, takes the new kind: its icon, in its frame too,
    // the result list's question and button, and what its button makes (a
    // printed list kept as _Printer, the print itself refused here for want
    // of the printer; a saved _Fil list; the list on screen).
    void listanValdIgenTarDetNyaMalet_data() {
        QTest::addColumn<int>("fore");
        QTest::addColumn<int>("efter");
        QTest::addColumn<Utskriftsmal>("mal"); // what efter chooses
        QTest::addColumn<QString>("namn");
        QTest::addColumn<QString>("knapp");
        QTest::addColumn<QString>("stam");
        struct Lista {
            const char* rad;
            QList<std::pair<Utskriftsmal, Meny>> menyer;
            const char* namn;
            const char* knapp;
            const char* stam;
        };
        using M = Utskriftsmal;
        const QList<Lista> listor = {
            {"föreningslista",
             {{M::Fil, Meny::mnuForeningslistaFil}, {M::Printer, Meny::mnuForeningslista}},
             "frmForeningsutskrift",
             "cmdAlla",
             "Föreningslista"},
            {"skjutlagslista",
             {{M::Fil, Meny::mnuSkjutlagslistaFil}, {M::Printer, Meny::mnuSkjutlagslista}},
             "frmUtskriftSkjutlag",
             "cmdAlla",
             "Skjutlagslista"},
            {"lagutskrift med omgångar",
             {{M::Fil, Meny::mnuLagutskriftFil}, {M::Printer, Meny::mnuLagutskrift}},
             "frmLagutskrift",
             "cmdOK",
             "LagutskriftOmg1"},
            {"resultatlista",
             {{M::Fil, Meny::mnuResGrundFil},
              {M::Printer, Meny::mnuResGrundPrinter},
              {M::Skarm, Meny::mnuResGrund}},
             "frmValResSkarmGrund",
             "cmdVisa",
             "ResultatlistaOmg1"},
        };
        for (const Lista& l : listor)
            for (const auto& [franMal, fran] : l.menyer)
                for (const auto& [tillMal, till] : l.menyer)
                    if (fran != till)
                        QTest::addRow("%s, %s till %s", l.rad, qPrintable(text(franMal)),
                                      qPrintable(text(tillMal)))
                            << int(fran) << int(till) << tillMal << QString::fromUtf8(l.namn)
                            << QString::fromLatin1(l.knapp) << QString::fromUtf8(l.stam);
    }
    void listanValdIgenTarDetNyaMalet() {
        QFETCH(int, fore);
        QFETCH(int, efter);
        QFETCH(Utskriftsmal, mal);
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
        mj.f->menyval(Meny(fore))->trigger();
        QWidget* w = mj.f->vard().fonster(namn);
        QVERIFY(w);
        mj.f->menyval(Meny(efter))->trigger();
        QCOMPARE(mj.f->vard().fonster(namn), w);

        const QIcon ikon(
            QDir(mj.g.strProgrammapp)
                .filePath(mal == Utskriftsmal::Printer ? QStringLiteral("Grafik/Ikoner/Printer.ico")
                          : mal == Utskriftsmal::Fil   ? QStringLiteral("Grafik/Ikoner/Disk.ico")
                                                       : QStringLiteral("Grafik/Ikoner/Skärm.ico")));
        QVERIFY(!ikon.isNull());
        QCOMPARE(w->windowIcon().pixmap(32).toImage(), ikon.pixmap(32).toImage());
        QCOMPARE(w->parentWidget()->windowIcon().pixmap(32).toImage(), ikon.pixmap(32).toImage());
        if (namn == QLatin1String("frmValResSkarmGrund")) {
            const QString gor = mal == Utskriftsmal::Printer ? QStringLiteral("skrivas ut")
                                : mal == Utskriftsmal::Fil   ? QStringLiteral("sparas")
                                                             : QStringLiteral("visas");
            QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblTavlingsOmg"))->text(),
                     QStringLiteral("Vilken tävlingsomgång ska %1?").arg(gor));
            QCOMPARE(w->findChild<QAbstractButton*>(knapp)->text(),
                     mal == Utskriftsmal::Printer ? QStringLiteral("&Skriv ut")
                     : mal == Utskriftsmal::Fil   ? QStringLiteral("&Spara")
                                                  : QStringLiteral("&Visa"));
        }

        mj.f->vard().kontext().meddelaAktivering(w);
        mj.m.tom();
        w->findChild<QAbstractButton*>(knapp)->click();
        const QString utskrifter = mj.g.strTavlingsmapp + QStringLiteral("Utskrifter/") + stam;
        QCOMPARE(QFile::exists(utskrifter + QStringLiteral("_Printer.xlsx")), mal == Utskriftsmal::Printer);
        QCOMPARE(QFile::exists(utskrifter + QStringLiteral("_Fil.xlsx")), mal == Utskriftsmal::Fil);
        bool sparad = false;
        for (const TestMeddelanden::Visat& v : std::as_const(mj.m.visade))
            sparad = sparad || v.text.startsWith(QStringLiteral("Filen spardes i:"));
        QCOMPARE(sparad, mal == Utskriftsmal::Fil);
        QCOMPARE(mj.f->vard().fonster(Fonsternamn::ResSkarmGrund) != nullptr, mal == Utskriftsmal::Skarm);
    }

    // A window already open comes forward as it was and at its own size: a
    // normal frame keeps its state, a maximized one stays maximized, a
    // minimized one comes back to the size it had. A window that declares
    // the normal state (the club list) leaves a maximized frame as well.
    void fonstretKommerFramISinStorlek_data() {
        QTest::addColumn<int>("meny");
        QTest::addColumn<QString>("namn");
        QTest::addColumn<int>("lage"); // the frame's state when the window is chosen again
        QTest::addColumn<bool>("normalLage");
        const QList<std::pair<Qt::WindowState, QByteArray>> lagen = {{Qt::WindowNoState, ""},
                                                                     {Qt::WindowMinimized, " minimerad"},
                                                                     {Qt::WindowMaximized, " maximerad"}};
        for (const auto& [lage, rad] : lagen) {
            QTest::newRow("föreningslista" + rad)
                << int(Meny::mnuForeningslistaFil) << QStringLiteral("frmForeningsutskrift") << int(lage)
                << true;
            QTest::newRow("resultatlista" + rad)
                << int(Meny::mnuResGrundFil) << QStringLiteral("frmValResSkarmGrund") << int(lage) << false;
            QTest::newRow("inställningar" + rad)
                << int(Meny::mnuInstallningar) << QStringLiteral("frmInstallningar") << int(lage) << false;
        }
    }
    void fonstretKommerFramISinStorlek() {
        QFETCH(int, meny);
        QFETCH(QString, namn);
        QFETCH(int, lage);
        QFETCH(bool, normalLage);
        Miljo mj(true);
        mj.f->menyval(Meny(meny))->trigger();
        QWidget* w = mj.f->vard().fonster(namn);
        QVERIFY(w);
        auto* ram = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        const QRect normal = ram->geometry();
        const Qt::WindowStates normalt = ram->windowState();
        if (lage == Qt::WindowMinimized)
            ram->showMinimized();
        else if (lage == Qt::WindowMaximized)
            ram->showMaximized();
        const bool maximerad = lage == Qt::WindowMaximized && !normalLage;
        const QRect fore = maximerad ? ram->geometry() : normal;
        const Qt::WindowStates tillstand = maximerad ? ram->windowState() : normalt;
        mj.f->vard().visaFonster(Fonsterid<Utskriftsmal>{namn}, Utskriftsmal::Fil);
        QCOMPARE(ram->windowState(), tillstand | Qt::WindowActive);
        QCOMPARE(ram->geometry(), fore);
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
