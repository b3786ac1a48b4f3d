#include "transfer/frmOverforingsguide.h"

#include "common/IniNamn.h"
#include "platform/Meddelanden.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Tradvantan.h"
#include "shell/Twips.h"
#include "shell/Upptagen.h"
#include "shell/frmBladdra.h"
#include "shell/modGlobalt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QThread>
#include <QVBoxLayout>
#include <exception>
#include <memory>

namespace {

using Overforing::Riktning;
using Ikon = Meddelanden::Ikon;

QLabel* etikett(QWidget* foralder, const char* namn, const QString& text) {
    auto* l = new QLabel(text, foralder);
    l->setObjectName(QString::fromLatin1(namn));
    return l;
}

QLabel* fet(QLabel* l) {
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QPushButton* knapp(QWidget* foralder, const char* namn, const QString& text, const QString& tips) {
    auto* b = new QPushButton(text, foralder);
    b->setObjectName(QString::fromLatin1(namn));
    b->setToolTip(tips);
    b->setAutoDefault(false);
    return b;
}

// A step panel's "Steg n" and its description over the rest of the panel.
QVBoxLayout* stegpanel(QWidget* panel, int index, const QString& beskrivning) {
    auto* l = new QVBoxLayout(panel);
    l->addWidget(fet(etikett(panel, QStringLiteral("lblSteg%1").arg(index + 1).toLatin1().constData(),
                             QStringLiteral("Steg %1").arg(index + 1))));
    auto* b =
        etikett(panel, QStringLiteral("lblBeskrivning%1").arg(index).toLatin1().constData(), beskrivning);
    b->setWordWrap(true);
    l->addWidget(b);
    l->addSpacing(twips(200));
    return l;
}

// "*" before a field's label: the field must be filled in.
QHBoxLayout* obligatorisk(QWidget* panel, int index, QLabel* ledtext) {
    auto* rad = new QHBoxLayout;
    auto* stjarna = etikett(panel, QStringLiteral("lblObligatorisk%1").arg(index).toLatin1().constData(),
                            QStringLiteral("*"));
    rad->addWidget(stjarna);
    rad->addWidget(ledtext, 1);
    return rad;
}

// Copies on a thread of its own, so that the windows go on repainting (a
// desktop offers to kill a window that stops answering, which would cut the
// copy off); clicks, keys and close boxes wait until the copy is done.
//
// Other parts' messages wait for the copy (hallning): their boxes would take
// the keys meant for the wizard. A program told to end waits for the same
// hold, so nothing the copy writes goes away under it. The hold goes when the
// thread has finished, not when this loop returns: a box that waited runs its
// own loop above this one, and this one cannot return before that box is
// answered.
Overforing::Kopieringsutfall kopieraIBakgrunden(const QString& destination, const QString& kalla,
                                                Meddelanden::Hallning hallning) {
    Overforing::Kopieringsutfall utfall;
    std::exception_ptr fel;
    std::unique_ptr<QThread> trad(QThread::create([&] {
        try {
            utfall = Overforing::kopieraTavlingsmapp(destination, kalla);
        } catch (...) {
            fel = std::current_exception();
        }
    }));
    QObject mottagare; // in this thread
    QObject::connect(trad.get(), &QThread::finished, &mottagare, [&hallning] { hallning.slapp(); });
    trad->start();
    vantaPaTrad(*trad);
    if (fel)
        std::rethrow_exception(fel);
    return utfall;
}

} // namespace

frmOverforingsguide::frmOverforingsguide(Formkontext& k, Riktning riktning, QWidget* parent)
    : QDialog(parent), m_k(k), m_riktning(riktning) {
    const bool imp = riktning == Riktning::Import;
    setObjectName(imp ? QStringLiteral("frmImporteraGuide") : QStringLiteral("frmExporteraGuide"));
    setWindowTitle(ord("Guiden Importera tävling.", "Guiden Exportera tävling."));
    setModal(true);

    // The introduction: the picture beside the welcome.
    picIntroduktion = new QWidget(this);
    picIntroduktion->setObjectName(QStringLiteral("picIntroduktion"));
    auto* picBild = etikett(picIntroduktion, "picBild", {});
    picBild->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    auto* lblHuvudrubrik =
        etikett(picIntroduktion, "lblHuvudrubrik",
                ord("Välkommen till Guiden Importera tävling.", "Välkommen till Guiden Exportera tävling."));
    lblHuvudrubrik->setFont(QFont(QStringLiteral("Verdana"), 14, QFont::Bold));
    lblHuvudrubrik->setWordWrap(true);
    auto* lblStart = etikett(picIntroduktion, "lblGuideBeskrivning0",
                             QStringLiteral("Tryck på \"Nästa\" för att starta guiden."));
    auto* lblAvbryt = etikett(picIntroduktion, "lblGuideBeskrivning1",
                              ord("Du kan när som helst klicka på \"Avbryt\" för att avsluta guiden utan att "
                                  "importera någon tävling.",
                                  "Du kan när som helst klicka på \"Avbryt\" för att avsluta guiden utan att "
                                  "exportera någon tävling."));
    lblAvbryt->setWordWrap(true);
    auto* forklaring = new QHBoxLayout;
    forklaring->addWidget(etikett(picIntroduktion, "lblGuideBeskrivning2", QStringLiteral("*")));
    forklaring->addWidget(
        etikett(picIntroduktion, "lblGuideBeskrivning3", QStringLiteral("= Obligatoriskt fält.")), 1);
    auto* introtext = new QVBoxLayout;
    introtext->addWidget(lblHuvudrubrik);
    introtext->addSpacing(twips(300));
    introtext->addWidget(lblStart);
    introtext->addSpacing(twips(200));
    introtext->addWidget(lblAvbryt);
    introtext->addStretch();
    introtext->addLayout(forklaring);
    auto* intro = new QHBoxLayout(picIntroduktion);
    intro->addWidget(picBild);
    intro->addSpacing(twips(200));
    intro->addLayout(introtext, 1);

    // The steps: a heading band over the step panels, one in front at a time.
    auto* stegsida = new QWidget(this);
    auto* band = new QFrame(stegsida);
    band->setObjectName(QStringLiteral("picRubrik"));
    band->setAutoFillBackground(true);
    QPalette p = band->palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    p.setColor(QPalette::WindowText, p.color(QPalette::Text));
    band->setPalette(p);
    lblRubrik = fet(etikett(band, "lblRubrik", {}));
    lblRubrikForklaring = etikett(band, "lblRubrikForklaring", {});
    auto* imgGuide = etikett(band, "imgGuide", {});
    auto* rubriker = new QVBoxLayout;
    rubriker->addWidget(lblRubrik);
    rubriker->addWidget(lblRubrikForklaring);
    rubriker->addStretch();
    auto* bandlayout = new QHBoxLayout(band);
    bandlayout->addLayout(rubriker, 1);
    bandlayout->addWidget(imgGuide);
    auto* linje = new QFrame(stegsida);
    linje->setFrameShape(QFrame::HLine);
    linje->setFrameShadow(QFrame::Sunken);

    picSteg = new QStackedWidget(stegsida);
    picSteg->setObjectName(QStringLiteral("picSteg"));

    auto* steg0 = new QWidget(picSteg);
    steg0->setObjectName(QStringLiteral("picSteg0"));
    auto* l0 =
        stegpanel(steg0, 0,
                  ord("Välj sökvägen till tävlingen som ska importeras.",
                      "Välj sökvägen till tävlingen som ska exporteras, aktuell tävling är redan ifylld."));
    l0->addLayout(obligatorisk(
        steg0, 0, etikett(steg0, "lblTxtSokvagExpTavling", QStringLiteral("Sökväg till tävlingen:"))));
    txtSokvagExpTavling = new QLineEdit(steg0);
    txtSokvagExpTavling->setObjectName(QStringLiteral("txtSokvagExpTavling"));
    txtSokvagExpTavling->setToolTip(ord("Här väljer man vilken tävling man ska importera.",
                                        "Här väljer man vilken tävling man ska exportera."));
    cmdBladdraExp = knapp(steg0, "cmdBladdraExp", QStringLiteral("&Bläddra..."),
                          QStringLiteral("Leta reda på tävlingen på datorn."));
    auto* rad0 = new QHBoxLayout;
    rad0->addWidget(txtSokvagExpTavling, 1);
    rad0->addWidget(cmdBladdraExp);
    l0->addLayout(rad0);
    l0->addStretch();

    auto* steg1 = new QWidget(picSteg);
    steg1->setObjectName(QStringLiteral("picSteg1"));
    const QString exempel = ord("C:\\Tävlingar", "A:\\");
    const QString exempelMapp = ord("C:\\Tävlingar\\Min tävling", "A:\\Min tävling");
    auto* l1 = stegpanel(steg1, 1,
                         QStringLiteral("Välj en sökväg dit tävlingen ska %1 till. T.ex. %2\n"
                                        "Om tävlingen heter \"Min Tävling\" kommer den att hamna i mappen "
                                        "\"Sökväg + Min tävling\" T.ex. %3")
                             .arg(ord("importeras", "exporteras"), exempel, exempelMapp));
    l1->addLayout(obligatorisk(steg1, 1, etikett(steg1, "lblTxtSokvagDest", QStringLiteral("Sökväg:"))));
    txtSokvagDestTavling = new QLineEdit(steg1);
    txtSokvagDestTavling->setObjectName(QStringLiteral("txtSokvagDestTavling"));
    txtSokvagDestTavling->setToolTip(QStringLiteral("Här väljer man vart tävlingen ska hamna."));
    cmdBladdraDest = knapp(steg1, "cmdBladdraDest", QStringLiteral("&Bläddra..."),
                           QStringLiteral("Leta reda på en plats på den här datorn."));
    auto* rad1 = new QHBoxLayout;
    rad1->addWidget(txtSokvagDestTavling, 1);
    rad1->addWidget(cmdBladdraDest);
    l1->addLayout(rad1);
    l1->addStretch();

    auto* steg2 = new QWidget(picSteg);
    steg2->setObjectName(QStringLiteral("picSteg2"));
    auto* l2 = stegpanel(steg2, 2,
                         ord("Tryck på slutför för att importera tävlingen till vald destination:",
                             "Tryck på slutför för att exportera tävlingen till vald destination:"));
    lblValdTavling = etikett(steg2, "lblValdTavling", {});
    lblValdDest = etikett(steg2, "lblValdDest", {});
    for (QLabel* vald : {lblValdTavling, lblValdDest}) {
        vald->setWordWrap(true);
        vald->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l2->addWidget(vald);
        l2->addSpacing(twips(120));
    }
    l2->addStretch();
    lblStatusKopiering =
        fet(etikett(steg2, "lblStatusKopiering", QStringLiteral("Kopiering av filer pågår. Vänta...")));
    lblStatusKopiering->hide();
    l2->addWidget(lblStatusKopiering);

    for (QWidget* panel : {steg0, steg1, steg2})
        picSteg->addWidget(panel);
    auto* stegl = new QVBoxLayout(stegsida);
    stegl->setContentsMargins(0, 0, 0, 0);
    stegl->setSpacing(0);
    stegl->addWidget(band);
    stegl->addWidget(linje);
    stegl->addSpacing(twips(120));
    stegl->addWidget(picSteg, 1);

    m_sidor = new QStackedWidget(this);
    m_sidor->addWidget(picIntroduktion);
    m_sidor->addWidget(stegsida);

    m_knapprad = new QWidget(this);
    cmdForegaende = knapp(m_knapprad, "cmdForegaende", QStringLiteral("&Föregående"),
                          QStringLiteral("Gå till föregående steg i guiden."));
    cmdNasta = knapp(m_knapprad, "cmdNasta", QStringLiteral("&Nästa"),
                     QStringLiteral("Gå till nästa steg i guiden."));
    cmdNasta->setDefault(true);
    cmdAvbryt = knapp(m_knapprad, "cmdAvbryt", QStringLiteral("&Avbryt"),
                      QStringLiteral("Avbryt guiden utan att utföra någonting."));
    auto* nedre = new QFrame(this);
    nedre->setFrameShape(QFrame::HLine);
    nedre->setFrameShadow(QFrame::Sunken);
    auto* knappar = new QHBoxLayout(m_knapprad);
    knappar->setContentsMargins(0, 0, 0, 0);
    knappar->addStretch();
    knappar->addWidget(cmdForegaende);
    knappar->addWidget(cmdNasta);
    knappar->addSpacing(twips(120));
    knappar->addWidget(cmdAvbryt);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sidor, 1);
    layout->addWidget(nedre);
    layout->addWidget(m_knapprad);

