#include "common/IniNamn.h"
#include "shell/Fonsternamn.h"
#include "shell/MDIfrmHuvudmeny.h"
#include "shell/NyTavling.h"
#include "shell/SenasteFiler.h"
#include "shell/frmBladdra.h"
#include "shell/frmNyTavling.h"
#include "shell/frmOm.h"
#include "shell/frmOppnat.h"
#include "shell/frmStatusUtskrift.h"
#include "shell/modGlobalt.h"
#include "support/TestMeddelanden.h"
#include "support/Testmiljo.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {
// A child window with input that is not yet saved: it refuses to close until told.
class Envis : public QWidget {
public:
    bool fargStanga = false;
    void closeEvent(QCloseEvent* e) override {
        if (fargStanga)
            e->accept();
        else
            e->ignore();
    }
};
} // namespace

class TestOppning : public QObject {
    Q_OBJECT

    struct Miljo {
        Testmiljo t;
        modGlobalt g;
        TestMeddelanden m;
        std::unique_ptr<MDIfrmHuvudmeny> f;
        QString valdFil;
        Miljo() {
            t.kopieraGrafik();
            QFile::copy(Testmiljo::mallSokvag(), t.fil(QStringLiteral("Pilkrona.mdb")));
            QDir().mkdir(t.fil(QStringLiteral("Tävlingar")));
            g.strProgrammapp = t.mapp();
            g.strHjalpfil = t.fil(QStringLiteral("Hjälp/pilkrona.chm"));
            g.iniProgram.setPath(t.fil(Ini::ProgramIniNamn));
            g.intAntalKopior = 1;
            g.lngAntalSkrivare = 1;
            f = std::make_unique<MDIfrmHuvudmeny>(g, m, ledigPort(), QHostAddress::LocalHost);
            f->valjTavlingsfil = [this](const QString&) { return valdFil; };
            f->MDIForm_Load(nullptr, 1);
            f->show();
            // Focus and leaving a field only happen in the active window.
            QApplication::setActiveWindow(f.get());
            if (!QTest::qWaitForWindowActive(f.get()))
                qWarning("the main window did not become active");
        }
        static quint16 ledigPort() {
            QTcpServer s;
            s.listen(QHostAddress::LocalHost, 0);
            return s.serverPort();
        }
        ~Miljo() {
            // Children may refuse; the window goes regardless at the end of a test.
            for (QMdiSubWindow* s : f->mdiYta()->subWindowList())
                if (auto* e = dynamic_cast<Envis*>(s->widget()))
                    e->fargStanga = true;
        }
        bool pa(const char* namn) const { return f->menyval(QString::fromLatin1(namn))->isEnabled(); }
        bool synlig(const char* namn) const { return f->menyval(QString::fromLatin1(namn))->isVisible(); }
        QString skapa(const QString& namn, NyTavling::Typ typ = NyTavling::Typ::Nationellt) {
            modGlobalt annan;
            annan.strProgrammapp = t.mapp();
            annan.iniProgram.setPath(t.fil(QStringLiteral("annan.ini")));
            TestMeddelanden tyst;
            NyTavling::Uppgifter u;
            u.namn = namn;
            u.antalBanor = QStringLiteral("8");
            u.typ = typ;
            u.sokvag = t.fil(QStringLiteral("Tävlingar"));
            if (!NyTavling::skapa(annan, tyst, u))
                qFatal("%s", qPrintable(tyst.senasteText()));
            return annan.strTavlingsdatabas;
        }
        void oppnaViaDialog(const QString& fil) {
            valdFil = fil;
            f->menyval(QStringLiteral("mnuOppna"))->trigger();
        }
    };

    static void kontrolleraIngenTavling(const Miljo& mj) {
        QCOMPARE(mj.f->windowTitle(), QStringLiteral("Pilkrona"));
        QVERIFY(mj.pa("mnuNy") && mj.pa("mnuOppna") && mj.pa("mnuImportera"));
        QVERIFY(!mj.pa("mnuStang") && !mj.pa("mnuInstallningar") && !mj.pa("mnuSkrivare"));
        QVERIFY(!mj.pa("mnuInskrivning") && !mj.pa("mnuUtskrift") && !mj.pa("mnuAskadarskarm"));
        QVERIFY(!mj.synlig("mnuResVandringsprisPrinter") && !mj.synlig("mnuResVandringsprisFil"));
        QVERIFY(!mj.g.tavlingOppen());
        QVERIFY(!mj.g.cnnTavling.IsOpen());
        QVERIFY(!mj.f->informationsfonster());
    }

