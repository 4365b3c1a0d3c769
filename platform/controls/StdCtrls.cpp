#include "platform/controls/StdCtrls.h"

#include <QAbstractItemView>
#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QThread>
#include <QValidator>

#include "platform/controls/Clipbrd.h"
#include "platform/controls/ControlsPrivate.h"
#include "platform/controls/EditWidgets.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/DrawText.h"
#include "platform/runtime/Exceptions.h"

#include <functional>
#include <optional>

namespace {

// Qt's own length limit also cuts text set from code; the widgets hold none
// (this is the largest the toolkit allows) and TMaxLengthValidator applies
// the control's.
constexpr int Widget_Max_Length = 0x7FFFFFFE;

// The toolkit's maximum length: it binds what is typed, pasted, dropped or
// inserted at the selection, never text set whole from code. Of a change, the
// inserted part is cut to the room that the kept text leaves; deleting is
// always allowed, even from a text that is longer than the limit.
class TMaxLengthValidator : public QValidator {
public:
    struct TSource {
        std::function<int()> Limit; // 0: no limit
        std::function<QString()> Before; // the text before this change
        std::function<bool(const QString&)> Whole; // the change sets the text whole
    };
    TMaxLengthValidator(TSource source, QObject* parent)
        : QValidator(parent)
        , FSource(std::move(source))
    {
    }

    State validate(QString& input, int& pos) const override
    {
        const qsizetype limit = FSource.Limit();
        if (limit <= 0 || input.size() <= limit || FSource.Whole(input))
            return Acceptable;
        const QString before = FSource.Before();
        const qsizetype n = input.size();
        const qsizetype o = before.size();
        // The caret ends behind what was inserted, so the text after it is
        // the kept tail; the kept head is what both texts begin with.
        qsizetype tail = n - std::clamp<qsizetype>(pos, 0, n);
        if (tail > o || QStringView(input).right(tail) != QStringView(before).right(tail))
            for (tail = 0; tail < o && tail < n && input[n - 1 - tail] == before[o - 1 - tail]; ++tail) { }
        qsizetype head = 0;
        while (head < o - tail && head < n - tail && input[head] == before[head])
            ++head;
        const qsizetype inserted = n - head - tail;
        const qsizetype room = std::max<qsizetype>(0, limit - (head + tail));
        if (inserted <= room)
            return Acceptable;
        input = input.left(head + room) + input.right(tail);
        pos = int(head + room);
        return Acceptable;
    }

private:
    TSource FSource;
};

// A mouse message goes to the window under the mouse alone: a Qt widget that
// ignores a move (a button or list that is not pressed) must not pass it on
// to the parent, which would take the hint and the mouse control away from it.
template <class W> W* Own_Mouse(W* w)
{
    w->setAttribute(Qt::WA_NoMousePropagation);
    return w;
}

// Measuring outside painting: a canvas with the font, attached to no device
// (measuring asks only the font). On the application's thread it is one
// canvas kept until the application ends, whose fonts, once resolved, serve
// the next label: a form's labels are measured hundreds of times while it is
// made, and a painter and a font resolved anew for each cost more than the
// measuring.
struct TMeasureCanvas {
    explicit TMeasureCanvas(const TFont* font)
        : canvas(Pick())
    {
        canvas.Font()->Assign(font);
    }
    std::optional<TCanvas> own;
    TCanvas& canvas;

private:
    TCanvas& Pick()
    {
        static TCanvas* shared = nullptr;
        const QCoreApplication* app = QCoreApplication::instance();
        if (!app || QThread::currentThread() != app->thread())
            return own.emplace();
        if (!shared) {
            shared = new TCanvas;
            qAddPostRoutine([] {
                delete shared;
                shared = nullptr;
            });
        }
        return *shared;
    }
};

// Qt widgets whose own toggling and pop-ups go through the control.
class TQCheckBox : public QCheckBox {
public:
    explicit TQCheckBox(TButtonControl* owner)
        : FOwner(owner)
    {
        setTristate(true);
    }

protected:
    void nextCheckState() override
    {
        controls_private::UserAction(FOwner, [this] { FOwner->Toggle(); });
    }

private:
    TButtonControl* FOwner;
};

class TQRadioButton : public QRadioButton {
public:
    explicit TQRadioButton(TButtonControl* owner)
        : FOwner(owner)
    {
        setAutoExclusive(false);
    }

protected:
    void nextCheckState() override
    {
        controls_private::UserAction(FOwner, [this] { FOwner->Toggle(); });
    }

private:
    TButtonControl* FOwner;
};

class TQComboBox : public QComboBox {
public:
    explicit TQComboBox(TCustomComboBox* owner)
        : FOwner(owner)
    {
    }
    void showPopup() override
    {
        FOwner->PopupShowing();
        // The list is at least as wide as asked; Qt never makes it narrower
        // than the combo box.
        if (view())
            view()->setMinimumWidth(FOwner->DroppedWidth());
        QComboBox::showPopup();
    }
    void hidePopup() override
    {
        const bool wasShown = view() && view()->isVisible();
        QComboBox::hidePopup();
        if (wasShown)
            FOwner->PopupHidden();
    }

    // Puts the edit field where the style has it, ending at `right` at the most.
    void FitEditField(int right)
    {
        if (!lineEdit())
            return;
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        QRect r = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
        if (r.x() + r.width() > right)
            r.setWidth(std::max(0, right - r.x()));
        lineEdit()->setGeometry(r);
    }

protected:
    // Qt places the edit field on these; the control may want it narrower.
    void resizeEvent(QResizeEvent* e) override
    {
        QComboBox::resizeEvent(e);
        FOwner->FitEditField();
    }
    void showEvent(QShowEvent* e) override
    {
        QComboBox::showEvent(e);
        FOwner->FitEditField();
    }

private:
    TCustomComboBox* FOwner;
};

// Items of one fixed height.
class TItemHeightDelegate : public QStyledItemDelegate {
public:
    TItemHeightDelegate(int height, QObject* parent)
        : QStyledItemDelegate(parent)
        , FHeight(height)
    {
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return { QStyledItemDelegate::sizeHint(option, index).width(), FHeight };
    }

private:
    int FHeight;
};

} // namespace

// ---------------------------------------------------------------------------
// Labels

bool IsAccel(char16_t ch, const QString& caption)
{
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption[i + 1].toUpper() == QChar(ch).toUpper();
    }
    return false;
}

TCustomLabel::TCustomLabel(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    FControlStyle |= csReplicatable;
    FParentColor = true;
    SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAutoSize(bool v)
{
    if (FAutoSize == v)
        return;
    FAutoSize = v;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment v)
{
    if (FAlignment == v)
        return;
    FAlignment = v;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout v)
{
    if (FLayout == v)
        return;
    FLayout = v;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool v)
{
    if (FWordWrap == v)
        return;
    FWordWrap = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool v)
{
    if (FTransparent == v)
        return;
    FTransparent = v;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool v)
{
    if (FShowAccelChar == v)
        return;
    FShowAccelChar = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* v)
{
    if (FFocusControl == v)
        return;
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v)
        v->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TCustomLabel::SetText(const QString& v)
{
    if (v == FText)
        return;
    TGraphicControl::SetText(v);
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::FontChanged()
{
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_DIALOGCHAR) {
        // Alt+accelerator: hand the focus to the associated control.
        if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(char16_t(Message.WParam), Caption())
            && FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            Message.Result = 1;
            return;
        }
    }
    TGraphicControl::WndProc(Message);
}

unsigned TCustomLabel::DrawTextFlags() const
{
    unsigned flags = DT_EXPANDTABS;
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    if (FAlignment == taRightJustify)
        flags |= DT_RIGHT;
    else if (FAlignment == taCenter)
        flags |= DT_CENTER;
    return flags;
}

