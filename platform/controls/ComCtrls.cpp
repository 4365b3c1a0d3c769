#include "platform/controls/ComCtrls.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QPalette>
#include <QProgressBar>
#include <QSlider>
#include <QTabBar>
#include <cmath>

#include "platform/controls/ControlsPrivate.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "platform/controls/Notifications.h"
#include "platform/runtime/DateUtils.h"
#include "platform/runtime/SysUtils.h"

// ---------------------------------------------------------------------------
// Tab sheet

TTabSheet::TTabSheet(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    FControlStyle |= csAcceptsControls;
    FColor = clBtnFace;
    FVisible = false;
}

TTabSheet::~TTabSheet()
{
    // Showing the next page runs its OnShow: nothing may leave a destructor.
    try {
        if (FPageControl)
            FPageControl->RemovePage(this);
    } catch (...) {
        HandleException(this);
    }
}

void TTabSheet::SetPageControl(TPageControl* v)
{
    if (FPageControl == v)
        return;
    SetParent(v);
}

void TTabSheet::SetParent(TWinControl* AParent)
{
    auto* pc = dynamic_cast<TPageControl*>(AParent);
    if (FPageControl && FPageControl != pc)
        FPageControl->RemovePage(this);
    TCustomControl::SetParent(AParent);
    if (pc && FPageControl != pc)
        pc->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl)
        return -1;
    const auto& p = FPageControl->FPages;
    return int(std::find(p.begin(), p.end(), this) - p.begin());
}

void TTabSheet::SetPageIndex(int v)
{
    if (FPageControl)
        FPageControl->MovePage(this, v);
}

