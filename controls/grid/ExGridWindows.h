#pragma once
// The string grid's own small windows: the mark-up hint window, the editors of
// fixed cells, the edit and combo behind mark-up controls in cells, and the
// edit that reports Return and Ctrl+Return (the search panel's text field).

#include "platform/controls/Forms.h"
#include "platform/controls/Mask.h"
#include "platform/controls/StdCtrls.h"

class TExStringGrid;
class TImageList;
class TPictureContainer;

// A hint window for mark-up and wide-encoded hint texts. A mark-up hint is 16
// pixels wider than its text, a wide-encoded one 8; both are 4 pixels taller.
class THTMLHintWindow : public THintWindow {
public:
    explicit THTMLHintWindow(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("THTMLHintWindow"); }

    // Shown for a grid, the hint takes the grid's images and pictures; for
    // anything else it has none.
    void ActivateHintData(TRect r, const QString& hint, TObject* AData) override;
    TRect CalcHintRect(int maxWidth, const QString& hint, TObject* AData = nullptr) override;
    // Sizes the window to the text at r's top-left corner, keeps it on the
    // monitor nearest that corner and shows it on top without activating it.
    void ActivateHint(TRect r, const QString& hint) override;
    void SetText(const QString& v) override;

    const TImageList* Images() const { return FImages; }
    void SetImages(const TImageList* v) { FImages = v; }
    TPictureContainer* PictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(TPictureContainer* v) { FPictureContainer = v; }
    int TextWidth() const { return FTextWidth; }
    int TextHeight() const { return FTextHeight; }
    QString WideCaption() const { return FWideCaption; }

protected:
    void Paint() override;

private:
    // Measures the hint within Bounds on a scratch canvas with the window's
    // font; for a wide-encoded hint also gives the decoded text.
    TSize MeasureHint(const QString& hint, const TRect& Bounds, QString* Decoded) const;

    const TImageList* FImages = nullptr;
    TPictureContainer* FPictureContainer = nullptr;
    int FTextHeight = 0;
    int FTextWidth = 0;
    QString FWideCaption;
};

// Editors of a fixed cell's text. Return does not end the edit; leaving the
// editor does, through StopEdit.
class TGridTransEdit : public TEdit {
public:
    // Hidden and borderless; a grid owner becomes its grid and parent.
    explicit TGridTransEdit(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridTransEdit"); }

    // The fixed cell being edited; Col is a real column.
    int Row() const { return FRow; }
    void SetRow(int v) { FRow = v; }
    int Col() const { return FCol; }
    void SetCol(int v) { FCol = v; }
    TExStringGrid* Grid() const { return FGrid; }
    void SetGrid(TExStringGrid* v) { FGrid = v; }
    // Validates and stores the text; false, with the editor kept open and
    // focused, when the grid's OnCellValidate refuses it.
    bool StopEdit();

protected:
    void KeyPress(char16_t& Key) override;
    void DoExit() override;

private:
    int FRow = 0;
    int FCol = 0;
    TExStringGrid* FGrid = nullptr;
};

class TGridTransCombo : public TComboBox {
public:
    explicit TGridTransCombo(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TGridTransCombo"); }

    int Row() const { return FRow; }
    void SetRow(int v) { FRow = v; }
    int Col() const { return FCol; }
    void SetCol(int v) { FCol = v; }
    TExStringGrid* Grid() const { return FGrid; }
    void SetGrid(TExStringGrid* v) { FGrid = v; }
    bool StopEdit();

protected:
    void KeyPress(char16_t& Key) override;
    void DoExit() override;

private:
    int FRow = 0;
    int FCol = 0;
    TExStringGrid* FGrid = nullptr;
};

// The edit behind EDIT, PASSWORD and MASK controls of a cell's mark-up, and
// the combo behind COMBO controls; both sit on the grid. Return ends the
// control's edit and gives the grid the focus; Tab also moves on to the next
// cell (Navigation.AdvanceAuto) or to the cell's next mark-up control. Both
// start hidden.
class TControlEdit : public TMaskEdit {
public:
    explicit TControlEdit(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TControlEdit"); }
    void WndProc(TMessage& Message) override;

protected:
    void KeyPress(char16_t& Key) override;
};

class TControlCombo : public TComboBox {
public:
    explicit TControlCombo(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TControlCombo"); }
    void WndProc(TMessage& Message) override;

protected:
    void KeyPress(char16_t& Key) override;
};

// An edit that takes Return for itself: Return fires OnReturn, Ctrl+Return
// OnCtrlReturn; neither types anything nor reaches the form's default button.
class TRetEdit : public TEdit {
public:
    explicit TRetEdit(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TRetEdit"); }
    void WndProc(TMessage& Message) override;

    TNotifyEvent OnReturn;
    TNotifyEvent OnCtrlReturn;
};
