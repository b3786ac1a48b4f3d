#include "platform/Systemfel.h"

#include <cerrno>

namespace {

const char* beskrivning(int fel) {
    switch (fel) {
    case EPERM:
        return "Åtgärden är inte tillåten";
    case ENOENT:
        return "Filen eller mappen finns inte";
    case EINTR:
        return "Avbrutet systemanrop";
    case EIO:
        return "In- eller utmatningsfel";
    case ENXIO:
        return "Enheten eller adressen finns inte";
    case EBADF:
        return "Ogiltig filreferens";
    case EAGAIN:
        return "Resursen är tillfälligt otillgänglig";
    case ENOMEM:
        return "Minnet räcker inte";
    case EACCES:
        return "Åtkomst nekad";
    case EBUSY:
        return "Enheten eller resursen är upptagen";
    case EEXIST:
        return "Filen finns redan";
    case EXDEV:
        return "Flytt mellan olika filsystem";
    case ENODEV:
        return "Enheten finns inte";
    case ENOTDIR:
        return "Inte en mapp";
    case EISDIR:
        return "Är en mapp";
    case EINVAL:
        return "Ogiltigt argument";
    case ENFILE:
    case EMFILE:
        return "För många öppna filer";
    case ETXTBSY:
        return "Filen används";
    case EFBIG:
        return "Filen är för stor";
    case ENOSPC:
        return "Det finns inget utrymme kvar på enheten";
    case EROFS:
        return "Filsystemet är skrivskyddat";
    case EMLINK:
        return "För många länkar";
    case ENAMETOOLONG:
        return "Namnet är för långt";
    case ENOLCK:
        return "Inga lås finns lediga";
    case ENOSYS:
        return "Funktionen finns inte i filsystemet";
    case ENOTEMPTY:
        return "Mappen är inte tom";
    case ELOOP:
        return "För många nivåer av symboliska länkar";
    case ENODATA:
        return "Inga data finns";
    case ENOLINK:
    case ENOTCONN:
        return "Förbindelsen med enheten är bruten";
    case EPROTO:
        return "Protokollfel";
    case EOVERFLOW:
        return "Värdet är för stort";
    case EBADMSG:
        return "Felaktigt meddelande";
    case EILSEQ:
        return "Ett namn innehåller ett tecken som inte kan lagras";
    case EOPNOTSUPP:
        return "Åtgärden stöds inte av filsystemet";
    case ENETDOWN:
    case ENETUNREACH:
    case EHOSTUNREACH:
        return "Nätverket kan inte nås";
    case ECONNABORTED:
    case ECONNRESET:
        return "Förbindelsen bröts";
    case ECONNREFUSED:
        return "Förbindelsen nekades";
    case ESHUTDOWN:
        return "Förbindelsen är nedstängd";
    case ETIMEDOUT:
        return "Tidsgränsen överskreds";
    case ESTALE:
        return "Filen finns inte längre på servern";
    case EUCLEAN:
        return "Filsystemet är skadat och behöver repareras";
    case EREMOTEIO:
        return "In- eller utmatningsfel på fjärrenheten";
    case EDQUOT:
        return "Diskkvoten är överskriden";
    case ENOMEDIUM:
        return "Inget medium i enheten";
    case EMEDIUMTYPE:
        return "Fel sorts medium";
    case ECANCELED:
        return "Åtgärden avbröts";
    default:
        return nullptr;
    }
}

} // namespace

QString systemfeltext(int fel) {
    if (fel == 0)
        fel = EIO;
    const char* text = beskrivning(fel);
    return QString::number(fel) + QLatin1Char(' ') +
           (text ? QString::fromUtf8(text) : QStringLiteral("Okänt systemfel"));
}
