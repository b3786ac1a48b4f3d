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

namespace {

const QString Typsnitt = QStringLiteral("MS Sans Serif");
const QString Teckenkod = QStringLiteral("&\"MS Sans Serif,Normal\"&10");
constexpr double TumPerCm = 0.393700787401575;

using S = Arbetsboksram::Slag;

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

void Arbetsboksram::visaSparad(Meddelanden& m, const modGlobalt& g) {
    m.visa(QStringLiteral("Filen spardes i:\r\n") +
           QDir::toNativeSeparators(g.strTavlingsmapp + QStringLiteral("Utskrifter")));
}

Arbetsboksram::Arbetsboksram(const Lista& lista, const Omgivning& omgivning)
    : m_lista(lista), m_o(omgivning) {}

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
