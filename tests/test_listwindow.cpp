// The Lists window and the main window's list box: an import with its report, the list offered
// in the chooser through the filters, "Put in rows", the export of the rows, a restart, a bad
// file and deleting the list.

#include "lists/listimport.h"
#include "listwindow/listwindow.h"
#include "state/listsstorage.h"
#include "support/files.h"
#include "support/lists.h"
#include "support/windows.h"

#include <QTemporaryDir>

namespace {

QStringList ChooserDesignations(const WindowFixture& f) {
    QStringList out;
    auto* chooser = f.get<QComboBox>("cmbDSO");
    for (int i = 0; i < chooser->count(); ++i)
        out << chooser->itemText(i).left(20).trimmed();
    return out;
}

// A Lists window over the fixture's state whose file choices, messages, report and questions
// are answered here.
struct ListWindowFixture {
    std::unique_ptr<ListWindow> window;
    QStringList messages, reports;
    QString exportPath;

    ListWindowFixture(AppState& state, const SelectionOptions& filters) {
        window = std::make_unique<ListWindow>(state, filters);
        window->showMessage = [this](QWidget*, const QString& text) { messages << text; };
        window->showReport = [this](QWidget*, const QString& text) { reports << text; };
        window->askQuestion = [](QWidget*, const QString&) { return true; };
        window->chooseExportFile = [this](QWidget*, const QString&) { return exportPath; };
    }
    void click(const char* name) { window->findChild<QPushButton*>(name)->click(); }
};

SelectionOptions InViewToMagnitude8() {
    SelectionOptions filters;
    filters.inViewOnly = true, filters.magLimit = 8.0;
    return filters;
}

} // namespace

class TestListWindow : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void importOfferPutExportAndRestart() {
        WindowFixture f;
        QVERIFY(f.active);
        f.state.listsPath = dir.filePath("lists.json");
        auto* box = f.get<QCheckBox>("chkList");
        QVERIFY(!box->isEnabled() && box->text() == "List");

        // Back yard at 45 north: NGC 7002 never rises, IC 1 is not ticked but on the list.
        const QString path = dir.filePath("Club tour.skylist");
        WriteAll(path, "SkySafariObservingListVersion=3.0\n"
                       "SkyObject=BeginObject\nCatalogNumber=NGC 7002\nEndObject=SkyObject\n"
                       "SkyObject=BeginObject\nCatalogNumber=NGC 7000\nEndObject=SkyObject\n"
                       "SkyObject=BeginObject\nCatalogNumber=Messier 2\nEndObject=SkyObject\n"
                       "SkyObject=BeginObject\nCatalogNumber=IC 0001\nEndObject=SkyObject\n"
                       "SkyObject=BeginObject\nCommonName=Planet X\nEndObject=SkyObject\n");
        ListWindowFixture lists(f.state, InViewToMagnitude8());
        lists.window->ImportFile(path);
        QCOMPARE(lists.reports.size(), 1);
        QVERIFY2(lists.reports[0].contains("4 of 5 lines matched") &&
                     lists.reports[0].contains("line 14: Planet X"),
                 qPrintable(lists.reports[0]));
        QVERIFY(lists.messages.isEmpty());
        QVERIFY(ReadAll(f.state.listsPath).contains("Club tour"));

        // Back in the main window the box names the list, ticked; its objects come first.
        {
            ModalWatcher watcher;
            f.click("cmdLists");
            QCOMPARE(watcher.dialogs, QStringList{"ListWindow"});
        }
        QVERIFY(box->isEnabled() && box->isChecked() && box->text() == "Club tour");
        QCOMPARE(ChooserDesignations(f), (QStringList{"NGC 7000", "M 2", "IC 1"}));
        f.choose("cmbDSO", 2);
        QVERIFY(f.row(0).startsWith("IC 1"));
        box->click();
        QCOMPARE(ChooserDesignations(f), QStringList{"M 2"});
        QVERIFY(ReadAll(f.state.listsPath).contains("\"ticked\": false"));

        // "Put in rows" fills the free rows with what passes, each object once.
        lists.click("cmdPutInRows");
        QCOMPARE(Designations(f.state.store, {f.state.listSlots[0] - 1, f.state.listSlots[1] - 1,
                                              f.state.listSlots[2] - 1, f.state.listSlots[3] - 1}),
                 (QStringList{"IC 1", "NGC 7000", "M 2", "-"}));

        // The rows exported read back as the same objects in the same order.
        lists.exportPath = dir.filePath("rows.csv");
        lists.click("cmdExportRows");
        KeptLists readBack;
        QVERIFY(ImportListFile(lists.exportPath, f.state.store, readBack).ok);
        QCOMPARE(readBack.lists.at(0).objects,
                 (std::vector<int>{f.state.listSlots[0] - 1, f.state.listSlots[1] - 1,
                                   f.state.listSlots[2] - 1}));

        // A bad file is refused by name and the kept list stays.
        WriteAll(dir.filePath("notes.csv"), "when,where\nfriday,field\n");
        lists.window->ImportFile(dir.filePath("notes.csv"));
        QVERIFY(lists.messages.value(0).contains("notes.csv"));
        QCOMPARE(f.state.lists.lists.size(), size_t(1));

        // After a restart the list is there again, its box as it was left.
        WindowFixture again(false);
        again.state.listsPath = f.state.listsPath;
        QString error;
        QVERIFY(LoadKeptListsAtStartup(again.state, &error));
        MainWindow restarted(again.state);
        auto* restartedBox = restarted.findChild<QCheckBox*>("chkList");
        QVERIFY(restartedBox->isEnabled() && !restartedBox->isChecked());
        QCOMPARE(restartedBox->text(), QStringLiteral("Club tour"));

        // Deleting the only list disables the box.
        lists.click("cmdDeleteList");
        QVERIFY(f.state.lists.lists.empty());
        {
            ModalWatcher watcher;
            f.click("cmdLists");
        }
        QVERIFY(!box->isEnabled() && box->text() == "List");
        QVERIFY(ReadAll(f.state.listsPath).contains("\"lists\": [\n    ]"));
    }
};

QTEST_MAIN(TestListWindow)
#include "test_listwindow.moc"
