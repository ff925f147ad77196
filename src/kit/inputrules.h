#pragma once

#include <QChar>
#include <QLocale>
#include <QString>

class QKeyEvent;

// The key filters and value rules of the program's filtered text boxes, shared by every window
// and kept apart from the widgets so that they can be checked on their own.

// What one key press means to a filtered text box.
enum class KeyKind {
    Backspace, // always passes
    Return,    // Enter or Return
    Character, // a printable character, given in TypedKey::character
    Editing,   // a control character, an editing shortcut (paste, cut, undo, select all ...) or
               // a key that types more than one character
    Movement,  // keys that type nothing (arrows, Home, End, Delete, Shift alone ...)
};

struct TypedKey {
    KeyKind kind = KeyKind::Movement;
    QChar character;
};

TypedKey ClassifyKey(const QKeyEvent& event);

// Limiting magnitude box: digits always pass, a point only while the text holds none (the whole
// text counts, also a selected part that the point would replace); anything else is dropped.
bool MagnitudeCharacterPasses(QChar typed, const QString& text);

// Date and time box: digits and the `separators` of the program's own date-time form pass; with
// `markerLetters` (a 12-hour clock) one of the letters A, a, P, p passes too, only while the text
// holds none of the four. Every other character is dropped.
bool DateCharacterPasses(QChar typed, const QString& text, const QString& separators,
                         bool markerLetters);
// A pasted text passes whole when each of its characters, in turn, would pass typed.
bool DateTextPasses(const QString& pasted, QString text, const QString& separators,
                    bool markerLetters);

// The character a box that takes a fraction stores for a typed one: the locale's decimal
// separator (a comma in much of Europe) becomes the point; anything else stays as typed.
QChar DecimalPointTyped(QChar typed, const QLocale& locale = QLocale());

// The limiting magnitude a text stands for, in tenths (halves to the even tenth). The box only
// ever holds digits and at most one point, so the only texts that are not numbers are "" and
// "."; both count as 0. Values beyond any limit give a number above 200 without overflowing.
int MagnitudeLimitTenths(const QString& text);

// A scroll value in tenths as magnitude text with one decimal: 80 -> "8.0", 125 -> "12.5".
QString MagnitudeTenthsText(int tenths);

// Rounds to the nearest whole number, halves to the even neighbour (82.5 -> 82, 83.5 -> 84).
int RoundHalfEven(double value);
