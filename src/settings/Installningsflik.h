#pragma once

#include <QWidget>

class Formkontext;
struct Installningsvarden;

// One tab of the settings form. The form loads the INI-backed settings into a
// value object and hands it to every tab to show, and gathers them back from
// every tab when it closes; the tabs' own tables they write at once.
class Installningsflik : public QWidget {
    Q_OBJECT
public:
    explicit Installningsflik(Formkontext& k, QWidget* parent = nullptr) : QWidget(parent), m_k(k) {}

    // Shows the INI-backed settings that belong to this tab.
    virtual void visa(const Installningsvarden&) {}
    // Puts this tab's INI-backed settings into the value object.
    virtual void hamta(Installningsvarden&) const {}
    // The form has become the active window again.
    virtual void aktiverad() {}
    // The operator leaves this tab for another.
    virtual void lamnas() {}
    // The form is about to close: a change the tab writes on leaving a field,
    // and that its check accepts, is written now.
    virtual void sparaVantande() {}

protected:
    Formkontext& m_k;
};
