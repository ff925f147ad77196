#pragma once

#include <QColor>
#include <QKeySequence>
#include <QPalette>

// The night display keeps the observer's eyes adapted to the dark: every window of the program,
// message boxes and windows opened later included, turns red on black. One key switches it on and
// off in any window. Nothing of it is kept between runs.

// Ctrl+N, the key night modes of planetarium programs commonly use; no control of the program
// takes it.
QKeySequence NightVisionKey();

// Lets NightVisionKey switch the night display in every window. Call once the application object
// exists; calling it again changes nothing.
void InstallNightVision();

void SetNightVision(bool on);
bool NightVisionOn();

// Text and lines in red, backgrounds black or very dark red, selections a deeper red.
QPalette NightPalette();

// The night counterpart of a colour a window chose for itself: light backgrounds become dark
// reds (the lighter, the darker), dark text and lines become reds bright enough to read.
QColor NightShade(const QColor& day);
