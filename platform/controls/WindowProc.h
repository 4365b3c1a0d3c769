#pragma once
// Replacing a control's window procedure while another component needs to
// answer some of its messages (as a grid does for the editor it hosts): every
// message sent to the control through Perform goes to the replacement, which
// passes what it does not handle to the procedure it replaced.

#include "platform/controls/Messages.h"

#include <functional>

class TControl;

using TWndMethod = std::function<void(TMessage& Message)>;

// The control's procedure now: the replacement when there is one, else one
// that runs the control's own WndProc.
TWndMethod GetWindowProc(TControl* Control);
// An empty procedure gives the control its own WndProc back. A control that
// is freed loses its replacement.
void SetWindowProc(TControl* Control, TWndMethod Proc);
bool HasWindowProcReplacement(const TControl* Control);

// Perform's entry: true when a replacement took the message.
bool CallWindowProcReplacement(TControl* Control, TMessage& Message);
// Drops the control's entry (its destruction).
void ForgetWindowProcReplacement(const TControl* Control);