int TTabSheet::TabIndex() const
{
    if (!FPageControl || !FTabVisible)
        return -1;
    int n = 0;
    for (TTabSheet* s : FPageControl->FPages) {
        if (s == this)
            return n;
        if (s->FTabVisible)
            ++n;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool v)
{
    if (FTabVisible == v)
        return;
    FTabVisible = v;
    if (!FPageControl)
        return;
    if (!v && FPageControl->ActivePage() == this)
        FPageControl->SetActivePage(FPageControl->FindNextPage(this, true, true));
    FPageControl->UpdateTabs();
}

void TTabSheet::SetText(const QString& v)
{
    TCustomControl::SetText(v);
    if (FPageControl)
        FPageControl->UpdateTabs();
}

void TTabSheet::Paint()
{
    Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

// ---------------------------------------------------------------------------
// Page control

TPageControl::TPageControl(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle(csDoubleClicks) | csOpaque;
    FTabStop = true;
    FColor = clBtnFace;
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl()
{
    for (TTabSheet* s : FPages)
        s->FPageControl = nullptr;
}

QWidget* TPageControl::CreateWidget()
{
    QWidget* w = TCustomControl::CreateWidget();
    FTabBar = new QTabBar(w);
    FTabBar->setDrawBase(false);
    FTabBar->setExpanding(false);
    FTabBar->setFocusPolicy(Qt::NoFocus);
    QObject::connect(FTabBar, &QTabBar::currentChanged, FTabBar, [this](int i) {
        if (!FInternal)
            controls_private::UserAction(this, [&] { UserSelectedTab(i); });
    });
    AttachInputWidget(FTabBar);
    return w;
}

void TPageControl::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateTabs();
}

int TPageControl::TabBarHeight() const
{
    if (!FTabBar)
        return 21;
    return FTabBar->count() > 0 ? FTabBar->sizeHint().height() : 0;
}

TRect TPageControl::DisplayRect() const
{
    TRect r = ClientRect();
    r.Top += TabBarHeight();
    InflateRect(r, -4, -4);
    if (r.Right < r.Left)
        r.Right = r.Left;
    if (r.Bottom < r.Top)
        r.Bottom = r.Top;
    return r;
}

TTabSheet* TPageControl::Pages(int index) const
{
    return index >= 0 && index < PageCount() ? FPages[std::size_t(index)] : nullptr;
}

int TPageControl::ActivePageIndex() const
{
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int v)
{
    SetActivePage(Pages(v));
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (page && page->FPageControl != this)
        return;
    if (page == FActivePage)
        return;
    TTabSheet* old = FActivePage;
    FActivePage = page;
    if (page) {
        page->SetBounds(DisplayRect().Left, DisplayRect().Top, DisplayRect().Width(), DisplayRect().Height());
        page->SetVisible(true);
        page->BringToFront();
        if (page->OnShow)
            page->OnShow(page);
    }
    if (old) {
        old->SetVisible(false);
        if (old->OnHide)
            old->OnHide(old);
    }
    UpdateTabs();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const
{
    const int n = PageCount();
    if (n == 0)
        return nullptr;
    int start = current ? current->PageIndex() : -1;
    if (start < 0)
        start = goForward ? n - 1 : 0;
    int i = start;
    for (int k = 0; k < n; ++k) {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        TTabSheet* s = FPages[std::size_t(i)];
        if (s == current)
            break;
        if (!checkTabVisible || s->TabVisible())
            return s;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible)
{
    TTabSheet* p = FindNextPage(FActivePage, goForward, checkTabVisible);
    if (p && p != FActivePage && CanChange()) {
        SetActivePage(p);
        Change();
    }
}

void TPageControl::UserSelectedTab(int tabIndex)
{
    TTabSheet* target = nullptr;
    for (TTabSheet* s : FPages)
        if (s->TabIndex() == tabIndex)
            target = s;
    if (!target || target == FActivePage)
        return;
    if (!CanChange()) {
        UpdateTabs(); // the tab bar goes back to the page still shown
        return;
    }
    SetActivePage(target);
    Change();
}

void TPageControl::WndProc(TMessage& Message)
{
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages while the focus is on the
    // page control or on a control of its pages: the tabs take no focus.
    if (Message.Msg == CM_DIALOGKEY && Message.WParam == VK_TAB) {
        const TShiftState shift = KeyDataToShiftState(Message.LParam);
        TCustomForm* form = GetParentForm(this);
        TWinControl* focus = form ? form->ActiveControl() : nullptr;
        if (shift.testFlag(ssCtrl) && !shift.testFlag(ssAlt) && focus && ContainsControl(focus)) {
            TTabSheet* old = FActivePage;
            const bool focusOnOldPage = old && old->ContainsControl(focus);
            SelectNextPage(!shift.testFlag(ssShift));
            // The focused control went with its page: the page control keeps
            // the focus.
            if (FActivePage != old && focusOnOldPage && CanFocus())
                SetFocus();
            Message.Result = 1;
            return;
        }
    }
    TCustomControl::WndProc(Message);
}

bool TPageControl::CanChange()
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TPageControl::Change()
{
    if (OnChange)
        OnChange(this);
}

void TPageControl::InsertPage(TTabSheet* page)
{
    if (std::find(FPages.begin(), FPages.end(), page) != FPages.end())
        return;
    FPages.push_back(page);
    page->FPageControl = this;
    page->SetVisible(false);
    if (!FActivePage && page->TabVisible())
        SetActivePage(page);
    UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page)
{
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end())
        return;
    TTabSheet* next = FActivePage == page ? FindNextPage(page, true, true) : FActivePage;
    FPages.erase(it);
    page->FPageControl = nullptr;
    if (FActivePage == page) {
        FActivePage = nullptr;
        if (next != page)
            SetActivePage(next);
    }
    UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* page, int index)
{
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end())
        return;
    FPages.erase(it);
    index = std::clamp(index, 0, PageCount());
    FPages.insert(FPages.begin() + index, page);
    UpdateTabs();
}

void TPageControl::UpdateTabs()
{
    if (!FTabBar)
        return;
    ++FInternal;
    int n = 0;
    for (TTabSheet* s : FPages) {
        if (!s->TabVisible())
            continue;
        if (n < FTabBar->count())
            FTabBar->setTabText(n, s->Caption());
        else
            FTabBar->addTab(s->Caption());
        ++n;
    }
    while (FTabBar->count() > n)
        FTabBar->removeTab(FTabBar->count() - 1);
    FTabBar->setCurrentIndex(FActivePage ? FActivePage->TabIndex() : -1);
    FTabBar->setGeometry(2, 0, std::max(0, Width() - 4), TabBarHeight());
    --FInternal;
    PlacePages();
    Invalidate();
}

void TPageControl::PlacePages()
{
    const TRect r = DisplayRect();
    for (TTabSheet* s : FPages)
        s->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TPageControl::AlignControls(TControl* AControl, TRect& Rect)
{
    TCustomControl::AlignControls(AControl, Rect);
    PlacePages();
}

void TPageControl::BoundsChanged(const TRect& oldBounds)
{
    TCustomControl::BoundsChanged(oldBounds);
    if (FTabBar)
        FTabBar->setGeometry(2, 0, std::max(0, Width() - 4), TabBarHeight());
    PlacePages();
}

void TPageControl::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    // The frame round the page area.
    TRect r = DisplayRect();
    InflateRect(r, 4, 4);
    c->DrawEdge(r, EDGE_RAISED, BF_RECT);
}

// ---------------------------------------------------------------------------
// Track bar

TTrackBar::TTrackBar(TComponent* AOwner)
    : TWinControl(AOwner)
{
    FTabStop = true;
    SetBounds(0, 0, 150, 45);
}

QSlider* TTrackBar::Slider() const
{
    return qobject_cast<QSlider*>(WidgetIfAllocated());
}

QWidget* TTrackBar::CreateWidget()
{
    auto* s = new QSlider(Qt::Horizontal);
    QObject::connect(
        s, &QSlider::valueChanged, s, [this](int v) { controls_private::UserAction(this, [&] { WidgetMoved(v); }); });
    return s;
}

void TTrackBar::CreateWnd()
{
    TWinControl::CreateWnd();
    if (QSlider* s = Slider()) {
        ++FInternal;
        s->setOrientation(FOrientation == trHorizontal ? Qt::Horizontal : Qt::Vertical);
        s->setRange(FMin, FMax);
        s->setValue(FPosition);
        s->setTickInterval(FFrequency);
        s->setTickPosition(QSlider::TicksBelow);
        s->setPageStep(FPageSize);
        s->setSingleStep(FLineSize);
        --FInternal;
    }
}

void TTrackBar::WidgetMoved(int v)
{
    if (FInternal || v == FPosition)
        return;
    FPosition = v;
    Changed();
}

void TTrackBar::SetMin(int v)
{
    FMin = v;
    if (FMax < FMin)
        FMax = FMin;
    if (HandleAllocated())
        CreateWnd();
    SetPosition(FPosition);
}

void TTrackBar::SetMax(int v)
{
    FMax = v;
    if (FMin > FMax)
        FMin = FMax;
    if (HandleAllocated())
        CreateWnd();
    SetPosition(FPosition);
}

void TTrackBar::SetPosition(int v)
{
    v = std::clamp(v, FMin, FMax);
    if (v == FPosition)
        return;
    FPosition = v;
    if (QSlider* s = Slider()) {
        ++FInternal;
        s->setValue(v);
        --FInternal;
    }
    Changed();
}

void TTrackBar::SetFrequency(int v)
{
    FFrequency = std::max(1, v);
    if (QSlider* s = Slider())
        s->setTickInterval(FFrequency);
}

void TTrackBar::SetPageSize(int v)
{
    FPageSize = v;
    if (QSlider* s = Slider())
        s->setPageStep(v);
}

void TTrackBar::SetLineSize(int v)
{
    FLineSize = v;
    if (QSlider* s = Slider())
        s->setSingleStep(v);
}

void TTrackBar::SetOrientation(TTrackBarOrientation v)
{
    FOrientation = v;
    if (QSlider* s = Slider())
        s->setOrientation(v == trHorizontal ? Qt::Horizontal : Qt::Vertical);
}

void TTrackBar::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS;
        return;
    }
    TWinControl::WndProc(Message);
}

