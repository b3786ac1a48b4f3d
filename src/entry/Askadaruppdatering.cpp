#include "entry/Askadaruppdatering.h"

#include "shell/modGlobalt.h"
#include "spectator/Askadarflode.h"

Askadaruppdatering::Askadaruppdatering(modGlobalt& g, Askadarflode& flode, int intervallMs, QObject* parent)
    : QObject(parent), m_g(g), m_flode(flode) {
    // Not single-shot: while another squad is on screen it keeps looking.
    m_timer.setInterval(intervallMs);
    connect(&m_timer, &QTimer::timeout, this, &Askadaruppdatering::tidUte);
}

bool Askadaruppdatering::paSkarm() const {
    return m_g.intValtSkjutlag != 0 && m_g.intSkjutlagPaSkarm == m_g.intValtSkjutlag;
}

void Askadaruppdatering::serieSparad(bool parsummaAndrad) {
    if (parsummaAndrad && paSkarm())
        borjaOm();
}

void Askadaruppdatering::skottForSkottSparat() {
    if (paSkarm())
        borjaOm();
}

void Askadaruppdatering::skickaVantande() {
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    if (paSkarm())
        m_flode.visaSkjutlag(m_g.intValtSkjutlag);
}

void Askadaruppdatering::tidUte() {
    if (!paSkarm())
        return;
    m_timer.stop();
    m_flode.visaSkjutlag(m_g.intValtSkjutlag);
}

void Askadaruppdatering::borjaOm() {
    m_timer.start();
}
