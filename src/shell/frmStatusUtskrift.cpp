#include "shell/frmStatusUtskrift.h"

#include "platform/Meddelanden.h"
#include "shell/Grafik.h"

#include <QCoreApplication>
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
    Grafik grafik(programmapp, m, objectName());
    setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Om.ico")));
}

void frmStatusUtskrift::visaStatus(const QString& text) {
    lblStatus->setText(text);
    lblStatus->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