void TTrackBar::Changed()
{
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------------------
// Progress bar

TProgressBar::TProgressBar(TComponent* AOwner)
    : TWinControl(AOwner)
{
    SetBounds(0, 0, 150, 17);
}

QProgressBar* TProgressBar::Bar() const
{
    return qobject_cast<QProgressBar*>(WidgetIfAllocated());
}

QWidget* TProgressBar::CreateWidget()
{
    auto* b = new QProgressBar();
    b->setTextVisible(false);
    return b;
}

void TProgressBar::CreateWnd()
{
    TWinControl::CreateWnd();
    if (QProgressBar* b = Bar()) {
        b->setRange(FMin, FMax);
        b->setValue(FPosition);
    }
}

void TProgressBar::SetMin(int v)
{
    FMin = v;
    if (FMax < FMin)
        FMax = FMin;
    FPosition = std::clamp(FPosition, FMin, FMax);
    if (HandleAllocated())
        CreateWnd();
}

void TProgressBar::SetMax(int v)
{
    FMax = v;
    if (FMin > FMax)
        FMin = FMax;
    FPosition = std::clamp(FPosition, FMin, FMax);
    if (HandleAllocated())
        CreateWnd();
}

void TProgressBar::SetPosition(int v)
{
    FPosition = std::clamp(v, FMin, FMax);
    if (QProgressBar* b = Bar())
        b->setValue(FPosition);
}

// ---------------------------------------------------------------------------
// Date-time picker

namespace {

// Tells the picker when its calendar window shows and hides.
class TCalendarWatcher : public QObject {
public:
    TCalendarWatcher(TDateTimePicker* picker, QObject* parent)
        : QObject(parent)
        , FPicker(picker)
    {
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            controls_private::UserAction(FPicker, [this] { FPicker->CalendarShown(); });
        else if (event->type() == QEvent::Hide)
            controls_private::UserAction(FPicker, [this] { FPicker->CalendarHidden(); });
        return QObject::eventFilter(watched, event);
    }

private:
    TDateTimePicker* FPicker;
};

// The picker's editor. A digit that fills a field leaves the input in that
// field, as the toolkit's picker does (Qt would move on by itself): moving
// on is the Right key's.
class TQDateTimeEdit : public QDateTimeEdit {
public:
    using QDateTimeEdit::QDateTimeEdit;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        const int field = currentSectionIndex();
        const bool digit = !e->text().isEmpty() && e->text().at(0).isDigit();
        QDateTimeEdit::keyPressEvent(e);
        if (digit && field >= 0 && currentSectionIndex() != field) {
            setCurrentSectionIndex(field);
            setSelectedSection(sectionAt(field));
        }
    }
};

// The editor covers the picker: what the picker paints over itself goes on
// the editor's surface, after the editor has painted.
class TEditorPaintRelay : public QObject {
public:
    TEditorPaintRelay(TDateTimePicker* picker, QWidget* editor)
        : QObject(editor)
        , FPicker(picker)
        , FEditor(editor)
    {
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != FEditor || event->type() != QEvent::Paint || event == controls_private::Resending())
            return false;
        controls_private::ResendToWidget(FEditor, event);
        controls_private::UserAction(FPicker, [this] { FPicker->EditorPainted(); });
        return true;
    }

private:
    TDateTimePicker* FPicker;
    QWidget* FEditor;
};

} // namespace

