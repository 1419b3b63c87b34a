#pragma once
// Move-only owners for Win32 handles: a handle is released exactly once, by construction.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace fw {

template <class Traits>
class UniqueHandle {
public:
    using handle_type = typename Traits::handle_type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(handle_type h) noexcept : m_handle(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    handle_type get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return Traits::IsValid(m_handle); }

    handle_type release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }
    void reset(handle_type h = Traits::Invalid()) noexcept {
        handle_type old = std::exchange(m_handle, h);
        if (Traits::IsValid(old)) Traits::Close(old);
    }

private:
    handle_type m_handle = Traits::Invalid();
};

template <class H, class Closer>
struct NullInvalidTraits {
    using handle_type = H;
    static H Invalid() noexcept { return nullptr; }
    static bool IsValid(H h) noexcept { return h != nullptr; }
    static void Close(H h) noexcept { Closer{}(h); }
};

struct DeleteGdiObject { void operator()(HGDIOBJ h) const noexcept { ::DeleteObject(h); } };
struct DestroyIconFn { void operator()(HICON h) const noexcept { ::DestroyIcon(h); } };
struct DestroyMenuFn { void operator()(HMENU h) const noexcept { ::DestroyMenu(h); } };
struct CloseKernelHandle { void operator()(HANDLE h) const noexcept { ::CloseHandle(h); } };
struct CloseRegKey { void operator()(HKEY h) const noexcept { ::RegCloseKey(h); } };
struct DeleteDcFn { void operator()(HDC h) const noexcept { ::DeleteDC(h); } };
struct DestroyImageListFn { void operator()(HIMAGELIST h) const noexcept { ::ImageList_Destroy(h); } };
struct FreeCoTaskMemFn { void operator()(void* p) const noexcept { ::CoTaskMemFree(p); } };
struct FindCloseFn { void operator()(HANDLE h) const noexcept { ::FindClose(h); } };

template <class H>
using GdiObject = UniqueHandle<NullInvalidTraits<H, DeleteGdiObject>>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Icon = UniqueHandle<NullInvalidTraits<HICON, DestroyIconFn>>;
using Menu = UniqueHandle<NullInvalidTraits<HMENU, DestroyMenuFn>>;
using KernelHandle = UniqueHandle<NullInvalidTraits<HANDLE, CloseKernelHandle>>;
using RegKey = UniqueHandle<NullInvalidTraits<HKEY, CloseRegKey>>;
using MemoryDc = UniqueHandle<NullInvalidTraits<HDC, DeleteDcFn>>;
// An image list nothing else owns; a list view given one without LVS_SHAREIMAGELISTS owns it instead.
using ImageList = UniqueHandle<NullInvalidTraits<HIMAGELIST, DestroyImageListFn>>;
// Memory the shell or COM hands over (item id lists, path strings).
template <class T>
using CoTaskMemory = UniqueHandle<NullInvalidTraits<T*, FreeCoTaskMemFn>>;

// Gives a list view an image list it then owns (no LVS_SHAREIMAGELISTS) and destroys the one it
// hands back, which is ours again.
inline void GiveListViewImageList(HWND listView, ImageList images, int which) {
    HIMAGELIST given = images.release();
    ImageList previous(ListView_SetImageList(listView, given, which));
    if (previous.get() == given) previous.release();
}

// Fills the rectangle with one colour through a brush of its own.
inline void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    Brush brush(::CreateSolidBrush(color));
    ::FillRect(dc, &rect, brush.get());
}

// A C stream, closed with its owner.
struct CloseStdioFile { void operator()(std::FILE* f) const noexcept { std::fclose(f); } };
using StdioFile = std::unique_ptr<std::FILE, CloseStdioFile>;

// Handles whose failure value is INVALID_HANDLE_VALUE; null never names an object either.
template <class Closer>
struct InvalidValueTraits {
    using handle_type = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) noexcept { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) noexcept { Closer{}(h); }
};
using FindHandle = UniqueHandle<InvalidValueTraits<FindCloseFn>>;
// What CreateFile returns, taken over in the same statement: `fw::FileHandle file(::CreateFileW(...));`
using FileHandle = UniqueHandle<InvalidValueTraits<CloseKernelHandle>>;

