#include "settings/FlikSkjuttider.h"

#include "competition/Skjuttider.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Rutnat.h"
#include "shell/Tangentregler.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
using Ikon = Meddelanden::Ikon;

QPushButton* knapp(const QString& namn, const QString& text, const QString& tips, QWidget* foralder) {
    auto* b = new QPushButton(text, foralder);
    b->setObjectName(namn);
    b->setToolTip(tips);
    // Enter on a focused button presses it, as the time box sends the focus here.
    b->setAutoDefault(true);
    return b;
}

Felfalla falla(Meddelanden& m, const QString& procedur) {
    return Felfalla::standard(m, QStringLiteral("frmInställningar"), procedur);
}
} // namespace

FlikSkjuttider::FlikSkjuttider(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {
    setObjectName(QStringLiteral("flikSkjuttider"));

    vbagrSkjuttider = new Rutnat(this);
    vbagrSkjuttider->setObjectName(QStringLiteral("vbagrSkjuttider"));
    vbagrSkjuttider->laggTillKolumn(QStringLiteral("Skjutlag"), 58);
    vbagrSkjuttider->laggTillKolumn(QStringLiteral("Skjuttid"), 222);

    txtSkjuttidLag = new QLineEdit(this);
    txtSkjuttidLag->setObjectName(QStringLiteral("txtSkjuttidLag"));
    txtSkjuttidLag->setToolTip(QStringLiteral("Vilket skjutlag gäller för tiden."));
    // The key filter keeps typing to digits; this keeps pasted text to them too,
    // and short enough to be a squad number.
    txtSkjuttidLag->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtSkjuttidLag));
    txtSkjuttidLag->setMaxLength(4);
    txtSkjuttidLag->installEventFilter(this);
    txtSkjuttidBeskr = new QLineEdit(this);
    txtSkjuttidBeskr->setObjectName(QStringLiteral("txtSkjuttidBeskr"));
    txtSkjuttidBeskr->setToolTip(QStringLiteral("Här skriver man in vilken tid, ex. Fredag kl 18.00"));
    txtSkjuttidBeskr->installEventFilter(this);

    cmdNySkjuttid = knapp(QStringLiteral("cmdNySkjuttid"), QStringLiteral("&Ny tid"),
                          QStringLiteral("Gör en ny tid."), this);
    cmdAndraSkjuttid = knapp(QStringLiteral("cmdAndraSkjuttid"), QStringLiteral("&Ändra tid"),
                             QStringLiteral("Ändra den valda skjuttiden."), this);
    cmdRaderaSkjuttid = knapp(QStringLiteral("cmdRaderaSkjuttid"), QStringLiteral("Ra&dera tid"),
                              QStringLiteral("Radera markerad tid i listan."), this);
    cmdAvbrytSkjuttid = knapp(QStringLiteral("cmdAvbrytSkjuttid"), QStringLiteral("A&vbryt"),
                              QStringLiteral("Avbryt inskrivningen av den nya tiden."), this);

    mnuPopupTider = new QMenu(QStringLiteral("Popup Tider"), this);
    mnuPopupTider->setObjectName(QStringLiteral("mnuPopupTider"));
    mnuNyTid = mnuPopupTider->addAction(QStringLiteral("Ny tid"));
    mnuNyTid->setObjectName(QStringLiteral("mnuNyTid"));
    mnuAndraTid = mnuPopupTider->addAction(QStringLiteral("Ändra tid"));
    mnuAndraTid->setObjectName(QStringLiteral("mnuAndraTid"));
    mnuRaderaTid = mnuPopupTider->addAction(QStringLiteral("Radera tid"));
    mnuRaderaTid->setObjectName(QStringLiteral("mnuRaderaTid"));

    auto* falt = new QGridLayout;
    falt->addWidget(new QLabel(QStringLiteral("Skjutlag"), this), 0, 0);
    falt->addWidget(new QLabel(QStringLiteral("Skjuttid"), this), 0, 1);
    falt->addWidget(txtSkjuttidLag, 1, 0);
    falt->addWidget(txtSkjuttidBeskr, 1, 1);
    falt->setColumnStretch(1, 1);
    auto* knappar = new QHBoxLayout;
    knappar->addWidget(cmdRaderaSkjuttid);
    knappar->addWidget(cmdAvbrytSkjuttid);
    knappar->addStretch();
    knappar->addWidget(cmdNySkjuttid);
    knappar->addWidget(cmdAndraSkjuttid);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(vbagrSkjuttider, 1);
    layout->addLayout(falt);
    layout->addLayout(knappar);

    connect(cmdNySkjuttid, &QPushButton::clicked, this, &FlikSkjuttider::cmdNySkjuttid_Click);
    connect(cmdAndraSkjuttid, &QPushButton::clicked, this, &FlikSkjuttider::cmdAndraSkjuttid_Click);
    connect(cmdRaderaSkjuttid, &QPushButton::clicked, this, &FlikSkjuttider::cmdRaderaSkjuttid_Click);
    connect(cmdAvbrytSkjuttid, &QPushButton::clicked, this, &FlikSkjuttider::cmdAvbrytSkjuttid_Click);
    connect(mnuNyTid, &QAction::triggered, this, &FlikSkjuttider::cmdNySkjuttid_Click);
    connect(mnuAndraTid, &QAction::triggered, this, &FlikSkjuttider::cmdAndraSkjuttid_Click);
    connect(mnuRaderaTid, &QAction::triggered, this, &FlikSkjuttider::cmdRaderaSkjuttid_Click);
    connect(vbagrSkjuttider, &Rutnat::itemSelectionChanged, this,
            &FlikSkjuttider::vbagrSkjuttider_SelectionChange);
    connect(vbagrSkjuttider, &Rutnat::cellClicked, this, &FlikSkjuttider::vbagrSkjuttider_Click);
    connect(vbagrSkjuttider, &Rutnat::cellDoubleClicked, this, &FlikSkjuttider::vbagrSkjuttider_DblClick);
    connect(vbagrSkjuttider, &Rutnat::hogerklick, this, &FlikSkjuttider::vbagrSkjuttider_MouseUp);

    sattLage(Lage::Vilande);
}

