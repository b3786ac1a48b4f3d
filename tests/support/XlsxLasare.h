#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>

// Reads back a saved workbook the way another program would: the parts of the
// zip through `unzip -p`, the XML by element and attribute.
class XlsxLasare {
public:
    struct Format {
        QString font{};
        double storlek = 0;
        bool fet = false;
        QString farg{};           // "FFRRGGBB", empty for automatic
        QString understrykning{}; // "", "single", "double"
        QString fyllning{};       // "FFRRGGBB", empty for none
        QString justering{};      // "", "left", "right", "center"
        QString talformat{};      // "", "@"
        bool operator==(const Format&) const = default;
    };

    explicit XlsxLasare(const QString& sokvag);

    QString bladnamn() const;
    // The cells of the sheet's print area ("$A$1:$F$64"); empty when the
    // workbook defines none.
    QString utskriftsomrade() const;
    bool harCell(const QString& adress) const { return m_celler.contains(adress); }
    QString varde(const QString& adress) const;
    // "s" text, "n" number, "b" truth value.
    QString typ(const QString& adress) const;
    Format format(const QString& adress) const;
    // Width and format of the <col> element covering the column (1-based); -1 when none.
    double kolumnbredd(int kolumn) const;
    Format kolumnformat(int kolumn) const;
    // The row's own height, else the sheet's default.
    double radhojd(int rad) const;
    Format radformat(int rad) const;
    // The attributes of the sheet's first element of that name.
    QMap<QString, QString> attribut(const QString& element) const;
    // The text of the sheet's first element of that name.
    QString text(const QString& element) const;
    QList<int> sidbrytningar() const { return m_brytningar; }
    // "typ:värde" of each cell, as one list to compare.
    QStringList celler(const QStringList& adresser) const;
    // Every row from the first up to the last with a value, each as the values
    // of its cells from column A up to its last value ("" for an empty cell).
    QList<QStringList> rader() const;

private:
    // The raw XML of a part, "" when the zip has no such part.
    QString del(const QString& namn) const;
    struct Cell {
        QString typ, varde;
        int stil = 0;
    };
    struct Kolumn {
        int min, max;
        double bredd;
        int stil;
    };
    Format formatNr(int stil) const;
    void lasStilar();
    void lasBlad();

    QString m_fil;
    QString m_blad;
    QStringList m_strangar;
    QList<Format> m_format;
    QHash<QString, Cell> m_celler;
    QList<Kolumn> m_kolumner;
    QHash<int, QPair<double, int>> m_rader;
    double m_standardhojd = 15;
    QList<int> m_brytningar;
};

// How a failed comparison shows a format.
char* toString(const XlsxLasare::Format& f);
