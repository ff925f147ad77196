#pragma once

#include <QString>

// Styles of the rules on the printed chart.
enum class LineStyle { Solid, Dashed, Dotted };

// The drawing operations the print job needs from a printer, and nothing more.
//
// Positions are in inches from the top-left corner of the printable area, once setScaleInches()
// has been called. printLine() prints one line of text with its top at the current position and
// then moves the position to the start of the next line: y advances by the line height of the
// current font and x returns to 0.
class PrintSurface {
public:
    virtual ~PrintSurface() = default;

    // Sets the scale unit to inches. Called once, before anything else is drawn.
    virtual void setScaleInches() = 0;
    virtual double printableWidthInches() const = 0;
    virtual double printableHeightInches() const = 0;

    virtual void setCurrentX(double inches) = 0;
    virtual void setCurrentY(double inches) = 0;
    virtual void setFont(const QString& name, double points) = 0;
    virtual void printLine(const QString& text) = 0;

    // A straight black line; its width is in printer dots.
    virtual void drawLine(double x1, double y1, double x2, double y2, int widthDots,
                          LineStyle style) = 0;

    virtual void newPage() = 0;
    virtual void endJob() = 0;
};
