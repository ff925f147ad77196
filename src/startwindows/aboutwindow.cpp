#include "startwindows/aboutwindow.h"

#include "kit/twips.h"
#include "kit/windowplace.h"
#include "mainwindow/openmainwindow.h"
#include "startwindows/contact.h"
#include "state/remembering.h"

#include <QLabel>
#include <QPushButton>

namespace {

QLabel* AddPassage(QWidget* window, const char* name, const QString& text, QRect twips) {
    auto* label = new QLabel(text, window);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(TwipsRect(window, twips.x(), twips.y(), twips.width(), twips.height()));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

AboutWindow::AboutWindow(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About Zenitor Version 0.0"));
    setAttribute(Qt::WA_DeleteOnClose);

    QLabel* title =
        AddPassage(this, "Label4", QStringLiteral("Zenitor"), QRect(240, 120, 2295, 375));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(12);
    titleFont.setBold(true);
    title->setFont(titleFont);

    AddPassage(
        this, "Label1",
        QStringLiteral(
            "Zenitor is for owners of telescopes on Alt/Az mounts, most of them Dobsonians, "
            "that have no computer to point them. All you need is a way to read the altitude "
            "the scope points at (a carpenter's protractor does the job) and its azimuth (a "
            "setting circle printed by an outside setting-circle program does the job). "
            "Zenitor then guides the scope to several thousand deep-sky objects, the Moon and "
            "the planets by telling "
            "you the altitude and azimuth of each one."),
        QRect(120, 480, 10695, 1695));
    AddPassage(
        this, "Label2",
        QStringLiteral(
            "Requirements: a Linux desktop with Qt 6. On a two-core PC, start-up reads all four "
            "catalogues (21,655 objects) in 0.01 to 0.03 seconds, and a selection over every "
            "catalogue takes 0.002 to 0.02 seconds."),
        QRect(120, 1800, 10695, 735));
    AddPassage(
        this, "Label5",
        QStringLiteral(
            "How to use it: first point the scope at a known object and read its current "
            "Alt/Az position, then calibrate your Alt/Az indicators to it. The \"Guide "
            "Stars\" button lists bright stars that help you align the scope. If you leave "
            "the protractor attached, this is needed only once. After that the program tells "
            "you where to point; this gets the scope into the general area of the object, "
            "and the finder and a low-power eyepiece do the rest. At the eyepiece, Ctrl+N turns "
            "every window red on black to keep your eyes dark-adapted; Ctrl+N again turns it "
            "back."),
        QRect(120, 2400, 10695, 1335));
    AddPassage(this, "Label3",
               QStringLiteral(
                   "This is a beta release. Expect bugs, and please report them by e-mail to %1. "
                   "Zenitor is free software under the GNU General Public License, version 3 or "
                   "later (GPL-3.0-or-later): you may use it for any purpose, study and change "
                   "it, and pass it on, changed or not, as long as you pass it on under the same "
                   "licence with its source code. It comes without any warranty.")
                   .arg(MakerEmailText()),
               QRect(120, 3720, 10695, 1935));
    AddPassage(
        this, "Label6",
        QStringLiteral(
            "Data sources, with thanks: visual magnitudes and common names from Stellarium's "
            "deep-sky catalogue (GPL-2.0-or-later); NGC and IC positions and the NGC and IC "
            "numbers of the Messier objects from OpenNGC (CC-BY-SA-4.0); the Messier "
            "catalogue, the other deep-sky catalogues and the guide stars from d3-celestial "
            "(BSD-3-Clause). The Herschel 400, Caldwell and RASC Finest NGC (\"Best of the "
            "NGC\") lists mark the objects of the deep-sky database."),
        QRect(120, 5760, 10695, 1455));

    cmdStart_ = new QPushButton(QStringLiteral("Start Program"), this);
    cmdStart_->setObjectName(QStringLiteral("cmdStart"));
    cmdStart_->setGeometry(TwipsRect(this, 3480, 7440, 1815, 375));
    cmdAbort_ = new QPushButton(QStringLiteral("Quit"), this);
    cmdAbort_->setObjectName(QStringLiteral("cmdAbort"));
    cmdAbort_->setGeometry(TwipsRect(this, 5520, 7440, 1335, 375));
    setTabOrder(cmdStart_, cmdAbort_);
    cmdStart_->setFocus();

    connect(cmdStart_, &QPushButton::clicked, this, &AboutWindow::StartProgram);
    connect(cmdAbort_, &QPushButton::clicked, this, &QWidget::close);

    SizeAndCentreWindow(this, 10920, 7920);
    PutWindowAt(this, RememberedPlace(state_.remembered, objectName()));
    // Written at once: after Quit no other window is left to write it.
    WhenWindowCloses(this, [this](const QRect& place) {
        state_.remembered.windowPlaces[objectName()] = place;
        SaveRememberedChoices(state_, nullptr);
    });
}

// The main window opens before this one closes, so the program is never without a window.
void AboutWindow::StartProgram() {
    OpenMainWindow(state_);
    close();
}
