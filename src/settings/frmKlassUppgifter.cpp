#include "settings/frmKlassUppgifter.h"

#include "competition/Klasser.h"
#include "platform/Meddelanden.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Rutnat.h"
#include "shell/Tangentregler.h"
#include "shell/modGlobalt.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// A key that the operator types into a box: a character, Backspace or Enter.
// Moving keys (Tab, arrows) and Escape are not typing.
bool arTecken(const QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return false;
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return !e->text().isEmpty();
    }
}

// A box that waits for the one before it is shut and greyed until it is reached.
void oppna(QWidget* w, bool pa = true) {
    w->setEnabled(pa);
    if (!qobject_cast<QPushButton*>(w))
        sattGra(w, !pa);
}
} // namespace

frmKlassUppgifter::frmKlassUppgifter(Formkontext& k, Lage lage, const Klass& klass, QWidget* parent)
    : QDialog(parent), m_k(k), m_lage(lage) {
    const modGlobalt& g = k.g();
    setObjectName(QStringLiteral("frmKlassUppgifter"));

    lblKlass = new QLabel(QStringLiteral("Klass"), this);
    lblKlass->setObjectName(QStringLiteral("lblKlass"));
    txtKlass = new QLineEdit(this);
    txtKlass->setObjectName(QStringLiteral("txtKlass"));
    txtKlass->setToolTip(QStringLiteral("Förkortningen av klassen. Ex Sen E."));
    lblKlassnamn = new QLabel(QStringLiteral("Klassnamn"), this);
    lblKlassnamn->setObjectName(QStringLiteral("lblKlassnamn"));
    txtKlassnamn = new QLineEdit(this);
    txtKlassnamn->setObjectName(QStringLiteral("txtKlassnamn"));
    txtKlassnamn->setToolTip(QStringLiteral("Beskrivningen av klassen. Ex Seniorer Elit."));
    lblAntalSkott = new QLabel(QStringLiteral("Antal skott"), this);
    lblAntalSkott->setObjectName(QStringLiteral("lblAntalSkott"));
    txtAntalSkott = new QLineEdit(this);
    txtAntalSkott->setObjectName(QStringLiteral("txtAntalSkott"));
    txtAntalSkott->setToolTip(QStringLiteral("Hur många skott ska det ingå i klassen?"));
    // Keys are filtered as they are typed; this keeps a pasted text to digits too.
    txtAntalSkott->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtAntalSkott));
    lblSportNat = new QLabel(QStringLiteral("Sport/Nationellt"), this);
    lblSportNat->setObjectName(QStringLiteral("lblSportNat"));
    cboSportNat = new QComboBox(this);
    cboSportNat->setObjectName(QStringLiteral("cboSportNat"));
    cboSportNat->setToolTip(QStringLiteral(
        "Om man har en tävling som är mixad måste man ange vilken typ den här klassen hör till. "
        "För att man ska veta hur man ska sortera mm."));
    cboSportNat->addItems({QStringLiteral("Sport"), QStringLiteral("Nat")});
    cboSportNat->setCurrentIndex(-1);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("Spara klassen."));
    cmdAvbryt = new QPushButton(QStringLiteral("&Avbryt"), this);
    cmdAvbryt->setObjectName(QStringLiteral("cmdAvbryt"));
    cmdAvbryt->setToolTip(QStringLiteral("Avbryt inskrivningen av klassen."));

    auto* falt = new QGridLayout;
    falt->addWidget(lblKlass, 0, 0);
    falt->addWidget(txtKlass, 0, 1);
    falt->addWidget(lblKlassnamn, 1, 0);
    falt->addWidget(txtKlassnamn, 1, 1);
    falt->addWidget(lblAntalSkott, 2, 0);
    falt->addWidget(txtAntalSkott, 2, 1);
    falt->addWidget(lblSportNat, 3, 0);
    falt->addWidget(cboSportNat, 3, 1);
    auto* knappar = new QHBoxLayout;
    knappar->addStretch();
    knappar->addWidget(cmdOK);
    knappar->addWidget(cmdAvbryt);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(falt);
    layout->addStretch();
    layout->addLayout(knappar);

    setTabOrder(txtKlass, txtKlassnamn);
    setTabOrder(txtKlassnamn, txtAntalSkott);
    setTabOrder(txtAntalSkott, cboSportNat);
    setTabOrder(cboSportNat, cmdOK);
    setTabOrder(cmdOK, cmdAvbryt);

    for (QWidget* w : std::initializer_list<QWidget*>{txtKlass, txtKlassnamn, txtAntalSkott, cboSportNat})
        w->installEventFilter(this);
    // Text pasted with the mouse opens the next box as typing does.
    connect(txtKlass, &QLineEdit::textEdited, this, [this] { oppna(txtKlassnamn); });
    connect(txtKlassnamn, &QLineEdit::textEdited, this, [this] { oppna(txtAntalSkott); });
    connect(txtAntalSkott, &QLineEdit::textEdited, this, [this] { oppna(efterAntalSkott()); });
    connect(cboSportNat, &QComboBox::currentIndexChanged, this, [this] { oppna(cmdOK); });
    connect(cboSportNat, &QComboBox::activated, this, [this] { oppna(cmdOK); });
    connect(cmdOK, &QPushButton::clicked, this, &frmKlassUppgifter::cmdOK_Click);
    connect(cmdAvbryt, &QPushButton::clicked, this, &frmKlassUppgifter::cmdAvbryt_Click);

    switch (lage) {
    case Lage::NyKlass:
        setWindowTitle(QStringLiteral("Ny klass"));
        break;
    case Lage::NyHuvudklass:
        setWindowTitle(QStringLiteral("Ny huvudklass"));
        break;
    case Lage::AndraKlass:
        setWindowTitle(QStringLiteral("Ändra klass"));
        cmdOK->setText(QStringLiteral("Ä&ndra"));
        break;
    }
    lblSportNat->setVisible(g.blnMix);
    cboSportNat->setVisible(g.blnMix);
    oppna(txtKlassnamn, false);
    oppna(txtAntalSkott, false);
    oppna(cboSportNat, false);
    cmdOK->setEnabled(false);
    if (lage == Lage::AndraKlass) {
        m_raknare = klass.raknare;
        txtKlass->setText(klass.kod);
        txtKlassnamn->setText(klass.namn);
        txtAntalSkott->setText(QString::number(klass.antalSkott));
        if (g.blnMix) {
            cboSportNat->setCurrentIndex(cboSportNat->findText(klass.sportNat));
            oppna(cboSportNat);
        }
        oppna(txtKlassnamn);
        oppna(txtAntalSkott);
        cmdOK->setEnabled(true);
    }

    Grafik grafik(g.strProgrammapp, k.m(), QStringLiteral("frmKlassUppgifter"),
                  QStringLiteral("Ikon saknas!"), Meddelanden::Ikon::Information,
                  QStringLiteral("Ikon saknas"));
    setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/KlassUppgifter.ico")));
}

