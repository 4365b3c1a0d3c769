// The column stream: the items of a column grid as a text that names its
// container class, then each item with its stored properties by name, in
// published order. Properties at their defaults, empty texts and lists and
// references are left out, as a form definition leaves them out.
//
//   TExColumnGridIO
//   item
//   Alignment=1
//   Header="Price"
//   ComboItems.Strings=["A","B"]
//   end
//
// The reader takes the whole text before it touches the grid: a text that is
// not a column stream leaves the items as they were.
#include "controls/grid/ExColumnGrid.h"

#include "platform/graphics/Graphics.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"

#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace {

const QString IOClass = QStringLiteral("TExColumnGridIO");
// A column stream of a real grid is far below both.
constexpr qint64 MaxStreamBytes = 16 * 1024 * 1024;
constexpr int MaxItems = 65536;

QString Quote(const QString& s)
{
    QString out = QStringLiteral("\"");
    for (const QChar ch : s) {
        if (ch == QLatin1Char('\\') || ch == QLatin1Char('"'))
            out += QLatin1Char('\\') + ch;
        else if (ch == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (ch == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else
            out += ch;
    }
    return out + QLatin1Char('"');
}

// Reads one quoted text at Pos; false when there is none.
bool Unquote(const QString& s, int& Pos, QString& Out)
{
    if (Pos >= s.size() || s[Pos] != QLatin1Char('"'))
        return false;
    Out.clear();
    for (++Pos; Pos < s.size(); ++Pos) {
        const QChar ch = s[Pos];
        if (ch == QLatin1Char('"')) {
            ++Pos;
            return true;
        }
        if (ch == QLatin1Char('\\')) {
            if (++Pos >= s.size())
                return false;
            const QChar e = s[Pos];
            Out += e == QLatin1Char('n') ? QChar(u'\n') : e == QLatin1Char('r') ? QChar(u'\r') : e;
        } else {
            Out += ch;
        }
    }
    return false;
}

bool ParseString(const QString& v, QString& Out)
{
    int pos = 0;
    return Unquote(v, pos, Out) && pos == v.size();
}

bool ParseList(const QString& v, QStringList& Out)
{
    Out.clear();
    if (v.size() < 2 || v.front() != QLatin1Char('[') || v.back() != QLatin1Char(']'))
        return false;
    int pos = 1;
    if (v.size() == 2)
        return true;
    for (;;) {
        QString s;
        if (!Unquote(v, pos, s))
            return false;
        Out.append(s);
        if (pos < v.size() && v[pos] == QLatin1Char(','))
            ++pos;
        else
            return pos == v.size() - 1;
    }
}

bool ParseInt(const QString& v, qint64 Min, qint64 Max, int& Out)
{
    bool ok = false;
    const qint64 n = v.toLongLong(&ok); // C locale, not the user's
    if (!ok || n < Min || n > Max)
        return false;
    Out = int(n);
    return true;
}

QString ListText(const TStrings* l)
{
    QString out = QStringLiteral("[");
    for (int i = 0; i < l->Count(); ++i) {
        if (i)
            out += QLatin1Char(',');
        out += Quote(l->Strings(i));
    }
    return out + QLatin1Char(']');
}

constexpr int EditorCount = int(TEditorType::edMaskEditBtn) + 1;
constexpr int SortStyleCount = int(TSortStyle::ssAlphaNumericNoCase) + 1;
constexpr int PopupTypeCount = int(TColumnPopupType::cpAllCellsLClick) + 1;

// One stored property: how it is written (nothing when at its default) and read.
struct TProp {
    const char* Name;
    std::function<QString(const TGridColumnItem&)> Write;
    std::function<bool(TGridColumnItem&, const QString&)> Read;
};

template <class Get, class Set> TProp IntProp(const char* Name, int Def, qint64 Min, qint64 Max, Get get, Set set)
{
    return { Name, [=](const TGridColumnItem& i) { return get(i) == Def ? QString() : QString::number(get(i)); },
        [=](TGridColumnItem& i, const QString& v) {
            int n = 0;
            if (!ParseInt(v, Min, Max, n))
                return false;
            set(i, n);
            return true;
        } };
}

// Always written (the form definitions store them whatever their value).
template <class Get, class Set> TProp AlwaysInt(const char* Name, qint64 Min, qint64 Max, Get get, Set set)
{
    TProp p = IntProp(Name, 0, Min, Max, get, set);
    p.Write = [=](const TGridColumnItem& i) { return QString::number(get(i)); };
    return p;
}

template <class Get, class Set> TProp StrProp(const char* Name, Get get, Set set)
{
    return { Name, [=](const TGridColumnItem& i) { return get(i).isEmpty() ? QString() : Quote(get(i)); },
        [=](TGridColumnItem& i, const QString& v) {
            QString s;
            if (!ParseString(v, s))
                return false;
            set(i, s);
            return true;
        } };
}

template <class Get> TProp ListProp(const char* Name, Get get)
{
    return { Name, [=](const TGridColumnItem& i) { return get(i)->Count() ? ListText(get(i)) : QString(); },
        [=](TGridColumnItem& i, const QString& v) {
            QStringList l;
            if (!ParseList(v, l))
                return false;
            TStrings* target = get(i);
            target->BeginUpdate();
            target->Clear();
            for (const QString& s : l)
                target->Add(s);
            target->EndUpdate();
            return true;
        } };
}

// A font's sub-properties, each written when it differs from a new font's.
void FontProps(std::vector<TProp>& Out, const char* Prefix, TFont* (TGridColumnItem::*Font)() const)
{
    static const TFont plain;
    const std::string p(Prefix);
    // The names live as long as the table.
    static std::deque<std::string> names;
    auto name = [](const std::string& s) { return names.emplace_back(s).c_str(); };
    Out.push_back(IntProp(
        name(p + ".Color"), int(plain.Color()), INT32_MIN, INT32_MAX,
        [=](const TGridColumnItem& i) { return int((i.*Font)()->Color()); },
        [=](TGridColumnItem& i, int v) { (i.*Font)()->SetColor(TColor(v)); }));
    Out.push_back(IntProp(
        name(p + ".Height"), plain.Height(), -1000, 1000,
        [=](const TGridColumnItem& i) { return (i.*Font)()->Height(); },
        [=](TGridColumnItem& i, int v) { (i.*Font)()->SetHeight(v); }));
    Out.push_back({ name(p + ".Name"),
        [=](const TGridColumnItem& i) {
            return (i.*Font)()->Name() == plain.Name() ? QString() : Quote((i.*Font)()->Name());
        },
        [=](TGridColumnItem& i, const QString& v) {
            QString s;
            if (!ParseString(v, s))
                return false;
            (i.*Font)()->SetName(s);
            return true;
        } });
    Out.push_back(IntProp(
        name(p + ".Style"), int(plain.Style()), 0, 15,
        [=](const TGridColumnItem& i) { return int((i.*Font)()->Style()); },
        [=](TGridColumnItem& i, int v) { (i.*Font)()->SetStyle(TFontStyles(TFontStyle(v))); }));
}

TProp BoolProp(
    const char* Name, bool (TGridColumnItem::*Get)() const, void (TGridColumnItem::*Set)(bool), bool Def, bool Always)
{
    return { Name,
        [=](const TGridColumnItem& i) {
            return (!Always && (i.*Get)() == Def) ? QString() : QString::number(int((i.*Get)()));
        },
        [=](TGridColumnItem& i, const QString& v) {
            int n = 0;
            if (!ParseInt(v, 0, 1, n))
                return false;
            (i.*Set)(n != 0);
            return true;
        } };
}

#define GET(expr) [](const TGridColumnItem& i) { return expr; }
#define SET(stmt) [](TGridColumnItem& i, int v) { stmt; }
#define SETS(stmt) [](TGridColumnItem& i, const QString& v) { stmt; }

const std::vector<TProp>& Props()
{
    static const std::vector<TProp> props = [] {
        using I = TGridColumnItem;
        std::vector<TProp> p;
        p.push_back(AlwaysInt("AutoMinSize", INT32_MIN, INT32_MAX, GET(i.AutoMinSize()), SET(i.SetAutoMinSize(v))));
        p.push_back(AlwaysInt("AutoMaxSize", INT32_MIN, INT32_MAX, GET(i.AutoMaxSize()), SET(i.SetAutoMaxSize(v))));
        p.push_back(AlwaysInt("Alignment", 0, 2, GET(int(i.Alignment())), SET(i.SetAlignment(TAlignment(v)))));
        p.push_back(AlwaysInt("Borders", 0, 15, GET(int(i.Borders())), SET(i.SetBorders(I::TCellBorders::fromInt(v)))));
        p.push_back(IntProp("BorderPen.Color", 0xC0C0C0, INT32_MIN, INT32_MAX, GET(int(i.BorderPen()->Color())),
            SET(i.BorderPen()->SetColor(TColor(v)))));
        p.push_back(
            IntProp("BorderPen.Width", 1, 0, 100, GET(i.BorderPen()->Width()), SET(i.BorderPen()->SetWidth(v))));
        p.push_back(StrProp("CheckFalse", GET(i.CheckFalse()), SETS(i.SetCheckFalse(v))));
        p.push_back(StrProp("CheckTrue", GET(i.CheckTrue()), SETS(i.SetCheckTrue(v))));
        p.push_back(AlwaysInt("Color", INT32_MIN, INT32_MAX, GET(int(i.Color())), SET(i.SetColor(TColor(v)))));
        p.push_back(AlwaysInt("ColumnPopupType", 0, PopupTypeCount - 1, GET(int(i.ColumnPopupType())),
            SET(i.SetColumnPopupType(TColumnPopupType(v)))));
        p.push_back(ListProp("ComboItems.Strings", GET(i.ComboItems())));
        p.push_back(
            AlwaysInt("DropDownCount", INT32_MIN, INT32_MAX, GET(i.DropDownCount()), SET(i.SetDropDownCount(v))));
        p.push_back(AlwaysInt("EditLength", INT32_MIN, INT32_MAX, GET(i.EditLength()), SET(i.SetEditLength(v))));
        p.push_back(StrProp("EditMask", GET(i.EditMask()), SETS(i.SetEditMask(v))));
        p.push_back(AlwaysInt("Editor", 0, EditorCount - 1, GET(int(i.Editor())), SET(i.SetEditor(TEditorType(v)))));
        p.push_back(ListProp("Filter.Strings", GET(i.Filter())));
        p.push_back(BoolProp("FilterCaseSensitive", &I::FilterCaseSensitive, &I::SetFilterCaseSensitive, false, true));
        p.push_back(BoolProp("Fixed", &I::Fixed, &I::SetFixed, false, true));
        p.push_back(StrProp("FloatFormat", GET(i.FloatFormat()), SETS(i.SetFloatFormat(v))));
        FontProps(p, "Font", &I::Font);
        p.push_back(StrProp("Header", GET(i.Header()), SETS(i.SetHeaderDirect(v))));
        p.push_back(AlwaysInt(
            "HeaderAlignment", 0, 2, GET(int(i.HeaderAlignment())), SET(i.SetHeaderAlignment(TAlignment(v)))));
        FontProps(p, "HeaderFont", &I::HeaderFont);
        p.push_back(AlwaysInt("MinSize", INT32_MIN, INT32_MAX, GET(i.MinSize()), SET(i.SetMinSize(v))));
        p.push_back(AlwaysInt("MaxSize", INT32_MIN, INT32_MAX, GET(i.MaxSize()), SET(i.SetMaxSize(v))));
        p.push_back(StrProp("Name", GET(i.Name()), SETS(i.SetName(v))));
        p.push_back(BoolProp("Password", &I::Password, &I::SetPassword, false, true));
        p.push_back(BoolProp("PrintBorderCustom", &I::PrintBorderCustom, &I::SetPrintBorderCustom, true, false));
        p.push_back(AlwaysInt(
            "PrintBorders", 0, 15, GET(int(i.PrintBorders())), SET(i.SetPrintBorders(I::TCellBorders::fromInt(v)))));
        p.push_back(IntProp("PrintBorderPen.Color", 0, INT32_MIN, INT32_MAX, GET(int(i.PrintBorderPen()->Color())),
            SET(i.PrintBorderPen()->SetColor(TColor(v)))));
        p.push_back(IntProp(
            "PrintBorderPen.Width", 1, 0, 100, GET(i.PrintBorderPen()->Width()), SET(i.PrintBorderPen()->SetWidth(v))));
        p.push_back(
            AlwaysInt("PrintColor", INT32_MIN, INT32_MAX, GET(int(i.PrintColor())), SET(i.SetPrintColor(TColor(v)))));
        p.push_back(BoolProp("PrintFontCustom", &I::PrintFontCustom, &I::SetPrintFontCustom, true, false));
        FontProps(p, "PrintFont", &I::PrintFont);
        p.push_back(BoolProp("ReadOnly", &I::ReadOnly, &I::SetReadOnly, false, true));
        p.push_back(BoolProp("ShowBands", &I::ShowBands, &I::SetShowBands, false, true));
        p.push_back(
            AlwaysInt("SortStyle", 0, SortStyleCount - 1, GET(int(i.SortStyle())), SET(i.SetSortStyle(TSortStyle(v)))));
        p.push_back(StrProp("SortPrefix", GET(i.SortPrefix()), SETS(i.SetSortPrefix(v))));
        p.push_back(StrProp("SortSuffix", GET(i.SortSuffix()), SETS(i.SetSortSuffix(v))));
        p.push_back(AlwaysInt("SpinMax", INT32_MIN, INT32_MAX, GET(i.SpinMax()), SET(i.SetSpinMax(v))));
        p.push_back(AlwaysInt("SpinMin", INT32_MIN, INT32_MAX, GET(i.SpinMin()), SET(i.SetSpinMin(v))));
        p.push_back(AlwaysInt("SpinStep", INT32_MIN, INT32_MAX, GET(i.SpinStep()), SET(i.SetSpinStep(v))));
        p.push_back(AlwaysInt("Tag", INT32_MIN, INT32_MAX, GET(i.Tag()), SET(i.SetTag(v))));
        p.push_back(AlwaysInt("Width", 0, 65535, GET(i.WidthCache()), SET(i.SetWidthCache(v))));
        return p;
    }();
    return props;
}

#undef GET
#undef SET
#undef SETS

} // namespace

void TExColumnGrid::SaveColumnsToStream(TStream* Stream)
{
    TExColumnGridIO io(nullptr, this);
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* item = static_cast<TGridColumnItem*>(io.Items()->TCollection::Add());
        item->Assign(FColumnCollection->GetItem(i));
        // What Assign does not carry is stored all the same.
        const TGridColumnItem* src = FColumnCollection->GetItem(i);
        item->SetColumnPopupType(src->ColumnPopupType());
        item->SetPrintBorderCustom(src->PrintBorderCustom());
        item->SetPrintFontCustom(src->PrintFontCustom());
    }
    QString text = IOClass + QLatin1Char('\n');
    for (int i = 0; i < io.Items()->Count(); ++i) {
        const TGridColumnItem& item = *io.Items()->GetItem(i);
        text += QStringLiteral("item\n");
        for (const TProp& p : Props()) {
            const QString v = p.Write(item);
            if (!v.isEmpty())
                text += QString::fromLatin1(p.Name) + QLatin1Char('=') + v + QLatin1Char('\n');
        }
        text += QStringLiteral("end\n");
    }
    const QByteArray bytes = text.toUtf8();
    Stream->WriteBuffer(bytes.constData(), bytes.size());
}

