#pragma once
// Pictures: the abstract graphic, the bitmap with its own canvas, icons, PNG,
// GIF (with its frames) and JPEG images, and the picture that holds any of
// them and loads files by their extension.

#include "platform/graphics/Colors.h"
#include "platform/graphics/Gif.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Types.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TCanvas;
class TStream;

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum class TTransparentMode { tmAuto, tmFixed };

// ---------------------------------------------------------------------------

class TGraphic : public TPersistent {
public:
    // The class name used in streamed picture data ("TBitmap", "TJPEGImage", ...).
    virtual QString ClassName() const = 0;
    // A new graphic of the same class with the same content.
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Graphics of a fixed size ignore these.
    virtual void SetWidth(int Value) { (void)Value; }
    virtual void SetHeight(int Value) { (void)Value; }
    virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }

    // Draws the graphic stretched into Rect; transparent parts leave the canvas alone.
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
    // The pixels at the graphic's own size (ARGB32); a null image when empty.
    virtual QImage ToImage() const = 0;

    // The file's or stream's bytes in the graphic's own format. A missing file
    // raises EFOpenError, data that is not a valid picture EInvalidGraphic; a
    // failed save raises EFCreateError and leaves the previous file intact.
    void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName) const;
    virtual void LoadFromBytes(const QByteArray& Data) = 0;
    virtual QByteArray SaveToBytes() const = 0;
    // Reads from the stream's position to its end; writes at its position.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream) const;
    // The form inside streamed picture data; the same as the file form except
    // for the bitmap, which puts its 32-bit size first.
    virtual void ReadData(const QByteArray& Data) { LoadFromBytes(Data); }
    virtual QByteArray WriteData() const { return SaveToBytes(); }

    TNotifyEvent OnChange;

protected:
    void Changed();
    // "Cannot assign a X to a Y"
    [[noreturn]] void AssignError(const TPersistent* Source) const;

    bool FTransparent = false;
    bool FModified = false;
};

// ---------------------------------------------------------------------------

class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int AWidth, int AHeight);
    ~TBitmap() override;

    QString ClassName() const override { return QStringLiteral("TBitmap"); }
    std::unique_ptr<TGraphic> Clone() const override;

    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void SetWidth(int Value) override { SetSize(Value, Height()); }
    void SetHeight(int Value) override { SetSize(Width(), Value); }
    // Keeps the pixels that remain inside; new area is white.
    void SetSize(int AWidth, int AHeight);

    // The bitmap's own canvas, drawing on its pixels.
    TCanvas* Canvas();

    // The format is kept as told; pixels are stored with 32 bits (pf32bit keeps
    // an alpha byte, the others are opaque).
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);

    // tmAuto: the bottom-left pixel's colour (clNone for an empty bitmap).
    // Setting a colour other than clDefault switches to tmFixed.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);

    // Copies another bitmap (pixels, format, transparency) or renders any other
    // graphic at its size; nullptr empties the bitmap.
    void Assign(const TPersistent* Source) override;
    // One of the program's named bitmaps (see Resources.h); an unknown name
    // raises EInvalidGraphic and leaves the bitmap unchanged.
    void LoadFromResourceName(const QString& ResName);

    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    QImage ToImage() const override;
    // BMP bytes.
    void LoadFromBytes(const QByteArray& Data) override;
    QByteArray SaveToBytes() const override;
    void ReadData(const QByteArray& Data) override;
    QByteArray WriteData() const override;

    // Platform access to the pixels, for reading in place (valid until the next
    // resize). Keep pixels with ToImage(): a plain QImage copy shares the
    // buffer the canvas keeps drawing into.
    const QImage& Image() const { return FImage; }
    // Replaces size and pixels; a format with alpha makes the bitmap pf32bit.
    void SetImage(const QImage& Image);
    // The pixels with the transparent colour made fully transparent (ARGB32);
    // the plain pixels when the bitmap is not transparent.
    QImage MaskedImage() const;

private:
    void Reallocate(int AWidth, int AHeight, QImage::Format Format);
    void Reattach();
    QImage::Format StorageFormat() const;

    QImage FImage;
    std::unique_ptr<TCanvas> FCanvas;
    TPixelFormat FPixelFormat = TPixelFormat::pfDevice;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = TTransparentMode::tmAuto;
};

// ---------------------------------------------------------------------------

class TIcon : public TGraphic {
public:
    TIcon() { FTransparent = true; }
    QString ClassName() const override { return QStringLiteral("TIcon"); }
    std::unique_ptr<TGraphic> Clone() const override;
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void Assign(const TPersistent* Source) override;
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    QImage ToImage() const override { return FImage; }
    // ICO bytes (the first image of the file).
    void LoadFromBytes(const QByteArray& Data) override;
    QByteArray SaveToBytes() const override;
    void SetImage(const QImage& Image);

private:
    QImage FImage;
};

