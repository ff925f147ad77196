// Observing lists: reading the four formats, matching their lines to the store, the report of
// what did not match, the round trip through export, the kept lists' file and the chooser
// offering a list through the filters.

#include "lists/keptlists.h"
#include "lists/listexport.h"
#include "lists/listfile.h"
#include "lists/listimport.h"
#include "lists/objectmatcher.h"
#include "objectlist/objectrows.h"
#include "objectlist/selection.h"
#include "sky/coordinates.h"
#include "state/listsstorage.h"
#include "support/files.h"
#include "support/lists.h"

#include <QTemporaryDir>
#include <QtTest>

class TestLists : public QObject {
    Q_OBJECT
    ObjectStore store;
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        WriteAll(path, bytes);
        return path;
    }

private slots:
    void initTestCase() { FillListStore(store); }

    // Spellings and names: designation, letter after a bar; empty: none. Type texts carried by
    // many records, the Sun and unknown numbers name nothing.
    void spellingsAndNamesMatch() {
        // clang-format off
        const char* rows[][2] = {
            {"M 31", "M 31/NGC 224|M"}, {"M31", "M 31/NGC 224|M"}, {"Messier 31", "M 31/NGC 224|M"},
            {"messier031", "M 31/NGC 224|M"}, {"NGC 224", "NGC 224|N"}, {"NGC0224", "NGC 224|N"},
            {"ngc 1976", "M 42/NGC 1976|M"}, {"IC 434", "IC 434|I"}, {"ic0434", "IC 434|I"},
            {"Caldwell 14", "NGC 869|C"}, {"C 14", "NGC 869|C"}, {"c2", "NGC 40|H"},
            {"andromeda  GALAXY", "M 31/NGC 224|M"}, {"Bow-Tie Nebula", "NGC 40|H"}, {"Jupiter", "Jupiter|P"},
            {"MOON", "Moon|P"}, {"Globular Cluster", ""}, {"Bright Nebula", ""}, {"Sun", ""}, {"M 110", ""},
            {"NGC 99999", ""}, {"", ""}};
        // clang-format on
        const ObjectMatcher matcher(store);
        for (const auto& [text, expected] : rows) {
            ListLine line;
            line.names = {QString::fromUtf8(text)};
            QString why;
            const int index = matcher.Match(line, &why);
            const CatalogObject* o = index < 0 ? nullptr : &store.objects[size_t(index)];
            QCOMPARE(o ? o->Designation.TrimmedText() + u'|' + o->Catalog.Text() : QString(),
                     QString::fromUtf8(expected));
        }
    }

    // Each format, with awkward spellings, CR LF, a byte order mark and lines that match
    // nothing: the matched objects in order, and exactly the unmatched lines in the report.
    void formatsImportWithTheirReport() {
        // clang-format off
        const struct { const char* name; QByteArray bytes; QStringList listNames, matched, unmatched; } rows[] = {
            {"winter.skylist",
             "\xEF\xBB\xBFSkySafariObservingListVersion=3.0\r\nSortedBy=Default Order\r\n"
             "SkyObject=BeginObject\r\n\tObjectID=4,-1,-1\r\n\tCatalogNumber=M 42\r\n\tCatalogNumber=NGC 1976\r\n"
             "\tDefaultIndex=3\r\nEndObject=SkyObject\r\nSkyObject=BeginObject\r\n\tCommonName=Jupiter\r\n"
             "EndObject=SkyObject\r\nSkyObject=BeginObject\r\n\tCatalogNumber=NGC0224\r\n\tComment=in the east\r\n"
             "EndObject=SkyObject\r\nSkyObject=BeginObject\r\n\tCatalogNumber=HD 12345\r\n"
             "\tCommonName=Nobody's Star\r\nEndObject=SkyObject\r\nSkyObject=BeginObject\r\n\tObjectID=9\r\n"
             "EndObject=SkyObject\r\n", {"winter (2)"}, {"M 42/NGC 1976", "Jupiter", "NGC 224"},
             {"line 16: HD 12345 / Nobody's Star", "line 20: (an object without a name)"}},
            {"tour.csv", // positions, quotes
             "Object;RA (h);Dec;Notes\nMessier 31;00:42:44;+41 16 09;nice\n\"Caldwell 14\";2h 19m 0s;+57°08';"
             "\"double; bright\"\nIC 434;5.683;-2.4;\nM 13;13.7;+28.4;wrong place\nFoo 1;10:00:00;+10 00 00;\n",
             {"tour"}, {"M 31/NGC 224", "NGC 869", "IC 434"},
             {"line 5: M 13;13.7;+28.4;wrong place (M 13/NGC 6205 stands 38.4 degrees from the position given)",
              "line 6: Foo 1;10:00:00;+10 00 00;"}},
            {"app.json",
             R"({"observingLists": {"a1": {"name": "Galaxies",
                             "objects": [{"designation": "NGC 224", "name": "Andromeda"},
                                         {"designation": "", "name": "Orion Nebula"},
                                         {"designation": "UGC 1", "name": "Nothing"}]}},
                           "bookmarks": {"b": {"designation": "IC434"}}})",
             {"Galaxies", "Bookmarks"}, {"NGC 224", "M 42/NGC 1976", "IC 434"}, {"entry 3: UGC 1 / Nothing"}},
            {"list.txt", "# my list\rM 31   # best\r\r  saturn\rNGC 40 / C 2\rZZ Top\r", {"list"},
             {"M 31/NGC 224", "Saturn", "NGC 40"}, {"line 6: ZZ Top"}}};
        // clang-format on
        for (const auto& r : rows) {
            KeptLists kept;
            kept.lists.push_back({"winter", {}, {}}); // an import never takes a kept list's name
            const QString path = write(r.name, r.bytes);
            const ListImportResult result = ImportListFile(path, store, kept);
            QVERIFY2(result.ok, qPrintable(result.error));
            QStringList names, got, report;
            for (const ListImportReport& list : result.lists)
                names << list.name, report += list.unmatched;
            for (size_t i = 1; i < kept.lists.size(); ++i)
                got += Designations(store, kept.lists[i].objects);
            QVERIFY(names == r.listNames && got == r.matched && kept.offered == 1);
            QCOMPARE(report, r.unmatched);
            const QString text = ImportReportText(path, result);
            for (const QString& line : r.unmatched)
                QVERIFY(text.contains(line));
        }
    }

    // Nothing that is not a list harms the kept lists; the message names the file and why.
    void badInputIsRefusedWithItsReason() {
        // clang-format off
        const struct { const char* name; QByteArray bytes; const char* reason; } rows[] = {
            {"photo.skylist", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "not a text file"},
            {"empty.txt", "", "it is empty"}, {"blank.txt", " \r\n\t\n", "it is empty"},
            {"c.txt", "# nothing\n", "only comments"}, {"a.csv", "RA,Dec,Mag\n1,2,3\n", "names no column"},
            {"b.csv", "Name,RA\n", "only its header"}, {"c.json", R"({"stars": [1, 2]})", "holds no observing list"},
            {"d.json", "{\"observingLists\": {", "not valid JSON"},
            {"e.skylist", "SkySafariObservingListVersion=3.0\n", "holds no object"}};
        // clang-format on
        for (const auto& r : rows) {
            KeptLists kept;
            kept.lists.push_back({"old", {{"M", "M 31/NGC 224"}}, {0}});
            const ListImportResult result = ImportListFile(write(r.name, r.bytes), store, kept);
            QVERIFY2(!result.ok && result.error.contains(r.name) && result.error.contains(r.reason),
                     qPrintable(result.error));
            QVERIFY(kept.lists.size() == 1 && kept.offered == -1);
        }
    }

    void largeAndLatin1Files() {
        KeptLists kept;
        const QString big = dir.filePath("big.csv");
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(50LL * 1024 * 1024));
        file.close();
        ListImportResult result = ImportListFile(big, store, kept);
        QVERIFY(!result.ok && result.error.contains("big.csv") && result.error.contains("50.0 MB"));

        // Latin-1 (and so any text that is not UTF-8) reads, and the report says how.
        result = ImportListFile(write("latin.txt", "Androm\xE8"
                                                   "de\nM 31\nNGC 224\n"),
                                store, kept);
        QVERIFY(result.ok);
        QCOMPARE(result.lists.at(0).unmatched, QStringList{QString::fromUtf8("line 1: Andromède")});
        QVERIFY(ImportReportText("latin.txt", result).contains("read as Latin-1"));
        QCOMPARE(Designations(store, kept.lists.at(0).objects),
                 (QStringList{"M 31/NGC 224", "NGC 224"}));

        // A list in which nothing matched is reported, not kept.
        result = ImportListFile(write("none.txt", "Foo\nBar\n"), store, kept);
        QVERIFY(result.ok && !result.lists.at(0).kept);
        QCOMPARE(kept.lists.size(), size_t(1));
    }

    // Rows exported and read back are the same records in the same order, in both formats,
    // with the objects that two catalogues hold told apart.
    void exportReadsBackUnchanged() {
        const std::vector<int> rows = {
            IndexOf(store, "NGC 884"),       IndexOf(store, "M 31/NGC 224"),
            IndexOf(store, "NGC 869", u'N'), IndexOf(store, "NGC 869", u'C'),
            IndexOf(store, "Jupiter"),       IndexOf(store, "NGC 224", u'N'),
            IndexOf(store, "IC 434"),        IndexOf(store, "M 13/NGC 6205"),
            IndexOf(store, "M 31/NGC 224"),  IndexOf(store, "NGC 40"),
        };
        QVERIFY(!std::count(rows.begin(), rows.end(), -1));
        for (const char* name : {"rows.csv", "rows.skylist"}) {
            const QByteArray text = ListTextFor(name, store, rows);
            KeptLists kept;
            const ListImportResult result = ImportListFile(write(name, text), store, kept);
            QVERIFY2(result.ok && result.lists.at(0).unmatched.isEmpty(), text.constData());
            QCOMPARE(kept.lists.at(0).objects, rows);
        }
        const QByteArray csv = CsvListText(store, {rows[1], rows[3]});
        QCOMPARE(csv, QByteArray("Name,Designation,RA_J2000_h,Dec_J2000_deg,Magnitude,Type\r\n"
                                 "Andromeda Galaxy,M 31/NGC 224,0.71200,41.2700,3.4,GX\r\n"
                                 "Double Cluster,NGC 869/C 14,2.31700,57.1300,3.8,OPNCL\r\n"));
        QVERIFY(SkyListText(store, {rows[1]})
                    .contains("SkyObject=BeginObject\r\n\tCommonName="
                              "Andromeda Galaxy\r\n\tCatalogNumber=M 31\r\n"
                              "\tCatalogNumber=NGC 224\r\nEndObject=SkyObject"));
    }

    // The kept lists survive a restart, follow the catalogues by designation, and a damaged
    // file is set aside rather than written over.
    void keptListsSurviveARestart() {
        AppState state;
        FillListStore(state.store);
        state.listsPath = dir.filePath("data/zenitor/lists.json");
        QVERIFY(
            ImportListFile(write("k.txt", "IC 434\nM 42\nJupiter\n"), state.store, state.lists).ok);
        state.lists.ticked = true;
        QString error;
        QVERIFY(SaveKeptLists(state, &error)); // makes the missing folders

        AppState again;
        FillListStore(again.store);
        std::swap(again.store.objects[0], again.store.objects[1]); // the catalogues changed
        again.store.objects[11].Designation = QStringLiteral("IC 9999");
        again.listsPath = state.listsPath;
        QVERIFY(LoadKeptListsAtStartup(again, &error));
        QCOMPARE(again.lists.lists.at(0).name, QStringLiteral("k"));
        QVERIFY(again.lists.ticked);
        QCOMPARE(Designations(again.store, again.lists.lists.at(0).objects),
                 (QStringList{"-", "M 42/NGC 1976", "Jupiter"}));

        WriteAll(state.listsPath, "{\"zenitorLists\": 1, \"lists\": [");
        QVERIFY(!LoadKeptListsAtStartup(again, &error));
        QVERIFY(error.contains("lists.json") && error.contains(".damaged"));
        QVERIFY(again.lists.lists.empty());
        QCOMPARE(ReadAll(state.listsPath + ".damaged"),
                 QByteArray("{\"zenitorLists\": 1, \"lists\": ["));

        // A folder in the file's place: the write fails with its reason, nothing is changed.
        state.listsPath = dir.filePath("data");
        QVERIFY(!SaveKeptLists(state, &error) && error.contains("data"));
    }

    // The offered list comes first in the chooser, in its order and each object once, through
    // the magnitude limit and In View Only; the catalogue lines follow without its objects.
    void chooserOffersTheListThroughTheFilters() {
        AppState state;
        FillListStore(state.store);
        SetObserverPosition(state.sky, 45 * PiValue / 180, 0);
        state.sky.clock = std::make_shared<FixedClock>(QDateTime({2026, 1, 15}, {0, 0}, Qt::UTC));
        state.sky.UseNow = true;
        const std::vector<int> list = {
            IndexOf(store, "NGC 40"),       IndexOf(store, "M 42/NGC 1976"),
            IndexOf(store, "M 31/NGC 224"), -1,
            IndexOf(store, "NGC 884"),      IndexOf(store, "M 31/NGC 224"),
            IndexOf(store, "M 2/NGC 7089")};
        SelectionOptions options;
        options.messier = true, options.inViewOnly = false, options.magLimit = 8.0;
        options.listObjects = &list;
        // A number left from a pass without the list must not stand before a list object.
        state.store.objects[size_t(IndexOf(store, "NGC 7000"))].ListPos = 1;
        SelectionResult result = SelectObjects(state, options);
        QStringList firstWords;
        for (const QString& line : result.lines)
            firstWords << line.left(20).trimmed();
        QCOMPARE(firstWords, (QStringList{"M 42/NGC 1976", "M 31/NGC 224", "NGC 884",
                                          "M 2/NGC 7089", "M 13/NGC 6205", "M 3/NGC 5272"}));
        QCOMPARE(PickChooserEntry(state, 2).storeIndex, IndexOf(store, "NGC 884"));

        // At 45 north on that night Orion is up at midnight UT on the Greenwich meridian, M 31
        // low in the west and Perseus high, M 2 below the horizon; NGC 40 (magnitude 10.7)
        // passes with Show All.
        options.inViewOnly = true, options.showAll = true;
        result = SelectObjects(state, options);
        const std::vector<int> passing = ListObjectsPassing(state, options, list);
        QCOMPARE(int(passing.size()), 4);
        QCOMPARE(Designations(state.store, passing),
                 (QStringList{"NGC 40", "M 42/NGC 1976", "M 31/NGC 224", "NGC 884"}));
        options.showAll = false;
        state.listSlots = {};
        state.listSlots[0] = std::int16_t(IndexOf(store, "NGC 884") + 1);
        state.listSlots[2] = std::int16_t(IndexOf(store, "M 13/NGC 6205") + 1);
        QCOMPARE(PutObjectsInFreeRows(state, ListObjectsPassing(state, options, list)), 2);
        QCOMPARE(Designations(state.store, {state.listSlots[0] - 1, state.listSlots[1] - 1,
                                            state.listSlots[2] - 1, state.listSlots[3] - 1}),
                 (QStringList{"NGC 884", "M 42/NGC 1976", "M 13/NGC 6205", "M 31/NGC 224"}));
    }
};

QTEST_GUILESS_MAIN(TestLists)
#include "test_lists.moc"