    connect(cmdNasta, &QPushButton::clicked, this, &frmOverforingsguide::cmdNasta_Click);
    connect(cmdForegaende, &QPushButton::clicked, this, &frmOverforingsguide::cmdForegaende_Click);
    connect(cmdAvbryt, &QPushButton::clicked, this, &frmOverforingsguide::reject);
    connect(cmdBladdraExp, &QPushButton::clicked, this, &frmOverforingsguide::cmdBladdraExp_Click);
    connect(cmdBladdraDest, &QPushButton::clicked, this, &frmOverforingsguide::cmdBladdraDest_Click);

    resize(twips(7500), twips(5400));

    // Form_Load. A missing picture is told once and the wizard goes on without it.
    Grafik grafik(k.g().strProgrammapp, k.m(), objectName(), QStringLiteral("Ikon saknas!"),
                  Ikon::Information, QStringLiteral("Ikon saknas"));
    imgGuide->setPixmap(grafik.bild(QStringLiteral("grafik/bilder/DisketterExp.bmp")));
    picBild->setPixmap(grafik.bild(QStringLiteral("grafik/bilder/Export.gif")));
    VisaSteg(Introduktion);
    if (k.g().tavlingOppen())
        txtSokvagExpTavling->setText(QDir::toNativeSeparators(k.g().strTavlingsdatabas));
    m_bladdrat = false;
}

