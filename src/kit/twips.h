#pragma once

#include <QRect>
#include <QWidget>

// Window layouts are given in twips (1440 to the inch). They are converted at the screen's logical
// resolution, so 15 twips make one pixel at 96 DPI and the layout scales with the desktop setting.
inline int TwipsToPixels(int twips, int dotsPerInch) {
    return (twips * dotsPerInch + 720) / 1440;
}

inline QRect TwipsRect(const QWidget* onScreen, int left, int top, int width, int height) {
    const int dx = onScreen->logicalDpiX();
    const int dy = onScreen->logicalDpiY();
    return QRect(TwipsToPixels(left, dx), TwipsToPixels(top, dy), TwipsToPixels(width, dx),
                 TwipsToPixels(height, dy));
}

// Fixes the client area of a window to the given size in twips and centres it on its screen.
void SizeAndCentreWindow(QWidget* window, int widthTwips, int heightTwips);
