#include "output/Arbetsboksram.h"

#include "common/Fel.h"
#include "common/IniNamn.h"
#include "competition/Skjutlag.h"
#include "platform/workbook/Arbetsblad.h"
#include "platform/workbook/Filhallare.h"
#include "platform/workbook/Sidhuvudkod.h"
#include "platform/workbook/XlsxFil.h"
#include "shell/Delade.h"
#include "shell/modGlobalt.h"

#include <QDir>
#include <QLocale>

using Kalkyl::Arbetsblad;
using Kalkyl::Arbetsbok;
using Kalkyl::Kalkylprogram;
using Ikon = Meddelanden::Ikon;
using Ordning = Felfalla::Ordning;

namespace {

const QString Typsnitt = QStringLiteral("MS Sans Serif");
const QString Teckenkod = QStringLiteral("&\"MS Sans Serif,Normal\"&10");
constexpr double TumPerCm = 0.393700787401575;

const Arbetsboksram::Marginaler Standardmarginaler{1.2, 0, 2.5, 2.5, 1.3, 1.3};

// The set-up of every list but the result list tells the description first,
// without a prefix.
const Arbetsboksram::Felruta Installningsfel{QString(), Ikon::Ingen, QString(), Ordning::BeskrivningForst};

Arbetsboksram::Felruta korfel(const QString& prefix, Ikon ikon = Ikon::Ingen, const QString& titel = {}) {
    return {prefix, ikon, titel, Ordning::BeskrivningForst};
}

using B = Arbetsboksram::Bredd;
using S = Arbetsboksram::Slag;

// The squad list's first columns; the rest depends on the kind and the rounds.
QList<B> skjutlagsbredder(std::initializer_list<B> resten) {
    QList<B> b{{"a:a", 5}, {"b:b", 24}, {"c:c", 17}, {"d:d", 7}, {"e:e", 5}};
    b.append(resten);
    return b;
}

const Arbetsboksram::Lista Listor[] = {
    // Resultatlista: orientation, side margins and column widths come from the
    // competition's print settings; the table has their defaults.
    {.bladnamn = QStringLiteral("Resultatlista"),
     .rubrik = QStringLiteral(" Resultatlista"),
     .skjutlagstillagg = true,
     .orientering = Kalkyl::Orientering::Liggande,
     .marginaler = Standardmarginaler,
     .filstam = QStringLiteral("Resultatlista"),
     .omgangsstam = QStringLiteral("ResultatlistaOmg"),
     .installningsfel = {QStringLiteral("frmValResSkärmGrund.Starta_excel_och_ställ_in_kolumner: "),
                         Ikon::Ingen, QString(), Ordning::NummerForst},
     .korfel = korfel(QStringLiteral("frmValResSkärmGrund.Välj_ut_skyttar.. "), Ikon::Kritisk,
                      QStringLiteral("Fel"))},
    {.bladnamn = QStringLiteral("Vandringspris"),
     .rubrik = QStringLiteral(" Resultatlista Vandringspris"),
     .skjutlagstillagg = true,
     .marginaler = Arbetsboksram::Marginaler{1.2, 1.0, 2.5, 2.5, 1.3, 1.3},
     .bredder = {{S::Sport,
                  {},
                  {{"a:a", 5}, {"b:b", 22.86}, {"c:c", 15.57}, {"d:i", 3.57}, {"j:j", 6.43}, {"k:k", 5.29}}},
                 {S::Alla,
                  {},
                  {{"a:a", 5}, {"b:b", 22.86}, {"c:c", 15.57}, {"d:k", 3.57}, {"l:l", 7}, {"m:m", 6.43}}}},
     .filstam = QStringLiteral("ResultatlistaVandring"),
     .installningsfel = Installningsfel,
     .korfel = korfel(QStringLiteral("MDIfrmHuvudmeny.SkrivVandringsprisLista.. "), Ikon::Kritisk,
                      QStringLiteral("Fel")),
     .sparadEfterKorningen = true},
    {.bladnamn = QStringLiteral("Skjutlagslista"),
     .rubrik = QStringLiteral(" Skjutlagslista"),
     .liggandeMedResultat = true,
     .marginaler = Arbetsboksram::Marginaler{1.5, 0.6, 2.5, 2.5, 1.3, 1.3},
     .vansterLiggande = 1.0,
     .bredder = {{S::Sport, false, skjutlagsbredder({{"f:f", 8}, {"g:g", 11}, {"h:m", 3.57}, {"n:o", 6.43}})},
                 {S::Sport, true,
                  skjutlagsbredder({{"f:f", 8}, {"g:g", 11}, {"h:h", 7}, {"i:n", 3.57}, {"o:p", 6.43}})},
                 {S::Nationell, false,
                  skjutlagsbredder({{"f:f", 11}, {"g:n", 3.57}, {"o:p", 6.43}, {"q:q", 3.71}})},
                 {S::Nationell, true,
                  skjutlagsbredder({{"f:f", 11}, {"g:g", 7}, {"h:o", 3.57}, {"p:q", 6.43}, {"r:r", 3.71}})},
                 {S::Mix, false,
                  skjutlagsbredder({{"f:f", 8}, {"g:g", 11}, {"h:o", 3.57}, {"p:q", 6.43}, {"r:r", 3.71}})},
                 {S::Mix, true,
                  skjutlagsbredder(
                      {{"f:f", 8}, {"g:g", 11}, {"h:h", 7}, {"i:p", 3.57}, {"q:r", 6.43}, {"s:s", 3.71}})}},
     .radhojd = 15,
     .filstam = QStringLiteral("Skjutlagslista"),
     .visarUtskriftsstatus = true,
     .installningsfel = Installningsfel,
     .korfel = korfel(QStringLiteral("frmUtskriftSkjutlag.UtskriftExcel: ")),
     .sparadEfterKorningen = true},
    {.bladnamn = QStringLiteral("Föreningslista"),
     .rubrik = QStringLiteral(" Föreningslista"),
     .marginaler = Arbetsboksram::Marginaler{2.0, 1.0, 2.5, 2.5, 1.3, 1.3},
     .bredder = {{S::Alla,
                  false,
                  {{"a:a", 5.29},
                   {"b:b", 22.57},
                   {"c:c", 8.43},
                   {"d:d", 8.43},
                   {"e:e", 6},
                   {"f:f", 30.57},
                   {"g:g", 3.86}}},
                 {S::Alla,
                  true,
                  {{"a:a", 5.29},
                   {"b:b", 22.57},
                   {"c:c", 8.43},
                   {"d:d", 8.43},
                   {"e:e", 6},
                   {"f:f", 10.71},
                   {"g:g", 20.57},
                   {"h:h", 3.86}}}},
     .filstam = QStringLiteral("Föreningslista"),
     .visarUtskriftsstatus = true,
     .skriverVersion = true,
     .installningsfel = Installningsfel,
     .korfel = korfel(QStringLiteral("frmFöreningsutskrift.UtskriftExcel: "))},
    {.bladnamn = QStringLiteral("Lagutskrift"),
     .rubrik = QStringLiteral(" Lagutskrift"),
     .teckenstorlek = 12,
     .bredder = {{S::Alla, {}, {{"a:a", 8.43}, {"b:b", 1.86}, {"c:c", 26}, {"d:d", 7.43}}}},
     .filstam = QStringLiteral("Lagutskrift"),
     .omgangsstam = QStringLiteral("LagutskriftOmg"),
     .visarUtskriftsstatus = true,
     .installningsfel = Installningsfel,
     .korfel = korfel(QStringLiteral("frmLagutskrift.UtskriftExcel: "))},
};

bool passar(const Arbetsboksram::Bredder& b, const modGlobalt& g) {
    const bool slag = b.slag == S::Alla || (b.slag == S::Sport && g.blnSportskytte) ||
                      (b.slag == S::Nationell && g.blnNationellt) || (b.slag == S::Mix && g.blnMix);
    return slag && (!b.omgangar || *b.omgangar == g.blnFleraTavlingar);
}

// The longest beginning of `text` that takes at most `plats` characters once
// every "&" is doubled; a character outside the basic plane is never split.
QString borjan(const QString& text, qsizetype plats) {
    qsizetype i = 0, langd = 0;
    while (i < text.size()) {
        const qsizetype steg = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const qsizetype bredd = text[i] == QLatin1Char('&') ? 2 : steg;
        if (langd + bredd > plats)
            break;
        langd += bredd;
        i += steg;
    }
    return text.left(i);
}

Felfalla falla(Meddelanden& m, const Arbetsboksram::Felruta& ruta) {
    return Felfalla(m, ruta.prefix, ruta.ikon, ruta.titel, QStringLiteral(" "), ruta.ordning);
}

} // namespace