QString frmOverforingsguide::ord(const char* import, const char* export_) const {
    return QString::fromUtf8(m_riktning == Riktning::Import ? import : export_);
}

void frmOverforingsguide::VisaSteg(int steg) {
    if (steg != Introduktion && (steg < 0 || steg > 2))
        return;
    m_steg = steg;
    const QString info = ord("Skriv in information för importen", "Skriv in information för exporten");
    if (steg == Introduktion) {
        m_sidor->setCurrentWidget(picIntroduktion);
        cmdForegaende->setEnabled(false);
    } else {
        m_sidor->setCurrentIndex(1);
        // Only the panel in front can be used.
        for (int i = 0; i < picSteg->count(); ++i)
            picSteg->widget(i)->setEnabled(i == steg);
        picSteg->setCurrentIndex(steg);
        cmdForegaende->setEnabled(true);
    }
    switch (steg) {
    case 0:
        lblRubrik->setText(info);
        lblRubrikForklaring->setText(
            ord("Sökväg till tävling som ska importeras", "Sökväg till tävling som ska exporteras"));
        if (m_k.g().tavlingOppen())
            cmdBladdraExp->setEnabled(false);
        break;
    case 1: {
        lblRubrik->setText(info);
        lblRubrikForklaring->setText(
            ord("Sökväg dit tävling ska importeras", "Sökväg dit tävling ska exporteras"));
        const IniNyckel& nyckel = m_riktning == Riktning::Import ? Ini::Tavlingskatalog : Ini::Exportkatalog;
        txtSokvagDestTavling->setText(
            m_k.g().iniProgram.GetKeyValue(nyckel.sektion, nyckel.nyckel, QString()));
        break;
    }
    case 2:
        lblRubrik->setText(
            ord("Kontrollera informationen för importen", "Kontrollera informationen för exporten"));
        lblRubrikForklaring->setText(QStringLiteral("Är det rätt ifyllt?"));
        lblValdTavling->setText(QStringLiteral("Vald tävling: \n") + txtSokvagExpTavling->text());
        lblValdDest->setText(QStringLiteral("Vald destination: \n") + txtSokvagDestTavling->text());
        break;
    default:
        break;
    }
    cmdNasta->setEnabled(true);
    if (steg == 2) {
        cmdNasta->setText(QStringLiteral("&Slutför"));
        cmdNasta->setToolTip(
            ord("Slutför guiden och importera tävlingen.", "Slutför guiden och exportera tävlingen."));
    } else {
        cmdNasta->setText(QStringLiteral("&Nästa"));
        cmdNasta->setToolTip(QStringLiteral("Gå till nästa steg i guiden."));
    }
}

