#include "platform/Databas.h"
#include "platform/Filnamn.h"
#include "shell/Tavling.h"
#include "support/Lasbarn.h"
#include "support/Pipvakt.h"
#include "support/Testfixtur.h"
#include "transfer/Tavlingsoverforing.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryFile>
#include <QTest>
#include <algorithm>
#include <pwd.h>
#include <unistd.h>

using Overforing::Kontroll;
using Overforing::Riktning;
using Svar = Meddelanden::Svar;

// The checks before a competition folder is copied, on real folders: what is
// refused, what is asked, and where the wizard goes back to.
class TestKontroll : public QObject {
    Q_OBJECT

    // A competition database of ours at <program folder>/<relativ>.
    static QString tavling(const Testfixtur& f, const char* relativ) {
        const QString fil = f.t.fil(QString::fromUtf8(relativ));
        QDir().mkpath(QFileInfo(fil).path());
        QFile::copy(f.t.fil(QStringLiteral("Pilkrona.mdb")), fil);
        return fil;
    }
    static void mappar(const Testfixtur& f, std::initializer_list<const char*> namn) {
        for (const char* n : namn)
            QVERIFY(QDir().mkpath(f.t.fil(QString::fromUtf8(n))));
    }
    static QString ut(const Testfixtur& f, QString s) { return s.replace(QLatin1String("$T"), f.t.mapp()); }
    static qsizetype byte(const QString& s) { return s.toUtf8().size(); }
    // A path below bas exactly langd bytes long, of names of "å" (and one "x"
    // where a byte is left over); its folders are made, the last name is not.
    static QString sokvagMedLangd(const QString& bas, qsizetype langd) {
        QString s = bas;
        while (byte(s) < langd) {
            qsizetype n = std::min<qsizetype>(langd - byte(s) - 1, 200);
            if (langd - byte(s) - 1 - n == 1)
                n -= 2;
            s += QLatin1Char('/') + QString(n / 2, QChar(0xe5)) + QString(n % 2, QLatin1Char('x'));
        }
        QDir().mkpath(QFileInfo(s).path());
        return s;
    }
    // The answers, J for Ja and N for Nej, are queued before the checks run.
    static Kontroll kor(Testfixtur& f, Riktning r, const QString& kalla, const QString& dest,
                        const QString& svaren = {}, std::optional<Filsystem> fs = std::nullopt) {
        for (QChar c : svaren)
            f.m.svara(c == QLatin1Char('J') ? Svar::Ja : Svar::Nej);
        return Overforing::kontrollera(r, ut(f, kalla), ut(f, dest), {}, f.g, f.m, fs);
    }

private slots:
    // Each check in its import and its export words. Cup lies in Tävlingar;
    // Sticka holds nothing, Tom an empty Cup folder, Gammal a Cup of its own.
    void ordenForBadaRiktningarna_data() {
        QTest::addColumn<int>("riktning");
        QTest::addColumn<QString>("kalla");
        QTest::addColumn<QString>("dest");
        QTest::addColumn<QString>("svaren");
        QTest::addColumn<int>("steg"); // -1: go ahead
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QString>("text");
        const QString cup = QStringLiteral("$T/Tävlingar/Cup/Cup.air");
        const QString datum = QStringLiteral("Tävlingen finns redan!\r\n\r\nVill du byta ut tävlingen med "
                                             "datum: \r\n2011-03-05 14:22\r\n\r\nMot tävlingen med datum: "
                                             "\r\n2012-01-02 03:04");
        for (Riktning r : {Riktning::Import, Riktning::Export}) {
            const bool imp = r == Riktning::Import;
            const QString v = imp ? QStringLiteral("importera") : QStringLiteral("exportera");
            const QString p = v + QStringLiteral("s");
            const auto rad = [&](const char* namn, const QString& kalla, const char* dest, const char* svaren,
                                 int steg, const char* titel, const QString& text) {
                QTest::addRow("%s %s", imp ? "import" : "export", namn)
                    << int(r) << kalla << QString::fromUtf8(dest) << QString::fromLatin1(svaren) << steg
                    << QString::fromUtf8(titel) << text;
            };
            const auto tomt = [&](const char* text) { return QString::fromUtf8(text).arg(p); };
            rad("tom källa", "  ", "$T/Sticka", "", 0, "Tomt fält",
                tomt("Du måste ange en sökväg till den tävling som ska %1."));
            rad("tom destination", cup, " ", "", 1, "Tomt fält",
                tomt("Du måste ange en sökväg dit tävlingen ska %1."));
            const QString samma =
                QStringLiteral("Du får inte ange samma tävling att %1 från och till!").arg(v);
            rad("samma plats", cup, "$T/Tävlingar", "", 1, "Fel sökväg", samma);
            rad("samma plats med blanktecken", " " + cup + " ", " $T/Tävlingar/ ", "", 1, "Fel sökväg",
                samma);
            rad("samma plats via ..", cup, "$T/Sticka/../Tävlingar", "", 1, "Fel sökväg", samma);
            rad("samma plats via länk", cup, "$T/Länk", "", 1, "Fel sökväg", samma);
            const QString mapp =
                QStringLiteral("Tävlingsmappen finns redan dit du vill %1!\r\nVill du använda den ändå?")
                    .arg(v);
            rad("mappen finns, ja", cup, "$T/Tom", "J", -1, "Bekräfta", mapp);
            rad("mappen finns, nej", cup, "$T/Tom", "N", 1, "Bekräfta", mapp);
            rad("tävlingen finns, ja", cup, "$T/Gammal/", "J", -1, "Bekräfta", datum);
            rad("tävlingen finns, nej", cup, "$T/Gammal", "N", 1, "Bekräfta", datum);
            rad("ny", cup, "$T/Sticka", "", -1, "", "");
        }
    }
    void ordenForBadaRiktningarna() {
        QFETCH(int, riktning);
        QFETCH(QString, kalla);
        QFETCH(QString, dest);
        QFETCH(QString, svaren);
        QFETCH(int, steg);
        QFETCH(QString, titel);
        QFETCH(QString, text);
        Testfixtur f;
        const QString cup = tavling(f, "Tävlingar/Cup/Cup.air");
        const QString gammal = tavling(f, "Gammal/Cup/Cup.air");
        mappar(f, {"Tom/Cup", "Sticka"});
        QVERIFY(QFile::link(f.t.fil(QStringLiteral("Tävlingar")), f.t.fil(QStringLiteral("Länk"))));
        for (const auto& [fil, tid] : {std::pair{gammal, QDateTime(QDate(2011, 3, 5), QTime(14, 22, 31))},
                                       std::pair{cup, QDateTime(QDate(2012, 1, 2), QTime(3, 4, 5))}}) {
            QFile fh(fil);
            QVERIFY(fh.open(QIODevice::ReadWrite) && fh.setFileTime(tid, QFileDevice::FileModificationTime));
        }

        const Kontroll k = kor(f, Riktning(riktning), kalla, dest, svaren);
        QCOMPARE(k.ok, steg < 0);
        if (steg >= 0) {
            QCOMPARE(k.steg, steg);
            QCOMPARE(k.fokus, steg == 0 ? Kontroll::Fokus::Kalla : Kontroll::Fokus::Destination);
        }
        QCOMPARE(f.m.visade.size(), text.isEmpty() ? 0 : 1);
        if (!text.isEmpty()) {
            QCOMPARE(f.m.visade[0].text, text);
            QCOMPARE(f.m.visade[0].titel, titel);
            QCOMPARE(f.m.visade[0].ikon,
                     titel == "Bekräfta" ? Meddelanden::Ikon::Fraga : Meddelanden::Ikon::Kritisk);
        }
        if (k.ok) {
            QCOMPARE(k.sokvagar.kallmapp, f.t.fil(QStringLiteral("Tävlingar/Cup")));
            QCOMPARE(k.sokvagar.filtitel, QStringLiteral("Cup.air"));
            // One separator between the destination and the folder, however the field ended.
            QCOMPARE(k.sokvagar.malmapp(), QDir::cleanPath(ut(f, dest)) + QStringLiteral("/Cup"));
        }
    }

