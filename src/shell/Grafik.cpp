#include "shell/Grafik.h"

#include "platform/Filvag.h"

Grafik::Grafik(QString programmapp, Meddelanden& m, const QString& form, const QString& saknas,
               Meddelanden::Ikon ikon, QString titel)
    : m_programmapp(std::move(programmapp)), m_m(m), m_text(form + QStringLiteral(", Form_load: ") + saknas),
      m_ikon(ikon), m_titel(std::move(titel)) {}

void Grafik::saknas() {
    if (m_saknas)
        return;
    m_saknas = true;
    m_m.visa(m_text, m_titel, m_ikon);
}

QIcon Grafik::ikon(const QString& relativ) {
    const QString fil = hittaFil(m_programmapp, relativ);
    if (fil.isEmpty()) {
        saknas();
        return {};
    }
    return QIcon(fil);
}

QPixmap Grafik::bild(const QString& relativ) {
    const QString fil = hittaFil(m_programmapp, relativ);
    QPixmap bild;
    if (fil.isEmpty() || !bild.load(fil))
        saknas();
    return bild;
}
