#pragma once
// The thin scroll bar the string grid lays over its right and bottom edges in
// the metro scroll type: a thumb only, no arrows and no track, drawn over the
// cells. Without a string grid as parent it draws and does nothing.

#include "platform/controls/Controls.h"

class TExStringGrid;

enum class TScrollDirection { sdVertical, sdHorizontal };

class TScrollControl : public TCustomControl {
public:
    explicit TScrollControl(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TScrollControl"); }

    // The thumb's colour.
    void SetColor(TColor v) override;
    // The thumb's thickness.
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int v);
    TScrollDirection Direction() const { return FDirection; }
    void SetDirection(TScrollDirection v);

    // The thumb along the control: its start and its length. False when
    // there is nothing to scroll (no grid, no scrollable rows, all in view).
    bool Thumb(int& Position, int& Size) const;

    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    // The grid's numbers along the control's direction (rows, or columns).
    struct TAxis {
        int Count = 0, Fixed = 0, Visible = 0, First = 0;
        int FixedExtent = 0, FooterExtent = 0, FirstExtent = 0, Length = 0;
    };
    TExStringGrid* Grid() const;
    bool Axis(TAxis& a) const;
    void SetFirst(int v);

    int FScrollWidth = 4;
    bool FDownOnScroller = false;
    int FDownPos = 0;
    int FDownRow = 0;
    TScrollDirection FDirection = TScrollDirection::sdVertical;
};
