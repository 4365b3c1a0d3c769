// The toolkit grid's scroll bars: their geometry and their looks (regular,
// Encarta-like and flat), painted by our theme painter so that every machine
// shows the same pixels and a click lands on the part that is painted there.

#include "platform/controls/Grids.h"

#include <QImage>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QWidget>
#include <algorithm>

#include "platform/graphics/Colors.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ThemePainter.h"

namespace {

// The parts of one bar along its length, in bar coordinates.
struct TBarParts {
    QRect SubLine, AddLine, Groove, Slider, SubPage, AddPage;
};

// A thumb without a page is square, as the window system draws it.
constexpr int MinThumb = 8;

TBarParts BarParts(const QStyleOptionSlider& opt, int page)
{
    const bool vert = opt.orientation == Qt::Vertical;
    const QRect r = opt.rect;
    const int len = vert ? r.height() : r.width();
    const int thick = vert ? r.width() : r.height();
    const int btn = std::min(thick, len / 2);
    const int groove = std::max(0, len - 2 * btn);
    int thumb = 0;
    if (opt.maximum > opt.minimum || page > 0) {
        thumb = page > 0 ? int(qint64(groove) * page / std::max(1, opt.maximum - opt.minimum + page)) : thick;
        thumb = std::clamp(thumb, std::min(MinThumb, groove), groove);
    }
    const int room = groove - thumb;
    const int at = btn
        + (opt.maximum > opt.minimum
                ? QStyle::sliderPositionFromValue(opt.minimum, opt.maximum, opt.sliderPosition, room, opt.upsideDown)
                : 0);
    auto span = [&](int from, int n) {
        return vert ? QRect(r.left(), r.top() + from, thick, n) : QRect(r.left() + from, r.top(), n, thick);
    };
    TBarParts p;
    p.SubLine = span(0, btn);
    p.AddLine = span(len - btn, btn);
    p.Groove = span(btn, groove);
    if (thumb > 0) {
        p.Slider = span(at, thumb);
        p.SubPage = span(btn, at - btn);
        p.AddPage = span(at + thumb, len - btn - at - thumb);
    }
    return p;
}

class TGridBarStyle : public QProxyStyle {
public:
    TGridBarStyle(const TCustomGrid* grid, int bar)
        : FGrid(grid)
        , FBar(bar)
    {
    }

    int pixelMetric(PixelMetric m, const QStyleOption* opt, const QWidget* w) const override
    {
        if (m == PM_ScrollBarExtent)
            return FGrid->ScrollBarLook().Size;
        if (m == PM_ScrollBarSliderMin)
            return MinThumb;
        return QProxyStyle::pixelMetric(m, opt, w);
    }

    int styleHint(StyleHint h, const QStyleOption* opt, const QWidget* w, QStyleHintReturn* ret) const override
    {
        switch (h) {
        // A click on the track pages; the window system's bars jump only
        // with Shift, which the grid does not use.
        case SH_ScrollBar_LeftClickAbsolutePosition:
        case SH_ScrollBar_MiddleClickAbsolutePosition:
        case SH_ScrollBar_Transient:
        case SH_ScrollBar_ContextMenu:
            return 0;
        case SH_ScrollBar_ScrollWhenPointerLeavesControl:
            return 1;
        default:
            return QProxyStyle::styleHint(h, opt, w, ret);
        }
    }

    QRect subControlRect(
        ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc, const QWidget* w) const override
    {
        const auto* so = qstyleoption_cast<const QStyleOptionSlider*>(opt);
        if (cc != CC_ScrollBar || !so)
            return QProxyStyle::subControlRect(cc, opt, sc, w);
        const TBarParts p = BarParts(*so, FGrid->GetScrollInfo(FBar).Page);
        switch (sc) {
        case SC_ScrollBarSubLine:
            return p.SubLine;
        case SC_ScrollBarAddLine:
            return p.AddLine;
        case SC_ScrollBarGroove:
            return p.Groove;
        case SC_ScrollBarSlider:
            return p.Slider;
        case SC_ScrollBarSubPage:
            return p.SubPage;
        case SC_ScrollBarAddPage:
            return p.AddPage;
        default:
            return {};
        }
    }

    SubControl hitTestComplexControl(
        ComplexControl cc, const QStyleOptionComplex* opt, const QPoint& pt, const QWidget* w) const override
    {
        const auto* so = qstyleoption_cast<const QStyleOptionSlider*>(opt);
        if (cc != CC_ScrollBar || !so)
            return QProxyStyle::hitTestComplexControl(cc, opt, pt, w);
        const TBarParts p = BarParts(*so, FGrid->GetScrollInfo(FBar).Page);
        if (p.Slider.contains(pt))
            return SC_ScrollBarSlider;
        if (p.SubLine.contains(pt))
            return SC_ScrollBarSubLine;
        if (p.AddLine.contains(pt))
            return SC_ScrollBarAddLine;
        if (p.SubPage.contains(pt))
            return SC_ScrollBarSubPage;
        if (p.AddPage.contains(pt))
            return SC_ScrollBarAddPage;
        return SC_None;
    }

