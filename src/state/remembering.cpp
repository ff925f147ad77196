#include "state/remembering.h"

#include <QDir>
#include <QFile>

void ReadRememberedChoicesAtStart(AppState& state, QStringList* ignored) {
    state.settingsReadError.clear();
    state.remembered =
        state.settingsPath.isEmpty()
            ? RememberedChoices{}
            : ReadRememberedChoices(state.settingsPath, nullptr, ignored, &state.settingsReadError);
}

void RestoreRememberedRows(AppState& state, QStringList* ignored) {
    const std::vector<int> found = DropMissingRows(state.remembered, state.store, ignored);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const int row = state.remembered.rows[i].row;
        if (row >= 0 && row < ListRowCount)
            state.listSlots[std::size_t(row)] = std::int16_t(found[i] + 1);
    }
}

void RestoreRememberedSite(AppState& state) {
    const QString& name = state.remembered.site;
    if (name.isEmpty()) return;
    for (std::size_t i = 0; i < state.sites.size(); ++i) {
        if (state.sites[i].Name == name) {
            SetCurrentSiteIndex(state, std::int16_t(i));
            return;
        }
    }
}

QString IgnoredValuesLine(const AppState& state, const QStringList& ignored) {
    if (ignored.isEmpty()) return {};
    return QStringLiteral("zenitor: ignored in %1: %2")
        .arg(QDir::toNativeSeparators(state.settingsPath), ignored.join(QStringLiteral(", ")));
}

std::vector<RememberedRow> RememberedRowsOf(const AppState& state) {
    std::vector<RememberedRow> rows;
    for (int j = 0; j < ListRowCount; ++j) {
        const int slot = state.listSlots[std::size_t(j)];
        if (slot < 1 || std::size_t(slot) > state.store.objects.size()) continue;
        const CatalogObject& object = state.store.objects[std::size_t(slot - 1)];
        rows.push_back({j, object.Catalog.At(0), object.Designation.TrimmedText()});
    }
    return rows;
}

bool SaveRememberedChoices(const AppState& state, QString* error) {
    if (!state.settingsReadError.isEmpty()) {
        if (error) *error = UnreadableChoicesMessage(state);
        return false;
    }
    return state.settingsPath.isEmpty() ||
           WriteRememberedChoices(state.settingsPath, state.remembered, error);
}

QString UnreadableChoicesMessage(const AppState& state) {
    return state.settingsReadError +
           QStringLiteral("\n\nThe program starts from its first choices and leaves that file "
                          "as it is, so the choices you make now will not be kept for its next "
                          "start.");
}

void ForgetRememberedChoices(AppState& state) {
    state.remembered = RememberedChoices{};
    state.settingsReadError.clear();
    if (!state.settingsPath.isEmpty()) QFile::remove(state.settingsPath);
}
