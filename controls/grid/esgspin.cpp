#include "controls/grid/esgspin.h"

#include <algorithm>
#include <cmath>

#include "platform/controls/Messages.h"
#include "platform/controls/Services.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/graphics/ThemePainter.h"
#include "platform/runtime/DateUtils.h"
#include "platform/runtime/SysUtils.h"

namespace {

// The key-down the spin edit posts to itself after Enter when Enter acts as
// Tab: it runs as a typed Tab would (dialog key first).
UINT PostedTabMessage()
{
    static const UINT msg = RegisterWindowMessage(QStringLiteral("EsgSpinPostedTab"));
    return msg;
}

} // namespace

// ---------------------------------------------------------------------------
// TExTimerSpeedButton

TExTimerSpeedButton::TExTimerSpeedButton(TComponent* AOwner)
    : TSpeedButton(AOwner)
{
}

TExTimerSpeedButton::~TExTimerSpeedButton() = default;

TEsgSpinButton* TExTimerSpeedButton::Pair() const
{
    return dynamic_cast<TEsgSpinButton*>(Parent());
}

void TExTimerSpeedButton::SetButtonDirection(TButtonDirection v)
{
    FButtonDirection = v;
    Invalidate();
}

void TExTimerSpeedButton::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    Invalidate();
}

void TExTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (FTimeBtnState.testFlag(tbAllowTimer)) {
        if (!FRepeatTimer) {
            FRepeatTimer = new TTimer(this);
            FRepeatTimer->OnTimer = [this](TObject* Sender) { TimerExpired(Sender); };
        }
        FRepeatTimer->SetEnabled(false);
        FRepeatTimer->SetInterval(400);
        FRepeatTimer->SetEnabled(true);
    }
    if (Parent())
        Parent()->Invalidate();
}

void TExTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    if (Parent())
        Parent()->Invalidate();
}

void TExTimerSpeedButton::TimerExpired(TObject* Sender)
{
    (void)Sender;
    FRepeatTimer->SetInterval(100);
    if (FState == bsDown && MouseCapture()) {
        try {
            Click();
        } catch (...) {
            FRepeatTimer->SetEnabled(false);
            throw;
        }
    }
}

void TExTimerSpeedButton::Paint()
{
    TCanvas* C = Canvas();
    if (!C)
        return;
    const TRect R = ClientRect();
    const TEsgSpinButton* pair = Pair();
    const bool pressed = Pressed();
    if (pair && pair->ButtonColor() != clNone) {
        const TColor face = pressed ? pair->ButtonColorDown() : Hot() ? pair->ButtonColorHot() : pair->ButtonColor();
        C->Pen()->SetColor(face);
        C->Brush()->SetColor(face);
        C->Rectangle(R);
        const int l = R.Left, t = R.Top;
        C->Pen()->SetColor(clBlack);
        C->Brush()->SetColor(clBlack);
        switch (FButtonDirection) {
        case bdLeft:
            C->Polygon({ { l + 5, t + 5 }, { l + 3, t + 7 }, { l + 5, t + 9 } });
            break;
        case bdRight:
            C->Polygon({ { l + 3, t + 5 }, { l + 5, t + 7 }, { l + 3, t + 9 } });
            break;
        case bdUp:
            C->Polygon({ { l + 4, t + 4 }, { l + 8, t + 4 }, { l + 6, t + 2 } });
            break;
        case bdDown:
            C->Polygon({ { l + 4, t + 2 }, { l + 8, t + 2 }, { l + 6, t + 4 } });
            break;
        }
    } else if (HTHEME theme = FIsWinXP ? OpenThemeData(nullptr, QStringLiteral("spin")) : nullptr) {
        int part = SPNP_UP;
        switch (FButtonDirection) {
        case bdUp:
            part = SPNP_UP;
            break;
        case bdDown:
            part = SPNP_DOWN;
            break;
        case bdRight:
            part = SPNP_UPHORZ;
            break;
        case bdLeft:
            part = SPNP_DOWNHORZ;
            break;
        }
        // The four parts number their states alike.
        const int state = pressed ? UPS_PRESSED : Hot() ? UPS_HOT : UPS_NORMAL;
        DrawThemeBackground(theme, C, part, state, R);
        CloseThemeData(theme);
    } else if (FButtonDirection == bdLeft || FButtonDirection == bdRight) {
        TRect r = R;
        DrawFrameControl(C, r, DFC_SCROLL,
            (FButtonDirection == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT) | (pressed ? DFCS_PUSHED : 0u)
                | (Flat() ? DFCS_FLAT : 0u));
    } else {
        TSpeedButton::Paint();
    }
    if (FTimeBtnState.testFlag(tbFocusRect) && Parent() && Parent()->Focused()) {
        TRect r = R;
        InflateRect(r, -3, -3);
        if (pressed)
            OffsetRect(r, 1, 1);
        C->DrawFocusRect(r);
    }
}

