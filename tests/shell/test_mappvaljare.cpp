#include "common/IniNamn.h"
#include "platform/Filnamn.h"
#include "shell/frmBladdra.h"
#include "support/Testfixtur.h"
#include "support/Widget.h"

#include <QDir>
#include <QFileSystemModel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

using Lage = frmBladdra::Lage;

// The folder chooser in the wizards' two modes: where it starts, what it hands
// over, and what it stores.
class TestMappvaljare : public QObject {
    Q_OBJECT

    static QString ut(const Testfixtur& f, QString s) { return s.replace(QLatin1String("$T"), f.t.mapp()); }

private slots:
    // The hourglass is up while the folder tree is read, down once the
    // folder it starts in has been read, or as soon as the chooser goes.
    void timglasMedanTradetLases_data() {
        QTest::addColumn<bool>("stangsForst");
        QTest::newRow("läst") << false;
        QTest::newRow("stängd under läsningen") << true;
    }
    void timglasMedanTradetLases() {
        QFETCH(bool, stangsForst);
        Testfixtur f;
        QWidget anropare;
        anropare.show();
        auto* b = new frmBladdra(f.kontext, &anropare, Lage::Import);
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        b->show();
        if (stangsForst) {
            b->close();
            QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
            return;
        }
        QTRY_COMPARE(QGuiApplication::overrideCursor(), nullptr);
        b->close();
    }

    // The mode's INI key names the start folder; the program folder when the
    // key is missing, empty or names no folder here.
    void startmapp_data() {
        QTest::addColumn<int>("lage");
        QTest::addColumn<QString>("import");
        QTest::addColumn<QString>("exportkatalog");
        QTest::addColumn<QString>("start");
        const auto rad = [](const char* namn, Lage lage, const char* import, const char* exp,
                            const char* start) {
            QTest::newRow(namn) << int(lage) << QString::fromUtf8(import) << QString::fromUtf8(exp)
                                << QString::fromUtf8(start);
        };
        rad("import", Lage::Import, "$T/Tävlingar", "$T/Export", "$T/Tävlingar");
        rad("export", Lage::Export, "$T/Tävlingar", "$T/Export", "$T/Export");
        rad("import, utan nyckel", Lage::Import, "-", "$T/Export", "$T");
        rad("export, tom", Lage::Export, "$T/Tävlingar", "", "$T");
        rad("export, borttagen", Lage::Export, "", "$T/Sticka", "$T");
        rad("import, från Windows", Lage::Import, "C:\\Tävlingar", "", "$T");
    }
    void startmapp() {
        QFETCH(int, lage);
        QFETCH(QString, import);
        QFETCH(QString, exportkatalog);
        QFETCH(QString, start);
        Testfixtur f;
        QVERIFY(QDir().mkpath(f.t.fil(QStringLiteral("Export"))));
        for (const auto& [nyckel, varde] :
             {std::pair{Ini::Tavlingskatalog, import}, std::pair{Ini::Exportkatalog, exportkatalog}})
            if (varde != QLatin1String("-"))
                QVERIFY(f.g.iniProgram.WriteKey(nyckel.sektion, nyckel.nyckel, ut(f, varde)));
        QWidget anropare;
        anropare.show();
        auto* b = new frmBladdra(f.kontext, &anropare, Lage(lage));
        b->show();
        QCOMPARE(b->aktuellMapp(), QDir::cleanPath(ut(f, start)));
        b->close();
    }

