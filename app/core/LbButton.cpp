#include "app/core/LbButton.h"

#include <QImage>
#include <algorithm>

#include "platform/controls/StdCtrls.h"
#include "platform/graphics/ImageList.h"

// ---------------------------------------------------------------------------
// TLbButton: construction

namespace {

struct KindEntry {
    TModalResult Result;
    const char* Resource;
    const char16_t* Caption;
};

KindEntry KindOf(TLbButtonKind k)
{
    switch (k) {
    case bkOK:
        return { mrOk, "LBOK", u"OK" };
    case bkCancel:
        return { mrCancel, "LBCANCEL", u"Abbrechen" };
    case bkHelp:
        return { mrNone, "LBHELP", u"Hilfe" };
    case bkYes:
        return { mrYes, "LBYES", u"Ja" };
    case bkNo:
        return { mrNo, "LBNO", u"Nein" };
    case bkClose:
        return { mrNone, "LBCLOSE", u"Schlie\u00DFen" };
    case bkAbort:
        return { mrAbort, "LBABORT", u"Abbrechen" };
    case bkRetry:
        return { mrRetry, "LBRETRY", u"Wiederholen" };
    case bkIgnore:
        return { mrIgnore, "LBIGNORE", u"Ignorieren" };
    case bkAll:
        return { mrAll, "LBALL", u"Alle" };
    case bkCustom:
        break;
    }
    return { mrNone, nullptr, nullptr };
}

struct PresetEntry {
    TColor Color, Light, Shadow, Down, Hot;
    bool Flat;
    TLbButtonStyle Style;
    TColor FontColor;
};

PresetEntry PresetOf(TLbColorStyle s)
{
    switch (s) {
    case lcsGold:
        return { RGB(192, 192, 0), RGB(255, 255, 0), RGB(128, 128, 0), clNone, RGB(223, 223, 0), false, bsModern,
            clBlack };
    case lcsChrome:
        return { RGB(192, 192, 192), clWhite, clGray, clNone, clNone, false, bsModern, clBlack };
    case lcsBlue:
        return { RGB(0, 128, 255), RGB(0, 255, 255), RGB(0, 0, 255), clNone, clNone, false, bsModern, clBlack };
    case lcsRed:
        return { RGB(255, 0, 0), RGB(255, 192, 192), RGB(192, 0, 0), clNone, clNone, false, bsModern, clBlack };
    case lcsUltraFlat1:
        return { clBtnFace, RGB(132, 146, 181), RGB(132, 146, 181), RGB(132, 146, 181), RGB(214, 211, 222), true,
            bsNormal, clBlack };
    case lcsUltraFlat2:
        return { clBtnFace, clBlack, clBlack, RGB(188, 218, 36), RGB(228, 246, 140), true, bsNormal, clBlack };
    case lcsUltraFlatXP:
        return { RGB(219, 216, 209), RGB(132, 146, 181), RGB(133, 146, 181), RGB(133, 146, 181), RGB(182, 189, 210),
            true, bsNormal, clBlack };
    case lcsAqua:
        return { RGB(148, 206, 236), RGB(212, 230, 252), clBlack, clNone, clNone, false, bsModern, clBlack };
    case lcsDefault:
        return { clBtnFace, clWhite, clGray, clNone, clNone, false, bsNormal, clBlack };
    case lcsQuicken:
        return { RGB(0, 48, 96), RGB(192, 192, 192), RGB(192, 192, 192), RGB(41, 101, 173), RGB(156, 174, 206), false,
            bsQuicken, clWhite };
    case lcsCustom:
        break;
    }
    return {};
}

bool IsTransparentStyle(TLbButtonStyle s)
{
    return s == bsModern || s == bsShape || s == bsQuicken;
}

} // namespace

TLbButton::TLbButton(TComponent* AOwner)
    : TCustomControl(AOwner)
    , FGlyph(std::make_unique<TBitmap>())
    , FHTFont(std::make_unique<TFont>())
{
    // Neither click nor double-click events of the toolkit: a double click
    // arrives as a second press, and the button decides itself what clicks.
    SetControlStyle(TControlStyle(csCaptureMouse) | csSetCaption);
    SetBounds(Left(), Top(), 100, 23);
    if (auto* form = dynamic_cast<TCustomForm*>(AOwner))
        FHTFont->Assign(form->Font());
    SetTabStop(true);
    SetColor(clBtnFace);
    FThread = std::make_unique<TLbButtonThread>();
    FThread->FNotify = [this](TObject* Sender) { FadeStep(Sender); };
}

