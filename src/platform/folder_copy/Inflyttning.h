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
#include <QSet>
#include <QString>
#include <functional>

namespace Mappkopia::detalj {

class Inflyttning {
public:
    // lankar false: a replaced file is copied aside without trying a second
    // name first. steg is told of each change before it is made.
    Inflyttning(const Platser& p, bool lankar, const Tidsregel& regel,
                std::function<void(const QString&)> steg);
    // Moves s in from where it stands: an old version already aside stays
    // there.
    void flyttaIn(const Steg& s);
    // Flushes the folders that changed, in the target and aside.
    void synka() const;

private:
    void flyttUndan(const QByteArray& rel, bool fil);
    void kopieraUndan(const QByteArray& fran, const QByteArray& till);

    const Platser& m_p;
    bool m_lankar;
    const Tidsregel& m_regel;
    std::function<void(const QString&)> m_steg;
    QSet<QByteArray> m_andradeMappar;
    QSet<QByteArray> m_undanMappar;
};

} // namespace Mappkopia::detalj
