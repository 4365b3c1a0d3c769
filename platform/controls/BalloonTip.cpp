#include "platform/controls/BalloonTip.h"

#include "platform/controls/Notifications.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/DrawText.h"

#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {

constexpr int Padding = 8;
constexpr int IconSize = 16;
constexpr int IconGap = 6;
constexpr int TitleGap = 4;
// The stem's point lies this far from the body's left edge.
constexpr int StemOffset = 16;
constexpr int DefaultDelays[3] = { 500, 100, 5000 };
constexpr TColor BorderColor = TColor(0x767676);

} // namespace

// Watches the tool's window for the mouse and runs the tip's two timers.
class TBalloonTipWatcher : public QObject {
public:
    explicit TBalloonTipWatcher(TBalloonTip* Tip)
        : FTip(Tip)
    {
        FShow.setSingleShot(true);
        FHide.setSingleShot(true);
        QObject::connect(&FShow, &QTimer::timeout, [this] { FTip->Popup(FTip->FLastMouse); });
        QObject::connect(&FHide, &QTimer::timeout, [this] { FTip->Pop(); });
    }

    void Watch(QWidget* W)
    {
        if (FWidget)
            FWidget->removeEventFilter(this);
        FWidget = W;
        if (W) {
            W->setMouseTracking(true);
            W->installEventFilter(this);
        }
    }

    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Watched != FWidget)
            return false;
        switch (Event->type()) {
        case QEvent::MouseMove: {
            const QPointF p = static_cast<QMouseEvent*>(Event)->globalPosition();
            FTip->ToolMouseMoved(TPoint(int(p.x()), int(p.y())));
            break;
        }
        case QEvent::Leave:
        case QEvent::Hide:
            FTip->ToolLeft();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
            FShow.stop();
            FTip->Pop();
            break;
        case QEvent::FocusOut:
            if (FTip->FTextOnly)
                FTip->Pop();
            break;
        default:
            break;
        }
        return false;
    }

    TBalloonTip* FTip;
    // The tool may go first.
    QPointer<QWidget> FWidget;
    QTimer FShow;
    QTimer FHide;
};

TBalloonTip::TBalloonTip(TComponent* AOwner)
    : TTopLevelWindow<TCustomControl>(AOwner)
    , FWatcher(std::make_unique<TBalloonTipWatcher>(this))
{
    SetVisible(false);
    SetTopMost(true);
    SetToolWindow(true);
    SetColor(clInfoBk);
}

TBalloonTip::~TBalloonTip()
{
    FWatcher->Watch(nullptr);
}

TWinControl* TBalloonTip::Tool() const
{
    return FToolSerial ? dynamic_cast<TWinControl*>(FindControlBySerial(FToolSerial)) : nullptr;
}

void TBalloonTip::SetTool(TWinControl* Value)
{
    Pop();
    FTextOnly = false;
    FToolSerial = Value ? ControlSerial(Value) : 0;
    FWatcher->Watch(Value ? Value->Widget() : nullptr);
    if (Value && !Parent())
        SetParent(Value);
}

void TBalloonTip::SetTitle(const QString& Value, int Icon)
{
    FTitle = Value;
    FIcon = Icon >= btiNone && Icon <= btiError ? TBalloonTipIcon(Icon) : btiNone;
    if (FActive)
        Layout();
}

void TBalloonTip::SetMaxTipWidth(int Value)
{
    FMaxWidth = Value;
    if (FActive)
        Layout();
}

void TBalloonTip::SetTipBkColor(TColor Value)
{
    FBkColor = Value;
    Invalidate();
}

void TBalloonTip::SetTipTextColor(TColor Value)
{
    FTextColor = Value;
    Invalidate();
}

int TBalloonTip::Delay(TTipDelay Which) const
{
    const int i = int(Which);
    return FDelays[i] < 0 ? DefaultDelays[i] : FDelays[i];
}

void TBalloonTip::SetDelay(TTipDelay Which, int Milliseconds)
{
    FDelays[int(Which)] = Milliseconds < 0 ? -1 : Milliseconds;
}

