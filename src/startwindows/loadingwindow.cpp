#include "startwindows/loadingwindow.h"

#include "kit/fitcaption.h"
#include "kit/twips.h"
#include "mainwindow/openmainwindow.h"
#include "startwindows/aboutwindow.h"
#include "startwindows/contact.h"

#include <QLabel>
#include <QPushButton>

namespace {

QLabel* AddLabel(QWidget* window, const char* name, const QString& text, QRect twips,
                 double points = 0, bool bold = false) {
    auto* label = new QLabel(text, window);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(TwipsRect(window, twips.x(), twips.y(), twips.width(), twips.height()));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    if (points > 0 || bold) {
        QFont font = label->font();
        if (points > 0) font.setPointSizeF(points);
        font.setBold(bold);
        label->setFont(font);
    }
    return label;
}

} // namespace

LoadingWindow::LoadingWindow(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("Loading"));
    setWindowTitle(QStringLiteral("Zenitor Version 0.0.1 Beta"));
    setAttribute(Qt::WA_DeleteOnClose);

    const QString wait = QStringLiteral("Please wait while data loads");
    FitCaption(AddLabel(this, "Label1", wait, QRect(0, 0, 4575, 375), 17.25), wait, 0, 17.25, 12);
    progress_ = AddLabel(this, "Progress", QString(), QRect(1080, 480, 2775, 255));
    AddLabel(this, "Label2", MakerEmailText(), QRect(120, 840, 4695, 375), 12, true);
    AddLabel(this, "Label3", MakerWebText(), QRect(0, 1200, 4695, 375), 12);

    cmdStart_ = new QPushButton(QStringLiteral("Please Wait"), this);
    cmdStart_->setObjectName(QStringLiteral("cmdStart"));
    cmdStart_->setGeometry(TwipsRect(this, 120, 1560, 1695, 375));
    cmdStart_->setEnabled(false);

    cmdAbout_ = new QPushButton(QStringLiteral("About the Program"), this);
    cmdAbout_->setObjectName(QStringLiteral("cmdAbout"));
    cmdAbout_->setGeometry(TwipsRect(this, 2160, 1560, 2295, 375));
    cmdAbout_->setEnabled(false);

    connect(cmdStart_, &QPushButton::clicked, this, &LoadingWindow::StartProgram);
    connect(cmdAbout_, &QPushButton::clicked, this, &LoadingWindow::ShowAbout);

    SizeAndCentreWindow(this, 4680, 2010);
}

void LoadingWindow::ShowStatus(const QString& message) {
    progress_->setText(message);
    repaint();
}

void LoadingWindow::FinishLoading() {
    cmdStart_->setEnabled(true);
    cmdAbout_->setEnabled(true);
    cmdStart_->setText(QStringLiteral("Start Program"));
    progress_->clear();
}

// The next window is shown before this one closes: closing the only open window first would let
// the toolkit take the program for finished.
void LoadingWindow::StartProgram() {
    OpenMainWindow(state_);
    close();
}

void LoadingWindow::ShowAbout() {
    auto* about = new AboutWindow(state_);
    about->show();
    close();
}