// ---------------------------------------------------------------------------
// TEsgSpinButton

TEsgSpinButton::TEsgSpinButton(TComponent* AOwner)
    : TEsgButtonBox(AOwner)
{
    FUpButton = CreateButton();
    FUpButton->SetButtonDirection(bdUp);
    FDownButton = CreateButton();
    FDownButton->SetButtonDirection(bdDown);
    // Without glyphs of their own the buttons show the program's arrows.
    TBitmap up, down;
    up.LoadFromResourceName(QStringLiteral("EsgSpinUp"));
    down.LoadFromResourceName(QStringLiteral("EsgSpinDown"));
    FUpButton->SetGlyph(&up);
    FUpButton->SetNumGlyphs(1);
    FDownButton->SetGlyph(&down);
    FDownButton->SetNumGlyphs(1);
    FFocusedButton = FUpButton;
    SetBounds(0, 0, 15, 25);
}

TEsgSpinButton::~TEsgSpinButton()
{
    // The buttons go with the children; nothing may reach them meanwhile.
    FUpButton = FDownButton = FFocusedButton = nullptr;
}

TExTimerSpeedButton* TEsgSpinButton::CreateButton()
{
    auto* b = new TExTimerSpeedButton(this);
    b->OnClick = [this](TObject* Sender) { BtnClick(Sender); };
    b->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        BtnMouseDown(Sender, Button, Shift, X, Y);
    };
    b->SetVisible(true);
    b->SetEnabled(true);
    b->SetTimeBtnState(tbAllowTimer);
    b->SetParent(this);
    return b;
}

void TEsgSpinButton::BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    (void)Shift, (void)X, (void)Y;
    if (Button != mbLeft)
        return;
    SetFocusBtn(static_cast<TExTimerSpeedButton*>(Sender));
    FocusAfterPress(false);
}

void TEsgSpinButton::BtnClick(TObject* Sender)
{
    if (Sender == FUpButton) {
        if (OnUpClick)
            OnUpClick(this);
    } else if (OnDownClick) {
        OnDownClick(this);
    }
}

void TEsgSpinButton::SetFocusBtn(TExTimerSpeedButton* Btn)
{
    if (!Btn || Btn == FFocusedButton)
        return;
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() & ~TTimeBtnState(tbFocusRect));
    FFocusedButton->Invalidate();
    FFocusedButton = Btn;
    if (Focused()) {
        FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() | tbFocusRect);
        FFocusedButton->Invalidate();
    }
}

void TEsgSpinButton::DoEnter()
{
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() | tbFocusRect);
    FFocusedButton->Invalidate();
    TEsgButtonBox::DoEnter();
}

void TEsgSpinButton::DoExit()
{
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() & ~TTimeBtnState(tbFocusRect));
    FFocusedButton->Invalidate();
    TEsgButtonBox::DoExit();
}

void TEsgSpinButton::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS;
        return;
    }
    TEsgButtonBox::WndProc(Message);
}

void TEsgSpinButton::KeyDown(WORD& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_UP:
        SetFocusBtn(FUpButton);
        FUpButton->Click();
        break;
    case VK_DOWN:
        SetFocusBtn(FDownButton);
        FDownButton->Click();
        break;
    case VK_SPACE:
        FFocusedButton->Click();
        break;
    default:
        TEsgButtonBox::KeyDown(Key, Shift);
        return;
    }
    // Handled here: no character follows, and nothing reaches the edit.
    Key = 0;
}

