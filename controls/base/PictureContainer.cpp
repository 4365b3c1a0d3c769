#include "controls/base/PictureContainer.h"

#include "platform/graphics/Graphics.h"
#include "platform/graphics/Resources.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/SysUtils.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A little-endian 16-bit field; bytes past the data read as 0.
std::uint16_t Word(const QByteArray& data, qsizetype at)
{
    auto byte = [&](qsizetype i) -> std::uint16_t { return i < data.size() ? std::uint8_t(data[i]) : 0; };
    return std::uint16_t(byte(at) | (byte(at + 1) << 8));
}

} // namespace

THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

std::unique_ptr<TGraphic> THTMLPicture::Clone() const
{
    auto copy = std::make_unique<THTMLPicture>();
    copy->Assign(this);
    return copy;
}

bool THTMLPicture::IsGIF() const { return FData.size() > 4 && FData.startsWith("GIF8"); }

std::vector<qsizetype> THTMLPicture::FrameMarkers() const
{
    std::vector<qsizetype> markers;
    const char* d = FData.constData();
    for (qsizetype j = 0; j + 9 < FData.size(); ++j)
        if (d[j] == 0x21 && std::uint8_t(d[j + 1]) == 0xF9 && d[j + 2] == 4 && d[j + 8] == 0x2C)
            markers.push_back(j);
    return markers;
}

int THTMLPicture::FrameCount() const
{
    if (!IsGIF())
        return -1;
    if (FFrameCount < 0)
        FFrameCount = int(FrameMarkers().size());
    return FFrameCount;
}

int THTMLPicture::GetFrameTime(int Frame) const
{
    if (!IsGIF())
        return -1;
    const auto markers = FrameMarkers();
    if (Frame < 1 || Frame > int(markers.size()))
        return -1;
    return Word(FData, markers[size_t(Frame - 1)] + 4);
}

void THTMLPicture::LoadPicture()
{
    FFrameXPos = FFrameYPos = FFrameXSize = FFrameYSize = 0;
    FAnimMaxX = FAnimMaxY = 0;
    QByteArray block;
    const auto markers = IsGIF() ? FrameMarkers() : std::vector<qsizetype>();
    if (!markers.empty()) {
        FAnimMaxX = Word(FData, 6);
        FAnimMaxY = Word(FData, 8);
        // Keep the header and colour table, skip the frames before the wanted
        // one, so the first image decoded is the wanted frame.
        const qsizetype wanted = markers[size_t(std::clamp(FFrame, 1, int(markers.size())) - 1)];
        block.reserve(FData.size());
        block.append(FData.constData(), FFrame > 1 ? markers.front() : FData.size());
        if (FFrame > 1)
            block.append(FData.constData() + wanted, FData.size() - wanted);
        FFrameXPos = Word(FData, wanted + 9);
        FFrameYPos = Word(FData, wanted + 11);
        FFrameXSize = Word(FData, wanted + 13);
        FFrameYSize = Word(FData, wanted + 15);
    } else {
        block = FData;
    }
    gpPicture.reset();
    try {
        gpPicture = LoadGraphicFromBytes(block);
    } catch (const Exception&) {
        throw EInvalidGraphic(QStringLiteral("Could not load image. Invalid format"));
    }
    if (!gpPicture)
        throw EInvalidGraphic(QStringLiteral("Could not load image"));
}

void THTMLPicture::LoadFromBytes(const QByteArray& Data)
{
    FData = Data;
    FFrameCount = -1;
    FIsEmpty = false;
    LoadPicture();
}

void THTMLPicture::LoadFromStream(TStream* Stream)
{
    if (!Stream)
        return;
    Stream->SetPosition(0);
    LoadFromBytes(Stream->ReadRemaining());
    Changed();
}

void THTMLPicture::SaveToStream(TStream* Stream) const
{
    WriteData(Stream);
}

void THTMLPicture::ReadData(TStream* Stream)
{
    if (!Stream)
        return;
    Stream->SetPosition(0);
    ReadData(Stream->ReadRemaining());
}

void THTMLPicture::ReadData(const QByteArray& Data)
{
    if (Data.isEmpty()) {
        // An empty picture is stored without bytes.
        Assign(nullptr);
        return;
    }
    LoadFromBytes(Data);
}

void THTMLPicture::WriteData(TStream* Stream) const
{
    if (Stream)
        Stream->WriteBuffer(FData);
}

void THTMLPicture::LoadFromFile(const QString& FileName)
{
    try {
        // Devices, pipes and endless files are not pictures.
        const QFileInfo info(FileName);
        if (!info.isFile() || info.size() > MaxFileSize)
            throw EFOpenError(FileName);
        QFile file(FileName);
        if (!file.open(QIODevice::ReadOnly))
            throw EFOpenError(FileName);
        const QByteArray bytes = file.read(MaxFileSize + 1);
        if (bytes.size() > MaxFileSize)
            throw EFOpenError(FileName);
        LoadFromBytes(bytes);
        Changed();
    } catch (...) {
        gpPicture.reset();
        FIsEmpty = true;
    }
}

void THTMLPicture::LoadFromResourceName(const QString& Name)
{
    QByteArray bytes;
    if (!resources::FindRawData(Name, bytes))
        return;
    TMemoryStream stream;
    stream.WriteBuffer(bytes);
    LoadFromStream(&stream);
}

void THTMLPicture::LoadFromResourceID(int Id)
{
    const QString name = QStringLiteral("#%1").arg(Id);
    QByteArray bytes;
    if (!resources::FindRawData(name, bytes))
        throw EInvalidArgument(QStringLiteral("Resource %1 not found").arg(name));
    LoadFromResourceName(name);
}

