#pragma once

#include "platform/Meddelanden.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>

class QWidget;

// Message and input boxes for real: the application's answer to the seam.
class QtMeddelanden : public Meddelanden {
public:
    explicit QtMeddelanden(QWidget* foralder = nullptr) : m_foralder(foralder) {}
    void setForalder(QWidget* foralder) { m_foralder = foralder; }

    Svar visa(const QString& text, const QString& titel, Ikon ikon, Knappar knappar) override;
    std::optional<QString> inmatning(const QString& fraga, const QString& titel,
                                     const QString& standard) override;
    bool stangFraga(const QString& text) override;

    // The text as a box shows it: CR LF and a lone CR break the line, and a long
    // run without blanks (a path, a long name) may break anywhere rather than
    // run past the box's edge. The seam itself keeps the exact text.
    static QString visningstext(const QString& text);

protected:
    void stangOppna() override;

private:
    struct Oppen {
        QPointer<QMessageBox> ruta;
        QString text;
        bool stangd = false;
    };

    QWidget* m_foralder;
    // Boxes open now, the innermost last (a box may open over another).
    QList<Oppen*> m_oppna;
};
