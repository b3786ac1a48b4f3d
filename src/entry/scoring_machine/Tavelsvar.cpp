#include "entry/scoring_machine/Tavelsvar.h"

#include "competition/Tolkprotokoll.h"

namespace P = Tolkprotokoll;

namespace Tavelsvar {

namespace {

constexpr char Stx = 0x02;
constexpr char Etb = 0x17;

// Where the fields stand in each model's frame (1-based, as the machines
// count them).
struct Layout {
    int typ;        // two characters
    int antal;      // the shot count
    int antalLangd; // its width
    int forstaPost; // the first shot record
    int postLangd;  // every record is this wide
    int varde;      // characters of the value at the start of a record
    int slutmarke;  // ETB or EOT right after the fifth record
};

constexpr Layout SamLayout{20, 23, 2, 33, 24, 4, 153};
constexpr Layout RikaLayout{24, 30, 3, 34, 24, 3, 154};
constexpr int AntalSkott = 5;

const Layout* layoutAv(Modell modell) {
    switch (modell) {
    case Modell::Sam4000:
        return &SamLayout;
    case Modell::Rika:
        return &RikaLayout;
    case Modell::Okand:
        break;
    }
    return nullptr;
}

// The last position either model reads (the fifth shot's value); a shorter
// frame cannot be read.
int sistaLastaPosition(const Layout& l) {
    return l.forstaPost + l.postLangd * (AntalSkott - 1) + l.varde - 1;
}

// Characters from..from+langd-1 (1-based); empty when the text is too short.
QByteArray falt(const QByteArray& text, int fran, int langd) {
    if (fran < 1 || text.size() < fran - 1 + langd)
        return {};
    return text.mid(fran - 1, langd);
}

bool arSiffra(char c) {
    return c >= '0' && c <= '9';
}

// A whole number written with blanks around it and any leading zeros (" 9",
// "09", "005"); nothing for any other text. Read by hand, so that neither the
// locale nor a sign or a blank inside the digits can slip through.
std::optional<int> heltal(const QByteArray& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    const qsizetype forsta = i;
    int varde = 0;
    while (i < n && arSiffra(text[i])) {
        if (varde > 100000)
            return std::nullopt;
        varde = varde * 10 + (text[i] - '0');
        ++i;
    }
    if (i == forsta)
        return std::nullopt;
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n)
        return std::nullopt;
    return varde;
}

// A SAM 4000 value such as "10.4" or " 9.8", in tenths. The point is the
// machine's, whatever the operator's locale says.
std::optional<int> tiondelarSam(const QByteArray& text) {
    const qsizetype punkt = text.indexOf('.');
    if (punkt < 0) {
        const auto hel = heltal(text);
        if (!hel)
            return std::nullopt;
        return *hel * 10;
    }
    const auto hel = heltal(text.left(punkt));
    const QByteArray rest = text.mid(punkt + 1);
    // One tenth digit, then at most blanks.
    if (!hel || rest.isEmpty() || !arSiffra(rest[0]) || text.left(punkt).endsWith(' '))
        return std::nullopt;
    for (qsizetype i = 1; i < rest.size(); ++i)
        if (rest[i] != ' ')
            return std::nullopt;
    return *hel * 10 + (rest[0] - '0');
}

// A RIKA value: the whole rings in characters 1-2 and the tenth in 3 ("104",
// "099").
std::optional<int> tiondelarRika(const QByteArray& text) {
    const auto hel = heltal(text.left(2));
    if (!hel || text.size() != 3 || !arSiffra(text[2]) || text[1] == ' ')
        return std::nullopt;
    return *hel * 10 + (text[2] - '0');
}

// The position (0-based) of the end mark that makes the text a whole frame,
// or -1. A SAM 4000 frame ends ETB, check character, "$": the check character
// may be any byte, "$" or NAK too, so the "$" is looked for only two places
// after an ETB. A RIKA frame ends EOT and one character, any.
qsizetype slutmarke(const QByteArray& text, Modell modell) {
    if (modell == Modell::Sam4000) {
        for (qsizetype p = text.indexOf(Etb); p >= 0; p = text.indexOf(Etb, p + 1))
            if (p + 2 < text.size() && text[p + 2] == P::SamRamslut)
                return p;
        return -1;
    }
    if (modell == Modell::Rika) {
        const qsizetype p = text.indexOf(P::Eot);
        return p >= 0 && p + 1 < text.size() ? p : -1;
    }
    return -1;
}

} // namespace

Modell modellAv(const QString& model) {
    if (model == QLatin1String("SAM 4000"))
        return Modell::Sam4000;
    if (model == QLatin1String("RIKA"))
        return Modell::Rika;
    return Modell::Okand;
}

