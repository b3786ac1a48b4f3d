#include "shell/frmOppnat.h"

#include "platform/Filvag.h"
#include "platform/Meddelanden.h"
#include "shell/modGlobalt.h"

#include <QDateTime>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QStackedLayout>

frmOppnat::frmOppnat(const modGlobalt& g, Meddelanden& m, QWidget* parent)
    : QWidget(parent), m_info(new QLabel(this)) {
    setObjectName(QStringLiteral("frmOppnat"));
    setWindowTitle(g.strTavlingsnamn);
    auto* lager = new QStackedLayout(this);
    lager->setStackingMode(QStackedLayout::StackAll);
    auto* bakgrund = new QLabel(this);
    bakgrund->setObjectName(QStringLiteral("imgBakgrund"));
    bakgrund->setScaledContents(true);
    m_info->setObjectName(QStringLiteral("lblTavlingsInfo"));
    m_info->setAlignment(Qt::AlignCenter);
    m_info->setWordWrap(true);
    m_info->setMargin(8);
    m_info->setText(informationstext(g));
    lager->addWidget(m_info);
    lager->addWidget(bakgrund);

    const QString ikon = hittaFil(g.strProgrammapp, QStringLiteral("grafik/ikoner/om.ico"));
    const QString bild = hittaFil(g.strProgrammapp, QStringLiteral("grafik/bilder/hörn.bmp"));
    QPixmap pixmap;
    if (ikon.isEmpty() || bild.isEmpty() || !pixmap.load(bild)) {
        m.visa(QStringLiteral("frmÖppnat, Form_load: Ikon/Bild saknas!"), QString(),
               Meddelanden::Ikon::Information);
    }
    if (!ikon.isEmpty())
        setWindowIcon(QIcon(ikon));
    if (!pixmap.isNull())
        bakgrund->setPixmap(pixmap);
}

QString frmOppnat::informationstext(const modGlobalt& g) {
    const QDateTime andrad = QFileInfo(g.strTavlingsdatabas).lastModified();
    return QStringLiteral("Tävlingen ") + g.strTavlingsnamn +
           QStringLiteral(" är öppnad.\r\n\r\nSenast ändrad: ") +
           QLocale::system().toString(andrad, QLocale::ShortFormat);
}
