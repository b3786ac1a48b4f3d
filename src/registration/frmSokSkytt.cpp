#include "registration/frmSokSkytt.h"

#include "competition/Omgangar.h"
#include "platform/Meddelanden.h"
#include "registration/frmInskrivningSkyttar.h"
#include "shell/Felfalla.h"
#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Tangentregler.h"
#include "shell/Twips.h"
#include "shell/modGlobalt.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

namespace {
const QString Form = QStringLiteral("frmSökSkytt");

void visa(Meddelanden& m, const SokSkytt::Meddelande& meddelande, Meddelanden::Ikon ikon) {
    m.visa(meddelande.text, meddelande.titel, ikon);
}
} // namespace

frmSokSkytt::frmSokSkytt(Formkontext& k, QWidget* parent, SokSkytt::Sokning::Visare visa)
    : QDialog(parent), m_k(k),
      m_sokning(visa ? std::move(visa) : SokSkytt::Sokning::Visare([this](const SokSkytt::Traff& traff) {
          return visaIInskrivningen(traff);
      })) {
    setObjectName(QStringLiteral("frmSokSkytt"));
    setWindowTitle(QStringLiteral("Sök skytt"));
    // The main window and the registration window beneath take no input while
    // the search is open; the hits are shown there all the same.
    setWindowModality(Qt::WindowModal);

    auto textruta = [this](const char* namn, const QString& tips) {
        auto* t = new QLineEdit(this);
        t->setObjectName(QString::fromLatin1(namn));
        t->setToolTip(tips);
        t->installEventFilter(this);
        return t;
    };
    auto* lblFornamn = new QLabel(QStringLiteral("Förnamn"), this);
    txtFornamn = textruta("txtFornamn", QStringLiteral("Söker efter alla förnamn som börjar på detta."));
    auto* lblEfternamn = new QLabel(QStringLiteral("Efternamn"), this);
    txtEfternamn =
        textruta("txtEfternamn", QStringLiteral("Söker efter alla efternamn som börjar på detta."));
    auto* lblLicensnr = new QLabel(QStringLiteral("Licens nr"), this);
    txtLicensnr = textruta("txtLicensnr", QStringLiteral("Söker efter licens nummret."));
    auto* lblStartnr = new QLabel(QStringLiteral("Start nr"), this);
    txtStartnr = textruta("txtStartnr", QStringLiteral("Sök efter startnummer."));
    lblOmg = new QLabel(QStringLiteral("Tävlingsomgång"), this);
    lblOmg->setObjectName(QStringLiteral("lblOmg"));
    lblOmg->setToolTip(QStringLiteral("I vilken omg."));
    cboOmg = new QComboBox(this);
    cboOmg->setObjectName(QStringLiteral("cboOmg"));
    cboOmg->setToolTip(QStringLiteral("I vilken omg."));
    cboOmg->installEventFilter(this);
    lblFornamn->setBuddy(txtFornamn);
    lblEfternamn->setBuddy(txtEfternamn);
    lblLicensnr->setBuddy(txtLicensnr);
    lblStartnr->setBuddy(txtStartnr);
    lblOmg->setBuddy(cboOmg);

    cmdSok = new QPushButton(QStringLiteral("&Sök"), this);
    cmdSok->setObjectName(QStringLiteral("cmdSok"));
    cmdSok->setToolTip(
        QStringLiteral("Söker skyttar efter kriteriet/kriterierna som är angivna i rutorna ovan."));
    cmdSokNasta = new QPushButton(QStringLiteral("Sök &nästa"), this);
    cmdSokNasta->setObjectName(QStringLiteral("cmdSokNasta"));
    cmdSokNasta->setToolTip(
        QStringLiteral("Söker efter nästa skytt med samma kriterier om det finns fler skyttar som matchar."));
    cmdSokNasta->setEnabled(false);
    auto* cmdAvbryt = new QPushButton(QStringLiteral("&Avbryt"), this);
    cmdAvbryt->setObjectName(QStringLiteral("cmdAvbryt"));
    cmdAvbryt->setToolTip(QStringLiteral("Återgår till inskriving av skyttar."));

    auto* falt = new QGridLayout;
    falt->addWidget(lblFornamn, 0, 0);
    falt->addWidget(txtFornamn, 0, 1);
    falt->addWidget(lblEfternamn, 1, 0);
    falt->addWidget(txtEfternamn, 1, 1);
    falt->addWidget(lblLicensnr, 2, 0);
    falt->addWidget(txtLicensnr, 2, 1);
    falt->addWidget(lblStartnr, 3, 0);
    falt->addWidget(txtStartnr, 3, 1);
    falt->addWidget(lblOmg, 4, 0);
    falt->addWidget(cboOmg, 4, 1);
    falt->setColumnMinimumWidth(1, twips(2400));
    auto* knappar = new QHBoxLayout;
    knappar->addWidget(cmdSok);
    knappar->addWidget(cmdSokNasta);
    knappar->addWidget(cmdAvbryt);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(falt);
    layout->addStretch();
    layout->addLayout(knappar);

    setTabOrder(txtFornamn, txtEfternamn);
    setTabOrder(txtEfternamn, txtLicensnr);
    setTabOrder(txtLicensnr, txtStartnr);
    setTabOrder(txtStartnr, cboOmg);
    setTabOrder(cboOmg, cmdSok);
    setTabOrder(cmdSok, cmdSokNasta);
    setTabOrder(cmdSokNasta, cmdAvbryt);

    connect(cmdSok, &QPushButton::clicked, this, &frmSokSkytt::cmdSok_Click);
    connect(cmdSokNasta, &QPushButton::clicked, this, &frmSokSkytt::cmdSokNasta_Click);
    connect(cmdAvbryt, &QPushButton::clicked, this, &frmSokSkytt::cmdAvbryt_Click);

    // Placed from the main window's corner: below its menu bar, to the right.
    if (parent)
        move(parent->window()->pos() + QPoint(twips(3400), twips(300)));

    // Form_load
    Grafik grafik(k.g().strProgrammapp, k.m(), Form, QStringLiteral("Ikon saknas!"),
                  Meddelanden::Ikon::Information, QStringLiteral("Ikon saknas"));
    setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Sök.ico")));
    const bool omgangar = k.g().blnFleraTavlingar;
    lblOmg->setVisible(omgangar);
    cboOmg->setVisible(omgangar);
    if (omgangar)
        Felfalla::standard(k.m(), Form, QStringLiteral("Form_load"))([&] { Hamta_omg(); });
    // A small window of fixed size, with or without the round.
    setFixedSize(sizeHint());
}