bool arHel(const QByteArray& text, Modell modell) {
    return slutmarke(text, modell) >= 0;
}

bool arEjKlar(const QByteArray& text, Modell modell) {
    if (text.size() != 1)
        return false;
    if (modell == Modell::Sam4000)
        return text[0] == P::Nak;
    if (modell == Modell::Rika)
        return text[0] == P::Nul;
    return false;
}

bool harRamstart(const QByteArray& text, Modell modell) {
    if (modell == Modell::Sam4000)
        return text.contains(Stx);
    if (modell == Modell::Rika)
        return text.contains(P::Soh);
    return false;
}

quint8 kontrollsumma(const QByteArray& kropp) {
    quint8 summa = 0;
    for (const char c : kropp)
        summa ^= static_cast<quint8>(c);
    return summa;
}

bool kontrollsummanStammer(const QByteArray& ram, Modell modell) {
    const qsizetype p = slutmarke(ram, modell);
    if (p < 0)
        return false;
    return kontrollsumma(ram.left(p + 1)) == static_cast<quint8>(ram[p + 1]);
}

Kontroll KollaTavelsvar(const QByteArray& ram, Modell modell) {
    const Layout* l = layoutAv(modell);
    if (!l)
        return Kontroll::Ok;
    // A field the frame is too short for, or a count that is no number, is
    // not the machine set up wrong but a frame that cannot be read; las()
    // refuses it as such.
    const QByteArray typ = falt(ram, l->typ, 2);
    if (!typ.isEmpty() && typ != "LG")
        return Kontroll::FelTyp;
    const auto antal = heltal(falt(ram, l->antal, l->antalLangd));
    if (antal && *antal != AntalSkott)
        return Kontroll::FelAntal;
    return Kontroll::Ok;
}

Lasning las(const QByteArray& ram, Modell modell, float innertia) {
    Lasning l;
    const Layout* lay = layoutAv(modell);
    if (!lay || ram.size() < sistaLastaPosition(*lay) || !heltal(falt(ram, lay->antal, lay->antalLangd)))
        return l;
    int serie = 0;
    QString skott;
    for (int k = 0; k < AntalSkott; ++k) {
        const QByteArray post = falt(ram, lay->forstaPost + lay->postLangd * k, lay->varde);
        if (post.startsWith('?')) {
            l.utfall = Lasning::Utfall::SaknatSkott;
            return l;
        }
        const auto ring = heltal(post.left(2));
        const auto tiondelar = modell == Modell::Sam4000 ? tiondelarSam(post) : tiondelarRika(post);
        if (!ring || !tiondelar || *ring > 10 || *tiondelar > 109 || *tiondelar / 10 != *ring)
            return l;
        serie += *ring;
        skott += Skottsymbol(static_cast<float>(*tiondelar) / 10.0f, innertia);
    }
    l.utfall = Lasning::Utfall::Ok;
    l.serie = serie;
    l.skottstrang = skott;
    return l;
}

QString Skottsymbol(float varde, float innertia) {
    if (varde >= innertia)
        return QStringLiteral("*");
    if (varde >= 10.0f)
        return QStringLiteral("+");
    // The ring digit: the first character of the value written out.
    if (varde >= 0.0f)
        return QString(QChar(u'0' + static_cast<int>(varde)));
    return QString::number(varde).left(1);
}

QByteArray bygg(Modell modell, const Kort& kort) {
    const Layout* l = layoutAv(modell);
    if (!l)
        return {};
    QByteArray ram(l->slutmarke - 1, ' ');
    auto skriv = [&ram](int fran, const QByteArray& text) { ram.replace(fran - 1, text.size(), text); };
    ram[0] = modell == Modell::Sam4000 ? Stx : P::Soh;
    skriv(l->typ, kort.typ.leftJustified(2, ' ', true));
    const QByteArray antal = QByteArray::number(kort.antal);
    skriv(l->antal, antal.rightJustified(l->antalLangd, '0', true));
    for (int k = 0; k < AntalSkott; ++k) {
        QByteArray varde = QByteArrayLiteral("?").leftJustified(l->varde, ' ');
        if (k < kort.skott.size() && kort.skott[k]) {
            const double v = *kort.skott[k];
            varde = modell == Modell::Sam4000
                        ? QByteArray::number(v, 'f', 1).rightJustified(l->varde, ' ', true)
                        : QByteArray::number(qRound(v * 10)).rightJustified(l->varde, '0', true);
        }
        skriv(l->forstaPost + l->postLangd * k, varde);
    }
    ram += modell == Modell::Sam4000 ? Etb : P::Eot;
    ram += static_cast<char>(kontrollsumma(ram));
    if (modell == Modell::Sam4000)
        ram += P::SamRamslut;
    return ram;
}

} // namespace Tavelsvar
