#include "shell/Rutnat.h"

#include <QHeaderView>
#include <QMouseEvent>

Rutnat::Rutnat(QWidget* parent) : QTableWidget(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

void Rutnat::laggTillKolumn(const QString& rubrik, int bredd, bool dold) {
    const int kolumn = columnCount();
    insertColumn(kolumn);
    setHorizontalHeaderItem(kolumn, new QTableWidgetItem(rubrik));
    setColumnWidth(kolumn, bredd);
    setColumnHidden(kolumn, dold);
}

void Rutnat::tom() {
    clearSelection();
    setRowCount(0);
}

int Rutnat::laggTillRad(const QStringList& celler) {
    const int rad = rowCount();
    insertRow(rad);
    for (int k = 0; k < columnCount(); ++k)
        setItem(rad, k, new QTableWidgetItem(k < celler.size() ? celler[k] : QString()));
    return rad + 1;
}

void Rutnat::taBortRad(int rad) {
    if (rad >= 1 && rad <= rowCount())
        removeRow(rad - 1);
}

int Rutnat::valdRad() const {
    const QList<QTableWidgetItem*> valda = selectedItems();
    return valda.isEmpty() ? 0 : valda.first()->row() + 1;
}

void Rutnat::valjRad(int rad) {
    if (rad < 1 || rad > rowCount()) {
        clearSelection();
        return;
    }
    selectRow(rad - 1);
}

QString Rutnat::cell(int rad, int kolumn) const {
    const QTableWidgetItem* i = item(rad - 1, kolumn - 1);
    return i ? i->text() : QString();
}

void Rutnat::sattCell(int rad, int kolumn, const QString& text) {
    if (QTableWidgetItem* i = item(rad - 1, kolumn - 1))
        i->setText(text);
}

void Rutnat::mouseReleaseEvent(QMouseEvent* e) {
    QTableWidget::mouseReleaseEvent(e);
    if (e->button() == Qt::RightButton)
        emit hogerklick(e->globalPosition().toPoint());
}

void sattGra(QWidget* falt, bool gra) {
    QPalette p = falt->palette();
    p.setColor(QPalette::Base,
               gra ? falt->palette().color(QPalette::Window) : QPalette().color(QPalette::Base));
    falt->setPalette(p);
}
