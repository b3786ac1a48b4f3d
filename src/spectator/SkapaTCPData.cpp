#include "spectator/SkapaTCPData.h"

#include "common/Databasnamn.h"
#include "common/Fel.h"
#include "common/IniNamn.h"
#include "competition/Klassmodell.h"
#include "competition/Skjuttider.h"
#include "platform/Windows1252.h"
#include "platform/clsIni.h"
#include "shell/modGlobalt.h"

#include <QHash>
#include <QSqlQuery>
#include <cmath>

namespace SkapaTCPData {

namespace {

const QString Sport = QStringLiteral("Sport");
const QString Nat = QStringLiteral("Nat");
const QString Mix = QStringLiteral("Mix");
const QString Radslut = QStringLiteral("\r\n");
constexpr QChar Skiljetecken = QLatin1Char('|');

// A character the code page lacks: its base letter when it is an accented one
// that the code page has ("ő" -> "o", "ł" has none), else "?".
QString utanAccent(const QString& tecken) {
    QString bas;
    const QString isar = tecken.normalized(QString::NormalizationForm_D);
    for (QChar c : isar) {
        if (c.category() != QChar::Mark_NonSpacing)
            bas += c;
    }
    if (bas.isEmpty() || bas == tecken || !Windows1252::rymmer(bas))
        return QStringLiteral("?");
    return bas;
}

} // namespace

QString textfalt(const QString& text) {
    QString ut;
    ut.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            ut += QLatin1Char(' ');
            ++i;
        } else if (c == Skiljetecken) {
            ut += QLatin1Char('/');
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            ut += QLatin1Char(' ');
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ut += utanAccent(text.mid(i, 2));
            ++i;
        } else if (!Windows1252::rymmer(QString(c))) {
            ut += utanAccent(QString(c));
        } else {
            ut += c;
        }
    }
    return ut;
}

int NullTillNoll(const QVariant& varde) {
    if (varde.isNull() || !varde.isValid())
        return 0;
    bool ok = false;
    const double tal = varde.toDouble(&ok);
    if (!ok)
        throw Fel(Felnummer::TypeMismatch, QStringLiteral("Typerna matchar inte"));
    const double avrundat = std::nearbyint(tal); // halves to even, as the old conversion did
    if (avrundat < -32768 || avrundat > 32767)
        throw Fel(Felnummer::Overflow, QStringLiteral("Spill"));
    return static_cast<int>(avrundat);
}

bool allaBanor(const QString& text) {
    bool ok = false;
    const int tal = text.trimmed().toInt(&ok);
    return !ok || tal == 1;
}

bool allaBanor(const clsIni& iniTavling) {
    return allaBanor(
        iniTavling.GetKeyValue(Ini::AllaBanor.sektion, Ini::AllaBanor.nyckel, Ini::AllaBanor.standard));
}

QString bygg(modGlobalt& g, int skjutlag, bool allaBanor, bool omritning) {
    Databas& db = g.cnnTavling;

    // The lanes first, so that a squad that cannot be read gives no half message.
    QString urval = QStringLiteral(
        "SELECT Skjutlag.Bana, Skyttar.Namn, Skyttar.Efternamn, Skyttar.Förening, Skyttar.Klass, "
        "Skyttar.Res1, Skyttar.Res2, Skyttar.Res3, Skyttar.Res4, Skyttar.Res5, Skyttar.Res6, Skyttar.Res7, "
        "Skyttar.Res8, Skyttar.Sum10, Skyttar.Sum20, Skyttar.Sum30, Skyttar.Sum40, Skyttar.Sum50, "
        "Skyttar.Sum60, Skyttar.Totalt40, Skyttar.Totalt60 "
        "FROM Skyttar INNER JOIN Skjutlag ON Skyttar.Löpnummer = Skjutlag.Startnummer "
        "WHERE Skjutlag.Skjutlag = ?");
    QVariantList varden{skjutlag};
    if (!allaBanor) {
        urval += QStringLiteral(" AND Skjutlag.Startnummer <> ?");
        varden << PlatshallareLopnummer;
    }
    urval += QStringLiteral(" ORDER BY Skjutlag.Bana, Skjutlag.rowid");
    QSqlQuery banor = db.kor(urval, varden);

    // The competition's kind and its class table, read once into memory: a class
    // code is then only a key, whatever characters it holds. A competition of
    // no kind of its own is a mixed one, where each class says its kind.
    const Klassmodell::Klassregister klasstabell = Klassmodell::Klassregister::las(g);
    const Klassslag tavlingensSlag = Klassmodell::slag(g, nullptr);
    const QString slagtext = Klassmodell::arSport(tavlingensSlag)     ? Sport
                             : tavlingensSlag == Klassslag::Nationell ? Nat
                                                                      : QString();

    QString m;
    m += textfalt(g.strTavlingsnamn) + Skiljetecken;
    m += (slagtext.isEmpty() ? Mix : slagtext) + Skiljetecken;
    int lage = Skjuttider::Las;
    const QString skjuttid = HanteraSkjuttid(db, skjutlag, lage, QString(), Skjuttider::LasEllerSkriv);
    m += (skjuttid.isEmpty() ? QStringLiteral(" ") : textfalt(skjuttid)) + Skiljetecken;
    m += QString::number(skjutlag) + Skiljetecken;
    m += (omritning ? QLatin1Char('1') : QLatin1Char('0')) + Radslut;

    auto tal = [&](int kolumn) { return QString::number(NullTillNoll(banor.value(kolumn))) + Skiljetecken; };
    while (banor.next()) {
        m += QString::number(banor.value(0).toLongLong()) + Skiljetecken;
        m += textfalt(banor.value(1).toString()) + QLatin1Char(' ') + textfalt(banor.value(2).toString()) +
             Skiljetecken;
        m += textfalt(banor.value(3).toString()) + Skiljetecken;

        const QString klass = banor.value(4).toString();
        const Klass* hittad = klass.isEmpty() ? nullptr : klasstabell.hitta(klass);
        const bool nationell = Klassmodell::slag(g, hittad) == Klassslag::Nationell;
        if (hittad) {
            m += textfalt(klass) + Skiljetecken;
            m += (slagtext.isEmpty() ? textfalt(hittad->sportNat) : slagtext) + Skiljetecken;
            m += QString::number(hittad->antalSkott) + Skiljetecken;
        } else {
            // A class the table does not know: the competition's own kind (none
            // in a mixed one), no shots, and the sport layout when mixed.
            m += Skiljetecken;
            m += slagtext + Skiljetecken;
            m += QStringLiteral("0") + Skiljetecken;
        }

        if (nationell) {
            for (int serie = 0; serie < 8; ++serie)
                m += tal(5 + serie);
        } else {
            for (int par = 0; par < 6; ++par)
                m += tal(13 + par);
            m += QStringLiteral("-|-|");
        }
        m += tal(19);
        m += QString::number(NullTillNoll(banor.value(20))) + Radslut;
    }
    return m;
}

} // namespace SkapaTCPData
