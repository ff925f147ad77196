#include "mainwindow/mainwindow.h"

#include "locationeditor/openlocationeditor.h"
#include "sky/angles.h"
#include "sky/coordinates.h"
#include "sky/daylightcheck.h"
#include "sky/horizon.h"
#include "sky/skytime.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QSignalBlocker>

// The choice of site: the site list, applying a site, and the way into the Location Editor.

namespace {

const QString kNoPrimaryLocation = QStringLiteral("No Primary Location");

} // namespace

void MainWindow::ApplySiteRecord(std::int16_t index) {
    if (index < 0 || std::size_t(index) >= state_.sites.size()) return;
    const SiteLocation& site = state_.sites[std::size_t(index)];
    const double latitude = DegMinToRadians(site.LatDeg, site.LatMin + site.LatSec / 60.0);
    const double longitude = DegMinToRadians(site.LonDeg, site.LonMin + site.LonSec / 60.0);
    SetObserverPosition(state_.sky, latitude, longitude);
    // QTimeZone takes an empty name for the computer's zone: no name means no zone here.
    SetSiteClock(state_.sky, site.TimeZone, site.DST != 0,
                 site.ZoneName.isEmpty() ? QTimeZone() : QTimeZone(site.ZoneName));
    BuildHorizonProfile(state_.horizon, site.Horizon);
    appliedSite_ = index;
    // The clock label shows the present at the site in force, not at the one before.
    if (chkNow->isChecked() && !guideMode_) showStatus(LblNow, clockLabelText());
}

void MainWindow::showSiteStatus() {
    if (appliedSite_ < 0 || std::size_t(appliedSite_) >= state_.sites.size()) return;
    const SkyState& sky = state_.sky;
    const QString& name = state_.sites[std::size_t(appliedSite_)].Name;
    // A names store that could not be read is told once, in place of the site's own state.
    if (!state_.zoneNamesNotice.isEmpty()) {
        showStatusWarning(lblLocInfo, name + QStringLiteral(": ") + state_.zoneNamesNotice);
        state_.zoneNamesNotice.clear();
        return;
    }
    // A named zone's rules decide daylight time by date; only a tick can go stale.
    const DaylightTick tick = sky.siteClock.isNamed()
                                  ? DaylightTick::NotChecked
                                  : CheckDaylightTick(sky.computerZone, sky.SiteTimeZone,
                                                      sky.SiteDaylight, InstantInUse(sky).utc);
    const QString text = SiteStatusText(name, tick);
    const bool warns =
        tick == DaylightTick::TickedInStandardTime || tick == DaylightTick::UntickedInDaylightTime;
    warns ? showStatusWarning(lblLocInfo, text) : showStatus(lblLocInfo, text);
}

void MainWindow::ApplySite(std::int16_t index) {
    // Entries are added with the combo's own signals blocked (adding the first entry to an empty
    // combo would otherwise select it); the one selection this makes runs the Click on purpose.
    bool found = false;
    {
        const QSignalBlocker block(cmbLoc);
        cmbLoc->clear();
        cmbLoc->setEditText(kNoPrimaryLocation);
    }
    for (std::size_t i = 0; i < state_.sites.size(); ++i) {
        {
            const QSignalBlocker block(cmbLoc);
            cmbLoc->addItem(state_.sites[i].Name);
        }
        if (std::int16_t(i) == index) {
            found = true;
            showStatus(lblLocInfo, state_.sites[i].Name);
            ApplySiteRecord(index);
            {
                const QSignalBlocker block(cmbLoc);
                cmbLoc->setCurrentIndex(int(i));
            }
            cmbLocClicked();
        }
    }
    if (!found) {
        appliedSite_ = -1;
        const QSignalBlocker block(cmbLoc);
        cmbLoc->setCurrentIndex(-1);
        cmbLoc->setEditText(kNoPrimaryLocation);
    }
}

void MainWindow::cmbLocClicked() {
    const int i = cmbLoc->currentIndex();
    if (i < 0 || std::size_t(i) >= state_.sites.size()) return;
    // The picked site is the program's current site from now on: the next activation (after the
    // print dialog or the Location Editor) applies it again instead of the primary one.
    SetCurrentSiteIndex(state_, std::int16_t(i));
    showStatus(lblLocInfo, state_.sites[std::size_t(i)].Name);
    ApplySiteRecord(std::int16_t(i));
    scheduleSave();
    SelectObjects();
    ShowObjectList();
}

void MainWindow::cmdLocEditClicked() {
    if (!leaveCheckPasses()) return;
    int i = cmbLoc->currentIndex();
    // A name typed over the entry counts only when it names a site.
    if (i < 0 || cmbLoc->itemText(i) != cmbLoc->currentText())
        i = cmbLoc->findText(cmbLoc->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    // With no site chosen there is nothing to edit; rather than handing the editor an index it
    // would read as "new site in slot 1" (and so risk an existing site), the button then creates
    // a new site exactly like New Location. This also makes it useful when no site exists yet.
    if (i < 0 || std::size_t(i) >= state_.sites.size()) {
        cmdNewLocClicked();
        return;
    }
    SetCurrentSiteIndex(state_, std::int16_t(i));
    openLocationEditor(false);
}

void MainWindow::cmdNewLocClicked() {
    if (!leaveCheckPasses()) return;
    // The table is indexed by 16-bit values; a further record could not be addressed.
    if (state_.sites.size() >= 32767) return;
    state_.sites.push_back(SiteLocation{});
    const int slot = int(state_.sites.size()) - 1;
    // Minus the new index; for the very first site that is 0, which is why the editor is also
    // told explicitly that the record is new.
    SetCurrentSiteIndex(state_, std::int16_t(-slot));
    openLocationEditor(true);
}

namespace {

std::int16_t SiteAfterEdit(const SiteTable& sites, std::int16_t applied, SiteTableChange change) {
    using Kind = SiteTableChange::Kind;
    if (change.kind == Kind::Saved) return std::int16_t(change.slot);
    if (change.kind == Kind::Deleted) {
        if (applied > change.slot) return std::int16_t(applied - 1);
        if (applied == change.slot) {
            // The applied site is gone: the primary site (the last one flagged, as at start-up),
            // else the first, so that some site stays in force.
            for (std::size_t i = sites.size(); i-- > 0;)
                if (sites[i].Primary != 0) return std::int16_t(i);
            return sites.empty() ? std::int16_t(-1) : std::int16_t(0);
        }
    }
    return applied;
}

} // namespace

void MainWindow::openLocationEditor(bool isNew) {
    // The editor takes its slot from the current site index; `isNew` marks slot 0 of an empty
    // table, whose minus is still 0. Once it closes, the current site is the one just saved, or
    // the one applied before (moved up when a site above it went).
    const std::int16_t applied = appliedSite_;
    const std::unique_ptr<QDialog> editor = CreateLocationEditor(state_, this, isNew);
    ShowModalWindow(*editor, [&] {
        SetCurrentSiteIndex(state_, SiteAfterEdit(state_.sites, applied, ChangeMadeBy(*editor)));
    });
}
