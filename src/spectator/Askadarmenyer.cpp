#include "spectator/Askadarmenyer.h"

#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/modGlobalt.h"
#include "spectator/Askadarflode.h"

Askadarmenyer::Askadarmenyer(Fonstervard& fonster, Askadarflode& flode, QObject* parent)
    : QObject(parent), m_fonster(fonster), m_flode(flode) {
    connect(&flode, &Askadarflode::klientAnsluten, this, [this] {
        if (!inskrivningOppen(m_fonster, m_flode))
            m_fonster.sattMeny(Meny::mnuVisaAskSkarm, true);
    });
    connect(&flode, &Askadarflode::anslutningSlut, this,
            [this] { m_fonster.sattMeny(Meny::mnuVisaAskSkarm, false); });
    connect(&flode, &Askadarflode::tillstandAndrat, this, [this] {
        if (m_flode.g().blnTCPStartFel)
            m_fonster.sattMeny(Meny::mnuAskadarskarm, false);
    });
}

bool Askadarmenyer::inskrivningOppen(const Fonstervard& fonster, const Askadarflode& flode) {
    return flode.resultatinskrivningOppen() || fonster.fonster(Fonsternamn::InskrivningSkyttar) != nullptr;
}
