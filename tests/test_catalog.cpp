// The catalogue readers on lines written in code, and the reading rules under them.

#include "catalog/catalogreaders.h"
#include "catalog/readingrules.h"
#include "support/catalogfiles.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <functional>

namespace {

QString Write(const QTemporaryDir& dir, const QString& name, const QStringList& lines,
              const QString& ending = "\r\n") {
    WriteAll(dir.filePath(name), (lines.join(ending) + ending).toLatin1());
    return dir.filePath(name);
}

ObjectStore FullStore() {
    ObjectStore store;
    SizeStoreForLoading(store);
    return store;
}

QString ErrorOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const CatalogError& e) {
        return e.message();
    }
    return {};
}

// A record in one line: letter, type code, SAC type, designation, RA in hours, declination in
// degrees, magnitude, comment; "~" for a field never set.
QString Record(const CatalogObject& o) {
    const auto text = [](const auto& f) { return f.IsUnset() ? QString("~") : f.TrimmedText(); };
    const auto deg = [](double radians) { return QString::number(radians * 180 / M_PI, 'f', 4); };
    return QStringList{text(o.Catalog),        text(o.TypeCode), text(o.SacType),
                       text(o.Designation),    deg(o.RA),        deg(o.Dec),
                       QString::number(o.Mag), text(o.Comment)}
        .join('|');
}

using Reader = std::int16_t (*)(ObjectStore&, std::int16_t, const QString&);

} // namespace

class TestCatalog : public QObject {
    Q_OBJECT
private slots:
    void readingRules() {
        // clang-format off
        const std::pair<QString, double> numbers[] = {
            {"1 2", 12}, {"\t4\n2 ", 42}, {"8.4v", 8.4}, {"8.40042.7", 8.40042}, {"1,5", 1},
            {"", 0}, {"-", 0}, {".", 0}, {"- 0 5", -5}, {"+3", 3}, {".5", 0.5}, {"1E3", 1000},
            {"2D2", 200}, {"15E-1", 1.5}, {"7E+x", 7}, {"x12", 0}, {"25E-30", 2.5e-29},
            {"1E-400", 0}, {QString::fromLatin1("3\xb0"), 3}};
        const std::pair<const char*, int> wholes[] = {
            {"2.5", 2}, {"1.5", 2}, {"-0.5", 0}, {"-1.5", -2}, {"2.5001", 3}, {"  ", 0},
            {"32767.4", 32767}, {"-32768.5", -32768}};
        const std::pair<double, const char*> texts[] = {{224, " 224"}, {-0.0, " 0"}, {-5, "-5"}, {31.5, " 31.5"}};
        // clang-format on
        for (const auto& [text, value] : numbers)
            QVERIFY2(NumericValue(text) == value, qPrintable(text));
        QVERIFY(std::isinf(NumericValue(u"-1E400")) && NumericValue(u"-1E400") < 0);
        for (const auto& [text, value] : wholes)
            QVERIFY2(WholeNumber(QString::fromLatin1(text)) == value, text);
        for (const char* text : {"32768", "32767.5", "-32769", "9E9", "1E999"})
            QVERIFY2(ErrorOf([&] { WholeNumber(QString::fromLatin1(text)); }).contains("32767"),
                     text);
        for (const auto& [value, text] : texts)
            QCOMPARE(NumberText(value), QLatin1String(text));
    }

