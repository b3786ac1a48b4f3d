#include "transfer/Tavlingsoverforing.h"

#include "common/Fel.h"
#include "platform/Databas.h"
#include "platform/Filnamn.h"
#include "platform/Filslag.h"
#include "platform/Meddelanden.h"
#include "platform/folder_copy/Mappkopia.h"
#include "platform/workbook/Filhallare.h"
#include "shell/Tavling.h"
#include "shell/modGlobalt.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStorageInfo>
#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace Overforing {

namespace {

namespace fs = std::filesystem;
using Ikon = Meddelanden::Ikon;
using Fokus = Kontroll::Fokus;

fs::path stig(const QString& s) {
    return fs::path(QFile::encodeName(s).toStdString());
}

// The same file or folder, however it is spelt: letter case on a FAT stick, a
// symbolic link or "..". False when either is missing.
bool sammaPost(const QString& a, const QString& b) {
    std::error_code fel;
    return fs::equivalent(stig(a), stig(b), fel);
}

// Whether inre is yttre or lies somewhere below it. Walks up inre's parents, so a
// folder not yet made is found inside its existing parents.
bool inuti(const QString& inre, const QString& yttre) {
    std::error_code fel;
    fs::path p = fs::weakly_canonical(stig(inre), fel);
    if (fel)
        p = stig(QDir::cleanPath(inre));
    const fs::path y = stig(yttre);
    for (;;) {
        std::error_code e;
        if (fs::equivalent(p, y, e))
            return true;
        if (!p.has_parent_path() || p.parent_path() == p)
            return false;
        p = p.parent_path();
    }
}

// A file's last change in local time, to the minute.
QString andrad(const QString& fil) {
    return QFileInfo(fil).lastModified().toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString nativ(const QString& s) {
    return QDir::toNativeSeparators(s);
}

// The longest name a file system takes: 255 bytes on ext4, 255 UTF-16
// units on FAT, which are never more than the name's UTF-8 bytes.
constexpr qsizetype NamnMax = 255;
// The longest path the kernel takes, its closing null not counted.
constexpr qsizetype SokvagMax = PATH_MAX - 1;
// SQLite's unix VFS (MAX_PATHNAME) refuses a database whose full path, with
// "-journal" after it, is longer than this ("unable to open database file");
// it measures the path with every link resolved.
constexpr qsizetype SqliteMax = 512;

qsizetype byte(const QString& s) {
    return QFile::encodeName(s).size();
}

// The folder's path with a separator after it, as written or with its links
// resolved, whichever is longer.
qsizetype mapplangd(const QString& mapp) {
    const QString skriven = QDir::cleanPath(mapp);
    return std::max(byte(skriven), byte(QFileInfo(skriven).canonicalFilePath())) + 1;
}

QString forLangtNamn(const QString& namn, const QString& dar, const QString& atgard) {
    const qsizetype n = byte(namn);
    return QStringLiteral(
               "Namnet \"%1\" blir för långt i %2: %3 byte, %4 fler än de %5 som ett namn kan ha.\r\n")
               .arg(namn, nativ(dar))
               .arg(n)
               .arg(n - NamnMax)
               .arg(NamnMax) +
           atgard;
}

QString forLangSokvag(const QString& text, qsizetype n, qsizetype max) {
    return text.arg(n).arg(n - max).arg(max) +
           QStringLiteral("\r\nVälj en plats med kortare sökväg eller ge mapparna och filerna kortare namn, "
                          "och försök igen.");
}

// The first name or path that a copy of the folder kallmapp into malmapp (in
// dest) would make too long, told as the refusal names it; empty when there
// is none. The copy fills ".<T>.kopia" beside the target first, so a path is
// longest there; at the target a database gets its journal and a competition
// its lock (and QLockFile's ".rmlock" beside it while it removes a stale one).
QString langdhinder(const QString& kallmapp, const QStringList& poster, const QString& dest,
                    const QString& malmapp) {
    const QString mappnamn = QFileInfo(kallmapp).fileName();
    // Mappkopia cuts a name beside the target that is too long, and two
    // targets that differ only past the cut would share their staging folder
    // and record: one's undo would act on the other. The longest of them is
    // the lock that keeps other copies out of a target being made,
    // ".<T>.kopia.lock", while QLockFile removes it when it is stale.
    if (const QString bredvid =
            QFileInfo(Tavling::lasfil(dest, mappnamn + QStringLiteral(".kopia"))).fileName() +
            QStringLiteral(".rmlock");
        byte(bredvid) > NamnMax)
        return forLangtNamn(
            bredvid, QDir::cleanPath(dest),
            QStringLiteral("Så heter en av de filer som kopieringen gör bredvid tävlingsmappen, "
                           "så mappens namn \"%1\" måste vara kortare.")
                .arg(mappnamn));
    const QString arbetsmapp = Mappkopia::arbetsmapp(malmapp);
    const qsizetype destlangd = mapplangd(dest);
    const qsizetype mal = destlangd + byte(mappnamn) + 1;
    const qsizetype arbete = destlangd + byte(QFileInfo(arbetsmapp).fileName()) + 1;
    const QString iMal = nativ(malmapp);
    const QString iArbete = QStringLiteral("kopieringens tillfälliga mapp %1").arg(nativ(arbetsmapp));
    const QString linux = QStringLiteral("Sökvägen till \"%1\" blir för lång i %2: %3 byte, %4 fler än de %5 "
                                         "som Linux klarar.");
    const QString sqlite = QStringLiteral("Sökvägen till databasen \"%1\" blir för lång i %2: med "
                                          "journalfilens \"-journal\" %3 byte, %4 fler än de %5 som SQLite "
                                          "klarar.");
    const QString journal = QStringLiteral("-journal");
    for (const QString& plats : poster) {
        const QString namn = plats.section(QLatin1Char('/'), -1);
        const QString foralder = plats.section(QLatin1Char('/'), 0, -2);
        const QString malforalder = foralder.isEmpty() ? malmapp : malmapp + QLatin1Char('/') + foralder;
        const qsizetype langd = byte(plats);
        if (byte(namn) > NamnMax)
            return forLangtNamn(namn, malforalder,
                                QStringLiteral("Ge \"%1\" i tävlingsmappen ett kortare namn och försök igen.")
                                    .arg(nativ(plats)));
        if (arbete + langd > SokvagMax)
            return forLangSokvag(linux.arg(nativ(plats), iArbete), arbete + langd, SokvagMax);
        if (!namn.endsWith(QStringLiteral(".air"), Qt::CaseInsensitive))
            continue;
        const QString tavling = namn.chopped(4);
        if (byte(namn + journal) > NamnMax)
            return forLangtNamn(namn + journal, malforalder,
                                QStringLiteral("Så heter journalfilen som databasen \"%1\" får när tävlingen "
                                               "ändras, så databasens namn måste vara kortare.")
                                    .arg(namn));
        const QString las = QFileInfo(Tavling::lasfil(malforalder, tavling)).fileName();
        const QString rmlock = las + QStringLiteral(".rmlock");
        if (byte(rmlock) > NamnMax)
            return forLangtNamn(
                rmlock, malforalder,
                QStringLiteral("Så heter en av låsfilerna som tävlingen %1 får när den öppnas, så "
                               "tävlingens namn måste vara kortare.")
                    .arg(tavling));
        for (const auto& [fore, dar] : {std::pair{mal, iMal}, std::pair{arbete, iArbete}})
            if (fore + langd + byte(journal) > SqliteMax)
                return forLangSokvag(sqlite.arg(nativ(plats), dar), fore + langd + byte(journal), SqliteMax);
        const QString lasplats = foralder.isEmpty() ? rmlock : foralder + QLatin1Char('/') + rmlock;
        for (const QString& vid : {plats + journal, lasplats})
            if (mal + byte(vid) > SokvagMax)
                return forLangSokvag(linux.arg(nativ(vid), iMal), mal + byte(vid), SokvagMax);
    }
    return {};
}

// The first name in the folder kallmapp, the folder's own included, that a
// file system fs cannot hold, told as the refusal names it; empty when there is
// none. poster is what the copy takes (Mappkopia::poster): what it leaves out
// (links, locks, pipes) is not looked at. On FAT two names that differ only in
// letter case would end up as one file.
QString namnhinder(const QString& kallmapp, const QStringList& poster, Filsystem fs, const QString& dest) {
    const QString mappnamn = QFileInfo(kallmapp).fileName();
    const QString mal = nativ(dest);
    if (const QString fel = namnfel(mappnamn, fs); !fel.isEmpty())
        return QStringLiteral("Tävlingsmappen \"%1\" kan inte kopieras till %2: %3.").arg(mappnamn, mal, fel);
    // Two names of one folder that differ only in letter case, by the folder.
    QHash<QString, QString> vikta;
    for (const QString& plats : poster) {
        const QString namn = plats.section(QLatin1Char('/'), -1);
        if (const QString fel = namnfel(namn, fs); !fel.isEmpty())
            return QStringLiteral("\"%1\" i tävlingsmappen kan inte kopieras till %2: %3.")
                .arg(nativ(plats), mal, fel);
        if (fs != Filsystem::Fat)
            continue;
        const QString vikt = plats.section(QLatin1Char('/'), 0, -2) + QLatin1Char('/') + namn.toCaseFolded();
        if (const auto forra = vikta.constFind(vikt); forra != vikta.constEnd())
            return QStringLiteral("\"%1\" och \"%2\" i tävlingsmappen kan inte båda kopieras till %3, "
                                  "där stora och små bokstäver inte skiljer två namn åt.")
                .arg(nativ(*forra), nativ(plats), mal);
        vikta.insert(vikt, plats);
    }
    return {};
}

// The first file of the target that the copy would replace and that a
// spreadsheet program holds open there, told as a list save tells it; empty
// when there is none.
QString oppenFil(const QStringList& poster, const QString& malmapp, const QString& passiv) {
    for (const QString& plats : poster) {
        const QString fil = malmapp + QLatin1Char('/') + plats;
        struct stat st {};
        if (::lstat(QFile::encodeName(fil).constData(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (const auto innehavare = Kalkyl::Filhallare::oppnadAv(fil))
            return (innehavare->slag.isEmpty()
                        ? QStringLiteral("Filen %1 är öppen i ett annat program och kan inte ersättas när "
                                         "tävlingen %2.\r\n")
                        : QStringLiteral("Filen %1 kan inte ersättas när tävlingen %2.\r\n"))
                       .arg(nativ(fil), passiv) +
                   innehavare->text();
    }
    return {};
}

// What becomes of a copy into mapp that was cut off, judged under the lock of
// its competition namn, touching nothing: ending it or taking it back is the
// copy's, once the operator has answered. What stops the check, empty when
// it can go on; *plats: where the file rel of the folder will then lie (empty
// when it will not be there). Another program that has the competition open
// ended the copy when it opened it: the folder is taken as it is.
QString bedom(const QString& mapp, const QString& namn, Mappkopia::Avbrott satt, const QString& rel,
              QString* plats) {
    *plats = QDir::cleanPath(mapp) + QLatin1Char('/') + rel;
    std::optional<Tavling::Las> las;
    if (QFileInfo(mapp).isDir()) {
        las = Tavling::lasTavling(mapp, namn);
        if (!las->felaktig.isEmpty())
            return las->text;
        if (!las->fil)
            return {};
    }
    const Mappkopia::Avbrottsbeslut b = Mappkopia::bedomAvbruten(mapp, satt);
    if (b.utfall.fel)
        return Tavling::avbrottstext(mapp, b.utfall);
    *plats = b.plats(rel);
    return {};
}

struct Ord {
    QString infinitiv; // importera
    QString passiv;    // importeras
};

Ord ord(Riktning r) {
    if (r == Riktning::Import)
        return {QStringLiteral("importera"), QStringLiteral("importeras")};
    return {QStringLiteral("exportera"), QStringLiteral("exporteras")};
}

} // namespace

QString databashinder(const QString& kallmapp) {
    const QDir mapp(kallmapp);
    // System: pipes, sockets, devices and links that lead nowhere too.
    for (const QString& namn :
         mapp.entryList({QStringLiteral("*.air")},
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        if (const QString hinder = Databas::filhinder(mapp.filePath(namn)); !hinder.isEmpty())
            return hinder;
    return {};
}

QString installningshinder(const QString& kallmapp) {
    const QDir mapp(kallmapp);
    for (const QString& namn :
         mapp.entryList({QStringLiteral("*.air")},
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        // The name the competition opens its settings by, whatever case its
        // database's extension has.
        const QString ini = mapp.filePath(namn.chopped(4) + QStringLiteral(".ini"));
        // Looked at, never opened: a pipe there would hold the check up.
        if (const QString slag = ovanligPost(ini); !slag.isEmpty())
            return QStringLiteral(
                       "Tävlingens inställningsfil \"%1\" är %2, ingen vanlig fil, och följer inte "
                       "med när tävlingen kopieras. Lägg tävlingens egen inställningsfil där i "
                       "stället och försök igen.")
                .arg(ini, slag);
    }
    return {};
}

QString malhinder(const QString& malmapp) {
    const QString mal = QDir::cleanPath(malmapp);
    switch (const Filslag slag = filslag(mal)) {
    case Filslag::Saknas:
    case Filslag::Mapp:
    case Filslag::Okant:
        return {};
    case Filslag::Lank:
        return QStringLiteral(
                   "%1 är en symbolisk länk, ingen mapp. Kopieringen skriver aldrig genom en länk: "
                   "ta bort länken eller välj en annan plats och försök igen.")
            .arg(nativ(mal));
    case Filslag::Fil:
        return QStringLiteral("%1 finns redan och är ingen mapp. Ta bort filen eller välj en annan plats och "
                              "försök igen.")
            .arg(nativ(mal));
    default:
        return QStringLiteral(
                   "%1 finns redan och är ingen mapp utan %2. Ta bort den eller välj en annan plats "
                   "och försök igen.")
            .arg(nativ(mal), filslagText(slag));
    }
}

QString felaktigtKopieringslas(const QString& malmapp, const QString& plats, const QString& slag) {
    return QStringLiteral("Kopieringen till %1 kan inte låsas: låsfilen %2 är %3, ingen vanlig fil, och "
                          "programmet kan inte se om en annan kopiering dit pågår.\r\nTa bort den för hand "
                          "och försök igen.")
        .arg(nativ(QDir::cleanPath(malmapp)), nativ(plats), slag);
}

Kontroll kontrollera(Riktning riktning, const QString& kallfalt, const QString& destfalt,
                     const QString& bladdradFiltitel, const modGlobalt& g, Meddelanden& m,
                     std::optional<Filsystem> malfilsystem) {
    // The file's own path says where its folder is, whether it was browsed,
    // prefilled or typed; the browsed title adds nothing to it.
    Q_UNUSED(bladdradFiltitel);
    const Ord o = ord(riktning);
    Kontroll k;
    const auto stopp = [&](const QString& text, const QString& titel, int steg) {
        m.visa(text, titel, Ikon::Kritisk);
        k.ok = false;
        k.steg = steg;
        k.fokus = steg == 0 ? Fokus::Kalla : Fokus::Destination;
        return k;
    };
    const QString felSokvag = QStringLiteral("Fel sökväg");

    Sokvagar& s = k.sokvagar;
    s.kallfil = kallfalt.trimmed();
    const QString dest = destfalt.trimmed();
    if (s.kallfil.isEmpty())
        return stopp(QStringLiteral("Du måste ange en sökväg till den tävling som ska %1.").arg(o.passiv),
                     QStringLiteral("Tomt fält"), 0);
    if (dest.isEmpty())
        return stopp(QStringLiteral("Du måste ange en sökväg dit tävlingen ska %1.").arg(o.passiv),
                     QStringLiteral("Tomt fält"), 1);

    // A relative path would be taken from wherever the program happened to start.
    if (!QDir::isAbsolutePath(s.kallfil))
        return stopp(QStringLiteral("Sökvägen \"%1\" är inte fullständig. Välj tävlingen med \"Bläddra\".")
                         .arg(s.kallfil),
                     felSokvag, 0);
    if (!QDir::isAbsolutePath(dest))
        return stopp(
            QStringLiteral("Sökvägen \"%1\" är inte fullständig. Välj platsen med \"Bläddra\".").arg(dest),
            felSokvag, 1);

    const QFileInfo kallinfo(s.kallfil);
    s.filtitel = kallinfo.fileName();
    s.kallmapp = QDir::cleanPath(kallinfo.absolutePath());
    s.mappnamn = QFileInfo(s.kallmapp).fileName();
    s.destination = dest.endsWith(QLatin1Char('/')) ? dest : dest + QLatin1Char('/');
    const QString malmapp = s.malmapp();

    // A copy into the source that was cut off is judged, not ended: nothing
    // changes before the operator's answer. The copy ends it (the source is
    // copied as it is to be used), so the database looked at and dated here
    // is the one the copy will take, wherever it lies until then.
    QString kallfil = QDir::cleanPath(s.kallfil);
    if (QFileInfo(s.kallmapp).isDir() && Mappkopia::avbruten(s.kallmapp))
        if (const QString hinder = bedom(s.kallmapp, kallinfo.completeBaseName(), Mappkopia::Avbrott::Avsluta,
                                         s.filtitel, &kallfil);
            !hinder.isEmpty())
            return stopp(hinder, felSokvag, 0);
    if (kallfil.isEmpty() || filslag(kallfil) == Filslag::Saknas)
        return stopp(QStringLiteral("Tävlingen \"%1\" finns inte.").arg(nativ(s.kallfil)), felSokvag, 0);
    // As when the competition is opened: a file from the Windows program, or no
    // competition at all, is told before anything is asked; so is a link or a
    // pipe, as database or as settings, which the copy would leave out.
    try {
        Databas::kontrolleraFil(kallfil);
    } catch (const Fel& f) {
        return stopp(f.beskrivning(), felSokvag, 0);
    }
    if (const QString hinder = databashinder(s.kallmapp); !hinder.isEmpty())
        return stopp(hinder, felSokvag, 0);
    if (const QString hinder = installningshinder(s.kallmapp); !hinder.isEmpty())
        return stopp(hinder, felSokvag, 0);
    // The whole folder around the file is copied: a volume or a home folder
    // full of other things is no competition folder.
    const bool rot = s.mappnamn.isEmpty() || sammaPost(s.kallmapp, QStorageInfo(s.kallmapp).rootPath());
    if (rot || sammaPost(s.kallmapp, QDir::homePath()))
        return stopp(QStringLiteral("Tävlingen ligger direkt i %1 och inte i en egen tävlingsmapp.\r\n"
                                    "Hela mappen kopieras, så tävlingen måste ligga i en mapp för sig.")
                         .arg(nativ(s.kallmapp)),
                     felSokvag, 0);

    const QFileInfo destinfo(s.destination);
    if (QFileInfo(QDir::cleanPath(dest)).isFile())
        return stopp(QStringLiteral("%1 är en fil, ingen mapp.").arg(nativ(dest)), felSokvag, 1);
    if (!destinfo.isDir())
        return stopp(QStringLiteral("Mappen %1 finns inte.").arg(nativ(dest)), felSokvag, 1);
    // Looked at before the comparisons below, which follow links.
    if (const QString hinder = malhinder(malmapp); !hinder.isEmpty())
        return stopp(hinder, felSokvag, 1);
    if (sammaPost(malmapp, s.kallmapp))
        return stopp(QStringLiteral("Du får inte ange samma tävling att %1 från och till!").arg(o.infinitiv),
                     felSokvag, 1);
    if (inuti(malmapp, s.kallmapp))
        return stopp(QStringLiteral("Tävlingen kan inte kopieras till %1, som ligger inuti tävlingens egen "
                                    "mapp %2.")
                         .arg(nativ(malmapp), nativ(s.kallmapp)),
                     felSokvag, 1);
    if (inuti(s.kallmapp, malmapp))
        return stopp(QStringLiteral("Tävlingen kan inte kopieras till %1, eftersom tävlingens egen mapp %2 "
                                    "ligger i den.")
                         .arg(nativ(malmapp), nativ(s.kallmapp)),
                     felSokvag, 1);
    if (g.tavlingOppen() && inuti(malmapp, g.strTavlingsmapp))
        return stopp(QStringLiteral("Tävlingen %1 är öppen i programmet och dess mapp %2 kan inte ändras "
                                    "av en kopiering. Stäng tävlingen först.")
                         .arg(g.strTavlingsnamn, nativ(QDir::cleanPath(g.strTavlingsmapp))),
                     felSokvag, 1);
    // Another destination may hold what this one cannot.
    const QStringList poster = Mappkopia::poster(s.kallmapp, utelamnas);
    if (const QString hinder = langdhinder(s.kallmapp, poster, dest, malmapp); !hinder.isEmpty())
        return stopp(hinder, felSokvag, 1);
    if (const QString hinder =
            namnhinder(s.kallmapp, poster, malfilsystem ? *malfilsystem : filsystem(malmapp), dest);
        !hinder.isEmpty())
        return stopp(hinder, felSokvag, 1);
    const QFileInfo malinfo(malmapp);
    // A new target is made under a lock beside it, which must be one the copy
    // can take.
    if (!malinfo.exists()) {
        const QString kopialas =
            Tavling::lasfil(QDir::cleanPath(dest), s.mappnamn + QStringLiteral(".kopia"));
        for (const QString& plats : {kopialas, kopialas + QStringLiteral(".rmlock")})
            if (const QString slag = ovanligPost(plats); !slag.isEmpty())
                return stopp(felaktigtKopieringslas(malmapp, plats, slag), felSokvag, 1);
    }
    // A competition open in another program there is told before anything is
    // asked: no answer would let the copy through. Each competition of the
    // folder replaces its namesake there.
    if (malinfo.isDir()) {
        const QStringList databaser =
            QDir(s.kallmapp).entryList({QStringLiteral("*.air")}, QDir::Files | QDir::Hidden, QDir::Name);
        for (const QString& databas : databaser) {
            const QString namn = QFileInfo(databas).completeBaseName();
            Tavling::Las las = Tavling::lasTavling(malmapp, namn, Tavling::Lasorsak::Kopiera);
            if (!las.fil && las.annanDator()) {
                if (!Tavling::fragaOmLaset(las, Tavling::Lasorsak::Kopiera, m)) {
                    k.steg = 1;
                    k.fokus = Fokus::Destination;
                    return k;
                }
                las = Tavling::lasTavling(malmapp, namn, Tavling::Lasorsak::Kopiera);
            }
            if (!las.fil && (las.upptagen || !las.felaktig.isEmpty()))
                return stopp(las.text, felSokvag, 1);
        }
    }
    // A copy there that was cut off is judged before the question, touching
    // nothing: a Nej leaves the folder as it is. The copy takes it back (it
    // replaces the folder, so the backup keeps what the folder held before),
    // or ends it when everything had moved in; the date asked about is that
    // of the competition as it will stand then.
    QString maldatabas = malmapp + QLatin1Char('/') + s.filtitel;
    if (Mappkopia::avbruten(malmapp))
        if (const QString hinder = bedom(malmapp, kallinfo.completeBaseName(), Mappkopia::Avbrott::TaTillbaka,
                                         s.filtitel, &maldatabas);
            !hinder.isEmpty())
            return stopp(hinder, felSokvag, 1);

    // A list open in a spreadsheet program there would be lost to it: no
    // answer would let the copy through.
    if (malinfo.isDir())
        if (const QString oppen = oppenFil(poster, malmapp, o.passiv); !oppen.isEmpty())
            return stopp(oppen, QStringLiteral("Åtkomstfel."), 1);

    const auto fraga = [&](const QString& text) {
        if (m.visa(text, QStringLiteral("Bekräfta"), Ikon::Fraga, Meddelanden::Knappar::JaNej) ==
            Meddelanden::Svar::Ja)
            return true;
        k.ok = false;
        k.steg = 1;
        k.fokus = Fokus::Destination;
        return false;
    };
    // Everything in the folder goes along, not only the competition.
    const QString tavlingsnamn = kallinfo.completeBaseName();
    if (s.mappnamn.compare(tavlingsnamn, Qt::CaseInsensitive) != 0 &&
        !fraga(QStringLiteral("Tävlingen %1 ligger i mappen \"%2\".\r\n"
                              "Hela mappen \"%2\" med allt som ligger i den kopieras till %3.\r\n\r\n"
                              "Vill du fortsätta?")
                   .arg(tavlingsnamn, s.mappnamn, nativ(malmapp))))
        return k;
    if (malinfo.isDir()) {
        const QString text =
            !maldatabas.isEmpty() && QFileInfo::exists(maldatabas)
                ? QStringLiteral("Tävlingen finns redan!\r\n\r\nVill du byta ut tävlingen med datum: \r\n") +
                      andrad(maldatabas) + QStringLiteral("\r\n\r\nMot tävlingen med datum: \r\n") +
                      andrad(kallfil)
                : QStringLiteral("Tävlingsmappen finns redan dit du vill %1!\r\nVill du använda den ändå?")
                      .arg(o.infinitiv);
        if (!fraga(text))
            return k;
    }
    k.ok = true;
    return k;
}

} // namespace Overforing