TDateTimePicker::TDateTimePicker(TComponent* AOwner)
    : TWinControl(AOwner)
{
    FTabStop = true;
    FColor = clWindow;
    FDateTime = Now();
    SetBounds(0, 0, 186, 21);
}

QDateTimeEdit* TDateTimePicker::Edit() const
{
    return WidgetIfAllocated() ? FEdit : nullptr;
}

QString TDateTimePicker::ToDisplayFormat(const QString& f)
{
    QString out;
    int i = 0;
    auto run = [&](QChar c) {
        int n = 0;
        while (i + n < f.size() && f[i + n] == c)
            ++n;
        return n;
    };
    while (i < f.size()) {
        const QChar c = f[i];
        if (c == QLatin1Char('\'')) {
            const int end = f.indexOf(QLatin1Char('\''), i + 1);
            const int stop = end < 0 ? int(f.size()) : end + 1;
            out += f.mid(i, stop - i);
            i = stop;
            continue;
        }
        const int n = run(c);
        switch (c.unicode()) {
        case 'd':
            out += QString(std::min(n, 4), QLatin1Char('d'));
            break;
        case 'M':
            out += QString(std::min(n, 4), QLatin1Char('M'));
            break;
        case 'y':
            out += n <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
            break;
        case 'h':
        case 'H':
        case 'm':
        case 's':
            out += QString(std::min(n, 2), c);
            break;
        case 't':
            out += n == 1 ? QStringLiteral("A") : QStringLiteral("AP");
            break;
        default:
            // Any other letter would read as a format letter in Qt: quote it.
            if (c.isLetter())
                out += QLatin1Char('\'') + QString(n, c) + QLatin1Char('\'');
            else
                out += QString(n, c);
            break;
        }
        i += n;
    }
    return out;
}

