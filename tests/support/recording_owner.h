#pragma once
// The program's face as the settings windows see it, recording what they ask of it. One class for
// every test of the window program: classes of one name defined differently would clash there.

#include <windows.h>

#include "settings_ui/settings_context.h"

namespace testing_support {

class RecordingOwner : public ISettingsOwner {
public:
    HWND window = nullptr;
    int tipUpdates = 0;
    int iconUpdates = 0;
    HWND MainWindow() const override { return window; }
    void UpdateTrayTip() override { ++tipUpdates; }
    void UpdateTrayIcon() override { ++iconUpdates; }
};

}  // namespace testing_support
