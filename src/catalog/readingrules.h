#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <stdexcept>

// A failure while reading a data file, worded for the user: it names the file and, where there is
// one, the line. Start-up shows it and ends the program.
class CatalogError : public std::runtime_error {
public:
    explicit CatalogError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Reads a number the forgiving way the catalogue columns need: blanks, tabs and line feeds are
// dropped wherever they stand, then an optional sign, digits with at most one decimal point and an
// optional exponent (E or D, optional sign, digits) are read from the start; reading stops at the
// first character that cannot continue the number. No digit at all gives 0.
double NumericValue(QStringView text);

// Rounds to the nearest integer, halves to the even neighbour; nothing when the result does not
// fit a signed 16-bit integer (or the value is not finite).
std::optional<std::int16_t> RoundToWhole(double value);

// The whole-number reading of an hour or degree field: NumericValue rounded half to even. Throws
// CatalogError when the result does not fit -32768..32767.
std::int16_t WholeNumber(QStringView text);

// A number as it appears in a designation: shortest decimal form (no point for whole values),
// led by one blank when zero or positive and by "-" when negative. 224 gives " 224".
QString NumberText(double value);

// count characters from the 1-based column; shorter or empty when the line ends earlier.
QStringView Columns(QStringView line, int column, int count);

// From the 1-based column to the end of the line; empty when the line ends earlier.
QStringView FromColumn(QStringView line, int column);
