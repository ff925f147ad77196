#include "locationeditor/savereport.h"

#include "kit/programmessage.h"

#include <QDir>

QString SaveFailureText(const QString& reason, const QString& keptFile) {
    return QStringLiteral(
               "The sites were not saved.\n\n%1\n\nYour changes are kept in the program's "
               "memory until it ends; the next Save or Delete writes them. On disk, %2 keeps "
               "its previous content.")
        .arg(reason, QDir::toNativeSeparators(keptFile));
}

void ReportSaveFailure(QWidget* parent, const QString& reason, const QString& keptFile) {
    ShowProgramMessage(parent, SaveFailureText(reason, keptFile));
}
