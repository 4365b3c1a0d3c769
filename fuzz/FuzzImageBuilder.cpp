// Builds the configuration images from an arbitrary parameter file or HART
// variables file (the first byte says which; the other file is missing), as
// Update Device does. A build either fails with the file named, or gives a
// 2048-byte parameter block with its checksum and a HART bank whose records
// point at their own parameter bytes and fit the device bank.

#include "app/core/UComon.h"
#include "app/core/USaveBincc.h"
#include "fuzz/FuzzSupport.h"
#include "platform/runtime/FileUtils.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

std::uint32_t Le32(const QByteArray& b, qsizetype offset)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | std::uint8_t(b[offset + i]);
    return v;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return Fuzz_Default_Max_Len(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QString& folder = Fuzz_Temp_Folder("bank");
    Project_Folder = folder;
    Set_Project_Files();
    const bool parGen = data[0] & 1;
    DeleteFile(File_ParGen);
    DeleteFile(File_HART_Variables);
    const QString file = parGen ? File_ParGen : File_HART_Variables;
    if (!SaveFileAtomic(file, QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1))))
        std::abort();

    static TSaveBin builder;
    const TBinResult r = builder.Build_Bin();
    if (!r) {
        if (r.Failure == TBinFailure::Read && (r.File != file || r.Reason.isEmpty()))
            std::abort();
        if (r.Failure != TBinFailure::Read && (parGen || r.Failure != TBinFailure::Other))
            std::abort();
        return 0;
    }

    if (builder.Bank1_Size != Par_Block_Size || builder.Bank1_Buffer.size() != Par_Block_Size)
        std::abort();
    std::uint32_t sum = 0;
    for (int i = 0; i < Par_Block_Checksum_Offset; ++i)
        sum += std::uint8_t(builder.Bank1_Buffer[i]);
    if (Le32(builder.Bank1_Buffer, Par_Block_Checksum_Offset) != sum)
        std::abort();

    const QByteArray bank = builder.Bank2_Buffer.left(builder.Bank2_Size);
    if (bank.size() > Bank2_Capacity || bank.size() < HART_Bank_Header_Size)
        std::abort();
    const std::uint32_t n = Le32(bank, 0);
    qint64 end = HART_Bank_Header_Size + qint64(HART_Var_Place_Size) * n;
    std::uint32_t next = HART_Bank_Device_Address + std::uint32_t(end);
    for (std::uint32_t i = 0; i < n; ++i) {
        const qint64 record = HART_Bank_Header_Size + qint64(HART_Var_Place_Size) * i;
        if (record + HART_Var_Place_Size > bank.size() || Le32(bank, record + 60) != next)
            std::abort();
        const std::uint32_t length = Le32(bank, record + 64);
        next += length;
        end += length;
    }
    if (end != bank.size())
        std::abort();
    return 0;
}
