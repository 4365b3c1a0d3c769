// The string grid's text highlighting and error marks, written as mark-up
// tags into the cells' texts, and the cell checks that run the linked
// checker over cells.

#include "controls/grid/ExGrid.h"

#include "controls/base/EsgHTMLE.h"
#include "controls/grid/esgcheck.h"

namespace {

const QString kHilightTag = QStringLiteral("hi");
const QString kMarkTag = QStringLiteral("e");

} // namespace

// ---------------------------------------------------------------------------
// Tagging texts

QString TExStringGrid::HilightText(bool DoCase, const QString& S, const QString& Text)
{
    return HighlightHTMLText(S, Text, kHilightTag, DoCase);
}

QString TExStringGrid::UnHilightText(const QString& S)
{
    return UnhighlightHTMLText(S, kHilightTag);
}

QString TExStringGrid::MarkText(bool DoCase, const QString& S, const QString& Text)
{
    return HighlightHTMLText(S, Text, kMarkTag, DoCase);
}

QString TExStringGrid::UnMarkText(const QString& S)
{
    return UnhighlightHTMLText(S, kMarkTag);
}

void TExStringGrid::TagCells(
    const QString& Tag, bool DoCase, const QString& HiText, int FromCol, int FromRow, int ToCol, int ToRow)
{
    const QString search = EncodeHTMLEntities(HiText, false);
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c = FromCol; c <= ToCol; ++c) {
            if (!IsBaseCell(c, r))
                continue;
            const QString text = OnGetDisplText ? GetCellEx(c, r) : GetGridCell(c, r);
            SetCellEx(c, r, HighlightHTMLText(EncodeHTMLEntities(text, false), search, Tag, DoCase));
        }
}

void TExStringGrid::UntagCells(const QString& Tag, int FromCol, int FromRow, int ToCol, int ToRow)
{
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c = FromCol; c <= ToCol; ++c) {
            if (!IsBaseCell(c, r))
                continue;
            const QString text = OnGetDisplText ? GetCellEx(c, r) : GetGridCell(c, r);
            SetCellEx(c, r, UnhighlightHTMLText(DecodeHTMLEntities(text, false), Tag));
        }
}

TRect TExStringGrid::TagRange(bool DoFixed, bool Hidden) const
{
    const int lastCol = ColCount() + (Hidden ? NumHiddenColumns() : 0) - 1;
    if (DoFixed)
        return TRect(0, 0, lastCol, RowCount() - 1);
    return TRect(FixedCols(), FixedRows(), lastCol - FixedRightCols(), RowCount() - FixedFooters() - 1);
}

// ---------------------------------------------------------------------------
// Highlighting

void TExStringGrid::HilightInCell(bool DoCase, int Col, int Row, const QString& HiText)
{
    TagCells(kHilightTag, DoCase, HiText, Col, Row, Col, Row);
}

void TExStringGrid::HilightInCol(bool DoFixed, bool DoCase, int Col, const QString& HiText)
{
    const TRect r = TagRange(DoFixed, false);
    TagCells(kHilightTag, DoCase, HiText, Col, r.Top, Col, r.Bottom);
}

void TExStringGrid::HilightInRow(bool DoFixed, bool DoCase, int Row, const QString& HiText)
{
    const TRect r = TagRange(DoFixed, false);
    TagCells(kHilightTag, DoCase, HiText, r.Left, Row, r.Right, Row);
}

void TExStringGrid::HilightInGrid(bool DoFixed, bool DoCase, const QString& HiText)
{
    // Without the fixed cells the hidden columns count, as when removing.
    const TRect r = TagRange(DoFixed, !DoFixed);
    TagCells(kHilightTag, DoCase, HiText, r.Left, r.Top, r.Right, r.Bottom);
}

void TExStringGrid::UnHilightInCell(int Col, int Row)
{
    UntagCells(kHilightTag, Col, Row, Col, Row);
}

void TExStringGrid::UnHilightInCol(bool DoFixed, int Col)
{
    const TRect r = TagRange(DoFixed, false);
    UntagCells(kHilightTag, Col, r.Top, Col, r.Bottom);
}

void TExStringGrid::UnHilightInRow(bool DoFixed, int Row)
{
    const TRect r = TagRange(DoFixed, true);
    UntagCells(kHilightTag, r.Left, Row, r.Right, Row);
}

void TExStringGrid::UnHilightInGrid(bool DoFixed)
{
    const TRect r = TagRange(DoFixed, true);
    UntagCells(kHilightTag, r.Left, r.Top, r.Right, r.Bottom);
}

// ---------------------------------------------------------------------------
// Marking

void TExStringGrid::MarkInCell(bool DoCase, int Col, int Row, const QString& HiText)
{
    TagCells(kMarkTag, DoCase, HiText, Col, Row, Col, Row);
}

