#include "platform/graphics/Bitmaps.h"

#include "platform/graphics/Graphics.h"
#include "platform/graphics/Jpeg.h"
#include "platform/graphics/Resources.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FileUtils.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace {

QImage ReadImage(const QByteArray& data, const char* format)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    return reader.read();
}

QByteArray WriteImage(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        throw EInvalidGraphic(
            QStringLiteral("Cannot write the %1 image: %2").arg(QString::fromLatin1(format), writer.errorString()));
    return bytes;
}

void DrawImage(TCanvas* canvas, const TRect& rect, const QImage& image)
{
    if (!canvas || image.isNull() || rect.IsEmpty())
        return;
    if (rect.Width() == image.width() && rect.Height() == image.height())
        canvas->Draw(rect.Left, rect.Top, image);
    else
        canvas->StretchDraw(rect, image);
}

} // namespace

// ---------------------------------------------------------------------------
// TGraphic

void TGraphic::SetTransparent(bool Value)
{
    if (FTransparent == Value)
        return;
    FTransparent = Value;
    Changed();
}

void TGraphic::Changed()
{
    FModified = true;
    if (OnChange)
        OnChange(this);
}

void TGraphic::AssignError(const TPersistent* Source) const
{
    const auto* g = dynamic_cast<const TGraphic*>(Source);
    const QString from = g ? g->ClassName() : (dynamic_cast<const TPicture*>(Source) ? "TPicture" : "TPersistent");
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(from, ClassName()));
}

void TGraphic::LoadFromFile(const QString& FileName)
{
    const TReadResult r = ReadFileBytes(FileName);
    if (!r)
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, r.Error));
    LoadFromBytes(r.Bytes);
}

void TGraphic::SaveToFile(const QString& FileName) const
{
    const TSaveResult r = SaveFileAtomic(FileName, SaveToBytes());
    if (!r)
        throw EFCreateError(r.Error);
}

void TGraphic::LoadFromStream(TStream* Stream)
{
    if (Stream)
        LoadFromBytes(Stream->ReadRemaining());
}

void TGraphic::SaveToStream(TStream* Stream) const
{
    if (Stream)
        Stream->WriteBuffer(SaveToBytes());
}

// ---------------------------------------------------------------------------
// TBitmap

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int AWidth, int AHeight)
{
    SetSize(AWidth, AHeight);
}

TBitmap::~TBitmap()
{
    if (FCanvas)
        FCanvas->EndDraw();
}

std::unique_ptr<TGraphic> TBitmap::Clone() const
{
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(this);
    return copy;
}

QImage::Format TBitmap::StorageFormat() const
{
    return FPixelFormat == TPixelFormat::pf32bit ? QImage::Format_ARGB32 : QImage::Format_RGB32;
}

void TBitmap::Reattach()
{
    if (!FCanvas)
        return;
    FCanvas->EndDraw();
    if (!FImage.isNull()) {
        FImage.bits(); // own the pixels before painting: a shared copy must not see the drawing
        FCanvas->BeginDraw(&FImage);
    }
}

void TBitmap::Reallocate(int AWidth, int AHeight, QImage::Format Format)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (FCanvas)
        FCanvas->EndDraw();
    QImage next;
    if (AWidth > 0 && AHeight > 0) {
        next = QImage(AWidth, AHeight, Format);
        if (next.isNull())
            throw EOutOfResources(QStringLiteral("Out of memory for a %1 x %2 bitmap").arg(AWidth).arg(AHeight));
        next.fill(0xFFFFFFFF);
        const QImage old = FImage.format() == Format ? FImage : FImage.convertToFormat(Format);
        const int w = std::min(AWidth, old.width());
        const int h = std::min(AHeight, old.height());
        const size_t bytes = size_t(w) * 4;
        for (int y = 0; y < h; ++y)
            std::memcpy(next.scanLine(y), old.constScanLine(y), bytes);
    }
    FImage = next;
    Reattach();
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
    if (AWidth == Width() && AHeight == Height())
        return;
    Reallocate(AWidth, AHeight, StorageFormat());
    Changed();
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        FCanvas->OnChange = [this](TObject*) { Changed(); };
        Reattach();
    }
    return FCanvas.get();
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (FPixelFormat == Value)
        return;
    FPixelFormat = Value;
    if (!FImage.isNull() && FImage.format() != StorageFormat())
        Reallocate(Width(), Height(), StorageFormat());
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == TTransparentMode::tmFixed && FTransparentColor != clDefault)
        return FTransparentColor;
    if (FImage.isNull())
        return clNone;
    const QRgb p = FImage.pixel(0, FImage.height() - 1);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

