#include "platform/folder_copy/Angring.h"

#include "platform/folder_copy/Inflyttning.h"
#include "platform/folder_copy/Kopieringslogg.h"
#include "platform/folder_copy/Mappkopia.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

namespace Mappkopia::detalj {

namespace {

// Whether a name is a competition's lock (".Cup.lock"): a folder holding one
// is held open by a program.
bool arLas(const QByteArray& namn) {
    return namn.size() > 6 && namn.startsWith('.') &&
           (namn.endsWith(".lock") || namn.endsWith(".lock.rmlock"));
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
        return markerad(bak, Markering);
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

// Where one entry stands in the copy's order of moves. The copy moves the
// entries in the record's order and the undo takes them back in the reverse
// one, so at every moment the entries before some point have moved in, those
// after it wait, and at most the one at it is half way (a folder moved aside,
// the new one not yet in).
enum class Lage { Vantar, Mellan, Inne };

struct Bedomning {
    Lage lage;
    Atgard atgard;
};

QString nativ(const QByteArray& sokvag) {
    return QDir::toNativeSeparators(QFile::decodeName(sokvag));
}

// Refuses the record, telling what was found.
[[noreturn]] void misstro(const char* mall, const QByteArray& sokvag, const QByteArray& annan = {}) {
    QString orsak = QString::fromUtf8(mall).arg(nativ(sokvag));
    if (!annan.isEmpty())
        orsak = orsak.arg(nativ(annan));
    otillforlitlig(orsak);
}

const char* const Dubbel = "%1 finns både i mappen och i kopieringens tillfälliga mapp %2.";
const char* const DubbelUndan = "%1 finns både i mappen och bland de undanflyttade filerna i %2.";
const char* const Ingenstans = "%1 saknas: den finns varken i mappen eller där kopieringen lämnar den.";
const char* const Andrad = "%1 är inte som kopieringen lämnade den: den har ändrats eller bytts ut sedan.";
const char* const Ovantad = "%1 är varken en fil eller en mapp.";

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

// Where one entry stands, from the three places together, and what putting it
// back takes. The undo moves only what is what the copy moved: what the target
// holds in place of the entry is the new one the copy brought, and what the
// moved-aside folder holds is the old one. An entry waits when its new version
// is still in the staging folder (or, for a file the undo put back, gone) and
// the target holds its old one or, for one new to the target, nothing. Any
// other picture - a new version both in the staging folder and in the target,
// as a copy by hand over a cut-off one leaves, an old one both aside and in
// the target, an entry nowhere, one changed - is no state of this copy.
Bedomning bestam(const Platser& p, const Steg& s, const Tidsregel& regel, Narvaro& narvaro) {
    const QByteArray mal = under(p.mal, s.rel), undan = under(p.undan, s.rel), ny = under(p.staging, s.rel);
    struct stat t {
    }, u{}, n{};
    const bool iMal = narvaro.finns(p.mal, s.rel) && finns(mal, &t);
    const bool iUndan = narvaro.finns(p.undan, s.rel) && finns(undan, &u);
    const bool iNy = narvaro.finns(p.staging, s.rel) && finns(ny, &n);
    // The copy fills its staging folder with files and folders only.
    if (iNy && !S_ISREG(n.st_mode) && !S_ISDIR(n.st_mode))
        misstro(Ovantad, ny);
    const auto nyIMal = [&] { return iMal && heltStammer(mal, s.rel, s.ny, s.nyInre, regel); };
    const auto gammalIMal = [&] { return iMal && heltStammer(mal, s.rel, s.gammal, s.gammalInre, regel); };
    const auto gammalIUndan = [&] {
        if (!heltStammer(undan, s.rel, s.gammal, s.gammalInre, regel))
            misstro(Andrad, undan);
    };
    // What lies in the target of an entry that waits: its old version, or
    // nothing for one new to it.
    const auto vantar = [&] {
        if (s.typ == Steg::Ny ? !iMal : gammalIMal())
            return Bedomning{Lage::Vantar, Atgard::Inget};
        if (!iMal)
            misstro(Ingenstans, mal);
        if (s.typ != Steg::Journal && iNy && nyIMal())
            misstro(Dubbel, mal, p.staging);
        misstro(Andrad, mal);
    };
    const auto inne = [&](Atgard a) {
        if (!iMal)
            misstro(Ingenstans, mal);
        if (!nyIMal())
            misstro(Andrad, mal);
        return Bedomning{Lage::Inne, a};
    };
    switch (s.typ) {
    case Steg::Ny:
        if (iUndan)
            misstro(DubbelUndan, mal, p.undan);
        return iNy ? vantar() : inne(Atgard::TillStaging);
    case Steg::Journal:
        // Moved aside in one rename: never in both places, never in neither.
        if (!iUndan)
            return vantar();
        if (iMal)
            misstro(DubbelUndan, mal, p.undan);
        gammalIUndan();
        return {Lage::Inne, Atgard::TillMal};
    case Steg::Ersatt:
        break;
    }
    if (!iNy) {
        // Moved in; or a file the undo has put back in its place, its new
        // version gone with that.
        if (!iUndan) {
            if (s.fil() && gammalIMal())
                return {Lage::Vantar, Atgard::Inget};
            if (!iMal)
                misstro(Ingenstans, mal);
            misstro(Andrad, mal);
        }
        gammalIUndan();
        return inne(s.fil() ? Atgard::TillMal : Atgard::TillStagingOchMal);
    }
    if (!iUndan)
        return vantar();
    // Half way. A folder, or a file where a folder was, is moved aside in one
    // rename: the target holds nothing of it until the new one comes.
    if (!iMal) {
        gammalIUndan();
        return {Lage::Mellan, Atgard::TillMal};
    }
    // A file given a second name or copied aside: the old one is still in its
    // place, and what is aside goes with the folder. It waits as far as the
    // order goes: the undo leaves it so while it takes back the entries
    // before it.
    const bool andraNamnet = t.st_nlink == 2 && u.st_dev == t.st_dev && u.st_ino == t.st_ino;
    struct stat ett = t;
    if (andraNamnet)
        ett.st_nlink = 1;
    if (!s.fil() || !S_ISREG(u.st_mode))
        misstro(DubbelUndan, mal, p.undan);
    if (!stammer(mal, s.gammal, regel, &ett))
        misstro(nyIMal() ? Dubbel : Andrad, mal, p.staging);
    return {Lage::Vantar, Atgard::Inget};
}

// The entries stand where the copy's order of moves can have left them at one
// moment: those that moved in first, then at most one half way, then those
// that wait. Answers the first that has not moved in.
size_t iOrdning(const std::vector<Steg>& steg, const std::vector<Bedomning>& b, const Platser& p) {
    size_t senast = 0; // the first entry that has not moved in
    while (senast < b.size() && b[senast].lage == Lage::Inne)
        ++senast;
    for (size_t i = senast + 1; i < b.size(); ++i)
        if (b[i].lage != Lage::Vantar)
            misstro("%1 har flyttats in, men inte %2, som kopieringen flyttar före den.",
                    under(p.mal, steg[i].rel), under(p.mal, steg[senast].rel));
    return senast;
}

// Moves rel from one of the three places to another, never through a link.
void flytta(const QByteArray& fran, const QByteArray& till, const QByteArray& rel) {
    if (lankPaVagen(fran, rel) || lankPaVagen(till, rel))
        misstro("En symbolisk länk står på vägen till %1.", under(fran, rel));
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
// put there by someone else, and a staging or moved-aside folder that holds
// anything is one the program marked as it made it.
void granskaMappar(const Platser& p) {
    for (const QByteArray* mapp : {&p.mal, &p.staging, &p.undan}) {
        struct stat st {};
        if (finns(*mapp, &st) && !S_ISDIR(st.st_mode))
            misstro("%1 är ingen mapp.", *mapp);
    }
    for (const auto& [mapp, markering] :
         {std::pair{&p.staging, &Kopiemarkering}, std::pair{&p.undan, &Markering}})
        if (finns(*mapp) && !namnI(*mapp).empty() && !markerad(*mapp, *markering))
            misstro("Mappen %1 saknar programmets märke: programmet vet inte att den är dess egen.", *mapp);
}

// The folders that hold the given entries, in the target (and aside, with
// undan), flushed: what moved there lasts.
void synkaMappar(const Platser& p, const std::vector<const Steg*>& steg, bool undan) {
    QSet<QByteArray> mappar;
    for (const Steg* s : steg)
        for (QByteArray rel = foralder(s->rel);; rel = foralder(rel)) {
            mappar.insert(rel);
            if (rel.isEmpty())
                break;
        }
    for (const QByteArray& rel : mappar)
        for (const QByteArray* rot : {&p.mal, &p.undan})
            if (struct stat st{};
                (rot == &p.mal || undan) && finns(under(*rot, rel), &st) && S_ISDIR(st.st_mode))
                synka(under(*rot, rel));
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

QByteArray stadaUpp(const Platser& p, const std::function<void(const QString&)>& steg, Avbrott satt,
                    std::optional<size_t> egen) {
    // A new target brings the staging folder's mark along until it is
    // removed there.
    if (const QByteArray mark = under(p.mal, Kopiemarkering); markerad(p.mal, Kopiemarkering)) {
        anropa(steg, {});
        krav(sys().unlink(mark.constData()) == 0 || errno == ENOENT);
        synka(p.mal);
    }
    if (!finns(p.logg) && !finns(p.staging) && !finns(p.undan))
        return {};
    granskaMappar(p);
    const auto taBortOchSynka = [&](const QByteArray& sokvag, const QByteArray& markering) {
        if (!finns(sokvag))
            return;
        anropa(steg, {});
        krav(taBort(sokvag, markering));
        synka(p.destination);
    };
    const auto taBortLoggen = [&] {
        anropa(steg, {});
        krav(sys().unlink(p.logg.constData()) == 0 || errno == ENOENT);
        synka(p.destination);
    };
    if (finns(p.logg)) {
        Logg logg;
        try {
            logg = lasLogg(p.logg);
        } catch (const Systemfel& f) {
            if (f.fel != Otillforlitlig)
                throw;
            misstro("Kopieringens logg %1 är inte en logg som programmet skriver.", p.logg);
        }
        if (logg.hel) {
            // The staging folder stays until the record has gone: without it
            // the record is no copy's of this program.
            if (!finns(p.staging))
                misstro("Kopieringens tillfälliga mapp %1 saknas, fast loggen finns kvar.", p.staging);
            // Every entry checked, where it stands and what putting it back
            // takes known, before the first is touched.
            const Tidsregel regel = tidsregel(p.destination);
            QSet<QByteArray> sett;
            Narvaro narvaro;
            std::vector<Bedomning> bedomt;
            bedomt.reserve(logg.steg.size());
            for (size_t i = 0; i < logg.steg.size(); ++i) {
                const Steg& s = logg.steg[i];
                // A copy that failed itself knows how far it came: what it did
                // not begin is not looked at, and the entry it was moving
                // moved only aside, if at all.
                if (egen && (i > *egen || (i == *egen && s.typ == Steg::Ny))) {
                    bedomt.push_back({Lage::Vantar, Atgard::Inget});
                    continue;
                }
                for (const QByteArray* rot : {&p.mal, &p.staging, &p.undan})
                    if (lankPaVagen(*rot, s.rel, &sett))
                        misstro("En symbolisk länk står på vägen till %1.", under(*rot, s.rel));
                bedomt.push_back(bestam(p, s, regel, narvaro));
            }
            const auto kvar = logg.steg.begin() + std::ptrdiff_t(iOrdning(logg.steg, bedomt, p));
            // What had not moved in lies whole in the staging folder, as the
            // copy flushed it before it wrote its record: the copy is ended
            // from where it stopped, as it would have ended itself. Taken
            // back, a copy by hand over it that nothing can tell from it -
            // every file it touched as the copy would have brought it - would
            // lose its newer files; ended, it keeps them.
            if (!egen && satt == Avbrott::Avsluta && std::all_of(kvar, logg.steg.end(), [&](const Steg& s) {
                    return s.typ == Steg::Journal ||
                           heltStammer(under(p.staging, s.rel), s.rel, s.ny, s.nyInre, regel);
                })) {
                Inflyttning inflyttning(p, true, regel, steg);
                std::vector<const Steg*> alla;
                for (const Steg& s : logg.steg)
                    alla.push_back(&s);
                for (auto s = kvar; s != logg.steg.end(); ++s)
                    inflyttning.flyttaIn(*s);
                synkaMappar(p, alla, true);
                synka(p.destination);
                taBortLoggen();
            } else {
                // Back in the reverse order of the moves, so that an undo cut
                // off leaves the entries as a copy cut off would.
                std::vector<const Steg*> flyttade;
                for (size_t i = logg.steg.size(); i-- > 0;) {
                    if (bedomt[i].atgard == Atgard::Inget)
                        continue;
                    aterstall(p, logg.steg[i], bedomt[i].atgard, steg);
                    flyttade.push_back(&logg.steg[i]);
                }
                synkaMappar(p, flyttade, false);
                // What is left there are second names and copies of files back
                // in their places.
                taBortOchSynka(p.undan, Markering);
                taBortLoggen();
            }
        } else if (finns(p.undan)) {
            // Cut off while written, yet something was moved aside: no telling
            // what the copy did.
            misstro("Kopieringens logg %1 är inte hel, fast filer har flyttats undan.", p.logg);
        } else {
            taBortLoggen();
        }
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
    taBortOchSynka(p.staging, Kopiemarkering);
    return bak;
}

} // namespace Mappkopia::detalj
