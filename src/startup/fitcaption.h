#pragma once

#include <QString>

class QWidget;

// Narrows the font of a control until `text` fits into the control's width less `reserved`
// pixels: at each size from `largest` down to `smallest` the normal cut is tried, then a
// condensed one. The places of the controls are fixed and the desktop's fonts are often wider
// than the ones they were laid out for; a narrower caption reads better than a cut one.
void FitCaption(QWidget* w, const QString& text, int reserved, double largest, double smallest);
