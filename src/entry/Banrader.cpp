#include "entry/Banrader.h"

#include "entry/Inmatningsregler.h"
#include "shell/Twips.h"
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>

namespace {

// Where each series field, pair sum and total stands in a row (twips).
constexpr std::array<int, Serieregler::AntalSerier> SerieVanster = {2820, 3180, 4020, 4380, 5220, 5580,
                                                                    6420, 6780, 7620, 7980, 8820, 9180};
constexpr std::array<int, Serieregler::AntalPar> SummaVanster = {3580, 4800, 5980, 7180, 8380, 9580};
constexpr int SerieBredd = 375;
constexpr int SummaBredd = 380;
constexpr int FaltTopp = 120;
constexpr int FaltHojd = 360;
constexpr int SummaTopp = 160;
constexpr int SummaHojd = 255;
constexpr int BanaTopp = 150;
constexpr int BanaHojd = 330;

// Colours of the old window, written as red, green, blue.
const QColor Ljusgron(0xC0, 0xFF, 0xC0);
const QColor Ljusrod(0xFF, 0xC0, 0xC0);
const QColor Namngra(0xE0, 0xE0, 0xE0);
const QColor Rod(0xFF, 0, 0);

const QString SerieTips =
    QStringLiteral("Skriv in resultatet med femskotts serier. Efter 2siffror så hoppar markören vidare till "
                   "nästa ruta. Man kan navigera mellan rutorna med piltang.");

void sattFarg(QLineEdit* falt, QPalette::ColorRole roll, const QColor& farg) {
    if (falt->palette().color(roll) == farg)
        return;
    QPalette p = falt->palette();
    p.setColor(roll, farg);
    falt->setPalette(p);
}

void sattText(QLineEdit* falt, const QString& text, bool full) {
    if (falt->text() != text)
        falt->setText(text);
    sattFarg(falt, QPalette::Text, full ? Rod : QApplication::palette().color(QPalette::Text));
}

} // namespace

