#include "platform/workbook/Arbetsblad.h"

#include "common/Fel.h"
#include "platform/workbook/Kalkylprogram.h"
#include "platform/workbook/Utskriftsmotor.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace Kalkyl {

namespace {

constexpr int MaxTextlangd = 32767;
// Guards against a block of cells that would take all memory ("A1:XFD1048576").
constexpr qint64 MaxCellerPerOmrade = 2'000'000;

[[noreturn]] void vagra(const QString& text) {
    throw Fel(Kalkylfel::Programfel, text);
}

int kolumnnummer(const QString& bokstaver) {
    int n = 0;
    for (const QChar c : bokstaver)
        n = n * 26 + (c.unicode() - 'A' + 1);
    return n;
}

void kontrolleraFarg(long farg) {
    if (farg < 0 || farg > Vit)
        vagra(QStringLiteral("Färgen %1 är ogiltig.").arg(farg));
}

bool arTal(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// A number's value; the types the lists write are read as they are held.
double tal(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
        return *static_cast<const int*>(v.constData());
    case QMetaType::LongLong:
        return double(*static_cast<const qlonglong*>(v.constData()));
    case QMetaType::Double:
        return *static_cast<const double*>(v.constData());
    default:
        return v.toDouble();
    }
}

// What a cell keeps of a written value. The engine never guesses numbers or
// dates from a text: a text stays a text. A cell formatted "@" keeps a number as
// the text it shows, which is what that format is for.
QVariant lagrat(const QVariant& v, bool somText) {
    if (!v.isValid() || (v.isNull() && v.typeId() != QMetaType::QString))
        return {};
    if (v.typeId() == QMetaType::Bool)
        return somText ? QVariant(visningstext(v)) : QVariant(v.toBool());
    if (arTal(v)) {
        const double d = tal(v);
        if (!std::isfinite(d))
            vagra(QStringLiteral("Värdet är inget tal som kan skrivas i en cell."));
        return somText ? QVariant(visningstext(d)) : QVariant(d);
    }
    QString text;
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QChar ||
        v.typeId() == QMetaType::QByteArray || v.canConvert<QString>())
        text = v.toString();
    else
        throw Fel(Kalkylfel::TyperMatcharInte, QStringLiteral("Typerna matchar inte."));
    if (text.size() > MaxTextlangd)
        vagra(QStringLiteral("En cell rymmer högst %1 tecken.").arg(MaxTextlangd));
    if (text.isEmpty())
        return {};
    return text;
}

} // namespace

void Stil::lagg(const Stil& ovan) {
    auto ta = [](auto& mal, const auto& kalla) {
        if (kalla)
            mal = kalla;
    };
    ta(namn, ovan.namn);
    ta(storlek, ovan.storlek);
    ta(fet, ovan.fet);
    ta(farg, ovan.farg);
    ta(understrykning, ovan.understrykning);
    ta(fyllning, ovan.fyllning);
    ta(justering, ovan.justering);
    ta(talformat, ovan.talformat);
}

size_t qHash(const Stil& s, size_t seed) {
    const auto h = [](const auto& falt) -> size_t { return falt ? ::qHash(*falt) + 1 : 0; };
    return qHashMulti(seed, h(s.namn), h(s.storlek), h(s.fet ? std::optional<int>(*s.fet) : std::nullopt),
                      h(s.farg), h(s.understrykning), h(s.fyllning), h(s.justering), h(s.talformat));
}

Stil standardstil() {
    Stil s;
    s.namn = QStringLiteral("Calibri");
    s.storlek = 11;
    s.fet = false;
    s.understrykning = Understrykning::Ingen;
    s.justering = Justering::Allman;
    s.talformat = QString::fromLatin1(AllmantTalformat);
    return s;
}

