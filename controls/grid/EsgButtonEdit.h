#pragma once
// What the edits that host buttons inside them (the spin edit and the
// edit-button controls) share: the layout rules, and a masked edit whose
// typing can be switched off while its buttons go on working.

#include "platform/controls/Mask.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/Types.h"

namespace esg_layout {

// The edit's client area as the layout rules count it: inside the 3-D frame
// of a bordered edit (the edit's own client area includes that frame).
TRect InnerClient(const TCustomEdit* Edit);
// The text height of a font, measured with the canvas.
int FontTextHeight(const TFont* Font);
// The font's text height plus a quarter of the smaller of it and the system
// font's text height, plus Extra.
int MinEditHeight(const TFont* Font, int Extra);
// Raises a lower edit to MinHeight (which lays it out again); false when the
// edit is high enough.
bool GrowToMinHeight(TCustomEdit* Edit, int MinHeight);
// Puts a child button at the right end of the edit: flush with the inner
// client area's top, one pixel short of its right and bottom edges.
void PlaceRightButton(const TCustomEdit* Edit, TControl* Button);

} // namespace esg_layout

class TEsgButtonEdit : public TCustomMaskEdit {
public:
    explicit TEsgButtonEdit(TComponent* AOwner);
    ~TEsgButtonEdit() override;

    // Typing, paste, cut and delete allowed; the buttons work either way.
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }

    // The least height that shows the text.
    virtual int MinHeight() = 0;

    void WndProc(TMessage& Message) override;

protected:
    void CreateWnd() override;
    // Paste and cut by key pass only while the editor is enabled and the
    // edit is not read-only.
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void BoundsChanged(const TRect& oldBounds) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Raises a low edit to its least height, else places the button holder
    // at the right end and sets the text rectangle.
    void Layout();
    virtual void SetEditRect() = 0;

    // The holder of the buttons, placed at the right end.
    TControl* FButtonHost = nullptr;
    bool FEditorEnabled = true;
};
