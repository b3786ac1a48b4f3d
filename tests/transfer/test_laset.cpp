#include "platform/folder_copy/Mappkopia.h"
#include "shell/Tavling.h"
#include "support/Lasbarn.h"
#include "support/Pipvakt.h"
#include "support/Testfixtur.h"
#include "support/VanligAnvandare.h"
#include "transfer/Tavlingsoverforing.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>
#include <cerrno>
#include <cstring>

namespace {

QByteArray las(const QString& fil) {
    QFile f(fil);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?");
}

void skriv(const QString& fil, const QByteArray& innehall) {
    QFile f(fil);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(innehall) == innehall.size());
}

// Every entry below mapp, hidden ones too, with its content.
QMap<QString, QByteArray> bild(const QString& mapp) {
    QMap<QString, QByteArray> b;
    QDirIterator it(mapp, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo fi(it.next());
        b.insert(QDir(mapp).relativeFilePath(fi.filePath()),
                 fi.isDir() ? QByteArray("mapp")
                            : QCryptographicHash::hash(las(fi.filePath()), QCryptographicHash::Md5));
    }
    return b;
}

} // namespace

// A competition's lock, which keeps it to one program at a time and keeps
// the undo of a cut-off copy away from a copy another program is making.
class TestLaset : public QObject {
    Q_OBJECT

    // A competition Cup of its own folder, not open, and its lock file.
    static QString cup(Testfixtur& f) {
        f.skapaTavling(QStringLiteral("Cup"));
        Tavling::stang(f.g);
        return f.tavlingsmapp() + QStringLiteral("/Cup");
    }

private slots:
    // A lock file that names nobody, empty or unreadable, is left by a
    // program killed as it took the lock, and taken over; one that a program
    // still holds is not, whatever it says.
    void namnlostLas_data() {
        QTest::addColumn<QByteArray>("innehall");
        QTest::addColumn<bool>("olasbar");
        QTest::addColumn<bool>("hallen");
        QTest::newRow("tom") << QByteArray() << false << false;
        QTest::newRow("olasbar") << QByteArray("4242\npilkrona\nandra-datorn\n") << true << false;
        QTest::newRow("olasbar och hallen") << QByteArray() << true << true;
    }
    void namnlostLas() {
        QFETCH(QByteArray, innehall);
        QFETCH(bool, olasbar);
        QFETCH(bool, hallen);
        // Root reads every file. (The tags are ASCII: they go to the child as arguments.)
        if (korSomVanligAnvandare(
                qPrintable(QStringLiteral("namnlostLas:") + QString::fromUtf8(QTest::currentDataTag()))))
            return;
        Testfixtur f;
        const QString mapp = cup(f);
        const QString fil = Tavling::lasfil(mapp, QStringLiteral("Cup"));
        std::unique_ptr<Lasbarn> barn;
        if (hallen) {
            barn = std::make_unique<Lasbarn>(mapp, QStringLiteral("Cup"));
            QVERIFY(barn->haller());
        } else {
            skriv(fil, innehall);
        }
        if (olasbar)
            QVERIFY(QFile::setPermissions(fil, {}));
        const Tavling::Las l = Tavling::lasTavling(mapp, QStringLiteral("Cup"));
        QCOMPARE(bool(l.fil), !hallen);
        if (hallen) {
            QVERIFY(QFileInfo::exists(fil));
            QCOMPARE(l.text,
                     QStringLiteral("Tävlingen Cup kan inte låsas för ändring i mappen %1.").arg(mapp));
        } else {
            QVERIFY(las(fil).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
        }
    }

    // A lock let go is no longer this program's: the same content written
    // back (this process, this computer) is one it could not remove, and is
    // taken again.
    void slapptLasTasIgen() {
        Testfixtur f;
        const QString mapp = cup(f);
        const QString fil = Tavling::lasfil(mapp, QStringLiteral("Cup"));
        QByteArray innehall;
        {
            const Tavling::Las l = Tavling::lasTavling(mapp, QStringLiteral("Cup"));
            QVERIFY(l.fil);
            innehall = las(fil);
        }
        QVERIFY(!QFileInfo::exists(fil));
        skriv(fil, innehall);
        QVERIFY(Tavling::lasTavling(mapp, QStringLiteral("Cup")).fil);
    }

    // A lock naming this process's number on another computer is another
    // computer's: opening asks, the copy refuses in its own words.
    void egetNummerPaAnnanDator() {
        Testfixtur f;
        const QString mapp = cup(f);
        const QString fil = Tavling::lasfil(mapp, QStringLiteral("Cup"));
        const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid());
        skriv(fil, pid + "\npilkrona\nandra-datorn\n");
        Tavling::sattSokvagar(f.g, mapp + QStringLiteral("/Cup.air"));
        f.m.svara(Meddelanden::Svar::Nej);
        QVERIFY(!Tavling::lasTavling(f.g, f.m));
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(f.m.visade[0].ikon, Meddelanden::Ikon::Fraga);
        QVERIFY(
            f.m.senasteText().endsWith(QStringLiteral("Låsfilen är %1.\r\nVill du ta bort låset och öppna "
                                                      "tävlingen här?")
                                           .arg(fil)));

        const QString kalla = f.t.fil(QStringLiteral("Källa/Cup"));
        QVERIFY(QDir().mkpath(kalla) &&
                QFile::copy(mapp + QStringLiteral("/Cup.air"), kalla + QStringLiteral("/Cup.air")));
        const Overforing::Kopieringsutfall u =
            Overforing::kopieraTavlingsmapp(f.tavlingsmapp() + u'/', kalla);
        QVERIFY(u.sokvagsfel);
        QCOMPARE(
            u.feltext,
            QStringLiteral("Tävlingen Cup är redan öppen i pilkrona på datorn andra-datorn (process %1).\r\n"
                           "Kopieringen kan inte ersätta den medan den är öppen där: stäng den där och "
                           "försök igen. Låsfilen är %2.")
                .arg(QString::fromLatin1(pid), fil));
        QCOMPARE(las(fil), pid + "\npilkrona\nandra-datorn\n");
    }

