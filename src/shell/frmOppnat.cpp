#include "shell/frmOppnat.h"

#include "platform/Meddelanden.h"
#include "shell/Grafik.h"
#include "shell/modGlobalt.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QStackedLayout>

frmOppnat::frmOppnat(const modGlobalt& g, Meddelanden& m, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmOppnat"));
    setWindowTitle(g.strTavlingsnamn);
    auto* lager = new QStackedLayout(this);
    lager->setStackingMode(QStackedLayout::StackAll);
    auto* info = new QLabel(this);
    auto* bakgrund = new QLabel(this);
    bakgrund->setObjectName(QStringLiteral("imgBakgrund"));
    bakgrund->setScaledContents(true);
    info->setObjectName(QStringLiteral("lblTavlingsInfo"));
    info->setAlignment(Qt::AlignCenter);
    info->setWordWrap(true);
    info->setMargin(8);
    info->setText(informationstext(g));
    lager->addWidget(info);
    lager->addWidget(bakgrund);

    Grafik grafik(g.strProgrammapp, m, QStringLiteral("frmÖppnat"), QStringLiteral("Ikon/Bild saknas!"));
    setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/om.ico")));
    bakgrund->setPixmap(grafik.bild(QStringLiteral("grafik/bilder/hörn.bmp")));
}

QString frmOppnat::informationstext(const modGlobalt& g) {
    const QDateTime andrad = QFileInfo(g.strTavlingsdatabas).lastModified();
    return QStringLiteral("Tävlingen ") + g.strTavlingsnamn +
           QStringLiteral(" är öppnad.\r\n\r\nSenast ändrad: ") +
           // The program's locale: Swedish also where the system has none.
           QLocale().toString(andrad, QLocale::ShortFormat);
}
