#include "controls/grid/EsgButtonEdit.h"

#include <QImage>
#include <algorithm>

#include "platform/graphics/PlatformInfo.h"

namespace esg_layout {

namespace {
constexpr int kEditFrame = 2;
}

TRect InnerClient(const TCustomEdit* Edit)
{
    TRect r = Edit->ClientRect();
    if (Edit->BorderStyle() == bsSingle)
        InflateRect(r, -kEditFrame, -kEditFrame);
    return r;
}

int FontTextHeight(const TFont* Font)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas;
    TCanvasLock lock(&canvas, &scratch);
    canvas.Font()->Assign(Font);
    return canvas.TextHeight(QStringLiteral("0"));
}

int MinEditHeight(const TFont* Font, int Extra)
{
    const int h = FontTextHeight(Font);
    return h + std::min(h, SystemFontTextHeight()) / 4 + Extra;
}

bool GrowToMinHeight(TCustomEdit* Edit, int MinHeight)
{
    if (Edit->Height() >= MinHeight)
        return false;
    Edit->SetHeight(MinHeight);
    return true;
}

void PlaceRightButton(const TCustomEdit* Edit, TControl* Button)
{
    // In a bordered edit the rule keeps a further pixel inside the frame on
    // each side (the toolkit's 5 against 1, counted from the outer edge).
    const TRect c = InnerClient(Edit);
    const int bw = Button->Width();
    Button->SetBounds(c.Right - bw - 1, c.Top, bw, c.Bottom - c.Top - 1);
}

} // namespace esg_layout

// ---------------------------------------------------------------------------
// TEsgButtonEdit

TEsgButtonEdit::TEsgButtonEdit(TComponent* AOwner)
    : TCustomMaskEdit(AOwner)
{
}

TEsgButtonEdit::~TEsgButtonEdit()
{
    FButtonHost = nullptr;
}

void TEsgButtonEdit::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomMaskEdit::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FButtonHost)
        FButtonHost = nullptr;
}

void TEsgButtonEdit::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    if (FButtonHost)
        SetEditRect();
}

void TEsgButtonEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    const bool ctrl = Shift.testFlag(ssCtrl);
    const bool shift = Shift.testFlag(ssShift);
    const bool clipboardEdit
        = (ctrl && (Key == 'V' || Key == 'X')) || (shift && !ctrl && (Key == VK_INSERT || Key == VK_DELETE));
    if (clipboardEdit && (!FEditorEnabled || ReadOnly()))
        Key = 0;
    TCustomMaskEdit::KeyDown(Key, Shift);
}

void TEsgButtonEdit::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_PASTE || Message.Msg == WM_CUT) {
        if (FEditorEnabled && !ReadOnly()) {
            if (Message.Msg == WM_PASTE)
                PasteFromClipboard();
            else
                CutToClipboard();
        }
        return;
    }
    TCustomMaskEdit::WndProc(Message);
}

void TEsgButtonEdit::BoundsChanged(const TRect& oldBounds)
{
    TCustomMaskEdit::BoundsChanged(oldBounds);
    if (oldBounds.Width() != Width() || oldBounds.Height() != Height())
        Layout();
}

void TEsgButtonEdit::Layout()
{
    // A grown edit lays itself out again.
    if (!FButtonHost || esg_layout::GrowToMinHeight(this, MinHeight()))
        return;
    esg_layout::PlaceRightButton(this, FButtonHost);
    SetEditRect();
}
