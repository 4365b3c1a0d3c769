#pragma once
// How the controls drawn inside the grid's cells look, the gradient of fixed
// cells in the looks from glVRK on, and the header and footer looks of the
// drop-down editors the grid opens.

#include "controls/base/ExDropDownLook.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/Colors.h"
#include "platform/runtime/Object.h"

#include <memory>

class TExStringGrid;

// The drawing style of check boxes, radio buttons, buttons and progress bars
// in cells (the toolkit's control style flags already own the plain name).
enum class TGridControlStyle { csClassic, csFlat, csWinXP, csKestrin, csVRK, csGlyph, csTheme };

class TControlLook : public TPersistent {
public:
    explicit TControlLook(TExStringGrid* AGrid);
    ~TControlLook() override;

    // The colour defaults; the hover and down mirror colours go to the grid.
    void Init();
    // Copies the look as plain fields (no repaint, the gradient colours not
    // forwarded); not FlatButton, ProgressXP, NoDisabledCheckRadioLook,
    // NoDisabledButtonLook or FixedDropDownButton. Other sources are ignored.
    void Assign(const TPersistent* Source) override;

    // Each of these repaints the grid; the bitmaps are copied.
    int CheckSize() const { return FCheckBoxSize; }
    void SetCheckSize(int Value);
    TBitmap* CheckedGlyph() const { return FCheckedGlyph.get(); }
    void SetCheckedGlyph(const TBitmap* Value);
    TBitmap* UnCheckedGlyph() const { return FUnCheckedGlyph.get(); }
    void SetUnCheckedGlyph(const TBitmap* Value);
    int RadioSize() const { return FRadioSize; }
    void SetRadioSize(int Value);
    TBitmap* RadioOnGlyph() const { return FRadioOnGlyph.get(); }
    void SetRadioOnGlyph(const TBitmap* Value);
    TBitmap* RadioOffGlyph() const { return FRadioOffGlyph.get(); }
    void SetRadioOffGlyph(const TBitmap* Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // The corner mark of a cell with a comment.
    TColor CommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor Value);
    TGridControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TGridControlStyle Value);
    // Drop-down and spin buttons drawn also in cells not being edited.
    bool DropDownAlwaysVisible() const { return FDropDownAlwaysVisible; }
    void SetDropDownAlwaysVisible(bool Value);
    bool SpinButtonsAlwaysVisible() const { return FSpinButtonsAlwaysVisible; }
    void SetSpinButtonsAlwaysVisible(bool Value);
    bool FlatButton() const { return FFlatButton; }
    void SetFlatButton(bool Value);
    // Read-only cells do not draw their check boxes, radio buttons (buttons)
    // disabled.
    bool NoDisabledCheckRadioLook() const { return FNoDisabledCheckRadioLook; }
    void SetNoDisabledCheckRadioLook(bool Value);
    bool NoDisabledButtonLook() const { return FNoDisabledButtonLook; }
    void SetNoDisabledButtonLook(bool Value);
    // A progress bar's inset from its cell.
    int ProgressMarginX() const { return FProgressMarginX; }
    void SetProgressMarginX(int Value);
    int ProgressMarginY() const { return FProgressMarginY; }
    void SetProgressMarginY(int Value);
    // Themed progress bars with the csWinXP and csTheme styles.
    bool ProgressXP() const { return FProgressXP; }
    void SetProgressXP(bool Value);

    // The fixed-cell gradient: normal, hovered and pressed. Each setter
    // forwards to the grid's colour of the same state; From, To and Border
    // only when not clNone, the mirror colours always. Only the grid's first
    // four colours repaint it.
    TColor FixedGradientFrom() const { return FFixedGradientFrom; }
    void SetFixedGradientFrom(TColor Value);
    TColor FixedGradientTo() const { return FFixedGradientTo; }
    void SetFixedGradientTo(TColor Value);
    TColor FixedGradientMirrorFrom() const { return FFixedGradientMirrorFrom; }
    void SetFixedGradientMirrorFrom(TColor Value);
    TColor FixedGradientMirrorTo() const { return FFixedGradientMirrorTo; }
    void SetFixedGradientMirrorTo(TColor Value);
    TColor FixedGradientHoverFrom() const { return FFixedGradientHoverFrom; }
    void SetFixedGradientHoverFrom(TColor Value);
    TColor FixedGradientHoverTo() const { return FFixedGradientHoverTo; }
    void SetFixedGradientHoverTo(TColor Value);
    TColor FixedGradientHoverMirrorFrom() const { return FFixedGradientHoverMirrorFrom; }
    void SetFixedGradientHoverMirrorFrom(TColor Value);
    TColor FixedGradientHoverMirrorTo() const { return FFixedGradientHoverMirrorTo; }
    void SetFixedGradientHoverMirrorTo(TColor Value);
    TColor FixedGradientHoverBorder() const { return FFixedGradientHoverBorder; }
    void SetFixedGradientHoverBorder(TColor Value);
    TColor FixedGradientDownFrom() const { return FFixedGradientDownFrom; }
    void SetFixedGradientDownFrom(TColor Value);
    TColor FixedGradientDownTo() const { return FFixedGradientDownTo; }
    void SetFixedGradientDownTo(TColor Value);
    TColor FixedGradientDownMirrorFrom() const { return FFixedGradientDownMirrorFrom; }
    void SetFixedGradientDownMirrorFrom(TColor Value);
    TColor FixedGradientDownMirrorTo() const { return FFixedGradientDownMirrorTo; }
    void SetFixedGradientDownMirrorTo(TColor Value);
    TColor FixedGradientDownBorder() const { return FFixedGradientDownBorder; }
    void SetFixedGradientDownBorder(TColor Value);

    // Owned; the setters copy the given look.
    THeaderAppearance* DropDownHeader() const { return FDropDownHeader.get(); }
    void SetDropDownHeader(const THeaderAppearance* Value) { FDropDownHeader->Assign(Value); }
    TFooterAppearance* DropDownFooter() const { return FDropDownFooter.get(); }
    void SetDropDownFooter(const TFooterAppearance* Value) { FDropDownFooter->Assign(Value); }

    TColor ProgressBorderColor = clGray;
    // Fixed cells offering a drop-down take clicks in a 16-pixel button at
    // their right edge.
    bool FixedDropDownButton = false;
    // Check boxes (radio buttons) react and look enabled in read-only cells.
    bool CheckAlwaysActive = false;
    bool RadioAlwaysActive = false;
    // Items a dropped-down combo editor shows.
    int DropDownCount = 8;
    // Widest cell hint; 0 keeps the platform's default.
    int HintMaxWidth = 0;

