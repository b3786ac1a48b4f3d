#include "app/Delsystem.h"
#include "app/MDIfrmHuvudmeny.h"
#include "common/IniNamn.h"
#include "platform/folder_copy/Mappkopia.h"
#include "shell/Fonsternamn.h"
#include "shell/NyTavling.h"
#include "shell/SenasteFiler.h"
#include "shell/Tavling.h"
#include "shell/Twips.h"
#include "shell/frmOppnat.h"
#include "shell/modGlobalt.h"
#include "support/Loggbild.h"
#include "support/Pipvakt.h"
#include "support/Testfixtur.h"
#include "support/VanligAnvandare.h"
#include "support/Widget.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSysInfo>
#include <QTcpSocket>
#include <QTest>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
// A child window with input that is not yet saved: it refuses to close until told.
class Envis : public QWidget {
public:
    bool fargStanga = false;
    void closeEvent(QCloseEvent* e) override { e->setAccepted(fargStanga); }
};

void skriv(const QString& sokvag, const QByteArray& innehall) {
    QDir().mkpath(QFileInfo(sokvag).path());
    QFile f(sokvag);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(innehall);
}

enum Oppningsfel {
    GammalVersion,
    OlasligtVarde,
    SkrapIni,
    IniSaknas,
    AccessDatabas,
    DatabasLank,
    DatabasPipe,
    IniLank,
    IniPipe,
    LasPipe,
    LasMapp,
    LasLank
};
} // namespace

class TestOppning : public QObject {
    Q_OBJECT

    struct Miljo : Testfixtur {
        std::unique_ptr<MDIfrmHuvudmeny> f;
        Miljo() {
            f = std::make_unique<MDIfrmHuvudmeny>(g, m, dialoger, ledigPort(), QHostAddress::LocalHost);
            registreraDelsystem(f->programdelar());
            f->MDIForm_Load(nullptr, 1);
            f->show();
            // Focus and leaving a field only happen in the active window.
            QApplication::setActiveWindow(f.get());
            if (!QTest::qWaitForWindowActive(f.get()))
                qWarning("the main window did not become active");
        }
        ~Miljo() {
            // Children may refuse; the window goes regardless at the end of a test.
            for (QMdiSubWindow* s : f->mdiYta()->subWindowList())
                if (auto* e = dynamic_cast<Envis*>(s->widget()))
                    e->fargStanga = true;
        }
        bool pa(Meny meny) const { return f->vard().menyPa(meny); }
        bool synlig(Meny meny) const { return f->vard().menySynlig(meny); }
        // A competition made by another program: this one has not seen it.
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
            dialoger.filer.enqueue(fil);
            f->menyval(Meny::mnuOppna)->trigger();
        }
        QWidget* nyTavling() {
            f->menyval(Meny::mnuNy)->trigger();
            return f->vard().fonster(Fonsternamn::NyTavling);
        }
    };

    static void kontrolleraIngenTavling(const Miljo& mj) {
        QCOMPARE(mj.f->windowTitle(), QStringLiteral("Pilkrona"));
        QVERIFY(mj.pa(Meny::mnuNy) && mj.pa(Meny::mnuOppna) && mj.pa(Meny::mnuImportera));
        QVERIFY(!mj.pa(Meny::mnuStang) && !mj.pa(Meny::mnuInstallningar) && !mj.pa(Meny::mnuSkrivare));
        QVERIFY(!mj.pa(Meny::mnuInskrivning) && !mj.pa(Meny::mnuUtskrift) && !mj.pa(Meny::mnuAskadarskarm));
        QVERIFY(!mj.synlig(Meny::mnuResVandringsprisPrinter) && !mj.synlig(Meny::mnuResVandringsprisFil));
        QVERIFY(!mj.g.tavlingOppen());
        QVERIFY(!mj.g.cnnTavling.IsOpen());
        QVERIFY(!mj.f->informationsfonster());
    }

    static void kontrolleraOppen(const Miljo& mj, const QString& namn) {
        QCOMPARE(mj.f->windowTitle(), namn);
        QVERIFY(!mj.pa(Meny::mnuNy) && !mj.pa(Meny::mnuOppna) && !mj.pa(Meny::mnuImportera));
        QVERIFY(mj.pa(Meny::mnuStang) && mj.pa(Meny::mnuInstallningar) && mj.pa(Meny::mnuSkrivare));
        QVERIFY(mj.pa(Meny::mnuInskrivning) && mj.pa(Meny::mnuUtskrift) && mj.pa(Meny::mnuAskadarskarm));
        QVERIFY(mj.g.cnnTavling.IsOpen());
        QVERIFY(mj.f->tcpPeer().State() != TcpPeer::Stangd);
    }

