#include "sites/locationsfile.h"

#include "catalog/readingrules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <limits>

namespace {

bool IsSeparator(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool IsSiteLine(const QString& line) {
    if (line.isEmpty()) return false;
    const QChar first = line.at(0);
    return first == QLatin1Char('-') || (first >= QLatin1Char('0') && first <= QLatin1Char('9'));
}

bool IsYes(const QString& word) {
    return word == QLatin1String("Y");
}

const char* const kWordNames[15] = {
    "latitude degrees",  "latitude minutes",  "latitude seconds", "longitude degrees",
    "longitude minutes", "longitude seconds", "time zone",        "N horizon",
    "NE horizon",        "E horizon",         "SE horizon",       "S horizon",
    "SW horizon",        "W horizon",         "NW horizon",
};

// A numeric word whose rounded value does not fit its 16-bit field refuses the whole file: such a
// line can only come from a damaged or hand-edited file, and wrapping or clamping the value would
// quietly move the site somewhere else. Start-up shows the message and ends, so the user can
// correct the line.
bool ReadNumber(const QString& word, int numericIndex, int lineNumber, const QString& fileName,
                std::int16_t* out, QString* error) {
    const std::optional<std::int16_t> value = RoundToWhole(NumericValue(word));
    if (value) {
        *out = *value;
        return true;
    }
    if (error) {
        *error = QStringLiteral("%1, line %2: the %3 \"%4\" does not fit a whole number from "
                                "-32768 to 32767. Correct the line and start the program again.")
                     .arg(QDir::toNativeSeparators(fileName))
                     .arg(lineNumber)
                     .arg(QLatin1String(kWordNames[numericIndex]), word);
    }
    return false;
}

// Reads one site line; the words are taken strictly by position, missing ones are empty.
bool ParseSiteLine(QString line, int lineNumber, const QString& fileName, SiteLocation* site,
                   QString* error) {
    std::int16_t* const numbers[15] = {
        &site->LatDeg,     &site->LatMin,     &site->LatSec,     &site->LonDeg,
        &site->LonMin,     &site->LonSec,     &site->TimeZone,   &site->Horizon[0],
        &site->Horizon[1], &site->Horizon[2], &site->Horizon[3], &site->Horizon[4],
        &site->Horizon[5], &site->Horizon[6], &site->Horizon[7],
    };
    int numeric = 0;
    for (int word = 1; word <= 17; ++word) {
        const QString token = NextToken(line);
        if (word == 8) {
            site->DST = IsYes(token) ? -1 : 0;
        } else if (word == 17) {
            site->Primary = IsYes(token) ? -1 : 0;
        } else {
            if (!ReadNumber(token, numeric, lineNumber, fileName, numbers[numeric], error))
                return false;
            ++numeric;
        }
    }
    site->Name = line;
    return true;
}

QString NumberWord(std::int16_t value) {
    return QString::number(value);
}

QString FlagWord(std::int16_t flag) {
    return flag != 0 ? QStringLiteral("Y") : QStringLiteral("N");
}

// The file carries Latin-1 text, one record per line; a character outside Latin-1 cannot be
// written back faithfully and a CR would split the line, so such a text is refused rather than
// altered.
bool CheckStorable(const QString& text, const QString& what, QString* error) {
    for (const QChar c : text) {
        if (c.unicode() > 0xFF || c == QLatin1Char('\r')) {
            if (error) {
                *error = c == QLatin1Char('\r')
                             ? QStringLiteral("%1 contains a line break.").arg(what)
                             : QStringLiteral("%1 contains the character \"%2\", which the "
                                              "locations file cannot hold.")
                                   .arg(what, QString(c));
            }
            return false;
        }
    }
    return true;
}

} // namespace

QString LocationsFilePath(const QString& dataDir) {
    return QDir(dataDir).filePath(QStringLiteral("locations.txt"));
}

QString NextToken(QString& line) {
    int end = 0;
    while (end < line.size() && !IsSeparator(line.at(end)))
        ++end;
    const QString word = line.left(end);
    int rest = end;
    while (rest < line.size() && IsSeparator(line.at(rest)))
        ++rest;
    line = line.mid(rest);
    return word;
}

QStringList SplitLocationLines(const QByteArray& bytes) {
    QStringList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        if (bytes.at(i) == '\r') {
            lines.append(QString::fromLatin1(bytes.constData() + start, i - start));
            if (i + 1 < bytes.size() && bytes.at(i + 1) == '\n') ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < bytes.size())
        lines.append(QString::fromLatin1(bytes.constData() + start, bytes.size() - start));
    return lines;
}

bool ParseLocations(const QByteArray& bytes, const QString& fileName, LocationsContent* out,
                    QString* error) {
    LocationsContent content;
    const QStringList lines = SplitLocationLines(bytes);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        const int lineNumber = int(i + 1);
        if (IsSiteLine(line)) {
            if (content.sites.size() > std::size_t(std::numeric_limits<std::int16_t>::max())) {
                if (error) {
                    *error = QStringLiteral("%1, line %2: the file holds more than %3 sites.")
                                 .arg(QDir::toNativeSeparators(fileName))
                                 .arg(lineNumber)
                                 .arg(int(std::numeric_limits<std::int16_t>::max()) + 1);
                }
                return false;
            }
            SiteLocation site;
            if (!ParseSiteLine(line, lineNumber, fileName, &site, error)) return false;
            if (site.Primary != 0) content.primaryIndex = std::int16_t(content.sites.size());
            content.sites.push_back(site);
        } else if (content.headers.LocationsHeader1.isEmpty()) {
            content.headers.LocationsHeader1 = line;
        } else {
            content.headers.LocationsHeader2 = line;
        }
    }
    *out = std::move(content);
    return true;
}

