#pragma once

#include "printout/printsurface.h"

#include <QFont>
#include <QPainter>
#include <memory>

class QPrinter;

// Where a print job goes: an installed printer by its device name, or a PDF file.
struct PrintTarget {
    QString printerName; // empty for a PDF file
    QString pdfFile;     // set for a PDF file
    bool isPdf() const { return !pdfFile.isEmpty(); }
};

// The printer of a target, or Qt's PDF output into its file; nullptr when the printer is not
// installed or the file cannot be written.
std::unique_ptr<QPrinter> OpenPrinter(const PrintTarget& target);

// The surface for a target on a real printer or Qt's PDF output; nullptr when the printer is
// not installed or the file cannot be written.
std::unique_ptr<PrintSurface> OpenPrinterSurface(const PrintTarget& target);

// The print surface on a real printer (or Qt's PDF output) through QPainter.
//
// Coordinates are converted from inches to printer device units with the printer's resolution;
// the painter itself stays untransformed so font point sizes keep their true size on paper.
// The painter starts with the first thing drawn and a new page takes effect with the next thing
// drawn, so a new page just before the end of the job adds no empty sheet.
class PainterSurface : public PrintSurface {
public:
    // The surface does not own the printer; it must outlive the surface.
    explicit PainterSurface(QPrinter& printer);
    // The surface owns this printer.
    explicit PainterSurface(std::unique_ptr<QPrinter> printer);
    ~PainterSurface() override;

    void setScaleInches() override;
    double printableWidthInches() const override;
    double printableHeightInches() const override;
    void setCurrentX(double inches) override { x_ = inches; }
    void setCurrentY(double inches) override { y_ = inches; }
    void setFont(const QString& name, double points) override;
    void printLine(const QString& text) override;
    void drawLine(double x1, double y1, double x2, double y2, int widthDots,
                  LineStyle style) override;
    void newPage() override;
    void endJob() override;

    // The font actually used for a requested name and size. "Courier" becomes a fixed-pitch font
    // and "Arial Narrow" a condensed sans where those faces are not installed; either is narrowed
    // further when its letters run wider than the original's, so that texts stay inside their
    // 1.16-inch blocks.
    static QFont ResolveFont(const QString& name, double points);

    // Where printLine puts the baseline below the current position, and how far it advances,
    // in units of the device.
    struct LineBox {
        double ascent = 0;
        double height = 0;
    };
    static LineBox LineBoxOf(const QString& name, double points, const QFont& resolved,
                             QPaintDevice* device);

    // The printer dot that line widths are given in: 1/600 inch, the dot of a common laser
    // printer. Devices of other resolutions get the same width on paper.
    static constexpr double DotsPerInch = 600.0;

    // False when the printer could not be opened (for example an unwritable PDF file name).
    bool ok() const { return ok_; }

private:
    bool beginDrawing();
    double toDevice(double inches) const { return inches * resolution_; }

    std::unique_ptr<QPrinter> ownedPrinter_;
    QPrinter& printer_;
    QPainter painter_;
    double resolution_;
    double x_ = 0;
    double y_ = 0;
    QFont font_;
    LineBox line_;
    bool started_ = false;
    bool pagePending_ = false;
    bool ok_ = true;
};
