#pragma once

#include "settings/Installningsflik.h"

// The tab "&Tolkmaskin": the scoring machine, its link test and the reset of automatic counting.
class FlikTolkmaskin : public Installningsflik {
    Q_OBJECT
public:
    explicit FlikTolkmaskin(Formkontext& k, QWidget* parent = nullptr);

    // The close checks point at the field that failed.
    void fokuseraComport() {}
    void tomOchFokuseraInnertia() {}
    // A link test under way ends, with no verdict, when the form closes.
    void avbrytTest() {}
};
