#include "kit/windowplace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

class CloseWatcher : public QObject {
public:
    CloseWatcher(QWidget* window, std::function<void(const QRect&)> closing)
        : QObject(window), closing_(std::move(closing)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close && watched == parent())
            closing_(WindowPlace(static_cast<QWidget*>(watched)));
        return false;
    }

private:
    std::function<void(const QRect&)> closing_;
};

} // namespace

QRect WindowPlace(const QWidget* window) {
    return window->geometry();
}

bool PlaceIsOnScreen(const QRect& place) {
    if (place.width() <= 0 || place.height() <= 0) return false;
    // A hundred pixels (or all of a narrower window) of the client area's top strip must be on
    // one screen.
    const QRect top(place.topLeft(), QSize(place.width(), 24));
    const int wanted = std::min(100, place.width());
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = top.intersected(screen->availableGeometry());
        if (shown.width() >= wanted && shown.height() >= 8) return true;
    }
    return false;
}

bool PutWindowAt(QWidget* window, const QRect& place) {
    if (!PlaceIsOnScreen(place)) return false;
    window->setGeometry(place);
    return true;
}

void WhenWindowCloses(QWidget* window, std::function<void(const QRect& place)> closing) {
    new CloseWatcher(window, std::move(closing));
}
