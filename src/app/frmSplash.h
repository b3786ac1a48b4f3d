#pragma once

#include <QFrame>
#include <QWidget>

class Meddelanden;

// The start picture shown while the main window loads.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash(const QString& programmapp, Meddelanden& m, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QFrame* m_frame1;
};
