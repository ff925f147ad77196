#include "mainwindow/mainwindow.h"

#include "kit/inputrules.h"
#include "kit/programmessage.h"
#include "sky/civiltime.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalBlocker>
#include <QTimer>

// Key filters of the two text boxes and the checks made when the focus leaves them.

namespace {

const QString kMagnitudeMessage = QStringLiteral("Invalid magnitude.  Must be between 0 and 20.");

} // namespace

bool MainWindow::filterKey(QLineEdit* box, QKeyEvent* event) {
    // Escape puts back the instant in use, as the status line shows it: a quick way out of a
    // text that went wrong.
    if (event->key() == Qt::Key_Escape && box == txtMonth) {
        box->setText(observingTimeText());
        return true;
    }
    if (event->matches(QKeySequence::SelectAll)) return false;
    // The date-time box takes a pasted text that it would take typed, character by character.
    if (box == txtMonth && event->matches(QKeySequence::Paste)) {
        const QString pasted = QGuiApplication::clipboard()->text();
        QString kept = box->text();
        kept.remove(box->selectionStart(), box->selectedText().size());
        if (DateTextPasses(pasted, kept, CivilSeparators(), CivilTimeHasMarker()))
            box->insert(pasted);
        return true;
    }
    const TypedKey key = ClassifyKey(*event);
    // Where the locale writes a decimal comma, its key types the point the box holds.
    if (key.kind == KeyKind::Character && box == txtDSOMaxMag) {
        const QChar point = DecimalPointTyped(key.character);
        if (point != key.character) {
            if (MagnitudeCharacterPasses(point, box->text())) box->insert(QString(point));
            return true;
        }
    }
    switch (key.kind) {
    case KeyKind::Backspace:
    case KeyKind::Movement:
        return false;
    case KeyKind::Return:
        if (box == txtMonth) cmdSetClicked();
        return true;
    case KeyKind::Editing:
        return true;
    case KeyKind::Character:
        return box == txtMonth ? !DateCharacterPasses(key.character, box->text(), CivilSeparators(),
                                                      CivilTimeHasMarker())
                               : !MagnitudeCharacterPasses(key.character, box->text());
    }
    return true;
}

void MainWindow::refuseFocusMove(QLineEdit* box, const QString& message) {
    // The focus has already gone to the control that was clicked or tabbed to. The press that
    // took it there is still on its way to that control and is dropped (see eventFilter), so a
    // clicked button does not act; then the message shows and the focus goes back to the box.
    refusingBox_ = box;
    refusalPending_ = true;
    qApp->installEventFilter(this);
    QPointer<QLineEdit> guarded(box);
    QMetaObject::invokeMethod(
        this,
        [this, guarded, message] {
            qApp->removeEventFilter(this);
            refusingBox_ = nullptr;
            ShowProgramMessage(this, message);
            // Without a window manager nobody hands the activation back after the message.
            activateWindow();
            if (guarded && guarded->isEnabled()) guarded->setFocus(Qt::OtherFocusReason);
            refusalPending_ = false;
        },
        Qt::QueuedConnection);
}

bool MainWindow::leaveCheckPasses() {
    // Clicks give the focus to the control first, so the box has been checked on its way out.
    // An accessibility action or a shortcut acts with the focus still in the box: its check runs
    // here, with the same message and the same refusal.
    bool passes = !refusalPending_;
    if (passes && focusWidget() == txtDSOMaxMag && !validateMagnitude()) {
        ShowProgramMessage(this, kMagnitudeMessage);
        txtDSOMaxMag->setFocus(Qt::OtherFocusReason);
        passes = false;
    }
    // Ticking Now is always a way out of the date-time box, whatever it holds.
    if (passes && focusWidget() == txtMonth && txtMonth->isEnabled() && sender() != chkNow &&
        !validateMonth()) {
        ShowProgramMessage(this, QStringLiteral("Invalid Date"));
        txtMonth->setFocus(Qt::OtherFocusReason);
        passes = false;
    }
    // A refused check box keeps the state it had.
    auto* acting = qobject_cast<QAbstractButton*>(sender());
    if (!passes && acting && acting->isCheckable()) {
        const QSignalBlocker block(acting);
        acting->setChecked(!acting->isChecked());
    }
    return passes;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Left unaccepted, the key goes on to the window's Ctrl+Z instead of the box's own undo.
    if (event->type() == QEvent::ShortcutOverride && !freedRows_.empty() &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo)) {
        event->ignore();
        return true;
    }
    if (refusingBox_) {
        const QEvent::Type t = event->type();
        if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick) {
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && w->window() == this && w != refusingBox_) return true;
        }
    }

    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box != txtMonth && box != txtDSOMaxMag) return QWidget::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::KeyPress:
        return filterKey(box, static_cast<QKeyEvent*>(event));
    case QEvent::InputMethod:
        // Text composed by an input method would arrive past the key filter.
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        // The middle button pastes the selection on X11; pasting bypasses the key filter.
        return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    case QEvent::FocusIn:
        if (box == txtDSOMaxMag) {
            // After the click that brought the focus has placed the cursor.
            QPointer<QLineEdit> guarded(box);
            QTimer::singleShot(0, this, [guarded] {
                if (guarded && guarded->hasFocus()) guarded->selectAll();
            });
        }
        break;
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching windows or opening a popup does not leave the box for another control.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
            reason == Qt::MenuBarFocusReason)
            break;
        // Going to tick Now leaves the date-time box whatever it holds: Now drops a bad text.
        const bool toNow = QApplication::focusWidget() == chkNow && !chkNow->isChecked();
        if (box == txtDSOMaxMag && !validateMagnitude())
            refuseFocusMove(box, kMagnitudeMessage);
        else if (box == txtMonth && !toNow && !validateMonth())
            refuseFocusMove(box, QStringLiteral("Invalid Date"));
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
