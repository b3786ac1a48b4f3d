#pragma once

#include "common/Poster.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <numeric>
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

// A row reduced to what ranks it. The functions below work on these; the
// templates reduce rows of any type by their chain first.
struct Rangrad {
    Varden varden;
    std::vector<QByteArray> texter; // UTF-8, as the Swedish comparison takes them
    qint64 nummer = 0;
};
// Below 0 when a ranks before b, 0 for the same row in every respect.
int jamfor(const Rangrad& a, const Rangrad& b);
bool likaResultat(const Rangrad& a, const Rangrad& b);
// The places of rows in ranked order: a row takes the place of the row directly
// above when it is equal to it on every result key, otherwise its running number
// (1, 2, 2, 4; 1, 1, 1, 4; 1, 2, 2, 2, 5). Only the row above is compared.
QList<int> platser(const std::vector<Rangrad>& rangordnade);

template <class Rad> Rangrad reducera(const Rad& r, const Kedja<Rad>& k) {
    Rangrad rr;
    for (const Nyckel<Rad>& n : k.nycklar)
        n(r, rr.varden);
    const Svans s = k.svans ? k.svans(r) : Svans{};
    rr.texter.reserve(s.texter.size());
    for (const QString& t : s.texter)
        rr.texter.push_back(t.toUtf8());
    rr.nummer = s.nummer;
    return rr;
}

// Whether a ranks before b.
template <class Rad> bool fore(const Rad& a, const Rad& b, const Kedja<Rad>& k) {
    return jamfor(reducera(a, k), reducera(b, k)) < 0;
}

template <class Rad> bool likaResultat(const Rad& a, const Rad& b, const Kedja<Rad>& k) {
    return likaResultat(reducera(a, k), reducera(b, k));
}

// Puts the rows in ranked order and gives their places (as platser below);
// each row is reduced once.
template <class Rad> QList<int> rangordnaOchPlacera(QList<Rad>& rader, const Kedja<Rad>& k) {
    std::vector<Rangrad> r;
    r.reserve(rader.size());
    for (const Rad& rad : rader)
        r.push_back(reducera(rad, k));
    std::vector<qsizetype> ordning(r.size());
    std::iota(ordning.begin(), ordning.end(), qsizetype(0));
    std::stable_sort(ordning.begin(), ordning.end(),
                     [&r](qsizetype a, qsizetype b) { return jamfor(r[a], r[b]) < 0; });
    QList<Rad> ut;
    ut.reserve(rader.size());
    std::vector<Rangrad> rangordnade;
    rangordnade.reserve(r.size());
    for (const qsizetype i : ordning) {
        ut.push_back(std::move(rader[i]));
        rangordnade.push_back(std::move(r[size_t(i)]));
    }
    rader = std::move(ut);
    return platser(rangordnade);
}

// Puts the rows in ranked order.
template <class Rad> void rangordna(QList<Rad>& rader, const Kedja<Rad>& k) {
    rangordnaOchPlacera(rader, k);
}

template <class Rad> QList<int> platser(const QList<Rad>& rangordnade, const Kedja<Rad>& k) {
    std::vector<Rangrad> r;
    r.reserve(rangordnade.size());
    for (const Rad& rad : rangordnade)
        r.push_back(reducera(rad, k));
    return platser(r);
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
