#include "platform/controls/Printers.h"

#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

TPrinter::TPrinter()
    : TPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
}

TPrinter::TPrinter(std::unique_ptr<QPrinter> Device)
    : FPrinter(std::move(Device))
{
    FPrinter->setFullPage(false);
}

TPrinter::~TPrinter()
{
    if (FPrinting)
        Abort();
}

QString TPrinter::DeviceName() const
{
    return FPrinter->outputFormat() == QPrinter::PdfFormat ? FPrinter->outputFileName() : FPrinter->printerName();
}

TPrinterOrientationKind TPrinter::Orientation() const
{
    return FPrinter->pageLayout().orientation() == QPageLayout::Landscape ? TPrinterOrientationKind::poLandscape
                                                                          : TPrinterOrientationKind::poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientationKind Value)
{
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    FPrinter->setPageOrientation(
        Value == TPrinterOrientationKind::poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void TPrinter::BeginDoc()
{
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (DeviceName().isEmpty())
        throw EPrinter(QStringLiteral("There is no default printer currently selected"));
    FPrinter->setDocName(FTitle);
    if (!FCanvas.BeginDraw(FPrinter.get()))
        throw EPrinter(QStringLiteral("Printer \"%1\" cannot be opened").arg(DeviceName()));
    FPrinting = true;
    FAborted = false;
    FPageNumber = 1;
}

void TPrinter::EndDoc()
{
    if (!FPrinting)
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    FCanvas.EndDraw();
    FPrinting = false;
}

void TPrinter::Abort()
{
    if (!FPrinting)
        return;
    FPrinter->abort();
    FCanvas.EndDraw();
    FPrinting = false;
    FAborted = true;
    // An aborted file job leaves no partial document behind.
    if (FPrinter->outputFormat() == QPrinter::PdfFormat && !FPrinter->outputFileName().isEmpty())
        QFile::remove(FPrinter->outputFileName());
}

void TPrinter::NewPage()
{
    if (!FPrinting)
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    FPrinter->newPage();
    ++FPageNumber;
}

int TPrinter::PageWidth() const
{
    return FPrinter->pageLayout().paintRectPixels(FPrinter->resolution()).width();
}

int TPrinter::PageHeight() const
{
    return FPrinter->pageLayout().paintRectPixels(FPrinter->resolution()).height();
}

int TPrinter::XDPI() const
{
    return FPrinter->logicalDpiX();
}

int TPrinter::YDPI() const
{
    return FPrinter->logicalDpiY();
}

namespace {
std::unique_ptr<QPrinter> PdfDevice(const QString& FileName, int Resolution)
{
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setOutputFileName(FileName);
    p->setResolution(Resolution);
    p->setPageSize(QPageSize(QPageSize::A4));
    return p;
}

std::unique_ptr<TPrinter>& PrinterSlot()
{
    static std::unique_ptr<TPrinter> slot;
    return slot;
}
} // namespace

TPdfFilePrinter::TPdfFilePrinter(const QString& FileName, int Resolution)
    : TPrinter(PdfDevice(FileName, Resolution))
    , FFileName(FileName)
{
}

TPrinter* Printer()
{
    auto& slot = PrinterSlot();
    if (!slot)
        slot = std::make_unique<TPrinter>();
    return slot.get();
}

void SetPrinter(std::unique_ptr<TPrinter> Value)
{
    PrinterSlot() = std::move(Value);
}
