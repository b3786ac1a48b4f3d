#include "platform/Windows1252.h"
#include "platform/clsIni.h"
#include "support/Filstorlekstak.h"
#include "support/Pipvakt.h"
#include "support/Testmiljo.h"
#include "support/VanligAnvandare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>

namespace {
QByteArray lasBytes(const QString& sokvag) {
    QFile f(sokvag);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
void skrivBytes(const QString& sokvag, const QByteArray& bytes) {
    QFile f(sokvag);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Cup.ini in a throw-away folder, holding `fore` when given, else not there yet.
struct Inifil {
    Testmiljo t;
    const QString sokvag = t.fil(QStringLiteral("Cup.ini"));
    clsIni ini{sokvag};
    Inifil() = default;
    explicit Inifil(const QByteArray& fore) { skrivBytes(sokvag, fore); }
    QByteArray bytes() const { return lasBytes(sokvag); }
    QString varde(const QString& sektion, const QString& nyckel, const QString& standard = {}) const {
        return ini.GetKeyValue(sektion, nyckel, standard);
    }
};
} // namespace

class TestClsIni : public QObject {
    Q_OBJECT
private slots:
    // Reading a missing file gives the defaults and creates nothing; the first
    // write creates file, section and key. Empty, missing and deleted keys are
    // three different answers. Nothing is cached: another program's change is
    // seen by the next read.
    void saknadFilSkapasVidForstaSkrivningen() {
        Inifil f;
        QCOMPARE(f.varde("Sökvägar", "Filnamn1", "std"), "std");
        QVERIFY(!QFileInfo::exists(f.sokvag));
        QVERIFY(f.ini.GetSections().isEmpty());
        QVERIFY(f.ini.GetSectionKeys("Sökvägar").isEmpty());

        QVERIFY(f.ini.WriteKey("Allmänt", "Datum", "2026-12-06"));
        const QByteArray skriven = "[Allm\xe4nt]\r\nDatum=2026-12-06\r\n";
        QCOMPARE(f.bytes(), skriven);
        QCOMPARE(f.varde("Allmänt", "Datum"), "2026-12-06");
        QCOMPARE(f.varde("Allmänt", "Ort", "std"), "std");
        QVERIFY(f.ini.WriteKey("Allmänt", "Ort", QString()));
        QCOMPARE(f.varde("Allmänt", "Ort", "std"), QString());
        QVERIFY(f.ini.DeleteKey("Allmänt", "Ort"));
        QCOMPARE(f.varde("Allmänt", "Ort", "std"), "std");
        QCOMPARE(f.bytes(), skriven);
        // A line break in a value would start a new line of the file.
        QVERIFY(f.ini.WriteKey("Allmänt", "Datum", "a\r\nb\nc\rd"));
        QCOMPARE(f.varde("Allmänt", "Datum"), "a b c d");
        QCOMPARE(f.ini.GetSectionKeys("Allmänt").size(), 1);

        skrivBytes(f.sokvag, "[A]\r\nk=2\r\n");
        QCOMPARE(f.varde("A", "k"), "2");
    }

    // A Windows-made file: cp1252, CRLF, Swedish names in other letter case, a
    // comment, blank lines and a path. Reads match regardless of case; a write
    // replaces the key in place under its own spelling and leaves every other
    // byte alone. The file stays Windows-1252 while all it holds fits: the old
    // Windows program can still read it.
    void windowsfilBehallsVidSkrivning() {
        Inifil f("; Pilkrona\r\n[ALLM\xc4NT]\r\nFilnamn1=C:\\T\xe4vlingar\\Cup.air\r\ndatum = 6 december "
                 "\x80 1\r\n"
                 "\r\n[\xe5sk\xe5"
                 "darsk\xe4rm]\r\nAllaBanor=1\r\n");
        QCOMPARE(f.varde("Allmänt", "Datum"), "6 december € 1");
        QCOMPARE(f.varde("ÅSKÅDARSKÄRM", "allabanor"), "1");
        QVERIFY(f.ini.WriteKey("allmänt", "DATUM", "7 maj"));
        QVERIFY(f.ini.WriteKey("Allmänt", "Flera tävlingar", "Västerås – “Väst”"));
        QCOMPARE(f.bytes(),
                 "; Pilkrona\r\n[ALLM\xc4NT]\r\nFilnamn1=C:\\T\xe4vlingar\\Cup.air\r\ndatum=7 maj\r\n"
                 "Flera t\xe4vlingar=V\xe4ster\xe5s \x96 \x93V\xe4st\x94\r\n\r\n[\xe5sk\xe5"
                 "darsk\xe4rm]\r\nAllaBanor=1\r\n");
        QCOMPARE(f.ini.GetSections(), QStringList({"ALLMÄNT", "åskådarskärm"}));
    }

    void misslyckadSkrivningRapporteras() {
        Testmiljo t;
        // A file standing where the folder should be: fails for every user.
        skrivBytes(t.fil(QStringLiteral("fil")), "x");
        clsIni underFil(t.fil(QStringLiteral("fil/P.ini")));
        QVERIFY(!underFil.WriteKey("A", "B", "C"));
        QVERIFY(underFil.senasteFel().contains(underFil.Path()));
        QVERIFY(!clsIni().WriteKey("A", "B", "C"));

        if (korSomVanligAnvandare("misslyckadSkrivningRapporteras"))
            return;
        const QString mapp = t.fil(QStringLiteral("skrivskyddad"));
        QVERIFY(QDir().mkpath(mapp));
        clsIni ini(mapp + QStringLiteral("/P.ini"));
        QVERIFY(ini.WriteKey("A", "B", "1"));
        QFile::setPermissions(mapp, QFile::ReadOwner | QFile::ExeOwner);
        const bool skrev = ini.WriteKey("A", "B", "2");
        QFile::setPermissions(mapp, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!skrev);
        QCOMPARE(ini.senasteFel(), QStringLiteral("Filen \"%1\" kan inte skrivas.").arg(ini.Path()));
        QCOMPARE(ini.GetKeyValue("A", "B", QString()), "1");
        QVERIFY(ini.WriteKey("A", "B", "3"));
        QVERIFY(ini.senasteFel().isEmpty());
    }

    void sektionerOchNycklarUtanTommaRader() {
        Inifil f("[A]\nx=1\nutan likhetstecken\ny = 2 \n[B]\nz=\"citerat\"\n[A]\nx=9\n");
        QCOMPARE(f.ini.GetSections(), QStringList({"A", "B", "A"}));
        QCOMPARE(f.ini.GetSectionKeys("a"), (QList<QPair<QString, QString>>{{"x", "1"}, {"y", "2"}}));
        QCOMPARE(f.varde("B", "z"), "citerat");
        // Only the first section of a name counts, as on Windows.
        QCOMPARE(f.varde("A", "x"), "1");
        // A file with LF line ends keeps them.
        QVERIFY(f.ini.WriteKey("B", "w", "3"));
        QCOMPARE(f.bytes(), "[A]\nx=1\nutan likhetstecken\ny = 2 \n[B]\nz=\"citerat\"\nw=3\n[A]\nx=9\n");
    }

    void sektionTomsOchTasBort() {
        Inifil f;
        QVERIFY(f.ini.WriteKey("Lag", "Lagtävling", "0"));
        QVERIFY(f.ini.WriteKey("Lag", "Antal skott", "40"));
        QVERIFY(f.ini.WriteKey("Debug", "ExcelVisible", "True"));
        QVERIFY(f.ini.WriteSection("LAG"));
        QVERIFY(f.ini.GetSectionKeys("Lag").isEmpty());
        QCOMPARE(f.ini.GetSections(), QStringList({"Lag", "Debug"}));
        QVERIFY(f.ini.WriteSection("Ny"));
        QVERIFY(f.ini.DeleteSection("lag"));
        QCOMPARE(f.ini.GetSections(), QStringList({"Debug", "Ny"}));
        QCOMPARE(f.varde("Debug", "ExcelVisible"), "True");
    }

    // Writing a file we could not read would replace every setting in it with the
    // keys of one call. A file nobody may read, one only its owner may write but not
    // read, and a folder or a named pipe standing at the path are all left alone by
    // every write; the pipe is never waited on.
    void olasbarFilSkrivsAldrig() {
        Testmiljo t;
        for (const auto& [slag, text] :
             {std::pair{Filslag::Mapp, "en mapp"}, std::pair{Filslag::Pipe, "en namngiven pipe (FIFO)"}}) {
            const QString sokvag = t.fil(QString::fromUtf8(text) + QStringLiteral(".ini"));
            QVERIFY(laggPost(sokvag, slag));
            Pipvakt vakt({sokvag});
            clsIni ini(sokvag);
            QCOMPARE(ini.status(), clsIni::Filstatus::KanInteLasas);
            QCOMPARE(ini.GetKeyValue("A", "k", "std"), "std");
            QVERIFY(!ini.WriteKey("A", "k", "1"));
            QCOMPARE(ini.senasteFel(),
                     QStringLiteral("\"%1\" är %2 och kan inte användas som inställningsfil.")
                         .arg(sokvag, QString::fromUtf8(text)));
            QVERIFY(!ini.DeleteSection("A"));
            QCOMPARE(vakt.stoppa(), 0);
            QCOMPARE(filslag(sokvag), slag);
        }

        if (korSomVanligAnvandare("olasbarFilSkrivsAldrig"))
            return;
        const QByteArray fore = "[Allm\xe4nt]\r\nMajorVersion=1\r\nDatum=6 december\r\n";
        for (const QFile::Permissions rattigheter :
             {QFile::Permissions(), QFile::Permissions(QFile::WriteOwner)}) {
            Inifil f(fore);
            QVERIFY(QFile::setPermissions(f.sokvag, rattigheter));
            QCOMPARE(f.ini.status(), clsIni::Filstatus::KanInteLasas);
            QCOMPARE(f.varde("Allmänt", "Datum", "std"), "std");
            QVERIFY(!f.ini.WriteKey("Allmänt", "Datum", "7 maj"));
            QCOMPARE(f.ini.senasteFel(), QStringLiteral("Filen \"%1\" kan inte läsas.").arg(f.sokvag));
            QVERIFY(!f.ini.WriteKeys({{"Lag", "Lagtävling", "1"}}));
            QVERIFY(!f.ini.WriteSection("Lag"));
            // Nothing to delete in what little we know of the file, yet no success either.
            QVERIFY(!f.ini.DeleteSection("Lag"));
            QVERIFY(!f.ini.DeleteKey("Allmänt", "Datum"));
            QVERIFY(!f.ini.senasteFel().isEmpty());
            QVERIFY(QFile::setPermissions(f.sokvag, QFile::ReadOwner | QFile::WriteOwner));
            QCOMPARE(f.bytes(), fore);
            QCOMPARE(QDir(f.t.mapp()).entryList(QDir::Files | QDir::Hidden), QStringList{"Cup.ini"});
        }
    }

    // A disk that fills up while the file is saved: the save is refused and the
    // old file stays whole instead of being replaced by the part that fitted.
    // A long value that does fit is read back whole.
    void fullDiskLamnarGamlaFilen() {
        Inifil f;
        QVERIFY(f.ini.WriteKeys({{"Sökvägar", "Filnamn1", "/t/Cup.air"}, {"Allmänt", "Ort", "Västerås"}}));
        const QByteArray fore = f.bytes();
        const QString lang = QString(2000, 'x') + QStringLiteral("slut");

        // The first key alone would fit; written together with the second, neither is.
        QVERIFY(!medFilstorlekstak(1024, [&] {
            return f.ini.WriteKeys(
                {{"Sökvägar", "Filnamn2", "/t/B.air"}, {"Sökvägar", "Tävlingskatalog", lang}});
        }));
        QVERIFY(f.ini.senasteFel().contains(f.sokvag));
        QCOMPARE(f.bytes(), fore);
        QVERIFY(!medFilstorlekstak(0, [&] { return f.ini.WriteKey("Allmänt", "Ort", "Umeå"); }));
        QVERIFY(f.ini.senasteFel().contains(f.sokvag));
        QCOMPARE(f.bytes(), fore);
        QCOMPARE(QDir(f.t.mapp()).entryList(QDir::Files | QDir::Hidden), QStringList{"Cup.ini"});

        QVERIFY(f.ini.WriteKey("Sökvägar", "Tävlingskatalog", lang));
        QVERIFY(f.ini.senasteFel().isEmpty());
        QCOMPARE(f.varde("Sökvägar", "Tävlingskatalog"), lang);
    }

    // Several keys in one rewrite, placed one after the other as WriteKey() would.
    // Nothing to write creates no file.
    void flerNycklarPaEnGang() {
        Inifil tom;
        QVERIFY(tom.ini.WriteKeys({}));
        QVERIFY(!QFileInfo::exists(tom.sokvag));

        Inifil f("; Pilkrona\r\n[ALLM\xc4NT]\r\nDatum=6 december\r\n\r\n[Lag]\r\nLagt\xe4vling=0\r\n");
        QVERIFY(f.ini.WriteKeys({}));
        QVERIFY(f.ini.WriteKeys({{"allmänt", "DATUM", "7 maj"},
                                 {"Allmänt", "Flera tävlingar", QString()},
                                 {"Debug", "ExcelVisible", "True"},
                                 {"debug", "Mix", "\"a\""},
                                 {"Allmänt", "flera TÄVLINGAR", QString()}}));
        QCOMPARE(f.bytes(),
                 "; Pilkrona\r\n[ALLM\xc4NT]\r\nDatum=7 maj\r\nFlera t\xe4vlingar=\r\n\r\n[Lag]\r\n"
                 "Lagt\xe4vling=0\r\n[Debug]\r\nExcelVisible=True\r\nMix=\"a\"\r\n");
        QCOMPARE(f.varde("Allmänt", "Flera tävlingar", "std"), QString());
    }

    // A name Windows-1252 cannot hold turns a new file into UTF-8 rather than
    // into "?"; the file then stays UTF-8. An existing Windows-1252 file is
    // re-encoded whole, other lines included.
    void tecknenUtanfor1252GorFilenTillUtf8() {
        Inifil ny;
        QVERIFY(ny.ini.WriteKey("Sökvägar", "Filnamn1", "/t/Łódź Cup/Łódź Cup.air"));
        QCOMPARE(ny.varde("Sökvägar", "Filnamn1"), "/t/Łódź Cup/Łódź Cup.air");
        QCOMPARE(ny.bytes(), "[Sökvägar]\r\nFilnamn1=/t/Łódź Cup/Łódź Cup.air\r\n");
        QVERIFY(ny.ini.WriteKey("Sökvägar", "Filnamn2", "/t/Väst.air"));
        QCOMPARE(ny.bytes(), "[Sökvägar]\r\nFilnamn1=/t/Łódź Cup/Łódź Cup.air\r\nFilnamn2=/t/Väst.air\r\n");

        Inifil gammal("[S\xf6kv\xe4gar]\r\nDatum=6 december \x80 1\r\n");
        QVERIFY(gammal.ini.WriteKey("Łódź", "Ort", "Łódź"));
        QCOMPARE(gammal.bytes(), "[Sökvägar]\r\nDatum=6 december € 1\r\n[Łódź]\r\nOrt=Łódź\r\n");
        QCOMPARE(gammal.varde("sökvägar", "datum"), "6 december € 1");
    }

    // A file saved by a Linux text editor is UTF-8, with or without a byte order
    // mark, and is written back the same way, LF line ends included.
    void utf8FranEditorLasesOchBehalls_data() {
        QTest::addColumn<QByteArray>("borjan");
        QTest::newRow("utan BOM") << QByteArray();
        QTest::newRow("med BOM") << QByteArray("\xEF\xBB\xBF");
    }
    void utf8FranEditorLasesOchBehalls() {
        QFETCH(QByteArray, borjan);
        Inifil f(borjan + "[Sökvägar]\nFilnamn1=/hem/Åsa/Cup.air\n");
        QCOMPARE(f.ini.GetSections(), QStringList{"Sökvägar"});
        QCOMPARE(f.varde("SÖKVÄGAR", "Filnamn1"), "/hem/Åsa/Cup.air");
        QVERIFY(f.ini.WriteKey("Sökvägar", "Filnamn2", "/t/B.air"));
        QVERIFY(f.ini.WriteKey("Allmänt", "Ort", "Umeå"));
        QCOMPARE(f.bytes(),
                 borjan + "[Sökvägar]\nFilnamn1=/hem/Åsa/Cup.air\nFilnamn2=/t/B.air\n[Allmänt]\nOrt=Umeå\n");
        QCOMPARE(f.ini.status(), clsIni::Filstatus::Ok);
    }

    // Bytes that only look like the start of UTF-8 leave a file Windows-1252, so
    // that every byte keeps the letter the Windows program meant.
    void ogiltigUtf8Ar1252_data() {
        QTest::addColumn<QByteArray>("varde");
        QTest::newRow("avbruten sekvens sist") << QByteArray("Malm\xc3");
        QTest::newRow("bokstav efter ledande byte") << QByteArray("\xc5sa \xd6"
                                                                  "berg");
        QTest::newRow("överlång kodning") << QByteArray("a\xc0\xaf"
                                                        "b");
        QTest::newRow("surrogat") << QByteArray("\xed\xa0\x80");
        QTest::newRow("över U+10FFFF") << QByteArray("\xf4\x90\x80\x80");
    }
    void ogiltigUtf8Ar1252() {
        QFETCH(QByteArray, varde);
        Inifil f("[A]\r\nk=" + varde + "\r\n");
        QCOMPARE(f.varde("A", "k"), Windows1252::tillText(varde));
        QVERIFY(f.ini.WriteKey("A", "n", "1"));
        QCOMPARE(f.bytes(), "[A]\r\nk=" + varde + "\r\nn=1\r\n");
    }

    // What opening a competition learns about its INI file before reading it.
    void filstatus() {
        QCOMPARE(clsIni().status(), clsIni::Filstatus::Saknas);
        Inifil f;
        QCOMPARE(f.ini.status(), clsIni::Filstatus::Saknas);
        const auto statusFor = [&](const QByteArray& bytes) {
            skrivBytes(f.sokvag, bytes);
            return f.ini.status();
        };
        QCOMPARE(statusFor(QByteArray()), clsIni::Filstatus::Ok);
        QCOMPARE(
            statusFor(
                "; Pilkrona\r\n[ALLM\xc4NT]\r\nMajorVersion=1\r\n\r\n  \r\n[Lag]\r\nLagt\xe4vling=0\r\n"),
            clsIni::Filstatus::Ok);
        // Windows passes over a stray line, and so does the file's status.
        QByteArray enFelrad = "[Allm\xe4nt]\r\nNagot utan likhetstecken\r\n";
        for (int i = 0; i < 12; ++i)
            enFelrad += "Nyckel" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n";
        QCOMPARE(statusFor(enFelrad), clsIni::Filstatus::Ok);

        QByteArray skrap(4096, '\0');
        QRandomGenerator slump(20261206);
        for (char& c : skrap)
            c = static_cast<char>(slump.bounded(256));
        QCOMPARE(statusFor(skrap), clsIni::Filstatus::InteEnIniFil);
        QCOMPARE(statusFor(QByteArray("[Allm\xe4nt]\r\nMajorVersion=1\r\n") + '\0' + "\r\n"),
                 clsIni::Filstatus::InteEnIniFil);
        QCOMPARE(statusFor("[Allm\xe4nt]\r\nDatum=6\x1b[0m\r\n"), clsIni::Filstatus::InteEnIniFil);
        // Text, but no settings: a letter saved under the competition's name.
        QCOMPARE(statusFor("Hej!\r\n\r\nH\xe4r kommer resultaten fr\xe5n t\xe4vlingen.\r\n"
                           "[Bifogat]\r\nV\xe4nliga h\xe4lsningar\r\n"),
                 clsIni::Filstatus::InteEnIniFil);

        if (korSomVanligAnvandare("filstatus"))
            return;
        skrivBytes(f.sokvag, "[A]\r\nk=1\r\n");
        QVERIFY(QFile::setPermissions(f.sokvag, QFile::Permissions()));
        const clsIni::Filstatus utanRattigheter = f.ini.status();
        QVERIFY(QFile::setPermissions(f.sokvag, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(utanRattigheter, clsIni::Filstatus::KanInteLasas);
    }
};

QTEST_GUILESS_MAIN(TestClsIni)
#include "test_clsini.moc"
