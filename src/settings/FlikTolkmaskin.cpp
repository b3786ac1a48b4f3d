#include "settings/FlikTolkmaskin.h"

#include "platform/Meddelanden.h"
#include "settings/AutoRakning.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/modGlobalt.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int Enter = 13;
constexpr int Backsteg = 8;

// The character a key press types, as a text box's key handler sees it; 0 for
// keys that type nothing (arrows, Delete, Tab moving the focus ...).
int tecken(const QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Enter;
    case Qt::Key_Backspace:
        return Backsteg;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0;
    default:
        return e->text().isEmpty() ? 0 : e->text().at(0).unicode();
    }
}

bool siffra(int c) {
    return c >= '0' && c <= '9';
}

} // namespace

FlikTolkmaskin::FlikTolkmaskin(Formkontext& k, QWidget* parent, Tolkmaskinstider tider)
    : Installningsflik(k, parent) {
    setObjectName(QStringLiteral("flikTolkmaskin"));

    chkTolkmGrund = new QCheckBox(QStringLiteral("Tolkmaskin i grundomgången?"), this);
    chkTolkmGrund->setObjectName(QStringLiteral("chkTolkmGrund"));
    chkTolkmGrund->setToolTip(QStringLiteral("Ska tolkmaskinen kopplas till PC:n i grundomgången?"));
    chkTolkmFinal = new QCheckBox(QStringLiteral("Tolkmaskin i finalen?"), this);
    chkTolkmFinal->setObjectName(QStringLiteral("chkTolkmFinal"));
    chkTolkmFinal->setToolTip(QStringLiteral("Detta finns inte än."));
    // The final has no machine yet.
    chkTolkmFinal->setEnabled(false);

    frameVilkenTolkmaskin = new QGroupBox(QStringLiteral("Vilken tolkmaskin?"), this);
    frameVilkenTolkmaskin->setObjectName(QStringLiteral("frameVilkenTolkmaskin"));
    optSAM4000 = new QRadioButton(QStringLiteral("SAM 4000"), frameVilkenTolkmaskin);
    optSAM4000->setObjectName(QStringLiteral("optSAM4000"));
    optSAM4000->setChecked(true);
    optRIKA = new QRadioButton(QStringLiteral("RIKA"), frameVilkenTolkmaskin);
    optRIKA->setObjectName(QStringLiteral("optRIKA"));
    auto* modellLayout = new QVBoxLayout(frameVilkenTolkmaskin);
    modellLayout->addWidget(optSAM4000);
    modellLayout->addWidget(optRIKA);

    lblComport = new QLabel(QStringLiteral("Comport:"), this);
    lblComport->setObjectName(QStringLiteral("lblComport"));
    txtComport = new QLineEdit(this);
    txtComport->setObjectName(QStringLiteral("txtComport"));
    txtComport->setToolTip(QStringLiteral("Vilken Com port på PC:n är maskinen kopplad till?"));
    txtComport->setMaximumWidth(40);
    lblComport->setBuddy(txtComport);

    chkDecimalerRika = new QCheckBox(QStringLiteral("Decimaler?"), this);
    chkDecimalerRika->setObjectName(QStringLiteral("chkDecimalerRika"));
    chkDecimalerRika->setToolTip(QStringLiteral(
        "Ska programmet räkna innertior automatiskt? Då blir det decimaler på tavlorna också."));
    chkBarCode = new QCheckBox(QStringLiteral("Streckkoder?"), this);
    chkBarCode->setObjectName(QStringLiteral("chkBarCode"));
    chkBarCode->setToolTip(QStringLiteral(
        "Ska man använda streckkoder på tavlorna för att få resultatet automatiskt till rätt skytt?"));
    // Bar codes on the cards were never made.
    chkBarCode->setEnabled(false);

    lblInnertia = new QLabel(QStringLiteral("Vad ska räknas som innertia?"), this);
    lblInnertia->setObjectName(QStringLiteral("lblInnertia"));
    txtInnertia = new QLineEdit(this);
    txtInnertia->setObjectName(QStringLiteral("txtInnertia"));
    txtInnertia->setToolTip(QStringLiteral("Vilket resultat ska räknas som en innertia?"));
    txtInnertia->setMaximumWidth(60);
    lblInnertia->setBuddy(txtInnertia);

    cmdTestaKomm = new QPushButton(QStringLiteral("&Testa komm."), this);
    cmdTestaKomm->setObjectName(QStringLiteral("cmdTestaKomm"));
    cmdTestaKomm->setToolTip(QStringLiteral("Testar om kommunikationen med tolkmaskinen fungerar."));

    cmdAuto1098 = new QPushButton(QStringLiteral("Auto 10,9,8.."), this);
    cmdAuto1098->setObjectName(QStringLiteral("cmdAuto1098"));
    cmdAuto1098->setToolTip(QStringLiteral("Återställer automatisk räkning av valörer."));
    lblAuto1098 = new QLabel(
        QStringLiteral(
            "Om det står \"Man 10,9,8..\" i statusbaren i Resultat inskrivning då räknas inte "
            "antalet tior nior osv ut automatiskt. Om man inte har några resultat inskrivna kan man "
            "klicka här för att få tillbaka \"Auto 10,9,8..\""),
        this);
    lblAuto1098->setObjectName(QStringLiteral("lblAuto1098"));
    lblAuto1098->setWordWrap(true);

    comTolkmaskinTest = new Tolkmaskinstest(tider, this);
    comTolkmaskinTest->setObjectName(QStringLiteral("comTolkmaskinTest"));

    auto* portrad = new QHBoxLayout;
    portrad->addWidget(lblComport);
    portrad->addWidget(txtComport);
    portrad->addStretch();
    auto* innertiarad = new QHBoxLayout;
    innertiarad->addWidget(lblInnertia);
    innertiarad->addWidget(txtInnertia);
    innertiarad->addStretch();
    auto* autorad = new QHBoxLayout;
    autorad->addWidget(cmdAuto1098, 0, Qt::AlignTop);
    autorad->addWidget(lblAuto1098, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkTolkmGrund);
    layout->addWidget(chkTolkmFinal);
    layout->addWidget(frameVilkenTolkmaskin);
    layout->addLayout(portrad);
    layout->addWidget(chkDecimalerRika);
    layout->addWidget(chkBarCode);
    layout->addWidget(cmdTestaKomm, 0, Qt::AlignLeft);
    layout->addSpacing(12);
    layout->addLayout(innertiarad);
    layout->addSpacing(12);
    layout->addLayout(autorad);
    layout->addStretch();

    txtComport->installEventFilter(this);
    txtInnertia->installEventFilter(this);
    connect(chkTolkmGrund, &QCheckBox::toggled, this, &FlikTolkmaskin::Tolkmaskinsreglar);
    connect(chkTolkmFinal, &QCheckBox::toggled, this, &FlikTolkmaskin::Tolkmaskinsreglar);
    connect(optSAM4000, &QRadioButton::toggled, this, [this](bool vald) {
        if (vald)
            optSAM4000_Click();
    });
    connect(optRIKA, &QRadioButton::toggled, this, [this](bool vald) {
        if (vald)
            optRIKA_Click();
    });
    connect(cmdAuto1098, &QPushButton::clicked, this, &FlikTolkmaskin::cmdAuto1098_Click);
    connect(cmdTestaKomm, &QPushButton::clicked, this, &FlikTolkmaskin::cmdTestaKomm_Click);
    connect(comTolkmaskinTest, &Tolkmaskinstest::klar, this, &FlikTolkmaskin::testKlar);

    Tolkmaskinsreglar();
}

