#pragma once

#include <QRect>
#include <functional>

class QWidget;

// Where a window stands on the desktop: its client area (QWidget::geometry). Unlike the frame's
// corner it reads the same while the window is hidden (the desktop takes the frame away then),
// and it is put back exactly whatever frame the desktop draws around it.
QRect WindowPlace(const QWidget* window);

// Whether a window put at `place` could still be reached: some screen's available area holds a
// good piece of its top edge, right under the title bar to drag it by. A place on a screen that
// has been unplugged since does not count.
bool PlaceIsOnScreen(const QRect& place);

// Moves (and, where its size is not fixed, sizes) a window to a place WindowPlace gave, when that
// place is still on a screen; otherwise the window stays where it is. True when it was moved.
bool PutWindowAt(QWidget* window, const QRect& place);

// Calls `closing` with the window's place whenever the window is about to close.
void WhenWindowCloses(QWidget* window, std::function<void(const QRect& place)> closing);
