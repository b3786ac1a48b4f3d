#include "platform/Windows1252.h"
#include "platform/clsIni.h"
#include "support/Testmiljo.h"
#include "support/VanligAnvandare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

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
bool arGiltigUtf8(const QByteArray& bytes) {
    QStringDecoder d(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = d(bytes);
    Q_UNUSED(text);
    return !d.hasError();
}

// Runs a call with the largest file size this process may write set to
// `tak` bytes, as on a disk about to fill up; writes past it fail with EFBIG
// instead of killing the process.
template <typename F> bool medFilstorlekstak(rlim_t tak, F anrop) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit forut{};
    getrlimit(RLIMIT_FSIZE, &forut);
    rlimit nytt = forut;
    nytt.rlim_cur = tak;
    setrlimit(RLIMIT_FSIZE, &nytt);
    const bool resultat = anrop();
    setrlimit(RLIMIT_FSIZE, &forut);
    std::signal(SIGXFSZ, SIG_DFL);
    return resultat;
}
} // namespace

class TestClsIni : public QObject {
    Q_OBJECT
private slots:
    void saknadFilGerStandardOchSkapasInte() {
        Testmiljo t;
        clsIni ini(t.fil(QStringLiteral("Saknas.ini")));
        QCOMPARE(
            ini.GetKeyValue(QStringLiteral("Sökvägar"), QStringLiteral("Filnamn1"), QStringLiteral("std")),
            QStringLiteral("std"));
        QVERIFY(!QFileInfo::exists(ini.Path()));
        QVERIFY(ini.GetSections().isEmpty());
        QVERIFY(ini.GetSectionKeys(QStringLiteral("Sökvägar")).isEmpty());
    }

    void skrivningSkaparFilSektionOchNyckel() {
        Testmiljo t;
        clsIni ini(t.fil(QStringLiteral("Ny.ini")));
        QVERIFY(
            ini.WriteKey(QStringLiteral("Allmänt"), QStringLiteral("Datum"), QStringLiteral("2026-12-06")));
        QCOMPARE(lasBytes(ini.Path()), QByteArray("[Allm\xe4nt]\r\nDatum=2026-12-06\r\n"));
        QCOMPARE(ini.GetKeyValue(QStringLiteral("Allmänt"), QStringLiteral("Datum"), QString()),
                 QStringLiteral("2026-12-06"));
    }

    // Empty, missing and deleted keys are three different answers.
    void tomtSaknatOchBorttagetVarde() {
        Testmiljo t;
        clsIni ini(t.fil(QStringLiteral("T.ini")));
        const QString s = QStringLiteral("Sökvägar"), k = QStringLiteral("Filnamn2");
        QCOMPARE(ini.GetKeyValue(s, k, QStringLiteral("std")), QStringLiteral("std"));
        QVERIFY(ini.WriteKey(s, k, QString()));
        QCOMPARE(ini.GetKeyValue(s, k, QStringLiteral("std")), QString());
        QVERIFY(ini.DeleteKey(s, k));
        QCOMPARE(ini.GetKeyValue(s, k, QStringLiteral("std")), QStringLiteral("std"));
        QVERIFY(!lasBytes(ini.Path()).contains("Filnamn2"));
    }

    // A Windows-made file: cp1252, CRLF, Swedish names in other letter case, a
    // comment and blank lines. Reads match regardless of case; a write replaces the
    // key in place under its own spelling and leaves every other byte alone.
    void windowsfilBehallsVidSkrivning() {
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("Cup.ini"));
        const QByteArray fore = "; Pilkrona\r\n"
                                "[ALLM\xc4NT]\r\n"
                                "MajorVersion=1\r\n"
                                "datum = 6 december \x80 1\r\n"
                                "\r\n"
                                "[\xe5sk\xe5"
                                "darsk\xe4rm]\r\n"
                                "AllaBanor=1\r\n";
        skrivBytes(sokvag, fore);
        clsIni ini(sokvag);
        QCOMPARE(ini.GetKeyValue(QStringLiteral("Allmänt"), QStringLiteral("Datum"), QString()),
                 QStringLiteral("6 december € 1"));
        QCOMPARE(ini.GetKeyValue(QStringLiteral("ÅSKÅDARSKÄRM"), QStringLiteral("allabanor"), QString()),
                 QStringLiteral("1"));

