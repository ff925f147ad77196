#include "mainwindow/guidestars.h"

#include "sky/coordinates.h"
#include "sky/skytime.h"
#include "sky/textformats.h"
#include "support/testdata.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

// One star line in the file's fixed columns.
QString StarLine(const QString& name, const QString& mag, int raH, int raM, const QString& raS,
                 QChar sign, int decD, int decM, int decS) {
    QString line(60, QLatin1Char(' '));
    auto put = [&line](int column, const QString& text) {
        line.replace(column - 1, text.size(), text);
    };
    auto two = [](int v) { return QString::number(v).rightJustified(2, QLatin1Char('0')); };
    put(1, QStringLiteral("1 HR 0000 BSC 000"));
    put(20, name.left(14));
    put(35, mag.rightJustified(5, QLatin1Char(' ')));
    put(41, two(raH) + ' ' + two(raM) + ' ' + raS.rightJustified(4, QLatin1Char(' ')));
    put(52, sign + two(decD) + ' ' + two(decM) + ' ' + two(decS));
    return line;
}

QString StarAtDec(const QString& name, QChar sign, int decD) {
    return StarLine(name, "2.0", 6, 0, "0", sign, decD, 0, 0);
}

// A star line whose right ascension, to a tenth of a second of time, is `raHours`.
QString StarAtRa(const QString& name, double raHours, int decD, int decM, int decS) {
    const int tenths = int(std::lround(raHours * 36000)) % (24 * 36000);
    return StarLine(name, "0.08", tenths / 36000, tenths / 600 % 60,
                    QString::number((tenths % 600) / 10.0, 'f', 1), '+', decD, decM, decS);
}

QString WriteStarFile(const QTemporaryDir& dir, const QStringList& lines, const QByteArray& end) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + end;
    const QString path = GuideStarFilePath(dir.path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return QString();
    return path;
}

// A fixed typed instant on the Greenwich meridian, zone 0, no daylight saving.
void FixSky(SkyState& sky, double latitudeDeg) {
    SetObservingTime(sky, QDateTime(QDate(2024, 3, 15), QTime(21, 0, 0), Qt::UTC));
    SetSiteClock(sky, 0, false);
    SetObserverPosition(sky, DegToRad(latitudeDeg), 0);
}

double LocalSiderealAngle(SkyState& sky) {
    SetTarget(sky, 0, 0);
    TargetAltitude(sky);
    return ComputeHourAngle(sky);
}

// Right ascension in hours of a star at hour angle `h` (radians) at the instant in force.
double RaHoursAtHourAngle(SkyState& sky, double h) {
    const double hours = std::fmod((LocalSiderealAngle(sky) - h) * 12 / M_PI, 24.0);
    return hours < 0 ? hours + 24 : hours;
}

QStringList NamesOf(const GuideStarRows& result) {
    QStringList names;
    for (const QString& row : result.rows)
        names.append(row.left(15).trimmed());
    return names;
}

} // namespace

