#include "lists/frmResSkarmGrund.h"

#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Rutnat.h"
#include "shell/Twips.h"
#include "shell/modGlobalt.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPushButton>

namespace {

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
    Grafik grafik(m_k.g().strProgrammapp, m_k.m(), objectName(), QStringLiteral("Ikon saknas!"),
                  Meddelanden::Ikon::Information, QStringLiteral("Ikon saknas"));
    setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Skärm.ico")));

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
    for (const Skarmlista::Kolumn& k : Skarmlista::kolumner(*layout)) {
        vbagrResultat->laggTillKolumn(k.rubrik, k.bredd);
        m_bredder << k.bredd;
        m_storsta << k.storsta;
    }
}

void frmResSkarmGrund::visaLista(const QList<Skarmlista::Rad>& rader) {
    vbagrResultat->setUpdatesEnabled(false);
    vbagrResultat->tom();
    vbagrResultat->clearSpans();
    vbagrResultat->setRowCount(int(rader.size()));
    const int kolumner = vbagrResultat->columnCount();
    // A column too narrow for what it shows (a pair sum of 100, a long name)
    // grows to hold it; a name or club only up to its limit, cut with an
    // ellipsis there and shown whole as the cell's tooltip.
    QList<int> bredder = m_bredder;
    for (int r = 0; r < rader.size(); ++r) {
        const Skarmlista::Rad& rad = rader[r];
        for (auto c = rad.celler.cbegin(); c != rad.celler.cend(); ++c) {
            if (c.key() < 1 || c.key() > kolumner)
                continue;
            auto* cell = new QTableWidgetItem(c->text);
            cell->setTextAlignment(justering(c->justering));
            if (c->rod)
                cell->setForeground(QColor(255, 0, 0));
            QFont typsnitt = vbagrResultat->font();
            if (c->stil == Skarmlista::Stil::Total)
                typsnitt = m_total;
            else if (c->stil == Skarmlista::Stil::Klassrubrik)
                typsnitt = m_klassrubrik;
            cell->setFont(typsnitt);
            vbagrResultat->setItem(r, c.key() - 1, cell);
            // The class's name runs over the empty cells to its right, so that
            // classes named alike can be told apart.
            if (c->stil == Skarmlista::Stil::Klassrubrik) {
                if (kolumner - c.key() + 1 > 1)
                    vbagrResultat->setSpan(r, c.key() - 1, 1, kolumner - c.key() + 1);
            } else if (c.key() - 1 < bredder.size()) {
                int behov = QFontMetrics(typsnitt).horizontalAdvance(c->text) + 8;
                const int storsta = m_storsta.value(c.key() - 1);
                if (storsta > 0 && behov > storsta) {
                    behov = storsta;
                    cell->setToolTip(c->text);
                }
                bredder[c.key() - 1] = std::max(bredder[c.key() - 1], behov);
            }
        }
        if (rad.hojd > 0)
            vbagrResultat->setRowHeight(r, rad.hojd);
    }
    for (int k = 0; k < bredder.size() && k < kolumner; ++k)
        vbagrResultat->setColumnWidth(k, bredder[k]);
    vbagrResultat->setUpdatesEnabled(true);
}

void frmResSkarmGrund::cmdOK_Click() {
    m_k.fonster().stangFonster(this);
}
