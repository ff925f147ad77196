#include "catalog/catalogreaders.h"
#include "catalog/readingrules.h"
#include "startup/angles.h"
#include "support/catalogfiles.h"

#include <QtTest>
#include <utility>

namespace {

double Degrees(double deg, double min) {
    return DegMinToRadians(std::int16_t(deg), min);
}

class TempFiles {
public:
    QString Write(const QString& name, const QStringList& lines,
                  const QString& ending = QStringLiteral("\r\n"), bool finalEnding = true) {
        QString text = lines.join(ending);
        if (finalEnding && !lines.isEmpty()) text += ending;
        return WriteBytes(name, text.toLatin1());
    }
    QString WriteBytes(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
        return path;
    }

private:
    QTemporaryDir dir_;
};

ObjectStore FullStore() {
    ObjectStore store;
    SizeStoreForLoading(store);
    return store;
}

// Runs a reader expecting a CatalogError and returns its message.
template <typename Read> QString ErrorOf(Read read) {
    try {
        read();
    } catch (const CatalogError& e) {
        return e.message();
    }
    return {};
}

} // namespace

class TestCatalogReaders : public QObject {
    Q_OBJECT
private slots:
    void messierReadsTheColumnsOfBoxedLinesOnly() {
        TempFiles files;
        const QString path = files.Write(
            "messier.txt",
            {"Messier catalogue header",
             MessierLine(" 31", "GX", {{55, " 224"}, {70, "Andromeda"}}),
             "[x]" + MessierLine(" 32", "GX").mid(3), " " + MessierLine(" 33", "GX"),
             "no box at all",
             MessierLine(
                 "  1", "BN",
                 {{19, " 8.4v"}, {26, "05"}, {28, "34.5"}, {33, "-"}, {34, "00"}, {36, "30.0"}})});
        ObjectStore store = FullStore();
        store.ObjectCount = 7; // readers add to what is there
        QCOMPARE(int(ReadMessierCatalog(store, 3, path)), 5);
        QCOMPARE(int(store.ObjectCount), 9);
        QVERIFY(store.objects[2].Catalog.IsUnset());

        const CatalogObject& m31 = store.objects[3];
        QVERIFY(m31.Catalog.Is(u"M"));
        QCOMPARE(m31.Designation.Text(), QStringLiteral("M 31/NGC 224        "));
        QVERIFY(m31.TypeCode.Is(u"GX"));
        QCOMPARE(m31.RA, Degrees(12, 30.0));
        QCOMPARE(m31.Dec, Degrees(10, 0.0));
        QCOMPARE(m31.Mag, 5.0);
        QCOMPARE(m31.Comment.TrimmedText(), QStringLiteral("Andromeda"));
        QVERIFY(m31.SacType.IsUnset());

        const CatalogObject& m1 = store.objects[4];
        QCOMPARE(m1.Designation.TrimmedText(), QStringLiteral("M 1"));
        // The magnitude does not run on into the right-ascension digits.
        QCOMPARE(m1.Mag, 8.4);
        QCOMPARE(m1.RA, Degrees(5, 34.5));
        QCOMPARE(m1.Dec, -Degrees(0, 30.0));
        QCOMPARE(m1.Comment.TrimmedText(), QStringLiteral("Nebula"));
        QVERIFY(store.objects[5].Catalog.IsUnset());
    }

