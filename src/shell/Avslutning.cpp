#include "shell/Avslutning.h"

#include "platform/Meddelanden.h"

#include <QCoreApplication>
#include <utility>

Avslutning::Avslutning(Meddelanden& m, std::function<void()> stang) : m_m(m), m_stang(std::move(stang)) {}

int Avslutning::kor() {
    // Told before the loop ran (at a message of the start, the main window not
    // yet up) the loop is not entered: the exit asked for then was spent on
    // the loops of that moment, and nothing holds the seam yet.
    int kod = 0;
    if (!m_begard || m_m.hallen())
        kod = QCoreApplication::exec();
    if (!m_begard)
        return kod;
    if (m_stang)
        m_stang();
    return 0;
}

void Avslutning::begar() {
    if (std::exchange(m_begard, true))
        return;
    m_m.avsluta();
    // Every loop is left, a dialog's and a message box's as well, so that the
    // code below each of them has run to its end before the program closes;
    // what they ask meanwhile is answered at once. A copy's hold keeps them
    // running until the copy has ended.
    m_m.narFri([] { QCoreApplication::exit(0); });
}
