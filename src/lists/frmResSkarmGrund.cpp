#include "lists/frmResSkarmGrund.h"

#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Rutnat.h"
#include "shell/modGlobalt.h"

#include <QHeaderView>
#include <QPushButton>

namespace {

constexpr int twips(int t) {
    return t / 15;
}

Qt::Alignment justering(Skarmlista::Justering j) {
    switch (j) {
    case Skarmlista::Justering::Centrerad:
        return Qt::AlignCenter;
    case Skarmlista::Justering::Hoger:
        return Qt::AlignRight | Qt::AlignVCenter;
    case Skarmlista::Justering::Standard:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

frmResSkarmGrund::frmResSkarmGrund(Formkontext& k, QWidget* parent) : QWidget(parent), m_k(k) {
    setObjectName(QStringLiteral("frmResSkarmGrund"));
    setWindowTitle(QStringLiteral("Resultat Grundomg"));

    // The grid and the button keep their places whatever the window's size.
    vbagrResultat = new Rutnat(this);
    vbagrResultat->setObjectName(QStringLiteral("vbagrResultat"));
    QFont rutnat = vbagrResultat->font();
    rutnat.setPointSizeF(9.75);
    vbagrResultat->setFont(rutnat);
    vbagrResultat->verticalHeader()->setDefaultSectionSize(vbagrResultat->fontMetrics().height() + 4);
    vbagrResultat->horizontalHeader()->setStretchLastSection(false);
    vbagrResultat->horizontalHeader()->setSectionsClickable(false);
    vbagrResultat->setSortingEnabled(false);
    vbagrResultat->setGeometry(twips(240), twips(360), twips(11415), twips(6375));

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("Stäng fönstret."));
    cmdOK->setGeometry(twips(10260), twips(7200), twips(1140), twips(330));
    connect(cmdOK, &QPushButton::clicked, this, &frmResSkarmGrund::cmdOK_Click);

    m_total = rutnat;
    m_total.setPointSize(10);
    m_total.setBold(true);
    m_klassrubrik = rutnat;
    m_klassrubrik.setPointSize(16);
    m_klassrubrik.setBold(true);
    m_klassrubrik.setUnderline(true);

    resize(twips(11895), twips(8310));
    Formatera_resultatgridden();
}

void frmResSkarmGrund::Formatera_resultatgridden() {
    const std::optional<Skarmlista::Layout> layout = Skarmlista::layout(m_k.g());
    if (!layout)
        return;
    for (const Skarmlista::Kolumn& k : Skarmlista::kolumner(*layout))
        vbagrResultat->laggTillKolumn(k.rubrik, k.bredd);
}

void frmResSkarmGrund::visaLista(const QList<Skarmlista::Rad>& rader) {
    vbagrResultat->setUpdatesEnabled(false);
    vbagrResultat->tom();
    vbagrResultat->setRowCount(int(rader.size()));
    const int kolumner = vbagrResultat->columnCount();
    for (int r = 0; r < rader.size(); ++r) {
        const Skarmlista::Rad& rad = rader[r];
        for (auto c = rad.celler.cbegin(); c != rad.celler.cend(); ++c) {
            if (c.key() < 1 || c.key() > kolumner)
                continue;
            auto* cell = new QTableWidgetItem(c->text);
            cell->setTextAlignment(justering(c->justering));
            if (c->rod)
                cell->setForeground(QColor(255, 0, 0));
            if (c->stil == Skarmlista::Stil::Total)
                cell->setFont(m_total);
            else if (c->stil == Skarmlista::Stil::Klassrubrik)
                cell->setFont(m_klassrubrik);
            vbagrResultat->setItem(r, c.key() - 1, cell);
        }
        if (rad.hojd > 0)
            vbagrResultat->setRowHeight(r, rad.hojd);
    }
    vbagrResultat->setUpdatesEnabled(true);
}

void frmResSkarmGrund::cmdOK_Click() {
    m_k.fonster().stangFonster(this);
}