FlikTolkmaskin::~FlikTolkmaskin() {
    avbrytTest();
}

void FlikTolkmaskin::visa(const Installningsvarden& v) {
    chkTolkmFinal->setChecked(v.tolkmaskinIFinalen);
    chkTolkmGrund->setChecked(v.tolkmaskinIGrundomg);
    Tolkmaskinsreglar();
    txtComport->setText(v.comport);
    txtInnertia->setText(v.innertia);
    chkDecimalerRika->setChecked(v.decimalerRika);
    // Choosing the model acts as a click on it: the decimals follow.
    if (v.modell == Installningsvarden::Modell::Rika)
        optRIKA->setChecked(true);
    else
        optSAM4000->setChecked(true);
}

void FlikTolkmaskin::hamta(Installningsvarden& v) const {
    v.tolkmaskinIFinalen = chkTolkmFinal->isChecked();
    v.tolkmaskinIGrundomg = chkTolkmGrund->isChecked();
    v.comport = txtComport->text();
    v.modell = optRIKA->isChecked() ? Installningsvarden::Modell::Rika : Installningsvarden::Modell::Sam4000;
    v.innertia = txtInnertia->text();
    v.decimalerRika = chkDecimalerRika->isChecked();
}

void FlikTolkmaskin::Tolkmaskinsreglar() {
    // The values stay as they are; only whether they can be changed follows.
    const bool pa = chkTolkmGrund->isChecked();
    frameVilkenTolkmaskin->setEnabled(pa);
    optSAM4000->setEnabled(pa);
    optRIKA->setEnabled(pa);
    txtComport->setEnabled(pa);
    chkDecimalerRika->setEnabled(pa && optRIKA->isChecked());
}

