#pragma once
// A whole file seen read-only in memory: decoders read it in place, with no copy in the
// process's private memory, however large the file.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

class FileView {
public:
    // Maps the file; an empty view when it cannot be opened or holds no bytes.
    explicit FileView(const std::string& path);
    ~FileView();
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;

    const uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }
    explicit operator bool() const { return m_data != nullptr; }

private:
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
};
