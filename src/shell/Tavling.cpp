#include "shell/Tavling.h"

#include "common/Fel.h"
#include "common/IniNamn.h"
#include "platform/Filslag.h"
#include "platform/Filvag.h"
#include "platform/Meddelanden.h"
#include "platform/Systemfel.h"
#include "platform/folder_copy/Mappkopia.h"
#include "platform/workbook/XlsxFil.h"
#include "shell/modGlobalt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QSysInfo>
#include <cerrno>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
// The lock files this process holds now, by their absolute paths. Locks are
// taken and released on more than one thread (a copy runs on its own).
QMutex lasvakt;
QSet<QString> hallnaLas;

QString lasnyckel(const QString& fil) {
    return QFileInfo(fil).absoluteFilePath();
}

// Whether some program of this computer holds a system lock (flock or fcntl)
// on the file, as QLockFile's holder does: the kernel lists every process's
// locks with the device and inode they are on. Held when that cannot be told.
bool lastAvNagon(const struct stat& st) {
    QFile lasen(QStringLiteral("/proc/locks"));
    if (!lasen.open(QIODevice::ReadOnly))
        return true;
    const QByteArray id = QString::asprintf(" %02x:%02x:%llu ", major(st.st_dev), minor(st.st_dev),
                                            static_cast<unsigned long long>(st.st_ino))
                              .toLatin1();
    return lasen.readAll().contains(id);
}