void TEsgSpinButton::AdjustSize(int& W, int& H)
{
    if (!FUpButton || !FDownButton)
        return;
    if (FDirection == spVertical) {
        W = std::max(W, 15);
        const int half = H / 2;
        FUpButton->SetBounds(0, 0, W, half);
        FDownButton->SetBounds(0, half - 1, W, H - half + 1);
    } else {
        W = std::max(W, 20);
        const int half = W / 2;
        FDownButton->SetBounds(0, 0, half, H);
        FUpButton->SetBounds(half + 1, 0, half, H);
    }
}

void TEsgSpinButton::BoundsChanged(const TRect& oldBounds)
{
    if (!FAdjusting) {
        int w = Width(), h = Height();
        AdjustSize(w, h);
        if (w != Width()) {
            FAdjusting = true;
            SetBounds(Left(), Top(), w, h);
            FAdjusting = false;
        }
    }
    TEsgButtonBox::BoundsChanged(oldBounds);
}

void TEsgSpinButton::SetDirection(TSpinDirection v)
{
    if (v == FDirection)
        return;
    FDirection = v;
    if (v == spVertical) {
        FUpButton->SetButtonDirection(bdUp);
        FDownButton->SetButtonDirection(bdDown);
        SetWidth(15);
    } else {
        FUpButton->SetButtonDirection(bdRight);
        FDownButton->SetButtonDirection(bdLeft);
        SetWidth(20);
    }
    int w = Width(), h = Height();
    AdjustSize(w, h);
}

void TEsgSpinButton::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    // Both buttons follow, so that the pair never shows two looks.
    FUpButton->SetIsWinXP(v);
    FDownButton->SetIsWinXP(v);
}

void TEsgSpinButton::SetUpGlyph(const TBitmap* v)
{
    FUpButton->SetGlyph(v);
}

void TEsgSpinButton::SetDownGlyph(const TBitmap* v)
{
    FDownButton->SetGlyph(v);
}

// ---------------------------------------------------------------------------
// TEsgSpinEdit

TEsgSpinEdit::TEsgSpinEdit(TComponent* AOwner)
    : TEsgButtonEdit(AOwner)
{
    FButton = new TEsgSpinButton(this);
    FButtonHost = FButton;
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject* Sender) { UpClick(Sender); };
    FButton->OnDownClick = [this](TObject* Sender) { DownClick(Sender); };
    SetText(QStringLiteral("0"));
    Layout();
}

TEsgSpinEdit::~TEsgSpinEdit()
{
    // Layout must not reach the buttons while they go.
    FButton = nullptr;
    FButtonHost = nullptr;
}

void TEsgSpinEdit::Notification(TComponent* AComponent, TOperation Operation)
{
    TEsgButtonEdit::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FButton)
        FButton = nullptr;
}

void TEsgSpinEdit::Loaded()
{
    TEsgButtonEdit::Loaded();
    if (FSpinType == TEsgSpinType::sptDate)
        SetText(DateToStr(FDateValue));
    else if (FSpinType == TEsgSpinType::sptTime)
        SetText(TimeText(FTimeValue));
    SetSpinType(FSpinType);
}

void TEsgSpinEdit::UpClick(TObject* Sender)
{
    (void)Sender;
    StepUp(false);
}

void TEsgSpinEdit::DownClick(TObject* Sender)
{
    (void)Sender;
    StepDown(false);
}

// ----- values -----

int TEsgSpinEdit::ClampInt(int v) const
{
    return FMinValue == FMaxValue ? v : std::clamp(v, std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue));
}

double TEsgSpinEdit::ClampFloat(double v) const
{
    if (FMinFloatValue == FMaxFloatValue)
        return v;
    return std::clamp(v, std::min(FMinFloatValue, FMaxFloatValue), std::max(FMinFloatValue, FMaxFloatValue));
}

TDateTime TEsgSpinEdit::ClampDate(TDateTime v) const
{
    if (FMinDateValue == FMaxDateValue)
        return v;
    return std::clamp(v, std::min(FMinDateValue, FMaxDateValue), std::max(FMinDateValue, FMaxDateValue));
}

QString TEsgSpinEdit::TimeText(TDateTime v) const
{
    return FShowSeconds ? TimeToStr(v) : FormatDateTime(QStringLiteral("h:nn"), v);
}

int TEsgSpinEdit::Value()
{
    const QString t = Text().trimmed();
    if (t.isEmpty())
        return 0;
    int v = 0;
    return TryStrToInt(t, v) ? v : FMinValue;
}

