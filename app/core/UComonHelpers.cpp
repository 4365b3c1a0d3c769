// Small routines shared by several forms: HART master settings, the dotted
// address check, the serial port list and the file error reports.
#include "app/core/UComon.h"
#include "app/core/UXmlFile.h"
#include "platform/controls/Dialogs.h"
#include "platform/runtime/SysUtils.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

// The file layer's errors quote the file; the box names it once itself.
void Show_File_Read_Error(const QString& path, const QString& reason)
{
    MessageDlg(QStringLiteral("The file %1 cannot be read: %2").arg(path, File_Error_Reason(reason, path)), mtError,
        TMsgDlgButtons(mbOK), 0);
}

void Show_File_Save_Error(const QString& path, const QString& reason)
{
    MessageDlg(QStringLiteral("Cannot save the file %1: %2").arg(path, File_Error_Reason(reason, path)), mtError,
        TMsgDlgButtons(mbOK), 0);
}

int Is_Secondary_Master(const QString& text)
{
    return UpperCase(Trim(text)) == QLatin1String("SECONDARY MASTER") ? 1 : 0;
}

int Retry_Limit_Index(const QString& text)
{
    const QString t = Trim(text);
    if (t == QLatin1String("5"))
        return 3;
    if (t == QLatin1String("4"))
        return 2;
    if (t == QLatin1String("3"))
        return 1;
    return 0;
}

bool Check_IP_Address(const QString& address, QString& ip1, QString& ip2, QString& ip3, QString& ip4)
{
    QString rest = Trim(address);
    QString* octets[3] = { &ip1, &ip2, &ip3 };
    for (QString* octet : octets) {
        const int dot = rest.indexOf(QLatin1Char('.'));
        if (dot < 0)
            return false;
        *octet = Trim(rest.left(dot));
        rest = Trim(rest.mid(dot + 1));
    }
    ip4 = rest;
    bool ok = true;
    for (const QString* octet : { &ip1, &ip2, &ip3, &ip4 }) {
        int value = 0;
        if (!TryStrToInt(*octet, value))
            value = 1000;
        if (value < 0 || value > 255)
            ok = false;
    }
    return ok;
}

namespace {
// Port numbers on this platform: the built-in serial ports ttyS0.. are 1..64,
// USB serial adapters ttyUSB0.. follow from 65, modem-class devices ttyACM0..
// from 129; 256 ports in all, as on the original system.
struct PortFamily {
    const char* prefix;
    int firstPort;
    int count;
};
constexpr PortFamily Port_Families[]
    = { { "/dev/ttyS", 1, 64 }, { "/dev/ttyUSB", 65, 64 }, { "/dev/ttyACM", 129, 128 } };

bool PortPresent(const QString& device)
{
    const QByteArray path = device.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
        return COM_Port_Open_Means_Present(0);
    }
    return COM_Port_Open_Means_Present(errno);
}
} // namespace

bool COM_Port_Open_Means_Present(int openError)
{
    // A port held by another program is present; one this user may not open
    // is of no use to the update, and a device node without a port behind it
    // (no such device, an I/O error) is not there.
    return openError == 0 || openError == EBUSY;
}

QString COM_Port_Device(int port)
{
    for (const PortFamily& f : Port_Families)
        if (port >= f.firstPort && port < f.firstPort + f.count)
            return QString::fromLatin1(f.prefix) + QString::number(port - f.firstPort);
    return QString();
}

QStringList List_COM_Ports()
{
    QStringList ports;
    for (const PortFamily& f : Port_Families)
        for (int i = 0; i < f.count; ++i) {
            const int port = f.firstPort + i;
            if (PortPresent(COM_Port_Device(port)))
                ports.append(QString::number(port));
        }
    return ports;
}
