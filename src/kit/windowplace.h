#pragma once

#include <QRect>
#include <functional>

class QWidget;

// Where a window stands on the desktop: the top left corner of its frame (as QWidget::pos gives
// it) and the size of its client area.
QRect WindowPlace(const QWidget* window);

// Whether a window put at `place` could still be reached: some screen's available area holds a
// good piece of its top edge, where the title bar is to drag it by. A place on a screen that has
// been unplugged since does not count.
bool PlaceIsOnScreen(const QRect& place);

// Moves (and, where its size is not fixed, sizes) a window to a place WindowPlace gave, when that
// place is still on a screen; otherwise the window stays where it is. True when it was moved.
bool PutWindowAt(QWidget* window, const QRect& place);

// Calls `closing` with the window's place whenever the window is about to close.
void WhenWindowCloses(QWidget* window, std::function<void(const QRect& place)> closing);