private slots:
    // As the operator does it: the dialog, its fields, the button.
    void skapaGenomDialogen() {
        Miljo mj;
        QWidget* ny = mj.nyTavling();
        QVERIFY(ny);
        QVERIFY(!mj.pa(Meny::mnuNy) && !mj.pa(Meny::mnuOppna) && !mj.pa(Meny::mnuImportera) &&
                !mj.pa(Meny::mnuStang));
        auto* ok = widget<QPushButton>(ny, "cmdOK");
        QCOMPARE(widget<QLineEdit>(ny, "txtSokvag")->text(), mj.g.programmappMedAvslut());
        QVERIFY(widget<QRadioButton>(ny, "optNationellt")->isChecked());
        QVERIFY(!ok->isEnabled());
        widget<QLineEdit>(ny, "txtTavlingensNamn")->setText(QStringLiteral("Klubbmästerskap"));
        QVERIFY(!ok->isEnabled());
        widget<QLineEdit>(ny, "txtAntalBanor")->setText(QStringLiteral("12"));
        QVERIFY(ok->isEnabled());
        widget<QLineEdit>(ny, "txtSokvag")->setText(mj.t.fil(QStringLiteral("Tävlingar")));
        widget<QRadioButton>(ny, "optSportskytte")->setChecked(true);
        QTest::mouseClick(ok, Qt::LeftButton);

        QVERIFY2(mj.m.visade.isEmpty(), qPrintable(mj.m.senasteText()));
        kontrolleraOppen(mj, QStringLiteral("Klubbmästerskap"));
        QVERIFY(!mj.pa(Meny::mnuLag)); // the new INI says Lagtävling=0
        QVERIFY(mj.g.blnSportskytte);
        QCOMPARE(mj.g.intSkjutlagsstorlek, 12);
        QTRY_VERIFY(!mj.f->vard().fonster(Fonsternamn::NyTavling));
        QVERIFY(mj.f->informationsfonster());
        QVERIFY(
            widget<QLabel>(mj.f->informationsfonster(), "lblTavlingsInfo")
                ->text()
                .startsWith(QStringLiteral("Tävlingen Klubbmästerskap är öppnad.\r\n\r\nSenast ändrad: ")));
        QVERIFY(mj.synlig(Meny::mnuFil1));
        QVERIFY(mj.f->menyval(mnuFil(1))->text().endsWith(QStringLiteral("Klubbmästerskap.air")));
    }

    void banfaltetKontrollerasNarManLamnarDet() {
        Miljo mj;
        mj.f->activateWindow();
        auto* banor = widget<QLineEdit>(mj.nyTavling(), "txtAntalBanor");
        banor->setFocus();
        QTest::keyClicks(banor, QStringLiteral("1000"));
        QTest::keyClick(banor, Qt::Key_Return); // Enter moves on like Tab
        QCOMPARE(mj.m.senasteText(), QStringLiteral("Du måste ange en siffra mellan 1 och 999!"));
        QTRY_VERIFY(banor->hasFocus());
    }

    void stangOchOppnaFranListan() {
        Miljo mj;
        const QString fil = mj.skapa(QStringLiteral("Cup"));
        mj.oppnaViaDialog(fil);
        kontrolleraOppen(mj, QStringLiteral("Cup"));
        QCOMPARE(mj.f->menyval(mnuFil(1))->text(), SenasteFiler::menytext(1, fil));
        mj.f->menyval(Meny::mnuStang)->trigger();
        kontrolleraIngenTavling(mj);
        QVERIFY(mj.g.strTavlingsnamn.isEmpty());

        // A new-competition dialog left open is closed by choosing from the list.
        QVERIFY(mj.nyTavling());
        mj.f->menyval(mnuFil(1))->trigger();
        QVERIFY(!mj.f->vard().fonster(Fonsternamn::NyTavling));
        kontrolleraOppen(mj, QStringLiteral("Cup"));
        QCOMPARE(mj.g.iniProgram.GetKeyValue(Ini::Sektion::Sokvagar, QStringLiteral("Filnamn2"),
                                             QStringLiteral("?")),
                 QStringLiteral("?"));
    }

    // A competition that cannot be opened is refused in one message that says
    // what is wrong with it; the program is left with no competition and no
    // recent item, and opens the next competition as usual.
    void oppningVagras_data() {
        QTest::addColumn<int>("fel");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("titel");
        const QString fore = QStringLiteral("MDIfrmHuvudmeny.ÖppnaTävling: Före Hämta inställningar ");
        QTest::newRow("gammal version")
            << int(GammalVersion)
            << "Tävlingen du försöker öppna är skapad med en gammal version av programmet."
            << "Versionskonflikt";
        QTest::newRow("värde som inte går att läsa")
            << int(OlasligtVarde) << fore + QStringLiteral("13 Typerna matchar inte") << "Fel";
        QTest::newRow("skräp som inställningsfil")
            << int(SkrapIni) << fore + QStringLiteral("75 Tävlingens inställningsfil \"%1\" kan inte läsas.")
            << "Fel";
        QTest::newRow("inställningsfil saknas")
            << int(IniSaknas) << fore + QStringLiteral("53 Tävlingens inställningsfil \"%1\" saknas.")
            << "Fel";
        QTest::newRow("Access-databas") << int(AccessDatabas) << "modGlobalt.SkapaADOConnection: 3343 "
                                        << "Fel";
        // What is no plain file is never read (a pipe would hold the program
        // up for good); a link could lead to the neighbour's files, which would
        // then be written under two locks. $D is the database, $L the lock.
        const QString databas = QStringLiteral("modGlobalt.SkapaADOConnection: 3051 Databasfilen \"$D\" är ");
        QTest::newRow("databasen är en länk")
            << int(DatabasLank) << databas + QStringLiteral("en symbolisk länk, ingen vanlig fil. ") << "Fel";
        QTest::newRow("databasen är en pipe")
            << int(DatabasPipe) << databas + QStringLiteral("en namngiven pipe (FIFO), ingen vanlig fil, ")
            << "Fel";
        const QString ini =
            fore + QStringLiteral("75 Tävlingens inställningsfil \"%1\" är %2, ingen vanlig fil. "
                                  "Lägg tävlingens egen inställningsfil där i stället och försök "
                                  "igen.");
        QTest::newRow("inställningsfilen är en länk")
            << int(IniLank) << ini.arg(QStringLiteral("%1"), QStringLiteral("en symbolisk länk")) << "Fel";
        QTest::newRow("inställningsfilen är en pipe")
            << int(IniPipe) << ini.arg(QStringLiteral("%1"), QStringLiteral("en namngiven pipe (FIFO)"))
            << "Fel";
        const QString las =
            QStringLiteral("Tävlingens låsfil $L är %1, ingen vanlig fil, och programmet kan inte "
                           "se om tävlingen Trasig är öppen någon annanstans.\r\nTa bort den för "
                           "hand och försök igen.");
        QTest::newRow("låset är en pipe")
            << int(LasPipe) << las.arg(QStringLiteral("en namngiven pipe (FIFO)")) << "Felaktig låsfil";
        QTest::newRow("låset är en mapp")
            << int(LasMapp) << las.arg(QStringLiteral("en mapp")) << "Felaktig låsfil";
        QTest::newRow("låset är en länk")
            << int(LasLank) << las.arg(QStringLiteral("en symbolisk länk")) << "Felaktig låsfil";
    }
    void oppningVagras() {
        QFETCH(int, fel);
        QFETCH(QString, text);
        QFETCH(QString, titel);
        Miljo mj;
        const QString fil = mj.skapa(QStringLiteral("Trasig"));
        const QString ini = QString(fil).replace(QStringLiteral(".air"), QStringLiteral(".ini"));
        const QString las = Tavling::lasfil(QFileInfo(fil).path(), QStringLiteral("Trasig"));
        const QString granne = mj.skapa(QStringLiteral("Granne"));
        text.replace(QLatin1String("$D"), fil).replace(QLatin1String("$L"), las);
        clsIni inifil(ini);
        switch (fel) {
        case GammalVersion:
            QVERIFY(
                inifil.WriteKey(QStringLiteral("Allmänt"), QStringLiteral("Version"), QStringLiteral("106")));
            break;
        case OlasligtVarde:
            QVERIFY(inifil.WriteKey(QStringLiteral("Allmänt"), QStringLiteral("Skjutlagsstorlek"),
                                    QStringLiteral("tio")));
            break;
        case SkrapIni:
            skriv(ini, QByteArray(4096, '\x01'));
            break;
        case IniSaknas:
            QVERIFY(QFile::remove(ini));
            break;
        case AccessDatabas:
            skriv(fil, QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2000, '\0'));
            break;
        case DatabasLank:
        case DatabasPipe:
            QVERIFY(QFile::remove(fil) &&
                    laggPost(fil, fel == DatabasLank ? Filslag::Lank : Filslag::Pipe, granne));
            break;
        case IniLank:
        case IniPipe:
            QVERIFY(QFile::remove(ini) &&
                    laggPost(ini, fel == IniLank ? Filslag::Lank : Filslag::Pipe,
                             QString(granne).replace(QStringLiteral(".air"), QStringLiteral(".ini"))));
            break;
        case LasPipe:
        case LasMapp:
        case LasLank:
            QVERIFY(laggPost(las,
                             fel == LasPipe   ? Filslag::Pipe
                             : fel == LasMapp ? Filslag::Mapp
                                              : Filslag::Lank,
                             Tavling::lasfil(QFileInfo(fil).path(), QStringLiteral("Granne"))));
            break;
        }
        Pipvakt vakt({fil, ini, las});
        mj.oppnaViaDialog(fil);
        QCOMPARE(vakt.stoppa(), 0);
        QCOMPARE(mj.m.visade.size(), 1);
        if (text.endsWith(QLatin1Char(' ')))
            QVERIFY2(mj.m.senasteText().startsWith(text), qPrintable(mj.m.senasteText()));
        else
            QCOMPARE(mj.m.senasteText(), text.contains(QStringLiteral("%1")) ? text.arg(ini) : text);
        QCOMPARE(mj.m.visade.back().titel, titel);
        QCOMPARE(mj.m.visade.back().ikon, Meddelanden::Ikon::Kritisk);
        kontrolleraIngenTavling(mj);
        QVERIFY(!mj.synlig(Meny::mnuFil1));

        mj.oppnaViaDialog(mj.skapa(QStringLiteral("Hel")));
        QCOMPARE(mj.m.visade.size(), 1);
        kontrolleraOppen(mj, QStringLiteral("Hel"));
    }

    // A competition is open in one program at a time: the second is told who
    // holds it, at once, and the first goes on undisturbed.
    void tavlingenArOppenIEttProgramITaget() {
        Miljo mj;
        const QString fil = mj.skapa(QStringLiteral("Cup"));
        mj.oppnaViaDialog(fil);
        kontrolleraOppen(mj, QStringLiteral("Cup"));

        Testfixtur andra;
        Tavling::sattSokvagar(andra.g, fil);
        QVERIFY(!Tavling::lasTavling(andra.g, andra.m));
        QCOMPARE(andra.m.visade.back().titel, QStringLiteral("Tävlingen används"));
        QVERIFY2(andra.m.senasteText().startsWith(
                     QStringLiteral("Tävlingen Cup är redan öppen i %1 på datorn %2 (process %3).")
                         .arg(QCoreApplication::applicationName(), QSysInfo::machineHostName())
                         .arg(QCoreApplication::applicationPid())),
                 qPrintable(andra.m.senasteText()));

        // Closed, it is free again.
        mj.f->menyval(Meny::mnuStang)->trigger();
        andra.m.tom();
        QVERIFY(Tavling::lasTavling(andra.g, andra.m));
        QVERIFY(andra.m.visade.isEmpty());
        // ... and then the first program is refused.
        mj.oppnaViaDialog(fil);
        QCOMPARE(mj.m.visade.back().titel, QStringLiteral("Tävlingen används"));
        kontrolleraIngenTavling(mj);
    }

    // A lock that names another computer may be one left behind there; the
    // operator decides: No keeps it, Yes takes the competition over.
    void lasFranAnnanDator() {
        Miljo mj;
        const QString fil = mj.skapa(QStringLiteral("Cup"));
        const QString las = QFileInfo(fil).path() + QStringLiteral("/.Cup.lock");
        skriv(las, "4242\npilkrona\nandra-datorn\n");
        mj.m.svara(Meddelanden::Svar::Nej);
        mj.oppnaViaDialog(fil);
        kontrolleraIngenTavling(mj);
        QCOMPARE(mj.m.visade.back().titel, QStringLiteral("Tävlingen används"));
        QCOMPARE(mj.m.visade.back().ikon, Meddelanden::Ikon::Fraga);
        QVERIFY2(
            mj.m.senasteText().startsWith(QStringLiteral(
                "Tävlingen Cup är redan öppen i pilkrona på datorn andra-datorn (process 4242).\r\n\r\n")),
            qPrintable(mj.m.senasteText()));
        QVERIFY(QFile::exists(las));
        mj.m.tom();
        mj.m.svara(Meddelanden::Svar::Ja);
        mj.oppnaViaDialog(fil);
        kontrolleraOppen(mj, QStringLiteral("Cup"));
    }

    // Every change is written at once: a competition that cannot be written is
    // refused when it is opened, not at its first change.
    void skrivskyddadTavlingVagras() {
        if (korSomVanligAnvandare("skrivskyddadTavlingVagras"))
            return;
        Miljo mj;
        const QString fil = mj.skapa(QStringLiteral("Cup"));
        const QString ini = QString(fil).replace(QStringLiteral(".air"), QStringLiteral(".ini"));
        const QString mapp = QFileInfo(fil).path();
        const auto las = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        for (const QString& skyddad : {fil, ini, mapp}) {
            const QFile::Permissions forut = QFile::permissions(skyddad);
            QFile::setPermissions(skyddad, skyddad == mapp ? las | QFile::ExeOwner : las);
            mj.m.tom();
            mj.oppnaViaDialog(fil);
            QFile::setPermissions(skyddad, forut);
            QCOMPARE(mj.m.visade.size(), 1);
            QCOMPARE(mj.m.visade.back().titel, QStringLiteral("Skrivskyddad tävling"));
            QVERIFY2(mj.m.senasteText().contains(QDir::toNativeSeparators(skyddad)),
                     qPrintable(mj.m.senasteText()));
            kontrolleraIngenTavling(mj);
        }
        mj.m.tom();
        mj.oppnaViaDialog(fil);
        QVERIFY(mj.m.visade.isEmpty());
        kontrolleraOppen(mj, QStringLiteral("Cup"));
    }

    // A copy into a competition cut off after it moved the database aside and
    // before it moved the new one in, as it is left on a FAT stick (no second
    // names): the recent list opens it all the same, the copy taken back.
    void avbrutenKopiaIListan() {
        Miljo mj;
        const QString cup = mj.skapa(QStringLiteral("Cup"));
        mj.oppnaViaDialog(cup);
        mj.f->menyval(Meny::mnuStang)->trigger();
        const QString bredvid = QFileInfo(QFileInfo(cup).path()).path() + QStringLiteral("/.Cup.");
        QVERIFY(QDir().mkpath(bredvid + QStringLiteral("undan")));
        skriv(bredvid + QStringLiteral("undan/.pilkrona-sakerhetskopia"), "märke");
        QVERIFY(QDir().mkpath(bredvid + QStringLiteral("kopia")));
        skriv(bredvid + QStringLiteral("kopia/.pilkrona-kopia"), "märke");
        QVERIFY(QFile::copy(cup, bredvid + QStringLiteral("kopia/Cup.air")));
        QVERIFY(QFile::rename(cup, bredvid + QStringLiteral("undan/Cup.air")));
        skriv(bredvid + QStringLiteral("kopiering"),
              "mappkopia 2\nE Cup.air " + loggbild(bredvid + QStringLiteral("kopia/Cup.air")) + ' ' +
                  loggbild(bredvid + QStringLiteral("undan/Cup.air")) + "\nklar\n");
        mj.m.tom();
        mj.f->menyval(mnuFil(1))->trigger();
        QVERIFY2(mj.m.visade.isEmpty(), qPrintable(mj.m.senasteText()));
        kontrolleraOppen(mj, QStringLiteral("Cup"));
        QVERIFY(!Mappkopia::avbruten(QFileInfo(cup).path()));
    }

    // What a copy cut off left beside a competition that cannot be trusted
    // keeps it closed, everything as it was, and says what was found and what
    // to do about it.
    void otillforlitligKopiaVidOppning() {
        Miljo mj;
        const QString cup = mj.skapa(QStringLiteral("Cup"));
        const QString mapp = QFileInfo(cup).path();
        const QString bredvid = QFileInfo(mapp).path() + QStringLiteral("/.Cup.");
        QVERIFY(QDir().mkpath(bredvid + QStringLiteral("kopia")));
        QVERIFY(QDir().mkpath(mapp + QStringLiteral(".bak")));
        QVERIFY(QFile::copy(cup, mapp + QStringLiteral(".bak/Cup.air")));
        skriv(mapp + QStringLiteral(".bak/.pilkrona-sakerhetskopia"), "märke");
        skriv(bredvid + QStringLiteral("kopiering"), "mappkopia 1\nN /\nklar\n");
        const QStringList fore = QDir(mapp).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        mj.oppnaViaDialog(cup);
        kontrolleraIngenTavling(mj);
        QCOMPARE(mj.m.visade.size(), 1);
        QCOMPARE(mj.m.visade.back().titel, QStringLiteral("Avbruten kopiering"));
        const QString text = mj.m.senasteText();
        QCOMPARE(text,
                 Tavling::otillforlitligKopia(
                     mapp, QStringLiteral("Kopieringens logg %1 är inte en logg som programmet skriver.")
                               .arg(QDir::toNativeSeparators(bredvid + QStringLiteral("kopiering")))));
        // What was found, what each hidden thing holds, and nothing deleted:
        // any of them may hold the only copy of a version.
        for (const QString& del :
             {QStringLiteral("Det som hittades: Kopieringens logg %1 är inte en logg som programmet skriver.")
                  .arg(bredvid + QStringLiteral("kopiering")),
              bredvid + QStringLiteral("kopiering - kopieringens logg"),
              bredvid + QStringLiteral("kopia - de nya filer som ännu inte har flyttats in"),
              QStringLiteral("filer från två versioner"), QStringLiteral("Ta inte bort något"),
              QStringLiteral("säkerhetskopian ") + mapp + QStringLiteral(".bak")})
            QVERIFY2(text.contains(QDir::toNativeSeparators(del)), qPrintable(del));
        QCOMPARE(QDir(mapp).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), fore);
        QVERIFY(QFileInfo::exists(bredvid + QStringLiteral("kopiering")));
    }

    // A copy that took effect left its moved-aside files to become the backup,
    // and every name for it is a folder of the operator's: the competition
    // stays closed, nothing is touched, and the operator is told which
    // folders are in the way.
    void ingenPlatsForSakerhetskopianVidOppning() {
        Miljo mj;
        const QString cup = mj.skapa(QStringLiteral("Cup"));
        const QString mapp = QFileInfo(cup).path();
        const QString undan = QFileInfo(mapp).path() + QStringLiteral("/.Cup.undan");
        skriv(undan + QStringLiteral("/.pilkrona-sakerhetskopia"), "märke");
        skriv(undan + QStringLiteral("/Cup.ini"), "ersatt");
        for (int n = 1; n <= 99; ++n)
            skriv(mapp + QStringLiteral(".bak") + (n > 1 ? QString::number(n) : QString()) +
                      QStringLiteral("/egen.txt"),
                  "operatörens");
        const QStringList fore =
            QDir(QFileInfo(mapp).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        mj.oppnaViaDialog(cup);
        kontrolleraIngenTavling(mj);
        QCOMPARE(mj.m.visade.size(), 1);
        QCOMPARE(mj.m.senasteText(), Tavling::ingenSakerhetskopia(mapp));
        QVERIFY(mj.m.senasteText().contains(QDir::toNativeSeparators(mapp + QStringLiteral(".bak99"))));
        QCOMPARE(
            QDir(QFileInfo(mapp).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            fore);
        QVERIFY(QFileInfo::exists(undan + QStringLiteral("/Cup.ini")));
    }

    // A list save killed half-way left its temporary file in Utskrifter, where
    // only a save of that same list took it away: opening the competition
    // takes away every list's by the save's own rule (whose parts
    // test_xlsxfil holds), and leaves an Utskrifter that is a link or a pipe
    // alone, never waiting on the pipe.
    void listornasResterVidOppning_data() {
        QTest::addColumn<int>("slag"); // Filslag of what lies at Utskrifter
        QTest::newRow("mapp") << int(Filslag::Mapp);
        QTest::newRow("länk") << int(Filslag::Lank);
        QTest::newRow("pipe") << int(Filslag::Pipe);
    }
    void listornasResterVidOppning() {
        QFETCH(int, slag);
        Miljo mj;
        const QString cup = mj.skapa(QStringLiteral("Cup"));
        const QString utskrifter = QFileInfo(cup).path() + QStringLiteral("/Utskrifter");
        const QString mapp = Filslag(slag) == Filslag::Mapp ? utskrifter : mj.t.fil(QStringLiteral("Annan"));
        QVERIFY(QDir(utskrifter).removeRecursively() && QDir().mkpath(mapp));
        if (Filslag(slag) != Filslag::Mapp)
            QVERIFY(laggPost(utskrifter, Filslag(slag), mapp));
        const QString gammal = mapp + QStringLiteral("/.Resultatlista_Fil.xlsx.pilkrona-Ab3dE9");
        const QString ny = mapp + QStringLiteral("/.Skjutlagslista_Printer.xlsx.pilkrona-x1Y2z3");
        skriv(gammal, "avbruten");
        skriv(ny, "sparas nu");
        const timespec tid{::time(nullptr) - 11 * 60, 0};
        const timespec tider[2] = {tid, tid};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(gammal).constData(), tider, 0) == 0);
        Pipvakt vakt({utskrifter});
        mj.oppnaViaDialog(cup);
        QCOMPARE(vakt.stoppa(), 0);
        kontrolleraOppen(mj, QStringLiteral("Cup"));
        QCOMPARE(QFileInfo::exists(gammal), Filslag(slag) != Filslag::Mapp);
        QVERIFY(QFileInfo::exists(ny));
    }

    void flyttadTavlingIListan() {
        Miljo mj;
        const QString cup = mj.skapa(QStringLiteral("Cup"));
        const QString borta = mj.skapa(QStringLiteral("Borta"));
        mj.oppnaViaDialog(borta);
        mj.f->menyval(Meny::mnuStang)->trigger();
        mj.oppnaViaDialog(cup);
        QVERIFY(QDir(QFileInfo(borta).path()).removeRecursively());
        QCOMPARE(mj.f->menyval(mnuFil(2))->text(), SenasteFiler::menytext(2, borta));
        mj.f->menyval(mnuFil(2))->trigger(); // closes Cup first
        QCOMPARE(mj.m.senasteText(), QStringLiteral("Tävlingen finns inte på det ställe du har valt!"));
        QCOMPARE(mj.m.visade.back().titel, QStringLiteral("Ingen tävling."));
        kontrolleraIngenTavling(mj);
    }

    void barnfonsterSomVagrarStoppar() {
        Miljo mj;
        Envis* envis = nullptr;
        mj.f->vard().registreraFonster(Fonsternamn::Installningar, [&envis](Formkontext&) {
            envis = new Envis;
            return envis;
        });
        mj.oppnaViaDialog(mj.skapa(QStringLiteral("Cup")));
        mj.f->menyval(Meny::mnuInstallningar)->trigger();
        QVERIFY(envis && envis->isVisible());
        mj.f->menyval(Meny::mnuStang)->trigger();
        kontrolleraOppen(mj, QStringLiteral("Cup"));
        QCOMPARE(mj.f->mdiYta()->activeSubWindow()->widget(), envis);
        mj.f->close();
        QVERIFY(mj.f->isVisible()); // leaving the program waits for the window too
        envis->fargStanga = true;
        mj.f->menyval(Meny::mnuStang)->trigger();
        kontrolleraIngenTavling(mj);
        QVERIFY(!mj.f->vard().fonster(Fonsternamn::Installningar));
    }

    // The settings form in the main window: the hourglass of its loading goes
    // when it becomes the active window, and its OK closes its frame with it.
    void installningarIHuvudfonstret() {
        Miljo mj;
        mj.oppnaViaDialog(mj.skapa(QStringLiteral("Cup")));
        QVERIFY(!QApplication::overrideCursor());
        mj.f->menyval(Meny::mnuInstallningar)->trigger();
        QWidget* form = mj.f->vard().fonster(Fonsternamn::Installningar);
        QVERIFY(form);
        QTRY_VERIFY(!QApplication::overrideCursor());
        QVERIFY(!mj.pa(Meny::mnuInstallningar));
        QTest::mouseClick(widget<QPushButton>(form, "cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(mj.f->mdiYta()->subWindowList().isEmpty());
        QVERIFY(mj.pa(Meny::mnuInstallningar));
        QVERIFY(!QApplication::overrideCursor());
    }

    // Each list command opens its window, or runs its builder, with its output kind.
    void listkommandon() {
        Miljo mj;
        int oppnade = 0;
        QList<Utskriftsmal> mal;
        for (const auto& id : {Fonsternamn::UtskriftSkjutlag, Fonsternamn::Foreningsutskrift,
                               Fonsternamn::ValResSkarmGrund, Fonsternamn::Lagutskrift})
            mj.f->vard().registreraFonster(id, [&](Formkontext&, const Utskriftsmal& m) {
                ++oppnade;
                mal << m;
                return new QWidget;
            });
        bool vandring = false;
        mj.f->vard().registreraListbyggare(Fonsternamn::VandringsprisLista,
                                           [&](Formkontext&, const Utskriftsmal& m) {
                                               vandring = true;
                                               mal << m;
                                           });
        mj.oppnaViaDialog(mj.skapa(QStringLiteral("Cup")));
        mj.f->menyval(Meny::mnuResGrund)->trigger();
        QCOMPARE(oppnade, 1);
        for (Meny k : {Meny::mnuSkjutlagslistaFil, Meny::mnuResVandringsprisPrinter, Meny::mnuLagutskrift})
            mj.f->menyval(k)->setVisible(true);
        mj.f->menyval(Meny::mnuSkjutlagslistaFil)->trigger();
        mj.f->menyval(Meny::mnuResVandringsprisPrinter)->trigger();
        QVERIFY(vandring);
        QCOMPARE(mal, (QList<Utskriftsmal>{Utskriftsmal::Skarm, Utskriftsmal::Fil, Utskriftsmal::Printer}));
        // Without rounds the team printout leaves no window behind.
        mj.f->menyval(Meny::mnuLagutskrift)->trigger();
        QTRY_VERIFY(!mj.f->vard().fonster(Fonsternamn::Lagutskrift));
    }

    // The commands of an open competition's menus: the team and challenge
    // prize items that its settings turn on, copies, help and "&Resultat".
    void kommandonIEnOppenTavling() {
        Miljo mj;
        const QString fil = mj.skapa(QStringLiteral("Pris"));
        clsIni ini(QString(fil).replace(QStringLiteral(".air"), QStringLiteral(".ini")));
        QVERIFY(ini.DeleteKey(QStringLiteral("Lag"), QStringLiteral("Lagtävling")));
        QVERIFY(ini.WriteKey(QStringLiteral("Vandringspris"), QStringLiteral("Vandringspris"),
                             QStringLiteral("1")));
        mj.oppnaViaDialog(fil);
        QVERIFY(mj.pa(Meny::mnuLag) && mj.g.blnLagtavling);
        QVERIFY(mj.synlig(Meny::mnuResVandringsprisPrinter) && mj.synlig(Meny::mnuResVandringsprisFil));
        mj.dialoger.kopior.enqueue(Plattformsdialoger::Kopior{3, QStringLiteral("Kontoret")});
        mj.f->menyval(Meny::mnuSkrivare)->trigger();
        QCOMPARE(mj.g.intAntalKopior, 3);
        QCOMPARE(mj.g.strValdSkrivare, QStringLiteral("Kontoret"));
        mj.dialoger.kopior.enqueue(std::nullopt);
        mj.m.tom();
        mj.f->menyval(Meny::mnuSkrivare)->trigger();
        QCOMPARE(mj.g.intAntalKopior, 3);
        QVERIFY(mj.m.visade.isEmpty());

        QCOMPARE(mj.f->menyval(Meny::mnuInnehall)->shortcut(), QKeySequence(Qt::Key_F1));
        mj.f->menyval(Meny::mnuInnehall)->trigger();
        QVERIFY(mj.dialoger.dokument.isEmpty());
        QVERIFY(mj.m.senasteText().startsWith(QStringLiteral("Hjälpfilen ")));
        QDir().mkpath(mj.t.fil(QStringLiteral("Hjälp")));
        QFile chm(mj.t.fil(QStringLiteral("Hjälp/pilkrona.chm")));
        QVERIFY(chm.open(QIODevice::WriteOnly));
        chm.close();
        mj.f->menyval(Meny::mnuInnehall)->trigger();
        QCOMPARE(mj.dialoger.dokument, QStringList{chm.fileName()});

        // "&Resultat" runs the picker from the first squad; a cancelled picker
        // leaves the menu as it was.
        int forvalt = -1;
        mj.f->vard().registreraDialog(Fonsternamn::ValjSkjutlag,
                                      [&](Formkontext&, const Skjutlagsbegaran& b) {
                                          forvalt = b.skjutlag;
                                          return false;
                                      });
        mj.f->menyval(Meny::mnuResultatInskrivning)->trigger();
        QCOMPARE(forvalt, 0);
        QVERIFY(mj.pa(Meny::mnuUtskrift) && mj.pa(Meny::mnuKonfigAskSkarm));
        QVERIFY(!mj.pa(Meny::mnuVisaAskSkarm)); // no display connected
        mj.f->menyval(Meny::mnuStang)->trigger();
        QVERIFY(!mj.synlig(Meny::mnuResVandringsprisPrinter));
    }

    // The spectator menu in the program: a display connecting brings "&Visa",
    // whose squad dialog opens in its frame, keeps "&Konfigurera" while it is
    // open and sends the chosen squad. The display stays through closing the
    // competition, and the reopened competition's first message asks for a
    // redraw.
    void askadarskarmensMenyer() {
        Miljo mj;
        const QString fil = mj.skapa(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte);
        mj.oppnaViaDialog(fil);
        QVERIFY(mj.pa(Meny::mnuKonfigAskSkarm) && !mj.pa(Meny::mnuVisaAskSkarm));
        QVERIFY(!mj.f->vard().askadarskarmAnsluten());
        QTcpSocket display;
        display.connectToHost(QHostAddress::LocalHost, mj.f->tcpPeer().LocalPort());
        QVERIFY(display.waitForConnected(5000));
        QTRY_VERIFY(mj.pa(Meny::mnuVisaAskSkarm));
        QVERIFY(mj.f->vard().askadarskarmAnsluten());

        mj.f->menyval(Meny::mnuVisaAskSkarm)->trigger();
        QWidget* skarm = mj.f->vard().fonster(Fonsternamn::VisaAskSkarm);
        QVERIFY(skarm);
        QVERIFY(!mj.pa(Meny::mnuKonfigAskSkarm));
        QCOMPARE(skarm->parentWidget()->size(), QSize(twips(3525), twips(5115)));
        QTest::mouseClick(widget<QPushButton>(skarm, "cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(!mj.f->vard().fonster(Fonsternamn::VisaAskSkarm));
        QVERIFY(mj.pa(Meny::mnuKonfigAskSkarm));
        QByteArray mottaget;
        QTRY_VERIFY((mottaget += display.readAll()).endsWith("\r\n"));
        QVERIFY(mottaget.startsWith("Cup|Sport| |1|1\r\n1| |||Sport|0|"));

        mj.f->menyval(Meny::mnuStang)->trigger();
        QCOMPARE(display.state(), QAbstractSocket::ConnectedState);
        QVERIFY(mj.f->vard().askadarskarmAnsluten());
        mj.oppnaViaDialog(fil);
        QVERIFY(mj.pa(Meny::mnuVisaAskSkarm));
        QVERIFY(mj.f->askadarflode().visaSkjutlag(1));
        mottaget.clear();
        QTRY_VERIFY((mottaget += display.readAll()).endsWith("\r\n"));
        QVERIFY(mottaget.startsWith("Cup|Sport| |1|1\r\n"));
    }
};

QTEST_MAIN(TestOppning)
#include "test_oppning.moc"
