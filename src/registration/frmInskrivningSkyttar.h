#pragma once

#include <QWidget>

class Formkontext;

// The registration of shooters: squads and lanes, and the shooter on the lane.
class frmInskrivningSkyttar : public QWidget {
    Q_OBJECT
public:
    explicit frmInskrivningSkyttar(Formkontext& k, QWidget* parent = nullptr);

    // What the shooter search drives (it shows each hit here): the squad shown,
    // the lane row selected in the squad's grid, and the shooter of that lane
    // shown in the fields.
    void valjSkjutlag(int skjutlag);
    bool valjBana(int bana);
    void HamtaSkytt();

protected:
    Formkontext& m_k;
};