void TEsgSpinEdit::SetValue(int v)
{
    SetText(QString::number(ClampInt(v)));
    if (!FEditorEnabled)
        SelectAll();
}

double TEsgSpinEdit::FloatValue()
{
    double v = 0;
    return TryStrToFloat(Text(), v) ? v : FMinFloatValue;
}

void TEsgSpinEdit::SetFloatValue(double v)
{
    v = ClampFloat(v);
    if (FPrecision != 0)
        SetText(FormatFloat(QStringLiteral("0.") + QString(std::abs(FPrecision), u'0'), v));
    else
        SetText(FloatToStr(v));
}

TDateTime TEsgSpinEdit::DateValue()
{
    const QString t = Text();
    if (t == QLatin1String("0") || t.isEmpty())
        return Now();
    TDateTime v = 0;
    return TryStrToDate(t, v) ? v : FMinDateValue;
}

void TEsgSpinEdit::SetDateValue(TDateTime v)
{
    FDateValue = v;
    if (ComponentState().testFlag(csLoading))
        return;
    FDateValue = ClampDate(v);
    const int caret = SelStart();
    SetText(DateToStr(FDateValue));
    SetSelStart(caret);
}

TDateTime TEsgSpinEdit::TimeValue()
{
    TDateTime v = 0;
    return TryStrToTime(Text(), v) ? v : 0;
}

void TEsgSpinEdit::SetTimeValue(TDateTime v)
{
    FTimeValue = v;
    if (ComponentState().testFlag(csLoading))
        return;
    FTimeValue = ClampDate(v);
    const int caret = SelStart();
    SetText(TimeText(FTimeValue));
    SetSelStart(caret);
}

void TEsgSpinEdit::SetIncrementHours(int v)
{
    FIncrementHours = std::clamp(v, 0, 23);
}
void TEsgSpinEdit::SetIncrementMinutes(int v)
{
    FIncrementMinutes = std::clamp(v, 0, 59);
}
void TEsgSpinEdit::SetIncrementSeconds(int v)
{
    FIncrementSeconds = std::clamp(v, 0, 59);
}

// ----- settings -----

void TEsgSpinEdit::SetSpinType(TEsgSpinType v)
{
    FSpinType = v;
    switch (v) {
    case TEsgSpinType::sptNormal:
        SetValue(Value());
        break;
    case TEsgSpinType::sptFloat:
        SetFloatValue(FloatValue());
        break;
    case TEsgSpinType::sptDate:
        SetDateValue(DateValue());
        break;
    case TEsgSpinType::sptTime:
        SetTimeValue(TimeValue());
        break;
    }
}

void TEsgSpinEdit::SetPrecision(int v)
{
    FPrecision = v;
    if (FSpinType == TEsgSpinType::sptFloat)
        SetFloatValue(FloatValue());
}

