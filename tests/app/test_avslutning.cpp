#include "app/Delsystem.h"
#include "app/MDIfrmHuvudmeny.h"
#include "app/Signalvakt.h"
#include "common/IniNamn.h"
#include "platform/folder_copy/Mappkopia.h"
#include "shell/Avslutning.h"
#include "shell/Fonsternamn.h"
#include "shell/Tavling.h"
#include "support/Kopieringsvakt.h"
#include "support/Testfixtur.h"
#include "support/Widget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <pthread.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

// A child window with input not yet saved: it refuses to close.
class Envis : public QWidget {
public:
    void closeEvent(QCloseEvent* e) override { e->ignore(); }
};

void senare(QObject* kontext, std::function<void()> f) {
    // Queued, not a timer: timers due together do not fire inside each other's loops.
    QMetaObject::invokeMethod(kontext, std::move(f), Qt::QueuedConnection);
}

extern "C" void egenHanterare(int) {}

// Whether the thread tid is blocked in read(fd), as the system tells it.
bool laser(pid_t tid, int fd) {
    QFile f(QStringLiteral("/proc/self/task/%1/syscall").arg(tid));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> falt = f.readAll().split(' ');
    return falt.size() > 1 && falt[0] == QByteArray::number(SYS_read) &&
           falt[1] == "0x" + QByteArray::number(fd, 16);
}

} // namespace

// The program told to end by the system, wired as start-up wires it, with a
// competition open in the main window and signals sent to this process.
class TestAvslutning : public QObject {
    Q_OBJECT

