#include "platform/folder_copy/Angring.h"

#include "platform/folder_copy/Kopieringslogg.h"
#include "platform/folder_copy/Mappkopia.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <vector>

namespace Mappkopia::detalj {

namespace {

// Whether a name is a competition's lock (".Cup.lock"): a folder holding one
// is held open by a program.
bool arLas(const QByteArray& namn) {
    return namn.size() > 6 && namn.startsWith('.') &&
           (namn.endsWith(".lock") || namn.endsWith(".lock.rmlock"));
}

// Whether a folder beside the target (a backup, the moved-aside folder) holds
// the program's mark: a plain file of that name, not a link.
bool markerad(const QByteArray& mapp) {
    struct stat st {};
    return finns(under(mapp, Markering), &st) && S_ISREG(st.st_mode);
}

// Whether the folder bak beside the target is a backup this program made, and
// so may be emptied: a real folder that holds the mark, or an empty one, which
// loses nothing (a removal of ours cut off after the mark went leaves one). A
// backup opened as a competition, and everything without the mark - a
// competition of its own, the operator's spare copy - never is.
bool arVar(const QByteArray& bak) {
    struct stat st {};
    if (!finns(bak, &st) || !S_ISDIR(st.st_mode))
        return false;
    try {
        const std::vector<QByteArray> namn = namnI(bak);
        if (namn.empty())
            return true;
        if (std::any_of(namn.begin(), namn.end(), arLas))
            return false;
        return markerad(bak);
    } catch (const Systemfel&) {
        return false;
    }
}

// What putting one entry of a record back takes, from what the three places
// hold now; an entry already back, or never touched, stays.
enum class Atgard {
    Inget,
    TillMal,          // what was moved aside goes back into the target
    TillStaging,      // what was moved in goes back to the staging folder
    TillStagingOchMal // both: a folder, or a file where a folder was
};

// Whether entries exist, by the listing of the folder that would hold them:
// a record may list many entries that are nowhere, and one reading of a folder
// answers for all of them. Asked before anything moves, never after.
class Narvaro {
public:
    bool finns(const QByteArray& rot, const QByteArray& rel) {
        const QByteArray mapp = under(rot, foralder(rel));
        auto i = m_mappar.constFind(mapp);
        if (i == m_mappar.constEnd()) {
            QSet<QByteArray> namn;
            struct stat st {};
            if (::lstat(mapp.constData(), &st) == 0 && S_ISDIR(st.st_mode))
                for (QByteArray& n : namnI(mapp))
                    namn.insert(std::move(n));
            i = m_mappar.insert(mapp, namn);
        }
        return i->contains(rel.mid(rel.lastIndexOf('/') + 1));
    }

private:
    QHash<QByteArray, QSet<QByteArray>> m_mappar;
};

// What the undo does with one entry, after it has made sure that everything
// it moves is what the copy moved: what the target holds in place of the
// entry is the new one the copy brought, and what the moved-aside folder holds
// is the old one. Anything else is not the copy's, and the record not to be
// trusted.
Atgard bestam(const Platser& p, const Steg& s, qint64 upplosning, Narvaro& narvaro) {
    struct stat t {
    }, u{};
    const QByteArray mal = under(p.mal, s.rel), undan = under(p.undan, s.rel);
    const auto lstatOmFinns = [&](const QByteArray& rot, const QByteArray& sokvag, struct stat* st) {
        return narvaro.finns(rot, s.rel) && finns(sokvag, st);
    };
    // An entry new to the target that is not there, or one the copy would
    // have moved aside that is not aside: not begun, or back already.
    const bool iMal = lstatOmFinns(p.mal, mal, &t);
    if (s.typ == Steg::Ny && !iMal)
        return Atgard::Inget;
    if (s.typ != Steg::Ny && !lstatOmFinns(p.undan, undan, &u))
        return Atgard::Inget;
    const bool iNy = narvaro.finns(p.staging, s.rel);
    // The copy fills its staging folder with files and folders only.
    struct stat n {};
    if (iNy && finns(under(p.staging, s.rel), &n) && !S_ISREG(n.st_mode) && !S_ISDIR(n.st_mode))
        otillforlitlig();
    const auto nyIMal = [&] {
        if (!heltStammer(mal, s.rel, s.ny, s.nyInre, upplosning))
            otillforlitlig();
    };
    const auto gammalIUndan = [&] {
        if (!heltStammer(undan, s.rel, s.gammal, s.gammalInre, upplosning))
            otillforlitlig();
    };
    switch (s.typ) {
    case Steg::Ny:
        // Not moved in yet, or never the copy's to move.
        if (iNy)
            return Atgard::Inget;
        nyIMal();
        return Atgard::TillStaging;
    case Steg::Journal:
        // Moved aside by a rename: the target cannot hold one too.
        if (iMal)
            otillforlitlig();
        gammalIUndan();
        return Atgard::TillMal;
    case Steg::Ersatt:
        break;
    }
    if (iNy) {
        if (!iMal) {
            gammalIUndan();
            return Atgard::TillMal;
        }
        // Given a second name or copied aside, not yet replaced: the old file
        // is still in its place, and what is aside goes with the folder.
        const bool andraNamnet = t.st_nlink == 2 && u.st_dev == t.st_dev && u.st_ino == t.st_ino;
        struct stat ett = t;
        if (andraNamnet)
            ett.st_nlink = 1;
        if (!s.fil() || !stammer(mal, s.gammal, upplosning, &ett) || !S_ISREG(u.st_mode))
            otillforlitlig();
        return Atgard::Inget;
    }
    // Replaced: a file takes its old place in one step; a folder, or a file
    // where a folder was, waits in the staging folder meanwhile.
    if (!iMal)
        otillforlitlig();
    nyIMal();
    gammalIUndan();
    return s.fil() ? Atgard::TillMal : Atgard::TillStagingOchMal;
}

// Moves rel from one of the three places to another, never through a link.
void flytta(const QByteArray& fran, const QByteArray& till, const QByteArray& rel) {
    if (lankPaVagen(fran, rel) || lankPaVagen(till, rel))
        otillforlitlig();
    skapaMappar(till, foralder(rel));
    krav(sys().rename(under(fran, rel).constData(), under(till, rel).constData()) == 0);
}

void aterstall(const Platser& p, const Steg& s, Atgard a, const std::function<void(const QString&)>& steg) {
    if (a == Atgard::Inget)
        return;
    anropa(steg, s.rel);
    if (a != Atgard::TillMal)
        flytta(p.mal, p.staging, s.rel);
    if (a != Atgard::TillStaging) {
        // A target removed by hand since is made again to take it back.
        if (!finns(p.mal) && sys().mkdir(p.mal.constData(), S_IRWXU) != 0 && errno != EEXIST)
            kasta(errno);
        flytta(p.undan, p.mal, s.rel);
    }
}

// The target and the folders beside it are real folders, not links or files
// put there by someone else, and a moved-aside folder that holds anything is
// one the program marked as it made it.
void granskaMappar(const Platser& p) {
    for (const QByteArray* mapp : {&p.mal, &p.staging, &p.undan}) {
        struct stat st {};
        if (finns(*mapp, &st) && !S_ISDIR(st.st_mode))
            otillforlitlig();
    }
    if (finns(p.undan) && !namnI(p.undan).empty() && !markerad(p.undan))
        otillforlitlig();
}

} // namespace

QByteArray valjBak(const Platser& p) {
    for (int n = 1; n <= SistaSakerhetskopia; ++n) {
        const QByteArray bak = p.bakNamn(n);
        if (!finns(bak) || arVar(bak))
            return bak;
    }
    vagra(IngenSakerhetskopia, p.bak);
}

bool taBortMarkerad(const QByteArray& mapp) {
    return taBort(mapp, Markering);
}

QByteArray stadaUpp(const Platser& p, const std::function<void(const QString&)>& steg) {
    if (!finns(p.logg) && !finns(p.staging) && !finns(p.undan))
        return {};
    granskaMappar(p);
    const auto taBortOchSynka = [&](const QByteArray& sokvag) {
        if (!finns(sokvag))
            return;
        anropa(steg, {});
        krav(taBortMarkerad(sokvag));
        synka(p.destination);
    };
    const auto taBortLoggen = [&] {
        anropa(steg, {});
        krav(sys().unlink(p.logg.constData()) == 0 || errno == ENOENT);
        synka(p.destination);
    };
    if (finns(p.logg)) {
        const Logg logg = lasLogg(p.logg);
        if (logg.hel) {
            // The staging folder stays until the record has gone: without it
            // the record is no copy's of this program.
            if (!finns(p.staging))
                otillforlitlig();
            // Every entry checked, and what putting it back takes known,
            // before the first is touched.
            const qint64 upplosning = tidsupplosning(p.destination);
            QSet<QByteArray> sett;
            Narvaro narvaro;
            std::vector<Atgard> atgarder;
            atgarder.reserve(logg.steg.size());
            for (const Steg& s : logg.steg) {
                for (const QByteArray* rot : {&p.mal, &p.staging, &p.undan})
                    if (lankPaVagen(*rot, s.rel, &sett))
                        otillforlitlig();
                atgarder.push_back(bestam(p, s, upplosning, narvaro));
            }
            QSet<QByteArray> mappar;
            for (size_t i = logg.steg.size(); i-- > 0;) {
                const Steg& s = logg.steg[i];
                if (atgarder[i] == Atgard::Inget)
                    continue;
                aterstall(p, s, atgarder[i], steg);
                for (QByteArray rel = foralder(s.rel);; rel = foralder(rel)) {
                    mappar.insert(rel);
                    if (rel.isEmpty())
                        break;
                }
            }
            for (const QByteArray& rel : mappar)
                if (finns(under(p.mal, rel)))
                    synka(under(p.mal, rel));
            // What is left there are second names and copies of files back in
            // their places.
            taBortOchSynka(p.undan);
        } else if (finns(p.undan)) {
            // Cut off while written, yet something was moved aside: no telling
            // what the copy did.
            otillforlitlig();
        }
        taBortLoggen();
    }
    QByteArray bak;
    if (finns(p.undan)) {
        bak = valjBak(p);
        if (finns(bak)) {
            anropa(steg, {});
            krav(taBortMarkerad(bak));
        }
        anropa(steg, {});
        krav(sys().rename(p.undan.constData(), bak.constData()) == 0);
        synka(p.destination);
    }
    taBortOchSynka(p.staging);
    return bak;
}

} // namespace Mappkopia::detalj
