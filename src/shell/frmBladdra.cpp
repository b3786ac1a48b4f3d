#include "shell/frmBladdra.h"

#include "common/IniNamn.h"
#include "platform/Filnamn.h"
#include "platform/Meddelanden.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Twips.h"
#include "shell/modGlobalt.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <functional>

namespace {

// Shows the open folder in bold, apart from the one only highlighted.
class OppnadMapp : public QStyledItemDelegate {
public:
    OppnadMapp(std::function<bool(const QModelIndex&)> oppnad, QObject* foralder)
        : QStyledItemDelegate(foralder), m_oppnad(std::move(oppnad)) {}

protected:
    void initStyleOption(QStyleOptionViewItem* o, const QModelIndex& i) const override {
        QStyledItemDelegate::initStyleOption(o, i);
        if (m_oppnad(i))
            o->font.setBold(true);
    }

private:
    std::function<bool(const QModelIndex&)> m_oppnad;
};

} // namespace

frmBladdra::frmBladdra(Formkontext& k, QWidget* anropare, const QString& tag)
    : frmBladdra(k, anropare, std::nullopt, tag != TaggInstallningar) {}

frmBladdra::frmBladdra(Formkontext& k, QWidget* anropare, Lage lage) : frmBladdra(k, anropare, lage, false) {}

frmBladdra::frmBladdra(Formkontext& k, QWidget* anropare, std::optional<Lage> lage, bool medAvslut)
    : QDialog(anropare), m_k(k), m_lage(lage), m_medAvslut(medAvslut), m_modell(new QFileSystemModel(this)) {
    m_laddas.emplace();
    setObjectName(QStringLiteral("frmBladdra"));
    setWindowTitle(QStringLiteral("Bläddra"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);

    auto* lblValjMapp = new QLabel(QStringLiteral("Välj sökväg dit tävlingen ska."), this);
    lblValjMapp->setObjectName(QStringLiteral("lblValjMapp"));
    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setToolTip(QStringLiteral("Här väljs vilken enhet tävlings katalogen ska hamna."));
    // Linux has no drive letters: the volumes mounted for the user stand in for them.
    for (const QString& rot : enheter())
        Drive1->addItem(rot, rot);

    m_modell->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_modell->setRootPath(QStringLiteral("/"));
    Dir1 = new QTreeView(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setToolTip(QStringLiteral("Här väljs i vilken katalog tävlingskatalogen ska skapas."));
    Dir1->setModel(m_modell);
    for (int kolumn = 1; kolumn < m_modell->columnCount(); ++kolumn)
        Dir1->hideColumn(kolumn);
    Dir1->header()->hide();
    // A folder is opened by a double click or Enter, never by the style's
    // single-click activation; the open one shows in bold.
    Dir1->setExpandsOnDoubleClick(false);
    Dir1->setItemDelegate(new OppnadMapp(
        [this](const QModelIndex& i) { return !m_aktuell.isEmpty() && m_modell->filePath(i) == m_aktuell; },
        Dir1));

    auto* cmdNyMapp = new QPushButton(this);
    cmdNyMapp->setObjectName(QStringLiteral("cmdNyMapp"));
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("Välj markerad sökväg."));
    cmdOK->setDefault(true);
    auto* cmdAvbryt = new QPushButton(QStringLiteral("&Avbryt"), this);
    cmdAvbryt->setObjectName(QStringLiteral("cmdAvbryt"));
    cmdAvbryt->setToolTip(QStringLiteral("Återgå utan att välja sökväg."));

    auto* rad = new QHBoxLayout;
    rad->addWidget(Drive1, 1);
    rad->addWidget(cmdNyMapp);
    auto* knappar = new QHBoxLayout;
    knappar->addStretch();
    knappar->addWidget(cmdOK);
    knappar->addWidget(cmdAvbryt);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblValjMapp);
    layout->addLayout(rad);
    layout->addWidget(Dir1, 1);
    layout->addLayout(knappar);

    // The wizards' chooser (frmBläddraExp) names its button beside the
    // picture; the shell's shows the picture with the name as its tooltip.
    Grafik grafik(k.g().strProgrammapp, k.m(), formnamn(), QStringLiteral("Ikon saknas!"),
                  Meddelanden::Ikon::Information, m_lage ? QStringLiteral("Ikon saknas") : QString());
    setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Bläddra.ico")));
    const QIcon nyMapp = grafik.ikon(QStringLiteral("grafik/ikoner/NyMapp.ico"));
    cmdNyMapp->setIcon(nyMapp);
    if (m_lage || nyMapp.isNull())
        cmdNyMapp->setText(QStringLiteral("Ny mapp"));
    if (!m_lage)
        cmdNyMapp->setToolTip(QStringLiteral("Ny mapp"));

    connect(Drive1, &QComboBox::activated, this, &frmBladdra::Drive1_Change);
    connect(Dir1, &QTreeView::doubleClicked, this, &frmBladdra::oppna);
    connect(cmdNyMapp, &QPushButton::clicked, this, &frmBladdra::cmdNyMapp_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmBladdra::cmdOK_Click);
    connect(cmdAvbryt, &QPushButton::clicked, this, &frmBladdra::cmdAvbryt_Click);
    // The folder tree is read and sorted in the background: the chosen folder
    // is kept in view while its parents fill in, until the operator takes over.
    const auto senare = [this] { QTimer::singleShot(0, this, &frmBladdra::visaAktuell); };
    connect(m_modell, &QFileSystemModel::directoryLoaded, this, senare);
    // The folder it starts in is read last, as the tree opens down to it.
    connect(m_modell, &QFileSystemModel::directoryLoaded, this, [this](const QString& mapp) {
        if (mapp == m_aktuell)
            m_laddas.reset();
    });
    connect(m_modell, &QFileSystemModel::rowsInserted, this, senare);
    connect(m_modell, &QFileSystemModel::layoutChanged, this, senare);
    Dir1->viewport()->installEventFilter(this);
    Dir1->installEventFilter(this);

    resize(twips(4080), twips(4140));
    // Starts in the program folder, or the folder of the wizard's mode, whatever
    // the caller's field holds.
    valjMapp(m_lage ? startmapp(k.g(), *m_lage) : k.g().strProgrammapp);
    // Nothing to wait for when the folder is not there.
    if (m_aktuell.isEmpty())
        m_laddas.reset();
}