QString TDateTimePicker::EffectiveFormat() const
{
    if (!FFormat.isEmpty())
        return ToDisplayFormat(FFormat);
    if (FKind == dtkTime)
        return ToDisplayFormat(QStringLiteral("h:mm:ss tt"));
    // The short date format, with its month letters as the picker writes them.
    QString f = FormatSettings.ShortDateFormat;
    f.replace(QLatin1Char('m'), QLatin1Char('M'));
    f.replace(QLatin1Char('/'), FormatSettings.DateSeparator);
    return ToDisplayFormat(f);
}

QWidget* TDateTimePicker::CreateWidget()
{
    QWidget* w = TWinControl::CreateWidget();
    FEdit = new TQDateTimeEdit(w);
    FCheck = new QCheckBox(w);
    FCheck->setFocusPolicy(Qt::NoFocus);
    QObject::connect(FEdit, &QDateTimeEdit::dateTimeChanged, FEdit,
        [this] { controls_private::UserAction(this, [&] { WidgetChanged(); }); });
    QObject::connect(FCheck, &QCheckBox::clicked, FCheck, [this](bool on) {
        if (FInternal)
            return;
        FChecked = on;
        if (FEdit)
            FEdit->setEnabled(on);
        controls_private::UserAction(this, [&] { Change(); });
    });
    AttachInputWidget(FEdit);
    AttachInputWidget(FCheck);
    // The picker's focus and typed keys are the editor's.
    w->setFocusProxy(FEdit);
    FEdit->installEventFilter(new TEditorPaintRelay(this, FEdit));
    return w;
}

void TDateTimePicker::CreateWnd()
{
    TWinControl::CreateWnd();
    if (!FEdit)
        return;
    ++FInternal;
    FEdit->setDisplayFormat(EffectiveFormat());
    FEdit->setCalendarPopup(FKind == dtkDate && FDateMode == dmComboBox);
    FEdit->setMinimumDateTime(
        FMinDate != 0 ? DateTimeToQDateTime(FMinDate) : QDateTime(QDate(1601, 1, 1), QTime(0, 0)));
    FEdit->setMaximumDateTime(
        FMaxDate != 0 ? DateTimeToQDateTime(FMaxDate + 0.99999) : QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)));
    FEdit->setDateTime(DateTimeToQDateTime(FDateTime));
    FCheck->setChecked(FChecked);
    FEdit->setEnabled(!FShowCheckbox || FChecked);
    --FInternal;
    WatchCalendar();
    PlaceChildren();
    ApplyColor();
}

