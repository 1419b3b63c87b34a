#include "composer/file_view.h"

#include "framework/handles.h"
#include "framework/mbstring.h"

FileView::FileView(const std::string& path) {
    // Others may keep reading, writing or deleting the file: the view keeps its bytes.
    HANDLE raw = ::CreateFileW(mb::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return;
    fw::KernelHandle file(raw);
    LARGE_INTEGER size{};
    // A zero-length file cannot be mapped; a size beyond the address space is no photo.
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
        static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX)
        return;
    fw::KernelHandle mapping(::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return;
    m_data = static_cast<const uint8_t*>(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (m_data) m_size = static_cast<size_t>(size.QuadPart);
}

FileView::~FileView() {
    if (m_data) ::UnmapViewOfFile(m_data);
}
