// The data files shipped in data/, read with the program's own readers: run sizes, list flags,
// magnitudes an observer can trust, one record per NGC/IC number, guide stars and sample sites.

#include "catalog/catalogfile.h"
#include "catalog/catalogreaders.h"
#include "catalog/objectstore.h"
#include "lists/objectmatcher.h"
#include "objectlist/guidestars.h"
#include "sites/locationsfile.h"
#include "sites/zonenames.h"
#include "support/files.h"

#include <QRegularExpression>
#include <QtTest>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

namespace {

const auto DataPath = [](const QString& name) { return ZENITOR_SOURCE_DATA_DIR "/" + name; };

struct LoadedStore {
    ObjectStore store;
    // First record of each designation: Messier and SAC runs, and NGC and IC runs.
    std::map<QString, const CatalogObject*> upToSac, byDesignation;
    LoadedStore() {
        SizeStoreForLoading(store);
        store.MessierEnd = ReadMessierCatalog(store, 0, DataPath(MessierFileName()));
        store.SacEnd = ReadSacDatabase(store, store.MessierEnd, DataPath(SacFileName()));
        store.NgcEnd = ReadNgcCatalog(store, store.SacEnd, DataPath(NgcFileName()));
        store.IcEnd = ReadIcCatalog(store, store.NgcEnd, DataPath(IcFileName()));
        TrimStore(store, store.IcEnd);
        for (int i = 0; i < store.IcEnd; ++i)
            (i < store.SacEnd ? upToSac : byDesignation)
                .emplace(store.objects[i].Designation.TrimmedText(), &store.objects[i]);
    }
};

const LoadedStore& Loaded() {
    static const LoadedStore loaded;
    return loaded;
}

// The designations of one observing list as the SAC file names them: "NGC 869/884" and
// "NGC 6992/5" give both members, the range "NGC 2237-9" its first number, and
// "Mel 25 (Hyades)" the designation before the name.
QStringList ListDesignations(const QString& fileName, int column) {
    QStringList out;
    const QRegularExpression group(QStringLiteral("^((?:NGC|IC) )(\\d+)([/-])(\\d+)$"));
    for (const QByteArray& raw : ReadAll(DataPath("../tools/lists/" + fileName)).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        QString d = line.split(QLatin1Char('\t')).value(column);
        const auto m = group.match(d.remove(QRegularExpression(QStringLiteral(" \\(.*\\)$"))));
        const QString first = m.captured(2), second = m.captured(4);
        out << (m.hasMatch() ? m.captured(1) + first : d);
        if (m.captured(3) == QLatin1String("/"))
            out << m.captured(1) + first.left(first.size() - second.size()) + second;
    }
    return out;
}

} // namespace