    // One file of all the lines, ended by CR, LF or CR LF in turn; a null text: skipped.
    void messierLines() {
        const QString n75(75, 'n'), latin1 = QString::fromUtf8("Nébuleuse °");
        // clang-format off
        const std::pair<QString, QString> rows[] = {
            {"Messier catalogue header", {}}, {"[x]" + MessierLine(" 32", "GX").mid(3), {}},
            {" " + MessierLine(" 33", "GX"), {}},
            {MessierLine(" 31", "GX", {{55, " 224"}, {70, "Andromeda"}}), "M|GX|~|M 31/NGC 224|12.5000|10.0000|5|Andromeda"},
            {MessierLine("  1", "BN", {{19, " 8.4v"}, {26, "05"}, {28, "34.5"}, {33, "-"}, {34, "00"}, {36, "30.0"}}), "M|BN|~|M 1|5.5750|-0.5000|8.4|Nebula"},
            // No letter behind the magnitude, and ten hours or more: the magnitude stands alone.
            {MessierLine(" 51", "GX", {{19, " 8.4   "}, {26, "13"}}), "M|GX|~|M 51|13.5000|10.0000|8.4|Galaxy"},
            {MessierLine(" 25", "OC", {{53, "IC"}, {55, "4725"}}), "M 25/IC 4725|Open Cluster"},
            {MessierLine(" 40", "*2", {{53, "IC"}}), "M 40/IC 0|2 Stars"},
            {MessierLine(" 40", "*2", {{53, "ic"}, {55, "  12"}}), "M 40/NGC 12|2 Stars"},
            {MessierLine(" 24", "MW", {{55, "   0"}}), "M 24|Milky Way Patch"},
            {MessierLine(" 13", "GC", {{55, "62 5"}}), "M 13/NGC 625|Globular Cluster"},
            {MessierLine(" 73", "XX"), "M 73|~"}, {MessierLine(" 57", "PN"), "M 57|Nebula"},
            {MessierLine(" 42", "BN", {{70, "   "}}), "M 42|"}, {MessierLine("  1", "BN", {{70, latin1}}), "M 1|Nébuleuse °"},
            {MessierLine("110", "GX", {{70, n75}}), "M 110|" + n75.left(70)}};
        // clang-format on
        QByteArray bytes;
        const char* endings[] = {"\r", "\n", "\r\n"};
        for (size_t i = 0; i < std::size(rows); ++i)
            bytes += rows[i].first.toLatin1() + (i + 1 < std::size(rows) ? endings[i % 3] : "");
        QTemporaryDir dir;
        WriteAll(dir.filePath("messier.txt"), bytes);
        ObjectStore store = FullStore();
        store.ObjectCount = 7; // readers add to what is there
        QCOMPARE(int(ReadMessierCatalog(store, 3, dir.filePath("messier.txt"))), 3 + 13);
        QVERIFY(store.ObjectCount == 20 && store.objects[2].Catalog.IsUnset() &&
                store.objects[16].Catalog.IsUnset());
        int slot = 3;
        for (const auto& [line, expected] : rows) {
            if (expected.isNull()) continue;
            QString fields = Record(store.objects[size_t(slot++)]);
            if (expected.count('|') == 1) // designation and comment only
                fields = fields.section('|', 3, 3) + '|' + fields.section('|', 7);
            QCOMPARE(fields, expected);
        }
    }

    void sacSplitsFlaggedAndOtherObjects() {
        QTemporaryDir dir;
        QStringList lines = {
            At({{2, "OBJECT"}, {42, "TYPE"}}),                           // header: skipped
            SacLine("NGC 7000", "   ", {{214, "North America Nebula"}}), // S, other run
            SacLine("NGC 253", "B H"),                                   // H wins over B
            SacLine("NGC 891", "BC "),                                   // C wins over B
            SacLine("NGC 40", " CH"),                                    // H wins over C
            SacLine("NGC 1", "H  "),                                     // H in the B column
            SacLine("NGC 2", "  h"),                                     // lower case: no flag
            QString(),                                                   // empty line: listed
            At({{2, "object"}, {42, "TYPE"}}),                           // not a header
            SacLine("IC 10", "   ", {{214, "  "}, {66, "-"}, {67, "00"}, {70, "30"}}),
            SacLine("NGC 3", "  H").left(150), // too short for flags
        };
        ObjectStore store = FullStore();
        QCOMPARE(int(ReadSacDatabase(store, 10, Write(dir, "Sac72.txt", lines))), 512);
        QVERIFY(store.ListedEnd == 18 && store.ObjectCount == 10);
        QString letters;
        for (int slot : {10, 11, 12, 13, 17, 18, 509, 510, 511})
            letters += Record(store.objects[slot]).left(1);
        QCOMPARE(letters, QStringLiteral("HCH~~~~SS"));
        QCOMPARE(store.objects[17].Designation.TrimmedText(), QStringLiteral("NGC 3"));
        QCOMPARE(store.objects[15].Designation.Text(), QString(20, ' ')); // the empty line
        QCOMPARE(Record(store.objects[510]),
                 QStringLiteral("S|~|GALXY|NGC 7000|1.5000|20.2500|11.2|North America Nebula"));
        // Blanks in columns 214-215: the type stands in; a line ending before: blank.
        QCOMPARE(Record(store.objects[511]),
                 QStringLiteral("S|~|GALXY|IC 10|1.5000|-0.5000|11.2|GALXY"));
        QCOMPARE(store.objects[10].Comment.Text(), QString(70, ' '));
        // The flagged run holds exactly 500.
        lines.clear();
        for (int i = 0; i < 500; ++i)
            lines << SacLine(QStringLiteral("NGC %1").arg(i), "B  ");
        lines << SacLine("NGC 9999", "   ");
        store = FullStore();
        QCOMPARE(int(ReadSacDatabase(store, 110, Write(dir, "Sac72.txt", lines))), 611);
        QVERIFY(store.ListedEnd == 610 &&
                store.objects[610].Designation.TrimmedText() == "NGC 9999");
        lines.insert(0, SacLine("NGC 8888", "  H")); // one more would overwrite the first other
        const QString message =
            ErrorOf([&] { ReadSacDatabase(store, 110, Write(dir, "Sac72.txt", lines)); });
        QVERIFY2(message.contains("Sac72.txt") && message.contains("line 501"),
                 qPrintable(message));
    }

