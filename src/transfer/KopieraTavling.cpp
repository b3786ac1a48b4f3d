#include "transfer/Tavlingsoverforing.h"

#include "platform/Databas.h"
#include "platform/Systemfel.h"
#include "platform/folder_copy/Mappkopia.h"
#include "platform/workbook/Filhallare.h"
#include "platform/workbook/XlsxFil.h"
#include "shell/NyTavling.h"
#include "shell/Tavling.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <cerrno>
#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

namespace Overforing {

QString kopieringsfeltext(int fel) {
    switch (fel) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Disketten är full!");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("Disketten är skrivskyddad!");
    default:
        return systemfeltext(fel);
    }
}

namespace {

// The competition's name in a folder: its database's stem, else the folder's.
QString tavlingsnamn(const QString& kalla, const QString& mappnamn) {
    const QDir mapp(kalla);
    if (QFileInfo(mapp.filePath(mappnamn + QStringLiteral(".air"))).isFile())
        return mappnamn;
    const QStringList air = mapp.entryList({QStringLiteral("*.air")}, QDir::Files, QDir::Name);
    return air.isEmpty() ? mappnamn : air.first().chopped(4);
}

// A file the operator write-protected, or one open in a spreadsheet program,
// is not replaced: refused before anything is copied. The mode decides and not
// only access(), which lets root write everything.
int ersattbar(const QString& fil) {
    const QFileInfo info(fil);
    const QByteArray kodad = QFile::encodeName(fil);
    if (!(info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)) ||
        ::access(kodad.constData(), W_OK) != 0)
        return EACCES;
    // A list open in a spreadsheet program would be lost to it; a lock file
    // that nothing backs any more is no reason to refuse.
    return Kalkyl::Filhallare::oppnadAv(fil) ? EACCES : 0;
}

QString megabyte(qint64 byte, bool uppat) {
    const double tiondelar = double(byte) / (1024.0 * 1024.0) * 10.0;
    return QLocale(QLocale::Swedish)
        .toString((uppat ? std::ceil(tiondelar) : std::floor(tiondelar)) / 10.0, 'f', 1);
}

// A copy cut off earlier into mapp that could not be ended or taken back:
// what it left beside the folder cannot be trusted, the backup has no name,
// or a step of it failed.
Kopieringsutfall avbrutenKopia(const QString& mapp, const Mappkopia::Utfall& utfall) {
    Kopieringsutfall u;
    u.sokvagsfel = utfall.fel == Mappkopia::Otillforlitlig || utfall.fel == Mappkopia::IngenSakerhetskopia;
    u.feltext = Tavling::avbrottstext(mapp, utfall);
    return u;
}

// What keeps the copy from being made, found before anything moved, told by
// the place it concerns; empty for a failure of the system.
QString kopieringshinder(const Mappkopia::Utfall& utfall) {
    const QString sokvag = QDir::toNativeSeparators(utfall.sokvag);
    switch (utfall.fel) {
    case Mappkopia::OvantadPost:
        return QStringLiteral(
                   "Kopieringen gjordes inte: %1 är en symbolisk länk, en pipe, en enhet eller en "
                   "fil med flera namn, och sådant ersätter kopieringen inte.\r\nTa bort den eller "
                   "flytta den därifrån, och försök igen.")
            .arg(sokvag);
    case Mappkopia::ForMangaPoster:
        return QStringLiteral("Kopieringen gjordes inte: den skulle ändra fler filer i %1 än en kopiering "
                              "kan hålla reda på. Flytta bort filer som inte hör till tävlingen och försök "
                              "igen.")
            .arg(sokvag);
    case ENOTDIR:
        // Something took the target's place after it was looked at: told as
        // the check tells it.
        return malhinder(utfall.sokvag);
    default:
        return {};
    }
}

