// The copy itself: the source read, the staging folder filled and flushed,
// the record written, and the entries moved in one by one, with what it
// replaces moved aside; after it took effect, the moved-aside files become the
// backup. A failure on the way hands over to the undo (Angring), the same one
// that takes back a copy cut off by a kill.

#include "platform/folder_copy/Mappkopia.h"

#include "platform/Databas.h"
#include "platform/folder_copy/Angring.h"
#include "platform/folder_copy/Filstod.h"
#include "platform/folder_copy/Inflyttning.h"
#include "platform/folder_copy/Kopieringslogg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace Mappkopia {

using namespace detalj;

namespace {

// The modes of a new file and a new folder of this process. The umask is read
// where the kernel shows it: umask() would change it, for every thread.
struct Lagen {
    mode_t fil = 0644;
    mode_t mapp = 0755;
    Lagen() {
        mode_t mask = 022;
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray& rad : status.readAll().split('\n')) {
                if (!rad.startsWith("Umask:"))
                    continue;
                bool ok = false;
                const uint m = rad.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    mask = mode_t(m & 0777);
            }
        }
        fil = 0666 & ~mask;
        mapp = 0777 & ~mask;
    }
};

void kopieraDatabas(const QByteArray& fran, const QByteArray& till, const struct stat& st, mode_t lage,
                    const Tidsregel& regel) {
    if (const int fel = Databas::ogonblicksbild(QFile::decodeName(fran), QFile::decodeName(till)))
        kasta(fel);
    // The time of the state copied: a commit during the copy moves it on.
    struct stat nu = st;
    ::stat(fran.constData(), &nu);
    omMojligt(sys().chmod(till.constData(), lage) == 0);
    const struct timespec tider[2] = {regel.hallbar(nu.st_atim), regel.hallbar(nu.st_mtim)};
    omMojligt(sys().utimensat(till.constData(), tider) == 0);
}

enum class Slag { Mapp, Fil, Databas };

struct Post {
    QByteArray rel;
    Slag slag;
    struct stat st;
};

// The source as a list, each folder before what it holds and a folder's
// files before its sub-folders. A link could lead anywhere, also into what the
// copy writes: links stay behind, as do devices and pipes.
void lasIn(const QByteArray& kalla, const QByteArray& rel, const Uppdrag& u, std::vector<Post>& poster) {
    std::vector<Post> mappar;
    for (const QByteArray& namn : namnI(under(kalla, rel))) {
        const QString text = QFile::decodeName(namn);
        if (arEgen(namn) || (u.utelamnas && u.utelamnas(text)))
            continue;
        Post p{inre(rel, namn), Slag::Fil, {}};
        krav(::lstat(under(kalla, p.rel).constData(), &p.st) == 0);
        if (S_ISDIR(p.st.st_mode) && u.vanligFil && u.vanligFil(QFile::decodeName(p.rel)))
            vagra(OvanligKalla, under(kalla, p.rel));
        if (S_ISDIR(p.st.st_mode)) {
            p.slag = Slag::Mapp;
            mappar.push_back(p);
            continue;
        }
        if (!S_ISREG(p.st.st_mode)) {
            if (u.vanligFil && u.vanligFil(QFile::decodeName(p.rel)))
                vagra(OvanligKalla, under(kalla, p.rel));
            continue;
        }
        if (u.databas && u.databas(text) && Databas::arSqlite(QFile::decodeName(under(kalla, p.rel))))
            p.slag = Slag::Databas;
        poster.push_back(p);
    }
    for (const Post& m : mappar) {
        poster.push_back(m);
        lasIn(kalla, m.rel, u, poster);
    }
}

class Kopia {
public:
    explicit Kopia(const Uppdrag& u)
        : m_u(u), m_p(u.mal), m_kalla(QFile::encodeName(QDir::cleanPath(u.kalla))) {}

