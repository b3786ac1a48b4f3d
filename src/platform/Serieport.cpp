#include "platform/Serieport.h"

#include "platform/clsIni.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPort>

#include <cerrno>
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
        return QStringLiteral("Porten klarar inte inställningarna 9600,N,8,1");
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

std::optional<Serieportfel> oppnaSerieport(QSerialPort& port, const QString& enhet) {
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
    const bool satt = port.setBaudRate(9600) && port.setDataBits(QSerialPort::Data8) &&
                      port.setParity(QSerialPort::NoParity) && port.setStopBits(QSerialPort::OneStop) &&
                      port.setFlowControl(QSerialPort::NoFlowControl);
    if (!satt) {
        Serieportfel f = serieportfel(port);
        port.close();
        return f;
    }
    return std::nullopt;
}
