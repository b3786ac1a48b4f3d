#include "shell/frmStatusUtskrift.h"

#include "platform/Filvag.h"
#include "platform/Meddelanden.h"

#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

frmStatusUtskrift::frmStatusUtskrift(const QString& programmapp, Meddelanden& m, QWidget* parent)
    : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("frmStatusUtskrift"));
    setWindowTitle(QStringLiteral("Status utskrift"));
    lblStatus = new QLabel(QStringLiteral("Förbereder utskrift..."), this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblStatus);
    resize(260, 90);
    const QString ikon = hittaFil(programmapp, QStringLiteral("grafik/ikoner/Om.ico"));
    if (ikon.isEmpty())
        m.visa(QStringLiteral("frmStatusUtskrift, Form_load: Ikon saknas!"), QString(),
               Meddelanden::Ikon::Information);
    else
        setWindowIcon(QIcon(ikon));
}

void frmStatusUtskrift::visaStatus(const QString& text) {
    lblStatus->setText(text);
    lblStatus->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