void TEsgSpinEdit::SetDirection(TSpinDirection v)
{
    if (v == FDirection)
        return;
    FDirection = v;
    if (FButton)
        FButton->SetDirection(v);
    // A change of width lays the edit out again.
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TEsgSpinEdit::SetEditAlign(TEditAlign v)
{
    FEditAlign = v;
    SetAlignment(v == eaRight ? taRightJustify : v == eaCenter ? taCenter : taLeftJustify);
}

void TEsgSpinEdit::SetSpinFlat(bool v)
{
    if (FButton) {
        FButton->UpButton()->SetFlat(v);
        FButton->DownButton()->SetFlat(v);
    }
    FSpinFlat = v;
}

void TEsgSpinEdit::SetSpinTransparent(bool v)
{
    if (FButton) {
        FButton->UpButton()->SetTransparent(v);
        FButton->DownButton()->SetTransparent(v);
    }
    FSpinTransparent = v;
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TEsgSpinEdit::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    if (FButton)
        FButton->SetIsWinXP(v);
}

// ----- stepping -----

void TEsgSpinEdit::StepUp(bool Page)
{
    if (ReadOnly()) {
        Beep();
        return;
    }
    switch (FSpinType) {
    case TEsgSpinType::sptNormal:
        SetValue(Value() + FIncrement);
        break;
    case TEsgSpinType::sptFloat:
        SetFloatValue(FloatValue() + (Page ? FIncrementFloatPage : FIncrementFloat));
        break;
    case TEsgSpinType::sptDate:
        StepDate(1);
        break;
    case TEsgSpinType::sptTime:
        StepTime(1);
        break;
    }
}

void TEsgSpinEdit::StepDown(bool Page)
{
    if (ReadOnly()) {
        Beep();
        return;
    }
    switch (FSpinType) {
    case TEsgSpinType::sptNormal:
        SetValue(Value() - FIncrement);
        break;
    case TEsgSpinType::sptFloat:
        SetFloatValue(FloatValue() - (Page ? FIncrementFloatPage : FIncrementFloat));
        break;
    case TEsgSpinType::sptDate:
        StepDate(-1);
        break;
    case TEsgSpinType::sptTime:
        StepTime(-1);
        break;
    }
}

void TEsgSpinEdit::StepDate(int Sign)
{
    const QString format = FormatSettings.ShortDateFormat.toUpper();
    const int m = format.indexOf(u'M');
    const int d = format.indexOf(u'D');
    FUsDates = m >= 0 && (d < 0 || m < d);
    // Positions of the first two date separators, 1-based (0: none).
    const QString t = Text();
    const QChar sep = FormatSettings.DateSeparator;
    const int s1 = int(t.indexOf(sep)) + 1;
    const int s2 = s1 > 0 ? int(t.indexOf(sep, s1)) + 1 : 0;
    const int c = SelStart();
    enum { Day, Month, Year } part;
    if (FUsDates)
        part = c < s1 ? Month : c < s2 ? Day : Year;
    else
        part = c < s1 ? Day : c < s2 ? Month : Year;

    const TDateTime value = DateValue();
    switch (part) {
    case Day:
        SetDateValue(value + Sign);
        break;
    case Month:
        SetDateValue(IncMonth(value, Sign));
        break;
    case Year: {
        int y, mo, dd;
        DecodeDate(value, y, mo, dd);
        y += Sign;
        if (y < 1 || y > 9999)
            return;
        // 29 February of a year without one lands on the 28th.
        dd = std::min(dd, DaysInAMonth(y, mo));
        SetDateValue(EncodeDate(y, mo, dd));
        break;
    }
    }
}

void TEsgSpinEdit::StepTime(int Sign)
{
    const QString t = Text();
    const QChar sep = FormatSettings.TimeSeparator;
    const int t1 = int(t.indexOf(sep)) + 1;
    const int t2 = t1 > 0 ? int(t.indexOf(sep, t1)) + 1 : 0;
    const int c = SelStart();
    TDateTime step;
    if (c < t1)
        step = EncodeTime(FIncrementHours, 0, 0, 0);
    else if (FShowSeconds && c >= t2)
        step = EncodeTime(0, 0, FIncrementSeconds, 0);
    else
        step = EncodeTime(0, FIncrementMinutes, 0, 0);
    const TDateTime value = TimeValue();
    if (Sign > 0) {
        SetTimeValue(value + step);
    } else {
        // Below midnight the time wraps to the evening before.
        TDateTime v = value + 1 - step;
        if (v > 1)
            v -= 1;
        SetTimeValue(v);
    }
}

// ----- typing -----

bool TEsgSpinEdit::AcceptsChar(char16_t Key)
{
    if (Key == 8)
        return FEditorEnabled;
    const TFormatSettings& fs = FormatSettings;
    const QChar k(Key);
    const bool digit = k.isNumber();
    bool ok = digit || Key == u'-' || k == fs.DecimalSeparator || k == fs.ThousandSeparator || k == fs.TimeSeparator
        || k == fs.DateSeparator || (Key < 32 && Key != 13);
    const bool numeric = FSpinType == TEsgSpinType::sptNormal || FSpinType == TEsgSpinType::sptFloat;
    // A separator of another kind stays only where it doubles as a number sign.
    auto doublesAsNumberSign = [&](QChar s) {
        return numeric && (s == fs.DecimalSeparator || s == fs.ThousandSeparator || s == u'-' || s == u'+');
    };
    if (k == fs.TimeSeparator && FSpinType != TEsgSpinType::sptTime)
        ok = doublesAsNumberSign(k);
    if (k == fs.DateSeparator && FSpinType != TEsgSpinType::sptDate)
        ok = doublesAsNumberSign(k);
    const QString t = Text();
    if (Key == u'-' && !(SelStart() == 0 && (!t.contains(u'-') || SelText().contains(u'-'))))
        ok = false;
    if (FSpinType == TEsgSpinType::sptNormal)
        ok = ok && ((Key >= u'0' && Key <= u'9') || Key == u'-');
    if (FSpinType == TEsgSpinType::sptFloat && Key != 27 && Key != 13 && Key != 8) {
        if (k == fs.ThousandSeparator)
            ok = false;
        if (k == fs.DecimalSeparator && t.contains(fs.DecimalSeparator) && !SelText().contains(fs.DecimalSeparator))
            ok = false;
        if (FPrecision > 0) {
            const int p = int(t.indexOf(fs.DecimalSeparator)) + 1;
            if (p > 0 && SelStart() >= p && SelLength() == 0 && t.size() >= p + FPrecision)
                ok = false;
        }
    }
    if (FSpinType == TEsgSpinType::sptTime && k == fs.TimeSeparator && t.count(fs.TimeSeparator) >= 2)
        ok = false;
    if (!FEditorEnabled && Key >= 32)
        ok = false;
    return ok;
}

void TEsgSpinEdit::KeyPress(char16_t& Key)
{
    if (!AcceptsChar(Key)) {
        Key = 0;
        Beep();
        return;
    }
    TEsgButtonEdit::KeyPress(Key);
}

void TEsgSpinEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    if (Key == VK_RETURN && FReturnIsTab) {
        // Enter moves on as Tab does; the Enter itself goes no further.
        Key = 0;
        PostMessage(this, PostedTabMessage(), VK_TAB, 0);
    }
    if (Key == VK_DELETE && !FEditorEnabled)
        Key = 0;
    TEsgButtonEdit::KeyDown(Key, Shift);
}

