#include "platform/clsIni.h"
#include "support/Testmiljo.h"
#include "support/VanligAnvandare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
        QCOMPARE(ini.GetKeyValue(QStringLiteral("A"), QStringLiteral("B"), QString()), QStringLiteral("1"));
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
        ini.WriteKey(QStringLiteral("Lag"), QStringLiteral("Lagtävling"), QStringLiteral("0"));
        ini.WriteKey(QStringLiteral("Lag"), QStringLiteral("Antal skott"), QStringLiteral("40"));
        ini.WriteKey(QStringLiteral("Debug"), QStringLiteral("ExcelVisible"), QStringLiteral("True"));
        QVERIFY(ini.WriteSection(QStringLiteral("LAG")));
        QVERIFY(ini.GetSectionKeys(QStringLiteral("Lag")).isEmpty());
        QCOMPARE(ini.GetSections(), QStringList({"Lag", "Debug"}));
        QVERIFY(ini.WriteSection(QStringLiteral("Ny")));
        QVERIFY(ini.DeleteSection(QStringLiteral("lag")));
        QCOMPARE(ini.GetSections(), QStringList({"Debug", "Ny"}));
        QCOMPARE(ini.GetKeyValue(QStringLiteral("Debug"), QStringLiteral("ExcelVisible"), QString()),
                 QStringLiteral("True"));
    }

    // Nothing is cached: another program's change is seen by the next read.
    void andringUtifranSesGenast() {
        Testmiljo t;
        const QString sokvag = t.fil(QStringLiteral("E.ini"));
        clsIni ini(sokvag);
        ini.WriteKey(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("1"));
        skrivBytes(sokvag, "[A]\r\nk=2\r\n");
        QCOMPARE(ini.GetKeyValue(QStringLiteral("A"), QStringLiteral("k"), QString()), QStringLiteral("2"));
    }
};

QTEST_GUILESS_MAIN(TestClsIni)
#include "test_clsini.moc"