void TBitmap::SetTransparentColor(TColor Value)
{
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value)
{
    if (FTransparentMode == Value)
        return;
    FTransparentMode = Value;
    if (Value == TTransparentMode::tmAuto)
        FTransparentColor = clDefault;
    else
        FTransparentColor = TransparentColor();
    Changed();
}

void TBitmap::SetImage(const QImage& Image)
{
    if (FCanvas)
        FCanvas->EndDraw();
    if (Image.hasAlphaChannel())
        FPixelFormat = TPixelFormat::pf32bit;
    else if (FPixelFormat == TPixelFormat::pf32bit)
        FPixelFormat = TPixelFormat::pf24bit;
    FImage = Image.isNull() ? QImage() : Image.convertToFormat(StorageFormat());
    Reattach();
    Changed();
}

void TBitmap::Assign(const TPersistent* Source)
{
    if (Source == this)
        return;
    if (!Source) {
        Reallocate(0, 0, StorageFormat());
        Changed();
        return;
    }
    if (const auto* picture = dynamic_cast<const TPicture*>(Source)) {
        Assign(picture->Graphic());
        return;
    }
    if (const auto* bmp = dynamic_cast<const TBitmap*>(Source)) {
        if (FCanvas)
            FCanvas->EndDraw();
        FPixelFormat = bmp->FPixelFormat;
        FImage = bmp->FImage.copy();
        FTransparent = bmp->FTransparent;
        FTransparentColor = bmp->FTransparentColor;
        FTransparentMode = bmp->FTransparentMode;
        Reattach();
        Changed();
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(Source)) {
        // Any other graphic is rendered onto a white bitmap of its size.
        if (FCanvas)
            FCanvas->EndDraw();
        FPixelFormat = TPixelFormat::pf24bit;
        FImage = QImage();
        const QImage pixels = graphic->ToImage();
        if (!pixels.isNull()) {
            QImage flat(pixels.size(), QImage::Format_RGB32);
            flat.fill(0xFFFFFFFF);
            TCanvas c;
            c.BeginDraw(&flat);
            c.Draw(0, 0, pixels);
            c.EndDraw();
            FImage = flat;
        }
        FTransparent = graphic->Transparent();
        Reattach();
        Changed();
        return;
    }
    AssignError(Source);
}

void TBitmap::LoadFromResourceName(const QString& ResName)
{
    const QImage img = resources::Bitmap(ResName);
    if (img.isNull())
        throw EInvalidGraphic(QStringLiteral("Resource %1 not found").arg(ResName));
    FPixelFormat = TPixelFormat::pf24bit;
    SetImage(img);
}

QImage TBitmap::MaskedImage() const
{
    if (FImage.isNull())
        return QImage();
    if (!FTransparent)
        return FImage.convertToFormat(QImage::Format_RGB32);
    const TColor key = ColorToRGB(TransparentColor());
    QImage out = FImage.convertToFormat(QImage::Format_ARGB32);
    const QRgb k = qRgb(GetRValue(key), GetGValue(key), GetBValue(key));
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = (line[x] | 0xFF000000) == k ? 0 : (line[x] | 0xFF000000);
    }
    return out;
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (Empty())
        return;
    // Without transparency the bitmap is copied as it is (its alpha byte, if
    // any, is not used), as the toolkit copies bitmaps.
    if (!FTransparent && FImage.format() == QImage::Format_RGB32)
        DrawImage(ACanvas, Rect, FImage);
    else
        DrawImage(ACanvas, Rect, MaskedImage());
}

QImage TBitmap::ToImage() const
{
    if (FImage.isNull())
        return QImage();
    return FTransparent ? MaskedImage() : FImage.convertToFormat(QImage::Format_ARGB32);
}

