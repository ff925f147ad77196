#include "settings/rememberedchoices.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

// The file, as QSettings writes it (every key optional):
//
//   [catalogues]   messier, herschel, caldwell, bestNgc, sac, ngc, ic, planets = true | false
//   [selection]    showAll, inViewOnly = true | false; limitingMagnitude = 0.0 .. 20.0
//   [rows]         <row 1..22>\catalog = one letter; <row>\designation = up to 20 characters
//   [display]      night = true | false
//   [print]        printer = name; start, stop = yyyy-MM-ddTHH:mm:ss; step = minutes;
//                  pdfFolder = absolute path
//   [windows]      <object name> = @Rect(left top width height)

namespace {

constexpr int kRows = 22;
constexpr int kDesignationWidth = 20;
const QString kTimeFormat = QStringLiteral("HH:mm:ss");

const struct {
    const char* key;
    bool RememberedChoices::*box;
} kBoxes[] = {
    {"catalogues/messier", &RememberedChoices::messier},
    {"catalogues/herschel", &RememberedChoices::herschel},
    {"catalogues/caldwell", &RememberedChoices::caldwell},
    {"catalogues/bestNgc", &RememberedChoices::bestNgc},
    {"catalogues/sac", &RememberedChoices::sac},
    {"catalogues/ngc", &RememberedChoices::ngc},
    {"catalogues/ic", &RememberedChoices::ic},
    {"catalogues/planets", &RememberedChoices::planets},
    {"selection/showAll", &RememberedChoices::showAll},
    {"selection/inViewOnly", &RememberedChoices::inViewOnly},
    {"display/night", &RememberedChoices::nightDisplay},
};

QString TimeText(const CivilTime& t) {
    return t.date().toString(Qt::ISODate) + QLatin1Char('T') + t.time().toString(kTimeFormat);
}

// Date and time are read apart, so no time zone of the computer can shift or refuse the value.
CivilTime ReadTimeText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('T'));
    if (parts.size() != 2) return {};
    const QDate date = QDate::fromString(parts[0], Qt::ISODate);
    const QTime time = QTime::fromString(parts[1], kTimeFormat);
    return CivilTime(date, time);
}

// Reads one value after another; a value that is there but cannot be used has its key noted.
class Reader {
public:
    Reader(QSettings& settings, QStringList* ignored) : settings_(settings), ignored_(ignored) {}

    void ignore(const QString& key) {
        if (ignored_)
            ignored_->append(
                settings_.group().isEmpty() ? key : settings_.group() + QLatin1Char('/') + key);
    }

    // The plain text under the key; nothing when the key is missing or holds anything else
    // (a list, a typed value written by hand).
    std::optional<QString> text(const QString& key) {
        const QVariant value = settings_.value(key);
        if (!value.isValid()) return std::nullopt;
        if (value.typeId() == QMetaType::QString) return value.toString();
        ignore(key);
        return std::nullopt;
    }

    void flag(const QString& key, bool& out) {
        // Values this program wrote in this run come back typed from QSettings' cache.
        if (const QVariant v = settings_.value(key); v.typeId() == QMetaType::Bool) {
            out = v.toBool();
            return;
        }
        const std::optional<QString> t = text(key);
        if (!t) return;
        if (*t == QLatin1String("true") || *t == QLatin1String("false"))
            out = *t == QLatin1String("true");
        else
            ignore(key);
    }

    // A whole number in [low, high].
    template <typename Number>
    void number(const QString& key, Number low, Number high, Number& out) {
        const std::optional<QString> t = text(key);
        if (!t) return;
        bool ok = false;
        const qlonglong v = t->trimmed().toLongLong(&ok);
        if (ok && v >= low && v <= high)
            out = Number(v);
        else
            ignore(key);
    }

private:
    QSettings& settings_;
    QStringList* ignored_;
};

void ReadRows(QSettings& settings, Reader& read, std::vector<RememberedRow>& rows) {
    settings.beginGroup(QStringLiteral("rows"));
    // A value right under [rows] is no row.
    for (const QString& key : settings.childKeys())
        read.ignore(key);
    for (const QString& name : settings.childGroups()) {
        bool ok = false;
        const int number = name.toInt(&ok);
        // The number as written, so that "05" and "5" cannot both claim a row.
        if (!ok || number < 1 || number > kRows || QString::number(number) != name) {
            read.ignore(name);
            continue;
        }
        settings.beginGroup(name);
        QStringList bad;
        Reader inner(settings, &bad);
        const std::optional<QString> letter = inner.text(QStringLiteral("catalog"));
        std::optional<QString> designation = inner.text(QStringLiteral("designation"));
        settings.endGroup();
        if (designation) {
            while (designation->endsWith(QLatin1Char(' ')))
                designation->chop(1);
        }
        if (!bad.isEmpty() || !letter || letter->size() != 1 || letter->at(0).isSpace() ||
            !letter->at(0).isPrint() || !designation || designation->isEmpty() ||
            designation->size() > kDesignationWidth) {
            read.ignore(name);
            continue;
        }
        rows.push_back({number - 1, letter->at(0), *designation});
    }
    settings.endGroup();
    std::sort(rows.begin(), rows.end(),
              [](const RememberedRow& a, const RememberedRow& b) { return a.row < b.row; });
}

