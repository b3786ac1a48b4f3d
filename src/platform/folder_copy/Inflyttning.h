#pragma once

// Moving a copy's entries into its target in the record's order: what the
// copy does once its record lasts, and what finishing a cut-off copy does
// from where it stopped. An entry's old version goes aside first - a file
// keeps its place in the target under a second name, or as a copy aside,
// until the new one replaces it in one rename - then the new one comes from
// the staging folder.

#include "platform/folder_copy/Filstod.h"
#include "platform/folder_copy/Kopieringslogg.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace Mappkopia::detalj {

class Inflyttning {
public:
    // lankar false: a replaced file is copied aside without trying a second
    // name first. steg is told of each change before it is made.
    Inflyttning(const Platser& p, bool lankar, const Tidsregel& regel,
                std::function<void(const QString&)> steg);
    // Moves the record's entries in from fran on (an old version already
    // aside stays there), flushes every folder the record's entries lie in,
    // in the target and aside (what moved before a cut may not have lasted),
    // and removes the record: from then on the copy has taken effect. The
    // caller flushes the folder holding the target after that.
    void avsluta(const std::vector<Steg>& steg, size_t fran);
    // The entry being moved in, or the record's length once all have: a
    // failure takes back what moved before it, and what it moved aside.
    size_t pagar() const { return m_pagar; }

private:
    void flyttaIn(const Steg& s);
    void flyttUndan(const QByteArray& rel, bool fil);

    const Platser& m_p;
    bool m_lankar;
    const Tidsregel& m_regel;
    std::function<void(const QString&)> m_steg;
    const std::vector<Steg>* m_allaSteg = nullptr;
    size_t m_pagar = 0;
};

} // namespace Mappkopia::detalj