class TestBundledData : public QObject {
    Q_OBJECT
private slots:
    void runsAndListFlags() {
        const ObjectStore& s = Loaded().store;
        QVERIFY(s.MessierEnd == 110 && s.ListedEnd - s.MessierEnd == 489);
        const int sac = 489 + (s.SacEnd - s.MessierEnd - 500);
        QVERIFY2(sac >= 8000 && sac <= 11000, qPrintable(QString::number(sac)));
        // Room is left for a later, larger catalogue release.
        QVERIFY(s.NgcEnd - s.SacEnd >= 6500 && s.IcEnd - s.NgcEnd >= 2000 && s.IcEnd < 23000);
        // One record per NGC or IC number (the reader shows a lettered part under the number).
        QCOMPARE(int(Loaded().byDesignation.size()), s.IcEnd - s.SacEnd);
        // List membership is exactly the three lists: B, C, H in the order the reader tests them:
        // the last list holding an object wins.
        std::map<QString, QString> expected;
        for (const auto& [list, column, letter] : {std::tuple{"best-ngc.txt", 0, "B"},
                                                   {"caldwell.txt", 1, "C"},
                                                   {"herschel400.txt", 0, "H"}})
            for (const QString& d : ListDesignations(QString::fromLatin1(list), column))
                expected[d] = QString::fromLatin1(letter);
        std::map<QString, QString> flagged;
        std::map<QString, int> letters;
        for (int i = s.MessierEnd; i < s.ListedEnd; ++i) {
            flagged[s.objects[i].Designation.TrimmedText()] = s.objects[i].Catalog.Text();
            ++letters[s.objects[i].Catalog.Text()];
        }
        QCOMPARE(flagged, expected);
        QCOMPARE(letters, (std::map<QString, int>{{"B", 22}, {"C", 67}, {"H", 400}}));
        // Messier magnitudes agree with their NGC and IC lines.
        const LoadedStore& l = Loaded();
        int compared = 0, agreeing = 0;
        for (int i = 0; i < l.store.MessierEnd; ++i) {
            const CatalogObject& m = l.store.objects[i];
            const QStringList parts = m.Designation.TrimmedText().split(QLatin1Char('/'));
            if (parts.size() < 2) continue; // M 40 and M 45 have no NGC or IC number
            ++compared;
            const auto it = l.byDesignation.find(parts[1]);
            if (it != l.byDesignation.end() && std::abs(it->second->Mag - m.Mag) <= 0.5)
                ++agreeing;
            else // M 73, an asterism, has no NGC line: the NGC/IC source holds it a non-object
                QVERIFY2(parts[0] == QLatin1String("M 73"), qPrintable(parts[0]));
        }
        QCOMPARE(compared, 108);
        QVERIFY2(agreeing >= 0.95 * compared, qPrintable(QString::number(agreeing)));
    }

    void wellKnownObjectsMagnitudesNamesAndPlaces() {
        // Caldwell, Herschel 400 and Finest NGC objects at the magnitude those lists give.
        const std::pair<const char*, double> known[] = {
            {"NGC 104", 4.0},   {"NGC 6397", 5.7},  {"NGC 6752", 5.4},  {"NGC 362", 6.6},
            {"NGC 2419", 10.4}, {"NGC 6934", 8.8},  {"NGC 7006", 10.6}, {"NGC 5694", 10.2},
            {"NGC 6822", 8.8},  {"NGC 185", 9.2},   {"NGC 147", 9.5},   {"NGC 253", 7.1},
            {"NGC 247", 9.1},   {"NGC 891", 9.9},   {"NGC 7331", 9.5},  {"NGC 2403", 8.4},
            {"NGC 4631", 9.2},  {"NGC 4244", 10.4}, {"NGC 5128", 6.8},  {"NGC 300", 8.1},
            {"NGC 457", 6.4},   {"NGC 7789", 6.7},  {"NGC 6231", 2.6},  {"IC 2602", 1.9},
            {"NGC 7009", 8.0},  {"NGC 6543", 8.1},  {"NGC 7662", 8.3},  {"NGC 6826", 8.8},
            {"NGC 7293", 7.3},  {"NGC 3242", 8.6},  {"NGC 2392", 9.1},  {"IC 342", 9.1}};
        for (const auto& [designation, usual] : known) {
            const auto it = Loaded().byDesignation.find(QString::fromLatin1(designation));
            QVERIFY2(it != Loaded().byDesignation.end(), designation);
            QVERIFY2(std::abs(it->second->Mag - usual) <= 1.5,
                     qPrintable(QStringLiteral("%1 %2").arg(designation).arg(it->second->Mag)));
        }
        // Names and positions sit on their objects.
        // clang-format off
        const std::tuple<const char*, double, double, const char*> placed[] = {
            {"M 31/NGC 224", 10.685, 41.269, "Andromeda Galaxy"}, {"M 40", 185.55, 58.08, "Winnecke 4"},
            {"NGC 2024", 85.43, -1.86, "Flame Nebula; 30'"}, {"NGC 2419", 114.54, 38.88, "Intergalactic Wanderer"},
            {"NGC 2194", 93.45, 12.80, "8.7'"}, {"IC 434", 85.25, -2.45, "90'x30'"}, // no names
            {"B 33", 85.25, -2.46, "Horsehead Nebula; 4'"}, {"Mel 25", 66.75, 16.0, "Hyades"}};
        // clang-format on
        for (const auto& [designation, raDeg, decDeg, comment] : placed) {
            const CatalogObject* o = Loaded().upToSac.at(QString::fromLatin1(designation));
            const double r = M_PI / 180, ra = o->RA * 15 / r, dec = o->Dec / r; // RA: hours*pi/180
            QVERIFY2(std::abs(dec - decDeg) < 0.1 &&
                         std::abs(ra - raDeg) * std::cos(dec * r) < 0.1 &&
                         o->Comment.TrimmedText().startsWith(QLatin1String(comment)),
                     designation);
        }
    }