QString visningstext(const QVariant& varde) {
    if (!varde.isValid())
        return {};
    if (varde.typeId() == QMetaType::Bool)
        return varde.toBool() ? QStringLiteral("SANT") : QStringLiteral("FALSKT");
    if (!arTal(varde))
        return varde.toString();
    const double d = varde.toDouble();
    if (d == std::trunc(d) && std::abs(d) < 1e11)
        return QString::number(qint64(d));
    QLocale svenska(QLocale::Swedish, QLocale::Sweden);
    svenska.setNumberOptions(QLocale::OmitGroupSeparator);
    return svenska.toString(d, 'g', 10);
}

// ---- Omrade ----

Omrade::Omrade(Arbetsblad* blad, Typ typ, int r1, int k1, int r2, int k2)
    : m_blad(blad), m_typ(typ), m_r1(std::min(r1, r2)), m_k1(std::min(k1, k2)), m_r2(std::max(r1, r2)),
      m_k2(std::max(k1, k2)) {
    // All columns or all rows is the whole sheet, as the spreadsheet treats it.
    if ((m_typ == Kolumner && m_k1 == 1 && m_k2 == MaxKolumn) ||
        (m_typ == Rader && m_r1 == 1 && m_r2 == MaxRad))
        m_typ = Blad;
    if (m_typ == Blad) {
        m_r1 = m_k1 = 1;
        m_r2 = MaxRad;
        m_k2 = MaxKolumn;
    }
}

Teckensnitt Omrade::Font() const {
    return Teckensnitt(*this);
}
Fyllning Omrade::Interior() const {
    return Fyllning(*this);
}

Stil Omrade::stilOverstVanster() const {
    m_blad->kontrollera();
    return m_blad->stil(m_r1, m_k1);
}

template <class T> void Omrade::sattStil(std::optional<T> Stil::*falt, const T& varde) const {
    m_blad->kontrollera();
    Arbetsblad& b = *m_blad;
    // Each layer keeps only what it sets, and the newest setting must show: so a
    // wider layer clears the field in the narrower layers it covers.
    const std::optional<T> satt(varde), tomt;
    const auto sattI = [&](Cell& c) { c.stil = b.medFalt(c.stil, falt, satt); };
    const auto tomI = [&](Cell& c) { c.stil = b.medFalt(c.stil, falt, tomt); };
    switch (m_typ) {
    case Blad:
        b.m_stil.*falt = varde;
        for (auto& [k, kolumn] : b.m_kolumner)
            (kolumn.stil.*falt).reset();
        for (auto& [r, rad] : b.m_rader) {
            (rad.stil.*falt).reset();
            for (auto& [k, cell] : rad.celler)
                tomI(cell);
        }
        break;
    case Kolumner:
        for (int k = m_k1; k <= m_k2; ++k)
            b.m_kolumner[k].stil.*falt = varde;
        for (auto& [r, rad] : b.m_rader) {
            if ((rad.stil.*falt).has_value()) {
                // The row's older setting outranks a column; where they cross, the
                // cells carry the newer column setting themselves.
                for (int k = m_k1; k <= m_k2; ++k)
                    sattI(rad.celler[k]);
            } else {
                for (auto it = rad.celler.lower_bound(m_k1); it != rad.celler.end() && it->first <= m_k2;
                     ++it)
                    tomI(it->second);
            }
        }
        break;
    case Rader:
        for (int r = m_r1; r <= m_r2; ++r) {
            Rad& rad = b.m_rader[r];
            rad.stil.*falt = varde;
            for (auto& [k, cell] : rad.celler)
                tomI(cell);
        }
        break;
    case Celler:
        if (qint64(m_r2 - m_r1 + 1) * (m_k2 - m_k1 + 1) > MaxCellerPerOmrade)
            vagra(QStringLiteral("Området är för stort."));
        for (int r = m_r1; r <= m_r2; ++r)
            for (int k = m_k1; k <= m_k2; ++k)
                sattI(b.cell(r, k));
        break;
    }
}

