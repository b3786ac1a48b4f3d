#pragma once

#include <QObject>

class Askadarflode;
class Fonstervard;

// What the spectator link does to the main menu's Åskådarskärm items:
//
//   a display connects      "&Visa" on, unless registration or result entry is open
//   the display is gone     "&Visa" off (it left, failed, was cut off or stopped)
//   the network is down     the whole "&Åskådarskärm" menu off for the run
//
// Registration and result entry take both items while they are open and give
// them back themselves.
class Askadarmenyer : public QObject {
    Q_OBJECT
public:
    Askadarmenyer(Fonstervard& fonster, Askadarflode& flode, QObject* parent = nullptr);

    // Whether the registration window or the result-entry window is open: the
    // two spectator items stay off meanwhile.
    static bool inskrivningOppen(const Fonstervard& fonster, const Askadarflode& flode);

private:
    Fonstervard& m_fonster;
    Askadarflode& m_flode;
};
