#include "platform/folder_copy/Inflyttning.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace Mappkopia::detalj {

Inflyttning::Inflyttning(const Platser& p, bool lankar, const Tidsregel& regel,
                         std::function<void(const QString&)> steg)
    : m_p(p), m_lankar(lankar), m_regel(regel), m_steg(std::move(steg)) {}

void Inflyttning::avsluta(const std::vector<Steg>& steg, size_t fran) {
    m_allaSteg = &steg;
    for (m_pagar = fran; m_pagar < steg.size(); ++m_pagar)
        flyttaIn(steg[m_pagar]);
    std::vector<QByteArray> rels;
    rels.reserve(steg.size());
    for (const Steg& s : steg)
        rels.push_back(s.rel);
    synkaForaldrar(rels, {&m_p.mal, &m_p.undan});
    synka(m_p.destination);
    anropa(m_steg, {});
    krav(sys().unlink(m_p.logg.constData()) == 0 || errno == ENOENT);
}

void Inflyttning::flyttaIn(const Steg& s) {
    if (s.typ != Steg::Ny && !finns(under(m_p.undan, s.rel)))
        flyttUndan(s.rel, s.typ == Steg::Ersatt && s.fil());
    if (s.typ != Steg::Journal) {
        anropa(m_steg, s.rel);
        krav(sys().rename(under(m_p.staging, s.rel).constData(), under(m_p.mal, s.rel).constData()) == 0);
    }
}

void Inflyttning::flyttUndan(const QByteArray& rel, bool fil) {
    if (!finns(m_p.undan)) {
        // Marked as the program's own as it is made, before anything is
        // moved there: only with its mark does an undo trust it, and only
        // while it holds what its mark lists may it replace a backup as one.
        anropa(m_steg, {});
        skapaMarkerad(m_p.undan, Markering, markeringstext(*m_allaSteg));
    } else if (!markerad(m_p.undan, Markering)) {
        // Made by a copy cut off before its mark (so empty, or it would not
        // be trusted).
        anropa(m_steg, {});
        markera(m_p.undan, Markering, markeringstext(*m_allaSteg));
    }
    if (const QByteArray mellan = under(m_p.undan, Mellanfil); finns(mellan)) {
        // A copy aside cut off earlier left its file on the way.
        anropa(m_steg, {});
        krav(sys().unlink(mellan.constData()) == 0);
    }
    skapaMappar(m_p.undan, foralder(rel));
    const QByteArray fran = under(m_p.mal, rel);
    const QByteArray till = under(m_p.undan, rel);
    anropa(m_steg, rel);
    if (!fil) {
        krav(sys().rename(fran.constData(), till.constData()) == 0);
        return;
    }
    // A second name keeps the old file in the target until the new one
    // takes its place. A file system without links says so in more than
    // one way (exFAT through FUSE: EPERM).
    if (m_lankar) {
        if (sys().link(fran.constData(), till.constData()) == 0)
            return;
        if (errno != EPERM && errno != EOPNOTSUPP && errno != EXDEV && errno != EMLINK && errno != ENOSYS)
            kasta(errno);
    }
    // Without one the old file is copied aside, whole under another name
    // first, so that the target holds it until the new one takes its place
    // in one rename.
    struct stat st {};
    krav(::lstat(fran.constData(), &st) == 0);
    const QByteArray mellan = under(m_p.undan, Mellanfil);
    const struct timespec tider[2] = {m_regel.hallbar(st.st_atim), m_regel.hallbar(st.st_mtim)};
    kopieraFil(fran, mellan, st.st_mode & 07777, tider, true);
    krav(sys().rename(mellan.constData(), till.constData()) == 0);
}

} // namespace Mappkopia::detalj