void TDateTimePicker::WatchCalendar()
{
    // The calendar window is made with the editor's pop-up setting; a new one
    // needs a new watcher.
    QCalendarWidget* cal = FEdit->calendarPopup() ? FEdit->calendarWidget() : nullptr;
    QWidget* popup = cal ? cal->window() : nullptr;
    if (FCalendarWatcher && FCalendarWatcher->parent() == popup)
        return;
    delete FCalendarWatcher.data();
    if (!popup)
        return;
    FCalendarWatcher = new TCalendarWatcher(this, popup);
    popup->installEventFilter(FCalendarWatcher);
}

void TDateTimePicker::EditorPainted()
{
    if (!FEdit)
        return;
    TCanvas canvas;
    TCanvasLock lock(&canvas, FEdit);
    canvas.SetOrigin({ -FEdit->x(), -FEdit->y() });
    PaintAfterWidget(&canvas);
}

bool TDateTimePicker::DroppedDown() const
{
    return FDroppedDown;
}

void TDateTimePicker::CalendarShown()
{
    if (std::exchange(FDroppedDown, true))
        return;
    DropDown();
}

void TDateTimePicker::CalendarHidden()
{
    if (!std::exchange(FDroppedDown, false))
        return;
    CloseUp();
}

void TDateTimePicker::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TDateTimePicker::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

void TDateTimePicker::OpenCalendar()
{
    QDateTimeEdit* e = Edit();
    if (!e || !e->calendarPopup() || FDroppedDown || !FEnabled)
        return;
    QCalendarWidget* cal = e->calendarWidget();
    if (!cal)
        return;
    QWidget* popup = cal->window();
    cal->setSelectedDate(e->date());
    popup->adjustSize();
    popup->move(e->mapToGlobal(QPoint(0, e->height())));
    popup->show();
}

int TDateTimePicker::CurrentField() const
{
    QDateTimeEdit* e = Edit();
    return e ? std::max(0, e->currentSectionIndex()) : 0;
}

void TDateTimePicker::SetCurrentField(int v)
{
    QDateTimeEdit* e = Edit();
    if (!e || v < 0 || v >= e->sectionCount())
        return;
    e->setCurrentSectionIndex(v);
    e->setSelectedSection(e->currentSection());
}

int TDateTimePicker::FieldCount() const
{
    QDateTimeEdit* e = Edit();
    return e ? e->sectionCount() : 0;
}

void TDateTimePicker::ApplyColor()
{
    if (!FEdit)
        return;
    controls_private::SetPaletteColors(FEdit, QPalette::Base, Color(), Font()->Color(), false);
}

void TDateTimePicker::BoundsChanged(const TRect& oldBounds)
{
    TWinControl::BoundsChanged(oldBounds);
    PlaceChildren();
}

void TDateTimePicker::PlaceChildren()
{
    if (!FEdit)
        return;
    const int box = FShowCheckbox ? 18 : 0;
    FCheck->setVisible(FShowCheckbox);
    FCheck->setGeometry(2, 0, 16, Height());
    FEdit->setGeometry(box, 0, std::max(0, Width() - box), Height());
}

void TDateTimePicker::WidgetChanged()
{
    if (FInternal || !FEdit)
        return;
    const TDateTime v = DateTimeFromQDateTime(FEdit->dateTime());
    // The picker edits one part; the other stays as it was.
    FDateTime = FKind == dtkDate ? std::floor(v) + (FDateTime - std::floor(FDateTime))
                                 : std::floor(FDateTime) + (v - std::floor(v));
    Change();
}