class TestGuideStars : public QObject {
    Q_OBJECT
private slots:
    void readsColumns_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("mag");
        QTest::addColumn<double>("raHours");
        QTest::addColumn<double>("decDeg");
        QTest::newRow("full line")
            << StarLine("Alpha Lyrae", "0.03", 18, 36, "56.3", '+', 38, 47, 1) << "Alpha Lyrae"
            << 0.03 << 18 + 36 / 60.0 + 56.3 / 3600 << 38 + 47 / 60.0 + 1 / 3600.0;
        QTest::newRow("south of the equator by minutes only")
            << StarLine("Delta Orionis", "2.23", 5, 32, "0.4", '-', 0, 17, 57) << "Delta Orionis"
            << 2.23 << 5 + 32 / 60.0 + 0.4 / 3600 << -(17 / 60.0 + 57 / 3600.0);
        QTest::newRow("blank sign, blanks inside the magnitude, name cut")
            << StarLine("Alpha Centauri A", " 1 2 ", 1, 0, "0", ' ', 10, 30, 0) << "Alpha Centauri"
            << 12.0 << 1.0 << 10.5;
        QTest::newRow("line ends inside the RA seconds")
            << StarLine("Short", "3.5", 2, 30, "45", '-', 1, 1, 1).left(48) << "Short" << 3.5 << 2.5
            << 0.0;
        QTest::newRow("a lone digit") << QStringLiteral("7") << "" << 0.0 << 0.0 << 0.0;
    }
    void readsColumns() {
        QFETCH(QString, line);
        QFETCH(QString, name);
        QFETCH(double, mag);
        QFETCH(double, raHours);
        QFETCH(double, decDeg);
        GuideStar star;
        QVERIFY(ReadGuideStarLine(line, star));
        QCOMPARE(star.Name, name.leftJustified(20, QLatin1Char(' ')));
        QVERIFY(std::abs(star.Mag - mag) < 1e-12);
        QVERIFY(std::abs(star.RA - DegToRad(raHours)) < 1e-12);
        QVERIFY(std::abs(star.Dec - DegToRad(decDeg)) < 1e-12);
    }

    void skipsLinesNotStartingWithDigit() {
        const QString star = StarAtDec("Gamma", '+', 30);
        for (const QString& line : {QString(), QStringLiteral("HR   Name    Mag"),
                                    ' ' + star.mid(1), QChar(0xB2) + star.mid(1)}) {
            GuideStar parsed;
            QVERIFY2(!ReadGuideStarLine(line, parsed), qPrintable(line));
        }
    }

    void rowTextHasFixedLayout() {
        const QString deg(QChar(0xB0));
        GuideStar star{"Alpha Centauri      ", 1.5, 0, 0, DegToRad(45.5), DegToRad(180.25)};
        QCOMPARE(GuideStarRowText(star),
                 "Alpha Centauri    45" + deg + " 30.0'  180" + deg + " 15.0'  1.5");
        star = {"Vega                ", -1.46, 0, 0, DegToRad(20.75), DegToRad(5.1)};
        QCOMPARE(GuideStarRowText(star),
                 "Vega              20" + deg + " 45.0'    5" + deg + " 06.0' -1.46");
    }

    // At the pole every star's altitude is its declination, whatever the instant.
    void keepsFirst22SuitableStarsInFileOrder() {
        QStringList lines{"Bright guide stars", QString(), "HR  Name"};
        QStringList expected;
        for (int i = 0; i < 30; ++i) {
            lines << StarAtDec(QString("Suitable %1").arg(i), '+', 21 + i)
                  << StarAtDec("Low", '+', 10) << StarAtDec("South", '-', 30)
                  << StarAtDec("High", '+', 75);
            if (i < 22) expected << QString("Suitable %1").arg(i);
        }
        QTemporaryDir dir;
        SkyState sky;
        FixSky(sky, 90);
        const GuideStarRows result = ComputeGuideStarRows(sky, WriteStarFile(dir, lines, "\r\n"));
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(NamesOf(result), expected);
    }

    // At the pole, with the star six hours from the meridian, the altitude formula returns the
    // declination to the last bit, so a star can sit exactly on either limit.
    void excludesStarsExactlyAtTheLimits() {
        SkyState sky;
        FixSky(sky, 90);
        const double ra = RaHoursAtHourAngle(sky, M_PI / 2);
        const QStringList lines{
            StarAtRa("At 20", ra, 20, 0, 0),      StarAtRa("Above 20", ra, 20, 0, 1),
            StarAtRa("Below 60", ra, 59, 59, 59), StarAtRa("At 60", ra, 60, 0, 0),
            StarAtRa("Below 20", ra, 19, 59, 59), StarAtRa("Above 60", ra, 60, 0, 1)};
        for (int i : {0, 3}) {
            GuideStar star;
            QVERIFY(ReadGuideStarLine(lines[i], star));
            SetTarget(sky, star.RA, star.Dec);
            QCOMPARE(TargetAltitude(sky), DegToRad(i == 0 ? 20 : 60));
        }
        QTemporaryDir dir;
        const GuideStarRows result = ComputeGuideStarRows(sky, WriteStarFile(dir, lines, "\n"));
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(NamesOf(result), (QStringList{"Above 20", "Below 60"}));
    }

    // The row carries the star's place at the site, worked out here with the textbook formulas.
    void rowShowsStarPositionAtTheSite() {
        SkyState sky;
        FixSky(sky, 45);
        const QString line = StarAtRa("Alpha Aurigae", RaHoursAtHourAngle(sky, -0.7), 25, 30, 0);
        GuideStar star;
        QVERIFY(ReadGuideStarLine(line, star));
        const double phi = M_PI / 4, dec = 25.5 * M_PI / 180;
        const double h = LocalSiderealAngle(sky) - star.RA * 15;
        const double alt =
            std::asin(std::sin(dec) * std::sin(phi) + std::cos(dec) * std::cos(phi) * std::cos(h));
        const double az =
            std::atan2(-std::cos(dec) * std::sin(h),
                       std::sin(dec) * std::cos(phi) - std::cos(dec) * std::sin(phi) * std::cos(h));
        QVERIFY(az > 0 && alt > DegToRad(20) && alt < DegToRad(60));

        QTemporaryDir dir;
        const GuideStarRows result = ComputeGuideStarRows(sky, WriteStarFile(dir, {line}, "\r\n"));
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.rows,
                 QStringList{"Alpha Aurigae   " + AngleText(alt) + ' ' + AngleText(az) + " 0.08"});
    }

    void readsEveryLineEnding_data() {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::addColumn<bool>("finalEnd");
        QTest::newRow("CR LF") << QByteArray("\r\n") << true;
        QTest::newRow("CR") << QByteArray("\r") << true;
        QTest::newRow("LF") << QByteArray("\n") << true;
        QTest::newRow("LF, last line unterminated") << QByteArray("\n") << false;
    }
    void readsEveryLineEnding() {
        QFETCH(QByteArray, lineEnd);
        QFETCH(bool, finalEnd);
        const QStringList lines{"Name list", StarAtDec(u"S\u00e9ginus"_qs, '+', 30), QString(),
                                StarAtDec("Second", '+', 40)};
        QTemporaryDir dir;
        const QString path = WriteStarFile(dir, lines, lineEnd);
        if (!finalEnd) QVERIFY(QFile::resize(path, QFileInfo(path).size() - lineEnd.size()));
        SkyState sky;
        FixSky(sky, 90);
        const GuideStarRows result = ComputeGuideStarRows(sky, path);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(NamesOf(result), (QStringList{u"S\u00e9ginus"_qs, "Second"}));
    }

    // The bundled file is laid out in the columns the reader takes.
    void bundledFileReadsInItsColumns() {
        const QString path = GuideStarFilePath(sourceDataDir());
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        int stars = 0;
        for (const QByteArray& bytes : file.readAll().split('\n')) {
            const QString line = QString::fromLatin1(bytes).remove('\r');
            GuideStar star;
            if (!ReadGuideStarLine(line, star)) continue;
            ++stars;
            QVERIFY2(!star.Name.trimmed().isEmpty() && star.Mag > -2 && star.Mag < 7 &&
                         star.RA >= 0 && star.RA < DegToRad(24) &&
                         std::abs(star.Dec) <= DegToRad(90) && QString("+-").contains(line[51]),
                     qPrintable(line));
        }
        QVERIFY(stars > 22);
        SkyState sky;
        FixSky(sky, 45);
        QCOMPARE(ComputeGuideStarRows(sky, path).rows.size(), 22);
    }

    void unreadableFileIsReportedWithNameAndReason_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QString(GuideStarFileName) << "missing";
        QTest::newRow("directory") << "folder"
                                   << "directory";
    }
    void unreadableFileIsReportedWithNameAndReason() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        const QString path = QDir(dir.path()).filePath(name);
        SkyState sky;
        FixSky(sky, 45);
        const GuideStarRows result = ComputeGuideStarRows(sky, path);
        QVERIFY(!result.ok && result.rows.isEmpty());
        QVERIFY2(result.error.contains(QDir::toNativeSeparators(path)) &&
                     result.error.contains(reason, Qt::CaseInsensitive),
                 qPrintable(result.error));
    }
};

QTEST_MAIN(TestGuideStars)
#include "test_guidestars.moc"