// Another copy into a target that it is making, told by the lock beside it.
QString pagaendeKopia(const QString& destmapp, const QString& mappnamn, const Tavling::Las& las) {
    const QString fil = Tavling::lasfil(destmapp, mappnamn + QStringLiteral(".kopia"));
    if (!las.felaktig.isEmpty())
        return felaktigtKopieringslas(destmapp + QLatin1Char('/') + mappnamn, las.felaktig,
                                      las.felaktigtSlag);
    if (!las.upptagen)
        return las.fel == QLockFile::PermissionError
                   ? kopieringsfeltext(EACCES)
                   : QStringLiteral("Kopieringen till %1 kan inte låsas: "
                                    "låsfilen %2 går inte att skapa.")
                         .arg(QDir::toNativeSeparators(destmapp + QLatin1Char('/') + mappnamn),
                              QDir::toNativeSeparators(fil));
    // What the lock said when it was looked at: it is not read again, since
    // it may have become anything (a pipe) meanwhile.
    return QStringLiteral("En annan kopiering till %1 pågår redan, i %2 på datorn %3 (process %4).\r\n"
                          "Vänta tills den är klar. Om ingen kopiering pågår där kan låsfilen %5 tas bort.")
        .arg(QDir::toNativeSeparators(destmapp + QLatin1Char('/') + mappnamn),
             las.program.isEmpty() ? QStringLiteral("ett annat program") : las.program,
             las.dator.isEmpty() ? QStringLiteral("?") : las.dator, QString::number(las.process),
             QDir::toNativeSeparators(fil));
}

} // namespace

bool utelamnas(const QString& namn) {
    return Tavling::arLasfil(namn) || Kalkyl::Filhallare::arLasfil(namn) ||
           Kalkyl::XlsxFil::arTillfallig(namn) || NyTavling::arTillfalligtNamn(namn) ||
           Databas::arSidofil(namn) || Mappkopia::arEgenFil(namn);
}

QString sakerhetskopia(const QString& malmapp) {
    return Mappkopia::sakerhetskopia(malmapp);
}

