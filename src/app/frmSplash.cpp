#include "app/frmSplash.h"

#include "common/Version.h"
#include "platform/Meddelanden.h"
#include "shell/Grafik.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

frmSplash::frmSplash(const QString& programmapp, Meddelanden& m, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_frame1(new QFrame(this)) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_frame1->setFrameShape(QFrame::Box);
    m_frame1->setStyleSheet(QStringLiteral("#Frame1 { background: white; }"));
    m_frame1->installEventFilter(this);

    auto* yttre = new QVBoxLayout(this);
    yttre->setContentsMargins(0, 0, 0, 0);
    yttre->addWidget(m_frame1);
    auto* rutnat = new QGridLayout(m_frame1);
    rutnat->setContentsMargins(16, 16, 16, 16);

    auto* lblVersion = new QLabel(m_frame1);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setText(
        QStringLiteral("Version %1.%2 Build %3").arg(Version::Major).arg(Version::Minor).arg(Version::Build));

    struct Bild {
        const char* namn;
        const char* fil;
        int rad, kolumn, spann;
    };
    const Bild bilder[] = {{"imgRubrik", "Logo.gif", 0, 0, 3},
                           {"imgOS", "OS.gif", 1, 0, 1},
                           {"imgTolkm", "sam.gif", 1, 1, 1},
                           {"imgPC", "Cirkel.gif", 1, 2, 1}};
    Grafik grafik(programmapp, m, objectName(), QStringLiteral("Ikon/Bild saknas!"));
    for (const Bild& b : bilder) {
        auto* lbl = new QLabel(m_frame1);
        lbl->setObjectName(QString::fromUtf8(b.namn));
        lbl->setAlignment(Qt::AlignCenter);
        lbl->setPixmap(grafik.bild(QStringLiteral("grafik/bilder/") + QString::fromUtf8(b.fil)));
        rutnat->addWidget(lbl, b.rad, b.kolumn, 1, b.spann);
    }
    rutnat->addWidget(lblVersion, 2, 0, 1, 3, Qt::AlignRight);
}

void frmSplash::keyPressEvent(QKeyEvent*) {
    close();
}

bool frmSplash::eventFilter(QObject* o, QEvent* e) {
    if (o == m_frame1 && e->type() == QEvent::MouseButtonRelease) {
        close();
        return true;
    }
    return QWidget::eventFilter(o, e);
}