QVariant Omrade::Value() const {
    m_blad->kontrollera();
    return m_blad->varde(m_r1, m_k1);
}

void Omrade::setValue(const QVariant& varde) {
    m_blad->kontrollera();
    if (m_typ != Celler)
        vagra(QStringLiteral("Värden skrivs i celler, inte i hela rader eller kolumner."));
    if (qint64(m_r2 - m_r1 + 1) * (m_k2 - m_k1 + 1) > MaxCellerPerOmrade)
        vagra(QStringLiteral("Området är för stort."));
    for (int r = m_r1; r <= m_r2; ++r)
        for (int k = m_k1; k <= m_k2; ++k) {
            QVariant v = lagrat(varde, m_blad->arTextformat(r, k));
            if (v.isValid()) {
                m_blad->cell(r, k).varde = std::move(v);
            } else if (Rad* rad = m_blad->hittaRad(r)) {
                if (auto cell = rad->celler.find(k); cell != rad->celler.end())
                    cell->second.varde = QVariant();
            }
        }
}

void Omrade::Select() {
    m_blad->kontrollera();
    m_blad->m_markering = *this;
}

double Omrade::RowHeight() const {
    m_blad->kontrollera();
    return m_blad->radhojd(m_r1);
}

void Omrade::setRowHeight(double hojd) {
    m_blad->kontrollera();
    if (!(hojd >= 0 && hojd <= 409))
        vagra(QStringLiteral("Radhöjden måste vara mellan 0 och 409 punkter."));
    Arbetsblad& b = *m_blad;
    if (m_typ == Blad || m_typ == Kolumner) {
        b.m_radhojd = hojd;
        for (auto& [r, rad] : b.m_rader)
            rad.hojd.reset();
    } else {
        for (int r = m_r1; r <= m_r2; ++r)
            b.m_rader[r].hojd = hojd;
    }
}

double Omrade::ColumnWidth() const {
    m_blad->kontrollera();
    return m_blad->kolumnbredd(m_k1);
}

void Omrade::setColumnWidth(double bredd) {
    m_blad->kontrollera();
    if (!(bredd >= 0 && bredd <= 255))
        vagra(QStringLiteral("Kolumnbredden måste vara mellan 0 och 255 tecken."));
    Arbetsblad& b = *m_blad;
    if (m_typ == Blad || m_typ == Rader) {
        b.m_kolumnbredd = bredd;
        for (auto& [k, kolumn] : b.m_kolumner)
            kolumn.bredd.reset();
    } else {
        for (int k = m_k1; k <= m_k2; ++k)
            b.m_kolumner[k].bredd = bredd;
    }
}

int Omrade::HorizontalAlignment() const {
    return *stilOverstVanster().justering;
}

void Omrade::setHorizontalAlignment(int justering) {
    if (justering != Justering::Allman && justering != Justering::Hoger && justering != Justering::Vanster &&
        justering != Justering::Centrerad)
        vagra(QStringLiteral("Justeringen %1 stöds inte.").arg(justering));
    sattStil(&Stil::justering, justering);
}

QString Omrade::NumberFormat() const {
    return *stilOverstVanster().talformat;
}

void Omrade::setNumberFormat(const QString& format) {
    // Only the two formats the lists use; another would print differently from
    // what the list asked for.
    if (format != QLatin1String(Textformat) && format != QLatin1String(AllmantTalformat))
        vagra(QStringLiteral("Talformatet \"%1\" stöds inte.").arg(format));
    if (format == QLatin1String(Textformat))
        m_blad->m_textformatSatt = true;
    sattStil(&Stil::talformat, format);
}

// ---- Teckensnitt, Fyllning ----

