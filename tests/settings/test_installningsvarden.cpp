#include "common/Fel.h"
#include "platform/Windows1252.h"
#include "settings/Installningsvarden.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"
#include "support/VanligAnvandare.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTest>

using V = Installningsvarden;

class TestInstallningsvarden : public QObject {
    Q_OBJECT

    static QStringList rader(const QString& sokvag) {
        QFile f(sokvag);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return Windows1252::tillText(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    static QString las(const Testfixtur& f, const QString& sektion, const QString& nyckel) {
        return f.g.iniTavling.GetKeyValue(sektion, nyckel, QStringLiteral("<saknas>"));
    }

private slots:
    // A competition just created shows the form's defaults, and closing writes
    // every key, each in its section, with the texts the program has always
    // written.
    void nyTavlingVisasOchSkrivsTillbaka() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte);
        const V v = Installningar::las(f.g);
        QVERIFY(!v.lagtavling && !v.tolkmaskinIGrundomg && !v.decimalerRika);
        QCOMPARE(v.comport, QStringLiteral("1"));
        QCOMPARE(v.modell, V::Modell::Sam4000);
        QCOMPARE(v.innertia, QStringLiteral("10,3"));
        QVERIFY(v.skjutlagslistaMedResultat);
        QCOMPARE(v.femskottsserier, std::optional<bool>(true));
        QCOMPARE(v.vansterMarginal, QStringLiteral("1,2"));
        QCOMPARE(v.hogerMarginal, QStringLiteral("0"));
        QCOMPARE(v.layout, V::Layout::Liggande);
        QCOMPARE(v.antalSkottVandring, QStringLiteral("40"));
        QCOMPARE(v.vilka, std::optional<V::Vilka>(V::Vilka::Alla));
        QCOMPARE(v.datum, QStringLiteral("6 december 2026"));
        QCOMPARE(v.tavlingskatalog, f.g.programmappMedAvslut());

        V andrad = v;
        andrad.lagtavling = true;
        andrad.lagAntalSkyttar = QStringLiteral("4");
        andrad.lagAntalSkott = QStringLiteral("60");
        andrad.tolkmaskinIGrundomg = true;
        andrad.comport = QStringLiteral("3");
        andrad.modell = V::Modell::Rika;
        andrad.innertia = QStringLiteral("10,45");
        andrad.decimalerRika = true;
        andrad.vansterMarginal = QStringLiteral(" 1,5 ");
        andrad.layout = V::Layout::Staende;
        andrad.vandringspris = true;
        andrad.vandringsprisNamn = QStringLiteral("  Jubileumspokalen ");
        andrad.antalSkottVandring = QStringLiteral(" 30 ");
        andrad.vilka = V::Vilka::Valda;
        andrad.datum = QStringLiteral("7 december");
        andrad.tavlingskatalog = QStringLiteral("/srv/tävlingar");
        Installningar::skriv(f.g, andrad);

        QCOMPARE(rader(f.g.iniTavling.Path()), QStringList({"[Lag]",
                                                            "Lagtävling=1",
                                                            "Antal skyttar=4",
                                                            "Antal skott=60",
                                                            "[Allmänt]",
                                                            "Antal skjutlag=1",
                                                            "Sportskytte=True",
                                                            "Nationellt=False",
                                                            "Mix=False",
                                                            "Flera tävlingar=0",
                                                            "Skjutlagsstorlek=10",
                                                            "MajorVersion=1",
                                                            "MinorVersion=0",
                                                            "BuildVersion=47",
                                                            "Datum=7 december",
                                                            "[Resultat]",
                                                            "Femskottsserier=1",
                                                            "[Utskrifter]",
                                                            "Skjutlagslista med resultat=1",
                                                            "Förklaringar=0",
                                                            "VänsterMarginal=1,5",
                                                            "HögerMarginal=0",
                                                            "Layout=1",
                                                            "[Tolkmaskin]",
                                                            "Innertia=10,45",
                                                            "Tolkmaskin i finalen=0",
                                                            "Tolkmaskin i grundomg=1",
                                                            "Comport=3",
                                                            "DecimalerRika=1",
                                                            "Model=RIKA",
                                                            "Settings=9600,N,8,1",
                                                            "[Final]",
                                                            "Decimaler i finalen=0",
                                                            "[Vandringspris]",
                                                            "Vandringspris=1",
                                                            "Tävlingsnamn=Jubileumspokalen",
                                                            "AntalSkott=30",
                                                            "Vilka=Valda"}));
        QCOMPARE(
            f.g.iniProgram.GetKeyValue(QStringLiteral("Sökvägar"), QStringLiteral("Tävlingskatalog"), {}),
            QStringLiteral("/srv/tävlingar"));
        // The open competition follows what was written.
        QVERIFY(f.g.blnLagtavling && f.g.blnTolkmaskinGrundomg && f.g.blnSkjutlagslistaMedResultat);
        QCOMPARE(f.g.sngInnertia, 10.45);
        QCOMPARE(f.g.strTavlingsdatum, QStringLiteral("7 december"));

        const V igen = Installningar::las(f.g);
        QCOMPARE(igen.modell, V::Modell::Rika);
        QCOMPARE(igen.layout, V::Layout::Staende);
        QCOMPARE(igen.vilka, std::optional<V::Vilka>(V::Vilka::Valda));
    }

