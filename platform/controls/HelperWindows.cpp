#include "platform/controls/HelperWindows.h"

#include "platform/controls/Forms.h"

#include <QPainter>
#include <QPolygon>
#include <QWidget>
#include <algorithm>

TRegion PolygonRegion(std::span<const TPoint> Points)
{
    QPolygon poly;
    for (const TPoint& p : Points)
        poly << QPoint(p.X, p.Y);
    return QRegion(poly, Qt::WindingFill);
}

void THelperWindowState::ApplyWindowFlags()
{
    QWidget* w = FControl->WidgetIfAllocated();
    if (!w)
        return;
    // Owned by the parent's form: it stays above the form and goes with it.
    QWidget* owner = nullptr;
    if (TCustomForm* form = GetParentForm(FControl))
        owner = form->Widget();
    if (!owner && FControl->Parent())
        owner = FControl->Parent()->WidgetIfAllocated();
    Qt::WindowFlags flags = (FToolWindow ? Qt::Tool : Qt::Window) | Qt::FramelessWindowHint
        | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint;
    if (FTopMost)
        flags |= Qt::WindowStaysOnTopHint;
    const bool visible = w->isVisible();
    if (w->parentWidget() != owner || w->windowFlags() != flags)
        w->setParent(owner, flags);
    w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    w->setFocusPolicy(Qt::NoFocus);
    w->setGeometry(FControl->Left(), FControl->Top(), FControl->Width(), FControl->Height());
    w->setWindowOpacity(FOpacity / 255.0);
    w->setAttribute(Qt::WA_TranslucentBackground, !FLayeredImage.isNull());
    if (visible || (FControl->Visible() && FControl->Parent()))
        w->setVisible(FControl->Visible());
}

void THelperWindowState::ApplyShape()
{
    QWidget* w = FControl->WidgetIfAllocated();
    if (!w)
        return;
    if (FRegion.empty())
        w->clearMask();
    else
        w->setMask(PolygonRegion(FRegion));
}

void THelperWindowState::SetTopMost(bool Value)
{
    if (FTopMost == Value)
        return;
    FTopMost = Value;
    ApplyWindowFlags();
}

void THelperWindowState::SetToolWindow(bool Value)
{
    if (FToolWindow == Value)
        return;
    FToolWindow = Value;
    ApplyWindowFlags();
}

void THelperWindowState::SetWindowRegion(std::span<const TPoint> Points)
{
    FRegion.assign(Points.begin(), Points.end());
    ApplyShape();
}

TRegion THelperWindowState::WindowMask() const
{
    QWidget* w = FControl->WidgetIfAllocated();
    return w ? w->mask() : TRegion();
}

void THelperWindowState::SetOpacity(int Value)
{
    FOpacity = std::clamp(Value, 0, 255);
    if (QWidget* w = FControl->WidgetIfAllocated())
        w->setWindowOpacity(FOpacity / 255.0);
}

void THelperWindowState::SetLayeredImage(const QImage& Image)
{
    FLayeredImage = Image.isNull() ? QImage() : Image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (QWidget* w = FControl->WidgetIfAllocated()) {
        w->setAttribute(Qt::WA_TranslucentBackground, !FLayeredImage.isNull());
        w->update();
    }
}

bool THelperWindowState::PaintLayered(TCanvas* Canvas)
{
    if (FLayeredImage.isNull() || !Canvas || !Canvas->Painter())
        return false;
    QPainter* p = Canvas->Painter();
    p->save();
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->drawImage(0, 0, FLayeredImage);
    p->restore();
    return true;
}

bool THelperWindowState::ActivatesOnShow() const
{
    QWidget* w = FControl->WidgetIfAllocated();
    return !w || !w->testAttribute(Qt::WA_ShowWithoutActivating);
}

bool THelperWindowState::AcceptsFocus() const
{
    QWidget* w = FControl->WidgetIfAllocated();
    return !w || w->focusPolicy() != Qt::NoFocus || !(w->windowFlags() & Qt::WindowDoesNotAcceptFocus);
}

namespace {

THelperWindowState* HelperOf(HWND Wnd)
{
    return dynamic_cast<THelperWindowState*>(FindControl(Wnd));
}

} // namespace

bool SetLayeredWindowAttributes(HWND Wnd, TColor Key, unsigned char Alpha, DWORD Flags)
{
    (void)Key;
    THelperWindowState* helper = HelperOf(Wnd);
    if (!helper || (Flags & LWA_COLORKEY))
        return false;
    if (Flags & LWA_ALPHA)
        helper->SetOpacity(Alpha);
    return true;
}

bool UpdateLayeredWindow(HWND Wnd, const TPoint* Dest, const TSize* Size, const QImage* Source,
    const TPoint* SourceOrigin, TColor Key, const TBlendFunction* Blend, DWORD Flags)
{
    (void)Key;
    THelperWindowState* helper = HelperOf(Wnd);
    if (!helper || (Flags & ULW_COLORKEY))
        return false;
    TWinControl* control = FindControl(Wnd);
    TRect r = control->BoundsRect();
    if (Dest)
        r = Bounds(Dest->X, Dest->Y, r.Width(), r.Height());
    if (Size)
        r = Bounds(r.Left, r.Top, Size->cx, Size->cy);
    control->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    if (Source && !Source->isNull()) {
        const TPoint from = SourceOrigin ? *SourceOrigin : TPoint();
        QImage img = Source->copy(from.X, from.Y, r.Width(), r.Height());
        const bool perPixel = (Flags & ULW_ALPHA) && Blend && (Blend->AlphaFormat & AC_SRC_ALPHA);
        if (!perPixel) {
            img = img.convertToFormat(QImage::Format_RGB32);
        } else if (img.format() != QImage::Format_ARGB32_Premultiplied) {
            // The source's bytes already hold premultiplied colours.
            img = img.convertToFormat(QImage::Format_ARGB32);
            img.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
        }
        helper->SetLayeredImage(img);
    }
    helper->SetOpacity((Flags & ULW_ALPHA) && Blend ? Blend->SourceConstantAlpha : 255);
    return true;
}