bool TBalloonTip::Notify(int Code, QString* Text)
{
    TWinControl* tool = Tool();
    if (!tool)
        return false;
    TNMTTDispInfo info;
    info.hdr.hwndFrom = Handle();
    info.hdr.idFrom = tool->HandleAllocated() ? tool->Handle() : 0;
    info.hdr.code = Code;
    const std::uint64_t self = ControlSerial(this);
    tool->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    if (!FindControlBySerial(self))
        return false;
    if (Text)
        *Text = info.Text;
    return true;
}

bool TBalloonTip::Popup(TPoint ScreenPos)
{
    FWatcher->FShow.stop();
    QString text;
    if (Tool())
        Notify(TTN_GETDISPINFO, &text);
    else
        text = FText;
    if (text.isEmpty()) {
        Pop();
        return false;
    }
    FText = text;
    FAnchor = ScreenPos;
    Layout();
    const bool wasActive = FActive;
    FActive = true;
    FShownOnTool = true;
    Show();
    Invalidate();
    if (!wasActive)
        Notify(TTN_SHOW, nullptr);
    FWatcher->FHide.start(Delay(TTipDelay::tdAutoPop));
    return true;
}

void TBalloonTip::Pop()
{
    FWatcher->FHide.stop();
    if (!FActive)
        return;
    FActive = false;
    Notify(TTN_POP, nullptr);
    Hide();
}

void TBalloonTip::ShowText(TWinControl* At, TPoint ScreenPos, const QString& Text)
{
    Pop();
    FToolSerial = 0;
    FTextOnly = true;
    FWatcher->Watch(At ? At->Widget() : nullptr);
    if (At && !Parent())
        SetParent(At);
    FText = Text;
    Popup(ScreenPos);
}

void TBalloonTip::ToolMouseMoved(TPoint ScreenPos)
{
    FLastMouse = ScreenPos;
    if (FTextOnly)
        return;
    // A shown tip stays while the mouse is on the tool; the tool pops it
    // when what it shows no longer fits the place.
    if (FActive)
        return;
    FWatcher->FShow.start(Delay(FShownOnTool ? TTipDelay::tdReshow : TTipDelay::tdInitial));
}

void TBalloonTip::ToolLeft()
{
    FWatcher->FShow.stop();
    Pop();
    FShownOnTool = false;
}

void TBalloonTip::Layout()
{
    TBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas* c = scratch.Canvas();
    c->SetFont(Font());
    const bool hasTitle = !FTitle.isEmpty() || FIcon != btiNone;
    int titleW = 0, titleH = 0;
    if (hasTitle) {
        c->Font()->SetStyle(c->Font()->Style() | TFontStyle::fsBold);
        titleW = c->TextWidth(FTitle);
        titleH = c->TextHeight(QStringLiteral("Ag"));
        c->SetFont(Font());
        if (FIcon != btiNone) {
            titleW += IconSize + IconGap;
            titleH = std::max(titleH, IconSize);
        }
    }
    unsigned flags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
    TRect text(0, 0, 0, 0);
    if (FMaxWidth > 0) {
        text.Right = FMaxWidth;
        flags |= DT_WORDBREAK;
    }
    DrawText(c, FText, text, flags);
    const int bodyW = std::max(titleW, text.Width()) + 2 * Padding;
    const int top = StemHeight;
    int y = top + Padding;
    FTitleRect = Rect(Padding, y, Padding + titleW, y + titleH);
    if (hasTitle)
        y += titleH + TitleGap;
    FTextRect = Rect(Padding, y, Padding + text.Width(), y + text.Height());
    const int bodyH = (y - top) + text.Height() + Padding;
    FBody = Rect(0, top, std::max(bodyW, StemOffset + StemHeight + 8), top + bodyH);
    SetBounds(FAnchor.X - StemOffset, FAnchor.Y, FBody.Right, FBody.Bottom);
    // The window's shape is the outline grown by the pixel the pen covers.
    std::vector<TPoint> shape = Outline();
    for (TPoint& p : shape) {
        if (p.X >= FBody.Right - 1 - 6)
            ++p.X;
        if (p.Y >= FBody.Bottom - 1 - 6)
            ++p.Y;
    }
    SetWindowRegion(shape);
}