void TCustomLabel::DoDrawText(TCanvas* canvas, TRect& rect, unsigned flags)
{
    QString text = Caption();
    if ((flags & DT_CALCRECT) && (text.isEmpty() || (FShowAccelChar && text == QLatin1String("&"))))
        text += QLatin1Char(' ');
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    canvas->Font()->Assign(Font());
    if (!Enabled() && !(flags & DT_CALCRECT)) {
        // The toolkit's engraved look: a light copy one pixel down-right.
        TRect r = rect;
        OffsetRect(r, 1, 1);
        canvas->Font()->SetColor(clBtnHighlight);
        DrawText(canvas, text, r, flags);
        canvas->Font()->SetColor(clBtnShadow);
        DrawText(canvas, text, rect, flags);
        return;
    }
    DrawText(canvas, text, rect, flags);
}

void TCustomLabel::Paint()
{
    TCanvas* c = Canvas();
    if (!c)
        return;
    const TRect client = ClientRect();
    if (!FTransparent) {
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(client);
    }
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    TRect r = client;
    const unsigned flags = DrawTextFlags();
    if (FLayout != tlTop) {
        TRect calc = client;
        DoDrawText(c, calc, flags | DT_CALCRECT);
        const int dy = FLayout == tlBottom ? client.Height() - calc.Height() : (client.Height() - calc.Height()) / 2;
        OffsetRect(r, 0, dy);
    }
    DoDrawText(c, r, flags);
}

void TCustomLabel::AdjustBounds()
{
    if (!FAutoSize || IsLoading())
        return;
    TMeasureCanvas m(Font());
    TRect r = ClientRect();
    if (!FWordWrap)
        r.Right = r.Left;
    DoDrawText(&m.canvas, r, DrawTextFlags() | DT_CALCRECT);
    int x = Left();
    if (FAlignment == taRightJustify)
        x += Width() - r.Width();
    SetBounds(x, Top(), r.Width(), r.Height());
}

// ---------------------------------------------------------------------------
// Link label

TLinkLabel::TLinkLabel(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    FParentColor = true;
    SetBounds(0, 0, 53, 17);
}

std::vector<TLinkLabel::TSegment> TLinkLabel::ParseCaption(const QString& caption)
{
    std::vector<TSegment> out;
    auto addText = [&](const QString& s) {
        if (s.isEmpty())
            return;
        TSegment p;
        p.text = s;
        out.push_back(p);
    };
    auto attr = [](const QString& tag, const QString& name) -> QString {
        const int at = tag.indexOf(name + QLatin1Char('='), 0, Qt::CaseInsensitive);
        if (at < 0)
            return {};
        int i = at + name.size() + 1;
        if (i < tag.size() && (tag[i] == QLatin1Char('"') || tag[i] == QLatin1Char('\''))) {
            const QChar q = tag[i];
            const int end = tag.indexOf(q, i + 1);
            return end < 0 ? tag.mid(i + 1) : tag.mid(i + 1, end - i - 1);
        }
        int end = i;
        while (end < tag.size() && !tag[end].isSpace() && tag[end] != QLatin1Char('>'))
            ++end;
        return tag.mid(i, end - i);
    };
    int pos = 0;
    while (pos < caption.size()) {
        const int open = caption.indexOf(QLatin1String("<a"), pos, Qt::CaseInsensitive);
        const bool isTag = open >= 0 && open + 2 < caption.size()
            && (caption[open + 2].isSpace() || caption[open + 2] == QLatin1Char('>'));
        if (!isTag) {
            if (open < 0) {
                addText(caption.mid(pos));
                break;
            }
            addText(caption.mid(pos, open + 2 - pos));
            pos = open + 2;
            continue;
        }
        const int tagEnd = caption.indexOf(QLatin1Char('>'), open);
        const int close = tagEnd < 0 ? -1 : caption.indexOf(QLatin1String("</a>"), tagEnd, Qt::CaseInsensitive);
        if (tagEnd < 0 || close < 0) { // an unfinished anchor is shown as text
            addText(caption.mid(pos));
            break;
        }
        addText(caption.mid(pos, open - pos));
        const QString tag = caption.mid(open, tagEnd - open);
        TSegment p;
        p.isLink = true;
        p.text = caption.mid(tagEnd + 1, close - tagEnd - 1);
        p.link = attr(tag, QStringLiteral("href"));
        if (p.link.isEmpty()) {
            p.link = attr(tag, QStringLiteral("id"));
            p.type = p.link.isEmpty() ? sltURL : sltID;
        }
        out.push_back(p);
        pos = close + 4;
    }
    return out;
}

void TLinkLabel::SetAutoSize(bool v)
{
    FAutoSize = v;
    AdjustBounds();
}

void TLinkLabel::SetText(const QString& v)
{
    if (v == FText)
        return;
    TGraphicControl::SetText(v);
    FSegments = ParseCaption(v);
    FHot = -1;
    AdjustBounds();
    Invalidate();
}

void TLinkLabel::FontChanged()
{
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TLinkLabel::LayoutSegments(TCanvas* canvas)
{
    FRects.clear();
    int x = 0;
    const int h = canvas->TextHeight(QStringLiteral("Wg"));
    for (const TSegment& p : FSegments) {
        const int w = canvas->TextWidth(p.text);
        FRects.push_back(Bounds(x, 0, w, h));
        x += w;
    }
}

void TLinkLabel::AdjustBounds()
{
    TMeasureCanvas m(Font());
    LayoutSegments(&m.canvas);
    if (!FAutoSize || IsLoading())
        return;
    int w = 0;
    for (const TRect& r : FRects)
        w = std::max(w, r.Right);
    SetBounds(Left(), Top(), w, m.canvas.TextHeight(QStringLiteral("Wg")));
}

TRect TLinkLabel::SegmentRect(int index) const
{
    return index >= 0 && index < int(FRects.size()) ? FRects[std::size_t(index)] : TRect();
}

const TLinkLabel::TSegment* TLinkLabel::LinkAt(TPoint p) const
{
    for (std::size_t i = 0; i < FSegments.size() && i < FRects.size(); ++i)
        if (FSegments[i].isLink && FRects[i].Contains(p))
            return &FSegments[i];
    return nullptr;
}

void TLinkLabel::Paint()
{
    TCanvas* c = Canvas();
    if (!c)
        return;
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Font()->Assign(Font());
    LayoutSegments(c);
    for (std::size_t i = 0; i < FSegments.size(); ++i) {
        c->Font()->Assign(Font());
        if (FSegments[i].isLink) {
            c->Font()->SetColor(Enabled() ? clHotLight : clGrayText);
            if (int(i) == FHot)
                c->Font()->SetStyle(c->Font()->Style() | TFontStyle::fsUnderline);
        } else if (!Enabled()) {
            c->Font()->SetColor(clGrayText);
        }
        c->TextOut(FRects[i].Left, FRects[i].Top, FSegments[i].text);
    }
}

void TLinkLabel::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    int hot = -1;
    for (std::size_t i = 0; i < FSegments.size() && i < FRects.size(); ++i)
        if (FSegments[i].isLink && FRects[i].Contains({ X, Y }))
            hot = int(i);
    if (hot != FHot) {
        // The hand shows over a link only.
        if (FHot < 0)
            FSavedCursor = Cursor();
        FHot = hot;
        SetCursor(hot >= 0 ? crHandPoint : FSavedCursor);
        Invalidate();
    }
}

void TLinkLabel::MouseLeave()
{
    TGraphicControl::MouseLeave();
    if (FHot >= 0) {
        FHot = -1;
        SetCursor(FSavedCursor);
        Invalidate();
    }
}

