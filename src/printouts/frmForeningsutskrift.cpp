#include "printouts/frmForeningsutskrift.h"

#include "output/Listkorning.h"
#include "platform/Meddelanden.h"
#include "printouts/Foreningslista.h"
#include "shell/Felfalla.h"
#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Twips.h"
#include "shell/modGlobalt.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

const QString Formular = QStringLiteral("frmFöreningsutskrift");

} // namespace

frmForeningsutskrift::frmForeningsutskrift(Formkontext& k, Utskriftsmal mal, QWidget* parent)
    : QWidget(parent), m_k(k), m_mal(mal) {
    setObjectName(QStringLiteral("frmForeningsutskrift"));
    setWindowTitle(QStringLiteral("Utskrift föreningslista"));

    lblOverskrift = new QLabel(
        QStringLiteral("Välj vilken förening som ska skrivas ut eller skriv ut alla föreningar."), this);
    lblOverskrift->setObjectName(QStringLiteral("lblOverskrift"));
    lblOverskrift->setWordWrap(true);
    lblOverskrift->setGeometry(twips(120, 120, 4215, 495));
    lstForeningar = new QListWidget(this);
    lstForeningar->setObjectName(QStringLiteral("lstForeningar"));
    // The list gives the column of choices beside it the width their
    // questions need in two lines of our font.
    lstForeningar->setGeometry(twips(120, 720, 3015, 1620));

    constexpr int Val = 3240, Valbredd = 1440;
    const QString nySida = QStringLiteral("Ska varje förening skrivas ut på en egen sida?");
    Label1 = new QLabel(QStringLiteral("Ny sida efter varje?"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setToolTip(nySida);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setGeometry(twips(Val, 720, Valbredd, 495));
    chkNysida = new QCheckBox(this);
    chkNysida->setObjectName(QStringLiteral("chkNysida"));
    chkNysida->setToolTip(nySida);
    chkNysida->setGeometry(twips(Val, 1200, 255, 375));
    chkNysida->setChecked(true);
    lblResultat = new QLabel(QStringLiteral("Resultat på utskriften?"), this);
    lblResultat->setObjectName(QStringLiteral("lblResultat"));
    lblResultat->setWordWrap(true);
    lblResultat->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblResultat->setGeometry(twips(Val, 1605, Valbredd, 495));
    chkResultat = new QCheckBox(this);
    chkResultat->setObjectName(QStringLiteral("chkResultat"));
    chkResultat->setToolTip(QStringLiteral("Markera här om du vill ha resultat på utsriften."));
    chkResultat->setGeometry(twips(Val, 2100, 255, 375));

    frameSkrivUt = new QGroupBox(QStringLiteral("Skriv ut"), this);
    frameSkrivUt->setObjectName(QStringLiteral("frameSkrivUt"));
    frameSkrivUt->setGeometry(twips(720, 2520, 2655, 735));
    cmdVald = new QPushButton(QStringLiteral("Markerad"), frameSkrivUt);
    cmdVald->setObjectName(QStringLiteral("cmdVald"));
    cmdVald->setToolTip(QStringLiteral("Skriv ut markerad förenings skyttar."));
    cmdVald->setGeometry(twips(840 - 720, 2760 - 2520, 1140, 350));
    cmdVald->setEnabled(false);
    cmdAlla = new QPushButton(QStringLiteral("Alla"), frameSkrivUt);
    cmdAlla->setObjectName(QStringLiteral("cmdAlla"));
    cmdAlla->setToolTip(QStringLiteral("Skriv ut alla föreningars skyttar."));
    cmdAlla->setGeometry(twips(2100 - 720, 2760 - 2520, 1140, 350));
    cmdAngra = new QPushButton(QStringLiteral("Återgå"), this);
    cmdAngra->setObjectName(QStringLiteral("cmdAngra"));
    cmdAngra->setToolTip(QStringLiteral("Återgå."));
    cmdAngra->setGeometry(twips(3480, 2760, 1140, 350));

    setTabOrder(lstForeningar, chkNysida);
    setTabOrder(chkNysida, chkResultat);
    setTabOrder(chkResultat, cmdVald);
    setTabOrder(cmdVald, cmdAlla);
    setTabOrder(cmdAlla, cmdAngra);

    // A club chosen with the mouse or the keyboard can be printed.
    // The list's current row alone (set when the list takes the focus) is no
    // choice: only a selected club is.
    connect(lstForeningar, &QListWidget::itemSelectionChanged, this, [this] {
        if (!lstForeningar->selectedItems().isEmpty())
            cmdVald->setEnabled(true);
    });
    connect(lstForeningar, &QListWidget::itemClicked, this, [this] { cmdVald->setEnabled(true); });
    connect(cmdVald, &QPushButton::clicked, this, &frmForeningsutskrift::cmdVald_Click);
    connect(cmdAlla, &QPushButton::clicked, this, &frmForeningsutskrift::cmdAlla_Click);
    connect(cmdAngra, &QPushButton::clicked, this, &frmForeningsutskrift::cmdAngra_Click);
    connect(&k, &Formkontext::aktiverad, this, [this](QWidget* w) {
        if (w == this)
            Form_Activate();
    });

    Form_Load();
}

void frmForeningsutskrift::Form_Load() {
    // A missing icon is told before the hourglass goes up.
    visaUtskriftsmal();
    m_laddas.emplace();
    resize(twips(Bredd), twips(Hojd));
    QStringList foreningar;
    m_laddad = Felfalla::standard(m_k.m(), Formular, QStringLiteral("Form_load"))(
        [&] { m_laddas->steg([&] { foreningar = Foreningslista::foreningar(m_k.g().cnnTavling); }); });
    if (!m_laddad) {
        m_laddas.reset();
        return;
    }
    Hamta_foreningar(foreningar);
    cmdAlla->setEnabled(!foreningar.isEmpty());
}

void frmForeningsutskrift::nyBegaran(const Utskriftsmal& mal) {
    if (mal == m_mal)
        return;
    m_mal = mal;
    visaUtskriftsmal();
}

void frmForeningsutskrift::visaUtskriftsmal() {
    Grafik grafik(m_k.g().strProgrammapp, m_k.m(), Formular, QStringLiteral("Ikon saknas!"),
                  Meddelanden::Ikon::Information, QStringLiteral("Ikon saknas"));
    if (m_mal == Utskriftsmal::Printer)
        setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Printer.ico")));
    else if (m_mal == Utskriftsmal::Fil)
        setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Disk.ico")));
}

void frmForeningsutskrift::Form_Activate() {
    m_laddas.reset();
    QWidget* ram = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!ram)
        ram = this;
    // Only a minimized or maximized frame is set back: setting a normal one
    // normal again would give it the size it had before it was first shown.
    if (ram->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        ram->setWindowState(Qt::WindowNoState);
}

void frmForeningsutskrift::Hamta_foreningar(const QStringList& foreningar) {
    lstForeningar->clear();
    lstForeningar->addItems(foreningar);
    lstForeningar->setCurrentRow(-1);
}

void frmForeningsutskrift::cmdVald_Click() {
    const QListWidgetItem* vald = lstForeningar->currentItem();
    if (!vald)
        return;
    UtskriftExcel(vald->text());
}

void frmForeningsutskrift::cmdAlla_Click() {
    UtskriftExcel(std::nullopt);
}

void frmForeningsutskrift::UtskriftExcel(const std::optional<QString>& forening) {
    if (m_kor)
        return;
    const Foreningslista::Val val{forening, chkNysida->isChecked(), chkResultat->isChecked()};
    const QScopedValueRollback kor(m_kor, true);
    const Utskriftsmal mal = m_mal;
    Listkorning::kor(m_k, {.mal = mal, .lista = &Foreningslista::ark(), .dialog = this},
                     [&](const Arbetsboksram::Omgivning& o) { return Foreningslista::kor(o, mal, val); });
}

void frmForeningsutskrift::cmdAngra_Click() {
    m_k.fonster().stangFonster(this);
}

void frmForeningsutskrift::closeEvent(QCloseEvent* e) {
    if (m_kor) {
        e->ignore();
        return;
    }
    m_laddas.reset();
    QWidget::closeEvent(e);
}