void ReadPrint(QSettings& settings, Reader& read, RememberedChoices& c) {
    settings.beginGroup(QStringLiteral("print"));
    if (const std::optional<QString> t = read.text(QStringLiteral("printer"))) c.printer = *t;
    // Start and stop count only together, start before stop.
    const std::optional<QString> start = read.text(QStringLiteral("start"));
    const std::optional<QString> stop = read.text(QStringLiteral("stop"));
    if (start && stop) {
        const CivilTime from = ReadTimeText(*start), to = ReadTimeText(*stop);
        if (from.isValid() && to.isValid() && from < to) {
            c.printStart = from;
            c.printStop = to;
        } else {
            read.ignore(QStringLiteral("start"));
            read.ignore(QStringLiteral("stop"));
        }
    } else if (start || stop) {
        read.ignore(start ? QStringLiteral("start") : QStringLiteral("stop"));
    }
    read.number(QStringLiteral("step"), qint64(1), kLongestRememberedStep, c.printStepMinutes);
    if (const std::optional<QString> folder = read.text(QStringLiteral("pdfFolder"))) {
        if (QDir::isAbsolutePath(*folder))
            c.pdfFolder = *folder;
        else
            read.ignore(QStringLiteral("pdfFolder"));
    }
    settings.endGroup();
}

void ReadWindows(QSettings& settings, Reader& read, RememberedChoices& c) {
    constexpr int kFar = 100000; // pixels; farther is no place on any desktop
    settings.beginGroup(QStringLiteral("windows"));
    for (const QString& name : settings.childKeys()) {
        const QVariant value = settings.value(name);
        const QRect r = value.typeId() == QMetaType::QRect ? value.toRect() : QRect();
        if (r.width() > 0 && r.height() > 0 && r.width() < kFar && r.height() < kFar &&
            std::abs(r.left()) < kFar && std::abs(r.top()) < kFar)
            c.windowPlaces[name] = r;
        else
            read.ignore(name);
    }
    settings.endGroup();
}

// QSettings reads an INI file as a whole: an unmatched quote takes in every line after it, a
// line ending in a backslash the next one, and a broken section header moves the keys under it.
// So that damage costs only its own lines, the lines this program could not have written are
// left out (and named in *ignored) before QSettings reads the rest.
QByteArray SoundLines(const QByteArray& text, QStringList* ignored) {
    static const QRegularExpression section(QStringLiteral(R"(^\[[A-Za-z0-9_.%-]+\]$)"));
    static const QRegularExpression entry(QStringLiteral(R"(^[A-Za-z0-9_.%\\-]+\s*=)"));
    QByteArray sound;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray& bytes = lines[i];
        const QString line = QString::fromUtf8(bytes).trimmed();
        bool ok = line.toUtf8() == bytes.trimmed(); // no bytes that are not UTF-8
        for (const QChar c : line)
            ok = ok && c.category() != QChar::Other_Control;
        if (ok && line.startsWith(QLatin1Char('['))) {
            ok = section.match(line).hasMatch();
        } else if (ok && !line.isEmpty() && !line.startsWith(QLatin1Char(';'))) { // ; comment
            int quotes = 0, backslashes = 0;
            for (int k = 0; k < line.size(); ++k) {
                if (line[k] == QLatin1Char('"') && backslashes % 2 == 0) ++quotes;
                backslashes = line[k] == QLatin1Char('\\') ? backslashes + 1 : 0;
            }
            ok = entry.match(line).hasMatch() && quotes % 2 == 0 && backslashes % 2 == 0;
        }
        if (ok)
            sound += bytes + '\n';
        else if (ignored)
            *ignored << QStringLiteral("line %1").arg(i + 1);
    }
    return sound;
}

} // namespace

bool operator==(const RememberedChoices& a, const RememberedChoices& b) {
    for (const auto& box : kBoxes)
        if (a.*box.box != b.*box.box) return false;
    return a.magnitudeTenths == b.magnitudeTenths && a.rows == b.rows && a.printer == b.printer &&
           a.printStart == b.printStart && a.printStop == b.printStop &&
           a.printStepMinutes == b.printStepMinutes && a.pdfFolder == b.pdfFolder &&
           a.windowPlaces == b.windowPlaces;
}

