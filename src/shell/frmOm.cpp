#include "shell/frmOm.h"

#include "common/Version.h"
#include "platform/Meddelanden.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/modGlobalt.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

frmOm::frmOm(Formkontext& k, QWidget* parent) : QDialog(parent), m_m(k.m()) {
    setObjectName(QStringLiteral("frmOm"));
    const QString titel = QStringLiteral("Pilkrona");
    setWindowTitle(QStringLiteral("Om ") + titel);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    auto* lblTitle = new QLabel(titel, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont stor = lblTitle->font();
    stor.setPointSize(stor.pointSize() + 6);
    stor.setBold(true);
    lblTitle->setFont(stor);
    auto* lblVersion = new QLabel(
        QStringLiteral("Version %1.%2 Build %3").arg(Version::Major).arg(Version::Minor).arg(Version::Build),
        this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto* lblRegelbocker = new QLabel(this);
    lblRegelbocker->setObjectName(QStringLiteral("lblRegelbocker"));
    // Runs of blanks made the three pieces wrap onto their own lines; here the
    // lines are broken outright so the text reads the same in any width.
    lblRegelbocker->setText(
        QStringLiteral("Särskiljning sker efter dessa regelböcker:\n"
                       "Regelbok nationellt skytte gäller från 2011-01-01\n"
                       "ISSF Official rules and regulations Edition 2009 Second printing, 01/2010"));
    auto* lblAnvandare = new QLabel(QString(), this);
    lblAnvandare->setObjectName(QStringLiteral("lblAnvandare"));
    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("Stäng detta fönster"));
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton(QStringLiteral("&System Info"), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setToolTip(QStringLiteral("Visar en massa systeminformation om din dator"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(picIcon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(lblTitle, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(lblRegelbocker, 2, 1);
    layout->addWidget(lblAnvandare, 3, 1);
    auto* knappar = new QVBoxLayout;
    knappar->addWidget(cmdOK);
    knappar->addWidget(cmdSysInfo);
    knappar->addStretch();
    layout->addLayout(knappar, 0, 2, 4, 1);

    Grafik grafik(k.g().strProgrammapp, m_m, objectName());
    setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Om.ico")));
    const QIcon bild = grafik.ikon(QStringLiteral("grafik/ikoner/PKOm.ico"));
    if (!bild.isNull())
        picIcon->setPixmap(bild.pixmap(48, 48));

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmOm::StartSysInfo);
}

QString frmOm::hittaSysteminfo() {
    for (const char* program : {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor"}) {
        const QString sokvag = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (!sokvag.isEmpty())
            return sokvag;
    }
    return {};
}

void frmOm::StartSysInfo() {
    const QString program = hittaSysteminfo();
    if (program.isEmpty() || !QProcess::startDetached(program, {}))
        m_m.visa(QStringLiteral("System Information Is Unavailable At This Time"));
}
