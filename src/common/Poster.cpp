#include "common/Poster.h"

#include "common/Databasnamn.h"

#include <QSqlRecord>
#include <QVariant>

namespace {
// Reads a field when the query selected it; a field name may be given with or
// without its brackets.
template <class T> void las(const QSqlRecord& post, const QString& falt, T& mal) {
    QString namn = falt;
    if (namn.startsWith(QLatin1Char('[')))
        namn = namn.mid(1, namn.size() - 2);
    const int i = post.indexOf(namn);
    if (i < 0)
        return;
    const QVariant v = post.value(i);
    if constexpr (std::is_same_v<T, QString>)
        mal = v.toString();
    else if constexpr (std::is_same_v<T, bool>)
        mal = v.toLongLong() != 0;
    else if constexpr (std::is_same_v<T, double>)
        mal = v.toDouble();
    else
        mal = static_cast<T>(v.toLongLong());
}
} // namespace

bool Skytt::arPlatshallare() const {
    return lopnummer == PlatshallareLopnummer;
}

Skytt Skytt::fran(const QSqlRecord& post) {
    Skytt s;
    las(post, Falt::Lopnummer, s.lopnummer);
    las(post, Falt::Startnr, s.startnr);
    las(post, Falt::Namn, s.namn);
    las(post, Falt::Efternamn, s.efternamn);
    las(post, Falt::Forening, s.forening);
    las(post, Falt::Klass, s.klass);
    las(post, Falt::Licensnr, s.licensnr);
    las(post, Falt::SkyttekortNr, s.skyttekortNr);
    las(post, Falt::Fodelsear, s.fodelsear);
    las(post, Falt::Omg, s.omg);
    las(post, Falt::Lag, s.lag);
    las(post, Falt::LagRes, s.lagRes);
    las(post, Falt::Lagserier, s.lagserier);
    las(post, Falt::VandringsSerier, s.vandringsSerier);
    for (int i = 0; i < 12; ++i) {
        las(post, Falt::res(i + 1), s.res[i]);
        s.sfst[i] = QStringLiteral("00000");
        las(post, Falt::sfst(i + 1), s.sfst[i]);
    }
    for (int i = 0; i < 6; ++i)
        las(post, Falt::sum(i + 1), s.sum[i]);
    las(post, Falt::Totalt40, s.totalt40);
    las(post, Falt::Totalt60, s.totalt60);
    las(post, Falt::Innertior, s.innertior);
    las(post, Falt::TioNior, s.tioNior);
    las(post, Falt::Sarskjutning, s.sarskjutning);
    las(post, Falt::Man1098, s.man1098);
    return s;
}

bool Bana::ledig() const {
    return startnummer == PlatshallareLopnummer;
}

Bana Bana::fran(const QSqlRecord& post) {
    Bana b;
    las(post, Falt::Skjutlag, b.skjutlag);
    las(post, Falt::Bana, b.bana);
    las(post, Falt::Startnummer, b.startnummer);
    return b;
}

Klass Klass::fran(const QSqlRecord& post) {
    Klass k;
    las(post, Falt::Raknare, k.raknare);
    las(post, Falt::AntalSkott, k.antalSkott);
    las(post, Falt::SportNat, k.sportNat);
    las(post, Falt::Sammanslagen, k.sammanslagen);
    las(post, Falt::Klass, k.kod);
    las(post, Falt::Klassnamn, k.namn);
    las(post, QStringLiteral("HuvudKlassnamn"), k.kod);
    las(post, QStringLiteral("HuvudKlassbeskr"), k.namn);
    return k;
}

QString text(Utskriftsmal mal) {
    switch (mal) {
    case Utskriftsmal::Printer:
        return QStringLiteral("Printer");
    case Utskriftsmal::Fil:
        return QStringLiteral("Fil");
    case Utskriftsmal::Skarm:
        return QStringLiteral("Skärm");
    case Utskriftsmal::Ingen:
        break;
    }
    return {};
}