QString frmBladdra::startmapp(const modGlobalt& g, Lage lage) {
    const IniNyckel& nyckel = lage == Lage::Import ? Ini::Tavlingskatalog : Ini::Exportkatalog;
    const QString mapp = g.iniProgram.GetKeyValue(nyckel.sektion, nyckel.nyckel, QString()).trimmed();
    // A stick that has been taken out, a folder deleted, or a path from a Windows computer.
    if (mapp.isEmpty() || !QDir::isAbsolutePath(mapp) || !QFileInfo(mapp).isDir())
        return g.strProgrammapp;
    return QDir::cleanPath(mapp);
}

QString frmBladdra::formnamn() const {
    return m_lage ? QStringLiteral("frmBläddraExp") : QStringLiteral("frmBläddra");
}

void frmBladdra::oppna(const QModelIndex& i) {
    if (!i.isValid())
        return;
    m_aktuell = m_modell->filePath(i);
    Dir1->expand(i);
    Dir1->viewport()->update();
}

void frmBladdra::valjMapp(const QString& mapp) {
    const QModelIndex i = m_modell->index(QDir::cleanPath(mapp));
    if (!i.isValid())
        return;
    Dir1->setCurrentIndex(i);
    oppna(i);
    m_folj = true;
    visaAktuell();
    const int drive = Drive1->findData(QStorageInfo(mapp).rootPath());
    if (drive >= 0)
        Drive1->setCurrentIndex(drive);
}

void frmBladdra::visaAktuell() {
    const QModelIndex i = Dir1->currentIndex();
    if (m_folj && i.isValid())
        Dir1->scrollTo(i, QAbstractItemView::PositionAtCenter);
}

void frmBladdra::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    QTimer::singleShot(0, this, &frmBladdra::visaAktuell);
}

void frmBladdra::hideEvent(QHideEvent* e) {
    m_laddas.reset();
    QDialog::hideEvent(e);
}

bool frmBladdra::eventFilter(QObject* o, QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress: {
        m_folj = false;
        // Enter opens the highlighted folder; it does not press OK.
        const int tangent = static_cast<QKeyEvent*>(e)->key();
        if (o == Dir1 && (tangent == Qt::Key_Return || tangent == Qt::Key_Enter)) {
            oppna(Dir1->currentIndex());
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
        m_folj = false;
        break;
    default:
        break;
    }
    return QDialog::eventFilter(o, e);
}

void frmBladdra::Drive1_Change(int index) {
    const QString rot = Drive1->itemData(index).toString();
    // A volume that has gone away keeps the folder list where it was.
    if (!QFileInfo(rot).isDir() || !QStorageInfo(rot).isReady())
        return;
    valjMapp(rot);
}

QString frmBladdra::tillbakatext(const QString& mapp, const QString& tag) {
    QString text = QDir::toNativeSeparators(mapp);
    if (tag != TaggInstallningar && !text.endsWith(QDir::separator()))
        text += QDir::separator();
    return text;
}

void frmBladdra::cmdNyMapp_Click() {
    // The operator has taken over: whatever is still being read, what he is
    // told next is not told under the hourglass.
    m_laddas.reset();
    const std::optional<QString> svar =
        m_k.m().inmatning(QStringLiteral("Ange namn för ny mapp."), QStringLiteral("Ny mapp"));
    if (!svar)
        return;
    const QString namn = svar->trimmed();
    if (namn.isEmpty())
        return;
    // The names the folder's own file system holds (a USB stick: Windows' rules).
    const QString fel = namnfel(namn, filsystem(m_aktuell));
    if (!fel.isEmpty()) {
        m_k.m().visa(QStringLiteral("Mappen \"%1\" kan inte skapas: %2.").arg(namn, fel),
                     QStringLiteral("Ny mapp"), Meddelanden::Ikon::Kritisk);
        return;
    }
    const QString ny = QDir(m_aktuell).filePath(namn);
    if (QFileInfo::exists(ny) || !QDir().mkdir(ny)) {
        m_k.m().visa(QStringLiteral("Mappen \"%1\" kunde inte skapas.").arg(namn), QStringLiteral("Ny mapp"),
                     Meddelanden::Ikon::Kritisk);
        return;
    }
    // The new folder shows in the list but is not chosen.
    Dir1->expand(m_modell->index(m_aktuell));
}

void frmBladdra::cmdOK_Click() {
    m_laddas.reset();
    if (!m_aktuell.isEmpty()) {
        const QString text =
            m_medAvslut ? tillbakatext(m_aktuell, QString()) : tillbakatext(m_aktuell, TaggInstallningar);
        if (m_lage == Lage::Export) {
            clsIni& ini = m_k.g().iniProgram;
            if (!ini.WriteKey(Ini::Exportkatalog.sektion, Ini::Exportkatalog.nyckel, text)) {
                m_k.m().visa(QStringLiteral("Exportmappen kunde inte sparas.\r\n") + ini.senasteFel(),
                             QStringLiteral("Fel"), Meddelanden::Ikon::Kritisk);
                return;
            }
        }
        emit valt(text);
    }
    close();
}

void frmBladdra::cmdAvbryt_Click() {
    close();
}