QString Teckensnitt::Name() const {
    return *m_omrade.stilOverstVanster().namn;
}
void Teckensnitt::setName(const QString& namn) {
    if (namn.trimmed().isEmpty() || namn.size() > 31)
        vagra(QStringLiteral("Teckensnittet \"%1\" är ogiltigt.").arg(namn));
    m_omrade.sattStil(&Stil::namn, namn);
}
double Teckensnitt::Size() const {
    return *m_omrade.stilOverstVanster().storlek;
}
void Teckensnitt::setSize(double storlek) {
    if (!(storlek >= 1 && storlek <= 409))
        vagra(QStringLiteral("Teckenstorleken måste vara mellan 1 och 409."));
    m_omrade.sattStil(&Stil::storlek, storlek);
}
bool Teckensnitt::Bold() const {
    return *m_omrade.stilOverstVanster().fet;
}
void Teckensnitt::setBold(bool fet) {
    m_omrade.sattStil(&Stil::fet, fet);
}
long Teckensnitt::Color() const {
    return m_omrade.stilOverstVanster().farg.value_or(Svart);
}
void Teckensnitt::setColor(long farg) {
    kontrolleraFarg(farg);
    m_omrade.sattStil(&Stil::farg, farg);
}
int Teckensnitt::Underline() const {
    return *m_omrade.stilOverstVanster().understrykning;
}
void Teckensnitt::setUnderline(int stil) {
    // 4 and 5 are the accounting styles; they print as single and double.
    if (stil != Understrykning::Ingen && stil != Understrykning::Enkel && stil != Understrykning::Dubbel &&
        stil != 4 && stil != 5)
        vagra(QStringLiteral("Understrykningen %1 stöds inte.").arg(stil));
    m_omrade.sattStil(&Stil::understrykning, stil);
}

long Fyllning::Color() const {
    return m_omrade.stilOverstVanster().fyllning.value_or(Vit);
}
void Fyllning::setColor(long farg) {
    kontrolleraFarg(farg);
    m_omrade.sattStil(&Stil::fyllning, farg);
}

// ---- Sidformat, Sidbrytningar ----

QString Sidformat::sammanfoga(const QString& vanster, const QString& hoger) {
    QString s;
    if (!vanster.isEmpty())
        s += QStringLiteral("&L") + vanster;
    if (!hoger.isEmpty())
        s += QStringLiteral("&R") + hoger;
    return s;
}

void Sidformat::setPrintGridlines(bool pa) {
    m_blad->kontrollera();
    m_rutnat = pa;
}

void Sidformat::setOrientation(int orientering) {
    m_blad->kontrollera();
    if (orientering != Orientering::Staende && orientering != Orientering::Liggande)
        vagra(QStringLiteral("Orienteringen %1 finns inte.").arg(orientering));
    m_orientering = orientering;
}

void Sidformat::setPaperSize(int storlek) {
    m_blad->kontrollera();
    if (storlek != Pappersstorlek::A4 && storlek != Pappersstorlek::A3 && storlek != Pappersstorlek::A5 &&
        storlek != Pappersstorlek::Letter && storlek != Pappersstorlek::Legal)
        vagra(QStringLiteral("Pappersstorleken %1 stöds inte.").arg(storlek));
    m_pappersstorlek = storlek;
}

void Sidformat::sattMarginal(double& falt, double punkter) {
    m_blad->kontrollera();
    if (!(punkter >= 0 && punkter < 1000))
        vagra(QStringLiteral("Marginalen är ogiltig."));
    falt = punkter;
}
void Sidformat::setLeftMargin(double p) {
    sattMarginal(m_vanster, p);
}
void Sidformat::setRightMargin(double p) {
    sattMarginal(m_hoger, p);
}
void Sidformat::setTopMargin(double p) {
    sattMarginal(m_topp, p);
}
void Sidformat::setBottomMargin(double p) {
    sattMarginal(m_botten, p);
}
void Sidformat::setHeaderMargin(double p) {
    sattMarginal(m_sidhuvud, p);
}
void Sidformat::setFooterMargin(double p) {
    sattMarginal(m_sidfot, p);
}

