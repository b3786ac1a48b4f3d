#include "Inskrivningsstod.h"
#include "common/Databasnamn.h"
#include "common/IniNamn.h"
#include "entry/Resultatrader.h"
#include "entry/Resultatsparning.h"
#include "support/Testfel.h"

#include <sys/stat.h>

using Serieregler::NollAntal;
using Serieregler::TomSkottstrang;
using Utfall = Resultatsparning::Utfall;

namespace {

// A competition of one squad of 10 lanes with shooters on lanes 1 to 4.
struct Miljo : Testfixtur {
    explicit Miljo(int skyttar = 4) {
        skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 10, 1, skyttar);
        rader = hamtaSkjutlag(g, 1);
    }
    // The stored columns named ("*" for all of them), joined by "|".
    QString lagrat(const Banrad& r, const QString& kolumner = u"*"_s) {
        return ::lagrat(g, r.lopnummer, kolumner);
    }
    void ini(const IniNyckel& n, const QString& varde) {
        if (!g.iniTavling.WriteKey(n.sektion, n.nyckel, varde))
            qFatal("INI");
    }
    QString ini(const IniNyckel& n) { return g.iniTavling.GetKeyValue(n.sektion, n.nyckel, u"saknas"_s); }
    // The INI is replaced whole by a write: its inode tells whether it was.
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
        ini(Ini::EjAuto1098, u"0"_s);
    }
    // Whether the caller's copy of lane row i agrees with the row read afresh.
    bool radStammer(int i) { return resultat(rader[i]) == resultat(hamtaSkjutlag(g, 1)[i]); }
    static QString resultat(const Banrad& r) {
        QStringList d;
        for (int i = 0; i < 12; ++i)
            d << QString::number(r.res[i]) << r.sfst.value(i);
        d << QString::number(r.innertior) << r.tioNior << QString::number(r.sarskjutning)
          << QString::number(r.man1098);
        return d.join(u'|');
    }
    QList<Banrad> rader;
};

// A save's flags: p pair sum changed, b switched to counts by hand, m by hand.
QString flaggor(const Utfall& u) {
    return QString(u.parsummaAndrad ? u"p"_s : QString()) + (u.bytteTillManuell ? u"b"_s : QString()) +
           (u.manuellaAntal ? u"m"_s : QString());
}

} // namespace