    // What lies at a lock's place and is no plain file is never opened (a
    // pipe would hold the program up for good) nor removed: the lock, the
    // check and the copy refuse at once, naming it. nytt: the place is that
    // of the lock beside a target not there yet, else in an existing target.
    void lasplatsUtanFil_data() {
        QTest::addColumn<bool>("nytt");
        QTest::addColumn<QString>("namn");
        QTest::addColumn<int>("slag");
        for (const auto& [nytt, namn] : {std::pair{false, ".Cup.lock"}, std::pair{false, ".Cup.lock.rmlock"},
                                         std::pair{true, ".Cup.kopia.lock"}})
            for (const auto& [slag, ord] :
                 {std::pair{Filslag::Pipe, "pipe"}, std::pair{Filslag::Mapp, "mapp"},
                  std::pair{Filslag::Lank, "länk"}, std::pair{Filslag::Enhet, "teckenenhet"}})
                QTest::addRow("%s vid %s", ord, namn) << nytt << QString::fromLatin1(namn) << int(slag);
    }
    void lasplatsUtanFil() {
        QFETCH(bool, nytt);
        QFETCH(QString, namn);
        QFETCH(int, slag);
        Testfixtur f;
        const QString kalla = cup(f);
        const QString dest = f.t.fil(QStringLiteral("Sticka"));
        const QString mal = dest + QStringLiteral("/Cup");
        QVERIFY(QDir().mkpath(nytt ? dest : mal));
        if (!nytt)
            QVERIFY(QFile::copy(kalla + QStringLiteral("/Cup.air"), mal + QStringLiteral("/Cup.air")));
        // A link leads to a lock of another computer, which would be asked about.
        const QString annan = f.t.fil(QStringLiteral("annan.lock"));
        skriv(annan, "4242\npilkrona\nandra-datorn\n");
        const QString plats = (nytt ? dest : mal) + u'/' + namn;
        if (!laggPost(plats, Filslag(slag), annan)) {
            const int fel = errno;
            QVERIFY2(Filslag(slag) == Filslag::Enhet && fel == EPERM, strerror(fel));
            QSKIP("mknod may not make a device here (EPERM: no CAP_MKNOD)");
        }
        const QString text =
            nytt ? Overforing::felaktigtKopieringslas(mal, plats, filslagText(Filslag(slag)))
                 : QStringLiteral(
                       "Tävlingens låsfil %1 är %2, ingen vanlig fil, och programmet kan inte se om "
                       "tävlingen Cup är öppen någon annanstans.\r\nTa bort den för hand och "
                       "försök igen.")
                       .arg(plats, filslagText(Filslag(slag)));
        QVERIFY(text.contains(plats));

        Pipvakt vakt({plats});
        if (!nytt) {
            const Tavling::Las l =
                Tavling::lasTavling(mal, QStringLiteral("Cup"), Tavling::Lasorsak::Kopiera);
            QVERIFY(!l.fil);
            QCOMPARE(l.text, text);
        }
        const Overforing::Kontroll k = Overforing::kontrollera(
            Overforing::Riktning::Export, kalla + QStringLiteral("/Cup.air"), dest, {}, f.g, f.m);
        QVERIFY(!k.ok);
        QCOMPARE(f.m.visade.size(), 1);
        QCOMPARE(f.m.senasteText(), text);
        const Overforing::Kopieringsutfall u = Overforing::kopieraTavlingsmapp(dest + u'/', kalla);
        QCOMPARE(u.feltext, text);
        QVERIFY(u.sokvagsfel);
        QCOMPARE(vakt.stoppa(), 0);
        QCOMPARE(filslag(plats), Filslag(slag));
        QCOMPARE(QFileInfo::exists(mal), !nytt);
    }

