// The grid unit: start-up and shut-down counting, what start-up registers, the
// hook that keeps a grid's focus frame on its cell when the form moves, and
// the unit routines.
#include <QWidget>
#include <gtest/gtest.h>

#include "common/GridOnForm.h"
#include "controls/base/ExObjWindows.h"
#include "controls/grid/ExGridUnit.h"
#include "controls/grid/ExGridWindows.h"
#include "controls/grid/GridWindowsFixture.h"
#include "platform/controls/ClipboardFormats.h"
#include "platform/controls/ScrollBar.h"
#include "platform/controls/WindowHooks.h"
#include "platform/graphics/PlatformInfo.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/runtime/SysUtils.h"

namespace {

// The first grid a test makes starts the unit: these tests begin from a unit
// that is not started.
void StopUnit()
{
    SetHookedGrid(nullptr);
    while (ExGridStartCount() != 0)
        ExGridShutdown();
}

// Starts the unit for one test and shuts it down again.
struct TUnitStarted {
    TUnitStarted()
    {
        StopUnit();
        ExGridStartup();
    }
    ~TUnitStarted()
    {
        SetHookedGrid(nullptr);
        ExGridShutdown();
    }
};

TEST(ExGridUnit, SecondStartUpDoesNothingShutDownActsWhenTheCountIsBackAtZero)
{
    StopUnit();
    ASSERT_EQ(ExGridStartCount(), 0);
    ExGridStartup();
    EXPECT_EQ(ExGridStartCount(), -1);
    EXPECT_TRUE(ExGridHookInstalled());
    const WORD cells = CF_GRIDCELLS, done = WM_GRIDEDITDONE, dtp = WM_DTPSHIFTFOCUS;
    SetHintFontName(QStringLiteral("DejaVu Serif"));

    ExGridStartup();
    EXPECT_EQ(ExGridStartCount(), -2);
    EXPECT_EQ(HintFontName(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(CF_GRIDCELLS, cells);
    EXPECT_EQ(WM_GRIDEDITDONE, done);
    EXPECT_EQ(WM_DTPSHIFTFOCUS, dtp);

    ExGridShutdown();
    EXPECT_EQ(ExGridStartCount(), -1);
    EXPECT_TRUE(ExGridHookInstalled());
    EXPECT_EQ(HintFontName(), QStringLiteral("DejaVu Serif"));

    ExGridShutdown();
    EXPECT_EQ(ExGridStartCount(), 0);
    EXPECT_FALSE(ExGridHookInstalled());
    EXPECT_EQ(HintFontName(), QString());
}

TEST(ExGridUnit, StartUpRegistersDistinctIdsAndTheGridClassesThatExist)
{
    TUnitStarted unit;
    const UINT ids[] = { CF_GRIDCELLS, WM_GRIDEDITDONE, WM_DTPSHIFTFOCUS };
    for (UINT id : ids)
        EXPECT_GE(id, 0xC000u);
    EXPECT_NE(ids[0], ids[1]);
    EXPECT_NE(ids[0], ids[2]);
    EXPECT_NE(ids[1], ids[2]);
    EXPECT_EQ(RegisterClipboardFormat(QStringLiteral("TExStringGrid Cells")), CF_GRIDCELLS);
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("GridEditDone")), WM_GRIDEDITDONE);
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("DTPShiftFocus")), WM_DTPSHIFTFOCUS);
    EXPECT_EQ(GetClipboardFormatName(CF_GRIDCELLS), QStringLiteral("TExStringGrid Cells"));

    TForm owner(nullptr);
    for (const char* name : { "TExStringGrid", "TArrowWindow", "TGridTransEdit", "TGridTransCombo", "TControlEdit",
             "TControlCombo", "TScrollBar" }) {
        TComponentFactory f = GetClass(QString::fromLatin1(name));
        ASSERT_NE(f, nullptr) << name;
        TComponent* c = f(&owner);
        EXPECT_EQ(c->ClassName(), QString::fromLatin1(name));
        EXPECT_EQ(c->Owner(), &owner);
    }
    // Classes still to come are not registered under their names.
    EXPECT_EQ(GetClass(QStringLiteral("TSearchPanel")), nullptr);
    // A registered class of the same name from elsewhere ends the registering
    // quietly: start-up still completes.
}

TEST(ExGridUnit, NewCommonControlsFromTheVersionOrThePlatform)
{
    struct TCase {
        int VersionMS;
        bool New;
    };
    const TCase cases[] = {
        { (4 << 16) | 69, false },
        { (4 << 16) | 70, true },
        { (4 << 16) | 72, true },
        { (5 << 16) | 0, true },
        { (6 << 16) | 10, true },
        { (3 << 16) | 95, false },
        { -1, false },
    };
    for (const TCase& c : cases)
        EXPECT_EQ(IsNewComCtrlsVersion(c.VersionMS), c.New) << std::hex << c.VersionMS;
    EXPECT_EQ(GetFileVersionMS(QStringLiteral("comctl32.dll")), -1);

    for (bool comctl6 : { true, false }) {
        TPlatformInfo facts;
        facts.ComCtl6OrLater = comctl6;
        TPlatformInfoScope scope(facts);
        TUnitStarted unit;
        EXPECT_EQ(NewComCtrls, comctl6);
    }
}

