#pragma once
// Pictures for the mark-up text: THTMLPicture keeps an image file's bytes and
// decodes them (one chosen GIF frame at a time); TPictureContainer holds named
// pictures, THTMLPictureCache the pictures loaded by address.

#include "platform/graphics/Bitmaps.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Component.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TCanvas;
class TStream;

class THTMLPicture : public TGraphic {
public:
    THTMLPicture();
    ~THTMLPicture() override;

    QString ClassName() const override { return QStringLiteral("THTMLPicture"); }
    std::unique_ptr<TGraphic> Clone() const override;
    void Assign(const TPersistent* Source) override;
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    bool Empty() const override { return FIsEmpty; }
    int Width() const override;
    int Height() const override;
    // The size is the image's own.
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    QImage ToImage() const override;
    void LoadFromBytes(const QByteArray& Data) override;
    QByteArray SaveToBytes() const override { return FData; }

    // A failure of any kind leaves the picture empty, without a message. Only
    // regular files up to MaxFileSize are read.
    void LoadFromFile(const QString& FileName);
    static constexpr qint64 MaxFileSize = qint64(64) << 20;
    // The whole stream; nothing for no stream. Decoding errors raise.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream) const;
    // The picture stored with a form: the image file's bytes, read as
    // LoadFromStream reads them but without OnChange. No bytes stand for no
    // picture. Bytes that do not decode raise and stay, so they are written
    // back as they were.
    void ReadData(TStream* Stream);
    void WriteData(TStream* Stream) const;
    void ReadData(const QByteArray& Data) override;
    using TGraphic::WriteData;
    // The raw-data resource of that name, when there is one.
    void LoadFromResourceName(const QString& Name);
    // The raw-data resource registered as "#Id"; a missing one raises EInvalidArgument.
    void LoadFromResourceID(int Id);
    // "RES://name", "FILE://path" (prefixes in any case); other addresses are
    // not fetched: the picture stays empty.
    void LoadFromURL(const QString& URL);

    const QByteArray& Data() const { return FData; }
    bool Stretch() const { return FStretched; }
    void SetStretch(bool Value) { FStretched = Value; }
    const QString& ID() const { return FID; }
    void SetID(const QString& Value) { FID = Value; }
    const QString& URL() const { return FURL; }
    bool IsDB() const { return FIsDB; }
    void SetIsDB(bool Value) { FIsDB = Value; }
    bool Asynch() const { return FAsynch; }
    void SetAsynch(bool Value) { FAsynch = Value; }
    bool Busy() const { return FThreadBusy; }

    bool IsGIF() const;
    // GIF frames (graphic control extension followed by an image); -1 when
    // not a GIF.
    int FrameCount() const;
    int Frame() const { return FFrame; }
    // Clamped to 1..FrameCount; decodes the frame when there is data.
    void SetFrame(int Value);
    void FrameNext();
    void FramePrev();
    // Hundredths of a second; -1 when there is no such frame.
    int GetFrameTime(int Frame) const;
    int MaxWidth() const;
    int MaxHeight() const;
    // One animation tick; true when the shown frame changed.
    bool Step();

    std::uint16_t FrameXPos() const { return FFrameXPos; }
    std::uint16_t FrameYPos() const { return FFrameYPos; }
    std::uint16_t FrameXSize() const { return FFrameXSize; }
    std::uint16_t FrameYSize() const { return FFrameYSize; }

    TNotifyEvent OnFrameChange;
    // Kept for stored forms; nothing is downloaded, so they are never raised.
    TNotifyEvent OnDownLoadProgress, OnDownLoadCancel, OnDownLoadComplete, OnDownLoadError;

private:
    void LoadPicture();
    // Byte offsets of the frame markers.
    std::vector<qsizetype> FrameMarkers() const;

    QByteArray FData;
    bool FIsEmpty = true;
    bool FStretched = false;
    std::unique_ptr<TGraphic> gpPicture;
    QString FURL;
    QString FID;
    bool FIsDB = false;
    bool FAsynch = true;
    bool FThreadBusy = false;
    int FFrame = 1;
    mutable int FFrameCount = -1;
    std::uint16_t FFrameXPos = 0, FFrameYPos = 0, FFrameXSize = 0, FFrameYSize = 0;
    std::uint16_t FAnimMaxX = 0, FAnimMaxY = 0;
    int FNextCount = -1;
    int FTimerCount = -1;
};

class TPictureItem : public TCollectionItem {
public:
    explicit TPictureItem(TCollection* Collection);
    ~TPictureItem() override;

    THTMLPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const THTMLPicture* Value) { FPicture->Assign(Value); }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    const QString& Name() const { return FName; }
    void SetName(const QString& Value) { FName = Value; }
    void Assign(const TPersistent* Source) override;

private:
    std::unique_ptr<THTMLPicture> FPicture;
    int FTag = 0;
    QString FName;
};

class TPictureCollection : public TCollection {
public:
    explicit TPictureCollection(TComponent* AOwner);
    TPersistent* Owner() const override { return FOwner; }
    TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
    TPictureItem* Insert(int Index) { return static_cast<TPictureItem*>(TCollection::Insert(Index)); }
    TPictureItem* Items(int Index) const { return static_cast<TPictureItem*>(TCollection::Items(Index)); }
    // One animation tick for every picture; true when any changed.
    bool Animate();

private:
    TComponent* FOwner;
};

class TPictureContainer : public TComponent {
public:
    explicit TPictureContainer(TComponent* AOwner);
    ~TPictureContainer() override;
    TPictureCollection* Items() const { return FItems.get(); }
    // Copies the items of Value; the container keeps its own collection.
    void SetItems(const TPictureCollection* Value) { FItems->Assign(Value); }
    // The picture of the first item so named (case ignored), or nullptr.
    virtual THTMLPicture* FindPicture(const QString& Name) const;

private:
    std::unique_ptr<TPictureCollection> FItems;
};

class THTMLPictureCache {
public:
    THTMLPictureCache() = default;
    ~THTMLPictureCache();
    THTMLPictureCache(const THTMLPictureCache&) = delete;
    THTMLPictureCache& operator=(const THTMLPictureCache&) = delete;

    // A new empty picture, appended.
    THTMLPicture* AddPicture();
    // The first picture whose ID is exactly ID, or nullptr.
    THTMLPicture* FindPicture(const QString& ID) const;
    void ClearPictures();
    int Count() const { return int(FItems.size()); }
    THTMLPicture* GetPicture(int Index) const { return FItems.at(size_t(Index)).get(); }
    // Copies Value into the picture at Index.
    void SetPicture(int Index, const THTMLPicture* Value) { FItems.at(size_t(Index))->Assign(Value); }
    bool Animate();

private:
    std::vector<std::unique_ptr<THTMLPicture>> FItems;
};
