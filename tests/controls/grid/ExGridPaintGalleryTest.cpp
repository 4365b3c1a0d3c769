// The cell painter's features, one small grid each, stacked into one picture
// with each feature's name beside it.

#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExControlLook.h"
#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/grid/ExGridSort.h"
#include "platform/graphics/Bitmaps.h"
#include "tests/common/GridOnForm.h"
#include "tests/common/TestUtil.h"
#include "tests/controls/grid/PaintProbe.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <functional>
#include <iterator>

namespace {

using Grid = TGridOnForm<TExStringGrid>;

constexpr int kGridW = 4 * 70 + 4, kGridH = 5 * 20 + 4, kLabelW = 170;

const QString kRich = QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue200;}"
                                     "\\f0\\fs18\\cf1\\b rich\\b0  text\\par}");

void Fill(TExStringGrid* g)
{
    paintprobe::FillTagTable(g, 70);
}

struct TFeature {
    const char* Name;
    std::function<void(TExStringGrid*)> Dress;
};

QImage Paint(const TFeature& f)
{
    Grid form(4, 5, kGridW, kGridH);
    TExStringGrid* g = form.Grid;
    Fill(g);
    f.Dress(g);
    return g->PaintToImage();
}

} // namespace

TEST(ExGridPaintGallery, EveryFeaturePaintsAsShown)
{
    TBitmap indicator;
    paintprobe::DrawRowIndicator(indicator);

    const TFeature features[] = {
        { "Active-cell headers",
            [](TExStringGrid* g) {
                g->SetLook(TGridLook::glXP);
                g->SetActiveCellShow(true);
                g->SetActiveCellColor(TColor(0x94E6FB));
                g->SetActiveCellColorTo(TColor(0x1595EE));
                g->SetCol(2);
                g->SetRow(3);
            } },
        { "Selection: Vista",
            [](TExStringGrid* g) {
                g->SetSelectionStyle(TGridSelectionStyle::ssVista);
                g->SetSelection({ 1, 1, 2, 3 });
            } },
        { "Selection: Windows 7",
            [](TExStringGrid* g) {
                g->SetSelectionStyle(TGridSelectionStyle::ssWin7);
                g->SetSelection({ 1, 1, 2, 3 });
            } },
        { "Selection: Office 2007",
            [](TExStringGrid* g) {
                g->SetSelectionStyle(TGridSelectionStyle::ssOffice2007);
                g->SetSelection({ 1, 1, 2, 3 });
            } },
        { "Selection rectangle",
            [](TExStringGrid* g) {
                g->SetSelectionRectangle(true);
                g->SetSelectionResizer(true);
                g->SetSelection({ 1, 1, 2, 3 });
            } },
        { "Bands",
            [](TExStringGrid* g) {
                g->Bands()->SetPrimaryColor(TColor(0xF0E0D0));
                g->Bands()->SetSecondaryColor(clWhite);
                g->Bands()->SetActive(true);
                g->SetHideFocusRect(true);
            } },
        { "Rich text, marker",
            [](TExStringGrid* g) {
                g->SetCells(3, 1, kRich);
                g->AddMarker(1, 2, 2, 3);
                g->SetHideFocusRect(true);
            } },
        { "Tree lines",
            [](TExStringGrid* g) {
                g->AddNode(1, 4);
                g->AddNode(2, 2);
                g->SetHideFocusRect(true);
            } },
        { "Row indicator",
            [&indicator](TExStringGrid* g) {
                g->SetRowIndicator(&indicator);
                g->SetRow(2);
            } },
        { "Combo and spin buttons",
            [](TExStringGrid* g) {
                g->OnHasComboBox = [](TObject*, int ACol, int ARow, bool& v) { v = ACol == 3 && ARow > 0; };
                g->OnHasSpinEdit = [](TObject*, int ACol, int ARow, bool& v) { v = ACol == 2 && ARow > 0; };
                g->ControlLook()->SetDropDownAlwaysVisible(true);
                g->ControlLook()->SetSpinButtonsAlwaysVisible(true);
                g->OnCanEditCell = [](TObject*, int ARow, int, bool& v) { v = ARow != 2; };
                g->SetHideFocusRect(true);
            } },
        { "Filter glyph",
            [](TExStringGrid* g) {
                g->SetFilterDropDownAuto(true);
                g->SetHideFocusRect(true);
            } },
        { "Borders, focus",
            [](TExStringGrid* g) {
                g->OnGetCellBorder = [](TObject*, int ARow, int ACol, TPen* APen, TExStringGrid::TCellBorders& B) {
                    if (ACol == 2 && ARow == 2) {
                        APen->SetColor(clRed);
                        APen->SetWidth(2);
                        B = TExStringGrid::TCellBorders(TCellBorder::cbLeft) | TCellBorder::cbRight | TCellBorder::cbTop
                            | TCellBorder::cbBottom;
                    }
                    if (ARow == 4 && ACol > 0) {
                        APen->SetColor(clBlue);
                        B = TCellBorder::cbBottom;
                    }
                };
                g->SetCol(1);
                g->SetRow(3);
                g->SetSelectionColor(clWhite);
                g->SetSelectionTextColor(clBlack);
            } },
    };
    const int n = int(std::size(features));
    QImage img(kLabelW + kGridW + 8, n * (kGridH + 8), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    for (int i = 0; i < n; ++i) {
        const int y = i * (kGridH + 8) + 4;
        const QImage shot = Paint(features[i]);
        ASSERT_FALSE(shot.isNull());
        p.setPen(Qt::black);
        p.drawText(QRect(4, y, kLabelW - 8, kGridH), Qt::AlignLeft | Qt::AlignVCenter, features[i].Name);
        p.drawImage(kLabelW, y, shot);
    }
    p.end();
    testutil::SaveImagePng(img, "exgrid_paint_gallery");
    EXPECT_TRUE(testutil::MatchesGolden(img, "exgrid_paint_gallery"));
}

// What the feature gallery leaves out: turned text at 90 and 45 degrees, the
// XP node glyphs of a tree, sort indicators numbered by their sort index, and
// the modified-row marker.
TEST(ExGridPaintGallery, TurnedTextNodeGlyphsSortIndexesAndModifiedRows)
{
    Grid form(4, 5, kGridW, 5 * 20 + 40 + 4);
    TExStringGrid* g = form.Grid;
    Fill(g);
    g->SetRowHeights(4, 60);
    g->AddRotated(2, 4, 90, "Up");
    g->AddRotated(3, 4, 45, "Slant");
    g->CellNode()->SetNodeType(TNodeType::cnXP);
    g->AddNode(1, 3);
    g->AddNode(2, 1);
    g->SortSettings()->SetShow(true);
    g->SortSettings()->IndexShow = true;
    g->SortIndexes()->AddIndex(2, true);
    g->SortIndexes()->AddIndex(3, false);
    g->ShowModified()->Enabled = true;
    g->SetRowModified(2, true);
    g->SetHideFocusRect(true);
    const QImage img = g->PaintToImage();
    testutil::SaveImagePng(img, "exgrid_paint_turned_nodes");
    EXPECT_TRUE(testutil::MatchesGolden(img, "exgrid_paint_turned_nodes"));
}