// The DC of a WM_PAINT, from BeginPaint to EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) noexcept : m_hwnd(hwnd) { m_dc = ::BeginPaint(hwnd, &m_paint); }
    ~PaintDc() { End(); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    PaintDc(PaintDc&& other) noexcept
        : m_hwnd(std::exchange(other.m_hwnd, nullptr)), m_paint(other.m_paint), m_dc(std::exchange(other.m_dc, nullptr)) {}
    PaintDc& operator=(PaintDc&& other) noexcept {
        if (this != &other) {
            End();
            m_hwnd = std::exchange(other.m_hwnd, nullptr);
            m_paint = other.m_paint;
            m_dc = std::exchange(other.m_dc, nullptr);
        }
        return *this;
    }

    HDC get() const noexcept { return m_dc; }
    const PAINTSTRUCT& paint() const noexcept { return m_paint; }

private:
    void End() noexcept {
        if (m_hwnd) ::EndPaint(std::exchange(m_hwnd, nullptr), &m_paint);
        m_dc = nullptr;
    }

    HWND m_hwnd;
    PAINTSTRUCT m_paint{};
    HDC m_dc = nullptr;
};

// A window's DC, released to its window.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : m_hwnd(hwnd), m_dc(::GetDC(hwnd)) {}
    ~WindowDc() { if (m_dc) ::ReleaseDC(m_hwnd, m_dc); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// Selects an object into a DC and puts the previous one back.
class SelectObjectGuard {
public:
    SelectObjectGuard(HDC dc, HGDIOBJ obj) noexcept : m_dc(dc), m_old(::SelectObject(dc, obj)) {}
    ~SelectObjectGuard() { if (m_old && m_old != HGDI_ERROR) ::SelectObject(m_dc, m_old); }
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// COM for the current thread, apartment model unless a worker asks for the multithreaded one;
// uninitialised only when it was initialised.
class ComApartment {
public:
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) noexcept
        : m_ok(SUCCEEDED(::CoInitializeEx(nullptr, model))) {}
    ~ComApartment() { if (m_ok) ::CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool ok() const noexcept { return m_ok; }

private:
    bool m_ok;
};

// OLE on the window thread, as the shell's drag and drop and the common dialogs want it.
class OleSession {
public:
    OleSession() noexcept : m_ok(SUCCEEDED(::OleInitialize(nullptr))) {}
    ~OleSession() { if (m_ok) ::OleUninitialize(); }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool m_ok;
};

// The wait cursor while a scope blocks the user interface; the previous cursor comes back after.
class WaitCursor {
public:
    WaitCursor() noexcept : m_previous(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { Restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    WaitCursor(WaitCursor&& other) noexcept
        : m_previous(std::exchange(other.m_previous, nullptr)), m_engaged(std::exchange(other.m_engaged, false)) {}
    WaitCursor& operator=(WaitCursor&& other) noexcept {
        if (this != &other) {
            Restore();
            m_previous = std::exchange(other.m_previous, nullptr);
            m_engaged = std::exchange(other.m_engaged, false);
        }
        return *this;
    }

private:
    void Restore() noexcept {
        if (std::exchange(m_engaged, false)) ::SetCursor(m_previous);
    }

    HCURSOR m_previous;
    bool m_engaged = true;  // the previous cursor may be null, a valid thing to put back
};

// Gives a flag a value for a scope and puts its previous value back when the scope ends.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag, bool value = true) noexcept : m_flag(&flag), m_previous(flag) { flag = value; }
    ~ScopedFlag() { Restore(); }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;
    ScopedFlag(ScopedFlag&& other) noexcept
        : m_flag(std::exchange(other.m_flag, nullptr)), m_previous(other.m_previous) {}
    ScopedFlag& operator=(ScopedFlag&& other) noexcept {
        if (this != &other) {
            Restore();
            m_flag = std::exchange(other.m_flag, nullptr);
            m_previous = other.m_previous;
        }
        return *this;
    }

private:
    void Restore() noexcept {
        if (m_flag) *std::exchange(m_flag, nullptr) = m_previous;
    }

    bool* m_flag;
    bool m_previous;
};

// Puts the process's current folder back where it was: the common dialogs move it to the folder
// the user browsed (OFN_NOCHANGEDIR does nothing for the Open dialog), which then cannot be
// removed or ejected while the program runs.
class CurrentFolderKept {
public:
    CurrentFolderKept() {
        const DWORD length = ::GetCurrentDirectoryW(0, nullptr);
        if (length == 0) return;
        m_folder.resize(length);
        m_folder.resize(::GetCurrentDirectoryW(length, m_folder.data()));
    }
    ~CurrentFolderKept() { if (!m_folder.empty()) ::SetCurrentDirectoryW(m_folder.c_str()); }
    CurrentFolderKept(const CurrentFolderKept&) = delete;
    CurrentFolderKept& operator=(const CurrentFolderKept&) = delete;

private:
    std::wstring m_folder;
};

}  // namespace fw