Banrader::Banrader(QObject* filter, QWidget* parent) : QWidget(parent), m_filter(filter) {
    setObjectName(QStringLiteral("Banrader"));
    // What the keyboard filter lets through is checked again here for text that
    // comes another way (pasted with the mouse): series are digits, a shoot-off
    // value digits with at most one decimal comma.
    m_siffror = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    m_decimal = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*,?[0-9]*")), this);
    m_normal = font();
    m_normal.setPointSizeF(9.75);
    // Sums and totals in a smaller bold, so that "100" fits its column.
    m_fet = font();
    m_fet.setPointSizeF(8.25);
    m_fet.setBold(true);
    m_banfont = m_normal;
    m_banfont.setPointSize(12);
    m_banfont.setBold(true);
    const int frameX = twips(BanaBredd) + 7;
    const int frameY = 24;

    // The headers: the lane's stays put, the others scroll sideways with the rows.
    auto* lblBana = new QLabel(QStringLiteral("Bana"), this);
    lblBana->setObjectName(QStringLiteral("lblBana"));
    lblBana->setGeometry(2, 4, twips(BanaBredd) + 6, 18);
    auto* picOverskrBehallare = new QWidget(this);
    picOverskrBehallare->setObjectName(QStringLiteral("picOverskrBehallare"));
    picOverskrBehallare->setGeometry(frameX, 0, twips(BehallareBredd), frameY - 2);
    picOverskrInnehall = new QWidget(picOverskrBehallare);
    picOverskrInnehall->setObjectName(QStringLiteral("picOverskrInnehall"));
    picOverskrInnehall->setGeometry(0, 0, twips(OverskriftBredd), frameY - 2);
    const auto rubrik = [&](const QString& namn, const QString& text, int vanster, int bredd,
                            Qt::Alignment justering) {
        auto* l = new QLabel(text, picOverskrInnehall);
        l->setObjectName(namn);
        l->setAlignment(justering | Qt::AlignBottom);
        l->setGeometry(twips(vanster), 0, twips(bredd), frameY - 4);
        return l;
    };
    rubrik(QStringLiteral("lblNamn"), QStringLiteral("Namn"), 60, 1500, Qt::AlignLeft);
    Label.append(nullptr);
    // "Serie" reaches left over the name so that the 1 stands above series 1.
    Label.append(rubrik(QStringLiteral("Label1"), QStringLiteral("Serie       1"), SerieVanster[0] - 1200,
                        1200 + SerieBredd, Qt::AlignRight));
    for (int n = 2; n <= Serieregler::AntalSerier; ++n)
        Label.append(rubrik(QStringLiteral("Label%1").arg(n), QString::number(n), SerieVanster[n - 1],
                            SerieBredd, Qt::AlignHCenter));
    // The last three headers are wider than their columns; each starts where the
    // one before ends.
    lblSumma = rubrik(QStringLiteral("lblSumma"), QStringLiteral("40 / 60 skott"), 9900, 1260, Qt::AlignLeft);
    rubrik(QStringLiteral("lblSarskjutning"), QStringLiteral("Särskjutn."), 11160, 960, Qt::AlignLeft);
    rubrik(QStringLiteral("lblOverskrAntal"), QStringLiteral("Antal"), 12120, 600, Qt::AlignHCenter);

    // The lane column and the row area, each a content widget in a clipping frame.
    auto* picBanaBehallare = new QWidget(this);
    picBanaBehallare->setObjectName(QStringLiteral("picBanaBehallare"));
    picBanaBehallare->setGeometry(2, frameY, twips(BanaBredd) + 2, twips(BehallareHojd));
    picBanaInnehall = new QWidget(picBanaBehallare);
    picBanaInnehall->setObjectName(QStringLiteral("picBanaInnehall"));
    picBanaInnehall->setGeometry(0, 0, twips(BanaBredd) + 2, twips(InnehallHojd));
    picBehallare = new QWidget(this);
    picBehallare->setObjectName(QStringLiteral("picBehallare"));
    picBehallare->setGeometry(frameX, frameY, twips(BehallareBredd), twips(BehallareHojd));
    picInnehall = new QWidget(picBehallare);
    picInnehall->setObjectName(QStringLiteral("picInnehall"));
    picInnehall->setGeometry(0, 0, twips(InnehallBredd), twips(InnehallHojd));
    picInnehall->setVisible(false);
    // A frame made higher shows more rows, which must be there.
    picBehallare->installEventFilter(this);

    VScrollInnehall = new QScrollBar(Qt::Vertical, this);
    VScrollInnehall->setObjectName(QStringLiteral("VScrollInnehall"));
    VScrollInnehall->setGeometry(frameX + twips(BehallareBredd), frameY, 17, twips(BehallareHojd));
    VScrollInnehall->setRange(0, 0);
    VScrollInnehall->setSingleStep(Radhojd);
    VScrollInnehall->setPageStep(2 * Radhojd);
    HScrollInnehall = new QScrollBar(Qt::Horizontal, this);
    HScrollInnehall->setObjectName(QStringLiteral("HScrollInnehall"));
    HScrollInnehall->setGeometry(frameX, frameY + twips(BehallareHojd), twips(BehallareBredd), 17);
    HScrollInnehall->setRange(0, HScrollMax);
    HScrollInnehall->setSingleStep(960);
    HScrollInnehall->setPageStep(HScrollMax);
    // The scroll bars are moved by the mouse; the keyboard stays in the fields.
    VScrollInnehall->setFocusPolicy(Qt::NoFocus);
    HScrollInnehall->setFocusPolicy(Qt::NoFocus);
    connect(VScrollInnehall, &QScrollBar::valueChanged, this, &Banrader::VScrollInnehall_Change);
    connect(HScrollInnehall, &QScrollBar::valueChanged, this, &Banrader::HScrollInnehall_Change);

    setFixedSize(frameX + twips(BehallareBredd) + 17, frameY + twips(BehallareHojd) + 17);
}

std::optional<Banrader::Plats> Banrader::plats(const QObject* falt) const {
    const auto p = m_platser.constFind(falt);
    if (p == m_platser.constEnd())
        return std::nullopt;
    return *p;
}

QLineEdit* Banrader::nyttFalt(QWidget* foralder, int vansterTwips, int toppTwips, int breddTwips,
                              int hojdTwips, int radTopp) {
    auto* falt = new QLineEdit(foralder);
    // Placed from its own twip position in the content area, so that a field in
    // a row's container stands on the very pixel it would stand on without it.
    falt->setGeometry(twips(vansterTwips), twips(toppTwips + radTopp) - twips(radTopp), twips(breddTwips),
                      twips(hojdTwips));
    falt->setTextMargins(0, 0, 0, 0);
    falt->setVisible(false);
    return falt;
}

