#pragma once
// The rich edit control: formatted text in a QTextEdit, loaded from and saved
// as RTF (RtfCodec.h). The text lives in the control's own document, so a
// hidden rich edit that only converts or measures needs no window.
//
// Positions (SelStart, SelLength) count a paragraph break as one character,
// as the toolkit's rich edit does. The plain text (Text, Lines) gives
// paragraphs and line breaks as CR LF.

#include <QString>
#include <functional>
#include <memory>

#include "platform/controls/Controls.h"
#include "platform/controls/RtfCodec.h"
#include "platform/controls/StdCtrls.h"
#include "platform/runtime/Classes.h"

class QTextEdit;
class QTextDocument;
class QTextCursor;
class QTextCharFormat;
class TCustomRichEdit;

// The paragraphs of a rich edit as plain lines; changing a line gives its
// paragraph the look of the control's font.
class TRichEditStrings : public TStrings {
public:
    explicit TRichEditStrings(TCustomRichEdit* edit)
        : FEdit(edit)
    {
    }
    int Count() const override;
    QString Get(int Index) const override;
    void Put(int Index, const QString& S) override;
    void Insert(int Index, const QString& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void SetText(const QString& Value) override;

private:
    QStringList Lines() const;
    void SetLines(const QStringList& lines);
    TCustomRichEdit* FEdit;
};

// The rectangle (0, 0, width, height) the content asks for.
using TRichEditResizeEvent = std::function<void(TObject* Sender, const TRect& Rect)>;

class TCustomRichEdit : public TWinControl {
public:
    explicit TCustomRichEdit(TComponent* AOwner);
    ~TCustomRichEdit() override;
    QString ClassName() const override { return QStringLiteral("TRichEdit"); }

    // Plain text. Setting it gives the whole text the control's font.
    QString GetText() const override;
    void SetText(const QString& v) override;
    TStrings* Lines() const { return FLines.get(); }
    void Clear();

    // RTF when the bytes start with "{\rtf", else plain text (Windows-1252,
    // or as a byte-order mark says); the stream is read from its position to
    // its end.
    void LoadFromStream(TStream* Stream);
    // The content as an RTF document, written at the stream's position.
    void SaveToStream(TStream* Stream) const;
    // The same from and to text: an RTF text is read as it stands (its
    // characters beyond 8 bits kept), any other text is plain.
    void LoadFromText(const QString& Text);
    QByteArray RtfText() const;
    // The content as the codec's model, and from one.
    TRtfDocument Document() const;
    void SetDocument(const TRtfDocument& Doc);

    // Selection: the caret is SelStart when SelLength is 0.
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    QString SelText() const;
    // Replaces the selection (or inserts at the caret) in the selection's look.
    void SetSelText(const QString& v);
    void SelectAll();

    // The look of the selection: read from its first character (the look of
    // the next typed character when nothing is selected), written to every
    // selected character (the next typed one when nothing is selected).
    // clNone: the automatic colour.
    TColor SelColor() const;
    void SetSelColor(TColor v);
    // The vertical offset in twips: +40 is the toolkit's superscript, -40
    // its subscript.
    int SelOffset() const;
    void SetSelOffset(int Twips);
    bool SelBold() const;
    void SetSelBold(bool v);

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    // Whether the selection is drawn while the control has no focus.
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v);

    // The size the content asks for: the control's width when it wraps
    // words, else the widest line; the height of all lines; with the border.
    TSize ContentSize() const;
    // Reports the size now (OnResizeRequest), changed or not.
    void RequestSize();

    // Draws the content into a rectangle given in twips, at the canvas'
    // resolution, wrapping lines at its width and clipped to it. Returns the
    // height the whole content takes at that width, in twips.
    int DrawTo(TCanvas* Canvas, const TRect& TwipsRect) const;

    void WndProc(TMessage& Message) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelectionChange;
    // Whenever the size the content asks for changes (and on RequestSize).
    TRichEditResizeEvent OnResizeRequest;

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;
    void ApplyFont() override;
    void ApplyColor() override;
    void BoundsChanged(const TRect& oldBounds) override;
    virtual void Change();
    virtual void SelectionChange();
    // The content asks for Rect: OnResizeRequest.
    virtual void RequestResize(const TRect& Rect);
    QTextEdit* TextEditWidget() const;

private:
    friend class TRichEditStrings;
    QTextCursor Cursor() const;
    void SetCursor(const QTextCursor& c);
    // Applies a change to the look of every selected character, or to the
    // look of the next typed one.
    void ChangeSelFormat(const std::function<void(QTextCharFormat&)>& Change);
    QTextCharFormat SelFormat() const;
    QTextCharFormat FontFormat() const;
    // Fills the emptied document, then reports the change once.
    void Reload(const std::function<void(QTextCursor&)>& Fill);
    void SetPlain(const QString& Text);
    int FrameWidth() const;
    void ApplyTextWidth();
    void SizeMaybeChanged();

    struct TPrivate;
    std::unique_ptr<QTextDocument> FDocument;
    // Where the selection is while the control has no widget.
    std::unique_ptr<QTextCursor> FCursor;
    std::unique_ptr<TRichEditStrings> FLines;
    std::unique_ptr<TPrivate> FPrivate;
    bool FWordWrap = true;
    TBorderStyle FBorderStyle = bsSingle;
    bool FReadOnly = false;
    TScrollStyle FScrollBars = ssNone;
    bool FHideSelection = true;
    TSize FReportedSize { -1, -1 };
    int FLoading = 0;
};

class TRichEdit : public TCustomRichEdit {
public:
    using TCustomRichEdit::TCustomRichEdit;
};
