#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class Askadarflode;
class Formkontext;

// "Konfigurera åskådarskärm": what to type into the display program on the
// spectator PC (this PC's name or address), the state of the link with its error
// count and last error, and stopping and restarting the link. The labels follow
// the link for as long as the window is open.
class frmKonfigAskSkarm : public QWidget {
    Q_OBJECT
public:
    frmKonfigAskSkarm(Formkontext& k, Askadarflode& flode, QWidget* parent = nullptr);

    // The text for the link's state now ("2, Väntar på anslutning").
    QString Status_TCP() const;

private:
    void cmdStartaTCP_Click();
    void cmdStoppaTCP_Click();
    void cmdOK_Click();
    void Form_Load();
    // The state label and the buttons: start while nothing listens or is
    // connected, stop otherwise.
    void visaStatus();
    void visaFel();

    Formkontext& m_k;
    Askadarflode& m_flode;
    QLineEdit* txtDatornamn;
    QLineEdit* txtIPNummer;
    QLabel* lblStatusTCP2;
    QLabel* lblTCPErrorDesc;
    QLabel* lblAntalFel;
    QPushButton* cmdStartaTCP;
    QPushButton* cmdStoppaTCP;
};
