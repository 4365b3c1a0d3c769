#pragma once
// The Qt widgets behind the edits (internal to platform/controls). Their
// clipboard keys (Ctrl+C, Ctrl+Insert, Ctrl+X, Shift+Delete, Ctrl+V,
// Shift+Insert) and the Cut, Copy, Paste and Delete of their context menu
// reach the control's window procedure as WM_COPY, WM_CUT, WM_PASTE and
// WM_CLEAR, whose default handling does the work: a descendant filters or
// refuses a paste in WndProc, as in the toolkit. A key reaches the widget
// only after the control's key-down and character handling let it through.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>

#include "platform/controls/Messages.h"

class QKeyEvent;
class QMenu;

namespace controls_private {

// The clipboard message a key asks for; 0 for any other key.
UINT ClipboardKeyMessage(const QKeyEvent* e);
// Sends the clipboard message to the control behind the widget; true when
// the key was one.
bool SendClipboardKey(QWidget* w, const QKeyEvent* e);
// Points the clipboard actions of a widget's standard context menu at the
// control's window procedure; Paste is offered when the control may change
// and the clipboard holds text.
void RouteClipboardActions(QMenu* menu, QWidget* w, bool readOnly);

// Positions in a multi-line widget's plain text count a line break as one
// character; the toolkit's count it as two (CR LF).
int PlainToToolkit(const QString& plain, int pos);
int ToolkitToPlain(const QString& plain, int pos);
QString ToPlainBreaks(QString s);

} // namespace controls_private

class TEditLineWidget : public QLineEdit {
protected:
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
};

class TEditTextWidget : public QPlainTextEdit {
public:
    // The in-place editor sets its text inset through these.
    using QPlainTextEdit::setViewportMargins;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
};
