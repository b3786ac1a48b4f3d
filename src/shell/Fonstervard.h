#pragma once

#include "shell/Fonsternamn.h"
#include "shell/Formkontext.h"
#include "shell/Meny.h"

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <any>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

class QAction;
class QDialog;
class QMdiArea;
class QMdiSubWindow;
class QWidget;

// The one window host of the program: the register in which each part files
// its windows, dialogs and list builders under their form names, the main
// menu's items, and the open child windows. It opens a window with what it is
// opened for, applies the menu states the window declared, and gives them
// back however the window closes (its own buttons, its frame, the competition
// or the program closing). The main window gives it its MDI area; tests give
// it none, and the windows are then plain top-level widgets.
class Fonstervard : public QObject {
    Q_OBJECT
public:
    // How a window opens, declared once when it is registered.
    struct Fonsterlage {
        Menylagen menyer{};
        // Left/top in twips inside the main window; nothing: where the area puts it.
        std::optional<QPoint> placering = QPoint(10, 10);
        // Width/height of the frame in twips; nothing: the window's own size.
        std::optional<QSize> storlek{};
        // The frame opens, and comes forward when the window is chosen again,
        // neither minimized nor maximized. Any window chosen again comes back
        // from a minimized frame; only these leave a maximized one.
        bool normalLage = false;
        // The frame's own flags (a note with a title bar only); none: a normal frame.
        Qt::WindowFlags ramflaggor{};
    };

    Fonstervard(modGlobalt& g, Meddelanden& m, Plattformsdialoger& dialoger, QMdiArea* yta = nullptr,
                QWidget* dialogforalder = nullptr, QObject* parent = nullptr);
    ~Fonstervard() override;

    Formkontext& kontext() { return m_kontext; }

    // --- The main menu ---
    // One action per item of the menu tree, named after its control, in the
    // state the program starts with; the main window puts them into its menus.
    QAction* menyval(Meny meny) const { return m_menyval[size_t(meny)]; }
    void sattMeny(Meny meny, bool pa);
    bool menyPa(Meny meny) const;
    void visaMeny(Meny meny, bool synlig);
    bool menySynlig(Meny meny) const;
    void sattMenytext(Meny meny, const QString& text);
    void oppnas(const Menylagen& lagen);
    // Gives back what lagen took, except the items an open window still
    // holds off: an item stays off while any window that switched it off at
    // its opening is open.
    void stangdes(const Menylagen& lagen) { gerTillbaka(lagen, QString()); }

    // --- Registering ---
    // fabrik(Formkontext&, const B&) or fabrik(Formkontext&) makes the window;
    // a dialog's returns whether the operator went through with it. A window
    // that implements TarNyBegaran<B> takes the request it is chosen again with.
    template <class B, class F> void registreraFonster(const Fonsterid<B>& id, F fabrik, Fonsterlage lage) {
        m_fonster.insert(id.namn,
                         {medBegaran<B, QWidget*>(std::move(fabrik)), std::move(lage), nyBegaran<B>()});
    }
    // Not a default argument: clang takes Fonsterlage's member initializers
    // for unparsed until the host is complete, and refuses "= {}" here.
    template <class B, class F> void registreraFonster(const Fonsterid<B>& id, F fabrik) {
        registreraFonster(id, std::move(fabrik), Fonsterlage{});
    }
    template <class B, class F> void registreraDialog(const Fonsterid<B>& id, F fabrik) {
        m_dialoger.insert(id.namn, medBegaran<B, bool>(std::move(fabrik)));
    }
    // A list built at once. Its menu items are switched off while it is built;
    // the builder gives them back itself, the host only when it throws.
    template <class B, class F>
    void registreraListbyggare(const Fonsterid<B>& id, F byggare, Menylagen lagen = {}) {
        m_listbyggare.insert(id.namn, {medBegaran<B, void>(std::move(byggare)), std::move(lagen)});
    }
    bool registrerat(const QString& namn) const;

    // --- Opening, finding, closing ---
    // Shows the single instance of a registered window, made for begaran when it
    // is not open yet (a factory that fails is told with the form's Form_load
    // prefix). Null when no window of that name is registered or it failed.
    template <class B> QWidget* visaFonster(const Fonsterid<B>& id, const B& begaran = {}) {
        return visa(id.namn, std::any(begaran));
    }
    // Runs a registered modal dialog; false when it is not registered, failed or
    // was cancelled.
    template <class B> bool visaDialog(const Fonsterid<B>& id, const B& begaran = {}) {
        return dialog(id.namn, std::any(begaran));
    }
    // Runs a registered list builder; false when none is registered. What the
    // builder throws goes on to the caller after the menu items are given back.
    template <class B> bool byggLista(const Fonsterid<B>& id, const B& begaran = {}) {
        return lista(id.namn, std::any(begaran));
    }
    // Runs a dialog a registered dialog factory made, as the open window of its
    // name while it runs: it is found, and closed, as any window is.
    template <class B> int korDialog(const Fonsterid<B>& id, QDialog& d) { return kor(id.namn, d); }
    // The open window of that name, or null.
    QWidget* fonster(const QString& namn) const;
    template <class B> QWidget* fonster(const Fonsterid<B>& id) const { return fonster(id.namn); }
    // Closes a window with its frame; false when it refused.
    bool stangFonster(QWidget* fonster);
    // Asks every open window to close; false when one refused (it is brought to
    // the front).
    bool stangAlla();
    // Deletes every open window without asking, while the context they were
    // made with is still whole: the program is going.
    void forstorAlla();

