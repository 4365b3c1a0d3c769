// The RTF codec (its reader's subset, its writer, round trips) and the rich
// edit control (streams, plain text, selection and its look, content size,
// drawing at a canvas' resolution, typing).
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <optional>
#include <vector>

#include "common/TestUtil.h"
#include "platform/controls/Forms.h"
#include "platform/controls/RichEdit.h"
#include "platform/controls/RtfCodec.h"
#include "platform/graphics/Graphics.h"
#include "platform/runtime/Classes.h"
#include "platform/runtime/FileUtils.h"

namespace {

QString Q(const char* s)
{
    return QString::fromUtf8(s);
}

QString U(const char16_t* s)
{
    return QString::fromUtf16(s);
}

// The runs of every paragraph, texts only.
std::vector<std::vector<QString>> RunTexts(const TRtfDocument& d)
{
    std::vector<std::vector<QString>> out;
    for (const TRtfParagraph& p : d.Paragraphs) {
        out.emplace_back();
        for (const TRtfRun& r : p.Runs)
            out.back().push_back(r.Text);
    }
    return out;
}

// The run holding a text; nullptr when none does.
const TRtfRun* RunOf(const TRtfDocument& d, const QString& text)
{
    for (const TRtfParagraph& p : d.Paragraphs)
        for (const TRtfRun& r : p.Runs)
            if (r.Text == text)
                return &r;
    return nullptr;
}

const char* const Sample = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                           "{\\f1\\fmodern Courier New;}}{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                           "{\\*\\generator Riched20 10.0;}\\viewkind4\\uc1\\pard\\lang1033\\f0\\fs20 Plain "
                           "\\b bold\\b0  \\cf1 red\\cf0\\par\\pard\\qc\\i\\f1\\fs24 centred\\i0\\par\\pard\\qr "
                           "\\highlight2 marked\\highlight0\\par x\\up4 2\\up0  y\\dn4 i\\dn0  z\\super s\\nosupersub}";

TEST(RtfReader, TakesTheSubsetCellsAndFilesMeet)
{
    const TRtfDocument d = ReadRtf(QByteArray(Sample));
    ASSERT_EQ(d.Paragraphs.size(), 4u);
    EXPECT_EQ(d.PlainText(), Q("Plain bold red\r\ncentred\r\nmarked\r\nx2 yi zs"));

    const TRtfRun* plain = RunOf(d, Q("Plain "));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->Format.FontName, Q("Arial"));
    EXPECT_EQ(plain->Format.FontSize, 20);
    EXPECT_FALSE(plain->Format.Bold);
    EXPECT_EQ(plain->Format.Color, clNone);

    const TRtfRun* bold = RunOf(d, Q("bold"));
    ASSERT_TRUE(bold);
    EXPECT_TRUE(bold->Format.Bold);

    const TRtfRun* red = RunOf(d, Q("red"));
    ASSERT_TRUE(red);
    EXPECT_EQ(red->Format.Color, RGB(255, 0, 0));

    const TRtfRun* centred = RunOf(d, Q("centred"));
    ASSERT_TRUE(centred);
    EXPECT_EQ(centred->Format.FontName, Q("Courier New"));
    EXPECT_EQ(centred->Format.FontSize, 24);
    EXPECT_TRUE(centred->Format.Italic);
    EXPECT_EQ(d.Paragraphs[1].Alignment, TRtfAlignment::Center);

    const TRtfRun* marked = RunOf(d, Q("marked"));
    ASSERT_TRUE(marked);
    EXPECT_EQ(marked->Format.BackColor, RGB(0, 0, 255));
    EXPECT_EQ(d.Paragraphs[2].Alignment, TRtfAlignment::Right);

    ASSERT_TRUE(RunOf(d, Q("2")));
    EXPECT_EQ(RunOf(d, Q("2"))->Format.Offset, 40);
    ASSERT_TRUE(RunOf(d, Q("i")));
    EXPECT_EQ(RunOf(d, Q("i"))->Format.Offset, -40);
    ASSERT_TRUE(RunOf(d, Q("s")));
    EXPECT_EQ(RunOf(d, Q("s"))->Format.Script, TRtfScript::Super);
    EXPECT_EQ(RunOf(d, Q("s"))->Format.Offset, 0);
}

