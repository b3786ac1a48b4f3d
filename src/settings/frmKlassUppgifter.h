#pragma once

#include "common/Poster.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Formkontext;

// One class typed in: a new class, a change of a class, or a new main class.
// The boxes open one after the other as the operator types; OK checks, writes
// at once and closes, and tells its opener through sparad() so that the opener
// can show the new state.
class frmKlassUppgifter : public QDialog {
    Q_OBJECT
public:
    enum class Lage { NyKlass, AndraKlass, NyHuvudklass };

    // In AndraKlass the boxes show klass and are all open; the other modes start
    // empty and ignore it.
    frmKlassUppgifter(Formkontext& k, Lage lage, const Klass& klass = {}, QWidget* parent = nullptr);

    Lage lage() const { return m_lage; }

signals:
    // The class (or main class) was written; the dialog closes next.
    void sparad();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void cmdOK_Click();
    void cmdAvbryt_Click();
    // The code's length; false when it was too long (told, emptied, focus kept).
    bool txtKlass_Validate();
    bool txtKlass_KeyPress(QKeyEvent* e);
    bool txtKlassnamn_KeyPress(QKeyEvent* e);
    bool txtAntalSkott_KeyPress(QKeyEvent* e);
    bool cboSportNat_KeyPress(QKeyEvent* e);
    QWidget* efterAntalSkott() const;

    QLabel* lblKlass;
    QLineEdit* txtKlass;
    QLabel* lblKlassnamn;
    QLineEdit* txtKlassnamn;
    QLabel* lblAntalSkott;
    QLineEdit* txtAntalSkott;
    QLabel* lblSportNat;
    QComboBox* cboSportNat;
    QPushButton* cmdOK;
    QPushButton* cmdAvbryt;
    Formkontext& m_k;
    Lage m_lage;
    qint64 m_raknare = 0;
    bool m_validerar = false;
};
