#include "listwindow/listwindow.h"

#include "kit/programmessage.h"
#include "lists/listexport.h"
#include "lists/listimport.h"
#include "listwindow/openlistwindow.h"
#include "objectlist/objectrows.h"
#include "state/listsstorage.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

const char* const kImportFilter = "Observing lists (*.skylist *.csv *.json *.txt);;All files (*)";
const char* const kExportFilter = "Observing list (*.skylist);;CSV (*.csv)";

QString StartFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

std::unique_ptr<QDialog> CreateListWindow(AppState& state, const SelectionOptions& filters,
                                          QWidget* parent) {
    return std::make_unique<ListWindow>(state, filters, parent);
}

void ShowImportReport(QWidget* parent, const QString& text) {
    QDialog report(parent);
    report.setObjectName(QStringLiteral("ImportReport"));
    report.setWindowTitle(QStringLiteral("Import Report"));
    auto* layout = new QVBoxLayout(&report);
    auto* view = new QPlainTextEdit(text, &report);
    view->setReadOnly(true);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(view);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &report);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &report, &QDialog::accept);
    layout->addWidget(buttons);
    report.resize(640, 400);
    report.exec();
}

ListWindow::ListWindow(AppState& state, const SelectionOptions& filters, QWidget* parent)
    : QDialog(parent), state_(state), filters_(filters) {
    setObjectName(QStringLiteral("ListWindow"));
    setWindowTitle(QStringLiteral("Observing Lists"));
    setModal(true);
    chooseImportFile = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Import an observing list"),
                                            StartFolder(), QLatin1String(kImportFilter));
    };
    chooseExportFile = [](QWidget* parent, const QString& suggestedName) {
        QString filter;
        QString path = QFileDialog::getSaveFileName(
            parent, QStringLiteral("Export an observing list"),
            QDir(StartFolder()).filePath(suggestedName), QLatin1String(kExportFilter), &filter);
        // A name typed without an ending takes the chosen kind's.
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += filter.startsWith(QLatin1String("CSV")) ? QStringLiteral(".csv")
                                                            : QStringLiteral(".skylist");
        return path;
    };
    showMessage = &ShowProgramMessage;
    showReport = &ShowImportReport;
    askQuestion = &AskProgramQuestion;

    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    cmbLists = new QComboBox(this);
    cmbLists->setObjectName(QStringLiteral("cmbLists"));
    cmbLists->setToolTip(QStringLiteral("The list the chooser offers."));
    cmbLists->setMinimumContentsLength(28);
    lblListInfo = new QLabel(this);
    lblListInfo->setObjectName(QStringLiteral("lblListInfo"));
    cmdImport = button("cmdImport", QStringLiteral("Import..."));
    cmdDeleteList = button("cmdDeleteList", QStringLiteral("Delete List"));
    cmdPutInRows = button("cmdPutInRows", QStringLiteral("Put in rows"));
    cmdPutInRows->setToolTip(QStringLiteral("Fills the free rows with the list's first objects "
                                            "that pass the magnitude limit and In View Only."));
    cmdExportRows = button("cmdExportRows", QStringLiteral("Export Rows..."));
    cmdExportList = button("cmdExportList", QStringLiteral("Export List..."));
    cmdClose = button("cmdClose", QStringLiteral("Close"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Offered list:"), this), 0, 0);
    grid->addWidget(cmbLists, 0, 1, 1, 2);
    grid->addWidget(lblListInfo, 1, 1, 1, 2);
    grid->addWidget(cmdImport, 2, 0);
    grid->addWidget(cmdDeleteList, 2, 1);
    grid->addWidget(cmdPutInRows, 2, 2);
    grid->addWidget(cmdExportRows, 3, 0);
    grid->addWidget(cmdExportList, 3, 1);
    grid->addWidget(cmdClose, 3, 2);

    connect(cmdImport, &QPushButton::clicked, this, &ListWindow::importClicked);
    connect(cmdDeleteList, &QPushButton::clicked, this, &ListWindow::deleteClicked);
    connect(cmdPutInRows, &QPushButton::clicked, this, &ListWindow::putInRowsClicked);
    connect(cmdExportRows, &QPushButton::clicked, this, &ListWindow::exportRowsClicked);
    connect(cmdExportList, &QPushButton::clicked, this, &ListWindow::exportListClicked);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmbLists, &QComboBox::activated, this, &ListWindow::offeredChanged);
    refresh();
}

