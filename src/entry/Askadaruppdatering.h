#pragma once

#include <QObject>
#include <QTimer>

class Askadarflode;
class modGlobalt;

// The spectator display learns of saved series a moment after the last one, so
// that a squad typed quickly goes out once and not once per series. The wait
// starts again on every save that changed a pair sum while the open squad is on
// screen; when it ends the squad is sent if it is still on screen, otherwise it
// looks again after the same wait until it is.
class Askadaruppdatering : public QObject {
    Q_OBJECT
public:
    static constexpr int Intervall = 2000; // ms

    Askadaruppdatering(modGlobalt& g, Askadarflode& flode, int intervallMs = Intervall,
                       QObject* parent = nullptr);

    // A typed or machine-read series was saved.
    void serieSparad(bool parsummaAndrad);
    // A series was saved shot by shot: the wait starts again whenever the open
    // squad is on screen.
    void skottForSkottSparat();
    // The squad is about to change or the window to close: a pending update goes
    // out now if its squad is still on screen, and nothing is left pending.
    void skickaVantande();
    bool vantar() const { return m_timer.isActive(); }

private:
    void tidUte();
    void borjaOm();
    // The squad open in result entry is the one the display shows.
    bool paSkarm() const;

    modGlobalt& m_g;
    Askadarflode& m_flode;
    QTimer m_timer;
};
