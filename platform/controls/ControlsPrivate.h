#pragma once
// Internals shared by the control units: the widget registry, the input
// translator and the timer table. Not for use outside platform/controls.

#include <QCursor>
#include <QObject>
#include <QPalette>
#include <cstdint>

#include "platform/controls/Controls.h"

class QEvent;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QWidget;

// The Qt cursor of a stock or numbered cursor (an unknown number: the arrow).
QCursor CursorToQt(TCursor c);
// Gives a widget a cursor and remembers its number (WindowCursor).
void ApplyWidgetCursor(QWidget* w, TCursor c);

namespace controls_private {
void SetCurrentShift(TShiftState s);
void SetRightAltDown(bool Down);
// Delivers an input event to the widget as its own, past the translator.
bool ResendToWidget(QWidget* w, QEvent* e);
const QEvent* Resending();
void RegisterWidget(QWidget* w, TWinControl* c);
void UnregisterWidget(const QWidget* w);
TWinControl* ControlOfWidget(const QWidget* w);
void EnterBusy(const QWidget* w);
void LeaveBusy(const QWidget* w);
bool IsBusy(const QWidget* w);
// Tracks the control under the mouse, sending CM_MOUSELEAVE and CM_MOUSEENTER.
void SetMouseControl(TControl* c);

// The control's colours for the enabled look; a disabled control keeps its
// background and shows its text in the system's grey, whatever its font colour.
void SetPaletteColors(QWidget* w, QPalette::ColorRole back, TColor color, TColor text, bool fill);

// Runs the control's reaction to a user action that a Qt widget signals from
// inside its own event handling: an exception is shown here, as one reaching
// the event loop would be, instead of unwinding through Qt.
template <class F> void UserAction(TObject* sender, F&& fn)
{
    try {
        fn();
    } catch (...) {
        HandleException(sender);
    }
}
} // namespace controls_private

// Kills every timer of a control (it is being freed).
void KillAllTimers(TControl* control);

// The event filter on every control widget: turns Qt's input into the
// toolkit's messages and events.
class TControlEventTranslator : public QObject {
public:
    static TControlEventTranslator* Instance();
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Virtual key, character and key data of a Qt key event.
    static WORD VirtualKey(const QKeyEvent* e);
    static char16_t CharOf(const QKeyEvent* e, WORD vk);
    static LPARAM KeyData(const QKeyEvent* e, WORD vk, bool release);
    static TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons b = {});

private:
    bool Key(TWinControl* c, QWidget* w, QKeyEvent* e);
    bool Mouse(TWinControl* c, QWidget* w, QMouseEvent* e);
    bool Wheel(TWinControl* c, QWidget* w, QWheelEvent* e);
    bool Paint(TWinControl* c, QWidget* w, QEvent* e);
    bool Focus(TWinControl* c, QWidget* w, QEvent* e);
};
