#include "platform/clsIni.h"
#include "support/Testmiljo.h"
#include "support/VanligAnvandare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
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
