#pragma once
// The spin edit: an edit holding an integer, a decimal number, a date or a
// time inside limits, stepped by a pair of repeating buttons, the Up and Down
// keys and Page Up and Page Down. Numbers and dates follow the run-time
// locale settings (FormatSettings). The grid's spin editor derives from it.

#include <QString>
#include <memory>

#include "controls/grid/EsgButtonBox.h"
#include "controls/grid/EsgButtonEdit.h"
#include "platform/controls/Buttons.h"
#include "platform/runtime/Types.h"

class TTimer;

enum TSpinDirection { spVertical, spHorizontal };
enum class TEsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TEditAlign { eaLeft, eaRight, eaCenter };
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };

enum TTimeBtnStateFlag : unsigned { tbFocusRect = 0x1, tbAllowTimer = 0x2 };
Q_DECLARE_FLAGS(TTimeBtnState, TTimeBtnStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TTimeBtnState)

class TEsgSpinButton;

// One button of the pair; it clicks again and again while held down.
class TExTimerSpeedButton : public TSpeedButton {
public:
    explicit TExTimerSpeedButton(TComponent* AOwner);
    ~TExTimerSpeedButton() override;
    QString ClassName() const override { return QStringLiteral("TExTimerSpeedButton"); }

    TTimeBtnState TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(TTimeBtnState v) { FTimeBtnState = v; }
    TButtonDirection ButtonDirection() const { return FButtonDirection; }
    void SetButtonDirection(TButtonDirection v);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    bool HasMouse() const { return Hot(); }
    // The repeat timer, made on the first press (nullptr before).
    TTimer* RepeatTimer() const { return FRepeatTimer; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void TimerExpired(TObject* Sender);
    TEsgSpinButton* Pair() const;

    TTimer* FRepeatTimer = nullptr;
    TTimeBtnState FTimeBtnState;
    TButtonDirection FButtonDirection = bdUp;
    bool FIsWinXP = false;
};

// The button pair: up and down (or right and left).
class TEsgSpinButton : public TEsgButtonBox {
public:
    explicit TEsgSpinButton(TComponent* AOwner);
    ~TEsgSpinButton() override;
    QString ClassName() const override { return QStringLiteral("TEsgSpinButton"); }

    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection v);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);

    TBitmap* UpGlyph() const { return FUpButton->Glyph(); }
    void SetUpGlyph(const TBitmap* v);
    TBitmap* DownGlyph() const { return FDownButton->Glyph(); }
    void SetDownGlyph(const TBitmap* v);
    int UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
    void SetUpNumGlyphs(int v) { FUpButton->SetNumGlyphs(v); }
    int DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
    void SetDownNumGlyphs(int v) { FDownButton->SetNumGlyphs(v); }

    TExTimerSpeedButton* UpButton() const { return FUpButton; }
    TExTimerSpeedButton* DownButton() const { return FDownButton; }
    TExTimerSpeedButton* FocusedButton() const { return FFocusedButton; }

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

    void WndProc(TMessage& Message) override;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void BoundsChanged(const TRect& oldBounds) override;
    void DoEnter() override;
    void DoExit() override;

private:
    TExTimerSpeedButton* CreateButton();
    void BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BtnClick(TObject* Sender);
    void SetFocusBtn(TExTimerSpeedButton* Btn);
    void AdjustSize(int& W, int& H);

    TExTimerSpeedButton* FUpButton = nullptr;
    TExTimerSpeedButton* FDownButton = nullptr;
    TExTimerSpeedButton* FFocusedButton = nullptr;
    TSpinDirection FDirection = spVertical;
    bool FIsWinXP = false;
    bool FAdjusting = false;
};

class TEsgSpinEdit : public TEsgButtonEdit {
public:
    explicit TEsgSpinEdit(TComponent* AOwner);
    ~TEsgSpinEdit() override;
    QString ClassName() const override { return QStringLiteral("TEsgSpinEdit"); }

    TEsgSpinButton* Button() const { return FButton; }

