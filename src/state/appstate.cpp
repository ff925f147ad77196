#include "state/appstate.h"

void SetCurrentSiteIndex(AppState& state, std::int16_t value) {
    state.currentSiteIndex = value;
}

std::int16_t GetCurrentSiteIndex(const AppState& state) {
    return state.currentSiteIndex;
}
