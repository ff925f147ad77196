#pragma once

#include <QString>
#include <vector>

class QWidget;

// One caption to fit: the control, its text and the pixels of its width that the text cannot
// use (a check box's indicator, a button's margins).
struct CaptionFit {
    QWidget* widget;
    QString text;
    int reserved;
};

// Narrows the font of a group of controls until every caption fits into its control: at each
// size from `largest` down to `smallest` the normal cut is tried, then a condensed one, and the
// first that fits them all is given to all of them. The places of the controls are fixed and the
// desktop's fonts are often wider than the ones they were laid out for; a narrower caption reads
// better than a cut one, and controls that belong together keep one size and one cut.
void FitCaptionGroup(const std::vector<CaptionFit>& group, double largest, double smallest);

// A group of one.
void FitCaption(QWidget* w, const QString& text, int reserved, double largest, double smallest);