TEST(RtfReader, CharactersAndEscapes)
{
    struct Case {
        const char* rtf;
        QString text;
    };
    const Case cases[] = {
        { "{\\rtf1 caf\\'e9}", Q("café") },
        { "{\\rtf1 \\'80\\'9f}", Q("€Ÿ") }, // the upper half of Windows-1252
        { "{\\rtf1 \\u937?mega}", Q("Ωmega") },
        { "{\\rtf1\\uc2 \\u937??x}", Q("Ωx") }, // two fallback characters
        { "{\\rtf1\\uc0 \\u937 x}", Q("Ωx") },
        { "{\\rtf1 \\u8364\\'80 x}", Q("€ x") }, // \'hh counts as one fallback character
        { "{\\rtf1 {\\uc3 \\u937?}x}", Q("Ωx") }, // a brace ends the fallback
        { "{\\rtf1 \\u-10179?\\u-8704?}", Q("\xF0\x9F\x98\x80") }, // a surrogate pair
        { "{\\rtf1 a\\tab b\\line c}", Q("a\tb\r\nc") }, // the text gives a line break as CR LF
        { "{\\rtf1 \\{\\}\\\\}", Q("{}\\") },
        { "{\\rtf1 a\\~b\\-c\\_d}", U(u"a\u00A0bc-d") },
        { "{\\rtf1 \\lang1033\\unknownword12 kept}", Q("kept") },
        { "{\\rtf1 {\\*\\unknown hidden {nested}}shown}", Q("shown") },
        { "{\\rtf1 {\\stylesheet{\\s0 Normal;}}{\\info{\\title t}}text}", Q("text") },
        { "{\\rtf1 {\\pict\\bin4 }}}}}after}", Q("after") }, // \bin hides its bytes, braces included
        { "{\\rtf1 a\\'zzb}", Q("azzb") }, // no byte: read as it stands
        { "{\\rtf1 open{\\b bold", Q("openbold") }, // missing braces close at the end
        { "{\\rtf1 done}after the end", Q("done") },
        { "{\\rtf1 back\\", Q("back") },
        { "{\\rtf1 a\r\nb}", Q("ab") }, // line ends in the file are no text
        { "{\\rtf1 a\\\nb}", Q("a\r\nb") }, // an escaped line end is a paragraph
        { "{\\rtf1 x\\bullet\\emdash\\ldblquote y\\rdblquote}", U(u"x\u2022\u2014\u201Cy\u201D") },
        { "", QString() },
        { "{", QString() },
        { "}", QString() },
        { "{\\rtf1 \\fs99999999999999999999 big}", Q("big") },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadRtf(QByteArray(c.rtf)).PlainText(), c.text) << c.rtf;
}

TEST(RtfReader, CharactersBeyondEightBitsInATextAreTakenAsTheyStand)
{
    const QString text = U(u"{\\rtf1 \u03A9 and \\'e9}");
    EXPECT_EQ(ReadRtf(QStringView(text)).PlainText(), U(u"\u03A9 and \u00E9"));
    // In the model a line break stays inside its paragraph.
    const TRtfDocument lines = ReadRtf(QByteArray("{\\rtf1 a\\line b}"));
    ASSERT_EQ(lines.Paragraphs.size(), 1u);
    EXPECT_EQ(lines.Paragraphs[0].Runs.at(0).Text, U(u"a\u2028b"));
}

TEST(RtfReader, LooksFollowGroupsAndPlain)
{
    const TRtfDocument d
        = ReadRtf(QByteArray("{\\rtf1 {\\b\\i\\ul\\strike\\fs30 a{\\b0 b}c}\\b\\i d\\plain e\\ul f\\ul0 g\\ulnone}"));
    const auto texts = RunTexts(d);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], (std::vector<QString> { "a", "b", "c", "d", "e", "f", "g" }));
    const auto& runs = d.Paragraphs[0].Runs;
    EXPECT_TRUE(runs[0].Format.Bold && runs[0].Format.Italic && runs[0].Format.Underline && runs[0].Format.StrikeOut);
    EXPECT_EQ(runs[0].Format.FontSize, 30);
    EXPECT_FALSE(runs[1].Format.Bold);
    EXPECT_TRUE(runs[1].Format.Italic);
    EXPECT_TRUE(runs[2].Format.Bold);
    EXPECT_TRUE(runs[3].Format.Bold && runs[3].Format.Italic && !runs[3].Format.Underline);
    EXPECT_EQ(runs[3].Format.FontSize, 24);
    EXPECT_EQ(runs[4].Format, TRtfCharFormat());
    EXPECT_TRUE(runs[5].Format.Underline);
    EXPECT_FALSE(runs[6].Format.Underline);
}

