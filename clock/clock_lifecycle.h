// The clock's end: the shutdown save and the session-end message, kept apart from the
// window code so that their order and their once-only rule can be checked natively.
#pragma once

#include <functional>

#include "clock/clock_settings.h"

namespace pendrick {

struct ShutdownSteps {
    std::function<int()> saveAndCloseMemos;  // returns how many memos were saved
    std::function<void()> releaseDrawing;    // memory DC, frame bitmap, pens
};

class ClockLifecycle {
public:
    // Memos, then the settings record with the new memo count, then the drawing objects.
    // Runs once: after a session end has saved, the end of the message loop must not save
    // again (the memos are closed by then and the count would become 0).
    void ShutdownSave(ClockSettings& settings, SettingsStore& store, const ShutdownSteps& steps);
    // The session-end message: with ending false the session goes on and nothing changes.
    // storePosition records the window's position into the settings first.
    void EndSession(bool ending, ClockSettings& settings, SettingsStore& store, const ShutdownSteps& steps,
                    const std::function<void()>& storePosition);
    bool Saved() const { return saved_; }

private:
    bool saved_ = false;
};

}  // namespace pendrick