void THTMLPicture::LoadFromURL(const QString& URL)
{
    const QString upper = URL.toUpper();
    if (upper.startsWith(QLatin1String("RES://"))) {
        FID = URL;
        if (URL.size() > 6)
            LoadFromResourceName(URL.mid(6));
    } else if (upper.startsWith(QLatin1String("FILE://"))) {
        FID = URL;
        if (URL.size() > 7)
            LoadFromFile(URL.mid(7));
    } else if (!FAsynch) {
        FURL = URL;
        FID = URL;
    } else if (!FThreadBusy) {
        // No download is made: the picture stays empty and busy.
        FURL = URL;
        FThreadBusy = true;
    }
}

void THTMLPicture::Assign(const TPersistent* Source)
{
    FIsEmpty = true;
    gpPicture.reset();
    FFrameCount = -1;
    FNextCount = FTimerCount = -1;
    FFrame = 1;
    if (!Source) {
        FData.clear();
        return;
    }
    const auto* other = dynamic_cast<const THTMLPicture*>(Source);
    if (!other) {
        TGraphic::Assign(Source);
        return;
    }
    if (other == this)
        return;
    FData = other->FData;
    // An empty source gives an empty copy rather than a decoding error.
    if (!other->FIsEmpty) {
        FIsEmpty = false;
        LoadPicture();
    }
    Changed();
}

int THTMLPicture::Width() const { return gpPicture ? gpPicture->Width() : 0; }
int THTMLPicture::Height() const { return gpPicture ? gpPicture->Height() : 0; }

int THTMLPicture::MaxWidth() const
{
    if (!gpPicture)
        return 0;
    return FAnimMaxX ? FAnimMaxX : Width();
}

int THTMLPicture::MaxHeight() const
{
    if (!gpPicture)
        return 0;
    return FAnimMaxY ? FAnimMaxY : Height();
}

QImage THTMLPicture::ToImage() const { return gpPicture ? gpPicture->ToImage() : QImage(); }

void THTMLPicture::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (FIsEmpty || !gpPicture || !ACanvas)
        return;
    if (FStretched) {
        gpPicture->Draw(ACanvas, Rect);
        return;
    }
    const int w = MulDiv(Width(), ACanvas->PixelsPerInchX(), ScreenPixelsPerInch);
    const int h = MulDiv(Height(), ACanvas->PixelsPerInchY(), ScreenPixelsPerInch);
    gpPicture->Draw(ACanvas, Bounds(Rect.Left, Rect.Top, w, h));
}

void THTMLPicture::SetFrame(int Value)
{
    const int count = FrameCount();
    FFrame = count > 0 ? std::clamp(Value, 1, count) : 1;
    if (!FData.isEmpty() && !FIsEmpty) {
        LoadPicture();
        if (OnFrameChange)
            OnFrameChange(this);
    }
}

void THTMLPicture::FrameNext() { SetFrame(FFrame < FrameCount() ? FFrame + 1 : 1); }

void THTMLPicture::FramePrev() { SetFrame(FFrame > 1 ? FFrame - 1 : FrameCount()); }

bool THTMLPicture::Step()
{
    if (FIsEmpty || FrameCount() < 2)
        return false;
    bool changed = false;
    if (FNextCount == -1) {
        // The first tick schedules the change after the shown frame's time.
        FNextCount = std::max(0, GetFrameTime(FFrame));
    } else if (FTimerCount * 10 >= FNextCount) {
        FrameNext();
        FNextCount += GetFrameTime(FFrame);
        changed = true;
    }
    ++FTimerCount;
    return changed;
}

TPictureItem::TPictureItem(TCollection* Collection)
    : TCollectionItem(Collection)
    , FPicture(std::make_unique<THTMLPicture>())
{
}

TPictureItem::~TPictureItem() = default;

void TPictureItem::Assign(const TPersistent* Source)
{
    const auto* other = dynamic_cast<const TPictureItem*>(Source);
    if (!other) {
        TCollectionItem::Assign(Source);
        return;
    }
    FName = other->FName;
    FTag = other->FTag;
    FPicture->Assign(other->FPicture.get());
}

TPictureCollection::TPictureCollection(TComponent* AOwner)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TPictureItem(c); })
    , FOwner(AOwner)
{
}

bool TPictureCollection::Animate()
{
    bool changed = false;
    for (int i = 0; i < Count(); ++i)
        changed = Items(i)->Picture()->Step() || changed;
    return changed;
}

TPictureContainer::TPictureContainer(TComponent* AOwner)
    : TComponent(AOwner)
    , FItems(std::make_unique<TPictureCollection>(this))
{
}

TPictureContainer::~TPictureContainer() = default;

THTMLPicture* TPictureContainer::FindPicture(const QString& Name) const
{
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->Name().compare(Name, Qt::CaseInsensitive) == 0)
            return FItems->Items(i)->Picture();
    return nullptr;
}

THTMLPictureCache::~THTMLPictureCache() = default;

THTMLPicture* THTMLPictureCache::AddPicture()
{
    FItems.push_back(std::make_unique<THTMLPicture>());
    return FItems.back().get();
}

THTMLPicture* THTMLPictureCache::FindPicture(const QString& ID) const
{
    for (const auto& picture : FItems)
        if (picture->ID() == ID)
            return picture.get();
    return nullptr;
}

void THTMLPictureCache::ClearPictures() { FItems.clear(); }

bool THTMLPictureCache::Animate()
{
    bool changed = false;
    for (const auto& picture : FItems)
        changed = picture->Step() || changed;
    return changed;
}
