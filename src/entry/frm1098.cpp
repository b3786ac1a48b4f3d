#include "entry/frm1098.h"

#include "common/Konvertering.h"
#include "competition/Serieregler.h"
#include "entry/Inmatningsregler.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Tangentregler.h"
#include "shell/modGlobalt.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
const QString Form = QStringLiteral("frm1098");

struct Faltbeskrivning {
    int index;
    const char* etikett;
    const char* tips;
};
// Top to bottom: the left column holds inner tens and 10 to 6, the right one 5 to 1.
const Faltbeskrivning VanstraKolumnen[] = {
    {11, "10-1", "Antal innertior."}, {10, "10", "Antal tior."}, {9, "9", "Antal nior."},
    {8, "8", "Antal åttor."},         {7, "7", "Antal sjuor."},  {6, "6", "Antal sexor."},
};
const Faltbeskrivning HograKolumnen[] = {
    {5, "5", "Antal femmor."}, {4, "4", "Antal fyror."}, {3, "3", "Antal treor."},
    {2, "2", "Antal tvåor."},  {1, "1", "Antal ettor."},
};
} // namespace

frm1098::frm1098(Formkontext& k, Resultatsparning& sparning, Banrad& rad, QWidget* parent)
    : QDialog(parent), m_k(k), m_sparning(sparning), m_rad(rad) {
    setObjectName(Form);
    setWindowTitle(QStringLiteral("Antal?"));

    m_lblBana = new QLabel(QStringLiteral("Bana 1"), this);
    m_lblBana->setObjectName(QStringLiteral("lblBana"));
    QFont stor = m_lblBana->font();
    stor.setBold(true);
    m_lblBana->setFont(stor);

    // Only digits ever make up a count, whether typed, pasted or dropped; a
    // refused paste beeps like a refused key.
    auto* siffror = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    auto* kolumner = new QHBoxLayout;
    auto kolumn = [&](const Faltbeskrivning* falt, int antal) {
        auto* grid = new QGridLayout;
        for (int i = 0; i < antal; ++i) {
            const Faltbeskrivning& b = falt[i];
            auto* etikett = new QLabel(QString::fromUtf8(b.etikett), this);
            etikett->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (b.index == 11)
                etikett->setObjectName(QStringLiteral("lblInnertior"));
            auto* t = new QLineEdit(this);
            t->setObjectName(QStringLiteral("txtAntal%1").arg(b.index));
            t->setToolTip(QString::fromUtf8(b.tips));
            t->setValidator(siffror);
            t->setFixedWidth(48);
            t->setAlignment(Qt::AlignRight);
            t->installEventFilter(this);
            connect(t, &QLineEdit::inputRejected, this, &frm1098::pip);
            etikett->setBuddy(t);
            m_txtAntal[b.index] = t;
            grid->addWidget(etikett, i, 0);
            grid->addWidget(t, i, 1);
        }
        grid->setRowStretch(antal, 1);
        kolumner->addLayout(grid);
    };
    kolumn(VanstraKolumnen, 6);
    kolumner->addSpacing(16);
    kolumn(HograKolumnen, 5);

    m_cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setToolTip(QStringLiteral("Spara antalet skott och återgå till resultat inskrivningen."));
    connect(m_cmdOK, &QPushButton::clicked, this, &frm1098::cmdOK_Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblBana);
    layout->addLayout(kolumner);
    auto* knappar = new QHBoxLayout;
    knappar->addStretch();
    knappar->addWidget(m_cmdOK);
    layout->addLayout(knappar);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Inner tens first, then the counts from tens down to ones, then OK.
    for (int i = 11; i > 1; --i)
        setTabOrder(m_txtAntal[i], m_txtAntal[i - 1]);
    setTabOrder(m_txtAntal[1], m_cmdOK);

    Form_Load();
    visaAntal();

    for (int i = 11; i >= 1; --i)
        if (m_txtAntal[i]->isEnabled()) {
            m_txtAntal[i]->setFocus();
            break;
        }
    if (!focusWidget())
        m_cmdOK->setFocus();
}

