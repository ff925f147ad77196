#pragma once

#include "printout/printsurface.h"

#include <QString>
#include <vector>

// A print surface that draws nothing and remembers every text and line with its sheet, position
// and font. Pages follow the printer's rule: a new page takes effect with the next thing drawn,
// so a new page just before the end of the job adds no empty sheet.
class RecordingSurface : public PrintSurface {
public:
    struct Text {
        int sheet; // 0-based
        double x;
        double y;
        QString font;
        double points;
        QString text;
    };
    struct Line {
        int sheet;
        double x1;
        double y1;
        double x2;
        double y2;
        int widthDots;
        LineStyle style;
    };

    explicit RecordingSurface(double widthInches = 8.0, double heightInches = 10.5)
        : width_(widthInches), height_(heightInches) {}

    void setScaleInches() override { scaleInches_ = true; }
    double printableWidthInches() const override { return width_; }
    double printableHeightInches() const override { return height_; }
    void setCurrentX(double inches) override { x_ = inches; }
    void setCurrentY(double inches) override { y_ = inches; }
    void setFont(const QString& name, double points) override;
    void printLine(const QString& text) override;
    void drawLine(double x1, double y1, double x2, double y2, int widthDots,
                  LineStyle style) override;
    void newPage() override;
    void endJob() override { ended_ = true; }

    // Line height of a font in this model: 1.2 times its size.
    static double lineHeightInches(double points) { return points * 1.2 / 72.0; }

    const std::vector<Text>& texts() const { return texts_; }
    const std::vector<Line>& lines() const { return lines_; }
    std::vector<Text> textsOnSheet(int sheet) const;
    std::vector<Line> linesOnSheet(int sheet) const;
    // Sheets that received something; 0 for a job that drew nothing.
    int sheetCount() const { return drawn_ ? sheet_ + 1 : 0; }
    bool scaleSetToInches() const { return scaleInches_; }
    bool ended() const { return ended_; }
    // True when something was drawn before the scale was set.
    bool drewBeforeScale() const { return drewBeforeScale_; }

private:
    void beginDrawing();

    double width_;
    double height_;
    double x_ = 0;
    double y_ = 0;
    QString font_;
    double points_ = 0;
    int sheet_ = 0;
    bool drawn_ = false;
    bool pagePending_ = false;
    bool scaleInches_ = false;
    bool ended_ = false;
    bool drewBeforeScale_ = false;
    std::vector<Text> texts_;
    std::vector<Line> lines_;
};