bool FormatLocations(const SiteTable& sites, const LocationsHeaders& headers, QByteArray* out,
                     QString* error) {
    if (!CheckStorable(headers.LocationsHeader1, QStringLiteral("The first header line"), error) ||
        !CheckStorable(headers.LocationsHeader2, QStringLiteral("The second header line"), error))
        return false;

    const QString lineEnd = QStringLiteral("\r\n");
    QString text = headers.LocationsHeader1 + lineEnd + headers.LocationsHeader2 + lineEnd;
    for (const SiteLocation& site : sites) {
        if (!CheckStorable(site.Name, QStringLiteral("The site name \"%1\"").arg(site.Name), error))
            return false;
        QStringList words = {
            NumberWord(site.LatDeg),   NumberWord(site.LatMin), NumberWord(site.LatSec),
            NumberWord(site.LonDeg),   NumberWord(site.LonMin), NumberWord(site.LonSec),
            NumberWord(site.TimeZone), FlagWord(site.DST),
        };
        for (const std::int16_t altitude : site.Horizon)
            words.append(NumberWord(altitude));
        words.append(FlagWord(site.Primary));
        words.append(site.Name);
        text += words.join(QLatin1Char(' ')) + lineEnd;
    }
    *out = text.toLatin1();
    return true;
}

bool WriteLocationsFile(const QString& path, const SiteTable& sites,
                        const LocationsHeaders& headers, QString* error) {
    QByteArray bytes;
    if (!FormatLocations(sites, headers, &bytes, error)) return false;
    return ReplaceFileContent(path, bytes, error);
}

bool ReplaceFileContent(const QString& path, const QByteArray& bytes, QString* error) {
    const auto fail = [&](const QString& reason) {
        if (error) {
            *error = QStringLiteral("%1 could not be written: %2")
                         .arg(QDir::toNativeSeparators(path), reason);
        }
        return false;
    };
    // QSaveFile writes a temporary file next to the target and renames it over the target only
    // when everything was written; it never falls back to writing the target in place.
    // The file is unbuffered and every write is checked here: with buffering, a short write at
    // flush time (the disk filling up part way) goes unreported, and the commit would then
    // rename a cut-off file over the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return fail(file.errorString());
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return fail(reason);
        }
        done += n;
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}