    Utfall kor() {
        Utfall ut;
        if (!m_p.giltig) {
            ut.fel = EINVAL;
            return ut;
        }
        std::vector<Post> poster;
        std::vector<Steg> plan;
        const auto fel = [&](const Systemfel& f) {
            ut.fel = f.fel;
            ut.orsak = f.orsak;
            ut.sokvag = QFile::decodeName(f.sokvag);
            return ut;
        };
        try {
            // The target is replaced: a copy cut off into it is taken back,
            // so that the backup keeps what it held before.
            utfor(m_p, bestam(m_p, Avbrott::TaTillbaka), m_u.steg);
            struct stat st {};
            m_nytt = !finns(m_p.mal, &st);
            if (!m_nytt && !S_ISDIR(st.st_mode))
                vagra(ENOTDIR, m_p.mal);
            lasIn(m_kalla, {}, m_u, poster);
            if (!m_nytt)
                plan = planera(poster);
            for (const Steg& s : plan) {
                const QByteArray mal = under(m_p.mal, s.rel);
                if (m_u.ersattbar && s.typ == Steg::Ersatt && s.gammal.typ == 'F')
                    if (const int fel = m_u.ersattbar(QFile::decodeName(mal)))
                        kasta(fel);
            }
            // Where what the copy replaces will be kept is settled before
            // anything moves: a copy that has taken effect cannot be refused.
            if (std::any_of(plan.begin(), plan.end(), [](const Steg& s) { return s.typ != Steg::Ny; }))
                m_bak = valjBak(m_p);
            gorPlats(poster, plan, ut);
        } catch (const Systemfel& f) {
            return fel(f);
        }
        QByteArray logg;
        try {
            fyll(poster);
            if (m_nytt) {
                // A new target comes whole in one step, with the staging
                // folder's mark, which goes next.
                anropa(m_u.steg, {});
                krav(sys().rename(m_p.staging.constData(), m_p.mal.constData()) == 0);
            } else {
                logg = loggtext(plan);
            }
        } catch (const Systemfel& f) {
            taBort(m_p.staging);
            try {
                synka(m_p.destination);
            } catch (const Systemfel&) {
            }
            return fel(f);
        }
        if (m_nytt) {
            try {
                synka(m_p.destination);
                anropa(m_u.steg, {});
                krav(sys().unlink(under(m_p.mal, Kopiemarkering).constData()) == 0);
                synka(m_p.mal);
            } catch (const Systemfel& f) {
                ut.fel = f.fel;
            }
            return ut;
        }
        try {
            skrivLogg(logg);
            // Everything that moved is made to last before the record goes:
            // from then on the copy has taken effect.
            m_inflyttning.avsluta(plan, 0);
        } catch (const Systemfel& f) {
            ut.fel = f.fel;
            try {
                utfor(m_p, bestam(m_p, Avbrott::TaTillbaka, m_inflyttning.pagar()), {});
            } catch (const Systemfel&) {
                // Left for the next copy or opening, which find the record.
            }
            return ut;
        }
        // The target is whole now: what fails from here on is told, but
        // nothing is taken back.
        try {
            synka(m_p.destination);
            ut.sakerhetskopia = QFile::decodeName(utfor(m_p, bestam(m_p, Avbrott::TaTillbaka), m_u.steg));
        } catch (const Systemfel& f) {
            return fel(f);
        }
        return ut;
    }

private:
    // What the target holds at rel, as the copy would move it aside: a file
    // with no other name, or a folder of such files and folders. A link, a
    // pipe, a device, a file with another name somewhere is refused, naming
    // it: the undo puts back nothing of the kind.
    Bild gammalBild(const QByteArray& rel, std::vector<Inre>* innehall) const {
        const QByteArray sokvag = under(m_p.mal, rel);
        struct stat st {};
        krav(::lstat(sokvag.constData(), &st) == 0);
        if (S_ISREG(st.st_mode) && st.st_nlink == 1)
            return bildAv(st);
        if (!S_ISDIR(st.st_mode) || !innehall)
            vagra(OvantadPost, sokvag);
        for (const QByteArray& namn : namnI(sokvag)) {
            const QByteArray r = inre(rel, namn);
            const Bild b = gammalBild(r, innehall);
            innehall->push_back({r, b});
        }
        return bildAv(st);
    }

