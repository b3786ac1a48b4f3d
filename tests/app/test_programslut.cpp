#include "app/MDIfrmHuvudmeny.h"
#include "app/Main.h"
#include "shell/SenasteFiler.h"
#include "shell/Tavling.h"
#include "support/Testfixtur.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <unistd.h>
#include <utility>

// The program told to end by the system at the moments its own loop cannot
// see: the real program, as main() runs it, in a child process of this test
// started from a program folder of its own, where the child sends itself the
// signals.
namespace {

QByteArray fall;
int forsta = 0;

void skicka(int signal) {
    std::printf("signal %d\n", signal);
    std::fflush(stdout);
    ::raise(signal);
}

// Whether this thread holds the signal back.
int blockerad(int signal) {
    sigset_t mask;
    pthread_sigmask(SIG_BLOCK, nullptr, &mask);
    return sigismember(&mask, signal);
}

bool oppnar = false;

// With the competition open: whether its lock is there, and the mask.
void rapportera() {
    std::printf("las %d SIGUSR1 %d SIGTERM %d\n",
                int(QFileInfo::exists(QString::fromLocal8Bit(qgetenv("LASFIL")))), blockerad(SIGUSR1),
                blockerad(SIGTERM));
    skicka(std::exchange(forsta, 0));
}

// Sends the first signal at the moment the case names: a message of the
// start, or the main window coming up. Started with the signals blocked, the
// program opens the last competition first, and the signal comes once it is
// open, or at a message the opening shows (the spectator display's port
// taken by another program).
class Krok : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Show || !forsta)
            return false;
        if (fall == "blockerad") {
            if (oppnar && qobject_cast<QMessageBox*>(o))
                rapportera();
            else if (auto* f = qobject_cast<MDIfrmHuvudmeny*>(o); f && !oppnar)
                QMetaObject::invokeMethod(
                    f,
                    [f] {
                        oppnar = true;
                        f->menyval(mnuFil(1))->trigger();
                        if (forsta)
                            rapportera();
                    },
                    Qt::QueuedConnection);
        } else if (fall == "meddelande" ? qobject_cast<QMessageBox*>(o) != nullptr
                                        : qobject_cast<MDIfrmHuvudmeny*>(o) != nullptr) {
            skicka(std::exchange(forsta, 0));
        }
        return false;
    }
};

int barn(char** argv) {
    fall = argv[2];
    forsta = std::atoi(argv[3]);
    // Called as the application is built: the first signal then, or the hook.
    qAddPreRoutine(fall == "start" ? +[] { skicka(std::exchange(forsta, 0)); }
                                   : +[] { qApp->installEventFilter(new Krok(qApp)); });
    // The second while the application is taken down, or when only the exit is left.
    if (fall == "nedtagning")
        qAddPostRoutine([] { skicka(SIGINT); });
    if (fall == "efter")
        std::atexit([] { skicka(SIGTERM); });
    // As a launcher can leave them.
    if (fall == "blockerad") {
        sigset_t mask;
        sigemptyset(&mask);
        for (const int s : {SIGTERM, SIGINT, SIGHUP, SIGUSR1})
            sigaddset(&mask, s);
        pthread_sigmask(SIG_BLOCK, &mask, nullptr);
    }
    int argc = 1;
    return korProgrammet(argc, argv);
}

} // namespace

class TestProgramslut : public QObject {
    Q_OBJECT

private slots:
    // Told to end at any moment, the program ends with 0: at a message of the
    // start (before its loop runs), while the application is built, and with
    // a second signal while it is taken down or after.
    void slutarMedNoll_data() {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("saknad");
        QTest::addColumn<int>("signaler");
        QTest::newRow("vid huvudfönstrets meddelande")
            << QStringLiteral("meddelande") << SIGTERM << QStringLiteral("Grafik/Ikoner/PK.ico") << 1;
        QTest::newRow("vid splashens meddelande")
            << QStringLiteral("meddelande") << SIGINT << QStringLiteral("Grafik/Bilder/Logo.gif") << 1;
        QTest::newRow("medan programmet startar") << QStringLiteral("start") << SIGHUP << QString() << 1;
        QTest::newRow("en andra medan det tas ned")
            << QStringLiteral("nedtagning") << SIGTERM << QString() << 2;
        QTest::newRow("en andra efter vakten") << QStringLiteral("efter") << SIGHUP << QString() << 2;
        // Started with the signals blocked, with a competition open: it ends
        // all the same and leaves no lock; another signal stays as it was.
        QTest::newRow("startat med signalerna blockerade")
            << QStringLiteral("blockerad") << SIGTERM << QString() << 1;
    }
    void slutarMedNoll() {
        QFETCH(QString, fall);
        QFETCH(int, signal);
        QFETCH(QString, saknad);
        QFETCH(int, signaler);
        Testfixtur f;
        QVERIFY(saknad.isEmpty() || QFile::remove(f.t.fil(saknad)));
        // The competition the program opens as the last one.
        const QString cup = f.skapaTavling(QStringLiteral("Cup"));
        const QString las = Tavling::lasfil(f.g);
        QVERIFY(SenasteFiler::laggForst(f.g, f.m));
        Tavling::stang(f.g);
        // The program folder is the executable's.
        const QString program = f.t.fil(QStringLiteral("pilkrona"));
        QVERIFY(::link(QFile::encodeName(QCoreApplication::applicationFilePath()).constData(),
                       QFile::encodeName(program).constData()) == 0 ||
                QFile::copy(QCoreApplication::applicationFilePath(), program));
        QProcess barn;
        barn.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment miljo = QProcessEnvironment::systemEnvironment();
        miljo.insert(QStringLiteral("LASFIL"), las);
        barn.setProcessEnvironment(miljo);
        barn.start(program, {QStringLiteral("--program"), fall, QString::number(signal)});
        if (!barn.waitForFinished(30000)) {
            barn.kill();
            barn.waitForFinished();
            QFAIL("the program did not end");
        }
        const QByteArray utskrift = barn.readAllStandardOutput();
        QCOMPARE(utskrift.count("signal "), signaler);
        QCOMPARE(barn.exitStatus(), QProcess::NormalExit);
        QCOMPARE(barn.exitCode(), 0);
        if (fall == QLatin1String("blockerad"))
            QVERIFY2(utskrift.contains("las 1 SIGUSR1 1 SIGTERM 0"), utskrift.constData());
        QVERIFY(!QFileInfo::exists(las));
    }
};

int main(int argc, char** argv) {
    if (argc == 4 && qstrcmp(argv[1], "--program") == 0)
        return barn(argv);
    QApplication app(argc, argv);
    TestProgramslut t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_programslut.moc"
