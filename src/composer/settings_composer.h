#pragma once
// The composer as the settings pages and the position editor see it: the picture they preview,
// the user's positions they edit, the masks they offer, and a fresh background they may ask for.
// The composer implements it; nothing else of the composer is theirs.

#include <windows.h>

#include <string>
#include <vector>

#include "composer/layout.h"

class ISettingsComposer {
public:
    virtual ~ISettingsComposer() = default;

    // The next change starts from a fresh background instead of continuing the picture.
    virtual void RequestFreshBackground() = 0;

    // The layout and the primary screen's size at the last change; before the first, the desktop's now.
    virtual DesktopLayout ShownLayout() = 0;
    virtual SIZE ShownScreenSize() const = 0;

    // The user's positions in virtual-screen coordinates, read from disk when this run has not yet.
    virtual void EnsurePositionsLoaded() = 0;
    virtual const std::vector<RECT>& Positions() const = 0;
    // New positions: every monitor's turn among them starts at the first again.
    virtual void ReplacePositions(std::vector<RECT> positions) = 0;
    // Every monitor's turn starts at the first position again, the positions unchanged.
    virtual void RestartPositions() = 0;
    virtual void SavePositions() const = 0;

    // The mask files offered, full paths in the order the folder lists them.
    virtual const std::vector<std::string>& Masks() const = 0;
    // How many photos the user banned.
    virtual size_t BannedCount() const = 0;
};
