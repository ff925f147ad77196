#pragma once

#include "state/appstate.h"

#include <QWidget>

class QPushButton;

// What the program is for, how to use it and where its data comes from. "Start Program" opens the
// main window, "Quit" closes this window and with it the program. Deletes itself when closed.
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(AppState& state, QWidget* parent = nullptr);

    QPushButton* startButton() const { return cmdStart_; }
    QPushButton* quitButton() const { return cmdAbort_; }

private:
    void StartProgram();

    AppState& state_;
    QPushButton* cmdStart_ = nullptr;
    QPushButton* cmdAbort_ = nullptr;
};
