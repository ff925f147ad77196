#pragma once

#include <QString>

class QWidget;

// Tells the user that a save of the sites failed and why (the text WriteLocations gave), and where
// the sites are kept: in memory as edited, while `keptFile`, the locations file they were read
// from, keeps its previous content.
void ReportSaveFailure(QWidget* parent, const QString& reason, const QString& keptFile);

// The words of that message box, apart from the box itself.
QString SaveFailureText(const QString& reason, const QString& keptFile);
