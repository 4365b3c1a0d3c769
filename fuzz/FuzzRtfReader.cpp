// Feeds arbitrary bytes to the RTF reader, as bytes and as the characters of
// a cell's text, and checks what it makes: at least one paragraph, no empty
// run, neighbouring runs of different looks, nothing the model keeps out;
// what the writer makes of it is 7-bit and reads back to the same model.
// The rich edit loads the input from a stream and from a text, and what it
// saves reads back to what it shows.

#include "FuzzSupport.h"
#include "platform/controls/RichEdit.h"
#include "platform/controls/RtfCodec.h"
#include "platform/runtime/Classes.h"

#include <QApplication>

#include <cstdint>
#include <cstdlib>

namespace {

void CheckModel(const TRtfDocument& d)
{
    if (d.Paragraphs.empty())
        std::abort();
    for (const TRtfParagraph& p : d.Paragraphs)
        for (std::size_t i = 0; i < p.Runs.size(); ++i) {
            const TRtfRun& r = p.Runs[i];
            if (r.Text.isEmpty() || (i > 0 && p.Runs[i - 1].Format == r.Format))
                std::abort();
            for (const QChar c : r.Text)
                if ((c.unicode() < 0x20 && c != u'\t') || c == QChar::ParagraphSeparator || c.unicode() == 0xFFFC)
                    std::abort();
        }
}

void CheckRoundTrip(const TRtfDocument& d)
{
    const QByteArray written = WriteRtf(d);
    for (const char c : written)
        if (static_cast<unsigned char>(c) >= 0x80)
            std::abort();
    if (ReadRtf(written) != d)
        std::abort();
}

} // namespace

// Every new font name the rich edit meets stays in the caches of the
// system's font libraries for the rest of the run: no leak of ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libfreetype\nleak:libharfbuzz\nleak:libQt6Gui\nleak:libQt6Core\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Inputs up to 64 KB unless the run says otherwise.
    Fuzz_Default_Max_Len(argc, argv, "-max_len=65536");
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TRtfDocument fromBytes = ReadRtf(bytes);
    CheckModel(fromBytes);
    CheckRoundTrip(fromBytes);

    // The same bytes as a cell's text, characters beyond 8 bits included.
    const QString text = QString::fromUtf8(bytes);
    const TRtfDocument fromText = ReadRtf(QStringView(text));
    CheckModel(fromText);
    CheckRoundTrip(fromText);

    // The control keeps every look of the model, so what it saves reads back
    // to what it holds; inputs up to 4 KB, the layout costs.
    if (size <= 4096) {
        TRichEdit edit(nullptr);
        TMemoryStream in;
        in.WriteBuffer(bytes);
        in.SetPosition(0);
        edit.LoadFromStream(&in);
        TMemoryStream out;
        edit.SaveToStream(&out);
        if (ReadRtf(out.Bytes()) != edit.Document())
            std::abort();
        // From a text: an RTF text shows the reader's text.
        edit.LoadFromText(text);
        if (IsRtfText(text) && edit.GetText() != fromText.PlainText())
            std::abort();
        edit.SelectAll();
        edit.SetSelOffset(40);
        edit.SetSelColor(clRed);
        edit.SaveToStream(&out);
    }
    return 0;
}
