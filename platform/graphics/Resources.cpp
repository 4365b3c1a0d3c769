#include "platform/graphics/Resources.h"

#include "platform/graphics/RasterArt.h"

#include <QHash>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace resources {
namespace {

using art::TArrow;
using art::TRaster;

constexpr QRgb kKey = 0xFFFF00FF; // clFuchsia: the transparent colour of every glyph

QRgb Rgb(int r, int g, int b)
{
    return qRgb(r, g, b);
}

// ---------------------------------------------------------------------------
// Check boxes and radio buttons, 16 x 16 with the box at (1, 1), 13 pixels.

struct BoxLook {
    QRgb Border, FillTop, FillBottom, Mark;
};

const BoxLook kVrk { Rgb(52, 90, 140), Rgb(255, 255, 255), Rgb(226, 236, 246), Rgb(31, 58, 110) };
const BoxLook kVrkDisabled { Rgb(168, 176, 184), Rgb(240, 240, 240), Rgb(240, 240, 240), Rgb(160, 160, 160) };
const BoxLook kXp { Rgb(28, 81, 128), Rgb(220, 220, 215), Rgb(255, 255, 255), Rgb(33, 161, 33) };
const BoxLook kXpDisabled { Rgb(202, 200, 187), Rgb(255, 255, 255), Rgb(255, 255, 255), Rgb(202, 200, 187) };

QImage CheckGlyph(const BoxLook& look, bool checked)
{
    QImage img = TRaster::Make(16, 16, kKey);
    TRaster r(img);
    r.Frame(1, 1, 13, 13, look.Border);
    r.GradientV(2, 2, 11, 11, look.FillTop, look.FillBottom);
    if (checked)
        r.Tick(4, 4, look.Mark);
    return img;
}

QImage RadioGlyph(const BoxLook& look, bool checked)
{
    QImage img = TRaster::Make(16, 16, kKey);
    TRaster r(img);
    // Inner fill first, as a gradient clipped to the disc.
    QImage disc = TRaster::Make(16, 16, 0);
    TRaster d(disc);
    d.Disc(1, 1, 13, 0xFF000000);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (d.PixelAt(x, y))
                r.Pixel(x, y, art::Mix(look.FillTop, look.FillBottom, y - 1, 12));
    r.Ring(1, 1, 13, look.Border);
    if (checked)
        r.Disc(5, 5, 5, look.Mark);
    return img;
}

const QRgb kMetroLine = Rgb(102, 102, 102);
const QRgb kMetroAccent = Rgb(43, 121, 206);
const QRgb kWhite = Rgb(255, 255, 255);

QImage MetroCheck(bool on)
{
    QImage img = TRaster::Make(16, 16, kKey);
    TRaster r(img);
    r.Fill(1, 1, 13, 13, on ? kMetroAccent : kWhite);
    r.Frame(1, 1, 13, 13, on ? kMetroAccent : kMetroLine);
    if (on)
        r.Tick(4, 4, kWhite);
    return img;
}

QImage MetroRadio(bool on)
{
    QImage img = TRaster::Make(16, 16, kKey);
    TRaster r(img);
    r.Disc(1, 1, 13, kWhite);
    r.Ring(1, 1, 13, on ? kMetroAccent : kMetroLine);
    if (on)
        r.Disc(4, 4, 7, kMetroAccent);
    return img;
}

// ---------------------------------------------------------------------------
// Node glyphs.

QImage LeafGlyph(bool open)
{
    QImage img = TRaster::Make(12, 12, kKey);
    TRaster r(img);
    const QRgb line = Rgb(89, 89, 89);
    const QRgb fill = Rgb(38, 38, 38);
    if (!open) {
        // Hollow triangle pointing right.
        r.Art(3, 1,
            {
                "x.....",
                "xx....",
                "x.x...",
                "x..x..",
                "x...x.",
                "x....x",
                "x...x.",
                "x..x..",
                "x.x...",
                "xx....",
                "x.....",
            },
            "x", { line });
    } else {
        // Filled triangle pointing down and right.
        r.Art(2, 3,
            {
                ".......x",
                "......xx",
                ".....xxx",
                "....xxxx",
                "...xxxxx",
                "..xxxxxx",
                ".xxxxxxx",
            },
            "x", { fill });
    }
    return img;
}

QImage XpNodeGlyph(bool collapsed)
{
    QImage img = TRaster::Make(10, 10, kKey);
    TRaster r(img);
    // A 9 x 9 box one pixel in, so both corner pixels stay transparent.
    r.GradientV(2, 2, 7, 7, Rgb(255, 255, 255), Rgb(198, 206, 222));
    r.Frame(1, 1, 9, 9, Rgb(122, 150, 223));
    r.HLine(3, 5, 5, Rgb(0, 0, 0));
    if (collapsed)
        r.VLine(5, 3, 5, Rgb(0, 0, 0));
    return img;
}

// ---------------------------------------------------------------------------
// Small glyphs of the grid's panels.

QImage FilterGlyph()
{
    QImage img = TRaster::Make(16, 16, kKey);
    TRaster r(img);
    r.Art(1, 2,
        {
            "oooooooooooooo",
            "owwwwwwwwwwwwo",
            ".owwwwwwwwwwo.",
            "..owwwwwwwwo..",
            "...owwwwwwo...",
            "....owwwwo....",
            ".....owwo.....",
            ".....owwo.....",
            ".....owwo.....",
            ".....owwo.....",
            ".....owwoo....",
            "......ooo.....",
        },
        "ow", { Rgb(64, 64, 64), Rgb(208, 216, 232) });
    return img;
}

QImage CloseGlyph(QRgb color)
{
    QImage img = TRaster::Make(12, 12, kKey);
    TRaster r(img);
    r.Cross(2, 2, 8, 2, color);
    return img;
}

QImage FindArrow(bool down, bool enabled)
{
    QImage img = TRaster::Make(16, 16, kKey);
    TRaster r(img);
    const QRgb c = enabled ? Rgb(30, 90, 160) : Rgb(160, 160, 160);
    if (down) {
        r.Fill(6, 2, 3, 6, c);
        r.Arrow(7, 8, TArrow::Down, 6, c);
    } else {
        r.Arrow(7, 2, TArrow::Up, 6, c);
        r.Fill(6, 8, 3, 6, c);
    }
    return img;
}

QImage HighlightGlyph(bool enabled)
{
    QImage img = TRaster::Make(16, 16, kKey);
    TRaster r(img);
    const QRgb ink = enabled ? Rgb(64, 64, 64) : Rgb(150, 150, 150);
    const QRgb body = enabled ? Rgb(255, 224, 48) : Rgb(214, 214, 214);
    const QRgb stripe = enabled ? Rgb(255, 240, 96) : Rgb(226, 226, 226);
    r.Art(0, 0,
        {
            "................",
            "..........kk....",
            ".........kyyk...",
            "........kyyyyk..",
            ".......kyyyyk...",
            "......kyyyyk....",
            ".....kyyyyk.....",
            "....kyyyyk......",
            "....kyyyk.......",
            "...kkyyk........",
            "...kkkk.........",
            "..kkk...........",
            "................",
            ".hhhhhhhhhhhhh..",
            ".hhhhhhhhhhhhh..",
            "................",
        },
        "kyh", { ink, body, stripe });
    return img;
}

// Wheel-panning markers: a disc with the arrows of the directions that pan.
QImage PanMarker(bool vertical, bool horizontal)
{
    QImage img = TRaster::Make(32, 32, kKey);
    TRaster r(img);
    const QRgb ink = Rgb(0, 0, 0);
    r.Disc(2, 2, 27, kWhite);
    r.Ring(2, 2, 27, Rgb(96, 96, 96));
    r.Disc(14, 14, 3, ink);
    if (vertical) {
        r.Arrow(15, 6, TArrow::Up, 5, ink);
        r.Arrow(15, 21, TArrow::Down, 5, ink);
    }
    if (horizontal) {
        r.Arrow(6, 15, TArrow::Left, 5, ink);
        r.Arrow(21, 15, TArrow::Right, 5, ink);
    }
    return img;
}

QImage SpinArrow(bool up)
{
    QImage img = TRaster::Make(9, 6, kKey);
    TRaster(img).Arrow(4, 1, up ? TArrow::Up : TArrow::Down, 4, Rgb(0, 0, 0));
    return img;
}

// ---------------------------------------------------------------------------
// Numbered cursors, drawn black with a white outline so that they show on
// any cell colour.

// Ink with a one-pixel white halo: the drawing is made in black on a key
// background, then every key pixel next to ink turns white.
QImage Outlined(QImage img)
{
    TRaster r(img);
    const QRgb ink = Rgb(0, 0, 0);
    QImage copy = img;
    TRaster c(copy);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (c.PixelAt(x, y) != kKey)
                continue;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < img.width() && ny < img.height() && c.PixelAt(nx, ny) == ink)
                        r.Pixel(x, y, kWhite);
                }
        }
    r.Replace(kKey, 0);
    return img;
}