namespace {

quint32 LittleEndian(const QByteArray& d, qsizetype at, int bytes)
{
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | uchar(d[at + i]);
    return v;
}

// What the file and info headers of BMP bytes declare.
struct TBmpHeader {
    qint64 PixelOffset = 0;
    qint64 Width = 0;
    qint64 Height = 0; // negative for rows stored top-down
    int BitCount = 0;
    quint32 Compression = 0;
};

constexpr quint32 BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;

// False when the bytes are too short for the headers they start.
bool ReadBmpHeader(const QByteArray& d, TBmpHeader& h)
{
    if (d.size() < 26 || d[0] != 'B' || d[1] != 'M')
        return false;
    h.PixelOffset = LittleEndian(d, 10, 4);
    const quint32 infoSize = LittleEndian(d, 14, 4);
    if (infoSize == 12) { // the old core header: 16-bit sizes, no compression
        h.Width = LittleEndian(d, 18, 2);
        h.Height = LittleEndian(d, 20, 2);
        h.BitCount = int(LittleEndian(d, 24, 2));
        return true;
    }
    if (d.size() < 34)
        return false;
    h.Width = qint32(LittleEndian(d, 18, 4));
    h.Height = qint32(LittleEndian(d, 22, 4));
    h.BitCount = int(LittleEndian(d, 28, 2));
    h.Compression = LittleEndian(d, 30, 4);
    return true;
}

// A run-length coded picture is refused when it would expand more than this
// many pixels per byte of its data: an encoder's runs give at most 255 pixels
// per two bytes, and only a crafted file declares a huge picture it never
// codes, which would cost time and memory out of all proportion to the file.
constexpr qint64 kMaxRlePixelsPerByte = 256;

// Whether the bytes can hold the picture their headers declare. Uncompressed
// rows must all be there (the last row's padding may be missing, as some
// writers leave it off); the decoder would otherwise make up a picture of
// any declared size out of a few bytes.
bool BmpDataCoversPicture(const QByteArray& d, const TBmpHeader& h)
{
    if (h.Width <= 0 || h.Height == 0 || h.BitCount <= 0 || h.PixelOffset > d.size())
        return false;
    const qint64 rows = h.Height < 0 ? -h.Height : h.Height;
    const qint64 data = d.size() - h.PixelOffset;
    switch (h.Compression) {
    case BI_RGB:
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS: {
        const qint64 rowBytes = (h.Width * h.BitCount + 7) / 8;
        const qint64 stride = (h.Width * h.BitCount + 31) / 32 * 4;
        // rowBytes + stride * (rows - 1) <= data, without overflowing
        return rowBytes <= data && (rows == 1 || stride <= (data - rowBytes) / (rows - 1));
    }
    case BI_RLE8:
    case BI_RLE4:
        return h.Width * rows <= data * kMaxRlePixelsPerByte;
    default:
        return true; // left to the decoder
    }
}

} // namespace

void TBitmap::LoadFromBytes(const QByteArray& Data)
{
    TBmpHeader header;
    const bool known = ReadBmpHeader(Data, header);
    if (known && !BmpDataCoversPicture(Data, header))
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    const QImage img = ReadImage(Data, "BMP");
    if (img.isNull())
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    // The bit count of the info header decides the pixel format.
    switch (known ? header.BitCount : 24) {
    case 1:
        FPixelFormat = TPixelFormat::pf1bit;
        break;
    case 4:
        FPixelFormat = TPixelFormat::pf4bit;
        break;
    case 8:
        FPixelFormat = TPixelFormat::pf8bit;
        break;
    case 16:
        FPixelFormat = TPixelFormat::pf16bit;
        break;
    case 32:
        FPixelFormat = TPixelFormat::pf32bit;
        break;
    default:
        FPixelFormat = TPixelFormat::pf24bit;
        break;
    }
    if (FCanvas)
        FCanvas->EndDraw();
    FImage = img.convertToFormat(StorageFormat());
    Reattach();
    Changed();
}

QByteArray TBitmap::SaveToBytes() const
{
    if (FImage.isNull())
        return QByteArray();
    return WriteImage(FImage, "BMP");
}

void TBitmap::ReadData(const QByteArray& Data)
{
    if (Data.size() < 4)
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    const quint32 size = quint32(uchar(Data[0])) | quint32(uchar(Data[1])) << 8 | quint32(uchar(Data[2])) << 16
        | quint32(uchar(Data[3])) << 24;
    if (size == 0) {
        Assign(nullptr);
        return;
    }
    if (qint64(size) > Data.size() - 4)
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    LoadFromBytes(Data.mid(4, qsizetype(size)));
}

