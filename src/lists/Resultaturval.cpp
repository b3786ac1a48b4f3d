#include "lists/Resultaturval.h"

#include "common/Databasnamn.h"
#include "competition/Rangordning.h"
#include "platform/Databas.h"
#include "shell/modGlobalt.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {
// Everything the list's rows show or rank by; the shot strings and the team
// fields are not read.
QString kolumner() {
    QStringList k{Falt::Lopnummer, Falt::Startnr,  Falt::Namn,         Falt::Efternamn, Falt::Forening,
                  Falt::Klass,     Falt::Licensnr, Falt::SkyttekortNr, Falt::Fodelsear, Falt::Omg,
                  Falt::Totalt40,  Falt::Totalt60, Falt::Innertior,    Falt::TioNior,   Falt::Sarskjutning};
    for (int i = 1; i <= 12; ++i)
        k << Falt::res(i);
    for (int i = 1; i <= 6; ++i)
        k << Falt::sum(i);
    return k.join(QStringLiteral(", "));
}

// In a mixed competition the class says its kind, otherwise the competition
// does; a class of no known kind is left out.
std::optional<Klassslag> slag(const modGlobalt& g, const Klass& k) {
    const bool sport = g.blnMix ? k.sportNat == QStringLiteral("Sport") : g.blnSportskytte;
    const bool nationell = g.blnMix ? k.sportNat == QStringLiteral("Nat") : g.blnNationellt;
    if (sport)
        return k.antalSkott > 40 ? Klassslag::Sport60 : Klassslag::Sport40;
    if (nationell)
        return Klassslag::Nationell;
    return std::nullopt;
}

const Rangordning::Kedja<Skytt>& kedja(Klassslag s) {
    switch (s) {
    case Klassslag::Sport60:
        return Rangordning::sport60();
    case Klassslag::Sport40:
        return Rangordning::sport40();
    case Klassslag::Nationell:
        break;
    }
    return Rangordning::nationell();
}

// An ordinary class by its code (Klass has the Swedish collation, so letter
// case does not matter, as in result entry); a main class by the codes of its
// member classes, whatever their own kind. The placeholder is never one of them.
QList<Skytt> skyttar(const modGlobalt& g, const ValdKlass& v, std::optional<int> omg) {
    QString sql = QStringLiteral("SELECT %1 FROM Skyttar WHERE ").arg(kolumner());
    QVariantList varden;
    if (v.huvudklass) {
        sql += QStringLiteral("Klass IN (SELECT Klass FROM %1 WHERE Sammanslagen = ?)").arg(g.klasstabell());
        varden << v.klass.raknare;
    } else {
        sql += QStringLiteral("Klass = ?");
        varden << v.klass.kod;
    }
    if (omg) {
        sql += QStringLiteral(" AND Omg = ?");
        varden << *omg;
    }
    sql += QStringLiteral(" AND Löpnummer <> ?");
    varden << PlatshallareLopnummer;

    QSqlQuery q = g.cnnTavling.kor(sql, varden);
    QList<Skytt> s;
    while (q.next())
        s << Skytt::fran(q.record());
    return s;
}
} // namespace

Resultaturval::Resultaturval(const modGlobalt& g) : m_g(g) {}

std::optional<Klassblock> Resultaturval::valjUt(const ValdKlass& k, std::optional<int> omg) const {
    const std::optional<Klassslag> s = slag(m_g, k.klass);
    if (!s)
        return std::nullopt;
    Klassblock b{k, *s, skyttar(m_g, k, omg), {}};
    if (b.skyttar.isEmpty())
        return std::nullopt;
    const Rangordning::Kedja<Skytt>& kd = kedja(*s);
    Rangordning::rangordna(b.skyttar, kd);
    b.platser = Rangordning::platser(b.skyttar, kd);
    return b;
}