// The balloon: a body with corners cut round and, over its top edge, the stem.
std::vector<TPoint> TBalloonTip::Outline() const
{
    const int l = FBody.Left, t = FBody.Top, r = FBody.Right - 1, b = FBody.Bottom - 1;
    return {
        TPoint(l, t + 6),
        TPoint(l + 1, t + 3),
        TPoint(l + 3, t + 1),
        TPoint(l + 6, t),
        TPoint(l + StemOffset, t),
        TPoint(l + StemOffset, 0),
        TPoint(l + StemOffset + StemHeight, t),
        TPoint(r - 6, t),
        TPoint(r - 3, t + 1),
        TPoint(r - 1, t + 3),
        TPoint(r, t + 6),
        TPoint(r, b - 6),
        TPoint(r - 1, b - 3),
        TPoint(r - 3, b - 1),
        TPoint(r - 6, b),
        TPoint(l + 6, b),
        TPoint(l + 3, b - 1),
        TPoint(l + 1, b - 3),
        TPoint(l, b - 6),
    };
}

namespace {

void DrawTipIcon(TCanvas* C, TBalloonTipIcon Icon, int X, int Y)
{
    TPen* pen = C->Pen();
    TBrush* brush = C->Brush();
    pen->SetWidth(1);
    switch (Icon) {
    case btiInfo:
        pen->SetColor(TColor(0xA05A1E));
        brush->SetColor(TColor(0xD77800));
        C->Ellipse(X, Y, X + IconSize, Y + IconSize);
        brush->SetColor(clWhite);
        C->FillRect(Rect(X + 7, Y + 3, X + 9, Y + 5));
        C->FillRect(Rect(X + 7, Y + 6, X + 9, Y + 13));
        break;
    case btiWarning:
        pen->SetColor(TColor(0x0090C0));
        brush->SetColor(TColor(0x00D7FF));
        C->Polygon({ TPoint(X + 8, Y), TPoint(X + 15, Y + 15), TPoint(X, Y + 15) });
        brush->SetColor(clBlack);
        C->FillRect(Rect(X + 7, Y + 5, X + 9, Y + 11));
        C->FillRect(Rect(X + 7, Y + 12, X + 9, Y + 14));
        break;
    case btiError:
        pen->SetColor(TColor(0x1C1CA8));
        brush->SetColor(TColor(0x2B2BE0));
        C->Ellipse(X, Y, X + IconSize, Y + IconSize);
        pen->SetColor(clWhite);
        pen->SetWidth(2);
        C->MoveTo(X + 5, Y + 5);
        C->LineTo(X + 11, Y + 11);
        C->MoveTo(X + 11, Y + 5);
        C->LineTo(X + 5, Y + 11);
        pen->SetWidth(1);
        break;
    case btiNone:
        break;
    }
}

} // namespace

void TBalloonTip::Paint()
{
    TCanvas* c = Canvas();
    const TColor bk = FBkColor == clNone ? clInfoBk : FBkColor;
    const TColor fg = FTextColor == clNone ? clInfoText : FTextColor;
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(bk);
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetColor(BorderColor);
    c->Pen()->SetWidth(1);
    c->Polygon(Outline());
    int x = FTitleRect.Left;
    if (FIcon != btiNone) {
        DrawTipIcon(c, FIcon, x, FTitleRect.Top);
        x += IconSize + IconGap;
    }
    // Text over the balloon's own colour, whatever brush the icon left.
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->SetFont(Font());
    c->Font()->SetColor(fg);
    if (!FTitle.isEmpty()) {
        c->Font()->SetStyle(c->Font()->Style() | TFontStyle::fsBold);
        const int h = c->TextHeight(FTitle);
        c->TextOut(x, FTitleRect.Top + (FTitleRect.Height() - h) / 2, FTitle);
        c->Font()->SetStyle(Font()->Style());
    }
    TRect r = FTextRect;
    DrawText(c, FText, r, DT_NOPREFIX | DT_EXPANDTABS | (FMaxWidth > 0 ? DT_WORDBREAK : 0));
}

void TBalloonTip::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TTopLevelWindow<TCustomControl>::MouseDown(Button, Shift, X, Y);
    Pop();
}
