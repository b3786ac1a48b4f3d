#include "shell/Tavling.h"
#include "support/Testfixtur.h"
#include "transfer/Tavlingsoverforing.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QTest>

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
    // The answers, J for Ja and N for Nej, are queued before the checks run.
    static Kontroll kor(Testfixtur& f, Riktning r, const QString& kalla, const QString& dest,
                        const QString& svaren = {}) {
        for (QChar c : svaren)
            f.m.svara(c == QLatin1Char('J') ? Svar::Ja : Svar::Nej);
        return Overforing::kontrollera(r, ut(f, kalla), ut(f, dest), {}, f.g, f.m);
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
        rad("målet inuti källan", cup, "$T/Tävlingar/Cup", 1, "Tävlingen kan inte kopieras");
        rad("källan inuti målet", "$T/Cup/Cup/Cup.air", "$T", 1, "Tävlingen kan inte kopieras");
        rad("i hemmappen", "$T/Hem/Cup.air", "$T/Sticka", 0, "Tävlingen ligger direkt i");
        rad("volymens rot", "$R", "$T/Sticka", 0, "Tävlingen ligger direkt i /dev/shm");
        rad("reserverat namn", "$T/CON/CON.air", "$T/Sticka", 0, "Tävlingen kan inte kopieras som");
        rad("kolon", "$T/a:b/a:b.air", "$T/Sticka", 0, "Tävlingen kan inte kopieras som");
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
        for (const char* fil : {"Tävlingar/Cup/Cup.air", "Cup/Cup/Cup.air", "Hem/Cup.air", "CON/CON.air",
                                "a:b/a:b.air", "Annan/Cup/Cup.air"})
            tavling(f, fil);
        mappar(f, {"Sticka", "Gammalt", "Text"});
        for (const auto& [fil, innehall] :
             {std::pair{"Gammalt/Jet.air", QByteArray("\0\1\0\0Standard Jet DB", 19) + QByteArray(200, '\0')},
              std::pair{"Text/Text.air", QByteArray("inte en databas\n")}}) {
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
        QVERIFY(!k.ok);
        QCOMPARE(k.steg, steg);
        QCOMPARE(f.m.visade.size(), 1);
        QVERIFY2(f.m.senasteText().startsWith(borjan), qPrintable(f.m.senasteText()));
        QCOMPARE(f.m.visade[0].titel, QStringLiteral("Fel sökväg"));
    }

    // A folder named otherwise than its competition goes along whole: asked
    // first, naming the folder, before the question about the target.
    void mappfragan_data() {
        QTest::addColumn<QString>("svaren");
        QTest::addColumn<int>("fragor"); // the wizard goes ahead only on two Ja
        QTest::newRow("ja, ja") << "JJ" << 2;
        QTest::newRow("ja, nej") << "JN" << 2;
        QTest::newRow("nej") << "N" << 1;
    }
    void mappfragan() {
        QFETCH(QString, svaren);
        QFETCH(int, fragor);
        Testfixtur f;
        tavling(f, "Klubben/Cup.air");
        mappar(f, {"Sticka/Klubben"});
        const Kontroll k = kor(f, Riktning::Import, "$T/Klubben/Cup.air", "$T/Sticka", svaren);
        QCOMPARE(k.ok, svaren == QLatin1String("JJ"));
        QCOMPARE(k.steg, k.ok ? 0 : 1);
        QCOMPARE(f.m.visade.size(), fragor);
        QCOMPARE(
            f.m.visade[0].text,
            QStringLiteral("Tävlingen Cup ligger i mappen \"Klubben\".\r\nHela mappen \"Klubben\" med allt "
                           "som ligger i den kopieras till %1.\r\n\r\nVill du fortsätta?")
                .arg(f.t.fil("Sticka/Klubben")));
    }
};

QTEST_MAIN(TestKontroll)
#include "test_kontroll.moc"