QString RememberedChoicesPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/zenitor/zenitor.conf");
}

RememberedChoices ReadRememberedChoices(QSettings& settings, const ObjectStore* store,
                                        QStringList* ignored) {
    RememberedChoices c;
    Reader read(settings, ignored);
    for (const auto& box : kBoxes)
        read.flag(QLatin1String(box.key), c.*box.box);

    // Written with one decimal; more decimals are taken to the nearest tenth.
    if (const std::optional<QString> t = read.text(QStringLiteral("selection/limitingMagnitude"))) {
        bool ok = false;
        const double limit = t->trimmed().toDouble(&ok);
        if (ok && std::isfinite(limit) && limit >= 0 && limit <= 20)
            c.magnitudeTenths = int(std::lround(limit * 10));
        else
            read.ignore(QStringLiteral("selection/limitingMagnitude"));
    }
    ReadRows(settings, read, c.rows);
    ReadPrint(settings, read, c);
    ReadWindows(settings, read, c);
    if (store) DropMissingRows(c, *store, ignored);
    return c;
}

RememberedChoices ReadRememberedChoices(const QString& path, const ObjectStore* store,
                                        QStringList* ignored) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    // QSettings reads the sound lines from a copy of their own.
    QTemporaryFile sound;
    if (!sound.open() || sound.write(SoundLines(file.readAll(), ignored)) < 0 || !sound.flush())
        return {};
    QSettings settings(sound.fileName(), QSettings::IniFormat);
    return ReadRememberedChoices(settings, store, ignored);
}

int FindRememberedRow(const RememberedRow& row, const ObjectStore& store) {
    FixedText<1> letter;
    letter = QString(row.catalog);
    FixedText<kDesignationWidth> designation;
    designation = row.designation;
    const auto found =
        std::find_if(store.objects.begin(), store.objects.end(), [&](const CatalogObject& object) {
            return object.Catalog == letter && object.Designation == designation;
        });
    return found == store.objects.end() ? -1 : int(found - store.objects.begin());
}

std::vector<int> DropMissingRows(RememberedChoices& choices, const ObjectStore& store,
                                 QStringList* ignored) {
    std::vector<RememberedRow> kept;
    std::vector<int> found;
    for (const RememberedRow& row : choices.rows) {
        const int index = FindRememberedRow(row, store);
        if (index >= 0) {
            kept.push_back(row), found.push_back(index);
        } else if (ignored) {
            *ignored << QStringLiteral("rows/%1 (%2 %3: not in the catalogues)")
                            .arg(row.row + 1)
                            .arg(row.catalog)
                            .arg(row.designation);
        }
    }
    choices.rows = std::move(kept);
    return found;
}

bool WriteRememberedChoices(const QString& path, const RememberedChoices& c, QString* error) {
    // Written to a file of its own that then replaces the old one in one step: QSettings would
    // first read the old file, and a damaged one makes it report a failure.
    const QString fresh = path + QStringLiteral(".new");
    QFile::remove(fresh); // left behind by a write that was cut short
    QSettings settings(fresh, QSettings::IniFormat);
    settings.clear();
    for (const auto& box : kBoxes)
        settings.setValue(QLatin1String(box.key), c.*box.box);
    settings.setValue(
        QStringLiteral("selection/limitingMagnitude"),
        QStringLiteral("%1.%2").arg(c.magnitudeTenths / 10).arg(c.magnitudeTenths % 10));
    for (const RememberedRow& row : c.rows) {
        const QString group = QStringLiteral("rows/%1/").arg(row.row + 1);
        settings.setValue(group + QStringLiteral("catalog"), QString(row.catalog));
        settings.setValue(group + QStringLiteral("designation"), row.designation);
    }
    if (!c.printer.isEmpty()) settings.setValue(QStringLiteral("print/printer"), c.printer);
    if (c.printStart.isValid() && c.printStop.isValid()) {
        settings.setValue(QStringLiteral("print/start"), TimeText(c.printStart));
        settings.setValue(QStringLiteral("print/stop"), TimeText(c.printStop));
    }
    if (c.printStepMinutes > 0)
        settings.setValue(QStringLiteral("print/step"), QString::number(c.printStepMinutes));
    if (!c.pdfFolder.isEmpty()) settings.setValue(QStringLiteral("print/pdfFolder"), c.pdfFolder);
    for (const auto& [name, place] : c.windowPlaces)
        settings.setValue(QStringLiteral("windows/") + name, place);
    settings.sync();
    if (settings.status() == QSettings::NoError &&
        std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    QFile::remove(fresh);
    if (error)
        *error =
            QStringLiteral("The file %1 cannot be written.").arg(QDir::toNativeSeparators(path));
    return false;
}
