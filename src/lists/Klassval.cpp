#include "lists/Klassval.h"

#include "competition/Klasser.h"
#include "shell/modGlobalt.h"

namespace {

QList<ValdKlass> lasKlasser(modGlobalt& g, Meddelanden& m) {
    const Klasser k(g, m);
    QList<ValdKlass> klasser;
    for (const Klass& klass : k.friaKlasser())
        klasser.append({klass, false});
    for (const Klass& huvud : k.huvudklasser())
        klasser.append({huvud, true});
    return klasser;
}

} // namespace

Klassval::Klassval(modGlobalt& g, Meddelanden& m)
    : Klassval(lasKlasser(g, m),
               g.blnFleraTavlingar ? std::optional(Omgangar::alla(g.cnnTavling)) : std::nullopt) {}

Klassval::Klassval(QList<ValdKlass> klasser, std::optional<QList<Omgangar::Omgang>> omgangar)
    : m_klasser(std::move(klasser)), m_markerad(m_klasser.size(), false), m_omgangar(std::move(omgangar)) {}

QList<ValdKlass> Klassval::valda() const {
    QList<ValdKlass> valda;
    for (qsizetype i = 0; i < m_klasser.size(); ++i)
        if (m_val == Val::Alla || m_markerad[i])
            valda.append(m_klasser[i]);
    return valda;
}

void Klassval::valjAlla() {
    m_val = Val::Alla;
    m_kanVisas = true;
}

void Klassval::valjValda() {
    m_val = Val::Valda;
    rakna();
}

void Klassval::vaxla(int rad) {
    if (rad >= 0 && rad < m_markerad.size()) {
        m_markerad[rad] = !m_markerad[rad];
        m_val = Val::Valda;
    }
    rakna();
}

void Klassval::rakna() {
    m_kanVisas = !valda().isEmpty();
}

void Klassval::valjOmgang(int i) {
    if (i >= 0 && i < omgangar().size())
        m_omgang = i;
}

std::optional<Omgangar::Omgang> Klassval::valdOmgang() const {
    if (!m_omgangar || m_omgangar->isEmpty())
        return std::nullopt;
    return m_omgangar->at(m_omgang);
}
