#include "platform/folder_copy/Kopieringslogg.h"

#include "platform/Filnamn.h"
#include "platform/folder_copy/Filstod.h"
#include "platform/folder_copy/Mappkopia.h"

#include <QHash>
#include <QSet>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <unistd.h>

namespace Mappkopia::detalj {

namespace {

bool lasBild(const QByteArray& text, Bild& b) {
    if (text == "D") {
        b.typ = 'D';
        return true;
    }
    const QList<QByteArray> delar = text.split(':');
    if (delar.size() != 4 || delar.at(0) != "F")
        return false;
    bool ok1 = false, ok2 = false, ok3 = false;
    b.typ = 'F';
    b.storlek = delar.at(1).toLongLong(&ok1);
    b.sek = delar.at(2).toLongLong(&ok2);
    b.nsek = delar.at(3).toLongLong(&ok3);
    return ok1 && ok2 && ok3 && b.storlek >= 0 && b.nsek >= 0 && b.nsek < 1'000'000'000;
}

// A path of a record as this program writes it: percent-encoded, and once
// decoded a path below the target with no way out of it.
bool giltigPost(QByteArrayView kodad, QByteArray& rel) {
    bool procent = false;
    for (const char c : kodad) {
        if (c == '%')
            procent = true;
        else if (!std::isalnum(static_cast<unsigned char>(c)) && !std::strchr("-._~", c))
            return false;
    }
    rel = procent ? QByteArray::fromPercentEncoding(kodad.toByteArray()) : kodad.toByteArray();
    if (rel.isEmpty() || rel.contains('\0'))
        return false;
    for (qsizetype i = 0; i <= rel.size();) {
        qsizetype slut = rel.indexOf('/', i);
        if (slut < 0)
            slut = rel.size();
        const QByteArrayView del(rel.constData() + i, slut - i);
        if (del.isEmpty() || del == "." || del == "..")
            return false;
        i = slut + 1;
    }
    return true;
}

// One line of the record into l; false when it is not one this program
// writes.
bool lasRad(QByteArrayView rad, Logg& l, QSet<QByteArray>& steg, QSet<QByteArray>& inreSett) {
    QByteArrayView f[5];
    qsizetype antal = 0;
    for (qsizetype i = 0; antal < 5;) {
        const qsizetype slut = rad.indexOf(' ', i);
        f[antal++] = rad.sliced(i, (slut < 0 ? rad.size() : slut) - i);
        if (slut < 0)
            break;
        i = slut + 1;
    }
    if (antal < 3 || antal > 4 || f[0].size() != 1)
        return false;
    const char typ = f[0].at(0);
    QByteArray rel;
    if (!giltigPost(f[1], rel))
        return false;
    if (typ == 'n' || typ == 'u') {
        if (antal != 3 || l.steg.empty())
            return false;
        Steg& s = l.steg.back();
        Inre i{rel, {}};
        const bool ny = typ == 'n';
        if (!lasBild(f[2].toByteArray(), i.bild) || (ny ? s.ny : s.gammal).typ != 'D' ||
            !rel.startsWith(s.rel + '/'))
            return false;
        const QByteArray nyckel = typ + rel;
        if (inreSett.contains(nyckel))
            return false;
        inreSett.insert(nyckel);
        (ny ? s.nyInre : s.gammalInre).push_back(i);
        return true;
    }
    Steg s{Steg::Ny, rel, {}, {}, {}, {}};
    switch (typ) {
    case 'N':
        if (antal != 3 || !lasBild(f[2].toByteArray(), s.ny))
            return false;
        break;
    case 'E':
        if (antal != 4 || !lasBild(f[2].toByteArray(), s.ny) || !lasBild(f[3].toByteArray(), s.gammal))
            return false;
        break;
    case 'J':
        if (antal != 3 || !lasBild(f[2].toByteArray(), s.gammal) || s.gammal.typ != 'F')
            return false;
        break;
    default:
        return false;
    }
    if (steg.contains(rel))
        return false;
    steg.insert(rel);
    inreSett.clear();
    s.typ = Steg::Typ(typ);
    l.steg.push_back(std::move(s));
    return true;
}

} // namespace

// What a file system keeps of a modification time: FAT two seconds, exFAT ten
// milliseconds (kept here with FAT's rules), NTFS a tenth of a microsecond.
Tidsregel tidsregel(const QByteArray& mapp) {
    if (filsystem(QFile::decodeName(mapp)) == Filsystem::Fat)
        return {qint64(2'000'000'000), true};
    return {};
}

Bild bildAv(const struct stat& st) {
    Bild b;
    if (S_ISDIR(st.st_mode)) {
        b.typ = 'D';
        return b;
    }
    b.typ = 'F';
    b.storlek = qint64(st.st_size);
    b.sek = qint64(st.st_mtim.tv_sec);
    b.nsek = qint64(st.st_mtim.tv_nsec);
    return b;
}

QByteArray bildtext(const Bild& b) {
    if (b.typ == 'D')
        return "D";
    return "F:" + QByteArray::number(b.storlek) + ':' + QByteArray::number(b.sek) + ':' +
           QByteArray::number(b.nsek);
}

namespace {
constexpr qint64 FatForsta = 315'619'200;  // 1980-01-02 UTC
constexpr qint64 FatSista = 4'354'646'400; // 2107-12-30 UTC
} // namespace

struct timespec Tidsregel::hallbar(struct timespec t) const {
    if (fat && (t.tv_sec < FatForsta || t.tv_sec > FatSista))
        return {time_t(t.tv_sec < FatForsta ? FatForsta : FatSista), 0};
    return t;
}

bool stammer(const QByteArray& sokvag, const Bild& b, const Tidsregel& regel, const struct stat* sett) {
    struct stat st {};
    if (sett)
        st = *sett;
    else if (!finns(sokvag, &st))
        return false;
    if (b.typ == 'D')
        return S_ISDIR(st.st_mode);
    if (!S_ISREG(st.st_mode) || qint64(st.st_size) != b.storlek || st.st_nlink != 1)
        return false;
    // A time outside FAT's years, shown as set while mounted, reads as the
    // nearest inside them once the stick is mounted again: both count as that.
    const struct timespec visad = regel.hallbar(st.st_mtim);
    const struct timespec bild = regel.hallbar({time_t(b.sek), long(b.nsek)});
    const qint64 skillnad = qint64(visad.tv_sec) - qint64(bild.tv_sec);
    if (skillnad > 10 || skillnad < -10)
        return false;
    const qint64 ns = skillnad * 1'000'000'000 + (qint64(visad.tv_nsec) - qint64(bild.tv_nsec));
    return ns <= regel.upplosning && ns >= -regel.upplosning;
}

bool heltStammer(const QByteArray& sokvag, const QByteArray& rel, const Bild& b,
                 const std::vector<Inre>& innehall, const Tidsregel& regel) {
    if (!stammer(sokvag, b, regel))
        return false;
    if (b.typ != 'D')
        return innehall.empty();
    QHash<QByteArray, const Bild*> listat;
    listat.reserve(qsizetype(innehall.size()));
    for (const Inre& i : innehall)
        listat.insert(i.rel.mid(rel.size() + 1), &i.bild);
    qsizetype funna = 0;
    const std::function<bool(const QByteArray&)> mapp = [&](const QByteArray& dar) {
        for (const QByteArray& namn : namnI(under(sokvag, dar))) {
            const QByteArray r = inre(dar, namn);
            const Bild* bild = listat.value(r);
            if (!bild || !stammer(under(sokvag, r), *bild, regel))
                return false;
            ++funna;
            if (bild->typ == 'D' && !mapp(r))
                return false;
        }
        return true;
    };
    return mapp({}) && funna == listat.size();
}

QByteArray loggtext(const std::vector<Steg>& plan, const QByteArray& mal) {
    QByteArray text = Loggrubrik + '\n';
    qsizetype rader = 2; // the first line and the last
    for (const Steg& s : plan) {
        text += char(s.typ) + QByteArray(" ") + s.rel.toPercentEncoding();
        if (s.typ != Steg::Journal)
            text += ' ' + bildtext(s.ny);
        if (s.typ != Steg::Ny)
            text += ' ' + bildtext(s.gammal);
        text += '\n';
        for (const Inre& i : s.nyInre)
            text += "n " + i.rel.toPercentEncoding() + ' ' + bildtext(i.bild) + '\n';
        for (const Inre& i : s.gammalInre)
            text += "u " + i.rel.toPercentEncoding() + ' ' + bildtext(i.bild) + '\n';
        rader += 1 + qsizetype(s.nyInre.size() + s.gammalInre.size());
        if (!rymsILogg(text.size(), rader))
            vagra(ForMangaPoster, mal);
    }
    text += Loggslut + '\n';
    if (!rymsILogg(text.size(), rader))
        vagra(ForMangaPoster, mal);
    return text;
}

namespace {

// A record or a mark is read as whatever lies there: never through a link,
// never something that is not a plain file (a pipe would hold the reader
// up), never more than a record may be. Read in one pass, in time and memory
// in proportion to its length.
std::optional<QByteArray> lasLiten(const QByteArray& fil) {
    Fd fd(::open(fil.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || !rymsILogg(st.st_size, 0))
        return std::nullopt;
    QByteArray text;
    text.reserve(qsizetype(st.st_size));
    std::vector<char> buffert(size_t(1) << 16);
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffert.data(), buffert.size());
        if (n < 0 || !rymsILogg(text.size() + n, 0))
            return std::nullopt;
        if (n == 0)
            return text;
        text.append(buffert.data(), qsizetype(n));
    }
}

const QByteArray Markeringsrubrik = "sakerhetskopia 1";

} // namespace

QByteArray markeringstext(const std::vector<Steg>& steg) {
    QByteArray text = Markeringstext + Markeringsrubrik + '\n';
    for (const Steg& s : steg) {
        if (s.typ == Steg::Ny)
            continue;
        text += "u " + s.rel.toPercentEncoding() + ' ' + bildtext(s.gammal) + '\n';
        for (const Inre& i : s.gammalInre)
            text += "u " + i.rel.toPercentEncoding() + ' ' + bildtext(i.bild) + '\n';
    }
    return text + Loggslut + '\n';
}

std::optional<std::vector<Inre>> lasMarkering(const QByteArray& fil) {
    const std::optional<QByteArray> text = lasLiten(fil);
    const QByteArray huvud = Markeringstext + Markeringsrubrik + '\n';
    if (!text || !text->startsWith(huvud) || !text->endsWith('\n' + Loggslut + '\n'))
        return std::nullopt;
    std::vector<Inre> lista;
    QSet<QByteArray> sett;
    const qsizetype slut = text->size() - Loggslut.size() - 1;
    for (qsizetype pos = huvud.size(); pos < slut;) {
        const qsizetype radslut = text->indexOf('\n', pos);
        const QByteArrayView rad(text->constData() + pos, radslut - pos);
        pos = radslut + 1;
        const qsizetype mellan = rad.lastIndexOf(' ');
        Inre i;
        if (!rad.startsWith("u ") || mellan < 2 || !giltigPost(rad.sliced(2, mellan - 2), i.rel) ||
            !lasBild(rad.sliced(mellan + 1).toByteArray(), i.bild) || sett.contains(i.rel))
            return std::nullopt;
        sett.insert(i.rel);
        lista.push_back(std::move(i));
    }
    return lista;
}

Logg lasLogg(const QByteArray& fil) {
    const std::optional<QByteArray> innehall = lasLiten(fil);
    if (!innehall)
        otillforlitlig();
    const QByteArray& text = *innehall;
    Logg l;
    QSet<QByteArray> steg, inreSett;
    qsizetype pos = 0, rader = 0;
    for (bool forsta = true;; forsta = false) {
        const qsizetype slut = text.indexOf('\n', pos);
        if (slut < 0) {
            // Cut off while it was written: what there is of it must be the
            // start of a record of ours.
            if (forsta && !Loggrubrik.startsWith(text))
                otillforlitlig();
            l.steg.clear();
            return l;
        }
        const QByteArrayView rad(text.constData() + pos, slut - pos);
        pos = slut + 1;
        if (!rymsILogg(0, ++rader))
            otillforlitlig();
        if (forsta) {
            if (rad != Loggrubrik)
                otillforlitlig();
            continue;
        }
        if (rad == Loggslut) {
            if (pos != text.size())
                otillforlitlig();
            break;
        }
        if (!lasRad(rad, l, steg, inreSett))
            otillforlitlig();
    }
    // No entry lies inside another: a folder new to the target moves in whole.
    for (const Steg& s : l.steg)
        for (QByteArray r = foralder(s.rel); !r.isEmpty(); r = foralder(r))
            if (steg.contains(r))
                otillforlitlig();
    l.hel = true;
    return l;
}

} // namespace Mappkopia::detalj