void TExColumnGrid::LoadColumnsFromStream(TStream* Stream)
{
    const qint64 size = Stream->Size() - Stream->Position();
    if (size > MaxStreamBytes)
        throw EReadError(QStringLiteral("Column stream too large"));
    QByteArray bytes(int(std::max<qint64>(0, size)), Qt::Uninitialized);
    Stream->ReadBuffer(bytes.data(), bytes.size());
    const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    auto line = [&](int i) {
        QString s = lines[i];
        if (s.endsWith(QLatin1Char('\r')))
            s.chop(1);
        return s;
    };
    if (lines.isEmpty() || line(0) != IOClass)
        throw EReadError(QStringLiteral("Stream holds no %1").arg(IOClass));

    static const std::map<QString, const TProp*> byName = [] {
        std::map<QString, const TProp*> m;
        for (const TProp& p : Props())
            m.emplace(QString::fromLatin1(p.Name), &p);
        return m;
    }();

    TExColumnGridIO io(nullptr, this);
    TGridColumnItem* current = nullptr;
    for (int i = 1; i < lines.size(); ++i) {
        const QString s = line(i);
        if (s.isEmpty())
            continue;
        if (s == QLatin1String("item")) {
            if (current)
                throw EReadError(QStringLiteral("Item not closed at line %1").arg(i + 1));
            if (io.Items()->Count() >= MaxItems)
                throw EReadError(QStringLiteral("Too many items"));
            current = static_cast<TGridColumnItem*>(io.Items()->TCollection::Add());
            continue;
        }
        if (s == QLatin1String("end")) {
            if (!current)
                throw EReadError(QStringLiteral("Unexpected end at line %1").arg(i + 1));
            current = nullptr;
            continue;
        }
        const int eq = s.indexOf(QLatin1Char('='));
        if (!current || eq <= 0)
            throw EReadError(QStringLiteral("Invalid line %1").arg(i + 1));
        // Unknown properties and values of the wrong kind or out of range
        // are passed over; the item keeps its default there.
        const auto it = byName.find(s.left(eq));
        if (it != byName.end())
            (void)it->second->Read(*current, s.mid(eq + 1));
    }
    if (current)
        throw EReadError(QStringLiteral("Column stream truncated"));

    TGridColumnCollection* c = FColumnCollection.get();
    c->FNoRecursiveUpdate = true;
    try {
        c->BeginUpdate();
        c->Clear();
        for (int i = 0; i < io.Items()->Count(); ++i) {
            const TGridColumnItem* src = io.Items()->GetItem(i);
            auto* item = static_cast<TGridColumnItem*>(c->TCollection::Add());
            item->Assign(src);
            item->SetColumnPopupType(src->ColumnPopupType());
            item->SetPrintBorderCustom(src->PrintBorderCustom());
            item->SetPrintFontCustom(src->PrintFontCustom());
            if (i < TotalColCount())
                item->SetWidth(src->WidthCache());
            else
                item->SetWidthCache(src->WidthCache());
        }
        c->EndUpdate();
    } catch (...) {
        c->FNoRecursiveUpdate = false;
        throw;
    }
    c->FNoRecursiveUpdate = false;
    Invalidate();
}
