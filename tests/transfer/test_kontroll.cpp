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
    static QString tavling(const Testfixtur& f, const QString& relativ) {
        const QString fil = f.t.fil(relativ);
        QDir().mkpath(QFileInfo(fil).path());
        QFile::copy(f.t.fil(QStringLiteral("Pilkrona.mdb")), fil);
        return fil;
    }
    static void sattTid(const QString& fil, const QDateTime& tid) {
        QFile f(fil);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(tid, QFileDevice::FileModificationTime));
    }
    static QString ut(const Testfixtur& f, QString s) { return s.replace(QLatin1String("$T"), f.t.mapp()); }
    static QList<Svar> svar(const QString& s) {
        QList<Svar> l;
        for (QChar c : s)
            l << (c == QLatin1Char('J') ? Svar::Ja : Svar::Nej);
        return l;
    }
    static Kontroll kor(Testfixtur& f, Riktning r, const QString& kalla, const QString& dest,
                        const QString& svaren = {}) {
        for (Svar s : svar(svaren))
            f.m.svara(s);
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
            const auto rad = [&](const char* namn) -> QTestData& {
                return QTest::addRow("%s %s", imp ? "import" : "export", namn) << int(r);
            };
            rad("tom källa") << "  "
                             << "$T/Sticka"
                             << "" << 0 << "Tomt fält"
                             << QStringLiteral("Du måste ange en sökväg till den tävling som ska %1.").arg(p);
            rad("tom destination") << cup << " "
                                   << "" << 1 << "Tomt fält"
                                   << QStringLiteral("Du måste ange en sökväg dit tävlingen ska %1.").arg(p);
            const QString samma =
                QStringLiteral("Du får inte ange samma tävling att %1 från och till!").arg(v);
            rad("samma plats") << cup << "$T/Tävlingar"
                               << "" << 1 << "Fel sökväg" << samma;
            rad("samma plats med blanktecken") << " " + cup + " "
                                               << " $T/Tävlingar/ "
                                               << "" << 1 << "Fel sökväg" << samma;
            rad("samma plats via ..") << cup << "$T/Sticka/../Tävlingar"
                                      << "" << 1 << "Fel sökväg" << samma;
            const QString mapp =
                QStringLiteral("Tävlingsmappen finns redan dit du vill %1!\r\nVill du använda den ändå?")
                    .arg(v);
            rad("mappen finns, ja") << cup << "$T/Tom"
                                    << "J" << -1 << "Bekräfta" << mapp;
            rad("mappen finns, nej") << cup << "$T/Tom"
                                     << "N" << 1 << "Bekräfta" << mapp;
            rad("tävlingen finns, ja") << cup << "$T/Gammal/"
                                       << "J" << -1 << "Bekräfta" << datum;
            rad("tävlingen finns, nej") << cup << "$T/Gammal"
                                        << "N" << 1 << "Bekräfta" << datum;
            rad("ny") << cup << "$T/Sticka"
                      << "" << -1 << ""
                      << "";
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
        const QString cup = tavling(f, QStringLiteral("Tävlingar/Cup/Cup.air"));
        const QString gammal = tavling(f, QStringLiteral("Gammal/Cup/Cup.air"));
        QVERIFY(QDir().mkpath(f.t.fil(QStringLiteral("Tom/Cup"))) && QDir().mkpath(f.t.fil("Sticka")));
        sattTid(gammal, QDateTime(QDate(2011, 3, 5), QTime(14, 22, 31)));
        sattTid(cup, QDateTime(QDate(2012, 1, 2), QTime(3, 4, 5)));

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
            QVERIFY(k.sokvagar.destination.endsWith(QLatin1Char('/')));
            QVERIFY(!k.sokvagar.destination.endsWith(QLatin1String("//")));
            QCOMPARE(QDir::cleanPath(k.sokvagar.malmapp()), QDir::cleanPath(ut(f, dest) + "/Cup"));
        }
    }

    // What cannot be copied is refused before any question, with the reason.
    void vagras_data() {
        QTest::addColumn<QString>("kalla");
        QTest::addColumn<QString>("dest");
        QTest::addColumn<int>("steg");
        QTest::addColumn<QString>("borjan");
        QTest::newRow("källan finns inte") << "$T/Borta/Borta.air"
                                           << "$T/Sticka" << 0 << "Tävlingen \"";
        QTest::newRow("jet") << "$T/Gammalt/Jet.air"
                             << "$T/Sticka" << 0 << "Filen \"";
        QTest::newRow("ingen tävling") << "$T/Text/Text.air"
                                       << "$T/Sticka" << 0 << "Filen \"";
        QTest::newRow("relativ källa") << "Cup/Cup.air"
                                       << "$T/Sticka" << 0 << "Sökvägen \"Cup/Cup.air\"";
        QTest::newRow("relativ destination") << "$T/Tävlingar/Cup/Cup.air"
                                             << "Sticka" << 1 << "Sökvägen \"";
        QTest::newRow("destinationen finns inte") << "$T/Tävlingar/Cup/Cup.air"
                                                  << "$T/Finns/inte" << 1 << "Mappen ";
        QTest::newRow("målet inuti källan") << "$T/Tävlingar/Cup/Cup.air"
                                            << "$T/Tävlingar/Cup" << 1 << "Tävlingen kan inte kopieras";
        QTest::newRow("källan inuti målet") << "$T/Cup/Cup/Cup.air"
                                            << "$T" << 1 << "Tävlingen kan inte kopieras";
        QTest::newRow("i hemmappen") << "$T/Hem/Cup.air"
                                     << "$T/Sticka" << 0 << "Tävlingen ligger direkt i";
        QTest::newRow("reserverat namn") << "$T/CON/CON.air"
                                         << "$T/Sticka" << 0 << "Tävlingen kan inte kopieras som";
        QTest::newRow("kolon") << "$T/a:b/a:b.air"
                               << "$T/Sticka" << 0 << "Tävlingen kan inte kopieras som";
        QTest::newRow("över den öppna tävlingen") << "$T/Annan/Cup/Cup.air"
                                                  << "$T/Tävlingar" << 1 << "Tävlingen Cup är öppen";
        QTest::newRow("in i den öppna tävlingen") << "$T/Annan/Cup/Cup.air"
                                                  << "$T/Tävlingar/Cup" << 1 << "Tävlingen Cup är öppen";
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
            tavling(f, QString::fromUtf8(fil));
        QVERIFY(QDir().mkpath(f.t.fil("Sticka")) && QDir().mkpath(f.t.fil("Gammalt")) &&
                QDir().mkpath(f.t.fil("Text")));
        QFile jet(f.t.fil(QStringLiteral("Gammalt/Jet.air")));
        QVERIFY(jet.open(QIODevice::WriteOnly));
        jet.write(QByteArray("\0\1\0\0Standard Jet DB", 19) + QByteArray(200, '\0'));
        jet.close();
        QFile text(f.t.fil(QStringLiteral("Text/Text.air")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("inte en databas\n");
        text.close();
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

    // A competition file lying at a volume's root is no competition folder.
    void volymensRot() {
        Testfixtur f;
        QTemporaryFile rot(QStringLiteral("/dev/shm/XXXXXX.air"));
        QVERIFY(rot.open());
        QFile mall(f.t.fil(QStringLiteral("Pilkrona.mdb")));
        QVERIFY(mall.open(QIODevice::ReadOnly));
        rot.write(mall.readAll());
        rot.close();
        QVERIFY(QDir().mkpath(f.t.fil("Sticka")));
        const Kontroll k = kor(f, Riktning::Import, rot.fileName(), "$T/Sticka");
        QVERIFY(!k.ok);
        QVERIFY2(f.m.senasteText().startsWith("Tävlingen ligger direkt i /dev/shm"),
                 qPrintable(f.m.senasteText()));
    }

    // A folder named otherwise than its competition goes along whole: asked
    // first, naming the folder, before the question about the target.
    void mappfragan_data() {
        QTest::addColumn<QString>("svaren");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("fragor");
        QTest::newRow("ja, ja") << "JJ" << true << 2;
        QTest::newRow("ja, nej") << "JN" << false << 2;
        QTest::newRow("nej") << "N" << false << 1;
    }
    void mappfragan() {
        QFETCH(QString, svaren);
        QFETCH(bool, ok);
        QFETCH(int, fragor);
        Testfixtur f;
        tavling(f, QStringLiteral("Klubben/Cup.air"));
        QVERIFY(QDir().mkpath(f.t.fil("Sticka/Klubben")));
        const Kontroll k = kor(f, Riktning::Import, "$T/Klubben/Cup.air", "$T/Sticka", svaren);
        QCOMPARE(k.ok, ok);
        QCOMPARE(f.m.visade.size(), fragor);
        QCOMPARE(
            f.m.visade[0].text,
            QStringLiteral("Tävlingen Cup ligger i mappen \"Klubben\".\r\nHela mappen \"Klubben\" med allt "
                           "som ligger i den kopieras till %1.\r\n\r\nVill du fortsätta?")
                .arg(f.t.fil("Sticka/Klubben")));
        if (!ok)
            QCOMPARE(k.steg, 1);
    }
};

QTEST_MAIN(TestKontroll)
#include "test_kontroll.moc"
