#include "sky/civiltime.h"
#include "sky/coordinates.h"
#include "sky/textformats.h"

#include <QtTest>

namespace {

QString Angle(const char* whole, const char* minutes) {
    return QString::fromLatin1(whole) + QChar(0x00B0) + QLatin1Char(' ') +
           QString::fromLatin1(minutes) + QLatin1Char('\'');
}

const QLocale UnitedStates(QLocale::English, QLocale::UnitedStates);
const QLocale Germany(QLocale::German, QLocale::Germany);

} // namespace

class TestSkyTextFormats : public QObject {
    Q_OBJECT
private slots:
    void angleText_data() {
        QTest::addColumn<double>("degrees");
        QTest::addColumn<QString>("text");
        QTest::newRow("45.5") << 45.5 << Angle("  45", "30.0");
        QTest::newRow("0") << 0.0 << Angle("   0", "00.0");
        QTest::newRow("12.35") << 12.35 << Angle("  12", "21.0");
        QTest::newRow("359.99") << 359.99 << Angle(" 359", "59.4");
        QTest::newRow("-0.25") << -0.25 << Angle("  -1", "45.0");
        QTest::newRow("-33.5") << -33.5 << Angle(" -34", "30.0");
        QTest::newRow("5.0875, half a tenth rounds up") << 5 + 5.25 / 60 << Angle("   5", "05.3");
        QTest::newRow("359 59.94") << 359 + 59.94 / 60 << Angle(" 359", "59.9");
        QTest::newRow("5 59.95 is not carried") << 5 + 59.95 / 60 << Angle("   5", "60.0");
        QTest::newRow("-90") << -90.0 << Angle(" -90", "00.0");
        QTest::newRow("wider than four") << -1234.5 << Angle("-1235", "30.0");
    }
    void angleText() {
        QFETCH(double, degrees);
        QFETCH(QString, text);
        QCOMPARE(AngleText(DegToRad(degrees)), text);
    }

    void magnitudes_data() {
        QTest::addColumn<double>("mag");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("print");
        QTest::newRow("8.4") << 8.4 << " 8.4"
                             << "8.4";
        QTest::newRow("12") << 12.0 << "  12"
                            << "12.0";
        QTest::newRow("no magnitude") << 0.0 << "   0"
                                      << ".0";
        QTest::newRow("0.5") << 0.5 << " 0.5"
                             << ".5";
        QTest::newRow("two decimals widen the row") << 11.35 << "11.35"
                                                    << "11.4";
        QTest::newRow("12.25") << 12.25 << "12.25"
                               << "12.3";
        QTest::newRow("8.45 rounds away from zero") << 8.45 << "8.45"
                                                    << "8.5";
        QTest::newRow("negative") << -1.46 << "-1.46"
                                  << "-1.5";
        QTest::newRow("float noise is not shown") << 0.1 + 0.2 << " 0.3"
                                                  << ".3";
    }
    void magnitudes() {
        QFETCH(double, mag);
        QFETCH(QString, list);
        QFETCH(QString, print);
        QCOMPARE(MagnitudeListText(mag), list);
        QCOMPARE(OneDecimalText(mag), print);
    }

    void countsAndDates() {
        QCOMPARE(CountText(0), QStringLiteral("0"));
        QCOMPARE(CountText(13226), QStringLiteral("13226"));
        QCOMPARE(CountText(-7), QStringLiteral("-7"));
        QCOMPARE(ShortDateText(QDateTime(QDate(2024, 3, 4), QTime(21, 0), Qt::UTC)),
                 QStringLiteral("03/04/24"));
        QCOMPARE(ShortDateText(QDateTime(QDate(1999, 12, 31), QTime(), Qt::UTC)),
                 QStringLiteral("12/31/99"));
        QCOMPARE(ShortDateText(QDateTime(QDate(2005, 11, 9), QTime(), Qt::UTC)),
                 QStringLiteral("11/09/05"));
    }

    void longTime() {
        const QDateTime t(QDate(2024, 3, 4), QTime(14, 5, 0), Qt::UTC);
        QCOMPARE(LongTimeText(t, UnitedStates), QStringLiteral("2:05:00 PM"));
        QCOMPARE(LongTimeText(t, Germany), QStringLiteral("14:05:00"));
        // No zone text, whichever the locale puts it.
        for (const QLocale& l :
             {QLocale(QLocale::Spanish, QLocale::Spain), QLocale(QLocale::Chinese, QLocale::China),
              QLocale(QLocale::Persian, QLocale::Iran)}) {
            const QString text = LongTimeText(t, l);
            QVERIFY2(!text.contains(QLatin1String("UTC")) && !text.contains(QLatin1String("()")),
                     qPrintable(text));
        }
    }

