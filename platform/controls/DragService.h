#pragma once
// Dragging data out of a control: a replaceable drag loop. The default runs
// the platform's drag with the data it is given; tests answer it with an
// effect, since no drag loop runs without a display.

#include <QByteArray>
#include <QString>

class TWinControl;

// The effects a drag may end with, as bits (the toolkit's values).
inline constexpr int DROPEFFECT_NONE = 0;
inline constexpr int DROPEFFECT_COPY = 1;
inline constexpr int DROPEFFECT_MOVE = 2;
inline constexpr int DROPEFFECT_LINK = 4;

// What a drag carries; empty parts are left out.
struct TDragData {
    QString Text;
    QString RichText;
    // Named formats of the exchange layer (the grid's cell stream, a column
    // index, ...), each with its bytes.
    QString Format;
    QByteArray Bytes;
};

class IDragService {
public:
    virtual ~IDragService() = default;
    // Runs the drag from Source and returns the effect the drop chose (one
    // of AllowedEffects, DROPEFFECT_NONE when cancelled).
    virtual int Drag(TWinControl* Source, const TDragData& Data, int AllowedEffects) = 0;
};

namespace services {
// The current drag service (the platform's drag unless replaced). nullptr
// restores the default; the setter returns the one it replaces, not owned.
IDragService* DragService();
IDragService* SetDragService(IDragService* s);
} // namespace services

// Drags through the current service. An effect that is not exactly one of
// the allowed ones counts as cancelled (DROPEFFECT_NONE).
int StartDrag(TWinControl* Source, const TDragData& Data, int AllowedEffects);
