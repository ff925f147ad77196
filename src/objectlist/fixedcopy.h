#pragma once

#include "catalog/fixedtext.h"

#include <QChar>

namespace objectlist_detail {

// Copies the first count characters of a fixed text field to out and returns the position behind
// them. Untouched fields hold NULs; list and chooser lines show those as blanks so the columns stay
// in place.
template <int Width>
QChar* CopyField(QChar* out, const FixedText<Width>& field, int count = Width) {
    for (int i = 0; i < count; ++i) {
        const QChar c = field.At(i);
        *out++ = c.isNull() ? QChar(u' ') : c;
    }
    return out;
}

inline QChar* CopyText(QChar* out, const QString& text) {
    for (QChar c : text)
        *out++ = c;
    return out;
}

} // namespace objectlist_detail