const QString Arbetsboksram::Sidfot = Teckenkod + QStringLiteral("&P");

const Arbetsboksram::Lista& Arbetsboksram::lista(Arbetsbokslista lista) {
    return Listor[static_cast<int>(lista)];
}

void Arbetsboksram::visaSparad(Meddelanden& m, const modGlobalt& g) {
    m.visa(QStringLiteral("Filen spardes i:\r\n") +
           QDir::toNativeSeparators(g.strTavlingsmapp + QStringLiteral("Utskrifter")));
}

Arbetsboksram::Arbetsboksram(Arbetsbokslista lista, const Omgivning& omgivning)
    : m_lista(Arbetsboksram::lista(lista)), m_o(omgivning) {}

QString Arbetsboksram::filnamn(const Lista& lista, const QString& tavlingsmapp, Utskriftsmal mal,
                               std::optional<int> omg) {
    const QString stam =
        omg && !lista.omgangsstam.isEmpty() ? lista.omgangsstam + QString::number(*omg) : lista.filstam;
    return QDir::cleanPath(tavlingsmapp + QStringLiteral("/Utskrifter/") + stam + QLatin1Char('_') +
                           text(mal) + QStringLiteral(".xlsx"));
}

QString Arbetsboksram::skjutlagstillagg(int antalSkjutlag, int paborjat) {
    if (paborjat == 0 || paborjat == antalSkjutlag)
        return {};
    return QStringLiteral(" till och med Skjutlag: ") + QString::number(paborjat);
}

