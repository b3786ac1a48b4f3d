#include "settings/FlikVandringspris.h"

#include "competition/Vandringspris.h"
#include "platform/Meddelanden.h"
#include "settings/Installningsvarden.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Tangentregler.h"
#include "shell/modGlobalt.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString Formular = QStringLiteral("frmInställningar");
}

FlikVandringspris::FlikVandringspris(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {
    setObjectName(QStringLiteral("flikVandringspris"));
    auto* lblVandringspris = new QLabel(QStringLiteral("Ska det finnas en tävling där flera klasser kan ha "
                                                       "möjlighet att skjuta om t.ex. ett vandringspris?"),
                                        this);
    lblVandringspris->setWordWrap(true);
    chkVandringspris = new QCheckBox(QStringLiteral("Vandringspris."), this);
    chkVandringspris->setObjectName(QStringLiteral("chkVandringspris"));
    chkVandringspris->setToolTip(QStringLiteral("Ska det finnas ett vandringspris med i tävlingen. Endast "
                                                "ett vandringspris per Tävling(inkl alla omg.)"));

    frameVilka = new QGroupBox(QStringLiteral("Vilka ska få vara med i tävlingen?"), this);
    frameVilka->setObjectName(QStringLiteral("frameVilka"));
    optAlla = new QRadioButton(QStringLiteral("Alla skyttar."), frameVilka);
    optAlla->setObjectName(QStringLiteral("optAlla"));
    optAlla->setToolTip(QStringLiteral("Ska alla som anmäls få vara med i tävlingen?"));
    optValda = new QRadioButton(QStringLiteral("Valda skyttar") + QString(22, QLatin1Char(' ')) +
                                    QStringLiteral("(Väljs vid inskrivningen.)"),
                                frameVilka);
    optValda->setObjectName(QStringLiteral("optValda"));
    optValda->setToolTip(
        QStringLiteral("Eller ska bara dom som ex betalar få vara med. Markera med ett kryss vid "
                       "inskrivningen av skytten."));
    m_vilka = new QButtonGroup(this);
    m_vilka->addButton(optAlla);
    m_vilka->addButton(optValda);
    auto* vilkaLayout = new QVBoxLayout(frameVilka);
    vilkaLayout->addWidget(optAlla);
    vilkaLayout->addWidget(optValda);

    txtVandringsprisNamn = new QLineEdit(this);
    txtVandringsprisNamn->setObjectName(QStringLiteral("txtVandringsprisNamn"));
    txtVandringsprisNamn->setToolTip(QStringLiteral("Namnet på tävlingen."));
    txtAntalSkottVandring = new QLineEdit(this);
    txtAntalSkottVandring->setObjectName(QStringLiteral("txtAntalSkottVandring"));
    txtAntalSkottVandring->setToolTip(QStringLiteral("Hur många skott måste man skjuta för att räknas?"));
    // Only typed digits: no paste from a menu or a drop.
    txtAntalSkottVandring->setContextMenuPolicy(Qt::NoContextMenu);
    txtAntalSkottVandring->setAcceptDrops(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblVandringspris);
    layout->addWidget(chkVandringspris);
    layout->addWidget(frameVilka);
    layout->addWidget(new QLabel(QStringLiteral("Vad ska tävlingen heta?"), this));
    layout->addWidget(txtVandringsprisNamn);
    layout->addWidget(new QLabel(QStringLiteral("Hur många skott ska räknas?"), this));
    layout->addWidget(txtAntalSkottVandring);
    layout->addStretch();

    setTabOrder(chkVandringspris, optAlla);
    setTabOrder(optAlla, optValda);
    setTabOrder(optValda, txtVandringsprisNamn);
    setTabOrder(txtVandringsprisNamn, txtAntalSkottVandring);

    for (QWidget* w : std::initializer_list<QWidget*>{chkVandringspris, optAlla, optValda,
                                                      txtVandringsprisNamn, txtAntalSkottVandring})
        w->installEventFilter(this);
    // Only the operator's click: the tick that loading sets asks nothing.
    connect(chkVandringspris, &QCheckBox::clicked, this, &FlikVandringspris::chkVandringspris_Click);
}

void FlikVandringspris::visa(const Installningsvarden& v) {
    m_serierFanns = Vandringspris::serierFinns(m_k.db());
    chkVandringspris->setChecked(v.vandringspris);
    txtVandringsprisNamn->setText(v.vandringsprisNamn);
    txtAntalSkottVandring->setText(v.antalSkottVandring);
    m_godkandaSkott = v.antalSkottVandring.trimmed();
    // A Vilka text that is neither leaves both unchosen.
    m_vilka->setExclusive(false);
    optAlla->setChecked(v.vilka == Installningsvarden::Vilka::Alla);
    optValda->setChecked(v.vilka == Installningsvarden::Vilka::Valda);
    m_vilka->setExclusive(true);
}

void FlikVandringspris::hamta(Installningsvarden& v) const {
    v.vandringspris = chkVandringspris->isChecked();
    v.vandringsprisNamn = txtVandringsprisNamn->text();
    v.antalSkottVandring = giltigaSkott();
    if (optAlla->isChecked())
        v.vilka = Installningsvarden::Vilka::Alla;
    else if (optValda->isChecked())
        v.vilka = Installningsvarden::Vilka::Valda;
    else
        v.vilka.reset();
}

QString FlikVandringspris::giltigaSkott() const {
    const QString text = txtAntalSkottVandring->text().trimmed();
    if (text.isEmpty() || text == m_godkandaSkott)
        return text;
    return m_godkandaSkott;
}

void FlikVandringspris::lamnas() {
    sparaVantande();
}

void FlikVandringspris::sparaVantande() {
    const QString text = txtAntalSkottVandring->text().trimmed();
    if (!text.isEmpty() && text != m_godkandaSkott)
        txtAntalSkottVandring_Validate(false);
}

bool FlikVandringspris::txtAntalSkottVandring_Validate(bool meddela) {
    using Utfall = Vandringspris::Skottkontroll::Utfall;
    bool godkand = true;
    Felfalla::standard(m_k.m(), Formular, QStringLiteral("txtAntalSkottVandring_Validate"))([&] {
        const Vandringspris::Skottkontroll k = Vandringspris::kontrolleraSkott(
            m_k.g(), txtAntalSkottVandring->text(), meddela ? &m_k.m() : nullptr);
        if (k.utfall == Utfall::Tom || k.utfall == Utfall::ForFa) {
            godkand = false;
            return;
        }
        if (k.utfall == Utfall::Bytt)
            txtAntalSkottVandring->setText(QString::number(k.skott));
        m_godkandaSkott = txtAntalSkottVandring->text().trimmed();
        Vandringspris::bytAntalSkott(m_k.db(), m_serierFanns, k.skott);
    });
    return godkand;
}

void FlikVandringspris::chkVandringspris_Click() {
    // Switching on writes nothing yet: the shooters get their series when the form closes.
    if (chkVandringspris->isChecked())
        return;
    Felfalla::standard(m_k.m(), Formular, QStringLiteral("chkVandringspris_Click"))([&] {
        if (!Vandringspris::stangAv(m_k.db(), m_k.m(), m_serierFanns))
            chkVandringspris->setChecked(true);
    });
}

Vandringspris::Stangningsbeslut FlikVandringspris::beslutaVidStangning(const QString& gammalVilka) {
    Vandringspris::Stangningsbeslut beslut;
    Felfalla::standard(m_k.m(), Formular, QStringLiteral("Form_Unload"))([&] {
        Vandringspris::Stangningslage l;
        l.pa = chkVandringspris->isChecked();
        l.alla = optAlla->isChecked();
        l.serierFanns = m_serierFanns;
        l.gammalVilka = gammalVilka;
        l.antalSkott = giltigaSkott();
        beslut = Vandringspris::beslutaVidStangning(m_k.db(), m_k.m(), l);
        if (beslut.utfall == Vandringspris::Stangning::ValdaIgen)
            optValda->setChecked(true);
    });
    return beslut;
}

void FlikVandringspris::verkstallStangning(const Vandringspris::Stangningsbeslut& beslut) {
    Felfalla::standard(m_k.m(), Formular,
                       QStringLiteral("Form_Unload"))([&] { Vandringspris::verkstall(m_k.db(), beslut); });
}

bool FlikVandringspris::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const auto* tangent = static_cast<QKeyEvent*>(e);
        if (Tangentregler::arEnter(tangent)) {
            focusNextChild();
            return true;
        }
        if (o == txtAntalSkottVandring && Tangentregler::skriverTecken(tangent) &&
            !Tangentregler::tillatsIHeltal(tangent)) {
            QApplication::beep();
            return true;
        }
    } else if (e->type() == QEvent::FocusOut && o == txtAntalSkottVandring &&
               Tangentregler::operatorenGickVidare(static_cast<QFocusEvent*>(e))) {
        if (!txtAntalSkottVandring_Validate(true))
            QTimer::singleShot(0, txtAntalSkottVandring, [this] {
                if (txtAntalSkottVandring->isVisible() && txtAntalSkottVandring->isEnabled())
                    txtAntalSkottVandring->setFocus();
            });
    }
    return Installningsflik::eventFilter(o, e);
}
