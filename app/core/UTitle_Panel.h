#pragma once
// The look every form of the configurator shares: the cream background,
// Verdana 8, a fixed single border, centred on the screen, and the title
// panel with the product code and the form's description; and the colours of
// its owner-drawn buttons.

#include "platform/graphics/Colors.h"

class TForm;
class TPanel;
class TLabel;
class TLbButton;

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
