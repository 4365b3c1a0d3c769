#include "platform/controls/DragService.h"

#include "platform/controls/Controls.h"

#include <QDrag>
#include <QMimeData>
#include <QWidget>

namespace {

class TPlatformDrag final : public IDragService {
public:
    int Drag(TWinControl* Source, const TDragData& Data, int AllowedEffects) override
    {
        if (!Source)
            return DROPEFFECT_NONE;
        auto* mime = new QMimeData();
        if (!Data.Text.isEmpty())
            mime->setText(Data.Text);
        if (!Data.RichText.isEmpty())
            mime->setData(QStringLiteral("text/rtf"), Data.RichText.toUtf8());
        if (!Data.Format.isEmpty())
            mime->setData(Data.Format, Data.Bytes);
        auto* drag = new QDrag(Source->Widget());
        drag->setMimeData(mime);
        Qt::DropActions actions;
        if (AllowedEffects & DROPEFFECT_COPY)
            actions |= Qt::CopyAction;
        if (AllowedEffects & DROPEFFECT_MOVE)
            actions |= Qt::MoveAction;
        if (AllowedEffects & DROPEFFECT_LINK)
            actions |= Qt::LinkAction;
        switch (drag->exec(actions)) {
        case Qt::CopyAction:
            return DROPEFFECT_COPY;
        case Qt::MoveAction:
            return DROPEFFECT_MOVE;
        case Qt::LinkAction:
            return DROPEFFECT_LINK;
        default:
            return DROPEFFECT_NONE;
        }
    }
};

TPlatformDrag& DefaultDrag()
{
    static TPlatformDrag d;
    return d;
}

IDragService* gDrag = nullptr;

} // namespace

namespace services {

IDragService* DragService()
{
    return gDrag ? gDrag : &DefaultDrag();
}

IDragService* SetDragService(IDragService* s)
{
    IDragService* old = DragService();
    gDrag = s;
    return old;
}

} // namespace services

int StartDrag(TWinControl* Source, const TDragData& Data, int AllowedEffects)
{
    const int effect = services::DragService()->Drag(Source, Data, AllowedEffects);
    switch (effect) {
    case DROPEFFECT_COPY:
    case DROPEFFECT_MOVE:
    case DROPEFFECT_LINK:
        return (effect & AllowedEffects) ? effect : DROPEFFECT_NONE;
    default:
        return DROPEFFECT_NONE;
    }
}
