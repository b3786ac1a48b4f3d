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
#include <memory>
#include <optional>
#include <vector>

namespace Mappkopia::detalj {

namespace {

// Whether a folder holds nothing besides the program's own files (its mark, a
// mark or a copy on its way there), each a plain file.
bool baraEgna(const QByteArray& mapp) {
    const std::vector<QByteArray> namn = namnI(mapp);
    return std::all_of(namn.begin(), namn.end(), [&](const QByteArray& n) {
        struct stat st {};
        return arEgen(n) && finns(under(mapp, n), &st) && S_ISREG(st.st_mode);
    });
}

// Whether the staging folder still holds anything the copy brought that is
// not a folder: once every entry has moved in, only the folders that were
// filled entry by entry are left there, with the program's marks.
bool nyaFiler(const QByteArray& mapp, bool rot = true) {
    for (const QByteArray& namn : namnI(mapp)) {
        if (rot && arEgen(namn))
            continue;
        struct stat st {};
        const QByteArray sokvag = under(mapp, namn);
        if (!finns(sokvag, &st) || !S_ISDIR(st.st_mode) || nyaFiler(sokvag, false))
            return true;
    }
    return false;
}

// Whether the folder bak beside the target is a backup this program made and
// still holds only what the copy put there, and so may be emptied: a real
// folder whose mark lists what it holds, each entry as its picture says (an
// entry missing is one a removal of ours took, or the operator: nothing of
// theirs is lost with it), or an empty one. Anything else in it - a note, a
// lock of a program that opened it as a competition, a file changed since -
// makes it the operator's, and so does a mark that lists nothing (an earlier
// version's).
bool arVar(const QByteArray& bak, const Tidsregel& regel) {
    struct stat st {};
    if (!finns(bak, &st) || !S_ISDIR(st.st_mode))
        return false;
    try {
        if (namnI(bak).empty())
            return true;
        if (!markerad(bak, Markering))
            return false;
        const std::optional<std::vector<Inre>> lista = lasMarkering(under(bak, Markering));
        if (!lista)
            return false;
        QHash<QByteArray, const Bild*> listat;
        QSet<QByteArray> vagar; // the folders on the way to what is listed
        for (const Inre& i : *lista) {
            listat.insert(i.rel, &i.bild);
            for (QByteArray r = foralder(i.rel); !r.isEmpty(); r = foralder(r))
                vagar.insert(r);
        }
        const std::function<bool(const QByteArray&)> bara = [&](const QByteArray& rel) {
            for (const QByteArray& namn : namnI(under(bak, rel))) {
                const QByteArray r = inre(rel, namn);
                if (rel.isEmpty() && arEgen(namn))
                    continue;
                struct stat post {};
                const QByteArray sokvag = under(bak, r);
                if (!finns(sokvag, &post))
                    return false;
                if (const Bild* b = listat.value(r)) {
                    if (!stammer(sokvag, *b, regel, &post) || (b->typ == 'D' && !bara(r)))
                        return false;
                } else if (!vagar.contains(r) || !S_ISDIR(post.st_mode) || !bara(r)) {
                    return false;
                }
            }
            return true;
        };
        return bara({});
    } catch (const Systemfel&) {
        return false;
    }
}

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
// back takes; part of bestam, which alone decides. The undo moves only what is what the copy moved: what the
// target holds in place of the entry is the new one the copy brought, and what the moved-aside folder holds
// is the old one. An entry waits when its new version is still in the staging folder (or, for a file the undo
// put back, gone) and the target holds its old one or, for one new to the target, nothing. Any other picture
// - a new version both in the staging folder and in the target, as a copy by hand over a cut-off one leaves,
// an old one both aside and in the target, an entry nowhere, one changed - is no state of this copy.
Bedomning lageFor(const Platser& p, const Steg& s, const Tidsregel& regel, Narvaro& narvaro) {
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
        if (finns(*mapp) && !baraEgna(*mapp) && !markerad(*mapp, *markering))
            misstro("Mappen %1 saknar programmets märke: programmet vet inte att den är dess egen.", *mapp);
}

const char* const UtanLogg =
    "Kopieringens logg %1 saknas, fast kopieringen hade börjat flytta in filer: de nya "
    "filer som ännu inte har flyttats in ligger kvar i %2.";

// The one decision, with every refusal thrown (Otillforlitlig) to bestam.
void bestamI(const Platser& p, Avbrott satt, std::optional<size_t> egen, Beslut& b) {
    using Vad = Avbrottsbeslut::Vad;
    const bool logg = finns(p.logg), staging = finns(p.staging), undan = finns(p.undan);
    if (!logg && !staging && !undan) {
        // A new target still holding the staging folder's mark took effect.
        b.vad = markerad(p.mal, Kopiemarkering) ? Vad::Avsluta : Vad::Inget;
        return;
    }
    granskaMappar(p);
    // Whether the moved-aside files become the backup when this is done.
    bool blirBak = false;
    if (logg) {
        b.loggFinns = true;
        try {
            b.logg = lasLogg(p.logg);
        } catch (const Systemfel& f) {
            if (f.fel != Otillforlitlig)
                throw;
            misstro("Kopieringens logg %1 är inte en logg som programmet skriver.", p.logg);
        }
        if (!b.logg.hel) {
            // Cut off while it was written, before anything of the target was
            // touched; yet something was moved aside: no telling what the
            // copy did.
            if (undan)
                misstro("Kopieringens logg %1 är inte hel, fast filer har flyttats undan.", p.logg);
            b.vad = Vad::TaTillbaka;
            return;
        }
        // The staging folder stays until the record has gone: without it the
        // record is no copy's of this program.
        if (!staging)
            misstro("Kopieringens tillfälliga mapp %1 saknas, fast loggen finns kvar.", p.staging);
        // Every entry checked, where it stands and what putting it back takes
        // known, before the first is touched.
        const std::vector<Steg>& steg = b.logg.steg;
        const Tidsregel regel = tidsregel(p.destination);
        QSet<QByteArray> sett;
        Narvaro narvaro;
        std::vector<Bedomning> bedomt;
        bedomt.reserve(steg.size());
        for (size_t i = 0; i < steg.size(); ++i) {
            const Steg& s = steg[i];
            // A copy that failed itself knows how far it came: what it did not
            // begin is not looked at, and the entry it was moving moved only
            // aside, if at all.
            if (egen && (i > *egen || (i == *egen && s.typ == Steg::Ny))) {
                bedomt.push_back({Lage::Vantar, Atgard::Inget});
                continue;
            }
            for (const QByteArray* rot : {&p.mal, &p.staging, &p.undan})
                if (lankPaVagen(*rot, s.rel, &sett))
                    misstro("En symbolisk länk står på vägen till %1.", under(*rot, s.rel));
            bedomt.push_back(lageFor(p, s, regel, narvaro));
        }
        const size_t kvar = iOrdning(steg, bedomt, p);
        // What had not moved in lies whole in the staging folder, as the copy
        // flushed it before it wrote its record: ended from where it stopped,
        // as it would have ended itself. Taken back, a copy by hand over it
        // that nothing can tell from it - every file it touched as the copy
        // would have brought it - would lose its newer files; ended, it keeps
        // them. A copy that failed itself is taken back: it says it failed.
        const bool hel = std::all_of(steg.begin() + std::ptrdiff_t(kvar), steg.end(), [&](const Steg& s) {
            return s.typ == Steg::Journal ||
                   heltStammer(under(p.staging, s.rel), s.rel, s.ny, s.nyInre, regel);
        });
        if (!egen && (kvar == steg.size() || (satt == Avbrott::Avsluta && hel))) {
            b.vad = Vad::Avsluta;
            b.fran = kvar;
            blirBak = std::any_of(steg.begin(), steg.end(), [](const Steg& s) { return s.typ != Steg::Ny; });
        } else {
            b.vad = Vad::TaTillbaka;
            for (const Bedomning& d : bedomt)
                b.atgarder.push_back(d.atgard);
        }
    } else {
        // Without its record. A copy cut off while it filled its staging
        // folder left only that: removed, nothing moved. New files still
        // waiting there once the copy had begun to move in, or had moved
        // something aside, mean a record removed by hand: removing them would
        // leave the folder with files of two versions, so only a person can
        // sort it out.
        const bool undanHaller = undan && !baraEgna(p.undan);
        if (staging && nyaFiler(p.staging) && (markerad(p.staging, Flyttmarkering) || undanHaller))
            misstro(UtanLogg, p.logg, p.staging);
        b.vad = undanHaller ? Vad::Avsluta : Vad::TaTillbaka;
        blirBak = undanHaller;
    }
    // Where the moved-aside files go is settled before anything moves.
    if (blirBak)
        valjBak(p);
}

// Where what the target will hold at rel once b is carried out lies now.
QByteArray platsFor(const Platser& p, const Beslut& b, const QByteArray& rel) {
    using Vad = Avbrottsbeslut::Vad;
    if (b.vad == Vad::Vagra)
        return {};
    const std::vector<Steg>& steg = b.logg.steg;
    for (size_t i = 0; b.loggFinns && i < steg.size(); ++i) {
        const Steg& s = steg[i];
        if (rel != s.rel && !rel.startsWith(s.rel + '/'))
            continue;
        if (b.vad == Vad::Avsluta) {
            if (i < b.fran)
                return under(p.mal, rel);
            return s.typ == Steg::Journal ? QByteArray() : under(p.staging, rel);
        }
        if (i >= b.atgarder.size())
            break;
        switch (b.atgarder[i]) {
        case Atgard::Inget:
            break;
        case Atgard::TillStaging:
            return {};
        case Atgard::TillMal:
        case Atgard::TillStagingOchMal:
            return under(p.undan, rel);
        }
        break;
    }
    return under(p.mal, rel);
}

} // namespace

Beslut bestam(const Platser& p, Avbrott satt, std::optional<size_t> egen) {
    Beslut b;
    try {
        bestamI(p, satt, egen, b);
    } catch (const Systemfel& f) {
        if (f.fel != Otillforlitlig)
            throw;
        b = Beslut{};
        b.vad = Avbrottsbeslut::Vad::Vagra;
        b.orsak = f.orsak;
    }
    return b;
}

QByteArray utfor(const Platser& p, const Beslut& b, const std::function<void(const QString&)>& steg) {
    using Vad = Avbrottsbeslut::Vad;
    if (b.vad == Vad::Vagra)
        otillforlitlig(b.orsak);
    const auto taBortFil = [&](const QByteArray& mapp, const QByteArray& namn) {
        const QByteArray fil = under(mapp, namn);
        if (!finns(fil))
            return;
        anropa(steg, {});
        krav(sys().unlink(fil.constData()) == 0 || errno == ENOENT);
        synka(mapp);
    };
    // A new target brings the staging folder's mark along until it is
    // removed there.
    if (markerad(p.mal, Kopiemarkering))
        taBortFil(p.mal, Kopiemarkering);
    if (b.vad == Vad::Inget)
        return {};
    const auto taBortOchSynka = [&](const QByteArray& sokvag, const QByteArray& markering) {
        if (!finns(sokvag))
            return;
        anropa(steg, {});
        krav(taBort(sokvag, markering));
        synka(p.destination);
    };
    if (b.loggFinns && b.vad == Vad::Avsluta) {
        Inflyttning(p, true, tidsregel(p.destination), steg).avsluta(b.logg.steg, b.fran);
        synka(p.destination);
    } else if (b.loggFinns) {
        // Back in the reverse order of the moves, so that an undo cut off
        // leaves the entries as a copy cut off would.
        std::vector<QByteArray> flyttade;
        for (size_t i = b.atgarder.size(); i-- > 0;) {
            if (b.atgarder[i] == Atgard::Inget)
                continue;
            aterstall(p, b.logg.steg[i], b.atgarder[i], steg);
            flyttade.push_back(b.logg.steg[i].rel);
        }
        // What moved back into the target lasts.
        synkaForaldrar(flyttade, {&p.mal});
        // What is left there are second names and copies of files back in
        // their places.
        taBortOchSynka(p.undan, Markering);
        // The new files are back in the staging folder: without its record,
        // a staging folder marked as moving in would be refused.
        taBortFil(p.staging, Flyttmarkering);
        anropa(steg, {});
        krav(sys().unlink(p.logg.constData()) == 0 || errno == ENOENT);
        synka(p.destination);
    }
    QByteArray bak;
    if (finns(p.undan) && baraEgna(p.undan)) {
        // Nothing was moved aside: the previous backup stays.
        taBortOchSynka(p.undan, Markering);
    } else if (finns(p.undan)) {
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

QByteArray valjBak(const Platser& p) {
    const Tidsregel regel = tidsregel(p.destination);
    for (int n = 1; n <= SistaSakerhetskopia; ++n) {
        const QByteArray bak = p.bakNamn(n);
        if (!finns(bak) || arVar(bak, regel))
            return bak;
    }
    vagra(IngenSakerhetskopia, p.bak);
}

bool taBortMarkerad(const QByteArray& mapp) {
    return taBort(mapp, Markering);
}

} // namespace Mappkopia::detalj

namespace Mappkopia {

using namespace detalj;

bool avbruten(const QString& mal) {
    const Platser p(mal);
    return p.giltig &&
           (finns(p.logg) || finns(p.staging) || finns(p.undan) || markerad(p.mal, Kopiemarkering));
}

Avbrottsbeslut bedomAvbruten(const QString& mal, Avbrott satt) {
    Avbrottsbeslut svar;
    auto p = std::make_shared<const Platser>(mal);
    if (!p->giltig) {
        svar.vad = Avbrottsbeslut::Vad::Vagra;
        svar.utfall.fel = EINVAL;
        return svar;
    }
    try {
        auto b = std::make_shared<const Beslut>(bestam(*p, satt));
        svar.vad = b->vad;
        if (b->vad == Avbrottsbeslut::Vad::Vagra) {
            svar.utfall.fel = Otillforlitlig;
            svar.utfall.orsak = b->orsak;
        }
        svar.plats = [p, b](const QString& rel) {
            const QByteArray sokvag = platsFor(*p, *b, QFile::encodeName(QDir::cleanPath(rel)));
            return sokvag.isEmpty() ? QString() : QFile::decodeName(sokvag);
        };
    } catch (const Systemfel& f) {
        svar.vad = Avbrottsbeslut::Vad::Vagra;
        svar.utfall.fel = f.fel;
        svar.utfall.sokvag = QFile::decodeName(f.sokvag);
    }
    return svar;
}

Utfall angraAvbruten(const QString& mal, Avbrott satt, const std::function<void(const QString& rel)>& steg) {
    Utfall u;
    const Platser p(mal);
    if (!p.giltig) {
        u.fel = EINVAL;
        return u;
    }
    try {
        u.sakerhetskopia = QFile::decodeName(utfor(p, bestam(p, satt), steg));
    } catch (const Systemfel& f) {
        u.fel = f.fel;
        u.orsak = f.orsak;
        u.sokvag = QFile::decodeName(f.sokvag);
    }
    return u;
}

Kvarlamnat kvarlamnat(const QString& mal) {
    Kvarlamnat k;
    const Platser p(mal);
    if (!p.giltig)
        return k;
    const auto omFinns = [](const QByteArray& sokvag) {
        return finns(sokvag) ? QFile::decodeName(sokvag) : QString();
    };
    k.logg = omFinns(p.logg);
    k.staging = omFinns(p.staging);
    k.undan = omFinns(p.undan);
    // The first backup the program made there that holds more than its mark,
    // whether it is still the program's to empty or has become the
    // operator's: either keeps a version of the competition.
    for (int n = 1; n <= SistaSakerhetskopia; ++n) {
        const QByteArray bak = p.bakNamn(n);
        struct stat st {};
        try {
            if (finns(bak, &st) && S_ISDIR(st.st_mode) && markerad(bak, Markering) && !baraEgna(bak)) {
                k.sakerhetskopia = QFile::decodeName(bak);
                break;
            }
        } catch (const Systemfel&) {
        }
    }
    return k;
}

} // namespace Mappkopia
