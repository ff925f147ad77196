// The catalogue readers on lines written in code, and the reading rules under them.

#include "catalog/catalogreaders.h"
#include "catalog/fixedtext.h"
#include "catalog/readingrules.h"
#include "startup/angles.h"
#include "support/catalogfiles.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <functional>

namespace {

double Deg(double deg, double min) {
    return DegMinToRadians(std::int16_t(deg), min);
}

QString Write(const QTemporaryDir& dir, const QString& name, const QStringList& lines,
              const QString& ending = "\r\n", bool finalEnding = true) {
    const QString path = dir.filePath(name);
    WriteAll(path, (lines.join(ending) + (finalEnding ? ending : QString())).toLatin1());
    return path;
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
        const std::pair<double, const char*> texts[] = {
            {224, " 224"}, {-0.0, " 0"}, {-5, "-5"}, {31.5, " 31.5"}};
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

        FixedText<5> field; // unset: NULs, shown as blanks, equal to nothing
        QVERIFY(field.IsUnset() && !field.Is(u"") && !field.Is(u" "));
        QCOMPARE(field.DisplayText(), QStringLiteral("     "));
        field = QStringLiteral("ab");
        QVERIFY(field.Is(u"ab") && field.Is(u"ab   ") && !field.Is(u"AB"));
        field = QStringLiteral("abcdefgh");
        QCOMPARE(field.Text(), QStringLiteral("abcde"));
        field = QString();
        QVERIFY(!field.IsUnset() && field.Text() == QStringLiteral("     "));
    }

    void messierColumns() {
        QTemporaryDir dir;
        const QString path = Write(
            dir, "messier.txt",
            {"Messier catalogue header",
             MessierLine(" 31", "GX", {{55, " 224"}, {70, "Andromeda"}}),
             "[x]" + MessierLine(" 32", "GX").mid(3), " " + MessierLine(" 33", "GX"),
             MessierLine(
                 "  1", "BN",
                 {{19, " 8.4v"}, {26, "05"}, {28, "34.5"}, {33, "-"}, {34, "00"}, {36, "30.0"}}),
             // No letter behind the magnitude, and ten hours or more: the magnitude stands alone.
             MessierLine(" 51", "GX", {{19, " 8.4   "}, {26, "13"}})});
        ObjectStore store = FullStore();
        store.ObjectCount = 7; // readers add to what is there
        QCOMPARE(int(ReadMessierCatalog(store, 3, path)), 6);
        QCOMPARE(int(store.ObjectCount), 10);
        QVERIFY(store.objects[2].Catalog.IsUnset() && store.objects[6].Catalog.IsUnset());
        const CatalogObject& m31 = store.objects[3];
        QVERIFY(m31.Catalog.Is(u"M") && m31.TypeCode.Is(u"GX") && m31.SacType.IsUnset());
        QCOMPARE(m31.Designation.Text(), QStringLiteral("M 31/NGC 224        "));
        QCOMPARE(m31.RA, Deg(12, 30.0));
        QCOMPARE(m31.Dec, Deg(10, 0.0));
        QCOMPARE(m31.Mag, 5.0);
        QCOMPARE(m31.Comment.TrimmedText(), QStringLiteral("Andromeda"));
        const CatalogObject& m1 = store.objects[4];
        QCOMPARE(m1.Mag, 8.4);
        QCOMPARE(m1.RA, Deg(5, 34.5));
        QCOMPARE(m1.Dec, -Deg(0, 30.0));
        QCOMPARE(m1.Comment.TrimmedText(), QStringLiteral("Nebula"));
        QCOMPARE(store.objects[5].Mag, 8.4);
        QCOMPARE(store.objects[5].RA, Deg(13, 30.0));
    }