    struct Program : Testfixtur {
        MDIfrmHuvudmeny f{g, m, dialoger, ledigPort(), QHostAddress::LocalHost};
        Avslutning avslutning{m, [this] { f.avslutaUtanSvar(); }};
        Signalvakt vakt;
        QString cup;
        Program() {
            QObject::connect(&vakt, &Signalvakt::mottagen, &vakt, [this] { avslutning.begar(); });
            vakt.lyssna();
            registreraDelsystem(f.programdelar());
            f.MDIForm_Load(nullptr, 1);
            f.show();
            // Opened again as the operator opens it.
            cup = skapaTavling(QStringLiteral("Cup"));
            Tavling::stang(g);
            dialoger.filer.enqueue(cup);
            f.menyval(Meny::mnuOppna)->trigger();
            if (!g.tavlingOppen())
                qFatal("Cup did not open");
        }
        QString las() const { return Tavling::lasfil(QFileInfo(cup).path(), QStringLiteral("Cup")); }
    };

private slots:
    // At rest the program closes as Avsluta closes it, whatever is up: an open
    // question is closed as unanswered, a window that would refuse goes all
    // the same, and the competition's lock goes with the competition.
    void iVilaStangerSomAvsluta_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("fraga");
        QTest::addColumn<bool>("envis");
        QTest::newRow("i vila") << SIGTERM << false << false;
        QTest::newRow("en fråga öppen") << SIGHUP << true << false;
        QTest::newRow("ett fönster vägrar") << SIGINT << false << true;
    }
    void iVilaStangerSomAvsluta() {
        QFETCH(int, signal);
        QFETCH(bool, fraga);
        QFETCH(bool, envis);
        Program p;
        QVERIFY(QFileInfo::exists(p.las()));
        QPointer<QWidget> fonster;
        if (envis) {
            p.f.vard().registreraFonster(Fonsternamn::Installningar, [&fonster](Formkontext&) {
                auto* e = new Envis;
                fonster = e;
                return e;
            });
            p.f.menyval(Meny::mnuInstallningar)->trigger();
            QVERIFY(fonster && fonster->isVisible());
        }
        std::optional<Meddelanden::Svar> svar;
        senare(&p.f, [&] {
            if (!fraga) {
                ::kill(::getpid(), signal);
                return;
            }
            // The box is up, waiting for an answer, when the signal comes.
            p.m.svaraMed([signal] {
                ::kill(::getpid(), signal);
                QEventLoop().exec();
                return Meddelanden::Svar::Ja;
            });
            svar = p.m.visa(QStringLiteral("Vill du?"), {}, Meddelanden::Ikon::Fraga,
                            Meddelanden::Knappar::JaNej);
        });
        QCOMPARE(p.avslutning.kor(), 0);
        QVERIFY(p.avslutning.begard());
        QVERIFY(!p.g.tavlingOppen());
        QVERIFY(!p.g.cnnTavling.IsOpen());
        QVERIFY(!QFileInfo::exists(p.las()));
        QVERIFY(!p.f.isVisible());
        QVERIFY(!fonster);
        QCOMPARE(svar, fraga ? std::optional(Meddelanden::Svar::Nej) : std::nullopt);
    }

    // During an export the copy is left to its end: the signal comes while
    // the copy waits for the database (another connection holds it), which
    // lets go only once the program has been told and its loop has gone on
    // turning. Then the
    // copy ends whole, nothing hidden stays beside it, the wizard's message is
    // not shown, and the program closes with both locks gone.
    void underKopieringVantarPaKopian() {
        Program p;
        const QString sticka = p.t.fil(QStringLiteral("Sticka"));
        QVERIFY(QDir().mkpath(sticka));
        QVERIFY(p.g.iniProgram.WriteKey(Ini::Exportkatalog.sektion, Ini::Exportkatalog.nyckel, sticka));
        bool holl = false;
        {
            QTimer tillsagd;
            Kopieringsvakt vakt(p.cup, sticka, [&] {
                ::kill(::getpid(), SIGTERM);
                tillsagd.start(0);
            });
            int varv = 0;
            connect(&tillsagd, &QTimer::timeout, [&] {
                // A later turn of the loop than the one that told the program:
                // the loop still runs while the copy does.
                if (!p.avslutning.begard() || ++varv < 2)
                    return;
                tillsagd.stop();
                holl = p.m.hallen() && p.m.avslutas();
                vakt.slapp();
            });
            senare(&p.f, [&] {
                senare(&p.f, [&] {
                    QWidget* guide = QApplication::activeModalWidget();
                    QVERIFY(guide);
                    widget<QLabel>(guide, "lblStatusKopiering")->installEventFilter(vakt.borjar());
                    for (int i = 0; i < 4; ++i)
                        QTest::mouseClick(widget<QPushButton>(guide, "cmdNasta"), Qt::LeftButton);
                });
                p.f.menyval(Meny::mnuExportera)->trigger();
            });
            QCOMPARE(p.avslutning.kor(), 0);
        }
        QVERIFY(holl);
        QVERIFY(QFileInfo(sticka + QStringLiteral("/Cup/Cup.air")).isFile());
        QVERIFY(QFileInfo(sticka + QStringLiteral("/Cup/Cup.ini")).isFile());
        QCOMPARE(QDir(sticka).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Cup")});
        QVERIFY(!QFileInfo::exists(Tavling::lasfil(sticka + QStringLiteral("/Cup"), QStringLiteral("Cup"))));
        QVERIFY(!QFileInfo::exists(p.las()));
        QVERIFY(!p.g.tavlingOppen());
        QCOMPARE(p.m.obesvarade, QStringList{QStringLiteral("Kopieringen är klar!")});
        QVERIFY(p.m.visade.isEmpty());
    }

    // The guard gives back the handling it found, whatever it was.
    void vaktenGerTillbakaHanteringen() {
        struct sigaction egen = {};
        egen.sa_handler = egenHanterare;
        sigemptyset(&egen.sa_mask);
        sigaddset(&egen.sa_mask, SIGUSR1);
        egen.sa_flags = SA_NODEFER;
        struct sigaction ignorera = {};
        ignorera.sa_handler = SIG_IGN;
        struct sigaction standard = {};
        standard.sa_handler = SIG_DFL;
        struct sigaction fore[3];
        QVERIFY(::sigaction(SIGTERM, &egen, &fore[0]) == 0 && ::sigaction(SIGINT, &ignorera, &fore[1]) == 0 &&
                ::sigaction(SIGHUP, &standard, &fore[2]) == 0);
        { Signalvakt vakt; }
        struct sigaction efter[3];
        for (int i = 0; i < 3; ++i)
            QVERIFY(::sigaction(Signalvakt::Signaler[i], nullptr, &efter[i]) == 0);
        QVERIFY(efter[0].sa_handler == egenHanterare);
        QCOMPARE(efter[0].sa_flags & (SA_NODEFER | SA_RESTART), SA_NODEFER);
        QVERIFY(sigismember(&efter[0].sa_mask, SIGUSR1));
        QVERIFY(efter[1].sa_handler == SIG_IGN);
        QVERIFY(efter[2].sa_handler == SIG_DFL);
        for (int i = 0; i < 3; ++i)
            QVERIFY(::sigaction(Signalvakt::Signaler[i], &fore[i], nullptr) == 0);
    }

    // A system call of another thread (the copy's reads and writes) goes on
    // where the signal found it: a read of a pipe that waits when the signal
    // comes still gives what is written afterwards.
    void systemanropetGarVidare_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void systemanropetGarVidare() {
        QFETCH(int, signal);
        Signalvakt vakt;
        vakt.lyssna();
        QSignalSpy mottagen(&vakt, &Signalvakt::mottagen);
        int ror[2];
        QVERIFY(::pipe(ror) == 0);
        std::atomic<pid_t> tid = 0;
        ssize_t last = -2;
        std::thread trad([&] {
            tid = ::gettid();
            char c;
            last = ::read(ror[0], &c, 1);
        });
        while (!laser(tid, ror[0]))
            QThread::yieldCurrentThread();
        QCOMPARE(::pthread_kill(trad.native_handle(), signal), 0);
        QVERIFY(mottagen.wait());
        QCOMPARE(::write(ror[1], "x", 1), ssize_t(1));
        trad.join();
        ::close(ror[0]);
        ::close(ror[1]);
        QCOMPARE(last, ssize_t(1));
        QCOMPARE(mottagen.constFirst().constFirst().toInt(), signal);
    }

    // The signal may land on the copy's own thread, between two renames of
    // moving in: the copy goes on to its end, and only then are the loops left.
    void signalPaKopiansTrad() {
        Testfixtur f;
        const QString prov = f.t.fil(QStringLiteral("Prov"));
        QVERIFY(QDir().mkpath(prov + QStringLiteral("/Kalla/Utskrifter")) &&
                QDir().mkpath(prov + QStringLiteral("/Mal")));
        for (const QString& fil : {QStringLiteral("/Kalla/a.txt"), QStringLiteral("/Kalla/Utskrifter/b.txt"),
                                   QStringLiteral("/Mal/a.txt")}) {
            QFile ut(prov + fil);
            QVERIFY(ut.open(QIODevice::WriteOnly) && ut.write(fil.toUtf8()) > 0);
        }
        Avslutning avslutning(f.m, {});
        Signalvakt vakt;
        std::atomic<bool> tillsagd = false;
        connect(&vakt, &Signalvakt::mottagen, &vakt, [&] {
            avslutning.begar();
            tillsagd = true;
        });
        vakt.lyssna();
        Mappkopia::Uppdrag u;
        u.kalla = prov + QStringLiteral("/Kalla");
        u.mal = prov + QStringLiteral("/Mal");
        bool skickad = false;
        u.steg = [&](const QString& rel) {
            if (rel.isEmpty() || std::exchange(skickad, true))
                return;
            ::pthread_kill(::pthread_self(), SIGTERM);
            while (!tillsagd)
                QThread::yieldCurrentThread();
        };
        std::atomic<int> fel = -1;
        std::optional<Meddelanden::Hallning> hallning(f.m.hall());
        std::unique_ptr<QThread> trad(QThread::create([&] { fel = Mappkopia::kopiera(u).fel; }));
        connect(trad.get(), &QThread::finished, &vakt, [&] { hallning.reset(); });
        trad->start();
        QCOMPARE(avslutning.kor(), 0);
        QCOMPARE(fel.load(), 0);
        trad->wait();
        QVERIFY(skickad);
        QCOMPARE(QDir(prov).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({"Kalla", "Mal", "Mal.bak"}));
        QFile b(prov + QStringLiteral("/Mal/Utskrifter/b.txt"));
        QVERIFY(b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), QByteArray("/Kalla/Utskrifter/b.txt"));
    }
};

QTEST_MAIN(TestAvslutning)
#include "test_avslutning.moc"
