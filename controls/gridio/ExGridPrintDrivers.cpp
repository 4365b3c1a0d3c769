// The grid's print, preview and page-drawing entries around the page engine.

#include <climits>
#include <cmath>

#include "controls/gridio/ExGridPrint.h"
#include "platform/controls/Printers.h"

namespace {
TGridRect WholeGrid(const TExStringGrid* g)
{
    return { 0, 0, g->ColCount() - 1, g->RowCount() - 1 };
}

// Turns IsPrintPreview and the export notification off however a pass ends.
struct TPrintPassGuard {
    TExStringGrid* Grid;
    bool& Preview;
    ~TPrintPassGuard()
    {
        Preview = false;
        Grid->Fontscalefactor = 1.0;
    }
};
} // namespace

int TExStringGrid::MapFontHeight(int PointSize) const
{
    return -int(std::trunc(PointSize * 254.0 / 72.0 * Fontscalefactor));
}

int TExStringGrid::MapFontSize(int Height)
{
    return int(std::trunc(Height * 72.0 / 254.0));
}

void TExStringGrid::Print()
{
    PrintPages(WholeGrid(this), false);
}
void TExStringGrid::PrintRect(const TGridRect& Gridrect)
{
    PrintPages(Gridrect, false);
}
void TExStringGrid::PrintSelection()
{
    PrintPages(Selection(), false);
}
void TExStringGrid::PrintSelectedRows()
{
    PrintPages(WholeGrid(this), true);
}
void TExStringGrid::PrintSelectedCols()
{
    PrintPages(WholeGrid(this), true);
}

void TExStringGrid::PrintPreview(TCanvas* Canvas, const TRect& Displayrect)
{
    PreviewPages(Canvas, Displayrect, false, WholeGrid(this));
}
void TExStringGrid::PrintPreviewRect(TCanvas* Canvas, const TRect& Displayrect, const TGridRect& Gridrect)
{
    PreviewPages(Canvas, Displayrect, false, Gridrect);
}
void TExStringGrid::PrintPreviewSelection(TCanvas* Canvas, const TRect& Displayrect)
{
    PreviewPages(Canvas, Displayrect, false, Selection());
}
void TExStringGrid::PrintPreviewSelectedRows(TCanvas* Canvas, const TRect& Displayrect)
{
    PreviewPages(Canvas, Displayrect, true, WholeGrid(this));
}
void TExStringGrid::PrintPreviewSelectedCols(TCanvas* Canvas, const TRect& Displayrect)
{
    PreviewPages(Canvas, Displayrect, true, WholeGrid(this));
}

void TExStringGrid::PrintDraw(TCanvas* Canvas, const TRect& DrawRect)
{
    PrintDrawRect(Canvas, DrawRect, WholeGrid(this));
}

void TExStringGrid::PrintDrawRect(TCanvas* Canvas, const TRect& DrawRect, const TGridRect& Gridrect)
{
    FPrintRect = Gridrect;
    PrevRect = DrawRect;
    FPrintPageFrom = 1;
    FPrintPageTo = 1;
    SetPrintNrOfPages(1);
    TMetricCanvas mc(Canvas, { DrawRect.Left, DrawRect.Top });
    TGridPageEngine(this, mc, TPrintPass::Print, false, 1).Run();
    Fontscalefactor = 1.0;
}

void TExStringGrid::PrintPages(const TGridRect& Gridrect, bool SelectedOnly)
{
    TPrinter* printer = ::Printer();
    ExportNotification(0, -1);
    FPrintRect = Gridrect;
    if (!FPrintSettings->UseDefaultOrientation)
        printer->SetOrientation(FPrintSettings->Orientation == TPrinterOrientation::poLandscape
                ? TPrinterOrientationKind::poLandscape
                : TPrinterOrientationKind::poPortrait);
    PrevRect = TRect(0, 0, int(std::lround(254.0 / printer->XDPI() * printer->PageWidth())),
        int(std::lround(254.0 / printer->YDPI() * printer->PageHeight())));
    printer->SetTitle(FPrintSettings->JobName);
    printer->BeginDoc();
    try {
        int n = INT_MAX;
        if (!FastPrint) {
            TMetricCanvas mc(printer->Canvas());
            n = TGridPageEngine(this, mc, TPrintPass::CountPrint, SelectedOnly, 0, printer).Run();
        }
        FPrintPageFrom = 1;
        FPrintPageTo = n;
        SetPrintNrOfPages(n);
        if (OnPrintStart) {
            printer->Abort();
            int from = 1, to = n;
            OnPrintStart(this, n, from, to);
            if (from <= 0 || to <= 0 || to < from) {
                ExportNotification(2, -1);
                return;
            }
            FPrintPageFrom = from;
            FPrintPageTo = to;
            printer->BeginDoc();
        }
        SetPrintNrOfPages(FPrintPageTo);
        TMetricCanvas mc(printer->Canvas());
        TGridPageEngine(this, mc, TPrintPass::Print, SelectedOnly, n, printer).Run();
    } catch (...) {
        Fontscalefactor = 1.0;
        if (printer->Printing())
            printer->EndDoc();
        throw;
    }
    Fontscalefactor = 1.0;
    if (printer->Printing())
        printer->EndDoc();
    ExportNotification(2, -1);
}

void TExStringGrid::PreviewPages(
    TCanvas* Canvas, const TRect& Displayrect, bool SelectedOnly, const TGridRect& Gridrect)
{
    ExportNotification(0, -1);
    FPrintRect = Gridrect;
    PrevRect = Displayrect;
    TPrintPassGuard guard { this, FIsPrintPreview };
    TMetricCanvas mc(Canvas, { Displayrect.Left, Displayrect.Top });
    int n = 1;
    if (!FastPrint) {
        n = TGridPageEngine(this, mc, TPrintPass::CountPreview, SelectedOnly, 0).Run();
        SetPrintNrOfPages(n);
    }
    FIsPrintPreview = true;
    int from = 1, to = n;
    if (OnPrintStart)
        OnPrintStart(this, n, from, to);
    if (from > 0 && to > 0 && to >= from) {
        // The page shown is the one PreviewPage chose.
        FPrintPageFrom = FPrintPageTo = std::max(1, PreviewPage());
        PrevRect = Displayrect;
        TGridPageEngine(this, mc, TPrintPass::Preview, SelectedOnly, n).Run();
    }
    ExportNotification(2, -1);
}
