#include "support/bmp_dc_win32.h"

#include <algorithm>
#include <utility>

namespace zorv {

HDC clsBmpDC::Create(std::int32_t width, std::int32_t height) {
    WindowDC screen(nullptr);
    if (!screen) return nullptr;
    Record record;
    record.Dc.reset(CreateCompatibleDC(screen.get()));
    // A zero-sized bitmap would be a 1x1 monochrome one; keep at least a pixel
    // of the screen's format.
    record.Bitmap.reset(
        CreateCompatibleBitmap(screen.get(), std::max(width, 1), std::max(height, 1)));
    if (!record.Dc || !record.Bitmap) return nullptr;
    record.Previous = SelectObject(record.Dc.get(), record.Bitmap.get());
    record.Size = {width, height};
    HDC dc = record.Dc.get();
    records_.push_back(std::move(record));
    return dc;
}

HDC clsBmpDC::Adopt(UniqueBitmap bitmap) {
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap.get(), sizeof bm, &bm)) return nullptr;
    Record record;
    record.Dc.reset(CreateCompatibleDC(nullptr));
    if (!record.Dc) return nullptr;
    record.Bitmap = std::move(bitmap);
    record.Previous = SelectObject(record.Dc.get(), record.Bitmap.get());
    record.Size = {bm.bmWidth, bm.bmHeight};
    HDC dc = record.Dc.get();
    records_.push_back(std::move(record));
    return dc;
}

// The bitmap cannot be deleted while selected, and the context must get its
// original bitmap back before it is deleted.
void clsBmpDC::Release(Record& record) {
    if (record.Dc && record.Previous) SelectObject(record.Dc.get(), record.Previous);
    record.Bitmap.reset();
    record.Dc.reset();
}

void clsBmpDC::Delete(HDC dc) {
    if (!dc) return;
    auto it = std::find_if(records_.begin(), records_.end(),
                           [dc](const Record& r) { return r.Dc.get() == dc; });
    if (it == records_.end()) return;
    Release(*it);
    records_.erase(it);
}

HDC clsBmpDC::Recreate(HDC& dc, std::int32_t width, std::int32_t height) {
    if (dc) Delete(dc);
    dc = Create(width, height);
    return dc;
}

void clsBmpDC::Clear() {
    while (!records_.empty()) {
        Release(records_.back());
        records_.pop_back();
    }
}

SIZE clsBmpDC::SizeOf(HDC dc) const {
    for (const Record& r : records_) {
        if (r.Dc.get() == dc) return r.Size;
    }
    return SIZE{0, 0};
}

}  // namespace zorv
