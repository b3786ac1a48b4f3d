#pragma once

#include "common/Poster.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <optional>
#include <vector>

// The ranking rule of every list: rows are ranked by a chain of result keys,
// each higher-first, and rows equal on every result key stand by a name tail
// (texts in Swedish order with letter case ignored, then a number), so that
// every run gives the same order. Rows equal on every result key share a place
// (1, 2, 2, 4). A chain is data: a list of keys that take numbers from a row of
// any type, so the team and prize lists rank their own rows with their own
// chains by the same rule.
namespace Rangordning {

// The numbers a row's result keys give, in the order they decide.
using Varden = std::vector<double>;

// One result key: adds its numbers to a row's values (one for most keys, ten
// for the counts of tens down to ones).
template <class Rad> using Nyckel = std::function<void(const Rad&, Varden&)>;

// What orders rows equal on every result key: the texts in turn, then the number,
// all ascending. It never separates places.
struct Svans {
    QStringList texter; // e.g. family name, first name
    qint64 nummer = 0;  // e.g. Löpnummer
};

template <class Rad> struct Kedja {
    std::vector<Nyckel<Rad>> nycklar;
    std::function<Svans(const Rad&)> svans;
};

// A key of one number.
template <class Rad, class F> Nyckel<Rad> tal(F f) {
    return [f](const Rad& r, Varden& v) { v.push_back(static_cast<double>(f(r))); };
}
// The counts of a TioNior text as ten numbers, tens first: compared as numbers,
// 10 tens rank above 9. Missing or unreadable counts are 0.
void laggTillAntal(const QString& tioNior, Varden& v);
template <class Rad, class F> Nyckel<Rad> antal(F f) {
    return [f](const Rad& r, Varden& v) { laggTillAntal(f(r), v); };
}

// The rows of one ranking reduced to what ranks them: every row's numbers
// once, side by side in one buffer (a value that is no number already below
// every number), and its name tail only when a row equal on every number needs
// it, which few do. Rows are counted from 0 in the order they were added.
class Rangtabell {
public:
    // svans gives row i's name tail; none leaves equal rows as they came.
    explicit Rangtabell(std::function<Svans(qsizetype)> svans = {});
    void reservera(qsizetype rader, qsizetype vardenPerRad);
    // The next row: the numbers its keys gave.
    void laggTill(const Varden& varden);
    qsizetype antal() const { return qsizetype(m_start.size()) - 1; }
    // Below 0 when row a ranks before row b, 0 for rows the same in every respect.
    int jamfor(qsizetype a, qsizetype b) const;
    bool likaResultat(qsizetype a, qsizetype b) const;
    // The rows in ranked order; rows the same in every respect keep their order.
    std::vector<qsizetype> ordning() const;
    // The places of the rows in the given order: a row takes the place of the
    // row directly above when it is equal to it on every result key, otherwise
    // its running number (1, 2, 2, 4; 1, 1, 1, 4; 1, 2, 2, 2, 5). Only the row
    // above is compared.
    QList<int> platser(const std::vector<qsizetype>& ordning) const;

private:
    struct Svansnyckel {
        std::vector<QByteArray> texter; // UTF-8, as the Swedish comparison takes them
        qint64 nummer = 0;
    };
    const Svansnyckel& svansnyckel(qsizetype rad) const;

    std::vector<double> m_varden;
    std::vector<size_t> m_start{0}; // row i's numbers: [m_start[i], m_start[i + 1])
    std::function<Svans(qsizetype)> m_svans;
    mutable std::vector<std::optional<Svansnyckel>> m_svansar;
};

// Each row reduced by the chain, in order; the table asks the rows for their
// tails, so they must stay where they are while it is used.
template <class Rad, class Lista> Rangtabell reducera(const Lista& rader, const Kedja<Rad>& k) {
    Rangtabell t;
    if (k.svans)
        t = Rangtabell([&rader, &k](qsizetype i) { return k.svans(rader[i]); });
    Varden v;
    bool forsta = true;
    for (const Rad& r : rader) {
        v.clear();
        for (const Nyckel<Rad>& n : k.nycklar)
            n(r, v);
        if (forsta) {
            t.reservera(qsizetype(std::size(rader)), qsizetype(v.size()));
            forsta = false;
        }
        t.laggTill(v);
    }
    return t;
}

// Whether a ranks before b.
template <class Rad> bool fore(const Rad& a, const Rad& b, const Kedja<Rad>& k) {
    const std::array<std::reference_wrapper<const Rad>, 2> par{a, b};
    return reducera<Rad>(par, k).jamfor(0, 1) < 0;
}

template <class Rad> bool likaResultat(const Rad& a, const Rad& b, const Kedja<Rad>& k) {
    const std::array<std::reference_wrapper<const Rad>, 2> par{a, b};
    return reducera<Rad>(par, k).likaResultat(0, 1);
}

// Puts the rows in ranked order and gives their places (as Rangtabell::platser);
// each row is reduced once.
template <class Rad> QList<int> rangordnaOchPlacera(QList<Rad>& rader, const Kedja<Rad>& k) {
    const Rangtabell t = reducera(rader, k);
    const std::vector<qsizetype> ordning = t.ordning();
    QList<Rad> ut;
    ut.reserve(rader.size());
    for (const qsizetype i : ordning)
        ut.push_back(std::move(rader[i]));
    rader = std::move(ut);
    return t.platser(ordning);
}

// Puts the rows in ranked order.
template <class Rad> void rangordna(QList<Rad>& rader, const Kedja<Rad>& k) {
    rangordnaOchPlacera(rader, k);
}

template <class Rad> QList<int> platser(const QList<Rad>& rangordnade, const Kedja<Rad>& k) {
    const Rangtabell t = reducera(rangordnade, k);
    std::vector<qsizetype> ordning(size_t(t.antal()));
    std::iota(ordning.begin(), ordning.end(), qsizetype(0));
    return t.platser(ordning);
}

// The shooters' chains; equal shooters stand by family name, first name, Löpnummer.
// Classes of 8 series: Totalt40, Innertior, Res8 .. Res1, the counts, Särskjutning.
const Kedja<Skytt>& nationell();
// Sport classes of more than 40 shots: Totalt60, Innertior, Sum60 .. Sum10, the
// counts, Särskjutning.
const Kedja<Skytt>& sport60();
// Sport classes of at most 40 shots: Totalt40, Innertior, Sum40 .. Sum10, the
// counts, Särskjutning.
const Kedja<Skytt>& sport40();

} // namespace Rangordning
