#pragma once

#include <QString>

class QWidget;

// The title every message box of the program carries.
QString ProgramTitle();

// A modal message box with the text, an OK button, no icon and the program's title.
void ShowProgramMessage(QWidget* parent, const QString& text);

// A modal question with Yes and No, no icon and the program's title. True for Yes; a box closed
// by Escape or its frame counts as No.
bool AskProgramQuestion(QWidget* parent, const QString& text);
