#include "settings/frmSlaSammanKlasser.h"

#include "competition/Klasser.h"
#include "platform/Meddelanden.h"
#include "settings/frmKlassUppgifter.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Rutnat.h"
#include "shell/Twips.h"
#include "shell/modGlobalt.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString Form = QStringLiteral("frmSlåSammanKlasser");

qint64 nyckel(const Rutnat* r, int rad) {
    return r->cell(rad, 1).toLongLong();
}
} // namespace

frmSlaSammanKlasser::frmSlaSammanKlasser(Formkontext& k, QWidget* parent) : QDialog(parent), m_k(k) {
    setObjectName(QStringLiteral("frmSlaSammanKlasser"));
    setWindowTitle(QStringLiteral("Slå samman klasser"));

    const auto rutnat = [this](const QString& namn, const QString& tips) {
        auto* r = new Rutnat(this);
        r->setObjectName(namn);
        r->setToolTip(tips);
        r->setAlternatingRowColors(false);
        return r;
    };
    vbagrHuvudklass =
        rutnat(QStringLiteral("vbagrHuvudklass"),
               QStringLiteral(
                   "Här visas dom huvudklasser man valt. I rutan nedan visas dom klasser som är ihopslagna "
                   "till den här huvudklassen. Markera för att flytta klasser eller radera huvudklassen."));
    vbagrInkKlasser =
        rutnat(QStringLiteral("vbagrInkKlasser"),
               QStringLiteral("Här visas alla klasser som är ihopslagna till huvudklassen ovan."));
    vbagrExKlasser =
        rutnat(QStringLiteral("vbagrExKlasser"),
               QStringLiteral("Här visas alla klassre som inte ingår i någon huvudklass och som är "
                              "inskrivna under Inställningar."));

    const auto knapp = [this](const QString& namn, const QString& text, const QString& tips) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(namn);
        b->setToolTip(tips);
        return b;
    };
    frameSammanslKlasser = new QGroupBox(QStringLiteral("Sammanslagna klasser"), this);
    frameSammanslKlasser->setObjectName(QStringLiteral("frameSammanslKlasser"));
    cmdNyHuvudklass = knapp(QStringLiteral("cmdNyHuvudklass"), QStringLiteral("&Ny"),
                            QStringLiteral("Skapa en ny huvudklass."));
    cmdRaderaHuvudKlass = knapp(QStringLiteral("cmdRaderaHuvudKlass"), QStringLiteral("&Radera"),
                                QStringLiteral("Radera markerad huvudklass."));
    cmdLaggTillKlass =
        knapp(QStringLiteral("cmdLaggTillKlass"), {},
              QStringLiteral("Klicka här för att flytta markerad klass i rutan Tillgängliga till Ingående."));
    cmdTabortKlass =
        knapp(QStringLiteral("cmdTabortKlass"), {},
              QStringLiteral("Klicka här för att flytta markerad klass i rutan Ingående till Tillgängliga."));
    // The arrows have a picture and no caption: their names say the move
    // they make to a screen reader.
    cmdLaggTillKlass->setAccessibleName(QStringLiteral("Flytta klassen till Ingående klasser"));
    cmdTabortKlass->setAccessibleName(QStringLiteral("Flytta klassen till Tillgängliga klasser"));
    cmdOK = knapp(QStringLiteral("cmdOK"), QStringLiteral("&OK"),
                  QStringLiteral("Spara och återgå till Inställningar."));
    popupmnuHuvud = new QMenu(QStringLiteral("popuphuvud"), this);
    popupmnuHuvud->setObjectName(QStringLiteral("popupmnuHuvud"));
    popupmnuNyklass = popupmnuHuvud->addAction(QStringLiteral("&Ny klass"));
    popupmnuNyklass->setObjectName(QStringLiteral("popupmnuNyklass"));
    popupmnuRaderaklass = popupmnuHuvud->addAction(QStringLiteral("&Radera klass"));
    popupmnuRaderaklass->setObjectName(QStringLiteral("popupmnuRaderaklass"));

    auto* huvudknappar = new QHBoxLayout;
    huvudknappar->addWidget(cmdNyHuvudklass);
    huvudknappar->addWidget(cmdRaderaHuvudKlass);
    huvudknappar->addStretch();
    auto* ram = new QVBoxLayout(frameSammanslKlasser);
    ram->addWidget(new QLabel(QStringLiteral("Huvudklasser"), frameSammanslKlasser));
    ram->addWidget(vbagrHuvudklass);
    ram->addLayout(huvudknappar);
    ram->addWidget(new QLabel(QStringLiteral("Ingående klasser"), frameSammanslKlasser));
    ram->addWidget(vbagrInkKlasser);
    auto* pilar = new QVBoxLayout;
    pilar->addStretch();
    pilar->addWidget(cmdLaggTillKlass);
    pilar->addWidget(cmdTabortKlass);
    pilar->addStretch();
    auto* tillgangliga = new QVBoxLayout;
    tillgangliga->addWidget(new QLabel(QStringLiteral("Tillgängliga klasser"), this));
    tillgangliga->addWidget(vbagrExKlasser);
    auto* rad = new QHBoxLayout;
    rad->addWidget(frameSammanslKlasser, 1);
    rad->addLayout(pilar);
    rad->addLayout(tillgangliga, 1);
    auto* knappar = new QHBoxLayout;
    knappar->addStretch();
    knappar->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rad);
    layout->addLayout(knappar);

    connect(cmdLaggTillKlass, &QPushButton::clicked, this, &frmSlaSammanKlasser::cmdLaggTillKlass_Click);
    connect(cmdTabortKlass, &QPushButton::clicked, this, &frmSlaSammanKlasser::cmdTabortKlass_Click);
    connect(cmdNyHuvudklass, &QPushButton::clicked, this, &frmSlaSammanKlasser::cmdNyHuvudklass_Click);
    connect(cmdRaderaHuvudKlass, &QPushButton::clicked, this,
            &frmSlaSammanKlasser::cmdRaderaHuvudKlass_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmSlaSammanKlasser::cmdOK_Click);
    connect(popupmnuNyklass, &QAction::triggered, this, &frmSlaSammanKlasser::cmdNyHuvudklass_Click);
    connect(popupmnuRaderaklass, &QAction::triggered, this, &frmSlaSammanKlasser::cmdRaderaHuvudKlass_Click);
    connect(vbagrExKlasser, &Rutnat::cellDoubleClicked, this, &frmSlaSammanKlasser::cmdLaggTillKlass_Click);
    connect(vbagrInkKlasser, &Rutnat::cellDoubleClicked, this, &frmSlaSammanKlasser::cmdTabortKlass_Click);
    connect(vbagrHuvudklass, &Rutnat::hogerklick, this,
            [this](const QPoint& var) { popupmnuHuvud->popup(var); });
    vbagrHuvudklass->installEventFilter(this);
    vbagrHuvudklass->viewport()->installEventFilter(this);

    Felfalla::standard(k.m(), Form, QStringLiteral("Form_load"))([&] {
        Grafik grafik(k.g().strProgrammapp, k.m(), Form, QStringLiteral("Ikon saknas!"),
                      Meddelanden::Ikon::Information, QStringLiteral("Ikon saknas"));
        setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/SlåSamman.ico")));
        resize(twips(7350), twips(7080));
        cmdLaggTillKlass->setIcon(grafik.ikon(QStringLiteral("grafik/ikoner/ArrowLeft.ico")));
        cmdTabortKlass->setIcon(grafik.ikon(QStringLiteral("grafik/ikoner/ArrowRight.ico")));
        Skapa_rutnat();
        Hamta_Ex();
        Hamta_Huvud();
    });
}

