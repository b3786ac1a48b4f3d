#pragma once

#include <functional>

class Meddelanden;

// The program told to end by the system (SIGTERM at a logout or a shutdown,
// SIGHUP, Ctrl+C in a terminal). It ends as Avsluta ends it, but nobody is
// there to answer: from the moment it is told, every message is answered as
// unanswered without being shown. A copy of a competition that runs holds the
// message seam until it has ended whole or been taken back by its own code;
// only then are the event loops left, and once the last has returned, with no
// window's code below it any more, the program is closed. It never cuts
// into a copy and never leaves the open competition's lock behind.
class Avslutning {
public:
    // stang closes the program without asking anything; it runs after the
    // event loops have all been left.
    Avslutning(Meddelanden& m, std::function<void()> stang);
    Avslutning(const Avslutning&) = delete;
    Avslutning& operator=(const Avslutning&) = delete;

    // Runs the program's event loop; when it was left because the program was
    // told to end, closes the program and gives 0. Otherwise the loop's code.
    // Told already, before the loop (during a message of the start), it
    // closes the program at once.
    int kor();

    // The program has been told to end; before its loop as well as in it. A
    // second time changes nothing.
    void begar();
    bool begard() const { return m_begard; }

private:
    Meddelanden& m_m;
    std::function<void()> m_stang;
    bool m_begard = false;
};
