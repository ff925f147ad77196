// Time, coordinates, the horizon profile and the texts of angles, numbers and dates.

#include "sky/civiltime.h"
#include "sky/coordinates.h"
#include "sky/daylightcheck.h"
#include "sky/horizon.h"
#include "sky/skytime.h"
#include "sky/textformats.h"

#include <QtTest>
#include <cmath>
#include <ctime>

namespace {

CivilTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return CivilTime(QDate(y, mo, d), QTime(h, mi, s));
}

// Days from 2000-01-01 12:00 UT to a UT instant, by plain day arithmetic.
double DaysAt(const QDate& utDate, double utHours) {
    return double(QDate(2000, 1, 1).daysTo(utDate)) - 0.5 + utHours / 24;
}

// The azimuth with the altitude and hour angle stored as TargetAltitude leaves them.
double AzimuthAt(double latDeg, double decDeg, double hourDeg) {
    SkyState sky;
    const double phi = DegToRad(latDeg), delta = DegToRad(decDeg), h = DegToRad(hourDeg);
    sky.ObserverLatitude = phi, sky.TargetDeclination = delta, sky.TargetHourAngle = h;
    sky.TargetAltitudeValue =
        ArcSine(std::sin(delta) * std::sin(phi) + std::cos(phi) * std::cos(delta) * std::cos(h));
    return TargetAzimuth(sky);
}

const QLocale Us(QLocale::English, QLocale::UnitedStates);
const QLocale De(QLocale::German, QLocale::Germany);

} // namespace

class TestSky : public QObject {
    Q_OBJECT
private slots:
    void timeValuesAndClocks() {
        // clang-format off
        const struct { const char* name; CivilTime local; int zone; bool daylight; double lonDeg, days, ut, siderealDeg; } cases[] = {
            {"epoch as 08:00 DST at -5", At(2000, 1, 1, 8), -5, true, 0, 0, 12, 280.46},
            {"epoch at 75 W", At(2000, 1, 1, 7), -5, false, -75, 0, 12, 205.46},
            {"23:30 at -5", At(2024, 3, 14, 23, 30), -5, false, 0, DaysAt({2024, 3, 15}, 4.5), 4.5, qQNaN()},
            {"01:00 at +3", At(2024, 3, 14, 1), 3, false, 0, DaysAt({2024, 3, 13}, 22), 22, qQNaN()},
            {"19:00 at -5 stays 24", At(2024, 3, 14, 19), -5, false, 0, DaysAt({2024, 3, 15}, 0), 24, qQNaN()},
            {"one second", At(2000, 1, 1, 12, 0, 1), 0, false, 0, 1.0 / 86400, 12 + 1.0 / 3600, qQNaN()},
        };
        // clang-format on
        for (const auto& c : cases) {
            SkyState sky;
            QVERIFY(SetObservingTime(sky, c.local));
            SetSiteClock(sky, std::int16_t(c.zone), c.daylight);
            SetObserverPosition(sky, 0, DegToRad(c.lonDeg)), SetTarget(sky, 0, 0);
            TargetAltitude(sky);
            // clang-format off
            QVERIFY2(qAbs(sky.DaysFromJ2000 - c.days) < 1e-9 && qAbs(sky.UniversalHours - c.ut) < 1e-12 &&
                     (qIsNaN(c.siderealDeg) || qAbs(RadToDeg(sky.SiderealAngle) - c.siderealDeg) < 1e-9) &&
                     ComputeDaysFromJ2000(sky) == sky.DaysFromJ2000 && ComputeSiderealAngle(sky) == sky.SiderealAngle, c.name);
            // clang-format on
        }

        const QByteArray oldTz = qgetenv("TZ");
        const auto setZone = [](const QByteArray& zone) {
            zone.isEmpty() ? qunsetenv("TZ") : qputenv("TZ", zone);
            tzset();
        };
        // 02:30 on the day New York springs forward does not exist there; as the site's civil
        // time it is still 02:30, 07:30 UT at zone -5, also on a computer in New York.
        setZone("America/New_York");
        SkyState sky;
        SetObservingTime(sky, QStringLiteral("3/10/2024 2:30:00 AM"), Us);
        SetSiteClock(sky, -5, false);
        const double ut = ComputeUniversalHours(sky);
        setZone(oldTz);
        QVERIFY(sky.ObservingTime == At(2024, 3, 10, 2, 30) && ut == 7.5);

        // Mean sidereal time at Greenwich published for 1987 April 10 at 0h and 19h21m UT (Meeus,
        // Astronomical Algorithms, examples 12.a and 12.b): 13h10m46.3668s and 8h34m57.0896s. The
        // day count is negative; at 170 W the sum stays below -360, as 360 is added once only.
        for (const auto& [local, publishedHours] :
             {std::pair{At(1987, 4, 10), 13 + 10 / 60.0 + 46.3668 / 3600},
              {At(1987, 4, 10, 19, 21), 8 + 34 / 60.0 + 57.0896 / 3600}}) {
            sky = SkyState{};
            SetObservingTime(sky, local), SetSiteClock(sky, 0, false);
            SetObserverPosition(sky, 0, DegToRad(-170)), SetTarget(sky, 0, 0);
            TargetAltitude(sky);
            const double degrees = RadToDeg(sky.SiderealAngle);
            const double off = std::remainder(degrees + 170 - publishedHours * 15, 360.0);
            QVERIFY2(qAbs(off) < 0.005 && degrees < -360, qPrintable(QString::number(degrees)));
        }
        sky = SkyState{};
        QVERIFY(SetObservingTime(sky, QStringLiteral("3/14/2024 9:05:07 PM"), Us));
        // "Now" keeps the typed instant; "now" is neither keyword nor date.
        QVERIFY(SetObservingTime(sky, QStringLiteral("Now")) && sky.UseNow);
        sky.UseNow = false;
        QVERIFY(!SetObservingTime(sky, QStringLiteral("now"), Us) && !sky.UseNow);
        QCOMPARE(sky.ObservingTime, At(2024, 3, 14, 21, 5, 7));
        // Now is the clock's instant as the site's civil time: 23:00 UT is 00:00 the next day at
        // zone +1, and the time values come back to 23:00 UT.
        sky.clock = std::make_shared<FixedClock>(QDateTime({2024, 3, 14}, {23, 0}, Qt::UTC));
        SetObservingTime(sky, QStringLiteral("Now")), SetSiteClock(sky, 1, false);
        QCOMPARE(CivilInstant(sky), At(2024, 3, 15, 0, 0));
        QCOMPARE(ComputeUniversalHours(sky), 23.0); // the object list's tests advance the clock
    }