void TExStringGrid::MarkInCol(bool DoFixed, bool DoCase, int Col, const QString& HiText)
{
    const TRect r = TagRange(DoFixed, false);
    TagCells(kMarkTag, DoCase, HiText, Col, r.Top, Col, r.Bottom);
}

void TExStringGrid::MarkInRow(bool DoFixed, bool DoCase, int Row, const QString& HiText)
{
    const TRect r = TagRange(DoFixed, false);
    TagCells(kMarkTag, DoCase, HiText, r.Left, Row, r.Right, Row);
}

void TExStringGrid::MarkInGrid(bool DoFixed, bool DoCase, const QString& HiText)
{
    const TRect r = TagRange(DoFixed, false);
    TagCells(kMarkTag, DoCase, HiText, r.Left, r.Top, r.Right, r.Bottom);
}

void TExStringGrid::UnMarkInCell(int Col, int Row)
{
    UntagCells(kMarkTag, Col, Row, Col, Row);
}

void TExStringGrid::UnMarkInCol(bool DoFixed, int Col)
{
    const TRect r = TagRange(DoFixed, false);
    UntagCells(kMarkTag, Col, r.Top, Col, r.Bottom);
}

void TExStringGrid::UnMarkInRow(bool DoFixed, int Row)
{
    const TRect r = TagRange(DoFixed, true);
    UntagCells(kMarkTag, r.Left, Row, r.Right, Row);
}

void TExStringGrid::UnMarkInGrid(bool DoFixed)
{
    const TRect r = TagRange(DoFixed, true);
    UntagCells(kMarkTag, r.Left, r.Top, r.Right, r.Bottom);
}

// ---------------------------------------------------------------------------
// Cell checks

class TExStringGrid::TCheckerLink : public TComponent {
public:
    explicit TCheckerLink(TExStringGrid* AGrid)
        : TComponent(nullptr)
        , FGrid(AGrid)
    {
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        if (Operation == opRemove && AComponent == FGrid->FCellChecker)
            FGrid->FCellChecker = nullptr;
        TComponent::Notification(AComponent, Operation);
    }

private:
    TExStringGrid* FGrid;
};

void TExStringGrid::TCheckerLinkFree::operator()(TCheckerLink* Link) const
{
    delete Link;
}

void TExStringGrid::SetCellChecker(TExStringGridCheck* Value)
{
    if (Value == FCellChecker)
        return;
    if (FCellChecker && FCheckerLink)
        FCellChecker->RemoveFreeNotification(FCheckerLink.get());
    FCellChecker = Value;
    if (!Value)
        return;
    if (!FCheckerLink)
        FCheckerLink.reset(new TCheckerLink(this));
    Value->FreeNotification(FCheckerLink.get());
}

bool TExStringGrid::CheckCell(int Col, int Row)
{
    if (!FCellChecker)
        return true;
    const QString unmarked = UnMarkText(GetCellEx(Col, Row));
    if (FCellChecker->GotoCell()) {
        // A hidden column has no place to go to.
        const int d = DisplColIndex(Col);
        if (!IsHiddenColumn(Col) && d < ColCount() && Row < RowCount())
            MoveCurrent(d, Row, true, true);
    }
    // Both start from the unmarked text: with both on, the marks win.
    QString result = unmarked;
    if (FCellChecker->UseCorrect())
        result = FCellChecker->Correct(Col, Row, unmarked);
    if (FCellChecker->UseMarkError())
        result = FCellChecker->MarkError(Col, Row, unmarked);
    SetCellEx(Col, Row, result);
    return result == unmarked;
}

bool TExStringGrid::CheckCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    if (!FCellChecker)
        return true;
    FCellChecker->StartCheck();
    const int oldRow = Row(), oldCol = Col();
    bool ok = true;
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c = FromCol; c <= ToCol; ++c)
            ok = CheckCell(c, r) && ok;
    FCellChecker->StopCheck();
    if (FCellChecker->GotoCell())
        MoveCurrent(oldCol, oldRow, true, true);
    return ok;
}

bool TExStringGrid::CheckCol(bool DoFixed, int Col)
{
    const TRect r = TagRange(DoFixed, false);
    return CheckCells(Col, r.Top, Col, r.Bottom);
}

bool TExStringGrid::CheckRow(bool DoFixed, int Row)
{
    const TRect r = TagRange(DoFixed, false);
    return CheckCells(r.Left, Row, r.Right, Row);
}

bool TExStringGrid::CheckGrid(bool DoFixed)
{
    const TRect r = TagRange(DoFixed, false);
    return CheckCells(r.Left, r.Top, r.Right, r.Bottom);
}
