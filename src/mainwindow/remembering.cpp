#include "mainwindow/mainwindow.h"

#include "kit/inputrules.h"
#include "kit/nightvision.h"
#include "kit/programmessage.h"
#include "kit/windowplace.h"
#include "mainwindow/choosersearch.h"
#include "state/remembering.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

// The choices the window keeps from one run to the next. The rows come back through the list
// slots that start-up filled, and the night display is switched on by start-up as well; the
// window sets its boxes, the limit and its place before it is first shown, so its first
// activation selects from them like any other.

std::vector<std::pair<QCheckBox*, bool RememberedChoices::*>> MainWindow::rememberedBoxes() const {
    return {{chkMess, &RememberedChoices::messier},    {chkHer, &RememberedChoices::herschel},
            {chkCal, &RememberedChoices::caldwell},    {chkBNGC, &RememberedChoices::bestNgc},
            {chkSAC, &RememberedChoices::sac},         {chkNGC, &RememberedChoices::ngc},
            {chkIC, &RememberedChoices::ic},           {chkPlanet, &RememberedChoices::planets},
            {chkShowAll, &RememberedChoices::showAll}, {chkInView, &RememberedChoices::inViewOnly},
            {chkPrecise, &RememberedChoices::precise}};
}

void MainWindow::applyRememberedChoices() {
    const RememberedChoices& r = state_.remembered;
    for (const auto& [box, member] : rememberedBoxes())
        box->setChecked(r.*member);
    state_.sky.Precise = chkPrecise->isChecked();
    {
        // Set as the window is made, not changed by the observer: no selection runs yet.
        const QSignalBlocker block(sbDsoMag);
        sbDsoMag->setValue(r.magnitudeTenths);
    }
    txtDSOMaxMag->setText(MagnitudeTenthsText(sbDsoMag->value()));
    PutWindowAt(this, RememberedPlace(r, objectName()));
    lastSaved_ = r;
}

void MainWindow::watchRememberedChoices() {
    saveTimer_ = new QTimer(this);
    saveTimer_->setObjectName(QStringLiteral("SaveTimer"));
    saveTimer_->setSingleShot(true);
    saveTimer_->setInterval(1000);
    connect(saveTimer_, &QTimer::timeout, this, [this] { saveChoicesNow(); });
    // Connected after the handlers, so the handlers have acted when the change is noted.
    for (const auto& box : rememberedBoxes())
        connect(box.first, &QCheckBox::toggled, this, &MainWindow::scheduleSave);
    connect(sbDsoMag, &QScrollBar::valueChanged, this, &MainWindow::scheduleSave);
    connect(cmbDSO, &QComboBox::activated, this, &MainWindow::scheduleSave);
    connect(chooserSearch_, &ChooserSearch::entryPicked, this, &MainWindow::scheduleSave);
    for (ObjectRowLabel* row : rows_)
        connect(row, &ObjectRowLabel::clicked, this, &MainWindow::scheduleSave);
    WhenNightVisionSwitches(this, [this] { scheduleSave(); });
}

void MainWindow::scheduleSave() {
    // Not restarted while it runs: changes in a quick row are written a second after the first.
    if (!state_.settingsPath.isEmpty() && !saveTimer_->isActive()) saveTimer_->start();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (firstShowDone_) scheduleSave();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The program ends with this window; nobody would be left to read a message.
    saveChoicesNow(true);
    QWidget::closeEvent(event);
}

void MainWindow::saveChoicesNow(bool quietly) {
    saveTimer_->stop();
    if (state_.settingsPath.isEmpty()) return;
    RememberedChoices& r = state_.remembered;
    for (const auto& [box, member] : rememberedBoxes())
        r.*member = box->isChecked();
    // The scroll bar holds the limit in force.
    r.magnitudeTenths = sbDsoMag->value();
    r.rows = RememberedRowsOf(state_);
    r.nightDisplay = NightVisionOn();
    if (appliedSite_ >= 0 && std::size_t(appliedSite_) < state_.sites.size())
        r.site = state_.sites[std::size_t(appliedSite_)].Name;
    if (isVisible()) r.windowPlaces[objectName()] = WindowPlace(this);
    if (r == lastSaved_) return;
    QString error;
    if (SaveRememberedChoices(state_, &error)) {
        lastSaved_ = r;
        return;
    }
    if (quietly || toldCannotSave_) return;
    toldCannotSave_ = true;
    ShowProgramMessage(this, error + QStringLiteral("\n\nThe program works as usual, but the "
                                                    "choices you make will not be kept for "
                                                    "its next start."));
}

void MainWindow::tellUnreadableChoices() {
    if (state_.settingsReadError.isEmpty() || toldCannotSave_) return;
    toldCannotSave_ = true;
    ShowProgramMessage(this, UnreadableChoicesMessage(state_));
}