TLbButton::~TLbButton()
{
    Destroying();
    StopThread();
    // No action change may reach the button once its own part is gone.
    SetAction(nullptr);
}

// ---------------------------------------------------------------------------
// Properties

void TLbButton::SetAlignment(TAlignment v)
{
    FAlignment = v;
    Repaint();
}

void TLbButton::SetColorStyle(TLbColorStyle v)
{
    if (v == lcsCustom)
        return;
    const PresetEntry p = PresetOf(v);
    FFlat = false;
    Font()->SetColor(clBlack);
    FStyle = bsNormal;
    // The style goes to the field, so a preset never touches the window's
    // transparency.
    SetColor(p.Color);
    FLightColor = p.Light;
    FShadowColor = p.Shadow;
    FColorWhenDown = p.Down;
    FHotTrackColor = p.Hot;
    FFlat = p.Flat;
    FStyle = p.Style;
    Font()->SetColor(p.FontColor);
    Repaint();
}

void TLbButton::SetEnabled(bool v)
{
    TCustomControl::SetEnabled(v);
    bDown = false;
    Repaint();
}

void TLbButton::SetFlat(bool v)
{
    FFlat = v;
    Repaint();
}

void TLbButton::SetGlyph(const TBitmap* v)
{
    if (v) {
        FGlyph->Assign(v);
        FNumGlyphs = FGlyph->Height() > 0 ? FGlyph->Width() / FGlyph->Height() : 0;
    } else {
        FGlyph->Assign(nullptr);
        FNumGlyphs = 0;
    }
    FKind = bkCustom;
    Invalidate();
}

void TLbButton::SetKind(TLbButtonKind v)
{
    if (v != bkCustom) {
        const KindEntry k = KindOf(v);
        SetNumGlyphs(2);
        SetModalResult(k.Result);
        FGlyph->LoadFromResourceName(QString::fromLatin1(k.Resource));
        SetCaption(QString::fromUtf16(k.Caption));
    }
    FKind = v;
    Invalidate();
}

void TLbButton::SetLayout(TLbButtonLayout v)
{
    FLayout = v;
    Repaint();
}

void TLbButton::SetLightColor(TColor v)
{
    FLightColor = v;
    Repaint();
}

void TLbButton::SetModalResult(TModalResult v)
{
    FModalResult = v;
    FKind = bkCustom;
}

void TLbButton::SetNumGlyphs(int v)
{
    FNumGlyphs = v;
    Invalidate();
}

void TLbButton::SetShadowColor(TColor v)
{
    FShadowColor = v;
    Repaint();
}

void TLbButton::SetSlowDecease(bool v)
{
    FSlowDecease = v;
    if (v) {
        if (!FThread) {
            FThread = std::make_unique<TLbButtonThread>();
            FThread->FNotify = [this](TObject* Sender) { FadeStep(Sender); };
        }
    } else {
        FHotTrackStep = 0;
        StopThread();
    }
    Invalidate();
}

void TLbButton::SetStyle(TLbButtonStyle v)
{
    FStyle = v;
    // The transparent look is taken from the field when the window is made:
    // asking for the window here would build every hidden form at start.
    FExTransparent = IsTransparentStyle(v);
    Invalidate();
}

void TLbButton::SetWordWrap(bool v)
{
    FWordWrap = v;
    Repaint();
}

void TLbButton::StopThread()
{
    if (!FThread)
        return;
    // Resume until it runs, ask it to end, wait for it, free it.
    FThread->Resume();
    FThread->Terminate();
    FThread->WaitFor();
    FThread.reset();
}

// ---------------------------------------------------------------------------
// State

bool TLbButton::Hot() const
{
    return bCursorOnButton || Focused();
}

bool TLbButton::ParentShowing() const
{
    return FParent && FParent->Showing();
}

void TLbButton::FadeStep(TObject* Sender)
{
    (void)Sender;
    if (IsDestroying())
        return;
    --FHotTrackStep;
    if (FHotTrackStep <= 0) {
        FHotTrackStep = 0;
        if (FThread && !FThread->Suspended())
            FThread->Suspend();
    }
    Repaint();
}

