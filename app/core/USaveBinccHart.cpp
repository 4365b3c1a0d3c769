// The HART bank image: the enabled rows of the HART variables file as
// records behind one header, each record's command parameter bytes packed
// after the last record.

#include "app/core/USaveBincc.h"

#include "app/core/UComon.h"
#include "app/core/UXmlFile.h"
#include "platform/runtime/SysUtils.h"

#include <cstring>
#include <optional>

namespace {

bool Is_Enabled(const TXmlNode& row)
{
    return row.AttributeOr(QStringLiteral("Enable")) == QLatin1String("Y");
}

bool Is_Yes(const TXmlNode& row, const char* name)
{
    return row.AttributeOr(QLatin1String(name)) == QLatin1String("Y");
}

int Int_Attr(const TXmlNode& row, const char* name, int fallback)
{
    const auto t = row.Attribute(QLatin1String(name));
    int v;
    return t && TryStrToInt(*t, v) ? v : fallback;
}

// The table accepts time-outs up to 0xFFFFFFFF ms, so the text is read as an
// unsigned 32-bit value rather than a signed one, which would lose the upper half.
std::uint32_t TimeOut_Attr(const TXmlNode& row)
{
    const auto t = row.Attribute(QStringLiteral("TimeOut"));
    std::int64_t v;
    if (t && TryStrToInt64(*t, v) && v >= 0 && v <= std::int64_t(0xFFFFFFFF))
        return std::uint32_t(v);
    return 0;
}

int Hex_Digit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

class TBankWriter {
public:
    TBankWriter(QByteArray& buffer, int pos)
        : FBuffer(buffer)
        , FPos(pos)
    {
    }
    void U8(std::uint8_t v) { FBuffer[FPos++] = char(v); }
    void U32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            U8(std::uint8_t(v >> (8 * i)));
    }
    void U64(std::uint64_t v)
    {
        for (int i = 0; i < 8; ++i)
            U8(std::uint8_t(v >> (8 * i)));
    }
    void F32(float f)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        U32(bits);
    }
    void Bytes(const QByteArray& b)
    {
        std::memcpy(FBuffer.data() + FPos, b.constData(), size_t(b.size()));
        FPos += int(b.size());
    }
    int Pos() const { return FPos; }

private:
    QByteArray& FBuffer;
    int FPos;
};

} // namespace

std::uint32_t HART_Var_Type_Value(const QString& text)
{
    if (text == QLatin1String("Var"))
        return 0;
    if (text == QLatin1String("Var Burst"))
        return 1;
    return 2;
}

std::uint32_t HART_Operation_Value(const QString& text)
{
    static const struct {
        const char* Name;
        std::uint32_t Bit;
    } Ops[] = { { "x 10", 8 }, { "x 100", 16 }, { "x 1000", 32 }, { "x 10000", 64 }, { "x 100000", 128 },
        { "x 1000000", 256 } };
    for (const auto& op : Ops)
        if (text == QLatin1String(op.Name))
            return op.Bit;
    return 0;
}

QByteArray Hex_To_Bytes(const QString& text)
{
    QByteArray bytes;
    if (Trim(text).isEmpty())
        return bytes;
    const qsizetype n = text.size() / 2;
    bytes.resize(n);
    for (qsizetype i = 0; i < n; ++i) {
        const int hi = Hex_Digit(text[2 * i].unicode());
        const int lo = Hex_Digit(text[2 * i + 1].unicode());
        bytes[i] = hi < 0 || lo < 0 ? char(0) : char(hi * 16 + lo);
    }
    return bytes;
}

void TSaveBin::Init_HART_Bank()
{
    HART_Bank = THart_Bank();
}

int TSaveBin::Count_HART_Vars(const TXmlNode& hart) const
{
    int count = 0;
    for (const TXmlNode& row : hart.FindChild(QStringLiteral("HART_Variables")).ChildNodes())
        if (row.IsElement() && Is_Enabled(row))
            ++count;
    return count;
}

