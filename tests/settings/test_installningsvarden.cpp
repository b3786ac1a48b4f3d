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

using namespace Qt::StringLiterals;

using V = Installningsvarden;

class TestInstallningsvarden : public QObject {
    Q_OBJECT

    static QStringList rader(const QString& sokvag) {
        QFile f(sokvag);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return Windows1252::tillText(f.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts);
    }
    static QString las(const Testfixtur& f, const QString& sektion, const QString& nyckel) {
        return f.g.iniTavling.GetKeyValue(sektion, nyckel, u"<saknas>"_s);
    }

private slots:
    // A competition just created shows the form's defaults, and closing writes
    // every key, each in its section, with the texts the program has always
    // written.
    void nyTavlingVisasOchSkrivsTillbaka() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte);
        const V v = Installningar::las(f.g);
        QVERIFY(!v.lagtavling && !v.tolkmaskinIGrundomg && !v.decimalerRika);
        QCOMPARE(v.comport, u"1"_s);
        QCOMPARE(v.modell, V::Modell::Sam4000);
        QCOMPARE(v.innertia, u"10,3"_s);
        QVERIFY(v.skjutlagslistaMedResultat);
        QCOMPARE(v.femskottsserier, std::optional<bool>(true));
        QCOMPARE(v.vansterMarginal, u"1,2"_s);
        QCOMPARE(v.hogerMarginal, u"0"_s);
        QCOMPARE(v.layout, V::Layout::Liggande);
        QCOMPARE(v.antalSkottVandring, u"40"_s);
        QCOMPARE(v.vilka, std::optional<V::Vilka>(V::Vilka::Alla));
        QCOMPARE(v.datum, u"6 december 2026"_s);
        QCOMPARE(v.tavlingskatalog, f.g.programmappMedAvslut());

        V andrad = v;
        andrad.lagtavling = true;
        andrad.lagAntalSkyttar = u"4"_s;
        andrad.lagAntalSkott = u"60"_s;
        andrad.tolkmaskinIGrundomg = true;
        andrad.comport = u"3"_s;
        andrad.modell = V::Modell::Rika;
        andrad.innertia = u"10,45"_s;
        andrad.decimalerRika = true;
        andrad.vansterMarginal = u" 1,5 "_s;
        andrad.layout = V::Layout::Staende;
        andrad.vandringspris = true;
        andrad.vandringsprisNamn = u"  Jubileumspokalen "_s;
        andrad.antalSkottVandring = u" 30 "_s;
        andrad.vilka = V::Vilka::Valda;
        andrad.datum = u"7 december"_s;
        andrad.tavlingskatalog = u"/srv/tävlingar"_s;
        Installningar::skriv(f.g, andrad);

        QCOMPARE(
            rader(f.g.iniTavling.Path()).join(u'|'),
            u"[Lag]|Lagtävling=1|Antal skyttar=4|Antal skott=60|"
            "[Allmänt]|Antal skjutlag=1|Sportskytte=True|Nationellt=False|Mix=False|Flera tävlingar=0|"
            "Skjutlagsstorlek=10|MajorVersion=1|MinorVersion=0|BuildVersion=47|Datum=7 december|"
            "[Resultat]|Femskottsserier=1|"
            "[Utskrifter]|Skjutlagslista med resultat=1|Förklaringar=0|VänsterMarginal=1,5|HögerMarginal=0|"
            "Layout=1|"
            "[Tolkmaskin]|Innertia=10,45|Tolkmaskin i finalen=0|Tolkmaskin i grundomg=1|Comport=3|"
            "DecimalerRika=1|Model=RIKA|Settings=9600,N,8,1|"
            "[Final]|Decimaler i finalen=0|"
            "[Vandringspris]|Vandringspris=1|Tävlingsnamn=Jubileumspokalen|AntalSkott=30|Vilka=Valda"_s);
        QCOMPARE(f.g.iniProgram.GetKeyValue(u"Sökvägar"_s, u"Tävlingskatalog"_s, {}), u"/srv/tävlingar"_s);
        // The open competition follows what was written.
        QVERIFY(f.g.blnLagtavling && f.g.blnTolkmaskinGrundomg && f.g.blnSkjutlagslistaMedResultat);
        QCOMPARE(f.g.sngInnertia, 10.45);
        QCOMPARE(f.g.strTavlingsdatum, u"7 december"_s);

        const V igen = Installningar::las(f.g);
        QCOMPARE(igen.modell, V::Modell::Rika);
        QCOMPARE(igen.layout, V::Layout::Staende);
        QCOMPARE(igen.vilka, std::optional<V::Vilka>(V::Vilka::Valda));
    }

    // Texts the form does not know leave its designed choice, and what closing
    // writes for them.
    void okandaTexterGerFormularetsVal() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        QVERIFY(f.g.iniTavling.WriteKeys({{"Utskrifter", "Layout", "3"},
                                          {"Tolkmaskin", "Model", "SAM 5000"},
                                          {"Vandringspris", "Vilka", "Några"},
                                          {"Utskrifter", "Förklaringar", "1"}}));
        QVERIFY(f.g.iniTavling.DeleteKey(u"Resultat"_s, u"Femskottsserier"_s));
        const V v = Installningar::las(f.g);
        QCOMPARE(v.layout, V::Layout::Liggande);
        QCOMPARE(v.modell, V::Modell::Sam4000);
        QVERIFY(!v.vilka);
        QVERIFY(!v.femskottsserier); // the default "True" chooses neither option
        QVERIFY(!v.forklaringar);    // shown only when rounds are used
        Installningar::skriv(f.g, v);
        QCOMPARE(las(f, "Utskrifter", "Layout"), u"2"_s);
        QCOMPARE(las(f, "Tolkmaskin", "Model"), u"SAM 4000"_s);
        QCOMPARE(las(f, "Tolkmaskin", "Settings"), u"9600,N,8,1"_s);
        QCOMPARE(las(f, "Vandringspris", "Vilka"), QString());
        QCOMPARE(las(f, "Resultat", "Femskottsserier"), u"0"_s);
        QCOMPARE(las(f, "Utskrifter", "Förklaringar"), u"0"_s);

        // A stored port of 0 shows as 0: the form shows what is stored.
        QVERIFY(f.g.iniTavling.WriteKey(u"Tolkmaskin"_s, u"Comport"_s, u"0"_s));
        QCOMPARE(Installningar::las(f.g).comport, u"0"_s);
        // A yes/no that is no yes/no stops the load.
        QVERIFY(f.g.iniTavling.WriteKey(u"Lag"_s, u"Lagtävling"_s, u"kanske"_s));
        QCOMPARE(felnummer([&] { Installningar::las(f.g); }), Felnummer::TypeMismatch);
    }

    // Whatever way the form closes, a value nobody could use is not written:
    // the stored value stays, and the state keeps it.
    void oanvandbaraVardenBehallerDetSparade() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        V v = Installningar::las(f.g);
        f.g.sngInnertia = 10.3;
        v.innertia = QString();
        v.vansterMarginal = u"  "_s;
        v.hogerMarginal = QString();
        v.antalSkottVandring = QString();
        Installningar::skriv(f.g, v);
        QCOMPARE(las(f, "Tolkmaskin", "Innertia"), u"10,3"_s);
        QCOMPARE(las(f, "Utskrifter", "VänsterMarginal"), u"1,2"_s);
        QCOMPARE(las(f, "Utskrifter", "HögerMarginal"), u"0"_s); // nothing stored: the default
        QCOMPARE(las(f, "Vandringspris", "AntalSkott"), u"40"_s);
        QCOMPARE(f.g.sngInnertia, 10.3);
        v.innertia = u"11"_s;
        Installningar::skriv(f.g, v);
        QCOMPARE(las(f, "Tolkmaskin", "Innertia"), u"10,3"_s);
    }

    void stangningskontroller_data() {
        QTest::addColumn<QString>("lokal");
        QTest::newRow("komma") << u"sv_SE"_s;
        QTest::newRow("punkt") << u"en_US"_s;
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
        QCOMPARE(Installningar::innertiaGodkand(u"10,5"_s), std::optional<double>(10.5));
        QCOMPARE(Installningar::innertiaGodkand(u"10.5"_s), std::optional<double>(10.5));
        QCOMPARE(Installningar::innertiaGodkand(u"10,05"_s), std::optional<double>(10.05));
        for (const char* varde : {"", "10", "11", "11,5", "10,", "tio"})
            QVERIFY2(!Installningar::innertiaGodkand(QString::fromLatin1(varde)), varde);
        QLocale::setDefault(forut);
    }

    // A file that cannot be written is reported, and the state is left as it was.
    void oskrivbarFilRapporteras() {
        if (korSomVanligAnvandare("oskrivbarFilRapporteras"))
            return;
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        V v = Installningar::las(f.g);
        v.datum = u"ny"_s;
        const QString mapp = QFileInfo(f.g.iniTavling.Path()).path();
        QFile::setPermissions(f.g.iniTavling.Path(), QFile::ReadOwner);
        QFile::setPermissions(mapp, QFile::ReadOwner | QFile::ExeOwner);
        const int nummer = felnummer([&] { Installningar::skriv(f.g, v); });
        QFile::setPermissions(mapp, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(nummer, Felnummer::SokvagsAtkomstfel);
        QCOMPARE(f.g.strTavlingsdatum, u"6 december 2026"_s);
    }
};

QTEST_MAIN(TestInstallningsvarden)
#include "test_installningsvarden.moc"
