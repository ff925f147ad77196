// The data files shipped in data/, read with the program's own readers: counts, list flags, a few
// well-known objects at their catalogue positions, the guide stars and the sample sites.

#include "catalog/catalogfile.h"
#include "catalog/catalogreaders.h"
#include "catalog/objectstore.h"
#include "mainwindow/guidestars.h"
#include "sites/locationsfile.h"
#include "sky/coordinates.h"
#include "sky/skystate.h"
#include "sky/skytime.h"
#include "startup/angles.h"
#include "support/testdata.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>
#include <cmath>
#include <map>

namespace {

constexpr double kPi = 3.14159265358979;

QString DataPath(const QString& name) {
    return sourceDataDir() + QLatin1Char('/') + name;
}

// Angle between two positions, all in degrees.
double SeparationDeg(double ra1, double dec1, double ra2, double dec2) {
    const double r = kPi / 180;
    const double c = std::sin(dec1 * r) * std::sin(dec2 * r) +
                     std::cos(dec1 * r) * std::cos(dec2 * r) * std::cos((ra1 - ra2) * r);
    return std::acos(std::min(1.0, std::max(-1.0, c))) / r;
}

// Right ascension of a record (hours times pi/180) in degrees, and its declination in degrees.
double RaDeg(double ra) {
    return ra * 15 * 180 / kPi;
}
double DecDeg(double dec) {
    return dec * 180 / kPi;
}

// The store filled as start-up fills it.
struct LoadedStore {
    ObjectStore store;
    LoadedStore() {
        SizeStoreForLoading(store);
        store.MessierEnd = ReadMessierCatalog(store, 0, DataPath(MessierFileName()));
        store.SacEnd = ReadSacDatabase(store, store.MessierEnd, DataPath(SacFileName()));
        store.NgcEnd = ReadNgcCatalog(store, store.SacEnd, DataPath(NgcFileName()));
        store.IcEnd = ReadIcCatalog(store, store.NgcEnd, DataPath(IcFileName()));
        TrimStore(store, store.IcEnd);
    }
    const CatalogObject* Find(const QString& designation, int begin, int end) const {
        for (int i = begin; i < end; ++i)
            if (store.objects[i].Designation.TrimmedText() == designation) return &store.objects[i];
        return nullptr;
    }
};

const LoadedStore& Loaded() {
    static const LoadedStore loaded;
    return loaded;
}

// The designations of one observing list as the SAC file names them: a group such as
// "NGC 869/884" or "NGC 6992/5" gives each member, a range such as "NGC 2237-9" its first
// number, and "Mel 25 (Hyades)" the designation before the name.
QStringList ListDesignations(const QString& fileName, int column) {
    QFile file(sourceDataDir() + QStringLiteral("/../tools/lists/") + fileName);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList out;
    const QRegularExpression group(QStringLiteral("^(NGC|IC) (\\d+)([/-])(\\d+)$"));
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        QString d = line.split(QLatin1Char('\t')).value(column);
        d.remove(QRegularExpression(QStringLiteral(" \\(.*\\)$")));
        const auto m = group.match(d);
        if (!m.hasMatch()) {
            out << d;
            continue;
        }
        const QString first = m.captured(2);
        out << m.captured(1) + QLatin1Char(' ') + first;
        if (m.captured(3) == QLatin1String("/")) {
            const QString second = m.captured(4);
            out << m.captured(1) + QLatin1Char(' ') + first.left(first.size() - second.size()) +
                       second;
        }
    }
    return out;
}

QList<GuideStar> ReadStars() {
    QList<GuideStar> stars;
    CatalogFile file(DataPath(QString::fromLatin1(GuideStarFileName)));
    QStringView line;
    while (file.NextLine(&line)) {
        GuideStar star;
        if (ReadGuideStarLine(line, star)) stars << star;
    }
    return stars;
}

} // namespace

