#include "entry/frmSfS.h"

#include "competition/Serieregler.h"
#include "platform/Filvag.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Tangentregler.h"
#include "shell/modGlobalt.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const QString Form = QStringLiteral("frmSfS");
using Ikon = Meddelanden::Ikon;

// What the field starts from: the stored shot string, or "00000" (no shot
// values) when there is none or it is only the number nought.
QString skottAttVisa(const QString& lagrad) {
    const bool baraNollor =
        std::all_of(lagrad.cbegin(), lagrad.cend(), [](QChar c) { return c == QLatin1Char('0'); });
    return lagrad.isEmpty() || baraNollor ? Serieregler::TomSkottstrang : lagrad;
}
} // namespace

frmSfS::frmSfS(Formkontext& k, Resultatsparning& sparning, Banrad& rad, int serie, QWidget* parent)
    : QDialog(parent), m_k(k), m_sparning(sparning), m_rad(rad), m_serie(serie) {
    setObjectName(Form);
    setWindowTitle(QStringLiteral("5 Skott"));
    // The icon is a nicety here: without it the dialog opens all the same, unannounced.
    const QString ikon = hittaFil(m_k.g().strProgrammapp, QStringLiteral("grafik/ikoner/Inskrivning.ico"));
    if (!ikon.isEmpty())
        setWindowIcon(QIcon(ikon));

    m_lblTavlanr = new QLabel(
        QStringLiteral("Bana %1 Serie %2").arg(QString::number(m_rad.bana), QString::number(m_serie)), this);
    m_lblTavlanr->setObjectName(QStringLiteral("lblTavlanr"));
    QFont fet = m_lblTavlanr->font();
    fet.setBold(true);
    m_lblTavlanr->setFont(fet);

    m_txtSfS = new QLineEdit(this);
    m_txtSfS->setObjectName(QStringLiteral("txtSfS"));
    m_txtSfS->setToolTip(
        QStringLiteral("Här skriver man alla 5 skotten efter varandra. Tex 98*++ betyder 47p."));
    QFont skott = m_txtSfS->font();
    skott.setPointSizeF(skott.pointSizeF() * 1.5);
    m_txtSfS->setFont(skott);
    // Pasted or dropped text gets in only when it is shot symbols; how many is
    // told on saving, so that a paste of six is not cut short unseen.
    m_txtSfS->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9*+]*")), m_txtSfS));
    connect(m_txtSfS, &QLineEdit::inputRejected, this, &frmSfS::pip);
    m_txtSfS->installEventFilter(this);

    auto* lblForklaring = new QLabel(QStringLiteral("+ = Tior   * = Innertior"), this);
    lblForklaring->setObjectName(QStringLiteral("lblForklaring"));

    m_cmdSpara = new QPushButton(QStringLiteral("&Spara"), this);
    m_cmdSpara->setObjectName(QStringLiteral("cmdSpara"));
    m_cmdSpara->setToolTip(QStringLiteral("För att spara ändringar och återgå till resultat inskrivningen."));
    m_cmdAvbryt = new QPushButton(QStringLiteral("&Avbryt"), this);
    m_cmdAvbryt->setObjectName(QStringLiteral("cmdAvbryt"));
    m_cmdAvbryt->setToolTip(QStringLiteral("Återgå till resultat inskrivningen utan att spara ändringar."));
    connect(m_cmdSpara, &QPushButton::clicked, this, &frmSfS::cmdSpara_Click);
    connect(m_cmdAvbryt, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblTavlanr);
    layout->addWidget(m_txtSfS);
    layout->addWidget(lblForklaring);
    auto* knappar = new QHBoxLayout;
    knappar->addStretch();
    knappar->addWidget(m_cmdSpara);
    knappar->addWidget(m_cmdAvbryt);
    layout->addLayout(knappar);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_txtSfS, m_cmdSpara);
    setTabOrder(m_cmdSpara, m_cmdAvbryt);

    m_txtSfS->setText(skottAttVisa(m_rad.sfst.value(m_serie - 1)));
    m_txtSfS->selectAll();
    m_txtSfS->setFocus();
}

void frmSfS::cmdSpara_Click() {
    const QString skott = m_txtSfS->text();
    const auto fel = [&](const QString& text, const QString& titel) {
        m_k.m().visa(text, titel, Ikon::Kritisk);
        m_txtSfS->setFocus();
    };
    if (skott.size() < 5)
        return fel(QStringLiteral("Du måste fylla i 5st skott i fältet!"), QStringLiteral("Fel antal"));
    if (skott.size() > 5)
        return fel(QStringLiteral("Du får inte fylla i mer än 5st skott i fältet!"),
                   QStringLiteral("Fel antal"));
    // A stored shot string can hold what no key would type; it is never saved as it is.
    if (!std::all_of(skott.cbegin(), skott.cend(), Serieregler::arSkottecken))
        return fel(QStringLiteral("Varje skott skrivs med en siffra, + för tia eller * för innertia. "
                                  "Rätta skotten i fältet!"),
                   QStringLiteral("Fel skott"));

    Felfalla::standard(m_k.m(), Form, QStringLiteral("cmdSpara_Click"))([&] {
        m_sparat = m_sparning.sparaSkottForSkott(m_rad, m_serie, skott);
        accept();
    });
}

bool frmSfS::eventFilter(QObject* o, QEvent* e) {
    if (o == m_txtSfS && e->type() == QEvent::KeyPress && txtSfS_KeyPress(static_cast<QKeyEvent*>(e)))
        return true;
    return QDialog::eventFilter(o, e);
}

bool frmSfS::txtSfS_KeyPress(QKeyEvent* e) {
    if (e->modifiers() & Qt::AltModifier)
        return false; // the buttons' access keys
    if (Tangentregler::arEnter(e)) {
        focusNextChild();
        return true;
    }
    if (e->matches(QKeySequence::Paste) || !Tangentregler::skriverTecken(e) || e->key() == Qt::Key_Backspace)
        return false;
    const QString t = e->text();
    if (t.size() == 1 && Serieregler::arSkottecken(t.at(0))) {
        if (m_txtSfS->text().size() < 5 || m_txtSfS->hasSelectedText())
            return false;
        // The series is complete: on to Spara.
        pip();
        focusNextChild();
        return true;
    }
    pip();
    return true;
}

void frmSfS::pip() {
    ++m_pip;
    QApplication::beep();
}