namespace {
// The file format holds at most 255 characters per header or footer, codes
// included; a longer one would be dropped without a word.
void kontrolleraLangd(const QString& helhet) {
    if (helhet.size() > Sidformat::MaxSidhuvudlangd)
        vagra(QStringLiteral("Sidhuvudet eller sidfoten är längre än %1 tecken.")
                  .arg(Sidformat::MaxSidhuvudlangd));
}

// The file keeps a header's sections in one text, each after its section code.
// A section code inside a section's text would move the rest of it into another
// section, and a lone "&" at its end would take the next section's code for an
// ampersand: both put the text where the list never meant it. Data from the
// database goes through Sidhuvudkod::skydda, which doubles every "&".
void kontrolleraSektion(const QString& text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (i + 1 >= n)
            vagra(QStringLiteral("Sidhuvudet eller sidfoten slutar med ett ensamt \"&\". "
                                 "Ett &-tecken skrivs \"&&\"."));
        const QChar kod = text[++i];
        if (kod == QLatin1Char('"')) {
            // A font name is no code.
            const qsizetype slut = text.indexOf(QLatin1Char('"'), i + 1);
            if (slut < 0)
                return;
            i = slut;
        } else if (const QChar stor = kod.toUpper();
                   stor == QLatin1Char('L') || stor == QLatin1Char('C') || stor == QLatin1Char('R')) {
            vagra(QStringLiteral("Sidhuvudet eller sidfoten innehåller koden \"&%1\", som flyttar texten "
                                 "till en annan del. Ett &-tecken skrivs \"&&\".")
                      .arg(kod));
        }
    }
}
} // namespace

void Sidformat::setLeftHeader(const QString& text) {
    m_blad->kontrollera();
    kontrolleraSektion(text);
    kontrolleraLangd(sammanfoga(text, m_hogerHuvud));
    m_vansterHuvud = text;
}
void Sidformat::setRightHeader(const QString& text) {
    m_blad->kontrollera();
    kontrolleraSektion(text);
    kontrolleraLangd(sammanfoga(m_vansterHuvud, text));
    m_hogerHuvud = text;
}
void Sidformat::setRightFooter(const QString& text) {
    m_blad->kontrollera();
    kontrolleraSektion(text);
    kontrolleraLangd(sammanfoga({}, text));
    m_hogerFot = text;
}

void Sidbrytningar::Add(const Omrade& Before) {
    m_blad->kontrollera();
    if (Before.m_blad != m_blad)
        vagra(QStringLiteral("Sidbrytningen hör till ett annat blad."));
    const int rad = Before.forstaRad();
    if (rad <= 1 || Before.typ() == Omrade::Kolumner || Before.typ() == Omrade::Blad)
        vagra(QStringLiteral("En sidbrytning måste ligga ovanför en rad efter den första."));
    // The file format's limit.
    if (m_rader.size() >= 1023 && !m_rader.count(rad))
        vagra(QStringLiteral("Bladet har redan det största antalet sidbrytningar."));
    m_rader.insert(rad);
}

// ---- Cellrad ----

Cellrad::iterator Cellrad::lower_bound(int kolumn) {
    return std::lower_bound(m_celler.begin(), m_celler.end(), kolumn,
                            [](const Post& p, int k) { return p.first < k; });
}

Cellrad::const_iterator Cellrad::lower_bound(int kolumn) const {
    return std::lower_bound(m_celler.begin(), m_celler.end(), kolumn,
                            [](const Post& p, int k) { return p.first < k; });
}

Cellrad::iterator Cellrad::find(int kolumn) {
    const auto c = lower_bound(kolumn);
    return c != m_celler.end() && c->first == kolumn ? c : m_celler.end();
}

Cellrad::const_iterator Cellrad::find(int kolumn) const {
    const auto c = lower_bound(kolumn);
    return c != m_celler.end() && c->first == kolumn ? c : m_celler.end();
}