    // Every Caldwell number is read from the SAC lists column, and lists' spellings and the
    // names the files carry find their objects; type texts find none.
    void listNamesFindTheirObjects() {
        const ObjectStore& s = Loaded().store;
        std::set<int> caldwell;
        for (const CatalogObject& o : s.objects)
            if (o.Caldwell > 0) caldwell.insert(o.Caldwell);
        QCOMPARE(int(caldwell.size()), 109);
        QVERIFY(*caldwell.begin() == 1 && *caldwell.rbegin() == 109);
        const ObjectMatcher matcher(s);
        // clang-format off
        const std::pair<const char*, const char*> lines[] = {
            {"Caldwell 14", "NGC 869"}, {"C41", "Mel 25"}, {"hyades", "Mel 25"}, {"Messier 45", "M 45"},
            {"NGC0224", "NGC 224"}, {"Andromeda Galaxy", "M 31/NGC 224"}, {"Horsehead Nebula", "B 33"},
            {"Crab Nebula", "M 1/NGC 1952"}, {"Galaxy", ""}, {"Globular Cluster", ""}, {"Open Cluster", ""}};
        // clang-format on
        for (const auto& [text, designation] : lines) {
            ListLine line;
            line.names = {QString::fromLatin1(text)};
            QString why;
            const int index = matcher.Match(line, &why);
            QVERIFY2((index < 0 ? QString() : s.objects[size_t(index)].Designation.TrimmedText()) ==
                         QLatin1String(designation),
                     text);
        }
    }

    void guideStarsAndSampleSites() {
        CatalogFile stars(DataPath(QString::fromLatin1(GuideStarFileName)));
        QStringView line;
        int count = 0;
        for (GuideStar star; stars.NextLine(&line);)
            if (ReadGuideStarLine(line, star) && ++count)
                QVERIFY2(star.Mag <= 3.5 && !star.Name.trimmed().isEmpty(), qPrintable(star.Name));
        QVERIFY(count >= 150);
        // The editor's first save must not change the bundled sites file.
        const QString path = DataPath(QStringLiteral("locations.txt"));
        LocationsContent sites;
        QByteArray bytes = ReadAll(path), written;
        QString error;
        QVERIFY2(ParseLocations(bytes, path, &sites, &error) &&
                     FormatLocations(sites.sites, sites.headers, &written, &error),
                 qPrintable(error));
        QVERIFY(sites.sites.size() >= 4 && sites.primaryIndex == 0 && written == bytes);
        // Three sites carry their zone names, and the names file writes back as it is.
        SiteTable named = sites.sites;
        const ZoneNamesReading names = ParseZoneNames(ReadAll(DataPath("zonenames.txt")), named);
        for (std::size_t i = 0; i < named.size(); ++i)
            named[i].ZoneName = names.names[i];
        QVERIFY(names.damagedLines == 0 && named[0].ZoneName == "America/New_York" &&
                named[1].ZoneName == "America/Phoenix" && named[2].ZoneName == "Europe/London" &&
                FormatZoneNames(named) == ReadAll(DataPath("zonenames.txt")));
    }
};

QTEST_MAIN(TestBundledData)
#include "test_bundled_data.moc"
