#include "settings/AutoRakning.h"

#include "common/Fel.h"
#include "common/IniNamn.h"
#include "platform/Meddelanden.h"
#include "shell/modGlobalt.h"

namespace AutoRakning {

bool aterstall(modGlobalt& g, Meddelanden& m) {
    Databas& db = g.cnnTavling;
    const bool resultatFinns =
        db.varde(QStringLiteral("SELECT 1 FROM Skyttar WHERE Sum10 <> ? OR Sum20 <> ? OR Sum30 <> ? "
                                "OR Sum40 <> ? OR Sum50 <> ? OR Sum60 <> ? LIMIT 1"),
                 {0, 0, 0, 0, 0, 0})
            .isValid();
    if (resultatFinns) {
        m.visa(QStringLiteral("Det finns fortfarande skyttar med resultat inskrivna.\r\n"
                              "Det går inte att få tillbaka Auto 10,9,8.. då."),
               QStringLiteral("Resultat kvar"), Meddelanden::Ikon::Kritisk);
        return false;
    }
    db.transaktion([&] {
        db.kor(QStringLiteral("UPDATE Skyttar SET Man1098 = ? WHERE Man1098 = ?"), {0, 1});
        db.kor(QStringLiteral("UPDATE Skyttar SET Innertior = ? WHERE Innertior <> ?"), {0, 0});
        // Written before the commit: a file that cannot be written undoes the
        // database too, so the two never disagree.
        if (!g.iniTavling.WriteKeys(
                {{Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, QStringLiteral("0")},
                 {Ini::EjAutoInnertior.sektion, Ini::EjAutoInnertior.nyckel, QStringLiteral("0")}}))
            throw Fel(Felnummer::SokvagsAtkomstfel, g.iniTavling.senasteFel());
    });
    g.blnEjAuto1098 = false;
    m.visa(QStringLiteral("Nu är det Automatisk räkning av 10,9,8.. igen."), QStringLiteral("Klart"),
           Meddelanden::Ikon::Utropstecken);
    return true;
}

} // namespace AutoRakning