void FlikTolkmaskin::optSAM4000_Click() {
    chkDecimalerRika->setChecked(false);
    chkDecimalerRika->setEnabled(false);
}

void FlikTolkmaskin::optRIKA_Click() {
    if (chkTolkmGrund->isChecked() || chkTolkmFinal->isChecked())
        chkDecimalerRika->setEnabled(true);
}

void FlikTolkmaskin::fokuseraComport() {
    txtComport->setFocus();
}

void FlikTolkmaskin::tomOchFokuseraInnertia() {
    txtInnertia->clear();
    txtInnertia->setFocus();
}

bool FlikTolkmaskin::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const auto* tangent = static_cast<QKeyEvent*>(e);
        if (o == txtComport)
            return txtComport_KeyPress(tangent);
        if (o == txtInnertia)
            return txtInnertia_KeyPress(tangent);
    } else if (e->type() == QEvent::FocusOut && o == txtInnertia) {
        // Checked when the operator moves on within the tab. Leaving the tab,
        // the window or closing the form is left to the form's close check,
        // which tells the same fault once and brings the operator back here.
        QWidget* ny = QApplication::focusWidget();
        if (ny && ny != txtInnertia && isAncestorOf(ny))
            txtInnertia_Validate();
    }
    return Installningsflik::eventFilter(o, e);
}

bool FlikTolkmaskin::txtComport_KeyPress(const QKeyEvent* e) {
    const int c = tecken(e);
    if (c == 0 || c == Backsteg || siffra(c))
        return false;
    if (c == Enter) {
        focusNextChild();
        return true;
    }
    QApplication::beep();
    return true;
}

bool FlikTolkmaskin::txtInnertia_KeyPress(const QKeyEvent* e) {
    const int c = tecken(e);
    if (c == 0 || c == Backsteg || siffra(c))
        return false;
    if (c == Enter) {
        focusNextChild();
        return true;
    }
    const QString text = txtInnertia->text().trimmed();
    if (c == ',' && !text.isEmpty() && !text.contains(QLatin1Char(',')))
        return false;
    QApplication::beep();
    return true;
}

void FlikTolkmaskin::txtInnertia_Validate() {
    if (m_validerar)
        return;
    if (const std::optional<double> varde = Installningar::innertiaGodkand(txtInnertia->text())) {
        m_k.g().sngInnertia = *varde;
        return;
    }
    m_validerar = true;
    m_k.m().visa(QStringLiteral("Du får bara skriva ett värde mellan 10,1 och 10,9 på innertian!"),
                 QStringLiteral("Fel inmatat"), Meddelanden::Ikon::Kritisk);
    txtInnertia->clear();
    m_validerar = false;
    // The focus is on its way elsewhere; it comes back once it has arrived.
    QTimer::singleShot(0, txtInnertia, [this] { txtInnertia->setFocus(); });
}

void FlikTolkmaskin::cmdAuto1098_Click() {
    Felfalla::standard(m_k.m(), QStringLiteral("frmInställningar"), QStringLiteral("cmdAuto1098_Click"))(
        [&] { AutoRakning::aterstall(m_k.g(), m_k.m()); });
}

void FlikTolkmaskin::cmdTestaKomm_Click() {
    if (comTolkmaskinTest->pagar())
        return;
    m_testar.emplace(cmdTestaKomm);
    const QString enhet = Tolkmaskinstest::enhetForComport(txtComport->text(), m_k.g().iniProgram);
    comTolkmaskinTest->starta(enhet, optRIKA->isChecked() ? Tolkmaskinstest::Modell::Rika
                                                          : Tolkmaskinstest::Modell::Sam4000);
}

void FlikTolkmaskin::testKlar(const Tolkmaskinstest::Utfall& utfall) {
    m_testar.reset();
    Tolkmaskinstest::meddela(m_k.m(), utfall);
}

void FlikTolkmaskin::avbrytTest() {
    if (!comTolkmaskinTest->pagar())
        return;
    comTolkmaskinTest->avbryt();
    m_testar.reset();
}
