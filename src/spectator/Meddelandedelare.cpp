#include "spectator/Meddelandedelare.h"

QList<QByteArray> Meddelandedelare::lagg(const QByteArray& data) {
    QList<QByteArray> hela;
    m_rad += data;
    qsizetype borjan = 0;
    for (;;) {
        const qsizetype slut = m_rad.indexOf("\r\n", borjan);
        if (slut < 0)
            break;
        const QByteArray rad = m_rad.mid(borjan, slut - borjan);
        if (arRubrikrad(rad) && !m_meddelande.isEmpty()) {
            hela << m_meddelande;
            m_meddelande.clear();
        }
        m_meddelande += rad + "\r\n";
        borjan = slut + 2;
    }
    m_rad.remove(0, borjan);
    return hela;
}

QByteArray Meddelandedelare::avsluta() {
    QByteArray m;
    m.swap(m_meddelande);
    return m;
}

bool Meddelandedelare::arRubrikrad(const QByteArray& rad) {
    return rad.count('|') == 4;
}
