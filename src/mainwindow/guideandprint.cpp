#include "mainwindow/mainwindow.h"

#include "kit/programmessage.h"
#include "objectlist/guidestars.h"
#include "printout/openprintout.h"

#include <QCheckBox>
#include <QDialog>
#include <QTimer>

// The guide-star button and the way into the print dialog.

void MainWindow::cmdGuideClicked() {
    if (!leaveCheckPasses()) return;
    if (guideMode_) {
        for (ObjectRowLabel* row : rows_)
            row->setText(QString());
        guideMode_ = false;
        ShowObjectList();
        if (chkNow->isChecked()) Timer1->start();
        return;
    }
    // Read afresh at every press, so an edited star file counts at once. When it cannot be read,
    // the rows, the mode and the timer stay as they were.
    const GuideStarRows stars = ComputeGuideStarRows(state_.sky, GuideStarFilePath(state_.dataDir));
    if (!stars.ok) {
        ShowProgramMessage(this,
                           QStringLiteral("The guide stars cannot be shown.\n\n") + stars.error);
        return;
    }
    Timer1->stop();
    // Rows below the last star keep what they showed.
    for (int i = 0; i < stars.rows.size() && i < int(rows_.size()); ++i)
        rows_[std::size_t(i)]->setText(stars.rows[i]);
    guideMode_ = true;
}

void MainWindow::command1Clicked() {
    if (!leaveCheckPasses()) return;
    const bool wasNow = state_.sky.UseNow;
    const CivilTime before = state_.sky.ObservingTime;
    const std::unique_ptr<QDialog> dialog = CreatePrintDialog(state_, this);
    ShowModalWindow(*dialog);
    showTypedInstantAfterPrint(wasNow, before);
}