void TLbButton::MouseEnter()
{
    if (Enabled() && Visible() && ParentShowing()) {
        bCursorOnButton = true;
        FHotTrackStep = LbHotTrackSteps;
        // Back on the button before a fade ended: the fade stops, or it would
        // take the hot colour away under the mouse. The next leave starts it
        // again from the full hot colour.
        if (FThread && !FThread->Suspended())
            FThread->Suspend();
        Repaint();
        TCustomControl::MouseEnter();
    }
}

void TLbButton::MouseLeave()
{
    bCursorOnButton = false;
    if (FSlowDecease) {
        if (FThread && FThread->Suspended())
            FThread->Resume();
    } else {
        FHotTrackStep = 0;
        Repaint();
    }
    if (Enabled() && Visible() && ParentShowing() && OnMouseExit)
        OnMouseExit(this);
}

// ---------------------------------------------------------------------------
// Input

void TLbButton::Click()
{
    bDown = true;
    const std::uint64_t self = ControlSerial(this);
    if (Visible() && Enabled() && bDown) {
        bDown = false;
        if (OnClick)
            OnClick(this);
        if (!FindControlBySerial(self))
            return;
        if (FModalResult != mrNone)
            if (TCustomForm* form = GetParentForm(this))
                form->SetModalResult(FModalResult);
        if (TPopupMenuBase* menu = PopupMenu<TPopupMenuBase>()) {
            const TPoint p = ClientToScreen(Point(0, Height()));
            menu->SetPopupComponent(this);
            menu->Popup(p.X, p.Y);
            if (!FindControlBySerial(self))
                return;
        }
    }
    // A hidden or disabled button does not stay drawn pressed.
    bDown = false;
    if (TControlActionLink* link = ActionLink())
        link->Execute(this);
}

void TLbButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const std::uint64_t self = ControlSerial(this);
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (!FindControlBySerial(self))
        return;
    if (Button == mbLeft && Enabled()) {
        bDown = true;
        if (CanFocus() && !Focused())
            SetFocus();
        Repaint();
    }
}

void TLbButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const std::uint64_t self = ControlSerial(this);
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (!FindControlBySerial(self))
        return;
    // Released anywhere, the captured press still clicks.
    if (bDown)
        Click();
    if (!FindControlBySerial(self))
        return;
    bDown = false;
    Repaint();
}

bool TLbButton::HandleDialogKey(TMessage& Message)
{
    const WORD key = static_cast<WORD>(Message.WParam);
    const bool mine = (key == VK_RETURN && FDefault) || (key == VK_ESCAPE && FCancel);
    const TShiftState mods = KeyDataToShiftState(Message.LParam) & (TShiftState(ssShift) | ssCtrl | ssAlt);
    if (!mine || mods || !Visible() || !Enabled())
        return false;
    TCustomForm* form = nullptr;
    for (TComponent* o = Owner(); o && !form; o = o->Owner())
        form = dynamic_cast<TCustomForm*>(o);
    if (!form)
        form = GetParentForm(this);
    // While a push button has the focus, Enter and Escape are the toolkit's
    // to handle: the Default and Cancel buttons stay out.
    if (form) {
        if (TWinControl* active = form->ActiveControl()) {
            const QString cls = active->ClassName().toUpper();
            if (cls.contains(QLatin1String("BUTTON")) && !cls.contains(QLatin1String("RADIOBUTTON")))
                return false;
        }
    }
    bDown = true;
    Click();
    Message.Result = 1;
    return true;
}

bool TLbButton::HandleDialogChar(TMessage& Message)
{
    if (IsAccel(static_cast<char16_t>(Message.WParam), Caption()) && Visible() && Enabled() && ParentShowing()) {
        bDown = true;
        Click();
        Message.Result = 1;
        return true;
    }
    return false;
}