    // Texts the form does not know leave its designed choice, and what closing
    // writes for them.
    void okandaTexterGerFormularetsVal() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        QVERIFY(f.g.iniTavling.WriteKeys({{"Utskrifter", "Layout", "3"},
                                          {"Tolkmaskin", "Model", "SAM 5000"},
                                          {"Vandringspris", "Vilka", "Några"},
                                          {"Utskrifter", "Förklaringar", "1"}}));
        QVERIFY(f.g.iniTavling.DeleteKey(QStringLiteral("Resultat"), QStringLiteral("Femskottsserier")));
        const V v = Installningar::las(f.g);
        QCOMPARE(v.layout, V::Layout::Liggande);
        QCOMPARE(v.modell, V::Modell::Sam4000);
        QVERIFY(!v.vilka);
        QVERIFY(!v.femskottsserier); // the default "True" chooses neither option
        QVERIFY(!v.forklaringar);    // shown only when rounds are used
        Installningar::skriv(f.g, v);
        QCOMPARE(las(f, "Utskrifter", "Layout"), QStringLiteral("2"));
        QCOMPARE(las(f, "Tolkmaskin", "Model"), QStringLiteral("SAM 4000"));
        QCOMPARE(las(f, "Tolkmaskin", "Settings"), QStringLiteral("9600,N,8,1"));
        QCOMPARE(las(f, "Vandringspris", "Vilka"), QString());
        QCOMPARE(las(f, "Resultat", "Femskottsserier"), QStringLiteral("0"));
        QCOMPARE(las(f, "Utskrifter", "Förklaringar"), QStringLiteral("0"));

        // A stored port of 0 shows as 0: the form shows what is stored.
        QVERIFY(f.g.iniTavling.WriteKey(QStringLiteral("Tolkmaskin"), QStringLiteral("Comport"),
                                        QStringLiteral("0")));
        QCOMPARE(Installningar::las(f.g).comport, QStringLiteral("0"));
        // A yes/no that is no yes/no stops the load.
        QVERIFY(f.g.iniTavling.WriteKey(QStringLiteral("Lag"), QStringLiteral("Lagtävling"),
                                        QStringLiteral("kanske")));
        QCOMPARE(felnummer([&] { Installningar::las(f.g); }), Felnummer::TypeMismatch);
    }

    // Whatever way the form closes, a value nobody could use is not written:
    // the stored value stays, and the state keeps it.
    void oanvandbaraVardenBehallerDetSparade() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        V v = Installningar::las(f.g);
        f.g.sngInnertia = 10.3;
        v.innertia = QString();
        v.vansterMarginal = QStringLiteral("  ");
        v.hogerMarginal = QString();
        v.antalSkottVandring = QString();
        Installningar::skriv(f.g, v);
        QCOMPARE(las(f, "Tolkmaskin", "Innertia"), QStringLiteral("10,3"));
        QCOMPARE(las(f, "Utskrifter", "VänsterMarginal"), QStringLiteral("1,2"));
        QCOMPARE(las(f, "Utskrifter", "HögerMarginal"), QStringLiteral("0")); // nothing stored: the default
        QCOMPARE(las(f, "Vandringspris", "AntalSkott"), QStringLiteral("40"));
        QCOMPARE(f.g.sngInnertia, 10.3);
        v.innertia = QStringLiteral("11");
        Installningar::skriv(f.g, v);
        QCOMPARE(las(f, "Tolkmaskin", "Innertia"), QStringLiteral("10,3"));
    }

    void stangningskontroller_data() {
        QTest::addColumn<QString>("lokal");
        QTest::newRow("komma") << QStringLiteral("sv_SE");
        QTest::newRow("punkt") << QStringLiteral("en_US");
    }
    // The port and the inner ten as the close checks them, the same whatever
    // the locale's decimal separator.
    void stangningskontroller() {
        QFETCH(QString, lokal);
        const QLocale forut;
        QLocale::setDefault(QLocale(lokal));
        for (const char* port : {"1", "9", "5"})
            QVERIFY2(Installningar::comportGodkand(QString::fromLatin1(port)), port);
        for (const char* port : {"", "0", "10", "x", "-1"})
            QVERIFY2(!Installningar::comportGodkand(QString::fromLatin1(port)), port);
        QCOMPARE(Installningar::innertiaGodkand(QStringLiteral("10,5")), std::optional<double>(10.5));
        QCOMPARE(Installningar::innertiaGodkand(QStringLiteral("10.5")), std::optional<double>(10.5));
        QCOMPARE(Installningar::innertiaGodkand(QStringLiteral("10,05")), std::optional<double>(10.05));
        for (const char* varde : {"", "10", "11", "11,5", "10,", "tio"})
            QVERIFY2(!Installningar::innertiaGodkand(QString::fromLatin1(varde)), varde);
        QLocale::setDefault(forut);
    }

    // A file that cannot be written is reported, and the state is left as it was.
    void oskrivbarFilRapporteras() {
        if (korSomVanligAnvandare("oskrivbarFilRapporteras"))
            return;
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"));
        V v = Installningar::las(f.g);
        v.datum = QStringLiteral("ny");
        const QString mapp = QFileInfo(f.g.iniTavling.Path()).path();
        QFile::setPermissions(f.g.iniTavling.Path(), QFile::ReadOwner);
        QFile::setPermissions(mapp, QFile::ReadOwner | QFile::ExeOwner);
        const int nummer = felnummer([&] { Installningar::skriv(f.g, v); });
        QFile::setPermissions(mapp, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(nummer, Felnummer::SokvagsAtkomstfel);
        QCOMPARE(f.g.strTavlingsdatum, QStringLiteral("6 december 2026"));
    }
};

QTEST_MAIN(TestInstallningsvarden)
#include "test_installningsvarden.moc"