    // A copy into a competition cut off half way, while another program holds
    // its lock, may be that program's copy still under way: neither opening
    // it nor copying from it takes it back, and nothing beside it changes.
    void angrarInteUnderAnnansLas_data() {
        QTest::addColumn<bool>("oppning");
        QTest::newRow("öppning") << true;
        QTest::newRow("kopians källa") << false;
    }
    void angrarInteUnderAnnansLas() {
        QFETCH(bool, oppning);
        Testfixtur f;
        const QString mapp = cup(f);
        const QString kalla = f.t.fil(QStringLiteral("Källa/Cup"));
        QVERIFY(QDir().mkpath(kalla));
        for (const char* fil : {"Cup.air", "Cup.ini"})
            QVERIFY(QFile::copy(mapp + u'/' + QLatin1String(fil), kalla + u'/' + QLatin1String(fil)));
        Mappkopia::Uppdrag u;
        u.kalla = kalla;
        u.mal = mapp;
        u.steg = [](const QString& rel) {
            if (rel == QLatin1String("Cup.ini"))
                throw 1; // as a kill: the database replaced, the INI not yet
        };
        QVERIFY_THROWS_EXCEPTION(int, Mappkopia::kopiera(u));
        QVERIFY(Mappkopia::avbruten(mapp));
        Lasbarn barn(mapp, QStringLiteral("Cup"));
        QVERIFY(barn.haller());
        const QMap<QString, QByteArray> fore = bild(f.tavlingsmapp());
        QVERIFY(fore.contains(QStringLiteral(".Cup.kopiering")) &&
                fore.contains(QStringLiteral(".Cup.kopia/Cup.ini")));

        if (oppning) {
            Tavling::sattSokvagar(f.g, mapp + QStringLiteral("/Cup.air"));
            QCOMPARE(Tavling::OppnaTavling(f.g, f.m, false).utfall, Tavling::Utfall::Misslyckad);
            QCOMPARE(f.m.visade.back().titel, QStringLiteral("Tävlingen används"));
        } else {
            QVERIFY(QDir().mkpath(f.t.fil(QStringLiteral("Sticka"))));
            (void)Overforing::kopieraTavlingsmapp(f.t.fil(QStringLiteral("Sticka/")), mapp);
        }
        QCOMPARE(bild(f.tavlingsmapp()), fore);
    }
};

int main(int argc, char** argv) {
    if (const auto barn = Lasbarn::omBarn(argc, argv))
        return *barn;
    QApplication app(argc, argv);
    TestLaset t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "test_laset.moc"
