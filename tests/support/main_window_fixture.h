#pragma once
// The hidden main window run in the test process on a scratch program folder, the fake system and
// fake photo reads, counting the compositions its worker starts.

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/wallpaper_dlg.h"
#include "framework/handles.h"
#include "support/fake_files.h"
#include "support/fake_system.h"
#include "support/message_pump.h"
#include "support/test_support.h"

namespace testing_support {

// Photo opens that wait on the worker until Release() (at most `limitMs`), as on a share that
// stopped answering: the first open only, or every open until then.
class StalledOpens {
public:
    StalledOpens(FakeFiles& files, DWORD limitMs, bool firstOnly = true) {
        // The worker may open a photo after the test's scope: the state is shared with it.
        files.onOpen = [state = m_state, limitMs, firstOnly](const std::wstring&) {
            if (state->reached.exchange(true) && firstOnly) return;
            ::WaitForSingleObject(state->release.get(), limitMs);
            state->ended = true;
        };
    }
    ~StalledOpens() { Release(); }
    StalledOpens(const StalledOpens&) = delete;
    StalledOpens& operator=(const StalledOpens&) = delete;
    bool Reached() const { return m_state->reached; }
    // The stalled open has not yet come back: whatever returned meanwhile did not wait for it.
    bool StillHeld() const { return m_state->reached && !m_state->ended; }
    void Release() { ::SetEvent(m_state->release.get()); }

private:
    struct State {
        fw::KernelHandle release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        std::atomic<bool> reached{false};
        std::atomic<bool> ended{false};
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

class MainWindowTest : public ::testing::Test {
protected:
    ScratchDir dir;
    FakeSystem system;
    FakeFiles files;
    PhotoSource photoSource{files};  // outlives the window that reads through it
    std::unique_ptr<CWallpaperDlg> dlg;
    std::atomic<int> compositions{0};  // counted on the worker

    void SetUp() override { WriteSettings(""); }
    void TearDown() override { Close(); }

    // env.ini without the foreground check, the date timer and the address lookup (only what a
    // test does), and with `keys` ("name=value\r\n" lines).
    void WriteSettings(const std::string& keys) {
        WriteFile(dir.File("env.ini"), "[DEFAULT]\r\nmaxwinstop=0\r\nisweekday=0\r\nisiptooltip=0\r\n" + keys);
    }
    // The folder `folder` of the scratch folder with the photos `names` (each "x", unless `write`
    // makes it), listed in list.txt as all still to be shown; their full paths.
    std::vector<std::string> ListPhotos(const std::string& folder, const std::vector<std::string>& names,
                                        const std::function<void(const std::string&)>& write = nullptr) {
        const std::string path = dir.MakeDir(folder);
        std::vector<std::string> photos;
        std::string list = path + "," + std::to_string(names.size()) + "\r\n&\r\n";
        for (const std::string& name : names) {
            photos.push_back(path + "\\" + name);
            write ? write(photos.back()) : WriteFile(photos.back(), "x");
            list += photos.back() + "\r\n";
        }
        WriteFile(dir.File("list.txt"), list);
        return photos;
    }

    CWallpaperDlg& Make() {
        dlg = std::make_unique<CWallpaperDlg>(system, dir.File("Dioramix.exe"));
        dlg->m_composer.SetPhotoSource(photoSource);
        dlg->m_composer.ObservePhases([this](ComposePhase phase) {
            if (phase == ComposePhase::Start) ++compositions;
        });
        return *dlg;
    }
    // The window made and started, its first composition done.
    void Start() {
        ASSERT_TRUE(Make().Create());
        ASSERT_TRUE(dlg->IsStarted());
        Settle();
    }
    void Close() {
        if (!dlg) return;
        dlg->DestroyWindow();
        Pump(0);
        dlg.reset();
    }
    HWND Hwnd() const { return dlg->GetSafeHwnd(); }
    // Until the composition under way and whatever it owed are done.
    void Settle() { ASSERT_TRUE(PumpUntil(5000, [&] { return dlg->Idle(); })) << "a composition never ended"; }
    // Sends `message` to the main window, as the system or the shell does, and settles.
    void Send(UINT message, WPARAM wp = 0, LPARAM lp = 0) {
        ::SendMessageW(Hwnd(), message, wp, lp);
        Settle();
    }
};

}  // namespace testing_support