void Banrader::Nyrad(int i) {
    Q_ASSERT(!byggd(i));
    if (i >= m_rader.size()) {
        m_rader.resize(i + 1);
        m_klar.resize(i + 1);
    }
    const int y = i * Radhojd;
    const QFont& normal = m_normal;
    const QFont& fet = m_fet;
    const QFont& banfont = m_banfont;
    const QColor knappyta = QApplication::palette().color(QPalette::Button);

    // Sums and totals are read, never typed: without a frame "100" and "600"
    // have the room they need in their narrow columns.
    const auto las = [&](QLineEdit* falt, const QFont& f, const QColor& bakgrund, bool ram = true) {
        falt->setFrame(ram);
        falt->setReadOnly(true);
        falt->setFocusPolicy(Qt::NoFocus);
        falt->setFont(f);
        sattFarg(falt, QPalette::Base, bakgrund);
    };

    Radfalt r;
    r.txtBana = nyttFalt(picBanaInnehall, 0, BanaTopp + y, BanaBredd, BanaHojd);
    // Each row's lane and container by its row, so that a row can be found
    // among the others; the fields inside a container keep their own names.
    r.txtBana->setObjectName(QStringLiteral("txtBana%1").arg(i));
    las(r.txtBana, banfont, knappyta);
    r.txtBana->setAlignment(Qt::AlignCenter);
    r.picRad = new QWidget(picInnehall);
    r.picRad->setObjectName(QStringLiteral("picRad%1").arg(i));
    r.picRad->setGeometry(0, twips(y), twips(InnehallBredd), twips(y + Radhojd) - twips(y));
    r.picRad->setVisible(false);
    QWidget* rad = r.picRad;
    r.txtNamn = nyttFalt(rad, 60, FaltTopp, 2655, FaltHojd, y);
    r.txtNamn->setObjectName(QStringLiteral("txtNamn"));
    r.txtNamn->setToolTip(QStringLiteral("Skyttens namn."));
    las(r.txtNamn, normal, Namngra);

    // Created in the order of a row, which is the order Tab goes through them.
    for (int n = 1; n <= Serieregler::AntalSerier; ++n) {
        QLineEdit* ser = nyttFalt(rad, SerieVanster[n - 1], FaltTopp, SerieBredd, FaltHojd, y);
        ser->setObjectName(QStringLiteral("txtSer%1").arg(n));
        ser->setToolTip(SerieTips);
        ser->setFont(normal);
        ser->setAlignment(Qt::AlignCenter);
        ser->setValidator(m_siffror);
        ser->installEventFilter(m_filter);
        connect(ser, &QLineEdit::inputRejected, this, [] { QApplication::beep(); });
        connect(ser, &QLineEdit::textEdited, this, [this, i, n] { emit serieRedigerad(i, n); });
        r.txtSer[size_t(n - 1)] = ser;
        m_platser.insert(ser, {Slag::Serie, i, n});
        if (n % 2 == 0) {
            const int k = n / 2;
            QLineEdit* sum = nyttFalt(rad, SummaVanster[size_t(k - 1)], SummaTopp, SummaBredd, SummaHojd, y);
            sum->setObjectName(QStringLiteral("txtSum%1").arg(k * 10));
            sum->setAlignment(Qt::AlignCenter);
            las(sum, fet, knappyta, false);
            r.txtSum[size_t(k - 1)] = sum;
        }
    }
    r.txtRes60 = nyttFalt(rad, 10500, SummaTopp, 495, SummaHojd, y);
    r.txtRes60->setObjectName(QStringLiteral("txtRes60"));
    r.txtRes60->setAlignment(Qt::AlignCenter);
    las(r.txtRes60, fet, knappyta, false);
    r.txtRes40 = nyttFalt(rad, 10020, SummaTopp, 495, SummaHojd, y);
    r.txtRes40->setObjectName(QStringLiteral("txtRes40"));
    r.txtRes40->setAlignment(Qt::AlignCenter);
    las(r.txtRes40, fet, knappyta, false);
    r.txtSarskjutning = nyttFalt(rad, 11220, FaltTopp, 555, FaltHojd, y);
    r.txtSarskjutning->setObjectName(QStringLiteral("txtSarskjutning"));
    r.txtSarskjutning->setFont(normal);
    r.txtSarskjutning->setValidator(m_decimal);
    r.txtSarskjutning->installEventFilter(m_filter);
    connect(r.txtSarskjutning, &QLineEdit::inputRejected, this, [] { QApplication::beep(); });
    m_platser.insert(r.txtSarskjutning, {Slag::Sarskjutning, i, 0});
    r.cmd1098 = new QPushButton(QStringLiteral("10,9,8,,,"), rad);
    r.cmd1098->setObjectName(QStringLiteral("cmd1098"));
    r.cmd1098->setGeometry(twips(11940), twips(FaltTopp + y) - twips(y), twips(735), twips(FaltHojd));
    r.cmd1098->setToolTip(QStringLiteral("Klicka här för att skriva in antal Innertior,tior,nior osv."));
    r.cmd1098->setVisible(false);
    r.cmd1098->installEventFilter(m_filter);
    connect(r.cmd1098, &QPushButton::clicked, this, [this, i] { emit antalKlickat(i); });
    m_platser.insert(r.cmd1098, {Slag::Antal, i, 0});
    m_rader[i] = r;
    m_klar[i] = false;
    ++m_byggda;
    tabbordning(i);
    m_hogsta = std::max(m_hogsta, i);
}

