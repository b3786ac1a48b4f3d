#include "shell/Tavling.h"

#include "common/Fel.h"
#include "platform/Meddelanden.h"
#include "shell/modGlobalt.h"

#include <QDir>
#include <QFileInfo>

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

Oppning OppnaTavling(modGlobalt& g, Meddelanden& m, bool hoppaOver) {
    Oppning o;
    o.utfall = Utfall::Oppnad;
    if (hoppaOver)
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
    }
    return o;
}

void stang(modGlobalt& g) {
    g.NollstallTavlingsdata();
    g.cnnTavling.Close();
}

} // namespace Tavling
