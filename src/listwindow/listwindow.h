#pragma once

#include "objectlist/selection.h"
#include "state/appstate.h"

#include <QDialog>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

// The Lists window: the kept lists in a drop-down (the one shown is the one the main window's
// list box offers), and the buttons that import, delete, put in rows and export. Every control
// carries its name as objectName.
class ListWindow : public QDialog {
    Q_OBJECT
public:
    ListWindow(AppState& state, const SelectionOptions& filters, QWidget* parent = nullptr);

    // Seams for tests: how a file to import or to export to is chosen (an empty path: the
    // observer cancelled), how messages and the import report are shown, and the question asked
    // before a list is deleted.
    std::function<QString(QWidget* parent)> chooseImportFile;
    std::function<QString(QWidget* parent, const QString& suggestedName)> chooseExportFile;
    std::function<void(QWidget* parent, const QString& text)> showMessage;
    std::function<void(QWidget* parent, const QString& text)> showReport;
    std::function<bool(QWidget* parent, const QString& text)> askQuestion;

    void ImportFile(const QString& path);
    void ExportTo(const QString& path, const std::vector<int>& objects);

private:
    void importClicked();
    void deleteClicked();
    void putInRowsClicked();
    void exportRowsClicked();
    void exportListClicked();
    void offeredChanged(int index);
    void refresh();
    void saveLists(const QString& whatHappened);
    std::vector<int> rowObjects() const;
    std::vector<int> offeredObjects() const;

    AppState& state_;
    SelectionOptions filters_;
    QComboBox* cmbLists = nullptr;
    QLabel* lblListInfo = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdDeleteList = nullptr;
    QPushButton* cmdPutInRows = nullptr;
    QPushButton* cmdExportRows = nullptr;
    QPushButton* cmdExportList = nullptr;
    QPushButton* cmdClose = nullptr;
};

// The report of an import in a window of its own, modal, with an OK button.
void ShowImportReport(QWidget* parent, const QString& text);
