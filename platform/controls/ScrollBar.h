#pragma once
// A scroll bar control on its own: kind, range, page, position and the
// toolkit's scroll requests. Every request (arrow, page, thumb, keys, or a
// WM_HSCROLL/WM_VSCROLL sent to it) fires OnScroll with its code and the
// position it leads to; the handler may change that position, which is then
// kept inside Min..Max. The control paints itself into any canvas (PaintTo).

#include <functional>

#include "platform/controls/Controls.h"
#include "platform/controls/ExtCtrls.h"

class QScrollBar;

enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner);
    ~TScrollBar() override;
    QString ClassName() const override { return QStringLiteral("TScrollBar"); }

    // Changing the kind swaps width and height.
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind v);
    int Min() const { return FMin; }
    void SetMin(int v) { SetParams(FPosition, v, FMax); }
    int Max() const { return FMax; }
    void SetMax(int v) { SetParams(FPosition, FMin, v); }
    int Position() const { return FPosition; }
    void SetPosition(int v) { SetParams(v, FMin, FMax); }
    // Size of the thumb in range units; 0 to Max - Min + 1.
    int PageSize() const { return FPageSize; }
    void SetPageSize(int v);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int v) { FSmallChange = v; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int v) { FLargeChange = v; }
    // Sets all three at once; the position is kept inside the range.
    // EInvalidOperation when AMax is below AMin. OnChange when the position moved.
    void SetParams(int APosition, int AMin, int AMax);

    void WndProc(TMessage& Message) override;

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
    // One request: the position it leads to, OnScroll, then the position.
    void DoScroll(TScrollCode ScrollCode, int TrackPos);

private:
    QScrollBar* Bar() const;
    void UpdateWidget();

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
    int FUpdating = 0;
};