    // One file of all the rows, its lines ended by CR, LF or CR LF in turn, the last one by none.
    void messierDesignationAndComment() {
        const QString unset = "<unset>", n75(75, 'n'),
                      latin1 = QString::fromLatin1("N\xe9"
                                                   "buleuse \xb0");
        // clang-format off
        const struct { QString line; const char *designation; QString comment; } rows[] = {
            {MessierLine(" 25", "OC", {{53, "IC"}, {55, "4725"}}), "M 25/IC 4725", "Open Cluster"},
            {MessierLine(" 40", "*2", {{53, "IC"}}), "M 40/IC 0", "2 Stars"},
            {MessierLine(" 40", "*2", {{53, "ic"}, {55, "  12"}}), "M 40/NGC 12", "2 Stars"},
            {MessierLine(" 24", "MW", {{55, "   0"}}), "M 24", "Milky Way Patch"},
            {MessierLine(" 13", "GC", {{55, "62 5"}}), "M 13/NGC 625", "Globular Cluster"},
            {MessierLine(" 73", "XX"), "M 73", unset}, {MessierLine(" 57", "PN"), "M 57", "Nebula"},
            {MessierLine(" 42", "BN", {{70, "   "}}), "M 42", ""}, {MessierLine("  1", "BN", {{70, latin1}}), "M 1", latin1},
            {MessierLine("110", "GX", {{70, n75}}), "M 110", n75.left(70)}};
        // clang-format on
        QByteArray bytes = "header";
        const char* endings[] = {"\r", "\n", "\r\n"};
        for (size_t i = 0; i < std::size(rows); ++i)
            bytes += endings[i % 3] + rows[i].line.toLatin1();
        QTemporaryDir dir;
        WriteAll(dir.filePath("messier.txt"), bytes);
        ObjectStore store = FullStore();
        QCOMPARE(int(ReadMessierCatalog(store, 0, dir.filePath("messier.txt"))),
                 int(std::size(rows)));
        for (size_t i = 0; i < std::size(rows); ++i) {
            const CatalogObject& o = store.objects[i];
            QCOMPARE(o.Designation.TrimmedText(), QLatin1String(rows[i].designation));
            QCOMPARE(o.Comment.IsUnset() ? unset : o.Comment.Text(),
                     rows[i].comment == unset ? unset : rows[i].comment.leftJustified(70));
        }
    }

