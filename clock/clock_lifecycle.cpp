// The shutdown save and the session end.
#include "clock/clock_lifecycle.h"

namespace pendrick {

void ClockLifecycle::ShutdownSave(ClockSettings& settings, SettingsStore& store, const ShutdownSteps& steps) {
    if (saved_) return;
    saved_ = true;
    settings.memoCount = steps.saveAndCloseMemos ? steps.saveAndCloseMemos() : 0;
    uint8_t record[kClockSettingsSize];
    EncodeSettings(settings, record);
    store.StoreWrite(kSettingsValue, record, sizeof record);
    if (steps.releaseDrawing) steps.releaseDrawing();
}

void ClockLifecycle::EndSession(bool ending, ClockSettings& settings, SettingsStore& store, const ShutdownSteps& steps,
                                const std::function<void()>& storePosition) {
    if (!ending) return;
    if (storePosition) storePosition();
    ShutdownSave(settings, store, steps);
}

}  // namespace pendrick
