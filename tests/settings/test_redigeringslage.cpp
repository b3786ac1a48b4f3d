#include "settings/Redigeringslage.h"

#include <QStringList>
#include <QTest>

using L = Redigeringslage;

Q_DECLARE_METATYPE(Redigeringslage::Regler)

namespace {
// The rounds keep their last round and their open entry; the shooting times
// neither.
const L::Regler Omgangar{false, false};
const L::Regler Tider{true, true};

// What can be used, named in a fixed order.
QString bild(const L& l) {
    const L::Kontroller& k = l.kontroller();
    QStringList pa;
    const std::pair<bool, const char*> delar[] = {
        {k.nyckelfalt, "nyckel"}, {k.ovrigaFalt, "övriga"}, {k.spara, "spara"},   {k.avbryt, "avbryt"},
        {k.nyMeny, "nyMeny"},     {k.andra, "ändra"},       {k.radera, "radera"},
    };
    for (const auto& [p, namn] : delar)
        if (p)
            pa << QString::fromUtf8(namn);
    return pa.join(u' ');
}

QString lage(const L& l) {
    switch (l.lage()) {
    case L::Lage::Ny:
        return QStringLiteral("ny");
    case L::Lage::Andra:
        return QStringLiteral("ändra");
    case L::Lage::Vilande:
        break;
    }
    return QStringLiteral("vilande");
}

// Steps as the editor takes them: "peka:hittad:rader" (shown only when the
// state lets pointing show a row), "ny", "ändra", "sparad:vald",
// "avbruten:vald:rader", "rader:vald".
void kor(L& l, const QStringList& steg) {
    for (const QString& s : steg) {
        const QStringList d = s.split(u':');
        const auto tal = [&](int i) { return d.value(i).toInt(); };
        if (d[0] == QLatin1String("peka")) {
            if (l.pekningVisas())
                l.radVisad(tal(1) != 0, tal(2));
        } else if (d[0] == QLatin1String("ny")) {
            l.borjaNy();
        } else if (d[0] == QStringLiteral("ändra")) {
            l.borjaAndra();
        } else if (d[0] == QLatin1String("sparad")) {
            l.sparad(tal(1) != 0);
        } else if (d[0] == QLatin1String("avbruten")) {
            l.avbruten(tal(1) != 0, tal(2));
        } else if (d[0] == QLatin1String("rader")) {
            l.radernaAndrade(tal(1) != 0);
        } else {
            QFAIL(qPrintable(s));
        }
    }
}
} // namespace

// The state of the grid editors and which fields and buttons each step leaves
// usable, for the rounds' rules and the shooting times' rules.
class TestRedigeringslage : public QObject {
    Q_OBJECT

private slots:
    void steg_data() {
        QTest::addColumn<L::Regler>("regler");
        QTest::addColumn<QStringList>("steg");
        QTest::addColumn<QString>("lage");
        QTest::addColumn<QString>("kontroller");
        const auto rad = [](const char* namn, L::Regler r, const QStringList& steg, const char* lage,
                            const char* kontroller) {
            QTest::newRow(namn) << r << steg << QString::fromUtf8(lage) << QString::fromUtf8(kontroller);
        };
        rad("start", Omgangar, {}, "vilande", "nyMeny");
        rad("rad visad", Omgangar, {"peka:1:3"}, "vilande", "nyMeny ändra radera");
        rad("enda raden behålls", Omgangar, {"peka:1:1"}, "vilande", "nyMeny ändra");
        rad("enda tiden raderas", Tider, {"peka:1:1"}, "vilande", "nyMeny ändra radera");
        rad("raden finns inte", Omgangar, {"peka:1:3", "peka:0:3"}, "vilande", "nyMeny");
        rad("ny", Omgangar, {"peka:1:3", "ny"}, "ny", "nyckel övriga spara avbryt");
        rad("ändra låser nyckeln", Tider, {"peka:1:3", "ändra"}, "ändra", "övriga spara avbryt");
        rad("pekning under inmatning", Omgangar, {"ny", "peka:1:3"}, "ny", "nyckel övriga spara avbryt");
        rad("pekning avslutar", Tider, {"ny", "peka:1:3"}, "vilande", "nyMeny ändra radera");
        rad("ny under ändring", Omgangar, {"peka:1:3", "ändra", "ny"}, "ändra", "övriga spara avbryt");
        rad("sparad utan val", Omgangar, {"ny", "sparad:0"}, "vilande", "nyMeny");
        rad("sparad med val", Omgangar, {"ny", "sparad:1"}, "vilande", "nyMeny ändra radera");
        rad("avbruten", Omgangar, {"peka:1:3", "ny", "avbruten:1:3"}, "vilande", "nyMeny ändra radera");
        rad("avbruten utan val", Omgangar, {"ny", "avbruten:0:3"}, "vilande", "nyMeny");
        rad("avbruten, enda raden", Omgangar, {"peka:1:1", "ny", "avbruten:1:1"}, "vilande", "nyMeny");
        rad("avbruten, enda tiden", Tider, {"peka:1:1", "ny", "avbruten:1:1"}, "vilande",
            "nyMeny ändra radera");
        rad("rader ändrade", Tider, {"rader:1"}, "vilande", "nyMeny ändra radera");
        rad("rader tömda", Omgangar, {"peka:1:3", "rader:0"}, "vilande", "nyMeny");
        rad("rader under inmatning", Tider, {"ny", "rader:1"}, "ny", "nyckel övriga spara avbryt");
    }
    void steg() {
        QFETCH(L::Regler, regler);
        QFETCH(QStringList, steg);
        QFETCH(QString, lage);
        QFETCH(QString, kontroller);
        L l(regler);
        kor(l, steg);
        QCOMPARE(::lage(l), lage);
        QCOMPARE(l.iInmatning(), lage != QLatin1String("vilande"));
        QCOMPARE(bild(l), kontroller);
    }

    // New and Change start nothing while an entry is open.
    void ingenNyInmatningUnderEn() {
        L l(Omgangar);
        QVERIFY(l.borjaNy());
        QVERIFY(!l.borjaNy());
        QVERIFY(!l.borjaAndra());
        QCOMPARE(l.lage(), L::Lage::Ny);
        l.avbruten(false, 2);
        QVERIFY(l.borjaAndra());
        QVERIFY(!l.borjaNy());
        QCOMPARE(l.lage(), L::Lage::Andra);
    }

    // A refused field holds the buttons until its text changes or the entry ends.
    void nekatFaltSparrarKnapparna() {
        L l(Omgangar);
        l.borjaNy();
        QVERIFY(!l.knapparSparrade());
        l.faltNekat();
        QVERIFY(l.knapparSparrade());
        l.faltAndrat();
        QVERIFY(!l.knapparSparrade());
        l.faltNekat();
        l.avbruten(true, 2);
        QVERIFY(!l.knapparSparrade());
        l.borjaNy();
        l.faltNekat();
        l.sparad(false);
        QVERIFY(!l.knapparSparrade());
    }
};

QTEST_GUILESS_MAIN(TestRedigeringslage)
#include "test_redigeringslage.moc"
