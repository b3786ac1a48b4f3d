#include "common/IniNamn.h"
#include "shell/frmBladdra.h"
#include "support/Testfixtur.h"
#include "support/Widget.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

using Lage = frmBladdra::Lage;

// The folder chooser in the wizards' two modes: where it starts, what it hands
// over, and what it stores.
class TestMappvaljare : public QObject {
    Q_OBJECT

    static QString ut(const Testfixtur& f, QString s) { return s.replace(QLatin1String("$T"), f.t.mapp()); }

private slots:
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

    // A new folder must have a name that a USB stick can hold too.
    void nyMappMedOgiltigtNamn_data() {
        QTest::addColumn<QString>("namn");
        QTest::addColumn<QString>("text");
        const auto rad = [](const char* namn, const char* fel) {
            QTest::newRow(namn) << QString::fromUtf8(namn)
                                << QStringLiteral("Mappen \"%1\" kan inte skapas: %2").arg(namn, fel);
        };
        rad("a:b", "tecknet \":\" kan inte användas i ett namn.");
        rad("Con.txt", "\"Con\" är ett reserverat namn på ett USB-minne.");
        rad("Cup.", "ett namn kan inte sluta med punkt eller blanksteg.");
        rad("..", "namnet kan inte användas.");
    }
    void nyMappMedOgiltigtNamn() {
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
        QCOMPARE(QDir(f.t.mapp()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("Grafik"), QStringLiteral("Tävlingar")}));
        b->close();
    }
};

QTEST_MAIN(TestMappvaljare)
#include "test_mappvaljare.moc"
