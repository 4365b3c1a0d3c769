// Undo and redo of cell texts: single changes, sequences, the cap, and the
// histories that a cap, an open or nested sequence or a shrunk grid leave.
#include <gtest/gtest.h>

#include "controls/base/ExGridUndoRedo.h"
#include "tests/controls/base/BaseGridTestFixture.h"

namespace {

// One step: 'c' writes and registers a change of (col, row) to text, '['
// and ']' bracket a sequence, 'u' undo, 'r' redo, 'x' reset, 'm' sets
// MaxLevel to col, 'd' cuts the grid to col rows. Then cells (1, 1) and
// (2, 1) read A and B and Level is as given.
struct Step {
    char op;
    int col = 0, row = 0;
    const char* text = "";
    const char* a = "";
    const char* b = "";
    int level = 0;
};

Step C(int c, int r, const char* t, const char* a, const char* b, int level)
{
    return { 'c', c, r, t, a, b, level };
}
Step Op(char op, const char* a, const char* b, int level, int arg = 0)
{
    return { op, arg, 0, "", a, b, level };
}

void RunSteps(const char* name, const std::vector<Step>& steps)
{
    SCOPED_TRACE(name);
    BaseGridFixture f(6, 6);
    TTestBaseGrid* g = f.Grid;
    auto* u = new TExGridUndoRedo(f.Form);
    g->SetUndoRedo(u);
    ASSERT_EQ(u->Grid(), g);
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "step " << ++n << " '" << s.op << "'");
        switch (s.op) {
        case 'c': {
            const QString old = g->GetCellEx(s.col, s.row);
            g->SetCellEx(s.col, s.row, QString::fromUtf8(s.text));
            u->RegisterChange(s.col, s.row, old, QString::fromUtf8(s.text));
            break;
        }
        case '[':
            u->StartSequence();
            break;
        case ']':
            u->StopSequence();
            break;
        case 'u':
            u->Undo();
            break;
        case 'r':
            u->Redo();
            break;
        case 'x':
            u->Reset();
            break;
        case 'm':
            u->SetMaxLevel(s.col);
            break;
        case 'd':
            g->SetRowCount(s.col);
            break;
        }
        EXPECT_EQ(g->GetCellEx(1, 1), QString::fromUtf8(s.a));
        EXPECT_EQ(g->GetCellEx(2, 1), QString::fromUtf8(s.b));
        EXPECT_EQ(u->Level(), s.level);
        EXPECT_GE(g->Row(), 0);
        EXPECT_GE(g->Col(), 0);
        EXPECT_EQ(u->CanUndo(), u->Level() > 0);
        EXPECT_EQ(u->CanRedo(), u->Level() < u->Items().Count());
    }
}

