#pragma once

#include <memory>

class QDialog;
class QWidget;
struct AppState;

// The print-over-time dialog over the program's state; the caller shows it modally.
std::unique_ptr<QDialog> CreatePrintDialog(AppState& state, QWidget* parent);