void TLinkLabel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    if (const TSegment* p = LinkAt({ X, Y }))
        if (OnLinkClick)
            OnLinkClick(this, p->link, p->type);
}

// ---------------------------------------------------------------------------
// Edit

TCustomEdit::TCustomEdit(TComponent* AOwner)
    : TWinControl(AOwner)
{
    FControlStyle = TControlStyle(csClickEvents) | csSetCaption | csDoubleClicks | csFixedHeight;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    SetBounds(0, 0, 121, 21);
}

TCustomEdit::~TCustomEdit() = default;

QLineEdit* TCustomEdit::LineEdit() const
{
    return qobject_cast<QLineEdit*>(WidgetIfAllocated());
}
QPlainTextEdit* TCustomEdit::TextEdit() const
{
    return qobject_cast<QPlainTextEdit*>(WidgetIfAllocated());
}

QWidget* TCustomEdit::CreateWidget()
{
    auto* w = new TEditLineWidget();
    QObject::connect(w, &QLineEdit::textChanged, w, [this] { TextChangedByWidget(); });
    return w;
}

void TCustomEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    if (QLineEdit* e = LineEdit()) {
        {
            // Restoring the text into a new widget is no change.
            const QSignalBlocker quiet(e);
            e->setText(FText);
        }
        e->setMaxLength(Widget_Max_Length);
        if (!e->validator())
            e->setValidator(new TMaxLengthValidator({ [this] { return FMaxLength; }, [this] { return FText; },
                                                        [this](const QString&) { return FSettingText > 0; } },
                e));
        e->setReadOnly(FReadOnly);
        e->setFrame(FBorderStyle != bsNone);
        e->setAlignment((FAlignment == taRightJustify    ? Qt::AlignRight
                                : FAlignment == taCenter ? Qt::AlignHCenter
                                                         : Qt::AlignLeft)
            | Qt::AlignVCenter);
        ApplyTextRect();
        if (FPasswordChar) {
            e->setEchoMode(QLineEdit::Password);
            e->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: %1; }").arg(int(FPasswordChar)));
        } else {
            e->setEchoMode(QLineEdit::Normal);
            e->setStyleSheet(QString());
        }
    }
    ApplyColor();
}

TRect TCustomEdit::TextRect() const
{
    return FHasTextRect ? FTextRect : ClientRect();
}

void TCustomEdit::SetTextRect(const TRect& r)
{
    FTextRect = r;
    FHasTextRect = true;
    ApplyTextRect();
}

void TCustomEdit::ApplyTextRect()
{
    QLineEdit* e = LineEdit();
    if (!e || !FHasTextRect)
        return;
    // The rectangle stays where it was set; the margins follow the size. The
    // line edit keeps its frame and a small inner margin (2 across, 1 down)
    // before its text, so that the text starts at the rectangle's corner;
    // on the right the inner margin stays, as room for the last glyph.
    const int frame = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, e) : 0;
    e->setTextMargins(std::max(0, FTextRect.Left - frame - 2), std::max(0, FTextRect.Top - frame - 1),
        std::max(0, ClientWidth() - FTextRect.Right - frame), std::max(0, ClientHeight() - FTextRect.Bottom));
    e->setAlignment((e->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop);
}

void TCustomEdit::BoundsChanged(const TRect& oldBounds)
{
    TWinControl::BoundsChanged(oldBounds);
    if (FHasTextRect && (oldBounds.Width() != Width() || oldBounds.Height() != Height()))
        ApplyTextRect();
}

void TCustomEdit::ApplyColor()
{
    if (QWidget* w = WidgetIfAllocated())
        controls_private::SetPaletteColors(w, QPalette::Base, Color(), Font()->Color(), false);
}

QString TCustomEdit::WidgetText() const
{
    if (QLineEdit* e = LineEdit())
        return e->text();
    return FText;
}

void TCustomEdit::SetWidgetText(const QString& s)
{
    if (QLineEdit* e = LineEdit())
        e->setText(s);
}

QString TCustomEdit::GetText() const
{
    return RawText();
}

void TCustomEdit::SetText(const QString& v)
{
    SetRawText(ConvertCase(v));
}

void TCustomEdit::SetRawText(const QString& value)
{
    if (value == RawText())
        return;
    FText = value;
    if (HandleAllocated()) {
        ++FSettingText;
        SetWidgetText(value); // fires Change through the widget
        --FSettingText;
    } else {
        Change();
    }
}

void TCustomEdit::TextChangedByWidget()
{
    FText = WidgetText();
    if (!FSettingText)
        FModified = true;
    Change();
}

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

QString TCustomEdit::ConvertCase(const QString& s) const
{
    switch (FCharCase) {
    case ecUpperCase:
        return s.toUpper();
    case ecLowerCase:
        return s.toLower();
    default:
        return s;
    }
}

void TCustomEdit::SetMaxLength(int v)
{
    // Binds the next edit by the user; the text there now stays.
    FMaxLength = std::max(0, v);
}

void TCustomEdit::SetPasswordChar(char16_t v)
{
    if (FPasswordChar == v)
        return;
    FPasswordChar = v;
    if (HandleAllocated())
        CreateWnd();
}

void TCustomEdit::SetReadOnly(bool v)
{
    FReadOnly = v;
    if (QLineEdit* e = LineEdit())
        e->setReadOnly(v);
    if (QPlainTextEdit* m = TextEdit())
        m->setReadOnly(v);
}

void TCustomEdit::SetCharCase(TEditCharCase v)
{
    if (FCharCase == v)
        return;
    FCharCase = v;
    const QString t = ConvertCase(GetText());
    if (t != GetText())
        SetText(t);
}

void TCustomEdit::SetBorderStyle(TBorderStyle v)
{
    FBorderStyle = v;
    if (QLineEdit* e = LineEdit())
        e->setFrame(v != bsNone);
    if (QPlainTextEdit* m = TextEdit())
        m->setFrameShape(v == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

void TCustomEdit::SetAlignment(TAlignment v)
{
    if (FAlignment == v)
        return;
    FAlignment = v;
    RecreateWnd();
}

void TCustomEdit::KeyPress(char16_t& Key)
{
    TWinControl::KeyPress(Key);
    if (Key == 0 || FReadOnly)
        return;
    if (FNumbersOnly && Key >= 32 && !(Key >= u'0' && Key <= u'9')) {
        Key = 0;
        return;
    }
    if (FCharCase != ecNormal && Key >= 32) {
        const QString c = ConvertCase(QString(QChar(Key)));
        if (c != QString(QChar(Key))) {
            // Typed through the control so that the converted character lands.
            SetSelText(c);
            Key = 0;
        }
    }
}

void TCustomEdit::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        // An edit types characters and moves its caret with the arrows.
        Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
        return;
    }
    TWinControl::WndProc(Message);
}

void TCustomEdit::DoEnter()
{
    TWinControl::DoEnter();
    if (FAutoSelect && LineEdit())
        SelectAll();
}

int TCustomEdit::SelStart() const
{
    if (QLineEdit* e = LineEdit())
        return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    return 0;
}

void TCustomEdit::SetSelStart(int v)
{
    StateWidget();
    if (QLineEdit* e = LineEdit())
        e->setCursorPosition(std::clamp(v, 0, int(e->text().size())));
}

int TCustomEdit::SelLength() const
{
    if (QLineEdit* e = LineEdit())
        return int(e->selectedText().size());
    return 0;
}

void TCustomEdit::SetSelLength(int v)
{
    StateWidget();
    if (QLineEdit* e = LineEdit()) {
        const int start = SelStart();
        const int len = std::clamp(v, 0, int(e->text().size()) - start);
        if (len == 0)
            e->setCursorPosition(start);
        else
            e->setSelection(start, len);
    }
}

