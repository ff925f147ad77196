#include "mainwindow/guidestars.h"

#include "sky/coordinates.h"
#include "sky/skystate.h"
#include "sky/skytime.h"
#include "sky/textformats.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <initializer_list>
#include <utility>

namespace {

// One star line in the file's fixed columns. `raSeconds` is written as given (up to 4 characters).
QString StarLine(const QString& name, const QString& mag, int raH, int raM,
                 const QString& raSeconds, QChar sign, int decD, int decM, int decS) {
    QString line(60, QLatin1Char(' '));
    auto put = [&line](int column, const QString& text) {
        line.replace(column - 1, text.size(), text);
    };
    put(1, QStringLiteral("1"));
    put(2, QStringLiteral("HR 0000 BSC 00000"));
    put(20, name.left(14));
    put(35, mag.rightJustified(5, QLatin1Char(' ')));
    put(41, QString::number(raH).rightJustified(2, QLatin1Char('0')));
    put(44, QString::number(raM).rightJustified(2, QLatin1Char('0')));
    put(47, raSeconds.rightJustified(4, QLatin1Char(' ')));
    put(52, QString(sign));
    put(53, QString::number(decD).rightJustified(2, QLatin1Char('0')));
    put(56, QString::number(decM).rightJustified(2, QLatin1Char('0')));
    put(59, QString::number(decS).rightJustified(2, QLatin1Char('0')));
    return line;
}

QString StarAtDec(const QString& name, QChar sign, int decD, int decM = 0, int decS = 0) {
    return StarLine(name, QStringLiteral("2.0"), 6, 0, QStringLiteral("0"), sign, decD, decM, decS);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

QByteArray JoinLines(const QStringList& lines, const char* lineEnd) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + lineEnd;
    return bytes;
}

// A fixed typed instant on the Greenwich meridian, zone 0, no daylight saving.
void FixSky(SkyState& sky, double latitudeDeg) {
    SetObservingTime(sky, QDateTime(QDate(2024, 3, 15), QTime(21, 0, 0), Qt::UTC));
    SetSiteClock(sky, 0, false);
    SetObserverPosition(sky, DegToRad(latitudeDeg), 0);
}

// Local sidereal angle (radians, one turn at most) at the instant in force.
double LocalSiderealAngle(SkyState& sky) {
    SetTarget(sky, 0, 0);
    TargetAltitude(sky);
    return std::fmod(ComputeHourAngle(sky), 2 * M_PI);
}

// Right ascension in hours of a star whose hour angle is `hourAngleRad` at the instant in force.
double RaHoursForHourAngle(SkyState& sky, double hourAngleRad) {
    double hours = (LocalSiderealAngle(sky) - hourAngleRad) * 12 / M_PI;
    hours = std::fmod(hours, 24.0);
    return hours < 0 ? hours + 24 : hours;
}

// A star line whose right ascension (to a tenth of a second of time) is `raHours`.
QString StarAtRa(const QString& name, const QString& mag, double raHours, QChar sign, int decD,
                 int decM, int decS) {
    const int tenths = int(std::lround(raHours * 36000)) % (24 * 36000);
    const int h = tenths / 36000;
    const int m = tenths / 600 % 60;
    const double s = (tenths % 600) / 10.0;
    return StarLine(name, mag, h, m, QString::number(s, 'f', 1), sign, decD, decM, decS);
}

QStringList NamesOf(const QStringList& rows) {
    QStringList names;
    for (const QString& row : rows)
        names.append(row.left(15).trimmed());
    return names;
}

} // namespace

class TestGuideStars : public QObject {
    Q_OBJECT
private slots:
    void readsColumns_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("isStar");
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("mag");
        QTest::addColumn<double>("raHours");
        QTest::addColumn<double>("decDeg");