QByteArray TBitmap::WriteData() const
{
    const QByteArray bmp = SaveToBytes();
    QByteArray out(4, '\0');
    const quint32 size = quint32(bmp.size());
    for (int i = 0; i < 4; ++i)
        out[i] = char((size >> (8 * i)) & 0xFF);
    return out + bmp;
}

// ---------------------------------------------------------------------------
// TIcon

std::unique_ptr<TGraphic> TIcon::Clone() const
{
    auto copy = std::make_unique<TIcon>();
    copy->FImage = FImage;
    return copy;
}

void TIcon::Assign(const TPersistent* Source)
{
    if (!Source) {
        SetImage(QImage());
        return;
    }
    if (const auto* icon = dynamic_cast<const TIcon*>(Source)) {
        SetImage(icon->FImage);
        return;
    }
    AssignError(Source);
}

void TIcon::SetImage(const QImage& Image)
{
    FImage = Image.isNull() ? QImage() : Image.convertToFormat(QImage::Format_ARGB32);
    Changed();
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    DrawImage(ACanvas, Rect, FImage);
}

void TIcon::LoadFromBytes(const QByteArray& Data)
{
    const QImage img = ReadImage(Data, "ICO");
    if (img.isNull())
        throw EInvalidGraphic(QStringLiteral("Icon image is not valid"));
    SetImage(img);
}

QByteArray TIcon::SaveToBytes() const
{
    if (FImage.isNull())
        return QByteArray();
    return WriteImage(FImage, "ICO");
}

// ---------------------------------------------------------------------------
// TPngImage

std::unique_ptr<TGraphic> TPngImage::Clone() const
{
    auto copy = std::make_unique<TPngImage>();
    copy->FImage = FImage;
    copy->FTransparent = FTransparent;
    return copy;
}

void TPngImage::Assign(const TPersistent* Source)
{
    if (!Source) {
        SetImage(QImage());
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(Source)) {
        SetImage(graphic->ToImage());
        return;
    }
    AssignError(Source);
}

void TPngImage::SetImage(const QImage& Image)
{
    FImage = Image.isNull() ? QImage() : Image.convertToFormat(QImage::Format_ARGB32);
    FTransparent = Image.hasAlphaChannel();
    Changed();
}

void TPngImage::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    DrawImage(ACanvas, Rect, FImage);
}

void TPngImage::LoadFromBytes(const QByteArray& Data)
{
    const QImage img = ReadImage(Data, "PNG");
    if (img.isNull())
        throw EInvalidGraphic(QStringLiteral("PNG image is not valid"));
    SetImage(img);
}

QByteArray TPngImage::SaveToBytes() const
{
    if (FImage.isNull())
        return QByteArray();
    return WriteImage(FImage, "PNG");
}

// ---------------------------------------------------------------------------
// TGIFImage

std::unique_ptr<TGraphic> TGIFImage::Clone() const
{
    auto copy = std::make_unique<TGIFImage>();
    copy->FData = FData;
    copy->FImage = FImage;
    copy->FBounds = FBounds;
    return copy;
}

void TGIFImage::Assign(const TPersistent* Source)
{
    if (!Source) {
        FData.clear();
        FImage = QImage();
        FBounds = QRect();
        Changed();
        return;
    }
    if (const auto* other = dynamic_cast<const TGIFImage*>(Source)) {
        FData = other->FData;
        FImage = other->FImage;
        FBounds = other->FBounds;
        Changed();
        return;
    }
    AssignError(Source);
}

void TGIFImage::LoadFromBytes(const QByteArray& Data)
{
    gif::Image first;
    QString error;
    if (!gif::Decode(Data, first, &error))
        throw EInvalidGraphic(error);
    FData = Data;
    FImage = first.ToImage();
    FBounds = first.Bounds;
    Changed();
}

void TGIFImage::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    DrawImage(ACanvas, Rect, FImage);
}

// ---------------------------------------------------------------------------
// TJPEGImage

std::unique_ptr<TGraphic> TJPEGImage::Clone() const
{
    auto copy = std::make_unique<TJPEGImage>();
    copy->FData = FData;
    copy->FImage = FImage;
    copy->FQuality = FQuality;
    copy->FGrayscale = FGrayscale;
    return copy;
}

