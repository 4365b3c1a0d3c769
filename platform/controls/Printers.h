#pragma once
// The printer: a paged device with a canvas, behind a replaceable service so
// that a program prints to the system printer and tests (or "print to file")
// to a PDF file.

#include <QString>
#include <memory>

#include "platform/graphics/Graphics.h"
#include "platform/runtime/Exceptions.h"

class QPrinter;

enum class TPrinterOrientationKind { poPortrait, poLandscape };

MORV_DECLARE_EXCEPTION(EPrinter, Exception)

class TPrinter {
public:
    // The system's default printer; with none installed, BeginDoc raises
    // EPrinter naming the missing printer.
    TPrinter();
    virtual ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    TPrinterOrientationKind Orientation() const;
    void SetOrientation(TPrinterOrientationKind Value);
    QString Title() const { return FTitle; }
    void SetTitle(const QString& Value) { FTitle = Value; }

    void BeginDoc();
    void EndDoc();
    // Ends the document without finishing it; the pages drawn are dropped
    // where the device allows.
    void Abort();
    void NewPage();
    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }
    // 1-based number of the page being drawn.
    int PageNumber() const { return FPageNumber; }

    // Valid between BeginDoc and EndDoc; its device is the printer.
    TCanvas* Canvas() { return &FCanvas; }
    // The printable page in device pixels and the device's resolution.
    int PageWidth() const;
    int PageHeight() const;
    int XDPI() const;
    int YDPI() const;
    QPrinter* Device() const { return FPrinter.get(); }

protected:
    explicit TPrinter(std::unique_ptr<QPrinter> Device);
    // The name of the device for messages; empty when there is none.
    virtual QString DeviceName() const;

private:
    std::unique_ptr<QPrinter> FPrinter;
    TCanvas FCanvas;
    QString FTitle;
    bool FPrinting = false;
    bool FAborted = false;
    int FPageNumber = 0;
};

// Prints to a PDF file at the given resolution.
class TPdfFilePrinter : public TPrinter {
public:
    explicit TPdfFilePrinter(const QString& FileName, int Resolution = 600);
    QString FileName() const { return FFileName; }

protected:
    QString DeviceName() const override { return FFileName; }

private:
    QString FFileName;
};

// The printer service: the system printer unless replaced. SetPrinter takes
// ownership; nullptr goes back to the system printer.
TPrinter* Printer();
void SetPrinter(std::unique_ptr<TPrinter> Value);
