#include "spectator/frmKonfigAskSkarm.h"

#include "platform/Meddelanden.h"
#include "shell/Delade.h"
#include "shell/Felfalla.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Twips.h"
#include "shell/Upptagen.h"
#include "shell/modGlobalt.h"
#include "spectator/Askadarflode.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString Form = QStringLiteral("frmKonfigÅskSkärm");
} // namespace

frmKonfigAskSkarm::frmKonfigAskSkarm(Formkontext& k, Askadarflode& flode, QWidget* parent)
    : QWidget(parent), m_k(k), m_flode(flode) {
    setObjectName(QStringLiteral("frmKonfigAskSkarm"));
    setWindowTitle(QStringLiteral("Konfigurera åskådarskärm"));

    auto namnge = [](QWidget* w, const char* namn) { w->setObjectName(QString::fromLatin1(namn)); };
    txtDatornamn = new QLineEdit(this);
    namnge(txtDatornamn, "txtDatornamn");
    txtDatornamn->setToolTip(
        QStringLiteral("Detta namn ska skrivas in i programmet PKKlient på åskådar PC:n."));
    auto* lblDatornamn = new QLabel(QStringLiteral("Datornamn som ska stå i klientprogrammet."), this);
    namnge(lblDatornamn, "lblDatornamn");
    lblDatornamn->setWordWrap(true);
    txtIPNummer = new QLineEdit(this);
    namnge(txtIPNummer, "txtIPNummer");
    txtIPNummer->setToolTip(
        QStringLiteral("eller så ska detta IP nummer skrivas in i programmet PKKlient på åskådar PC:n."));
    auto* lblIPNummer = new QLabel(QStringLiteral("eller IP nummer."), this);
    namnge(lblIPNummer, "lblIPNummer");

    auto* frameStatus = new QGroupBox(QStringLiteral("Status"), this);
    namnge(frameStatus, "frameStatus");
    auto* lblStatusTCP = new QLabel(QStringLiteral("TCP anslutningens status:"), frameStatus);
    namnge(lblStatusTCP, "lblStatusTCP");
    lblStatusTCP2 = new QLabel(frameStatus);
    namnge(lblStatusTCP2, "lblStatusTCP2");
    auto* status = new QVBoxLayout(frameStatus);
    status->addWidget(lblStatusTCP);
    status->addWidget(lblStatusTCP2);

    auto* frameFel = new QGroupBox(QStringLiteral("Fel status"), this);
    namnge(frameFel, "frameFel");
    auto* lblSenasteFelBesk = new QLabel(QStringLiteral("Senaste fel."), frameFel);
    namnge(lblSenasteFelBesk, "lblSenasteFelBesk");
    lblTCPErrorDesc = new QLabel(frameFel);
    namnge(lblTCPErrorDesc, "lblTCPErrorDesc");
    lblTCPErrorDesc->setWordWrap(true);
    lblAntalFel = new QLabel(frameFel);
    namnge(lblAntalFel, "lblAntalFel");
    auto* fel = new QVBoxLayout(frameFel);
    fel->addWidget(lblSenasteFelBesk);
    fel->addWidget(lblTCPErrorDesc);
    fel->addWidget(lblAntalFel);

    cmdStartaTCP = new QPushButton(QStringLiteral("Starta TCP"), this);
    namnge(cmdStartaTCP, "cmdStartaTCP");
    cmdStartaTCP->setToolTip(QStringLiteral("Starta kommunikationen med åskådar PC:n ifall den stannat."));
    cmdStoppaTCP = new QPushButton(QStringLiteral("Stoppa TCP"), this);
    namnge(cmdStoppaTCP, "cmdStoppaTCP");
    cmdStoppaTCP->setToolTip(QStringLiteral("Stoppar kommunikationen med åskådar PC:n."));
    auto* cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    namnge(cmdOK, "cmdOK");
    cmdOK->setToolTip(QStringLiteral("Aktivera inställningarna."));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtDatornamn);
    layout->addWidget(lblDatornamn);
    layout->addWidget(txtIPNummer);
    layout->addWidget(lblIPNummer);
    layout->addWidget(frameStatus);
    layout->addWidget(frameFel);
    layout->addWidget(cmdStartaTCP);
    layout->addWidget(cmdStoppaTCP);
    layout->addStretch();
    layout->addWidget(cmdOK);

    connect(cmdStartaTCP, &QPushButton::clicked, this, &frmKonfigAskSkarm::cmdStartaTCP_Click);
    connect(cmdStoppaTCP, &QPushButton::clicked, this, &frmKonfigAskSkarm::cmdStoppaTCP_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmKonfigAskSkarm::cmdOK_Click);
    // The link's events refresh the labels for as long as the window is open.
    connect(&flode, &Askadarflode::tillstandAndrat, this, &frmKonfigAskSkarm::visaStatus);
    connect(&flode, &Askadarflode::felAndrat, this, &frmKonfigAskSkarm::visaFel);

    Form_Load();
}

void frmKonfigAskSkarm::Form_Load() {
    Grafik grafik(m_k.g().strProgrammapp, m_k.m(), Form, QStringLiteral("Ikon saknas!"),
                  Meddelanden::Ikon::Information, QStringLiteral("Ikon saknas"));
    setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Net.ico")));
    Felfalla::standard(m_k.m(), Form, QStringLiteral("Form_load"))([&] {
        txtDatornamn->setText(Delade::HamtaDatornamn());
        txtDatornamn->setEnabled(false);
        // The display PC reaches us through the address of the default route;
        // the others follow for a PC on another network of ours.
        txtIPNummer->setText(TcpPeer::LocalIPs().join(QStringLiteral(", ")));
        txtIPNummer->setCursorPosition(0);
        txtIPNummer->setEnabled(false);
        visaStatus();
        visaFel();
        resize(twips(3495), twips(6240));
    });
}

QString frmKonfigAskSkarm::Status_TCP() const {
    return m_flode.Status_TCP();
}

void frmKonfigAskSkarm::visaStatus() {
    const QString status = Status_TCP();
    lblStatusTCP2->setText(status);
    const bool igang = status.startsWith(QLatin1Char('2')) || status.startsWith(QLatin1Char('7'));
    cmdStartaTCP->setEnabled(!igang);
    cmdStoppaTCP->setEnabled(igang);
}

void frmKonfigAskSkarm::visaFel() {
    lblTCPErrorDesc->setText(m_flode.senasteFel());
    lblAntalFel->setText(QStringLiteral("Antal fel: ") + QString::number(m_flode.antalFel()));
}

void frmKonfigAskSkarm::cmdStartaTCP_Click() {
    m_flode.Starta_winsock_tcp();
    visaStatus();
}

void frmKonfigAskSkarm::cmdStoppaTCP_Click() {
    m_flode.stoppa();
    visaStatus();
    m_k.sattMeny(Meny::mnuVisaAskSkarm, false);
}

void frmKonfigAskSkarm::cmdOK_Click() {
    const Upptagen upptagen;
    m_k.fonster().stangFonster(this);
}