    // What cannot be copied is refused before any question, with the reason.
    // $R is a competition lying at a volume's root, no competition folder.
    void vagras_data() {
        QTest::addColumn<QString>("kalla");
        QTest::addColumn<QString>("dest");
        QTest::addColumn<int>("steg");
        QTest::addColumn<QString>("borjan");
        const auto rad = [](const char* namn, const char* kalla, const char* dest, int steg,
                            const char* borjan) {
            QTest::newRow(namn) << QString::fromUtf8(kalla) << QString::fromUtf8(dest) << steg
                                << QString::fromUtf8(borjan);
        };
        const char* cup = "$T/Tävlingar/Cup/Cup.air";
        rad("källan finns inte", "$T/Borta/Borta.air", "$T/Sticka", 0, "Tävlingen \"");
        rad("jet", "$T/Gammalt/Jet.air", "$T/Sticka", 0, "Filen \"");
        rad("ingen tävling", "$T/Text/Text.air", "$T/Sticka", 0, "Filen \"");
        rad("relativ källa", "Cup/Cup.air", "$T/Sticka", 0, "Sökvägen \"Cup/Cup.air\"");
        rad("relativ destination", cup, "Sticka", 1, "Sökvägen \"");
        rad("destinationen finns inte", cup, "$T/Finns/inte", 1, "Mappen ");
        rad("destinationen är en fil", cup, "$T/Text/Text.air", 1, "$T/Text/Text.air är en fil, ingen mapp.");
        rad("målet är en fil", cup, "$T/Fil", 1, "$T/Fil/Cup finns redan och är ingen mapp.");
        rad("målet inuti källan", cup, "$T/Tävlingar/Cup", 1,
            "Tävlingen kan inte kopieras till $T/Tävlingar/Cup/Cup, som ligger inuti tävlingens egen mapp "
            "$T/Tävlingar/Cup.");
        rad("källan inuti målet", "$T/Cup/Cup/Cup.air", "$T", 1,
            "Tävlingen kan inte kopieras till $T/Cup, eftersom tävlingens egen mapp $T/Cup/Cup ligger i "
            "den.");
        rad("i hemmappen", "$T/Hem/Cup.air", "$T/Sticka", 0, "Tävlingen ligger direkt i");
        rad("volymens rot", "$R", "$T/Sticka", 0, "Tävlingen ligger direkt i /dev/shm");
        // The copy leaves links and pipes out and never writes through a link.
        rad("databasen är en länk", "$T/Länkad/Cup/Cup.air", "$T/Sticka", 0,
            "Databasfilen \"$T/Länkad/Cup/Cup.air\" är en symbolisk länk, ingen vanlig fil.");
        rad("databasen är en pipe", "$T/Pipa/Cup/Cup.air", "$T/Sticka", 0,
            "Databasfilen \"$T/Pipa/Cup/Cup.air\" är en namngiven pipe (FIFO), ingen vanlig fil,");
        rad("en annan databas är en länk", "$T/Granne/Cup/Cup.air", "$T/Sticka", 0,
            "Databasfilen \"$T/Granne/Cup/Annan.air\" är en symbolisk länk, ingen vanlig fil.");
        // The settings go with their database, or the copy does not go.
        for (const auto& [namn, mapp, slag] :
             {std::tuple{"inställningarna är en länk", "IniLänk", "en symbolisk länk"},
              std::tuple{"inställningarna är en pipe", "IniPipa", "en namngiven pipe (FIFO)"},
              std::tuple{"inställningarna är en mapp", "IniMapp", "en mapp"}})
            QTest::newRow(namn) << QStringLiteral("$T/%1/Cup/Cup.air").arg(QString::fromUtf8(mapp))
                                << QStringLiteral("$T/Sticka") << 0
                                << QStringLiteral("Tävlingens inställningsfil \"$T/%1/Cup/Cup.ini\" är %2, "
                                                  "ingen vanlig fil, och följer inte med när tävlingen "
                                                  "kopieras.")
                                       .arg(QString::fromUtf8(mapp), QString::fromUtf8(slag));
        for (const char* dest : {"$T/Länkmål", "$T/Hängande"})
            QTest::addRow("målet är en länk till %s", dest + 3)
                << QString::fromUtf8(cup) << QString::fromUtf8(dest) << 1
                << QString::fromUtf8(dest) +
                       QStringLiteral(
                           "/Cup är en symbolisk länk, ingen mapp. Kopieringen skriver aldrig genom en "
                           "länk: ta bort länken eller välj en annan plats och försök igen.");
        rad("över den öppna tävlingen", "$T/Annan/Cup/Cup.air", "$T/Tävlingar", 1, "Tävlingen Cup är öppen");
        rad("in i den öppna tävlingen", "$T/Annan/Cup/Cup.air", "$T/Tävlingar/Cup", 1,
            "Tävlingen Cup är öppen");
    }
    void vagras() {
        QFETCH(QString, kalla);
        QFETCH(QString, dest);
        QFETCH(int, steg);
        QFETCH(QString, borjan);
        Testfixtur f;
        // Every folder name differs from its competition's, so a question
        // asked too early would show.
        for (const char* fil :
             {"Tävlingar/Cup/Cup.air", "Cup/Cup/Cup.air", "Hem/Cup.air", "Annan/Cup/Cup.air",
              "Granne/Cup/Cup.air", "IniLänk/Cup/Cup.air", "IniPipa/Cup/Cup.air", "IniMapp/Cup/Cup.air"})
            tavling(f, fil);
        mappar(f, {"Sticka", "Gammalt", "Text", "Fil", "Länkad/Cup", "Pipa/Cup", "Länkmål", "Hängande",
                   "IniMapp/Cup/Cup.ini"});
        const QString cup = f.t.fil(QStringLiteral("Tävlingar/Cup/Cup.air")),
                      pipa = f.t.fil(QStringLiteral("Pipa/Cup/Cup.air")),
                      inipipa = f.t.fil(QStringLiteral("IniPipa/Cup/Cup.ini"));
        for (const auto& [plats, mal] :
             {std::pair{"Länkad/Cup/Cup.air", cup}, std::pair{"Granne/Cup/Annan.air", cup},
              std::pair{"IniLänk/Cup/Cup.ini", f.t.fil(QStringLiteral("Tävlingar/Cup/Cup.ini"))},
              std::pair{"Länkmål/Cup", f.t.fil(QStringLiteral("Sticka"))},
              std::pair{"Hängande/Cup", f.t.fil(QStringLiteral("Borta"))}})
            QVERIFY(laggPost(f.t.fil(QString::fromUtf8(plats)), Filslag::Lank, mal));
        QVERIFY(laggPost(pipa, Filslag::Pipe) && laggPost(inipipa, Filslag::Pipe));
        Pipvakt vakt({pipa, inipipa});
        for (const auto& [fil, innehall] :
             {std::pair{"Gammalt/Jet.air", QByteArray("\0\1\0\0Standard Jet DB", 19) + QByteArray(200, '\0')},
              std::pair{"Text/Text.air", QByteArray("inte en databas\n")},
              std::pair{"Fil/Cup", QByteArray("x")}}) {
            QFile fh(f.t.fil(QString::fromUtf8(fil)));
            QVERIFY(fh.open(QIODevice::WriteOnly) && fh.write(innehall) == innehall.size());
        }
        QTemporaryFile rot(QStringLiteral("/dev/shm/XXXXXX.air"));
        QFile mall(f.t.fil(QStringLiteral("Pilkrona.mdb")));
        QVERIFY(rot.open() && mall.open(QIODevice::ReadOnly) && rot.write(mall.readAll()) > 0);
        rot.close();
        kalla.replace(QLatin1String("$R"), rot.fileName());
        Tavling::sattSokvagar(f.g, f.t.fil(QStringLiteral("Tävlingar/Cup/Cup.air")));
        const QByteArray hem = qgetenv("HOME");
        qputenv("HOME", f.t.fil(QStringLiteral("Hem")).toUtf8());
        const Kontroll k = kor(f, Riktning::Export, kalla, dest, "JJ");
        qputenv("HOME", hem);
        QCOMPARE(vakt.stoppa(), 0);
        QVERIFY(!k.ok);
        QCOMPARE(k.steg, steg);
        QCOMPARE(f.m.visade.size(), 1);
        QVERIFY2(f.m.senasteText().startsWith(ut(f, borjan)), qPrintable(f.m.senasteText()));
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Fel sökväg"));
    }

