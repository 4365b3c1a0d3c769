#include "platform/controls/RichEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/controls/ControlsPrivate.h"
#include "platform/runtime/FileUtils.h"
#include "platform/runtime/SysUtils.h"

namespace {

// What the model keeps that the text engine has no property for: the exact
// size in half-points, the vertical offset in twips and \super / \sub.
constexpr int PropHalfPoints = QTextFormat::UserProperty + 1;
constexpr int PropOffset = QTextFormat::UserProperty + 2;
constexpr int PropScript = QTextFormat::UserProperty + 3;

// The pixel size of a font of that many half-points at 96 dpi, as TFont
// makes it from points; at least 2, so that the smaller font of a raised or
// lowered character is still one pixel.
int PixelsOfHalfPoints(int halfPoints)
{
    return std::max(2, int(std::lround(halfPoints * 96.0 / 144.0)));
}

TColor RgbOf(const QBrush& brush)
{
    return QColorToColor(brush.color()) & 0xFFFFFF;
}

QTextCharFormat::VerticalAlignment AlignmentOf(int offset, TRtfScript script)
{
    if (offset > 0 || (offset == 0 && script == TRtfScript::Super))
        return QTextCharFormat::AlignSuperScript;
    if (offset < 0 || (offset == 0 && script == TRtfScript::Sub))
        return QTextCharFormat::AlignSubScript;
    return QTextCharFormat::AlignNormal;
}

Qt::Alignment QtAlignment(TRtfAlignment a)
{
    switch (a) {
    case TRtfAlignment::Right:
        return Qt::AlignRight;
    case TRtfAlignment::Center:
        return Qt::AlignHCenter;
    case TRtfAlignment::Justify:
        return Qt::AlignJustify;
    case TRtfAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

TRtfAlignment RtfAlignment(Qt::Alignment a)
{
    if (a & Qt::AlignRight)
        return TRtfAlignment::Right;
    if (a & Qt::AlignHCenter)
        return TRtfAlignment::Center;
    if (a & Qt::AlignJustify)
        return TRtfAlignment::Justify;
    return TRtfAlignment::Left;
}

QTextCharFormat QtFormat(const TRtfCharFormat& r)
{
    QTextCharFormat f;
    if (!r.FontName.isEmpty())
        f.setFontFamilies(QStringList { r.FontName });
    f.setProperty(QTextFormat::FontPixelSize, PixelsOfHalfPoints(r.FontSize));
    f.setProperty(PropHalfPoints, r.FontSize);
    f.setFontWeight(r.Bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(r.Italic);
    f.setFontUnderline(r.Underline);
    f.setFontStrikeOut(r.StrikeOut);
    f.setFontKerning(false);
    if (r.Color != clNone)
        f.setForeground(ColorToQColor(ColorToRGB(r.Color)));
    if (r.BackColor != clNone)
        f.setBackground(ColorToQColor(ColorToRGB(r.BackColor)));
    f.setProperty(PropOffset, r.Offset);
    f.setProperty(PropScript, int(r.Script));
    f.setVerticalAlignment(AlignmentOf(r.Offset, r.Script));
    return f;
}

// Raises a counter for the length of a scope.
struct TCountScope {
    int& Count;
    explicit TCountScope(int& count)
        : Count(count)
    {
        ++Count;
    }
    ~TCountScope() { --Count; }
    TCountScope(const TCountScope&) = delete;
    TCountScope& operator=(const TCountScope&) = delete;
};

// Line breaks of a plain text as the text engine takes them.
QString EngineBreaks(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QString ToolkitBreaks(QString s)
{
    s.replace(QChar(QChar::ParagraphSeparator), QLatin1String("\r\n"));
    s.replace(QChar(QChar::LineSeparator), QLatin1String("\r\n"));
    return s;
}

} // namespace

// ---------------------------------------------------------------------------
// Lines

QStringList TRichEditStrings::Lines() const
{
    const QString text = EngineBreaks(FEdit->GetText());
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // a final break opens no line of its own
    return lines;
}

void TRichEditStrings::SetLines(const QStringList& lines)
{
    FEdit->SetText(lines.join(QLatin1String("\r\n")));
}

int TRichEditStrings::Count() const
{
    return int(Lines().size());
}

QString TRichEditStrings::Get(int Index) const
{
    const QStringList l = Lines();
    if (Index < 0 || Index >= l.size())
        IndexError(Index);
    return l[Index];
}

void TRichEditStrings::Put(int Index, const QString& S)
{
    QStringList l = Lines();
    if (Index < 0 || Index >= l.size())
        IndexError(Index);
    l[Index] = S;
    SetLines(l);
}

void TRichEditStrings::Insert(int Index, const QString& S)
{
    QStringList l = Lines();
    if (Index < 0 || Index > l.size())
        IndexError(Index);
    l.insert(Index, S);
    SetLines(l);
}

void TRichEditStrings::Delete(int Index)
{
    QStringList l = Lines();
    if (Index < 0 || Index >= l.size())
        IndexError(Index);
    l.removeAt(Index);
    SetLines(l);
}

void TRichEditStrings::Clear()
{
    FEdit->Clear();
}

void TRichEditStrings::SetText(const QString& Value)
{
    QString v = Value;
    if (v.endsWith(QLatin1String("\r\n")))
        v.chop(2);
    else if (v.endsWith(QLatin1Char('\n')) || v.endsWith(QLatin1Char('\r')))
        v.chop(1);
    FEdit->SetText(v);
}

// ---------------------------------------------------------------------------
// The control

struct TCustomRichEdit::TPrivate {
    // The receiver of the document's and the widget's signals: it goes
    // first when the control is freed, and its connections with it.
    QObject Signals;
    QPointer<QTextEdit> Widget;
    bool InSizeCheck = false;
};

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner)
    : TWinControl(AOwner)
    , FDocument(std::make_unique<QTextDocument>())
    , FLines(std::make_unique<TRichEditStrings>(this))
    , FPrivate(std::make_unique<TPrivate>())
{
    FControlStyle |= TControlStyle(csClickEvents) | csSetCaption | csDoubleClicks;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    FDocument->setDocumentMargin(0);
    FDocument->setDefaultFont(Font()->ToQFont());
    FDocument->setUndoRedoEnabled(false);
    FCursor = std::make_unique<QTextCursor>(FDocument.get());
    QObject* receiver = &FPrivate->Signals;
    QObject::connect(FDocument.get(), &QTextDocument::contentsChanged, receiver, [this] {
        if (FLoading)
            return;
        controls_private::UserAction(this, [this] {
            Change();
            SizeMaybeChanged();
        });
    });
    QObject::connect(FDocument->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, receiver,
        [this] { controls_private::UserAction(this, [this] { SizeMaybeChanged(); }); });
    SetBounds(0, 0, 185, 89);
    ApplyTextWidth();
}

TCustomRichEdit::~TCustomRichEdit()
{
    // No reaction of the control may run from here on (the receiver takes
    // its connections with it), and the widget, which goes later with the
    // windowed control, must not keep the document.
    const QPointer<QTextEdit> w = FPrivate->Widget;
    FPrivate.reset();
    if (w) {
        *FCursor = w->textCursor();
        w->setDocument(new QTextDocument(w));
    }
}

QTextEdit* TCustomRichEdit::TextEditWidget() const
{
    return FPrivate ? FPrivate->Widget.data() : nullptr;
}

QWidget* TCustomRichEdit::CreateWidget()
{
    auto* w = new QTextEdit();
    w->setDocument(FDocument.get());
    w->setTextCursor(*FCursor);
    w->setAcceptRichText(false);
    w->setTabChangesFocus(false);
    FPrivate->Widget = w;
    QObject* receiver = &FPrivate->Signals;
    QObject::connect(w, &QTextEdit::cursorPositionChanged, receiver,
        [this] { controls_private::UserAction(this, [this] { SelectionChange(); }); });
    QObject::connect(w, &QTextEdit::selectionChanged, receiver,
        [this] { controls_private::UserAction(this, [this] { SelectionChange(); }); });
    AttachInputWidget(w->viewport());
    return w;
}

void TCustomRichEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    if (QTextEdit* w = TextEditWidget()) {
        if (w->document() != FDocument.get()) {
            w->setDocument(FDocument.get());
            w->setTextCursor(*FCursor);
        }
        w->setReadOnly(FReadOnly);
        w->setLineWrapMode(FWordWrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
        if (FBorderStyle == bsNone) {
            w->setFrameStyle(QFrame::NoFrame);
        } else {
            w->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            w->setLineWidth(2);
        }
        const bool h = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
        const bool v = FScrollBars == ssVertical || FScrollBars == ssBoth;
        w->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        w->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
    ApplyColor();
    ApplyTextWidth();
}

void TCustomRichEdit::ApplyFont()
{
    TWinControl::ApplyFont();
    // Text without a look of its own shows in the control's font.
    FDocument->setDefaultFont(Font()->ToQFont());
}

void TCustomRichEdit::ApplyColor()
{
    QTextEdit* w = TextEditWidget();
    if (!w)
        return;
    QPalette pal = w->palette();
    for (const QPalette::ColorGroup g : { QPalette::Active, QPalette::Inactive }) {
        pal.setColor(g, QPalette::Base, ColorToQColor(Color()));
        pal.setColor(g, QPalette::Text, ColorToQColor(Font()->Color()));
    }
    if (FHideSelection) {
        pal.setColor(QPalette::Inactive, QPalette::Highlight, ColorToQColor(Color()));
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText, ColorToQColor(Font()->Color()));
    } else {
        pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
        pal.setColor(
            QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
    }
    w->setPalette(pal);
}

void TCustomRichEdit::BoundsChanged(const TRect& oldBounds)
{
    TWinControl::BoundsChanged(oldBounds);
    ApplyTextWidth();
    SizeMaybeChanged();
}

int TCustomRichEdit::FrameWidth() const
{
    return FBorderStyle == bsNone ? 0 : 2;
}

void TCustomRichEdit::ApplyTextWidth()
{
    // The widget lays its text out at its viewport's width, which is this
    // while no scroll bar shows; a hidden widget does so only when shown.
    if (FWordWrap)
        FDocument->setTextWidth(std::max(0, Width() - 2 * FrameWidth()));
    else if (!TextEditWidget())
        FDocument->setTextWidth(-1);
}

// ----- text -----

QString TCustomRichEdit::GetText() const
{
    return ToolkitBreaks(FDocument->toRawText());
}

void TCustomRichEdit::SetText(const QString& v)
{
    SetPlain(v);
}

void TCustomRichEdit::Clear()
{
    SetPlain(QString());
}

QTextCharFormat TCustomRichEdit::FontFormat() const
{
    TRtfCharFormat r;
    r.FontName = Font()->Name();
    r.FontSize = Font()->Size() * 2;
    r.Bold = Font()->Style().testFlag(TFontStyle::fsBold);
    r.Italic = Font()->Style().testFlag(TFontStyle::fsItalic);
    r.Underline = Font()->Style().testFlag(TFontStyle::fsUnderline);
    r.StrikeOut = Font()->Style().testFlag(TFontStyle::fsStrikeOut);
    const TColor c = Font()->Color();
    r.Color = c == clWindowText || c == clDefault || c == clNone ? clNone : c;
    return QtFormat(r);
}

void TCustomRichEdit::Reload(const std::function<void(QTextCursor&)>& Fill)
{
    {
        const TCountScope loading(FLoading);
        FDocument->clear();
        QTextCursor c(FDocument.get());
        Fill(c);
        c.setPosition(0);
        SetCursor(c);
    }
    Change();
    SizeMaybeChanged();
}

void TCustomRichEdit::SetPlain(const QString& Text)
{
    const QTextCharFormat fmt = FontFormat();
    Reload([&](QTextCursor& c) {
        c.setBlockCharFormat(fmt);
        c.setCharFormat(fmt);
        c.insertText(EngineBreaks(Text), fmt);
    });
}

void TCustomRichEdit::SetDocument(const TRtfDocument& Doc)
{
    Reload([&](QTextCursor& c) {
        for (std::size_t p = 0; p < Doc.Paragraphs.size(); ++p) {
            const TRtfParagraph& para = Doc.Paragraphs[p];
            QTextBlockFormat block;
            block.setAlignment(QtAlignment(para.Alignment));
            const QTextCharFormat first = para.Runs.empty() ? FontFormat() : QtFormat(para.Runs.front().Format);
            if (p == 0) {
                c.setBlockFormat(block);
                c.setBlockCharFormat(first);
            } else {
                c.insertBlock(block, first);
            }
            for (const TRtfRun& run : para.Runs)
                c.insertText(run.Text, QtFormat(run.Format));
        }
    });
}

TRtfDocument TCustomRichEdit::Document() const
{
    const QFont base = FDocument->defaultFont();
    auto modelFormat = [&](const QTextCharFormat& f) {
        TRtfCharFormat r;
        const QStringList families = f.fontFamilies().toStringList();
        r.FontName = !families.isEmpty() ? families.front() : base.family();
        if (f.hasProperty(PropHalfPoints))
            r.FontSize = f.intProperty(PropHalfPoints);
        else if (f.hasProperty(QTextFormat::FontPixelSize))
            r.FontSize = MulDiv(f.intProperty(QTextFormat::FontPixelSize), 144, 96);
        else
            r.FontSize = Font()->Size() * 2;
        r.FontSize = std::clamp(r.FontSize, 1, 3276);
        r.Bold = f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() > QFont::Medium : base.bold();
        r.Italic = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : base.italic();
        r.Underline = f.hasProperty(QTextFormat::TextUnderlineStyle) || f.hasProperty(QTextFormat::FontUnderline)
            ? f.fontUnderline()
            : base.underline();
        r.StrikeOut = f.hasProperty(QTextFormat::FontStrikeOut) ? f.fontStrikeOut() : base.strikeOut();
        if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
            r.Color = RgbOf(f.foreground());
        if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
            r.BackColor = RgbOf(f.background());
        r.Offset = f.intProperty(PropOffset);
        if (f.hasProperty(PropScript)) {
            const int s = f.intProperty(PropScript);
            r.Script = s == int(TRtfScript::Super) ? TRtfScript::Super
                : s == int(TRtfScript::Sub)        ? TRtfScript::Sub
                                                   : TRtfScript::None;
        } else if (!f.hasProperty(PropOffset)) {
            r.Script = f.verticalAlignment() == QTextCharFormat::AlignSuperScript ? TRtfScript::Super
                : f.verticalAlignment() == QTextCharFormat::AlignSubScript        ? TRtfScript::Sub
                                                                                  : TRtfScript::None;
        }
        return r;
    };
    TRtfDocument doc;
    for (QTextBlock b = FDocument->begin(); b.isValid(); b = b.next()) {
        TRtfParagraph para;
        para.Alignment = RtfAlignment(b.blockFormat().alignment());
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            if (!fr.isValid() || fr.length() == 0)
                continue;
            // Characters no run holds (a plain text may bring them) are left out.
            QString text = fr.text();
            text.removeIf([](QChar c) { return !IsRtfRunChar(c.unicode()); });
            if (text.isEmpty())
                continue;
            TRtfRun run { text, modelFormat(fr.charFormat()) };
            if (!para.Runs.empty() && para.Runs.back().Format == run.Format)
                para.Runs.back().Text += run.Text;
            else
                para.Runs.push_back(std::move(run));
        }
        doc.Paragraphs.push_back(std::move(para));
    }
    return doc;
}

void TCustomRichEdit::LoadFromStream(TStream* Stream)
{
    const QByteArray bytes = Stream->ReadRemaining();
    if (IsRtfBytes(bytes))
        SetDocument(ReadRtf(bytes));
    else
        SetPlain(DecodeText(bytes, TTextEncoding::Ansi));
}

void TCustomRichEdit::SaveToStream(TStream* Stream) const
{
    Stream->WriteBuffer(RtfText());
}

void TCustomRichEdit::LoadFromText(const QString& Text)
{
    if (IsRtfText(Text))
        SetDocument(ReadRtf(QStringView(Text)));
    else
        SetPlain(Text);
}

QByteArray TCustomRichEdit::RtfText() const
{
    return WriteRtf(Document());
}

// ----- selection -----

QTextCursor TCustomRichEdit::Cursor() const
{
    if (QTextEdit* w = TextEditWidget())
        return w->textCursor();
    return *FCursor;
}

void TCustomRichEdit::SetCursor(const QTextCursor& c)
{
    *FCursor = c;
    if (QTextEdit* w = TextEditWidget())
        w->setTextCursor(c); // the widget reports the change
    else if (!FLoading)
        SelectionChange();
}

int TCustomRichEdit::SelStart() const
{
    return Cursor().selectionStart();
}

void TCustomRichEdit::SetSelStart(int v)
{
    QTextCursor c = Cursor();
    c.setPosition(std::clamp(v, 0, std::max(0, FDocument->characterCount() - 1)));
    SetCursor(c);
}

int TCustomRichEdit::SelLength() const
{
    const QTextCursor c = Cursor();
    return c.selectionEnd() - c.selectionStart();
}

void TCustomRichEdit::SetSelLength(int v)
{
    QTextCursor c = Cursor();
    const int start = c.selectionStart();
    const int last = std::max(0, FDocument->characterCount() - 1);
    c.setPosition(start);
    c.setPosition(std::clamp(start + std::max(0, v), start, last), QTextCursor::KeepAnchor);
    SetCursor(c);
}

QString TCustomRichEdit::SelText() const
{
    return ToolkitBreaks(Cursor().selectedText());
}

void TCustomRichEdit::SetSelText(const QString& v)
{
    QTextCursor c = Cursor();
    c.insertText(EngineBreaks(v));
    SetCursor(c);
}

void TCustomRichEdit::SelectAll()
{
    QTextCursor c = Cursor();
    c.select(QTextCursor::Document);
    SetCursor(c);
}

QTextCharFormat TCustomRichEdit::SelFormat() const
{
    const QTextCursor c = Cursor();
    if (!c.hasSelection())
        return c.charFormat();
    // The format before a position is the one of the character there.
    QTextCursor first(FDocument.get());
    first.setPosition(c.selectionStart() + 1);
    return first.charFormat();
}

void TCustomRichEdit::ChangeSelFormat(const std::function<void(QTextCharFormat&)>& Change)
{
    QTextCursor c = Cursor();
    if (!c.hasSelection()) {
        QTextCharFormat f = c.charFormat();
        Change(f);
        c.setCharFormat(f);
        SetCursor(c);
        return;
    }
    const int start = c.selectionStart();
    const int end = c.selectionEnd();
    struct TPiece {
        int From, To;
        QTextCharFormat Format;
    };
    std::vector<TPiece> pieces;
    for (QTextBlock b = FDocument->findBlock(start); b.isValid() && b.position() < end; b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            const int from = std::max(start, fr.position());
            const int to = std::min(end, fr.position() + fr.length());
            if (from < to)
                pieces.push_back({ from, to, fr.charFormat() });
        }
    {
        const TCountScope loading(FLoading);
        for (TPiece& p : pieces) {
            QTextCursor k(FDocument.get());
            k.setPosition(p.From);
            k.setPosition(p.To, QTextCursor::KeepAnchor);
            Change(p.Format);
            k.setCharFormat(p.Format);
        }
    }
    this->Change();
    SizeMaybeChanged();
}

TColor TCustomRichEdit::SelColor() const
{
    const QTextCharFormat f = SelFormat();
    return f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush ? RgbOf(f.foreground())
                                                                                                : clNone;
}

void TCustomRichEdit::SetSelColor(TColor v)
{
    ChangeSelFormat([v](QTextCharFormat& f) {
        if (v == clNone)
            f.clearForeground();
        else
            f.setForeground(ColorToQColor(ColorToRGB(v)));
    });
}

int TCustomRichEdit::SelOffset() const
{
    return SelFormat().intProperty(PropOffset);
}

void TCustomRichEdit::SetSelOffset(int Twips)
{
    ChangeSelFormat([Twips](QTextCharFormat& f) {
        const int s = f.intProperty(PropScript);
        f.setProperty(PropOffset, Twips);
        f.setVerticalAlignment(AlignmentOf(Twips,
            s == int(TRtfScript::Super)     ? TRtfScript::Super
                : s == int(TRtfScript::Sub) ? TRtfScript::Sub
                                            : TRtfScript::None));
    });
}

bool TCustomRichEdit::SelBold() const
{
    const QTextCharFormat f = SelFormat();
    return f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() > QFont::Medium
                                                  : Font()->Style().testFlag(TFontStyle::fsBold);
}

void TCustomRichEdit::SetSelBold(bool v)
{
    ChangeSelFormat([v](QTextCharFormat& f) { f.setFontWeight(v ? QFont::Bold : QFont::Normal); });
}

// ----- settings -----

void TCustomRichEdit::SetWordWrap(bool v)
{
    FWordWrap = v;
    if (QTextEdit* w = TextEditWidget())
        w->setLineWrapMode(v ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    ApplyTextWidth();
    SizeMaybeChanged();
}

void TCustomRichEdit::SetBorderStyle(TBorderStyle v)
{
    FBorderStyle = v;
    if (HandleAllocated())
        CreateWnd();
    ApplyTextWidth();
    SizeMaybeChanged();
}

void TCustomRichEdit::SetReadOnly(bool v)
{
    FReadOnly = v;
    if (QTextEdit* w = TextEditWidget())
        w->setReadOnly(v);
}

void TCustomRichEdit::SetScrollBars(TScrollStyle v)
{
    FScrollBars = v;
    if (HandleAllocated())
        CreateWnd();
}

void TCustomRichEdit::SetHideSelection(bool v)
{
    FHideSelection = v;
    ApplyColor();
}

// ----- size -----

TSize TCustomRichEdit::ContentSize() const
{
    const int frame = 2 * FrameWidth();
    const QSizeF size = FDocument->size();
    const int height = int(std::ceil(size.height())) + frame;
    const int width = FWordWrap ? Width() : int(std::ceil(FDocument->idealWidth())) + frame;
    return TSize(width, height);
}

void TCustomRichEdit::SizeMaybeChanged()
{
    if (FLoading || !FPrivate || FPrivate->InSizeCheck)
        return;
    FPrivate->InSizeCheck = true;
    TSize size;
    try {
        size = ContentSize();
    } catch (...) {
        FPrivate->InSizeCheck = false;
        throw;
    }
    FPrivate->InSizeCheck = false;
    if (size == FReportedSize)
        return;
    FReportedSize = size;
    RequestResize(Rect(0, 0, size.cx, size.cy));
}

void TCustomRichEdit::RequestSize()
{
    FReportedSize = ContentSize();
    RequestResize(Rect(0, 0, FReportedSize.cx, FReportedSize.cy));
}

void TCustomRichEdit::RequestResize(const TRect& Rect)
{
    if (OnResizeRequest)
        OnResizeRequest(this, Rect);
}

// ----- events -----

void TCustomRichEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomRichEdit::SelectionChange()
{
    if (OnSelectionChange)
        OnSelectionChange(this);
}

void TCustomRichEdit::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL | DLGC_WANTALLKEYS;
        return;
    }
    TWinControl::WndProc(Message);
}

// ----- drawing -----

int TCustomRichEdit::DrawTo(TCanvas* Canvas, const TRect& TwipsRect) const
{
    const int dpiX = std::max(1, Canvas->PixelsPerInchX());
    const int dpiY = std::max(1, Canvas->PixelsPerInchY());
    QRectF target(TwipsRect.Left * dpiX / 1440.0, TwipsRect.Top * dpiY / 1440.0, TwipsRect.Width() * dpiX / 1440.0,
        TwipsRect.Height() * dpiY / 1440.0);
    // A mirrored canvas moves the page; the text keeps its direction.
    if (const TCanvas::TOrientation o = Canvas->DrawingOrientation(); o.RightToLeft)
        target.moveLeft(o.Width - target.right());
    // The fonts are sized for 96 dpi: the page is laid out there and scaled.
    const double sx = dpiX / 96.0;
    const double sy = dpiY / 96.0;
    // The page is laid out in the document itself (a grid draws one cell
    // after another through one edit: no copy per cell). The edit's own
    // width comes back afterwards, unnoticed: its layout tells no one.
    QTextDocument* page = FDocument.get();
    const QSignalBlocker quiet(page->documentLayout());
    const qreal margin = page->documentMargin(); // 0 unless changed from outside
    const qreal oldWidth = page->textWidth();
    page->setTextWidth(std::max(0.0, target.width() / sx + 2 * margin));
    struct TRestore {
        QTextDocument* Page;
        qreal Width;
        ~TRestore() { Page->setTextWidth(Width); }
    } restore { page, oldWidth };
    const double height = std::max(0.0, page->size().height() - 2 * margin);
    if (QPainter* p = Canvas->Painter(); p && target.width() > 0 && target.height() > 0) {
        p->save();
        p->setClipRect(target, Qt::IntersectClip);
        p->translate(target.topLeft());
        p->scale(sx, sy);
        p->translate(-margin, -margin);
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = QRectF(margin, margin, target.width() / sx, target.height() / sy);
        ctx.palette.setColor(QPalette::Text, ColorToQColor(Font()->Color()));
        page->documentLayout()->draw(p, ctx);
        p->restore();
    }
    return int(std::lround(height * sy * 1440.0 / dpiY));
}
