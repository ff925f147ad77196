#include "kit/programmessage.h"

#include <QMessageBox>

QString ProgramTitle() {
    return QStringLiteral("Zenitor");
}

void ShowProgramMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool AskProgramQuestion(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