void TDateTimePicker::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
        return;
    }
    TWinControl::WndProc(Message);
    // The picker's own keys, whether typed or sent: a field at a time, and the
    // calendar. The key is the picker's then, not the editor's.
    if ((Message.Msg != WM_KEYDOWN && Message.Msg != WM_SYSKEYDOWN) || Message.WParam == 0 || !Edit())
        return;
    const WORD key = static_cast<WORD>(Message.WParam);
    const bool alt = Message.Msg == WM_SYSKEYDOWN;
    const int count = FieldCount();
    if (!alt && (key == VK_RIGHT || key == VK_LEFT) && count > 0) {
        SetCurrentField((CurrentField() + (key == VK_RIGHT ? 1 : count - 1)) % count);
        Message.WParam = 0;
    } else if ((key == VK_F4 && !alt) || (key == VK_DOWN && alt)) {
        OpenCalendar();
        Message.WParam = 0;
    }
}

void TDateTimePicker::Change()
{
    // As the common control does, the parent hears of the change first.
    if (TWinControl* parent = Parent()) {
        TNMDateTimeChange nm;
        nm.hdr.hwndFrom = HandleAllocated() ? Handle() : 0;
        nm.hdr.code = DTN_DATETIMECHANGE;
        if (FShowCheckbox && !FChecked) {
            nm.dwFlags = GDT_NONE;
        } else {
            int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
            DecodeDateTime(FDateTime, y, mo, d, h, mi, s, ms);
            nm.st
                = { WORD(y), WORD(mo), WORD(DayOfWeek(FDateTime) - 1), WORD(d), WORD(h), WORD(mi), WORD(s), WORD(ms) };
        }
        const std::uint64_t serial = ControlSerial(this);
        parent->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
        if (!FindControlBySerial(serial))
            return;
    }
    if (OnChange)
        OnChange(this);
}

void TDateTimePicker::SetKind(TDateTimeKind v)
{
    FKind = v;
    if (HandleAllocated())
        CreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode v)
{
    FDateMode = v;
    if (HandleAllocated())
        CreateWnd();
}

void TDateTimePicker::SetFormat(const QString& v)
{
    FFormat = v;
    if (FEdit) {
        ++FInternal;
        FEdit->setDisplayFormat(EffectiveFormat());
        --FInternal;
    }
}

void TDateTimePicker::SetDateTime(TDateTime v)
{
    if (FMinDate != 0 && v < FMinDate)
        v = FMinDate;
    if (FMaxDate != 0 && std::floor(v) > std::floor(FMaxDate))
        v = std::floor(FMaxDate) + (v - std::floor(v));
    FDateTime = v;
    if (FEdit) {
        ++FInternal;
        FEdit->setDateTime(DateTimeToQDateTime(v));
        --FInternal;
    }
}

TDateTime TDateTimePicker::Date() const
{
    return std::floor(FDateTime);
}

void TDateTimePicker::SetDate(TDateTime v)
{
    SetDateTime(std::floor(v) + Time());
}

TDateTime TDateTimePicker::Time() const
{
    return FDateTime - std::floor(FDateTime);
}

void TDateTimePicker::SetTime(TDateTime v)
{
    SetDateTime(Date() + (v - std::floor(v)));
}

void TDateTimePicker::SetMinDate(TDateTime v)
{
    FMinDate = v;
    if (HandleAllocated())
        CreateWnd();
}

void TDateTimePicker::SetMaxDate(TDateTime v)
{
    FMaxDate = v;
    if (HandleAllocated())
        CreateWnd();
}

void TDateTimePicker::SetShowCheckbox(bool v)
{
    FShowCheckbox = v;
    if (HandleAllocated())
        CreateWnd();
}

void TDateTimePicker::SetChecked(bool v)
{
    FChecked = v;
    if (FEdit) {
        ++FInternal;
        FCheck->setChecked(v);
        FEdit->setEnabled(!FShowCheckbox || v);
        --FInternal;
    }
}
