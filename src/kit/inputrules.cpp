#include "kit/inputrules.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLocale>
#include <cmath>

TypedKey ClassifyKey(const QKeyEvent& event) {
    const int key = event.key();
    if (key == Qt::Key_Backspace) return {KeyKind::Backspace, QChar(8)};
    // Tab moves the focus; it never reaches the text.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return {KeyKind::Movement, QChar()};
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return {KeyKind::Return, QChar(13)};

    // Shortcuts that change the text without typing into it come in as control characters on
    // most systems; they are refused like any other control character.
    static const QKeySequence::StandardKey editing[] = {
        QKeySequence::Paste, QKeySequence::Cut,       QKeySequence::Undo,
        QKeySequence::Redo,  QKeySequence::SelectAll, QKeySequence::DeleteCompleteLine,
    };
    for (QKeySequence::StandardKey k : editing)
        if (event.matches(k)) return {KeyKind::Editing, QChar()};
    // Delete removes text as Backspace does. X11 sends it with the text 0x7F, which must not make
    // it count as a control character. (Shift+Delete cuts and was caught above.)
    if (key == Qt::Key_Delete) return {KeyKind::Movement, QChar()};

    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    const QString text = event.text();
    const bool charKey = key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde;
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        // Ctrl+letter and friends type a control character; Ctrl+arrow only moves.
        return charKey || !text.isEmpty() ? TypedKey{KeyKind::Editing, QChar()}
                                          : TypedKey{KeyKind::Movement, QChar()};
    }
    if (text.isEmpty()) return {KeyKind::Movement, QChar()};
    // One key can bring several characters (repeats run together, a composed sequence); the
    // filters judge one character at a time, so such a key is refused whole.
    if (text.size() > 1) return {KeyKind::Editing, QChar()};
    const QChar c = text.at(0);
    if (c.unicode() < 32 || c.unicode() == 127) return {KeyKind::Editing, c};
    return {KeyKind::Character, c};
}

bool MagnitudeCharacterPasses(QChar typed, const QString& text) {
    if (typed == u'.') return !text.contains(u'.');
    return typed >= u'0' && typed <= u'9';
}

bool DateCharacterPasses(QChar typed, const QString& text, const QString& separators,
                         bool markerLetters) {
    if (typed == u'A' || typed == u'a' || typed == u'P' || typed == u'p') {
        if (!markerLetters) return false;
        for (QChar c : text)
            if (c == u'A' || c == u'a' || c == u'P' || c == u'p') return false;
        return true;
    }
    return (typed >= u'0' && typed <= u'9') || separators.contains(typed);
}

bool DateTextPasses(const QString& pasted, QString text, const QString& separators,
                    bool markerLetters) {
    for (const QChar c : pasted) {
        if (!DateCharacterPasses(c, text, separators, markerLetters)) return false;
        text += c;
    }
    return !pasted.isEmpty();
}

QChar DecimalPointTyped(QChar typed, const QLocale& locale) {
    return locale.decimalPoint() == QString(typed) ? QChar(u'.') : typed;
}

int MagnitudeLimitTenths(const QString& text) {
    bool ok = false;
    const double tenths = QLocale::c().toDouble(text, &ok) * 10.0;
    if (!ok) return 0;
    return tenths < 1e6 ? RoundHalfEven(tenths) : 1000000;
}

QString MagnitudeTenthsText(int tenths) {
    return QString::number(tenths / 10.0, 'f', 1);
}

int RoundHalfEven(double value) {
    return int(std::nearbyint(value)); // default rounding mode: to nearest, ties to even
}
