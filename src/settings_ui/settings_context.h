#pragma once
// What the settings dialog, its pages and the auxiliary windows edit, handed over by the main
// window when it opens them. A test builds the same context around a scratch folder and a fake
// system and opens one page or window on its own, without the main window.

#include <windows.h>

#include <string>

#include "composer/settings_composer.h"
#include "framework/system.h"
#include "state/catalogue.h"
#include "state/hotkeys.h"
#include "state/folder_edit.h"
#include "state/settings.h"
#include "state/start_with_windows.h"

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
    // Another program held the verb's hotkey when the main window last registered it.
    virtual bool HotkeyTaken(HotkeyVerb) const { return false; }
    // A folder edit still scanning when its window closed: the owner finishes it, commits it to
    // the catalogue and writes list.txt.
    virtual void AdoptFolderEdit(FolderEdit edit) = 0;
};

// Whatever the settings windows ask the user: message boxes and the system's choosers. The main
// window hands over SystemPrompts; tests record the questions and give the answers.
class IPrompts {
public:
    virtual ~IPrompts() = default;
    // A message box; returns the button that closed it.
    virtual int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) = 0;
    // The colour dialog over `owner`, starting at `color`; true with the choice in `color` on OK.
    virtual bool PickColor(HWND owner, COLORREF& color) = 0;
    // The folder browser; true unless cancelled, the folder empty for a choice without a
    // file-system path.
    virtual bool BrowseForFolder(HWND owner, std::string& folder) = 0;
    // The file-open dialog for a background image; true with the path on OK.
    virtual bool ChooseImageFile(HWND owner, std::string& path) = 0;
};

struct SettingsContext {
    EnvSettings& env;              // stEnv, edited in place
    OutProgramList& outPrograms;   // the exception programs
    ImageCatalogue& catalogue;     // folder list and image list
    ISettingsComposer& composer;   // fresh background, positions, masks, the shown picture
    fw::ISystem& system;           // screen size and the other seams
    ISettingsOwner& owner;
    IPrompts& prompts;
    StartWithWindows& startWithWindows;
    int& m_lastPage;               // page shown last; lives in the main window across openings
    int m_overlapLimit = 0;        // largest photo size while photos overlap; set by the photographs page
};
