#include "common/Databasnamn.h"
#include "common/IniNamn.h"
#include "common/Poster.h"
#include "entry/Resultatrader.h"
#include "entry/Resultatsparning.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <sys/stat.h>

using Serieregler::NollAntal;
using Serieregler::TomSkottstrang;

namespace {

// A competition of one squad of 10 lanes with shooters on lanes 1 to 4.
struct Miljo : Testfixtur {
    explicit Miljo(NyTavling::Typ typ = NyTavling::Typ::Sportskytte, int skyttar = 4) {
        skapaTavling(QStringLiteral("Cup"), typ, 10, 1, skyttar);
        rader = hamtaSkjutlag(g, 1);
    }
    Skytt lagrad(const Banrad& r) {
        QSqlQuery q =
            g.cnnTavling.kor(QStringLiteral("SELECT * FROM Skyttar WHERE Löpnummer = ?"), {r.lopnummer});
        if (!q.next())
            qFatal("no shooter %lld", r.lopnummer);
        return Skytt::fran(q.record());
    }
    void ini(const IniNyckel& n, const QString& varde) {
        if (!g.iniTavling.WriteKey(n.sektion, n.nyckel, varde))
            qFatal("INI");
    }
    QString ini(const IniNyckel& n) {
        return g.iniTavling.GetKeyValue(n.sektion, n.nyckel, QStringLiteral("saknas"));
    }
    // The competition INI is replaced whole by every write: its inode tells
    // whether it was written.
    ino_t iniInod() const {
        struct stat st {};
        ::stat(QFile::encodeName(g.iniTavling.Path()).constData(), &st);
        return st.st_ino;
    }
    // The scoring machine in the base round with automatic counts.
    void maskin(const QString& model, const QString& decimaler = QString()) {
        g.blnTolkmaskinGrundomg = true;
        ini(Ini::Model, model);
        if (!decimaler.isNull())
            ini(Ini::DecimalerRika, decimaler);
        ini(Ini::EjAuto1098, QStringLiteral("0"));
    }
    QList<Banrad> rader;
};

// Every stored result column of a row, to see that nothing moved.
QString resultat(const Skytt& s) {
    QStringList d;
    for (int i = 0; i < 12; ++i)
        d << QString::number(s.res[i]) << s.sfst[i];
    for (int i = 0; i < 6; ++i)
        d << QString::number(s.sum[i]);
    d << QString::number(s.totalt40) << QString::number(s.totalt60) << QString::number(s.innertior)
      << s.tioNior << QString::number(s.sarskjutning) << QString::number(s.man1098);
    return d.join(QLatin1Char('|'));
}

QString resultat(const Banrad& r) {
    QStringList d;
    for (int i = 0; i < 12; ++i)
        d << QString::number(r.res[i]) << r.sfst.value(i);
    d << QString::number(r.innertior) << r.tioNior << QString::number(r.sarskjutning)
      << QString::number(r.man1098);
    return d.join(QLatin1Char('|'));
}

} // namespace