Cell& Cellrad::operator[](int kolumn) {
    // The cell written last is mostly the one asked for again (its value, then
    // its font), or the next is right of it.
    if (!m_celler.empty() && m_celler.back().first == kolumn)
        return m_celler.back().second;
    if (m_celler.empty() || m_celler.back().first < kolumn)
        return m_celler.emplace_back(std::piecewise_construct, std::forward_as_tuple(kolumn), std::tuple<>())
            .second;
    auto c = lower_bound(kolumn);
    if (c->first != kolumn)
        c = m_celler.emplace(c, std::piecewise_construct, std::forward_as_tuple(kolumn), std::tuple<>());
    return c->second;
}

// ---- Arbetsblad ----

Arbetsblad::Arbetsblad(Arbetsbok* bok, const QString& namn)
    : m_bok(bok), m_namn(namn), m_sidformat(this), m_brytningar(this),
      m_markering(this, Omrade::Celler, 1, 1, 1, 1) {}

void Arbetsblad::kontrollera() const {
    m_bok->kontrollera();
}

void Arbetsblad::setName(const QString& namn) {
    kontrollera();
    static const QRegularExpression ogiltiga(QStringLiteral("[\\[\\]:*?/\\\\]"));
    if (namn.isEmpty() || namn.size() > 31 || namn.contains(ogiltiga) || namn.startsWith(QLatin1Char('\'')) ||
        namn.endsWith(QLatin1Char('\'')))
        vagra(QStringLiteral("Bladnamnet \"%1\" är ogiltigt.").arg(namn));
    m_namn = namn;
}

Omrade Arbetsblad::Cells() {
    kontrollera();
    return Omrade(this, Omrade::Blad, 1, 1, MaxRad, MaxKolumn);
}

Omrade Arbetsblad::Cells(int rad, int kolumn) {
    kontrollera();
    if (rad < 1 || rad > MaxRad || kolumn < 1 || kolumn > MaxKolumn)
        vagra(QStringLiteral("Cellen (%1, %2) finns inte.").arg(rad).arg(kolumn));
    return Omrade(this, Omrade::Celler, rad, kolumn, rad, kolumn);
}

Omrade Arbetsblad::Range(const QString& adress) {
    kontrollera();
    static const QRegularExpression kolumner(QStringLiteral("^([A-Z]{1,3}):([A-Z]{1,3})$"));
    static const QRegularExpression rader(QStringLiteral("^([0-9]{1,7}):([0-9]{1,7})$"));
    static const QRegularExpression celler(
        QStringLiteral("^([A-Z]{1,3})([0-9]{1,7})(?::([A-Z]{1,3})([0-9]{1,7}))?$"));
    const QString a = adress.trimmed().remove(QLatin1Char('$')).toUpper();
    const auto giltig = [](int r1, int k1, int r2, int k2) {
        return r1 >= 1 && r2 >= 1 && r1 <= MaxRad && r2 <= MaxRad && k1 >= 1 && k2 >= 1 && k1 <= MaxKolumn &&
               k2 <= MaxKolumn;
    };
    if (auto m = kolumner.match(a); m.hasMatch()) {
        const int k1 = kolumnnummer(m.captured(1)), k2 = kolumnnummer(m.captured(2));
        if (giltig(1, k1, 1, k2))
            return Omrade(this, Omrade::Kolumner, 1, k1, MaxRad, k2);
    } else if (auto m = rader.match(a); m.hasMatch()) {
        const int r1 = m.captured(1).toInt(), r2 = m.captured(2).toInt();
        if (giltig(r1, 1, r2, 1))
            return Omrade(this, Omrade::Rader, r1, 1, r2, MaxKolumn);
    } else if (auto m = celler.match(a); m.hasMatch()) {
        const int k1 = kolumnnummer(m.captured(1)), r1 = m.captured(2).toInt();
        const bool block = m.hasCaptured(3);
        const int k2 = block ? kolumnnummer(m.captured(3)) : k1, r2 = block ? m.captured(4).toInt() : r1;
        if (giltig(r1, k1, r2, k2))
            return Omrade(this, Omrade::Celler, r1, k1, r2, k2);
    }
    vagra(QStringLiteral("Området \"%1\" finns inte.").arg(adress));
}

