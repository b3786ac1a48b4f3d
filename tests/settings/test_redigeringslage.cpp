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

// The state, then what can be used, named in a fixed order.
QString bild(const L& l) {
    const char* lagen[] = {"vilande", "ny", "ändra"};
    const L::Kontroller& k = l.kontroller();
    QStringList pa;
    const std::pair<bool, const char*> delar[] = {
        {k.nyckelfalt, "nyckel"}, {k.ovrigaFalt, "övriga"},
        {k.spara, "spara"},       {k.avbryt, "avbryt"},
        {k.nyMeny, "nyMeny"},     {k.andra, "ändra"},
        {k.radera, "radera"},     {l.knapparSparrade(), "spärrade"},
    };
    for (const auto& [p, namn] : delar)
        if (p)
            pa << QString::fromUtf8(namn);
    return QString::fromUtf8(lagen[int(l.lage())]) + QStringLiteral(": ") + pa.join(u' ');
}

// Steps as the editor takes them: "peka:hittad:rader" (shown only when the
// state lets pointing show a row), "ny", "ändra", "sparad:vald",
// "avbruten:vald:rader", "rader:vald", "nekat" and "ändrat" (a field's text).
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
        } else if (d[0] == QLatin1String("nekat")) {
            l.faltNekat();
        } else if (d[0] == QStringLiteral("ändrat")) {
            l.faltAndrat();
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
        QTest::addColumn<QString>("bild");
        const auto rad = [](const char* namn, L::Regler r, const QStringList& steg, const char* bild) {
            QTest::newRow(namn) << r << steg << QString::fromUtf8(bild);
        };
        rad("start", Omgangar, {}, "vilande: nyMeny");
        rad("rad visad", Omgangar, {"peka:1:3"}, "vilande: nyMeny ändra radera");
        rad("enda raden behålls", Omgangar, {"peka:1:1"}, "vilande: nyMeny ändra");
        rad("enda tiden raderas", Tider, {"peka:1:1"}, "vilande: nyMeny ändra radera");
        rad("raden finns inte", Omgangar, {"peka:1:3", "peka:0:3"}, "vilande: nyMeny");
        rad("ny", Omgangar, {"peka:1:3", "ny"}, "ny: nyckel övriga spara avbryt");
        rad("ändra låser nyckeln", Tider, {"peka:1:3", "ändra"}, "ändra: övriga spara avbryt");
        rad("pekning under inmatning", Omgangar, {"ny", "peka:1:3"}, "ny: nyckel övriga spara avbryt");
        rad("pekning avslutar", Tider, {"ny", "peka:1:3"}, "vilande: nyMeny ändra radera");
        rad("ny under ändring", Omgangar, {"peka:1:3", "ändra", "ny"}, "ändra: övriga spara avbryt");
        rad("ändra under ny", Omgangar, {"ny", "ändra"}, "ny: nyckel övriga spara avbryt");
        rad("sparad utan val", Omgangar, {"ny", "sparad:0"}, "vilande: nyMeny");
        rad("sparad med val", Omgangar, {"ny", "sparad:1"}, "vilande: nyMeny ändra radera");
        rad("avbruten", Omgangar, {"peka:1:3", "ny", "avbruten:1:3"}, "vilande: nyMeny ändra radera");
        rad("avbruten utan val", Omgangar, {"ny", "avbruten:0:3"}, "vilande: nyMeny");
        rad("avbruten, enda raden", Omgangar, {"peka:1:1", "ny", "avbruten:1:1"}, "vilande: nyMeny");
        rad("avbruten, enda tiden", Tider, {"peka:1:1", "ny", "avbruten:1:1"},
            "vilande: nyMeny ändra radera");
        rad("rader ändrade", Tider, {"rader:1"}, "vilande: nyMeny ändra radera");
        rad("rader tömda", Omgangar, {"peka:1:3", "rader:0"}, "vilande: nyMeny");
        rad("rader under inmatning", Tider, {"ny", "rader:1"}, "ny: nyckel övriga spara avbryt");
        // A refused field holds the buttons until its text changes or the entry ends.
        rad("nekat fält", Omgangar, {"ny", "nekat"}, "ny: nyckel övriga spara avbryt spärrade");
        rad("nekat fält ändrat", Omgangar, {"ny", "nekat", "ändrat"}, "ny: nyckel övriga spara avbryt");
        rad("nekat och avbrutet", Omgangar, {"ny", "nekat", "avbruten:1:2"}, "vilande: nyMeny ändra radera");
        rad("nekat och sparat", Omgangar, {"ny", "nekat", "sparad:0"}, "vilande: nyMeny");
    }
    void steg() {
        QFETCH(L::Regler, regler);
        QFETCH(QStringList, steg);
        L l(regler);
        kor(l, steg);
        QTEST(bild(l), "bild");
        QCOMPARE(l.iInmatning(), l.lage() != L::Lage::Vilande);
    }
};

QTEST_GUILESS_MAIN(TestRedigeringslage)
#include "test_redigeringslage.moc"
