#include "common/Databasnamn.h"
#include "common/Poster.h"

#include <QSqlField>
#include <QSqlRecord>
#include <QTest>

namespace {
// A row as a query gives it: the fields in the order given, with their values.
QSqlRecord post(const QList<std::pair<QString, QVariant>>& falt) {
    QSqlRecord r;
    for (const auto& [namn, varde] : falt) {
        QSqlField f(namn, varde.metaType());
        f.setValue(varde);
        r.append(f);
    }
    return r;
}
} // namespace

class TestPoster : public QObject {
    Q_OBJECT
private slots:
    // Every field of a shooter's row reaches its member, whatever order the
    // query selected them in.
    void skyttLasesHel() {
        QList<std::pair<QString, QVariant>> falt{{Falt::Sarskjutning, 9.5},
                                                 {Falt::Lopnummer, 4711LL},
                                                 {Falt::Startnr, 12},
                                                 {Falt::Namn, "Åsa"},
                                                 {Falt::Efternamn, "Öberg"},
                                                 {Falt::Forening, "Skf"},
                                                 {Falt::Klass, "H"},
                                                 {Falt::Licensnr, "L1"},
                                                 {Falt::SkyttekortNr, "K2"},
                                                 {Falt::Fodelsear, "1970"},
                                                 {Falt::Omg, 2},
                                                 {Falt::Lag, 7LL},
                                                 {Falt::LagRes, 380},
                                                 {Falt::Lagserier, 4},
                                                 {Falt::VandringsSerier, 6},
                                                 {Falt::Totalt40, 390},
                                                 {Falt::Totalt60, 580},
                                                 {Falt::Innertior, 21},
                                                 {Falt::TioNior, "30,8,2,0,0,0,0,0,0,0"},
                                                 {Falt::Man1098, 1}};
        for (int i = 1; i <= 12; ++i) {
            falt.append({Falt::res(i), 38 + i});
            falt.append({Falt::sfst(i), QStringLiteral("9999%1").arg(i % 10)});
        }
        for (int i = 1; i <= 6; ++i)
            falt.append({Falt::sum(i), 90 + i});
        const Skytt s = Skytt::fran(post(falt));
        QCOMPARE(s.lopnummer, 4711);
        QCOMPARE((QList<int>{s.startnr, s.omg, s.lagRes, s.lagserier, s.vandringsSerier, s.totalt40,
                             s.totalt60, s.innertior}),
                 (QList<int>{12, 2, 380, 4, 6, 390, 580, 21}));
        QCOMPARE(s.lag, 7);
        QCOMPARE((QStringList{s.namn, s.efternamn, s.forening, s.klass, s.licensnr, s.skyttekortNr,
                              s.fodelsear, s.tioNior}),
                 (QStringList{"Åsa", "Öberg", "Skf", "H", "L1", "K2", "1970", "30,8,2,0,0,0,0,0,0,0"}));
        QCOMPARE(s.sarskjutning, 9.5);
        QVERIFY(s.man1098);
        for (int i = 1; i <= 12; ++i) {
            QCOMPARE(s.res[size_t(i - 1)], 38 + i);
            QCOMPARE(s.sfst[size_t(i - 1)], QStringLiteral("9999%1").arg(i % 10));
        }
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(s.sum[size_t(i - 1)], 90 + i);
    }

    // Fields the query did not select keep their defaults; a name in another
    // letter case is the same field, a field named twice counts where it
    // stands first, and fields of other tables are passed over.
    void skyttLasesDelvis() {
        const Skytt s = Skytt::fran(post({{"res3", 47},
                                          {"EFTERNAMN", "Lind"},
                                          {"Klassnamn", "Herrar"},
                                          {Falt::Totalt40, 380},
                                          {Falt::Totalt40, 1},
                                          {"särskjutning", 8.0}}));
        QCOMPARE(s.res[2], 47);
        QCOMPARE(s.efternamn, "Lind");
        QCOMPARE(s.totalt40, 380);
        QCOMPARE(s.sarskjutning, 8.0);
        QCOMPARE(s.lopnummer, 0);
        QCOMPARE(s.res[0], 0);
        QVERIFY(s.namn.isEmpty());
        QCOMPARE(s.tioNior, "0,0,0,0,0,0,0,0,0,0");
        QCOMPARE(s.sfst[11], "00000");
    }
};

QTEST_MAIN(TestPoster)
#include "test_poster.moc"