    // OK hands the folder over as it is; in export mode it is stored in
    // Exportkatalog first, and a failed write keeps the chooser open.
    void ok_data() {
        QTest::addColumn<int>("lage");
        QTest::addColumn<bool>("kanSkriva");
        QTest::newRow("import") << int(Lage::Import) << true;
        QTest::newRow("export") << int(Lage::Export) << true;
        QTest::newRow("export, skrivfel") << int(Lage::Export) << false;
    }
    void ok() {
        QFETCH(int, lage);
        QFETCH(bool, kanSkriva);
        Testfixtur f;
        if (!kanSkriva)
            f.g.iniProgram.setPath(f.t.fil(QStringLiteral("saknas/Pilkrona.ini")));
        QWidget anropare;
        anropare.show();
        QString skrivet = QStringLiteral("orört");
        auto* b = new frmBladdra(f.kontext, &anropare, Lage(lage));
        connect(b, &frmBladdra::valt, &anropare, [&](const QString& s) { skrivet = s; });
        b->show();
        const QString mapp = f.tavlingsmapp();
        b->valjMapp(mapp);
        QTest::mouseClick(widget<QPushButton>(b, "cmdOK"), Qt::LeftButton);
        const QString lagrat = f.g.iniProgram.GetKeyValue(Ini::Exportkatalog.sektion,
                                                          Ini::Exportkatalog.nyckel, QStringLiteral("ingen"));
        if (!kanSkriva) {
            QCOMPARE(f.m.visade.size(), 1);
            QVERIFY(f.m.senasteText().startsWith(QStringLiteral("Exportmappen kunde inte sparas.")));
            QCOMPARE(skrivet, QStringLiteral("orört"));
            QVERIFY(b->isVisible());
            b->close();
            return;
        }
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(skrivet, mapp);
        QCOMPARE(lagrat, Lage(lage) == Lage::Export ? mapp : QStringLiteral("ingen"));
    }

    // A new folder takes the names its file system holds: Windows' on a FAT
    // stick, Linux' in the temp folder.
    void nyMapp_data() {
        QTest::addColumn<QString>("namn");
        QTest::addColumn<QString>("text"); // empty: made
        const auto rad = [](const char* namn, const char* fel) {
            QTest::newRow(namn) << QString::fromUtf8(namn)
                                << (*fel ? QStringLiteral("Mappen \"%1\" kan inte skapas: %2").arg(namn, fel)
                                         : QString());
        };
        rad("a:b", "");
        rad("Con.txt", "");
        rad("KM avd.", "");
        rad("..", "namnet kan inte användas.");
    }
    void nyMapp() {
        QFETCH(QString, namn);
        QFETCH(QString, text);
        Testfixtur f;
        QWidget anropare;
        anropare.show();
        auto* b = new frmBladdra(f.kontext, &anropare, Lage::Export);
        b->show();
        f.m.skriv(namn);
        QTest::mouseClick(widget<QPushButton>(b, "cmdNyMapp"), Qt::LeftButton);
        QCOMPARE(f.m.senasteText(), text);
        QCOMPARE(QFileInfo(f.t.fil(namn)).isDir() && namn != QLatin1String(".."), text.isEmpty());
        b->close();
    }