    // A folder named otherwise than its competition goes along whole: asked
    // first, naming the folder, before the question about the target. Letter
    // case alone is no other name.
    void mappfragan_data() {
        QTest::addColumn<QString>("mapp");
        QTest::addColumn<QString>("svaren");
        QTest::addColumn<int>("fragor"); // the wizard goes ahead only on two Ja
        QTest::newRow("ja, ja") << "Klubben"
                                << "JJ" << 2;
        QTest::newRow("ja, nej") << "Klubben"
                                 << "JN" << 2;
        QTest::newRow("nej") << "Klubben"
                             << "N" << 1;
        QTest::newRow("cup med Cup.air") << "cup"
                                         << "J" << 1;
    }
    void mappfragan() {
        QFETCH(QString, mapp);
        QFETCH(QString, svaren);
        QFETCH(int, fragor);
        Testfixtur f;
        tavling(f, qPrintable(mapp + QStringLiteral("/Cup.air")));
        mappar(f, {qPrintable(QStringLiteral("Sticka/") + mapp)});
        const Kontroll k = kor(f, Riktning::Import, "$T/" + mapp + "/Cup.air", "$T/Sticka", svaren);
        QCOMPARE(k.ok, svaren.count(QLatin1Char('J')) == fragor);
        QCOMPARE(k.steg, k.ok ? 0 : 1);
        QCOMPARE(f.m.visade.size(), fragor);
        if (mapp == QLatin1String("cup"))
            QVERIFY(f.m.senasteText().startsWith(QStringLiteral("Tävlingsmappen finns redan")));
        else
            QCOMPARE(
                f.m.visade[0].text,
                QStringLiteral("Tävlingen Cup ligger i mappen \"Klubben\".\r\nHela mappen \"Klubben\" med "
                               "allt som ligger i den kopieras till %1.\r\n\r\nVill du fortsätta?")
                    .arg(f.t.fil("Sticka/Klubben")));
    }

