#pragma once

#include <QString>
#include <QStringView>
#include <array>

// A text field of exactly Width characters, as the object records keep them. A field that was
// never assigned holds NUL characters; assigning stores the text left-aligned, pads it on the right
// with blanks and cuts what does not fit.
template <int Width> class FixedText {
public:
    static constexpr int width = Width;

    FixedText() = default;

    void Assign(QStringView text) {
        const int n = text.size() < Width ? int(text.size()) : Width;
        for (int i = 0; i < n; ++i)
            chars_[i] = text[i].unicode();
        for (int i = n; i < Width; ++i)
            chars_[i] = u' ';
    }
    FixedText& operator=(QStringView text) {
        Assign(text);
        return *this;
    }
    FixedText& operator=(const QString& text) {
        Assign(QStringView(text));
        return *this;
    }

    // All Width characters as stored, NULs of an untouched field included.
    QString Text() const { return QString(reinterpret_cast<const QChar*>(chars_.data()), Width); }

    // The stored characters with NULs shown as blanks, for fixed-width list and print lines.
    QString DisplayText() const {
        QString out = Text();
        out.replace(QChar(u'\0'), QChar(u' '));
        return out;
    }

    // The text without the blanks (and NULs) at its right end.
    QString TrimmedText() const {
        int n = Width;
        while (n > 0 && (chars_[n - 1] == u' ' || chars_[n - 1] == u'\0'))
            --n;
        return QString(reinterpret_cast<const QChar*>(chars_.data()), n);
    }

    // True while no assignment has touched the field.
    bool IsUnset() const {
        for (char16_t c : chars_)
            if (c != u'\0') return false;
        return true;
    }

    // Compares with the text as it would be stored in this field: "M" equals a 1-character field
    // holding M, and never an untouched field.
    bool Is(QStringView text) const {
        FixedText other;
        other.Assign(text);
        return chars_ == other.chars_;
    }

    QChar At(int index) const { return QChar(chars_[index]); }

    friend bool operator==(const FixedText& a, const FixedText& b) { return a.chars_ == b.chars_; }
    friend bool operator!=(const FixedText& a, const FixedText& b) { return !(a == b); }

private:
    std::array<char16_t, Width> chars_{};
};
