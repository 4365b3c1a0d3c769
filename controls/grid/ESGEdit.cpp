#include "controls/grid/ESGEdit.h"

#include <algorithm>

#include "platform/controls/Menus.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/ThemePainter.h"

// ---------------------------------------------------------------------------
// TExSpeedButton

TExSpeedButton::TExSpeedButton(TComponent* AOwner)
    : TSpeedButton(AOwner)
{
}

TEsgEditButton* TExSpeedButton::Container() const
{
    return dynamic_cast<TEsgEditButton*>(Parent());
}

void TExSpeedButton::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    Invalidate();
}

void TExSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // A press on the button counts wherever the pointer is released.
    const bool pressing = Button == mbLeft && Pressing();
    const std::uint64_t self = ControlSerial(this);
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    if (pressing && FindControlBySerial(self))
        if (TEsgEditButton* c = Container())
            c->ButtonReleased();
}

void TExSpeedButton::Paint()
{
    TCanvas* C = Canvas();
    if (!C)
        return;
    TRect R = ClientRect();
    const TEsgEditButton* box = Container();
    const bool pressed = Pressed();
    if (box && box->ButtonColor() != clNone) {
        SetFlat(true);
        C->Brush()->SetColor(pressed ? box->ButtonColorDown() : Hot() ? box->ButtonColorHot() : box->ButtonColor());
        C->FillRect(R);
    } else if (HTHEME theme
        = FIsWinXP && IsThemeActive() ? OpenThemeData(nullptr, QStringLiteral("button")) : nullptr) {
        DrawThemeBackground(theme, C, BP_PUSHBUTTON, pressed ? PBS_PRESSED : Hot() ? PBS_HOT : PBS_NORMAL, R);
        CloseThemeData(theme);
    } else if (Flat()) {
        C->Brush()->SetColor(clBtnFace);
        C->DrawEdge(R, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        InflateRect(R, -1, -1);
    } else {
        DrawFrameControl(C, R, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0u));
    }
    const TPoint offset = FState == bsDown ? TPoint(1, 1) : TPoint(0, 0);
    DrawGlyph(C, ClientRect(), offset);
    DrawCaption(C, ClientRect(), offset, clBlack);
}

// ---------------------------------------------------------------------------
// TEsgEditButton

TEsgEditButton::TEsgEditButton(TComponent* AOwner)
    : TEsgButtonBox(AOwner)
{
    FButton = new TExSpeedButton(this);
    FButton->SetParent(this);
    FButton->SetAlign(alClient);
    SetBounds(0, 0, 20, 25);
}

TEsgEditButton::~TEsgEditButton()
{
    FButton = nullptr;
}

void TEsgEditButton::SetFlat(bool v)
{
    FFlat = v;
    FButton->SetFlat(v);
}

void TEsgEditButton::ButtonReleased()
{
    const std::uint64_t self = ControlSerial(this);
    if (OnClick)
        OnClick(this);
    if (FindControlBySerial(self))
        FocusAfterPress(true);
}

// ---------------------------------------------------------------------------
// TEsgEditBtn

TEsgEditBtn::TEsgEditBtn(TComponent* AOwner)
    : TEsgButtonEdit(AOwner)
{
    FButton = new TEsgEditButton(this);
    FButtonHost = FButton;
    FButton->SetBounds(0, 0, FButtonWidth, 18);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](TObject* Sender) { ClickButton(Sender); };
    SetText(QStringLiteral("0"));
    Layout();
}

TEsgEditBtn::~TEsgEditBtn()
{
    // Layout must not reach the buttons while they go.
    FButton = nullptr;
    FButtonHost = nullptr;
}

void TEsgEditBtn::Notification(TComponent* AComponent, TOperation Operation)
{
    TEsgButtonEdit::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FButton)
        FButton = nullptr;
}

void TEsgEditBtn::ClickButton(TObject* Sender)
{
    if (OnClickBtn)
        OnClickBtn(Sender);
}

TBitmap* TEsgEditBtn::Glyph() const
{
    return FButton->Button()->Glyph();
}
void TEsgEditBtn::SetGlyph(const TBitmap* v)
{
    FButton->Button()->SetGlyph(v);
}
QString TEsgEditBtn::ButtonCaption() const
{
    return FButton->Button()->Caption();
}
void TEsgEditBtn::SetButtonCaption(const QString& v)
{
    FButton->Button()->SetCaption(v);
}

void TEsgEditBtn::SetButtonWidth(int v)
{
    FButtonWidth = v;
    FButton->SetWidth(v);
    Layout();
}

