// Replacing a control's window procedure: the replacement sees what Perform
// sends and passes on what it does not answer; clearing it, or freeing the
// control, gives the control its own procedure back.
#include <gtest/gtest.h>

#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/WindowProc.h"

TEST(WindowProc, ReplacementAnswersAndPassesOnUntilCleared)
{
    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    const LRESULT own = edit->Perform(WM_GETDLGCODE);
    const TWndMethod saved = GetWindowProc(edit);
    int seen = 0;
    SetWindowProc(edit, [&](TMessage& m) {
        ++seen;
        saved(m);
        if (m.Msg == WM_GETDLGCODE)
            m.Result |= DLGC_WANTTAB;
    });
    EXPECT_TRUE(HasWindowProcReplacement(edit));
    EXPECT_EQ(edit->Perform(WM_GETDLGCODE), own | DLGC_WANTTAB);
    EXPECT_EQ(seen, 1);

    SetWindowProc(edit, {});
    EXPECT_FALSE(HasWindowProcReplacement(edit));
    EXPECT_EQ(edit->Perform(WM_GETDLGCODE), own);

    SetWindowProc(edit, [](TMessage& m) { m.Result = 7; });
    delete edit;
    auto* other = new TEdit(&form);
    EXPECT_FALSE(HasWindowProcReplacement(other)) << "a freed control's replacement goes with it";
}