private:
    template <class T> void Store(T& Field, const T& Value);
    void StoreGlyph(TBitmap* Glyph, const TBitmap* Value);

    TExStringGrid* FGrid;
    int FCheckBoxSize = 15;
    std::unique_ptr<TBitmap> FUnCheckedGlyph;
    std::unique_ptr<TBitmap> FCheckedGlyph;
    TGridControlStyle FControlStyle = TGridControlStyle::csTheme;
    TColor FColor = clBlack;
    int FRadioSize = 10;
    std::unique_ptr<TBitmap> FRadioOffGlyph;
    std::unique_ptr<TBitmap> FRadioOnGlyph;
    bool FFlatButton = false;
    int FProgressMarginY = 2;
    int FProgressMarginX = 2;
    bool FProgressXP = false;
    bool FDropDownAlwaysVisible = false;
    bool FSpinButtonsAlwaysVisible = false;
    bool FNoDisabledCheckRadioLook = false;
    bool FNoDisabledButtonLook = false;
    TColor FCommentColor = clRed;
    TColor FFixedGradientTo = clNone;
    TColor FFixedGradientFrom = clNone;
    TColor FFixedGradientMirrorTo = clNone;
    TColor FFixedGradientMirrorFrom = clNone;
    TColor FFixedGradientHoverTo = clNone;
    TColor FFixedGradientHoverFrom = clNone;
    TColor FFixedGradientHoverMirrorTo = clNone;
    TColor FFixedGradientHoverMirrorFrom = clNone;
    TColor FFixedGradientHoverBorder = clNone;
    TColor FFixedGradientDownTo = clNone;
    TColor FFixedGradientDownFrom = clNone;
    TColor FFixedGradientDownMirrorTo = clNone;
    TColor FFixedGradientDownMirrorFrom = clNone;
    TColor FFixedGradientDownBorder = clNone;
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
};