QWidget* frmKlassUppgifter::efterAntalSkott() const {
    return m_k.g().blnMix ? static_cast<QWidget*>(cboSportNat) : cmdOK;
}

bool frmKlassUppgifter::txtKlass_KeyPress(QKeyEvent* e) {
    if (!arTecken(e))
        return false;
    oppna(txtKlassnamn);
    if (!Tangentregler::arEnter(e))
        return false;
    if (!txtKlass->text().isEmpty())
        txtKlassnamn->setFocus(Qt::TabFocusReason);
    return true;
}

bool frmKlassUppgifter::txtKlassnamn_KeyPress(QKeyEvent* e) {
    if (!arTecken(e))
        return false;
    oppna(txtAntalSkott);
    if (!Tangentregler::arEnter(e))
        return false;
    if (!txtKlassnamn->text().isEmpty())
        txtAntalSkott->setFocus(Qt::TabFocusReason);
    return true;
}

bool frmKlassUppgifter::txtAntalSkott_KeyPress(QKeyEvent* e) {
    if (!arTecken(e))
        return false;
    QWidget* nasta = efterAntalSkott();
    oppna(nasta);
    if (Tangentregler::arEnter(e)) {
        if (!txtAntalSkott->text().isEmpty())
            nasta->setFocus(Qt::TabFocusReason);
        return true;
    }
    const QString t = e->text();
    const bool siffra = t.size() == 1 && t[0] >= QLatin1Char('0') && t[0] <= QLatin1Char('9');
    if (siffra || e->key() == Qt::Key_Backspace)
        return false;
    QApplication::beep();
    return true;
}

