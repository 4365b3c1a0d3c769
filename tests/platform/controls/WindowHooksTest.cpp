// Window-procedure hooks see top-level windows move and resize; the hook chain
// runs newest first; the mouse-transparent window style.
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

#include "common/TestUtil.h"
#include "platform/controls/ClipboardFormats.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WindowHooks.h"

namespace {

struct TSeen {
    char Hook;
    UINT Msg;
    HWND Wnd;
    TRect Bounds;
};
std::vector<TSeen> GSeen;
HHOOK GFirst = 0;
HHOOK GSecond = 0;

LRESULT Record(char hook, HHOOK self, int code, WPARAM w, LPARAM l)
{
    const auto* cwp = reinterpret_cast<const TCWPStruct*>(l);
    const auto* pos = reinterpret_cast<const TWindowPos*>(cwp->lParam);
    GSeen.push_back({ hook, cwp->message, cwp->hwnd, Bounds(pos->x, pos->y, pos->cx, pos->cy) });
    return CallNextHookEx(self, code, w, l);
}
LRESULT FirstHook(int code, WPARAM w, LPARAM l)
{
    return Record('1', GFirst, code, w, l);
}
LRESULT SecondHook(int code, WPARAM w, LPARAM l)
{
    return Record('2', GSecond, code, w, l);
}

TEST(WindowHooks, FormMovedOrSizedReachesEveryHookNewestFirst)
{
    TForm form(nullptr);
    form.SetBounds(30, 40, 200, 120);
    form.Show();
    testutil::PumpUntil([] { return false; }, 50);
    GFirst = SetWindowsHookEx(WH_CALLWNDPROC, &FirstHook);
    GSecond = SetWindowsHookEx(WH_CALLWNDPROC, &SecondHook);
    ASSERT_NE(GFirst, 0u);
    ASSERT_NE(GSecond, 0u);
    GSeen.clear();

    form.SetBounds(70, 90, 200, 120);
    ASSERT_GE(GSeen.size(), 2u);
    EXPECT_EQ(GSeen[0].Hook, '2');
    EXPECT_EQ(GSeen[1].Hook, '1');
    EXPECT_EQ(GSeen[0].Msg, WM_WINDOWPOSCHANGED);
    EXPECT_EQ(GSeen[0].Wnd, form.Handle());
    EXPECT_EQ(GSeen.back().Bounds, Bounds(70, 90, 200, 120));

    GSeen.clear();
    form.SetBounds(70, 90, 260, 150);
    ASSERT_FALSE(GSeen.empty());
    EXPECT_EQ(GSeen.back().Bounds, Bounds(70, 90, 260, 150));

    // A child control moving is not a window move.
    auto* child = new TPanel(&form);
    child->SetParent(&form);
    child->SetBounds(0, 0, 50, 50);
    GSeen.clear();
    child->SetBounds(10, 10, 50, 50);
    EXPECT_TRUE(GSeen.empty());

    EXPECT_TRUE(UnhookWindowsHookEx(GSecond));
    GSeen.clear();
    form.SetBounds(10, 20, 260, 150);
    ASSERT_FALSE(GSeen.empty());
    EXPECT_EQ(GSeen[0].Hook, '1');
    EXPECT_TRUE(UnhookWindowsHookEx(GFirst));
    EXPECT_FALSE(UnhookWindowsHookEx(GFirst));
    GSeen.clear();
    form.SetBounds(15, 25, 260, 150);
    EXPECT_TRUE(GSeen.empty());
}

TEST(WindowHooks, OnlyCallWndProcHooksWithAProcedure)
{
    EXPECT_EQ(SetWindowsHookEx(2, &FirstHook), 0u);
    EXPECT_EQ(SetWindowsHookEx(WH_CALLWNDPROC, nullptr), 0u);
    EXPECT_EQ(CallNextHookEx(12345, HC_ACTION, 0, 0), 0);
}

TEST(WindowHooks, TransparentWindowLetsTheMouseThrough)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 100, 100);
    form.Show();
    EXPECT_FALSE(WindowTransparentForMouse(&form));
    SetWindowTransparentForMouse(&form, true);
    EXPECT_TRUE(WindowTransparentForMouse(&form));
    EXPECT_TRUE(form.Widget()->windowFlags() & Qt::WindowTransparentForInput);
    EXPECT_TRUE(form.Widget()->isVisible());
}

TEST(ClipboardFormats, OneIdAndMimeTypePerNameApartFromOtherNamesMessages)
{
    const UINT cells = RegisterClipboardFormat(QStringLiteral("Hook Test Cells"));
    ASSERT_GE(cells, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat(QStringLiteral("hook test CELLS")), cells);
    const UINT msg = RegisterWindowMessage(QStringLiteral("Hook Test Message"));
    const UINT other = RegisterClipboardFormat(QStringLiteral("Hook Test Other"));
    EXPECT_NE(cells, msg);
    EXPECT_NE(cells, other);
    EXPECT_NE(msg, other);
    EXPECT_EQ(GetClipboardFormatName(cells), QStringLiteral("Hook Test Cells"));
    EXPECT_EQ(ClipboardFormatMimeType(cells), QStringLiteral("application/x-morv-format;name=\"Hook Test Cells\""));
    EXPECT_NE(ClipboardFormatMimeType(cells), ClipboardFormatMimeType(other));
    const UINT quoted = RegisterClipboardFormat(QStringLiteral("A \"q\" \\ b"));
    EXPECT_EQ(ClipboardFormatMimeType(quoted), QStringLiteral("application/x-morv-format;name=\"A \\\"q\\\" \\\\ b\""));
    // A message name is no clipboard format.
    EXPECT_EQ(ClipboardFormatMimeType(msg), QString());
    EXPECT_EQ(RegisterClipboardFormat(QString()), 0u);
}

} // namespace
