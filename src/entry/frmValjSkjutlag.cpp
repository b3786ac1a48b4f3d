#include "entry/frmValjSkjutlag.h"

#include "common/Fel.h"
#include "competition/Skjutlag.h"
#include "competition/Skjuttider.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Tangentregler.h"
#include "shell/Twips.h"
#include "shell/modGlobalt.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
using Ikon = Meddelanden::Ikon;

const QString Form = QStringLiteral("frmVäljSkjutlag");

} // namespace

frmValjSkjutlag::frmValjSkjutlag(Formkontext& k, int forvalt, QWidget* parent)
    : QDialog(parent), m_k(k), m_forvalt(forvalt) {
    setObjectName(QStringLiteral("frmValjSkjutlag"));
    setWindowTitle(QStringLiteral("Välj skjutlag"));
    setModal(true);
    byggFormular();
    Form_Load();
}

std::optional<int> frmValjSkjutlag::valj(Formkontext& k, int forvalt, QWidget* foralder) {
    frmValjSkjutlag valj(k, forvalt, foralder);
    if (valj.exec() != QDialog::Accepted)
        return std::nullopt;
    // The picker is off the screen before the rows of another squad are built.
    if (valj.valtSkjutlag() != forvalt) {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    return valj.valtSkjutlag();
}

void frmValjSkjutlag::byggFormular() {
    frameSkjutlag = new QGroupBox(QStringLiteral("Skjutlag"), this);
    frameSkjutlag->setObjectName(QStringLiteral("frameSkjutlag"));
    frameSkjutlag->setMouseTracking(true);
    frameSkjutlag->installEventFilter(this);
    m_grupp = new QButtonGroup(this);
    m_grupp->setExclusive(true);
    auto* rutor = new QGridLayout(frameSkjutlag);
    rutor->setHorizontalSpacing(twips(120));
    Opt.append(nullptr);
    for (int i = 1; i <= AntalOptioner; ++i) {
        auto* b = new QRadioButton(QString::number(i), frameSkjutlag);
        b->setObjectName(QStringLiteral("Opt%1").arg(i));
        b->setToolTip(QStringLiteral("Välj det skjutlag som du vill skriva in resultat i."));
        b->setVisible(false);
        b->setMouseTracking(true);
        b->installEventFilter(this);
        m_grupp->addButton(b, i);
        // Odd squads above, the next even one below: 1 and 2 share a column.
        rutor->addWidget(b, (i - 1) % 2, (i - 1) / 2);
        Opt.append(b);
    }
    // The squads keep their places however few of them are offered.
    for (int kolumn = 0; kolumn < AntalOptioner / 2; ++kolumn)
        rutor->setColumnMinimumWidth(kolumn, twips(495));

    auto* lblSkjuttid = new QLabel(QStringLiteral("Skjuttid:"), this);
    lblSkjuttid->setObjectName(QStringLiteral("lblSkjuttid"));
    lblSkjuttidVarde = new QLabel(this);
    lblSkjuttidVarde->setObjectName(QStringLiteral("lblSkjuttidVarde"));
    auto* cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("Välj valt skjutlag."));
    auto* cmdAvbryt = new QPushButton(QStringLiteral("&Avbryt"), this);
    cmdAvbryt->setObjectName(QStringLiteral("cmdAvbryt"));
    cmdAvbryt->setToolTip(QStringLiteral("Stäng detta fönster utan ätt välja någonting."));
    // Enter on an option means OK; the buttons take Enter only when focused.
    cmdOK->setAutoDefault(false);
    cmdAvbryt->setAutoDefault(false);

    auto* tid = new QHBoxLayout;
    tid->addWidget(lblSkjuttid);
    tid->addWidget(lblSkjuttidVarde, 1);
    auto* knappar = new QHBoxLayout;
    knappar->addStretch();
    knappar->addWidget(cmdOK);
    knappar->addWidget(cmdAvbryt);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frameSkjutlag);
    layout->addLayout(tid);
    layout->addLayout(knappar);

    connect(m_grupp, &QButtonGroup::idToggled, this, [this](int id, bool pa) {
        if (pa)
            Opt_Click(id);
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmValjSkjutlag::cmdOK_Click);
    connect(cmdAvbryt, &QPushButton::clicked, this, &frmValjSkjutlag::cmdAvbryt_Click);
}