class TestBundledData : public QObject {
    Q_OBJECT
private slots:
    void runsHaveTheirSizesAndFitTheStore() {
        const ObjectStore& s = Loaded().store;
        QCOMPARE(int(s.MessierEnd), 110);
        const int listed = s.ListedEnd - s.MessierEnd;
        QVERIFY2(listed >= 480 && listed <= 500, qPrintable(QString::number(listed)));
        const int sac = listed + (s.SacEnd - s.MessierEnd - 500);
        QVERIFY2(sac >= 8000 && sac <= 11000, qPrintable(QString::number(sac)));
        QVERIFY(s.NgcEnd - s.SacEnd >= 7000);
        QVERIFY(s.IcEnd - s.NgcEnd >= 2000);
        QCOMPARE(int(s.ObjectCount), int(s.IcEnd) - (s.MessierEnd + 500 - s.ListedEnd));
        // Room is left for a later, larger catalogue release.
        QVERIFY(s.IcEnd < 23000);

        std::map<QString, int> letters;
        for (int i = 0; i < s.IcEnd; ++i)
            ++letters[s.objects[i].Catalog.Text()];
        QCOMPARE(letters[QStringLiteral("M")], 110);
        QCOMPARE(letters[QStringLiteral("H")], 400);
        QCOMPARE(letters[QStringLiteral("H")] + letters[QStringLiteral("C")] +
                     letters[QStringLiteral("B")],
                 listed);
        // The only untouched records are those of the gap behind the listed run.
        QCOMPARE(letters[QString(1, QChar(u'\0'))], s.MessierEnd + 500 - s.ListedEnd);
    }

    void everyListEntryCarriesTheLetterOfItsLastList() {
        const LoadedStore& l = Loaded();
        // B, C, H in the order the reader tests them: the last list holding an object wins.
        std::map<QString, QString> expected;
        for (const QString& d : ListDesignations(QStringLiteral("best-ngc.txt"), 0))
            expected[d] = QStringLiteral("B");
        for (const QString& d : ListDesignations(QStringLiteral("caldwell.txt"), 1))
            expected[d] = QStringLiteral("C");
        for (const QString& d : ListDesignations(QStringLiteral("herschel400.txt"), 0))
            expected[d] = QStringLiteral("H");
        QVERIFY(expected.size() > 480);
        for (const auto& [designation, letter] : expected) {
            const CatalogObject* o = l.Find(designation, l.store.MessierEnd, l.store.ListedEnd);
            QVERIFY2(o, qPrintable(designation));
            QVERIFY2(o->Catalog.Is(letter),
                     qPrintable(designation + QLatin1String(" is ") + o->Catalog.Text()));
        }
    }

    void knownObjectsLieAtTheirCataloguePositions_data() {
        QTest::addColumn<QString>("designation");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<double>("ra");
        QTest::addColumn<double>("dec");
        QTest::addColumn<double>("mag");
        QTest::addColumn<QString>("comment");
        // J2000 positions in degrees; magnitudes as the sources give them.
        QTest::newRow("M 31") << "M 31/NGC 224"
                              << "M" << 10.6847 << 41.2690 << 3.4 << "Andromeda Galaxy";
        QTest::newRow("M 42") << "M 42/NGC 1976"
                              << "M" << 83.8221 << -5.3911 << 4.0 << "Orion Nebula";
        QTest::newRow("M 25") << "M 25/IC 4725"
                              << "M" << 277.94 << -19.11 << 4.6 << "";
        QTest::newRow("M 40") << "M 40"
                              << "M" << 185.55 << 58.08 << 8.0 << "Winnecke 4";
        QTest::newRow("NGC 7000") << "NGC 7000"
                                  << "N" << 314.7500 << 44.5200 << 4.0 << "Nebula";
        QTest::newRow("NGC 6543") << "NGC 6543"
                                  << "N" << 269.6392 << 66.6331 << 9.8 << "Nebula";
        QTest::newRow("IC 434") << "IC 434"
                                << "I" << 85.2500 << -2.4500 << 11.0 << "Nebula";
        QTest::newRow("SAC NGC 7000")
            << "NGC 7000"
            << "H" << 314.7500 << 44.5200 << 4.0 << "North America Nebula";
        QTest::newRow("SAC Hyades") << "Mel 25"
                                    << "C" << 66.75 << 16.0 << 0.5 << "Hyades";
        QTest::newRow("SAC Horsehead") << "B 33"
                                       << "S" << 85.2458 << -2.4583 << 0.0 << "Horsehead Nebula";
    }
    void knownObjectsLieAtTheirCataloguePositions() {
        QFETCH(QString, designation);
        QFETCH(QString, letter);
        QFETCH(double, ra);
        QFETCH(double, dec);
        QFETCH(double, mag);
        QFETCH(QString, comment);
        const LoadedStore& l = Loaded();
        const CatalogObject* found = nullptr;
        for (int i = 0; i < l.store.IcEnd && !found; ++i) {
            const CatalogObject& o = l.store.objects[i];
            if (o.Catalog.Is(letter) && o.Designation.TrimmedText() == designation) found = &o;
        }
        QVERIFY(found);
        QVERIFY2(SeparationDeg(RaDeg(found->RA), DecDeg(found->Dec), ra, dec) < 0.1,
                 qPrintable(QStringLiteral("%1 %2").arg(RaDeg(found->RA)).arg(DecDeg(found->Dec))));
        QCOMPARE(found->Mag, mag);
        QVERIFY2(found->Comment.TrimmedText().startsWith(comment),
                 qPrintable(found->Comment.TrimmedText()));
    }

