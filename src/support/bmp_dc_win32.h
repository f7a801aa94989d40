// The registry of the bar's memory images: each is a device context with a
// bitmap of its own selected into it. Every image is created and released
// here, so unload (or a rebuild) frees them all in one place.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "support/gdi_win32.h"

namespace zorv {

class clsBmpDC {
  public:
    clsBmpDC() = default;
    ~clsBmpDC() { Clear(); }
    clsBmpDC(const clsBmpDC&) = delete;
    clsBmpDC& operator=(const clsBmpDC&) = delete;

    // A screen-compatible context with a bitmap of this size selected; null
    // when the system is out of GDI resources.
    HDC Create(std::int32_t width, std::int32_t height);
    // A context with `bitmap` selected as it is (a DIB section keeps its own
    // format); null when the bitmap or a context is missing.
    HDC Adopt(UniqueBitmap bitmap);
    // Releases the context made by Create; unknown or null contexts are ignored.
    void Delete(HDC dc);
    // Deletes `dc` if it is set, then creates it anew with this size.
    HDC Recreate(HDC& dc, std::int32_t width, std::int32_t height);
    // Releases every context, newest first.
    void Clear();

    std::size_t Count() const { return records_.size(); }
    // Size of the bitmap selected into `dc`; {0, 0} for an unknown context.
    SIZE SizeOf(HDC dc) const;

  private:
    struct Record {
        UniqueDC Dc;
        UniqueBitmap Bitmap;
        HGDIOBJ Previous = nullptr;
        SIZE Size{};
    };
    static void Release(Record& record);

    std::vector<Record> records_;
};

}  // namespace zorv