        QTest::newRow("full line")
            << StarLine("Alpha Lyrae", "0.03", 18, 36, "56.3", '+', 38, 47, 1) << true
            << "Alpha Lyrae" << 0.03 << 18 + 36 / 60.0 + 56.3 / 3600 << 38 + 47 / 60.0 + 1 / 3600.0;
        QTest::newRow("south, zero degrees")
            << StarLine("Delta Orionis", "2.23", 5, 32, "0.4", '-', 0, 17, 57) << true
            << "Delta Orionis" << 2.23 << 5 + 32 / 60.0 + 0.4 / 3600 << -(17 / 60.0 + 57 / 3600.0);
        QTest::newRow("blank sign is north") << StarLine("Beta", "-1.5", 1, 0, "0", ' ', 10, 30, 0)
                                             << true << "Beta" << -1.5 << 1.0 << 10.5;
        QTest::newRow("name cut at 14, blanks in number")
            << (StarLine("Alpha Centauri A", "", 14, 39, "36", '-', 60, 50, 2)
                    .replace(34, 5, " 1 2 "))
            << true << "Alpha Centauri" << 12.0 << 14 + 39 / 60.0 + 36 / 3600.0
            << -(60 + 50 / 60.0 + 2 / 3600.0);
        QTest::newRow("line ends inside RA seconds")
            << StarLine("Short", "3.5", 2, 30, "45", '+', 1, 1, 1).left(48) << true << "Short"
            << 3.5 << 2.5 << 0.0;
        QTest::newRow("line ends after the name")
            << StarLine("Name only", "", 0, 0, "", ' ', 0, 0, 0).left(28) << true << "Name only"
            << 0.0 << 0.0 << 0.0;
        QTest::newRow("single digit") << QStringLiteral("7") << true << "" << 0.0 << 0.0 << 0.0;
        QTest::newRow("heading") << QStringLiteral("HR   Name          Mag  RA") << false << ""
                                 << 0.0 << 0.0 << 0.0;
        QTest::newRow("blank line") << QString() << false << "" << 0.0 << 0.0 << 0.0;
        QTest::newRow("indented star") << (QLatin1Char(' ') + StarAtDec("Gamma", '+', 30).mid(1))
                                       << false << "" << 0.0 << 0.0 << 0.0;
        QTest::newRow("superscript digit") << (QChar(0xB2) + StarAtDec("Gamma", '+', 30).mid(1))
                                           << false << "" << 0.0 << 0.0 << 0.0;
    }
    void readsColumns() {
        QFETCH(QString, line);
        QFETCH(bool, isStar);
        QFETCH(QString, name);
        QFETCH(double, mag);
        QFETCH(double, raHours);
        QFETCH(double, decDeg);

        GuideStar star;
        star.Name = QStringLiteral("untouched");
        QCOMPARE(ReadGuideStarLine(line, star), isStar);
        if (!isStar) {
            QCOMPARE(star.Name, QStringLiteral("untouched"));
            return;
        }
        QCOMPARE(star.Name, name.leftJustified(20, QLatin1Char(' ')));
        QVERIFY(std::abs(star.Mag - mag) < 1e-12);
        QVERIFY(std::abs(star.RA - DegToRad(raHours)) < 1e-12);
        QVERIFY(std::abs(star.Dec - DegToRad(decDeg)) < 1e-12);
        if (decDeg < 0) QVERIFY(star.Dec < 0);
    }

    void rowTextHasFixedLayout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("altDeg");
        QTest::addColumn<double>("azDeg");
        QTest::addColumn<double>("mag");
        QTest::addColumn<QString>("expected");

        const QString deg(QChar(0xB0));
        QTest::newRow("14-character name")
            << "Alpha Centauri" << 45.5 << 180.25 << 1.5
            << "Alpha Centauri    45" + deg + " 30.0'  180" + deg + " 15.0'  1.5";
        QTest::newRow("short name, whole magnitude")
            << "Vega" << 20.75 << 5.1 << 2.0
            << "Vega              20" + deg + " 45.0'    5" + deg + " 06.0'    2";
        QTest::newRow("long magnitude shown whole")
            << "Mira" << 33.25 << 359.5 << -1.46
            << "Mira              33" + deg + " 15.0'  359" + deg + " 30.0' -1.46";
    }
    void rowTextHasFixedLayout() {
        QFETCH(QString, name);
        QFETCH(double, altDeg);
        QFETCH(double, azDeg);
        QFETCH(double, mag);
        QFETCH(QString, expected);

        GuideStar star;
        star.Name = name.leftJustified(20, QLatin1Char(' '));
        star.Alt = DegToRad(altDeg);
        star.Az = DegToRad(azDeg);
        star.Mag = mag;
        QCOMPARE(GuideStarRowText(star), expected);
    }

    // At the pole the altitude of every star is its declination, whatever the instant, so the
    // suitability of each line is known from the file alone.
    void keepsFirst22SuitableStarsInFileOrder() {
        QStringList lines{QStringLiteral("Bright guide stars"), QString(),
                          QStringLiteral("HR  Name")};
        QStringList expected;
        for (int i = 0; i < 30; ++i) {
            const QString name = QStringLiteral("Suitable %1").arg(i);
            lines.append(StarAtDec(name, '+', 21 + i)); // 21..50 degrees
            if (i < 22) expected.append(name);
            lines.append(StarAtDec(QStringLiteral("Low %1").arg(i), '+', 10));
            lines.append(StarAtDec(QStringLiteral("South %1").arg(i), '-', 30));
            if (i % 5 == 0) lines.append(StarAtDec(QStringLiteral("High %1").arg(i), '+', 75));
        }
        QTemporaryDir dir;
        const QString path = GuideStarFilePath(dir.path());
        WriteFile(path, JoinLines(lines, "\r\n"));

        SkyState sky;
        FixSky(sky, 90);
        const GuideStarRows result = ComputeGuideStarRows(sky, path);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.rows.size(), 22);
        QCOMPARE(NamesOf(result.rows), expected);
    }

    // At the pole, with the star six hours from the meridian, the altitude formula gives the
    // declination to the last bit, so a star can be put exactly on either limit.
    void excludesStarsExactlyAtTheLimits() {
        SkyState sky;
        FixSky(sky, 90);
        const double raHours = RaHoursForHourAngle(sky, M_PI / 2);
        auto line = [&](const QString& name, int d, int m, int s) {
            return StarAtRa(name, QStringLiteral("1.0"), raHours, '+', d, m, s);
        };
        const QStringList lines{line("At 20", 20, 0, 0),      line("Above 20", 20, 0, 1),
                                line("Below 60", 59, 59, 59), line("At 60", 60, 0, 0),
                                line("Below 20", 19, 59, 59), line("Above 60", 60, 0, 1)};

        // The limit stars really sit on the limits.
        for (const auto& [index, limit] : {std::pair{0, 20.0}, std::pair{3, 60.0}}) {
            GuideStar star;
            QVERIFY(ReadGuideStarLine(lines[index], star));
            SetTarget(sky, star.RA, star.Dec);
            QCOMPARE(TargetAltitude(sky), DegToRad(limit));
        }

        QTemporaryDir dir;
        const QString path = GuideStarFilePath(dir.path());
        WriteFile(path, JoinLines(lines, "\n"));
        const GuideStarRows result = ComputeGuideStarRows(sky, path);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(NamesOf(result.rows), (QStringList{"Above 20", "Below 60"}));
    }

    // A mid-latitude site: the rows must carry the place the star really has in the sky, which
    // is worked out here with the textbook formulas independently of the program's own.
    void rowShowsStarPositionAtTheSite() {
        SkyState sky;
        FixSky(sky, 45);
        const double hourAngle = -40 * M_PI / 180; // east of the meridian
        const double raHours = RaHoursForHourAngle(sky, hourAngle);
        const QString line = StarAtRa(QStringLiteral("Alpha Aurigae"), QStringLiteral("0.08"),
                                      raHours, '+', 25, 30, 0);

        // Position expected for the right ascension actually written into the line.
        GuideStar star;
        QVERIFY(ReadGuideStarLine(line, star));
        const double phi = 45 * M_PI / 180;
        const double dec = (25 + 30 / 60.0) * M_PI / 180;
        const double h = LocalSiderealAngle(sky) - star.RA * 15;
        const double alt =
            std::asin(std::sin(dec) * std::sin(phi) + std::cos(dec) * std::cos(phi) * std::cos(h));
        double az =
            std::atan2(-std::cos(dec) * std::sin(h),
                       std::sin(dec) * std::cos(phi) - std::cos(dec) * std::sin(phi) * std::cos(h));
        if (az < 0) az += 2 * M_PI;
        QVERIFY(alt > DegToRad(20) && alt < DegToRad(60));
        QVERIFY(az > M_PI / 2 && az < M_PI); // south-east

        QTemporaryDir dir;
        const QString path = GuideStarFilePath(dir.path());
        WriteFile(path, JoinLines({line}, "\r\n"));
        const GuideStarRows result = ComputeGuideStarRows(sky, path);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.rows.size(), 1);
        const QString row = result.rows[0];
        QCOMPARE(row.left(16), QStringLiteral("Alpha Aurigae   "));
        QCOMPARE(row.mid(16, 11), AngleText(alt));
        QCOMPARE(row.mid(28, 11), AngleText(az));
        QCOMPARE(row.mid(39), QStringLiteral(" 0.08"));
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

        // Latin-1 bytes in the name, and a blank line between the stars.
        const QStringList lines{QStringLiteral("Name list"),
                                StarAtDec(QStringLiteral("S\u00e9ginus"), '+', 30), QString(),
                                StarAtDec(QStringLiteral("Second"), '+', 40)};
        QByteArray bytes = JoinLines(lines, lineEnd.constData());
        if (!finalEnd) bytes.chop(lineEnd.size());
        QVERIFY(bytes.contains('\xe9'));
        QTemporaryDir dir;
        const QString path = GuideStarFilePath(dir.path());
        WriteFile(path, bytes);

        SkyState sky;
        FixSky(sky, 90);
        const GuideStarRows result = ComputeGuideStarRows(sky, path);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(NamesOf(result.rows),
                 (QStringList{QStringLiteral("S\u00e9ginus"), QStringLiteral("Second")}));
    }

    void fileWithoutSuitableStarsGivesNoRows() {
        QTemporaryDir dir;
        const QString path = GuideStarFilePath(dir.path());
        WriteFile(path, JoinLines({QStringLiteral("heading"), StarAtDec("Low", '+', 5)}, "\r\n"));
        SkyState sky;
        FixSky(sky, 90);
        const GuideStarRows result = ComputeGuideStarRows(sky, path);
        QVERIFY(result.ok);
        QVERIFY(result.rows.isEmpty());
    }

    void unreadableFileIsReportedWithNameAndReason_data() {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QString::fromLatin1(GuideStarFileName) << "missing";
        QTest::newRow("directory") << QStringLiteral("folder") << "directory";
    }
    void unreadableFileIsReportedWithNameAndReason() {
        QFETCH(QString, relativePath);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QString path = QDir(dir.path()).filePath(relativePath);

        SkyState sky;
        FixSky(sky, 45);
        const GuideStarRows result = ComputeGuideStarRows(sky, path);
        QVERIFY(!result.ok);
        QVERIFY(result.rows.isEmpty());
        QVERIFY2(result.error.contains(QDir::toNativeSeparators(path)), qPrintable(result.error));
        QVERIFY2(result.error.contains(reason, Qt::CaseInsensitive), qPrintable(result.error));
    }
};

QTEST_MAIN(TestGuideStars)
#include "test_guidestars.moc"