Arbetsboksram::Sidhuvud Arbetsboksram::sidhuvud(const QString& rubrik, const QString& tavlingsnamn,
                                                const QString& datum, const QString& hogeretikett,
                                                const QString& hogerdata) {
    using Kalkyl::Sidhuvudkod;
    const auto vanster = [&](const QString& namn) {
        return Teckenkod + QLatin1Char(' ') + Sidhuvudkod::skydda(namn) + QLatin1Char(' ') +
               Sidhuvudkod::skydda(datum) + QLatin1Char('\n') + rubrik;
    };
    const auto hoger = [&](const QString& data) {
        return hogeretikett.isEmpty()
                   ? QString()
                   : Teckenkod + Sidhuvudkod::skydda(hogeretikett) + Sidhuvudkod::skydda(data);
    };
    const auto langd = [&](const QString& namn, const QString& data) {
        return Kalkyl::Sidformat::sammanfoga(vanster(namn), hoger(data)).size();
    };
    constexpr qsizetype Max = Kalkyl::Sidformat::MaxSidhuvudlangd;
    const QString namn = borjan(tavlingsnamn, Max - langd({}, hogerdata));
    const QString data = borjan(hogerdata, Max - langd(namn, {}));
    return {vanster(namn), hoger(data)};
}

void Arbetsboksram::visaStatus(const QString& text) const {
    if (m_lista.visarUtskriftsstatus && m_o.status)
        m_o.status(text);
}

bool Arbetsboksram::installning(Kalkylprogram& program, const Egen& egen, Arbetsblad*& blad) {
    return falla(m_o.m, m_lista.installningsfel)([&] {
        program.Workbooks().Add();
        blad = &program.Worksheets(1);
        const modGlobalt& g = m_o.g;
        if (g.iniTavling.GetKeyValue(Ini::ExcelVisible.sektion, Ini::ExcelVisible.nyckel,
                                     Ini::ExcelVisible.standard) == QLatin1String("True")) {
            program.setVisible(true);
            if (m_o.filoppnare)
                program.setFiloppnare(m_o.filoppnare);
        }
        blad->setName(m_lista.bladnamn);
        blad->Cells().Font().setName(Typsnitt);
        blad->Cells().Font().setSize(m_lista.teckenstorlek);

        // Without a printer too: a saved list keeps its page and its headers.
        Kalkyl::Sidformat& sida = blad->PageSetup();
        sida.setPrintGridlines(false);
        const int orientering = egen.orientering.value_or(
            m_lista.liggandeMedResultat && g.blnSkjutlagslistaMedResultat ? Kalkyl::Orientering::Liggande
                                                                          : m_lista.orientering);
        sida.setOrientation(orientering);
        sida.setPaperSize(Kalkyl::Pappersstorlek::A4);
        if (const auto& mg = m_lista.marginaler) {
            const auto punkter = [&](double cm) { return program.InchesToPoints(cm * TumPerCm); };
            const double vanster = orientering == Kalkyl::Orientering::Liggande && m_lista.vansterLiggande
                                       ? *m_lista.vansterLiggande
                                       : mg->vanster;
            sida.setLeftMargin(punkter(egen.vanster.value_or(vanster)));
            sida.setRightMargin(punkter(egen.hoger.value_or(mg->hoger)));
            sida.setTopMargin(punkter(mg->topp));
            sida.setBottomMargin(punkter(mg->botten));
            sida.setHeaderMargin(punkter(mg->sidhuvud));
            sida.setFooterMargin(punkter(mg->sidfot));
        }

        if (egen.kolumner) {
            egen.kolumner(*blad);
        } else {
            for (const Bredder& b : m_lista.bredder)
                if (passar(b, g)) {
                    for (const Bredd& k : b.kolumner)
                        blad->Range(k.kolumner).setColumnWidth(k.bredd);
                    break;
                }
        }
        blad->Cells().setRowHeight(m_lista.radhojd);
        blad->Range(QStringLiteral("a1")).Select();
        m_version = program.Version();
        m_versionsklass = Delade::fncKollaExcelVer(m_version, QLocale().decimalPoint(), m_o.m);
    });
}

