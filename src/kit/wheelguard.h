#pragma once

class QWidget;

// The mouse wheel changes the control only while it has the keyboard focus. Turning the wheel
// over a combo box or scroll bar on the way past would otherwise change a site, add objects or
// move the magnitude without the observer meaning to. The control takes the focus by click or
// Tab only, not by the wheel.
void KeepWheelToFocusedControl(QWidget* control);
