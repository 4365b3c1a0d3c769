#include "platform/controls/Mask.h"

#include <QLineEdit>

#include "platform/controls/Clipbrd.h"
#include "platform/controls/Services.h"
#include "platform/runtime/SysUtils.h"

namespace {

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

TEditMaskFormat::TEditMaskFormat(const QString& editMask)
    : FMask(editMask)
{
    // Split off the save-literals and blank fields at unescaped ';'.
    QString maskPart;
    QStringList fields;
    {
        QString cur;
        for (int i = 0; i < editMask.size(); ++i) {
            QChar c = editMask[i];
            if (c == QLatin1Char('\\') && i + 1 < editMask.size() && fields.isEmpty()) {
                cur += c;
                cur += editMask[++i];
                continue;
            }
            if (c == QLatin1Char(';') && fields.size() < 2) {
                fields << cur;
                cur.clear();
                continue;
            }
            cur += c;
        }
        fields << cur;
    }
    maskPart = fields.value(0);
    if (fields.size() > 1 && fields[1].startsWith(QLatin1Char('0')))
        FSaveLiterals = false;
    if (fields.size() > 2 && !fields[2].isEmpty())
        FBlank = fields[2][0];

    TMaskSlot::Case caseConv = TMaskSlot::Case::Keep;
    auto input = [&](TMaskSlot::Kind k, bool required) {
        TMaskSlot s;
        s.kind = k;
        s.required = required;
        s.caseConv = caseConv;
        FSlots.push_back(s);
    };
    auto literal = [&](QChar c) {
        TMaskSlot s;
        s.literal = c;
        FSlots.push_back(s);
    };
    using K = TMaskSlot::Kind;
    for (int i = 0; i < maskPart.size(); ++i) {
        const QChar c = maskPart[i];
        switch (c.unicode()) {
        case '!':
            FReverse = true;
            break;
        case '>':
            caseConv = TMaskSlot::Case::Upper;
            break;
        case '<':
            if (i + 1 < maskPart.size() && maskPart[i + 1] == QLatin1Char('>')) {
                caseConv = TMaskSlot::Case::Keep;
                ++i;
            } else {
                caseConv = TMaskSlot::Case::Lower;
            }
            break;
        case '\\':
            if (i + 1 < maskPart.size())
                literal(maskPart[++i]);
            break;
        case '0':
            input(K::Digit, true);
            break;
        case '9':
            input(K::Digit, false);
            break;
        case '#':
            input(K::DigitOrSign, false);
            break;
        case 'L':
            input(K::Letter, true);
            break;
        case 'l':
            input(K::Letter, false);
            break;
        case 'A':
            input(K::AlphaNum, true);
            break;
        case 'a':
            input(K::AlphaNum, false);
            break;
        case 'C':
            input(K::AnyChar, true);
            break;
        case 'c':
            input(K::AnyChar, false);
            break;
        case '_':
            literal(QLatin1Char(' '));
            break;
        case ':':
            literal(FormatSettings.TimeSeparator);
            break;
        case '/':
            literal(FormatSettings.DateSeparator);
            break;
        default:
            literal(c);
            break;
        }
    }
}

QChar TEditMaskFormat::Accept(int i, QChar c) const
{
    if (!IsInput(i))
        return {};
    const TMaskSlot& s = Slot(i);
    if (s.caseConv == TMaskSlot::Case::Upper)
        c = c.toUpper();
    else if (s.caseConv == TMaskSlot::Case::Lower)
        c = c.toLower();
    bool ok = false;
    switch (s.kind) {
    case TMaskSlot::Kind::Digit:
        ok = IsAsciiDigit(c);
        break;
    case TMaskSlot::Kind::DigitOrSign:
        ok = IsAsciiDigit(c) || c == QLatin1Char('+') || c == QLatin1Char('-');
        break;
    case TMaskSlot::Kind::Letter:
        ok = c.isLetter();
        break;
    case TMaskSlot::Kind::AlphaNum:
        ok = c.isLetter() || IsAsciiDigit(c);
        break;
    case TMaskSlot::Kind::AnyChar:
        ok = c.unicode() >= 32 && c.unicode() != 127;
        break;
    case TMaskSlot::Kind::Literal:
        break;
    }
    return ok ? c : QChar();
}

QString TEditMaskFormat::EmptyEditText() const
{
    QString r;
    r.reserve(Length());
    for (const TMaskSlot& s : FSlots)
        r += s.kind == TMaskSlot::Kind::Literal ? s.literal : FBlank;
    return r;
}

QString TEditMaskFormat::NormalizeEditText(const QString& editText) const
{
    QString r = EmptyEditText();
    const int n = std::min<int>(Length(), editText.size());
    for (int i = 0; i < n; ++i) {
        if (!IsInput(i) || editText[i] == FBlank)
            continue;
        const QChar a = Accept(i, editText[i]);
        if (!a.isNull())
            r[i] = a;
    }
    return r;
}

QString TEditMaskFormat::TextOf(const QString& editText) const
{
    const QString e = NormalizeEditText(editText);
    if (FSaveLiterals) {
        QString r = e;
        for (int i = 0; i < r.size(); ++i)
            if (IsInput(i) && r[i] == FBlank)
                r[i] = QLatin1Char(' ');
        return r;
    }
    QString r;
    for (int i = 0; i < e.size(); ++i)
        if (IsInput(i))
            r += e[i];
    if (FReverse) {
        int k = 0;
        while (k < r.size() && r[k] == FBlank)
            ++k;
        r.remove(0, k);
    } else {
        int k = r.size();
        while (k > 0 && r[k - 1] == FBlank)
            --k;
        r.truncate(k);
    }
    r.replace(FBlank, QLatin1Char(' '));
    return r;
}

QString TEditMaskFormat::EditTextOf(const QString& text) const
{
    QString r = EmptyEditText();
    const int n = Length();
    const int step = FReverse ? -1 : 1;
    int s = FReverse ? n - 1 : 0;
    int v = FReverse ? int(text.size()) - 1 : 0;
    auto valueLeft = [&] { return FReverse ? v >= 0 : v < text.size(); };
    // The next literal in walking direction: a value character equal to it
    // ends the current field early.
    auto nextLiteral = [&](int from) -> QChar {
        for (int k = from; k >= 0 && k < n; k += step)
            if (!IsInput(k))
                return Slot(k).literal;
        return {};
    };
    for (; s >= 0 && s < n && valueLeft(); s += step) {
        const QChar c = text[v];
        if (!IsInput(s)) {
            if (c == Slot(s).literal)
                v += step;
            continue;
        }
        if (c == QLatin1Char(' ') || c == FBlank) {
            v += step;
            continue;
        }
        const QChar a = Accept(s, c);
        if (!a.isNull()) {
            r[s] = a;
            v += step;
            continue;
        }
        if (c == nextLiteral(s))
            continue; // leave this slot blank, the literal consumes c
        v += step; // a character the slot refuses leaves it blank
    }
    return r;
}

int TEditMaskFormat::FirstInvalid(const QString& editText) const
{
    const QString e = editText.leftJustified(Length(), FBlank, true);
    for (int i = 0; i < Length(); ++i) {
        if (!IsInput(i))
            continue;
        if (e[i] == FBlank) {
            if (Slot(i).required)
                return i;
            continue;
        }
        if (Accept(i, e[i]).isNull())
            return i;
    }
    return -1;
}

int TEditMaskFormat::NextInput(int from) const
{
    for (int i = std::max(0, from); i < Length(); ++i)
        if (IsInput(i))
            return i;
    return Length();
}

int TEditMaskFormat::PrevInput(int before) const
{
    for (int i = std::min(before, Length()) - 1; i >= 0; --i)
        if (IsInput(i))
            return i;
    return -1;
}

namespace {

void BlankRange(const TEditMaskFormat& f, QString& text, int from, int count)
{
    for (int i = std::max(0, from); i < std::min(f.Length(), from + count); ++i)
        if (f.IsInput(i))
            text[i] = f.BlankChar();
}

} // namespace

bool TEditMaskFormat::TypeChar(TEdit& e, QChar c) const
{
    e.editText = NormalizeEditText(e.editText);
    int p = std::clamp(e.selStart, 0, Length());
    if (p < Length() && !IsInput(p) && Slot(p).literal == c) {
        BlankRange(*this, e.editText, e.selStart, e.selLength);
        e.selStart = NextInput(p + 1);
        e.selLength = 0;
        return true;
    }
    p = NextInput(p);
    if (p >= Length())
        return false;
    const QChar a = Accept(p, c);
    if (a.isNull())
        return false;
    BlankRange(*this, e.editText, e.selStart, e.selLength);
    e.editText[p] = a;
    e.selStart = NextInput(p + 1);
    e.selLength = 0;
    return true;
}

void TEditMaskFormat::Backspace(TEdit& e) const
{
    e.editText = NormalizeEditText(e.editText);
    if (e.selLength > 0) {
        BlankRange(*this, e.editText, e.selStart, e.selLength);
        e.selLength = 0;
        return;
    }
    const int p = PrevInput(e.selStart);
    if (p < 0)
        return;
    e.editText[p] = FBlank;
    e.selStart = p;
}

void TEditMaskFormat::DeleteChar(TEdit& e) const
{
    e.editText = NormalizeEditText(e.editText);
    if (e.selLength > 0) {
        BlankRange(*this, e.editText, e.selStart, e.selLength);
        e.selLength = 0;
        return;
    }
    const int p = NextInput(e.selStart);
    if (p < Length())
        e.editText[p] = FBlank;
}

// ---------------------------------------------------------------------------
// TCustomMaskEdit

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner)
    : TCustomEdit(AOwner)
{
}