    // What moving in will do, in its order, with what the target holds now of
    // each entry it replaces. One that its record could not hold is refused
    // before anything is written: the lines are counted as the record will
    // have them.
    std::vector<Steg> planera(const std::vector<Post>& poster) const {
        std::vector<Steg> plan;
        QByteArray nyMapp;
        qsizetype rader = 2;
        const auto raknad = [&](qsizetype n) {
            rader += n;
            if (!rymsILogg(0, rader))
                vagra(ForMangaPoster, m_p.mal);
        };
        for (const Post& p : poster) {
            if (!nyMapp.isEmpty() && p.rel.startsWith(nyMapp + '/')) {
                raknad(1); // listed with the new folder
                continue;
            }
            struct stat st {};
            const bool fanns = finns(under(m_p.mal, p.rel), &st);
            if (p.slag == Slag::Mapp) {
                if (fanns && S_ISDIR(st.st_mode))
                    continue; // filled entry by entry
                nyMapp = p.rel;
            }
            if (p.slag == Slag::Databas) {
                // A journal beside the old database would be played into the new one.
                const QString namn = QFile::decodeName(p.rel.mid(p.rel.lastIndexOf('/') + 1));
                for (const QString& sida : Databas::sidofiler(namn)) {
                    const QByteArray rel = inre(foralder(p.rel), QFile::encodeName(sida));
                    if (finns(under(m_p.mal, rel))) {
                        Steg j{Steg::Journal, rel, {}, gammalBild(rel, nullptr), {}, {}};
                        plan.push_back(std::move(j));
                        raknad(1);
                    }
                }
            }
            Steg s{fanns ? Steg::Ersatt : Steg::Ny, p.rel, {}, {}, {}, {}};
            if (fanns)
                s.gammal = gammalBild(p.rel, &s.gammalInre);
            raknad(1 + qsizetype(s.gammalInre.size()));
            plan.push_back(std::move(s));
        }
        return plan;
    }

    // What the copy needs at its peak on the medium, counted before anything
    // is written: the new files in the staging folder, and, where the file
    // system refuses links, the largest file it copies aside (each copied
    // aside gives its room back as the new one takes its place), with the
    // record and the backup's mark. The previous backup goes first when the
    // medium lacks room for both and that makes it fit; a copy that replaces
    // nothing leaves it, and one that would not fit even without it is
    // refused with the backup kept.
    void gorPlats(const std::vector<Post>& poster, const std::vector<Steg>& plan, Utfall& ut) const {
        struct statvfs v {};
        if (::statvfs(m_p.destination.constData(), &v) != 0)
            return; // told by the copy itself, if at all
        const qint64 block = qint64(v.f_frsize ? v.f_frsize : v.f_bsize ? v.f_bsize : 4096);
        const auto iBlock = [block](qint64 byte) { return (byte + block - 1) / block * block; };
        // Root may use what a file system keeps back for it.
        const auto ledigt = [&] { return qint64(geteuid() == 0 ? v.f_bfree : v.f_bavail) * block; };
        ut.behov = 4 * block + (qint64(1) << 16);
        QSet<QByteArray> nyaMappar;
        for (const Post& p : poster) {
            ut.behov += p.slag == Slag::Mapp ? block : iBlock(qint64(p.st.st_size));
            if (p.slag == Slag::Mapp)
                nyaMappar.insert(p.rel);
        }
        qint64 storstUndan = 0, rader = 0;
        for (const Steg& s : plan) {
            rader += 1 + qsizetype(s.gammalInre.size());
            if (s.typ == Steg::Ersatt && s.gammal.typ == 'F' && !nyaMappar.contains(s.rel))
                storstUndan = std::max(storstUndan, iBlock(s.gammal.storlek));
        }
        if (!m_u.lankar || m_regel.fat)
            ut.behov += storstUndan;
        ut.behov += 2 * iBlock(rader * 160);
        ut.ledigt = ledigt();
        if (ut.ledigt >= ut.behov)
            return;
        if (!m_bak.isEmpty() && finns(m_bak) && ut.ledigt + upptaget(m_bak) >= ut.behov) {
            anropa(m_u.steg, {});
            krav(taBortMarkerad(m_bak));
            synka(m_p.destination);
            if (::statvfs(m_p.destination.constData(), &v) == 0)
                ut.ledigt = ledigt();
            if (ut.ledigt >= ut.behov)
                return;
        }
        // A file system that shares blocks between copies needs less than
        // counted here: on the source's own, let the copy find out.
        struct stat kalla {
        }, dest{};
        if (::stat(m_kalla.constData(), &kalla) == 0 && ::stat(m_p.destination.constData(), &dest) == 0 &&
            kalla.st_dev == dest.st_dev)
            return;
        kasta(ENOSPC);
    }

