#pragma once
// Folder scans on a thread of their own, so that no window waits for a large library or a slow
// share: the window thread polls the scan and commits its result to the catalogue.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "state/catalogue.h"

// One scan of folders on a worker thread; dropping it cancels it. The thread keeps its own share of
// the scan's state, so a drop waits only a moment even for a share that stopped answering.
class BackgroundScan {
public:
    BackgroundScan(std::vector<std::string> folders, bool countFirst);
    ~BackgroundScan();
    BackgroundScan(const BackgroundScan&) = delete;
    BackgroundScan& operator=(const BackgroundScan&) = delete;

    const std::vector<std::string>& Folders() const;
    const ScanStatus& Status() const;
    bool Finished() const;
    // Finished neither cancelled nor stopped by a failure: its results may be committed.
    bool Complete() const;
    // The scans of a complete run, once; empty otherwise.
    std::vector<FolderScan> TakeResults();
    void Cancel();

private:
    struct Shared;
    static void Run(const std::shared_ptr<Shared>& shared) noexcept;

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};

// After a refill found none of its folders (a share away, a drive pulled), the next one waits this long.
constexpr ULONGLONG kUnreachableRefillRestMs = 10 * 60 * 1000;

// The refill of an empty catalogue, scanned in the background; its owner starts it when the
// catalogue asks for a refill and polls it from a timer.
class BackgroundRefill {
public:
    explicit BackgroundRefill(ImageCatalogue& catalogue, std::function<ULONGLONG()> clock = ::GetTickCount64)
        : m_catalogue(catalogue), m_clock(std::move(clock)) {}

    // Starts a scan of the listed folders unless one runs already or the last one reached none
    // of them lately; true when one runs now.
    bool Start();
    bool Running() const { return m_scan != nullptr; }
    // Takes a finished scan into the catalogue, unless it was filled or its folders changed
    // meanwhile; true once no scan runs.
    bool Poll();

private:
    ImageCatalogue& m_catalogue;
    std::function<ULONGLONG()> m_clock;
    ULONGLONG m_restUntil = 0;  // 0: no rest
    std::unique_ptr<BackgroundScan> m_scan;
};