Kopieringsutfall kopieraTavlingsmapp(const QString& destination, const QString& kalla) {
    Kopieringsutfall u;
    // Refused before anything was copied: told on its own, not as a failed copy.
    const auto vagrad = [&u](const QString& text) {
        u.feltext = text;
        u.sokvagsfel = true;
        return u;
    };
    const QString kallmapp = QDir::cleanPath(kalla);
    const QString mappnamn = QFileInfo(kallmapp).fileName();
    const QString destmapp = QDir::cleanPath(destination);
    const QString mal = QDir::cleanPath(destmapp + QLatin1Char('/') + mappnamn);
    struct stat st {};
    // A volume's root has no name to copy under.
    const int kallfel = ::stat(QFile::encodeName(kallmapp).constData(), &st) != 0 ? errno
                        : !S_ISDIR(st.st_mode)                                    ? ENOTDIR
                        : mappnamn.isEmpty() || mal == destmapp                   ? EINVAL
                                                                                  : 0;
    if (kallfel) {
        u.feltext = kopieringsfeltext(kallfel);
        return u;
    }
    const QString namn = tavlingsnamn(kallmapp, mappnamn);
    // A copy into the source cut off earlier is ended before the source is
    // read (it is copied as it is to be used), when nobody has it; one that
    // has it open ended it itself.
    if (Mappkopia::avbruten(kallmapp)) {
        const Tavling::Las kallas = Tavling::lasTavling(kallmapp, namn);
        if (!kallas.felaktig.isEmpty())
            return vagrad(kallas.text);
        if (kallas.fil)
            if (const Mappkopia::Utfall a = Mappkopia::angraAvbruten(kallmapp, Mappkopia::Avbrott::Avsluta);
                a.fel)
                return avbrutenKopia(kallmapp, a);
    }
    // The copy leaves links and pipes out: a database or its settings that is
    // one would be missing at the target of a copy that says it is done.
    // Looked at again here, not only by the check before the question: the
    // source may have changed while it was asked.
    if (const QString hinder = databashinder(kallmapp); !hinder.isEmpty())
        return vagrad(hinder);
    if (const QString hinder = installningshinder(kallmapp); !hinder.isEmpty())
        return vagrad(hinder);
    if (const QString hinder = malhinder(mal); !hinder.isEmpty())
        return vagrad(hinder);
    // Every copy into this target holds the copy's lock beside it: a target
    // not there yet has no lock of its own to keep another copy out, and
    // with the copy's lock held no other copy makes it meanwhile. A stale one,
    // left by a copy killed after it made the target, is taken over.
    const Tavling::Las kopielas = Tavling::lasTavling(destmapp, mappnamn + QStringLiteral(".kopia"));
    if (!kopielas.fil) {
        u.feltext = pagaendeKopia(destmapp, mappnamn, kopielas);
        u.sokvagsfel = kopielas.upptagen || !kopielas.felaktig.isEmpty();
        return u;
    }
    // A target that is there is a competition too: nobody may have it open.
    Tavling::Las las;
    if (::lstat(QFile::encodeName(mal).constData(), &st) == 0) {
        las = Tavling::lasTavling(mal, namn, Tavling::Lasorsak::Kopiera);
        if (!las.fil) {
            if (las.upptagen || !las.felaktig.isEmpty())
                return vagrad(las.text);
            u.feltext = las.fel == QLockFile::PermissionError ? kopieringsfeltext(EACCES) : las.text;
            return u;
        }
    }
    Mappkopia::Uppdrag uppdrag;
    uppdrag.kalla = kallmapp;
    uppdrag.mal = mal;
    uppdrag.utelamnas = utelamnas;
    uppdrag.databas = [](const QString& fil) {
        return fil.endsWith(QStringLiteral(".air"), Qt::CaseInsensitive);
    };
    uppdrag.ersattbar = ersattbar;
    // What the checks above found plain may have changed since: the copy
    // looks at the database and its settings again as it reads them.
    uppdrag.vanligFil = [](const QString& rel) {
        return !rel.contains(QLatin1Char('/')) &&
               (rel.endsWith(QStringLiteral(".air"), Qt::CaseInsensitive) ||
                rel.endsWith(QStringLiteral(".ini"), Qt::CaseInsensitive));
    };
    const Mappkopia::Utfall utfall = Mappkopia::kopiera(uppdrag);
    if (!utfall.fel) {
        if (!utfall.sakerhetskopia.isEmpty() && utfall.sakerhetskopia != Mappkopia::sakerhetskopia(mal))
            u.sakerhetskopia = utfall.sakerhetskopia;
        return u;
    }
    if (utfall.fel == Mappkopia::OvanligKalla) {
        QString hinder = databashinder(kallmapp);
        if (hinder.isEmpty())
            hinder = installningshinder(kallmapp);
        return vagrad(!hinder.isEmpty() ? hinder
                                        : QStringLiteral("Kopieringen gjordes inte: %1 är ingen vanlig fil.")
                                              .arg(QDir::toNativeSeparators(utfall.sokvag)));
    }
    if (utfall.fel == Mappkopia::Otillforlitlig || utfall.fel == Mappkopia::IngenSakerhetskopia)
        return avbrutenKopia(mal, utfall);
    if (const QString hinder = kopieringshinder(utfall); !hinder.isEmpty())
        return vagrad(hinder);
    u.feltext = kopieringsfeltext(utfall.fel);
    // Refused before anything was written, or run out of room on the way
    // though the room looked enough (another program wrote meanwhile, the
    // medium holds less than it says): the figures the copy has either way.
    if (utfall.fel == ENOSPC && utfall.behov > utfall.ledigt)
        u.feltext += QStringLiteral("\r\nKopian behöver %1 MB, men det finns bara %2 MB ledigt.")
                         .arg(megabyte(utfall.behov, true), megabyte(utfall.ledigt, false));
    else if (utfall.fel == ENOSPC && utfall.behov > 0)
        u.feltext +=
            QStringLiteral("\r\nKopian beräknades behöva %1 MB, och %2 MB var ledigt när den började.")
                .arg(megabyte(utfall.behov, true), megabyte(utfall.ledigt, false));
    return u;
}

} // namespace Overforing