void FlikSkjuttider::visa(const Installningsvarden&) {
    Hamta_in_tider_till_gridden();
    sattAndraRadera(vbagrSkjuttider->valdRad() != 0);
}

void FlikSkjuttider::Hamta_in_tider_till_gridden() {
    const QList<Skjuttider::Rad> rader = Skjuttider::alla(m_k.db());
    vbagrSkjuttider->setUpdatesEnabled(false);
    vbagrSkjuttider->tom();
    for (const Skjuttider::Rad& r : rader)
        vbagrSkjuttider->laggTillRad({QString::number(r.skjutlag), r.skjuttid});
    vbagrSkjuttider->setUpdatesEnabled(true);
}

void FlikSkjuttider::sattAndraRadera(bool pa) {
    cmdAndraSkjuttid->setEnabled(pa);
    cmdRaderaSkjuttid->setEnabled(pa);
    mnuAndraTid->setEnabled(pa);
    mnuRaderaTid->setEnabled(pa);
}

void FlikSkjuttider::sattLage(Lage lage) {
    m_lage = lage;
    const bool vilande = lage == Lage::Vilande;
    const bool lagOppet = lage == Lage::NyTid;
    txtSkjuttidLag->setEnabled(lagOppet);
    sattGra(txtSkjuttidLag, !lagOppet);
    txtSkjuttidBeskr->setEnabled(!vilande);
    sattGra(txtSkjuttidBeskr, vilande);
    cmdNySkjuttid->setText(vilande ? QStringLiteral("&Ny tid") : QStringLiteral("S&para"));
    cmdAvbrytSkjuttid->setEnabled(!vilande);
    mnuNyTid->setEnabled(vilande);
    sattAndraRadera(vilande && vbagrSkjuttider->valdRad() != 0);
    if (lage == Lage::NyTid) {
        txtSkjuttidLag->clear();
        txtSkjuttidBeskr->clear();
        txtSkjuttidLag->setFocus();
    } else if (lage == Lage::AndraTid) {
        txtSkjuttidBeskr->setFocus();
    }
}

void FlikSkjuttider::cmdNySkjuttid_Click() {
    if (m_lage == Lage::Vilande)
        sattLage(Lage::NyTid);
    else
        spara();
}

