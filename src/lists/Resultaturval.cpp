#include "lists/Resultaturval.h"

#include "common/Databasnamn.h"
#include "competition/Rangordning.h"
#include "platform/Databas.h"
#include "shell/modGlobalt.h"

#include <QHash>

namespace {
const Rangordning::Kedja<Skytt>& kedja(Klassslag s) {
    switch (s) {
    case Klassslag::Sport60:
        return Rangordning::sport60();
    case Klassslag::Sport40:
        return Rangordning::sport40();
    case Klassslag::Nationell:
    case Klassslag::Okand:
        break;
    }
    return Rangordning::nationell();
}
} // namespace

Resultaturval::Resultaturval(const modGlobalt& g) : m_g(g) {}

// An ordinary class takes the shooters of its code, a main class those of its
// member classes' codes, whatever their own kind; codes match with letter case
// ignored, as the database compares them. All of them come in one query, the
// round and the placeholder bound, and are sorted into their blocks here: a
// shooter whose class is both chosen and merged into a chosen main class
// stands in both.
QList<Klassblock> Resultaturval::valjUt(const QList<ValdKlass>& valda, std::optional<int> omg) const {
    QList<Klassblock> block;
    QHash<QString, QList<qsizetype>> blockAvKod;
    QHash<qint64, qsizetype> huvudklassblock;
    for (const ValdKlass& v : valda) {
        const Klassslag s = Klassmodell::slag(m_g, &v.klass);
        if (s == Klassslag::Okand)
            continue;
        if (v.huvudklass)
            huvudklassblock.insert(v.klass.raknare, block.size());
        else
            blockAvKod[Klassmodell::nyckel(v.klass.kod)] << block.size();
        block.append({v, s, {}, {}});
    }
    if (!huvudklassblock.isEmpty())
        for (const Klass& k : Klassmodell::lasKlasser(m_g, QStringLiteral("WHERE Sammanslagen <> 0")))
            if (const auto h = huvudklassblock.constFind(k.sammanslagen); h != huvudklassblock.constEnd())
                blockAvKod[Klassmodell::nyckel(k.kod)] << *h;
    if (!blockAvKod.isEmpty()) {
        QString sql = QStringLiteral("SELECT %1 FROM Skyttar WHERE Löpnummer <> ?")
                          .arg(Skytt::kolumner(Skytt::resultatlistfalt()));
        QVariantList varden{PlatshallareLopnummer};
        if (omg) {
            sql += QStringLiteral(" AND Omg = ?");
            varden << *omg;
        }
        QStringList platser;
        for (auto it = blockAvKod.cbegin(); it != blockAvKod.cend(); ++it) {
            platser << QStringLiteral("?");
            varden << it.key();
        }
        sql += QStringLiteral(" AND Klass IN (%1)").arg(platser.join(QStringLiteral(", ")));
        // A class's code is written alike on most of its shooters: each spelling
        // is matched to its blocks once.
        QHash<QString, const QList<qsizetype>*> blockAvText;
        m_g.cnnTavling.lasRader(sql, varden, [&](const Databasrad& rad) {
            Skytt s = Skytt::franRad(rad, Skytt::resultatlistfalt());
            auto b = blockAvText.constFind(s.klass);
            if (b == blockAvText.constEnd()) {
                const auto k = blockAvKod.constFind(Klassmodell::nyckel(s.klass));
                b = blockAvText.insert(s.klass, k == blockAvKod.constEnd() ? nullptr : &*k);
            }
            const QList<qsizetype>* blocken = *b;
            if (!blocken)
                return;
            for (qsizetype i = 0; i + 1 < blocken->size(); ++i)
                block[(*blocken)[i]].skyttar << s;
            block[blocken->back()].skyttar << std::move(s);
        });
    }
    QList<Klassblock> ut;
    ut.reserve(block.size());
    for (Klassblock& b : block) {
        if (b.skyttar.isEmpty())
            continue;
        const Rangordning::Kedja<Skytt>& kd = kedja(b.slag);
        b.platser = Rangordning::rangordnaOchPlacera(b.skyttar, kd);
        ut.append(std::move(b));
    }
    return ut;
}

std::optional<Klassblock> Resultaturval::valjUt(const ValdKlass& k, std::optional<int> omg) const {
    QList<Klassblock> b = valjUt(QList<ValdKlass>{k}, omg);
    if (b.isEmpty())
        return std::nullopt;
    return std::move(b.front());
}