    // The NGC file's lines end by CR LF, the IC file's by LF; both read alike.
    void revisedCatalogues() {
        // clang-format off
        const std::pair<QString, const char*> rows[] = {
            {RevisedLine(" 224", " 1", " 3.4"), "GX|~|NGC 224|0.6728|41.6858|3.4|Galaxy"},
            {"NGC  type     RA         Dec        mag", nullptr}, {"", nullptr},
            {RevisedLine(" 225", " 4", " 0.0"), nullptr}, {RevisedLine(" 226", " 4", "    "), nullptr}, {RevisedLine(" 227", " 4", "-1.0"), nullptr},
            {RevisedLine(" 228", " 7", "12.5"), "Dp|~|NGC 228|0.6728|41.6858|12.5|Duplicate"},
            {RevisedLine(" 229", " 8", "12.5"), "Dp|~|NGC 229|0.6728|41.6858|12.5|Duplicate"},
            {RevisedLine(" 230", " 0", "12.5"), "~|~|NGC 230|0.6728|41.6858|12.5|~"},
            {RevisedLine(" 231", "11", "12.5"), "~|~|NGC 231|0.6728|41.6858|12.5|~"},
            {RevisedLine("232A", " 9", "13.0", {{29, "-00"}, {33, "30"}, {36, "00.0"}}), "St|~|NGC 232|0.6728|-0.5000|13|Star(s)"},
            {RevisedLine(" 233", "10", "14.0", {{29, "-05"}, {33, "30"}, {36, "  "}}), "NF|~|NGC 233|0.6728|-5.5000|14|Not Found"},
            {RevisedLine(" 234", " 2", " 9.9"), "SN|~|NGC 234|0.6728|41.6858|9.9|Super Nova"}};
        // clang-format on
        QStringList lines;
        for (const auto& row : rows)
            lines << row.first;
        QTemporaryDir dir;
        ObjectStore ngc = FullStore(), ic = FullStore();
        QCOMPARE(int(ReadNgcCatalog(ngc, 40, Write(dir, "revngc.txt", lines))), 48);
        QCOMPARE(int(ReadIcCatalog(ic, 40, Write(dir, "revic.txt", lines, "\n"))), 48);
        QCOMPARE(int(ngc.ObjectCount), 8);
        int slot = 40;
        for (const auto& [line, expected] : rows) {
            if (!expected) continue;
            QCOMPARE(Record(ngc.objects[size_t(slot)]), "N|" + QString(expected));
            QCOMPARE(Record(ic.objects[size_t(slot++)]),
                     "I|" + QString(expected).replace("NGC ", "IC "));
        }
    }

    void failuresNameTheFileAndLine() {
        QTemporaryDir dir;
        ObjectStore store = FullStore();
        const QString tooLarge = Write(
            dir, "revngc.txt",
            {RevisedLine("   1", " 1", " 9.0"), RevisedLine("   2", " 1", " 9.0", {{29, "9E9"}})});
        const QString messages =
            ErrorOf([&] { ReadMessierCatalog(store, 0, dir.filePath("m.txt")); }) + '|' +
            ErrorOf([&] { ReadNgcCatalog(store, 0, tooLarge); });
        for (const char* part : {"m.txt\" is missing", "revngc.txt\", line 2", "9E9"})
            QVERIFY2(messages.contains(part), qPrintable(messages));
        // Two objects fit into slots 24999 and 25000; the third has nowhere to go.
        const Reader readers[] = {ReadMessierCatalog, ReadSacDatabase, ReadNgcCatalog};
        for (int r = 0; r < 3; ++r) {
            QStringList lines;
            for (int i = 1; i <= 3; ++i)
                lines << (r == 0   ? MessierLine(QString::number(i), "GX")
                          : r == 1 ? SacLine(QStringLiteral("NGC %1").arg(i), "   ")
                                   : RevisedLine(QString::number(i), " 1", "10.0"));
            ObjectStore full = FullStore();
            const QString path = Write(dir, "catalogue.txt", lines);
            const QString message =
                ErrorOf([&] { readers[r](full, r == 1 ? 24499 : 24999, path); });
            QVERIFY2(message.contains("catalogue.txt") && message.contains("line 3") &&
                         full.ObjectCount == 2 && full.objects.size() == 25001,
                     qPrintable(message));
        }
    }
};

QTEST_MAIN(TestCatalog)
#include "test_catalog.moc"