void TJPEGImage::Assign(const TPersistent* Source)
{
    if (!Source) {
        FData.clear();
        FImage = QImage();
        Changed();
        return;
    }
    if (const auto* other = dynamic_cast<const TJPEGImage*>(Source)) {
        FData = other->FData;
        FImage = other->FImage;
        FQuality = other->FQuality;
        FGrayscale = other->FGrayscale;
        Changed();
        return;
    }
    if (const auto* picture = dynamic_cast<const TPicture*>(Source)) {
        Assign(picture->Graphic());
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(Source)) {
        SetImage(graphic->ToImage());
        return;
    }
    AssignError(Source);
}

void TJPEGImage::SetImage(const QImage& Image)
{
    // Transparent parts become white, as they will in the encoded file.
    QImage flat;
    if (!Image.isNull()) {
        flat = QImage(Image.size(), QImage::Format_RGB32);
        flat.fill(0xFFFFFFFF);
        TCanvas c;
        c.BeginDraw(&flat);
        c.Draw(0, 0, Image);
        c.EndDraw();
    }
    FImage = flat;
    FData.clear();
    Changed();
}

void TJPEGImage::LoadFromBytes(const QByteArray& Data)
{
    QImage img;
    QString error;
    if (!jpeg::Decode(Data, img, &error))
        throw EInvalidGraphic(QStringLiteral("JPEG error: %1").arg(error));
    FImage = img;
    FData = Data;
    Changed();
}

QByteArray TJPEGImage::SaveToBytes() const
{
    if (!FData.isEmpty())
        return FData;
    if (FImage.isNull())
        throw EInvalidGraphic(QStringLiteral("Cannot save an empty JPEG image"));
    jpeg::EncodeOptions options;
    options.Quality = FQuality;
    options.Grayscale = FGrayscale;
    QByteArray out;
    QString error;
    if (!jpeg::Encode(FImage, options, out, &error))
        throw EInvalidGraphic(QStringLiteral("JPEG error: %1").arg(error));
    FData = out;
    return FData;
}

void TJPEGImage::SetCompressionQuality(int Value)
{
    Value = std::clamp(Value, 1, 100);
    if (Value == FQuality)
        return;
    FQuality = Value;
    if (!FImage.isNull())
        FData.clear();
}

void TJPEGImage::SetGrayscale(bool Value)
{
    if (Value == FGrayscale)
        return;
    FGrayscale = Value;
    if (!FImage.isNull())
        FData.clear();
    Changed();
}

QImage TJPEGImage::ToImage() const
{
    if (FImage.isNull())
        return QImage();
    if (FGrayscale)
        return FImage.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_ARGB32);
    return FImage.convertToFormat(QImage::Format_ARGB32);
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (FGrayscale)
        DrawImage(ACanvas, Rect, ToImage());
    else
        DrawImage(ACanvas, Rect, FImage);
}

// ---------------------------------------------------------------------------
// TPicture