TEST(RtfReader, OffsetsAndScripts)
{
    struct Case {
        const char* word;
        int offset;
        TRtfScript script;
    };
    const Case cases[] = {
        { "\\up4", 40, TRtfScript::None },
        { "\\dn4", -40, TRtfScript::None },
        { "\\up", 60, TRtfScript::None }, // the default of 3 points
        { "\\dn", -60, TRtfScript::None },
        { "\\up0", 0, TRtfScript::None },
        { "\\up-3", -30, TRtfScript::None },
        { "\\super", 0, TRtfScript::Super },
        { "\\sub", 0, TRtfScript::Sub },
        { "\\super\\nosupersub", 0, TRtfScript::None },
        { "\\super\\up4", 40, TRtfScript::Super },
    };
    for (const Case& c : cases) {
        const TRtfDocument d = ReadRtf(QByteArray("{\\rtf1 ") + c.word + " x}");
        ASSERT_EQ(d.Paragraphs[0].Runs.size(), 1u) << c.word;
        EXPECT_EQ(d.Paragraphs[0].Runs[0].Format.Offset, c.offset) << c.word;
        EXPECT_EQ(d.Paragraphs[0].Runs[0].Format.Script, c.script) << c.word;
    }
}

TEST(RtfReader, TablesTolerateWhatTheyDoNotKnow)
{
    // A font entry ended by its group, a missing colour, a colour index past
    // the table, a font index nobody named, the default font by \deff.
    const TRtfDocument d = ReadRtf(QByteArray("{\\rtf1\\deff1{\\fonttbl{\\f0 Zero}{\\f1{\\*\\panose 0}One;}}"
                                              "{\\colortbl ;\\red1;;}a\\f0 b\\f7 c\\cf2 d\\cf9 e}"));
    const auto& runs = d.Paragraphs[0].Runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].Text, Q("a"));
    EXPECT_EQ(runs[0].Format.FontName, Q("One"));
    EXPECT_EQ(runs[1].Format.FontName, Q("Zero"));
    EXPECT_EQ(runs[2].Text, Q("cde"));
    EXPECT_EQ(runs[2].Format.FontName, QString());
    EXPECT_EQ(runs[2].Format.Color, clNone);
}

TEST(RtfReader, NestingIsBounded)
{
    // Groups beyond the bound are skipped whole; the text around them stays.
    QByteArray deep = "{\\rtf1 a";
    for (int i = 0; i < 5000; ++i)
        deep += "{\\b ";
    deep += "lost";
    for (int i = 0; i < 5000; ++i)
        deep += '}';
    deep += "b}";
    EXPECT_EQ(ReadRtf(deep).PlainText(), Q("ab"));

    QByteArray shallow = "{\\rtf1 a";
    for (int i = 0; i < RtfMaxDepth - 2; ++i)
        shallow += '{';
    shallow += "kept";
    for (int i = 0; i < RtfMaxDepth - 2; ++i)
        shallow += '}';
    shallow += "b}";
    EXPECT_EQ(ReadRtf(shallow).PlainText(), Q("akeptb"));
}

TRtfDocument SampleModel()
{
    TRtfDocument d;
    TRtfCharFormat plain;
    plain.FontName = Q("Tahoma");
    plain.FontSize = 16;
    TRtfCharFormat bold = plain;
    bold.Bold = true;
    TRtfCharFormat red = plain;
    red.Color = clRed;
    red.BackColor = clYellow;
    TRtfCharFormat up = plain;
    up.Offset = 40;
    TRtfCharFormat down = plain;
    down.Offset = -40;
    TRtfCharFormat other = plain;
    other.FontName = Q("Courier;New{}");
    other.FontSize = 21;
    other.Italic = other.Underline = other.StrikeOut = true;
    other.Script = TRtfScript::Sub;
    d.Paragraphs.push_back({ TRtfAlignment::Left,
        { { Q("Plain "), plain }, { Q("bold"), bold }, { Q(" red"), red }, { Q("2"), up }, { Q("i"), down } } });
    d.Paragraphs.push_back({ TRtfAlignment::Center, { { U(u"\u03A9 caf\u00E9 \\{x}\ty\u2028z"), other } } });
    d.Paragraphs.push_back({ TRtfAlignment::Justify, {} });
    d.Paragraphs.push_back({ TRtfAlignment::Right, { { Q("end"), plain } } });
    return d;
}

