#pragma once
// Page control with tab sheets, track bar, progress bar and date-time picker.

#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "platform/controls/Controls.h"

class QTabBar;
class QSlider;
class QProgressBar;
class QDateTimeEdit;
class QCheckBox;

class TPageControl;

// ---------------------------------------------------------------------------
// Page control

// One page of a page control; its caption is the tab's text.
class TTabSheet : public TCustomControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    QString ClassName() const override { return QStringLiteral("TTabSheet"); }

    TPageControl* PageControl() const { return FPageControl; }
    // Adds the sheet to a page control (last page) and parents it there.
    void SetPageControl(TPageControl* v);
    int PageIndex() const;
    void SetPageIndex(int v);
    // A hidden tab keeps its page in the list but shows no tab.
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool v);
    // Index among the shown tabs; -1 while the tab is hidden.
    int TabIndex() const;

    void SetParent(TWinControl* AParent) override;
    void SetText(const QString& v) override;

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    void Paint() override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};

class TPageControl : public TCustomControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;
    QString ClassName() const override { return QStringLiteral("TPageControl"); }

    int PageCount() const { return int(FPages.size()); }
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    // Showing a page by code fires no OnChange (the sheets' OnShow and OnHide
    // do fire).
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int v);
    // The next or previous page with a shown tab, wrapping around.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
    void SelectNextPage(bool goForward, bool checkTabVisible = true);
    // The area the pages fill.
    TRect DisplayRect() const;

    // The user picks a tab: OnChanging may refuse, then the page shows and
    // OnChange fires.
    void UserSelectedTab(int tabIndex);

    TNotifyEvent OnChange;
    std::function<void(TObject* Sender, bool& AllowChange)> OnChanging;

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;
    void Paint() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void BoundsChanged(const TRect& oldBounds) override;
    void WndProc(TMessage& Message) override;
    virtual void Change();
    virtual bool CanChange();
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void UpdateTabs();
    void PlacePages();
    int TabBarHeight() const;

private:
    friend class TTabSheet;
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    QTabBar* FTabBar = nullptr;
    int FInternal = 0;
};

// ---------------------------------------------------------------------------
// Track bar and progress bar

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TTrackBar"); }

    int Min() const { return FMin; }
    void SetMin(int v);
    int Max() const { return FMax; }
    void SetMax(int v);
    // Kept within Min..Max; every change of the position fires OnChange.
    int Position() const { return FPosition; }
    void SetPosition(int v);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int v);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int v);
    int LineSize() const { return FLineSize; }
    void SetLineSize(int v);
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation v);

    void WndProc(TMessage& Message) override;

    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;
    virtual void Changed();
    void WidgetMoved(int v);

private:
    QSlider* Slider() const;
    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
    int FFrequency = 1;
    int FPageSize = 2;
    int FLineSize = 1;
    TTrackBarOrientation FOrientation = trHorizontal;
    int FInternal = 0;
};

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TProgressBar"); }

    int Min() const { return FMin; }
    void SetMin(int v);
    int Max() const { return FMax; }
    void SetMax(int v);
    // Kept within Min..Max.
    int Position() const { return FPosition; }
    void SetPosition(int v);
    int Step() const { return FStep; }
    void SetStep(int v) { FStep = v; }
    void StepIt() { SetPosition(FPosition + FStep); }
    void StepBy(int delta) { SetPosition(FPosition + delta); }

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;

private:
    QProgressBar* Bar() const;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
};

// ---------------------------------------------------------------------------
// Date-time picker

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };

class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TDateTimePicker"); }

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind v);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode v);
    // The picker's own format letters: d dd ddd dddd, M MM MMM MMMM, y yy
    // yyyy, h hh (12 hours) H HH (24 hours), m mm, s ss, t tt, 'text'.
    // Empty: the short date, or the long time.
    const QString& Format() const { return FFormat; }
    void SetFormat(const QString& v);

    TDateTime DateTime() const { return FDateTime; }
    void SetDateTime(TDateTime v);
    // The date part; setting it keeps the time.
    TDateTime Date() const;
    void SetDate(TDateTime v);
    // The time part (fraction of a day); setting it keeps the date.
    TDateTime Time() const;
    void SetTime(TDateTime v);
    // 0: no limit.
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime v);
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime v);
    // A check box in the picker; while it is cleared the value is off.
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);

    // A picker format in Qt's display-format letters.
    static QString ToDisplayFormat(const QString& pickerFormat);

    // The calendar is open.
    bool DroppedDown() const;
    // The field (day, month, hour, ...) that takes the typed input, counted
    // from 0 in the order the format shows them; Right and Left move to the
    // next and the previous field, F4 and Alt+Down open the calendar.
    int CurrentField() const;
    void SetCurrentField(int v);
    int FieldCount() const;

    void WndProc(TMessage& Message) override;

    // The user changed the value: OnChange.
    TNotifyEvent OnChange;
    // The calendar opened and closed.
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    // Widget notifications.
    void CalendarShown();
    void CalendarHidden();
    // The editor painted itself: the picker's own drawing follows
    // (PaintAfterWidget, in the picker's client coordinates).
    void EditorPainted();

protected:
    QWidget* CreateWidget() override;
    void CreateWnd() override;
    void ApplyColor() override;
    void BoundsChanged(const TRect& oldBounds) override;
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();
    void WidgetChanged();
    QString EffectiveFormat() const;
    // The Qt editor inside the picker (nullptr before the window exists).
    QDateTimeEdit* Edit() const;

private:
    void PlaceChildren();
    void OpenCalendar();
    void WatchCalendar();
    TDateTimeKind FKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    QString FFormat;
    TDateTime FDateTime = 0;
    TDateTime FMinDate = 0;
    TDateTime FMaxDate = 0;
    bool FShowCheckbox = false;
    bool FChecked = true;
    QDateTimeEdit* FEdit = nullptr;
    QCheckBox* FCheck = nullptr;
    QPointer<QObject> FCalendarWatcher;
    bool FDroppedDown = false;
    int FInternal = 0;
};
