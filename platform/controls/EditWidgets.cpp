#include "platform/controls/EditWidgets.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>

#include "platform/controls/Clipbrd.h"
#include "platform/controls/ControlsPrivate.h"

namespace controls_private {

UINT ClipboardKeyMessage(const QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const int key = e->key();
    if (mods == Qt::ControlModifier) {
        if (key == Qt::Key_C || key == Qt::Key_Insert)
            return WM_COPY;
        if (key == Qt::Key_X)
            return WM_CUT;
        if (key == Qt::Key_V)
            return WM_PASTE;
    }
    if (mods == Qt::ShiftModifier) {
        if (key == Qt::Key_Delete)
            return WM_CUT;
        if (key == Qt::Key_Insert)
            return WM_PASTE;
    }
    // The platform's other bindings of the three must not reach the
    // widget's own clipboard handling either.
    if (e->matches(QKeySequence::Copy))
        return WM_COPY;
    if (e->matches(QKeySequence::Cut))
        return WM_CUT;
    if (e->matches(QKeySequence::Paste))
        return WM_PASTE;
    return 0;
}

namespace {
void SendToControl(QWidget* w, UINT msg)
{
    if (TWinControl* c = FindControlOfWidget(w))
        UserAction(c, [&] { c->Perform(msg, 0, 0); });
}
} // namespace

bool SendClipboardKey(QWidget* w, const QKeyEvent* e)
{
    const UINT msg = ClipboardKeyMessage(e);
    if (msg == 0)
        return false;
    SendToControl(w, msg);
    return true;
}

void RouteClipboardActions(QMenu* menu, QWidget* w, bool readOnly)
{
    // The text edit's menu names its actions; the line edit's are known by
    // their (translated) captions.
    static const struct {
        const char* name;
        const char* caption;
        UINT msg;
    } routes[] = {
        { "edit-cut", "Cu&t", WM_CUT },
        { "edit-copy", "&Copy", WM_COPY },
        { "edit-paste", "&Paste", WM_PASTE },
        { "edit-delete", "Delete", WM_CLEAR },
    };
    const QPointer<QWidget> target(w);
    for (QAction* a : menu->actions()) {
        const QString name = a->objectName();
        const QString caption = a->text().section(QLatin1Char('\t'), 0, 0);
        UINT msg = 0;
        for (const auto& r : routes)
            if (name == QLatin1String(r.name) || (name.isEmpty() && caption == QLineEdit::tr(r.caption)))
                msg = r.msg;
        if (msg == 0)
            continue;
        QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
        QObject::connect(a, &QAction::triggered, a, [target, msg] {
            if (target)
                SendToControl(target, msg);
        });
        // Qt asks its own clipboard; the program's may be another.
        if (msg == WM_PASTE)
            a->setEnabled(!readOnly && Clipboard()->HasFormat(CF_UNICODETEXT));
    }
}

int PlainToToolkit(const QString& plain, int pos)
{
    return pos + int(QStringView(plain).left(pos).count(QLatin1Char('\n')));
}

int ToolkitToPlain(const QString& plain, int pos)
{
    int p = 0, k = 0;
    while (p < plain.size() && k < pos) {
        k += plain[p] == QLatin1Char('\n') ? 2 : 1;
        ++p;
    }
    return p;
}

QString ToPlainBreaks(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

} // namespace controls_private

using namespace controls_private;

void TEditLineWidget::keyPressEvent(QKeyEvent* e)
{
    if (SendClipboardKey(this, e))
        e->accept();
    else
        QLineEdit::keyPressEvent(e);
}

void TEditLineWidget::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu* menu = createStandardContextMenu();
    if (!menu)
        return;
    RouteClipboardActions(menu, this, isReadOnly());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}

void TEditTextWidget::keyPressEvent(QKeyEvent* e)
{
    if (SendClipboardKey(this, e))
        e->accept();
    else
        QPlainTextEdit::keyPressEvent(e);
}

void TEditTextWidget::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu* menu = createStandardContextMenu(e->pos());
    if (!menu)
        return;
    RouteClipboardActions(menu, this, isReadOnly());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}
