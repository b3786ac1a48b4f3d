#include "printouts/frmUtskriftSkjutlag.h"

#include "common/Fel.h"
#include "common/IniNamn.h"
#include "common/Konvertering.h"
#include "competition/Skjutlag.h"
#include "output/Arbetsboksram.h"
#include "output/Listkorning.h"
#include "platform/Meddelanden.h"
#include "platform/clsIni.h"
#include "printouts/Skjutlagslista.h"
#include "shell/Felfalla.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Tangentregler.h"
#include "shell/Twips.h"
#include "shell/modGlobalt.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

using Ikon = Meddelanden::Ikon;
const QString Formular = QStringLiteral("frmUtskriftSkjutlag");

constexpr int Bredd = 4320;
constexpr int HojdMedOmgangar = 2205;
constexpr int HojdUtanOmgangar = 1845;
constexpr int KnapparMedOmgangar = 1320;
constexpr int KnapparUtanOmgangar = 840;

} // namespace

frmUtskriftSkjutlag::frmUtskriftSkjutlag(Formkontext& k, Utskriftsmal mal, QWidget* parent)
    : QWidget(parent), m_k(k), m_mal(mal) {
    setObjectName(Formular);
    setWindowTitle(QStringLiteral("Utskrift skjutlag"));

    lblAllaValj = new QLabel(
        QStringLiteral("Vill du skriva ut alla skjutlag eller välja vilka som ska skrivas ut?"), this);
    lblAllaValj->setObjectName(QStringLiteral("lblAllaValj"));
    lblAllaValj->setWordWrap(true);
    lblAllaValj->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblAllaValj->setGeometry(twips(180, 180, 3855, 615));
    lblVilket = new QLabel(QStringLiteral("Vilket skjutlag vill du skriva ut?"), this);
    lblVilket->setObjectName(QStringLiteral("lblVilket"));
    lblVilket->setGeometry(twips(180, 120, 3855, 255));
    lblVilket->setVisible(false);
    // The box's text is longer in our font than one line of the dialog: it
    // stands beside the box as a label that wraps, and a click on it ticks
    // the box as a click on the box's own text would.
    const QString forklaringstips =
        QStringLiteral("SKa det skrivas ut en sida på slutet med förklaringar till dom olika omgångarna?");
    lblForklaringar = new QLabel(QStringLiteral("Skriv ut en sida med förklaringar till omgångarna."), this);
    lblForklaringar->setObjectName(QStringLiteral("lblForklaringar"));
    lblForklaringar->setToolTip(forklaringstips);
    lblForklaringar->setWordWrap(true);
    lblForklaringar->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblForklaringar->setGeometry(twips(510, 840, 3690, 465));
    lblForklaringar->installEventFilter(this);
    txtVilketlag = new QLineEdit(this);
    txtVilketlag->setObjectName(QStringLiteral("txtVilketlag"));
    txtVilketlag->setToolTip(QStringLiteral("Vilket skjutlag ska skrivas ut?"));
    txtVilketlag->setGeometry(twips(180, 360, 675, 285));
    txtVilketlag->setVisible(false);
    lblVilket->setBuddy(txtVilketlag);
    chkForklaringar = new QCheckBox(this);
    chkForklaringar->setObjectName(QStringLiteral("chkForklaringar"));
    chkForklaringar->setToolTip(forklaringstips);
    chkForklaringar->setGeometry(twips(240, 840, 255, 255));
    lblForklaringar->setBuddy(chkForklaringar);

    const auto knapp = [this](const char* namn, const QString& text, const QString& tips, int vanster) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(namn));
        b->setToolTip(tips);
        b->setGeometry(twips(vanster, KnapparMedOmgangar, 1140, 350));
        return b;
    };
    cmdValj =
        knapp("cmdValj", QStringLiteral("&Välj"), QStringLiteral("Välj ett skjutlag att skriva ut."), 600);
    cmdAlla = knapp("cmdAlla", QStringLiteral("&Alla"), QStringLiteral("Skriv ut alla skjutlag."), 1800);
    cmdSkrivut =
        knapp("cmdSkrivut", QStringLiteral("&Skriv ut"), QStringLiteral("Skriv ut valt skjutlag."), 1800);
    cmdSkrivut->setVisible(false);
    cmdAngra = knapp("cmdAngra", QStringLiteral("Å&tergå"), QStringLiteral("Återgå."), 3000);

    setTabOrder(txtVilketlag, chkForklaringar);
    setTabOrder(chkForklaringar, cmdValj);
    setTabOrder(cmdValj, cmdSkrivut);
    setTabOrder(cmdSkrivut, cmdAlla);
    setTabOrder(cmdAlla, cmdAngra);

    connect(cmdValj, &QPushButton::clicked, this, &frmUtskriftSkjutlag::cmdValj_Click);
    connect(cmdAlla, &QPushButton::clicked, this, &frmUtskriftSkjutlag::cmdAlla_Click);
    connect(cmdSkrivut, &QPushButton::clicked, this, &frmUtskriftSkjutlag::cmdSkrivut_Click);
    connect(cmdAngra, &QPushButton::clicked, this, &frmUtskriftSkjutlag::cmdAngra_Click);
    txtVilketlag->installEventFilter(this);
    connect(&k, &Formkontext::aktiverad, this, [this](QWidget* w) {
        if (w == this)
            Form_Activate();
    });

    Form_Load();
}

