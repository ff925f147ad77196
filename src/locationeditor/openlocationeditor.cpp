#include "locationeditor/openlocationeditor.h"

#include "locationeditor/locationwindow.h"

std::unique_ptr<QDialog> CreateLocationEditor(AppState& state, QWidget* parent, bool newRecord) {
    return std::make_unique<LocationWindow>(state, parent, newRecord);
}

SiteTableChange ChangeMadeBy(const QDialog& editor) {
    const auto* window = qobject_cast<const LocationWindow*>(&editor);
    return window ? window->change() : SiteTableChange{};
}
