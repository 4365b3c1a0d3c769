#pragma once
// The small controls the string grid makes for itself: the footer strip under
// the cells, the search bar, the two filter drop-down lists, the window that
// shows a dragged picture without taking activation, and the floating image
// of a column header being moved.

#include "platform/controls/CheckLst.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/HelperWindows.h"
#include "platform/controls/StdCtrls.h"

#include <functional>

class TExStringGrid;
class TRetEdit;
class TExGridButton;
class TExCheckBox;

// The footer template with every "<#n>" replaced by CellText(n); a
// placeholder whose n is no number gives nothing, and a "<#" without a ">"
// after it stays as text.
QString ExpandFooterTemplate(const QString& Template, const std::function<QString(int)>& CellText);

// ---------------------------------------------------------------------------
// The strip under the cells that shows the floating footer.

class TFooterPanel : public TCustomPanel {
public:
    explicit TFooterPanel(TExStringGrid* AGrid);
    QString ClassName() const override { return QStringLiteral("TFooterPanel"); }

    TExStringGrid* Grid() const { return FGrid; }
    // The column whose hint shows, -1 for none.
    int LastHintX() const { return FLastHintX; }
    // The shown column under client x, scrolled as the cells above are;
    // -1 past the last column.
    int ColumnAt(int X) const;

protected:
    void CreateWnd() override;
    void Paint() override;
    void WndProc(TMessage& Message) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;

private:
    // Width of the fixed columns plus the scrolled-in ones.
    int CellsWidth() const;
    // A rectangle mirrored for a right-to-left grid.
    TRect Mirror(const TRect& R) const;
    int PaintFixedLastRow(TCanvas* C);
    int PaintPreview(TCanvas* C, bool Template);
    void PaintPreviewFrame(TCanvas* C, int W);

    TExStringGrid* FGrid;
    int FLastHintX = -1;
};

// ---------------------------------------------------------------------------
// The search bar docked under the cells. It lays out its controls and reports
// their use; the grid searches.

class TSearchPanel : public TCustomPanel {
public:
    explicit TSearchPanel(TExStringGrid* AGrid);
    QString ClassName() const override { return QStringLiteral("TSearchPanel"); }

    TExStringGrid* Grid() const { return FGrid; }
    TRetEdit* EditControl() const { return FEdit; }
    TExGridButton* ExitButton() const { return FExitButton; }
    TExGridButton* ForwardButton() const { return FForwardButton; }
    TExGridButton* BackwardButton() const { return FBackwardButton; }
    TExGridButton* HiliteButton() const { return FHiliteButton; }
    TExCheckBox* MatchCase() const { return FMatchCase; }

    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    // Places the controls: fixed positions, mirrored for a right-to-left grid.
    void LayoutControls();
    // The captions and hints go to the controls (hints show only when set).
    void ApplyTexts();

    QString FindNextCaption, FindPrevCaption, MatchCaseCaption, HighLightCaption;
    QString HintFindPrev, HintClose, HintFindNext, HintHighlight;

    TNotifyEvent OnForwardClick;
    TNotifyEvent OnBackwardClick;
    TNotifyEvent OnEditChange;
    TNotifyEvent OnExitClick;
    TNotifyEvent OnHighlightClick;

protected:
    void CreateWnd() override;
    void Paint() override;
    void Resize() override;
    void WndProc(TMessage& Message) override;

private:
    void EditChange();
    void Fire(const TNotifyEvent& Event);

    TExStringGrid* FGrid;
    TRetEdit* FEdit;
    TExGridButton* FExitButton;
    TExGridButton* FForwardButton;
    TExGridButton* FBackwardButton;
    TExGridButton* FHiliteButton;
    TExCheckBox* FMatchCase;
    TColor FColorTo = clNone;
};

// ---------------------------------------------------------------------------
// The filter drop-down lists: single choice and check boxes.

using TDropSelectEvent = std::function<void(TObject* Sender, int ItemIndex)>;

class TDropList : public TListBox {
public:
    explicit TDropList(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TDropList"); }
    TDropSelectEvent OnSelect;

protected:
    void WndProc(TMessage& Message) override;
    void KeyPress(char16_t& Key) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void Choose();
};

class TDropCheckList : public TCheckListBox {
public:
    explicit TDropCheckList(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TDropCheckList"); }
    TDropSelectEvent OnSelect;

protected:
    void WndProc(TMessage& Message) override;
    void ClickCheck() override;
};

// Cancel-mode of a dropped filter list: unless the mouse is over the list,
// the grid forgets its filter column and the list hides.
void DropListCancelMode(TWinControl* List);

// ---------------------------------------------------------------------------
// A borderless pop-up that never takes activation (the dragged selection's picture).

class TNoActiveForm : public TTopLevelWindow<TCustomControl> {
public:
    explicit TNoActiveForm(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TNoActiveForm"); }

protected:
    void WndProc(TMessage& Message) override;
    void Paint() override;
};

// The floating image of a column header while columns are being moved.
class THeaderDragButton : public TTopLevelWindow<TCustomControl> {
public:
    explicit THeaderDragButton(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("THeaderDragButton"); }

    TExStringGrid* Grid = nullptr;
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) { FFlat = Value; }

protected:
    void Paint() override;

private:
    QString FCaption;
    bool FFlat = false;
};
