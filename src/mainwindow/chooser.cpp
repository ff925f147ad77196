#include "mainwindow/mainwindow.h"

#include "catalog/readingrules.h"
#include "kit/inputrules.h"
#include "mainwindow/choosersearch.h"
#include "objectlist/objectrows.h"
#include "objectlist/selection.h"
#include "tonight/opentonight.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QStringListModel>
#include <QTimer>

// The chooser, the catalogue boxes and the limiting magnitude: the selection pass and the rows.

namespace {

// The hourglass pointer for as long as the guard lives.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

void MainWindow::SelectObjects() {
    selectionAge_ = 0;
    BusyCursor busy;
    const SelectionOptions options = selectionOptions();
    const SelectionResult result = ::SelectObjects(state_, options);
    // One step through the model: the chooser is refilled without adding entries one by one.
    chooserModel_->setStringList(result.lines);
    cmbDSO->setCurrentIndex(-1);
    cmbDSO->setEditText(QString());
    statsText_ = result.statsText;
    lastSlotExamined_ = result.lastSlotExamined;
    noteTimer_->stop();
    showStatus(lblDSOstats, statsText_);
}

SelectionOptions MainWindow::selectionOptions() const {
    SelectionOptions options;
    options.messier = chkMess->isChecked();
    options.herschel = chkHer->isChecked();
    options.caldwell = chkCal->isChecked();
    options.bestNgc = chkBNGC->isChecked();
    options.sac = chkSAC->isChecked();
    options.ngc = chkNGC->isChecked();
    options.ic = chkIC->isChecked();
    options.planets = chkPlanet->isChecked();
    options.showAll = chkShowAll->isChecked();
    options.inViewOnly = chkInView->isChecked();
    // The limit in force is the scroll bar's: a number still being typed counts once the box is
    // left.
    options.magLimit = sbDsoMag->value() / 10.0;
    options.listObjects = offeredListObjects();
    return options;
}

void MainWindow::ShowObjectList() {
    // Every change of site, instant or mode ends here, and so does the status line's check of
    // the site's daylight tick.
    showSiteStatus();
    const ObjectListRows rows = ::ShowObjectList(state_);
    for (std::size_t j = 0; j < std::size_t(ObjectListRowCount); ++j) {
        if (!rows.written[j]) continue;
        rows_[j]->setText(rows.text[j]);
        rows_[j]->setBehindHorizon(rows.behindHorizon[j]);
    }
    RefreshTonightWindow(tonight_);
}

void MainWindow::catalogueBoxClicked() {
    if (!leaveCheckPasses()) return;
    SelectObjects();
}

void MainWindow::cmbDSOClicked() {
    const int entry = cmbDSO->currentIndex();
    if (entry < 0) return;
    PickChooserEntry(state_, entry);
    ShowObjectList();
    ShowChooserFieldFromStart(cmbDSO);
}

void MainWindow::rowClicked(int index) {
    const std::int16_t slot = state_.listSlots[std::size_t(index)];
    FreeListRow(state_, index);
    rows_[std::size_t(index)]->setText(FreedRowText());
    rows_[std::size_t(index)]->setBehindHorizon(false);
    RefreshTonightWindow(tonight_);
    if (slot <= 0 || std::size_t(slot) > state_.store.objects.size()) return;
    freedRows_.emplace_back(index, slot);
    const QString name = state_.store.objects[std::size_t(slot - 1)].Designation.TrimmedText();
    showNote(QStringLiteral("Row %1 freed: Ctrl+Z puts %2 back").arg(index + 1).arg(name));
}

void MainWindow::putBackFreedRow() {
    if (freedRows_.empty()) return;
    const auto [row, slot] = freedRows_.back();
    freedRows_.pop_back();
    const int used = PutBackFreedObject(state_, row, slot);
    const QString name = state_.store.objects[std::size_t(slot - 1)].Designation.TrimmedText();
    if (used < 0) {
        freedRows_.emplace_back(row, slot); // kept for when a row is free again
        showNote(QStringLiteral("No free row to put %1 back").arg(name));
        return;
    }
    if (!guideMode_) ShowObjectList();
    showNote(QStringLiteral("%1 back in row %2").arg(name).arg(used + 1));
    scheduleSave();
}

void MainWindow::showNote(const QString& text) {
    showStatus(lblDSOstats, text);
    noteTimer_->start();
}

void MainWindow::sbDsoMagChanged(int value) {
    txtDSOMaxMag->setText(MagnitudeTenthsText(value));
    SelectObjects();
}

bool MainWindow::validateMagnitude() {
    // An empty box (or a lone point) counts as 0. A new value runs the scroll bar's Change
    // handler at once (text rewritten, selection run); the text is written in the same form when
    // the value stays, so the box always shows the limit in force.
    const int tenths = MagnitudeLimitTenths(txtDSOMaxMag->text());
    const bool valid = tenths >= sbDsoMag->minimum() && tenths <= sbDsoMag->maximum();
    if (valid) sbDsoMag->setValue(tenths);
    txtDSOMaxMag->setText(MagnitudeTenthsText(sbDsoMag->value()));
    return valid;
}