TEST(ExGridUnit, FormatSettingsAccessorsReadTheRunTimeSettings)
{
    FormatSettings.TimeSeparator = u'.';
    FormatSettings.DateSeparator = u'-';
    FormatSettings.ThousandSeparator = u' ';
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    FormatSettings.ShortTimeFormat = QStringLiteral("hh:nn");
    FormatSettings.LongTimeFormat = QStringLiteral("hh:nn:ss");
    EXPECT_EQ(GetTimeSeparator(), QChar(u'.'));
    EXPECT_EQ(GetDateSeparator(), QChar(u'-'));
    EXPECT_EQ(GetThousandSeparator(), QChar(u' '));
    EXPECT_EQ(GetDecimalSeparator(), QChar(u','));
    EXPECT_EQ(GetShortDateFormat(), QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(GetShortTimeFormat(), QStringLiteral("hh:nn"));
    EXPECT_EQ(GetLongTimeFormat(), QStringLiteral("hh:nn:ss"));
    ResetFormatSettings();
}

int GProbeCalls = 0;
HHOOK GProbe = 0;
LRESULT ProbeHook(int code, WPARAM w, LPARAM l)
{
    ++GProbeCalls;
    return CallNextHookEx(GProbe, code, w, l);
}

TEST(ExGridUnit, MovingTheFormMovesTheFocusFrameWithTheCurrentCell)
{
    TGridOnForm<TWindowsTestGrid> f(4, 4, 200, 100);
    f.Grid->SetCol(2);
    f.Grid->SetRow(1);
    TGridFocusWindow* frame = f.Grid->FocusWindow();
    ASSERT_NE(frame, nullptr);
    frame->SetBounds(0, 0, 10, 10);
    frame->Show();
    // A hook set before the unit's start-up is passed every message.
    GProbe = SetWindowsHookEx(WH_CALLWNDPROC, &ProbeHook);
    TUnitStarted unit;
    SetHookedGrid(f.Grid);

    const TRect cell = f.Grid->CellRect(2, 1);
    f.Form->SetBounds(120, 80, f.Form->Width(), f.Form->Height());
    const TPoint at = f.Grid->ClientToScreen(TPoint(cell.Left, cell.Top));
    EXPECT_EQ(frame->BoundsRect(), Rect(at.X - 4, at.Y - 4, at.X + cell.Width() + 5, at.Y + cell.Height() + 5));
    const TRect before = frame->BoundsRect();
    f.Form->SetBounds(150, 70, f.Form->Width() + 20, f.Form->Height());
    TRect moved = before;
    OffsetRect(moved, 30, -10);
    EXPECT_EQ(frame->BoundsRect(), moved);

    // Started twice, the unit still hooks once.
    GProbeCalls = 0;
    f.Form->SetBounds(160, 70, f.Form->Width(), f.Form->Height());
    const int once = GProbeCalls;
    EXPECT_GE(once, 1);
    ExGridStartup();
    GProbeCalls = 0;
    f.Form->SetBounds(170, 70, f.Form->Width(), f.Form->Height());
    EXPECT_EQ(GProbeCalls, once);
    ExGridShutdown();

    // Without a hooked grid the frame stays where it is.
    SetHookedGrid(nullptr);
    const TRect kept = frame->BoundsRect();
    f.Form->SetBounds(10, 10, f.Form->Width(), f.Form->Height());
    EXPECT_EQ(frame->BoundsRect(), kept);
    UnhookWindowsHookEx(GProbe);
}

TEST(ExGridUnit, AFreedHookedGridIsForgotten)
{
    TUnitStarted unit;
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 150);
    form.Show();
    auto* grid = new TWindowsTestGrid(&form);
    grid->SetParent(&form);
    SetHookedGrid(grid);
    EXPECT_EQ(HookedGrid(), grid);
    delete grid;
    EXPECT_EQ(HookedGrid(), nullptr);
    form.SetBounds(30, 30, 200, 150); // reaches the hook; no grid to move
}

TEST(ExGridUnit, TransparentWindowStyleLetsTheMouseThrough)
{
    TForm form(nullptr);
    auto* frame = new TGridFocusWindow(&form);
    frame->SetParent(&form);
    SetWindowTransparentStyle(frame);
    EXPECT_TRUE(WindowTransparentForMouse(frame));
}

} // namespace