QString TCustomEdit::SelText() const
{
    // Positions count in the text as shown (a mask's literals included).
    return RawText().mid(SelStart(), SelLength());
}

void TCustomEdit::SetSelText(const QString& v)
{
    StateWidget();
    if (QLineEdit* e = LineEdit()) {
        const bool ro = e->isReadOnly();
        e->setReadOnly(false);
        e->insert(v);
        e->setReadOnly(ro);
    }
}

void TCustomEdit::SelectAll()
{
    StateWidget();
    if (QLineEdit* e = LineEdit())
        e->selectAll();
    if (QPlainTextEdit* m = TextEdit())
        m->selectAll();
}

void TCustomEdit::CopyToClipboard()
{
    if (FPasswordChar == 0 && SelLength() > 0)
        Clipboard()->SetAsText(SelText());
}

void TCustomEdit::CutToClipboard()
{
    if (FPasswordChar != 0 || FReadOnly || SelLength() == 0)
        return;
    Clipboard()->SetAsText(SelText());
    ClearSelection();
}

void TCustomEdit::PasteFromClipboard()
{
    if (FReadOnly || !Clipboard()->HasFormat(CF_UNICODETEXT))
        return;
    QString t = Clipboard()->AsText();
    if (LineEdit()) {
        for (qsizetype i = 0; i < t.size(); ++i)
            if (t[i] == QLatin1Char('\r') || t[i] == QLatin1Char('\n')) {
                t.truncate(i);
                break;
            }
    } else if (FMaxLength > 0) {
        // The widget holds no limit of its own: the paste takes the room left.
        const int room = std::max(0, FMaxLength - (int(RawText().size()) - SelLength()));
        t.truncate(room);
        if (t.endsWith(QLatin1Char('\r')))
            t.chop(1); // half a line break is none
    }
    if (!t.isEmpty())
        SetSelText(t);
}

void TCustomEdit::DefaultHandler(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_COPY:
        CopyToClipboard();
        return;
    case WM_CUT:
        CutToClipboard();
        return;
    case WM_PASTE:
        PasteFromClipboard();
        return;
    case WM_CLEAR:
        if (!FReadOnly)
            ClearSelection();
        return;
    case WM_UNDO:
        if (!FReadOnly)
            Undo();
        Message.Result = 1;
        return;
    default:
        TWinControl::DefaultHandler(Message);
        return;
    }
}

int TCustomEdit::CaretPosition() const
{
    if (QLineEdit* e = LineEdit())
        return e->cursorPosition();
    if (QPlainTextEdit* m = TextEdit())
        return controls_private::PlainToToolkit(m->toPlainText(), m->textCursor().position());
    return 0;
}

void TCustomEdit::RecreateWnd()
{
    QWidget* old = WidgetIfAllocated();
    if (!old)
        return;
    const int start = SelStart();
    const int length = SelLength();
    const bool caretAtStart = length > 0 && CaretPosition() == start;
    // The focus of the window, whether or not the window is active now.
    const bool hadFocus = old->window()->focusWidget() == old;
    // Quietly: the old window gives the focus up and the new one takes it
    // without the input translation hearing of either.
    old->removeEventFilter(TControlEventTranslator::Instance());
    if (hadFocus)
        old->clearFocus();
    // Child controls' windows live in this one: they wait outside it and
    // move into the new window as it is made.
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* wc = dynamic_cast<TWinControl*>(Controls(i)))
            if (QWidget* cw = wc->WidgetIfAllocated()) {
                cw->hide();
                cw->setParent(nullptr);
            }
    DestroyWnd();
    QWidget* w = Widget();
    if (caretAtStart) {
        SetSelStart(start + length);
        if (QLineEdit* e = LineEdit())
            e->setSelection(start + length, -length);
        else if (QPlainTextEdit* m = TextEdit()) {
            const QString plain = m->toPlainText();
            QTextCursor c = m->textCursor();
            c.setPosition(controls_private::ToolkitToPlain(plain, start + length));
            c.setPosition(controls_private::ToolkitToPlain(plain, start), QTextCursor::KeepAnchor);
            m->setTextCursor(c);
        }
    } else {
        SetSelStart(start);
        SetSelLength(length);
    }
    if (hadFocus && w) {
        w->removeEventFilter(TControlEventTranslator::Instance());
        w->setFocus(Qt::OtherFocusReason);
        w->installEventFilter(TControlEventTranslator::Instance());
    }
}

int TCustomEdit::CharFromPos(TPoint p) const
{
    if (QLineEdit* e = LineEdit())
        return e->cursorPositionAt(QPoint(p.X, p.Y));
    if (QPlainTextEdit* m = TextEdit()) {
        const QPoint inViewport = m->viewport()->mapFrom(m, QPoint(p.X, p.Y));
        return controls_private::PlainToToolkit(m->toPlainText(), m->cursorForPosition(inViewport).position());
    }
    return 0;
}

TPoint TCustomEdit::PosFromChar(int Index) const
{
    if (QLineEdit* e = LineEdit()) {
        const QString shown = e->displayText();
        if (Index < 0 || Index > shown.size())
            return TPoint(-1, -1);
        // The widget tells where its caret stands; a character lies as far
        // from it as the widget's own layout of the shown text puts it.
        QTextLayout layout(shown, e->font());
        QTextOption option = layout.textOption();
        option.setTextDirection(e->layoutDirection());
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        if (!line.isValid())
            return TPoint(-1, -1);
        // The widget's caret rectangle is the caret widened alike on both sides.
        const QRect caret = e->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const qreal dx = line.cursorToX(Index) - line.cursorToX(e->cursorPosition());
        return TPoint(caret.center().x() + qRound(dx), caret.top());
    }
    if (QPlainTextEdit* m = TextEdit()) {
        const QString plain = m->toPlainText();
        if (Index < 0 || Index > controls_private::PlainToToolkit(plain, int(plain.size())))
            return TPoint(-1, -1);
        QTextCursor c(m->document());
        c.setPosition(controls_private::ToolkitToPlain(plain, Index));
        const QPoint at = m->viewport()->mapTo(m, m->cursorRect(c).topLeft());
        return TPoint(at.x(), at.y());
    }
    return TPoint(-1, -1);
}

namespace {
// The lines a block of a multi-line widget takes as shown, laid out first
// when the widget has not done so yet.
int ShownLines(QPlainTextEdit* m, const QTextBlock& block)
{
    if (block.layout()->lineCount() == 0)
        (void)m->document()->documentLayout()->blockBoundingRect(block);
    return std::max(1, block.layout()->lineCount());
}
} // namespace

int TCustomEdit::CaretLine() const
{
    QPlainTextEdit* m = TextEdit();
    if (!m)
        return 0;
    const QTextCursor c = m->textCursor();
    const QTextBlock current = c.block();
    int line = 0;
    for (QTextBlock b = m->document()->firstBlock(); b.isValid() && b != current; b = b.next())
        line += ShownLines(m, b);
    (void)ShownLines(m, current);
    const QTextLine inBlock = current.layout()->lineForTextPosition(c.positionInBlock());
    return line + (inBlock.isValid() ? inBlock.lineNumber() : 0);
}

int TCustomEdit::LineCount() const
{
    QPlainTextEdit* m = TextEdit();
    if (!m)
        return 1;
    int lines = 0;
    for (QTextBlock b = m->document()->firstBlock(); b.isValid(); b = b.next())
        lines += ShownLines(m, b);
    return std::max(1, lines);
}

bool TCustomEdit::CanUndo() const
{
    if (QLineEdit* e = LineEdit())
        return e->isUndoAvailable();
    if (QPlainTextEdit* m = TextEdit())
        return m->document()->isUndoAvailable();
    return false;
}