void frmValjSkjutlag::Form_Load() {
    m_blnOK = false;
    blnForstaGangen = false;
    modGlobalt& g = m_k.g();
    Felfalla(m_k.m(), Form + QStringLiteral(", Form_load: "))([&] {
        Grafik grafik(g.strProgrammapp, m_k.m(), Form, QStringLiteral("Ikon saknas!"), Ikon::Information,
                      QStringLiteral("Ikon saknas"));
        setWindowIcon(grafik.ikon(QStringLiteral("Grafik/Ikoner/Fråga.ico")));

        // Registration never makes more squads than there are options; a database
        // mended by hand still gets a picker that works.
        intAntalSkjutlag = std::clamp(Skjutlag::antal(g.cnnTavling), 1, int(AntalOptioner));
    });
    for (int i = 1; i <= intAntalSkjutlag; ++i)
        Opt[i]->setVisible(true);

    if (m_forvalt != 0) {
        intForvaltSkjutlag = m_forvalt;
        intMarkeratSkjutlag = m_forvalt;
    } else {
        intForvaltSkjutlag = 1;
        intMarkeratSkjutlag = 1;
        blnForstaGangen = true;
    }
    const int visat = std::clamp(intMarkeratSkjutlag, 1, intAntalSkjutlag);
    Opt[visat]->setChecked(true);
    Opt[visat]->setFocus();
    visaSkjuttid(intMarkeratSkjutlag);
}

void frmValjSkjutlag::visaSkjuttid(int skjutlag) {
    int lage = Skjuttider::Las;
    lblSkjuttidVarde->setText(
        HanteraSkjuttid(m_k.db(), skjutlag, lage, QString(), Skjuttider::LasEllerSkriv));
}

void frmValjSkjutlag::Opt_Click(int index) {
    intMarkeratSkjutlag = index;
}

void frmValjSkjutlag::Opt_MouseMove(int index) {
    if (index != intSenastPekat) {
        visaSkjuttid(index);
        blnVisarValt = false;
    }
    intSenastPekat = index;
}

void frmValjSkjutlag::frameSkjutlag_MouseMove() {
    if (blnVisarValt)
        return;
    visaSkjuttid(intMarkeratSkjutlag);
    blnVisarValt = true;
    intSenastPekat = 0;
}

void frmValjSkjutlag::cmdOK_Click() {
    m_blnOK = true;
    accept();
}

void frmValjSkjutlag::cmdAvbryt_Click() {
    reject();
}

bool frmValjSkjutlag::eventFilter(QObject* o, QEvent* e) {
    if (o == frameSkjutlag) {
        if (e->type() == QEvent::MouseMove || e->type() == QEvent::Enter)
            frameSkjutlag_MouseMove();
        return false;
    }
    auto* b = qobject_cast<QRadioButton*>(o);
    const int index = b ? m_grupp->id(b) : -1;
    if (index < 1)
        return false;
    switch (e->type()) {
    case QEvent::FocusIn:
        visaSkjuttid(index);
        break;
    case QEvent::Enter:
        Opt_MouseMove(index);
        break;
    case QEvent::MouseMove:
        Opt_MouseMove(index);
        // The option shows its own time; the frame behind it must not take the
        // move for its own and show the chosen squad's instead.
        return static_cast<QMouseEvent*>(e)->buttons() == Qt::NoButton;
    case QEvent::MouseButtonDblClick:
        intMarkeratSkjutlag = index;
        b->setChecked(true);
        cmdOK_Click();
        return true;
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        if (Tangentregler::arEnter(k)) {
            cmdOK_Click();
            return true;
        }
        // The arrows move between the squads; a typed character means nothing here.
        return Tangentregler::skriverTecken(k);
    }
    default:
        break;
    }
    return false;
}
