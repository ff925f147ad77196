#include "printout/recordingsurface.h"

void RecordingSurface::setFont(const QString& name, double points) {
    font_ = name;
    points_ = points;
}

void RecordingSurface::beginDrawing() {
    if (!scaleInches_) drewBeforeScale_ = true;
    if (pagePending_ && drawn_) ++sheet_;
    pagePending_ = false;
    drawn_ = true;
}

void RecordingSurface::printLine(const QString& text) {
    beginDrawing();
    texts_.push_back({sheet_, x_, y_, font_, points_, text});
    x_ = 0;
    y_ += lineHeightInches(points_);
}

void RecordingSurface::drawLine(double x1, double y1, double x2, double y2, int widthDots,
                                LineStyle style) {
    beginDrawing();
    lines_.push_back({sheet_, x1, y1, x2, y2, widthDots, style});
}

void RecordingSurface::newPage() {
    // A new page before anything was drawn would be an empty first sheet; printers skip it too.
    if (drawn_) pagePending_ = true;
}

std::vector<RecordingSurface::Text> RecordingSurface::textsOnSheet(int sheet) const {
    std::vector<Text> out;
    for (const Text& t : texts_)
        if (t.sheet == sheet) out.push_back(t);
    return out;
}

std::vector<RecordingSurface::Line> RecordingSurface::linesOnSheet(int sheet) const {
    std::vector<Line> out;
    for (const Line& l : lines_)
        if (l.sheet == sheet) out.push_back(l);
    return out;
}
