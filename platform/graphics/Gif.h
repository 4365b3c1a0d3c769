#pragma once
// GIF decoding with every frame of an animation, each composed onto the
// logical screen the way a viewer shows it (disposal methods applied), with
// its delay. The decoder checks every length and code against the data and
// its tables, so damaged files end early instead of reading out of bounds.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

namespace gif {

struct Frame {
    QImage Image; // the whole logical screen after this frame, ARGB32
    int Delay = 0; // hundredths of a second, from the graphic control extension
    QRect Bounds; // the frame's own rectangle on the screen
    int Disposal = 0; // 0..3 as stored
    int TransparentIndex = -1; // -1 when the frame has no transparent colour
};

struct Animation {
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    int LoopCount = -1; // -1 without a looping extension, 0 for endless
    QList<Frame> Frames;
};

// True for data longer than 4 bytes that starts with "GIF8".
bool IsGif(const QByteArray& data);

// Decodes all frames. A file damaged after its first complete frame keeps the
// frames before the damage; with no complete frame the result is false and
// `error` says why.
bool Decode(const QByteArray& data, Animation& out, QString* error = nullptr);

} // namespace gif