void TLbButton::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_DIALOGKEY:
        if (HandleDialogKey(Message))
            return;
        break;
    case CM_DIALOGCHAR:
        if (HandleDialogChar(Message))
            return;
        break;
    case CM_FOCUSCHANGED:
        Repaint();
        break;
    case CN_KEYDOWN:
        if ((Message.WParam == VK_RETURN || Message.WParam == VK_SPACE) && Enabled()) {
            bDown = true;
            Repaint();
        }
        break;
    case CN_KEYUP: {
        const std::uint64_t self = ControlSerial(this);
        // Only a key that went down on this button clicks it: the release of
        // an Enter that closed a dialog lands here once the focus is back.
        if ((Message.WParam == VK_RETURN || Message.WParam == VK_SPACE) && bDown)
            Click();
        if (!FindControlBySerial(self))
            return;
        Repaint();
        break;
    }
    case WM_ERASEBKGND:
        // A transparent window leaves its parent's picture behind the face.
        if (FExTransparent) {
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

void TLbButton::ActionChange(TObject* Sender, bool CheckDefaults)
{
    TCustomControl::ActionChange(Sender, CheckDefaults);
    if (auto* action = dynamic_cast<TCustomAction*>(Sender))
        TakeActionImage(action);
}

std::unique_ptr<TControlActionLink> TLbButton::CreateActionLink()
{
    return std::make_unique<TLbButtonActionLink>(this);
}

void TLbButton::TakeActionImage(const TCustomAction* action)
{
    TImageList* images = action->Images();
    const int index = action->ImageIndex();
    if (images && index >= 0 && index < images->Count() && FGlyph->Empty()) {
        FGlyph->SetSize(images->Width(), images->Height());
        TCanvas* c = FGlyph->Canvas();
        c->Brush()->SetColor(LbTransparentColor);
        c->FillRect(Rect(0, 0, images->Width(), images->Height()));
        images->Draw(c, 0, 0, index);
        FNumGlyphs = 1;
        Repaint();
    }
}

// ---------------------------------------------------------------------------
// TLbButtonActionLink

TLbButtonActionLink::TLbButtonActionLink(TLbButton* AClient)
    : TControlActionLink(AClient)
{
}

void TLbButtonActionLink::Change()
{
    static_cast<TLbButton*>(FClient)->TakeActionImage(Action());
}

// ---------------------------------------------------------------------------
// Painting

void TLbButton::Paint()
{
    if ((!Visible() && !IsDesigning()) || IsLoading() || IsDestroying())
        return;
    const int W = Width();
    const int H = Height();
    if (W <= 0 || H <= 0)
        return;

    TBitmap bmp(W, H);
    TCanvas* bc = bmp.Canvas();
    const bool hot = Hot();
    TFont font;
    font.Assign(hot && FUseHTFont ? FHTFont.get() : Font());

    if (IsTransparentStyle(FStyle)) {
        bmp.SetTransparentColor(LbTransparentColor);
        bmp.SetTransparent(true);
        bc->Brush()->SetColor(LbTransparentColor);
        bc->FillRect(Rect(0, 0, W, H));
    }

    TLbButtonFace face;
    face.Width = W;
    face.Height = H;
    face.Alignment = FAlignment;
    face.Caption = Caption();
    face.Layout = FLayout;
    face.Font = &font;
    face.ShadowColor = FShadowColor;
    face.LightColor = FLightColor;
    face.HotTrackColor = FHotTrackColor;
    face.ColorWhenDown = FColorWhenDown;
    face.Color = Color();
    face.Style = FStyle;
    face.HasPopupMenu = HasPopupMenu();
    face.WordWrap = FWordWrap;
    face.Flat = FFlat;
    face.Enabled = Enabled();
    face.Hot = hot;
    face.Down = bDown;
    face.Glyph = FGlyph.get();
    face.NumGlyphs = FNumGlyphs;
    face.HotTrackStep = FHotTrackStep;

    const bool focused = Focused();
    if (FStyle == bsOld && focused) {
        // The classic default-button look: the face one pixel in, a black
        // outline round it.
        face.Width = W - 2;
        face.Height = H - 2;
        if (bDown && Enabled())
            face.LightColor = FShadowColor;
        LbPaintButtonFace(bc, face);
        const QImage inner = bmp.Image().copy(0, 0, W - 2, H - 2);
        bc->Draw(1, 1, inner);
        bc->Pen()->SetStyle(TPenStyle::psSolid);
        bc->Pen()->SetColor(clBlack);
        bc->Brush()->SetStyle(TBrushStyle::bsClear);
        bc->Rectangle(0, 0, W, H);
    } else {
        LbPaintButtonFace(bc, face);
    }

    TCanvas* canvas = Canvas();
    canvas->Draw(0, 0, &bmp);
    if (focused && Enabled() && FStyle != bsShape)
        canvas->DrawFocusRect(Rect(4, 4, W - 4, H - 4));
}
