#include "mainwindow/mainwindow.h"

#include "kit/fitcaption.h"
#include "kit/programmessage.h"
#include "kit/twips.h"
#include "listwindow/openlistwindow.h"
#include "state/listsstorage.h"

#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>

// The offered observing list: a box under the catalogue and Precise boxes that adds its objects to
// the chooser, and the button to the Lists window.

namespace {

constexpr int kListCaptionChars = 16;

QString ListBoxCaption(const KeptList* list) {
    if (!list) return QStringLiteral("List");
    const QString name = list->name.simplified();
    return name.size() <= kListCaptionChars ? name : name.left(kListCaptionChars - 1) + u'.';
}

} // namespace

void MainWindow::buildListControls() {
    chkList = new QCheckBox(this);
    chkList->setObjectName(QStringLiteral("chkList"));
    chkList->setGeometry(TwipsRect(this, 120, 5700, 1335, 375));
    cmdLists = new WrappingButton(QStringLiteral("Lists..."), this);
    cmdLists->setObjectName(QStringLiteral("cmdLists"));
    cmdLists->setGeometry(TwipsRect(this, 120, 6135, 1335, 375));
    cmdLists->setToolTip(QStringLiteral("Import, offer and export observing lists."));
    cmdLists->setAutoDefault(false);
    setTabOrder(chkPrecise, chkList);
    setTabOrder(chkList, cmdLists);
    setTabOrder(cmdLists, cmdGuide);
    connect(chkList, &QCheckBox::clicked, this, &MainWindow::chkListClicked);
    connect(cmdLists, &QPushButton::clicked, this, &MainWindow::cmdListsClicked);
    refreshListBox();
}

void MainWindow::refreshListBox() {
    const KeptList* list = state_.lists.offeredList();
    chkList->setEnabled(list != nullptr);
    chkList->setChecked(list && state_.lists.ticked);
    chkList->setToolTip(
        list ? QStringLiteral("Offers the list \"%1\" in the chooser.").arg(list->name)
             : QStringLiteral("Import a list with Lists... to offer it here."));
    const int reserve =
        chkList->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, chkList) +
        chkList->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, chkList) + 4;
    chkList->setText(ListBoxCaption(list));
    // The catalogue boxes' size and cut, narrowed further only for a name that needs it.
    chkList->setFont(chkMess->font());
    if (QFontMetrics(chkList->font()).horizontalAdvance(chkList->text()) >
        chkList->width() - reserve)
        FitCaption(chkList, chkList->text(), reserve, chkMess->font().pointSizeF(), 7);
}

const std::vector<int>* MainWindow::offeredListObjects() const {
    const KeptList* list = state_.lists.offeredList();
    return list && state_.lists.ticked ? &list->objects : nullptr;
}

void MainWindow::chkListClicked() {
    if (!leaveCheckPasses()) return;
    state_.lists.ticked = chkList->isChecked();
    QString error;
    if (!SaveKeptLists(state_, &error))
        ShowProgramMessage(this,
                           QStringLiteral("The list box will not be remembered:\n\n") + error);
    SelectObjects();
}

void MainWindow::cmdListsClicked() {
    if (!leaveCheckPasses()) return;
    const std::unique_ptr<QDialog> window = CreateListWindow(state_, selectionOptions(), this);
    // The window may change the offered list; the box follows before the chooser is refilled.
    connect(window.get(), &QDialog::finished, this, &MainWindow::refreshListBox);
    ShowModalWindow(*window);
}
