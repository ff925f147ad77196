#pragma once

#include <QString>

class QMessageBox;
class QWidget;

// The title every message box of the program carries.
QString ProgramTitle();

// Makes a message box wide enough for its title. The desktop draws the title bar, with an icon and
// up to three buttons beside the title, and cuts a title that does not fit down to "..."; a box
// sized to a short text such as "Invalid Date" is narrower than that. Every box of the program
// goes through here before it is shown.
void FitMessageBoxToTitle(QMessageBox& box);

// A modal message box with the text, an OK button, no icon and the program's title.
void ShowProgramMessage(QWidget* parent, const QString& text);

// A modal question with Yes and No, no icon and the program's title. True for Yes; a box closed
// by Escape or its frame counts as No.
bool AskProgramQuestion(QWidget* parent, const QString& text);
