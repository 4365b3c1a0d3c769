#pragma once
// The look every form of the configurator shares: the cream background,
// Verdana 8, a fixed single border, centred on the screen, and the title
// panel with the product code and the form's description; and the colours of
// its owner-drawn buttons; the labels, buttons and dotted address fields the
// forms place on it.

#include <QString>
#include <array>

#include "platform/graphics/Colors.h"

class TForm;
class TPanel;
class TLabel;
class TLbButton;
class TEdit;
class TObject;
class TWinControl;

// Background of the forms and of their buttons and title panels.
inline constexpr TColor Tool_Form_Color = RGB(248, 247, 237);

// Background, font, border and position of a configurator form, with its
// client area set to the given size.
void Setup_Tool_Form(TForm* form, int clientWidth, int clientHeight);

// The colours of the configurator's buttons.
void Setup_Tool_Button(TLbButton* button);

// The title panel at the top of a form (69 pixels high): L_SW_Code in large
// grey characters, L_SW_Desc in bold grey below it.
struct TTitle_Panel {
    TPanel* P_Title = nullptr;
    TLabel* L_SW_Code = nullptr;
    TLabel* L_SW_Desc = nullptr;
};
TTitle_Panel Create_Title_Panel(TForm* form);

// The button bar at the bottom of a form, `height` pixels high, named
// P_Button, in the form's colour and without caption or bevel.
TPanel* Create_Button_Panel(TForm* form, int height);

// A label owned by `form` on `parent` at the given place.
TLabel* Create_Tool_Label(TForm* form, TWinControl* parent, const char* name, int left, int top);

// A button of the configurator's look owned by `form` on `parent`, showing
// its hint.
TLbButton* Create_Tool_Button(
    TForm* form, TWinControl* parent, const char* name, int left, int top, int width, int height);

// An IPv4 address as four octet edits side by side (16, 72, 128 and 184 from
// the left, 45 wide, tab orders 0 to 3), a dot label between each two. The
// edits are named `prefix` with 1 to 4 and show their hints.
using TOctet_Fields = std::array<TEdit*, 4>;
TOctet_Fields Create_Octet_Fields(TForm* form, TWinControl* parent, const QString& prefix, int top);
// The key press of an octet field: "." moves the focus on to the next field
// (none after the fourth) and is never typed; other keys pass.
void Octet_Key_Press(const TOctet_Fields& fields, TObject* Sender, char16_t& Key);
// The four texts joined with ".", as typed.
QString Octet_Address(const TOctet_Fields& fields);