void TCustomEdit::Undo()
{
    if (QLineEdit* e = LineEdit())
        e->undo();
    if (QPlainTextEdit* m = TextEdit())
        m->undo();
}

// ---------------------------------------------------------------------------
// Memo

namespace {

QStringList SplitMemoLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // a final line break opens no line of its own
    return lines;
}

QString ToWidgetBreaks(const QString& s)
{
    return controls_private::ToPlainBreaks(s);
}

} // namespace

QStringList TMemoStrings::Lines() const
{
    return SplitMemoLines(ToWidgetBreaks(FMemo->GetText()));
}

void TMemoStrings::SetLines(const QStringList& lines)
{
    FMemo->SetText(lines.join(QLatin1String("\r\n")));
}

int TMemoStrings::Count() const
{
    return int(Lines().size());
}

QString TMemoStrings::Get(int Index) const
{
    const QStringList l = Lines();
    if (Index < 0 || Index >= l.size())
        IndexError(Index);
    return l[Index];
}

void TMemoStrings::Put(int Index, const QString& S)
{
    QStringList l = Lines();
    if (Index < 0 || Index >= l.size())
        IndexError(Index);
    l[Index] = S;
    SetLines(l);
}

void TMemoStrings::Insert(int Index, const QString& S)
{
    QStringList l = Lines();
    if (Index < 0 || Index > l.size())
        IndexError(Index);
    l.insert(Index, S);
    SetLines(l);
}

void TMemoStrings::Delete(int Index)
{
    QStringList l = Lines();
    if (Index < 0 || Index >= l.size())
        IndexError(Index);
    l.removeAt(Index);
    SetLines(l);
}

void TMemoStrings::Clear()
{
    FMemo->SetText(QString());
}

void TMemoStrings::SetText(const QString& Value)
{
    QString v = Value;
    // Lines.Text ends every line with a break; the memo keeps no empty last line.
    if (v.endsWith(QLatin1String("\r\n")))
        v.chop(2);
    else if (v.endsWith(QLatin1Char('\n')) || v.endsWith(QLatin1Char('\r')))
        v.chop(1);
    FMemo->SetText(v);
}

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner)
    , FLines(std::make_unique<TMemoStrings>(this))
{
    FControlStyle &= ~TControlStyle(csFixedHeight);
    FAutoSelect = false;
    SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

QWidget* TCustomMemo::CreateWidget()
{
    auto* w = new TEditTextWidget();
    QObject::connect(w, &QPlainTextEdit::textChanged, w, [this] { TextChangedByWidget(); });
    return w;
}

void TCustomMemo::CreateWnd()
{
    TWinControl::CreateWnd();
    if (QPlainTextEdit* m = TextEdit()) {
        {
            const QSignalBlocker quiet(m);
            m->setPlainText(ToWidgetBreaks(FText));
        }
        m->setReadOnly(FReadOnly);
        m->setLineWrapMode(FWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        m->setTabChangesFocus(!FWantTabs);
        m->setFrameShape(FBorderStyle == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
        const bool h = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
        const bool v = FScrollBars == ssVertical || FScrollBars == ssBoth;
        m->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        m->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
    ApplyColor();
}

QString TCustomMemo::WidgetText() const
{
    if (QPlainTextEdit* m = TextEdit()) {
        QString s = m->toPlainText();
        s.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        return s;
    }
    return FText;
}

void TCustomMemo::SetWidgetText(const QString& s)
{
    if (QPlainTextEdit* m = TextEdit())
        m->setPlainText(ToWidgetBreaks(s));
}

void TCustomMemo::SetWordWrap(bool v)
{
    if (FWordWrap == v)
        return;
    FWordWrap = v;
    RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle v)
{
    FScrollBars = v;
    if (HandleAllocated())
        CreateWnd();
}

void TCustomMemo::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
        if (FWantReturns)
            Message.Result |= DLGC_WANTALLKEYS;
        if (FWantTabs)
            Message.Result |= DLGC_WANTTAB;
        return;
    }
    TCustomEdit::WndProc(Message);
}

void TCustomMemo::SetMaxLength(int v)
{
    FMaxLength = std::max(0, v);
}

void TCustomMemo::KeyPress(char16_t& Key)
{
    if (Key == 13 && !FWantReturns) {
        TWinControl::KeyPress(Key);
        Key = 0;
        return;
    }
    if (FMaxLength > 0 && Key >= 32 && SelLength() == 0 && ToWidgetBreaks(GetText()).size() >= FMaxLength) {
        Key = 0;
        return;
    }
    TCustomEdit::KeyPress(Key);
}

using controls_private::PlainToToolkit;
using controls_private::ToolkitToPlain;

int TCustomMemo::SelStart() const
{
    if (QPlainTextEdit* m = TextEdit())
        return PlainToToolkit(m->toPlainText(), m->textCursor().selectionStart());
    return 0;
}

void TCustomMemo::SetSelStart(int v)
{
    StateWidget();
    if (QPlainTextEdit* m = TextEdit()) {
        QTextCursor c = m->textCursor();
        c.setPosition(ToolkitToPlain(m->toPlainText(), std::max(0, v)));
        m->setTextCursor(c);
    }
}

int TCustomMemo::SelLength() const
{
    if (QPlainTextEdit* m = TextEdit()) {
        const QString plain = m->toPlainText();
        const QTextCursor c = m->textCursor();
        return PlainToToolkit(plain, c.selectionEnd()) - PlainToToolkit(plain, c.selectionStart());
    }
    return 0;
}

void TCustomMemo::SetSelLength(int v)
{
    StateWidget();
    if (QPlainTextEdit* m = TextEdit()) {
        const QString plain = m->toPlainText();
        QTextCursor c = m->textCursor();
        const int start = PlainToToolkit(plain, c.selectionStart());
        c.setPosition(ToolkitToPlain(plain, start));
        c.setPosition(ToolkitToPlain(plain, start + std::max(0, v)), QTextCursor::KeepAnchor);
        m->setTextCursor(c);
    }
}

void TCustomMemo::SetSelText(const QString& v)
{
    StateWidget();
    if (QPlainTextEdit* m = TextEdit())
        m->textCursor().insertText(ToWidgetBreaks(v));
}

// ---------------------------------------------------------------------------
// Items of combo and list boxes

namespace {

QComboBox* ComboOf(TWinControl* c)
{
    return qobject_cast<QComboBox*>(c->StateWidget());
}
QListWidget* ListOf(TWinControl* c)
{
    return qobject_cast<QListWidget*>(c->StateWidget());
}

} // namespace

TCustomComboBox* TControlItems::WaitingCombo() const
{
    auto* cb = dynamic_cast<TCustomComboBox*>(FOwner);
    return cb && cb->FWaitingState && !cb->HandleAllocated() ? cb : nullptr;
}

int TControlItems::Count() const
{
    if (WaitingCombo())
        return int(FWaiting.size());
    if (QComboBox* c = ComboOf(FOwner))
        return c->count();
    if (QListWidget* l = ListOf(FOwner))
        return l->count();
    return 0;
}

QString TControlItems::Get(int Index) const
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    if (WaitingCombo())
        return FWaiting[Index];
    if (QComboBox* c = ComboOf(FOwner))
        return c->itemText(Index);
    return ListOf(FOwner)->item(Index)->text();
}

void TControlItems::Put(int Index, const QString& S)
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    if (TCustomComboBox* cb = WaitingCombo()) {
        FWaiting[Index] = S;
        // The edit shows the selected item's new text.
        if (Index == cb->FWaitingIndex && cb->FStyle != csDropDownList)
            cb->FText = S;
    } else if (QComboBox* c = ComboOf(FOwner))
        c->setItemText(Index, S);
    else
        ListOf(FOwner)->item(Index)->setText(S);
}

