#pragma once

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QPushButton;
class QTreeView;
class Formkontext;

// Picks (or makes) a folder for the window that opened it. It belongs to that
// window (it goes when the window goes) and keeps it from being used while it is
// open; the choice is handed over by the signal valt, so nothing is ever handed
// to a window that has gone. Tag "inställningar" (the settings form) gets the
// folder as it is; any other caller gets it with a trailing separator.
class frmBladdra : public QDialog {
    Q_OBJECT
public:
    static inline const QString TaggInstallningar = QStringLiteral("inställningar");

    frmBladdra(Formkontext& k, QWidget* anropare, const QString& tag);

    QString aktuellMapp() const { return m_aktuell; }
    void valjMapp(const QString& mapp);
    // The text handed back to the caller for a folder.
    static QString tillbakatext(const QString& mapp, const QString& tag);

signals:
    // OK was pressed on a folder: the text for the caller's field.
    void valt(const QString& text);

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QPushButton* cmdOK;
    void cmdNyMapp_Click();
    void cmdOK_Click();
    void cmdAvbryt_Click();
    void Drive1_Change(int index);
    // Scrolls the chosen folder into view while the operator has not moved the list.
    void visaAktuell();

    Formkontext& m_k;
    QString m_tag;
    QFileSystemModel* m_modell;
    QComboBox* Drive1;
    QTreeView* Dir1;
    QString m_aktuell;
    bool m_folj = true;
};