    // --- What forms ask of the program around them ---
    // The window a top-level dialog of a form belongs to (and is modal to).
    QWidget* dialogforalder() const { return m_dialogforalder; }
    // Whether a spectator display is connected: some menu items come back only then.
    bool askadarskarmAnsluten() const { return m_ansluten && m_ansluten(); }
    void sattAnslutningsfraga(std::function<bool()> ansluten) { m_ansluten = std::move(ansluten); }
    // A competition has just been created and is open in the state.
    void meddelaTavlingSkapad() { emit tavlingSkapad(); }

signals:
    // The main window takes a new competition over as the open one.
    void tavlingSkapad();
    // A child frame of the area has become the active one after another.
    void barnAktiverat(QMdiSubWindow* ram);

private:
    using Fabrik = std::function<QWidget*(Formkontext&, const std::any&)>;
    using Dialogfabrik = std::function<bool(Formkontext&, const std::any&)>;
    using Byggare = std::function<void(Formkontext&, const std::any&)>;
    using Nybegaran = std::function<void(QWidget*, const std::any&)>;
    struct Registrerat {
        Fabrik fabrik;
        Fonsterlage lage;
        Nybegaran ny;
    };
    struct Lista {
        Byggare bygg;
        Menylagen lagen;
    };
    struct Oppet {
        QPointer<QWidget> fonster;
        QPointer<QWidget> ram; // the MDI frame, or the window itself without an area
        // Gives the window's menu states back, once, however it closes.
        std::function<void()> stangd;
        // What the window switched at its opening: what it holds while open.
        Menylagen menyer;
    };

    template <class B, class R, class F>
    static std::function<R(Formkontext&, const std::any&)> medBegaran(F f) {
        return [f = std::move(f)](Formkontext& k, const std::any& b) -> R {
            if constexpr (std::is_invocable_v<F&, Formkontext&, const B&>)
                return f(k, std::any_cast<const B&>(b));
            else
                return f(k);
        };
    }

    template <class B> static Nybegaran nyBegaran() {
        return [](QWidget* w, const std::any& b) {
            if (auto* tar = dynamic_cast<TarNyBegaran<B>*>(w))
                tar->nyBegaran(std::any_cast<const B&>(b));
        };
    }

    QWidget* visa(const QString& namn, const std::any& begaran);
    // The open window of that name, already found, brought forward with the request.
    void framfor(const QString& namn, QWidget* w, const std::any& begaran);
    void gerTillbaka(const Menylagen& lagen, const QString& stangande);
    // Whether an open window other than the one closing switched the item off.
    bool halls(Meny meny, const QString& stangande) const;
    bool dialog(const QString& namn, const std::any& begaran);
    bool lista(const QString& namn, const std::any& begaran);
    QWidget* ramForMdi(QWidget* w, const QString& namn, const Fonsterlage& lage);
    QWidget* ramUtanYta(QWidget* w, const Fonsterlage& lage, std::function<void()> stangd);
    int kor(const QString& namn, QDialog& d);
    bool stangUtanYta(const Oppet& o);
    void aktiverat(QMdiSubWindow* sub);

    modGlobalt& m_g;
    Meddelanden& m_m;
    Formkontext m_kontext;
    QPointer<QMdiArea> m_yta;
    QWidget* m_dialogforalder;
    std::array<QAction*, AntalMenyval> m_menyval{};
    QHash<QString, Registrerat> m_fonster;
    QHash<QString, Dialogfabrik> m_dialoger;
    QHash<QString, Lista> m_listbyggare;
    QHash<QString, Oppet> m_oppna;
    QHash<QString, QPointer<QDialog>> m_korande;
    QPointer<QMdiSubWindow> m_senastAktiva;
    std::function<bool()> m_ansluten;
    // Enter presses the focused button in every window: one rule for all hosts.
    std::shared_ptr<QObject> m_entertryck;
    // Tab and the arrows follow each window's tab order (Tabbordning).
    std::shared_ptr<QObject> m_tabbordning;
};