// The panning cursors: a small disc at the hot spot (16, 16) with the arrow
// of the direction that pans; the neutral one shows all four.
QImage PanCursor(int v, int h)
{
    QImage img = TRaster::Make(32, 32, kKey);
    TRaster r(img);
    const QRgb ink = Rgb(0, 0, 0);
    r.Disc(14, 14, 5, ink);
    if (v == 0 && h == 0) {
        r.Arrow(16, 3, TArrow::Up, 5, ink);
        r.Arrow(16, 24, TArrow::Down, 5, ink);
        r.Arrow(3, 16, TArrow::Left, 5, ink);
        r.Arrow(24, 16, TArrow::Right, 5, ink);
        return Outlined(img);
    }
    // The arrow sits on the side it pans towards, corners for diagonals.
    const int ax = h < 0 ? 3 : h > 0 ? 24 : 16;
    const int ay = v < 0 ? 3 : v > 0 ? 24 : 16;
    if (v < 0)
        r.Arrow(ax, ay, TArrow::Up, 5, ink);
    else if (v > 0)
        r.Arrow(ax, ay, TArrow::Down, 5, ink);
    if (h < 0)
        r.Arrow(ax, ay, TArrow::Left, 5, ink);
    else if (h > 0)
        r.Arrow(ax, ay, TArrow::Right, 5, ink);
    return Outlined(img);
}

