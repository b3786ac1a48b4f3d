#include "platform/Meddelanden.h"

#include <QEventLoop>
#include <utility>

Meddelanden::Hallning Meddelanden::hall() {
    ++m_hallningar;
    return Hallning(*this);
}

void Meddelanden::Hallning::slapp() {
    if (Meddelanden* m = std::exchange(m_m, nullptr))
        m->slappHallning();
}

void Meddelanden::slappHallning() {
    if (--m_hallningar > 0)
        return;
    vackAlla();
    // What waited for the hold may take one in its turn.
    for (auto& f : std::exchange(m_narFri, {})) {
        if (m_hallningar > 0) {
            m_narFri.push_back(std::move(f));
            continue;
        }
        f();
    }
}

void Meddelanden::narFri(std::function<void()> f) {
    if (m_hallningar > 0)
        m_narFri.push_back(std::move(f));
    else
        f();
}

void Meddelanden::avsluta() {
    m_avslutas = true;
    vackAlla();
    stangOppna();
}

void Meddelanden::vackAlla() {
    for (Vantande* v : std::as_const(m_vantande))
        v->loop->quit();
}

bool Meddelanden::vantaPaTur(const QString& text) {
    if (m_avslutas)
        return false;
    if (m_hallningar == 0)
        return true;
    // Timers and sockets go on meanwhile (a display may leave and its question
    // be dropped); the keys and clicks stay with the window that holds the seam.
    QEventLoop loop;
    Vantande v{text, &loop};
    m_vantande.append(&v);
    // A hold taken again before this box had its turn keeps it waiting. A loop
    // that ends at once (-1) means the application's loops are being left.
    while (m_hallningar > 0 && !v.slappt && !m_avslutas)
        if (loop.exec(QEventLoop::ExcludeUserInputEvents) == -1)
            break;
    m_vantande.removeOne(&v);
    return !v.slappt && !m_avslutas;
}

bool Meddelanden::slappVantande(const QString& text) {
    for (Vantande* v : std::as_const(m_vantande)) {
        if (v->text == text && !v->slappt) {
            v->slappt = true;
            v->loop->quit();
            return true;
        }
    }
    return false;
}
