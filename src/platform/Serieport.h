#pragma once

#include <QSerialPort>
#include <QString>
#include <optional>

class clsIni;

// The serial ports of the machine as the program knows them: a port number
// (COM1, COM2 ... as the operator and the competition INI name them) and the
// device behind it.

// The program INI's section that names the device of a port number when it is
// not the usual one, for example a USB adapter: [Serieportar] COM3=/dev/ttyUSB0.
inline const QString SerieportarSektion = QStringLiteral("Serieportar");

// The device of port number nummer: the program INI's Serieportar/COM<n> when
// it is set, else /dev/ttyS<n-1>; "" for a number below 1.
QString serieportEnhet(int nummer, const clsIni& programIni);

// Whether a device can be used as a serial port.
enum class Serieportlage {
    Finns,
    // No such device, no character device, or a ttyS node with no UART behind it.
    Saknas,
    // The device is there but this user may not open it.
    Nekad,
};
Serieportlage serieportLage(const QString& enhet);

// Why a serial port could not be opened or stopped working.
struct Serieportfel {
    Serieportlage lage = Serieportlage::Finns; // Finns: some other failure, see nummer
    int nummer = 0;
    QString beskrivning;
};

// The line of a port as the competition INI writes it, "9600,N,8,1": speed,
// parity (N none, E even, O odd, M mark, S space), data bits (5 to 8) and stop
// bits (1, 1.5 or 2).
struct Serieinstallningar {
    qint32 hastighet = 9600;
    QSerialPort::Parity paritet = QSerialPort::NoParity;
    QSerialPort::DataBits databitar = QSerialPort::Data8;
    QSerialPort::StopBits stoppbitar = QSerialPort::OneStop;
};
inline const QString StandardSerieinstallningar = QStringLiteral("9600,N,8,1");
// Nothing when the text is not such a line.
std::optional<Serieinstallningar> tolkaSerieinstallningar(const QString& text);

// Opens the device for reading and writing with the line of the settings text,
// no handshake. Nothing when it worked. A text that is no line, or a line the
// device cannot take, is a failure of its own (UnsupportedOperationError).
std::optional<Serieportfel> oppnaSerieport(QSerialPort& port, const QString& enhet,
                                           const QString& installningar);
// The same at 9600 baud, no parity, 8 data bits, 1 stop bit ("9600,N,8,1").
std::optional<Serieportfel> oppnaSerieport(QSerialPort& port, const QString& enhet);

// The failure the port reports now, as a number and a Swedish description.
Serieportfel serieportfel(const QSerialPort& port);

// Bytes the system holds for an open port that the port has not taken in yet
// (its read notification is still to come); 0 when none or not known.
qint64 vantandeByte(const QSerialPort& port);
