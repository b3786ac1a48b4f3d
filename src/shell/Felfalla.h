#pragma once

#include "common/Fel.h"
#include "platform/Meddelanden.h"

#include <QString>
#include <exception>
#include <new>

// The error trap of a procedure: runs it, and when anything is thrown shows the
// procedure's prefix followed by the error number and description ("frmOm,
// Form_load: 53 Filen hittades inte"), then the procedure ends. Most procedures
// show it with the critical icon and the title "Fel"; those that were always
// shown otherwise say so. Nothing thrown gets past it, so an event handler that
// runs its body through a trap never lets an exception into Qt's event loop.
class Felfalla {
public:
    // Most procedures name the number first; the list builders name the
    // description first ("... Disken är full 1004").
    enum class Ordning { NummerForst, BeskrivningForst };

    // mellan: what stands between the number and the description; a few old
    // procedures showed them run together ("13Typerna matchar inte").
    Felfalla(Meddelanden& m, QString prefix, Meddelanden::Ikon ikon = Meddelanden::Ikon::Kritisk,
             QString titel = QStringLiteral("Fel"), QString mellan = QStringLiteral(" "),
             Ordning ordning = Ordning::NummerForst)
        : m_m(m), m_prefix(std::move(prefix)), m_ikon(ikon), m_titel(std::move(titel)),
          m_mellan(std::move(mellan)), m_ordning(ordning) {}

    // The usual prefix: "form, procedure: ".
    static Felfalla standard(Meddelanden& m, const QString& form, const QString& procedur) {
        return Felfalla(m, form + QStringLiteral(", ") + procedur + QStringLiteral(": "));
    }

    // Runs f; false when it failed and the message was shown.
    template <class F> bool operator()(F&& f) const {
        try {
            f();
            return true;
        } catch (const Fel& fel) {
            visa(fel.nummer(), fel.beskrivning());
        } catch (const std::bad_alloc&) {
            visa(7, QStringLiteral("Slut på minne"));
        } catch (const std::exception& e) {
            visa(5, QStringLiteral("Ogiltigt proceduranrop eller argument (%1)")
                        .arg(QString::fromLocal8Bit(e.what())));
        } catch (...) {
            visa(5, QStringLiteral("Ogiltigt proceduranrop eller argument"));
        }
        return false;
    }

    // For a procedure that catches its own failure and still reports it the usual way.
    void visa(int nummer, const QString& beskrivning) const {
        const QString n = QString::number(nummer);
        m_m.visa(m_prefix + (m_ordning == Ordning::NummerForst ? n + m_mellan + beskrivning
                                                               : beskrivning + m_mellan + n),
                 m_titel, m_ikon);
    }

private:
    Meddelanden& m_m;
    QString m_prefix;
    Meddelanden::Ikon m_ikon;
    QString m_titel;
    QString m_mellan;
    Ordning m_ordning;
};
