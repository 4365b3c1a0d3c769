#pragma once
// The page engine shared by printing, print preview and drawing one page:
// it measures columns and rows in 0.1 mm, fits the columns to the page when
// asked, cuts the columns into strips and the rows into pages, repeats fixed
// rows and columns, and composes header and footer lines.

#include <QString>
#include <QStringList>
#include <vector>

#include "controls/grid/ExGrid.h"
#include "controls/grid/ExGridOptions.h"
#include "controls/gridio/ExGridPrintCanvas.h"

class TPrinter;

// Passes of the engine. The counting passes draw nothing.
enum class TPrintPass { Preview = 0, Print = 1, CountPrint = 2, CountPreview = 3 };

class TGridPageEngine {
public:
    TGridPageEngine(TExStringGrid* Grid, TMetricCanvas& Canvas, TPrintPass Mode, bool SelectedOnly, int PageCount,
        TPrinter* Printer = nullptr);
    // Lays out and (in the drawing passes) draws the pages; the page count.
    int Run();
    // Sets the grid rectangle, the page (or preview) rectangle and the page
    // range a pass works on, as the drivers do.
    static void Prepare(TExStringGrid* Grid, const TGridRect& Gridrect, const TRect& Page, int From, int To);

    // Layout results, for the grid's readers and the tests.
    const std::vector<int>& MaxWidths() const { return FMaxWidths; }
    const std::vector<int>& Indents() const { return FIndents; }
    double FitFactor() const { return FFit; }
    int SpacingUnit() const { return FU; }
    int TextMargin() const { return FM; }
    int ColumnGap() const { return FG; }
    int HeaderHeight() const { return FEh; }
    int FooterHeight() const { return FEf; }

    // The size of a printed cell in 0.1 mm (display column).
    TPoint MeasureCellPrintSize(int ACol, int ARow);
    // Paints the included columns FirstCol..LastCol of ARow with their top at
    // Y; the height the row takes.
    int PrintRowCells(int Y, int FirstCol, int LastCol, int ARow);
    int RowPrintHeight(int ARow);
    bool RowIncluded(int ARow);
    bool ColIncluded(int ACol);
    QString PageNumberText();
    // The six header and footer slot texts of the current page, in the order
    // of TPrintPosition from ppTopLeft on.
    std::vector<QString> SlotTexts();

    // The text broken into lines of at most Width (at blanks; a longer word
    // stands alone), as word wrap prints it.
    QStringList WrapLines(const QString& Text, int Width);
    bool WrapsCell(int ACol, int ARow, bool CellWordWrap);

private:
    // What a printed cell takes from the grid's looks: the print font (or the
    // display font at the print size), the brush and the layout flags.
    struct TCellPrintLook {
        TBrush Brush;
        TFont Font;
        TColor ColorTo = clNone;
        TAlignment HAlign = taLeftJustify;
        TVAlignment VAlign = TVAlignment::vtaTop;
        bool WordWrap = false;
        TCellGradientDirection Gradient = TCellGradientDirection::GradientVertical;
    };
    void ResolveCellPrintLook(int ACol, int ARow, TCellPrintLook& Look);
    bool PrintsNoText(int ACol, int ARow);
    // The text a cell prints (real column) and its kind: 1 mark-up, 2 rich
    // text, else plain (a formula gives its value, a link loses its
    // protocol unless the grid shows full links).
    QString PrintedCellText(int RCol, int ARow, int& Kind);
    TPoint MeasureCellContent(int ACol, int ARow);
    // The line cut to Width with an end ellipsis.
    QString ElidedLine(const QString& Text, int Width);
    TPoint PrintedGraphicSize(int ACol, int ARow);
    // Places and paints the cell's graphic; TextRect gives up its share.
    void PrintCellGraphic(int ACol, int ARow, TRect& TextRect, TAlignment CellAlign, bool HasText);
    // The cell graphic's screen look as an image of ScreenSize pixels at
    // about the device's resolution, on a clear ground.
    QImage GraphicImage(int ACol, int ARow, TCellGraphic* Graphic, TPoint ScreenSize, TAlignment CellAlign);
    void SetUpFonts();
    void ComputeColumnWidths();
    void FitToPage();
    void ComputeTitleHeights();
    // TitleLines holds mark-up and is the title (no TitleText).
    bool MarkupTitle() const;
    // The room a top mark-up title takes below the header line.
    int TopTitleHeight() const;
    void LayoutStrip();
    int DrawPageTitles();
    void DrawPageFrame(int y);
    void StartNextPage();
    bool PageDrawn() const;
    bool Drawing() const { return FMode == TPrintPass::Preview || FMode == TPrintPass::Print; }
    void SelectCellFont(const TFont& Font);
    int GhHeight();

    TExStringGrid* FGrid;
    TPrintSettings* FSet;
    TMetricCanvas& FCanvas;
    TPrintPass FMode;
    bool FSelectedOnly;
    int FPageCount;
    TPrinter* FPrinter;

    double FS = 1.0;
    double FFit = 1.0;
    int FU = 0, FM = 0, FG = 0, FHh = 0, FHf = 0, FHc = 0;
    int FW = 0, FB = 0, FEh = 0, FEf = 0;
    std::vector<int> FMaxWidths;
    std::vector<int> FIndents;
    int FP = 0;
    int FStrip = 0;
    int FPagesInStrip = 0;
    int FC1 = 0, FC2 = 0;
    int FWf = 0;
    bool FRepeatCols = false;
    bool FMultiStrip = false;
    bool FCancelled = false;
    int FCachedRow = -1;
    int FCachedHeight = 0;
    int FLastMeasuredHeight = 0;
    int FTitleH = -1; // a top mark-up title's height; -1 until measured
};

// A bitmap's pixels stretched into a rectangle of the metric canvas, copied
// or combined by the raster operation (on devices that can combine pixels;
// a PDF page takes copies only).
void StretchBitmapToRect(TMetricCanvas& Canvas, const TRect& Rect, TBitmap* Bitmap, TCopyMode RasterOp = cmSrcCopy);
void StretchImageToRect(TMetricCanvas& Canvas, const TRect& Rect, const QImage& Image, TCopyMode RasterOp = cmSrcCopy);

// 0.1 mm per screen pixel of the canvas (254 / dpi).
double PrintScreenFactor(int ScreenDpi);
