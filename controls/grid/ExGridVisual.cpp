// The string grid's per-cell queries (each applies what the grid knows, then
// its event) and the resolution of a cell's complete look. These run for
// every painted cell: they allocate nothing and loop over no rows.

#include "controls/base/ExUtil.h"
#include "controls/base/ExUtilDraw.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridData.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Queries with no answer of their own

void TExStringGrid::DoCanEditCell(int ACol, int ARow, bool& CanEdit)
{
    if (OnCanEditCell)
        OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TExStringGrid::DoSearchFooterAction(const QString& Value, int ACol, int ARow, TSearchAction Action)
{
    if (OnSearchFooterAction)
        OnSearchFooterAction(this, Value, ACol, ARow, Action);
}

void TExStringGrid::DoCellButtonClick(int ACol, int ARow)
{
    if (OnButtonClick)
        OnButtonClick(this, ACol, ARow);
}

void TExStringGrid::DoExpandClick(int ACol, int ARow, bool Expanded)
{
    if (OnExpandClick)
        OnExpandClick(this, ACol, ARow, Expanded);
    SetRowHeights(ARow, GetExpandHeight(ACol, ARow, Expanded));
}

void TExStringGrid::DoComboCloseUp(int ARow, int ACol)
{
    if (OnComboCloseUp)
        OnComboCloseUp(this, ARow, ACol);
}

void TExStringGrid::DoComboDropDown(int ARow, int ACol)
{
    if (OnComboDropDown)
        OnComboDropDown(this, ARow, ACol);
}

void TExStringGrid::DoGetCellCursor(int ACol, int ARow, int X, int Y)
{
    if (!OnGetCellCursor)
        return;
    TCursor c = Cursor();
    OnGetCellCursor(this, ACol, ARow, X, Y, c);
    // Shown at once, until the next mouse move; Cursor stays the grid's.
    ShowWindowCursor(this, c);
}

void TExStringGrid::DoGetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont)
{
    if (OnGetCellPrintColor)
        OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TExStringGrid::DoGetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    if (OnGetCellPrintBorder)
        OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TExStringGrid::DoGetFormat(int ACol, TSortStyle& AStyle, QString& APrefix, QString& ASuffix)
{
    if (OnGetFormat)
        OnGetFormat(this, ACol, AStyle, APrefix, ASuffix);
}

void TExStringGrid::QueryEditorType(int ACol, int ARow, TEditorType& AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

void TExStringGrid::GetEditorType(int ACol, int ARow, TEditorType& AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

void TExStringGrid::DoIsPasswordCell(int ACol, int ARow, bool& IsPassword)
{
    if (OnIsPasswordCell)
        OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TExStringGrid::DoGetWordWrap(int ACol, int ARow, bool& WordWrap)
{
    if (OnGetWordWrap)
        OnGetWordWrap(this, ACol, ARow, WordWrap);
}

QString TExStringGrid::GetCheckTrue(int ACol, int ARow)
{
    QString s = FCheckTrue;
    if (OnGetCheckTrue)
        OnGetCheckTrue(this, ACol, ARow, s);
    return s;
}

QString TExStringGrid::GetCheckFalse(int ACol, int ARow)
{
    QString s = FCheckFalse;
    if (OnGetCheckFalse)
        OnGetCheckFalse(this, ACol, ARow, s);
    return s;
}

// ---------------------------------------------------------------------------
// Queries with an answer of the grid's own

void TExStringGrid::DoGetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
{
    if (ACol == 0 && FMouseActions->HotmailRowSelect())
        HAlign = taCenter;
    if (OnGetAlignment)
        OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

bool TExStringGrid::IsNoEditorCell(int ACol, int ARow)
{
    if (!OnGetEditorType)
        return false;
    TEditorType ed = TEditorType::edNormal;
    OnGetEditorType(this, ACol, ARow, ed);
    return ed == TEditorType::edNone;
}

void TExStringGrid::IsFixedCell(int ACol, int ARow, bool& IsFixed)
{
    IsFixed = IsFixed || (FFixedRowAlways && RowCount() == FMinFixedRows)
        || (FFixedColAlways && ACol < FMinFixedCols && ColCount() == FMinFixedCols) || ACol < FixedCols()
        || ARow < FixedRows();
    if (!IsFixed && OnIsFixedCell)
        OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void TExStringGrid::CanEditCell(int ACol, int ARow, bool& CanEdit)
{
    const TPoint base = BaseCell(ACol, ARow);
    if (CanEdit && HasCellProperties(base.X, base.Y)) {
        CanEdit = !GetCellProperties(base.X, base.Y)->ReadOnly();
        const bool editingOff = !(Options() & goEditing) && !FEditingSuspended && !FMouseActions->RangeSelectAndEdit;
        if (editingOff)
            CanEdit = false;
    }
    if (base.X < ColCount() + NumHiddenColumns())
        DoCanEditCell(base.X, base.Y, CanEdit);
    else
        CanEdit = true;
}

bool TExStringGrid::HasComboBox(int ACol, int ARow)
{
    if (OnHasComboBox) {
        bool has = false;
        OnHasComboBox(this, ACol, ARow, has);
        return has;
    }
    if (!FControlLook->DropDownAlwaysVisible())
        return false;
    TEditorType ed = FDefaultEditor;
    GetEditorType(ACol, ARow, ed);
    return ed == TEditorType::edComboEdit || ed == TEditorType::edComboList;
}

bool TExStringGrid::HasSpinEdit(int ACol, int ARow)
{
    if (ACol < FixedCols() || ARow < FixedRows())
        return false;
    if (OnHasSpinEdit) {
        bool has = false;
        OnHasSpinEdit(this, ACol, ARow, has);
        return has;
    }
    if (!FControlLook->SpinButtonsAlwaysVisible())
        return false;
    TEditorType ed = FDefaultEditor;
    QueryEditorType(ACol, ARow, ed);
    return ed == TEditorType::edSpinEdit || ed == TEditorType::edFloatSpinEdit || ed == TEditorType::edTimeSpinEdit
        || ed == TEditorType::edDateSpinEdit;
}

void TExStringGrid::GetCellHint(int ACol, int ARow, QString& AWideHint, QString& AHint)
{
    if (OnGridHint)
        OnGridHint(this, ARow, ACol, AHint);
    if (OnGridWideHint) {
        OnGridWideHint(this, ARow, ACol, AWideHint);
        if (!AWideHint.isEmpty())
            AHint = EncodeWideText(AWideHint);
    }
}

void TExStringGrid::GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    if (FGrouping->HeaderUnderline && ACol > 0 && IsNode(ARow)) {
        Borders = TCellBorder::cbBottom;
        APen->SetColor(FGrouping->HeaderLineColor);
        APen->SetWidth(FGrouping->HeaderLineWidth);
    }
    if (FGrouping->SummaryLine && ACol > 0 && IsSummary(ARow)) {
        Borders = TCellBorder::cbTop;
        APen->SetColor(FGrouping->SummaryLineColor);
        APen->SetWidth(FGrouping->SummaryLineWidth);
    }
    if (OnGetCellBorder)
        OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

namespace {
// A filter value: a text with a blank becomes a name-value entry whose value
// is the quoted condition.
QString FilterValue(const QString& Text)
{
    if (Text.contains(QLatin1Char(' ')))
        return Text + QStringLiteral("=\"") + Text + QLatin1Char('"');
    return Text;
}
} // namespace

bool TExStringGrid::GetColumnFilterValues(int ACol)
{
    TStringList* list = FFilterList.get();
    list->Clear();
    if (FFilterDropDownAuto && (ACol >= FixedCols() || FFilterDropDownColumns == TFilterDropDownColumns::fdAll)) {
        list->SetCaseSensitive(false);
        list->SetDuplicates(dupIgnore);
        list->SetSorted(true);
        const int last = RowCount() - FixedFooters() - 1;
        // Gathered first and added at once: the sorted list takes them in
        // one sort instead of one insertion each.
        std::vector<QString> values;
        values.reserve(std::size_t(std::max(0, last - FixedRows() + 1)));
        for (int r = FixedRows(); r <= last; ++r)
            values.push_back(FilterValue(GetCellEx(ACol, r).trimmed()));
        if (!FFilterIncremental) {
            // A kept row's texts end at its last written column.
            for (const THiddenRow& h : FHiddenRows)
                values.push_back(FilterValue(
                    ACol >= 0 && ACol < int(h.Cells.Texts.size()) ? h.Cells.Texts[std::size_t(ACol)] : QString()));
        }
        list->AddBulk(std::move(values));
        list->SetSorted(false);
        if (!FFilterDropDownClear.isEmpty())
            list->Insert(0, FFilterDropDownClear);
    }
    if (OnGetColumnFilter)
        OnGetColumnFilter(this, ACol, list);
    return list->Count() > 0;
}

// ---------------------------------------------------------------------------
// Cell colours and fonts

bool TExStringGrid::TakesPropertyBrush(int ACol, int ARow)
{
    switch (GetCellType(ACol, ARow)) {
    case ctIcon:
    case ctNone:
    case ctImageList:
    case ctEmpty:
    case ctImages:
    case ctComment:
        return true;
    default:
        return false;
    }
}

TExStringGrid::TBrushRule TExStringGrid::CellBrushRule(int ACol, int ARow)
{
    switch (GetCellType(ACol, ARow)) {
    case ctNone:
    case ctRotated:
    case ctEmpty:
        return TBrushRule::Final;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctRadio:
    case ctButton:
    case ctRadioButton:
        return TBrushRule::Control;
    default:
        return TBrushRule::Plain;
    }
}

bool TExStringGrid::CellInSelection(int ACol, int ARow) const
{
    if (FMouseActions->DisjunctRowSelect() && RowSelectFlag(RowSelectIndex(ARow)))
        return true;
    if (FMouseActions->DisjunctColSelect() && GetColSelect(ACol))
        return true;
    return GetSelectedCells(ACol, ARow);
}

namespace {
void ApplyProps(const TCellProperties* p, TFont* AFont)
{
    if (p->FontColor() != clNone)
        AFont->SetColor(p->FontColor());
    if (p->FontStyle() != TFontStyles())
        AFont->SetStyle(p->FontStyle());
    if (p->FontSize() != 0)
        AFont->SetSize(p->FontSize());
    if (!p->FontName().isEmpty())
        AFont->SetName(p->FontName());
}
} // namespace

void TExStringGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont)
{
    if (FActiveCellShow) {
        const int dc = DisplColIndex(ACol);
        const int fc = FixedCols(), fr = FixedRows();
        if ((ARow == Row() && fc > 0 && dc == fc - 1) || (dc == Col() && fr > 0 && ARow == fr - 1)) {
            AFont->Assign(FActiveCellFont.get());
            ABrush->SetColor(FActiveCellColor);
        }
    }
    if (HasCellProperties(ACol, ARow)) {
        const TCellProperties* p = GetCellProperties(ACol, ARow);
        if (p->BrushColor() != clNone && TakesPropertyBrush(ACol, ARow))
            ABrush->SetColor(p->BrushColor());
        ApplyProps(p, AFont);
    }
    if (OnGetCellColor)
        OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TExStringGrid::GetCellDrawDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo,
    TColor& MirrorColor, TColor& MirrorColorTo, TAlignment& HAlign, TVAlignment& VAlign, bool& WW,
    TCellGradientDirection& GD)
{
    TGridDrawState state;
    GetVisualProperties(ACol, ARow, state, false, false, false, ABrush, ColorTo, MirrorColor, MirrorColorTo, AFont,
        HAlign, VAlign, WW, GD);
    const TBackGroundDisplay bd = FBackGround->Display();
    if (IsFixed(ACol, ARow) || FBands->Active() || bd == TBackGroundDisplay::bdGradientHorz
        || bd == TBackGroundDisplay::bdGradientVert || state.testFlag(gdSelected)) {
        ABrush->SetColor(clNone);
        ColorTo = clNone;
    }
}

// ---------------------------------------------------------------------------
// The complete look of a cell

TColor TExStringGrid::BlendSelectionColor(TColor ASelectionColor, TColor ACellColor, int Factor)
{
    if (Factor >= 100)
        return ASelectionColor;
    if (Factor < 1 || ASelectionColor == clNone)
        return ACellColor;
    if (ACellColor == clNone)
        return ASelectionColor;
    const TColor s = ColorToRGB(ASelectionColor), c = ColorToRGB(ACellColor);
    const double f = Factor / 100.0;
    const auto mix = [f](int a, int b) { return int(std::min<std::int64_t>(255, Round(f * a + (1 - f) * b))); };
    return RGB(mix(GetRValue(s), GetRValue(c)), mix(GetGValue(s), GetGValue(c)), mix(GetBValue(s), GetBValue(c)));
}

TColor TExStringGrid::MixSelectionColor(TColor ASelectionColor, TColor ACellColor, bool Mixer, int Factor)
{
    return Mixer ? BlendSelectionColor(ASelectionColor, ACellColor, Factor) : ASelectionColor;
}

int TExStringGrid::ResolveCellAlignment(int RCol, int ARow)
{
    TAlignment ha = FDefaultAlignment;
    TVAlignment va = FVAlignment;
    bool formula = false;
    if (FAutoNumAlign) {
        QString s = GetCellEx(RCol, ARow);
        if (s.startsWith(QLatin1Char('='))) {
            formula = true;
            s = GetCellValueText(RCol, ARow);
        } else if (s.length() > 3 && s.startsWith(QStringLiteral("|\\")) && s.at(3) == QLatin1Char('=')) {
            s = GetCellValueText(RCol, ARow);
        }
        const int kind = ClassifyCellNumber(s.trimmed());
        if (kind == 0 || kind == 1 || kind == 5)
            ha = taRightJustify;
    }
    if (!formula && HasCellProperties(RCol, ARow))
        ha = GetCellProperties(RCol, ARow)->Alignment();
    DoGetAlignment(RCol, ARow, ha, va);
    return int(ha) | (int(va) << 8);
}

void TExStringGrid::ApplySelectedColors(
    TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo, TFont* AFont) const
{
    ABrush->SetColor(FSelectionColor);
    AColorTo = FSelectionColorTo;
    AMirrorColor = FSelectionMirrorColor;
    AMirrorColorTo = FSelectionMirrorColorTo;
    if (FSelectionTextColor != clNone)
        AFont->SetColor(FSelectionTextColor);
}

void TExStringGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
    TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA,
    TVAlignment& VA, bool& WW, TCellGradientDirection& GD)
{
    const int fixedCols = FixedCols(), fixedRows = FixedRows();
    const int colCount = ColCount(), rowCount = RowCount();
    const bool fixedArea = ACol < fixedCols || ARow < fixedRows;
    const bool printFonts = Print && !FPrintSettings->UseDisplayFont;
    const TMouseActions* ma = FMouseActions;

    // 1, 2: the font and the real cell.
    if (fixedArea)
        AFont->Assign(printFonts ? FPrintSettings->FixedFont() : FFixedFont.get());
    else
        AFont->Assign(printFonts ? FPrintSettings->Font() : Font());
    const int RCol = Remap ? RealColIndex(ACol) : ACol;
    const int displCol = Remap ? ACol : DisplColIndex(ACol);
    // The row's selection flag; its enabled entry is kept by displayed row.
    const int SelRow = ma->DisjunctRowSelect() ? RowSelectIndex(ARow) : ARow;

    // 3, 4: the cell's own look.
    ABrush->SetColor(clNone);
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;
    bool cellColorFinal = false, controlType = false, controlColorSet = false;
    if (HasCellProperties(RCol, ARow)) {
        const TCellProperties* p = GetCellProperties(RCol, ARow);
        switch (CellBrushRule(RCol, ARow)) {
        case TBrushRule::Final:
            if (p->BrushColor() != clNone) {
                ABrush->SetColor(p->BrushColor());
                cellColorFinal = true;
            }
            break;
        case TBrushRule::Control:
            controlType = true;
            ABrush->SetColor(p->BrushColor());
            controlColorSet = p->BrushColor() != clNone;
            break;
        case TBrushRule::Plain:
            ABrush->SetColor(p->BrushColor());
            break;
        }
        ApplyProps(p, AFont);
        WW = p->WordWrap();
        AColorTo = p->BrushColorTo();
        GD = p->GradientDirection();
    }
    // 5
    if (AState.testFlag(gdSelected))
        GD = TCellGradientDirection::GradientVertical;

    // 6: grid colour, bands, fixed parts.
    if ((ABrush->Color() == clNone || controlType) && !controlColorSet) {
        if (ABrush->Color() == clNone)
            ABrush->SetColor(Color());
        const bool normalCell = fixedCols <= ACol && ACol < colCount - FFixedRightCols + NumHiddenColumns()
            && fixedRows <= ARow && ARow < rowCount - FFixedFooters;
        if (FBands->Active() && (FBands->Print == Print || !Print) && normalCell && FBands->TotalLength() > 0)
            ABrush->SetColor((ARow - fixedRows) % FBands->TotalLength() < FBands->PrimaryLength()
                    ? FBands->PrimaryColor()
                    : FBands->SecondaryColor());
        if (fixedArea || displCol >= colCount - FFixedRightCols || ARow >= rowCount - FFixedFooters)
            ABrush->SetColor(FixedColor());
    }

    // 7, 8: fixed cells.
    const bool fixedLook = IsFixed(ACol, ARow) || fixedArea;
    if (fixedLook && !Print && !cellColorFinal) {
        ABrush->SetColor(FixedColor());
        AFont->Assign(FFixedFont.get());
        AState |= gdFixed;
    }
    if (fixedLook && !cellColorFinal && FLook >= TGridLook::glVRK) {
        ABrush->SetColor(FVRKGradFrom);
        AColorTo = FVRKGradTo;
        AMirrorColor = FVRKGradMirrorFrom;
        AMirrorColorTo = FVRKGradMirrorTo;
    }

    // 9, 10: the colour events.
    if (Print)
        DoGetCellPrintColor(RCol, ARow, AState, ABrush, AFont);
    else
        GetCellColor(RCol, ARow, AState, ABrush, AFont);
    if (OnGetCellGradient) {
        TColor c = ABrush->Color();
        OnGetCellGradient(this, ARow, RCol, c, AColorTo, AMirrorColor, AMirrorColorTo, GD);
        ABrush->SetColor(c);
    }
    // 11
    const TColor cellBrush = ABrush->Color();
    const TColor cellFont = AFont->Color();

    // 12, 13: disjunct row and column selection.
    const bool selecting = !Print && Select && FShowSelection && !fixedLook && !fixedArea;
    const auto disjunct = [&](bool Flag, int Current) {
        if ((Flag && !(FMouseDown && Current)) || (FMouseDown && !Flag && AState.testFlag(gdSelected))) {
            AState = gdSelected;
            ApplySelectedColors(ABrush, AColorTo, AMirrorColor, AMirrorColorTo, AFont);
        } else {
            AState &= ~TGridDrawState(gdSelected);
        }
    };
    if (selecting && ma->DisjunctRowSelect())
        disjunct(RowSelectFlag(SelRow), ARow == Row());
    if (selecting && ma->DisjunctColSelect())
        disjunct(GetColSelect(ACol), ACol == Col());

    // 14: the selected range.
    if ((Select && !Print && FShowSelection && !fixedLook && CellInSelection(ACol, ARow) && !ma->DisjunctRowSelect()
            && !ma->DisjunctColSelect())
        || (AState.testFlag(gdSelected) && FMouseDown && FShowSelection)) {
        const TColor own = ABrush->Color();
        ApplySelectedColors(ABrush, AColorTo, AMirrorColor, AMirrorColorTo, AFont);
        if (ColorToRGB(own) != ColorToRGB(Color()))
            ABrush->SetColor(MixSelectionColor(FSelectionColor, own, FSelectionColorMixer, FSelectionColorMixerFactor));
        AState |= gdSelected;
    }

    // 15: disjunct cells.
    if (ma->DisjunctCellSelect() && FShowSelection) {
        if (GetSelectedCells(ACol, ARow)) {
            ApplySelectedColors(ABrush, AColorTo, AMirrorColor, AMirrorColorTo, AFont);
            AState |= gdSelected;
        } else if (ACol == Col() && ARow == Row()) {
            AState &= ~TGridDrawState(gdSelected);
            ABrush->SetColor(cellBrush);
            AFont->SetColor(cellFont);
        }
    }

    // 16, 17: disabled text, lighter selected rows.
    if (FUseDisabledFont && ((FUseEnabledRows && !RowEnabled(ARow)) || !Enabled()))
        AFont->SetColor(FDisabledFontColor);
    if (ma->DisjunctRowSelect() && ARow != Row() && FSelectionColorTo == clNone && CellInSelection(ACol, ARow))
        ABrush->SetColor(AdjustColorPercent(ColorToRGB(ABrush->Color()), 7));

    // 18, 19
    DoGetWordWrap(RCol, ARow, WW);
    const int align = ResolveCellAlignment(RCol, ARow);
    HA = TAlignment(align & 0xFF);
    VA = TVAlignment(align >> 8);
}

void TExStringGrid::GetFontProperties(
    int ACol, int RCol, int ARow, TGridDrawState& AState, TFont* AFont, TBrush* ABrush, bool Remap)
{
    (void)Remap;
    const bool fixed = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
    AFont->Assign(fixed ? FFixedFont.get() : Font());
    if (HasCellProperties(RCol, ARow))
        ApplyProps(GetCellProperties(RCol, ARow), AFont);
    GetCellColor(RCol, ARow, AState, ABrush, AFont);
}