    // Every name that goes along is held to the rules of the file system it
    // goes to, before anything is asked; what one cannot hold sends the
    // operator back to choose another destination.
    void namnPaMalet_data() {
        QTest::addColumn<QString>("mapp");
        QTest::addColumn<QString>("databas");
        QTest::addColumn<QStringList>("filer");
        QTest::addColumn<bool>("fat");
        QTest::addColumn<QString>("text"); // empty: the copy may go ahead
        const auto rad = [](const char* namn, const char* mapp, const char* databas, QStringList filer,
                            bool fat, const char* text) {
            QTest::newRow(namn) << QString::fromUtf8(mapp) << QString::fromUtf8(databas) << filer << fat
                                << QString::fromUtf8(text);
        };
        const QStringList inga;
        const QStringList kolon = {QStringLiteral("Utskrifter/Resultat: final.xlsx")};
        const QStringList skiftlage = {QStringLiteral("Utskrifter/Lista.xlsx"),
                                       QStringLiteral("Utskrifter/LISTA.xlsx")};
        rad("punkt sist, Linux", "KM avd.", "KM avd..air", inga, false, "");
        rad("punkt sist, FAT", "KM avd.", "KM avd..air", inga, true,
            "Tävlingsmappen \"KM avd.\" kan inte kopieras till $T/Sticka: ett namn kan inte sluta med punkt "
            "eller blanksteg.");
        rad("Com1, Linux", "Com1", "Com1.air", inga, false, "");
        rad("Aux, FAT", "Aux", "Aux.air", inga, true,
            "Tävlingsmappen \"Aux\" kan inte kopieras till $T/Sticka: \"Aux\" är ett reserverat namn på ett "
            "USB-minne.");
        rad("lista med kolon, Linux", "Cup", "Cup.air", kolon, false, "");
        rad("lista med kolon, FAT", "Cup", "Cup.air", kolon, true,
            "\"Utskrifter/Resultat: final.xlsx\" i tävlingsmappen kan inte kopieras till $T/Sticka: tecknet "
            "\":\" kan inte användas i ett namn.");
        rad("databas med kolon, FAT", "Cup", "a:b.air", inga, true,
            "\"a:b.air\" i tävlingsmappen kan inte kopieras till $T/Sticka: tecknet \":\" kan inte användas "
            "i "
            "ett namn.");
        rad("skiftläge, Linux", "Cup", "Cup.air", skiftlage, false, "");
        rad("skiftläge, FAT", "Cup", "Cup.air", skiftlage, true,
            "\"Utskrifter/LISTA.xlsx\" och \"Utskrifter/Lista.xlsx\" i tävlingsmappen kan inte båda kopieras "
            "till $T/Sticka, där stora och små bokstäver inte skiljer två namn åt.");
        rad("samma namn i två mappar, FAT", "Cup", "Cup.air",
            {QStringLiteral("A/Lista.xlsx"), QStringLiteral("B/LISTA.xlsx"), QStringLiteral("lista.xlsx")},
            true, "");
    }
    void namnPaMalet() {
        QFETCH(QString, mapp);
        QFETCH(QString, databas);
        QFETCH(QStringList, filer);
        QFETCH(bool, fat);
        QFETCH(QString, text);
        Testfixtur f;
        tavling(f, qPrintable(mapp + QLatin1Char('/') + databas));
        mappar(f, {"Sticka"});
        for (const QString& fil : filer) {
            QVERIFY(QDir().mkpath(QFileInfo(f.t.fil(mapp + QLatin1Char('/') + fil)).path()));
            QFile fh(f.t.fil(mapp + QLatin1Char('/') + fil));
            QVERIFY(fh.open(QIODevice::WriteOnly));
        }
        // What a copy leaves out stands in no one's way.
        QVERIFY(QFile::link(QStringLiteral("/"), f.t.fil(mapp + QStringLiteral("/länk:*"))));
        const Kontroll k = kor(f, Riktning::Export, "$T/" + mapp + QLatin1Char('/') + databas, "$T/Sticka",
                               {}, fat ? Filsystem::Fat : Filsystem::Linux);
        QCOMPARE(k.ok, text.isEmpty());
        QCOMPARE(f.m.visade.size(), text.isEmpty() ? 0 : 1);
        if (text.isEmpty())
            return;
        QCOMPARE(f.m.visade[0].text, ut(f, text));
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Fel sökväg"));
        QCOMPARE(k.steg, 1);
        QCOMPARE(k.fokus, Kontroll::Fokus::Destination);
    }

