#pragma once

#include <QTableWidget>

// A read-only grid of rows and columns as the program's lists use it: columns
// with a header and a width in pixels (one may be hidden and hold the row's
// key), rows and columns numbered from 1, the selected row read as 0 when none
// is selected, and a signal when the right mouse button is released over it
// (where a popup menu opens).
class Rutnat : public QTableWidget {
    Q_OBJECT
public:
    explicit Rutnat(QWidget* parent = nullptr);

    void laggTillKolumn(const QString& rubrik, int bredd, bool dold = false);
    // Empties the grid of rows; the columns stay.
    void tom();
    // Adds a row at the end and returns its number.
    int laggTillRad(const QStringList& celler);
    void taBortRad(int rad);
    int antalRader() const { return rowCount(); }
    // The selected row, 0 when none is selected.
    int valdRad() const;
    void valjRad(int rad);
    QString cell(int rad, int kolumn) const;
    void sattCell(int rad, int kolumn, const QString& text);

signals:
    // The right mouse button was released over the grid, at this global position.
    void hogerklick(const QPoint& var);

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// A field that cannot be used at the moment is shown greyed; it gets the
// window background back when it can be used again. Only the colour: whether
// the field is enabled is the caller's to set.
void sattGra(QWidget* falt, bool gra);
