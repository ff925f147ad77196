#include "catalog/fixedtext.h"
#include "catalog/readingrules.h"

#include <QtTest>
#include <cmath>

class TestCatalogRules : public QObject {
    Q_OBJECT
private slots:
    void numericValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "12" << 12.0;
        QTest::newRow("blank inside") << "1 2" << 12.0;
        QTest::newRow("tab and line feed inside") << "\t4\n2 " << 42.0;
        QTest::newRow("letter behind") << "8.4v" << 8.4;
        QTest::newRow("second point stops") << "8.40042.7" << 8.40042;
        QTest::newRow("comma stops") << "1,5" << 1.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blanks only") << "    " << 0.0;
        QTest::newRow("letters only") << "abc" << 0.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("point only") << "." << 0.0;
        QTest::newRow("sign apart from digits") << "- 0 5" << -5.0;
        QTest::newRow("plus sign") << "+3" << 3.0;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("trailing point") << "5." << 5.0;
        QTest::newRow("exponent E") << "1E3" << 1000.0;
        QTest::newRow("exponent D") << "2D2" << 200.0;
        QTest::newRow("negative exponent") << "15E-1" << 1.5;
        QTest::newRow("exponent without digits") << "7E" << 7.0;
        QTest::newRow("exponent sign without digits") << "7E+x" << 7.0;
        QTest::newRow("letter first") << "x12" << 0.0;
        QTest::newRow("negative fraction") << "-0.5" << -0.5;
        QTest::newRow("many digits") << "12345678901234567890" << 12345678901234567890.0;
        QTest::newRow("large exponent") << "1.5E30" << 1.5e30;
        QTest::newRow("small exponent") << "25E-30" << 2.5e-29;
        QTest::newRow("Latin-1 letter stops") << QString::fromLatin1("3\xb0") << 3.0;
    }
    void numericValue() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(NumericValue(text), value);
    }

    void hugeExponentsSaturate() {
        QVERIFY(std::isinf(NumericValue(u"1E400")));
        QVERIFY(NumericValue(u"-1E400") < 0 && std::isinf(NumericValue(u"-1E400")));
        QCOMPARE(NumericValue(u"1E-400"), 0.0);
    }

    void wholeNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("half to even down") << "2.5" << 2;
        QTest::newRow("half to even up") << "1.5" << 2;
        QTest::newRow("zero point five") << "0.5" << 0;
        QTest::newRow("negative half") << "-0.5" << 0;
        QTest::newRow("negative one and a half") << "-1.5" << -2;
        QTest::newRow("negative two and a half") << "-2.5" << -2;
        QTest::newRow("below half") << "2.4999" << 2;
        QTest::newRow("above half") << "2.5001" << 3;
        QTest::newRow("blank") << "  " << 0;
        QTest::newRow("largest") << "32767" << 32767;
        QTest::newRow("largest after rounding") << "32767.4" << 32767;
        QTest::newRow("smallest") << "-32768" << -32768;
        QTest::newRow("smallest after even rounding") << "-32768.5" << -32768;
    }
    void wholeNumber() {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(int(WholeNumber(text)), value);
    }

    void wholeNumberOutOfRange_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("one too large") << "32768";
        QTest::newRow("rounds past the top") << "32767.5";
        QTest::newRow("one too small") << "-32769";
        QTest::newRow("exponent") << "9E9";
        QTest::newRow("infinite") << "1E999";
    }
    void wholeNumberOutOfRange() {
        QFETCH(QString, text);
        try {
            WholeNumber(text);
            QFAIL("no error for a number outside the 16-bit range");
        } catch (const CatalogError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("32767")), qPrintable(e.message()));
        }
    }

    void numberText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("positive") << 224.0 << " 224";
        QTest::newRow("zero") << 0.0 << " 0";
        QTest::newRow("negative zero") << -0.0 << " 0";
        QTest::newRow("negative") << -5.0 << "-5";
        QTest::newRow("fraction") << 31.5 << " 31.5";
        QTest::newRow("four digits") << 7331.0 << " 7331";
    }
    void numberText() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(NumberText(value), text);
    }

    void fixedTextStartsAsNulsThenPadsAndCuts() {
        FixedText<5> field;
        QVERIFY(field.IsUnset());
        QCOMPARE(field.Text(), QString(5, QChar(u'\0')));
        QCOMPARE(field.DisplayText(), QStringLiteral("     "));
        QVERIFY(!field.Is(u""));
        QVERIFY(!field.Is(u" "));

        field = QStringLiteral("ab");
        QCOMPARE(field.Text(), QStringLiteral("ab   "));
        QVERIFY(field.Is(u"ab"));
        QVERIFY(field.Is(u"ab   "));
        QVERIFY(!field.Is(u"AB"));
        QCOMPARE(field.TrimmedText(), QStringLiteral("ab"));

        field = QStringLiteral("abcdefgh");
        QCOMPARE(field.Text(), QStringLiteral("abcde"));

        field = QString();
        QVERIFY(!field.IsUnset());
        QCOMPARE(field.Text(), QStringLiteral("     "));
    }
};

QTEST_MAIN(TestCatalogRules)
#include "test_catalog_rules.moc"
