#include "settings/rememberedchoices.h"

#include "settings/initext.h"
#include "settings/userfolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>

// The file, as QSettings writes it (every key optional):
//
//   [catalogues]   messier, herschel, caldwell, bestNgc, sac, ngc, ic, planets = true | false
//   [selection]    showAll, inViewOnly = true | false; limitingMagnitude = 0.0 .. 20.0
//   [rows]         <row 1..22>\catalog = one letter; <row>\designation = up to 20 characters
//   [display]      night = true | false
//   [sites]        current = the site's name
//   [sky]          precise = true | false
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
    {"sky/precise", &RememberedChoices::precise},
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

// Takes the values one after another; a value that is there but cannot be used has its key
// noted, and so has every value that no one took.
class Reader {
public:
    Reader(IniValues values, QStringList* ignored)
        : values_(std::move(values)), ignored_(ignored) {}

    void ignore(const QString& key) {
        if (ignored_) ignored_->append(key);
    }

    std::optional<IniValue> take(const QString& key) {
        const auto found = values_.find(key);
        if (found == values_.end()) return std::nullopt;
        IniValue value = std::move(found->second);
        values_.erase(found);
        return value;
    }

    // The plain text under the key; nothing when the key is missing or holds anything else
    // (a list, a typed value written by hand).
    std::optional<QString> text(const QString& key) {
        const std::optional<IniValue> value = take(key);
        if (!value) return std::nullopt;
        if (value->kind == IniValue::Text) return value->text;
        ignore(key);
        return std::nullopt;
    }

    void flag(const QString& key, bool& out) {
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

    // The keys under "group/" that are still there, without that part.
    QStringList keysUnder(const QString& group) const {
        const QString prefix = group + QLatin1Char('/');
        QStringList keys;
        for (auto it = values_.lower_bound(prefix);
             it != values_.end() && it->first.startsWith(prefix); ++it)
            keys << it->first.mid(prefix.size());
        return keys;
    }

    // Keys this program does not know (or a later version wrote) would be lost at the next save.
    void ignoreTheRest() {
        for (const auto& [key, value] : values_)
            ignore(key);
        values_.clear();
    }

private:
    IniValues values_;
    QStringList* ignored_;
};

void ReadRows(Reader& read, std::vector<RememberedRow>& rows) {
    QStringList names;
    for (const QString& key : read.keysUnder(QStringLiteral("rows")))
        if (key.contains(QLatin1Char('/')) && !names.contains(key.section(QLatin1Char('/'), 0, 0)))
            names << key.section(QLatin1Char('/'), 0, 0);
    for (const QString& name : names) {
        const QString group = QStringLiteral("rows/") + name;
        const std::optional<IniValue> letter = read.take(group + QStringLiteral("/catalog"));
        std::optional<IniValue> designation = read.take(group + QStringLiteral("/designation"));
        bool ok = false;
        const int number = name.toInt(&ok);
        // The number as written, so that "05" and "5" cannot both claim a row.
        ok = ok && number >= 1 && number <= kRows && QString::number(number) == name;
        ok = ok && letter && letter->kind == IniValue::Text && designation &&
             designation->kind == IniValue::Text;
        if (ok) {
            while (designation->text.endsWith(QLatin1Char(' ')))
                designation->text.chop(1);
            const QString& d = designation->text;
            const QString& l = letter->text;
            ok = l.size() == 1 && !l[0].isSpace() && l[0].isPrint() && !d.isEmpty() &&
                 d.size() <= kDesignationWidth;
        }
        if (ok)
            rows.push_back({number - 1, letter->text[0], designation->text});
        else
            read.ignore(group);
    }
    std::sort(rows.begin(), rows.end(),
              [](const RememberedRow& a, const RememberedRow& b) { return a.row < b.row; });
}

void ReadPrint(Reader& read, RememberedChoices& c) {
    const QString printer = QStringLiteral("print/printer"),
                  startKey = QStringLiteral("print/start"), stopKey = QStringLiteral("print/stop"),
                  folderKey = QStringLiteral("print/pdfFolder");
    if (const std::optional<QString> t = read.text(printer)) c.printer = *t;
    // Start and stop count only together, start before stop.
    const std::optional<QString> start = read.text(startKey);
    const std::optional<QString> stop = read.text(stopKey);
    if (start && stop) {
        const CivilTime from = ReadTimeText(*start), to = ReadTimeText(*stop);
        if (from.isValid() && to.isValid() && from < to) {
            c.printStart = from;
            c.printStop = to;
        } else {
            read.ignore(startKey);
            read.ignore(stopKey);
        }
    } else if (start || stop) {
        read.ignore(start ? startKey : stopKey);
    }
    read.number(QStringLiteral("print/step"), qint64(1), kLongestRememberedStep,
                c.printStepMinutes);
    if (const std::optional<QString> folder = read.text(folderKey)) {
        if (QDir::isAbsolutePath(*folder))
            c.pdfFolder = *folder;
        else
            read.ignore(folderKey);
    }
}

// "@Rect(left top width height)" as QSettings writes a QRect; the numbers are taken in 64 bits,
// so that no hand-written one can overflow on its way to a place.
std::optional<QRect> PlaceOf(const IniValue& value) {
    constexpr qint64 kFar = 100000; // pixels; farther is no place on any desktop
    const QString& t = value.text;
    if (value.kind != IniValue::Typed || !t.startsWith(QLatin1String("@Rect(")) ||
        !t.endsWith(QLatin1Char(')')))
        return std::nullopt;
    const QStringList parts = t.mid(6, t.size() - 7).split(QLatin1Char(' '));
    if (parts.size() != 4) return std::nullopt;
    qint64 n[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        n[i] = parts[i].toLongLong(&ok);
        if (!ok) return std::nullopt;
    }
    const bool near = n[2] > 0 && n[3] > 0 && n[2] < kFar && n[3] < kFar && n[0] > -kFar &&
                      n[0] < kFar && n[1] > -kFar && n[1] < kFar;
    if (!near) return std::nullopt;
    return QRect(int(n[0]), int(n[1]), int(n[2]), int(n[3]));
}

void ReadWindows(Reader& read, RememberedChoices& c) {
    for (const QString& name : read.keysUnder(QStringLiteral("windows"))) {
        const QString key = QStringLiteral("windows/") + name;
        const std::optional<QRect> place = PlaceOf(*read.take(key));
        if (place)
            c.windowPlaces[name] = *place;
        else
            read.ignore(key);
    }
}

// The file a path leads to through symbolic links, whether or not it is there yet.
QString FinalTarget(QString path) {
    for (int hops = 0; hops < 40 && QFileInfo(path).isSymLink(); ++hops)
        path = QFileInfo(path).symLinkTarget();
    return path;
}

} // namespace

