#include "sky/civiltime.h"
#include "sky/coordinates.h"
#include "sky/textformats.h"

#include <QtTest>

namespace {

QString Angle(const char* whole, const char* minutes) {
    return QLatin1String(whole) + QChar(0x00B0) + QLatin1Char(' ') + QLatin1String(minutes) +
           QLatin1Char('\'');
}

QDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

const QLocale Us(QLocale::English, QLocale::UnitedStates);
const QLocale De(QLocale::German, QLocale::Germany);

} // namespace

class TestSkyTextFormats : public QObject {
    Q_OBJECT
private slots:
    void angleText() {
        const struct {
            double deg;
            QString text;
        } cases[] = {
            {45.5, Angle("  45", "30.0")},           {0, Angle("   0", "00.0")},
            {12.35, Angle("  12", "21.0")},          {359.99, Angle(" 359", "59.4")},
            {-0.25, Angle("  -1", "45.0")},          {-33.5, Angle(" -34", "30.0")},
            {5 + 5.25 / 60, Angle("   5", "05.3")},  {359 + 59.94 / 60, Angle(" 359", "59.9")},
            {5 + 59.95 / 60, Angle("   5", "60.0")}, {-1234.5, Angle("-1235", "30.0")},
        };
        for (const auto& c : cases)
            QCOMPARE(AngleText(DegToRad(c.deg)), c.text);
    }

    void numbersAndDates() {
        const struct {
            double mag;
            const char* list;  // "@@@@"
            const char* print; // "##.0"
        } mags[] = {{8.4, " 8.4", "8.4"},     {12, "  12", "12.0"},     {0, "   0", ".0"},
                    {0.5, " 0.5", ".5"},      {11.35, "11.35", "11.4"}, {8.45, "8.45", "8.5"},
                    {-1.46, "-1.46", "-1.5"}, {0.1 + 0.2, " 0.3", ".3"}};
        for (const auto& m : mags) {
            QCOMPARE(MagnitudeListText(m.mag), QLatin1String(m.list));
            QCOMPARE(OneDecimalText(m.mag), QLatin1String(m.print));
        }
        QCOMPARE(CountText(13226), QStringLiteral("13226"));
        QCOMPARE(ShortDateText(At(2024, 3, 4, 21)), QStringLiteral("03/04/24"));
        QCOMPARE(ShortDateText(At(1999, 12, 31)), QStringLiteral("12/31/99"));
        QCOMPARE(LongTimeText(At(2024, 3, 4, 14, 5), Us), QStringLiteral("2:05:00 PM"));
        QCOMPARE(LongTimeText(At(2024, 3, 4, 14, 5), De), QStringLiteral("14:05:00"));
        // The locale's zone field is left out, brackets and all.
        QCOMPARE(LongTimeText(At(2024, 3, 4, 14, 5), QLocale(QLocale::Spanish, QLocale::Spain)),
                 QStringLiteral("14:05:00"));
    }

    void civilTextRoundTripsInManyLocales() {
        const QDateTime samples[] = {At(2024, 3, 14, 21, 5, 7), At(2024, 12, 1, 0, 0, 1),
                                     At(2031, 1, 2, 12, 59, 59), At(1987, 6, 30)};
        const QLocale locales[] = {Us,
                                   De,
                                   QLocale(QLocale::English, QLocale::UnitedKingdom),
                                   QLocale(QLocale::Japanese, QLocale::Japan),
                                   QLocale(QLocale::Korean, QLocale::SouthKorea),
                                   QLocale(QLocale::Chinese, QLocale::China),
                                   QLocale(QLocale::Arabic, QLocale::Egypt),
                                   QLocale(QLocale::Persian, QLocale::Iran),
                                   QLocale(QLocale::Finnish, QLocale::Finland),
                                   QLocale(QLocale::Thai, QLocale::Thailand),
                                   QLocale::c()};
        for (const QLocale& l : locales) {
            for (const QDateTime& dt : samples) {
                const QString text = CivilDateTimeText(dt, l);
                const auto back = ParseCivilDateTime(text, l);
                QVERIFY2(back && *back == dt, qPrintable(l.name() + QLatin1String(": ") + text));
            }
        }
        QCOMPARE(CivilDateTimeText(samples[0], Us), QStringLiteral("3/14/2024 9:05:07 PM"));
        QCOMPARE(CivilDateTimeText(samples[3], Us), QStringLiteral("6/30/1987")); // midnight
    }

    void civilTextReading() {
        const QDateTime refused;
        const struct {
            const QLocale& locale;
            const char* text;
            QDateTime expected;
        } cases[] = {
            // clang-format off
            {Us, "3/15/2024 11:35:07 PM", At(2024, 3, 15, 23, 35, 7)}, // digits edited in place
            {Us, "3/14/2024 9:05:07 P", At(2024, 3, 14, 21, 5, 7)}, {Us, "3/14/2024 9:05:07a", At(2024, 3, 14, 9, 5, 7)},
            {Us, "3/14/2024 12:00:30 AM", At(2024, 3, 14, 0, 0, 30)}, {Us, "3/14/2024 12:00:30 pm", At(2024, 3, 14, 12, 0, 30)},
            {Us, "3/14/2024 21:05:07", At(2024, 3, 14, 21, 5, 7)}, {Us, "3/14/24 9:05 PM", At(2024, 3, 14, 21, 5)},
            {Us, "3/14/75", At(1975, 3, 14)}, {Us, "2/29/2024", At(2024, 2, 29)},
            {De, "03.04.2024 09:30:00", At(2024, 4, 3, 9, 30)}, {De, "03.04.2024 09:30:00 P", At(2024, 4, 3, 21, 30)},
            {Us, "now", refused}, {Us, "", refused}, {Us, "13/14/2024", refused}, {Us, "2/29/2023", refused},
            {Us, "3/14/2024 25:00:00", refused}, {Us, "3/14/2024 9:60:00 PM", refused},
            {Us, "3/14/2024 13:05:07 PM", refused}, {Us, "3/14/2024 9:05:07 PM P", refused},
            {Us, "3/14/2024 P", refused}, {Us, "3/14/2024 9:05:07 PX", refused},
            {Us, "3/14/2024 9:05:07 1", refused}, {Us, "3/14", refused},
            // clang-format on
        };
        for (const auto& c : cases) {
            const auto got = ParseCivilDateTime(QLatin1String(c.text), c.locale);
            QVERIFY2(got ? *got == c.expected : !c.expected.isValid(), c.text);
        }
    }
};

QTEST_MAIN(TestSkyTextFormats)
#include "test_sky_textformats.moc"
