#include "mainwindow/mainwindow.h"

#include "kit/programmessage.h"
#include "sky/civiltime.h"
#include "sky/daylightcheck.h"
#include "sky/skytime.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

// The observing time: Now or a typed instant, the clock label and the two timers. Now is the
// present instant shown as the applied site's civil time, whatever zone the computer runs on.

QString MainWindow::clockLabelText() const {
    return CivilDateTimeText(SiteCivilNow(state_.sky)) + QStringLiteral(" (Now)");
}

QString MainWindow::observingTimeText() const {
    return CivilDateTimeText(state_.sky.ObservingTime);
}

void MainWindow::chkNowClicked() {
    if (!leaveCheckPasses()) return;
    if (chkNow->isChecked()) {
        SetObservingTime(state_.sky, QStringLiteral("Now"));
        showStatus(LblNow, clockLabelText());
        ShowObjectList();
        SelectObjects();
        if (!guideMode_) Timer1->start();
        // A text that is no date is dropped; the next untick fills the box from the clock.
        if (!validateMonth()) txtMonth->clear();
        txtMonth->setEnabled(false);
    } else {
        const CivilTime now = SiteCivilNow(state_.sky);
        if (txtMonth->text().isEmpty()) txtMonth->setText(CivilDateTimeText(now));
        // The instant freezes at the click; a text already in the box counts only after Set.
        SetObservingTime(state_.sky, now);
        ShowObjectList();
        SelectObjects();
        Timer1->stop();
        txtMonth->setEnabled(true);
        showStatus(LblNow, observingTimeText());
    }
}

void MainWindow::cmdSetClicked() {
    if (!leaveCheckPasses()) return;
    if (!IsCivilDateTime(txtMonth->text())) {
        ShowProgramMessage(this, QStringLiteral("Invalid Date"));
        return;
    }
    if (chkNow->isChecked()) return;
    const CivilTime typed = *ParseCivilDateTime(txtMonth->text());
    const CivilToUtc reading = state_.sky.siteClock.toUtc(typed);
    const QString site = appliedSite_ >= 0 && std::size_t(appliedSite_) < state_.sites.size()
                             ? state_.sites[std::size_t(appliedSite_)].Name
                             : QString();
    if (reading.reading == CivilReading::Skipped) {
        ShowProgramMessage(this, SkippedTimeMessage(typed, reading, site));
        return;
    }
    SetObservingTime(state_.sky, typed);
    SelectObjects();
    ShowObjectList();
    const QString text = observingTimeText();
    reading.reading == CivilReading::Repeated
        ? showStatusWarning(LblNow, RepeatedTimeNote(typed, site))
        : showStatus(LblNow, text);
    txtMonth->setText(text);
}

bool MainWindow::validateMonth() {
    return IsCivilDateTime(txtMonth->text());
}

void MainWindow::Timer1Tick() {
    showStatus(LblNow, clockLabelText());
    ShowObjectList();
}

void MainWindow::Timer2Tick() {
    ++selectionAge_;
    if (selectionAge_ > 4) SelectObjects();
}