// Removes a lock file that names no holder: empty (its program was killed
// between making it and writing it) or unreadable to this user. Not while a
// program of this computer holds it, and never through a link. True when the
// file is gone.
bool taBortNamnlos(QLockFile& las, const QString& fil) {
    const QByteArray kodad = QFile::encodeName(fil);
    struct stat st {};
    if (::lstat(kodad.constData(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISREG(st.st_mode))
        return false;
    // QLockFile removes it under a lock of its own, which a holder's lock
    // keeps out; one it cannot open is looked up among the system's locks.
    return las.removeStaleLockFile() || (!lastAvNagon(st) && ::unlink(kodad.constData()) == 0);
}

// The lock file a program of another computer may have left: removed when it
// is a plain file that no program of this computer holds.
void taBortLamnad(const QString& fil) {
    struct stat st {};
    if (::lstat(QFile::encodeName(fil).constData(), &st) == 0 && S_ISREG(st.st_mode))
        QLockFile(fil).removeStaleLockFile();
}
} // namespace

void TavlingslasSlapp::operator()(QLockFile* las) const {
    const QMutexLocker vakt(&lasvakt);
    hallnaLas.remove(lasnyckel(las->fileName()));
    delete las;
}

namespace Tavling {

void sattSokvagar(modGlobalt& g, const QString& databas) {
    const QFileInfo info(databas);
    g.strTavlingsdatabas = databas;
    g.strTavlingsnamn = info.fileName().chopped(qMin<qsizetype>(4, info.fileName().size()));
    g.strTavlingsmapp = QDir::toNativeSeparators(info.path());
    if (!g.strTavlingsmapp.endsWith(QDir::separator()))
        g.strTavlingsmapp += QDir::separator();
}

QString iniSokvag(const modGlobalt& g) {
    return g.strTavlingsmapp + g.strTavlingsnamn + QStringLiteral(".ini");
}

Oppning HamtaInstallningar(modGlobalt& g, Meddelanden& m) {
    Oppning o;
    g.iniTavling.setPath(iniSokvag(g));
    // As the database: a link could lead to another competition's settings,
    // written then under two locks, and a pipe is never read.
    if (const QString slag = ovanligPost(g.iniTavling.Path()); !slag.isEmpty())
        throw Fel(Felnummer::SokvagsAtkomstfel,
                  QStringLiteral("Tävlingens inställningsfil \"%1\" är %2, ingen vanlig fil. Lägg tävlingens "
                                 "egen inställningsfil där i stället och försök igen.")
                      .arg(g.iniTavling.Path(), slag));
    // A missing or unreadable INI would read as nothing but defaults, and so as
    // made by an old version; say what it is instead.
    switch (g.iniTavling.status()) {
    case clsIni::Filstatus::Ok:
        break;
    case clsIni::Filstatus::Saknas:
        throw Fel(Felnummer::FilenInteHittad,
                  QStringLiteral("Tävlingens inställningsfil \"%1\" saknas.").arg(g.iniTavling.Path()));
    case clsIni::Filstatus::KanInteLasas:
    case clsIni::Filstatus::InteEnIniFil:
        throw Fel(
            Felnummer::SokvagsAtkomstfel,
            QStringLiteral("Tävlingens inställningsfil \"%1\" kan inte läsas.").arg(g.iniTavling.Path()));
    }
    if (!Installningar::versionGodkand(Installningar::lasFilversion(g.iniTavling))) {
        m.visa(QStringLiteral("Tävlingen du försöker öppna är skapad med en gammal version av programmet."),
               QStringLiteral("Versionskonflikt"), Meddelanden::Ikon::Kritisk);
        o.utfall = Utfall::Vagrad;
        return o;
    }
    o.menyval = Installningar::LaddaInstallningar(g);
    o.utfall = Utfall::Oppnad;
    return o;
}

void SkapaADOConnection(modGlobalt& g) {
    g.cnnTavling.Open(g.strTavlingsdatabas);
}

int antalSkjutlag(const Databas& db) {
    return db.varde(QStringLiteral("SELECT COUNT(DISTINCT Skjutlag) FROM Skjutlag")).toInt();
}

bool rattaAntalSkjutlag(modGlobalt& g) {
    const QString antal = QString::number(antalSkjutlag(g.cnnTavling));
    clsIni& ini = g.iniTavling;
    if (ini.GetKeyValue(Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel, Ini::AntalSkjutlag.standard) ==
        antal)
        return true;
    return ini.WriteKey(Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel, antal);
}

QString lasfil(const QString& mapp, const QString& namn) {
    QString s = mapp;
    if (!s.endsWith(QDir::separator()) && !s.endsWith(QLatin1Char('/')))
        s += QDir::separator();
    return s + QLatin1Char('.') + namn + QStringLiteral(".lock");
}

QString lasfil(const modGlobalt& g) {
    return lasfil(g.strTavlingsmapp, g.strTavlingsnamn);
}

bool arLasfil(const QString& filnamn) {
    // QLockFile takes ".rmlock" beside a stale lock while it removes it.
    return filnamn.size() > 6 && filnamn.startsWith(QLatin1Char('.')) &&
           (filnamn.endsWith(QStringLiteral(".lock")) || filnamn.endsWith(QStringLiteral(".lock.rmlock")));
}

bool Las::annanDator() const {
    return upptagen && !dator.isEmpty() && dator != QSysInfo::machineHostName();
}

Las lasTavling(const QString& mapp, const QString& namn, Lasorsak orsak) {
    Las l;
    const QString fil = lasfil(mapp, namn);
    l.lasfil = fil;
    // QLockFile reads a lock file it finds, and the ".rmlock" of its own that
    // it takes while it removes a stale one: what is found there is looked at
    // first, so that a pipe is never opened.
    for (const QString& plats : {fil, fil + QStringLiteral(".rmlock")}) {
        if (const QString slag = ovanligPost(plats); !slag.isEmpty()) {
            l.felaktig = plats;
            l.felaktigtSlag = slag;
            l.fel = QLockFile::UnknownError;
            l.text = QStringLiteral("Tävlingens låsfil %1 är %2, ingen vanlig fil, och programmet kan inte "
                                    "se om tävlingen %3 är öppen någon annanstans.\r\nTa bort den för hand "
                                    "och försök igen.")
                         .arg(QDir::toNativeSeparators(plats), slag, namn);
            return l;
        }
    }
    auto las = std::make_unique<QLockFile>(fil);
    // A competition stays open for hours: the lock is never stale by its age,
    // only when its program is gone.
    las->setStaleLockTime(0);
    qint64 pid = 0;
    QString dator, program;
    const QMutexLocker vakt(&lasvakt);
    bool tagen = las->tryLock(0);
    if (!tagen && las->error() == QLockFile::LockFailedError) {
        // One naming this process that it does not hold is one it could not
        // remove when it let go (the medium had gone away).
        const bool kand = las->getLockInfo(&pid, &dator, &program);
        const bool egen = kand && pid == QCoreApplication::applicationPid() &&
                          dator == QSysInfo::machineHostName() && !hallnaLas.contains(lasnyckel(fil));
        if ((!kand && taBortNamnlos(*las, fil)) || (egen && las->removeStaleLockFile()))
            tagen = las->tryLock(0);
    }
    if (tagen) {
        hallnaLas.insert(lasnyckel(fil));
        l.fil = Tavlingslas(las.release());
        return l;
    }
    l.fel = las->error();
    if (l.fel == QLockFile::LockFailedError && las->getLockInfo(&pid, &dator, &program)) {
        l.upptagen = true;
        l.dator = dator;
        l.program = program;
        l.process = pid;
        l.text = QStringLiteral("Tävlingen %1 är redan öppen i %2 på datorn %3 (process %4).\r\n")
                     .arg(namn, program.isEmpty() ? QStringLiteral("ett annat program") : program,
                          dator.isEmpty() ? QStringLiteral("?") : dator)
                     .arg(pid);
        l.text += orsak == Lasorsak::Oppna
                      ? QStringLiteral("Stäng den där innan du öppnar den här.")
                      : QStringLiteral("Kopieringen kan inte ersätta den medan den är öppen där: stäng den "
                                       "där och försök igen. Låsfilen är %1.")
                            .arg(QDir::toNativeSeparators(fil));
    } else {
        l.text = QStringLiteral("Tävlingen %1 kan inte låsas för ändring i mappen %2.")
                     .arg(namn, QDir::toNativeSeparators(mapp));
    }
    return l;
}

bool fragaOmLaset(const Las& l, Lasorsak orsak, Meddelanden& m) {
    const QString fraga =
        l.text.section(QStringLiteral("\r\n"), 0, 0) +
        QStringLiteral("\r\n\r\nOm tävlingen inte längre är öppen där (datorn stängdes av eller USB-minnet "
                       "togs därifrån medan tävlingen var öppen) kan låset tas bort. Låsfilen är %1.\r\n")
            .arg(QDir::toNativeSeparators(l.lasfil)) +
        (orsak == Lasorsak::Oppna ? QStringLiteral("Vill du ta bort låset och öppna tävlingen här?")
                                  : QStringLiteral("Vill du ta bort låset och kopiera tävlingen dit?"));
    if (m.visa(fraga, QStringLiteral("Tävlingen används"), Meddelanden::Ikon::Fraga,
               Meddelanden::Knappar::JaNej) != Meddelanden::Svar::Ja)
        return false;
    taBortLamnad(l.lasfil);
    return true;
}

bool lasTavling(modGlobalt& g, Meddelanden& m) {
    Las l = lasTavling(g.strTavlingsmapp, g.strTavlingsnamn);
    if (l.fil) {
        g.tavlingslas = std::move(l.fil);
        return true;
    }
    // Nothing here can tell whether another computer still has it open.
    if (l.annanDator()) {
        if (!fragaOmLaset(l, Lasorsak::Oppna, m))
            return false;
        l = lasTavling(g.strTavlingsmapp, g.strTavlingsnamn);
        if (l.fil) {
            g.tavlingslas = std::move(l.fil);
            return true;
        }
    }
    m.visa(l.text,
           l.felaktig.isEmpty() ? QStringLiteral("Tävlingen används") : QStringLiteral("Felaktig låsfil"),
           l.upptagen ? Meddelanden::Ikon::Utropstecken : Meddelanden::Ikon::Kritisk);
    return false;
}

bool kontrolleraSkrivbar(const modGlobalt& g, Meddelanden& m) {
    QStringList sokvagar = {g.strTavlingsmapp, g.strTavlingsdatabas};
    if (QFileInfo::exists(iniSokvag(g)))
        sokvagar << iniSokvag(g);
    for (const QString& sokvag : sokvagar) {
        if (arSkrivbar(sokvag))
            continue;
        m.visa(QStringLiteral("Tävlingen %1 kan inte öppnas: %2 är skrivskyddad.\r\n"
                              "Varje ändring sparas direkt, så tävlingens filer måste gå att skriva.")
                   .arg(g.strTavlingsnamn, QDir::toNativeSeparators(sokvag)),
               QStringLiteral("Skrivskyddad tävling"), Meddelanden::Ikon::Kritisk);
        return false;
    }
    return true;
}

QString otillforlitligKopia(const QString& mapp, const QString& orsak) {
    const Mappkopia::Kvarlamnat k = Mappkopia::kvarlamnat(mapp);
    QString kvar;
    for (const auto& [sokvag, vad] :
         {std::pair{k.logg, QStringLiteral("kopieringens logg över det den flyttar")},
          std::pair{k.staging, QStringLiteral("de nya filer som ännu inte har flyttats in")},
          std::pair{k.undan, QStringLiteral("de filer som kopieringen har ersatt")}})
        if (!sokvag.isEmpty())
            kvar += QStringLiteral("\r\n    %1 - %2").arg(QDir::toNativeSeparators(sokvag), vad);
    const QString sedan = k.sakerhetskopia.isEmpty()
                              ? QStringLiteral("från den andra datorn eller USB-minnet")
                              : QStringLiteral("från den andra datorn, USB-minnet eller säkerhetskopian %1")
                                    .arg(QDir::toNativeSeparators(k.sakerhetskopia));
    const QString hittat = orsak.isEmpty() ? QString() : QStringLiteral("\r\n\r\nDet som hittades: ") + orsak;
    return QStringLiteral(
               "En kopiering till mappen %1 avbröts, och programmet kan varken avsluta den eller ta "
               "tillbaka den: det som kopieringen lämnade går inte att lita på.%2\r\n\r\nMappen kan "
               "nu innehålla filer från två versioner av tävlingen. Bredvid den ligger (dolda, "
               "namnen börjar med en punkt):%3\r\n\r\nTa inte bort något av det: där kan den enda "
               "kopian av en version ligga. Flytta mappen och det som ligger bredvid den till en "
               "annan plats, och hämta sedan tävlingen på nytt %4.")
        .arg(QDir::toNativeSeparators(QDir::cleanPath(mapp)), hittat, kvar, sedan);
}

QString avbrottstext(const QString& mapp, const Mappkopia::Utfall& u) {
    switch (u.fel) {
    case 0:
        return {};
    case Mappkopia::Otillforlitlig:
        return otillforlitligKopia(mapp, u.orsak);
    case Mappkopia::IngenSakerhetskopia:
        return ingenSakerhetskopia(mapp);
    default:
        return QStringLiteral("En tidigare kopiering till %1 avbröts och kunde varken avslutas eller tas "
                              "tillbaka: %2.\r\nSe till att mappen %3 går att skriva och försök igen.")
            .arg(QDir::toNativeSeparators(QDir::cleanPath(mapp)), systemfeltext(u.fel),
                 QDir::toNativeSeparators(QFileInfo(QDir::cleanPath(mapp)).path()));
    }
}

QString ingenSakerhetskopia(const QString& mapp) {
    const QString bak = QDir::toNativeSeparators(Mappkopia::sakerhetskopia(mapp));
    return QStringLiteral(
               "Det finns ingen plats för säkerhetskopian av de filer som kopieringen till %1 "
               "ersätter: mapparna %2, %3 och så vidare till %4 finns redan, och ingen av dem är en "
               "säkerhetskopia som programmet har gjort.\r\nFlytta någon av dem eller byt namn på "
               "den, och försök igen.")
        .arg(QDir::toNativeSeparators(QDir::cleanPath(mapp)), bak, bak + QLatin1Char('2'),
             bak + QStringLiteral("99"));
}

bool saknadEfterAvbrutenKopia(const QString& databas) {
    const QString mapp = QFileInfo(databas).path();
    return QFileInfo(mapp).isDir() && Mappkopia::avbruten(mapp);
}

Oppning OppnaTavling(modGlobalt& g, Meddelanden& m, bool hoppaOver) {
    Oppning o;
    o.utfall = Utfall::Oppnad;
    if (hoppaOver)
        return o;
    o.utfall = Utfall::Misslyckad;
    // A copy into the competition's folder that was cut off is ended (the
    // folder is to be used as it is) before anything of the folder is read,
    // under the lock, so that a copy still under way in another program is
    // left alone.
    if (Mappkopia::avbruten(g.strTavlingsmapp)) {
        if (!lasTavling(g, m))
            return o;
        const Mappkopia::Utfall u = Mappkopia::angraAvbruten(g.strTavlingsmapp, Mappkopia::Avbrott::Avsluta);
        if (const QString text = avbrottstext(g.strTavlingsmapp, u); !text.isEmpty()) {
            m.visa(text, QStringLiteral("Avbruten kopiering"), Meddelanden::Ikon::Kritisk);
            return o;
        }
    }
    // A file that is no competition database of ours is refused before it is
    // locked or checked for writing: those messages would only mislead.
    try {
        Databas::kontrolleraFil(g.strTavlingsdatabas);
    } catch (const Fel& f) {
        m.visa(QStringLiteral("modGlobalt.SkapaADOConnection: ") + f.text(), QStringLiteral("Fel"),
               Meddelanden::Ikon::Kritisk);
        return o;
    }
    if (!kontrolleraSkrivbar(g, m) || (!g.tavlingslas && !lasTavling(g, m)))
        return o;
    try {
        o = HamtaInstallningar(g, m);
        if (o.utfall != Utfall::Oppnad)
            return o;
    } catch (const Fel& f) {
        m.visa(QStringLiteral("MDIfrmHuvudmeny.ÖppnaTävling: Före Hämta inställningar ") + f.text(),
               QStringLiteral("Fel"), Meddelanden::Ikon::Kritisk);
        o.utfall = Utfall::Misslyckad;
        return o;
    }
    try {
        SkapaADOConnection(g);
    } catch (const Fel& f) {
        m.visa(QStringLiteral("modGlobalt.SkapaADOConnection: ") + f.text(), QStringLiteral("Fel"),
               Meddelanden::Ikon::Kritisk);
        o.utfall = Utfall::Misslyckad;
        return o;
    }
    // A program stopped after a squad operation's commit but before its INI
    // write left the old count behind. The program takes its count from the
    // database, so neither a failed write nor a failed count stops the
    // opening: a database that cannot be read is told where the squads are used.
    try {
        (void)rattaAntalSkjutlag(g);
    } catch (const Fel&) {
    }
    // A list save killed half-way left its temporary file in Utskrifter, which
    // only a save of that same list would take away, and a list may never be
    // saved again. The competition is now this program's, and the lock it has
    // just made shows what owner the program's files get there.
    Kalkyl::XlsxFil::rensaTillfalliga(g.strTavlingsmapp + QStringLiteral("Utskrifter"), {}, lasfil(g));
    return o;
}

void stang(modGlobalt& g) {
    g.NollstallTavlingsdata();
    g.cnnTavling.Close();
    g.tavlingslas.reset();
}

} // namespace Tavling
