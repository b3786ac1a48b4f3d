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

Rangtabell::Rangtabell(std::function<Svans(qsizetype)> svans) : m_svans(std::move(svans)) {}

void Rangtabell::reservera(qsizetype rader, qsizetype vardenPerRad) {
    m_varden.reserve(size_t(rader * vardenPerRad));
    m_start.reserve(size_t(rader) + 1);
}

void Rangtabell::laggTill(const Varden& varden) {
    for (const double v : varden)
        m_varden.push_back(rangvarde(v));
    m_start.push_back(m_varden.size());
}

const Rangtabell::Svansnyckel& Rangtabell::svansnyckel(qsizetype rad) const {
    if (m_svansar.empty())
        m_svansar.resize(size_t(antal()));
    std::optional<Svansnyckel>& n = m_svansar[size_t(rad)];
    if (!n) {
        const Svans s = m_svans(rad);
        n.emplace();
        n->texter.reserve(size_t(s.texter.size()));
        for (const QString& t : s.texter)
            n->texter.push_back(t.toUtf8());
        n->nummer = s.nummer;
    }
    return *n;
}

int Rangtabell::jamfor(qsizetype a, qsizetype b) const {
    const double* x = m_varden.data() + m_start[size_t(a)];
    const double* y = m_varden.data() + m_start[size_t(b)];
    const size_t nx = m_start[size_t(a) + 1] - m_start[size_t(a)];
    const size_t ny = m_start[size_t(b) + 1] - m_start[size_t(b)];
    for (size_t i = 0, n = std::min(nx, ny); i < n; ++i)
        if (x[i] != y[i])
            return x[i] > y[i] ? -1 : 1;
    if (nx != ny)
        return nx > ny ? -1 : 1;
    if (!m_svans)
        return 0;
    const Svansnyckel& s = svansnyckel(a);
    const Svansnyckel& t = svansnyckel(b);
    const size_t m = std::min(s.texter.size(), t.texter.size());
    for (size_t i = 0; i < m; ++i) {
        const QByteArray& p = s.texter[i];
        const QByteArray& q = t.texter[i];
        if (const int j = jamforSvenska({p.constData(), size_t(p.size())}, {q.constData(), size_t(q.size())}))
            return j;
    }
    if (s.texter.size() != t.texter.size())
        return s.texter.size() < t.texter.size() ? -1 : 1;
    if (s.nummer != t.nummer)
        return s.nummer < t.nummer ? -1 : 1;
    return 0;
}

bool Rangtabell::likaResultat(qsizetype a, qsizetype b) const {
    const size_t na = m_start[size_t(a) + 1] - m_start[size_t(a)];
    if (na != m_start[size_t(b) + 1] - m_start[size_t(b)])
        return false;
    return std::equal(m_varden.begin() + ptrdiff_t(m_start[size_t(a)]),
                      m_varden.begin() + ptrdiff_t(m_start[size_t(a) + 1]),
                      m_varden.begin() + ptrdiff_t(m_start[size_t(b)]));
}

std::vector<qsizetype> Rangtabell::ordning() const {
    std::vector<qsizetype> o(static_cast<size_t>(antal()));
    std::iota(o.begin(), o.end(), qsizetype(0));
    std::stable_sort(o.begin(), o.end(), [this](qsizetype a, qsizetype b) { return jamfor(a, b) < 0; });
    return o;
}

QList<int> Rangtabell::platser(const std::vector<qsizetype>& ordning) const {
    QList<int> p;
    p.reserve(qsizetype(ordning.size()));
    for (size_t i = 0; i < ordning.size(); ++i)
        p << (i > 0 && likaResultat(ordning[i], ordning[i - 1]) ? p.back() : int(i) + 1);
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
