#pragma once

#include "lists/Skarmlista.h"

#include <QFont>
#include <QList>
#include <QWidget>

class Formkontext;
class QPushButton;
class Rutnat;

// "Resultat Grundomg": the result list on screen, one grid and a button that
// closes the window. It computes nothing: each list it is given replaces the
// one it showed, so a new round never stands below another round's places.
class frmResSkarmGrund : public QWidget {
    Q_OBJECT
public:
    explicit frmResSkarmGrund(Formkontext& k, QWidget* parent = nullptr);

    void visaLista(const QList<Skarmlista::Rad>& rader);

private:
    void Formatera_resultatgridden();
    void cmdOK_Click();

    Formkontext& m_k;
    Rutnat* vbagrResultat;
    QPushButton* cmdOK;
    QFont m_total;
    QFont m_klassrubrik;
    // The columns' own widths; a list widens them only as far as it needs.
    QList<int> m_bredder;
    QList<int> m_storsta; // each column's limit, 0 for none
};