void TEsgSpinEdit::WndProc(TMessage& Message)
{
    if (Message.Msg == PostedTabMessage()) {
        const WORD key = WORD(Message.WParam);
        if (Perform(CN_KEYDOWN, key, 0) == 0)
            Perform(WM_KEYDOWN, key, 0);
        return;
    }
    switch (Message.Msg) {
    case WM_KEYDOWN:
        switch (Message.WParam) {
        case VK_UP:
            StepUp(false);
            Message.WParam = 0;
            return;
        case VK_DOWN:
            StepDown(false);
            Message.WParam = 0;
            return;
        case VK_PRIOR:
            StepUp(true);
            Message.WParam = 0;
            return;
        case VK_NEXT:
            StepDown(true);
            Message.WParam = 0;
            return;
        default:
            break;
        }
        break;
    case WM_CHAR:
        // The keypad's decimal key types the locale's separator on request.
        if (FExcelStyleDecimalSeparator && Message.WParam == u'.' && IsKeypadDecimalKeyData(Message.LParam))
            Message.WParam = FormatSettings.DecimalSeparator.unicode();
        break;
    default:
        break;
    }
    TEsgButtonEdit::WndProc(Message);
}

void TEsgSpinEdit::DoExit()
{
    // The text shows the clamped value once the edit is left.
    switch (FSpinType) {
    case TEsgSpinType::sptNormal: {
        const int v = Value();
        if (v != ClampInt(v))
            SetValue(v);
        break;
    }
    case TEsgSpinType::sptFloat: {
        const double v = FloatValue();
        if (v != ClampFloat(v))
            SetFloatValue(v);
        break;
    }
    case TEsgSpinType::sptDate: {
        const TDateTime v = DateValue();
        if (v != ClampDate(v))
            SetDateValue(v);
        break;
    }
    case TEsgSpinType::sptTime: {
        const TDateTime v = TimeValue();
        if (v != ClampDate(v))
            SetTimeValue(v);
        break;
    }
    }
    TEsgButtonEdit::DoExit();
}

// ----- layout -----

int TEsgSpinEdit::MinHeight()
{
    return esg_layout::MinEditHeight(Font(), 2 + (BorderStyle() == bsSingle ? 4 * PlatformInfo().BorderHeight : 0));
}

void TEsgSpinEdit::SetEditRect()
{
    if (!FButton)
        return;
    const TRect c = esg_layout::InnerClient(this);
    const int a = BorderStyle() == bsSingle ? 0 : 3;
    SetTextRect(Rect(c.Left + a, c.Top + a, c.Right - FButton->Width() - a - 2, c.Bottom + 1));
}
