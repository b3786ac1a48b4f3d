#pragma once

// The state of a grid editor: a grid of records, edit fields below it (the
// first one the record's key) and the buttons New, Change, Delete and Cancel,
// with New, Change and Delete again in a popup menu on the grid. New opens
// every field empty; Change opens every field but the key; while an entry is
// open the New button saves it. This class decides which field and which
// button can be used at each step; the editor widget only paints it.
class Redigeringslage {
public:
    enum class Lage { Vilande, Ny, Andra };

    // Where the editors of the program differ.
    struct Regler {
        // Pointing at a row during an entry ends the entry and shows the row
        // (true), or is passed over, so that the record under an open entry
        // cannot be swapped (false).
        bool radAvslutarInmatning = true;
        // Delete is offered for the grid's only row (true), or not, where at
        // least one record must stay (false).
        bool sistaRadenKanRaderas = true;
    };

    // What can be used now. A field that cannot is also shown grey.
    struct Kontroller {
        bool nyckelfalt = false; // the first field
        bool ovrigaFalt = false; // the fields after it
        bool spara = false;      // the New button shows its save caption
        bool avbryt = false;
        bool nyMeny = true;  // the popup's New item
        bool andra = false;  // Change, button and popup item
        bool radera = false; // Delete, button and popup item
        bool operator==(const Kontroller&) const = default;
    };

    explicit Redigeringslage(Regler regler) : m_regler(regler) {}

    Lage lage() const { return m_lage; }
    bool iInmatning() const { return m_lage != Lage::Vilande; }
    const Kontroller& kontroller() const { return m_k; }
    const Regler& regler() const { return m_regler; }

    // Whether pointing at a row now shows it.
    bool pekningVisas() const { return !iInmatning() || m_regler.radAvslutarInmatning; }
    // A row the grid points at was shown (hittad: its record was found): any
    // entry has ended, and change and delete act on that record.
    void radVisad(bool hittad, int antalRader);

    // New or Change when nothing is entered; false (and nothing changes) during
    // an entry.
    bool borjaNy();
    bool borjaAndra();
    // The entry was saved; change and delete follow the grid's selection.
    void sparad(bool radVald);
    // The entry ended without being saved (Cancel, leaving the editor).
    void avbruten(bool radVald, int antalRader);
    // The grid's rows changed outside an entry (a delete, a refill): change and
    // delete follow the selection.
    void radernaAndrade(bool radVald);

    // A field refused to be left and keeps the focus: until its text changes,
    // or the entry ends, the buttons that go on with the entry do nothing, as
    // the operator never got to them.
    void faltNekat() { m_nekat = true; }
    void faltAndrat() { m_nekat = false; }
    bool knapparSparrade() const { return m_nekat; }

private:
    void vila();

    Regler m_regler;
    Lage m_lage = Lage::Vilande;
    Kontroller m_k;
    bool m_nekat = false;
};
