#include "locationeditor/savereport.h"

#include "kit/programmessage.h"

QString SaveFailureText(const QString& reason) {
    return QStringLiteral(
               "The sites were not saved.\n\n%1\n\nThe locations file keeps its previous "
               "content. Your changes stay in the program until it ends; the next Save "
               "or Delete writes them.")
        .arg(reason);
}

void ReportSaveFailure(QWidget* parent, const QString& reason) {
    ShowProgramMessage(parent, SaveFailureText(reason));
}