Sidbrytningar& Arbetsblad::HPageBreaks() {
    kontrollera();
    return m_brytningar;
}

Sidformat& Arbetsblad::PageSetup() {
    kontrollera();
    return m_sidformat;
}

void Arbetsblad::PrintOut(int Copies) const {
    kontrollera();
    if (Copies < 1 || Copies > 9999)
        vagra(QStringLiteral("Antalet kopior måste vara mellan 1 och 9999."));
    Utskriftsmotor* motor = m_bok->program().utskriftsmotor();
    if (!motor)
        vagra(QStringLiteral("Det finns ingen skrivare att skriva ut på."));
    motor->skrivUt(*this, Copies);
}

Rad& Arbetsblad::radpost(int rad) {
    if (m_senasteRad && m_senasteRadnr == rad)
        return const_cast<Rad&>(*m_senasteRad);
    auto r = m_rader.lower_bound(rad);
    if (r == m_rader.end() || r->first != rad) {
        r = m_rader.emplace_hint(r, rad, Rad{});
        // Rows of a list are alike: a new row makes room for as many cells as
        // the row written before it has, as many as a list's row holds.
        if (m_senasteRad)
            r->second.celler.reserve(std::min<size_t>(m_senasteRad->celler.size(), 64));
    }
    m_senasteRad = &r->second;
    m_senasteRadnr = rad;
    return r->second;
}

const Rad* Arbetsblad::hittaRad(int rad) const {
    if (m_senasteRad && m_senasteRadnr == rad)
        return m_senasteRad;
    const auto r = m_rader.find(rad);
    if (r == m_rader.end())
        return nullptr;
    m_senasteRad = &r->second;
    m_senasteRadnr = rad;
    return m_senasteRad;
}

const Cell* Arbetsblad::hittaCell(int rad, int kolumn) const {
    const Rad* r = hittaRad(rad);
    if (!r)
        return nullptr;
    const auto c = r->celler.find(kolumn);
    return c == r->celler.end() ? nullptr : &c->second;
}

QVariant Arbetsblad::varde(int rad, int kolumn) const {
    const Cell* c = hittaCell(rad, kolumn);
    return c ? c->varde : QVariant();
}

Stil Arbetsblad::grundstil() const {
    Stil s = standardstil();
    s.lagg(m_stil);
    return s;
}

template <class T>
const std::optional<T>& Arbetsblad::ovanst(std::optional<T> Stil::*falt, int rad, int kolumn) const {
    if (const Rad* r = hittaRad(rad)) {
        if (const auto c = r->celler.find(kolumn); c != r->celler.end() && m_cellstilar[c->second.stil].*falt)
            return m_cellstilar[c->second.stil].*falt;
        if (r->stil.*falt)
            return r->stil.*falt;
    }
    if (const auto k = m_kolumner.find(kolumn); k != m_kolumner.end() && k->second.stil.*falt)
        return k->second.stil.*falt;
    return m_stil.*falt;
}

template <class T>
quint32 Arbetsblad::medFalt(quint32 nummer, std::optional<T> Stil::*falt, const std::optional<T>& varde) {
    if (m_cellstilar[nummer].*falt == varde)
        return nummer;
    Overgang<T>& senast = std::get<Overgang<T>>(m_overgangar);
    if (senast.falt == falt && senast.fran == nummer && senast.varde == varde)
        return senast.till;
    Stil ny = m_cellstilar[nummer];
    ny.*falt = varde;
    auto post = m_cellstilnummer.constFind(ny);
    if (post == m_cellstilnummer.constEnd()) {
        post = m_cellstilnummer.insert(ny, quint32(m_cellstilar.size()));
        m_cellstilar.push_back(std::move(ny));
    }
    senast = {falt, nummer, varde, *post};
    return *post;
}