    void guideStarsAreBrightNamedStarsAtTheirPositions() {
        const QList<GuideStar> stars = ReadStars();
        QVERIFY(stars.size() >= 150);
        for (const GuideStar& s : stars) {
            QVERIFY2(s.Mag <= 3.5, qPrintable(s.Name));
            QVERIFY2(!s.Name.trimmed().isEmpty(), "a star without a name");
        }
        struct Known {
            const char* name;
            double ra, dec, mag;
        };
        for (const Known& k :
             {Known{"Vega", 279.2347, 38.7837, 0.03}, Known{"Albireo", 292.6804, 27.9597, 3.05},
              Known{"Polaris", 37.9546, 89.2641, 1.97}, Known{"Acrux", 186.6496, -63.0991, 0.77}}) {
            const QString name = QString::fromLatin1(k.name);
            auto it = std::find_if(stars.begin(), stars.end(),
                                   [&](const GuideStar& s) { return s.Name.trimmed() == name; });
            QVERIFY2(it != stars.end(), k.name);
            // The star reader converts the hours with the degree rule, like the catalogues.
            QVERIFY2(SeparationDeg(RaDeg(it->RA), DecDeg(it->Dec), k.ra, k.dec) < 0.1, k.name);
            QVERIFY2(std::abs(it->Mag - k.mag) < 0.05, k.name);
        }
    }

    void guideStarListFillsAtMostTheRowsOfTheObjectList() {
        // A mid-northern site sees far more than 22 bright stars between 20 and 60 degrees.
        SkyState sky;
        SetObserverPosition(sky, DegMinToRadians(41, 39.8), DegMinToRadians(-77, -49.4));
        SetSiteClock(sky, -5, true);
        SetObservingTime(sky, QDateTime(QDate(2024, 8, 15), QTime(22, 0), Qt::UTC));
        const GuideStarRows rows =
            ComputeGuideStarRows(sky, DataPath(QString::fromLatin1(GuideStarFileName)));
        QVERIFY2(rows.ok, qPrintable(rows.error));
        QCOMPARE(rows.rows.size(), GuideStarRowLimit);
    }

    void sampleSitesReadBackAsTheWriterWritesThem() {
        QFile file(DataPath(QStringLiteral("locations.txt")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        LocationsContent content;
        QString error;
        QVERIFY2(ParseLocations(bytes, file.fileName(), &content, &error), qPrintable(error));
        QVERIFY(content.sites.size() >= 4);
        QVERIFY(!content.headers.LocationsHeader1.isEmpty());
        QVERIFY(!content.headers.LocationsHeader2.isEmpty());
        int primaries = 0;
        bool north = false, south = false, east = false, west = false;
        for (const SiteLocation& s : content.sites) {
            primaries += s.Primary == -1;
            north |= s.LatDeg > 0;
            south |= s.LatDeg < 0;
            east |= s.LonDeg > 0;
            west |= s.LonDeg < 0;
            QVERIFY(!s.Name.isEmpty());
            QVERIFY(s.TimeZone >= -12 && s.TimeZone <= 12);
            for (std::int16_t h : s.Horizon)
                QVERIFY(h >= 0 && h <= 90);
        }
        QCOMPARE(primaries, 1);
        QVERIFY(north && south && east && west);
        QCOMPARE(int(content.primaryIndex), 0);
        // The editor's first save must not change the bundled file.
        QByteArray written;
        QVERIFY2(FormatLocations(content.sites, content.headers, &written, &error),
                 qPrintable(error));
        QCOMPARE(written, bytes);
    }
};

QTEST_MAIN(TestBundledData)
#include "test_bundled_data.moc"
