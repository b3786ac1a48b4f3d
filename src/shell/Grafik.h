#pragma once

#include "platform/Meddelanden.h"

#include <QIcon>
#include <QPixmap>
#include <QString>

// Loads a form's icons and pictures from Grafik/ beside the program, whatever
// the letter case of the names on disk. A missing file is told once per load
// ("frmOm, Form_load: Ikon saknas!") and the form goes on without it.
class Grafik {
public:
    Grafik(QString programmapp, Meddelanden& m, const QString& form,
           const QString& saknas = QStringLiteral("Ikon saknas!"),
           Meddelanden::Ikon ikon = Meddelanden::Ikon::Information, QString titel = {});

    // "grafik/ikoner/ny.ico"; a null icon when missing.
    QIcon ikon(const QString& relativ);
    // "grafik/bilder/Logo.gif"; a null pixmap when missing or unreadable.
    QPixmap bild(const QString& relativ);

    bool nagotSaknas() const { return m_saknas; }

private:
    void saknas();

    QString m_programmapp;
    Meddelanden& m_m;
    QString m_text;
    Meddelanden::Ikon m_ikon;
    QString m_titel;
    bool m_saknas = false;
};