// A new widget joins the end of the window's Tab order. A row built below every
// other row is in its place there; one built above a row already built (the
// view went down first) is moved behind the nearest row above it.
void Banrader::tabbordning(int i) {
    if (i > m_hogsta)
        return;
    int fore = i - 1;
    while (fore >= 0 && !byggd(fore))
        --fore;
    QWidget* forra = nullptr;
    if (fore >= 0)
        forra = m_rader.at(fore).cmd1098;
    const auto kedja = [&forra](const Radfalt& r) {
        for (QWidget* w : r.txtSer) {
            if (forra)
                QWidget::setTabOrder(forra, w);
            forra = w;
        }
        QWidget::setTabOrder(forra, r.txtSarskjutning);
        QWidget::setTabOrder(r.txtSarskjutning, r.cmd1098);
        forra = r.cmd1098;
    };
    kedja(m_rader.at(i));
    // No row above it: the rows below follow it, in their order.
    if (fore < 0)
        for (int j = i + 1; j <= m_hogsta; ++j)
            if (byggd(j))
                kedja(m_rader.at(j));
}

const Radfalt& Banrader::rad(int i) {
    Q_ASSERT(i >= 0);
    if (!byggd(i))
        Nyrad(i);
    if (i < m_antal && !m_klar.at(i)) {
        m_klar[i] = true;
        if (malaRad)
            malaRad(i);
        m_rader.at(i).picRad->setVisible(true);
    }
    return m_rader.at(i);
}

const Radfalt* Banrader::radOmKlar(int i) const {
    if (i < 0 || i >= m_antal || i >= m_rader.size() || !m_klar.at(i))
        return nullptr;
    return &m_rader.at(i);
}

QWidget* Banrader::falt(const Plats& p) {
    const Radfalt& r = rad(p.rad);
    switch (p.slag) {
    case Slag::Serie:
        return r.txtSer[size_t(p.serie - 1)];
    case Slag::Sarskjutning:
        return r.txtSarskjutning;
    case Slag::Antal:
        return r.cmd1098;
    }
    return nullptr;
}

void Banrader::skapaSynligaRader() {
    if (m_antal == 0)
        return;
    // In pixels, as the frame clips: a row shows when any line of it does.
    const int topp = twips(VScrollInnehall->value());
    const int botten = topp + picBehallare->height();
    for (int i = std::max(0, VScrollInnehall->value() / Radhojd - 1); i < m_antal; ++i) {
        if (twips(i * Radhojd) >= botten)
            break;
        if (twips((i + 1) * Radhojd) > topp)
            rad(i);
    }
}

bool Banrader::eventFilter(QObject* o, QEvent* e) {
    if (o == picBehallare && e->type() == QEvent::Resize)
        skapaSynligaRader();
    return QWidget::eventFilter(o, e);
}

void Banrader::doljRad(int i) {
    const Radfalt& r = m_rader.at(i);
    r.picRad->setVisible(false);
    r.txtBana->setVisible(false);
    r.txtNamn->setVisible(false);
    for (QLineEdit* f : r.txtSer)
        f->setVisible(false);
    for (QLineEdit* f : r.txtSum)
        f->setVisible(false);
    r.txtRes60->setVisible(false);
    r.txtRes40->setVisible(false);
    r.txtSarskjutning->setVisible(false);
    r.cmd1098->setVisible(false);
    m_klar[i] = false;
}

void Banrader::forbered(int antal) {
    for (int i = 0; i <= m_hogsta; ++i)
        if (byggd(i) && m_klar.at(i))
            doljRad(i);
    m_antal = antal;
    // Eleven rows fit in the first height; every further row adds one row's height.
    m_innehallHojd = InnehallHojd + Radhojd * std::max(0, antal - 11);
    picInnehall->resize(twips(InnehallBredd), twips(m_innehallHojd));
    picBanaInnehall->resize(twips(BanaBredd) + 2, twips(m_innehallHojd));
    skapaSynligaRader();
}

void Banrader::Ta_bort_rader() {
    for (int i = 0; i <= m_hogsta; ++i)
        if (byggd(i))
            doljRad(i);
    m_antal = 0;
    m_innehallHojd = InnehallHojd;
    picInnehall->resize(twips(InnehallBredd), twips(m_innehallHojd));
    picBanaInnehall->resize(twips(BanaBredd) + 2, twips(m_innehallHojd));
    // The next squad starts at its first row, which is the one it builds.
    VScrollInnehall->setValue(0);
}

