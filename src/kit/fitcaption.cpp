#include "kit/fitcaption.h"

#include <QFontMetrics>
#include <QWidget>

namespace {

QFont Sized(QFont f, double size, int stretch) {
    f.setPointSizeF(size);
    f.setStretch(stretch);
    return f;
}

bool AllFit(const std::vector<CaptionFit>& group, double size, int stretch) {
    for (const CaptionFit& c : group) {
        const QFontMetrics metrics(Sized(c.widget->font(), size, stretch));
        if (metrics.horizontalAdvance(c.text) > c.widget->width() - c.reserved) return false;
    }
    return true;
}

void Apply(const std::vector<CaptionFit>& group, double size, int stretch) {
    for (const CaptionFit& c : group)
        c.widget->setFont(Sized(c.widget->font(), size, stretch));
}

} // namespace

void FitCaptionGroup(const std::vector<CaptionFit>& group, double largest, double smallest) {
    for (double size = largest; size >= smallest; size -= 1) {
        for (int stretch : {int(QFont::Unstretched), int(QFont::Condensed)}) {
            if (AllFit(group, size, stretch)) {
                Apply(group, size, stretch);
                return;
            }
        }
    }
    Apply(group, smallest, QFont::Condensed); // the smallest condensed cut
}

void FitCaption(QWidget* w, const QString& text, int reserved, double largest, double smallest) {
    FitCaptionGroup({{w, text, reserved}}, largest, smallest);
}