void frmSokSkytt::Hamta_omg() {
    cboOmg->clear();
    // The empty item first: no round chosen searches every round.
    cboOmg->addItem(QString());
    for (const Omgangar::Omgang& omgang : Omgangar::alla(m_k.db()))
        cboOmg->addItem(omgang.beskrivning, omgang.omg);
}

void frmSokSkytt::cmdSok_Click() {
    Felfalla(m_k.m(), Form + QStringLiteral(", cmdSök_Click: "))([&] {
        SokSkytt::Kriterier kriterier{txtFornamn->text(), txtEfternamn->text(), txtLicensnr->text(),
                                      txtStartnr->text(), std::nullopt};
        // The round goes by its number, whatever its description says.
        if (m_k.g().blnFleraTavlingar && cboOmg->currentIndex() > 0)
            kriterier.omg = cboOmg->currentData().toInt();
        switch (m_sokning.sok(m_k.db(), kriterier)) {
        case SokSkytt::Sokning::Utfall::FelaktigtTecken:
            visa(m_k.m(), SokSkytt::FelaktigtTecken, Meddelanden::Ikon::Kritisk);
            for (QLineEdit* t : {txtFornamn, txtEfternamn, txtLicensnr, txtStartnr})
                if (t->text().contains(QLatin1Char('\''))) {
                    t->setFocus(Qt::OtherFocusReason);
                    break;
                }
            break;
        case SokSkytt::Sokning::Utfall::IngenTraff:
            visa(m_k.m(), SokSkytt::SkyttenFinnsInte, Meddelanden::Ikon::Information);
            break;
        case SokSkytt::Sokning::Utfall::Visad:
            cmdSokNasta->setEnabled(true);
            cmdSokNasta->setFocus(Qt::OtherFocusReason);
            break;
        }
    });
    // A search that found nothing, or failed on the way, has no next hit either.
    cmdSokNasta->setEnabled(m_sokning.kanGaVidare());
}

void frmSokSkytt::cmdSokNasta_Click() {
    Felfalla(m_k.m(), Form + QStringLiteral(", cmdSökNästa_Click: "))([&] {
        if (m_sokning.nasta() == SokSkytt::Sokning::Utfall::IngenTraff)
            visa(m_k.m(), SokSkytt::SkyttenFinnsInte, Meddelanden::Ikon::Information);
    });
    cmdSokNasta->setEnabled(m_sokning.kanGaVidare());
}

void frmSokSkytt::cmdAvbryt_Click() {
    reject();
}

bool frmSokSkytt::visaIInskrivningen(const SokSkytt::Traff& traff) {
    auto* inskrivning =
        qobject_cast<frmInskrivningSkyttar*>(m_k.fonster().fonster(Fonsternamn::InskrivningSkyttar));
    if (!inskrivning)
        return false;
    inskrivning->valjSkjutlag(traff.skjutlag);
    if (!inskrivning->valjBana(traff.bana))
        return false;
    // The registration window loads the selected row even though the operator
    // chose none there, or is editing a shooter.
    inskrivning->HamtaSkytt(true);
    return true;
}

bool frmSokSkytt::eventFilter(QObject* o, QEvent* e) {
    if (o == cboOmg && e->type() == QEvent::KeyPress) {
        auto* tangent = static_cast<QKeyEvent*>(e);
        if (Tangentregler::arEnter(tangent)) {
            focusNextChild();
            return true;
        }
        // Backspace or Space takes the round away again.
        if (tangent->key() == Qt::Key_Backspace || tangent->key() == Qt::Key_Space) {
            cboOmg->setCurrentIndex(cboOmg->count() > 0 ? 0 : -1);
            return true;
        }
        return false;
    }
    auto* text = qobject_cast<QLineEdit*>(o);
    if (!text)
        return QDialog::eventFilter(o, e);
    if (e->type() == QEvent::FocusIn) {
        text->selectAll();
    } else if (e->type() == QEvent::KeyPress && Tangentregler::arEnter(static_cast<QKeyEvent*>(e))) {
        focusNextChild();
        return true;
    }
    return QDialog::eventFilter(o, e);
}