void TCustomMaskEdit::SetEditMask(const QString& v)
{
    if (v == FFormat.Mask())
        return;
    const QString text = GetText();
    FFormat = TEditMaskFormat(v);
    if (IsMasked())
        SetRawText(FFormat.EditTextOf(text));
    else
        SetRawText(text);
    if (HandleAllocated())
        CreateWnd();
}

void TCustomMaskEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    if (QLineEdit* e = LineEdit()) {
        // Text may only arrive through the mask.
        e->setAcceptDrops(!IsMasked());
        e->setContextMenuPolicy(IsMasked() ? Qt::NoContextMenu : Qt::DefaultContextMenu);
        if (IsMasked())
            e->setMaxLength(FFormat.Length());
    }
}

void TCustomMaskEdit::SetEditText(const QString& v)
{
    SetRawText(IsMasked() ? FFormat.NormalizeEditText(v) : v);
}

QString TCustomMaskEdit::GetText() const
{
    return IsMasked() ? FFormat.TextOf(RawText()) : TCustomEdit::GetText();
}

void TCustomMaskEdit::SetText(const QString& v)
{
    if (IsMasked())
        SetRawText(FFormat.EditTextOf(ConvertCase(v)));
    else
        TCustomEdit::SetText(v);
}

void TCustomMaskEdit::SetSelText(const QString& v)
{
    if (!IsMasked()) {
        TCustomEdit::SetSelText(v);
        return;
    }
    StateWidget();
    TEditMaskFormat::TEdit e = CurrentEdit();
    if (v.isEmpty())
        FFormat.DeleteChar(e);
    else
        for (QChar c : v)
            if (!FFormat.TypeChar(e, c))
                break;
    if (e.editText != RawText())
        SetRawText(e.editText);
    SetSelStart(e.selStart);
}

