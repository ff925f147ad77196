#include "kit/twips.h"

#include <QScreen>

void SizeAndCentreWindow(QWidget* window, int widthTwips, int heightTwips) {
    const QRect size = TwipsRect(window, 0, 0, widthTwips, heightTwips);
    window->setFixedSize(size.size());
    if (QScreen* screen = window->screen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
    }
}