    // A named zone's rules for the date: half and three-quarter hours, +13 and +14, daylight time
    // on either hemisphere, the hour a spring change skips and the one an autumn change repeats,
    // a date before 1970, a day Samoa skipped whole.
    void namedZoneClocks() {
        using R = CivilReading;
        const auto utc = [](int y, int mo, int d, int h, int mi) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC);
        };
        // clang-format off
        const struct { const char* zone; CivilTime civil; QDateTime utc; R reading; const char* change; } cases[] = {
            {"Asia/Kolkata", At(2026, 12, 7, 21), utc(2026, 12, 7, 15, 30), R::Unique, ""},
            {"Asia/Kathmandu", At(2026, 6, 1, 21), utc(2026, 6, 1, 15, 15), R::Unique, ""},
            {"Australia/Adelaide", At(2026, 1, 15, 21), utc(2026, 1, 15, 10, 30), R::Unique, ""},
            {"Australia/Adelaide", At(2026, 7, 15, 21), utc(2026, 7, 15, 11, 30), R::Unique, ""},
            {"America/St_Johns", At(2026, 1, 15, 21), utc(2026, 1, 16, 0, 30), R::Unique, ""},
            {"Pacific/Apia", At(2026, 7, 15, 21), utc(2026, 7, 15, 8, 0), R::Unique, ""},
            {"Pacific/Kiritimati", At(2026, 7, 15, 1), utc(2026, 7, 14, 11, 0), R::Unique, ""},
            {"America/Phoenix", At(2026, 7, 15, 22), utc(2026, 7, 16, 5, 0), R::Unique, ""},
            {"America/Denver", At(2026, 7, 15, 22), utc(2026, 7, 16, 4, 0), R::Unique, ""},
            {"Europe/Berlin", At(2026, 7, 15, 22), utc(2026, 7, 15, 20, 0), R::Unique, ""},
            {"Europe/Berlin", At(2026, 1, 15, 22), utc(2026, 1, 15, 21, 0), R::Unique, ""},
            {"Europe/Dublin", At(2026, 7, 15, 22), utc(2026, 7, 15, 21, 0), R::Unique, ""},
            {"Europe/Dublin", At(2026, 1, 15, 22), utc(2026, 1, 15, 22, 0), R::Unique, ""},
            {"America/New_York", At(1960, 7, 1, 12), utc(1960, 7, 1, 16, 0), R::Unique, ""},
            {"Europe/Berlin", At(2027, 3, 28, 2, 30), utc(2027, 3, 28, 1, 30), R::Skipped, "02:00 03:00"},
            {"Europe/Berlin", At(2027, 10, 31, 2, 30), utc(2027, 10, 31, 0, 30), R::Repeated, "03:00 02:00"},
            {"Europe/Berlin", CivilTime({2027, 10, 31}, {2, 30}, true), utc(2027, 10, 31, 1, 30), R::Repeated, "03:00 02:00"},
            {"Pacific/Apia", At(2011, 12, 30, 12), utc(2011, 12, 30, 22, 0), R::Skipped, "00:00 00:00"},
        };
        // clang-format on
        for (const auto& c : cases) {
            const SiteClock clock = SiteClock::Named(QTimeZone(c.zone));
            const CivilToUtc got = clock.toUtc(c.civil);
            const QString change = got.reading == R::Unique
                                       ? QString()
                                       : got.changeFrom.time().toString("HH:mm") + ' ' +
                                             got.changeTo.time().toString("HH:mm");
            const QString name = QString(c.zone) + ' ' + CivilDateTimeText(c.civil, De);
            QVERIFY2(clock.isNamed() && got.utc == c.utc && got.reading == c.reading &&
                         change == QLatin1String(c.change),
                     qPrintable(name + " -> " + got.utc.toString(Qt::ISODate) + ' ' + change));
            // Every real instant reads back as the reading that names it.
            if (c.reading != R::Skipped)
                QVERIFY2(clock.toCivil(got.utc) == c.civil, qPrintable(name));
        }
        // Without a name: the whole-hour zone and the tick, whatever the date.
        const SiteClock fixed = SiteClock::FixedOffset(-5, true);
        QVERIFY(fixed.toUtc(At(2027, 3, 28, 2, 30)).utc == utc(2027, 3, 28, 6, 30) &&
                fixed.toCivil(utc(2027, 1, 1, 6, 30)) == At(2027, 1, 1, 2, 30) &&
                fixed.offsetText(utc(2027, 1, 1, 0, 0)) == "UTC-04:00");
        const SiteClock kolkata = SiteClock::Named(QTimeZone("Asia/Kolkata"));
        QVERIFY(kolkata.offsetText(utc(2027, 1, 1, 0, 0)) == "UTC+05:30" &&
                kolkata.standardHoursAt(utc(2027, 1, 1, 0, 0)) == 6 &&
                !kolkata.daylightAt(utc(2027, 1, 1, 0, 0)));
        // Ireland calls its winter time the daylight one; the file's tick means the summer hour.
        const SiteClock dublin = SiteClock::Named(QTimeZone("Europe/Dublin"));
        QVERIFY(dublin.standardHoursAt(utc(2027, 7, 1, 0, 0)) == 0 &&
                dublin.daylightAt(utc(2027, 7, 1, 0, 0)) &&
                !dublin.daylightAt(utc(2027, 1, 1, 0, 0)));
        QVERIFY(!SiteClock::Named(QTimeZone("No/Such_Zone")).isNamed());
    }

    // The stale-tick check for a site without a name: only where the computer's zone keeps
    // exactly the site's offset and one hour more in that year.
    void daylightWarningRule() {
        using T = DaylightTick;
        const QDateTime july({2026, 7, 15}, {4, 0}, Qt::UTC),
            january({2026, 1, 15}, {4, 0}, Qt::UTC);
        // clang-format off
        const struct { const char* computer; int zone; bool dst; QDateTime at; T tick; } cases[] = {
            {"UTC", 0, true, july, T::NotChecked},                   // a UK site, computer on UTC
            {"America/Denver", -7, false, january, T::Agrees},
            {"America/Denver", -7, false, july, T::UntickedInDaylightTime},
            {"America/Denver", -5, false, july, T::NotChecked},
            {"America/Phoenix", -7, true, july, T::NotChecked},      // no daylight time there
            {"Europe/Dublin", 0, true, july, T::Agrees},             // its rules call winter daylight
            {"Europe/Dublin", 0, false, january, T::Agrees},
            {"Europe/Dublin", 0, true, january, T::TickedInStandardTime},
            {"Europe/Dublin", 1, false, january, T::NotChecked},
            {"America/New_York", -5, true, QDateTime({2026, 12, 15}, {2, 30}, Qt::UTC), T::TickedInStandardTime},
            {"America/New_York", -5, false, july, T::UntickedInDaylightTime},
            {"America/New_York", 1, false, july, T::NotChecked},
        };
        // clang-format on
        for (const auto& c : cases)
            QVERIFY2(CheckDaylightTick(QTimeZone(c.computer), std::int16_t(c.zone), c.dst, c.at) ==
                         c.tick,
                     qPrintable(QString("%1 %2 %3 ").arg(c.computer).arg(c.zone).arg(c.dst) +
                                c.at.toString(Qt::ISODate)));
    }

    void azimuthAndHorizon() {
        // clang-format off
        const struct { double lat, dec, hour; } cases[] = {{40, 60, -60}, {40, -10, -30}, {40, -10, 30},
            {40, 60, 60}, {40, 60, 60 + 360 * 7}, {-33, -70, 40}, {-33, 20, -50}, {40, -70, 150}};
        for (const auto& c : cases) { // against atan2 measured from south
            const double h = DegToRad(c.hour), phi = DegToRad(c.lat), delta = DegToRad(c.dec);
            const double ref = std::atan2(std::sin(h), std::cos(h) * std::sin(phi) - std::tan(delta) * std::cos(phi)) + M_PI;
            QVERIFY(qAbs(AzimuthAt(c.lat, c.dec, c.hour) - std::fmod(ref, 2 * M_PI)) < 1e-9);
        }
        // clang-format on
        QCOMPARE(AzimuthAt(40, 10, 0), PiValue); // on the meridian south of the zenith
        const double north = AzimuthAt(40, 70, 0);
        QVERIFY(north == 0 && !std::signbit(north));
        // On the prime vertical seen from the equator the divisor is exactly 0.
        QCOMPARE(AzimuthAt(0, 0, RadToDeg(1.0)), 3 * PiValue / 2);
        QVERIFY(qAbs(AzimuthAt(0, 1e-7, RadToDeg(1.0)) - 3 * PiValue / 2) < 1e-6);
        QVERIFY(std::isfinite(AzimuthAt(0, 0, 0)) && std::isfinite(AzimuthAt(0, 0, 180)));
        QVERIFY(ArcSine(1.0 + 4e-16) == PiValue / 2 && ArcSine(-1.0) == -PiValue / 2);
        QVERIFY(qAbs(ArcSine(0.5) - std::asin(0.5)) < 1e-12);
        HorizonProfile p;
        p.fill(-99), BuildHorizonProfile(p, {10, 20, 0, 0, 0, 0, 0, 0});
        // clang-format off
        const std::pair<int, int> values[] = {{0, 10},  {3, 11},   {22, 15},  {45, 20}, {47, 19},
                                              {66, 11}, {67, 10},  {88, 1},   {89, 0},  {200, 0},
                                              {315, 0}, {337, 5},  {359, 10}, {360, 10}};
        // clang-format on
        for (const auto& [degree, value] : values)
            QVERIFY2(p[degree] == value, qPrintable(QString::number(degree)));
        // A distinct value at every degree tells which entry was read; the nearest degree counts.
        for (int i = 0; i <= 360; ++i)
            p[i] = std::int16_t(i % 90);
        p[360] = 89;
        // clang-format off
        const std::pair<double, int> reads[] = {{0.5, 0},     {1.5, 2},     {2.5, 2},  {180.6, 181},
                                                {359.5, 360}, {359.6, 360}, {-3.0, 0}, {725.0, 360}};
        // clang-format on
        for (const auto& [az, index] : reads) {
            const double h = DegToRad(p[index]);
            QVERIFY2(!IsInView(p, h, DegToRad(az)), qPrintable(QString::number(az)));
            QVERIFY2(IsInView(p, std::nextafter(h, 10.0), DegToRad(az)),
                     qPrintable(QString::number(az)));
        }
        QVERIFY(!IsInView(p, std::nan(""), std::nan("")));
    }

    void texts() {
        const CivilTime t = At(2024, 3, 4, 14, 5);
        // clang-format off
        const std::pair<QString, QString> texts[] = { // angles and list magnitudes: more in the object list's rows
            {AngleText(DegToRad(5 + 5.25 / 60)), "   5° 05.3'"}, {AngleText(DegToRad(5 + 59.95 / 60)), "   5° 60.0'"},
            {AngleText(DegToRad(-1234.5)), "-1235° 30.0'"}, {MagnitudeListText(-1.46), "-1.46"}, {MagnitudeListText(0.1 + 0.2), " 0.3"},
            {OneDecimalText(12), "12.0"}, {OneDecimalText(0), ".0"}, {OneDecimalText(11.35), "11.4"},
            {OneDecimalText(8.45), "8.5"}, {OneDecimalText(-1.46), "-1.5"}, {OneDecimalText(0.1 + 0.2), ".3"},
            {LongTimeText(t, Us), "2:05:00 PM"}, {LongTimeText(t, De), "14:05:00"},
            {LongTimeText(t, QLocale(QLocale::Spanish, QLocale::Spain)), "14:05:00"}, // no zone field
            {ShortDateText(At(2024, 3, 4, 21)), "03/04/24"}, {CivilDateTimeText(At(2024, 3, 14, 21, 5, 7), Us), "3/14/2024 9:05:07 PM"},
            {CivilDateTimeText(At(1987, 6, 30), Us), "6/30/1987"}}; // midnight
        // clang-format on
        for (const auto& [text, expected] : texts)
            QCOMPARE(text, expected);
        // Two-digit years read back as written, on both sides of each century switch.
        for (int year : {1950, 1999, 2000, 2049})
            QCOMPARE(ParseCivilDateTime(ShortDateText(At(year, 12, 31)), Us),
                     std::optional(At(year, 12, 31)));
        // Every locale reads back what it writes, also where digits take two 16-bit units each
        // (Chakma, Adlam).
        QStringList failed;
        const QList<QLocale> all = QLocale::matchingLocales(
            QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        for (const QLocale& l : all)
            for (const CivilTime& d : {At(2024, 3, 14, 21, 5, 7), At(1987, 6, 30)})
                if (ParseCivilDateTime(CivilDateTimeText(d, l), l) != d)
                    failed << l.name() + ": " + CivilDateTimeText(d, l);
        QVERIFY2(all.size() > 500 && failed.isEmpty(), qPrintable(failed.mid(0, 5).join(" | ")));
        // clang-format off
        const CivilTime no;
        const struct { const QLocale& locale; const char* text; CivilTime expected; } cases[] = {
            {Us, "3/14/2024 9:05:07 P", At(2024, 3, 14, 21, 5, 7)}, {Us, "3/14/2024 9:05:07a", At(2024, 3, 14, 9, 5, 7)},
            {Us, "3/14/2024 12:00:30 AM", At(2024, 3, 14, 0, 0, 30)}, {Us, "3/14/2024 12:00:30 pm", At(2024, 3, 14, 12, 0, 30)},
            {Us, "3/14/2024 21:05:07", At(2024, 3, 14, 21, 5, 7)}, {Us, "3/14/24 9:05 PM", At(2024, 3, 14, 21, 5)},
            {Us, "3/14/75", At(1975, 3, 14)}, {De, "03.04.2024 09:30:00 P", At(2024, 4, 3, 21, 30)},
            {Us, "now", no}, {Us, "", no}, {Us, "13/14/2024", no}, {Us, "2/29/2023", no},
            {Us, "3/14/2024 25:00:00", no}, {Us, "3/14/2024 13:05:07 PM", no}, {Us, "3/14/2024 9:05:07 PM P", no},
            {Us, "3/14/2024 P", no}, {Us, "3/14/2024 9:05:07 1", no}, {Us, "3/14", no},
        };
        // clang-format on
        for (const auto& c : cases) {
            const auto got = ParseCivilDateTime(QLatin1String(c.text), c.locale);
            QVERIFY2(got ? *got == c.expected : !c.expected.isValid(), c.text);
        }
    }
};

QTEST_MAIN(TestSky)
#include "test_sky.moc"