    // The rules themselves: Windows' on a FAT or exFAT stick, Linux' elsewhere.
    void namnregler_data() {
        QTest::addColumn<QString>("namn");
        QTest::addColumn<bool>("fat");
        QTest::addColumn<QString>("fel");
        const auto rad = [](const QString& namn, bool fat, const char* fel) {
            QTest::addRow("%s, %s", qPrintable(namn.left(20)), fat ? "FAT" : "Linux")
                << namn << fat << QString::fromUtf8(fel);
        };
        for (bool fat : {false, true}) {
            rad(QStringLiteral(".."), fat, "namnet kan inte användas");
            rad(QStringLiteral("a/b"), fat, "tecknet \"/\" kan inte användas i ett namn");
            rad(QString(128, QChar(0xe5)), fat, "namnet är för långt");
        }
        rad(QStringLiteral("a\tb?"), false, "");
        rad(QStringLiteral("a\tb?"), true, "namnet innehåller ett styrtecken");
        rad(QStringLiteral("lpt1.xlsx "), false, "");
        rad(QStringLiteral("lpt1.xlsx "), true, "ett namn kan inte sluta med punkt eller blanksteg");
    }
    void namnregler() {
        QFETCH(QString, namn);
        QFETCH(bool, fat);
        QFETCH(QString, fel);
        QCOMPARE(namnfel(namn, fat ? Filsystem::Fat : Filsystem::Linux), fel);
    }

    // The temp folder is no FAT; a FUSE mount is told by its subtype, else by
    // its device's first sector, else taken for a stick.
    void filsystemet_data() {
        QTest::addColumn<QByteArray>("typ");
        QTest::addColumn<QByteArray>("sektor");
        QTest::addColumn<bool>("fat");
        const auto sektor = [](int plats, const char* text) {
            QByteArray s(512, '\0');
            s.replace(plats, qstrlen(text), text);
            return s;
        };
        QTest::newRow("exFAT") << QByteArray("fuseblk") << sektor(3, "EXFAT   ") << true;
        QTest::newRow("FAT32") << QByteArray("fuseblk") << sektor(82, "FAT32   ") << true;
        QTest::newRow("FAT16") << QByteArray("fuseblk") << sektor(54, "FAT16   ") << true;
        QTest::newRow("NTFS") << QByteArray("fuseblk") << sektor(3, "NTFS    ") << false;
        QTest::newRow("oläsbar enhet") << QByteArray("fuseblk") << QByteArray() << true;
        QTest::newRow("undertyp exfat") << QByteArray("fuseblk.exfat") << QByteArray() << true;
        QTest::newRow("sshfs") << QByteArray("fuse.sshfs") << QByteArray() << false;
    }
    void filsystemet() {
        QFETCH(QByteArray, typ);
        QFETCH(QByteArray, sektor);
        QFETCH(bool, fat);
        QCOMPARE(fuseFilsystem(typ, sektor), fat ? Filsystem::Fat : Filsystem::Linux);
        Testmiljo t;
        QCOMPARE(filsystem(t.mapp()), Filsystem::Linux);
        QCOMPARE(filsystem(t.fil(QStringLiteral("finns/inte"))), Filsystem::Linux);
    }

