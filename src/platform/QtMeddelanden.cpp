#include "platform/QtMeddelanden.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
// Runs longer than this get break opportunities.
constexpr int LangstaObrutna = 40;

// A box that waited for a hold comes as the hold goes, before its holder has
// taken the hourglass down: the box shows the ordinary cursor, and the
// hourglass is back when it closes.
class UtanTimglas {
public:
    explicit UtanTimglas(bool aktiv) {
        while (aktiv && QGuiApplication::overrideCursor()) {
            m_markorer.prepend(*QGuiApplication::overrideCursor());
            QGuiApplication::restoreOverrideCursor();
        }
    }
    ~UtanTimglas() {
        for (const QCursor& c : std::as_const(m_markorer))
            QGuiApplication::setOverrideCursor(c);
    }
    UtanTimglas(const UtanTimglas&) = delete;
    UtanTimglas& operator=(const UtanTimglas&) = delete;

private:
    QList<QCursor> m_markorer;
};
} // namespace

QString QtMeddelanden::visningstext(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QString ut;
    ut.reserve(t.size());
    int obrutna = 0;
    for (QChar c : t) {
        ut.append(c);
        obrutna = c.isSpace() ? 0 : obrutna + 1;
        if (obrutna >= LangstaObrutna) {
            ut.append(QChar(0x200B)); // zero width space: a place to break
            obrutna = 0;
        }
    }
    return ut;
}

Meddelanden::Svar QtMeddelanden::visa(const QString& text, const QString& titel, Ikon ikon, Knappar knappar) {
    const bool vantade = hallen();
    if (!vantaPaTur(text))
        return utanKnapp(knappar);
    const UtanTimglas utanTimglas(vantade);
    QMessageBox box(m_foralder ? m_foralder : QApplication::activeWindow());
    box.setWindowTitle(titel.isEmpty() ? programtitel() : titel);
    box.setTextFormat(Qt::PlainText);
    box.setText(visningstext(text));
    switch (ikon) {
    case Ikon::Ingen:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Ikon::Kritisk:
        box.setIcon(QMessageBox::Critical);
        break;
    case Ikon::Fraga:
        box.setIcon(QMessageBox::Question);
        break;
    case Ikon::Utropstecken:
        box.setIcon(QMessageBox::Warning);
        break;
    case Ikon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    QAbstractButton* ja = nullptr;
    QAbstractButton* nej = nullptr;
    QAbstractButton* avbryt = nullptr;
    switch (knappar) {
    case Knappar::OK:
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case Knappar::OKAvbryt:
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        avbryt = box.addButton(QStringLiteral("Avbryt"), QMessageBox::RejectRole);
        break;
    case Knappar::JaNejAvbryt:
        avbryt = box.addButton(QStringLiteral("Avbryt"), QMessageBox::RejectRole);
        [[fallthrough]];
    case Knappar::JaNej:
        ja = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        nej = box.addButton(QStringLiteral("&Nej"), QMessageBox::NoRole);
        box.setDefaultButton(static_cast<QPushButton*>(ja));
        break;
    }
    Oppen oppen{&box, text};
    m_oppna.append(&oppen);
    box.exec();
    m_oppna.removeOne(&oppen);
    if (oppen.stangd)
        return utanKnapp(knappar);
    QAbstractButton* tryckt = box.clickedButton();
    if (tryckt && tryckt == ja)
        return Svar::Ja;
    if (tryckt && tryckt == nej)
        return Svar::Nej;
    if (avbryt && (tryckt == avbryt || !tryckt))
        return Svar::Avbryt;
    if (knappar == Knappar::JaNej)
        return Svar::Nej;
    return Svar::OK;
}

bool QtMeddelanden::stangFraga(const QString& text) {
    for (Oppen* o : std::as_const(m_oppna)) {
        if (o->text == text && o->ruta && !o->stangd) {
            o->stangd = true;
            o->ruta->done(QMessageBox::Cancel);
            return true;
        }
    }
    return slappVantande(text);
}

void QtMeddelanden::stangOppna() {
    for (Oppen* o : std::as_const(m_oppna)) {
        if (o->ruta && !o->stangd) {
            o->stangd = true;
            o->ruta->done(QMessageBox::Cancel);
        }
    }
}

std::optional<QString> QtMeddelanden::inmatning(const QString& fraga, const QString& titel,
                                                const QString& standard) {
    const bool vantade = hallen();
    if (!vantaPaTur(fraga))
        return std::nullopt;
    const UtanTimglas utanTimglas(vantade);
    bool ok = false;
    const QString text = QInputDialog::getText(m_foralder ? m_foralder : QApplication::activeWindow(),
                                               titel.isEmpty() ? programtitel() : titel, visningstext(fraga),
                                               QLineEdit::Normal, standard, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}
