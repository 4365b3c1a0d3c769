#pragma once
// The link between the string grid and an editor control it does not know:
// the program gives the grid a TEditLink descendant for its edCustom cells.
// The grid prepares the link for a cell, has it create, place, fill and focus
// its control, and reads its value back; the link decides which keys leave
// the control and what the grid does then, and shows the control either in
// the cell or on a borderless pop-up form of its own.

#include "platform/controls/Controls.h"
#include "platform/controls/WindowProc.h"
#include "platform/runtime/Component.h"

#include <QString>

class TExStringGrid;
class TForm;

enum class TEditStyle { esInplace, esPopup };

class TEditLink : public TComponent {
public:
    explicit TEditLink(TComponent* AOwner);
    ~TEditLink() override;
    QString ClassName() const override { return QStringLiteral("TEditLink"); }

    // The grid that uses the link, set each time it prepares the link.
    TExStringGrid* Grid() const;
    // The grid's first step of preparing the link for a cell (column and row
    // as the grid prepared it): a new edit begins, nothing of it stored yet.
    void Prepare(TExStringGrid* AGrid, TPoint ACell);

    // Keys the control keeps instead of leaving the editor.
    bool WantKeyLeftRight = false;
    bool WantKeyUpDown = false;
    bool WantKeyHomeEnd = false;
    bool WantKeyPriorNext = false;
    bool WantKeyReturn = false;
    bool WantKeyEscape = false;
    bool WantTabs = false;
    // Kept for descendants.
    bool WantReturns = false;
    TEditStyle EditStyle = TEditStyle::esInplace;
    // Size of the pop-up form and of the control on it; AutoPopupWidth takes
    // the cell's width.
    int PopupWidth = 0;
    int PopupHeight = 0;
    bool AutoPopupWidth = false;
    // Screen position of the pop-up; -1 in either: the cell's top-left corner.
    int PopupLeft = -1;
    int PopupTop = -1;
    int Tag = 0;
    TPoint EditCell;

    // Descendants attach it to their control's key-down event.
    virtual void EditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    virtual TWinControl* GetEditControl() { return nullptr; }
    // A descendant creates its control here with that parent (the grid, or
    // the pop-up form).
    virtual void CreateEditor(TWinControl* AParent) { (void)AParent; }
    virtual void DestroyEditor() { }
    // True: the control shows, is enabled and takes the focus; False: the
    // grid takes it. In the cell, the control first gets the grid's window
    // procedure for linked controls.
    virtual void SetFocus(bool Value);
    // The control covers the rectangle less the grid's line width.
    virtual void SetRect(const TRect& R);
    virtual void SetVisible(bool Value);
    virtual void SetProperties() { }
    virtual void SetCellProps(TColor AColor, TFont* AFont) { (void)AColor, (void)AFont; }
    virtual QString GetEditorValue() { return QString(); }
    virtual void SetEditorValue(const QString& Value) { (void)Value; }

    // The pop-up form loses activation: FormExit; the editor is left: EditExit.
    void EditExit(TObject* Sender);
    void FormExit(TObject* Sender);
    // The pop-up form in pop-up style, the grid otherwise.
    TWinControl* GetParent();
    // The stored text of the grid's current cell, and an edited text for it
    // (validated and stored by the grid).
    QString GetCellValue();
    void SetCellValue(const QString& Value);
    // Stores the value (unless this edit stored it already), closes the
    // grid's editor and gives the control its own window procedure back.
    void HideEditor();
    void RestoreWinProc();

    // Pop-up style: places the link's own pop-up form (made on first use,
    // named "gridform", freed with the link) for the cell whose screen
    // rectangle is given, sized PopupWidth x PopupHeight.
    TForm* ShowPopupForm(const TRect& CellScreenRect);
    TForm* PopupForm() const { return FPopupForm; }
    bool SubClassed() const { return FSubClassed; }
    // Set only while the link itself gives the grid the focus.
    bool ForcedExit() const { return FForcedExit; }

private:
    // The grid takes the focus with FForcedExit set around it.
    void FocusGrid();
    // The one store of an edit, by the grid or by the link.
    void StoreByGrid();
    void StoreValue();
    void LinkedWndProc(TMessage& Message);

    std::uint64_t FOwnerSerial = 0;
    TForm* FPopupForm = nullptr;
    bool FForcedExit = false;
    bool FSubClassed = false;
    bool FStored = false;
    // The control whose window procedure is replaced, and the one it had.
    std::uint64_t FSubClassedSerial = 0;
    TWndMethod FSavedWndProc;
    bool FSavedWasReplacement = false;
};