TObject* TControlItems::GetObject(int Index) const
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    return std::size_t(Index) < FObjects.size() ? FObjects[std::size_t(Index)] : nullptr;
}

void TControlItems::PutObject(int Index, TObject* AObject)
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    FObjects.resize(std::max<std::size_t>(FObjects.size(), std::size_t(Count())), nullptr);
    FObjects[std::size_t(Index)] = AObject;
}

void TControlItems::Insert(int Index, const QString& S)
{
    if (Index < 0 || Index > Count())
        IndexError(Index);
    FObjects.resize(std::size_t(Count()), nullptr);
    FObjects.insert(FObjects.begin() + Index, nullptr);
    if (TCustomComboBox* cb = WaitingCombo()) {
        // The selection stays on its item; a new item is no selection.
        FWaiting.insert(Index, S);
        if (cb->FWaitingIndex >= Index)
            ++cb->FWaitingIndex;
    } else if (auto* cb = dynamic_cast<TCustomComboBox*>(FOwner)) {
        ++cb->FInternal;
        QComboBox* c = ComboOf(FOwner);
        const bool none = c->currentIndex() < 0;
        const QString text = c->currentText();
        c->insertItem(Index, S);
        // A new first item is not a selection.
        if (none && c->currentIndex() >= 0) {
            c->setCurrentIndex(-1);
            if (c->isEditable())
                c->setEditText(text);
        }
        --cb->FInternal;
    } else if (auto* lb = dynamic_cast<TCustomListBox*>(FOwner)) {
        ++lb->FInternal;
        ListOf(FOwner)->insertItem(Index, S);
        if (lb->Sorted())
            ListOf(FOwner)->sortItems();
        --lb->FInternal;
    }
}

void TControlItems::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    if (std::size_t(Index) < FObjects.size())
        FObjects.erase(FObjects.begin() + Index);
    if (TCustomComboBox* cb = WaitingCombo()) {
        FWaiting.removeAt(Index);
        int& sel = cb->FWaitingIndex;
        if (sel > Index) {
            --sel;
        } else if (sel == Index) {
            // As the widget does: the item now in its place, else the last,
            // else none (and an empty edit).
            sel = FWaiting.isEmpty() ? -1 : std::min(int(FWaiting.size()) - 1, Index);
            if (cb->FStyle != csDropDownList)
                cb->FText = sel >= 0 ? FWaiting[sel] : QString();
        }
    } else if (auto* cb = dynamic_cast<TCustomComboBox*>(FOwner)) {
        ++cb->FInternal;
        ComboOf(FOwner)->removeItem(Index);
        --cb->FInternal;
    } else if (auto* lb = dynamic_cast<TCustomListBox*>(FOwner)) {
        ++lb->FInternal;
        delete ListOf(FOwner)->takeItem(Index);
        --lb->FInternal;
    }
}

void TControlItems::Clear()
{
    FObjects.clear();
    if (TCustomComboBox* cb = WaitingCombo()) {
        // Clearing the list keeps what the edit shows.
        FWaiting.clear();
        cb->FWaitingIndex = -1;
    } else if (auto* cb = dynamic_cast<TCustomComboBox*>(FOwner)) {
        ++cb->FInternal;
        const QString text = cb->Style() == csDropDown ? cb->GetText() : QString();
        ComboOf(FOwner)->clear();
        // Clearing the list keeps what the edit shows.
        if (cb->Style() == csDropDown)
            ComboOf(FOwner)->setEditText(text);
        --cb->FInternal;
    } else if (auto* lb = dynamic_cast<TCustomListBox*>(FOwner)) {
        ++lb->FInternal;
        ListOf(FOwner)->clear();
        --lb->FInternal;
    }
}

