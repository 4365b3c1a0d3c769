// Arbitrary bytes as the project's ParGen.xml, the GSDML document written
// into memory: the writer refuses (an unreadable file or a value out of
// range), or gives a document that parses, carries the station name and the
// lengths it read, and holds no character XML 1.0 forbids.

#include "app/tables/UProfinetXML.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/XmlDom.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TXmlDocument par;
    if (!par.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))))
        return 0;
    const TPROFINET_Parameters p = PROFINET_Parameters_Of(par.DocumentElement());
    QByteArray bytes;
    try {
        bytes = PROFINET_XML_Bytes(p);
    } catch (const Exception&) {
        return 0;
    }
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
            std::abort();
    TXmlDocument doc;
    if (!doc.LoadFromBytes(bytes))
        std::abort();
    const TXmlNode dap = doc.DocumentElement()
                             .FindChild(QStringLiteral("ProfileBody"))
                             .FindChild(QStringLiteral("ApplicationProcess"))
                             .FindChild(QStringLiteral("DeviceAccessPointList"))
                             .FindChild(QStringLiteral("DeviceAccessPointItem"));
    if (dap.AttributeOr(QStringLiteral("ImplementationType")) != p.Station_Name
        || dap.AttributeOr(QStringLiteral("DNS_CompatibleName")) != p.Station_Name)
        std::abort();
    if (p.Input_Length < 1 || p.Input_Length > GSDML_Max_Length || p.Output_Length < 1
        || p.Output_Length > GSDML_Max_Length)
        std::abort();
    const QByteArray lengths = "<Input><DataItem DataType=\"OctetString\" Length=\""
        + QByteArray::number(p.Input_Length) + "\" TextId=\"IDT_Input_1\"/></Input>";
    if (!bytes.contains(lengths))
        std::abort();
    return 0;
}
