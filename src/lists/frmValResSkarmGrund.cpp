#include "lists/frmValResSkarmGrund.h"

#include "lists/Resultatlistbok.h"
#include "lists/frmResSkarmGrund.h"
#include "output/Listkorning.h"
#include "platform/Meddelanden.h"
#include "shell/Felfalla.h"
#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Rutnat.h"
#include "shell/Tangentregler.h"
#include "shell/Twips.h"
#include "shell/modGlobalt.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

namespace {

using Ikon = Meddelanden::Ikon;
const QString Formular = QStringLiteral("frmValResSkärmGrund");

constexpr int Bredd = 3540;
constexpr int Hojd = 5805;

// The grid's column of the mark (counted from 1).
constexpr int KolumnUtskrift = 3;

} // namespace

frmValResSkarmGrund::frmValResSkarmGrund(Formkontext& k, Utskriftsmal mal, Arbetsboksutskrift arbetsbok,
                                         QWidget* parent)
    : QWidget(parent), m_k(k), m_mal(mal), m_arbetsbok(std::move(arbetsbok)) {
    setObjectName(QStringLiteral("frmValResSkarmGrund"));
    setWindowTitle(QStringLiteral("Resultat grundomg."));

    lblTavlingsOmg = new QLabel(QStringLiteral("Vilken tävlingsomgång ska visas?"), this);
    lblTavlingsOmg->setObjectName(QStringLiteral("lblTavlingsOmg"));
    // As wide as the dialog allows.
    lblTavlingsOmg->setGeometry(twips(240, 120, Bredd - 240 - 120, 255));
    // The rounds are a fixed list: a typed text could name no round.
    cboTavlingsOmg = new QComboBox(this);
    cboTavlingsOmg->setObjectName(QStringLiteral("cboTavlingsOmg"));
    cboTavlingsOmg->setToolTip(
        QStringLiteral("Om man har flera tävlingar måste man välja vilken av dom som ska visas."));
    cboTavlingsOmg->setGeometry(twips(240, 480, 3015, 360));
    lblTavlingsOmg->setBuddy(cboTavlingsOmg);

    frameVilkaKlasser = new QGroupBox(QStringLiteral("Vilka klasser?"), this);
    frameVilkaKlasser->setObjectName(QStringLiteral("frameVilkaKlasser"));
    frameVilkaKlasser->setGeometry(twips(240, 1200, 2895, 3615));
    optAlla = new QRadioButton(QStringLiteral("Alla klasser"), frameVilkaKlasser);
    optAlla->setObjectName(QStringLiteral("optAlla"));
    optAlla->setToolTip(QStringLiteral("Vill du se alla klasser."));
    optAlla->setGeometry(twips(120, 360, 1815, 255));
    optValda = new QRadioButton(QStringLiteral("Valda"), frameVilkaKlasser);
    optValda->setObjectName(QStringLiteral("optValda"));
    optValda->setToolTip(QStringLiteral("Om man vill visa bara dom som är markerad i listan nedan."));
    optValda->setGeometry(twips(120, 720, 1935, 255));
    vbagrKlasser = new Rutnat(frameVilkaKlasser);
    vbagrKlasser->setObjectName(QStringLiteral("vbagrKlasser"));
    vbagrKlasser->setToolTip(
        QStringLiteral("Klicka på klassen för att lägga till eller tabort för visningen."));
    vbagrKlasser->setGeometry(twips(360, 1080, 2100, 2415));
    QFont rutnat = vbagrKlasser->font();
    rutnat.setPointSizeF(8.25);
    vbagrKlasser->setFont(rutnat);
    vbagrKlasser->verticalHeader()->setDefaultSectionSize(vbagrKlasser->fontMetrics().height() + 4);

    cmdAvbryt = new QPushButton(QStringLiteral("&Avbryt"), this);
    cmdAvbryt->setObjectName(QStringLiteral("cmdAvbryt"));
    cmdAvbryt->setToolTip(QStringLiteral("Avbryt visiningen."));
    cmdAvbryt->setGeometry(twips(2040, 4920, 1140, 350));
    cmdVisa = new QPushButton(QStringLiteral("&Visa"), this);
    cmdVisa->setObjectName(QStringLiteral("cmdVisa"));
    cmdVisa->setToolTip(QStringLiteral("Visa markerade klasser eller ala klasser."));
    cmdVisa->setGeometry(twips(720, 4920, 1140, 350));

    setTabOrder(cboTavlingsOmg, optAlla);
    setTabOrder(optAlla, optValda);
    setTabOrder(optValda, vbagrKlasser);
    setTabOrder(vbagrKlasser, cmdAvbryt);
    setTabOrder(cmdAvbryt, cmdVisa);

    connect(optAlla, &QRadioButton::clicked, this, &frmValResSkarmGrund::optAlla_Click);
    connect(optValda, &QRadioButton::clicked, this, &frmValResSkarmGrund::optValda_Click);
    connect(cboTavlingsOmg, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_val)
            m_val->valjOmgang(i);
    });
    connect(cmdVisa, &QPushButton::clicked, this, &frmValResSkarmGrund::cmdVisa_Click);
    connect(cmdAvbryt, &QPushButton::clicked, this, &frmValResSkarmGrund::cmdAvbryt_Click);
    vbagrKlasser->installEventFilter(this);
    vbagrKlasser->viewport()->installEventFilter(this);
    connect(&k, &Formkontext::aktiverad, this, [this](QWidget* w) {
        if (w == this)
            Form_Activate();
    });

    Form_Load();
}

