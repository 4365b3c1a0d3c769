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

// One image of the file as stored: its own rectangle's colour indices (rows in
// screen order, interlacing undone) and its colour table. Frames are composed
// onto the logical screen one at a time, by Composer, so memory does not grow
// with the number of frames times the screen.
struct Frame {
    QRect Bounds; // the frame's own rectangle on the screen
    QByteArray Indices; // Bounds.width() x Bounds.height() colour indices
    QList<QRgb> Palette; // the local table, else the global one
    int Delay = 0; // hundredths of a second, from the graphic control extension
    int Disposal = 0; // 0..3 as stored
    int TransparentIndex = -1; // -1 when the frame has no transparent colour
};

struct Animation {
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    int LoopCount = -1; // -1 without a looping extension, 0 for endless
    QList<Frame> Frames;
};

// At most this many pixels on the logical screen, in one frame, and in all
// frames of a file together: frames past the total are dropped as if the
// file ended there.
inline constexpr qint64 MaxScreenPixels = qint64(1) << 26;
inline constexpr qint64 MaxTotalFramePixels = qint64(1) << 26;

// True for data longer than 4 bytes that starts with "GIF8".
bool IsGif(const QByteArray& data);

// Decodes all frames. A file damaged after its first complete frame keeps the
// frames before the damage, and so does one whose frames exceed the pixel
// budget; with no complete frame the result is false and `error` says why.
bool Decode(const QByteArray& data, Animation& out, QString* error = nullptr);

// The logical screen as a viewer shows it after a frame (ARGB32), disposal
// methods applied. It keeps one screen and composes forward from the frame it
// showed last, so stepping through an animation costs each frame once.
class Composer {
public:
    // A null image for an index out of range.
    QImage Compose(const Animation& animation, int index);
    // Forgets the screen (the animation changed).
    void Reset();

private:
    void Apply(const Animation& animation, int index);

    QImage FScreen;
    int FShown = -1;
    QImage FUnder; // what the last frame covered, for disposal 3
};

} // namespace gif
