#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QEventLoop;

// The one way the program asks or tells the operator something. The application
// answers with real message and input boxes; tests queue answers and read back
// what was shown.
//
// Two states of the seam are kept here, for every implementation alike. While
// it is held (hall(): a copy of a competition runs, whose window must keep the
// keys) a box waits before it is shown, with the event loop running but no
// input taken, and comes when the hold goes. Once the program is ending
// (avsluta(): told to end by the system) nobody is there to answer: every box
// is answered at once as if closed without a button, and none is shown.
class Meddelanden {
public:
    class Hallning;

    enum class Ikon { Ingen, Kritisk, Fraga, Utropstecken, Information };
    enum class Knappar { OK, OKAvbryt, JaNej, JaNejAvbryt };
    enum class Svar { OK, Avbryt, Ja, Nej };

    virtual ~Meddelanden() = default;

    // An empty title means the program's own title.
    virtual Svar visa(const QString& text, const QString& titel = {}, Ikon ikon = Ikon::Ingen,
                      Knappar knappar = Knappar::OK) = 0;
    // The typed text, or nothing when the operator cancelled.
    virtual std::optional<QString> inmatning(const QString& fraga, const QString& titel = {},
                                             const QString& standard = {}) = 0;

    // Closes an open box that shows exactly this text as if the operator had
    // answered No (or cancelled, or OK where there is no No): a question about
    // something that has gone by must not wait for an answer. A box still
    // waiting for a hold is dropped the same way, never shown. False when no
    // such box is open or waiting.
    virtual bool stangFraga(const QString& text) = 0;

    // The answer a box gives when it is closed without a button: No where it
    // has one, else Cancel where it has one, else OK.
    static Svar utanKnapp(Knappar knappar) {
        switch (knappar) {
        case Knappar::JaNej:
            return Svar::Nej;
        case Knappar::OKAvbryt:
        case Knappar::JaNejAvbryt:
            return Svar::Avbryt;
        case Knappar::OK:
            break;
        }
        return Svar::OK;
    }

    static QString programtitel() { return QStringLiteral("Pilkrona"); }

    Meddelanden() = default;
    Meddelanden(const Meddelanden&) = delete;
    Meddelanden& operator=(const Meddelanden&) = delete;

    // Boxes wait until the hold goes (the last one, when several are taken).
    // The holder shows its own messages after it has let go.
    [[nodiscard]] Hallning hall();
    bool hallen() const { return m_hallningar > 0; }
    // Runs f once nothing holds the seam: at once when nothing does.
    void narFri(std::function<void()> f);

    // The program is ending: the boxes open now close as unanswered, the ones
    // waiting for a hold go unshown, and every later one is answered at once.
    void avsluta();
    bool avslutas() const { return m_avslutas; }

protected:
    // An implementation calls this before it shows a box: it waits while the
    // seam is held. False when the box must not be shown (stangFraga dropped it
    // while it waited, or the program is ending): it answers as closed.
    bool vantaPaTur(const QString& text);
    // stangFraga's part for a box that waits: true when one with exactly this
    // text was dropped.
    bool slappVantande(const QString& text);
    // Closes every box open now as unanswered (avsluta).
    virtual void stangOppna() {}

private:
    struct Vantande {
        QString text;
        QEventLoop* loop;
        bool slappt = false;
    };
    void slappHallning();
    void vackAlla();

    int m_hallningar = 0;
    bool m_avslutas = false;
    QList<Vantande*> m_vantande;
    std::vector<std::function<void()>> m_narFri;
};

// The hold on a seam, given back when it goes or at slapp(), whichever is first.
class Meddelanden::Hallning {
public:
    Hallning(Hallning&& annan) noexcept : m_m(annan.m_m) { annan.m_m = nullptr; }
    Hallning& operator=(Hallning&&) = delete;
    ~Hallning() { slapp(); }
    void slapp();

private:
    friend class Meddelanden;
    explicit Hallning(Meddelanden& m) : m_m(&m) {}
    Meddelanden* m_m;
};