TEST(RtfWriter, WritesTheSubsetIn7BitsAndReadsBack)
{
    const TRtfDocument d = SampleModel();
    const QByteArray rtf = WriteRtf(d);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    for (const char c : rtf)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
    EXPECT_TRUE(rtf.contains("\\u937?")) << rtf.constData(); // outside Windows-1252
    EXPECT_TRUE(rtf.contains("caf\\'e9")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\up4")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\dn4")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\b bold\\b0")) << rtf.constData();
    EXPECT_EQ(ReadRtf(rtf), d);
    // The same again from the text form.
    const QString asText = QString::fromLatin1(rtf);
    EXPECT_EQ(ReadRtf(QStringView(asText)), d);
}

TEST(RtfWriter, AnEmptyDocumentIsOneEmptyParagraph)
{
    const TRtfDocument read = ReadRtf(WriteRtf(TRtfDocument()));
    ASSERT_EQ(read.Paragraphs.size(), 1u);
    EXPECT_TRUE(read.Paragraphs[0].Runs.empty());
    EXPECT_EQ(ReadRtf(WriteRtf(read)), read);
}

// ---------------------------------------------------------------------------
// The control

struct RichForm {
    TForm* Form;
    TRichEdit* Edit;
    RichForm()
    {
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 400, 300);
        Form->Show();
        Edit = new TRichEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 300, 200);
    }
    ~RichForm() { delete Form; }
    RichForm(const RichForm&) = delete;
    RichForm& operator=(const RichForm&) = delete;
};

TEST(RichEdit, LoadsRtfOrPlainTextFromAStreamAndSavesRtf)
{
    TRichEdit edit(nullptr);
    TMemoryStream rtf;
    rtf.WriteBuffer(QByteArray(Sample));
    rtf.SetPosition(0);
    edit.LoadFromStream(&rtf);
    EXPECT_EQ(edit.GetText(), Q("Plain bold red\r\ncentred\r\nmarked\r\nx2 yi zs"));

    TMemoryStream saved;
    edit.SaveToStream(&saved);
    EXPECT_TRUE(saved.Bytes().startsWith("{\\rtf1"));
    EXPECT_EQ(ReadRtf(saved.Bytes()), edit.Document());
    EXPECT_EQ(ReadRtf(saved.Bytes()), ReadRtf(QByteArray(Sample)));

    // Not RTF: plain Windows-1252 text in the control's font.
    TMemoryStream plain;
    plain.WriteBuffer(QByteArray("caf\xe9\r\n{\\b no}"));
    plain.SetPosition(0);
    edit.LoadFromStream(&plain);
    EXPECT_EQ(edit.GetText(), Q("café\r\n{\\b no}"));
    const TRtfDocument d = edit.Document();
    ASSERT_EQ(d.Paragraphs.size(), 2u);
    ASSERT_EQ(d.Paragraphs[0].Runs.size(), 1u);
    EXPECT_EQ(d.Paragraphs[0].Runs[0].Format.FontName, edit.Font()->Name());
    EXPECT_EQ(d.Paragraphs[0].Runs[0].Format.FontSize, edit.Font()->Size() * 2);

    // Control characters a plain text brings are no part of the document.
    edit.LoadFromText(QString::fromLatin1("a\x01\x00"
                                          "b",
        4));
    EXPECT_EQ(edit.Document().PlainText(), Q("ab"));
    EXPECT_EQ(ReadRtf(edit.RtfText()), edit.Document());
}

TEST(RichEdit, KeepsEveryLookOfTheModel)
{
    TRichEdit edit(nullptr);
    const TRtfDocument d = SampleModel();
    edit.SetDocument(d);
    EXPECT_EQ(edit.Document(), d);
    EXPECT_EQ(ReadRtf(edit.RtfText()), d);
    edit.LoadFromText(QString::fromLatin1(WriteRtf(d)));
    EXPECT_EQ(edit.Document(), d);
}

