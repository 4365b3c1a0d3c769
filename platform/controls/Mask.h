#pragma once
// The masked edit and its mask engine.
//
// Mask syntax: "<mask>[;<save literals>[;<blank char>]]"
//   0 digit, required        9 digit, optional
//   L letter, required       l letter, optional
//   A letter/digit, required a letter/digit, optional
//   C any character, required c any character, optional
//   # digit or sign, optional
//   > upper case from here   < lower case from here   <> no case change
//   \ next character is a literal   _ a literal blank
//   : and / the time and date separators   ! fill optional slots from the right
// Every other character is a literal. The second field "0" keeps literals out
// of Text; the third field is the blank character shown in empty slots ("_").

#include <QChar>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "platform/controls/StdCtrls.h"
#include "platform/runtime/Exceptions.h"

MORV_DECLARE_EXCEPTION(EDBEditError, Exception)

// One position of the edit text.
struct TMaskSlot {
    enum class Kind : std::uint8_t { Literal, Digit, DigitOrSign, Letter, AlphaNum, AnyChar };
    enum class Case : std::uint8_t { Keep, Upper, Lower };
    Kind kind = Kind::Literal;
    bool required = false;
    Case caseConv = Case::Keep;
    QChar literal; // the character a literal slot always shows
};

// A parsed edit mask: maps between the edit text (one character per slot,
// literals in place, the blank character in empty slots) and Text (what the
// program reads and writes).
class TEditMaskFormat {
public:
    TEditMaskFormat() = default;
    explicit TEditMaskFormat(const QString& editMask);

    const QString& Mask() const { return FMask; }
    bool IsMasked() const { return !FSlots.empty(); }
    int Length() const { return int(FSlots.size()); }
    bool SaveLiterals() const { return FSaveLiterals; }
    QChar BlankChar() const { return FBlank; }
    bool ReverseFill() const { return FReverse; }
    const TMaskSlot& Slot(int i) const { return FSlots[std::size_t(i)]; }
    bool IsInput(int i) const
    {
        return i >= 0 && i < Length() && FSlots[std::size_t(i)].kind != TMaskSlot::Kind::Literal;
    }

    // The character stored at slot i when c is typed there (case rule
    // applied), or a null QChar when the slot refuses it.
    QChar Accept(int i, QChar c) const;

    // The edit text with nothing entered.
    QString EmptyEditText() const;
    // Slot by slot: literals forced, characters a slot refuses become blanks,
    // missing slots blank, extra characters dropped.
    QString NormalizeEditText(const QString& editText) const;
    // Text of an edit text: with saved literals the edit text with blanks as
    // spaces; without, only the entered characters, unfilled slots at the
    // fill end dropped and inner ones as spaces.
    QString TextOf(const QString& editText) const;
    // The edit text for a Text value: characters fill the slots from the left
    // (from the right with "!"); a literal in the value is matched against the
    // mask, so "12.5" fills "999.999" as "12_.5__".
    QString EditTextOf(const QString& text) const;

    // First slot that is required but blank, or holds a character the slot
    // refuses; -1 when the edit text is complete.
    int FirstInvalid(const QString& editText) const;
    // First input slot at or after `from`; Length() when there is none.
    int NextInput(int from) const;
    // Last input slot before `before`; -1 when there is none.
    int PrevInput(int before) const;

    // Editing in overwrite mode, as the masked edit types. `sel` is the
    // selection (start, length) and becomes the new caret.
    struct TEdit {
        QString editText;
        int selStart = 0;
        int selLength = 0;
    };
    // Types c at the caret (over the selection): a literal typed on its own
    // slot steps over it; false, and nothing changed, when refused.
    bool TypeChar(TEdit& e, QChar c) const;
    // Backspace: blanks the selection, else the input slot before the caret.
    void Backspace(TEdit& e) const;
    // Delete: blanks the selection, else the input slot at the caret.
    void DeleteChar(TEdit& e) const;

private:
    QString FMask;
    std::vector<TMaskSlot> FSlots;
    bool FSaveLiterals = true;
    QChar FBlank = QLatin1Char('_');
    bool FReverse = false;
};

// An edit whose text follows an edit mask. Without a mask it is a plain edit.
// The widget shows the edit text; typing overwrites slot by slot, skipping
// literals, and refuses characters a slot does not take.
class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TMaskEdit"); }

    const QString& EditMask() const { return FFormat.Mask(); }
    // Re-shapes the current Text to the new mask.
    void SetEditMask(const QString& v);
    bool IsMasked() const { return FFormat.IsMasked(); }
    const TEditMaskFormat& MaskFormat() const { return FFormat; }

    // The text as shown: literals in place, the blank character in empty slots.
    QString EditText() const { return RawText(); }
    void SetEditText(const QString& v);
    QString GetText() const override;
    void SetText(const QString& v) override;
    // Through the mask, as if typed.
    void SetSelText(const QString& v) override;
    void CutToClipboard() override;
    void PasteFromClipboard() override;

    // Raises EDBEditError (through ValidateError), caret on the first slot
    // that is missing or wrong, when the edit text does not fill the mask.
    virtual void ValidateEdit();

protected:
    void CreateWnd() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void DoEnter() override;
    void DoExit() override;
    virtual void ValidateError();
    // Applies an engine edit to the widget as the user's change.
    void ApplyEdit(const TEditMaskFormat::TEdit& e);
    TEditMaskFormat::TEdit CurrentEdit() const;
    void PasteMasked(const QString& text);

private:
    TEditMaskFormat FFormat;
    QString FOldValue;
    bool FTypedSinceEnter = false;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
};
