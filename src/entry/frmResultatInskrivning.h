#pragma once

#include "entry/Askadaruppdatering.h"
#include "entry/Banrader.h"
#include "entry/Inmatningsregler.h"
#include "entry/Resultatrader.h"
#include "entry/Resultatsparning.h"
#include "entry/scoring_machine/Tolklank.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

class Upptagen;

class Askadarflode;
class Formkontext;
class QLabel;
class QLineEdit;
class QStatusBar;

// The result-entry window: one squad at a time, a row of fields per occupied
// lane. Series are typed (or, in machine mode, read by the scoring machine) and
// each accepted series is stored at once with its sums, totals and counts; the
// window only paints what the stored row says. The squad is switched in place
// through the squad picker.
//
// Nothing typed is lost: a series field that was edited runs its check and
// save when the focus leaves it, and also before the squad is switched or the
// window closes in any way; the shoot-off value likewise. When a check fails the
// switch or close is refused and the field has the focus again.
class frmResultatInskrivning : public QWidget {
    Q_OBJECT
public:
    // Status-bar panels by key.
    static inline const QString PanelSkjutlag = QStringLiteral("Skjutlag");
    static inline const QString PanelBana = QStringLiteral("Bana");
    static inline const QString PanelKlass = QStringLiteral("Klass");
    static inline const QString PanelForening = QStringLiteral("Förening");
    static inline const QString PanelStatusTolkmaskin = QStringLiteral("StatusTolkmaskin");
    static inline const QString PanelAuto1098 = QStringLiteral("Auto1098");
    static inline const QString PanelAuto10 = QStringLiteral("Auto10'");
    static inline const QString TolkmaskinVilar =
        QStringLiteral("Tryck på Enter för att ta emot resultat från tolkmaskin.");

    // askadarIntervallMs: the wait before the spectator display gets a saved
    // series; tolktider: the waits of the scoring-machine link (both shorter in
    // tests).
    frmResultatInskrivning(Formkontext& k, Askadarflode& flode,
                           int askadarIntervallMs = Askadaruppdatering::Intervall,
                           Tolklank::Tider tolktider = {}, QWidget* parent = nullptr);
    ~frmResultatInskrivning() override;

    QSize sizeHint() const override;

    // The lane row being worked on, 0 for the first.
    int intAktuellRad = 0;

    // Opens the first squad of a newly made window.
    void Oppna_databaser_mm(int skjutlag);
    // Switches the open window to another squad.
    void Byt_Skjutlag(int skjutlag);
    // With the hourglass given (a switch of squads) a failure and every
    // message are told with it down.
    void Ta_bort_rader(Upptagen* upptagen = nullptr);
    // Fills every row from the squad's lanes (the fields stay hidden).
    void Hamta_in_skyttarna_till_txt(Upptagen* upptagen = nullptr);
    // Shows the fields each row has by its kind and class.
    void txtVisible();
    // Shows or hides the 60-shot total of a row by its series 9 to 12.
    void txtRes60_visible(int rad);
    // Paints the series, sums, totals and full marks of row intAktuellRad as stored.
    void Rakna();

    // The scoring-machine link (machine mode only): Enter on a series field
    // starts a read; switching squads and closing stop it.
    void HamtaResFranTolkmaskin();
    void AvbrytKommTolkmaskin();

    // --- What the rest of result entry and the tests reach ---
    int intAntalRader() const;
    Askadaruppdatering& askadaruppdatering() { return m_askadaruppdatering; }
    // The link to the scoring machine, null outside machine mode.
    Tolklank* tolklank() const { return m_tolklank.get(); }
    // The picture the machine's status panel shows.
    Tolklank::Bild tolkbild() const { return m_tolkbild; }

    // Where the next machine result goes: a series field has the focus, and
    // which row and series it is.
    bool blnSerieMarkerad = false;
    int intMarkeradRad = 0;
    int intMarkeradSerie = 0;

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    bool focusNextPrevChild(bool next) override;

private:
    void cmdBytSkjutlag_Click();
    void cmdAterga_Click();
    void byggFormular();
    void Skapa_paneler();
    void sattPanel(const QString& nyckel, const QString& text);
    QLineEdit* txtSer(int serie, int rad);
    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload();
    void Form_Unload();
    // A failure to read is told, after the hourglass of a switch has gone.
    void Oppna_skjutlag(int skjutlag, Upptagen* upptagen = nullptr);
    void sattRubrik(int skjutlag);