    // The longest names and paths a copy makes are held to the limits before
    // anything is asked: a name of 255 bytes (the copy's own beside the
    // target, a database's journal, a competition's lock files), a path of
    // 4095 bytes and a database's path with "-journal" of 512 bytes for
    // SQLite, counted where the copy fills the target first. Just within
    // them the folder is copied and its competitions open and take writes at
    // the target; just beyond, the refusal names what is too long and by how
    // much. Letters of two bytes count as two.
    void langaNamn_data() {
        QTest::addColumn<QString>("mapp");
        QTest::addColumn<QString>("databas"); // a second competition in the folder
        QTest::addColumn<int>("sqlite");      // the destination deep enough for this; 0: not
        QTest::addColumn<int>("sokvag");      // a file this long where the copy fills; 0: none
        QTest::addColumn<QString>("text");    // $D destination, $M target, $A staging, $R the file
        const QString a(118, QChar(0xe4));    // 236 bytes
        const QString o(122, QChar(0xf6));    // 244 bytes
        const QString namn =
            QStringLiteral("Namnet \"%1\" blir för långt i %2: 256 byte, 1 fler än de 255 som ett "
                           "namn kan ha.\r\n");
        const QString atgard =
            QStringLiteral("\r\nVälj en plats med kortare sökväg eller ge mapparna och filerna "
                           "kortare namn, och försök igen.");
        const auto rad = [](const char* rad, const QString& mapp, const QString& databas, int sqlite,
                            int sokvag, const QString& text) {
            QTest::newRow(rad) << mapp << databas << sqlite << sokvag << text;
        };
        const QString cup = QStringLiteral("Cup");
        rad("mappen 236 byte", a, {}, 0, 0, {});
        rad("mappen 237 byte", a + u'x', {}, 0, 0,
            namn.arg(u'.' + a + QStringLiteral("x.kopia.lock.rmlock"), QStringLiteral("$D")) +
                QStringLiteral(
                    "Så heter en av de filer som kopieringen gör bredvid tävlingsmappen, så mappens "
                    "namn \"%1x\" måste vara kortare.")
                    .arg(a));
        rad("databasen 246 byte", cup, o.chopped(1) + QStringLiteral(".air"), 0, 0, {});
        rad("databasen 247 byte", cup, o.chopped(1) + QStringLiteral("x.air"), 0, 0,
            namn.arg(u'.' + o.chopped(1) + QStringLiteral("x.lock.rmlock"), QStringLiteral("$M")) +
                QStringLiteral(
                    "Så heter en av låsfilerna som tävlingen %1x får när den öppnas, så tävlingens "
                    "namn måste vara kortare.")
                    .arg(o.chopped(1)));
        rad("databasen 248 byte", cup, o + QStringLiteral(".air"), 0, 0,
            namn.arg(o + QStringLiteral(".air-journal"), QStringLiteral("$M")) +
                QStringLiteral("Så heter journalfilen som databasen \"%1.air\" får när tävlingen ändras, så "
                               "databasens namn måste vara kortare.")
                    .arg(o));
        rad("SQLite 512 byte", cup, {}, 512, 0, {});
        rad("SQLite 513 byte", cup, {}, 513, 0,
            QStringLiteral(
                "Sökvägen till databasen \"Cup.air\" blir för lång i kopieringens tillfälliga mapp $A: "
                "med journalfilens \"-journal\" 513 byte, 1 fler än de 512 som SQLite klarar.") +
                atgard);
        rad("sökväg 4095 byte", cup, {}, 0, 4095, {});
        rad("sökväg 4096 byte", cup, {}, 0, 4096,
            QStringLiteral(
                "Sökvägen till \"$R\" blir för lång i kopieringens tillfälliga mapp $A: 4096 byte, 1 "
                "fler än de 4095 som Linux klarar.") +
                atgard);
    }
    void langaNamn() {
        QFETCH(QString, mapp);
        QFETCH(QString, databas);
        QFETCH(int, sqlite);
        QFETCH(int, sokvag);
        QFETCH(QString, text);
        Testfixtur f;
        const QString kallmapp = f.t.fil(mapp);
        QVERIFY(QDir().mkpath(kallmapp));
        for (const QString& air : {QStringLiteral("Cup.air"), databas})
            QVERIFY(air.isEmpty() ||
                    QFile::copy(f.t.fil(QStringLiteral("Pilkrona.mdb")), kallmapp + u'/' + air));
        QString dest = f.t.fil(QStringLiteral("Sticka"));
        if (sqlite)
            dest = sokvagMedLangd(f.t.fil(QStringLiteral("S")),
                                  sqlite - byte(QStringLiteral("/.Cup.kopia/Cup.air-journal")));
        QVERIFY(QDir().mkpath(dest));
        const QString mal = dest + u'/' + mapp;
        QString rel;
        if (sokvag) {
            const QString fil = sokvagMedLangd(kallmapp, byte(kallmapp) + sokvag -
                                                             byte(dest + QStringLiteral("/.Cup.kopia")));
            QFile fh(fil);
            QVERIFY(fh.open(QIODevice::WriteOnly));
            rel = fil.mid(kallmapp.size() + 1);
        }
        const Kontroll k = kor(f, Riktning::Export, kallmapp + QStringLiteral("/Cup.air"), dest, "JJ");
        text.replace(QLatin1String("$D"), dest)
            .replace(QLatin1String("$M"), mal)
            .replace(QLatin1String("$A"), dest + QStringLiteral("/.") + mapp + QStringLiteral(".kopia"))
            .replace(QLatin1String("$R"), rel);
        QCOMPARE(k.ok, text.isEmpty());
        if (!text.isEmpty()) {
            QCOMPARE(f.m.visade.size(), 1);
            QCOMPARE(f.m.senasteText(), text);
            QCOMPARE(f.m.visade[0].titel, QStringLiteral("Fel sökväg"));
            QCOMPARE(k.steg, 1);
            return;
        }
        const Overforing::Kopieringsutfall u = Overforing::kopieraTavlingsmapp(dest + u'/', kallmapp);
        QCOMPARE(u.feltext, QString());
        for (const QString& air : QDir(mal).entryList({QStringLiteral("*.air")}, QDir::Files)) {
            const Tavling::Las las = Tavling::lasTavling(mal, air.chopped(4));
            QVERIFY2(las.fil, qPrintable(las.text));
            Databas db;
            db.Open(mal + u'/' + air);
            db.kor(QStringLiteral("CREATE TABLE Prov (x INTEGER) STRICT"));
        }
    }