void frmOverforingsguide::cmdNasta_Click() {
    if (m_steg != 2) {
        VisaSteg(m_steg == Introduktion ? 0 : m_steg + 1);
        return;
    }
    Felfalla::standard(m_k.m(), objectName(), QStringLiteral("cmdNästa_Click"))([&] {
        const Overforing::Kontroll k =
            Overforing::kontrollera(m_riktning, txtSokvagExpTavling->text(), txtSokvagDestTavling->text(),
                                    m_bladdrat ? m_filtitel : QString(), m_k.g(), m_k.m());
        if (!k.ok) {
            VisaSteg(k.steg);
            QPushButton* bladdra =
                k.fokus == Overforing::Kontroll::Fokus::Kalla ? cmdBladdraExp : cmdBladdraDest;
            // With a competition open the source is not browsed: its field takes the focus.
            if (bladdra->isEnabled())
                bladdra->setFocus();
            else
                txtSokvagExpTavling->setFocus();
            return;
        }
        if (!Kopiera(k.sokvagar))
            return;
        lblStatusKopiering->hide();
        QString klar = QStringLiteral("Kopieringen är klar!");
        if (!m_sakerhetskopia.isEmpty())
            klar += QStringLiteral("\r\n\r\nDe filer som ersattes finns i %1, eftersom %2 inte är en "
                                   "säkerhetskopia från programmet.")
                        .arg(QDir::toNativeSeparators(m_sakerhetskopia),
                             QDir::toNativeSeparators(Overforing::sakerhetskopia(k.sokvagar.malmapp())));
        m_k.m().visa(klar, QStringLiteral("Status"), Ikon::Information);
        accept();
    });
}

