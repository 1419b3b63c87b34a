#pragma once
// The GDI+ session: started by the constructor, shut down by the destructor.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace fw {

class GdiplusSession {
public:
    GdiplusSession() noexcept {
        Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, codecs not suppressed
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    ~GdiplusSession() { if (m_token) Gdiplus::GdiplusShutdown(m_token); }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR m_token = 0;
};

}  // namespace fw