    // A folder only highlighted is not the current folder: OK and "Ny mapp"
    // take the folder last opened (by a double click or Enter).
    void aktuellMapp_data() {
        QTest::addColumn<QString>("hur");
        QTest::addColumn<bool>("oppnad");
        QTest::newRow("inget") << "" << false;
        QTest::newRow("klick") << "klick" << false;
        QTest::newRow("dubbelklick") << "dubbelklick" << true;
        QTest::newRow("Enter") << "Enter" << true;
    }
    void aktuellMapp() {
        QFETCH(QString, hur);
        QFETCH(bool, oppnad);
        Testfixtur f;
        const QString start = f.t.fil(QStringLiteral("Export"));
        const QString under = start + QStringLiteral("/Sticka");
        QVERIFY(QDir().mkpath(under));
        QVERIFY(f.g.iniProgram.WriteKey(Ini::Exportkatalog.sektion, Ini::Exportkatalog.nyckel, start));
        QWidget anropare;
        anropare.show();
        QString skrivet;
        auto* b = new frmBladdra(f.kontext, &anropare, Lage::Export);
        connect(b, &frmBladdra::valt, &anropare, [&](const QString& s) { skrivet = s; });
        b->show();
        QVERIFY(QTest::qWaitForWindowExposed(b));
        auto* lista = widget<QTreeView>(b, "Dir1");
        const auto* modell = static_cast<const QFileSystemModel*>(lista->model());
        const QModelIndex i = modell->index(under);
        QTRY_VERIFY(lista->visualRect(i).isValid());
        const QPoint punkt = lista->visualRect(i).center();
        if (hur == QLatin1String("klick")) {
            QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, punkt);
            QCOMPARE(lista->currentIndex(), i);
        } else if (hur == QLatin1String("dubbelklick")) {
            // A double click comes after the click it began with.
            QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, punkt);
            QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, punkt);
        } else if (hur == QLatin1String("Enter")) {
            lista->setCurrentIndex(i);
            QTest::keyClick(lista, Qt::Key_Return);
            QVERIFY(b->isVisible());
        }
        const QString aktuell = oppnad ? under : start;
        QCOMPARE(b->aktuellMapp(), aktuell);
        f.m.skriv(QStringLiteral("Ny"));
        QTest::mouseClick(widget<QPushButton>(b, "cmdNyMapp"), Qt::LeftButton);
        QVERIFY(QFileInfo(aktuell + QStringLiteral("/Ny")).isDir());
        QTest::mouseClick(widget<QPushButton>(b, "cmdOK"), Qt::LeftButton);
        QCOMPARE(skrivet, aktuell);
    }

    // The chooser of the wizards is frmBläddraExp, with its button named
    // beside the picture; the shell's is frmBläddra, its button a picture.
    void texter_data() {
        QTest::addColumn<int>("lage"); // -1: the shell's
        QTest::addColumn<bool>("grafik");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QString>("knapp");
        QTest::addColumn<QString>("tips");
        const QString saknas = QStringLiteral(", Form_load: Ikon saknas!");
        const QString ny = QStringLiteral("Ny mapp");
        QTest::newRow("skalet") << -1 << true << QString() << QString() << QString() << ny;
        QTest::newRow("skalet utan bilder") << -1 << false << "frmBläddra" + saknas << QString() << ny << ny;
        QTest::newRow("export") << int(Lage::Export) << true << QString() << QString() << ny << QString();
        QTest::newRow("import utan bilder") << int(Lage::Import) << false << "frmBläddraExp" + saknas
                                            << QStringLiteral("Ikon saknas") << ny << QString();
    }
    void texter() {
        QFETCH(int, lage);
        QFETCH(bool, grafik);
        QFETCH(QString, text);
        QFETCH(QString, titel);
        QFETCH(QString, knapp);
        QFETCH(QString, tips);
        Testfixtur f(grafik);
        QWidget anropare;
        auto* b = lage < 0 ? new frmBladdra(f.kontext, &anropare, QString())
                           : new frmBladdra(f.kontext, &anropare, Lage(lage));
        QCOMPARE(f.m.senasteText(), text);
        if (!text.isEmpty())
            QCOMPARE(f.m.visade[0].titel, titel);
        auto* nyMapp = widget<QPushButton>(b, "cmdNyMapp");
        QCOMPARE(nyMapp->text(), knapp);
        QCOMPARE(nyMapp->toolTip(), tips);
        QCOMPARE(nyMapp->icon().isNull(), !grafik);
    }

    // The drives: "/", a stick wherever the desktop mounts it, other disks;
    // never the system's own file systems.
    void enheter_data() {
        QTest::addColumn<QString>("rot");
        QTest::addColumn<QByteArray>("typ");
        QTest::addColumn<bool>("enhet");
        const auto rad = [](const char* rot, const char* typ, bool enhet) {
            QTest::addRow("%s %s", rot, typ) << QString::fromUtf8(rot) << QByteArray(typ) << enhet;
        };
        rad("/", "overlay", true);
        rad("/media/anna/STICKA", "vfat", true);
        rad("/run/media/anna/STICKA", "exfat", true);
        rad("/mnt/usb", "fuseblk", true);
        rad("/run/user/1000", "tmpfs", false);
        rad("/run/lock", "ext4", false);
        rad("/boot/efi", "vfat", false);
        rad("/snap/core22/1380", "squashfs", false);
        rad("/var/lib/docker/overlay2/a/merged", "overlay", false);
    }
    void enheter() {
        QFETCH(QString, rot);
        QFETCH(QByteArray, typ);
        QFETCH(bool, enhet);
        QCOMPARE(arEnhet(rot, typ), enhet);
        QCOMPARE(::enheter().value(0), QStringLiteral("/"));
    }
};

QTEST_MAIN(TestMappvaljare)
#include "test_mappvaljare.moc"
