#include "platform/folder_copy/Inflyttning.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace Mappkopia::detalj {

Inflyttning::Inflyttning(const Platser& p, bool lankar, const Tidsregel& regel,
                         std::function<void(const QString&)> steg)
    : m_p(p), m_lankar(lankar), m_regel(regel), m_steg(std::move(steg)) {}

void Inflyttning::flyttaIn(const Steg& s) {
    if (s.typ != Steg::Ny) {
        if (!finns(under(m_p.undan, s.rel)))
            flyttUndan(s.rel, s.typ == Steg::Ersatt && s.fil());
        for (QByteArray mapp = foralder(s.rel);; mapp = foralder(mapp)) {
            m_undanMappar.insert(mapp);
            if (mapp.isEmpty())
                break;
        }
    }
    if (s.typ != Steg::Journal) {
        anropa(m_steg, s.rel);
        krav(sys().rename(under(m_p.staging, s.rel).constData(), under(m_p.mal, s.rel).constData()) == 0);
    }
    m_andradeMappar.insert(foralder(s.rel));
}

void Inflyttning::synka() const {
    for (const QByteArray& rel : m_andradeMappar)
        detalj::synka(under(m_p.mal, rel));
    for (const QByteArray& rel : m_undanMappar)
        detalj::synka(under(m_p.undan, rel));
}

// Without a second name the old file is copied aside, so that the target
// holds it until the new one takes its place in one rename.
void Inflyttning::kopieraUndan(const QByteArray& fran, const QByteArray& till) {
    struct stat st {};
    krav(::lstat(fran.constData(), &st) == 0);
    const QByteArray mellan = under(m_p.undan, Mellanfil);
    Fd in(::open(fran.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    krav(in.get() >= 0);
    Fd ut(sys().open(mellan.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
    krav(ut.get() >= 0);
    kopieraInnehall(in.get(), ut.get());
    omMojligt(sys().fchmod(ut.get(), st.st_mode & 07777) == 0);
    const struct timespec tider[2] = {m_regel.hallbar(st.st_atim), m_regel.hallbar(st.st_mtim)};
    omMojligt(sys().futimens(ut.get(), tider) == 0);
    krav(sys().fsync(ut.get()) == 0);
    ut.stang();
    krav(sys().rename(mellan.constData(), till.constData()) == 0);
}

void Inflyttning::flyttUndan(const QByteArray& rel, bool fil) {
    if (!finns(m_p.undan)) {
        // Marked as the program's own as it is made, before anything is
        // moved there: only with its mark does an undo trust it, and only
        // with it may it replace a backup as one.
        anropa(m_steg, {});
        skapaMarkerad(m_p.undan, Markering, Markeringstext);
    } else if (!markerad(m_p.undan, Markering)) {
        // Made by a copy cut off before its mark (so empty, or it would not
        // be trusted).
        anropa(m_steg, {});
        markera(m_p.undan, Markering, Markeringstext);
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
    kopieraUndan(fran, till);
}

} // namespace Mappkopia::detalj