namespace {

struct FileFormat {
    QString Extension; // lower case, no dot
    QString Description;
    TGraphicFactory Factory;
};

std::vector<FileFormat>& Formats()
{
    static std::vector<FileFormat> formats = {
        { "bmp", "Bitmaps", [] { return std::unique_ptr<TGraphic>(new TBitmap); } },
        { "ico", "Icons", [] { return std::unique_ptr<TGraphic>(new TIcon); } },
        { "png", "Portable Network Graphics", [] { return std::unique_ptr<TGraphic>(new TPngImage); } },
        { "gif", "GIF Image", [] { return std::unique_ptr<TGraphic>(new TGIFImage); } },
        { "jpg", "JPEG Image File", [] { return std::unique_ptr<TGraphic>(new TJPEGImage); } },
        { "jpeg", "JPEG Image File", [] { return std::unique_ptr<TGraphic>(new TJPEGImage); } },
    };
    return formats;
}

const FileFormat* FindFormat(QString ext)
{
    ext = ext.toLower();
    if (ext.startsWith('.'))
        ext.remove(0, 1);
    for (const FileFormat& f : Formats())
        if (f.Extension == ext)
            return &f;
    return nullptr;
}

} // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPicture::Take(std::unique_ptr<TGraphic> Graphic)
{
    FGraphic = std::move(Graphic);
    if (FGraphic)
        FGraphic->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

void TPicture::SetGraphic(const TGraphic* Value)
{
    Take(Value ? Value->Clone() : nullptr);
}

TBitmap* TPicture::Bitmap()
{
    if (!dynamic_cast<TBitmap*>(FGraphic.get()))
        Take(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon()
{
    if (!dynamic_cast<TIcon*>(FGraphic.get()))
        Take(std::make_unique<TIcon>());
    return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::LoadFromFile(const QString& FileName)
{
    const QString ext = QFileInfo(FileName).suffix();
    const FileFormat* format = FindFormat(ext);
    if (!format)
        throw EInvalidGraphic(QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
    std::unique_ptr<TGraphic> graphic = format->Factory();
    graphic->LoadFromFile(FileName);
    Take(std::move(graphic));
}

void TPicture::SaveToFile(const QString& FileName) const
{
    if (!FGraphic)
        throw EInvalidGraphic(QStringLiteral("The picture holds no graphic to save"));
    FGraphic->SaveToFile(FileName);
}

void TPicture::Assign(const TPersistent* Source)
{
    if (Source == this)
        return;
    if (!Source) {
        Take(nullptr);
        return;
    }
    if (const auto* picture = dynamic_cast<const TPicture*>(Source)) {
        SetGraphic(picture->Graphic());
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(Source)) {
        SetGraphic(graphic);
        return;
    }
    throw EConvertError(QStringLiteral("Cannot assign to a TPicture"));
}

QByteArray TPicture::WriteData() const
{
    if (!FGraphic)
        return QByteArray();
    const QByteArray name = FGraphic->ClassName().toLatin1().left(255);
    QByteArray out;
    out.append(char(name.size()));
    out.append(name);
    out.append(FGraphic->WriteData());
    return out;
}

void TPicture::ReadData(const QByteArray& Data)
{
    if (Data.isEmpty()) {
        Take(nullptr);
        return;
    }
    const int len = uchar(Data[0]);
    if (Data.size() < 1 + len)
        throw EInvalidGraphic(QStringLiteral("Picture data is truncated"));
    const QString name = QString::fromLatin1(Data.mid(1, len));
    std::unique_ptr<TGraphic> graphic = CreateGraphic(name);
    if (!graphic)
        throw EInvalidGraphic(QStringLiteral("Unknown graphic class %1").arg(name));
    graphic->ReadData(Data.mid(1 + len));
    Take(std::move(graphic));
}

void TPicture::RegisterFileFormat(const QString& Extension, const QString& Description, TGraphicFactory Factory)
{
    QString ext = Extension.toLower();
    if (ext.startsWith('.'))
        ext.remove(0, 1);
    auto& formats = Formats();
    auto it = std::find_if(formats.begin(), formats.end(), [&](const FileFormat& f) { return f.Extension == ext; });
    if (it != formats.end())
        *it = { ext, Description, std::move(Factory) };
    else
        formats.push_back({ ext, Description, std::move(Factory) });
}

bool TPicture::SupportsExtension(const QString& Extension)
{
    return FindFormat(Extension) != nullptr;
}

QString TPicture::GraphicFilter()
{
    QStringList all;
    QStringList parts;
    for (const FileFormat& f : Formats()) {
        all << "*." + f.Extension;
        parts << QStringLiteral("%1 (*.%2)|*.%2").arg(f.Description, f.Extension);
    }
    const QString joined = all.join(';');
    return QStringLiteral("All (%1)|%1|").arg(joined) + parts.join('|');
}

std::unique_ptr<TGraphic> TPicture::CreateGraphic(const QString& ClassName)
{
    for (const FileFormat& f : Formats()) {
        std::unique_ptr<TGraphic> g = f.Factory();
        if (g->ClassName() == ClassName)
            return g;
    }
    return nullptr;
}

std::unique_ptr<TGraphic> LoadGraphicFromBytes(const QByteArray& Data)
{
    std::unique_ptr<TGraphic> graphic;
    if (Data.startsWith("BM"))
        graphic = std::make_unique<TBitmap>();
    else if (gif::IsGif(Data))
        graphic = std::make_unique<TGIFImage>();
    else if (Data.startsWith("\xFF\xD8\xFF"))
        graphic = std::make_unique<TJPEGImage>();
    else if (Data.startsWith("\x89PNG\r\n\x1A\n"))
        graphic = std::make_unique<TPngImage>();
    else if (Data.size() >= 6 && Data.startsWith(QByteArray("\0\0\1\0", 4)))
        graphic = std::make_unique<TIcon>();
    if (!graphic)
        throw EInvalidGraphic(QStringLiteral("Unknown picture format"));
    graphic->LoadFromBytes(Data);
    return graphic;
}