void frmValResSkarmGrund::Form_Load() {
    resize(twips(Bredd), twips(Hojd));
    // A missing icon is told before the hourglass goes up.
    Grafik grafik(m_k.g().strProgrammapp, m_k.m(), Formular, QStringLiteral("Ikon saknas!"),
                  Ikon::Information, QStringLiteral("Ikon saknas"));
    m_kryss = grafik.ikon(QStringLiteral("grafik/ikoner/Kryss.ico"));
    visaUtskriftsmal(grafik);
    m_laddas.emplace();
    Formatera_klassgridden();
    // Everything read from the competition is read before anything is shown:
    // a dialog that cannot read its classes or rounds is not shown half-built.
    m_laddad = Felfalla::standard(m_k.m(), Formular, QStringLiteral("Form_load"))(
        [&] { m_laddas->steg([&] { m_val.emplace(m_k.g(), m_k.m()); }); });
    if (!m_laddad) {
        m_laddas.reset();
        return;
    }
    Hamta_in_klasser_till_gridden();
    optAlla->setChecked(true);
    optAlla_Click();
    Hamta_in_omgangar();
}

void frmValResSkarmGrund::nyBegaran(const Utskriftsmal& mal) {
    if (mal == m_mal || !m_laddad)
        return;
    m_mal = mal;
    Grafik grafik(m_k.g().strProgrammapp, m_k.m(), Formular, QStringLiteral("Ikon saknas!"),
                  Ikon::Information, QStringLiteral("Ikon saknas"));
    visaUtskriftsmal(grafik);
}

void frmValResSkarmGrund::visaUtskriftsmal(Grafik& grafik) {
    switch (m_mal) {
    case Utskriftsmal::Printer:
        setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Printer.ico")));
        lblTavlingsOmg->setText(QStringLiteral("Vilken tävlingsomgång ska skrivas ut?"));
        cmdVisa->setText(QStringLiteral("&Skriv ut"));
        break;
    case Utskriftsmal::Fil:
        setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Disk.ico")));
        lblTavlingsOmg->setText(QStringLiteral("Vilken tävlingsomgång ska sparas?"));
        cmdVisa->setText(QStringLiteral("&Spara"));
        break;
    case Utskriftsmal::Skarm:
        setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Skärm.ico")));
        [[fallthrough]];
    case Utskriftsmal::Ingen:
        lblTavlingsOmg->setText(QStringLiteral("Vilken tävlingsomgång ska visas?"));
        cmdVisa->setText(QStringLiteral("&Visa"));
        break;
    }
    // The question is never cut: the fonts here are wider than the ones the
    // dialog's size was made for, so a text that does not fit is set smaller.
    QFont typsnitt = font();
    while (QFontMetrics(typsnitt).horizontalAdvance(lblTavlingsOmg->text()) > lblTavlingsOmg->width() &&
           typsnitt.pointSizeF() > 6)
        typsnitt.setPointSizeF(typsnitt.pointSizeF() - 0.5);
    lblTavlingsOmg->setFont(typsnitt);
}

void frmValResSkarmGrund::Formatera_klassgridden() {
    vbagrKlasser->laggTillKolumn(QStringLiteral("RäknareVanliga"), 50, true);
    vbagrKlasser->laggTillKolumn(QStringLiteral("Klass"), 57);
    vbagrKlasser->laggTillKolumn(QStringLiteral("Utskrift"), 56);
    vbagrKlasser->laggTillKolumn(QStringLiteral("RäknareSammanslana"), 50, true);
}

void frmValResSkarmGrund::Hamta_in_klasser_till_gridden() {
    vbagrKlasser->setUpdatesEnabled(false);
    vbagrKlasser->tom();
    for (const ValdKlass& v : m_val->klasser()) {
        const QString nyckel = QString::number(v.klass.raknare);
        const int rad = vbagrKlasser->laggTillRad(
            {v.huvudklass ? QString() : nyckel, v.klass.kod, QString(), v.huvudklass ? nyckel : QString()});
        vbagrKlasser->item(rad - 1, KolumnUtskrift - 1)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    vbagrKlasser->setUpdatesEnabled(true);
    visaVal();
}

void frmValResSkarmGrund::Hamta_in_omgangar() {
    const QList<Omgangar::Omgang> omgangar = m_val->omgangar();
    for (const Omgangar::Omgang& o : omgangar)
        cboTavlingsOmg->addItem(o.beskrivning, o.omg);
    // Without a round to choose the box stays empty and greyed under its label.
    cboTavlingsOmg->setEnabled(!omgangar.isEmpty());
    if (!omgangar.isEmpty())
        cboTavlingsOmg->setCurrentIndex(0);
}

void frmValResSkarmGrund::visaVal() {
    for (int r = 0; r < vbagrKlasser->antalRader(); ++r)
        vbagrKlasser->item(r, KolumnUtskrift - 1)->setIcon(m_val->markerad(r) ? m_kryss : QIcon());
    if (m_val->val() == Klassval::Val::Valda)
        optValda->setChecked(true);
    cmdVisa->setEnabled(m_val->kanVisas());
}

void frmValResSkarmGrund::Form_Activate() {
    m_laddas.reset();
    // The dialog always comes back at its place and size, neither minimised
    // nor maximised.
    QWidget* ram = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!ram)
        ram = this;
    ram->setWindowState(Qt::WindowNoState);
    ram->setFixedSize(twips(Bredd), twips(Hojd));
    ram->move(twips(10), twips(10));
}