class T_resultatsparning : public QObject {
    Q_OBJECT

private slots:
    // A row per occupied lane in lane order; in a mixed competition the class's
    // kind, and no row for a shooter whose class is missing.
    void skjutlagetsRader() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 10, 2, 0);
        Databas& db = f.g.cnnTavling;
        auto skytt = [&](int lag, int bana, const QString& namn) {
            db.kor(
                u"INSERT INTO Skyttar (Namn, Efternamn, Förening, Klass, Res3, SfST3, Särskjutning, Man1098, "
                "Lagserier) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                {namn, u"O'Neil"_s, u"Skf"_s, u"D"_s, 47, u"98*++"_s, 9.5, 1, 12});
            const qint64 nr = db.varde(u"SELECT last_insert_rowid()"_s).toLongLong();
            db.kor(u"UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = ? AND Bana = ?"_s, {nr, lag, bana});
            return nr;
        };
        const qint64 sju = skytt(1, 7, u"Sju"_s);
        const qint64 tva = skytt(1, 2, u"Två"_s);
        skytt(2, 1, u"Annat lag"_s);
        const QList<Banrad> r = hamtaSkjutlag(f.g, 1);
        QCOMPARE(r.size(), 2);
        QCOMPARE((std::tuple{r[0].lopnummer, r[0].bana, r[1].lopnummer, r[1].bana, r[1].skjutlag}),
                 (std::tuple{tva, 2, sju, 7, 1}));
        QCOMPARE((QStringList{r[1].heltNamn(), r[1].forening, r[1].klass}),
                 (QStringList{u"Sju O'Neil"_s, u"Skf"_s, u"D"_s}));
        QCOMPARE(r[1].lagserier, 12);
        QCOMPARE(r[1].sfst.size(), 12);
        QCOMPARE((std::tuple{r[1].res[2], r[1].sfst[2], r[1].sfst[3], r[1].sarskjutning, r[1].man1098,
                             r[1].tioNior}),
                 (std::tuple{47, u"98*++"_s, TomSkottstrang, 9.5, 1, NollAntal}));
        QVERIFY(hamtaSkjutlag(f.g, 3).isEmpty());
        Testfixtur m;
        m.skapaTavling(u"Cup"_s, NyTavling::Typ::Mix, 5, 1, 0);
        const QString klass =
            u"INSERT INTO Mixadeklasser (Klass, [Antal skott], [Sport/Nat]) VALUES (?, 40, ?)"_s;
        m.g.cnnTavling.kor(klass, {u"lg'1"_s, u"Nat"_s});
        // The same class a second time: its shooter must still be one row.
        m.g.cnnTavling.kor(klass, {u"LG'1"_s, u"Sport"_s});
        const QStringList klasser{u"LG'1"_s, u"Saknas"_s, u"H"_s};
        for (int i = 0; i < klasser.size(); ++i) {
            m.g.cnnTavling.kor(u"INSERT INTO Skyttar (Namn, Klass) VALUES (?, ?)"_s,
                               {QString::number(i), klasser[i]});
            m.g.cnnTavling.kor(
                u"UPDATE Skjutlag SET Startnummer = last_insert_rowid() WHERE Skjutlag = 1 AND Bana = ?"_s,
                {i + 1});
        }
        const QList<Banrad> mix = hamtaSkjutlag(m.g, 1);
        QCOMPARE(mix.size(), 2);
        QCOMPARE((std::tuple{mix[0].bana, mix[0].sportNat, mix[1].bana, mix[1].sportNat}),
                 (std::tuple{1, u"Nat"_s, 3, u"Sport"_s}));
    }

    // A series typed by hand: its sums, and the switch to counts by hand, in the
    // INI at once and once only; counts typed in the dialog stay, another
    // shooter's are reset at his first.
    void handskrivenSerieByterTillManuell() {
        Miljo f;
        QVERIFY(!f.g.blnEjAuto1098);
        f.g.cnnTavling.kor(
            u"UPDATE Skyttar SET TioNior = '1,2,3,0,0,0,0,0,0,0', Innertior = 4, SfST4 = '+9999'"_s);
        Banrad& a = f.rader[0];
        a = hamtaSkjutlag(f.g, 1)[0];
        QCOMPARE(f.ini(Ini::EjAuto1098), u"saknas"_s);
        Resultatsparning s(f.g);
        QCOMPARE(s.panelAuto1098(), Panel::Auto1098);
        const ino_t fore = f.iniInod();
        Utfall u = s.sparaSerie(a, 3, 47, std::nullopt);
        QVERIFY(f.iniInod() != fore);
        QCOMPARE(flaggor(u), u"pbm"_s);
        QVERIFY(u.iniFel.isEmpty() && f.g.blnEjAuto1098);
        QCOMPARE(f.ini(Ini::EjAuto1098), u"1"_s);
        QCOMPARE(f.lagrat(a, u"Res3, Sum20, Totalt40, Totalt60, Man1098, Innertior, TioNior, SfST3, SfST4"_s),
                 u"47|47|47|47|1|0|0,0,0,0,0,0,0,0,0,0|00000|+9999"_s);
        QVERIFY(f.radStammer(0));
        s.sparaAntal(a, 2, {5, 4, 0, 0, 0, 0, 0, 0, 0, 0});
        const ino_t inod = f.iniInod();
        QCOMPARE(flaggor(s.sparaSerie(a, 4, 48, std::nullopt)), u"pm"_s);
        QCOMPARE(f.iniInod(), inod);
        QCOMPARE(f.lagrat(a, u"TioNior, Innertior, SfST4, Sum20, Totalt60"_s),
                 u"5,4,0,0,0,0,0,0,0,0|2|00000|95|95"_s);

        QCOMPARE(flaggor(s.sparaSerie(a, 4, 48, std::nullopt)), u"m"_s);
        QCOMPARE(flaggor(s.sparaSerie(a, 3, 48, std::nullopt)), u"pm"_s);
        QCOMPARE(flaggor(s.sparaSerie(a, 4, 47, std::nullopt)), u"pm"_s);
        s.sparaSerie(f.rader[1], 12, 50, std::nullopt);
        QCOMPARE(f.lagrat(f.rader[1], u"Man1098, TioNior, Innertior, Sum60, Totalt40, Totalt60"_s),
                 u"1|0,0,0,0,0,0,0,0,0,0|0|50|0|50"_s);
        QCOMPARE(f.iniInod(), inod);
    }

    // Out of range, the free lane's placeholder and a deleted shooter are
    // refused, nothing written.
    void vagradeSparningar() {
        Miljo f;
        Resultatsparning s(f.g);
        Banrad& a = f.rader[0];
        s.sparaSerie(a, 1, 50, std::nullopt);
        QCOMPARE(f.lagrat(a, u"Res1"_s), u"50"_s);
        const QString fore = f.lagrat(a);
        for (const std::pair<int, int>& fall : {std::pair{2, 51}, {2, -1}, {13, 5}, {0, 5}})
            QCOMPARE(felnummer([&] { s.sparaSerie(a, fall.first, fall.second, std::nullopt); }), 5);
        QCOMPARE(felnummer([&] { s.sparaAntal(a, -1, {}); }), 5);
        QCOMPARE(f.lagrat(a), fore);
        QCOMPARE(a.res[1], 0);
        Banrad ledig;
        ledig.lopnummer = PlatshallareLopnummer;
        ledig.sfst = QStringList(12, TomSkottstrang);
        const QString platshallare = f.lagrat(ledig);
        const std::function<void()> satt[] = {
            [&] { s.sparaSerie(ledig, 1, 10, std::nullopt); },
            [&] { s.sparaSkottForSkott(ledig, 1, u"+++++"_s); }, [&] { s.nollaSkottstrang(ledig, 1); },
            [&] { s.sparaSarskjutning(ledig, 1); }, [&] { s.sparaAntal(ledig, 1, {}); }};
        for (const auto& spara : satt)
            QVERIFY(felnummer(spara) != 0);
        QCOMPARE(f.lagrat(ledig), platshallare);
        f.g.cnnTavling.kor(u"DELETE FROM Skyttar WHERE Löpnummer = ?"_s, {f.rader[1].lopnummer});
        QCOMPARE(felnummer([&] { s.sparaSerie(f.rader[1], 1, 10, std::nullopt); }), 3021);
        QCOMPARE(felnummer([&] { s.sparaSarskjutning(f.rader[1], 1); }), 3021);
    }

    // The machine's shot strings give the counts; a series typed in machine
    // mode switches nothing; a bad string is refused.
    void maskinlastSerieRaknarAntal() {
        Miljo f;
        f.maskin(u"SAM 4000"_s);
        Resultatsparning s(f.g);
        Banrad& a = f.rader[0];
        const ino_t inod = f.iniInod();
        QCOMPARE(flaggor(s.sparaSerie(a, 1, 47, u"98*++"_s)), u"p"_s);
        s.sparaSerie(a, 2, 44, u"+9987"_s);
        QCOMPARE(f.lagrat(a, u"SfST1, SfST2, Sum10, TioNior, Innertior, Man1098"_s),
                 u"98*++|+9987|91|4,3,2,1,0,0,0,0,0,0|1|0"_s);
        QVERIFY(f.radStammer(0));
        QCOMPARE(flaggor(s.sparaSerie(a, 1, 40, std::nullopt)), u"p"_s);
        QVERIFY(!f.g.blnEjAuto1098);
        QCOMPARE(f.lagrat(a, u"Res1, SfST1, TioNior"_s), u"40|98*++|4,3,2,1,0,0,0,0,0,0"_s);
        QCOMPARE(f.iniInod(), inod);
        QCOMPARE(felnummer([&] { s.sparaSerie(a, 3, 40, u"98*+"_s); }), 13);
        QCOMPARE(felnummer([&] { s.sparaSerie(a, 3, 40, u"98x++"_s); }), 13);
    }

    // A RIKA without decimals leaves the inner tens to the operator, said once
    // in the INI; with decimals it tells them, until switched to hand.
    void rikaInnertior() {
        Miljo f;
        f.maskin(u"RIKA"_s);
        f.g.cnnTavling.kor(u"UPDATE Skyttar SET Innertior = 3"_s);
        Resultatsparning s(f.g);
        QCOMPARE(s.panelAuto10(), Panel::Manuella10);
        Banrad& a = f.rader[0];
        QVERIFY(s.sparaSerie(a, 1, 50, u"*****"_s).iniFel.isEmpty());
        QCOMPARE(f.ini(Ini::EjAutoInnertior), u"1"_s);
        QCOMPARE(f.lagrat(a, u"TioNior, Innertior"_s), u"5,0,0,0,0,0,0,0,0,0|3"_s);
        const ino_t inod = f.iniInod();
        s.sparaSerie(a, 2, 50, u"*****"_s);
        QCOMPARE(f.iniInod(), inod);
        QCOMPARE(f.lagrat(a, u"Innertior"_s), u"3"_s);
        Miljo d;
        d.maskin(u"RIKA"_s, u"1"_s);
        Resultatsparning sd(d.g);
        sd.sparaSerie(d.rader[0], 1, 50, u"**+++"_s);
        QCOMPARE(d.lagrat(d.rader[0], u"Innertior"_s), u"2"_s);
        QCOMPARE(d.ini(Ini::EjAutoInnertior), u"saknas"_s);
        d.ini(Ini::EjAutoInnertior, u"1"_s);
        sd.sparaSerie(d.rader[0], 2, 50, u"*****"_s);
        QCOMPARE(d.lagrat(d.rader[0], u"Innertior, TioNior"_s), u"2|10,0,0,0,0,0,0,0,0,0"_s);
    }

    // Shot by shot, with the automatic counts; Delete empties a string and
    // recounts; the shoot-off value.
    void skottForSkottOchSarskjutning() {
        Miljo f;
        f.maskin(u"SAM 4000"_s);
        Resultatsparning s(f.g);
        Banrad& a = f.rader[2];
        QCOMPARE(s.sparaSkottForSkott(a, 9, u"98*++"_s), 47);
        QCOMPARE(s.sparaSkottForSkott(a, 10, u"00000"_s), 0);
        QCOMPARE(s.sparaSkottForSkott(a, 1, u"*****"_s), 50);
        QCOMPARE(f.lagrat(a, u"Res9, SfST9, Sum50, Totalt40, Totalt60, TioNior, Innertior, Man1098"_s),
                 u"47|98*++|47|50|97|8,1,1,0,0,0,0,0,0,0|6|0"_s);
        QVERIFY(f.radStammer(2));
        const QString fore = f.lagrat(a);
        for (const QString& fel : {u"9999"_s, u"999999"_s, u"99-99"_s})
            QCOMPARE(felnummer([&] { s.sparaSkottForSkott(a, 2, fel); }), 13);
        QCOMPARE(f.lagrat(a), fore);
        f.g.blnEjAuto1098 = true;
        s.sparaSkottForSkott(a, 2, u"+++++"_s);
        QCOMPARE(f.lagrat(a, u"Res2, TioNior, Innertior"_s), u"50|8,1,1,0,0,0,0,0,0,0|6"_s);
        f.g.blnEjAuto1098 = false;
        Banrad& b = f.rader[0];
        s.sparaSkottForSkott(b, 4, u"*9999"_s);
        s.nollaSkottstrang(b, 4);
        QCOMPARE(f.lagrat(b, u"SfST4, Res4, TioNior"_s), u"00000|46|"_s + NollAntal);
        QCOMPARE(b.sfst[3], TomSkottstrang);
        s.sparaSarskjutning(b, 9.5);
        QCOMPARE(f.lagrat(b, u"Särskjutning"_s), u"9.5"_s);
        QCOMPARE(b.sarskjutning, 9.5);
    }

    // The count dialog's OK switches to counts by hand; with the machine
    // counting a SAM 4000 stores nothing, a RIKA without decimals inner tens.
    void antalSparas() {
        Miljo f;
        Resultatsparning s(f.g);
        Banrad& a = f.rader[0];
        QCOMPARE(flaggor(s.sparaAntal(a, 1, {2, 7, 0, 0, 0, 0, 0, 0, 0, 0})), u"bm"_s);
        QCOMPARE(f.lagrat(a, u"TioNior, Innertior, Man1098"_s), u"2,7,0,0,0,0,0,0,0,0|1|1"_s);
        QVERIFY(f.g.blnEjAuto1098);
        QCOMPARE(f.ini(Ini::EjAuto1098), u"1"_s);
        QCOMPARE(s.panelAuto1098(), Panel::Man1098);
        QVERIFY(f.radStammer(0));
        QCOMPARE(flaggor(s.sparaAntal(a, 1, {2, 7, 0, 0, 0, 0, 0, 0, 0, 0})), u"m"_s);
        Miljo m;
        m.maskin(u"SAM 4000"_s);
        const QString fore = m.lagrat(m.rader[0]);
        QCOMPARE(flaggor(Resultatsparning(m.g).sparaAntal(m.rader[0], 4, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9})),
                 QString());
        QCOMPARE(m.lagrat(m.rader[0]), fore);
        QVERIFY(!m.g.blnEjAuto1098);
        Miljo r;
        r.maskin(u"RIKA"_s, u"0"_s);
        QCOMPARE(flaggor(Resultatsparning(r.g).sparaAntal(r.rader[0], 4, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9})),
                 QString());
        QCOMPARE(r.lagrat(r.rader[0], u"Innertior, TioNior, Man1098"_s), u"4|"_s + NollAntal + u"|0"_s);
        QCOMPARE(r.ini(Ini::EjAutoInnertior), u"1"_s);
        QVERIFY(!r.g.blnEjAuto1098);
        Miljo h;
        h.ini(Ini::Model, u"RIKA"_s);
        Resultatsparning(h.g).sparaAntal(h.rader[0], 3, {5, 0, 0, 0, 0, 0, 0, 0, 0, 1});
        QCOMPARE(h.lagrat(h.rader[0], u"Innertior, TioNior"_s), u"3|5,0,0,0,0,0,0,0,0,1"_s);
        QCOMPARE(h.ini(Ini::EjAutoInnertior) + h.ini(Ini::EjAuto1098), u"11"_s);
    }

    // The count fields open for typing (10-1, i inner tens) and the inner-ten
    // panel, by machine mode and [Tolkmaskin] keys (names in any case).
    void antalfaltOchPanel() {
        const QString sam = u"Model=SAM 4000;EjAuto1098="_s, rika = u"Model=RIKA;EjAuto1098=0"_s;
        const struct {
            bool maskin;
            QString nycklar;
            const char* falt;
            QString auto10;
        } fall[] = {{false, sam + u"0"_s, "10-1 i", Panel::Auto10},
                    {true, sam + u"0"_s, "", Panel::Auto10},
                    {true, u"Model=SAM 4000"_s, "", Panel::Auto10},
                    {true, sam + u"1"_s, "10-1 i", Panel::Auto10},
                    {true, rika, "i", Panel::Manuella10},
                    {true, rika + u";DecimalerRika=0"_s, "i", Panel::Manuella10},
                    {true, rika + u";DecimalerRika=1;EjAutoInnertior=0"_s, "", Panel::Auto10},
                    {true, rika + u";DecimalerRika=1;ejautoinnertior=1"_s, "i", Panel::Manuella10}};
        for (const auto& f : fall) {
            Miljo m(0);
            m.g.blnTolkmaskinGrundomg = f.maskin;
            for (const QString& n : f.nycklar.split(u';'))
                QVERIFY(m.g.iniTavling.WriteKey(Ini::Sektion::Tolkmaskin, n.section(u'=', 0, 0),
                                                n.section(u'=', 1)));
            const Resultatsparning s(m.g);
            const Resultatsparning::Antalfalt a = s.antalfalt();
            QStringList t;
            if (a.tioTillEtt)
                t << u"10-1"_s;
            if (a.innertior)
                t << u"i"_s;
            QCOMPARE(t.join(u' ') + u' ' + s.panelAuto10(), QLatin1String(f.falt) + u' ' + f.auto10);
        }
    }

    // A refused write leaves stored row, caller's row and state as they were;
    // an INI that cannot be written is reported, the series saved.
    void misslyckadSparningAndrarIngenting() {
        Miljo f;
        Resultatsparning s(f.g);
        Banrad& a = f.rader[0];
        s.sparaSarskjutning(a, 1.5);
        f.g.cnnTavling.kor(
            u"CREATE TRIGGER stopp BEFORE UPDATE ON Skyttar BEGIN SELECT RAISE(ABORT, 'stopp'); END"_s);
        const QString lagratFore = f.lagrat(a), radFore = Miljo::resultat(a);
        const ino_t inod = f.iniInod();
        const std::function<void()> satt[] = {[&] { s.sparaSerie(a, 1, 47, std::nullopt); },
                                              [&] { s.sparaSerie(a, 1, 47, u"98*++"_s); },
                                              [&] { s.sparaSkottForSkott(a, 2, u"+++++"_s); },
                                              [&] { s.nollaSkottstrang(a, 3); },
                                              [&] { s.sparaSarskjutning(a, 7); },
                                              [&] {
                                                  s.sparaAntal(a, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
                                              }};
        for (const auto& spara : satt) {
            QCOMPARE(felnummer(spara), Felnummer::Databasfel);
            QCOMPARE(f.lagrat(a), lagratFore);
            QCOMPARE(Miljo::resultat(a), radFore);
            QVERIFY(!f.g.blnEjAuto1098);
            QCOMPARE(f.iniInod(), inod);
            QCOMPARE(f.g.cnnTavling.transaktionsdjup(), 0);
        }
        QCOMPARE(f.ini(Ini::EjAuto1098), u"saknas"_s);
        f.g.cnnTavling.kor(u"DROP TRIGGER stopp"_s);
        f.g.iniTavling.setPath(f.t.fil(u"finns inte/Cup.ini"_s));
        const Utfall u = s.sparaSerie(a, 1, 30, std::nullopt);
        QVERIFY(!u.iniFel.isEmpty() && u.bytteTillManuell && f.g.blnEjAuto1098);
        QCOMPARE(f.lagrat(a, u"Res1"_s), u"30"_s);
    }
};

QTEST_MAIN(T_resultatsparning)
#include "test_resultatsparning.moc"
