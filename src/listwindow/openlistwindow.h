#pragma once

#include <memory>

class QDialog;
class QWidget;
struct AppState;
struct SelectionOptions;

// The Lists window over the program's state: importing, offering, deleting and exporting
// observing lists, and putting the offered list into the rows under `filters` (the main
// window's magnitude limit and "In View Only"). The caller shows it modally and afterwards
// refreshes its chooser and rows.
std::unique_ptr<QDialog> CreateListWindow(AppState& state, const SelectionOptions& filters,
                                          QWidget* parent);