void frmValResSkarmGrund::optAlla_Click() {
    m_val->valjAlla();
    visaVal();
}

void frmValResSkarmGrund::optValda_Click() {
    m_val->valjValda();
    visaVal();
}

void frmValResSkarmGrund::vbagrKlasser_Slapp(bool vaxla) {
    if (vaxla)
        m_val->vaxla(vbagrKlasser->valdRad() - 1);
    else
        m_val->rakna();
    visaVal();
}

bool frmValResSkarmGrund::eventFilter(QObject* o, QEvent* e) {
    if (m_val && o == vbagrKlasser && e->type() == QEvent::KeyPress) {
        auto* tangent = static_cast<QKeyEvent*>(e);
        // Keys that type a character count; the arrows only move the selection.
        if (Tangentregler::arEnter(tangent)) {
            vbagrKlasser_Slapp(true);
            return true;
        }
        if (!tangent->text().isEmpty())
            vbagrKlasser_Slapp(false);
    } else if (m_val && o == vbagrKlasser->viewport() && e->type() == QEvent::MouseButtonRelease) {
        // The press has already selected the row under the pointer.
        vbagrKlasser_Slapp(static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton);
    }
    return QWidget::eventFilter(o, e);
}

void frmValResSkarmGrund::cmdVisa_Click() {
    if (m_kor || !m_val)
        return;
    if (m_val->omgangSaknas()) {
        const Omgangar::Vagran v = Omgangar::ingenOmgang();
        m_k.m().visa(v.text, v.titel, Ikon::Utropstecken);
        return;
    }
    // The kind the run starts with is the one it makes.
    const Utskriftsmal mal = m_mal;
    const Listbestallning bestallning{mal, m_val->valda(), m_val->valdOmgang()};
    QList<Skarmlista::Rad> rader;
    {
        const QScopedValueRollback kor(m_kor, true);
        const bool skarm = mal == Utskriftsmal::Skarm;
        Listkorning::Val val{
            .mal = mal, .dialog = this, .status = QStringLiteral("Skapar resultatlistan.\r\nVänta...")};
        if (skarm)
            val.fel =
                Arbetsboksram::Felruta{QStringLiteral("frmValResSkärmGrund.Välj_ut_skyttr.. "), Ikon::Kritisk,
                                       QStringLiteral("Fel"), Felfalla::Ordning::BeskrivningForst};
        else
            val.lista = &Resultatlistbok::ark();
        Listkorning::kor(m_k, val, [&](const Arbetsboksram::Omgivning& o) -> std::optional<QString> {
            if (skarm)
                Skapa_resultatlista_skarm(bestallning, rader);
            else if ((mal == Utskriftsmal::Printer || mal == Utskriftsmal::Fil) && m_arbetsbok)
                m_arbetsbok(o, bestallning);
            return std::nullopt;
        });
    }
    // The classes written before a failure are shown.
    if (mal == Utskriftsmal::Skarm) {
        if (auto* lista =
                qobject_cast<frmResSkarmGrund*>(m_k.fonster().visaFonster(Fonsternamn::ResSkarmGrund)))
            lista->visaLista(rader);
    }
}

void frmValResSkarmGrund::Skapa_resultatlista_skarm(const Listbestallning& b,
                                                    QList<Skarmlista::Rad>& rader) const {
    const Skarmlista::Layout layout = Skarmlista::layout(m_k.g()).value_or(Skarmlista::Layout::AttaSerier);
    const std::optional<int> omg = b.omgang ? std::optional(b.omgang->omg) : std::nullopt;
    // Class by class, so that a class that fails to read leaves those before
    // it on the screen.
    const Resultaturval urval(m_k.g());
    for (const ValdKlass& klass : b.klasser)
        for (const Klassblock& block : urval.valjUt(QList<ValdKlass>{klass}, omg))
            rader += Skarmlista::rader(block, layout);
}

void frmValResSkarmGrund::cmdAvbryt_Click() {
    m_k.fonster().stangFonster(this);
}

void frmValResSkarmGrund::closeEvent(QCloseEvent* e) {
    if (m_kor) {
        e->ignore();
        return;
    }
    m_laddas.reset();
    QWidget::closeEvent(e);
}
