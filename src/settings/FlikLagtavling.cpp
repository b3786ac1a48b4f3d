#include "settings/FlikLagtavling.h"

#include "competition/Lagtavlingar.h"
#include "competition/Omgangar.h"
#include "platform/Meddelanden.h"
#include "settings/Installningsvarden.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Rutnat.h"
#include "shell/Tangentregler.h"
#include "shell/modGlobalt.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString Formular = QStringLiteral("frmInställningar");

qint64 nyckel(const QListWidgetItem* item) {
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}
} // namespace

FlikLagtavling::FlikLagtavling(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {
    setObjectName(QStringLiteral("flikLagtavling"));
    m_rundor = k.g().blnFleraTavlingar;
    m_mix = k.g().blnMix;

    chkLagtavling = new QCheckBox(QStringLiteral("Lagtävling?"), this);
    chkLagtavling->setObjectName(QStringLiteral("chkLagtavling"));
    chkLagtavling->setToolTip(QStringLiteral("Ska det finnas en lagtävling med?"));
    lstLagtavlingar = new QListWidget(this);
    lstLagtavlingar->setObjectName(QStringLiteral("lstLagtavlingar"));
    lstLagtavlingar->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdNyTavling = new QPushButton(QStringLiteral("&Ny"), this);
    cmdNyTavling->setObjectName(QStringLiteral("cmdNyTavling"));
    cmdNyTavling->setToolTip(QStringLiteral("Skapa en ny lagtävling."));
    cmdTabortTavling = new QPushButton(QStringLiteral("Ra&dera"), this);
    cmdTabortTavling->setObjectName(QStringLiteral("cmdTabortTavling"));
    cmdTabortTavling->setToolTip(QStringLiteral("Radera markerad lagtävling."));

    frameUppgifter = new QGroupBox(QStringLiteral("Inställningar"), this);
    frameUppgifter->setObjectName(QStringLiteral("frameUppgifter"));
    txtLagtavling = new QLineEdit(frameUppgifter);
    txtLagtavling->setObjectName(QStringLiteral("txtLagtavling"));
    txtLagtavling->setToolTip(QStringLiteral("Namnet på lagtävlingen."));
    lblAntalSkyttar = new QLabel(QStringLiteral("Antal skyttar i laget?"), frameUppgifter);
    txtAntalSkyttar = new QLineEdit(frameUppgifter);
    txtAntalSkyttar->setObjectName(QStringLiteral("txtAntalSkyttar"));
    txtAntalSkyttar->setToolTip(QStringLiteral("Hur många skyttar ska räknas till laget."));
    lblAntalSkott = new QLabel(QStringLiteral("Antal skott?"), frameUppgifter);
    txtAntalSkott = new QLineEdit(frameUppgifter);
    txtAntalSkott->setObjectName(QStringLiteral("txtAntalSkott"));
    txtAntalSkott->setToolTip(QStringLiteral("Hur många skott måste skytten skjuta för att räknas."));
    lblTavlingsomgLag = new QLabel(QStringLiteral("I vilken tävlingsomg?"), frameUppgifter);
    cboTavlingsOmg = new QComboBox(frameUppgifter);
    cboTavlingsOmg->setObjectName(QStringLiteral("cboTavlingsOmg"));
    lblSportNatLag = new QLabel(QStringLiteral("Sport eller Nat?"), frameUppgifter);
    cboSportNatLag = new QComboBox(frameUppgifter);
    cboSportNatLag->setObjectName(QStringLiteral("cboSportNatLag"));
    cboSportNatLag->setToolTip(QStringLiteral("Vilken typ av sortering ska göras."));
    cboSportNatLag->addItems({Lagtavlingar::Sport, Lagtavlingar::Nat});
    cboSportNatLag->setCurrentIndex(-1);
    for (QLineEdit* tal : {txtAntalSkyttar, txtAntalSkott}) {
        // Only typed digits: no paste from a menu or a drop.
        tal->setContextMenuPolicy(Qt::NoContextMenu);
        tal->setAcceptDrops(false);
    }

    auto* falt = new QGridLayout(frameUppgifter);
    falt->addWidget(txtLagtavling, 0, 0, 1, 2);
    falt->addWidget(lblAntalSkyttar, 1, 0);
    falt->addWidget(txtAntalSkyttar, 1, 1);
    falt->addWidget(lblAntalSkott, 2, 0);
    falt->addWidget(txtAntalSkott, 2, 1);
    falt->addWidget(lblTavlingsomgLag, 3, 0);
    falt->addWidget(cboTavlingsOmg, 3, 1);
    falt->addWidget(lblSportNatLag, 4, 0);
    falt->addWidget(cboSportNatLag, 4, 1);
    falt->setRowStretch(5, 1);
    auto* knappar = new QHBoxLayout;
    knappar->addWidget(cmdNyTavling);
    knappar->addWidget(cmdTabortTavling);
    auto* vanster = new QVBoxLayout;
    vanster->addWidget(chkLagtavling);
    vanster->addWidget(lstLagtavlingar, 1);
    vanster->addLayout(knappar);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(vanster, 1);
    layout->addWidget(frameUppgifter, 1);

    // The round belongs only to a competition with rounds, the kind of sorting
    // only to a mixed one.
    lblTavlingsomgLag->setVisible(m_rundor);
    cboTavlingsOmg->setVisible(m_rundor);
    lblSportNatLag->setVisible(m_mix);
    cboSportNatLag->setVisible(m_mix);

    setTabOrder(chkLagtavling, lstLagtavlingar);
    setTabOrder(lstLagtavlingar, cmdNyTavling);
    setTabOrder(cmdNyTavling, cmdTabortTavling);
    setTabOrder(cmdTabortTavling, txtLagtavling);
    setTabOrder(txtLagtavling, txtAntalSkyttar);
    setTabOrder(txtAntalSkyttar, txtAntalSkott);
    setTabOrder(txtAntalSkott, cboTavlingsOmg);
    setTabOrder(cboTavlingsOmg, cboSportNatLag);

    for (QWidget* w : std::initializer_list<QWidget*>{txtLagtavling, txtAntalSkyttar, txtAntalSkott,
                                                      cboTavlingsOmg, cboSportNatLag})
        w->installEventFilter(this);
    connect(chkLagtavling, &QCheckBox::clicked, this, &FlikLagtavling::chkLagtavling_Click);
    connect(cmdNyTavling, &QPushButton::clicked, this, &FlikLagtavling::cmdNyTavling_Click);
    connect(cmdTabortTavling, &QPushButton::clicked, this, &FlikLagtavling::cmdTabortTavling_Click);
    connect(lstLagtavlingar, &QListWidget::itemSelectionChanged, this,
            &FlikLagtavling::lstLagtavlingar_Click);

    tomFalten();
}

void FlikLagtavling::visa(const Installningsvarden& v) {
    Hamta_in_omgangar();
    Hamta_in_lagtavlingar();
    chkLagtavling->setChecked(v.lagtavling);
    chkLagtavling_Click();
    chkLagtavling->setEnabled(!Lagtavlingar::finnsLag(m_k.db()));
}

void FlikLagtavling::hamta(Installningsvarden& v) const {
    v.lagtavling = chkLagtavling->isChecked();
    v.lagAntalSkyttar = txtAntalSkyttar->text();
    v.lagAntalSkott = txtAntalSkott->text();
}

void FlikLagtavling::aktiverad() {
    Felfalla::standard(m_k.m(), Formular, QStringLiteral("Form_Activate"))([&] {
        if (!chkLagtavling->isChecked()) {
            sattFalt({lstLagtavlingar, txtLagtavling, txtAntalSkyttar, txtAntalSkott, cboTavlingsOmg,
                      cboSportNatLag},
                     false, true);
            cmdNyTavling->setEnabled(false);
            cmdTabortTavling->setEnabled(false);
        }
        // Team competitions cannot be switched off while teams exist.
        chkLagtavling->setEnabled(!Lagtavlingar::finnsLag(m_k.db()));
    });
}

void FlikLagtavling::lamnas() {
    sparaVantande();
}

void FlikLagtavling::sparaVantande() {
    if (m_visad == 0)
        return;
    for (QWidget* falt : std::initializer_list<QWidget*>{txtLagtavling, txtAntalSkyttar, txtAntalSkott,
                                                         cboTavlingsOmg, cboSportNatLag})
        lamnaFalt(falt, false);
}

bool FlikLagtavling::FinnsLag() {
    bool finns = true;
    Felfalla::standard(m_k.m(), Formular, QStringLiteral("FinnsLag"))(
        [&] { finns = Lagtavlingar::FinnsLag(m_k.db(), m_k.m()); });
    return finns;
}

void FlikLagtavling::omgangarAndrade() {
    Felfalla::standard(m_k.m(), Formular, QStringLiteral("Hämta_in_omgångar"))([&] { Hamta_in_omgangar(); });
}

void FlikLagtavling::sattFalt(const QList<QWidget*>& falt, bool pa, bool gra) {
    for (QWidget* w : falt) {
        w->setEnabled(pa);
        sattGra(w, gra);
    }
}

void FlikLagtavling::tomFalten() {
    m_fyller = true;
    m_visad = 0;
    lstLagtavlingar->clearSelection();
    lstLagtavlingar->setCurrentItem(nullptr);
    txtLagtavling->clear();
    txtAntalSkyttar->clear();
    txtAntalSkott->clear();
    cboTavlingsOmg->setCurrentIndex(-1);
    cboSportNatLag->setCurrentIndex(-1);
    for (QWidget* w : std::initializer_list<QWidget*>{txtLagtavling, txtAntalSkyttar, txtAntalSkott,
                                                      cboTavlingsOmg, cboSportNatLag})
        w->setEnabled(false);
    m_fyller = false;
}

void FlikLagtavling::chkLagtavling_Click() {
    if (chkLagtavling->isChecked()) {
        tomFalten();
        sattFalt({lstLagtavlingar}, true, false);
        cmdNyTavling->setEnabled(true);
        cmdTabortTavling->setEnabled(true);
        // White, but closed until a team competition is shown or made.
        sattFalt({txtLagtavling, txtAntalSkyttar, txtAntalSkott, cboTavlingsOmg}, false, false);
        cboSportNatLag->setEnabled(false);
    } else {
        // What the operator had accepted in a field is kept before the fields empty.
        sparaVantande();
        tomFalten();
        sattFalt(
            {lstLagtavlingar, txtLagtavling, txtAntalSkyttar, txtAntalSkott, cboTavlingsOmg, cboSportNatLag},
            false, true);
        cmdNyTavling->setEnabled(false);
        cmdTabortTavling->setEnabled(false);
    }
}

void FlikLagtavling::Hamta_in_lagtavlingar() {
    m_fyller = true;
    lstLagtavlingar->clear();
    for (const Lagtavlingar::Lagtavling& l : Lagtavlingar::lista(m_k.db())) {
        auto* item = new QListWidgetItem(l.namn, lstLagtavlingar);
        item->setData(Qt::UserRole, l.nyckel);
    }
    m_fyller = false;
    valjIListan(m_visad);
}

void FlikLagtavling::valjIListan(qint64 valj) {
    m_fyller = true;
    lstLagtavlingar->clearSelection();
    lstLagtavlingar->setCurrentItem(nullptr);
    for (int i = 0; valj != 0 && i < lstLagtavlingar->count(); ++i)
        if (nyckel(lstLagtavlingar->item(i)) == valj)
            lstLagtavlingar->setCurrentRow(i);
    m_fyller = false;
}

void FlikLagtavling::Hamta_in_omgangar() {
    // The choice stays on its round when the round is still there.
    const QVariant vald = cboTavlingsOmg->currentIndex() >= 0 ? cboTavlingsOmg->currentData() : QVariant();
    m_fyller = true;
    cboTavlingsOmg->clear();
    for (const Omgangar::Omgang& o : Omgangar::alla(m_k.db()))
        cboTavlingsOmg->addItem(o.beskrivning, o.omg);
    cboTavlingsOmg->setCurrentIndex(vald.isValid() ? cboTavlingsOmg->findData(vald) : -1);
    m_fyller = false;
}

void FlikLagtavling::valjOmgang(int omg) {
    cboTavlingsOmg->setCurrentIndex(omg == 0 ? -1 : cboTavlingsOmg->findData(omg));
}

void FlikLagtavling::cmdNyTavling_Click() {
    Felfalla::standard(m_k.m(), Formular, QStringLiteral("cmdNyTävling_Click"))([&] {
        const Lagtavlingar::Ny ny = Lagtavlingar::NyLagtavling(m_k.g(), m_k.m());
        if (ny.namnUpptaget) {
            // Nothing is shown, so that any team competition can be chosen again.
            tomFalten();
            return;
        }
        if (!ny.nyckel)
            return;
        m_visad = *ny.nyckel;
        Hamta_in_lagtavlingar();
        visaLagtavling(*ny.nyckel);
        txtLagtavling->setFocus();
    });
}

void FlikLagtavling::cmdTabortTavling_Click() {
    const qint64 valt = nyckel(lstLagtavlingar->currentItem());
    if (valt == 0 || lstLagtavlingar->selectedItems().isEmpty())
        return;
    Felfalla::standard(m_k.m(), Formular, QStringLiteral("cmdTabortTävling_Click"))([&] {
        if (!Lagtavlingar::taBort(m_k.db(), m_k.m(), valt))
            return;
        tomFalten();
        Hamta_in_lagtavlingar();
    });
}

void FlikLagtavling::lstLagtavlingar_Click() {
    if (m_fyller)
        return;
    if (m_nekad) {
        valjIListan(m_visad);
        return;
    }
    Felfalla::standard(m_k.m(), Formular, QStringLiteral("lstLagtävlingar_Click"))([&] {
        const QList<QListWidgetItem*> valda = lstLagtavlingar->selectedItems();
        if (!Lagtavlingar::kanVisa(m_k.g(), m_k.m())) {
            valjIListan(m_visad);
            return;
        }
        if (valda.isEmpty()) {
            tomFalten();
            return;
        }
        visaLagtavling(nyckel(valda.first()));
    });
}

void FlikLagtavling::visaLagtavling(qint64 visa) {
    const std::optional<Lagtavlingar::Lagtavling> l = Lagtavlingar::hamta(m_k.db(), visa);
    if (!l) {
        tomFalten();
        Hamta_in_lagtavlingar();
        return;
    }
    // A team competition with teams is shown but cannot be changed here.
    const bool anvands = Lagtavlingar::LagtavlingAnvands(m_k.db(), visa);
    m_fyller = true;
    m_visad = visa;
    txtLagtavling->setText(l->namn);
    txtAntalSkyttar->setText(QString::number(l->antalSkyttar));
    txtAntalSkott->setText(QString::number(l->antalSkott));
    cboSportNatLag->setCurrentIndex(cboSportNatLag->findText(l->sportNat));
    sattFalt({txtAntalSkyttar, txtLagtavling, txtAntalSkott, cboTavlingsOmg, cboSportNatLag}, !anvands,
             anvands);
    valjOmgang(l->omg);
    m_fyller = false;
    valjIListan(visa);
    if (m_rundor && l->omg != 0 && cboTavlingsOmg->currentIndex() < 0)
        m_k.m().visa(QStringLiteral("Du har tagit bort tävlingen som hörde till den här lagtävlingen!"),
                     QStringLiteral("Fel"), Meddelanden::Ikon::Kritisk);
}

void FlikLagtavling::lamnaFalt(QWidget* falt, bool meddela) {
    if (m_visad == 0 || !falt->isEnabled())
        return;
    if ((falt == cboTavlingsOmg && !m_rundor) || (falt == cboSportNatLag && !m_mix))
        return;
    Databas& db = m_k.db();
    Meddelanden* m = meddela ? &m_k.m() : nullptr;
    using Lagtavlingar::Utfall;
    Utfall u = Utfall::Sparad;
    const bool klart = Felfalla::standard(m_k.m(), Formular,
                                          falt->objectName() + QStringLiteral("_LostFocus"))([&] {
        if (falt == txtLagtavling) {
            u = Lagtavlingar::sparaNamn(db, m, m_visad, txtLagtavling->text());
            if (u == Utfall::Sparad) {
                const QString namn = txtLagtavling->text().trimmed();
                txtLagtavling->setText(namn);
                const QListWidgetItem* item = lstLagtavlingar->currentItem();
                if (!item || item->text() != namn)
                    Hamta_in_lagtavlingar();
            }
        } else if (falt == txtAntalSkyttar) {
            u = Lagtavlingar::sparaAntalSkyttar(db, m, m_visad, txtAntalSkyttar->text());
        } else if (falt == txtAntalSkott) {
            u = Lagtavlingar::sparaAntalSkott(db, m, m_visad, txtAntalSkott->text());
        } else if (falt == cboTavlingsOmg) {
            u = Lagtavlingar::sparaOmg(
                db, m_visad, cboTavlingsOmg->currentIndex() < 0 ? 0 : cboTavlingsOmg->currentData().toInt());
        } else if (falt == cboSportNatLag) {
            if (cboSportNatLag->currentIndex() < 0)
                cboSportNatLag->setCurrentIndex(cboSportNatLag->findText(Lagtavlingar::Sport));
            u = Lagtavlingar::sparaSportNat(db, m_visad, cboSportNatLag->currentText());
        }
    });
    if (!klart)
        return;
    if (u == Utfall::HarLag) {
        visaLagtavling(m_visad);
    } else if (u == Utfall::Nekad && meddela) {
        m_nekad = true;
        QTimer::singleShot(0, falt, [this, falt] {
            m_nekad = false;
            if (!falt->isVisible() || !falt->isEnabled())
                return;
            falt->setFocus();
            if (falt == txtAntalSkott)
                txtAntalSkott->selectAll();
        });
    }
}

bool FlikLagtavling::eventFilter(QObject* o, QEvent* e) {
    auto* falt = qobject_cast<QWidget*>(o);
    if (e->type() == QEvent::KeyPress) {
        const auto* tangent = static_cast<QKeyEvent*>(e);
        if (Tangentregler::arEnter(tangent) && o != cboSportNatLag) {
            focusNextChild();
            return true;
        }
        if ((o == txtAntalSkyttar || o == txtAntalSkott) && Tangentregler::skriverTecken(tangent) &&
            !Tangentregler::tillatsIHeltal(tangent)) {
            QApplication::beep();
            return true;
        }
    } else if (e->type() == QEvent::FocusOut && falt && !m_fyller &&
               Tangentregler::operatorenGickVidare(static_cast<QFocusEvent*>(e))) {
        lamnaFalt(falt, true);
    }
    return Installningsflik::eventFilter(o, e);
}