void frmSlaSammanKlasser::Skapa_rutnat() {
    for (Rutnat* r : {vbagrHuvudklass, vbagrInkKlasser, vbagrExKlasser}) {
        r->laggTillKolumn(QStringLiteral("Räknare"), 50, true);
        r->laggTillKolumn(QStringLiteral("Klass"), 50);
        r->laggTillKolumn(QStringLiteral("Skott"), 43);
        if (m_k.g().blnMix)
            r->laggTillKolumn(QStringLiteral("Sport/Nat"), 68);
    }
}

namespace {
void fyll(Rutnat* r, const QList<Klass>& klasser) {
    r->setUpdatesEnabled(false);
    r->tom();
    for (const Klass& k : klasser)
        r->laggTillRad({QString::number(k.raknare), k.kod, QString::number(k.antalSkott), k.sportNat});
    r->setUpdatesEnabled(true);
}
} // namespace

void frmSlaSammanKlasser::Hamta_Huvud() {
    fyll(vbagrHuvudklass, Klasser(m_k.g(), m_k.m()).huvudklasser());
}

void frmSlaSammanKlasser::Hamta_Ex() {
    fyll(vbagrExKlasser, Klasser(m_k.g(), m_k.m()).friaKlasser());
}

void frmSlaSammanKlasser::Hamta_Ink() {
    m_huvudklassRaknare = nyckel(vbagrHuvudklass, vbagrHuvudklass->valdRad());
    fyll(vbagrInkKlasser, Klasser(m_k.g(), m_k.m()).klasserI(m_huvudklassRaknare));
}

