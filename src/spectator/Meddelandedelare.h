#pragma once

#include <QByteArray>
#include <QList>

// Splits the byte stream a display receives into squad messages. A message has
// no length and no end marker: it is its header line (five fields) and the lane
// lines (sixteen fields) up to the next header line. So a message is known to be
// whole when the next one begins, or when the sender is known to have stopped.
class Meddelandedelare {
public:
    // Adds received bytes; returns the messages that became whole (each with its
    // line ends).
    QList<QByteArray> lagg(const QByteArray& data);
    // The message begun but not yet known to be whole (its complete lines only).
    const QByteArray& pagaende() const { return m_meddelande; }
    // Takes the begun message as whole (the sender has paused or left); empty
    // when there is none.
    QByteArray avsluta();

    // Whether a line (without its line end) is a header line: five fields.
    static bool arRubrikrad(const QByteArray& rad);

private:
    QByteArray m_rad;
    QByteArray m_meddelande;
};