// A thick arrow pointing `dir` with its tip at the hot spot.
QImage SelectCursor(TArrow dir)
{
    QImage img = TRaster::Make(32, 32, kKey);
    TRaster r(img);
    const QRgb ink = Rgb(0, 0, 0);
    switch (dir) {
    case TArrow::Down:
        r.Arrow(16, 20, TArrow::Down, 6, ink);
        r.Fill(15, 8, 3, 12, ink);
        break;
    case TArrow::Right:
        r.Arrow(20, 16, TArrow::Right, 6, ink);
        r.Fill(8, 15, 12, 3, ink);
        break;
    default:
        break;
    }
    return Outlined(img);
}

// All cells and resizing: a diagonal arrow towards the bottom right.
QImage AllCellsCursor()
{
    QImage img = TRaster::Make(32, 32, kKey);
    TRaster r(img);
    const QRgb ink = Rgb(0, 0, 0);
    for (int i = 0; i < 12; ++i)
        r.Fill(8 + i, 8 + i, 2, 2, ink);
    for (int i = 0; i < 7; ++i) {
        r.HLine(14 + i, 21, 7 - i, ink);
        r.VLine(21, 14 + i, 7 - i, ink);
    }
    r.Fill(19, 19, 3, 3, ink);
    return Outlined(img);
}

