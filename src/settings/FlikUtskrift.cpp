#include "settings/FlikUtskrift.h"

#include "competition/Utskriftsval.h"
#include "platform/Meddelanden.h"
#include "settings/Installningsvarden.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Tangentregler.h"
#include "shell/modGlobalt.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
using Ikon = Meddelanden::Ikon;
const QString HamtaFel = QStringLiteral("frmInställningar.Hämta_Utskriftsval: ");
const QString SparaFel = QStringLiteral("frmInställningar.Spara_Utskriftsval: ");
} // namespace

FlikUtskrift::FlikUtskrift(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {
    setObjectName(QStringLiteral("flikUtskrift"));
    chkUtskriftSkjutlagRes = new QCheckBox(QStringLiteral("Skjutlagslista med resultat."), this);
    chkUtskriftSkjutlagRes->setObjectName(QStringLiteral("chkUtskriftSkjutlagRes"));
    chkUtskriftSkjutlagRes->setToolTip(QStringLiteral("Ska skjutlagslistan innehålla resultat?"));
    chkForklaringar = new QCheckBox(
        QStringLiteral("Skriv ut en sida med förklaringar till omgångarna på skjutlagslistan."), this);
    chkForklaringar->setObjectName(QStringLiteral("chkForklaringar"));
    chkForklaringar->setToolTip(QStringLiteral("Ska det komma en extra sida efter skjutlagslistan med "
                                               "förklaringar till dom olika tävlingsomgångarna?"));
    // Explanations of the rounds mean nothing without rounds.
    chkForklaringar->setVisible(k.g().blnFleraTavlingar);

    frameResultatlistaUtskrift = new QGroupBox(QStringLiteral("Resultatlista"), this);
    frameResultatlistaUtskrift->setObjectName(QStringLiteral("frameResultatlistaUtskrift"));
    QGroupBox* ram = frameResultatlistaUtskrift;
    lstUtskriftsKolumner = new QListWidget(ram);
    lstUtskriftsKolumner->setObjectName(QStringLiteral("lstUtskriftsKolumner"));
    lstUtskriftsKolumner->setToolTip(
        QStringLiteral("Här väljer man vilka kolumner man vill förändra till utskriften."));
    lstUtskriftsKolumner->setSelectionMode(QAbstractItemView::SingleSelection);
    chkFaltMedIUtskrift = new QCheckBox(QStringLiteral("Fältet med i utskriften."), ram);
    chkFaltMedIUtskrift->setObjectName(QStringLiteral("chkFaltMedIUtskrift"));
    chkFaltMedIUtskrift->setToolTip(QStringLiteral("Ska den valda kolumnen finnas med i utskriften?"));
    lblKolumnBredd = new QLabel(QStringLiteral("Kolumnbredd"), ram);
    txtKolumnBredd = new QLineEdit(ram);
    txtKolumnBredd->setObjectName(QStringLiteral("txtKolumnBredd"));
    txtKolumnBredd->setToolTip(QStringLiteral("Vilken kolumn bredd ska kolumnen ha i Excel?"));
    auto* lblMarginaler = new QLabel(QStringLiteral("Marginaler:"), ram);
    auto* lblVansterMarg = new QLabel(QStringLiteral("Vänster"), ram);
    txtVansterMarg = new QLineEdit(ram);
    txtVansterMarg->setObjectName(QStringLiteral("txtVansterMarg"));
    auto* lblHogerMarg = new QLabel(QStringLiteral("Höger"), ram);
    txtHogerMarg = new QLineEdit(ram);
    txtHogerMarg->setObjectName(QStringLiteral("txtHogerMarg"));
    for (QLineEdit* marg : {txtVansterMarg, txtHogerMarg})
        marg->setToolTip(QStringLiteral("Vilken marginal ska man ha i Excel?"));
    auto* lblLayout = new QLabel(QStringLiteral("Layout:"), ram);
    optLayoutSta = new QRadioButton(QStringLiteral("Stående"), ram);
    optLayoutSta->setObjectName(QStringLiteral("optLayoutSta"));
    optLayoutLigg = new QRadioButton(QStringLiteral("Liggande"), ram);
    optLayoutLigg->setObjectName(QStringLiteral("optLayoutLigg"));
    for (QRadioButton* opt : {optLayoutSta, optLayoutLigg})
        opt->setToolTip(QStringLiteral("Vilken layout ska utskriften ha?"));
    optLayoutLigg->setChecked(true);
    cmdStandardInstUtskrift = new QPushButton(QStringLiteral("Standard inst."), ram);
    cmdStandardInstUtskrift->setObjectName(QStringLiteral("cmdStandardInstUtskrift"));
    cmdStandardInstUtskrift->setToolTip(QStringLiteral(
        "Ställer tillbaka alla inställningar för rutan Resultatlista till standard inställningar."));
    for (QLineEdit* tal : {txtKolumnBredd, txtVansterMarg, txtHogerMarg}) {
        // Only typed numbers: no paste from a menu or a drop.
        tal->setContextMenuPolicy(Qt::NoContextMenu);
        tal->setAcceptDrops(false);
    }

    auto* kolumn = new QVBoxLayout;
    kolumn->addWidget(chkFaltMedIUtskrift);
    kolumn->addWidget(lblKolumnBredd);
    kolumn->addWidget(txtKolumnBredd);
    kolumn->addSpacing(8);
    kolumn->addWidget(lblMarginaler);
    auto* marginaler = new QGridLayout;
    marginaler->addWidget(lblVansterMarg, 0, 0);
    marginaler->addWidget(txtVansterMarg, 0, 1);
    marginaler->addWidget(lblHogerMarg, 1, 0);
    marginaler->addWidget(txtHogerMarg, 1, 1);
    kolumn->addLayout(marginaler);
    kolumn->addWidget(lblLayout);
    kolumn->addWidget(optLayoutSta);
    kolumn->addWidget(optLayoutLigg);
    kolumn->addStretch();
    kolumn->addWidget(cmdStandardInstUtskrift);
    auto* ramLayout = new QHBoxLayout(ram);
    ramLayout->addWidget(lstUtskriftsKolumner, 1);
    ramLayout->addLayout(kolumn, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkUtskriftSkjutlagRes);
    layout->addWidget(chkForklaringar);
    layout->addWidget(ram, 1);

    setTabOrder(chkUtskriftSkjutlagRes, chkForklaringar);
    setTabOrder(chkForklaringar, lstUtskriftsKolumner);
    setTabOrder(lstUtskriftsKolumner, chkFaltMedIUtskrift);
    setTabOrder(chkFaltMedIUtskrift, txtKolumnBredd);
    setTabOrder(txtKolumnBredd, txtVansterMarg);
    setTabOrder(txtVansterMarg, txtHogerMarg);
    setTabOrder(txtHogerMarg, optLayoutLigg);
    setTabOrder(optLayoutLigg, optLayoutSta);
    setTabOrder(optLayoutSta, cmdStandardInstUtskrift);

    for (QWidget* w :
         std::initializer_list<QWidget*>{lstUtskriftsKolumner, chkFaltMedIUtskrift, txtKolumnBredd,
                                         txtVansterMarg, txtHogerMarg, optLayoutLigg, optLayoutSta})
        w->installEventFilter(this);
    connect(lstUtskriftsKolumner, &QListWidget::itemSelectionChanged, this,
            &FlikUtskrift::lstUtskriftsKolumner_Click);
    connect(cmdStandardInstUtskrift, &QPushButton::clicked, this,
            &FlikUtskrift::cmdStandardInstUtskrift_Click);

    ingenKolumn();
}

void FlikUtskrift::visa(const Installningsvarden& v) {
    chkUtskriftSkjutlagRes->setChecked(v.skjutlagslistaMedResultat);
    chkForklaringar->setChecked(m_k.g().blnFleraTavlingar && v.forklaringar);
    Hamta_in_listnamn();
    txtVansterMarg->setText(v.vansterMarginal);
    txtHogerMarg->setText(v.hogerMarginal);
    (v.layout == Installningsvarden::Layout::Staende ? optLayoutSta : optLayoutLigg)->setChecked(true);
}

void FlikUtskrift::hamta(Installningsvarden& v) const {
    v.skjutlagslistaMedResultat = chkUtskriftSkjutlagRes->isChecked();
    v.forklaringar = chkForklaringar->isChecked();
    v.vansterMarginal = Utskriftsval::utanSlutkomma(txtVansterMarg->text());
    v.hogerMarginal = Utskriftsval::utanSlutkomma(txtHogerMarg->text());
    v.layout = optLayoutSta->isChecked() ? Installningsvarden::Layout::Staende
                                         : Installningsvarden::Layout::Liggande;
}

void FlikUtskrift::lamnas() {
    sparaVantande();
}

void FlikUtskrift::sparaVantande() {
    if (m_valdKolumn.isEmpty())
        return;
    Felfalla(m_k.m(), SparaFel)([&] {
        if (chkFaltMedIUtskrift->isEnabled())
            Utskriftsval::sparaMed(m_k.db(), m_valdKolumn, chkFaltMedIUtskrift->isChecked());
        // A width that is no number is the operator's to put right; it is not written.
        std::optional<double> bredd;
        try {
            bredd = Utskriftsval::tolkaBredd(txtKolumnBredd->text());
        } catch (const Fel&) {
        }
        if (bredd)
            Utskriftsval::sparaBredd(m_k.db(), m_valdKolumn, txtKolumnBredd->text());
    });
}

void FlikUtskrift::Hamta_in_listnamn() {
    m_fyller = true;
    lstUtskriftsKolumner->clear();
    for (const QString& namn : Utskriftsval::listnamn(m_k.db())) {
        auto* item = new QListWidgetItem(namn, lstUtskriftsKolumner);
        item->setData(Qt::UserRole, namn);
    }
    m_fyller = false;
    ingenKolumn();
}

void FlikUtskrift::ingenKolumn() {
    m_fyller = true;
    lstUtskriftsKolumner->clearSelection();
    lstUtskriftsKolumner->setCurrentItem(nullptr);
    m_fyller = false;
    m_valdKolumn.clear();
    chkFaltMedIUtskrift->setChecked(false);
    chkFaltMedIUtskrift->setEnabled(false);
    txtKolumnBredd->clear();
    txtKolumnBredd->setEnabled(false);
}

void FlikUtskrift::lstUtskriftsKolumner_Click() {
    if (m_fyller)
        return;
    if (m_nekad) {
        // The refused box keeps the focus and its column.
        m_fyller = true;
        const QList<QListWidgetItem*> alla = lstUtskriftsKolumner->findItems(m_valdKolumn, Qt::MatchExactly);
        lstUtskriftsKolumner->setCurrentItem(alla.isEmpty() ? nullptr : alla.first());
        m_fyller = false;
        return;
    }
    const QList<QListWidgetItem*> valda = lstUtskriftsKolumner->selectedItems();
    if (!valda.isEmpty())
        Hamta_Utskriftsval(valda.first()->data(Qt::UserRole).toString());
}

void FlikUtskrift::Hamta_Utskriftsval(const QString& listnamn) {
    Felfalla(m_k.m(), HamtaFel)([&] {
        const std::optional<Utskriftsval::Kolumn> k = Utskriftsval::hamta(m_k.db(), listnamn);
        if (!k) {
            ingenKolumn();
            return;
        }
        m_valdKolumn = listnamn;
        txtKolumnBredd->setEnabled(true);
        // A column that is always printed shows its tick but cannot lose it.
        chkFaltMedIUtskrift->setEnabled(!k->alltidEnable);
        chkFaltMedIUtskrift->setChecked(k->alltidEnable || k->enable);
        txtKolumnBredd->setText(Utskriftsval::breddText(k->bredd));
    });
}

void FlikUtskrift::cmdStandardInstUtskrift_Click() {
    if (m_k.m().visa(QStringLiteral("Vill du ändra utskriftskolumnerna till standard inställningar?"),
                     QStringLiteral("Bekräfta"), Ikon::Fraga,
                     Meddelanden::Knappar::JaNej) != Meddelanden::Svar::Ja)
        return;
    Felfalla::standard(m_k.m(), QStringLiteral("frmInställningar"),
                       QStringLiteral("cmdStandardInstUtskrift_Click"))([&] {
        Utskriftsval::standard(m_k.db());
        ingenKolumn();
        txtVansterMarg->setText(Utskriftsval::StandardVansterMarginal);
        txtHogerMarg->setText(Utskriftsval::StandardHogerMarginal);
        optLayoutLigg->setChecked(true);
    });
}

void FlikUtskrift::tillbakaTill(QLineEdit* falt) {
    m_nekad = true;
    QTimer::singleShot(0, falt, [this, falt] {
        m_nekad = false;
        if (falt->isVisible() && falt->isEnabled())
            falt->setFocus();
    });
}

void FlikUtskrift::fokusUt(QObject* o) {
    if (o == chkFaltMedIUtskrift) {
        if (!m_valdKolumn.isEmpty() && chkFaltMedIUtskrift->isEnabled())
            Felfalla(m_k.m(), SparaFel)(
                [&] { Utskriftsval::sparaMed(m_k.db(), m_valdKolumn, chkFaltMedIUtskrift->isChecked()); });
    } else if (o == txtKolumnBredd) {
        if (m_valdKolumn.isEmpty())
            return;
        if (txtKolumnBredd->text().trimmed().isEmpty()) {
            m_k.m().visa(QStringLiteral("Du måste skriva en siffra i fältet Kolumnbredd!"),
                         QStringLiteral("Tomt fält"), Ikon::Kritisk);
            tillbakaTill(txtKolumnBredd);
            return;
        }
        Felfalla(m_k.m(),
                 SparaFel)([&] { Utskriftsval::sparaBredd(m_k.db(), m_valdKolumn, txtKolumnBredd->text()); });
    } else if (o == txtVansterMarg || o == txtHogerMarg) {
        auto* marg = static_cast<QLineEdit*>(o);
        if (marg->text().trimmed().isEmpty()) {
            m_k.m().visa(o == txtVansterMarg
                             ? QStringLiteral("Du måste skriva en siffra i fältet Vänster marginal!")
                             : QStringLiteral("Du måste skriva en siffra i fältet Höger marginal!"),
                         QStringLiteral("Tomt fält"), Ikon::Kritisk);
            tillbakaTill(marg);
        }
        marg->setText(Utskriftsval::utanSlutkomma(marg->text()));
    }
}

bool FlikUtskrift::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const auto* tangent = static_cast<QKeyEvent*>(e);
        if (Tangentregler::arEnter(tangent)) {
            focusNextChild();
            return true;
        }
        if ((o == txtKolumnBredd || o == txtVansterMarg || o == txtHogerMarg) &&
            Tangentregler::skriverTecken(tangent) &&
            !Tangentregler::tillatsIDecimal(static_cast<QLineEdit*>(o), tangent)) {
            QApplication::beep();
            return true;
        }
    } else if (e->type() == QEvent::FocusOut && !m_fyller &&
               Tangentregler::operatorenGickVidare(static_cast<QFocusEvent*>(e))) {
        fokusUt(o);
    }
    return Installningsflik::eventFilter(o, e);
}