TBinResult TSaveBin::Read_HART_Variables(std::uint32_t base)
{
    // A missing file gives a bank without variables; a damaged one is never
    // built as a bank of none. An oversized one is refused before it is read.
    const TXmlFileRead read = Read_Xml_File(XML1, File_HART_Variables, HART_Variables_File_Max_Size);
    if (read.State == TXmlFileState::Missing)
        return {};
    if (read.State == TXmlFileState::Damaged)
        return Bin_Read_Failure(File_HART_Variables, read.Reason);
    const TXmlNode hart = XML1.DocumentElement();
    if (hart.NodeName() != QLatin1String("HART"))
        return {};

    HART_Bank.var_number = std::uint32_t(Count_HART_Vars(hart));
    if (HART_Bank.var_number == 0)
        return {};
    HART_Bank.hart_var_place_add = base + HART_Bank_Header_Size;
    std::uint32_t paramsAdd = HART_Bank.hart_var_place_add + HART_Var_Place_Size * HART_Bank.var_number;

    for (const TXmlNode& row : hart.FindChild(QStringLiteral("HART_Variables")).ChildNodes()) {
        if (!row.IsElement() || !Is_Enabled(row))
            continue;
        THart_Var_Place v;
        std::int64_t address = 0;
        if (const auto t = row.Attribute(QStringLiteral("Device_Address")); !t || !TryStrToInt64(*t, address))
            address = 0;
        v.device_address = std::uint64_t(address);
        v.preamble_count = std::uint32_t(Int_Attr(row, "Preamble_Count", 5));
        const auto type = row.Attribute(QStringLiteral("Var_Cmd_Type"));
        v.Var_Type = type ? HART_Var_Type_Value(*type) : 0;
        v.variable_number = std::uint32_t(Int_Attr(row, "Var_Cmd_Number", 0));

        v.params_add = paramsAdd;
        v.params = Hex_To_Bytes(row.AttributeOr(QStringLiteral("Cmd_Params")));
        v.params_length = std::uint32_t(v.params.size());
        paramsAdd += v.params_length;

        v.position = std::uint32_t(Int_Attr(row, "Position", 0));
        if (Is_Yes(row, "ConvInt"))
            v.operation += HART_Op_Conv_Int;
        if (Is_Yes(row, "Swap"))
            v.operation += (v.operation & HART_Op_Conv_Int) ? HART_Op_Swap_Conv_Int : HART_Op_Swap;
        v.operation += HART_Operation_Value(row.AttributeOr(QStringLiteral("Var_Operation")));
        v.TimeOut = TimeOut_Attr(row);
        HART_Bank.hart_var_place.append(v);
    }
    return {};
}

int TSaveBin::Write_HART_Bank(int pos, QByteArray& buffer) const
{
    qsizetype size = HART_Bank_Header_Size + qsizetype(HART_Var_Place_Size) * HART_Bank.hart_var_place.size();
    for (const THart_Var_Place& v : HART_Bank.hart_var_place)
        size += v.params.size();
    if (buffer.size() < pos + size)
        buffer.resize(pos + size);

    TBankWriter w(buffer, pos);
    w.U32(HART_Bank.var_number);
    w.U32(HART_Bank.hart_var_place_add);
    w.U32(HART_Bank.routing_rules_number);
    w.U32(HART_Bank.routing_rules_add);
    w.U32(HART_Bank.Hart_type);
    w.U64(HART_Bank.address);
    w.U32(HART_Bank.retry_limit);
    w.U32(HART_Bank.slave_info_address);
    for (const THart_Var_Place& v : HART_Bank.hart_var_place) {
        w.U64(v.device_address);
        w.U32(v.preamble_count);
        w.U32(v.Var_Type);
        w.U32(v.variable_number);
        for (int i = 0; i < 3; ++i)
            w.U8(std::uint8_t(v.variable_transducer_serial_number >> (8 * i)));
        w.U8(v.variable_limits);
        w.F32(v.variable_upper_range);
        w.F32(v.variable_lower_range);
        w.F32(v.variable_upper_transducer_limit);
        w.F32(v.variable_lower_transducer_limit);
        w.F32(v.variable_damping_value);
        w.F32(v.variable_minimum_span);
        w.U32(v.TimeOut);
        w.U8(v.variable_units);
        w.U8(v.variable_classification);
        w.U8(v.variable_family);
        w.U8(v.variable_properties);
        w.U8(v.variable_status);
        for (std::uint8_t s : v.spare)
            w.U8(s);
        w.U32(v.params_add);
        w.U32(v.params_length);
        w.U32(v.position);
        w.U32(v.operation);
    }
    for (const THart_Var_Place& v : HART_Bank.hart_var_place)
        w.Bytes(v.params);
    return w.Pos();
}
