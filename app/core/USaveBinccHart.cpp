// The HART bank image: the enabled rows of the HART variables file as
// records behind one header, each record's command parameter bytes packed
// after the last record.

#include "app/core/USaveBincc.h"

#include "app/core/UComon.h"
#include "app/core/UXmlFile.h"
#include "platform/runtime/SysUtils.h"

#include <QtEndian>

#include <array>
#include <cstring>
#include <optional>

namespace {

// The attributes of a row the bank takes, as the file holds them, read in
// one walk over the row; a missing one has no value.
enum TRow_Attr {
    Enable,
    Device_Address,
    Preamble_Count,
    Var_Cmd_Type,
    Var_Cmd_Number,
    Cmd_Params,
    Position,
    Swap,
    ConvInt,
    Var_Operation,
    TimeOut,
    Row_Attr_Count
};
using TRow = std::array<std::optional<QUtf8StringView>, Row_Attr_Count>;

TRow Read_Row(const TXmlNode& row)
{
    static const char* const Names[Row_Attr_Count] = { "Enable", "Device_Address", "Preamble_Count", "Var_Cmd_Type",
        "Var_Cmd_Number", "Cmd_Params", "Position", "Swap", "ConvInt", "Var_Operation", "TimeOut" };
    TRow r;
    row.AttributesUtf8(Names, r);
    return r;
}

bool Is_Yes(const std::optional<QUtf8StringView>& value)
{
    return value == QUtf8StringView("Y");
}

// A number's text for the program's number parser. ASCII, as every number
// is, is widened into `buffer` rather than copied to the heap; other text is
// read through the document as any attribute is.
std::optional<QString> Number_Text(const TXmlNode& row, const QString& name,
    const std::optional<QUtf8StringView>& value, std::array<char16_t, 32>& buffer)
{
    if (!value)
        return std::nullopt;
    const qsizetype n = value->size();
    if (n <= qsizetype(buffer.size())) {
        const char* p = value->data();
        qsizetype i = 0;
        for (; i < n && static_cast<unsigned char>(p[i]) < 0x80; ++i)
            buffer[size_t(i)] = char16_t(p[i]);
        if (i == n)
            return QString::fromRawData(reinterpret_cast<const QChar*>(buffer.data()), n);
    }
    return row.Attribute(name);
}

int Int_Attr(const TXmlNode& row, const QString& name, const std::optional<QUtf8StringView>& value, int fallback)
{
    std::array<char16_t, 32> buffer;
    const auto t = Number_Text(row, name, value, buffer);
    int v;
    return t && TryStrToInt(*t, v) ? v : fallback;
}

// The table accepts time-outs up to 0xFFFFFFFF ms, so the text is read as an
// unsigned 32-bit value rather than a signed one, which would lose the upper half.
std::uint32_t TimeOut_Attr(const TXmlNode& row, const std::optional<QUtf8StringView>& value)
{
    std::array<char16_t, 32> buffer;
    const auto t = Number_Text(row, QStringLiteral("TimeOut"), value, buffer);
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

// Writes into a buffer already sized for everything written.
class TBankWriter {
public:
    TBankWriter(QByteArray& buffer, int pos)
        : FData(buffer.data())
        , FPos(pos)
    {
    }
    void U8(std::uint8_t v) { FData[FPos++] = char(v); }
    void U32(std::uint32_t v)
    {
        qToLittleEndian(v, FData + FPos);
        FPos += 4;
    }
    void U64(std::uint64_t v)
    {
        qToLittleEndian(v, FData + FPos);
        FPos += 8;
    }
    void F32(float f)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        U32(bits);
    }
    void Bytes(const QByteArray& b)
    {
        std::memcpy(FData + FPos, b.constData(), size_t(b.size()));
        FPos += int(b.size());
    }
    int Pos() const { return FPos; }

private:
    char* FData;
    int FPos;
};

} // namespace

std::uint32_t HART_Var_Type_Value(QUtf8StringView text)
{
    if (text == QUtf8StringView("Var"))
        return 0;
    if (text == QUtf8StringView("Var Burst"))
        return 1;
    return 2;
}

std::uint32_t HART_Operation_Value(QUtf8StringView text)
{
    static const char* const Ops[] = { "x 10", "x 100", "x 1000", "x 10000", "x 100000", "x 1000000" };
    for (int i = 0; i < 6; ++i)
        if (text == QUtf8StringView(Ops[i]))
            return 8u << i;
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

    // One walk over the rows: each record's parameter address is known once
    // the number of records is.
    QList<THart_Var_Place>& vars = HART_Bank.hart_var_place;
    const TXmlNode rows = hart.FindChild(QStringLiteral("HART_Variables"));
    vars.reserve(rows.ChildCount());
    for (TXmlNode row = rows.FirstChild(); row; row = row.NextSibling()) {
        if (!row.IsElement())
            continue;
        const TRow r = Read_Row(row);
        if (!Is_Yes(r[Enable]))
            continue;
        THart_Var_Place& v = vars.emplace_back();
        std::int64_t address = 0;
        std::array<char16_t, 32> buffer;
        if (const auto t = Number_Text(row, QStringLiteral("Device_Address"), r[Device_Address], buffer);
            !t || !TryStrToInt64(*t, address))
            address = 0;
        v.device_address = std::uint64_t(address);
        v.preamble_count = std::uint32_t(Int_Attr(row, QStringLiteral("Preamble_Count"), r[Preamble_Count], 5));
        v.Var_Type = r[Var_Cmd_Type] ? HART_Var_Type_Value(*r[Var_Cmd_Type]) : 0;
        v.variable_number = std::uint32_t(Int_Attr(row, QStringLiteral("Var_Cmd_Number"), r[Var_Cmd_Number], 0));

        if (r[Cmd_Params] && !r[Cmd_Params]->isEmpty())
            v.params = Hex_To_Bytes(row.AttributeOr(QStringLiteral("Cmd_Params")));
        v.params_length = std::uint32_t(v.params.size());

        v.position = std::uint32_t(Int_Attr(row, QStringLiteral("Position"), r[Position], 0));
        if (Is_Yes(r[ConvInt]))
            v.operation += HART_Op_Conv_Int;
        if (Is_Yes(r[Swap]))
            v.operation += (v.operation & HART_Op_Conv_Int) ? HART_Op_Swap_Conv_Int : HART_Op_Swap;
        v.operation += HART_Operation_Value(r[Var_Operation].value_or(QUtf8StringView()));
        v.TimeOut = TimeOut_Attr(row, r[TimeOut]);
    }
    HART_Bank.var_number = std::uint32_t(vars.size());
    if (vars.isEmpty())
        return {};
    HART_Bank.hart_var_place_add = base + HART_Bank_Header_Size;
    std::uint32_t paramsAdd = HART_Bank.hart_var_place_add + HART_Var_Place_Size * HART_Bank.var_number;
    for (THart_Var_Place& v : vars) {
        v.params_add = paramsAdd;
        paramsAdd += v.params_length;
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
