#pragma once
// What the image folders page, the miscellaneous page and the current images dialog need around
// them in a test: the context over a fake system, a recording owner and a plain parent window.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "composer/composer.h"
#include "framework/mbstring.h"
#include "settings_ui/settings_context.h"
#include "support/recording_owner.h"
#include "support/fake_system.h"
#include "support/test_support.h"

namespace testing_support {

using testing_support::RecordingOwner;

struct PageHarness {
    FakeSystem system;
    EnvSettings env;
    OutProgramList outPrograms;
    ImageCatalogue catalogue;
    Composer composer{env, catalogue, system};
    RecordingOwner owner;
    int lastPage = 0;
    SettingsContext context{env, outPrograms, catalogue, composer, system, owner, lastPage};
    HWND parent = nullptr;

    PageHarness() {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&controls);
        parent = ::CreateWindowExW(0, L"STATIC", L"page parent", WS_POPUP | WS_CAPTION | WS_VISIBLE, 20, 20, 600, 420,
                                   nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        owner.window = parent;
    }
    ~PageHarness() { ::DestroyWindow(parent); }
    PageHarness(const PageHarness&) = delete;
    PageHarness& operator=(const PageHarness&) = delete;
};

inline void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

inline void Click(HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

inline bool IsEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

inline std::string ItemText(HWND dialog, int id) {
    wchar_t text[512] = {};
    ::GetDlgItemTextW(dialog, id, text, 512);
    return mb::Narrow(text);
}

// A list view click as the list reports it to its dialog (a row, or -1 beside the rows).
inline void ClickRow(HWND dialog, int listId, int row) {
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = ::GetDlgItem(dialog, listId);
    click.hdr.idFrom = static_cast<UINT_PTR>(listId);
    click.hdr.code = NM_CLICK;
    click.iItem = row;
    ::SendMessageW(dialog, WM_NOTIFY, static_cast<WPARAM>(listId), reinterpret_cast<LPARAM>(&click));
}

inline int RowCount(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

inline std::string CellText(HWND list, int row, int column) {
    wchar_t buffer[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 512;
    ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return mb::Narrow(buffer);
}

}  // namespace testing_support