    void drawComplexControl(
        ComplexControl cc, const QStyleOptionComplex* opt, QPainter* painter, const QWidget* w) const override
    {
        const auto* so = qstyleoption_cast<const QStyleOptionSlider*>(opt);
        if (cc != CC_ScrollBar || !so) {
            QProxyStyle::drawComplexControl(cc, opt, painter, w);
            return;
        }
        QImage img(so->rect.size(), QImage::Format_RGB32);
        {
            TCanvas canvas;
            TCanvasLock lock(&canvas, &img);
            QStyleOptionSlider at = *so;
            at.rect.moveTo(0, 0);
            PaintBar(&canvas, at);
        }
        painter->drawImage(so->rect.topLeft(), img);
    }

private:
    static TRect ToRect(const QRect& r) { return Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1); }

    void PaintBar(TCanvas* canvas, const QStyleOptionSlider& opt) const
    {
        const TCustomGrid::TScrollBarLook look = FGrid->ScrollBarLook();
        const TBarParts p = BarParts(opt, FGrid->GetScrollInfo(FBar).Page);
        const bool vert = opt.orientation == Qt::Vertical;
        const bool enabled = opt.state.testFlag(QStyle::State_Enabled);
        canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas->Brush()->SetColor(look.Color == clNone ? clScrollBar : look.Color);
        canvas->FillRect(ToRect(opt.rect));
        auto hot = [&](QStyle::SubControl sc) {
            return opt.activeSubControls.testFlag(sc) && !opt.state.testFlag(QStyle::State_Sunken);
        };
        auto pressed = [&](QStyle::SubControl sc) {
            return opt.state.testFlag(QStyle::State_Sunken) && opt.activeSubControls.testFlag(sc);
        };
        // The arrows: up/left first, then down/right.
        const QRect arrows[2] = { p.SubLine, p.AddLine };
        const QStyle::SubControl arrowParts[2] = { SC_ScrollBarSubLine, SC_ScrollBarAddLine };
        for (int i = 0; i < 2; ++i) {
            TRect r = ToRect(arrows[i]);
            if (r.IsEmpty())
                continue;
            const unsigned kind
                = vert ? (i == 0 ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) : (i == 0 ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
            unsigned state = kind | (enabled ? 0 : DFCS_INACTIVE);
            if (pressed(arrowParts[i]))
                state |= DFCS_PUSHED;
            if (look.Style == TCustomGrid::sbsRegular) {
                if (HTHEME theme = OpenThemeData(QStringLiteral("scrollbar"))) {
                    const int base
                        = vert ? (i == 0 ? ABS_UPNORMAL : ABS_DOWNNORMAL) : (i == 0 ? ABS_LEFTNORMAL : ABS_RIGHTNORMAL);
                    const int s = !enabled ? 3 : pressed(arrowParts[i]) ? 2 : hot(arrowParts[i]) ? 1 : 0;
                    DrawThemeBackground(theme, canvas, SBP_ARROWBTN, base + s, r);
                    CloseThemeData(theme);
                    continue;
                }
            } else if (look.Style == TCustomGrid::sbsFlat
                || (look.Style == TCustomGrid::sbsEncarta && !hot(arrowParts[i]))) {
                state |= DFCS_FLAT;
            }
            DrawFrameControl(canvas, r, DFC_SCROLL, state);
        }
        if (p.Slider.isEmpty() || !enabled)
            return;
        const TRect thumb = ToRect(p.Slider);
        const bool thumbHot = hot(SC_ScrollBarSlider) || pressed(SC_ScrollBarSlider);
        switch (look.Style) {
        case TCustomGrid::sbsRegular:
            if (HTHEME theme = OpenThemeData(QStringLiteral("button"))) {
                DrawThemeBackground(theme, canvas, BP_PUSHBUTTON,
                    pressed(SC_ScrollBarSlider)   ? PBS_PRESSED
                        : hot(SC_ScrollBarSlider) ? PBS_HOT
                                                  : PBS_NORMAL,
                    thumb);
                CloseThemeData(theme);
            } else {
                TRect r = thumb;
                DrawFrameControl(canvas, r, DFC_BUTTON, DFCS_BUTTONPUSH);
            }
            break;
        case TCustomGrid::sbsEncarta:
            if (thumbHot) {
                TRect r = thumb;
                DrawFrameControl(canvas, r, DFC_BUTTON, DFCS_BUTTONPUSH);
                break;
            }
            [[fallthrough]];
        default:
            // Flat: a face in a thin frame.
            canvas->Brush()->SetColor(clBtnFace);
            canvas->Pen()->SetColor(clBtnShadow);
            canvas->Rectangle(thumb);
            break;
        }
    }

    const TCustomGrid* FGrid;
    int FBar;
};

} // namespace

void TCustomGrid::StyleScrollBar(QScrollBar* bar)
{
    auto* style = new TGridBarStyle(this, bar->orientation() == Qt::Vertical ? SB_VERT : SB_HORZ);
    style->setParent(bar);
    bar->setStyle(style);
    bar->setAttribute(Qt::WA_Hover);
}

void TCustomGrid::SetScrollBarLook(const TScrollBarLook& look)
{
    if (look == FBarLook)
        return;
    FBarLook = look;
    FBarLook.Size = std::max(0, look.Size);
    const bool resized = ScrollBarSize != FBarLook.Size;
    ScrollBarSize = FBarLook.Size;
    if (resized) {
        UpdateScrollRange();
        PlaceScrollBars();
        InvalidateGrid();
    }
    for (QScrollBar* sb : FBarWidget)
        if (sb)
            sb->update();
}