void Banrader::txtFarger(int rad, int klassensSerier, int extraSerier) {
    const Radfalt* r = radOmKlar(rad);
    if (!r)
        return;
    const QColor fonster = QApplication::palette().color(QPalette::Base);
    for (int n = 1; n <= Serieregler::AntalSerier; ++n) {
        QColor farg = fonster;
        switch (Inmatningsregler::serieFarg(n, klassensSerier, extraSerier)) {
        case Inmatningsregler::Seriefarg::Fonster:
            break;
        case Inmatningsregler::Seriefarg::Gron:
            farg = Ljusgron;
            break;
        case Inmatningsregler::Seriefarg::Rod:
            farg = Ljusrod;
            break;
        }
        sattFarg(r->txtSer[size_t(n - 1)], QPalette::Base, farg);
    }
}

void Banrader::malaSerier(int rad, const Serieregler::Serier& serier) {
    const Radfalt* r = radOmKlar(rad);
    if (!r)
        return;
    for (int n = 0; n < Serieregler::AntalSerier; ++n) {
        const QString text = QString::number(serier[size_t(n)]);
        sattText(r->txtSer[size_t(n)], text, Serieregler::fullSerie(text));
    }
    const Serieregler::Summor s = Serieregler::rakna(serier);
    for (int k = 0; k < Serieregler::AntalPar; ++k) {
        const QString text = QString::number(s.par[size_t(k)]);
        sattText(r->txtSum[size_t(k)], text, Serieregler::fullPar(text));
    }
    const QString t40 = QString::number(s.totalt40);
    const QString t60 = QString::number(s.totalt60);
    sattText(r->txtRes40, t40, Serieregler::fullTotalt40(t40));
    sattText(r->txtRes60, t60, Serieregler::fullTotalt60(t60));
}

void Banrader::visaFalt(int rad, const Inmatningsregler::Radsynlighet& v) {
    const Radfalt* r = radOmKlar(rad);
    if (!r)
        return;
    r->txtBana->setVisible(true);
    r->txtNamn->setVisible(true);
    for (int n = 1; n <= Serieregler::AntalSerier; ++n)
        r->txtSer[size_t(n - 1)]->setVisible(n <= 8 || v.serier9till12);
    for (int k = 1; k <= Serieregler::AntalPar; ++k)
        r->txtSum[size_t(k - 1)]->setVisible(k <= 4 || v.serier9till12);
    r->txtRes40->setVisible(v.totalt40);
    r->txtRes60->setVisible(v.totalt60);
    r->txtSarskjutning->setVisible(true);
    r->cmd1098->setVisible(true);
}

void Banrader::visaRes60(int rad, bool synlig) {
    if (const Radfalt* r = radOmKlar(rad))
        r->txtRes60->setVisible(synlig);
}

void Banrader::sattInnehallSynligt(bool synligt) {
    picInnehall->setVisible(synligt);
}

bool Banrader::innehallSynligt() const {
    return !picInnehall->isHidden();
}

int Banrader::innehallTopp() const {
    return -VScrollInnehall->value();
}

int Banrader::innehallVanster() const {
    return -HScrollInnehall->value();
}

void Banrader::uppdateraVScrollMax() {
    VScrollInnehall->setMaximum(std::max(0, m_innehallHojd - BehallareHojd));
}

int Banrader::vScroll() const {
    return VScrollInnehall->value();
}

int Banrader::vScrollMax() const {
    return VScrollInnehall->maximum();
}

void Banrader::sattVScroll(int varde) {
    VScrollInnehall->setValue(varde);
}

int Banrader::hScrollMax() const {
    return HScrollInnehall->maximum();
}

void Banrader::sattHScroll(int varde) {
    HScrollInnehall->setValue(varde);
}

void Banrader::nationellaRubriker() {
    for (int n = 9; n <= Serieregler::AntalSerier; ++n)
        Label[n]->setVisible(false);
    lblSumma->setText(QStringLiteral("40 skott"));
}

void Banrader::VScrollInnehall_Change(int varde) {
    picInnehall->move(picInnehall->x(), -twips(varde));
    picBanaInnehall->move(0, -twips(varde));
    skapaSynligaRader();
}

void Banrader::HScrollInnehall_Change(int varde) {
    picInnehall->move(-twips(varde), picInnehall->y());
    picOverskrInnehall->move(-twips(varde), 0);
}
