#include "startup/programmessage.h"

#include <QMessageBox>

QString ProgramTitle() {
    return QStringLiteral("Zenitor");
}

void ShowProgramMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}