template <class F> void frmSlaSammanKlasser::fanga(const QString& procedur, F&& f) {
    Felfalla(m_k.m(), Form + QLatin1Char('.') + procedur + QStringLiteral("\r\n"), Meddelanden::Ikon::Ingen,
             QString())([&] {
        try {
            f();
        } catch (const Fel& fel) {
            if (fel.nummer() != Klasser::RadenFinnsInte)
                throw;
        }
    });
}

void frmSlaSammanKlasser::cmdLaggTillKlass_Click() {
    fanga(QStringLiteral("cmdLäggTillklass"), [&] {
        const int klassrad = vbagrExKlasser->valdRad();
        if (klassrad == 0) {
            m_k.m().visa(QStringLiteral("Du måste välja en klass först!"), {}, Meddelanden::Ikon::Kritisk);
            return;
        }
        const int huvudrad = vbagrHuvudklass->valdRad();
        if (huvudrad == 0) {
            m_k.m().visa(QStringLiteral("Du måste välja en huvudklass först!"), {},
                         Meddelanden::Ikon::Kritisk);
            return;
        }
        if (Klasser(m_k.g(), m_k.m())
                .slaSamman(nyckel(vbagrExKlasser, klassrad), nyckel(vbagrHuvudklass, huvudrad)) !=
            Klasser::Utfall::Ok)
            return;
        vbagrExKlasser->taBortRad(klassrad);
        Hamta_Ink();
    });
}

void frmSlaSammanKlasser::cmdTabortKlass_Click() {
    fanga(QStringLiteral("cmdTabortKlass"), [&] {
        const int rad = vbagrInkKlasser->valdRad();
        if (rad == 0)
            return;
        Klasser(m_k.g(), m_k.m()).lyftUr(nyckel(vbagrInkKlasser, rad));
        vbagrInkKlasser->taBortRad(rad);
        Hamta_Ex();
    });
}

void frmSlaSammanKlasser::cmdRaderaHuvudKlass_Click() {
    fanga(QStringLiteral("cmdRaderaHuvudKlass"), [&] {
        const int rad = vbagrHuvudklass->valdRad();
        if (rad == 0)
            return;
        m_huvudklassRaknare = nyckel(vbagrHuvudklass, rad);
        Klasser(m_k.g(), m_k.m()).raderaHuvudklass(m_huvudklassRaknare);
        Hamta_Huvud();
        Hamta_Ex();
        vbagrInkKlasser->tom();
    });
}

void frmSlaSammanKlasser::cmdNyHuvudklass_Click() {
    frmKlassUppgifter dialog(m_k, frmKlassUppgifter::Lage::NyHuvudklass, {}, this);
    connect(&dialog, &frmKlassUppgifter::sparad, this, [this] {
        fanga(QStringLiteral("Hämta_Huvud"), [this] { Hamta_Huvud(); });
        vbagrInkKlasser->tom();
    });
    dialog.exec();
}

void frmSlaSammanKlasser::cmdOK_Click() {
    accept();
}

bool frmSlaSammanKlasser::eventFilter(QObject* o, QEvent* e) {
    bool lista = false;
    if (e->type() == QEvent::KeyRelease)
        lista = o == vbagrHuvudklass;
    else if (e->type() == QEvent::MouseButtonRelease)
        lista = static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton && o == vbagrHuvudklass->viewport();
    if (lista && vbagrHuvudklass->valdRad() != 0)
        fanga(QStringLiteral("vbagrHuvudklass"), [this] { Hamta_Ink(); });
    return QDialog::eventFilter(o, e);
}
