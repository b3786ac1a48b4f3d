#include "common/Poster.h"

#include "common/Databasnamn.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
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

namespace {
// A shooter's fields in the order of the one SELECT list: a row is read by
// position in one pass, as the lists read thousands of rows, and looking each
// field up by name in the record costs a scan of the record per field.
enum Skyttefalt {
    FLopnummer,
    FStartnr,
    FNamn,
    FEfternamn,
    FForening,
    FKlass,
    FLicensnr,
    FSkyttekortNr,
    FFodelsear,
    FOmg,
    FLag,
    FLagRes,
    FLagserier,
    FVandringsSerier,
    FTotalt40,
    FTotalt60,
    FInnertior,
    FTioNior,
    FSarskjutning,
    FMan1098,
    FRes,             // + series - 1
    FSum = FRes + 12, // + pair - 1
    FSfst = FSum + 6, // + series - 1; last, so that a list can leave them out
    AntalSkyttefalt = FSfst + 12
};

// The column names in the order of the fields' codes.
const QStringList& skyttekolumner() {
    static const QStringList k = [] {
        QStringList k(AntalSkyttefalt);
        const std::pair<const QString&, int> fasta[] = {{Falt::Lopnummer, FLopnummer},
                                                        {Falt::Startnr, FStartnr},
                                                        {Falt::Namn, FNamn},
                                                        {Falt::Efternamn, FEfternamn},
                                                        {Falt::Forening, FForening},
                                                        {Falt::Klass, FKlass},
                                                        {Falt::Licensnr, FLicensnr},
                                                        {Falt::SkyttekortNr, FSkyttekortNr},
                                                        {Falt::Fodelsear, FFodelsear},
                                                        {Falt::Omg, FOmg},
                                                        {Falt::Lag, FLag},
                                                        {Falt::LagRes, FLagRes},
                                                        {Falt::Lagserier, FLagserier},
                                                        {Falt::VandringsSerier, FVandringsSerier},
                                                        {Falt::Totalt40, FTotalt40},
                                                        {Falt::Totalt60, FTotalt60},
                                                        {Falt::Innertior, FInnertior},
                                                        {Falt::TioNior, FTioNior},
                                                        {Falt::Sarskjutning, FSarskjutning},
                                                        {Falt::Man1098, FMan1098}};
        for (const auto& [namn, kod] : fasta)
            k[kod] = namn;
        for (int i = 1; i <= 12; ++i) {
            k[FRes + i - 1] = Falt::res(i);
            k[FSfst + i - 1] = Falt::sfst(i);
        }
        for (int i = 1; i <= 6; ++i)
            k[FSum + i - 1] = Falt::sum(i);
        return k;
    }();
    return k;
}

// One field's value into the row.
void satt(Skytt& s, int kod, const QVariant& v) {
    const auto heltal = [&] { return int(v.toLongLong()); };
    switch (kod) {
    case FLopnummer:
        s.lopnummer = v.toLongLong();
        break;
    case FStartnr:
        s.startnr = heltal();
        break;
    case FNamn:
        s.namn = v.toString();
        break;
    case FEfternamn:
        s.efternamn = v.toString();
        break;
    case FForening:
        s.forening = v.toString();
        break;
    case FKlass:
        s.klass = v.toString();
        break;
    case FLicensnr:
        s.licensnr = v.toString();
        break;
    case FSkyttekortNr:
        s.skyttekortNr = v.toString();
        break;
    case FFodelsear:
        s.fodelsear = v.toString();
        break;
    case FOmg:
        s.omg = heltal();
        break;
    case FLag:
        s.lag = v.toLongLong();
        break;
    case FLagRes:
        s.lagRes = heltal();
        break;
    case FLagserier:
        s.lagserier = heltal();
        break;
    case FVandringsSerier:
        s.vandringsSerier = heltal();
        break;
    case FTotalt40:
        s.totalt40 = heltal();
        break;
    case FTotalt60:
        s.totalt60 = heltal();
        break;
    case FInnertior:
        s.innertior = heltal();
        break;
    case FTioNior:
        s.tioNior = v.toString();
        break;
    case FSarskjutning:
        s.sarskjutning = v.toDouble();
        break;
    case FMan1098:
        s.man1098 = v.toLongLong() != 0;
        break;
    default:
        if (kod >= FSfst)
            s.sfst[size_t(kod - FSfst)] = v.toString();
        else if (kod >= FSum)
            s.sum[size_t(kod - FSum)] = heltal();
        else
            s.res[size_t(kod - FRes)] = heltal();
        break;
    }
}
} // namespace

static_assert(Skytt::AntalKolumner == AntalSkyttefalt && Skytt::AntalKolumnerUtanSkott == FSfst);

QString Skytt::kolumner(const QString& tabell, int antal) {
    const QStringList k = skyttekolumner().mid(0, antal);
    if (tabell.isEmpty())
        return k.join(QStringLiteral(", "));
    const QString prefix = tabell + QLatin1Char('.');
    return prefix + k.join(QStringLiteral(", ") + prefix);
}

Skytt Skytt::fran(const QSqlQuery& q, int forsta, int antal) {
    Skytt s;
    if (antal < AntalSkyttefalt)
        s.sfst.fill(QStringLiteral("00000"));
    for (int i = 0; i < antal; ++i)
        satt(s, i, q.value(forsta + i));
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
