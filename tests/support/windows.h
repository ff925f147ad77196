#pragma once

// Shared set-up of the window tests: objects and sites written in code, a fixed clock, and a
// watcher that answers the modal windows a window opens.

#include "locationeditor/locationwindow.h"
#include "mainwindow/mainwindow.h"
#include "objectlist/bodyrecords.h"
#include "objectlist/objectrows.h"
#include "sky/civiltime.h"
#include "sky/coordinates.h"
#include "support/objects.h"

#include <QtTest>
#include <QtWidgets>

// Answers every modal window: message boxes with `answer` (or their only button), texts noted,
// titles with " icon", " YesNo", " narrow" or " cut" (too narrow for its title or text) as they
// apply; other dialogs closed, object names noted (with the Location Editor's slot).
class ModalWatcher : public QObject {
public:
    QStringList messages, titles, dialogs;
    QMessageBox::StandardButton answer = QMessageBox::No;

    ModalWatcher() {
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                QAbstractButton* ok = box->button(QMessageBox::Ok);
                const QFontMetrics title(box->font()); // room for it, the frame's icon and buttons
                const int room = title.horizontalAdvance(box->windowTitle()) + 6 * title.height();
                auto* text = box->findChild<QLabel*>("qt_msgbox_label"); // and for the text
                messages << box->text();
                titles << box->windowTitle() + (box->icon() ? " icon" : "") + (ok ? "" : " YesNo") +
                              (box->width() < room ? " narrow" : "") +
                              (text->width() < text->minimumSizeHint().width() ? " cut" : "");
                (box->button(answer) ? box->button(answer) : ok)->click();
            } else if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog != before_) {
                auto* editor = qobject_cast<LocationWindow*>(dialog);
                dialogs << dialog->objectName() + (editor ? QString::number(editor->slot()) : "");
                dialog->reject();
            }
        });
        timer_.start(5);
    }

private:
    QPointer<QWidget> before_ = QApplication::activeModalWidget();
    QTimer timer_;
};

// A key as the platform sends it, with its text (Delete comes with 0x7F on X11).
inline void Key(QWidget* w, Qt::Key key, const QString& text = QString()) {
    QTest::sendKeyEvent(QTest::Press, w, key, text, Qt::NoModifier);
}
// Over the characters from `at`, Delete then a digit, one by one.
inline void TypeOver(QLineEdit* box, int at, const char* digits) {
    box->setCursorPosition(at);
    for (; *digits; ++digits) {
        Key(box, Qt::Key_Delete, QString(QChar(0x7f)));
        Key(box, Qt::Key(*digits), QString(QLatin1Char(*digits)));
    }
}
// Pastes (two shortcuts), input-method text and digits of other scripts; returns the text left.
inline QString SendBadInput(QLineEdit* box) {
    QGuiApplication::clipboard()->setText(QStringLiteral("1a:"));
    box->setFocus(), box->end(false);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("7x"));
    QApplication::sendEvent(box, &composed);
    for (const char16_t digit : {u'\u0663', u'\uFF15', u'\u00B2', u'\u096A'})
        Key(box, Qt::Key(digit), QString(QChar(digit)));
    return box->text();
}
// Pressed as a screen reader does: no focus change, no mouse.
inline void Press(QWidget* button) {
    QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
}

// Runs `act` on the modal window of type W each time one opens while `during` runs.
template <class W>
void WithModal(const std::function<void(W*)>& act, const std::function<void()>& during) {
    QTimer poll;
    QPointer<W> handled;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (w && w != handled) handled = w, act(w);
    });
    poll.start(10), during(), poll.stop();
}

// Shows a window and waits until it is the active one. The request is repeated: right after
// a modal box has closed, a first activation request can be lost.
inline bool ShowActive(QWidget* window) {
    window->show();
    for (int attempt = 0; attempt < 5; ++attempt)
        if (window->activateWindow(), QTest::qWaitForWindowActive(window, 1000)) return true;
    return false;
}

// The main window on FillStore's objects and the Moon and the planets behind them, the sites Sydney
// and "Back yard" (primary, latitude 45, zone -5) unless `sites` is false, in Now mode on a fixed
// clock at 3/1/2026 22:00 at that site (03:00 UT the next day), the computer on UTC.
// The row the window should show for a store record at the site and instant in force.
inline QString ExpectedRow(const AppState& state, int storeIndex) {
    SkyState sky = state.sky;
    const CatalogObject& o = state.store.objects[std::size_t(storeIndex)];
    SetTarget(sky, o.RA, o.Dec);
    const double alt = TargetAltitude(sky); // before the azimuth, which uses what it computes
    return ObjectRowText(o, alt, TargetAzimuth(sky));
}

struct WindowFixture {
    AppState state;
    std::shared_ptr<FixedClock> clock =
        std::make_shared<FixedClock>(QDateTime({2026, 3, 2}, {3, 0}, Qt::UTC));
    std::unique_ptr<MainWindow> window;
    bool active = false;

    explicit WindowFixture(bool show = true, bool sites = true) {
        FillStore(state.store), AppendBodyRecords(state.store);
        if (sites) {
            state.sites.resize(2);
            SiteLocation &sydney = state.sites[0], &yard = state.sites[1];
            sydney.LatDeg = -33, sydney.LonDeg = 151, sydney.TimeZone = 10, sydney.Name = "Sydney";
            yard.LatDeg = 45, yard.LonDeg = -75, yard.TimeZone = -5, yard.Primary = -1,
            yard.Name = "Back yard";
            SetCurrentSiteIndex(state, 1);
        }
        state.sky.clock = clock, state.sky.UseNow = true, state.sky.computerZone = QTimeZone::utc();
        window = std::make_unique<MainWindow>(state), active = show && ShowActive(window.get());
    }
    template <class T> T* get(const char* name) const { return window->findChild<T*>(name); }
    QString text(const char* label) const { return get<QLabel>(label)->text(); }
    QString row(int index) const { return window->objectRow(index)->text(); }
    QLineEdit* box(const char* name) const { return get<QLineEdit>(name); }
    void click(const char* button) const { get<QAbstractButton>(button)->click(); }
    // Picks an entry of a combo box as a click on it does.
    void choose(const char* combo, int entry) {
        get<QComboBox>(combo)->setCurrentIndex(entry), emit get<QComboBox>(combo)->activated(entry);
    }
};
