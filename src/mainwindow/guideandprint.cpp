#include "mainwindow/mainwindow.h"

#include "kit/programmessage.h"
#include "objectlist/guidestars.h"
#include "printout/openprintout.h"

#include <QCheckBox>
#include <QDialog>
#include <QTimer>

// The guide-star button, the Precise box and the way into the print dialog.

void MainWindow::cmdGuideClicked() {
    if (!leaveCheckPasses()) return;
    if (guideMode_) {
        for (ObjectRowLabel* row : rows_) {
            row->setText(QString());
            row->setBehindHorizon(false);
        }
        guideMode_ = false;
        ShowObjectList();
        if (chkNow->isChecked()) Timer1->start();
        return;
    }
    // When the star file cannot be read, the rows, the mode and the timer stay as they were.
    if (!showGuideStars()) return;
    Timer1->stop();
    guideMode_ = true;
}

bool MainWindow::showGuideStars() {
    // Read afresh every time, so an edited star file counts at once.
    const GuideStarRows stars = ComputeGuideStarRows(state_.sky, GuideStarFilePath(state_.dataDir));
    if (!stars.ok) {
        ShowProgramMessage(this,
                           QStringLiteral("The guide stars cannot be shown.\n\n") + stars.error);
        return false;
    }
    // Rows below the last star keep what they showed.
    for (int i = 0; i < stars.rows.size() && i < int(rows_.size()); ++i) {
        rows_[std::size_t(i)]->setText(stars.rows[i]);
        rows_[std::size_t(i)]->setBehindHorizon(false);
    }
    return true;
}

void MainWindow::chkPreciseClicked() {
    if (!leaveCheckPasses()) return;
    // A change of how positions are worked out, like a change of instant: the chooser and
    // whatever the rows show are worked out again.
    state_.sky.Precise = chkPrecise->isChecked();
    SelectObjects();
    if (guideMode_)
        showGuideStars();
    else
        ShowObjectList();
}

void MainWindow::command1Clicked() {
    if (!leaveCheckPasses()) return;
    // The print job puts the instant and the mode back as it found them, so the activation that
    // follows shows the window as it was (in Now mode the rows follow the clock again).
    const std::unique_ptr<QDialog> dialog = CreatePrintDialog(state_, this);
    ShowModalWindow(*dialog);
}