bool operator==(const RememberedChoices& a, const RememberedChoices& b) {
    for (const auto& box : kBoxes)
        if (a.*box.box != b.*box.box) return false;
    return a.magnitudeTenths == b.magnitudeTenths && a.rows == b.rows && a.printer == b.printer &&
           a.printStart == b.printStart && a.printStop == b.printStop &&
           a.printStepMinutes == b.printStepMinutes && a.pdfFolder == b.pdfFolder &&
           a.windowPlaces == b.windowPlaces && a.site == b.site;
}

QString RememberedChoicesPath() {
    return UserConfigFolder() + QStringLiteral("/zenitor/zenitor.conf");
}

RememberedChoices ReadRememberedChoicesText(const QByteArray& text, const ObjectStore* store,
                                            QStringList* ignored) {
    RememberedChoices c;
    Reader read(ReadIniText(text, ignored), ignored);
    for (const auto& box : kBoxes)
        read.flag(QLatin1String(box.key), c.*box.box);

    // Written with one decimal; more decimals are taken to the nearest tenth.
    const QString limitKey = QStringLiteral("selection/limitingMagnitude");
    if (const std::optional<QString> t = read.text(limitKey)) {
        bool ok = false;
        const double limit = t->trimmed().toDouble(&ok);
        if (ok && std::isfinite(limit) && limit >= 0 && limit <= 20)
            c.magnitudeTenths = int(std::lround(limit * 10));
        else
            read.ignore(limitKey);
    }
    ReadRows(read, c.rows);
    if (const std::optional<QString> t = read.text(QStringLiteral("sites/current"))) c.site = *t;
    ReadPrint(read, c);
    ReadWindows(read, c);
    read.ignoreTheRest();
    if (store) DropMissingRows(c, *store, ignored);
    return c;
}

RememberedChoices ReadRememberedChoices(const QString& path, const ObjectStore* store,
                                        QStringList* ignored, QString* readError) {
    // Only a file that is not there is a first start; one that is there but cannot be read
    // (no permission, a folder in its place, a failing disk) may hold the observer's choices.
    std::error_code why;
    if (!std::filesystem::exists(QFile::encodeName(path).toStdString(), why) && !why) return {};
    QFile file(path);
    const QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        if (readError)
            *readError = QStringLiteral("The file %1 cannot be read (%2).")
                             .arg(QDir::toNativeSeparators(path),
                                  why ? QString::fromStdString(why.message()) : file.errorString());
        return {};
    }
    return ReadRememberedChoicesText(text, store, ignored);
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
    // first read the old file, and a damaged one makes it report a failure. A link (a settings
    // folder kept elsewhere, a file shared between machines) stays a link: the file it leads to is
    // the one replaced.
    const QString target = FinalTarget(path);
    const QString fresh = target + QStringLiteral(".new");
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
    if (!c.site.isEmpty()) settings.setValue(QStringLiteral("sites/current"), c.site);
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
        std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(target).constData()) ==
            0)
        return true;
    QFile::remove(fresh);
    if (error)
        *error =
            QStringLiteral("The file %1 cannot be written.").arg(QDir::toNativeSeparators(path));
    return false;
}
