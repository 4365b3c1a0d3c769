#pragma once
// Layout rules shared by the edits that host a button inside them (the spin
// edit and the edit-button controls).

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