    void sacSplitsFlaggedAndOtherObjects() {
        QTemporaryDir dir;
        const QStringList lines = {
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
        QCOMPARE(int(store.ListedEnd), 18);
        QCOMPARE(int(store.ObjectCount), 10);
        QString letters;
        for (int slot : {10, 11, 12, 13, 17, 18, 509, 510, 511})
            letters +=
                store.objects[slot].Catalog.IsUnset() ? "-" : store.objects[slot].Catalog.Text();
        QCOMPARE(letters, QStringLiteral("HCH----SS"));
        QCOMPARE(store.objects[17].Designation.TrimmedText(), QStringLiteral("NGC 3"));
        QCOMPARE(store.objects[15].Designation.Text(), QString(20, ' ')); // the empty line
        const CatalogObject& nebula = store.objects[510];
        QCOMPARE(nebula.Designation.Text(), QStringLiteral("NGC 7000").leftJustified(20));
        QVERIFY(nebula.SacType.Is(u"GALXY") && nebula.TypeCode.IsUnset());
        QCOMPARE(nebula.RA, Deg(1, 30.0));
        QCOMPARE(nebula.Dec, Deg(20, 15.0));
        QCOMPARE(nebula.Mag, 11.2);
        QCOMPARE(nebula.Comment.TrimmedText(), QStringLiteral("North America Nebula"));
        // Blanks in columns 214-215: the type stands in; a line ending before: blank.
        QCOMPARE(store.objects[511].Comment.Text(), QStringLiteral("GALXY").leftJustified(70));
        QCOMPARE(store.objects[511].Dec, -Deg(0, 30.0));
        QCOMPARE(store.objects[10].Comment.Text(), QString(70, ' '));
    }

    void sacFlaggedRunHoldsFiveHundred() {
        QStringList lines;
        for (int i = 0; i < 500; ++i)
            lines << SacLine(QStringLiteral("NGC %1").arg(i), "B  ");
        lines << SacLine("NGC 9999", "   ");
        QTemporaryDir dir;
        ObjectStore store = FullStore();
        QCOMPARE(int(ReadSacDatabase(store, 110, Write(dir, "Sac72.txt", lines))), 611);
        QCOMPARE(int(store.ListedEnd), 610);
        QCOMPARE(store.objects[610].Designation.TrimmedText(), QStringLiteral("NGC 9999"));
        lines.insert(0, SacLine("NGC 8888", "  H")); // one more would overwrite the first other
        const QString message =
            ErrorOf([&] { ReadSacDatabase(store, 110, Write(dir, "Sac72.txt", lines)); });
        QVERIFY2(message.contains("Sac72.txt") && message.contains("line 501"),
                 qPrintable(message));
    }

    void revisedCatalogues() {
        QTemporaryDir dir;
        const QStringList lines = {
            RevisedLine(" 224", " 1", " 3.4"),
            "NGC  type     RA         Dec        mag",
            "",
            RevisedLine(" 225", " 4", " 0.0"),
            RevisedLine(" 226", " 4", "    "),
            RevisedLine(" 227", " 4", "-1.0"),
            RevisedLine(" 228", " 7", "12.5"),
            RevisedLine(" 229", " 8", "12.5"),
            RevisedLine(" 230", " 0", "12.5"),
            RevisedLine(" 231", "11", "12.5"),
            RevisedLine("232A", " 9", "13.0", {{29, "-00"}, {33, "30"}, {36, "00.0"}}),
            RevisedLine(" 233", "10", "14.0", {{29, "-05"}, {33, "30"}, {36, "  "}}),
            RevisedLine(" 234", " 2", " 9.9"),
        };
        ObjectStore ngc = FullStore(), ic = FullStore();
        QCOMPARE(int(ReadNgcCatalog(ngc, 40, Write(dir, "revngc.txt", lines, "\r\n", false))), 48);
        QCOMPARE(int(ReadIcCatalog(ic, 40, Write(dir, "revic.txt", lines, "\n", false))), 48);
        QCOMPARE(int(ngc.ObjectCount), 8);
        const CatalogObject& first = ngc.objects[40];
        QVERIFY(first.Catalog.Is(u"N") && first.TypeCode.Is(u"GX"));
        QCOMPARE(first.Designation.TrimmedText(), QStringLiteral("NGC 224"));
        QCOMPARE(first.Comment.TrimmedText(), QStringLiteral("Galaxy"));
        QCOMPARE(first.RA, Deg(0, 40 + 22.0 / 60));
        QCOMPARE(first.Dec, Deg(41, 41 + 9.0 / 60));
        QCOMPARE(first.Mag, 3.4);
        const QStringList texts = {"Duplicate", "Duplicate", "<unset>",   "<unset>",
                                   "Star(s)",   "Not Found", "Super Nova"};
        for (int k = 0; k < texts.size(); ++k) {
            const CatalogObject& o = ngc.objects[41 + k];
            QCOMPARE(o.Comment.IsUnset() ? QStringLiteral("<unset>") : o.Comment.TrimmedText(),
                     texts[k]);
        }
        QCOMPARE(ngc.objects[45].Designation.TrimmedText(), QStringLiteral("NGC 232"));
        QCOMPARE(ngc.objects[45].Dec, -Deg(0, 30.0));
        QCOMPARE(ngc.objects[46].Dec, -Deg(5, 30.0));
        for (int slot = 40; slot < 48; ++slot) { // IC: the same but for the letter and prefix
            const CatalogObject &a = ngc.objects[slot], &b = ic.objects[slot];
            QVERIFY(b.Catalog.Is(u"I") && b.TypeCode == a.TypeCode && b.Comment == a.Comment);
            QCOMPARE(b.Designation.TrimmedText(), "IC" + a.Designation.TrimmedText().mid(3));
            QVERIFY(b.RA == a.RA && b.Dec == a.Dec && b.Mag == a.Mag);
        }
    }

    void failuresNameTheFileAndLine() {
        QTemporaryDir dir;
        ObjectStore store = FullStore();
        QString message =
            ErrorOf([&] { ReadMessierCatalog(store, 0, dir.filePath("messier.txt")); });
        QVERIFY2(message.contains("messier.txt") && message.contains("missing"),
                 qPrintable(message));
        const QString tooLarge = Write(
            dir, "revngc.txt",
            {RevisedLine("   1", " 1", " 9.0"), RevisedLine("   2", " 1", " 9.0", {{29, "9E9"}})});
        message = ErrorOf([&] { ReadNgcCatalog(store, 0, tooLarge); });
        QVERIFY2(message.contains("revngc.txt") && message.contains("line 2") &&
                     message.contains("9E9"),
                 qPrintable(message));
        // Two objects fit into slots 24999 and 25000; the third has nowhere to go.
        const Reader readers[] = {ReadMessierCatalog, ReadSacDatabase, ReadNgcCatalog,
                                  ReadIcCatalog};
        for (int r = 0; r < 4; ++r) {
            QStringList lines;
            for (int i = 1; i <= 3; ++i)
                lines << (r == 0   ? MessierLine(QString::number(i), "GX")
                          : r == 1 ? SacLine(QStringLiteral("NGC %1").arg(i), "   ")
                                   : RevisedLine(QString::number(i), " 1", "10.0"));
            ObjectStore full = FullStore();
            const QString path = Write(dir, "catalogue.txt", lines);
            message = ErrorOf([&] { readers[r](full, r == 1 ? 24499 : 24999, path); });
            QVERIFY2(message.contains("catalogue.txt") && message.contains("line 3"),
                     qPrintable(message));
            QCOMPARE(int(full.ObjectCount), 2);
            QCOMPARE(full.objects.size(), std::size_t(25001));
        }
    }
};

QTEST_MAIN(TestCatalog)
#include "test_catalog.moc"
