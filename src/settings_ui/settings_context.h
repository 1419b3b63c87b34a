#pragma once
// What the settings dialog, its pages and the auxiliary windows edit, handed over by the main
// window when it opens them. A test builds the same context around a scratch folder and a fake
// system and opens one page or window on its own, without the main window.

#include <windows.h>

#include "composer/composer.h"
#include "framework/system.h"
#include "state/catalogue.h"
#include "state/settings.h"

// What the windows ask of the program's face while they are open. The main window implements it;
// tests record the calls.
class ISettingsOwner {
public:
    virtual ~ISettingsOwner() = default;
    virtual HWND MainWindow() const = 0;
    // The tray tooltip after `isiptooltip` changed.
    virtual void UpdateTrayTip() = 0;
    // The tray icon after `isweekday` changed: the weekday picture (and the date watch that keeps
    // it current) when on, the ordinary icon when off.
    virtual void UpdateTrayIcon() = 0;
};

struct SettingsContext {
    EnvSettings& env;              // stEnv, edited in place
    OutProgramList& outPrograms;   // the exception programs
    ImageCatalogue& catalogue;     // folder list and image list
    Composer& composer;            // m_clearRequested, positions, current images, masks
    fw::ISystem& system;           // screen size and the other seams
    ISettingsOwner& owner;
    int& m_lastPage;               // page shown last; lives in the main window across openings
    int m_overlapLimit = 0;        // largest photo size while photos overlap; set by the photographs page
};