class T_resultatsparning : public QObject {
    Q_OBJECT

private slots:
    void skjutlagetsRader() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 10, 2, 0);
        Databas& db = f.g.cnnTavling;
        auto skytt = [&](int lag, int bana, const QString& namn) {
            db.kor(QStringLiteral("INSERT INTO Skyttar (Namn, Efternamn, Förening, Klass, Res3, SfST3, "
                                  "Särskjutning, Man1098, Lagserier) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                   {namn, QStringLiteral("O'Neil"), QStringLiteral("Skf"), QStringLiteral("D"), 47,
                    QStringLiteral("98*++"), 9.5, 1, 12});
            const qint64 nr = db.varde(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
            db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = ? AND Bana = ?"),
                   {nr, lag, bana});
            return nr;
        };
        const qint64 sju = skytt(1, 7, QStringLiteral("Sju"));
        const qint64 tva = skytt(1, 2, QStringLiteral("Två"));
        skytt(2, 1, QStringLiteral("Annat lag"));
        const QList<Banrad> r = hamtaSkjutlag(f.g, 1);
        // Free lanes give no row; lane order, not the order of entry.
        QCOMPARE(r.size(), 2);
        QCOMPARE(r[0].lopnummer, tva);
        QCOMPARE(r[0].bana, 2);
        QCOMPARE(r[1].lopnummer, sju);
        QCOMPARE(r[1].bana, 7);
        QCOMPARE(r[1].skjutlag, 1);
        QCOMPARE(r[1].heltNamn(), QStringLiteral("Sju O'Neil"));
        QCOMPARE(r[1].forening, QStringLiteral("Skf"));
        QCOMPARE(r[1].klass, QStringLiteral("D"));
        QCOMPARE(r[1].res[2], 47);
        QCOMPARE(r[1].sfst.size(), 12);
        QCOMPARE(r[1].sfst[2], QStringLiteral("98*++"));
        QCOMPARE(r[1].sfst[3], TomSkottstrang);
        QCOMPARE(r[1].sarskjutning, 9.5);
        QCOMPARE(r[1].man1098, 1);
        QCOMPARE(r[1].lagserier, 12);
        QCOMPARE(r[1].tioNior, NollAntal);
        QVERIFY(hamtaSkjutlag(f.g, 3).isEmpty());
    }

    void blandadTavlingsRader() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Mix, 5, 1, 0);
        Databas& db = f.g.cnnTavling;
        db.kor(
            QStringLiteral("INSERT INTO Mixadeklasser (Klass, [Antal skott], [Sport/Nat]) VALUES (?, ?, ?)"),
            {QStringLiteral("lg'1"), 40, QStringLiteral("Nat")});
        // The same class a second time: its shooter must still be one row.
        db.kor(
            QStringLiteral("INSERT INTO Mixadeklasser (Klass, [Antal skott], [Sport/Nat]) VALUES (?, ?, ?)"),
            {QStringLiteral("LG'1"), 40, QStringLiteral("Sport")});
        const QStringList klasser{QStringLiteral("LG'1"), QStringLiteral("Saknas"), QStringLiteral("H")};
        for (int i = 0; i < klasser.size(); ++i) {
            db.kor(QStringLiteral("INSERT INTO Skyttar (Namn, Klass) VALUES (?, ?)"),
                   {QString::number(i), klasser[i]});
            db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = last_insert_rowid() WHERE Skjutlag = 1 "
                                  "AND Bana = ?"),
                   {i + 1});
        }
        const QList<Banrad> r = hamtaSkjutlag(f.g, 1);
        QCOMPARE(r.size(), 2);
        QCOMPARE(r[0].bana, 1);
        QCOMPARE(r[0].sportNat, QStringLiteral("Nat"));
        QCOMPARE(r[1].bana, 3);
        QCOMPARE(r[1].sportNat, QStringLiteral("Sport"));
    }

    // A series typed by hand outside machine mode: the series, its pair and
    // totals, and the switch to hand-entered counts, once per shooter.
    void handskrivenSerieByterTillManuell() {
        Miljo f;
        QVERIFY(!f.g.blnEjAuto1098);
        f.g.cnnTavling.kor(
            QStringLiteral("UPDATE Skyttar SET TioNior = '1,2,3,0,0,0,0,0,0,0', Innertior = 4, "
                           "SfST4 = '+9999'"));
        Banrad& a = f.rader[0];
        a = hamtaSkjutlag(f.g, 1)[0];
        QCOMPARE(f.ini(Ini::EjAuto1098), QStringLiteral("saknas"));

        Resultatsparning s(f.g);
        const ino_t fore = f.iniInod();
        Resultatsparning::Utfall u = s.sparaSerie(a, 3, 47, std::nullopt);
        QVERIFY(f.iniInod() != fore); // written at once
        QVERIFY(u.parsummaAndrad);
        QVERIFY(u.bytteTillManuell);
        QVERIFY(u.manuellaAntal);
        QVERIFY(u.iniFel.isEmpty());
        QVERIFY(f.g.blnEjAuto1098);
        QCOMPARE(f.ini(Ini::EjAuto1098), QStringLiteral("1"));
        Skytt l = f.lagrad(a);
        QCOMPARE(l.res[2], 47);
        QCOMPARE(l.sum[1], 47);
        QCOMPARE(l.totalt40, 47);
        QCOMPARE(l.totalt60, 47);
        QVERIFY(l.man1098);
        QCOMPARE(l.innertior, 0);
        QCOMPARE(l.tioNior, NollAntal);
        QCOMPARE(l.sfst[2], TomSkottstrang);
        QCOMPARE(l.sfst[3], QStringLiteral("+9999")); // other series keep theirs
        QCOMPARE(resultat(a), resultat(hamtaSkjutlag(f.g, 1)[0]));

        // Counts typed in the dialog stay through the next typed series, and
        // the INI, which says so already, is not written again.
        s.sparaAntal(a, 2, {5, 4, 0, 0, 0, 0, 0, 0, 0, 0});
        const ino_t inod = f.iniInod();
        u = s.sparaSerie(a, 4, 48, std::nullopt);
        QVERIFY(!u.bytteTillManuell);
        QVERIFY(u.manuellaAntal);
        QCOMPARE(f.iniInod(), inod);
        l = f.lagrad(a);
        QCOMPARE(l.tioNior, QStringLiteral("5,4,0,0,0,0,0,0,0,0"));
        QCOMPARE(l.innertior, 2);
        QCOMPARE(l.sfst[3], TomSkottstrang);
        QCOMPARE(l.sum[1], 95);
        QCOMPARE(l.totalt60, 95);

        // The next shooter's counts are reset at their first typed series.
        Banrad& b = f.rader[1];
        s.sparaSerie(b, 12, 50, std::nullopt);
        l = f.lagrad(b);
        QVERIFY(l.man1098);
        QCOMPARE(l.tioNior, NollAntal);
        QCOMPARE(l.innertior, 0);
        QCOMPARE(l.sum[5], 50);
        QCOMPARE(l.totalt40, 0);
        QCOMPARE(l.totalt60, 50);
        QCOMPARE(f.iniInod(), inod);
    }

    void seriensGranserOchPlatshallaren() {
        Miljo f;
        Resultatsparning s(f.g);
        Banrad& a = f.rader[0];
        s.sparaSerie(a, 1, 50, std::nullopt);
        QCOMPARE(f.lagrad(a).res[0], 50);
        const QString fore = resultat(f.lagrad(a));
        QCOMPARE(felnummer([&] { s.sparaSerie(a, 2, 51, std::nullopt); }), 5);
        QCOMPARE(felnummer([&] { s.sparaSerie(a, 2, -1, std::nullopt); }), 5);
        QCOMPARE(felnummer([&] { s.sparaSerie(a, 13, 5, std::nullopt); }), 5);
        QCOMPARE(felnummer([&] { s.sparaSerie(a, 0, 5, std::nullopt); }), 5);
        QCOMPARE(resultat(f.lagrad(a)), fore);
        QCOMPARE(a.res[1], 0);

        // The free lane's placeholder is never written, by any path.
        Banrad ledig;
        ledig.lopnummer = PlatshallareLopnummer;
        ledig.sfst = QStringList(12, TomSkottstrang);
        const QString platshallare = resultat(f.lagrad(ledig));
        QVERIFY(felnummer([&] { s.sparaSerie(ledig, 1, 10, std::nullopt); }) != 0);
        QVERIFY(felnummer([&] { s.sparaSkottForSkott(ledig, 1, QStringLiteral("+++++")); }) != 0);
        QVERIFY(felnummer([&] { s.nollaSkottstrang(ledig, 1); }) != 0);
        QVERIFY(felnummer([&] { s.sparaSarskjutning(ledig, 1); }) != 0);
        QVERIFY(felnummer([&] { s.sparaAntal(ledig, 1, {}); }) != 0);
        QCOMPARE(resultat(f.lagrad(ledig)), platshallare);

        // A shooter deleted behind the window's back.
        f.g.cnnTavling.kor(QStringLiteral("DELETE FROM Skyttar WHERE Löpnummer = ?"), {f.rader[1].lopnummer});
        QCOMPARE(felnummer([&] { s.sparaSerie(f.rader[1], 1, 10, std::nullopt); }), 3021);
        QCOMPARE(felnummer([&] { s.sparaSarskjutning(f.rader[1], 1); }), 3021);
    }

    void parsummanAvgorAndring() {
        Miljo f;
        Resultatsparning s(f.g);
        Banrad& a = f.rader[0];
        QVERIFY(s.sparaSerie(a, 5, 47, std::nullopt).parsummaAndrad);
        QVERIFY(!s.sparaSerie(a, 5, 47, std::nullopt).parsummaAndrad);
        QVERIFY(s.sparaSerie(a, 6, 48, std::nullopt).parsummaAndrad);
        // 48 and 47 in place of 47 and 48: each save changes the pair sum.
        QVERIFY(s.sparaSerie(a, 5, 48, std::nullopt).parsummaAndrad);
        QVERIFY(s.sparaSerie(a, 6, 47, std::nullopt).parsummaAndrad);
        QCOMPARE(f.lagrad(a).sum[2], 95);
    }

    // The machine's shot strings give the counts; SAM 4000 tells inner tens.
    void maskinlastSerieRaknarAntal() {
        Miljo f;
        f.maskin(QStringLiteral("SAM 4000"));
        Resultatsparning s(f.g);
        Banrad& a = f.rader[0];
        const ino_t inod = f.iniInod();
        Resultatsparning::Utfall u = s.sparaSerie(a, 1, 47, QStringLiteral("98*++"));
        QVERIFY(!u.bytteTillManuell && !u.manuellaAntal);
        u = s.sparaSerie(a, 2, 44, QStringLiteral("+9987"));
        Skytt l = f.lagrad(a);
        QCOMPARE(l.sfst[0], QStringLiteral("98*++"));
        QCOMPARE(l.sfst[1], QStringLiteral("+9987"));
        QCOMPARE(l.sum[0], 91);
        QCOMPARE(l.tioNior, QStringLiteral("4,3,2,1,0,0,0,0,0,0"));
        QCOMPARE(l.innertior, 1);
        QVERIFY(!l.man1098);
        QVERIFY(!f.g.blnEjAuto1098);
        QCOMPARE(f.iniInod(), inod);
        QCOMPARE(resultat(a), resultat(hamtaSkjutlag(f.g, 1)[0]));

        // Typed from the keyboard in machine mode: no switch, counts kept from
        // the strings there are.
        u = s.sparaSerie(a, 1, 40, std::nullopt);
        QVERIFY(!u.manuellaAntal);
        QVERIFY(!f.g.blnEjAuto1098);
        l = f.lagrad(a);
        QCOMPARE(l.res[0], 40);
        QCOMPARE(l.sfst[0], QStringLiteral("98*++"));
        QCOMPARE(l.tioNior, QStringLiteral("4,3,2,1,0,0,0,0,0,0"));
        QCOMPARE(f.iniInod(), inod);

        QCOMPARE(felnummer([&] { s.sparaSerie(a, 3, 40, QStringLiteral("98*+")); }), 13);
        QCOMPARE(felnummer([&] { s.sparaSerie(a, 3, 40, QStringLiteral("98x++")); }), 13);
    }

    void rikaUtanDecimalerTarInnertiorForHand() {
        Miljo f;
        f.maskin(QStringLiteral("RIKA")); // DecimalerRika missing reads 0
        f.g.cnnTavling.kor(QStringLiteral("UPDATE Skyttar SET Innertior = 3"));
        Resultatsparning s(f.g);
        QCOMPARE(s.panelAuto10(), Panel::Manuella10); // a missing DecimalerRika reads "0"
        Banrad& a = f.rader[0];
        Resultatsparning::Utfall u = s.sparaSerie(a, 1, 50, QStringLiteral("*****"));
        QVERIFY(u.iniFel.isEmpty());
        QCOMPARE(f.ini(Ini::EjAutoInnertior), QStringLiteral("1"));
        Skytt l = f.lagrad(a);
        QCOMPARE(l.tioNior, QStringLiteral("5,0,0,0,0,0,0,0,0,0"));
        QCOMPARE(l.innertior, 3);
        QCOMPARE(s.panelAuto10(), Panel::Manuella10);
        // Said once; the next read series leaves the file alone.
        const ino_t inod = f.iniInod();
        s.sparaSerie(a, 2, 50, QStringLiteral("*****"));
        QCOMPARE(f.iniInod(), inod);
        QCOMPARE(f.lagrad(a).innertior, 3);

        // With decimals the RIKA tells inner tens, until they were switched.
        Miljo d;
        d.maskin(QStringLiteral("RIKA"), QStringLiteral("1"));
        Resultatsparning sd(d.g);
        sd.sparaSerie(d.rader[0], 1, 50, QStringLiteral("**+++"));
        QCOMPARE(d.lagrad(d.rader[0]).innertior, 2);
        QCOMPARE(d.ini(Ini::EjAutoInnertior), QStringLiteral("saknas"));
        d.ini(Ini::EjAutoInnertior, QStringLiteral("1"));
        sd.sparaSerie(d.rader[0], 2, 50, QStringLiteral("*****"));
        QCOMPARE(d.lagrad(d.rader[0]).innertior, 2);
        QCOMPARE(d.lagrad(d.rader[0]).tioNior, QStringLiteral("10,0,0,0,0,0,0,0,0,0"));
    }

    void skottForSkott() {
        Miljo f;
        f.maskin(QStringLiteral("SAM 4000"));
        Resultatsparning s(f.g);
        Banrad& a = f.rader[2];
        QCOMPARE(s.sparaSkottForSkott(a, 9, QStringLiteral("98*++")), 47);
        QCOMPARE(s.sparaSkottForSkott(a, 10, QStringLiteral("00000")), 0);
        QCOMPARE(s.sparaSkottForSkott(a, 1, QStringLiteral("*****")), 50);
        Skytt l = f.lagrad(a);
        QCOMPARE(l.res[8], 47);
        QCOMPARE(l.sfst[8], QStringLiteral("98*++"));
        QCOMPARE(l.sum[4], 47);
        QCOMPARE(l.totalt40, 50);
        QCOMPARE(l.totalt60, 97);
        QCOMPARE(l.tioNior, QStringLiteral("8,1,1,0,0,0,0,0,0,0"));
        QCOMPARE(l.innertior, 6);
        QVERIFY(!l.man1098);
        QCOMPARE(resultat(a), resultat(hamtaSkjutlag(f.g, 1)[2]));

        const QString fore = resultat(l);
        QCOMPARE(felnummer([&] { s.sparaSkottForSkott(a, 2, QStringLiteral("9999")); }), 13);
        QCOMPARE(felnummer([&] { s.sparaSkottForSkott(a, 2, QStringLiteral("999999")); }), 13);
        QCOMPARE(felnummer([&] { s.sparaSkottForSkott(a, 2, QStringLiteral("99-99")); }), 13);
        QCOMPARE(resultat(f.lagrad(a)), fore);

        // Hand-entered counts stay as they are.
        f.g.blnEjAuto1098 = true;
        s.sparaSkottForSkott(a, 2, QStringLiteral("+++++"));
        l = f.lagrad(a);
        QCOMPARE(l.res[1], 50);
        QCOMPARE(l.tioNior, QStringLiteral("8,1,1,0,0,0,0,0,0,0"));
        QCOMPARE(l.innertior, 6);
    }

    void nollaSkottstrangOchSarskjutning() {
        Miljo f;
        f.maskin(QStringLiteral("SAM 4000"));
        Resultatsparning s(f.g);
        Banrad& a = f.rader[0];
        s.sparaSkottForSkott(a, 4, QStringLiteral("*9999"));
        s.nollaSkottstrang(a, 4);
        Skytt l = f.lagrad(a);
        QCOMPARE(l.sfst[3], TomSkottstrang);
        QCOMPARE(l.res[3], 46); // the value is saved when the field is left
        QCOMPARE(l.tioNior, NollAntal);
        QCOMPARE(a.sfst[3], TomSkottstrang);

        s.sparaSarskjutning(a, 9.5);
        QCOMPARE(f.lagrad(a).sarskjutning, 9.5);
        QCOMPARE(a.sarskjutning, 9.5);
    }

    // OK in the count dialog.
    void antalSparas() {
        Miljo f;
        Resultatsparning s(f.g);
        Banrad& a = f.rader[0];
        Resultatsparning::Utfall u = s.sparaAntal(a, 1, {2, 7, 0, 0, 0, 0, 0, 0, 0, 0});
        QVERIFY(u.bytteTillManuell && u.manuellaAntal);
        Skytt l = f.lagrad(a);
        QCOMPARE(l.tioNior, QStringLiteral("2,7,0,0,0,0,0,0,0,0"));
        QCOMPARE(l.innertior, 1);
        QVERIFY(l.man1098);
        QVERIFY(f.g.blnEjAuto1098);
        QCOMPARE(f.ini(Ini::EjAuto1098), QStringLiteral("1"));
        QCOMPARE(s.panelAuto1098(), Panel::Man1098);
        QCOMPARE(resultat(a), resultat(hamtaSkjutlag(f.g, 1)[0]));
        // Again without changes: the same text, no switch to report.
        u = s.sparaAntal(a, 1, {2, 7, 0, 0, 0, 0, 0, 0, 0, 0});
        QVERIFY(!u.bytteTillManuell && u.manuellaAntal);
        QCOMPARE(f.lagrad(a).tioNior, QStringLiteral("2,7,0,0,0,0,0,0,0,0"));

        // Machine mode with automatic counts and SAM 4000: nothing is stored.
        Miljo m;
        m.maskin(QStringLiteral("SAM 4000"));
        Resultatsparning sm(m.g);
        const QString fore = resultat(m.lagrad(m.rader[0]));
        u = sm.sparaAntal(m.rader[0], 4, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
        QVERIFY(!u.manuellaAntal && !u.bytteTillManuell);
        QCOMPARE(resultat(m.lagrad(m.rader[0])), fore);
        QVERIFY(!m.g.blnEjAuto1098);

        // ... with a RIKA without decimals only the inner tens.
        Miljo r;
        r.maskin(QStringLiteral("RIKA"), QStringLiteral("0"));
        Resultatsparning sr(r.g);
        u = sr.sparaAntal(r.rader[0], 4, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
        QVERIFY(!u.manuellaAntal);
        Skytt lr = r.lagrad(r.rader[0]);
        QCOMPARE(lr.innertior, 4);
        QCOMPARE(lr.tioNior, NollAntal);
        QVERIFY(!lr.man1098);
        QCOMPARE(r.ini(Ini::EjAutoInnertior), QStringLiteral("1"));
        QVERIFY(!r.g.blnEjAuto1098);

        // Hand-entered counts with a RIKA without decimals: both.
        Miljo h;
        h.ini(Ini::Model, QStringLiteral("RIKA"));
        Resultatsparning sh(h.g);
        sh.sparaAntal(h.rader[0], 3, {5, 0, 0, 0, 0, 0, 0, 0, 0, 1});
        Skytt lh = h.lagrad(h.rader[0]);
        QCOMPARE(lh.innertior, 3);
        QCOMPARE(lh.tioNior, QStringLiteral("5,0,0,0,0,0,0,0,0,1"));
        QCOMPARE(h.ini(Ini::EjAutoInnertior), QStringLiteral("1"));
        QCOMPARE(h.ini(Ini::EjAuto1098), QStringLiteral("1"));

        QCOMPARE(felnummer([&] { s.sparaAntal(a, -1, {}); }), 5);
    }

    // Which count fields the dialog opens for typing.
    void antalfaltensTillstand_data() {
        QTest::addColumn<bool>("maskin");
        QTest::addColumn<QString>("ejAuto1098");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("decimaler");
        QTest::addColumn<QString>("ejAutoInnertior");
        QTest::addColumn<bool>("tioTillEtt");
        QTest::addColumn<bool>("innertior");
        const QString saknas; // a null text: the key is not in the file
        QTest::newRow("för hand") << false << QStringLiteral("0") << QStringLiteral("SAM 4000") << saknas
                                  << saknas << true << true;
        QTest::newRow("maskin, SAM") << true << QStringLiteral("0") << QStringLiteral("SAM 4000") << saknas
                                     << saknas << false << false;
        QTest::newRow("maskin, utan nyckel")
            << true << saknas << QStringLiteral("SAM 4000") << saknas << saknas << false << false;
        QTest::newRow("maskin, manuella")
            << true << QStringLiteral("1") << QStringLiteral("SAM 4000") << saknas << saknas << true << true;
        QTest::newRow("maskin, RIKA utan decimaler")
            << true << QStringLiteral("0") << QStringLiteral("RIKA") << saknas << saknas << false << true;
        QTest::newRow("maskin, RIKA med decimaler")
            << true << QStringLiteral("0") << QStringLiteral("RIKA") << QStringLiteral("1")
            << QStringLiteral("0") << false << false;
        QTest::newRow("maskin, RIKA, innertior för hand")
            << true << QStringLiteral("0") << QStringLiteral("RIKA") << QStringLiteral("1")
            << QStringLiteral("1") << false << true;
    }
    void antalfaltensTillstand() {
        QFETCH(bool, maskin);
        QFETCH(QString, ejAuto1098);
        QFETCH(QString, model);
        QFETCH(QString, decimaler);
        QFETCH(QString, ejAutoInnertior);
        QFETCH(bool, tioTillEtt);
        QFETCH(bool, innertior);
        Miljo f(NyTavling::Typ::Sportskytte, 0);
        f.g.blnTolkmaskinGrundomg = maskin;
        f.ini(Ini::Model, model);
        if (!ejAuto1098.isNull())
            f.ini(Ini::EjAuto1098, ejAuto1098);
        if (!decimaler.isNull())
            f.ini(Ini::DecimalerRika, decimaler);
        if (!ejAutoInnertior.isNull())
            f.ini(Ini::EjAutoInnertior, ejAutoInnertior);
        const Resultatsparning::Antalfalt a = Resultatsparning(f.g).antalfalt();
        QCOMPARE(a.tioTillEtt, tioTillEtt);
        QCOMPARE(a.innertior, innertior);
    }

    void panelerVidOppning() {
        Miljo f(NyTavling::Typ::Nationellt, 0);
        Resultatsparning s(f.g);
        QCOMPARE(s.panelAuto1098(), Panel::Auto1098);
        QCOMPARE(s.panelAuto10(), Panel::Auto10);
        f.g.blnEjAuto1098 = true;
        QCOMPARE(s.panelAuto1098(), Panel::Man1098);
        f.ini(Ini::Model, QStringLiteral("RIKA"));
        f.ini(Ini::DecimalerRika, QStringLiteral("0"));
        QCOMPARE(s.panelAuto10(), Panel::Manuella10);
        f.ini(Ini::DecimalerRika, QStringLiteral("1"));
        QCOMPARE(s.panelAuto10(), Panel::Auto10);
        // Key names match in any letter case.
        QVERIFY(f.g.iniTavling.WriteKey(Ini::Sektion::Tolkmaskin, QStringLiteral("ejautoinnertior"),
                                        QStringLiteral("1")));
        QCOMPARE(s.panelAuto10(), Panel::Manuella10);
    }

    // A write that the database refuses leaves the stored row, the caller's
    // row and the shared state as they were, whatever the path.
    void misslyckadSparningAndrarIngenting() {
        Miljo f;
        Resultatsparning s(f.g);
        Banrad& a = f.rader[0];
        s.sparaSarskjutning(a, 1.5);
        f.g.blnTolkmaskinGrundomg = false;
        f.g.cnnTavling.kor(QStringLiteral("CREATE TRIGGER stopp BEFORE UPDATE ON Skyttar "
                                          "BEGIN SELECT RAISE(ABORT, 'stopp'); END"));
        const QString lagratFore = resultat(f.lagrad(a));
        const QString radFore = resultat(a);
        const ino_t inod = f.iniInod();
        const QList<std::function<void()>> satt{
            [&] { s.sparaSerie(a, 1, 47, std::nullopt); },
            [&] { s.sparaSerie(a, 1, 47, QStringLiteral("98*++")); },
            [&] { s.sparaSkottForSkott(a, 2, QStringLiteral("+++++")); },
            [&] { s.nollaSkottstrang(a, 3); },
            [&] { s.sparaSarskjutning(a, 7); },
            [&] {
                s.sparaAntal(a, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
            },
        };
        for (const auto& spara : satt) {
            QCOMPARE(felnummer(spara), Felnummer::Databasfel);
            QCOMPARE(resultat(f.lagrad(a)), lagratFore);
            QCOMPARE(resultat(a), radFore);
            QVERIFY(!f.g.blnEjAuto1098);
            QCOMPARE(f.iniInod(), inod);
            QCOMPARE(f.g.cnnTavling.transaktionsdjup(), 0);
        }
        QCOMPARE(f.ini(Ini::EjAuto1098), QStringLiteral("saknas"));

        // Afterwards saving works again.
        f.g.cnnTavling.kor(QStringLiteral("DROP TRIGGER stopp"));
        s.sparaSerie(a, 1, 47, std::nullopt);
        QCOMPARE(f.lagrad(a).res[0], 47);
        QVERIFY(f.g.blnEjAuto1098);
    }

    // An INI that cannot be written is reported; the series stays saved and
    // the switch holds for the rest of the run.
    void iniSomInteKanSkrivas() {
        Miljo f;
        Resultatsparning s(f.g);
        f.g.iniTavling.setPath(f.t.fil(QStringLiteral("finns inte/Cup.ini")));
        const Resultatsparning::Utfall u = s.sparaSerie(f.rader[0], 1, 30, std::nullopt);
        QVERIFY(!u.iniFel.isEmpty());
        QVERIFY(u.bytteTillManuell);
        QVERIFY(f.g.blnEjAuto1098);
        QCOMPARE(f.lagrad(f.rader[0]).res[0], 30);
    }
};

QTEST_MAIN(T_resultatsparning)
#include "test_resultatsparning.moc"