void TCustomMaskEdit::ValidateEdit()
{
    if (!IsMasked())
        return;
    const int pos = FFormat.FirstInvalid(RawText());
    if (pos < 0)
        return;
    SetSelStart(pos);
    ValidateError();
}

void TCustomMaskEdit::ValidateError()
{
    throw EDBEditError(QStringLiteral("Invalid input value.  Use escape key to abandon changes"));
}

TEditMaskFormat::TEdit TCustomMaskEdit::CurrentEdit() const
{
    TEditMaskFormat::TEdit e;
    e.editText = RawText();
    e.selStart = SelStart();
    e.selLength = SelLength();
    return e;
}

void TCustomMaskEdit::ApplyEdit(const TEditMaskFormat::TEdit& e)
{
    if (e.editText != RawText()) {
        SetRawText(e.editText);
        FModified = true;
        FTypedSinceEnter = true;
    }
    SetSelStart(e.selStart);
}

void TCustomMaskEdit::PasteMasked(const QString& text)
{
    TEditMaskFormat::TEdit e = CurrentEdit();
    for (QChar c : text)
        if (!FFormat.TypeChar(e, c))
            break;
    ApplyEdit(e);
}

void TCustomMaskEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (!IsMasked() || Key == 0)
        return;
    // Shift+Delete is a cut: it reaches the widget, which sends WM_CUT.
    const bool cut = Shift.testFlag(ssShift) && !Shift.testFlag(ssCtrl);
    if (Key == VK_DELETE && !cut) {
        if (!FReadOnly) {
            TEditMaskFormat::TEdit e = CurrentEdit();
            FFormat.DeleteChar(e);
            ApplyEdit(e);
        }
        Key = 0; // the widget's own editing would ignore the mask
    }
}