class TPngImage : public TGraphic {
public:
    QString ClassName() const override { return QStringLiteral("TPngImage"); }
    std::unique_ptr<TGraphic> Clone() const override;
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    // Copies another PNG or takes any graphic's pixels.
    void Assign(const TPersistent* Source) override;
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    QImage ToImage() const override { return FImage; }
    void LoadFromBytes(const QByteArray& Data) override;
    QByteArray SaveToBytes() const override;
    void SetImage(const QImage& Image);

private:
    QImage FImage;
};

// A GIF shown as its first image on its logical screen. Frames and their
// times are the business of the picture that holds the file.
class TGIFImage : public TGraphic {
public:
    TGIFImage() { FTransparent = true; }
    QString ClassName() const override { return QStringLiteral("TGIFImage"); }
    std::unique_ptr<TGraphic> Clone() const override;
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    bool Empty() const override { return FImage.isNull(); }
    // Only another GIF can be assigned (there is no GIF encoder).
    void Assign(const TPersistent* Source) override;
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    QImage ToImage() const override { return FImage; }
    void LoadFromBytes(const QByteArray& Data) override;
    // The bytes as loaded.
    QByteArray SaveToBytes() const override { return FData; }
    // The first image's rectangle on the screen.
    QRect ImageBounds() const { return FBounds; }

private:
    QByteArray FData;
    QImage FImage; // the screen with the first image, ARGB32
    QRect FBounds;
};

class TJPEGImage : public TGraphic {
public:
    QString ClassName() const override { return QStringLiteral("TJPEGImage"); }
    std::unique_ptr<TGraphic> Clone() const override;
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    // Takes another JPEG's data, or any graphic's pixels (encoded when saved).
    void Assign(const TPersistent* Source) override;
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    QImage ToImage() const override;
    // Decodes at once: a corrupt or truncated file raises EInvalidGraphic with
    // the decoder's message and leaves the image as it was.
    void LoadFromBytes(const QByteArray& Data) override;
    // The loaded data unchanged, or the pixels encoded with the current
    // quality and grayscale settings. An empty image raises EInvalidGraphic.
    QByteArray SaveToBytes() const override;

    // 1..100, default 90; changing it re-encodes on the next save.
    int CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(int Value);
    // Shown and saved in shades of grey.
    bool Grayscale() const { return FGrayscale; }
    void SetGrayscale(bool Value);
    void SetImage(const QImage& Image);

private:
    mutable QByteArray FData; // encoded form, empty until needed
    QImage FImage; // decoded pixels, RGB32
    int FQuality = 90;
    bool FGrayscale = false;
};

// ---------------------------------------------------------------------------

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;

    // The graphic held (nullptr when empty). Setting copies it.
    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(const TGraphic* Value);
    // The graphic as a bitmap or icon; a graphic of another class is replaced
    // by an empty one first.
    TBitmap* Bitmap();
    TIcon* Icon();
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // By extension (case ignored): bmp, png, gif, ico, jpg, jpeg and any
    // registered one. An unknown extension raises EInvalidGraphic; a failed
    // load leaves the picture unchanged.
    void LoadFromFile(const QString& FileName);
    // Saves the graphic in its own format; nothing to save raises EInvalidGraphic.
    void SaveToFile(const QString& FileName) const;
    // Copies another picture or a graphic; nullptr clears.
    void Assign(const TPersistent* Source) override;

    // Streamed data: the graphic's class name as a short string (length byte
    // and Latin-1 characters), then the graphic's own data. Empty when the
    // picture holds nothing; empty data clears. An unknown class name raises
    // EInvalidGraphic.
    QByteArray WriteData() const;
    void ReadData(const QByteArray& Data);

    TNotifyEvent OnChange;

    static void RegisterFileFormat(const QString& Extension, const QString& Description, TGraphicFactory Factory);
    static bool SupportsExtension(const QString& Extension);
    // "All pictures (*.bmp;...)|...|Bitmaps (*.bmp)|*.bmp|..." for file dialogs.
    static QString GraphicFilter();
    // A new, empty graphic of a registered class name; nullptr when unknown.
    static std::unique_ptr<TGraphic> CreateGraphic(const QString& ClassName);

private:
    void Take(std::unique_ptr<TGraphic> Graphic);
    void Changed();

    std::unique_ptr<TGraphic> FGraphic;
};

// A graphic for BMP, GIF, JPEG, ICO or PNG bytes, the format told by the
// bytes themselves (not by a file name). Unknown content raises
// EInvalidGraphic, and so does data the chosen format cannot decode.
std::unique_ptr<TGraphic> LoadGraphicFromBytes(const QByteArray& Data);
