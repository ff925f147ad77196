#pragma once

#include "locationeditor/sitetablechange.h"

#include "state/appstate.h"

#include <QDialog>
#include <QLineEdit>
#include <QString>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// One of the fifteen numeric fields of the Location window: whole numbers only (and, for the time
// zone, a minus sign), checked against its bounds when the focus leaves it.
class SiteNumberField : public QLineEdit {
    Q_OBJECT
public:
    SiteNumberField(const QString& name, int low, int high, bool allowMinus, const QString& message,
                    QWidget* parent);

    // The whole number the text stands for. False when it stands for none: an empty field, a lone
    // "-", a minus sign that is not in front, or more digits than any valid value has.
    bool readValue(int* value) const;
    // Readable and within the bounds (the bounds themselves are valid).
    bool holdsValidValue() const;
    const QString& message() const { return message_; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int low_;
    int high_;
    bool allowMinus_;
    QString message_;
};

// The Location Editor: edits, creates and deletes one site of the table, then closes.
//
// It works on the record whose slot is the absolute value of the current site index; a negative
// index (or `newRecord`) means that record is the empty one the caller has just appended for a new
// site. Build it afresh for each use and run it modally:
//     LocationWindow w(state, parent, isNewSite);
//     w.exec();
// It never changes the current site index. Save and Delete rewrite the locations file.
class LocationWindow : public QDialog {
    Q_OBJECT
public:
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class Answer { Ok, Cancel, Yes, No };

    // `newRecord` marks the record as new even when the index cannot: the first site of an empty
    // table sits in slot 0, and minus 0 is 0.
    explicit LocationWindow(AppState& state, QWidget* parent = nullptr, bool newRecord = false);
    ~LocationWindow() override;

    // Shows a modal message box (no icon) and returns the button pressed. Replaceable so that a
    // test can answer without a box on screen.
    std::function<Answer(const QString& text, const QString& title, Buttons buttons)> ask;
    // Tells the user that writing the locations file failed.
    std::function<void(const QString& reason)> reportSaveFailure;

    // The record the window works on, and whether it is a new site.
    int slot() const { return slot_; }
    bool isNew() const { return isNew_; }
    // The record saved or deleted before the window closed; None after Abort!, Escape or No.
    SiteTableChange change() const { return change_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseRecord(bool newRecord);
    void leaveWithoutAction();
    void buildControls();
    void fillControls();
    // What the computer's zone says of daylight time today, for the zone in txtTZ.
    void showComputerDaylight();
    // The time-zone name choice (zonechoice.cpp), placed at `top` twips below the other controls.
    void buildZoneChoice(int top);
    void showZoneName(const QByteArray& name);
    // Fills and locks the zone and DST boxes for a chosen name; unlocks them for a fixed offset.
    void applyZoneName();
    // A new site whose typed zone is the computer's standard offset is offered the computer's
    // zone name, once.
    void proposeComputerZone();
    // The chosen name; empty for "Fixed offset" or a text that names no zone.
    QByteArray chosenZoneName() const;
    bool zoneChoiceReadable() const;
    // Runs the leave check of the focused numeric field before the focus moves elsewhere; false
    // (after the field's message) when the move is refused.
    bool focusMayLeave();
    bool anyPrimary() const;
    // The primary check shared by Save and Delete: writes the file when some site is primary or
    // the user agrees to have none. False, with nothing written, when the user cancels.
    bool confirmPrimaryAndWrite();
    void writeFile();
    void removeRecord();
    // Delete's steps, after the leave check.
    void deleteRecord();

    void cmdSaveClicked();
    void cmdDelClicked();
    void CmdAbortClicked();

    AppState& state_;
    int slot_ = 0;
    bool isNew_ = false;
    bool finished_ = false;
    SiteTableChange change_;

    QLineEdit* txtLocName = nullptr;
    SiteNumberField* txtLaD = nullptr;
    SiteNumberField* txtLaM = nullptr;
    SiteNumberField* txtLaS = nullptr;
    QCheckBox* chkS = nullptr;
    SiteNumberField* txtLoD = nullptr;
    SiteNumberField* txtLoM = nullptr;
    SiteNumberField* txtLoS = nullptr;
    QCheckBox* chkW = nullptr;
    SiteNumberField* txtTZ = nullptr;
    QCheckBox* chkDST = nullptr;
    QLabel* lblDSTHint = nullptr;
    // N, NE, E, SE, S, SW, W, NW: the order of the record's horizon values.
    SiteNumberField* horizon_[8] = {};
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdDel = nullptr;
    QPushButton* CmdAbort = nullptr;
    QCheckBox* chkPrimary = nullptr;
    QComboBox* cmbZoneName = nullptr;
    bool zoneProposed_ = false;
};
