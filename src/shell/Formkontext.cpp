#include "shell/Formkontext.h"

#include "shell/Fonstervard.h"
#include "shell/modGlobalt.h"

Databas& Formkontext::db() const {
    return m_g.cnnTavling;
}

void Formkontext::sattMeny(Meny meny, bool pa) const {
    m_fonster.sattMeny(meny, pa);
}

void Formkontext::sattMenyer(const QList<Meny>& menyer, bool pa) const {
    for (Meny meny : menyer)
        m_fonster.sattMeny(meny, pa);
}
