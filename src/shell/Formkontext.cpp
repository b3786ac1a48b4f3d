#include "shell/Formkontext.h"

#include "shell/modGlobalt.h"

Databas& Formkontext::db() const {
    return m_g.cnnTavling;
}

void Formkontext::sattMenyer(const QList<Meny>& menyer, bool pa) const {
    for (Meny meny : menyer)
        m_fonster.sattMeny(meny, pa);
}

void Formkontext::oppnas(const Menylagen& lagen) const {
    sattMenyer(lagen.avVidOppning, false);
    sattMenyer(lagen.paVidOppning, true);
}

void Formkontext::stangdes(const Menylagen& lagen) const {
    sattMenyer(lagen.paVidStangning, true);
    sattMenyer(lagen.avVidStangning, false);
}
