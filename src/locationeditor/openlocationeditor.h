#pragma once

#include "locationeditor/sitetablechange.h"

#include <memory>

class QDialog;
class QWidget;
struct AppState;

// The Location Editor on the record the current site index names; newRecord marks the empty
// record just appended (also when it is record 0, which a negative index cannot express). The
// caller shows it modally.
std::unique_ptr<QDialog> CreateLocationEditor(AppState& state, QWidget* parent, bool newRecord);

// What a closed editor did to the site table.
SiteTableChange ChangeMadeBy(const QDialog& editor);