    // What runs before the squad changes or the window goes: the field being
    // edited is checked and stored. False when a check refused (the field has
    // the focus back).
    bool lamnaFalten();
    Inmatningsregler::Radsynlighet radsynlighet(int rad);
    // Paints a row of the squad as it becomes ready, from its Banrad.
    void malaRad(int rad);
    bool lamnaFalt(QWidget* falt);

    // A field of a row is entered.
    void GotFocus(QWidget* w, const Banrader::Plats& p, Qt::FocusReason orsak);

    // The series fields.
    void Serie_GotFocus(int rad, int serie);
    bool Serie_LostFocus(int rad, int serie);
    bool SparaSerie(int rad, int serie, int varde);
    bool Serie_KeyDown(int rad, int serie, QKeyEvent* e);
    void Serie_KeyUp(QLineEdit* falt, int rad, int serie, QKeyEvent* e);
    // The arrow keys of every field of a row; false for another key.
    bool Pil_KeyDown(const Banrader::Plats& fran, int tangent);
    // The focus to a field, its row built first; a hidden field is not gone to.
    void gaTill(const Banrader::Plats& till);
    void gaTill(int serie, int rad);
    void Visa_SfS(int serie, int rad);
    void Nolla_SfST(int serie, int rad);
    void serieRedigerad(int rad, int serie);
    bool serie9Syns(int rad) const;

    // The shoot-off field and the count button.
    void txtSarskjutning_GotFocus(int rad);
    bool txtSarskjutning_LostFocus(int rad);
    bool txtSarskjutning_KeyDown(QLineEdit* falt, int rad, QKeyEvent* e);
    void cmd1098_GotFocus(int rad);
    void cmd1098_Click(int rad);
    void visaAntalpaneler(const Resultatsparning::Utfall& utfall);

    // Vertical scrolling that brings a row into view (the focus rules).
    void visaRadVidFokus(int rad, int marginal);
    void sattVScroll(int varde);
    void sattHScroll(int varde);

    // A read is running: keys in the series fields are refused.
    bool lasningPagar() const;
    void visaTolkstatus(const QString& text, Tolklank::Bild bild);
    // A card the machine read, for the marked series.
    void tavelsvarMottaget(int varde, const QString& skottstrang);
    // Moves the focus to a series field as the operator would, so that it is
    // marked for the next card also while the window is not the active one.
    void flyttaFokus(int serie, int rad);

    Formkontext& m_k;
    Askadarflode& m_flode;
    std::unique_ptr<Klassuppslag> m_klasser;
    Resultatsparning m_sparning;
    Askadaruppdatering m_askadaruppdatering;
    QList<Banrad> m_skjutlag;
    // What each row of the squad shows besides its values, worked out from its
    // Banrad for every row, built or not: the colours of its series by its
    // class (nothing: the class is missing) and extra series, and its fields.
    struct Radbild {
        std::optional<int> klassensSerier;
        int extraSerier = 0;
        Inmatningsregler::Radsynlighet synlighet;
    };
    QList<Radbild> m_radbilder;
    Banrader* m_banrader = nullptr;
    QStatusBar* sbrResultatInskr = nullptr;
    QHash<QString, QLabel*> m_paneler;

    Tolklank::Tider m_tolktider;
    std::unique_ptr<Tolklank> m_tolklank;
    // By Tolklank::Bild; Ingen stays null.
    std::array<QIcon, 5> m_tolkbilder;
    Tolklank::Bild m_tolkbild = Tolklank::Bild::Ingen;
    // The picture's place at the left end of the machine's status panel.
    QLabel* m_tolkbildPanel = nullptr;

    bool m_blnSerieAndrad = false;
    bool m_blnNyFokus = true;
    // The field whose focus-in this window handled last and whose leaving is
    // still to come; a field that was left by the window's own moves (a message
    // box, a rebuild) is not left in this sense.
    QPointer<QWidget> m_fokusFalt;
    // A field the mouse has just entered: its text is selected when the button
    // comes up, as a field entered with the keyboard has it.
    QPointer<QLineEdit> m_valjVidSlapp;
    // Rows are being rebuilt: fields come and go without being entered or left.
    bool m_byggerOm = false;
    // The last check of a field refused: the button whose press took the focus
    // from it does nothing this time.
    bool m_vagrat = false;
    bool m_forstaAktiveringen = true;
    bool m_stangd = false;
};