std::optional<long> Arbetsblad::fyllning(int rad, int kolumn) const {
    return ovanst(&Stil::fyllning, rad, kolumn);
}

bool Arbetsblad::arTextformat(int rad, int kolumn) const {
    if (!m_textformatSatt)
        return false;
    const std::optional<QString>& format = ovanst(&Stil::talformat, rad, kolumn);
    return format && *format == QLatin1String(Textformat);
}

Stil Arbetsblad::kolumnstil(int kolumn) const {
    Stil s = grundstil();
    if (const auto k = m_kolumner.find(kolumn); k != m_kolumner.end())
        s.lagg(k->second.stil);
    return s;
}

Stil Arbetsblad::radstil(int rad) const {
    Stil s = grundstil();
    if (const auto r = m_rader.find(rad); r != m_rader.end())
        s.lagg(r->second.stil);
    return s;
}

Stil Arbetsblad::stil(int rad, int kolumn) const {
    Stil s = kolumnstil(kolumn);
    if (const auto r = m_rader.find(rad); r != m_rader.end()) {
        s.lagg(r->second.stil);
        if (const auto c = r->second.celler.find(kolumn); c != r->second.celler.end())
            s.lagg(m_cellstilar[c->second.stil]);
    }
    return s;
}

double Arbetsblad::kolumnbredd(int kolumn) const {
    if (const auto k = m_kolumner.find(kolumn); k != m_kolumner.end() && k->second.bredd)
        return *k->second.bredd;
    return m_kolumnbredd.value_or(StandardKolumnbredd);
}

bool Arbetsblad::harEgenRadhojd(int rad) const {
    const auto r = m_rader.find(rad);
    return m_radhojd || (r != m_rader.end() && r->second.hojd);
}

double Arbetsblad::autoRadhojd(double storlek) {
    // The spreadsheet fits a row to its largest font in steps of 0.75 points
    // (one pixel at 96 dpi): 10 points gives 12.75, 18 gives 23.25.
    return std::ceil(storlek * 1.275 / 0.75 - 1e-9) * 0.75;
}

double Arbetsblad::radhojd(int rad) const {
    const auto r = m_rader.find(rad);
    if (r != m_rader.end() && r->second.hojd)
        return *r->second.hojd;
    if (m_radhojd)
        return *m_radhojd;
    double storsta = *radstil(rad).storlek;
    if (r != m_rader.end())
        for (const auto& [k, cell] : r->second.celler)
            if (cell.varde.isValid())
                storsta = std::max(storsta, *stil(rad, k).storlek);
    return autoRadhojd(storsta);
}

std::optional<std::pair<int, int>> Arbetsblad::utskriftsomrade() const {
    // Paper starts at the first row and column, as the spreadsheet prints it: an
    // empty title row with its height, or an empty first column, keeps its space
    // and everything below stays where the list put it.
    int sistaRad = 0, sistaKolumn = 0;
    for (const auto& [r, rad] : m_rader) {
        if (rad.hojd || rad.stil.fyllning)
            sistaRad = std::max(sistaRad, r);
        for (const auto& [k, cell] : rad.celler)
            if (cell.varde.isValid() || fyllning(r, k)) {
                sistaRad = std::max(sistaRad, r);
                sistaKolumn = std::max(sistaKolumn, k);
            }
    }
    if (sistaKolumn == 0)
        return {};
    return std::pair{sistaRad, sistaKolumn};
}

QString Arbetsblad::kolumnnamn(int kolumn) {
    QString namn;
    for (int n = kolumn; n > 0; n = (n - 1) / 26)
        namn.prepend(QChar('A' + (n - 1) % 26));
    return namn;
}

} // namespace Kalkyl
