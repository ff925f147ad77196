#pragma once

#include <QString>

class QWidget;

// The title every message box of the program carries.
QString ProgramTitle();

// A modal message box with the text, an OK button, no icon and the program's title.
void ShowProgramMessage(QWidget* parent, const QString& text);
