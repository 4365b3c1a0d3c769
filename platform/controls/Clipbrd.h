#pragma once
// The clipboard: text, and data of registered formats kept as opaque bytes.
// The program reaches it through Clipboard(); tests put an in-memory one in
// its place with SetClipboard, so nothing of theirs touches the system's.
//
// Outside Open/Close every write replaces the whole content, as emptying the
// clipboard and setting one format does. Between Open and Close the writes
// gather and land together at the outermost Close, so that a text and a
// registered format describe one copy.

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>

#include "platform/controls/ClipboardFormats.h"

// The standard text formats; all three read and write the one text.
inline constexpr UINT CF_TEXT = 1;
inline constexpr UINT CF_OEMTEXT = 7;
inline constexpr UINT CF_UNICODETEXT = 13;

// What the clipboard holds: a text or not, and data per registered format.
struct TClipboardContent {
    std::optional<QString> Text;
    std::map<UINT, QByteArray> Formats;
    bool Empty() const { return !Text && Formats.empty(); }
};

class TClipboard {
public:
    virtual ~TClipboard() = default;

    // The text, empty when the clipboard holds none.
    QString AsText() const;
    void SetAsText(const QString& Value);
    // A text format: whether a text is held; a registered one: whether data
    // of it is held; any other id: false.
    bool HasFormat(UINT Format) const;
    // Data of a registered format (empty when none); a write of another id
    // is ignored.
    QByteArray GetAsData(UINT Format) const;
    void SetAsData(UINT Format, const QByteArray& Data);
    void Clear();

    void Open();
    void Close();

protected:
    // What is held now, and replacing the whole content.
    virtual std::optional<QString> ReadText() const = 0;
    virtual std::optional<QByteArray> ReadData(UINT Format) const = 0;
    virtual void Write(const TClipboardContent& Content) = 0;

private:
    void Put(const std::optional<QString>& Text, UINT Format, const QByteArray* Data);
    int FOpenCount = 0;
    // The writes since Open, and whether there were any (reads see them).
    TClipboardContent FPending;
    bool FWritten = false;
};

// A clipboard of its own, holding exactly what is written; for tests and
// for a program that must not touch the system's clipboard.
class TMemoryClipboard : public TClipboard {
public:
    const TClipboardContent& Content() const { return FContent; }
    // How many times the content was replaced.
    int WriteCount() const { return FWrites; }

protected:
    std::optional<QString> ReadText() const override { return FContent.Text; }
    std::optional<QByteArray> ReadData(UINT Format) const override
    {
        const auto it = FContent.Formats.find(Format);
        return it == FContent.Formats.end() ? std::nullopt : std::optional<QByteArray>(it->second);
    }
    void Write(const TClipboardContent& Content) override
    {
        FContent = Content;
        ++FWrites;
    }

private:
    TClipboardContent FContent;
    int FWrites = 0;
};

// The clipboard in use: the system's unless replaced. The system clipboard
// gives its text with the toolkit's CR LF line breaks and takes it with the
// system's own; registered formats travel under ClipboardFormatMimeType.
TClipboard* Clipboard();
// Replaces the clipboard (not owned; nullptr goes back to the system's) and
// returns the one it replaces.
TClipboard* SetClipboard(TClipboard* NewClipboard);