TEST(RichEdit, PlainTextAndLines)
{
    TRichEdit edit(nullptr);
    int changes = 0;
    edit.OnChange = [&](TObject*) { ++changes; };
    edit.SetText(Q("one\r\ntwo\nthree"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit.GetText(), Q("one\r\ntwo\r\nthree"));
    EXPECT_EQ(edit.Lines()->Count(), 3);
    EXPECT_EQ(edit.Lines()->Strings(1), Q("two"));
    edit.Lines()->Add(Q("four"));
    EXPECT_EQ(edit.GetText(), Q("one\r\ntwo\r\nthree\r\nfour"));
    edit.Clear();
    EXPECT_EQ(edit.Lines()->Count(), 0);
    EXPECT_EQ(edit.GetText(), QString());
}

TEST(RichEdit, SelectionCountsAParagraphBreakAsOneCharacter)
{
    TRichEdit edit(nullptr);
    edit.SetText(Q("ab\r\ncd"));
    edit.SetSelStart(1);
    edit.SetSelLength(3);
    EXPECT_EQ(edit.SelStart(), 1);
    EXPECT_EQ(edit.SelLength(), 3);
    EXPECT_EQ(edit.SelText(), Q("b\r\nc"));
    edit.SetSelText(Q("X"));
    EXPECT_EQ(edit.GetText(), Q("aXd"));
    edit.SelectAll();
    EXPECT_EQ(edit.SelStart(), 0);
    EXPECT_EQ(edit.SelLength(), 3);
    edit.SetSelStart(99);
    EXPECT_EQ(edit.SelStart(), 3);
    EXPECT_EQ(edit.SelLength(), 0);
}

TEST(RichEdit, SelectionColourAndOffsetAreKeptAsCfUpAndDn)
{
    TRichEdit edit(nullptr);
    edit.SetText(Q("H2O x2"));
    edit.SetSelStart(1);
    edit.SetSelLength(1);
    edit.SetSelOffset(-40);
    EXPECT_EQ(edit.SelOffset(), -40);
    edit.SetSelStart(5);
    edit.SetSelLength(1);
    edit.SetSelOffset(40);
    edit.SetSelColor(clRed);
    EXPECT_EQ(edit.SelOffset(), 40);
    EXPECT_EQ(edit.SelColor(), clRed);
    edit.SetSelStart(0);
    edit.SetSelLength(1);
    EXPECT_EQ(edit.SelOffset(), 0);
    EXPECT_EQ(edit.SelColor(), clNone);

    const QByteArray rtf = edit.RtfText();
    EXPECT_TRUE(rtf.contains("\\dn4 2")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\up4 2")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\red255\\green0\\blue0")) << rtf.constData();

    TRichEdit again(nullptr);
    again.LoadFromText(QString::fromLatin1(rtf));
    again.SetSelStart(1);
    again.SetSelLength(1);
    EXPECT_EQ(again.SelOffset(), -40);
    again.SetSelStart(5);
    again.SetSelLength(1);
    EXPECT_EQ(again.SelOffset(), 40);
    EXPECT_EQ(again.SelColor(), clRed);

    // Back to the automatic colour and no offset.
    again.SetSelColor(clNone);
    again.SetSelOffset(0);
    EXPECT_EQ(again.SelColor(), clNone);
    EXPECT_EQ(again.SelOffset(), 0);
}

TEST(RichEdit, WithoutASelectionTheLookGoesToTheNextTypedCharacter)
{
    RichForm f;
    f.Edit->SetFocus();
    f.Edit->SetText(Q("a"));
    f.Edit->SetSelStart(1);
    f.Edit->SetSelOffset(40);
    EXPECT_EQ(f.Edit->SelOffset(), 40);
    input::Type(f.Edit, Q("2"));
    EXPECT_EQ(f.Edit->GetText(), Q("a2"));
    const TRtfDocument d = f.Edit->Document();
    ASSERT_EQ(d.Paragraphs[0].Runs.size(), 2u);
    EXPECT_EQ(d.Paragraphs[0].Runs[1].Text, Q("2"));
    EXPECT_EQ(d.Paragraphs[0].Runs[1].Format.Offset, 40);
}

TEST(RichEdit, TypingChangesTheTextAndReportsTheSize)
{
    RichForm f;
    f.Edit->SetBorderStyle(bsNone);
    f.Edit->SetFocus();
    std::vector<TRect> requests;
    int changes = 0;
    f.Edit->OnResizeRequest = [&](TObject*, const TRect& r) { requests.push_back(r); };
    f.Edit->OnChange = [&](TObject*) { ++changes; };
    input::Type(f.Edit, Q("ab"));
    EXPECT_EQ(f.Edit->GetText(), Q("ab"));
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(requests.empty()); // one line stays one line high
    const int oneLine = f.Edit->ContentSize().cy;
    input::Key(f.Edit, VK_RETURN, {}, u'\r');
    input::Type(f.Edit, Q("c"));
    EXPECT_EQ(f.Edit->GetText(), Q("ab\r\nc"));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], Rect(0, 0, f.Edit->Width(), f.Edit->ContentSize().cy));
    EXPECT_GT(f.Edit->ContentSize().cy, oneLine);
}