    void fyll(const std::vector<Post>& poster) {
        anropa(m_u.steg, {});
        skapaMarkerad(m_p.staging, Kopiemarkering, Kopiemarkeringstext);
        for (const Post& p : poster) {
            const QByteArray fran = under(m_kalla, p.rel);
            const QByteArray till = under(m_p.staging, p.rel);
            switch (p.slag) {
            case Slag::Mapp:
                krav(sys().mkdir(till.constData(), S_IRWXU) == 0);
                break;
            case Slag::Fil: {
                const struct timespec tider[2] = {m_regel.hallbar(p.st.st_atim),
                                                  m_regel.hallbar(p.st.st_mtim)};
                kopieraFil(fran, till, m_lagen.fil, tider, false);
                break;
            }
            case Slag::Databas:
                kopieraDatabas(fran, till, p.st, m_lagen.fil, m_regel);
                break;
            }
        }
        // A folder's time last: filling it moved it on.
        for (auto p = poster.rbegin(); p != poster.rend(); ++p) {
            if (p->slag != Slag::Mapp)
                continue;
            const QByteArray till = under(m_p.staging, p->rel);
            omMojligt(sys().chmod(till.constData(), m_lagen.mapp) == 0);
            const struct timespec tider[2] = {m_regel.hallbar(p->st.st_atim), m_regel.hallbar(p->st.st_mtim)};
            omMojligt(sys().utimensat(till.constData(), tider) == 0);
        }
        if (m_nytt)
            omMojligt(sys().chmod(m_p.staging.constData(), m_lagen.mapp) == 0);
        // One flush of the whole file system costs what one file's would; a
        // flush per file costs about twice the copy.
        Fd fd(sys().open(m_p.staging.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
        krav(fd.get() >= 0);
        krav(sys().syncfs(fd.get()) == 0);
    }

    // What the staging folder holds at rel, as it will be moved in.
    Bild nyBild(const QByteArray& rel, std::vector<Inre>& innehall) const {
        struct stat st {};
        const QByteArray sokvag = under(m_p.staging, rel);
        krav(::lstat(sokvag.constData(), &st) == 0);
        if (S_ISDIR(st.st_mode))
            for (const QByteArray& namn : namnI(sokvag)) {
                const QByteArray r = inre(rel, namn);
                const Bild b = nyBild(r, innehall);
                innehall.push_back({r, b});
            }
        return bildAv(st);
    }

    // The record: every entry moving in touches, with what the copy saw of
    // the new one in the staging folder (now filled and flushed) and of the
    // old one in the target.
    QByteArray loggtext(std::vector<Steg>& plan) const {
        for (Steg& s : plan)
            if (s.typ != Steg::Journal)
                s.ny = nyBild(s.rel, s.nyInre);
        return detalj::loggtext(plan, m_p.mal);
    }

    // The record lasts before the first change in the target, and the
    // staging folder is marked as moving in once it does: should the record
    // be removed by hand, the new files still there are not taken for a copy
    // cut off while it filled its staging folder.
    void skrivLogg(const QByteArray& text) {
        anropa(m_u.steg, {});
        Fd fd(sys().open(m_p.logg.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
        krav(fd.get() >= 0);
        skrivAllt(fd.get(), text);
        krav(sys().fsync(fd.get()) == 0);
        fd.stang();
        synka(m_p.destination);
        anropa(m_u.steg, {});
        Fd flytt(sys().open(under(m_p.staging, Flyttmarkering).constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
        krav(flytt.get() >= 0);
        flytt.stang();
        synka(m_p.staging);
    }

    const Uppdrag& m_u;
    Platser m_p;
    QByteArray m_kalla;
    const Lagen m_lagen;
    // Times as the target's file system keeps them.
    const Tidsregel m_regel = tidsregel(m_p.destination);
    Inflyttning m_inflyttning{m_p, m_u.lankar, m_regel, m_u.steg};
    bool m_nytt = false;
    QByteArray m_bak;
};

} // namespace

Utfall kopiera(const Uppdrag& uppdrag) {
    return Kopia(uppdrag).kor();
}

QStringList poster(const QString& kalla, const std::function<bool(const QString& namn)>& utelamnas) {
    Uppdrag u;
    u.utelamnas = utelamnas;
    std::vector<Post> lasta;
    try {
        lasIn(QFile::encodeName(QDir::cleanPath(kalla)), {}, u, lasta);
    } catch (const Systemfel&) {
        // What cannot be read is told by the copy itself.
    }
    QStringList l;
    l.reserve(qsizetype(lasta.size()));
    for (const Post& p : lasta)
        l << QFile::decodeName(p.rel);
    return l;
}

QString sakerhetskopia(const QString& mal) {
    return QFile::decodeName(Platser(mal).bak);
}

bool arEgenFil(const QString& namn) {
    return arEgen(QFile::encodeName(namn));
}

QString arbetsmapp(const QString& mal) {
    return QFile::decodeName(Platser(mal).staging);
}

} // namespace Mappkopia