bool frmOverforingsguide::Kopiera(const Overforing::Sokvagar& s) {
    // While the files are copied the wizard only repaints: its buttons are off
    // and Escape and the close box refused, so nothing can start, go back or
    // close anything; whatever happens, all is given back afterwards.
    struct Kopierar {
        QPointer<frmOverforingsguide> w;
        bool klar = false;
        explicit Kopierar(frmOverforingsguide& g) : w(&g) {
            w->m_kopierar = true;
            w->lblStatusKopiering->show();
        }
        ~Kopierar() {
            if (!w)
                return;
            w->m_kopierar = false;
            if (!klar)
                w->lblStatusKopiering->hide();
        }
    };
    const QPointer<frmOverforingsguide> finns(this);
    Overforing::Kopieringsutfall utfall;
    {
        const Upptagen upptagen(m_knapprad);
        Kopierar kopierar(*this);
        // A program told to end starts no copy.
        if (m_k.m().avslutas())
            return false;
        // No event is let through before the hold: a display that connects
        // as the copy begins asks its question after the copy like any other
        // (shown now, it would take the wizard's keys and keep the copy
        // waiting under it). The status and the hourglass are painted while
        // the copy runs.
        utfall = kopieraIBakgrunden(s.destination, s.kallmapp, m_k.m().hall());
        kopierar.klar = utfall.feltext.isEmpty();
    }
    if (!finns)
        return false;
    m_sakerhetskopia = utfall.sakerhetskopia;
    if (utfall.feltext.isEmpty()) {
        // The wizard closes after its message; its buttons stay off till then.
        m_knapprad->setEnabled(false);
        return true;
    }
    if (utfall.sokvagsfel)
        m_k.m().visa(utfall.feltext, QStringLiteral("Fel sökväg"), Ikon::Kritisk);
    else
        m_k.m().visa(QStringLiteral("Detta fel blev under kopieringen av tävlingen: \r\n") + utfall.feltext,
                     QStringLiteral("Fel"), Ikon::Kritisk);
    return false;
}

void frmOverforingsguide::cmdForegaende_Click() {
    if (m_steg == 0)
        VisaSteg(Introduktion);
    else if (m_steg == 1 || m_steg == 2)
        VisaSteg(m_steg - 1);
}

void frmOverforingsguide::cmdBladdraExp_Click() {
    Felfalla(m_k.m(), objectName() + QStringLiteral("_cmdBläddraExp_click: "), Ikon::Ingen, {})([&] {
        const modGlobalt& g = m_k.g();
        QString start =
            g.iniProgram.GetKeyValue(Ini::Tavlingskatalog.sektion, Ini::Tavlingskatalog.nyckel, QString());
        if (start.trimmed().isEmpty() || !QFileInfo(start.trimmed()).isDir())
            start = g.programmappMedAvslut();
        const QString fil = m_k.dialoger().oppnaFil(this, QStringLiteral("Öppna"), start.trimmed(),
                                                    QStringLiteral("Tävlingar (*.air)"));
        // A cancelled dialog changes nothing.
        if (fil.isEmpty())
            return;
        txtSokvagExpTavling->setText(QDir::toNativeSeparators(fil));
        m_filtitel = QFileInfo(fil).fileName();
        m_bladdrat = true;
    });
}

void frmOverforingsguide::cmdBladdraDest_Click() {
    auto* bladdra = new frmBladdra(
        m_k, this, m_riktning == Riktning::Import ? frmBladdra::Lage::Import : frmBladdra::Lage::Export);
    connect(bladdra, &frmBladdra::valt, this,
            [this](const QString& mapp) { txtSokvagDestTavling->setText(mapp); });
    bladdra->show();
}

void frmOverforingsguide::reject() {
    if (m_kopierar)
        return;
    QDialog::reject();
}

void frmOverforingsguide::closeEvent(QCloseEvent* e) {
    // The close box acts as Cancel, and does nothing while the copy runs.
    if (m_kopierar) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}