void FlikSkjuttider::spara() {
    Meddelanden& m = m_k.m();
    txtSkjuttidLag->setText(txtSkjuttidLag->text().trimmed());
    txtSkjuttidBeskr->setText(txtSkjuttidBeskr->text().trimmed());
    // In a change the squad box is locked: the focus goes where something can be typed.
    QLineEdit* forsta = txtSkjuttidLag->isEnabled() ? txtSkjuttidLag : txtSkjuttidBeskr;
    if (txtSkjuttidLag->text().isEmpty() || txtSkjuttidBeskr->text().isEmpty()) {
        m.visa(QStringLiteral("Du måste fylla i alla fälten!"), QStringLiteral("Tomma fält"), Ikon::Kritisk);
        forsta->setFocus();
        return;
    }
    bool ok = false;
    const int skjutlag = txtSkjuttidLag->text().toInt(&ok);
    if (!ok) {
        m.visa(QStringLiteral("Skjutlaget skrivs med siffror!"), QStringLiteral("Fel"));
        forsta->setFocus();
        return;
    }
    if (skjutlag == 0) {
        m.visa(QStringLiteral("Du får inte skriva skjutlag 0!"), QStringLiteral("Fel"));
        forsta->setFocus();
        return;
    }
    const QString skjuttid = txtSkjuttidBeskr->text();
    // A failed save keeps the entry, so that nothing typed is lost.
    const bool sparad = Felfalla(m, QStringLiteral("cmdNyTid_Click "), Ikon::Ingen, QString())([&] {
        int lage = Skjuttider::Skriv;
        HanteraSkjuttid(m_k.db(), skjutlag, lage, skjuttid, Skjuttider::LasEllerSkriv);
        Hamta_in_tider_till_gridden();
    });
    if (sparad)
        sattLage(Lage::Vilande);
}

void FlikSkjuttider::cmdAndraSkjuttid_Click() {
    const int rad = vbagrSkjuttider->valdRad();
    if (rad == 0)
        return;
    // The selected row is the one changed, whatever the boxes last showed.
    txtSkjuttidLag->setText(vbagrSkjuttider->cell(rad, 1));
    txtSkjuttidBeskr->setText(vbagrSkjuttider->cell(rad, 2));
    sattLage(Lage::AndraTid);
}

void FlikSkjuttider::cmdAvbrytSkjuttid_Click() {
    txtSkjuttidLag->clear();
    txtSkjuttidBeskr->clear();
    sattLage(Lage::Vilande);
}

void FlikSkjuttider::cmdRaderaSkjuttid_Click() {
    const int rad = vbagrSkjuttider->valdRad();
    if (rad == 0)
        return;
    if (m_k.m().visa(QStringLiteral("Vill du verkligen radera Tiden: ") + vbagrSkjuttider->cell(rad, 2),
                     QStringLiteral("Bekräfta radering"), Ikon::Fraga,
                     Meddelanden::Knappar::JaNej) != Meddelanden::Svar::Ja)
        return;
    const int skjutlag = vbagrSkjuttider->cell(rad, 1).toInt();
    falla(m_k.m(), QStringLiteral("cmdRaderaSkjuttid_Click"))([&] {
        Skjuttider::radera(m_k.db(), skjutlag);
        txtSkjuttidLag->clear();
        txtSkjuttidBeskr->clear();
        Hamta_in_tider_till_gridden();
    });
    sattAndraRadera(m_lage == Lage::Vilande && vbagrSkjuttider->valdRad() != 0);
}

// Every way of pointing at a row shows it and leaves any entry: the boxes then
// always hold the row that change and delete act on.
void FlikSkjuttider::visaValdRad() {
    const int rad = vbagrSkjuttider->valdRad();
    if (rad == 0)
        return;
    txtSkjuttidLag->setText(vbagrSkjuttider->cell(rad, 1));
    txtSkjuttidBeskr->setText(vbagrSkjuttider->cell(rad, 2));
    sattLage(Lage::Vilande);
}

void FlikSkjuttider::vbagrSkjuttider_SelectionChange() {
    visaValdRad();
}

void FlikSkjuttider::vbagrSkjuttider_Click() {
    visaValdRad();
}

void FlikSkjuttider::vbagrSkjuttider_DblClick() {
    visaValdRad();
}

void FlikSkjuttider::vbagrSkjuttider_MouseUp(const QPoint& var) {
    mnuPopupTider->popup(var);
}

bool FlikSkjuttider::eventFilter(QObject* o, QEvent* e) {
    if (e->type() != QEvent::KeyPress || (o != txtSkjuttidLag && o != txtSkjuttidBeskr))
        return Installningsflik::eventFilter(o, e);
    const auto* tangent = static_cast<QKeyEvent*>(e);
    if (Tangentregler::arEnter(tangent)) {
        (o == txtSkjuttidLag ? static_cast<QWidget*>(txtSkjuttidBeskr) : cmdNySkjuttid)->setFocus();
        return true;
    }
    // The squad box takes digits and Backspace; other characters are refused
    // with a beep. Keys that type nothing (arrows, Delete, Tab) and shortcuts
    // with Ctrl pass.
    if (o == txtSkjuttidLag && !(tangent->modifiers() & Qt::ControlModifier)) {
        const QString text = tangent->text();
        if (!text.isEmpty() && text.at(0).isPrint() &&
            !(text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9'))) {
            QApplication::beep();
            return true;
        }
    }
    return Installningsflik::eventFilter(o, e);
}
