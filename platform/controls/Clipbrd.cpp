#include "platform/controls/Clipbrd.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace {

bool IsTextFormat(UINT Format)
{
    return Format == CF_TEXT || Format == CF_OEMTEXT || Format == CF_UNICODETEXT;
}

bool IsRegisteredFormat(UINT Format)
{
    return !GetClipboardFormatName(Format).isEmpty();
}

// The system's clipboard through Qt. Its texts break lines with LF alone;
// the program's strings use CR LF.
class TSystemClipboard : public TClipboard {
protected:
    std::optional<QString> ReadText() const override
    {
        const QMimeData* md = QApplication::clipboard()->mimeData();
        if (!md || !md->hasText())
            return std::nullopt;
        QString t = md->text();
        t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        return t;
    }

    std::optional<QByteArray> ReadData(UINT Format) const override
    {
        const QMimeData* md = QApplication::clipboard()->mimeData();
        const QString mime = ClipboardFormatMimeType(Format);
        if (!md || mime.isEmpty() || !md->hasFormat(mime))
            return std::nullopt;
        return md->data(mime);
    }

    void Write(const TClipboardContent& Content) override
    {
        if (Content.Empty()) {
            QApplication::clipboard()->clear();
            return;
        }
        auto* md = new QMimeData();
        if (Content.Text) {
            QString t = *Content.Text;
            t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            md->setText(t);
        }
        for (const auto& [format, data] : Content.Formats)
            md->setData(ClipboardFormatMimeType(format), data);
        QApplication::clipboard()->setMimeData(md);
    }
};

TClipboard*& Replaced()
{
    static TClipboard* c = nullptr;
    return c;
}

} // namespace

QString TClipboard::AsText() const
{
    if (FWritten)
        return FPending.Text.value_or(QString());
    return ReadText().value_or(QString());
}

void TClipboard::SetAsText(const QString& Value)
{
    Put(Value, 0, nullptr);
}

bool TClipboard::HasFormat(UINT Format) const
{
    if (IsTextFormat(Format))
        return FWritten ? FPending.Text.has_value() : ReadText().has_value();
    if (!IsRegisteredFormat(Format))
        return false;
    return FWritten ? FPending.Formats.count(Format) > 0 : ReadData(Format).has_value();
}

QByteArray TClipboard::GetAsData(UINT Format) const
{
    if (!IsRegisteredFormat(Format))
        return QByteArray();
    if (FWritten) {
        const auto it = FPending.Formats.find(Format);
        return it == FPending.Formats.end() ? QByteArray() : it->second;
    }
    return ReadData(Format).value_or(QByteArray());
}

void TClipboard::SetAsData(UINT Format, const QByteArray& Data)
{
    if (IsRegisteredFormat(Format))
        Put(std::nullopt, Format, &Data);
}

void TClipboard::Clear()
{
    if (FOpenCount > 0) {
        FPending = TClipboardContent();
        FWritten = true;
    } else {
        Write(TClipboardContent());
    }
}

void TClipboard::Open()
{
    ++FOpenCount;
}

void TClipboard::Close()
{
    if (FOpenCount == 0 || --FOpenCount > 0)
        return;
    if (FWritten) {
        const TClipboardContent content = std::move(FPending);
        FPending = TClipboardContent();
        FWritten = false;
        Write(content);
    }
}

void TClipboard::Put(const std::optional<QString>& Text, UINT Format, const QByteArray* Data)
{
    // A write outside Open/Close stands alone; inside, it joins the others.
    TClipboardContent alone;
    TClipboardContent& target = FOpenCount > 0 ? FPending : alone;
    if (Text)
        target.Text = Text;
    if (Data)
        target.Formats[Format] = *Data;
    if (FOpenCount > 0)
        FWritten = true;
    else
        Write(alone);
}

TClipboard* Clipboard()
{
    static TSystemClipboard system;
    TClipboard* c = Replaced();
    return c ? c : &system;
}

TClipboard* SetClipboard(TClipboard* NewClipboard)
{
    TClipboard* old = Clipboard();
    Replaced() = NewClipboard;
    return old;
}