// The cell selector: a small white cell frame under a plus.
QImage CellSelectorCursor()
{
    QImage img = TRaster::Make(32, 32, kKey);
    TRaster r(img);
    const QRgb ink = Rgb(0, 0, 0);
    r.Fill(15, 6, 3, 21, ink);
    r.Fill(6, 15, 21, 3, ink);
    r.Frame(20, 20, 9, 7, ink);
    return Outlined(img);
}

// ---------------------------------------------------------------------------
// Button glyph strips: a normal cell and a disabled (embossed) cell, 18 wide.

using CellPainter = std::function<void(TRaster&)>;

QImage GlyphStrip(int height, const CellPainter& paint)
{
    QImage img = TRaster::Make(36, height, kKey);
    TRaster r(img);
    paint(r);
    // The disabled cell is the silhouette of the darker pixels in the classic
    // embossed colours (light details fall away, as on a disabled button).
    auto ink = [&](int x, int y) {
        const QRgb p = r.PixelAt(x, y);
        return p != kKey && qGray(p) < 200;
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 18; ++x)
            if (ink(x, y))
                r.Pixel(18 + x + 1, y + 1, kWhite);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 18; ++x)
            if (ink(x, y))
                r.Pixel(18 + x, y, Rgb(128, 128, 128));
    return img;
}

void BigTick(TRaster& r, int x, int y, QRgb c)
{
    r.Art(x, y,
        {
            "...........xx",
            "..........xxx",
            ".........xxx.",
            "........xxx..",
            "xx.....xxx...",
            "xxx...xxx....",
            ".xxx.xxx.....",
            "..xxxxx......",
            "...xxx.......",
            "....x........",
        },
        "x", { c });
}

QImage ButtonGlyph(const QString& name)
{
    const QRgb green = Rgb(0, 128, 0);
    const QRgb red = Rgb(192, 0, 0);
    const QRgb blue = Rgb(0, 64, 160);
    if (name == "LBOK")
        return GlyphStrip(18, [&](TRaster& r) { BigTick(r, 2, 4, green); });
    if (name == "LBYES")
        return GlyphStrip(18, [&](TRaster& r) { BigTick(r, 2, 4, Rgb(0, 112, 112)); });
    if (name == "LBALL")
        return GlyphStrip(19, [&](TRaster& r) {
            BigTick(r, 1, 2, green);
            BigTick(r, 4, 8, Rgb(0, 96, 0));
        });
    if (name == "LBCANCEL")
        return GlyphStrip(18, [&](TRaster& r) { r.Cross(4, 4, 10, 2, red); });
    if (name == "LBNO")
        return GlyphStrip(18, [&](TRaster& r) {
            r.Ring(2, 2, 14, red);
            r.Ring(3, 3, 12, red);
            for (int i = 0; i < 9; ++i) {
                r.Pixel(5 + i, 5 + i, red);
                r.Pixel(5 + i, 4 + i, red);
            }
        });
    if (name == "LBABORT")
        return GlyphStrip(18, [&](TRaster& r) {
            r.Disc(2, 2, 14, red);
            r.Fill(5, 8, 8, 2, kWhite);
        });
    if (name == "LBHELP")
        return GlyphStrip(18, [&](TRaster& r) {
            r.Art(5, 2,
                {
                    "..xxxx..",
                    ".xxxxxx.",
                    "xxx..xxx",
                    "xx....xx",
                    ".....xxx",
                    "....xxx.",
                    "...xxx..",
                    "...xx...",
                    "...xx...",
                    "........",
                    "...xx...",
                    "...xx...",
                },
                "x", { blue });
        });
    if (name == "LBCLOSE")
        return GlyphStrip(18, [&](TRaster& r) {
            const QRgb wood = Rgb(128, 64, 0);
            r.Frame(3, 2, 9, 14, Rgb(64, 32, 0));
            r.Fill(4, 3, 7, 12, wood);
            r.Pixel(9, 9, Rgb(255, 255, 0));
            r.Fill(12, 8, 3, 2, blue);
            r.Arrow(15, 8, TArrow::Right, 2, blue);
            r.Pixel(15, 10, blue);
        });
    if (name == "LBRETRY")
        return GlyphStrip(18, [&](TRaster& r) {
            r.Art(2, 2,
                {
                    "....xxxxx.....",
                    "..xxxxxxxxx.x.",
                    ".xxx.....xxxx.",
                    ".xx.......xxx.",
                    "xx.......xxxx.",
                    "xx............",
                    "xx............",
                    "xx..........xx",
                    "xx..........xx",
                    ".xx........xx.",
                    ".xxx......xxx.",
                    "..xxxxxxxxxx..",
                    "....xxxxxx....",
                },
                "x", { green });
        });
    if (name == "LBIGNORE")
        return GlyphStrip(18, [&](TRaster& r) {
            r.Arrow(3, 9, TArrow::Right, 6, blue);
            r.Arrow(9, 9, TArrow::Right, 6, blue);
        });
    return QImage();
}

