#pragma once

#include "objectlist/selection.h"
#include "state/appstate.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class ChooserSearch;
class QCheckBox;
class QComboBox;
class QDialog;
class QLineEdit;
class QScrollBar;
class QStringListModel;
class QTimer;

// One row of the object list: a label that reports a click (press and release on it). A row
// whose object stands behind the site's own horizon is drawn in italics over a hatching in the
// text colour (so also in the night display) and says so to screen readers and in its tooltip.
class ObjectRowLabel : public QLabel {
    Q_OBJECT
public:
    ObjectRowLabel(int index, QWidget* parent);
    int index() const { return index_; }
    void setBehindHorizon(bool behind);
    bool behindHorizon() const { return behind_; }

signals:
    void clicked(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int index_;
    bool pressed_ = false;
    bool behind_ = false;
};

// A push button whose caption breaks over several lines when it is wider than the button.
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The window the observer works in: observing time, site, catalogues and limiting magnitude,
// the object chooser, the 22 rows of picked objects and the status line.
//
// Every control carries its name as objectName. The two control arrays keep the array name on
// every member and their index in the dynamic property "index": the 22 rows are "lblObjList"
// with index 0..21, the site label is "lblLocInfo" with index 1. The timers are the children
// "Timer1" and "Timer2".
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(AppState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What runs each time the window becomes the active window: on its first showing and when a
    // modal window of the program opened from here closes. Re-applies the site of the current
    // site index, runs the selection, shows the observing time and recomputes the rows.
    void RunActivationSequence();

    // Refills the chooser from the catalogue boxes, the options and the limiting magnitude, and
    // writes the count line. Leaves the rows alone.
    void SelectObjects();
    // Recomputes every occupied row for the site and observing time in force.
    void ShowObjectList();
    // Lists every site in cmbLoc; the one at `index` (if any) is selected and applied.
    void ApplySite(std::int16_t index);
    // Hands site `index` to the sky computations: position, clock and horizon profile.
    void ApplySiteRecord(std::int16_t index);

    // Shows a modal window of the program over this one; when it closes, `closed` (if given)
    // runs and then the activation sequence runs again (as it does on any return to this window
    // from such a window).
    void ShowModalWindow(QDialog& window, const std::function<void()>& closed = {});

    // Timer ticks, callable directly.
    void Timer1Tick();
    void Timer2Tick();

    std::int16_t SelectionAge() const { return selectionAge_; }
    bool GuideMode() const { return guideMode_; }

    QLabel* objectRow(int index) const { return rows_[std::size_t(index)]; }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void connectHandlers();

    // The observer's choices kept between runs: the controls start from the remembered ones, and
    // every change is written within about a second (the timer "SaveTimer"), so that a crash or
    // a flat battery loses at most that second.
    void applyRememberedChoices();
    void watchRememberedChoices();
    void scheduleSave();
    // Takes the choices from the controls into the remembered ones and writes them when they
    // differ from what was last written. The first failure is told once, in a message box,
    // unless `quietly` (the program is ending).
    void saveChoicesNow(bool quietly = false);
    // A file of choices that could not be read is told once, as the window first shows; it is
    // then never written.
    void tellUnreadableChoices();
    // The check boxes that are remembered, with their member of RememberedChoices.
    std::vector<std::pair<QCheckBox*, bool RememberedChoices::*>> rememberedBoxes() const;

    // Handlers of the controls.
    void catalogueBoxClicked();
    void chkNowClicked();
    void cmdSetClicked();
    void cmbLocClicked();
    void cmdLocEditClicked();
    void cmdNewLocClicked();
    void cmbDSOClicked();
    void rowClicked(int index);
    // Ctrl+Z: the last freed row's object back in its row (or the first free one).
    void putBackFreedRow();
    // A short note in place of the count line, which comes back after a few seconds or with
    // the next selection.
    void showNote(const QString& text);
    void sbDsoMagChanged(int value);
    void cmdGuideClicked();
    void chkPreciseClicked();
    // Puts the guide stars for the site and instant in force into the rows; false, with a
    // message and the rows as they were, when the star file cannot be read.
    bool showGuideStars();
    void command1Clicked();
    void cmdTonightClicked();

    // The offered observing list: its box and the button that opens the Lists window.
    void buildListControls();
    void chkListClicked();
    void cmdListsClicked();
    // The box shows the offered list's name, ticked as kept; without a list it is disabled.
    void refreshListBox();
    // The offered list's objects when its box is ticked, else null.
    const std::vector<int>* offeredListObjects() const;
    SelectionOptions selectionOptions() const;

    // The check made when the focus is about to leave a text box. Returns false when the move
    // is refused.
    bool validateMonth();
    // Puts a typed limiting magnitude into force (scroll bar, box text, selection); false, with
    // the limit in force back in the box, when it lies outside the scroll range.
    bool validateMagnitude();
    void refuseFocusMove(QLineEdit* box, const QString& message);
    // Runs the leave check of the box that has the focus before a control acts; false when the
    // action is refused.
    bool leaveCheckPasses();
    bool filterKey(QLineEdit* box, QKeyEvent* event);

    // Opens the location editor modally on record `slot`; isNew marks the empty record that
    // New Location has just appended (also when it is record 0, which a negative current site
    // index cannot express).
    void openLocationEditor(bool isNew);
    void returnedFromModal();

    // Status line texts shrink their font where they would not fit.
    void showStatus(QLabel* label, const QString& text);
    void showStatusWarning(QLabel* label, const QString& text);
    QString clockLabelText() const;
    // The applied site's name on the status line, with a warning when the computer's zone rules
    // contradict its daylight tick at the observing instant.
    void showSiteStatus();
    QString observingTimeText() const;

    AppState& state_;
    std::int16_t selectionAge_ = 0;
    // The site handed to the sky computations; -1 when none is. A site picked in the site box
    // becomes the current site index as well, so every activation applies it again.
    std::int16_t appliedSite_ = -1;
    bool guideMode_ = false;
    bool activationDue_ = true;
    bool firstShowDone_ = false;
    // Set while a refused move is being undone: presses on other controls of the window are
    // dropped, so the control clicked to leave the box does not act.
    QLineEdit* refusingBox_ = nullptr;
    // From a refused move until the focus is back in the box.
    bool refusalPending_ = false;
    QTimer* saveTimer_ = nullptr;
    // Freed rows, the last one last: row index and the slot value it held.
    std::vector<std::pair<int, std::int16_t>> freedRows_;
    QString statsText_;
    // The last store slot the last selection pass examined (see SelectObjects).
    int lastSlotExamined_ = -1;
    QTimer* noteTimer_ = nullptr;
    RememberedChoices lastSaved_;
    bool toldCannotSave_ = false;

    QLineEdit* txtMonth = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtDSOMaxMag = nullptr;
    QScrollBar* sbDsoMag = nullptr;
    QCheckBox* chkShowAll = nullptr;
    QCheckBox* chkInView = nullptr;
    QComboBox* cmbLoc = nullptr;
    QCheckBox* chkNow = nullptr;
    QPushButton* cmdSet = nullptr;
    QComboBox* cmbDSO = nullptr;
    QStringListModel* chooserModel_ = nullptr;
    ChooserSearch* chooserSearch_ = nullptr;
    QPushButton* cmdLocEdit = nullptr;
    QPushButton* cmdNewLoc = nullptr;
    QLabel* Label1 = nullptr;
    std::array<ObjectRowLabel*, 22> rows_{};
    QCheckBox* chkMess = nullptr;
    QCheckBox* chkHer = nullptr;
    QCheckBox* chkCal = nullptr;
    QCheckBox* chkBNGC = nullptr;
    QCheckBox* chkSAC = nullptr;
    QCheckBox* chkNGC = nullptr;
    QCheckBox* chkIC = nullptr;
    QCheckBox* chkPlanet = nullptr;
    QCheckBox* chkList = nullptr;
    QPushButton* cmdLists = nullptr;
    QCheckBox* chkPrecise = nullptr;
    QPushButton* cmdGuide = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* cmdTonight = nullptr;
    // The Tonight window once opened; it follows every recomputation of the rows.
    QPointer<QWidget> tonight_;
    QLabel* LblNow = nullptr;
    QLabel* lblLocInfo = nullptr;
    QLabel* lblDSOstats = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
};

// The font of the object rows and their header: Courier New, bold, 12 point, or the system's
// fixed-width font at that size and weight where Courier New is not installed or would come out
// with uneven character widths.
QFont ObjectListFont();
