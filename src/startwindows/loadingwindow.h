#pragma once

#include "state/appstate.h"

#include <QWidget>

class QLabel;
class QPushButton;

// The window shown while the data loads. Both buttons stay disabled until FinishLoading; then
// "Start Program" opens the main window and "About the Program" the About window, and this window
// closes either way.
class LoadingWindow : public QWidget {
    Q_OBJECT
public:
    explicit LoadingWindow(AppState& state, QWidget* parent = nullptr);

    // Writes the step under way into Progress and repaints at once, since no events are handled
    // while loading.
    void ShowStatus(const QString& message);

    // Enables both buttons, captions cmdStart "Start Program" and clears Progress.
    void FinishLoading();

    QLabel* progress() const { return progress_; }
    QPushButton* startButton() const { return cmdStart_; }
    QPushButton* aboutButton() const { return cmdAbout_; }

private:
    void StartProgram();
    void ShowAbout();

    AppState& state_;
    QLabel* progress_ = nullptr;
    QPushButton* cmdStart_ = nullptr;
    QPushButton* cmdAbout_ = nullptr;
};
