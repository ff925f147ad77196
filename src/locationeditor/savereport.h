#pragma once

#include <QString>

class QWidget;

// Tells the user that a save of the sites failed and why (the text WriteLocations gave). The sites
// stay in memory as edited, and the file on disk keeps its previous content.
void ReportSaveFailure(QWidget* parent, const QString& reason);

// The words of that message box, apart from the box itself.
QString SaveFailureText(const QString& reason);
