// Reads arbitrary bytes as the settings file Morvantile.xml, as the start-up
// does. A file that reads gives values that survive a write and a read back;
// one that does not read gives exactly the defaults of a first start.

#include "app/core/UComon.h"
#include "app/core/USettings.h"
#include "fuzz/FuzzSupport.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/XmlDom.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <tuple>

namespace {

auto Values()
{
    return std::make_tuple(Project_Name, Last_IP_Address, Language_Name, Opt_Enable_Internet, Opt_Enable_Update,
        Opt_Jump_Field_Tables, Opt_Dbl_Click_Auto_Size);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return Fuzz_Default_Max_Len(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString& folder = Fuzz_Temp_Folder("settings");
    Program_Folder = folder;
    if (!SaveFileAtomic(Settings_File_Name(), QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))))
        std::abort();

    TXmlDocument xml;
    const TXmlFileRead read = Read_Settings(xml);
    if (!Project_Folder.isEmpty())
        std::abort();
    if (read.State == TXmlFileState::Missing)
        std::abort();
    if (read.State == TXmlFileState::Damaged) {
        const auto got = Values();
        Default_Settings();
        if (got != Values())
            std::abort();
        return 0;
    }

    // What was read is written back and reads the same.
    const auto first = Values();
    if (!Write_Settings(xml))
        std::abort();
    TXmlDocument again;
    if (Read_Settings(again).State != TXmlFileState::Loaded || Values() != first)
        std::abort();
    return 0;
}