void frm1098::Form_Load() {
    Grafik grafik(m_k.g().strProgrammapp, m_k.m(), Form, QStringLiteral("Ikon saknas!"),
                  Meddelanden::Ikon::Information, QStringLiteral("Ikon saknas"));
    setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Inskrivning.ico")));

    Felfalla::standard(m_k.m(), Form, QStringLiteral("Form_load"))([&] {
        // The dialog is made afresh for every shooter, so what may be typed
        // follows the settings of this moment.
        const Resultatsparning::Antalfalt falt = m_sparning.antalfalt();
        for (int i = 1; i <= 10; ++i)
            m_txtAntal[i]->setEnabled(falt.tioTillEtt);
        m_txtAntal[11]->setEnabled(falt.innertior);
    });
}

void frm1098::visaAntal() {
    const std::array<int, 10> varden = Serieregler::tioNiorVarden(m_rad.tioNior);
    for (int i = 0; i < 10; ++i)
        m_txtAntal[10 - i]->setText(QString::number(varden[size_t(i)]));
    m_txtAntal[11]->setText(QString::number(m_rad.innertior));
    m_lblBana->setText(QStringLiteral("Bana ") + QString::number(m_rad.bana));
}

int frm1098::antal(int index) const {
    // An empty field counts as "0", as it reads once the focus has left it.
    const QString text = m_txtAntal[index]->text().trimmed();
    return text.isEmpty() ? 0 : Konvertering::textTillHeltal(text);
}

void frm1098::cmdOK_Click() {
    Felfalla::standard(m_k.m(), Form, QStringLiteral("cmdOK_Click"))([&] {
        std::array<int, 10> tioTillEtt{};
        for (int i = 0; i < 10; ++i)
            tioTillEtt[size_t(i)] = antal(10 - i);
        m_utfall = m_sparning.sparaAntal(m_rad, antal(11), tioTillEtt);
        m_sparat = true;
        accept();
    });
}

int frm1098::faltIndex(const QObject* o) const {
    for (int i = 1; i <= 11; ++i)
        if (m_txtAntal[i] == o)
            return i;
    return 0;
}

bool frm1098::eventFilter(QObject* o, QEvent* e) {
    const int index = faltIndex(o);
    if (index == 0)
        return QDialog::eventFilter(o, e);
    QLineEdit* falt = m_txtAntal[index];
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        if (txtAntal_KeyDown(index, k) || txtAntal_KeyPress(index, k))
            return true;
        break;
    }
    case QEvent::FocusIn:
        falt->selectAll();
        break;
    case QEvent::FocusOut: {
        // A context menu or another window taking the focus is not leaving the field.
        const auto skal = static_cast<QFocusEvent*>(e)->reason();
        if (skal != Qt::PopupFocusReason && skal != Qt::ActiveWindowFocusReason && falt->text().isEmpty())
            falt->setText(QStringLiteral("0"));
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(o, e);
}

bool frm1098::txtAntal_KeyDown(int index, QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        break;
    default:
        return false;
    }
    if (e->modifiers() & (Qt::AltModifier | Qt::ControlModifier))
        return false;
    // A field that cannot be typed in does not take the focus, which then stays.
    m_txtAntal[Inmatningsregler::antalfaltVidPil(index, e->key())]->setFocus(Qt::OtherFocusReason);
    return true;
}

bool frm1098::txtAntal_KeyPress(int, QKeyEvent* e) {
    if (e->modifiers() & Qt::AltModifier)
        return false; // the access keys of OK and the labels
    if (Tangentregler::arEnter(e)) {
        focusNextChild();
        return true;
    }
    // A paste goes to the field's digit check, which refuses it whole.
    if (e->matches(QKeySequence::Paste) || !Tangentregler::skriverTecken(e) ||
        Tangentregler::tillatsIHeltal(e))
        return false;
    pip();
    return true;
}

void frm1098::pip() {
    ++m_pip;
    QApplication::beep();
}