    void civilTextRoundTripsInManyLocales() {
        const QDateTime samples[] = {
            QDateTime(QDate(2024, 3, 14), QTime(21, 5, 7), Qt::UTC),
            QDateTime(QDate(2024, 12, 1), QTime(0, 0, 1), Qt::UTC),
            QDateTime(QDate(2031, 1, 2), QTime(12, 59, 59), Qt::UTC),
            QDateTime(QDate(1987, 6, 30), QTime(0, 0), Qt::UTC),
        };
        const QLocale locales[] = {
            UnitedStates,
            Germany,
            QLocale(QLocale::English, QLocale::UnitedKingdom),
            QLocale(QLocale::Japanese, QLocale::Japan),
            QLocale(QLocale::Korean, QLocale::SouthKorea),
            QLocale(QLocale::Chinese, QLocale::China),
            QLocale(QLocale::Arabic, QLocale::Egypt),
            QLocale(QLocale::Persian, QLocale::Iran),
            QLocale(QLocale::Finnish, QLocale::Finland),
            QLocale(QLocale::Swedish, QLocale::Sweden),
            QLocale(QLocale::Thai, QLocale::Thailand),
            QLocale::c(),
        };
        for (const QLocale& l : locales) {
            for (const QDateTime& dt : samples) {
                const QString text = CivilDateTimeText(dt, l);
                const auto back = ParseCivilDateTime(text, l);
                QVERIFY2(back && *back == dt, qPrintable(l.name() + QLatin1String(": ") + text));
            }
        }
        // Midnight shows the date alone.
        QCOMPARE(CivilDateTimeText(samples[3], UnitedStates), QStringLiteral("6/30/1987"));
        QCOMPARE(CivilDateTimeText(samples[0], UnitedStates),
                 QStringLiteral("3/14/2024 9:05:07 PM"));
        QCOMPARE(CivilDateTimeText(samples[0], Germany), QStringLiteral("14.03.2024 21:05:07"));
    }

    void civilTextReading_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected"); // invalid: the text is refused
        const auto at = [](int y, int mo, int d, int h, int mi, int s) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
        };
        const QDateTime refused;
        QTest::newRow("written form")
            << UnitedStates << "3/14/2024 9:05:07 PM" << at(2024, 3, 14, 21, 5, 7);
        QTest::newRow("digits edited in place")
            << UnitedStates << "3/15/2024 11:35:07 PM" << at(2024, 3, 15, 23, 35, 7);
        QTest::newRow("single P") << UnitedStates << "3/14/2024 9:05:07 P"
                                  << at(2024, 3, 14, 21, 5, 7);
        QTest::newRow("single a, no blank")
            << UnitedStates << "3/14/2024 9:05:07a" << at(2024, 3, 14, 9, 5, 7);
        QTest::newRow("12 AM is midnight")
            << UnitedStates << "3/14/2024 12:00:30 AM" << at(2024, 3, 14, 0, 0, 30);
        QTest::newRow("12 PM is noon")
            << UnitedStates << "3/14/2024 12:00:30 pm" << at(2024, 3, 14, 12, 0, 30);
        QTest::newRow("24-hour text without marker")
            << UnitedStates << "3/14/2024 21:05:07" << at(2024, 3, 14, 21, 5, 7);
        QTest::newRow("date alone") << UnitedStates << "3/14/2024" << at(2024, 3, 14, 0, 0, 0);
        QTest::newRow("two-digit year")
            << UnitedStates << "3/14/24 9:05 PM" << at(2024, 3, 14, 21, 5, 0);
        QTest::newRow("two-digit year, last century")
            << UnitedStates << "3/14/75" << at(1975, 3, 14, 0, 0, 0);
        QTest::newRow("day first in Germany")
            << Germany << "03.04.2024 09:30:00" << at(2024, 4, 3, 9, 30, 0);
        QTest::newRow("afternoon letter in Germany")
            << Germany << "03.04.2024 09:30:00 P" << at(2024, 4, 3, 21, 30, 0);
        QTest::newRow("leap day") << UnitedStates << "2/29/2024" << at(2024, 2, 29, 0, 0, 0);

        QTest::newRow("lower-case now") << UnitedStates << "now" << refused;
        QTest::newRow("empty") << UnitedStates << "" << refused;
        QTest::newRow("month 13") << UnitedStates << "13/14/2024" << refused;
        QTest::newRow("no leap day") << UnitedStates << "2/29/2023" << refused;
        QTest::newRow("hour 25") << UnitedStates << "3/14/2024 25:00:00" << refused;
        QTest::newRow("minute 60") << UnitedStates << "3/14/2024 9:60:00 PM" << refused;
        QTest::newRow("13 with PM") << UnitedStates << "3/14/2024 13:05:07 PM" << refused;
        QTest::newRow("two markers") << UnitedStates << "3/14/2024 9:05:07 PM P" << refused;
        QTest::newRow("marker without time") << UnitedStates << "3/14/2024 P" << refused;
        QTest::newRow("unknown word") << UnitedStates << "3/14/2024 9:05:07 PX" << refused;
        QTest::newRow("too many numbers") << UnitedStates << "3/14/2024 9:05:07 1" << refused;
        QTest::newRow("date incomplete") << UnitedStates << "3/14" << refused;
    }
    void civilTextReading() {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        const auto got = ParseCivilDateTime(text, locale);
        if (!expected.isValid()) {
            QVERIFY2(!got, qPrintable(got ? got->toString(Qt::ISODate) : QString()));
        } else {
            QVERIFY(got);
            QCOMPARE(*got, expected);
            QCOMPARE(got->timeSpec(), Qt::UTC);
        }
    }
};

QTEST_MAIN(TestSkyTextFormats)
#include "test_sky_textformats.moc"
