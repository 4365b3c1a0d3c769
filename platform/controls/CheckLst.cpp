#include "platform/controls/CheckLst.h"

#include "platform/runtime/Exceptions.h"

#include <QListWidget>
#include <QStyle>

namespace {

QListWidgetItem* ItemOf(QWidget* w, int Index)
{
    auto* l = qobject_cast<QListWidget*>(w);
    if (!l || Index < 0 || Index >= l->count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return l->item(Index);
}

} // namespace

TCheckListBox::TCheckListBox(TComponent* AOwner)
    : TCustomListBox(AOwner)
{
}

QWidget* TCheckListBox::CreateWidget()
{
    auto* w = qobject_cast<QListWidget*>(TCustomListBox::CreateWidget());
    // Every item shows its box from the start. The view never toggles a box
    // itself (the items are not user-checkable): the control does, so that
    // the toggle event fires once, in order with the key and mouse events.
    QObject::connect(w->model(), &QAbstractItemModel::rowsInserted, w, [w](const QModelIndex&, int first, int last) {
        for (int i = first; i <= last; ++i)
            if (QListWidgetItem* it = w->item(i); it && !it->data(Qt::CheckStateRole).isValid()) {
                it->setFlags(it->flags() & ~Qt::ItemIsUserCheckable);
                it->setData(Qt::CheckStateRole, Qt::Unchecked);
            }
    });
    return w;
}

bool TCheckListBox::Checked(int Index) const
{
    return ItemOf(const_cast<TCheckListBox*>(this)->StateWidget(), Index)->data(Qt::CheckStateRole).toInt()
        == Qt::Checked;
}

void TCheckListBox::SetChecked(int Index, bool Value)
{
    ItemOf(StateWidget(), Index)->setData(Qt::CheckStateRole, Value ? Qt::Checked : Qt::Unchecked);
}

void TCheckListBox::ToggleClickCheck(int Index)
{
    if (Index < 0 || Index >= Items()->Count() || !Enabled())
        return;
    SetChecked(Index, !Checked(Index));
    ClickCheck();
}

void TCheckListBox::ClickCheck()
{
    if (OnClickCheck)
        OnClickCheck(this);
}

int TCheckListBox::CheckWidth() const
{
    QWidget* w = WidgetIfAllocated();
    QStyle* s = w ? w->style() : nullptr;
    if (!s)
        return 16;
    return s->pixelMetric(QStyle::PM_IndicatorWidth) + 2 * (s->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
}

void TCheckListBox::KeyPress(char16_t& Key)
{
    TCustomListBox::KeyPress(Key);
    if (Key == u' ') {
        ToggleClickCheck(ItemIndex());
        Key = 0;
    }
}

void TCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomListBox::MouseDown(Button, Shift, X, Y);
    auto* l = qobject_cast<QListWidget*>(WidgetIfAllocated());
    if (Button != mbLeft || !l)
        return;
    // X and Y are the list's client coordinates: the viewport's.
    const QModelIndex i = l->indexAt(QPoint(X, Y));
    if (!i.isValid())
        return;
    const QRect r = l->visualRect(i);
    if (X >= r.left() && X < r.left() + CheckWidth())
        ToggleClickCheck(i.row());
}