TEST(UndoRedo, StepTables)
{
    RunSteps("single changes",
        { C(1, 1, "a", "a", "", 1), C(2, 1, "b", "a", "b", 2), Op('u', "a", "", 1), Op('u', "", "", 0),
            Op('u', "", "", 0), Op('r', "a", "", 1), Op('r', "a", "b", 2), Op('r', "a", "b", 2) });
    RunSteps("a sequence undoes and redoes as one",
        { C(1, 1, "x", "x", "", 1), Op('[', "x", "", 2), C(1, 1, "a", "a", "", 3), C(2, 1, "b", "a", "b", 4),
            Op(']', "a", "b", 5), Op('u', "x", "", 1), Op('r', "a", "b", 5), Op('u', "x", "", 1), Op('u', "", "", 0) });
    RunSteps("a change after an undo goes behind the undone one",
        { C(1, 1, "a", "a", "", 1), Op('u', "", "", 0), C(2, 1, "b", "", "b", 2), Op('u', "", "", 1),
            Op('u', "", "", 0) });
    RunSteps("the cap keeps the newest items",
        { Op('m', "", "", 0, 3), C(1, 1, "a", "a", "", 1), C(1, 1, "b", "b", "", 2), C(1, 1, "c", "c", "", 3),
            C(1, 1, "d", "d", "", 3), Op('u', "c", "", 2), Op('u', "b", "", 1), Op('u', "a", "", 0),
            Op('u', "a", "", 0) });
    RunSteps("the cap took the start marker",
        { Op('m', "", "", 0, 2), Op('[', "", "", 1), C(1, 1, "a", "a", "", 2), C(2, 1, "b", "a", "b", 2),
            Op(']', "a", "b", 3), Op('u', "", "", 0), Op('u', "", "", 0), Op('r', "a", "", 1) });
    RunSteps("an open sequence never writes its marker and redoes to its end",
        { Op('[', "", "", 1), C(1, 1, "a", "a", "", 2), C(2, 1, "b", "a", "b", 3), Op('u', "a", "", 2),
            Op('u', "", "", 1), Op('u', "", "", 0), Op('r', "a", "b", 3) });
    RunSteps("nested sequences",
        { Op('[', "", "", 1), Op('[', "", "", 2), C(1, 1, "a", "a", "", 3), Op(']', "a", "", 4),
            C(2, 1, "b", "a", "b", 5), Op(']', "a", "b", 6), Op('u', "", "", 1), Op('u', "", "", 0) });
    RunSteps("reset",
        { C(1, 1, "a", "a", "", 1), Op('x', "a", "", 0), Op('u', "a", "", 0), C(2, 1, "b", "a", "b", 1),
            Op('u', "a", "", 0) });
    RunSteps("a cell that left the grid is passed over",
        { Op('[', "", "", 1), C(1, 1, "a", "a", "", 2), C(2, 4, "q", "a", "", 3), C(2, 1, "b", "a", "b", 4),
            Op(']', "a", "b", 5), Op('d', "a", "b", 5, 3), Op('u', "", "", 0), Op('r', "a", "b", 5) });
}

TEST(UndoRedo, EventsSeeThePresentTextAndTheTextAboutToBeWritten)
{
    BaseGridFixture f(6, 6);
    auto* u = new TExGridUndoRedo(f.Form);
    f.Grid->SetUndoRedo(u);
    QStringList log;
    auto logger = [&](const char* what) {
        return [&log, what](TObject*, TBaseGrid*, int c, int r, const QString& o, const QString& n) {
            log << QStringLiteral("%1 %2,%3 %4>%5").arg(QLatin1String(what)).arg(c).arg(r).arg(o, n);
        };
    };
    u->OnUndo = logger("undo");
    u->OnRedo = logger("redo");
    f.Grid->SetCellEx(3, 2, QStringLiteral("typed"));
    u->RegisterChange(3, 2, QStringLiteral("old"), QStringLiteral("new"));
    u->Undo();
    u->Redo();
    EXPECT_EQ(log, (QStringList { QStringLiteral("undo 3,2 typed>old"), QStringLiteral("redo 3,2 old>new") }));
    EXPECT_EQ(f.Grid->Col(), 3);
    EXPECT_EQ(f.Grid->Row(), 2);
}

TEST(UndoRedo, GridAndComponentForgetEachOtherWhenOneGoes)
{
    {
        BaseGridFixture f(6, 6);
        auto* u = new TExGridUndoRedo(nullptr);
        f.Grid->SetUndoRedo(u);
        delete u;
        EXPECT_EQ(f.Grid->UndoRedo(), nullptr);
    }
    auto* u = new TExGridUndoRedo(nullptr);
    {
        BaseGridFixture f(6, 6);
        f.Grid->SetUndoRedo(u);
        u->RegisterChange(1, 1, QString(), QStringLiteral("a"));
    }
    EXPECT_EQ(u->Grid(), nullptr);
    u->Undo(); // no grid: nothing
    EXPECT_EQ(u->Level(), 1);
    delete u;
}

} // namespace
