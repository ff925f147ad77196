#include "startup/fitcaption.h"

#include <QFontMetrics>
#include <QWidget>

void FitCaption(QWidget* w, const QString& text, int reserved, double largest, double smallest) {
    QFont f = w->font();
    const int room = w->width() - reserved;
    for (double size = largest; size >= smallest; size -= 1) {
        f.setPointSizeF(size);
        for (int stretch : {int(QFont::Unstretched), int(QFont::Condensed)}) {
            f.setStretch(stretch);
            if (QFontMetrics(f).horizontalAdvance(text) <= room) {
                w->setFont(f);
                return;
            }
        }
    }
    w->setFont(f); // the smallest condensed cut
}