void frmUtskriftSkjutlag::Form_Load() {
    // A missing icon is told before the hourglass goes up.
    visaUtskriftsmal();
    m_laddas.emplace();

    m_forklaringar = m_k.g().blnFleraTavlingar;
    if (m_forklaringar) {
        setFixedSize(twips(Bredd), twips(HojdMedOmgangar));
        // A value that is no number leaves the box unticked.
        int varde = 0;
        try {
            varde = Konvertering::textTillHeltal(m_k.g().iniTavling.GetKeyValue(
                Ini::Forklaringar.sektion, Ini::Forklaringar.nyckel, Ini::Forklaringar.standard));
        } catch (const Fel&) {
        }
        chkForklaringar->setChecked(varde == 1);
    } else {
        setFixedSize(twips(Bredd), twips(HojdUtanOmgangar));
        for (QPushButton* b : {cmdValj, cmdAlla, cmdSkrivut, cmdAngra})
            b->move(b->x(), twips(KnapparUtanOmgangar));
        chkForklaringar->setVisible(false);
        lblForklaringar->setVisible(false);
    }
}

void frmUtskriftSkjutlag::nyBegaran(const Utskriftsmal& mal) {
    if (mal == m_mal)
        return;
    m_mal = mal;
    visaUtskriftsmal();
}

void frmUtskriftSkjutlag::visaUtskriftsmal() {
    Grafik grafik(m_k.g().strProgrammapp, m_k.m(), Formular, QStringLiteral("Ikon saknas!"),
                  Ikon::Information, QStringLiteral("Ikon saknas"));
    if (m_mal == Utskriftsmal::Printer)
        setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Printer.ico")));
    else if (m_mal == Utskriftsmal::Fil)
        setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Disk.ico")));
}

void frmUtskriftSkjutlag::Form_Activate() {
    m_laddas.reset();
}

void frmUtskriftSkjutlag::cmdValj_Click() {
    cmdAlla->setVisible(false);
    cmdSkrivut->setVisible(true);
    cmdValj->setVisible(false);
    lblAllaValj->setVisible(false);
    lblVilket->setVisible(true);
    txtVilketlag->setVisible(true);
    txtVilketlag->setFocus();
}

void frmUtskriftSkjutlag::cmdAlla_Click() {
    UtskriftExcel(std::nullopt);
}

void frmUtskriftSkjutlag::cmdSkrivut_Click() {
    if (m_kor || txtVilketlag->text().isEmpty())
        return;
    int antal = 0;
    if (!Felfalla::standard(m_k.m(), Formular,
                            QStringLiteral("cmdSkrivut_Click"))([&] { antal = Skjutlag::antal(m_k.db()); }))
        return;
    const std::optional<int> skjutlag = Skjutlagslista::tolkaSkjutlag(txtVilketlag->text(), antal);
    if (!skjutlag) {
        // The typed text stays, marked, to be put right.
        m_k.m().visa(QStringLiteral("Skjutlaget finns inte!"), QStringLiteral("Fel"), Ikon::Kritisk);
        txtVilketlag->setFocus();
        txtVilketlag->selectAll();
        return;
    }
    UtskriftExcel(skjutlag);
    txtVilketlag->clear();
    txtVilketlag->setFocus();
}

void frmUtskriftSkjutlag::UtskriftExcel(std::optional<int> skjutlag) {
    if (m_kor)
        return;
    const QScopedValueRollback kor(m_kor, true);
    const bool forklaringar = m_forklaringar && chkForklaringar->isChecked();
    const Utskriftsmal mal = m_mal;
    Listkorning::kor(m_k, {.mal = mal, .lista = &Skjutlagslista::ark(), .dialog = this},
                     [&](const Arbetsboksram::Omgivning& o) {
                         return Skjutlagslista::kor(o, mal, skjutlag, forklaringar);
                     });
}

void frmUtskriftSkjutlag::cmdAngra_Click() {
    m_k.fonster().stangFonster(this);
}

bool frmUtskriftSkjutlag::eventFilter(QObject* o, QEvent* e) {
    if (o == lblForklaringar && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton && chkForklaringar->isEnabled()) {
        chkForklaringar->toggle();
        return true;
    }
    if (o == txtVilketlag && e->type() == QEvent::KeyPress &&
        Tangentregler::arEnter(static_cast<QKeyEvent*>(e))) {
        if (!txtVilketlag->text().isEmpty())
            cmdSkrivut_Click();
        return true;
    }
    return QWidget::eventFilter(o, e);
}

void frmUtskriftSkjutlag::closeEvent(QCloseEvent* e) {
    if (m_kor) {
        e->ignore();
        return;
    }
    m_laddas.reset();
    // Only a box the operator saw holds his choice.
    if (m_forklaringar)
        Felfalla(m_k.m(), Formular + QStringLiteral(".Form_Unload: "))([&] {
            clsIni& ini = m_k.g().iniTavling;
            if (!ini.WriteKey(Ini::Forklaringar.sektion, Ini::Forklaringar.nyckel,
                              chkForklaringar->isChecked() ? QStringLiteral("1") : QStringLiteral("0")))
                throw Fel(Felnummer::SokvagsAtkomstfel, ini.senasteFel());
        });
    QWidget::closeEvent(e);
}
