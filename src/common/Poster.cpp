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

} // namespace

Skytt::Faltslag Skytt::faltslag(int falt) {
    switch (falt) {
    case FNamn:
    case FEfternamn:
    case FForening:
    case FKlass:
    case FLicensnr:
    case FSkyttekortNr:
    case FFodelsear:
    case FTioNior:
        return Faltslag::Text;
    case FSarskjutning:
        return Faltslag::Tal;
    default:
        return falt >= FSfst ? Faltslag::Text : Faltslag::Heltal;
    }
}

void Skytt::sattHeltal(int falt, qint64 v) {
    switch (falt) {
    case FLopnummer:
        lopnummer = v;
        break;
    case FStartnr:
        startnr = int(v);
        break;
    case FOmg:
        omg = int(v);
        break;
    case FLag:
        lag = v;
        break;
    case FLagRes:
        lagRes = int(v);
        break;
    case FLagserier:
        lagserier = int(v);
        break;
    case FVandringsSerier:
        vandringsSerier = int(v);
        break;
    case FTotalt40:
        totalt40 = int(v);
        break;
    case FTotalt60:
        totalt60 = int(v);
        break;
    case FInnertior:
        innertior = int(v);
        break;
    case FMan1098:
        man1098 = v != 0;
        break;
    default:
        if (falt >= FSum)
            sum[size_t(falt - FSum)] = int(v);
        else
            res[size_t(falt - FRes)] = int(v);
        break;
    }
}

void Skytt::sattTal(int, double v) {
    sarskjutning = v; // the only field of decimals
}

void Skytt::sattText(int falt, QString v) {
    switch (falt) {
    case FNamn:
        namn = std::move(v);
        break;
    case FEfternamn:
        efternamn = std::move(v);
        break;
    case FForening:
        forening = std::move(v);
        break;
    case FKlass:
        klass = std::move(v);
        break;
    case FLicensnr:
        licensnr = std::move(v);
        break;
    case FSkyttekortNr:
        skyttekortNr = std::move(v);
        break;
    case FFodelsear:
        fodelsear = std::move(v);
        break;
    case FTioNior:
        tioNior = std::move(v);
        break;
    default:
        sfst[size_t(falt - FSfst)] = std::move(v);
        break;
    }
}

Skytt Skytt::tom(int antal) {
    Skytt s;
    if (antal < AntalSkyttefalt)
        s.sfst.fill(QStringLiteral("00000"));
    return s;
}

namespace {
// A query's current row read by position, as the fields' kinds take it.
struct Fragerad {
    const QSqlQuery& q;
    qint64 heltal(int i) const { return q.value(i).toLongLong(); }
    double tal(int i) const { return q.value(i).toDouble(); }
    QString text(int i) const { return q.value(i).toString(); }
};
} // namespace

static_assert(Skytt::AntalKolumner == AntalSkyttefalt && Skytt::AntalKolumnerUtanSkott == FSfst);

const Skytt::Faltval& Skytt::resultatlistfalt() {
    static const Faltval f = [] {
        Faltval f{FLopnummer, FNamn,     FEfternamn, FForening,  FKlass,   FLicensnr,    FSkyttekortNr,
                  FFodelsear, FTotalt40, FTotalt60,  FInnertior, FTioNior, FSarskjutning};
        for (int i = 0; i < 8; ++i)
            f.push_back(FRes + i);
        for (int i = 0; i < 6; ++i)
            f.push_back(FSum + i);
        return f;
    }();
    return f;
}

QString Skytt::kolumner(const Faltval& falt) {
    QStringList k;
    k.reserve(qsizetype(falt.size()));
    for (const int f : falt)
        k << skyttekolumner().at(f);
    return k.join(QStringLiteral(", "));
}

QString Skytt::kolumner(const QString& tabell, int antal) {
    const QStringList k = skyttekolumner().mid(0, antal);
    if (tabell.isEmpty())
        return k.join(QStringLiteral(", "));
    const QString prefix = tabell + QLatin1Char('.');
    return prefix + k.join(QStringLiteral(", ") + prefix);
}

Skytt Skytt::fran(const QSqlQuery& q, int forsta, int antal) {
    return franRad(Fragerad{q}, forsta, antal);
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
