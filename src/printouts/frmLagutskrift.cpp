#include "printouts/frmLagutskrift.h"

#include "output/Listkorning.h"
#include "platform/Meddelanden.h"
#include "printouts/Lagresultat.h"
#include "printouts/Lagutskriftbok.h"
#include "shell/Felfalla.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Twips.h"
#include "shell/Upptagen.h"
#include "shell/modGlobalt.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

using Ikon = Meddelanden::Ikon;
const QString Formular = QStringLiteral("frmLagutskrift");

} // namespace

frmLagutskrift::frmLagutskrift(Formkontext& k, Utskriftsmal mal, QWidget* parent)
    : QWidget(parent), m_k(k), m_mal(mal) {
    setObjectName(Formular);
    setWindowTitle(QStringLiteral("Lagutskrift"));

    cmdOK = new QPushButton(QStringLiteral("&Skriv ut"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("Skriv ut lagutskriften för vald omgång."));
    cmdOK->setGeometry(twips(300, 1380, 1140, 350));
    lblVilkenOmg = new QLabel(QStringLiteral("Från vilken tävlingsomg ska lagen komma ifrån?"), this);
    lblVilkenOmg->setObjectName(QStringLiteral("lblVilkenOmg"));
    lblVilkenOmg->setWordWrap(true);
    lblVilkenOmg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The question takes two lines of our font: it has the room down to the
    // round list.
    lblVilkenOmg->setGeometry(twips(180, 240, 2475, 555));
    // The rounds are a fixed list carrying their numbers: two rounds may share
    // a description, and a typed text could name no round.
    cboVilkenOmg = new QComboBox(this);
    cboVilkenOmg->setObjectName(QStringLiteral("cboVilkenOmg"));
    cboVilkenOmg->setToolTip(QStringLiteral("Välj från vilken tävlingsomgång listan ska skrivas ut från."));
    cboVilkenOmg->setGeometry(twips(180, 840, 2535, 315));
    lblVilkenOmg->setBuddy(cboVilkenOmg);
    cmdAvbryt = new QPushButton(QStringLiteral("&Avbryt"), this);
    cmdAvbryt->setObjectName(QStringLiteral("cmdAvbryt"));
    cmdAvbryt->setToolTip(QStringLiteral("Återgå utan att skriva ut."));
    cmdAvbryt->setGeometry(twips(1620, 1380, 1140, 350));

    setTabOrder(cmdOK, cboVilkenOmg);
    setTabOrder(cboVilkenOmg, cmdAvbryt);
    connect(cmdOK, &QPushButton::clicked, this, &frmLagutskrift::cmdOK_Click);
    connect(cmdAvbryt, &QPushButton::clicked, this, &frmLagutskrift::cmdAvbryt_Click);

    Form_Load();
}

void frmLagutskrift::Form_Load() {
    visaUtskriftsmal();
    setFixedSize(twips(Bredd), twips(Hojd));

    QList<Lagresultat::Utan> utan;
    {
        // A failure is told once the hourglass is down.
        Upptagen timglas;
        m_laddad = Felfalla::standard(m_k.m(), Formular, QStringLiteral("Form_load"))([&] {
            timglas.steg([&] {
                utan = Lagresultat::rakna(m_k.g().cnnTavling);
                if (m_k.g().blnFleraTavlingar)
                    Hamta_omg();
            });
        });
    }
    if (!m_laddad)
        return;
    // Told once the scores are stored; the list is still written.
    Lagresultat::tala(m_k.m(), utan);
    if (!m_k.g().blnFleraTavlingar)
        UtskriftExcel(std::nullopt);
}

void frmLagutskrift::nyBegaran(const Utskriftsmal& mal) {
    if (mal == m_mal)
        return;
    m_mal = mal;
    visaUtskriftsmal();
}

void frmLagutskrift::visaUtskriftsmal() {
    Grafik grafik(m_k.g().strProgrammapp, m_k.m(), Formular, QStringLiteral("Ikon saknas!"),
                  Ikon::Information, QStringLiteral("Ikon saknas"));
    // The disk for a list that is only saved, as the other list dialogs show it.
    setWindowIcon(grafik.ikon(m_mal == Utskriftsmal::Fil ? QStringLiteral("grafik/ikoner/Disk.ico")
                                                         : QStringLiteral("grafik/ikoner/Printer.ico")));
}

void frmLagutskrift::Hamta_omg() {
    // In the order they were entered, not sorted by number.
    const QList<Omgangar::Omgang> omgangar = Omgangar::iInskrivenOrdning(m_k.g().cnnTavling);
    for (const Omgangar::Omgang& o : omgangar)
        cboVilkenOmg->addItem(o.beskrivning, o.omg);
    cboVilkenOmg->setEnabled(!omgangar.isEmpty());
    if (!omgangar.isEmpty())
        cboVilkenOmg->setCurrentIndex(0);
}

void frmLagutskrift::cmdOK_Click() {
    if (m_kor)
        return;
    const int i = cboVilkenOmg->currentIndex();
    if (i < 0) {
        const Omgangar::Vagran v = Omgangar::ingenOmgang();
        m_k.m().visa(v.text, v.titel, Ikon::Utropstecken);
        return;
    }
    UtskriftExcel(Omgangar::Omgang{cboVilkenOmg->itemData(i).toInt(), cboVilkenOmg->itemText(i)});
}

void frmLagutskrift::UtskriftExcel(const std::optional<Omgangar::Omgang>& omgang) {
    const QScopedValueRollback kor(m_kor, true);
    const Utskriftsmal mal = m_mal;
    Listkorning::kor(m_k, {.mal = mal, .lista = &Lagutskriftbok::ark(), .dialog = this},
                     [&](const Arbetsboksram::Omgivning& o) { return Lagutskriftbok::kor(o, mal, omgang); });
}

void frmLagutskrift::cmdAvbryt_Click() {
    m_k.fonster().stangFonster(this);
}

void frmLagutskrift::closeEvent(QCloseEvent* e) {
    if (m_kor) {
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}