// ---------------------------------------------------------------------------
// Combo box

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner)
    , FItems(std::make_unique<TControlItems>(this))
{
    FControlStyle = TControlStyle(csCaptureMouse) | csSetCaption | csDoubleClicks | csFixedHeight | csReflector;
    FTabStop = true;
    FColor = clWindow;
    SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() = default;

QComboBox* TCustomComboBox::Combo() const
{
    return qobject_cast<QComboBox*>(WidgetIfAllocated());
}

QWidget* TCustomComboBox::CreateWidget()
{
    auto* w = Own_Mouse(new TQComboBox(this));
    w->setEditable(FStyle != csDropDownList);
    w->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(w, qOverload<int>(&QComboBox::activated), w,
        [this](int i) { controls_private::UserAction(this, [&] { UserSelected(i); }); });
    return w;
}

void TCustomComboBox::CreateWnd()
{
    TWinControl::CreateWnd();
    QComboBox* c = Combo();
    if (!c)
        return;
    ++FInternal;
    c->setEditable(FStyle != csDropDownList);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMaxVisibleItems(std::max(1, FDropDownCount));
    // The items and the selection set before the widget existed.
    const bool wasWaiting = std::exchange(FWaitingState, false);
    if (wasWaiting) {
        c->addItems(std::exchange(FItems->FWaiting, {}));
        c->setCurrentIndex(FWaitingIndex);
    }
    if (QLineEdit* e = c->lineEdit()) {
        e->setMaxLength(Widget_Max_Length);
        // A list item is shown whole, whatever the limit.
        if (!e->validator())
            e->setValidator(new TMaxLengthValidator(
                { [this] { return FMaxLength; }, [this] { return FText; },
                    [this](const QString& text) { return FInternal > 0 || FItems->IndexOf(text) >= 0; } },
                e));
        QObject::disconnect(e, &QLineEdit::textEdited, nullptr, nullptr);
        QObject::connect(
            e, &QLineEdit::textEdited, e, [this] { controls_private::UserAction(this, [&] { UserEdited(); }); });
        AttachInputWidget(e);
        if (c->currentIndex() < 0 || (wasWaiting && c->currentText() != FText))
            e->setText(FText);
    }
    --FInternal;
    ApplyItemHeight();
    ApplyColor();
    FitEditField();
}

int TCustomComboBox::ItemHeight() const
{
    if (FItemHeight > 0)
        return FItemHeight;
    auto* c = qobject_cast<QComboBox*>(const_cast<TCustomComboBox*>(this)->StateWidget());
    QStyleOptionViewItem option;
    option.initFrom(c->view());
    option.font = c->font();
    return c->itemDelegate()->sizeHint(option, QModelIndex()).height();
}

void TCustomComboBox::SetItemHeight(int v)
{
    v = std::max(0, v);
    if (v == FItemHeight)
        return;
    FItemHeight = v;
    ApplyItemHeight();
}

void TCustomComboBox::ApplyItemHeight()
{
    QComboBox* c = Combo();
    if (!c)
        return;
    // The combo box frees the delegate it replaces.
    if (FItemHeight > 0)
        c->setItemDelegate(new TItemHeightDelegate(FItemHeight, c));
    else if (dynamic_cast<TItemHeightDelegate*>(c->itemDelegate()))
        c->setItemDelegate(new QStyledItemDelegate(c));
}

void TCustomComboBox::FitEditField()
{
    auto* c = dynamic_cast<TQComboBox*>(Combo());
    if (const int right = EditFieldRight(); c && right >= 0)
        c->FitEditField(right);
}

void TCustomComboBox::SetDroppedWidth(int v)
{
    FDroppedWidth = std::max(0, v);
}

void TCustomComboBox::ApplyColor()
{
    if (QWidget* w = WidgetIfAllocated()) {
        controls_private::SetPaletteColors(w, QPalette::Base, Color(), Font()->Color(), false);
        if (QComboBox* c = Combo(); c && c->lineEdit())
            controls_private::SetPaletteColors(c->lineEdit(), QPalette::Base, Color(), Font()->Color(), false);
    }
}

void TCustomComboBox::SetStyle(TComboBoxStyle v)
{
    if (FStyle == v)
        return;
    const QString text = GetText();
    FStyle = v;
    if (FItems->WaitingCombo()) {
        // Made editable, the edit shows what the list showed.
        FText = text;
        return;
    }
    if (QComboBox* c = Combo()) {
        ++FInternal;
        const int index = c->currentIndex();
        c->setEditable(v != csDropDownList);
        c->setCurrentIndex(index);
        if (v != csDropDownList && index < 0)
            c->setEditText(text);
        --FInternal;
        CreateWnd();
    }
}

int TCustomComboBox::ItemIndex() const
{
    if (FItems->WaitingCombo()) {
        const QStringList& items = FItems->FWaiting;
        if (FStyle == csDropDownList || (FWaitingIndex >= 0 && items[FWaitingIndex] == FText))
            return FWaitingIndex;
        return int(items.indexOf(FText));
    }
    QComboBox* c = qobject_cast<QComboBox*>(const_cast<TCustomComboBox*>(this)->StateWidget());
    const int cur = c->currentIndex();
    if (FStyle == csDropDownList)
        return cur;
    // The edit may hold any text: the item is the one it shows, if any.
    const QString text = c->currentText();
    if (cur >= 0 && c->itemText(cur) == text)
        return cur;
    return c->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void TCustomComboBox::SetItemIndex(int v)
{
    if (FItems->WaitingCombo()) {
        if (v < -1 || v >= FItems->Count())
            v = -1;
        FWaitingIndex = v;
        FText = v >= 0 ? FItems->FWaiting[v] : QString();
        return;
    }
    QComboBox* c = qobject_cast<QComboBox*>(StateWidget());
    if (v < -1 || v >= c->count())
        v = -1;
    ++FInternal;
    c->setCurrentIndex(v);
    if (v < 0 && c->lineEdit())
        c->lineEdit()->clear();
    --FInternal;
    FText = GetText();
}

QString TCustomComboBox::GetText() const
{
    if (QComboBox* c = Combo())
        return c->currentText();
    if (FStyle == csDropDownList && FItems->WaitingCombo())
        return FWaitingIndex >= 0 ? FItems->FWaiting[FWaitingIndex] : QString();
    return FText;
}

void TCustomComboBox::SetText(const QString& v)
{
    if (FItems->WaitingCombo()) {
        if (FStyle != csDropDownList)
            FText = v;
        else if (v.isEmpty())
            FWaitingIndex = -1;
        else if (const int i = FItems->IndexOf(v); i >= 0)
            FWaitingIndex = i;
        FText = GetText();
        return;
    }
    QComboBox* c = qobject_cast<QComboBox*>(StateWidget());
    ++FInternal;
    if (FStyle == csDropDownList) {
        // Only a text of the list can be shown.
        if (v.isEmpty())
            c->setCurrentIndex(-1);
        else if (const int i = FItems->IndexOf(v); i >= 0)
            c->setCurrentIndex(i);
    } else {
        c->setEditText(v);
    }
    --FInternal;
    FText = GetText();
}

void TCustomComboBox::SetDropDownCount(int v)
{
    FDropDownCount = v;
    if (QComboBox* c = Combo())
        c->setMaxVisibleItems(std::max(1, v));
}

void TCustomComboBox::SetMaxLength(int v)
{
    FMaxLength = std::max(0, v);
}

bool TCustomComboBox::DroppedDown() const
{
    QComboBox* c = Combo();
    return c && c->view() && c->view()->isVisible();
}

void TCustomComboBox::SetDroppedDown(bool v)
{
    QComboBox* c = qobject_cast<QComboBox*>(Widget());
    if (v && !DroppedDown())
        c->showPopup();
    else if (!v && DroppedDown())
        c->hidePopup();
}

void TCustomComboBox::Clear()
{
    FItems->Clear();
    SetItemIndex(-1);
}

int TCustomComboBox::CharFromPos(TPoint p) const
{
    QComboBox* c = Combo();
    if (!c || !c->lineEdit())
        return -1;
    QLineEdit* e = c->lineEdit();
    return e->cursorPositionAt(e->mapFrom(c, QPoint(p.X, p.Y)));
}

int TCustomComboBox::SelStart() const
{
    QComboBox* c = Combo();
    if (!c || !c->lineEdit())
        return 0;
    QLineEdit* e = c->lineEdit();
    return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TCustomComboBox::SetSelStart(int v)
{
    if (QComboBox* c = qobject_cast<QComboBox*>(StateWidget()); c->lineEdit())
        c->lineEdit()->setCursorPosition(v);
}

int TCustomComboBox::SelLength() const
{
    QComboBox* c = Combo();
    return c && c->lineEdit() ? int(c->lineEdit()->selectedText().size()) : 0;
}

void TCustomComboBox::SetSelLength(int v)
{
    if (QComboBox* c = qobject_cast<QComboBox*>(StateWidget()); c->lineEdit())
        c->lineEdit()->setSelection(SelStart(), v);
}

void TCustomComboBox::SelectAll()
{
    if (QComboBox* c = qobject_cast<QComboBox*>(StateWidget()); c->lineEdit())
        c->lineEdit()->selectAll();
}

void TCustomComboBox::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
        // Enter and Esc close an open list instead of reaching the form.
        if (DroppedDown())
            Message.Result |= DLGC_WANTALLKEYS;
        return;
    }
    TWinControl::WndProc(Message);
}

void TCustomComboBox::UserEdited()
{
    if (FInternal)
        return;
    FText = GetText();
    Change();
}

void TCustomComboBox::UserSelected(int index)
{
    if (FInternal || index < 0)
        return;
    FText = GetText();
    Click();
    Select();
}

void TCustomComboBox::PopupShowing()
{
    DropDown();
}
void TCustomComboBox::PopupHidden()
{
    CloseUp();
}

void TCustomComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

// ---------------------------------------------------------------------------
// Button controls

TButtonControl::TButtonControl(TComponent* AOwner)
    : TWinControl(AOwner)
{
    // The widget reports clicks itself; the mouse path must not add a second.
    FControlStyle = TControlStyle(csSetCaption) | csDoubleClicks;
    FTabStop = true;
}

QAbstractButton* TButtonControl::Button() const
{
    return qobject_cast<QAbstractButton*>(WidgetIfAllocated());
}

void TButtonControl::SetAlignment(TAlignment v)
{
    FAlignment = v;
    if (QAbstractButton* b = Button())
        b->setLayoutDirection(v == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TButtonControl::SetText(const QString& v)
{
    TWinControl::SetText(v);
    if (QAbstractButton* b = Button())
        b->setText(v);
}

void TButtonControl::CreateWnd()
{
    TWinControl::CreateWnd();
    if (QAbstractButton* b = Button()) {
        b->setText(FText);
        b->setLayoutDirection(FAlignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
    }
    ApplyColor();
}

void TButtonControl::ApplyColor()
{
    if (QWidget* w = WidgetIfAllocated())
        controls_private::SetPaletteColors(w, QPalette::Window, Color(), Font()->Color(), false);
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner)
    : TButtonControl(AOwner)
{
    FParentColor = true;
    SetBounds(0, 0, 97, 17);
}

QWidget* TCustomCheckBox::CreateWidget()
{
    return Own_Mouse(new TQCheckBox(this));
}

void TCustomCheckBox::CreateWnd()
{
    TButtonControl::CreateWnd();
    if (auto* b = qobject_cast<QCheckBox*>(Button()))
        b->setCheckState(FState == cbChecked ? Qt::Checked : FState == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
}

void TCustomCheckBox::SetState(TCheckBoxState v)
{
    if (FState == v)
        return;
    FState = v;
    if (auto* b = qobject_cast<QCheckBox*>(Button()))
        b->setCheckState(v == cbChecked ? Qt::Checked : v == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    if (!ClicksDisabled())
        Click();
}

void TCustomCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked:
        SetState(FAllowGrayed ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

TRadioButton::TRadioButton(TComponent* AOwner)
    : TButtonControl(AOwner)
{
    FParentColor = true;
    SetBounds(0, 0, 113, 17);
}

QWidget* TRadioButton::CreateWidget()
{
    return Own_Mouse(new TQRadioButton(this));
}

void TRadioButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    if (QAbstractButton* b = Button())
        b->setChecked(FChecked);
}

void TRadioButton::SetChecked(bool v)
{
    if (FChecked == v)
        return;
    FChecked = v;
    FTabStop = v;
    if (QAbstractButton* b = Button())
        b->setChecked(v);
    if (!v)
        return;
    // One checked button per parent.
    if (TWinControl* p = Parent())
        for (int i = 0; i < p->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TRadioButton*>(p->Controls(i)); r && r != this)
                r->SetChecked(false);
    if (!ClicksDisabled())
        Click();
}

void TRadioButton::Toggle()
{
    if (!FChecked)
        SetChecked(true);
}

// ---------------------------------------------------------------------------
// List box

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner)
    , FItems(std::make_unique<TControlItems>(this))
{
    FControlStyle = TControlStyle(csSetCaption) | csDoubleClicks | csOpaque;
    FTabStop = true;
    FColor = clWindow;
    SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

QListWidget* TCustomListBox::List() const
{
    return qobject_cast<QListWidget*>(WidgetIfAllocated());
}

QWidget* TCustomListBox::CreateWidget()
{
    auto* w = new QListWidget();
    w->setUniformItemSizes(true);
    QObject::connect(w, &QListWidget::itemSelectionChanged, w,
        [this] { controls_private::UserAction(this, [&] { UserSelectionChanged(); }); });
    return w;
}

void TCustomListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    if (QListWidget* l = List()) {
        l->setSelectionMode(FMultiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
        AttachInputWidget(l->viewport());
    }
    ApplyColor();
}

void TCustomListBox::ApplyColor()
{
    if (QWidget* w = WidgetIfAllocated())
        controls_private::SetPaletteColors(w, QPalette::Base, Color(), Font()->Color(), false);
}

void TCustomListBox::SetMultiSelect(bool v)
{
    FMultiSelect = v;
    if (QListWidget* l = List())
        l->setSelectionMode(v ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void TCustomListBox::SetSorted(bool v)
{
    FSorted = v;
    if (v) {
        ++FInternal;
        qobject_cast<QListWidget*>(StateWidget())->sortItems();
        --FInternal;
    }
}

int TCustomListBox::ItemIndex() const
{
    QListWidget* l = qobject_cast<QListWidget*>(const_cast<TCustomListBox*>(this)->StateWidget());
    if (!FMultiSelect) {
        const auto sel = l->selectedItems();
        return sel.isEmpty() ? -1 : l->row(sel.first());
    }
    return l->currentRow();
}

void TCustomListBox::SetItemIndex(int v)
{
    QListWidget* l = qobject_cast<QListWidget*>(StateWidget());
    if (v < -1 || v >= l->count())
        v = -1;
    ++FInternal;
    if (v < 0) {
        l->clearSelection();
        l->setCurrentRow(-1);
    } else {
        l->setCurrentRow(v, FMultiSelect ? QItemSelectionModel::Current : QItemSelectionModel::ClearAndSelect);
    }
    --FInternal;
}

bool TCustomListBox::Selected(int index) const
{
    QListWidget* l = qobject_cast<QListWidget*>(const_cast<TCustomListBox*>(this)->StateWidget());
    if (index < 0 || index >= l->count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return l->item(index)->isSelected();
}

void TCustomListBox::SetSelected(int index, bool v)
{
    QListWidget* l = qobject_cast<QListWidget*>(StateWidget());
    if (index < 0 || index >= l->count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    ++FInternal;
    if (!FMultiSelect && v)
        l->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    else
        l->item(index)->setSelected(v);
    --FInternal;
}

int TCustomListBox::SelCount() const
{
    if (!FMultiSelect)
        return -1;
    return int(qobject_cast<QListWidget*>(const_cast<TCustomListBox*>(this)->StateWidget())->selectedItems().size());
}

int TCustomListBox::TopIndex() const
{
    QListWidget* l = List();
    if (!l)
        return 0;
    const QModelIndex i = l->indexAt(QPoint(1, 1));
    return i.isValid() ? i.row() : 0;
}

void TCustomListBox::SetTopIndex(int v)
{
    QListWidget* l = qobject_cast<QListWidget*>(StateWidget());
    if (v >= 0 && v < l->count())
        l->scrollToItem(l->item(v), QAbstractItemView::PositionAtTop);
}

void TCustomListBox::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
        return;
    }
    TWinControl::WndProc(Message);
}

void TCustomListBox::UserSelectionChanged()
{
    if (FInternal)
        return;
    Click();
}

// ---------------------------------------------------------------------------
// Push button

TButton::TButton(TComponent* AOwner)
    : TButtonControl(AOwner)
{
    SetBounds(0, 0, 75, 25);
}

QWidget* TButton::CreateWidget()
{
    auto* w = Own_Mouse(new QPushButton());
    w->setAutoDefault(false);
    QObject::connect(w, &QPushButton::clicked, w, [this] { controls_private::UserAction(this, [&] { Click(); }); });
    return w;
}

void TButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    if (auto* b = qobject_cast<QPushButton*>(Button()))
        b->setDefault(FDefault);
}

void TButton::SetDefault(bool v)
{
    FDefault = v;
    if (auto* b = qobject_cast<QPushButton*>(Button()))
        b->setDefault(v);
}

void TButton::Click()
{
    // The form learns the result before OnClick runs, so a handler can
    // still change it.
    if (TCustomForm* f = GetParentForm(this))
        f->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_BUTTON | (FDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        return;
    }
    if (Message.Msg == CM_DIALOGKEY) {
        const WPARAM key = Message.WParam;
        // Enter presses the focused button, else the default one.
        bool active = FDefault;
        if (TCustomForm* f = GetParentForm(this))
            if (dynamic_cast<TButton*>(f->FocusedControl()))
                active = f->FocusedControl() == this;
        if (((key == VK_RETURN && active) || (key == VK_ESCAPE && FCancel)) && CanFocus()) {
            Click();
            Message.Result = 1;
            return;
        }
    }
    TButtonControl::WndProc(Message);
}

// The control's colours for the enabled look; a disabled control keeps its
// background and shows its text in the system's grey, whatever its font colour.
void controls_private::SetPaletteColors(QWidget* w, QPalette::ColorRole back, TColor color, TColor text, bool fill)
{
    QPalette pal = w->palette();
    const QPalette::ColorRole textRoles[] = { QPalette::Text, QPalette::WindowText, QPalette::ButtonText };
    if (color != clNone && color != clDefault)
        pal.setColor(back, ColorToQColor(color));
    if (text != clNone && text != clDefault) {
        for (QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive })
            for (QPalette::ColorRole role : textRoles)
                pal.setColor(group, role, ColorToQColor(text));
    }
    for (QPalette::ColorRole role : textRoles)
        pal.setColor(QPalette::Disabled, role, ColorToQColor(clGrayText));
    w->setPalette(pal);
    w->setAutoFillBackground(fill);
}
