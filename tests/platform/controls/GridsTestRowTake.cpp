// Rows of the string grid taken out of the store and put back, and sets of
// rows removed and inserted in one pass.
#include <gtest/gtest.h>

#include <QStringList>

#include "tests/platform/controls/GridsTestFixture.h"

namespace {

TEST(GridCellStore, RowTakenOutComesBackWithItsTextsAndObjects)
{
    GridFixture f(4, 6);
    TObject tag, other;
    f.Grid->SetCells(0, 2, QStringLiteral("a"));
    f.Grid->SetCells(3, 2, QStringLiteral("beyond"));
    f.Grid->SetObjects(1, 2, &tag);
    f.Grid->SetColCount(3); // column 3 is kept beyond the grid
    f.Grid->SetObjects(2, 4, &other);

    TGridStoredRow row = f.Grid->TakeRow(2);
    EXPECT_EQ(f.Grid->Cells(0, 2), QString());
    EXPECT_EQ(f.Grid->Objects(1, 2), nullptr);
    const QString* text = row.Texts.data();

    f.Grid->DeleteRows(2, 1); // nothing of the row is left to free
    f.Grid->InsertRows(4, 1);
    f.Grid->PutRow(4, std::move(row));
    EXPECT_EQ(f.Grid->Cells(0, 4), QStringLiteral("a"));
    EXPECT_EQ(f.Grid->Cells(3, 4), QStringLiteral("beyond"));
    EXPECT_EQ(f.Grid->Objects(1, 4), &tag);
    EXPECT_EQ(f.Grid->Objects(2, 3), &other); // moved up by the deletion
    EXPECT_EQ(&f.Grid->Store().Text(0, 4), text); // the texts moved, not copied

    // Putting replaces what the row held.
    f.Grid->PutRow(3, TGridStoredRow());
    EXPECT_EQ(f.Grid->Objects(2, 3), nullptr);
}

TEST(GridCellStore, RowSetsLeaveAndComeInWithCellsHeightsAndCursor)
{
    GridFixture f(3, 10);
    TObject tag;
    for (int r = 0; r < 10; ++r)
        f.Grid->SetCells(0, r, QStringLiteral("r%1").arg(r));
    f.Grid->SetObjects(2, 7, &tag);
    f.Grid->SetRowHeights(5, 31);
    f.Grid->SetRow(7);
    auto shown = [&] {
        QStringList names;
        for (int r = 0; r < f.Grid->RowCount(); ++r)
            names << f.Grid->Cells(0, r) + (f.Grid->RowHeights(r) == 31 ? QStringLiteral("+") : QString());
        return names.join(u' ');
    };

    f.Grid->DeleteRowSet({ 2, 4, 6, 9 });
    EXPECT_EQ(shown(), QStringLiteral("r0 r1 r3 r5+ r7 r8"));
    EXPECT_EQ(f.Grid->Objects(2, 4), &tag);
    EXPECT_EQ(f.Grid->Row(), 4); // the cursor stays on its row

    f.Grid->InsertRowSet({ 0, 3, 4, 8 });
    EXPECT_EQ(shown(), QStringLiteral(" r0 r1   r3 r5+ r7  r8"));
    EXPECT_EQ(f.Grid->Objects(2, 7), &tag);
    EXPECT_EQ(f.Grid->Row(), 7);
    EXPECT_EQ(f.Grid->RowCount(), 10);
}

} // namespace
