#pragma once
// The configuration image builder: compiles the active project into the two
// images the update program writes into the converter, bin/bank1.bin (the
// 2048-byte parameter block, loaded at 0x07000) and bin/bank2.bin (the HART
// bank, loaded at 0x80000). Everything is little-endian.

#include "platform/runtime/FileUtils.h"
#include "platform/runtime/XmlDom.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

// Sizes and device addresses of the images.
inline constexpr int Par_Block_Size = 2048;
inline constexpr int Par_Block_Checksum_Offset = 2044;
inline constexpr int Bank2_Capacity = 524288;
inline constexpr std::uint32_t HART_Bank_Device_Address = 0x80000;
inline constexpr std::uint32_t Web_Pages_Device_Address = 0xC0000;
inline constexpr int HART_Bank_Header_Size = 36;
inline constexpr int HART_Var_Place_Size = 76;

// One HART variable or command the converter's HART master polls.
struct THart_Var_Place {
    std::uint64_t device_address = 0;
    std::uint32_t preamble_count = 0;
    std::uint32_t Var_Type = 0; // 0 variable, 1 burst variable, 2 command
    std::uint32_t variable_number = 0;
    std::uint32_t variable_transducer_serial_number = 0; // low 24 bits are written
    std::uint8_t variable_limits = 0;
    float variable_upper_range = 0;
    float variable_lower_range = 0;
    float variable_upper_transducer_limit = 0;
    float variable_lower_transducer_limit = 0;
    float variable_damping_value = 0;
    float variable_minimum_span = 0;
    std::uint32_t TimeOut = 0;
    std::uint8_t variable_units = 0;
    std::uint8_t variable_classification = 0;
    std::uint8_t variable_family = 0;
    std::uint8_t variable_properties = 0;
    std::uint8_t variable_status = 0;
    std::array<std::uint8_t, 3> spare {};
    std::uint32_t params_add = 0; // device address of this record's params bytes
    QByteArray params;
    std::uint32_t params_length = 0;
    std::uint32_t position = 0; // index in the converter's data array
    std::uint32_t operation = 0; // swap, integer conversion and multiplier bits
};

// Header of the HART bank and its variable list.
struct THart_Bank {
    std::uint32_t var_number = 0;
    std::uint32_t hart_var_place_add = 0;
    QList<THart_Var_Place> hart_var_place;
    std::uint32_t routing_rules_number = 0;
    std::uint32_t routing_rules_add = 0;
    std::uint32_t Hart_type = 1;
    std::uint64_t address = 0; // HART master address: 1 whenever the parameter file exists
    std::uint32_t retry_limit = 0; // 0..3 for retry limits 2..5
    std::uint32_t slave_info_address = 0;
};

// What went wrong in a build or a save.
enum class TBinFailure {
    None,
    Read, // a project file is there but cannot be read
    Save, // an image file cannot be written
    Other
};

// Outcome of a build or a save. File and Reason say which file failed and
// why, for the main window's report; Message is the whole text.
struct TBinResult {
    bool Ok = true;
    QString Message;
    TBinFailure Failure = TBinFailure::None;
    QString File;
    QString Reason;
    explicit operator bool() const { return Ok; }
};

// Failures of reading a project file and of writing an image file.
TBinResult Bin_Read_Failure(const QString& file, const QString& reason);
TBinResult Bin_Save_Failure(const QString& file, const QString& reason);

// The largest HART variables file the builder reads. A table that fills the
// device's HART bank takes about 2 MB of XML; the rest is room for disabled
// rows and long descriptions.
inline constexpr qint64 HART_Variables_File_Max_Size = 16 * 1024 * 1024;

// `operation` bits of a HART variable.
inline constexpr std::uint32_t HART_Op_Swap = 1;
inline constexpr std::uint32_t HART_Op_Conv_Int = 2;
inline constexpr std::uint32_t HART_Op_Swap_Conv_Int = 4;

// "Var" 0, "Var Burst" 1, any other text 2 (a command).
std::uint32_t HART_Var_Type_Value(QUtf8StringView text);
// "x 10" 8, "x 100" 16 ... "x 1000000" 256; any other text 0.
std::uint32_t HART_Operation_Value(QUtf8StringView text);
// Command parameter bytes from their hexadecimal text: consecutive pairs from
// the first character, as typed; a pair that is not two hexadecimal digits
// gives 0, a trailing odd character is dropped, a blank text gives nothing.
QByteArray Hex_To_Bytes(const QString& text);

// The builder's state lives from one build to the next; every build starts
// from the defaults, so nothing of an earlier project leaks into the next one.
class TSaveBin {
public:
    // Compiles the active project (File_ParGen, File_HART_Variables) into the
    // two buffers. A missing file gives the defaults; one that is there but
    // cannot be read fails the build, as does a HART bank larger than the
    // device bank.
    TBinResult Build_Bin();
    // Writes both buffers into Project_Folder/bin, each atomically, making the
    // bin folder again when it is gone. After a failed or missing build
    // nothing is written.
    TBinResult Save_Bin();

    // The build steps, in the order Build_Banks runs them.
    TBinResult Build_Banks();
    void Init_Par_Block();
    void Init_HART_Bank();
    TBinResult Read_Par_Gen();
    void Set_SW_Version();
    TBinResult Read_HART_Variables(std::uint32_t base);
    int Copy_Par_Block();
    int Write_HART_Bank(int pos, QByteArray& buffer) const;
    TBinResult Save_Banks();

    std::array<std::uint8_t, Par_Block_Size> ParameterBlock {};
    THart_Bank HART_Bank;
    QByteArray Bank1_Buffer; // the bytes of bank1.bin
    QByteArray Bank2_Buffer; // the bytes of bank2.bin
    int Bank1_Size = 0;
    int Bank2_Size = 0;

    // The builder's XML document; it is left holding the last file loaded.
    TXmlDocument XML1;

    // Writes one image file whole or not at all.
    std::function<TSaveResult(const QString& path, const QByteArray& bytes)> Write_File = SaveFileAtomic;

    std::uint32_t Block32(int offset) const;
    void SetBlock32(int offset, std::uint32_t value);
    void SetBlock16(int offset, std::uint16_t value);

private:
    bool FBuilt = false;
};

// The program-wide builder that the main window's Update Device action uses:
// Build_Bin, then Save_Bin, and the update dialog only when both succeeded.
TSaveBin& Bin_Builder();
TBinResult Build_Bin();
TBinResult Save_Bin();