QImage DropArrow5x3()
{
    QImage img = TRaster::Make(5, 3, kKey);
    TRaster(img).Arrow(2, 0, TArrow::Down, 3, Rgb(0, 0, 0));
    return img;
}

// ---------------------------------------------------------------------------
// The colour spectrum: hue left to right from red round to red, white at the
// top row, the pure hue at row 64, black at the bottom row.

QRgb Hue(int x)
{
    // 255 steps per sixth of the circle; x = 0 and x = 127 are both red.
    const int p = (x * 6 * 255 + 63) / 127;
    const int sector = std::min(p / 255, 5);
    const int up = p - sector * 255;
    const int down = 255 - up;
    switch (sector) {
    case 0:
        return qRgb(255, up, 0);
    case 1:
        return qRgb(down, 255, 0);
    case 2:
        return qRgb(0, 255, up);
    case 3:
        return qRgb(0, down, 255);
    case 4:
        return qRgb(up, 0, 255);
    default:
        return qRgb(255, 0, down);
    }
}

QImage Spectrum()
{
    QImage img(128, 128, QImage::Format_RGB32);
    TRaster r(img);
    for (int x = 0; x < 128; ++x) {
        const QRgb hue = Hue(x);
        for (int y = 0; y < 128; ++y) {
            const QRgb c = y <= 64 ? art::Mix(kWhite, hue, y, 64) : art::Mix(hue, Rgb(0, 0, 0), y - 64, 63);
            r.Pixel(x, y, c | 0xFF000000);
        }
    }
    return img;
}

// ---------------------------------------------------------------------------

struct Entry {
    QString Name;
    std::function<QImage()> Make;
};