void TCustomMaskEdit::CutToClipboard()
{
    if (!IsMasked()) {
        TCustomEdit::CutToClipboard();
        return;
    }
    if (FPasswordChar != 0 || FReadOnly || SelLength() == 0)
        return;
    TEditMaskFormat::TEdit e = CurrentEdit();
    Clipboard()->SetAsText(e.editText.mid(e.selStart, e.selLength));
    FFormat.DeleteChar(e);
    ApplyEdit(e);
}

void TCustomMaskEdit::PasteFromClipboard()
{
    if (!IsMasked()) {
        TCustomEdit::PasteFromClipboard();
        return;
    }
    if (!FReadOnly && Clipboard()->HasFormat(CF_UNICODETEXT))
        PasteMasked(Clipboard()->AsText());
}

void TCustomMaskEdit::KeyPress(char16_t& Key)
{
    if (!IsMasked()) {
        TCustomEdit::KeyPress(Key);
        return;
    }
    TWinControl::KeyPress(Key);
    if (Key == 27 && FTypedSinceEnter) {
        // Esc gives back the text the edit had when it got the focus.
        SetRawText(FOldValue);
        FTypedSinceEnter = false;
        SelectAll();
        Key = 0;
        return;
    }
    // Enter, Esc and Tab belong to the form; select all (Ctrl+A), copy
    // (Ctrl+C) and undo (Ctrl+Z) cannot break the mask; paste (Ctrl+V) and
    // cut (Ctrl+X) go on to the widget, which sends WM_PASTE and WM_CUT.
    if (Key == 0 || Key == 13 || Key == 27 || Key == 9 || Key == 1 || Key == 3 || Key == 22 || Key == 24 || Key == 26)
        return;
    if (FReadOnly) {
        Key = 0;
        return;
    }
    TEditMaskFormat::TEdit e = CurrentEdit();
    if (Key == 8) {
        FFormat.Backspace(e);
        ApplyEdit(e);
    } else if (Key >= 32) {
        QChar c(Key);
        if (FCharCase == ecUpperCase)
            c = c.toUpper();
        else if (FCharCase == ecLowerCase)
            c = c.toLower();
        if (FFormat.TypeChar(e, c))
            ApplyEdit(e);
        else
            Beep(); // a character the slot refuses
    }
    Key = 0;
}

void TCustomMaskEdit::DoEnter()
{
    FOldValue = RawText();
    FTypedSinceEnter = false;
    TCustomEdit::DoEnter();
}

void TCustomMaskEdit::DoExit()
{
    // Only what the user typed is checked: an untouched edit may stay empty.
    if (IsMasked() && FTypedSinceEnter)
        ValidateEdit();
    TCustomEdit::DoExit();
}