    static void kontrolleraOppen(const Miljo& mj, const QString& namn) {
        QCOMPARE(mj.f->windowTitle(), namn);
        QVERIFY(!mj.pa("mnuNy") && !mj.pa("mnuOppna") && !mj.pa("mnuImportera"));
        QVERIFY(mj.pa("mnuStang") && mj.pa("mnuInstallningar") && mj.pa("mnuSkrivare"));
        QVERIFY(mj.pa("mnuInskrivning") && mj.pa("mnuUtskrift") && mj.pa("mnuAskadarskarm"));
        QVERIFY(mj.g.cnnTavling.IsOpen());
        QVERIFY(mj.f->tcpPeer().State() != TcpPeer::Stangd);
    }

private slots:
    // As the operator does it: the dialog, its fields, the button.
    void skapaGenomDialogen() {
        Miljo mj;
        mj.f->menyval(QStringLiteral("mnuNy"))->trigger();
        auto* ny = qobject_cast<frmNyTavling*>(mj.f->fonster(Fonsternamn::NyTavling));
        QVERIFY(ny);
        QVERIFY(!mj.pa("mnuNy") && !mj.pa("mnuOppna") && !mj.pa("mnuImportera") && !mj.pa("mnuStang"));
        QCOMPARE(ny->txtSokvag->text(), mj.g.programmappMedAvslut());
        QVERIFY(ny->optNationellt->isChecked());
        QVERIFY(!ny->cmdOK->isEnabled());
        ny->txtTavlingensNamn->setText(QStringLiteral("Klubbmästerskap"));
        QVERIFY(!ny->cmdOK->isEnabled());
        ny->txtAntalBanor->setText(QStringLiteral("12"));
        QVERIFY(ny->cmdOK->isEnabled());
        ny->txtSokvag->setText(mj.t.fil(QStringLiteral("Tävlingar")));
        ny->optSportskytte->setChecked(true);
        QTest::mouseClick(ny->cmdOK, Qt::LeftButton);

        QVERIFY2(mj.m.visade.isEmpty(), qPrintable(mj.m.senasteText()));
        kontrolleraOppen(mj, QStringLiteral("Klubbmästerskap"));
        QVERIFY(!mj.pa("mnuLag")); // the new INI says Lagtävling=0
        QVERIFY(mj.g.blnSportskytte);
        QTRY_VERIFY(!mj.f->fonster(Fonsternamn::NyTavling));
        QVERIFY(mj.f->informationsfonster());
        QVERIFY(mj.f->informationsfonster()->lblTavlingsInfo()->text().startsWith(
            QStringLiteral("Tävlingen Klubbmästerskap är öppnad.\r\n\r\nSenast ändrad: ")));
        QVERIFY(mj.synlig("mnuFil1"));
        QVERIFY(mj.f->mnuFil(1)->text().endsWith(QStringLiteral("Klubbmästerskap.air")));
    }

    void avbrytAterstallerMenyerna() {
        Miljo mj;
        mj.f->menyval(QStringLiteral("mnuNy"))->trigger();
        auto* ny = qobject_cast<frmNyTavling*>(mj.f->fonster(Fonsternamn::NyTavling));
        QVERIFY(ny);
        QTest::mouseClick(ny->cmdAvbryt, Qt::LeftButton);
        QTRY_VERIFY(!mj.f->fonster(Fonsternamn::NyTavling));
        kontrolleraIngenTavling(mj);
    }