void TEsgEditBtn::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    FButton->Button()->SetIsWinXP(v);
}

void TEsgEditBtn::SetRightAlign(bool v)
{
    if (v == FRightAlign)
        return;
    FRightAlign = v;
    SetAlignment(v ? taRightJustify : taLeftJustify);
}

void TEsgEditBtn::KeyDown(WORD& Key, TShiftState Shift)
{
    const WORD key = Key;
    TEsgButtonEdit::KeyDown(Key, Shift);
    if (key == VK_F4 && !Shift.testFlag(ssCtrl) && !Shift.testFlag(ssAlt))
        ClickButton(this);
}

void TEsgEditBtn::KeyPress(char16_t& Key)
{
    if (!FEditorEnabled) {
        Key = 0;
        return;
    }
    TEsgButtonEdit::KeyPress(Key);
}

int TEsgEditBtn::MinHeight()
{
    return esg_layout::MinEditHeight(Font(), 0);
}

void TEsgEditBtn::SetEditRect()
{
    if (!FButton)
        return;
    const TRect c = esg_layout::InnerClient(this);
    const int a = BorderStyle() == bsSingle ? 1 : 3;
    int right = c.Right - (FButton->Width() + FUnitSize + 5);
    if (FUnitSize > 0)
        right -= 3;
    SetTextRect(Rect(c.Left + a, c.Top + a, right, c.Bottom + 1));
}

// ---------------------------------------------------------------------------
// TEsgUnitEditBtn

TEsgUnitEditBtn::TEsgUnitEditBtn(TComponent* AOwner)
    : TEsgEditBtn(AOwner)
    , FUnits(std::make_unique<TStringList>())
{
    FUnitSize = 20;
    SetRightAlign(true);
    Layout();
}

TEsgUnitEditBtn::~TEsgUnitEditBtn() = default;

void TEsgUnitEditBtn::SetUnits(const TStrings* v)
{
    if (v)
        FUnits->Assign(v);
}

void TEsgUnitEditBtn::SetUnitID(const QString& v)
{
    FUnitID = v;
    Invalidate();
}

void TEsgUnitEditBtn::SetUnitSpace(int v)
{
    FUnitSize = v;
    SetEditRect();
    Invalidate();
}

void TEsgUnitEditBtn::SetTextAndUnit(const QString& v)
{
    for (int i = 0; i < FUnits->Count(); ++i) {
        const QString unit = FUnits->Get(i);
        if (unit.isEmpty())
            continue;
        // The unit ends the value and occurs nowhere before its end; a unit
        // that is not found at all ends nothing.
        const qsizetype at = v.indexOf(unit);
        if (at >= 0 && at == v.size() - unit.size()) {
            SetText(v.left(v.size() - unit.size()));
            SetUnitID(unit);
            return;
        }
    }
}

void TEsgUnitEditBtn::ClickButton(TObject* Sender)
{
    (void)Sender;
    TEsgEditBtn::ClickButton(this);
    TPopupMenu menu(nullptr);
    for (int i = 0; i < FUnits->Count(); ++i) {
        auto* item = new TMenuItem(&menu);
        item->SetCaption(FUnits->Get(i));
        // The chosen item arrives as a command carrying its number.
        const int number = i + 1;
        item->OnClick = [this, number](TObject*) { Perform(WM_COMMAND, WPARAM(number), 0); };
        menu.Items()->Add(item);
    }
    const TPoint p = ClientToScreen(TPoint(ClientWidth() - 15, ClientHeight()));
    menu.Popup(p.X, p.Y);
}

void TEsgUnitEditBtn::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_COMMAND && HiWord(Message.WParam) != EN_CHANGE) {
        const int k = LoWord(Message.WParam);
        if (k >= 1 && k <= FUnits->Count()) {
            const QString previous = FUnitID;
            SetUnitID(FUnits->Get(k - 1));
            if (FUnitID != previous && OnUnitChanged)
                OnUnitChanged(this, FUnitID);
        }
        return;
    }
    TEsgEditBtn::WndProc(Message);
}

void TEsgUnitEditBtn::PaintAfterWidget(TCanvas* Canvas)
{
    if (FUnitID.isEmpty() || !Button())
        return;
    const TRect c = esg_layout::InnerClient(this);
    const int right = c.Right - (Button()->Width() + 3);
    TRect r = Rect(right - FUnitSize, c.Top + 2, right, c.Bottom);
    Canvas->Font()->Assign(Font());
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    DrawText(Canvas, FUnitID, r, DT_EDITCONTROL | DT_SINGLELINE | DT_NOPREFIX);
}
