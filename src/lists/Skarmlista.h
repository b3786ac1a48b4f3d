#pragma once

#include "lists/Resultaturval.h"

#include <QList>
#include <QMap>
#include <QString>
#include <optional>

class modGlobalt;

// The rows of the on-screen result list, without the grid: what each cell
// shows and how. The list window paints them as they are.
namespace Skarmlista {

// The grid's columns: six series columns in a sport-shooting competition
// (12 columns), eight in a national or mixed one (14 columns).
enum class Layout { SexSerier, AttaSerier };

struct Kolumn {
    QString rubrik;
    int bredd = 0; // pixels
    // The widest a text column may grow to show its longest text (0: no
    // limit). One very long name must not push every result off the screen;
    // numbers have no limit, as a cut number would be a wrong one.
    int storsta = 0;
};

// The layout of the open competition's kind; nothing while no kind is set.
std::optional<Layout> layout(const modGlobalt& g);
QList<Kolumn> kolumner(Layout layout);

enum class Justering { Standard, Centrerad, Hoger };
// The grid's own font, the total's (10 pt bold) or the class row's (16 pt
// bold, underlined).
enum class Stil { Rutnat, Total, Klassrubrik };

struct Cell {
    QString text;
    Justering justering = Justering::Standard;
    bool rod = false;
    Stil stil = Stil::Rutnat;

    bool operator==(const Cell&) const = default;
};

struct Rad {
    QMap<int, Cell> celler; // by column, counted from 1; a column not named stays empty
    int hojd = 0;           // pixels; 0: the grid's own

    bool operator==(const Rad&) const = default;
};

constexpr int Klassradshojd = 38;

// A class with its shooters: a blank row, the class row, then one row per
// shooter with the place the ranking gave him. A class without shooters
// gives no rows at all.
QList<Rad> rader(const Klassblock& block, Layout layout);

} // namespace Skarmlista
