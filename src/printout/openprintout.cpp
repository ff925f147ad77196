#include "printout/openprintout.h"

#include "printout/printout.h"

std::unique_ptr<QDialog> CreatePrintDialog(AppState& state, QWidget* parent) {
    return std::make_unique<Printout>(state, parent);
}
