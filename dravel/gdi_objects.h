// Owners for the GDI objects the library makes, so every early return releases what it made.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <type_traits>

namespace dravel {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;

struct MemoryDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using UniqueMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

// Keeps an object selected into a DC, and puts the previous one back at the end of the scope.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(m_dc, m_previous); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// A top-down 32-bit DIB section of width × height pixels (0xAARRGGBB each), its pixel memory in
// *pixels; null when it cannot be allocated.
UniqueBitmap CreatePixelBuffer(int width, int height, std::uint32_t** pixels);

}  // namespace dravel
