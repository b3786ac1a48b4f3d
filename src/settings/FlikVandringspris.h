#pragma once

#include "settings/Installningsflik.h"

// The tab "&Vandringspris/Totaltävling": the challenge prize.
class FlikVandringspris : public Installningsflik {
    Q_OBJECT
public:
    explicit FlikVandringspris(Formkontext& k, QWidget* parent = nullptr);

    // The form closes: the shooters' prize series are brought up to date
    // (gammalVilka: the Vilka text the INI held before anything was written);
    // may ask the operator and choose "Valda" again.
    void stangs(const QString& gammalVilka) { Q_UNUSED(gammalVilka); }
};