bool frmKlassUppgifter::cboSportNat_KeyPress(QKeyEvent* e) {
    oppna(cmdOK);
    if (!Tangentregler::arEnter(e))
        return false;
    cmdOK->setFocus(Qt::TabFocusReason);
    return true;
}

bool frmKlassUppgifter::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* tangent = static_cast<QKeyEvent*>(e);
        if (o == txtKlass)
            return txtKlass_KeyPress(tangent);
        if (o == txtKlassnamn)
            return txtKlassnamn_KeyPress(tangent);
        if (o == txtAntalSkott)
            return txtAntalSkott_KeyPress(tangent);
        if (o == cboSportNat)
            return cboSportNat_KeyPress(tangent);
    } else if (e->type() == QEvent::FocusOut && o == txtKlass) {
        // Leaving for another window or a menu is no leaving the box, and Avbryt
        // throws the typing away anyway.
        const Qt::FocusReason skal = static_cast<QFocusEvent*>(e)->reason();
        if (isVisible() && skal != Qt::ActiveWindowFocusReason && skal != Qt::PopupFocusReason &&
            QApplication::focusWidget() != cmdAvbryt)
            txtKlass_Validate();
    }
    return QDialog::eventFilter(o, e);
}

bool frmKlassUppgifter::txtKlass_Validate() {
    if (m_validerar || txtKlass->text().toUcs4().size() <= Klasser::MaxTeckenIKod)
        return true;
    m_validerar = true;
    Klasser::visa(Klasser::Utfall::ForLang, m_k.m());
    txtKlass->clear();
    txtKlass->setFocus();
    // The focus may still be on its way elsewhere; it comes back when it gets there.
    QTimer::singleShot(0, txtKlass, [this] { txtKlass->setFocus(); });
    m_validerar = false;
    return false;
}

void frmKlassUppgifter::cmdOK_Click() {
    if (!txtKlass_Validate())
        return;
    Felfalla(m_k.m(), QStringLiteral("frmKlassUppgifter, cmdOK_Click: "))([&] {
        Klasser klasser(m_k.g(), m_k.m());
        const Klasser::Uppgifter u{txtKlass->text(), txtKlassnamn->text(), txtAntalSkott->text(),
                                   m_k.g().blnMix ? cboSportNat->currentText() : QString()};
        Klasser::Utfall utfall = Klasser::Utfall::Ok;
        switch (m_lage) {
        case Lage::NyKlass:
            utfall = klasser.laggTill(u);
            break;
        case Lage::AndraKlass:
            utfall = klasser.andra(m_raknare, u);
            break;
        case Lage::NyHuvudklass:
            utfall = klasser.nyHuvudklass(u);
            break;
        }
        if (utfall == Klasser::Utfall::ForLang) {
            txtKlass->clear();
            txtKlass->setFocus();
        }
        if (utfall != Klasser::Utfall::Ok)
            return;
        emit sparad();
        accept();
    });
}

void frmKlassUppgifter::cmdAvbryt_Click() {
    reject();
}
