#include "catalog/readingrules.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

bool IsSkipped(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

double NumericValue(QStringView text) {
    // Collect the characters that form the number into plain ASCII for the conversion.
    std::string mantissa;
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto skip = [&] {
        while (i < n && IsSkipped(text[i].unicode()))
            ++i;
    };

    bool negative = false;
    skip();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    bool seenPoint = false;
    int digits = 0;
    int integerDigits = 0; // significant digits before the point, for the overflow direction
    for (;; ++i) {
        skip();
        if (i >= n) break;
        const char16_t c = text[i].unicode();
        if (IsDigit(c)) {
            ++digits;
            if (!seenPoint && (integerDigits > 0 || c != u'0')) ++integerDigits;
            mantissa.push_back(char(c));
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            mantissa.push_back('.');
        } else {
            break;
        }
    }
    if (digits == 0) return 0.0;

    // Exponent part: taken only when at least one digit follows the letter (and its sign).
    long long exponent = 0;
    std::string exponentText;
    if (i < n && (text[i] == u'E' || text[i] == u'e' || text[i] == u'D' || text[i] == u'd')) {
        qsizetype j = i + 1;
        auto skipJ = [&] {
            while (j < n && IsSkipped(text[j].unicode()))
                ++j;
        };
        skipJ();
        bool expNegative = false;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            expNegative = text[j] == u'-';
            ++j;
        }
        for (;; ++j) {
            skipJ();
            if (j >= n || !IsDigit(text[j].unicode())) break;
            exponentText.push_back(char(text[j].unicode()));
            if (exponent < 100000) exponent = exponent * 10 + (text[j].unicode() - u'0');
        }
        if (!exponentText.empty()) {
            mantissa.push_back('e');
            if (expNegative) {
                mantissa.push_back('-');
                exponent = -exponent;
            }
            mantissa += exponentText;
        }
    }

    // Fast path: up to 15 significant digits and a small power of ten are exact doubles, so one
    // multiplication or division gives the correctly rounded value.
    {
        std::uint64_t digitsValue = 0;
        int significant = 0;
        int fractionDigits = 0;
        bool afterPoint = false;
        bool fits = true;
        for (char c : mantissa) {
            if (c == '.') {
                afterPoint = true;
                continue;
            }
            if (c == 'e') break;
            if (significant > 0 || c != '0') ++significant;
            if (significant > 15) {
                fits = false;
                break;
            }
            digitsValue = digitsValue * 10 + std::uint64_t(c - '0');
            if (afterPoint) ++fractionDigits;
        }
        const long long power = exponent - fractionDigits;
        if (fits && power >= -22 && power <= 22) {
            static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
            double value = double(digitsValue);
            value = power < 0 ? value / kPowers[-power] : value * kPowers[power];
            return negative ? -value : value;
        }
    }

    double value = 0.0;
    const auto result = std::from_chars(mantissa.data(), mantissa.data() + mantissa.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: decide by the decimal exponent of the value.
        value = (integerDigits + exponent > 0) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::optional<std::int16_t> RoundToWhole(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    if (whole < -32768.0 || whole > 32767.0) return std::nullopt;
    return std::int16_t(whole);
}

std::int16_t WholeNumber(QStringView text) {
    const auto whole = RoundToWhole(NumericValue(text));
    if (!whole)
        throw CatalogError(QStringLiteral("The number \"%1\" is too large for a whole-number field "
                                          "(it must lie between -32768 and 32767).")
                               .arg(text.trimmed()));
    return *whole;
}

QString NumberText(double value) {
    if (value == 0.0) value = 0.0; // no "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    QString digits = QString::fromLatin1(buffer, int(result.ptr - buffer));
    if (value >= 0.0 || std::isnan(value)) digits.prepend(QLatin1Char(' '));
    return digits;
}

QStringView Columns(QStringView line, int column, int count) {
    const qsizetype start = qsizetype(column) - 1;
    if (start < 0 || start >= line.size() || count <= 0) return {};
    return line.mid(start, qMin<qsizetype>(count, line.size() - start));
}

QStringView FromColumn(QStringView line, int column) {
    const qsizetype start = qsizetype(column) - 1;
    if (start < 0 || start >= line.size()) return {};
    return line.mid(start);
}