    // The value, read from and written to the text (writes are clamped).
    int Value();
    void SetValue(int v);
    double FloatValue();
    void SetFloatValue(double v);
    TDateTime DateValue();
    void SetDateValue(TDateTime v);
    TDateTime TimeValue();
    void SetTimeValue(TDateTime v);

    // Limits; a kind's two equal limits mean no limit.
    int MinValue() const { return FMinValue; }
    void SetMinValue(int v) { FMinValue = v; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int v) { FMaxValue = v; }
    double MinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double v) { FMinFloatValue = v; }
    double MaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double v) { FMaxFloatValue = v; }
    TDateTime MinDateValue() const { return FMinDateValue; }
    void SetMinDateValue(TDateTime v) { FMinDateValue = v; }
    TDateTime MaxDateValue() const { return FMaxDateValue; }
    void SetMaxDateValue(TDateTime v) { FMaxDateValue = v; }

    int Increment() const { return FIncrement; }
    void SetIncrement(int v) { FIncrement = v; }
    double IncrementFloat() const { return FIncrementFloat; }
    void SetIncrementFloat(double v) { FIncrementFloat = v; }
    double IncrementFloatPage() const { return FIncrementFloatPage; }
    void SetIncrementFloatPage(double v) { FIncrementFloatPage = v; }
    // Time steps; each is kept inside a time of day (0..23 hours, 0..59
    // minutes and seconds).
    int IncrementHours() const { return FIncrementHours; }
    void SetIncrementHours(int v);
    int IncrementMinutes() const { return FIncrementMinutes; }
    void SetIncrementMinutes(int v);
    int IncrementSeconds() const { return FIncrementSeconds; }
    void SetIncrementSeconds(int v);

    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection v);
    TEsgSpinType SpinType() const { return FSpinType; }
    void SetSpinType(TEsgSpinType v);
    int Precision() const { return FPrecision; }
    void SetPrecision(int v);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool v) { FReturnIsTab = v; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool v) { FExcelStyleDecimalSeparator = v; }
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool v) { FShowSeconds = v; }
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign v);
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool v);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool v);
    // Read by the grid's store, not by the control.
    bool AllowEmptyValue() const { return FAllowEmptyValue; }
    void SetAllowEmptyValue(bool v) { FAllowEmptyValue = v; }
    // Whether the short date format puts the month first, as the last date
    // step found it.
    bool UsDates() const { return FUsDates; }

    virtual void StepUp(bool Page);
    virtual void StepDown(bool Page);
    virtual bool AcceptsChar(char16_t Key);

    int MinHeight() override;

    void WndProc(TMessage& Message) override;

protected:
    void Loaded() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void DoExit() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetEditRect() override;

private:
    void UpClick(TObject* Sender);
    void DownClick(TObject* Sender);
    void StepDate(int Sign);
    void StepTime(int Sign);
    int ClampInt(int v) const;
    double ClampFloat(double v) const;
    TDateTime ClampDate(TDateTime v) const;
    QString TimeText(TDateTime v) const;

    int FMinValue = 0;
    int FMaxValue = 100;
    double FMinFloatValue = 0.0;
    double FMaxFloatValue = 100.0;
    TDateTime FMinDateValue = 0;
    TDateTime FMaxDateValue = 0;
    TDateTime FDateValue = 0;
    TDateTime FTimeValue = 0;
    int FIncrement = 1;
    double FIncrementFloat = 0.1;
    TEsgSpinButton* FButton = nullptr;
    TSpinDirection FDirection = spVertical;
    TEsgSpinType FSpinType = TEsgSpinType::sptNormal;
    int FPrecision = 0;
    bool FReturnIsTab = false;
    bool FIsWinXP = false;
    bool FExcelStyleDecimalSeparator = false;
    bool FUsDates = false;
    bool FShowSeconds = true;
    int FIncrementSeconds = 1;
    int FIncrementMinutes = 1;
    int FIncrementHours = 1;
    TEditAlign FEditAlign = eaLeft;
    bool FSpinFlat = false;
    bool FSpinTransparent = false;
    bool FAllowEmptyValue = false;
    double FIncrementFloatPage = 1.0;
};