    void banfaltetKontrollerasNarManLamnarDet() {
        Miljo mj;
        mj.f->activateWindow();
        mj.f->menyval(QStringLiteral("mnuNy"))->trigger();
        auto* ny = qobject_cast<frmNyTavling*>(mj.f->fonster(Fonsternamn::NyTavling));
        QVERIFY(ny);
        ny->txtAntalBanor->setFocus();
        QTest::keyClicks(ny->txtAntalBanor, QStringLiteral("1000"));
        QTest::keyClick(ny->txtAntalBanor, Qt::Key_Return); // Enter moves on like Tab
        QCOMPARE(mj.m.senasteText(), QStringLiteral("Du måste ange en siffra mellan 1 och 999!"));
        QTRY_VERIFY(ny->txtAntalBanor->hasFocus());
    }

    void stangOchOppnaFranListan() {
        Miljo mj;
        const QString fil = mj.skapa(QStringLiteral("Cup"));
        mj.oppnaViaDialog(fil);
        kontrolleraOppen(mj, QStringLiteral("Cup"));
        QCOMPARE(mj.f->mnuFil(1)->text(), SenasteFiler::menytext(1, fil));

        // A spectator display connected now stays connected through a close.
        QTcpSocket display;
        display.connectToHost(QHostAddress::LocalHost, mj.f->tcpPeer().LocalPort());
        QVERIFY(display.waitForConnected(5000));
        QTRY_COMPARE(mj.f->tcpPeer().State(), TcpPeer::Ansluten);

        mj.f->menyval(QStringLiteral("mnuStang"))->trigger();
        kontrolleraIngenTavling(mj);
        QVERIFY(mj.g.strTavlingsnamn.isEmpty());
        QCOMPARE(mj.f->tcpPeer().State(), TcpPeer::Ansluten);
        QCOMPARE(display.state(), QAbstractSocket::ConnectedState);

        // A new-competition dialog left open is closed by choosing from the list.
        mj.f->menyval(QStringLiteral("mnuNy"))->trigger();
        QVERIFY(mj.f->fonster(Fonsternamn::NyTavling));
        mj.f->mnuFil(1)->trigger();
        QVERIFY(!mj.f->fonster(Fonsternamn::NyTavling));
        kontrolleraOppen(mj, QStringLiteral("Cup"));
        QCOMPARE(mj.g.iniProgram.GetKeyValue(Ini::Sektion::Sokvagar, QStringLiteral("Filnamn2"),
                                             QStringLiteral("?")),
                 QStringLiteral("?"));
    }

    void gammalVersionVagras() {
        Miljo mj;
        const QString fil = mj.skapa(QStringLiteral("Gammal"));
        clsIni ini(QString(fil).replace(QStringLiteral(".air"), QStringLiteral(".ini")));
        ini.WriteKey(QStringLiteral("Allmänt"), QStringLiteral("Version"), QStringLiteral("106"));
        mj.oppnaViaDialog(fil);
        QCOMPARE(
            mj.m.senasteText(),
            QStringLiteral("Tävlingen du försöker öppna är skapad med en gammal version av programmet."));
        QCOMPARE(mj.m.visade.back().titel, QStringLiteral("Versionskonflikt"));
        kontrolleraIngenTavling(mj);
        QVERIFY(!mj.synlig("mnuFil1"));
        // The program goes on as before.
        mj.m.tom();
        ini.WriteKey(QStringLiteral("Allmänt"), QStringLiteral("Version"), QStringLiteral("107"));
        mj.oppnaViaDialog(fil);
        QVERIFY(mj.m.visade.isEmpty());
        kontrolleraOppen(mj, QStringLiteral("Gammal"));
    }