        QVERIFY(ini.WriteKey(QStringLiteral("allmänt"), QStringLiteral("DATUM"), QStringLiteral("7 maj")));
        QVERIFY(
            ini.WriteKey(QStringLiteral("Allmänt"), QStringLiteral("Flera tävlingar"), QStringLiteral("1")));
        const QByteArray efter = "; Pilkrona\r\n"
                                 "[ALLM\xc4NT]\r\n"
                                 "MajorVersion=1\r\n"
                                 "datum=7 maj\r\n"
                                 "Flera t\xe4vlingar=1\r\n"
                                 "\r\n"
                                 "[\xe5sk\xe5"
                                 "darsk\xe4rm]\r\n"
                                 "AllaBanor=1\r\n";
        QCOMPARE(lasBytes(sokvag), efter);
        QCOMPARE(ini.GetSections(), QStringList({QStringLiteral("ALLMÄNT"), QStringLiteral("åskådarskärm")}));
    }

    void langtVardeLasesHelt() {
        Testmiljo t;
        clsIni ini(t.fil(QStringLiteral("L.ini")));
        const QString lang = QString(300, QLatin1Char('x')) + QStringLiteral("slut");
        QVERIFY(ini.WriteKey(QStringLiteral("Sökvägar"), QStringLiteral("Tävlingskatalog"), lang));
        QCOMPARE(ini.GetKeyValue(QStringLiteral("Sökvägar"), QStringLiteral("Tävlingskatalog"), QString()),
                 lang);
    }

    void radbrytningIVardeBlirBlanksteg() {
        Testmiljo t;
        clsIni ini(t.fil(QStringLiteral("R.ini")));
        QVERIFY(
            ini.WriteKey(QStringLiteral("Allmänt"), QStringLiteral("Datum"), QStringLiteral("a\r\nb\nc\rd")));
        QVERIFY(ini.WriteKey(QStringLiteral("Allmänt"), QStringLiteral("Mix"), QStringLiteral("False")));
        QCOMPARE(ini.GetKeyValue(QStringLiteral("Allmänt"), QStringLiteral("Datum"), QString()),
                 QStringLiteral("a b c d"));
        QCOMPARE(ini.GetSectionKeys(QStringLiteral("Allmänt")).size(), 2);
    }

    void misslyckadSkrivningRapporteras() {
        Testmiljo t;
        // A file standing where the folder should be: fails for every user.
        skrivBytes(t.fil(QStringLiteral("fil")), "x");
        clsIni underFil(t.fil(QStringLiteral("fil/P.ini")));
        QVERIFY(!underFil.WriteKey(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")));
        QVERIFY(underFil.senasteFel().contains(underFil.Path()));

        clsIni utanSokvag;
        QVERIFY(!utanSokvag.WriteKey(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")));

        if (korSomVanligAnvandare("misslyckadSkrivningRapporteras"))
            return;
        const QString mapp = t.fil(QStringLiteral("skrivskyddad"));
        QVERIFY(QDir().mkpath(mapp));
        clsIni ini(mapp + QStringLiteral("/P.ini"));
        QVERIFY(ini.WriteKey(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("1")));
        QFile::setPermissions(mapp, QFile::ReadOwner | QFile::ExeOwner);
        const bool skrev = ini.WriteKey(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("2"));
        QFile::setPermissions(mapp, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!skrev);
        QCOMPARE(ini.senasteFel(), QStringLiteral("Filen \"%1\" kan inte skrivas.").arg(ini.Path()));
        QCOMPARE(ini.GetKeyValue(QStringLiteral("A"), QStringLiteral("B"), QString()), QStringLiteral("1"));
        QVERIFY(ini.WriteKey(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("3")));
        QVERIFY(ini.senasteFel().isEmpty());
    }

    void sektionerOchNycklarUtanTommaRader() {
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("S.ini"));
        skrivBytes(sokvag, "[A]\nx=1\nutan likhetstecken\ny = 2 \n[B]\nz=\"citerat\"\n[A]\nx=9\n");
        clsIni ini(sokvag);
        QCOMPARE(ini.GetSections(), QStringList({"A", "B", "A"}));
        const auto a = ini.GetSectionKeys(QStringLiteral("a"));
        QCOMPARE(a.size(), 2);
        QCOMPARE(a[0], qMakePair(QStringLiteral("x"), QStringLiteral("1")));
        QCOMPARE(a[1], qMakePair(QStringLiteral("y"), QStringLiteral("2")));
        QCOMPARE(ini.GetKeyValue(QStringLiteral("B"), QStringLiteral("z"), QString()),
                 QStringLiteral("citerat"));
        // Only the first section of a name counts, as on Windows.
        QCOMPARE(ini.GetKeyValue(QStringLiteral("A"), QStringLiteral("x"), QString()), QStringLiteral("1"));
        // A file with LF line ends keeps them.
        QVERIFY(ini.WriteKey(QStringLiteral("B"), QStringLiteral("w"), QStringLiteral("3")));
        QVERIFY(!lasBytes(sokvag).contains('\r'));
        QVERIFY(lasBytes(sokvag).contains("z=\"citerat\"\nw=3\n[A]"));
    }

    void sektionTomsOchTasBort() {
        Testmiljo t;
        clsIni ini(t.fil(QStringLiteral("D.ini")));
        QVERIFY(ini.WriteKey(QStringLiteral("Lag"), QStringLiteral("Lagtävling"), QStringLiteral("0")));
        QVERIFY(ini.WriteKey(QStringLiteral("Lag"), QStringLiteral("Antal skott"), QStringLiteral("40")));
        QVERIFY(
            ini.WriteKey(QStringLiteral("Debug"), QStringLiteral("ExcelVisible"), QStringLiteral("True")));
        QVERIFY(ini.WriteSection(QStringLiteral("LAG")));
        QVERIFY(ini.GetSectionKeys(QStringLiteral("Lag")).isEmpty());
        QCOMPARE(ini.GetSections(), QStringList({"Lag", "Debug"}));
        QVERIFY(ini.WriteSection(QStringLiteral("Ny")));
        QVERIFY(ini.DeleteSection(QStringLiteral("lag")));
        QCOMPARE(ini.GetSections(), QStringList({"Debug", "Ny"}));
        QCOMPARE(ini.GetKeyValue(QStringLiteral("Debug"), QStringLiteral("ExcelVisible"), QString()),
                 QStringLiteral("True"));
    }

    // Writing a file we could not read would replace every setting in it with the
    // keys of one call. A file nobody may read, one only its owner may write but not
    // read, and a folder standing at the path are all left alone by every write.
    void olasbarFilSkrivsAldrig() {
        Testmiljo t;
        const QString mapp = t.fil(QStringLiteral("Mapp.ini"));
        QVERIFY(QDir().mkpath(mapp));
        clsIni iMapp(mapp);
        QCOMPARE(iMapp.status(), clsIni::Filstatus::KanInteLasas);
        QVERIFY(!iMapp.WriteKey(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("1")));
        QVERIFY(iMapp.senasteFel().contains(mapp));
        QVERIFY(!iMapp.DeleteSection(QStringLiteral("A")));
        QVERIFY(QFileInfo(mapp).isDir());

        if (korSomVanligAnvandare("olasbarFilSkrivsAldrig"))
            return;
        const QString sokvag = t.fil(QStringLiteral("Cup.ini"));
        const QByteArray fore = "[Allm\xe4nt]\r\nMajorVersion=1\r\nDatum=6 december\r\n";
        for (const QFile::Permissions rattigheter :
             {QFile::Permissions(), QFile::Permissions(QFile::WriteOwner)}) {
            skrivBytes(sokvag, fore);
            QVERIFY(QFile::setPermissions(sokvag, rattigheter));
            clsIni ini(sokvag);
            QCOMPARE(ini.status(), clsIni::Filstatus::KanInteLasas);
            QCOMPARE(
                ini.GetKeyValue(QStringLiteral("Allmänt"), QStringLiteral("Datum"), QStringLiteral("std")),
                QStringLiteral("std"));
            QVERIFY(
                !ini.WriteKey(QStringLiteral("Allmänt"), QStringLiteral("Datum"), QStringLiteral("7 maj")));
            QCOMPARE(ini.senasteFel(), QStringLiteral("Filen \"%1\" kan inte läsas.").arg(sokvag));
            QVERIFY(
                !ini.WriteKeys({{QStringLiteral("Lag"), QStringLiteral("Lagtävling"), QStringLiteral("1")}}));
            QVERIFY(!ini.WriteSection(QStringLiteral("Lag")));
            // Nothing to delete in what little we know of the file, yet no success either.
            QVERIFY(!ini.DeleteSection(QStringLiteral("Lag")));
            QVERIFY(!ini.DeleteKey(QStringLiteral("Allmänt"), QStringLiteral("Datum")));
            QVERIFY(!ini.senasteFel().isEmpty());
            QVERIFY(QFile::setPermissions(sokvag, QFile::ReadOwner | QFile::WriteOwner));
            QCOMPARE(lasBytes(sokvag), fore);
            QCOMPARE(QDir(t.mapp()).entryList(QDir::Files | QDir::Hidden),
                     QStringList{QStringLiteral("Cup.ini")});
        }
    }

    // A disk that fills up while the file is saved: the save is refused and the
    // old file stays whole instead of being replaced by the part that fitted.
    void fullDiskLamnarGamlaFilen() {
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("Pilkrona.ini"));
        clsIni ini(sokvag);
        QVERIFY(ini.WriteKeys(
            {{QStringLiteral("Sökvägar"), QStringLiteral("Filnamn1"), QStringLiteral("/t/Cup.air")},
             {QStringLiteral("Allmänt"), QStringLiteral("Ort"), QStringLiteral("Västerås")}}));
        const QByteArray fore = lasBytes(sokvag);
        const QString lang = QString(2000, QLatin1Char('x'));

        // The first key alone would fit; written together with the second, neither is.
        bool skrev = medFilstorlekstak(1024, [&] {
            return ini.WriteKeys(
                {{QStringLiteral("Sökvägar"), QStringLiteral("Filnamn2"), QStringLiteral("/t/B.air")},
                 {QStringLiteral("Sökvägar"), QStringLiteral("Tävlingskatalog"), lang}});
        });
        QVERIFY(!skrev);
        QVERIFY(ini.senasteFel().contains(sokvag));
        QCOMPARE(lasBytes(sokvag), fore);

        skrev = medFilstorlekstak(0, [&] {
            return ini.WriteKey(QStringLiteral("Allmänt"), QStringLiteral("Ort"), QStringLiteral("Umeå"));
        });
        QVERIFY(!skrev);
        QVERIFY(ini.senasteFel().contains(sokvag));
        QCOMPARE(lasBytes(sokvag), fore);
        QCOMPARE(QDir(t.mapp()).entryList({QStringLiteral("Pilkrona.ini*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Pilkrona.ini")});

        QVERIFY(ini.WriteKey(QStringLiteral("Sökvägar"), QStringLiteral("Tävlingskatalog"), lang));
        QVERIFY(ini.senasteFel().isEmpty());
        QCOMPARE(ini.GetKeyValue(QStringLiteral("Sökvägar"), QStringLiteral("Tävlingskatalog"), QString()),
                 lang);
    }

    // Several keys in one rewrite, placed one after the other as WriteKey() would.
    void flerNycklarPaEnGang() {
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("Cup.ini"));
        skrivBytes(sokvag,
                   "; Pilkrona\r\n[ALLM\xc4NT]\r\nDatum=6 december\r\n\r\n[Lag]\r\nLagt\xe4vling=0\r\n");
        clsIni ini(sokvag);
        QVERIFY(ini.WriteKeys({}));
        QVERIFY(
            ini.WriteKeys({{QStringLiteral("allmänt"), QStringLiteral("DATUM"), QStringLiteral("7 maj")},
                           {QStringLiteral("Allmänt"), QStringLiteral("Flera tävlingar"), QString()},
                           {QStringLiteral("Debug"), QStringLiteral("ExcelVisible"), QStringLiteral("True")},
                           {QStringLiteral("debug"), QStringLiteral("Mix"), QStringLiteral("\"a\"")},
                           {QStringLiteral("Allmänt"), QStringLiteral("flera TÄVLINGAR"), QString()}}));
        QCOMPARE(lasBytes(sokvag), QByteArray("; Pilkrona\r\n"
                                              "[ALLM\xc4NT]\r\n"
                                              "Datum=7 maj\r\n"
                                              "Flera t\xe4vlingar=\r\n"
                                              "\r\n"
                                              "[Lag]\r\n"
                                              "Lagt\xe4vling=0\r\n"
                                              "[Debug]\r\n"
                                              "ExcelVisible=True\r\n"
                                              "Mix=\"a\"\r\n"));
        QCOMPARE(ini.GetKeyValue(QStringLiteral("Allmänt"), QStringLiteral("Flera tävlingar"),
                                 QStringLiteral("std")),
                 QString());

        // Nothing to write creates no file.
        clsIni tom(t.fil(QStringLiteral("Tom.ini")));
        QVERIFY(tom.WriteKeys({}));
        QVERIFY(!QFileInfo::exists(tom.Path()));
    }

    // A name Windows-1252 cannot hold turns a new file into UTF-8 rather than
    // into "?"; the file then stays UTF-8.
    void tecknenUtanfor1252GorFilenTillUtf8() {
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("Pilkrona.ini"));
        clsIni ini(sokvag);
        const QString fil = QStringLiteral("/t/Łódź Cup/Łódź Cup.air");
        QVERIFY(ini.WriteKey(QStringLiteral("Sökvägar"), QStringLiteral("Filnamn1"), fil));
        QCOMPARE(ini.GetKeyValue(QStringLiteral("Sökvägar"), QStringLiteral("Filnamn1"), QString()), fil);
        QVERIFY(arGiltigUtf8(lasBytes(sokvag)));
        QVERIFY(ini.WriteKey(QStringLiteral("Sökvägar"), QStringLiteral("Filnamn2"),
                             QStringLiteral("/t/Väst.air")));
        QCOMPARE(lasBytes(sokvag),
                 QStringLiteral("[Sökvägar]\r\nFilnamn1=/t/Łódź Cup/Łódź Cup.air\r\nFilnamn2=/t/Väst.air\r\n")
                     .toUtf8());

        // An existing Windows-1252 file is re-encoded whole, other lines included.
        const QString gammal = t.fil(QStringLiteral("Cup.ini"));
        skrivBytes(gammal, "[S\xf6kv\xe4gar]\r\nDatum=6 december \x80 1\r\n");
        clsIni ini2(gammal);
        QVERIFY(ini2.WriteKey(QStringLiteral("Łódź"), QStringLiteral("Ort"), QStringLiteral("Łódź")));
        QCOMPARE(lasBytes(gammal),
                 QStringLiteral("[Sökvägar]\r\nDatum=6 december € 1\r\n[Łódź]\r\nOrt=Łódź\r\n").toUtf8());
        QCOMPARE(ini2.GetKeyValue(QStringLiteral("sökvägar"), QStringLiteral("datum"), QString()),
                 QStringLiteral("6 december € 1"));
    }

    // A Windows-1252 file stays one while all it holds fits: the old Windows
    // program can still read it.
    void windows1252Behalls() {
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("Pilkrona.ini"));
        skrivBytes(sokvag, "[S\xf6kv\xe4gar]\r\nFilnamn1=C:\\T\xe4vlingar\\Cup.air\r\n");
        clsIni ini(sokvag);
        QVERIFY(
            ini.WriteKey(QStringLiteral("Sökvägar"), QStringLiteral("Filnamn2"), QStringLiteral("/t/B.air")));
        QVERIFY(ini.WriteKey(QStringLiteral("Sökvägar"), QStringLiteral("Ort"),
                             QStringLiteral("Västerås – “Väst”")));
        QCOMPARE(lasBytes(sokvag), QByteArray("[S\xf6kv\xe4gar]\r\n"
                                              "Filnamn1=C:\\T\xe4vlingar\\Cup.air\r\n"
                                              "Filnamn2=/t/B.air\r\n"
                                              "Ort=V\xe4ster\xe5s \x96 \x93V\xe4st\x94\r\n"));
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
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("Pilkrona.ini"));
        skrivBytes(sokvag, borjan + QStringLiteral("[Sökvägar]\nFilnamn1=/hem/Åsa/Cup.air\n").toUtf8());
        clsIni ini(sokvag);
        QCOMPARE(ini.GetSections(), QStringList{QStringLiteral("Sökvägar")});
        QCOMPARE(ini.GetKeyValue(QStringLiteral("SÖKVÄGAR"), QStringLiteral("Filnamn1"), QString()),
                 QStringLiteral("/hem/Åsa/Cup.air"));
        QVERIFY(
            ini.WriteKey(QStringLiteral("Sökvägar"), QStringLiteral("Filnamn2"), QStringLiteral("/t/B.air")));
        QVERIFY(ini.WriteKey(QStringLiteral("Allmänt"), QStringLiteral("Ort"), QStringLiteral("Umeå")));
        QCOMPARE(lasBytes(sokvag),
                 borjan + QStringLiteral("[Sökvägar]\nFilnamn1=/hem/Åsa/Cup.air\nFilnamn2=/t/B.air\n"
                                         "[Allmänt]\nOrt=Umeå\n")
                              .toUtf8());
        QCOMPARE(ini.status(), clsIni::Filstatus::Ok);
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
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("Cup.ini"));
        skrivBytes(sokvag, "[A]\r\nk=" + varde + "\r\n");
        clsIni ini(sokvag);
        QCOMPARE(ini.GetKeyValue(QStringLiteral("A"), QStringLiteral("k"), QString()),
                 Windows1252::tillText(varde));
        QVERIFY(ini.WriteKey(QStringLiteral("A"), QStringLiteral("n"), QStringLiteral("1")));
        QCOMPARE(lasBytes(sokvag), "[A]\r\nk=" + varde + "\r\nn=1\r\n");
    }

    // What opening a competition learns about its INI file before reading it.
    void filstatus() {
        Testmiljo t;
        QCOMPARE(clsIni(t.fil(QStringLiteral("Saknas.ini"))).status(), clsIni::Filstatus::Saknas);
        QCOMPARE(clsIni().status(), clsIni::Filstatus::Saknas);

        const QString sokvag = t.fil(QStringLiteral("Cup.ini"));
        clsIni ini(sokvag);
        const auto statusFor = [&](const QByteArray& bytes) {
            skrivBytes(sokvag, bytes);
            return ini.status();
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
        skrivBytes(sokvag, "[A]\r\nk=1\r\n");
        QVERIFY(QFile::setPermissions(sokvag, QFile::Permissions()));
        const clsIni::Filstatus utanRattigheter = ini.status();
        QVERIFY(QFile::setPermissions(sokvag, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(utanRattigheter, clsIni::Filstatus::KanInteLasas);
    }

    // Nothing is cached: another program's change is seen by the next read.
    void andringUtifranSesGenast() {
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("E.ini"));
        clsIni ini(sokvag);
        QVERIFY(ini.WriteKey(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("1")));
        skrivBytes(sokvag, "[A]\r\nk=2\r\n");
        QCOMPARE(ini.GetKeyValue(QStringLiteral("A"), QStringLiteral("k"), QString()), QStringLiteral("2"));
    }
};

QTEST_GUILESS_MAIN(TestClsIni)
#include "test_clsini.moc"
