#pragma once

#include "platform/Meddelanden.h"

class QWidget;

// Message and input boxes for real: the application's answer to the seam.
class QtMeddelanden : public Meddelanden {
public:
    explicit QtMeddelanden(QWidget* foralder = nullptr) : m_foralder(foralder) {}
    void setForalder(QWidget* foralder) { m_foralder = foralder; }

    Svar visa(const QString& text, const QString& titel, Ikon ikon, Knappar knappar) override;
    std::optional<QString> inmatning(const QString& fraga, const QString& titel,
                                     const QString& standard) override;

private:
    QWidget* m_foralder;
};