void ListWindow::refresh() {
    const QSignalBlocker blocker(cmbLists);
    cmbLists->clear();
    for (const KeptList& list : state_.lists.lists)
        cmbLists->addItem(list.name);
    cmbLists->setCurrentIndex(state_.lists.offered);
    const KeptList* offered = state_.lists.offeredList();
    const int count = int(offeredObjects().size());
    lblListInfo->setText(offered ? QStringLiteral("%1 objects").arg(count)
                                 : QStringLiteral("No list kept yet: import one."));
    for (QWidget* w : {static_cast<QWidget*>(cmbLists), static_cast<QWidget*>(cmdDeleteList),
                       static_cast<QWidget*>(cmdPutInRows), static_cast<QWidget*>(cmdExportList)})
        w->setEnabled(offered != nullptr);
}

void ListWindow::saveLists(const QString& whatHappened) {
    QString error;
    if (!SaveKeptLists(state_, &error))
        showMessage(this, whatHappened +
                              QStringLiteral(" but the lists could not be kept for the "
                                             "next start:\n\n") +
                              error);
}

std::vector<int> ListWindow::rowObjects() const {
    std::vector<int> objects;
    for (int j = 0; j < ListRowCount; ++j)
        if (state_.listSlots[size_t(j)] > 0) objects.push_back(state_.listSlots[size_t(j)] - 1);
    return objects;
}

std::vector<int> ListWindow::offeredObjects() const {
    std::vector<int> objects;
    if (const KeptList* list = state_.lists.offeredList())
        for (int index : list->objects)
            if (index >= 0) objects.push_back(index);
    return objects;
}

void ListWindow::ImportFile(const QString& path) {
    const ListImportResult result = ImportListFile(path, state_.store, state_.lists);
    if (!result.ok) {
        showMessage(this, result.error);
        return;
    }
    bool anyKept = false;
    for (const ListImportReport& report : result.lists)
        anyKept = anyKept || report.kept;
    // A list just imported is what the observer wants to see in the chooser.
    if (anyKept) {
        state_.lists.ticked = true;
        saveLists(QStringLiteral("The list was imported,"));
    }
    refresh();
    showReport(this, ImportReportText(path, result));
}

void ListWindow::ExportTo(const QString& path, const std::vector<int>& objects) {
    QString error;
    if (!WriteWholeFile(path, ListTextFor(path, state_.store, objects), &error))
        showMessage(this, error);
}

void ListWindow::importClicked() {
    const QString path = chooseImportFile(this);
    if (!path.isEmpty()) ImportFile(path);
}

void ListWindow::deleteClicked() {
    const KeptList* list = state_.lists.offeredList();
    if (!list || !askQuestion(this, QStringLiteral("Delete the list \"%1\"?").arg(list->name)))
        return;
    state_.lists.lists.erase(state_.lists.lists.begin() + state_.lists.offered);
    if (state_.lists.offered >= int(state_.lists.lists.size()))
        state_.lists.offered = int(state_.lists.lists.size()) - 1;
    if (state_.lists.offered < 0) state_.lists.ticked = false;
    saveLists(QStringLiteral("The list was deleted,"));
    refresh();
}

void ListWindow::putInRowsClicked() {
    const std::vector<int> passing = ListObjectsPassing(state_, filters_, offeredObjects());
    const int stored = PutObjectsInFreeRows(state_, passing);
    lblListInfo->setText(
        QStringLiteral("%1 objects; %2 put in rows.").arg(offeredObjects().size()).arg(stored));
}

void ListWindow::exportRowsClicked() {
    const std::vector<int> objects = rowObjects();
    if (objects.empty()) {
        showMessage(this, QStringLiteral("No object is picked: there are no rows to export."));
        return;
    }
    const QString path = chooseExportFile(this, QStringLiteral("zenitor-rows.skylist"));
    if (!path.isEmpty()) ExportTo(path, objects);
}

void ListWindow::exportListClicked() {
    const KeptList* list = state_.lists.offeredList();
    if (!list) return;
    QString fileName = list->name;
    fileName.replace(u'/', u'-');
    const QString path = chooseExportFile(this, fileName + QStringLiteral(".skylist"));
    if (!path.isEmpty()) ExportTo(path, offeredObjects());
}

void ListWindow::offeredChanged(int index) {
    if (index < 0 || index == state_.lists.offered) return;
    state_.lists.offered = index;
    saveLists(QStringLiteral("Another list is offered,"));
    refresh();
}
