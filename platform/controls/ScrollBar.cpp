#include "platform/controls/ScrollBar.h"

#include <QScrollBar>
#include <algorithm>

#include "platform/runtime/Exceptions.h"

TScrollBar::TScrollBar(TComponent* AOwner)
    : TWinControl(AOwner)
{
    FWidth = 121;
    FHeight = 17;
    FTabStop = true;
    FControlStyle &= ~TControlStyle(csAcceptsControls);
}

TScrollBar::~TScrollBar() = default;

QScrollBar* TScrollBar::Bar() const
{
    return static_cast<QScrollBar*>(WidgetIfAllocated());
}

QWidget* TScrollBar::CreateWidget()
{
    auto* sb = new QScrollBar(FKind == sbVertical ? Qt::Vertical : Qt::Horizontal);
    sb->setTracking(true);
    // The bar's own value changes are undone: every move goes through DoScroll.
    QObject::connect(sb, &QAbstractSlider::actionTriggered, sb, [this](int action) {
        if (FUpdating)
            return;
        TScrollCode code;
        switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            code = scLineUp;
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            code = scLineDown;
            break;
        case QAbstractSlider::SliderPageStepSub:
            code = scPageUp;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            code = scPageDown;
            break;
        case QAbstractSlider::SliderToMinimum:
            code = scTop;
            break;
        case QAbstractSlider::SliderToMaximum:
            code = scBottom;
            break;
        default:
            return; // thumb moves come through sliderMoved
        }
        try {
            DoScroll(code, FPosition);
            DoScroll(scEndScroll, FPosition);
        } catch (...) {
            HandleException(this);
        }
        UpdateWidget();
    });
    QObject::connect(sb, &QAbstractSlider::sliderMoved, sb, [this](int value) {
        if (FUpdating)
            return;
        try {
            DoScroll(scTrack, value);
        } catch (...) {
            HandleException(this);
        }
    });
    QObject::connect(sb, &QAbstractSlider::sliderReleased, sb, [this]() {
        if (FUpdating)
            return;
        QScrollBar* b = Bar();
        try {
            DoScroll(scPosition, b ? b->sliderPosition() : FPosition);
            DoScroll(scEndScroll, FPosition);
        } catch (...) {
            HandleException(this);
        }
        UpdateWidget();
    });
    return sb;
}

void TScrollBar::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateWidget();
}

void TScrollBar::UpdateWidget()
{
    QScrollBar* sb = Bar();
    if (!sb)
        return;
    ++FUpdating;
    sb->setOrientation(FKind == sbVertical ? Qt::Vertical : Qt::Horizontal);
    // Qt's range ends where the thumb's top can go; the toolkit's at Max.
    const int page = std::max(FPageSize, 1);
    sb->setRange(FMin, std::max(FMin, FMax - page + 1));
    sb->setPageStep(page);
    sb->setSingleStep(std::max(FSmallChange, 1));
    sb->setValue(FPosition);
    sb->setSliderPosition(FPosition);
    --FUpdating;
}

void TScrollBar::SetKind(TScrollBarKind v)
{
    if (v == FKind)
        return;
    FKind = v;
    SetBounds(FLeft, FTop, FHeight, FWidth);
    UpdateWidget();
}

void TScrollBar::SetPageSize(int v)
{
    if (v == FPageSize)
        return;
    if (v < 0 || v > FMax - FMin + 1)
        throw EInvalidOperation(QStringLiteral("Scroll bar property out of range"));
    FPageSize = v;
    UpdateWidget();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    if (AMax < AMin)
        throw EInvalidOperation(QStringLiteral("Scroll bar property out of range"));
    APosition = std::clamp(APosition, AMin, AMax);
    const bool moved = APosition != FPosition;
    FMin = AMin;
    FMax = AMax;
    FPageSize = std::min(FPageSize, FMax - FMin + 1);
    FPosition = APosition;
    UpdateWidget();
    if (moved)
        Change();
}

void TScrollBar::Change()
{
    if (OnChange)
        OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos)
{
    if (OnScroll)
        OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(TScrollCode ScrollCode, int TrackPos)
{
    int pos = FPosition;
    switch (ScrollCode) {
    case scLineUp:
        pos -= FSmallChange;
        break;
    case scLineDown:
        pos += FSmallChange;
        break;
    case scPageUp:
        pos -= FLargeChange;
        break;
    case scPageDown:
        pos += FLargeChange;
        break;
    case scPosition:
    case scTrack:
        pos = TrackPos;
        break;
    case scTop:
        pos = FMin;
        break;
    case scBottom:
        pos = FMax;
        break;
    case scEndScroll:
        break;
    }
    Scroll(ScrollCode, pos);
    SetPosition(pos);
}

void TScrollBar::WndProc(TMessage& Message)
{
    const bool mine
        = (Message.Msg == WM_HSCROLL && FKind == sbHorizontal) || (Message.Msg == WM_VSCROLL && FKind == sbVertical);
    if (mine) {
        const WORD code = LoWord(Message.WParam);
        if (code <= SB_ENDSCROLL)
            DoScroll(static_cast<TScrollCode>(code), static_cast<int>(HiWord(Message.WParam)));
        Message.Result = 0;
        return;
    }
    TWinControl::WndProc(Message);
}