void Arbetsboksram::sattSidhuvud(Arbetsblad& blad, const Korning& korning) {
    static const QStringList kandaKlasser = {QStringLiteral("97"), QStringLiteral("97SR1"),
                                             QStringLiteral("2000XP"), QStringLiteral("2007")};
    QString rubrik = m_lista.rubrik;
    if (m_lista.skjutlagstillagg)
        rubrik += skjutlagstillagg(Skjutlag::antal(m_o.g.cnnTavling),
                                   Delade::HamtaPaborjatSkjutlag(m_o.g.cnnTavling, m_o.m));
    if (m_lista.skriverVersion) {
        clsIni& ini = m_o.g.iniTavling;
        if (!ini.WriteKey(Ini::VersionExcel.sektion, Ini::VersionExcel.nyckel, m_version))
            throw Fel(Felnummer::SokvagsAtkomstfel, ini.senasteFel());
    }
    if (!kandaKlasser.contains(m_versionsklass))
        return;
    const Sidhuvud s = sidhuvud(rubrik, m_o.g.strTavlingsnamn, m_o.g.strTavlingsdatum,
                                korning.omgang ? korning.hogeretikett : QString(),
                                korning.omgang ? korning.omgang->beskrivning : QString());
    Kalkyl::Sidformat& sida = blad.PageSetup();
    sida.setLeftHeader(s.vanster);
    if (!s.hoger.isEmpty())
        sida.setRightHeader(s.hoger);
    sida.setRightFooter(Sidfot);
}

std::optional<QString> Arbetsboksram::spara(Arbetsbok& bok, const QString& filnamn) {
    try {
        if (m_versionsklass == QLatin1String("2007")) {
            bok.setCheckCompatibility(false);
            return bok.SaveAs(filnamn, Kalkyl::Filformat::Excel8, false);
        }
        return bok.SaveAs(filnamn);
    } catch (const Fel& fel) {
        if (fel.nummer() != Felnummer::AtkomstNekad && fel.nummer() != Felnummer::SokvagsAtkomstfel)
            throw;
        QString text = QStringLiteral("Exceldokumentet ") +
                       QDir::toNativeSeparators(Kalkyl::XlsxFil::sokvag(filnamn)) +
                       QStringLiteral("\r\nÄr redan öppet eller skrivskyddat!");
        // Who holds it, and the lock file, so that the operator can close it
        // there or remove a lock file left from a machine that is gone.
        if (const auto* oppen = dynamic_cast<const Kalkyl::FilenOppen*>(&fel))
            text += QStringLiteral("\r\n") + oppen->innehavare().text();
        m_o.m.visa(text, QStringLiteral("Åtkomstfel."), Ikon::Kritisk);
    }
    return std::nullopt;
}

std::optional<QString> Arbetsboksram::kor(const Korning& korning,
                                          const std::function<void(Arbetsblad&)>& skriv) {
    Kalkylprogram program(m_o.skrivare);
    Arbetsblad* blad = nullptr;
    std::optional<QString> sparad;
    if (installning(program, korning.egen, blad)) {
        const Felfalla korfalla = falla(m_o.m, m_lista.korfel);
        korfalla([&] {
            sattSidhuvud(*blad, korning);
            skriv(*blad);
            Delade::SkapaUtskriftsmapp(m_o.g);
            if (korning.mal == Utskriftsmal::Printer) {
                visaStatus(QStringLiteral("Utskrift pågår..."));
                // A list that could not be printed is still saved: the operator
                // is told and can print the file.
                korfalla([&] { blad->PrintOut(m_o.g.intAntalKopior); });
            }
            if (korning.mal == Utskriftsmal::Printer || korning.mal == Utskriftsmal::Fil) {
                visaStatus(QStringLiteral("Sparar till fil..."));
                sparad =
                    spara(program.Workbooks().Item(1),
                          filnamn(m_lista, m_o.g.strTavlingsmapp, korning.mal,
                                  korning.omgang ? std::optional<int>(korning.omgang->omg) : std::nullopt));
            }
        });
    }
    if (!program.arAvslutat())
        for (int i = program.Workbooks().Count(); i >= 1; --i)
            program.Workbooks().Item(i).Close(false);
    if (sparad && korning.mal == Utskriftsmal::Fil && !m_lista.sparadEfterKorningen)
        visaSparad(m_o.m, m_o.g);
    return sparad;
}
