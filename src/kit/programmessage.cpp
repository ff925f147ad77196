#include "kit/programmessage.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

QString ProgramTitle() {
    return QStringLiteral("Zenitor");
}

void FitMessageBoxToTitle(QMessageBox& box) {
    // The title bar's font is the desktop's; the box's own font in bold is as wide or wider on
    // common desktops. The icon and each button take a little more than a line's height, with
    // room between them, at both ends of the bar and around the title: eight lines' heights in
    // all leave the title whole under the common themes.
    QFont font = box.font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int wanted = metrics.horizontalAdvance(box.windowTitle()) + 8 * metrics.height();
    // The box sets its own size from its layout's minimum each time it is shown: a row of that
    // width under everything else widens it, while the text keeps its own width and wrapping.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const QMargins margins = grid->contentsMargins();
    grid->addItem(new QSpacerItem(wanted - margins.left() - margins.right(), 0,
                                  QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

void ShowProgramMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle(), text, QMessageBox::Ok, parent);
    FitMessageBoxToTitle(box);
    box.exec();
}

bool AskProgramQuestion(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setEscapeButton(QMessageBox::No);
    FitMessageBoxToTitle(box);
    return box.exec() == QMessageBox::Yes;
}