    // A file the copy would replace that a spreadsheet program has open at
    // the target is refused before anything is asked, named with who has it
    // as a list save names them; a lock file nothing backs asks as usual.
    void oppenListaPaMalet_data() {
        QTest::addColumn<QString>("lasfil");
        QTest::addColumn<QByteArray>("innehall");
        QTest::addColumn<QString>("innehavare"); // empty: not refused
        const passwd* pw = ::getpwuid(::geteuid());
        QTest::newRow("LibreOffice på en annan dator")
            << ".~lock.Lista.xlsx#"
            << QByteArray(
                   "Anna Berg,anna,annan-dator,07.12.2026 10:00,file:///home/anna/.config/libreoffice/4;")
            << "Öppnad av Anna Berg på datorn annan-dator, låsfil $M/Utskrifter/.~lock.Lista.xlsx#. Stäng "
               "filen "
               "där; är den inte öppen, ta bort låsfilen.";
        QTest::newRow("Office")
            << "~$Lista.xlsx"
            << QByteArray("\x04"
                          "Anna") +
                   QByteArray(50, ' ')
            << "Öppnad av Anna på en okänd dator, låsfil $M/Utskrifter/~$Lista.xlsx. Stäng "
               "filen där; är den inte öppen, ta bort låsfilen.";
        // A pipe is never opened: it would hold the check up for good.
        const QString pipa =
            "Låsfilen $M/Utskrifter/%1 är en namngiven pipe (FIFO), ingen vanlig fil, och det går "
            "inte att se om filen är öppen i ett annat program. Ta bort den för hand och försök "
            "igen.";
        QTest::newRow("pipe från LibreOffice")
            << ".~lock.Lista.xlsx#" << QByteArray("pipe") << pipa.arg(".~lock.Lista.xlsx#");
        QTest::newRow("pipe från Office") << "~$Lista.xlsx" << QByteArray("pipe") << pipa.arg("~$Lista.xlsx");
        QTest::newRow("kvarlämnad här") << ".~lock.Lista.xlsx#"
                                        << "Anna," + QByteArray(pw ? pw->pw_name : "root") + u',' +
                                               QSysInfo::machineHostName().toUtf8() + ",07.12.2026 10:00,x;"
                                        << "";
    }
    void oppenListaPaMalet() {
        QFETCH(QString, lasfil);
        QFETCH(QByteArray, innehall);
        QFETCH(QString, innehavare);
        Testfixtur f;
        for (const char* fil : {"Tävlingar/Cup/Cup.air", "Sticka/Cup/Cup.air"})
            tavling(f, fil);
        const QString plats = f.t.fil(QStringLiteral("Sticka/Cup/Utskrifter/") + lasfil);
        for (const QString& fil : {f.t.fil(QStringLiteral("Tävlingar/Cup/Utskrifter/Lista.xlsx")),
                                   f.t.fil(QStringLiteral("Sticka/Cup/Utskrifter/Lista.xlsx")), plats}) {
            QVERIFY(QDir().mkpath(QFileInfo(fil).path()));
            if (fil == plats && innehall == "pipe") {
                QVERIFY(laggPost(fil, Filslag::Pipe));
                continue;
            }
            QFile fh(fil);
            QVERIFY(fh.open(QIODevice::WriteOnly) && fh.write(fil == plats ? innehall : "lista") > 0);
        }
        Pipvakt vakt({plats});
        const Kontroll k = kor(f, Riktning::Export, "$T/Tävlingar/Cup/Cup.air", "$T/Sticka", "N");
        QCOMPARE(vakt.stoppa(), 0);
        QVERIFY(!k.ok);
        QCOMPARE(k.steg, 1);
        QCOMPARE(f.m.visade.size(), 1);
        if (innehavare.isEmpty()) {
            QCOMPARE(f.m.visade[0].titel, QStringLiteral("Bekräfta"));
            return;
        }
        QCOMPARE(
            f.m.senasteText(),
            ut(f, QStringLiteral("Filen $M/Utskrifter/Lista.xlsx ") +
                      (innehall == "pipe" ? QStringLiteral("kan inte")
                                          : QStringLiteral("är öppen i ett annat program och kan inte")) +
                      QStringLiteral(" ersättas när tävlingen exporteras.\r\n") + innehavare)
                .replace(QLatin1String("$M"), f.t.fil(QStringLiteral("Sticka/Cup"))));
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Åtkomstfel."));
        QCOMPARE(f.m.visade[0].ikon, Meddelanden::Ikon::Kritisk);
    }