    void messierDesignationAndComment_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("designation");
        QTest::addColumn<QString>("comment"); // "<unset>" for a field never assigned
        QTest::newRow("IC mark") << MessierLine(" 25", "OC", {{53, "IC"}, {55, "4725"}})
                                 << "M 25/IC 4725"
                                 << "Open Cluster";
        QTest::newRow("IC mark without number")
            << MessierLine(" 40", "*2", {{53, "IC"}}) << "M 40/IC 0"
            << "2 Stars";
        QTest::newRow("lower-case ic is no mark")
            << MessierLine(" 40", "*2", {{53, "ic"}, {55, "  12"}}) << "M 40/NGC 12"
            << "2 Stars";
        QTest::newRow("zero cross reference") << MessierLine(" 24", "MW", {{55, "   0"}}) << "M 24"
                                              << "Milky Way Patch";
        QTest::newRow("blank cross reference") << MessierLine(" 45", "OC") << "M 45"
                                               << "Open Cluster";
        QTest::newRow("cross reference with blank inside")
            << MessierLine(" 13", "GC", {{55, "62 5"}}) << "M 13/NGC 625"
            << "Globular Cluster";
        QTest::newRow("unknown code, short line") << MessierLine(" 73", "XX") << "M 73"
                                                  << "<unset>";
        QTest::newRow("planetary") << MessierLine(" 57", "PN") << "M 57"
                                   << "Nebula";
        QTest::newRow("name replaces type text")
            << MessierLine(" 42", "BN", {{70, "Orion Nebula"}}) << "M 42"
            << "Orion Nebula";
        QTest::newRow("blanks from column 70 replace type text")
            << MessierLine(" 42", "BN", {{70, "   "}}) << "M 42"
            << "";
        QTest::newRow("long name is cut at 70")
            << MessierLine("110", "GX", {{70, QString(75, QLatin1Char('n'))}}) << "M 110"
            << QString(70, QLatin1Char('n'));
    }
    void messierDesignationAndComment() {
        QFETCH(QString, line);
        QFETCH(QString, designation);
        QFETCH(QString, comment);
        TempFiles files;
        ObjectStore store = FullStore();
        QCOMPARE(int(ReadMessierCatalog(store, 0, files.Write("messier.txt", {line}))), 1);
        const CatalogObject& object = store.objects[0];
        QCOMPARE(object.Designation.TrimmedText(), designation);
        if (comment == QLatin1String("<unset>"))
            QVERIFY(object.Comment.IsUnset());
        else
            QCOMPARE(object.Comment.Text(), comment.leftJustified(70, QLatin1Char(' ')));
    }

    void lineEndingsAndLatin1_data() {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("finalEnding");
        QTest::newRow("CR LF") << "\r\n" << true;
        QTest::newRow("CR") << "\r" << true;
        QTest::newRow("LF") << "\n" << true;
        QTest::newRow("CR LF, no end on last line") << "\r\n" << false;
        QTest::newRow("CR, no end on last line") << "\r" << false;
    }
    void lineEndingsAndLatin1() {
        QFETCH(QString, ending);
        QFETCH(bool, finalEnding);
        TempFiles files;
        const QString name = QString::fromLatin1("N\xe9"
                                                 "buleuse \xb0");
        const QString path = files.Write(
            "messier.txt",
            {"header", MessierLine("  1", "BN", {{70, name}}), MessierLine("  2", "GC")}, ending,
            finalEnding);
        ObjectStore store = FullStore();
        QCOMPARE(int(ReadMessierCatalog(store, 0, path)), 2);
        QCOMPARE(store.objects[0].Comment.TrimmedText(), name);
        QCOMPARE(store.objects[1].Comment.TrimmedText(), QStringLiteral("Globular Cluster"));
    }

    void sacSplitsFlaggedAndOtherObjects() {
        TempFiles files;
        const QStringList lines = {
            At({{2, "OBJECT"}, {42, "TYPE"}}),                           // header: skipped
            SacLine("NGC 7000", "   ", {{214, "North America Nebula"}}), // S, other run
            SacLine("NGC 253", "B H"),                                   // B then H: H
            SacLine("NGC 891", "BC "),                                   // C wins over B
            SacLine("NGC 40", " CH"),                                    // H wins over C
            SacLine("NGC 1", "H  "),                                     // H in the B column
            SacLine("NGC 2", "  h"),                                     // lower case: no flag
            QString(),                                                   // empty line: listed
            At({{2, "object"}, {42, "TYPE"}}),                           // not a header
            SacLine("IC 10", "   ", {{214, "  "}}),                      // S, no notes
            SacLine("NGC 3", "  H").left(150),                           // too short for flags
        };
        ObjectStore store = FullStore();
        const int start = 10;
        QCOMPARE(int(ReadSacDatabase(store, start, files.Write("Sac72.txt", lines))),
                 start + 500 + 2);
        QCOMPARE(int(store.ListedEnd), start + 8);
        QCOMPARE(int(store.ObjectCount), 10);

        const auto letter = [&](int slot) { return store.objects[slot].Catalog.Text(); };
        QCOMPARE(letter(start + 0), QStringLiteral("H"));
        QCOMPARE(letter(start + 1), QStringLiteral("C"));
        QCOMPARE(letter(start + 2), QStringLiteral("H"));
        for (int slot = start + 3; slot < start + 8; ++slot)
            QVERIFY2(store.objects[slot].Catalog.IsUnset(), qPrintable(QString::number(slot)));
        QCOMPARE(store.objects[start + 7].Designation.TrimmedText(), QStringLiteral("NGC 3"));
        for (int slot = start + 8; slot < start + 500; ++slot)
            QVERIFY(store.objects[slot].Designation.IsUnset());
        QCOMPARE(letter(start + 500), QStringLiteral("S"));
        QCOMPARE(letter(start + 501), QStringLiteral("S"));

        const CatalogObject& nebula = store.objects[start + 500];
        QCOMPARE(nebula.Designation.Text(), QStringLiteral("NGC 7000").leftJustified(20));
        QCOMPARE(nebula.SacType.Text(), QStringLiteral("GALXY"));
        QVERIFY(nebula.TypeCode.IsUnset());
        QCOMPARE(nebula.RA, Degrees(1, 30.0));
        QCOMPARE(nebula.Dec, Degrees(20, 15.0));
        QCOMPARE(nebula.Mag, 11.2);
        QCOMPARE(nebula.Comment.TrimmedText(), QStringLiteral("North America Nebula"));
        // Two blanks in columns 214-215 mean no notes: the object type stands in.
        QCOMPARE(store.objects[start + 501].Comment.Text(),
                 QStringLiteral("GALXY").leftJustified(70));
        // A line that ends before column 214 gets a blank comment.
        QCOMPARE(store.objects[start + 0].Comment.Text(), QString(70, QLatin1Char(' ')));
        // The empty line is stored with all its fields blank.
        QCOMPARE(store.objects[start + 5].Designation.Text(), QString(20, QLatin1Char(' ')));
    }

    void sacSouthernDeclinationBelowOneDegree() {
        TempFiles files;
        ObjectStore store = FullStore();
        ReadSacDatabase(store, 0,
                        files.Write("Sac72.txt", {SacLine("NGC 4", "   ",
                                                          {{66, "-"}, {67, "00"}, {70, "30"}})}));
        QCOMPARE(store.objects[500].Dec, -Degrees(0, 30.0));
    }

    void sacFlaggedRunHoldsFiveHundred() {
        QStringList lines;
        for (int i = 0; i < 500; ++i)
            lines << SacLine(QStringLiteral("NGC %1").arg(i), "B  ");
        lines << SacLine("NGC 9999", "   ");
        TempFiles files;
        ObjectStore store = FullStore();
        QCOMPARE(int(ReadSacDatabase(store, 110, files.Write("Sac72.txt", lines))), 611);
        QCOMPARE(int(store.ListedEnd), 610);
        QCOMPARE(store.objects[610].Designation.TrimmedText(), QStringLiteral("NGC 9999"));

        // One flagged line more would overwrite the first unflagged record: refused.
        lines.insert(0, SacLine("NGC 8888", "  H"));
        ObjectStore second = FullStore();
        const QString message =
            ErrorOf([&] { ReadSacDatabase(second, 110, files.Write("Sac72.txt", lines)); });
        QVERIFY2(message.contains("Sac72.txt") && message.contains("line 501"),
                 qPrintable(message));
    }

    void revisedCatalogLines() {
        TempFiles files;
        const QStringList lines = {
            RevisedLine(" 224", " 1", " 3.4"),         // first line
            "NGC  type     RA         Dec        mag", // header
            "",                                        // blank
            RevisedLine(" 225", " 4", " 0.0"),         // magnitude 0
            RevisedLine(" 226", " 4", "    "),         // no magnitude
            RevisedLine(" 227", " 4", "-1.0"),         // negative
            RevisedLine(" 228", " 7", "12.5"),         // duplicate
            RevisedLine(" 229", " 8", "12.5"),         // duplicate
            RevisedLine(" 230", " 0", "12.5"),         // no type
            RevisedLine(" 231", "11", "12.5"),         // no type
            RevisedLine("232A", " 9", "13.0", {{29, "-00"}, {33, "30"}, {36, "00.0"}}),
            RevisedLine(" 233", "10", "14.0", {{29, "-05"}, {33, "30"}, {36, "  "}}),
            RevisedLine(" 234", " 2", " 9.9"), // last line
        };
        const QString ngcPath = files.Write("revngc.txt", lines, "\r\n", false);
        ObjectStore store = FullStore();
        QCOMPARE(int(ReadNgcCatalog(store, 40, ngcPath)), 48);
        QCOMPARE(int(store.ObjectCount), 8);

        const CatalogObject& first = store.objects[40];
        QVERIFY(first.Catalog.Is(u"N"));
        QCOMPARE(first.Designation.TrimmedText(), QStringLiteral("NGC 224"));
        QVERIFY(first.TypeCode.Is(u"GX"));
        QCOMPARE(first.Comment.TrimmedText(), QStringLiteral("Galaxy"));
        QCOMPARE(first.RA, Degrees(0, 40 + 22.0 / 60));
        QCOMPARE(first.Dec, Degrees(41, 41 + 9.0 / 60));
        QCOMPARE(first.Mag, 3.4);

        const QStringList codes = {"Dp", "Dp", "", "", "St", "NF", "SN"};
        const QStringList texts = {"Duplicate", "Duplicate", "",          "",
                                   "Star(s)",   "Not Found", "Super Nova"};
        for (int k = 0; k < codes.size(); ++k) {
            const CatalogObject& object = store.objects[41 + k];
            if (codes[k].isEmpty()) {
                QVERIFY(object.TypeCode.IsUnset());
                QVERIFY(object.Comment.IsUnset());
            } else {
                QCOMPARE(object.TypeCode.Text(), codes[k]);
                QCOMPARE(object.Comment.TrimmedText(), texts[k]);
            }
        }
        QCOMPARE(store.objects[45].Designation.TrimmedText(), QStringLiteral("NGC 232"));
        QCOMPARE(store.objects[45].Dec, -Degrees(0, 30.0));
        QCOMPARE(store.objects[46].Dec, -Degrees(5, 30.0));
        QCOMPARE(store.objects[47].Designation.TrimmedText(), QStringLiteral("NGC 234"));

        // The IC reader gives the same records but for the letter and the prefix.
        ObjectStore ic = FullStore();
        QCOMPARE(int(ReadIcCatalog(ic, 40, files.Write("revic.txt", lines, "\n", false))), 48);
        for (int slot = 40; slot < 48; ++slot) {
            const CatalogObject& a = store.objects[slot];
            const CatalogObject& b = ic.objects[slot];
            QVERIFY(b.Catalog.Is(u"I"));
            QCOMPARE(b.Designation.TrimmedText(), "IC" + a.Designation.TrimmedText().mid(3));
            QCOMPARE(b.RA, a.RA);
            QCOMPARE(b.Dec, a.Dec);
            QCOMPARE(b.Mag, a.Mag);
            QVERIFY(b.TypeCode == a.TypeCode && b.Comment == a.Comment);
        }
    }

    void failuresNameTheFileAndLine() {
        TempFiles files;
        ObjectStore store = FullStore();
        const QString missing = QDir(QDir::tempPath()).filePath("no-such-dir-zenitor/messier.txt");
        QString message = ErrorOf([&] { ReadMessierCatalog(store, 0, missing); });
        QVERIFY2(message.contains("messier.txt") && message.contains("missing"),
                 qPrintable(message));

        // Three characters of degrees can hold a number far beyond 16 bits.
        const QString tooLarge =
            files.Write("revngc.txt", {RevisedLine("   1", " 1", " 9.0"),
                                       RevisedLine("   2", " 1", " 9.0", {{29, "9E9"}})});
        message = ErrorOf([&] { ReadNgcCatalog(store, 0, tooLarge); });
        QVERIFY2(message.contains("revngc.txt") && message.contains("line 2") &&
                     message.contains("9E9"),
                 qPrintable(message));
    }

    void storeOverflowIsAnError_data() {
        QTest::addColumn<int>("reader");
        QTest::newRow("Messier") << 0;
        QTest::newRow("SAC") << 1;
        QTest::newRow("NGC") << 2;
        QTest::newRow("IC") << 3;
    }
    void storeOverflowIsAnError() {
        QFETCH(int, reader);
        TempFiles files;
        ObjectStore store = FullStore();
        QStringList lines;
        for (int i = 0; i < 3; ++i) {
            if (reader == 0)
                lines << MessierLine(QString::number(i + 1), "GX");
            else if (reader == 1)
                lines << SacLine(QStringLiteral("NGC %1").arg(i), "   ");
            else
                lines << RevisedLine(QString::number(i + 1), " 1", "10.0");
        }
        const QString path = files.Write("catalogue.txt", lines);
        // Two objects fit into slots 24999 and 25000; the third has nowhere to go.
        const std::int16_t start = reader == 1 ? 24999 - 500 : 24999;
        const QString message = ErrorOf([&] {
            switch (reader) {
            case 0:
                ReadMessierCatalog(store, start, path);
                break;
            case 1:
                ReadSacDatabase(store, start, path);
                break;
            case 2:
                ReadNgcCatalog(store, start, path);
                break;
            default:
                ReadIcCatalog(store, start, path);
                break;
            }
        });
        QVERIFY2(message.contains("catalogue.txt") && message.contains("line 3"),
                 qPrintable(message));
        QCOMPARE(int(store.ObjectCount), 2);
        QCOMPARE(store.objects.size(), std::size_t(25001));
    }
};

QTEST_MAIN(TestCatalogReaders)
#include "test_catalog_readers.moc"
