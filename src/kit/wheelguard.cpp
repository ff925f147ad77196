#include "kit/wheelguard.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

class WheelGuard : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel) return false;
        auto* w = static_cast<QWidget*>(watched);
        // An editable combo box has the focus in its line edit.
        QWidget* focused = QApplication::focusWidget();
        if (focused && (focused == w || w->isAncestorOf(focused))) return false;
        event->ignore();
        return true;
    }
};

} // namespace

void KeepWheelToFocusedControl(QWidget* control) {
    static WheelGuard guard;
    if (control->focusPolicy() == Qt::WheelFocus) control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(&guard);
}
