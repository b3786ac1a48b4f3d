#include "platform/Serieport.h"

#include "platform/clsIni.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPort>

#include <cerrno>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

QString serieportEnhet(int nummer, const clsIni& programIni) {
    if (nummer < 1)
        return {};
    const QString satt =
        programIni.GetKeyValue(SerieportarSektion, QStringLiteral("COM%1").arg(nummer), QString()).trimmed();
    if (!satt.isEmpty())
        return satt;
    return QStringLiteral("/dev/ttyS%1").arg(nummer - 1);
}

namespace {

// What the kernel says of a character device: only a tty is a serial port,
// and a UART port whose type is 0 (unknown) has nothing behind it. The kernel
// makes a ttyS node for every port it might have; opening one without a UART
// works and then every read and write fails, so it is told apart here. Devices
// the kernel lists nowhere (the ptys of a simulated cable) count as ports.
bool kanInteVaraSerieport(dev_t enhet) {
    const QString sys = QStringLiteral("/sys/dev/char/%1:%2/").arg(major(enhet)).arg(minor(enhet));
    if (!QFileInfo::exists(sys))
        return false;
    if (!QFileInfo(sys + QStringLiteral("subsystem")).canonicalFilePath().endsWith(QLatin1String("/tty")))
        return true;
    QFile typ(sys + QStringLiteral("type"));
    return typ.open(QIODevice::ReadOnly) && typ.readAll().trimmed() == "0";
}

bool atkomstNekad(const QString& enhet) {
    return ::access(QFile::encodeName(enhet).constData(), R_OK | W_OK) != 0 &&
           (errno == EACCES || errno == EPERM);
}

QString beskrivning(QSerialPort::SerialPortError fel) {
    switch (fel) {
    case QSerialPort::PermissionError:
        return QStringLiteral("Porten används av ett annat program");
    case QSerialPort::OpenError:
        return QStringLiteral("Porten är redan öppen");
    case QSerialPort::WriteError:
        return QStringLiteral("Det gick inte att skriva till porten");
    case QSerialPort::ReadError:
        return QStringLiteral("Det gick inte att läsa från porten");
    case QSerialPort::ResourceError:
        return QStringLiteral("Porten försvann (är kabeln eller adaptern utdragen?)");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("Porten klarar inte inställningarna");
    case QSerialPort::NotOpenError:
        return QStringLiteral("Porten är inte öppen");
    case QSerialPort::TimeoutError:
        return QStringLiteral("Porten svarade inte i tid");
    default:
        return QStringLiteral("Okänt fel på porten");
    }
}

} // namespace

Serieportlage serieportLage(const QString& enhet) {
    if (enhet.isEmpty())
        return Serieportlage::Saknas;
    struct stat st {};
    if (::stat(QFile::encodeName(enhet).constData(), &st) != 0)
        return errno == EACCES ? Serieportlage::Nekad : Serieportlage::Saknas;
    if (!S_ISCHR(st.st_mode) || kanInteVaraSerieport(st.st_rdev))
        return Serieportlage::Saknas;
    if (atkomstNekad(enhet))
        return Serieportlage::Nekad;
    return Serieportlage::Finns;
}

Serieportfel serieportfel(const QSerialPort& port) {
    Serieportfel f;
    f.nummer = static_cast<int>(port.error());
    f.beskrivning = beskrivning(port.error());
    // The system's own words help whoever has to find the fault.
    if (!port.errorString().isEmpty())
        f.beskrivning += QStringLiteral(" (%1)").arg(port.errorString());
    return f;
}

std::optional<Serieinstallningar> tolkaSerieinstallningar(const QString& text) {
    const QStringList delar = text.split(QLatin1Char(','));
    if (delar.size() != 4)
        return std::nullopt;
    Serieinstallningar s;
    bool ok = false;
    s.hastighet = delar[0].trimmed().toInt(&ok);
    if (!ok || s.hastighet <= 0)
        return std::nullopt;

    const QString paritet = delar[1].trimmed().toUpper();
    if (paritet == QLatin1String("N"))
        s.paritet = QSerialPort::NoParity;
    else if (paritet == QLatin1String("E"))
        s.paritet = QSerialPort::EvenParity;
    else if (paritet == QLatin1String("O"))
        s.paritet = QSerialPort::OddParity;
    else if (paritet == QLatin1String("M"))
        s.paritet = QSerialPort::MarkParity;
    else if (paritet == QLatin1String("S"))
        s.paritet = QSerialPort::SpaceParity;
    else
        return std::nullopt;

    const QString data = delar[2].trimmed();
    if (data == QLatin1String("5"))
        s.databitar = QSerialPort::Data5;
    else if (data == QLatin1String("6"))
        s.databitar = QSerialPort::Data6;
    else if (data == QLatin1String("7"))
        s.databitar = QSerialPort::Data7;
    else if (data == QLatin1String("8"))
        s.databitar = QSerialPort::Data8;
    else
        return std::nullopt;

    const QString stopp = delar[3].trimmed();
    if (stopp == QLatin1String("1"))
        s.stoppbitar = QSerialPort::OneStop;
    else if (stopp == QLatin1String("1.5"))
        s.stoppbitar = QSerialPort::OneAndHalfStop;
    else if (stopp == QLatin1String("2"))
        s.stoppbitar = QSerialPort::TwoStop;
    else
        return std::nullopt;
    return s;
}

std::optional<Serieportfel> oppnaSerieport(QSerialPort& port, const QString& enhet,
                                           const QString& installningar) {
    const auto linje = tolkaSerieinstallningar(installningar);
    if (!linje)
        return Serieportfel{Serieportlage::Finns, static_cast<int>(QSerialPort::UnsupportedOperationError),
                            beskrivning(QSerialPort::UnsupportedOperationError) +
                                QStringLiteral(" \"%1\"").arg(installningar)};
    const Serieportlage lage = serieportLage(enhet);
    if (lage != Serieportlage::Finns)
        return Serieportfel{lage, 0, {}};
    port.setPortName(enhet);
    if (!port.open(QIODevice::ReadWrite)) {
        if (port.error() == QSerialPort::DeviceNotFoundError)
            return Serieportfel{Serieportlage::Saknas, 0, {}};
        // The port's own lock file refused says the same as a denied device;
        // only the device's rights make it a matter for the administrator.
        if (port.error() == QSerialPort::PermissionError && atkomstNekad(enhet))
            return Serieportfel{Serieportlage::Nekad, 0, {}};
        return serieportfel(port);
    }
    const bool satt = port.setBaudRate(linje->hastighet) && port.setDataBits(linje->databitar) &&
                      port.setParity(linje->paritet) && port.setStopBits(linje->stoppbitar) &&
                      port.setFlowControl(QSerialPort::NoFlowControl);
    if (!satt) {
        Serieportfel f = serieportfel(port);
        // Which line it could not take, before the system's own words.
        if (port.error() == QSerialPort::UnsupportedOperationError)
            f.beskrivning.insert(beskrivning(QSerialPort::UnsupportedOperationError).size(),
                                 QStringLiteral(" \"%1\"").arg(installningar));
        port.close();
        return f;
    }
    return std::nullopt;
}

std::optional<Serieportfel> oppnaSerieport(QSerialPort& port, const QString& enhet) {
    return oppnaSerieport(port, enhet, StandardSerieinstallningar);
}

qint64 vantandeByte(const QSerialPort& port) {
    int antal = 0;
    if (!port.isOpen() || ::ioctl(port.handle(), FIONREAD, &antal) != 0)
        return 0;
    return antal;
}