TEST(RichEdit, ContentSizeFollowsWrapping)
{
    TRichEdit edit(nullptr);
    edit.SetBorderStyle(bsNone);
    edit.SetBounds(0, 0, 60, 20);
    edit.SetText(Q("word word word word word word"));
    const TSize wrapped = edit.ContentSize();
    EXPECT_EQ(wrapped.cx, 60);
    edit.SetWordWrap(false);
    const TSize single = edit.ContentSize();
    EXPECT_GT(single.cx, 60);
    EXPECT_LT(single.cy, wrapped.cy);

    std::optional<TRect> asked;
    edit.OnResizeRequest = [&](TObject*, const TRect& r) { asked = r; };
    edit.RequestSize(); // reported even though nothing changed
    ASSERT_TRUE(asked);
    EXPECT_EQ(*asked, Rect(0, 0, single.cx, single.cy));

    edit.SetBorderStyle(bsSingle);
    EXPECT_EQ(edit.ContentSize(), TSize(single.cx + 4, single.cy + 4));
}

// The box of the pixels that are not white; an empty rectangle when none are.
TRect InkBox(const QImage& img)
{
    TRect box(img.width(), img.height(), -1, -1);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box.Right < 0 ? TRect() : box;
}

TEST(RichEdit, DrawsIntoATwipsRectangleAtTheCanvasResolution)
{
    TRichEdit edit(nullptr);
    edit.LoadFromText(
        QStringLiteral("{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;}\\b Bold\\b0  \\cf1 red\\cf0  x\\up4 2\\up0  ")
        + QString(Q("ink ink ink ink ink ")).repeated(8) + QStringLiteral("}"));
    // One inch by half an inch, an inch in from the left and a quarter down.
    const TRect twips(1440, 360, 2880, 1080);
    int heights[2] = {};
    for (const int dpi : { 96, 192 }) {
        QImage img(4 * dpi, 2 * dpi, QImage::Format_RGB32);
        img.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
        img.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
        img.fill(Qt::white);
        TCanvas canvas;
        canvas.BeginDraw(&img);
        ASSERT_EQ(canvas.PixelsPerInchX(), dpi);
        const int h = edit.DrawTo(&canvas, twips);
        canvas.EndDraw();
        testutil::SaveImagePng(img, QStringLiteral("RichEditDrawTo%1").arg(dpi));
        heights[dpi == 96 ? 0 : 1] = h;
        const TRect ink = InkBox(img);
        ASSERT_FALSE(ink.Right == 0) << dpi;
        EXPECT_GE(ink.Left, dpi);
        EXPECT_GE(ink.Top, dpi / 4);
        EXPECT_LE(ink.Right, 2 * dpi);
        EXPECT_LE(ink.Bottom, dpi * 3 / 4);
        // The text wraps into lines that overflow the half inch: clipped.
        EXPECT_GT(h, 720) << dpi;
    }
    // The same layout at both resolutions, within a line's rounding.
    EXPECT_NEAR(heights[0], heights[1], 15 * 4);
}

TEST(RichEdit, DrawingLeavesTheEditAsItWasAndFollowsAMirroredCanvas)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    TRichEdit edit(&form);
    edit.SetParent(&form);
    edit.SetBounds(0, 0, 200, 100);
    edit.LoadFromText(QStringLiteral("{\\rtf1 ") + QString(Q("word ")).repeated(30) + QStringLiteral("}"));
    int changes = 0, resizes = 0;
    edit.OnChange = [&](TObject*) { ++changes; };
    edit.OnResizeRequest = [&](TObject*, const TRect&) { ++resizes; };
    const QString before = edit.Text();
    auto draw = [&](bool mirrored) {
        QImage img(300, 100, QImage::Format_RGB32);
        img.fill(Qt::white);
        TCanvas canvas;
        canvas.BeginDraw(&img);
        canvas.SetDrawingOrientation({ mirrored, 300 });
        edit.DrawTo(&canvas, TRect(0, 0, 1440, 1440)); // 96 pixels square at the left
        canvas.EndDraw();
        return img;
    };
    const QImage first = draw(false);
    EXPECT_EQ(draw(false), first) << "the same page every time";
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(resizes, 0);
    EXPECT_EQ(edit.Text(), before);
    // Mirrored, the page stands at the right, its text unturned.
    const QImage mirrored = draw(true);
    EXPECT_EQ(mirrored.copy(204, 0, 96, 96), first.copy(0, 0, 96, 96));
    EXPECT_NE(InkBox(first), TRect());
}

} // namespace