    void framandeDatabasVagras() {
        Miljo mj;
        const QString fil = mj.skapa(QStringLiteral("Jet"));
        QFile db(fil);
        QVERIFY(db.open(QIODevice::WriteOnly | QIODevice::Truncate));
        db.write(QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2000, '\0'));
        db.close();
        mj.oppnaViaDialog(fil);
        QVERIFY(mj.m.senasteText().startsWith(QStringLiteral("modGlobalt.SkapaADOConnection: 3343 ")));
        QCOMPARE(mj.m.visade.back().ikon, Meddelanden::Ikon::Kritisk);
        kontrolleraIngenTavling(mj);
        QVERIFY(!mj.synlig("mnuFil1"));
    }

    void installningSomInteGarAttLasa() {
        Miljo mj;
        const QString fil = mj.skapa(QStringLiteral("Trasig"));
        clsIni ini(QString(fil).replace(QStringLiteral(".air"), QStringLiteral(".ini")));
        ini.WriteKey(QStringLiteral("Allmänt"), QStringLiteral("Skjutlagsstorlek"), QStringLiteral("tio"));
        mj.oppnaViaDialog(fil);
        QCOMPARE(
            mj.m.senasteText(),
            QStringLiteral("MDIfrmHuvudmeny.ÖppnaTävling: Före Hämta inställningar 13 Typerna matchar inte"));
        kontrolleraIngenTavling(mj);
    }

    void lagOchVandringsprisStyrMenyerna() {
        Miljo mj;
        const QString fil = mj.skapa(QStringLiteral("Pris"));
        clsIni ini(QString(fil).replace(QStringLiteral(".air"), QStringLiteral(".ini")));
        ini.DeleteKey(QStringLiteral("Lag"), QStringLiteral("Lagtävling"));
        ini.WriteKey(QStringLiteral("Vandringspris"), QStringLiteral("Vandringspris"), QStringLiteral("1"));
        mj.oppnaViaDialog(fil);
        QVERIFY(mj.pa("mnuLag"));
        QVERIFY(mj.g.blnLagtavling);
        QVERIFY(mj.synlig("mnuResVandringsprisPrinter") && mj.synlig("mnuResVandringsprisFil"));
        mj.f->menyval(QStringLiteral("mnuStang"))->trigger();
        QVERIFY(!mj.synlig("mnuResVandringsprisPrinter"));
    }

    void flyttadTavlingIListan() {
        Miljo mj;
        const QString cup = mj.skapa(QStringLiteral("Cup"));
        const QString borta = mj.skapa(QStringLiteral("Borta"));
        mj.oppnaViaDialog(borta);
        mj.f->menyval(QStringLiteral("mnuStang"))->trigger();
        mj.oppnaViaDialog(cup);
        QVERIFY(QDir(QFileInfo(borta).path()).removeRecursively());
        QCOMPARE(mj.f->mnuFil(2)->text(), SenasteFiler::menytext(2, borta));
        mj.f->mnuFil(2)->trigger(); // closes Cup first
        QCOMPARE(mj.m.senasteText(), QStringLiteral("Tävlingen finns inte på det ställe du har valt!"));
        QCOMPARE(mj.m.visade.back().titel, QStringLiteral("Ingen tävling."));
        kontrolleraIngenTavling(mj);
    }

    void barnfonsterSomVagrarStoppar() {
        Miljo mj;
        Envis* envis = nullptr;
        mj.f->registreraFonster(Fonsternamn::Installningar, [&envis](MDIfrmHuvudmeny&) {
            envis = new Envis;
            return envis;
        });
        mj.oppnaViaDialog(mj.skapa(QStringLiteral("Cup")));
        mj.f->menyval(QStringLiteral("mnuInstallningar"))->trigger();
        QVERIFY(envis && envis->isVisible());
        mj.f->menyval(QStringLiteral("mnuStang"))->trigger();
        kontrolleraOppen(mj, QStringLiteral("Cup"));
        QCOMPARE(mj.f->mdiYta()->activeSubWindow()->widget(), envis);
        mj.f->close();
        QVERIFY(mj.f->isVisible()); // leaving the program waits for the window too
        envis->fargStanga = true;
        mj.f->menyval(QStringLiteral("mnuStang"))->trigger();
        kontrolleraIngenTavling(mj);
        QVERIFY(!mj.f->fonster(Fonsternamn::Installningar));
    }

    void listkommandonUtanExcel() {
        Miljo mj;
        int oppnade = 0;
        for (const QString& namn : {Fonsternamn::UtskriftSkjutlag, Fonsternamn::Foreningsutskrift,
                                    Fonsternamn::ValResSkarmGrund, Fonsternamn::Lagutskrift})
            mj.f->registreraFonster(namn, [&oppnade](MDIfrmHuvudmeny&) {
                ++oppnade;
                return new QWidget;
            });
        bool vandring = false;
        mj.f->SkrivVandringsprisLista = [&vandring] { vandring = true; };
        mj.oppnaViaDialog(mj.skapa(QStringLiteral("Cup")));
        mj.g.blnExcelSaknas = true;
        const QStringList kommandon = {
            "mnuSkjutlagslista",     "mnuForeningslista",          "mnuLagutskrift",
            "mnuResGrundPrinter",    "mnuResVandringsprisPrinter", "mnuSkjutlagslistaFil",
            "mnuForeningslistaFil",  "mnuLagutskriftFil",          "mnuResGrundFil",
            "mnuResVandringsprisFil"};
        for (const QString& k : kommandon) {
            mj.m.tom();
            mj.f->menyval(k)->setVisible(true);
            mj.f->menyval(k)->trigger();
            QCOMPARE(mj.m.senasteText(), QStringLiteral("Du har inte Microsoft Excel installerat!"));
            QCOMPARE(mj.m.visade.back().titel, QStringLiteral("Inget Excel"));
        }
        QCOMPARE(oppnade, 0);
        QVERIFY(!vandring);
        mj.f->menyval(QStringLiteral("mnuResGrund"))->trigger();
        QCOMPARE(mj.g.strUtskriftsmal, QStringLiteral("Skärm"));
        QCOMPARE(oppnade, 1);

        mj.g.blnExcelSaknas = false;
        mj.f->menyval(QStringLiteral("mnuSkjutlagslistaFil"))->trigger();
        QCOMPARE(mj.g.strUtskriftsmal, QStringLiteral("Fil"));
        mj.f->menyval(QStringLiteral("mnuResVandringsprisPrinter"))->trigger();
        QCOMPARE(mj.g.strUtskriftsmal, QStringLiteral("Printer"));
        QVERIFY(vandring);
        QVERIFY(!mj.pa("mnuInskrivning") && !mj.pa("mnuUtskrift")); // the list gives them back when done
        // Without rounds the team printout leaves no window behind.
        mj.f->menyval(QStringLiteral("mnuLagutskrift"))->trigger();
        QTRY_VERIFY(!mj.f->fonster(Fonsternamn::Lagutskrift));
    }

    void kopiorHjalpOchResultatAvbrutet() {
        Miljo mj;
        mj.oppnaViaDialog(mj.skapa(QStringLiteral("Cup")));
        mj.f->valjKopior = [] { return std::make_optional(std::make_pair(3, QStringLiteral("Kontoret"))); };
        mj.f->menyval(QStringLiteral("mnuSkrivare"))->trigger();
        QCOMPARE(mj.g.intAntalKopior, 3);
        QCOMPARE(mj.g.strValdSkrivare, QStringLiteral("Kontoret"));
        mj.f->valjKopior = [] { return std::optional<std::pair<int, QString>>(); };
        mj.m.tom();
        mj.f->menyval(QStringLiteral("mnuSkrivare"))->trigger();
        QCOMPARE(mj.g.intAntalKopior, 3);
        QVERIFY(mj.m.visade.isEmpty());

        QString hjalp;
        mj.f->oppnaHjalpfil = [&hjalp](const QString& fil) {
            hjalp = fil;
            return true;
        };
        QCOMPARE(mj.f->menyval(QStringLiteral("mnuInnehall"))->shortcut(), QKeySequence(Qt::Key_F1));
        mj.f->menyval(QStringLiteral("mnuInnehall"))->trigger();
        QVERIFY(hjalp.isEmpty());
        QVERIFY(mj.m.senasteText().startsWith(QStringLiteral("Hjälpfilen ")));
        QDir().mkpath(mj.t.fil(QStringLiteral("Hjälp")));
        QFile chm(mj.t.fil(QStringLiteral("Hjälp/pilkrona.chm")));
        QVERIFY(chm.open(QIODevice::WriteOnly));
        chm.close();
        mj.f->menyval(QStringLiteral("mnuInnehall"))->trigger();
        QCOMPARE(hjalp, chm.fileName());

        // A cancelled squad picker gives the menus back.
        bool fragad = false, avUnderValet = false;
        mj.f->registreraDialog(Fonsternamn::ValjSkjutlag, [&](MDIfrmHuvudmeny& h) {
            fragad = true;
            avUnderValet = !h.menyval(QStringLiteral("mnuUtskrift"))->isEnabled();
            return false;
        });
        mj.g.intValtSkjutlag = 4;
        mj.f->menyval(QStringLiteral("mnuResultatInskrivning"))->trigger();
        QVERIFY(fragad && avUnderValet);
        QCOMPARE(mj.g.intValtSkjutlag, 0);
        QVERIFY(mj.pa("mnuUtskrift") && mj.pa("mnuKonfigAskSkarm"));
        QVERIFY(!mj.pa("mnuVisaAskSkarm")); // no display connected
    }

    void mappvaljaren() {
        Testmiljo t;
        TestMeddelanden m;
        QWidget fonster;
        QWidget anropare(&fonster);
        fonster.show();
        QString skrivet = QStringLiteral("orört");
        auto* b = new frmBladdra(&anropare, QString(), t.mapp(), m, [&](const QString& s) { skrivet = s; });
        b->show();
        QVERIFY(!anropare.isEnabled());
        QCOMPARE(b->aktuellMapp(), QDir::cleanPath(t.mapp()));
        QTest::mouseClick(b->cmdAvbryt, Qt::LeftButton);
        QVERIFY(anropare.isEnabled());
        QCOMPARE(skrivet, QStringLiteral("orört"));

        b = new frmBladdra(&anropare, QString(), t.mapp(), m, [&](const QString& s) { skrivet = s; });
        b->show();
        m.skriv(QStringLiteral("  "));
        b->cmdNyMapp_Click();
        QCOMPARE(QDir(t.mapp()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 0);
        m.skriv(QStringLiteral(" Tävlingar "));
        b->cmdNyMapp_Click();
        QVERIFY(QFileInfo(t.fil(QStringLiteral("Tävlingar"))).isDir());
        m.skriv(QStringLiteral("Tävlingar"));
        b->cmdNyMapp_Click();
        QCOMPARE(m.senasteText(), QStringLiteral("Mappen \"Tävlingar\" kunde inte skapas."));
        QVERIFY(b->isVisible());
        QCOMPARE(b->aktuellMapp(), QDir::cleanPath(t.mapp())); // the new folder is not chosen
        b->valjMapp(t.fil(QStringLiteral("Tävlingar")));
        QTest::mouseClick(b->cmdOK, Qt::LeftButton);
        QCOMPARE(skrivet, t.fil(QStringLiteral("Tävlingar")) + QLatin1Char('/'));
        QVERIFY(anropare.isEnabled());

        QCOMPARE(frmBladdra::tillbakatext(QStringLiteral("/"), QString()), QStringLiteral("/"));
        QCOMPARE(frmBladdra::tillbakatext(QStringLiteral("/t/T"), frmBladdra::TaggInstallningar),
                 QStringLiteral("/t/T"));
        QCOMPARE(frmBladdra::tillbakatext(QStringLiteral("/"), frmBladdra::TaggInstallningar),
                 QStringLiteral("/"));
    }

    void omrutanOchStatusfonstret() {
        Testmiljo t;
        t.kopieraGrafik();
        TestMeddelanden m;
        frmOm om(t.mapp(), m);
        QVERIFY(m.visade.isEmpty());
        QCOMPARE(om.windowTitle(), QStringLiteral("Om Pilkrona"));
        QCOMPARE(om.lblVersion->text(), QStringLiteral("Version 1.0 Build 47"));
        QCOMPARE(om.lblTitle->text(), QStringLiteral("Pilkrona"));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray(""));
        om.StartSysInfo();
        qputenv("PATH", path);
        QCOMPARE(m.senasteText(), QStringLiteral("System Information Is Unavailable At This Time"));

        frmStatusUtskrift status(t.mapp(), m);
        QCOMPARE(status.windowTitle(), QStringLiteral("Status utskrift"));
        QCOMPARE(status.lblStatus->text(), QStringLiteral("Förbereder utskrift..."));
    }
};

QTEST_MAIN(TestOppning)
#include "test_oppning.moc"
