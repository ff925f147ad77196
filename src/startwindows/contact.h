#pragma once

#include <QString>

// The project's contact lines, shown by the Loading and About windows.
QString MakerEmailText();
QString MakerWebText();
