#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;
class Meddelanden;

// Picks (or makes) a folder and hands it back to the window that opened it. The
// caller is disabled while the chooser is open and enabled again however it
// closes. Tag "inställningar" (the settings form) gets the folder as it is; any
// other caller gets it with a trailing separator.
class frmBladdra : public QWidget {
    Q_OBJECT
public:
    static inline const QString TaggInstallningar = QStringLiteral("inställningar");

    frmBladdra(QWidget* anropare, const QString& tag, const QString& programmapp, Meddelanden& m,
               std::function<void(const QString&)> skrivTill);

    QString aktuellMapp() const { return m_aktuell; }
    void valjMapp(const QString& mapp);
    // The text written back to the caller for a folder.
    static QString tillbakatext(const QString& mapp, const QString& tag);

    QComboBox* Drive1;
    QTreeView* Dir1;
    QPushButton* cmdNyMapp;
    QPushButton* cmdOK;
    QPushButton* cmdAvbryt;

public slots:
    void cmdNyMapp_Click();
    void cmdOK_Click();
    void cmdAvbryt_Click();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void Drive1_Change(int index);

    QPointer<QWidget> m_anropare;
    QString m_tag;
    Meddelanden& m_m;
    std::function<void(const QString&)> m_skrivTill;
    QFileSystemModel* m_modell;
    QString m_aktuell;
};