    // A lock that a program of another computer left at the target is asked
    // about as opening asks: Ja removes it and the check goes on, Nej goes
    // back. One naming this very process's number is no less another
    // computer's.
    void lasFranAnnanDatorPaMalet_data() {
        QTest::addColumn<bool>("egetNummer");
        QTest::addColumn<QString>("svaren");
        QTest::newRow("ja") << false << "JJ";
        QTest::newRow("nej") << false << "N";
        QTest::newRow("denna process nummer, nej") << true << "N";
    }
    void lasFranAnnanDatorPaMalet() {
        QFETCH(bool, egetNummer);
        QFETCH(QString, svaren);
        Testfixtur f;
        tavling(f, "Tävlingar/Cup/Cup.air");
        tavling(f, "Sticka/Cup/Cup.air");
        const QString las = f.t.fil(QStringLiteral("Sticka/Cup/.Cup.lock"));
        const qint64 pid = egetNummer ? QCoreApplication::applicationPid() : 4242;
        {
            QFile fh(las);
            QVERIFY(fh.open(QIODevice::WriteOnly) &&
                    fh.write(QByteArray::number(pid) + "\npilkrona\nandra-datorn\n") > 0);
        }
        const Kontroll k = kor(f, Riktning::Export, "$T/Tävlingar/Cup/Cup.air", "$T/Sticka", svaren);
        const bool ja = svaren.startsWith(QLatin1Char('J'));
        QCOMPARE(k.ok, ja);
        QCOMPARE(f.m.visade.size(), ja ? 2 : 1);
        QCOMPARE(f.m.visade[0].text,
                 QStringLiteral(
                     "Tävlingen Cup är redan öppen i pilkrona på datorn andra-datorn (process %1).\r\n\r\n"
                     "Om tävlingen inte längre är öppen där (datorn stängdes av eller USB-minnet togs "
                     "därifrån medan tävlingen var öppen) kan låset tas bort. Låsfilen är %2.\r\n"
                     "Vill du ta bort låset och kopiera tävlingen dit?")
                     .arg(pid)
                     .arg(las));
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Tävlingen används"));
        QCOMPARE(f.m.visade[0].ikon, Meddelanden::Ikon::Fraga);
        QCOMPARE(QFileInfo::exists(las), !ja);
        if (ja)
            QVERIFY(f.m.senasteText().startsWith(QStringLiteral("Tävlingen finns redan!")));
        else
            QCOMPARE(k.steg, 1);
    }

    // A competition that another program has open where the copy would land
    // is refused before the question that would replace it.
    void oppenPaMalet() {
        Testfixtur f;
        tavling(f, "Tävlingar/Cup/Cup.air");
        tavling(f, "Sticka/Cup/Cup.air");
        Lasbarn barn(f.t.fil(QStringLiteral("Sticka/Cup")), QStringLiteral("Cup"));
        QVERIFY(barn.haller());
        const Kontroll k = kor(f, Riktning::Export, "$T/Tävlingar/Cup/Cup.air", "$T/Sticka", "J");
        QVERIFY(!k.ok);
        QCOMPARE(k.steg, 1);
        QCOMPARE(f.m.visade.size(), 1);
        QVERIFY2(f.m.senasteText().startsWith(QStringLiteral("Tävlingen Cup är redan öppen")),
                 qPrintable(f.m.senasteText()));
        // It speaks of the copy and names the lock.
        QVERIFY2(
            f.m.senasteText().endsWith(
                QStringLiteral("(process %1).\r\nKopieringen kan inte ersätta den medan den är öppen där: "
                               "stäng den där och försök igen. Låsfilen är %2.")
                    .arg(barn.pid())
                    .arg(f.t.fil(QStringLiteral("Sticka/Cup/.Cup.lock")))),
            qPrintable(f.m.senasteText()));
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Fel sökväg"));
    }
};

int main(int argc, char** argv) {
    if (const auto barn = Lasbarn::omBarn(argc, argv))
        return *barn;
    QApplication app(argc, argv);
    TestKontroll t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "test_kontroll.moc"