std::vector<Entry> Table()
{
    std::vector<Entry> t;
    auto add = [&](const char* name, std::function<QImage()> make) {
        t.push_back({ QString::fromLatin1(name), make });
    };
    // Check boxes: odd numbers checked, even unchecked; 1-4 one look, 5-8 the other.
    const BoxLook* checkLooks[4] = { &kVrk, &kVrkDisabled, &kXp, &kXpDisabled };
    for (int i = 0; i < 8; ++i) {
        const BoxLook* look = checkLooks[i / 2];
        const bool checked = i % 2 == 0;
        t.push_back({ QStringLiteral("ESGCHK%1").arg(i + 1, 2, 10, QLatin1Char('0')),
            [look, checked] { return CheckGlyph(*look, checked); } });
        t.push_back({ QStringLiteral("ESGRAD%1").arg(i + 1, 2, 10, QLatin1Char('0')),
            [look, checked] { return RadioGlyph(*look, checked); } });
    }
    add("ESGLEAFCLOSE", [] { return LeafGlyph(false); });
    add("ESGLEAFOPEN", [] { return LeafGlyph(true); });
    add("XPNODEC", [] { return XpNodeGlyph(true); });
    add("XPNODEO", [] { return XpNodeGlyph(false); });
    add("ESGFILT", [] { return FilterGlyph(); });
    add("ESGCLOSE", [] { return CloseGlyph(Rgb(64, 64, 64)); });
    add("ESGCLOSEH", [] { return CloseGlyph(Rgb(200, 40, 40)); });
    add("ESGCLOSED", [] { return CloseGlyph(Rgb(128, 16, 16)); });
    add("ESGARDOWN", [] { return FindArrow(true, true); });
    add("ESGARDOWND", [] { return FindArrow(true, false); });
    add("ESGARUP", [] { return FindArrow(false, true); });
    add("ESGARUPD", [] { return FindArrow(false, false); });
    add("ESGHI", [] { return HighlightGlyph(true); });
    add("ESGHID", [] { return HighlightGlyph(false); });
    add("INTLI1", [] { return PanMarker(true, true); });
    add("INTLI2", [] { return PanMarker(false, true); });
    add("INTLI3", [] { return PanMarker(true, false); });
    add("EsgSpinUp", [] { return SpinArrow(true); });
    add("EsgSpinDown", [] { return SpinArrow(false); });
    add("metrocheckon", [] { return MetroCheck(true); });
    add("metrocheckoff", [] { return MetroCheck(false); });
    add("metroradioon", [] { return MetroRadio(true); });
    add("metroradiooff", [] { return MetroRadio(false); });
    for (const char* name :
        { "LBOK", "LBCANCEL", "LBHELP", "LBYES", "LBNO", "LBCLOSE", "LBABORT", "LBRETRY", "LBIGNORE", "LBALL" }) {
        const QString n = QString::fromLatin1(name);
        t.push_back({ n, [n] { return ButtonGlyph(n); } });
    }
    add("LBARROW", [] { return DropArrow5x3(); });
    add("VRK_SPECTRUM", [] { return Spectrum(); });
    return t;
}

struct Store {
    std::vector<Entry> Entries = Table();
    QHash<QString, QImage> Images; // by upper-case name, opaque RGB32

    Store()
    {
        for (const Entry& e : Entries)
            Images.insert(e.Name.toUpper(), e.Make().convertToFormat(QImage::Format_RGB32));
    }
};

const Store& TheStore()
{
    static const Store store;
    return store;
}

} // namespace

QImage CursorPicture(int number, QPoint* hotSpot)
{
    // Panning, by the number's place in the direction table (v, h).
    static const int kPan[9][2]
        = { { 0, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 }, { -1, 0 }, { -1, 1 }, { -1, -1 }, { 1, 1 }, { 1, -1 } };
    QImage img;
    QPoint hot(16, 16);
    if (number >= 8000 && number <= 8008) {
        img = PanCursor(kPan[number - 8000][0], kPan[number - 8000][1]);
    } else if (number == 8010) {
        img = SelectCursor(TArrow::Right);
        hot = QPoint(25, 16);
    } else if (number == 8011) {
        img = SelectCursor(TArrow::Down);
        hot = QPoint(16, 25);
    } else if (number == 8012) {
        img = AllCellsCursor();
        hot = QPoint(21, 21);
    } else if (number == 8014) {
        img = CellSelectorCursor();
    }
    if (hotSpot)
        *hotSpot = hot;
    return img;
}

QImage Bitmap(const QString& name)
{
    return TheStore().Images.value(name.toUpper());
}

bool Exists(const QString& name)
{
    return TheStore().Images.contains(name.toUpper());
}

QStringList Names()
{
    QStringList names;
    for (const Entry& e : TheStore().Entries)
        names << e.Name;
    return names;
}

} // namespace resources

namespace resources {

static QHash<QString, QByteArray>& RawDataTable()
{
    static QHash<QString, QByteArray> table;
    return table;
}

void RegisterRawData(const QString& name, const QByteArray& data) { RawDataTable().insert(name.toUpper(), data); }

void UnregisterRawData(const QString& name) { RawDataTable().remove(name.toUpper()); }

bool FindRawData(const QString& name, QByteArray& data)
{
    const auto it = RawDataTable().constFind(name.toUpper());
    if (it == RawDataTable().constEnd())
        return false;
    data = *it;
    return true;
}

} // namespace resources
