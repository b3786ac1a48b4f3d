#include "competition/Rangordning.h"

#include "competition/Serieregler.h"
#include "platform/SvenskSortering.h"

#include <cmath>
#include <limits>

namespace Rangordning {

namespace {
// A value that is no number would make the order depend on the input; it ranks
// below every number instead.
double rangvarde(double v) {
    return std::isnan(v) ? -std::numeric_limits<double>::infinity() : v;
}

Svans skyttsvans(const Skytt& s) {
    return {{s.efternamn, s.namn}, s.lopnummer};
}

// Total, inner tens, the series or pair sums from the last backwards, the
// counts, the shoot-off.
Kedja<Skytt> skyttkedja(Nyckel<Skytt> totalt, std::vector<Nyckel<Skytt>> serier) {
    Kedja<Skytt> k;
    k.nycklar.push_back(std::move(totalt));
    k.nycklar.push_back(tal<Skytt>([](const Skytt& s) { return s.innertior; }));
    for (Nyckel<Skytt>& n : serier)
        k.nycklar.push_back(std::move(n));
    k.nycklar.push_back(antal<Skytt>([](const Skytt& s) { return s.tioNior; }));
    k.nycklar.push_back(tal<Skytt>([](const Skytt& s) { return s.sarskjutning; }));
    k.svans = skyttsvans;
    return k;
}

std::vector<Nyckel<Skytt>> serierBakifran(int antal) {
    std::vector<Nyckel<Skytt>> n;
    for (int i = antal - 1; i >= 0; --i)
        n.push_back(tal<Skytt>([i](const Skytt& s) { return s.res[i]; }));
    return n;
}

std::vector<Nyckel<Skytt>> parBakifran(int antal) {
    std::vector<Nyckel<Skytt>> n;
    for (int i = antal - 1; i >= 0; --i)
        n.push_back(tal<Skytt>([i](const Skytt& s) { return s.sum[i]; }));
    return n;
}
} // namespace

void laggTillAntal(const QString& tioNior, Varden& v) {
    for (const int a : Serieregler::tioNiorVarden(tioNior))
        v.push_back(a);
}

int jamfor(const Rangrad& a, const Rangrad& b) {
    const size_t n = std::min(a.varden.size(), b.varden.size());
    for (size_t i = 0; i < n; ++i) {
        const double x = rangvarde(a.varden[i]), y = rangvarde(b.varden[i]);
        if (x != y)
            return x > y ? -1 : 1;
    }
    if (a.varden.size() != b.varden.size())
        return a.varden.size() > b.varden.size() ? -1 : 1;
    const size_t m = std::min(a.texter.size(), b.texter.size());
    for (size_t i = 0; i < m; ++i) {
        const QByteArray& x = a.texter[i];
        const QByteArray& y = b.texter[i];
        if (const int j = jamforSvenska({x.constData(), size_t(x.size())}, {y.constData(), size_t(y.size())}))
            return j;
    }
    if (a.texter.size() != b.texter.size())
        return a.texter.size() < b.texter.size() ? -1 : 1;
    if (a.nummer != b.nummer)
        return a.nummer < b.nummer ? -1 : 1;
    return 0;
}

bool likaResultat(const Rangrad& a, const Rangrad& b) {
    if (a.varden.size() != b.varden.size())
        return false;
    for (size_t i = 0; i < a.varden.size(); ++i)
        if (rangvarde(a.varden[i]) != rangvarde(b.varden[i]))
            return false;
    return true;
}

QList<int> platser(const std::vector<Rangrad>& rangordnade) {
    QList<int> p;
    p.reserve(qsizetype(rangordnade.size()));
    for (size_t i = 0; i < rangordnade.size(); ++i)
        p << (i > 0 && likaResultat(rangordnade[i], rangordnade[i - 1]) ? p.back() : int(i) + 1);
    return p;
}

const Kedja<Skytt>& nationell() {
    static const Kedja<Skytt> k =
        skyttkedja(tal<Skytt>([](const Skytt& s) { return s.totalt40; }), serierBakifran(8));
    return k;
}

const Kedja<Skytt>& sport60() {
    static const Kedja<Skytt> k =
        skyttkedja(tal<Skytt>([](const Skytt& s) { return s.totalt60; }), parBakifran(6));
    return k;
}

const Kedja<Skytt>& sport40() {
    static const Kedja<Skytt> k =
        skyttkedja(tal<Skytt>([](const Skytt& s) { return s.totalt40; }), parBakifran(4));
    return k;
}

} // namespace Rangordning
