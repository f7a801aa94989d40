#include "bar/bar_drop_win32.h"

#include <shlobj.h>
#include <shellapi.h>

#include <cmath>
#include <cstring>

#include "bar/bar_motion_win32.h"
#include "support/gdi_win32.h"
#include "support/late_bound_win32.h"
#include "support/log.h"
#include "support/program_icon_win32.h"
#include "support/shell_link_win32.h"
#include "support/text_win32.h"
#include "support/texts.h"

namespace zorv {

namespace {

template <class F>
F Ole(const char* name) {
    return LateBound<F>(L"ole32.dll", name);
}

FORMATETC FormatOf(CLIPFORMAT format) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool Offers(IDataObject* data, CLIPFORMAT format) {
    FORMATETC f = FormatOf(format);
    return data && data->QueryGetData(&f) == S_OK;
}

// The files of a file list (CF_HDROP: a DROPFILES header, then the names
// each ended by a NUL and the list by one more).
std::vector<std::string> DroppedFiles(IDataObject* data) {
    std::vector<std::string> files;
    FORMATETC f = FormatOf(CF_HDROP);
    STGMEDIUM medium{};
    if (!data || data->GetData(&f, &medium) != S_OK) return files;
    const SIZE_T size = GlobalSize(medium.hGlobal);
    if (const auto* drop = static_cast<const DROPFILES*>(GlobalLock(medium.hGlobal))) {
        const char* base = reinterpret_cast<const char*>(drop);
        if (drop->pFiles < size) {
            if (drop->fWide) {
                const auto* p = reinterpret_cast<const wchar_t*>(base + drop->pFiles);
                const auto* end = reinterpret_cast<const wchar_t*>(base + size);
                while (p < end && *p) {
                    const std::size_t n = wcsnlen(p, static_cast<std::size_t>(end - p));
                    files.push_back(Narrow(std::wstring_view(p, n)));
                    p += n + 1;
                }
            } else {
                const char* p = base + drop->pFiles;
                const char* end = base + size;
                while (p < end && *p) {
                    const std::size_t n = strnlen(p, static_cast<std::size_t>(end - p));
                    files.push_back(CodePageToUtf8(std::string_view(p, n)));
                    p += n + 1;
                }
            }
        }
        GlobalUnlock(medium.hGlobal);
    }
    if (const auto release = Ole<decltype(&ReleaseStgMedium)>("ReleaseStgMedium")) release(&medium);
    return files;
}

// The outgoing data: the button's caption, command and folder as text.
class TextData final : public IDataObject {
  public:
    explicit TextData(std::wstring text) : text_(std::move(text)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // on the stack
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        std::string ansi;
        const void* bytes = text_.c_str();
        std::size_t size = (text_.size() + 1) * sizeof(wchar_t);
        if (format->cfFormat == CF_TEXT) {
            ansi = Utf8ToCodePage(Narrow(text_)).value_or(std::string());
            bytes = ansi.c_str();
            size = ansi.size() + 1;
        }
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
        if (!memory) return E_OUTOFMEMORY;
        std::memcpy(GlobalLock(memory), bytes, size);
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
        return f && (f->cfFormat == CF_UNICODETEXT || f->cfFormat == CF_TEXT) &&
                       (f->tymed & TYMED_HGLOBAL)
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        static const auto create =
            LateBound<decltype(&SHCreateStdEnumFmtEtc)>(L"shell32.dll", "SHCreateStdEnumFmtEtc");
        if (direction != DATADIR_GET || !create) return E_NOTIMPL;
        const FORMATETC formats[] = {FormatOf(CF_UNICODETEXT), FormatOf(CF_TEXT)};
        return create(2, formats, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

  private:
    std::wstring text_;
    ULONG refs_ = 1;
};

class BarDropSource final : public IDropSource {
  public:
    explicit BarDropSource(BarDragDrop& owner) : owner_(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *object = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
    // The button as the mouse has it: the key state handed in is this
    // thread's, which under Wine misses a release over another program's
    // window.
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
        if (escape) return DRAGDROP_S_CANCEL;
        const int left = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
        return GetAsyncKeyState(left) < 0 ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
        owner_.GiveFeedback(effect);
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

  private:
    BarDragDrop& owner_;
    ULONG refs_ = 1;
};

// The dropped file's own icon, written into the icon folder; "**003" when
// it has none or none can be written.
std::string IconForDroppedFile(const std::string& file, const std::string& iconFolder) {
    UniqueDC dc(CreateCompatibleDC(nullptr));
    WindowDC screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), kIconPixels, 2 * kIconPixels));
    if (!dc || !bitmap) return "**003";
    SelectGuard select(dc.get(), bitmap.get());
    const IconPlace place{dc.get(), {0, 0}, {0, kIconPixels}};
    if (!LoadProgramIcon(file, place)) return "**003";
    const std::string name = WriteIconPicture(place, iconFolder, file);
    return name.empty() ? "**003" : name;
}

}  // namespace

bool BarDragDrop::Register(HWND bar) {
    if (registered_) return true;
    bar_ = bar;
    const auto init = Ole<decltype(&OleInitialize)>("OleInitialize");
    const auto reg = Ole<decltype(&RegisterDragDrop)>("RegisterDragDrop");
    if (!init || !reg || FAILED(init(nullptr))) return false;
    const HRESULT hr = reg(bar, this);
    registered_ = SUCCEEDED(hr);
    Log(2, "RegisterDragDrop = %X", static_cast<std::uint32_t>(hr));
    return registered_;
}

void BarDragDrop::Revoke() {
    if (!registered_) return;
    if (const auto revoke = Ole<decltype(&RevokeDragDrop)>("RevokeDragDrop")) revoke(bar_);
    registered_ = false;
}

HRESULT BarDragDrop::QueryInterface(REFIID riid, void** object) {
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

DropPos BarDragDrop::PositionAt(POINTL at) const {
    POINT client{at.x, at.y};
    ScreenToClient(bar_, &client);
    const std::int32_t cell = painter_.ButtonAtClientX(client.x);
    const std::int32_t dx = client.x + painter_.ScrollOffset() - painter_.Layout().ButtonX(cell);
    return DropPosition(s_.Lists[kListButtons], painter_.Layout(), cell, dx);
}

HRESULT BarDragDrop::DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) {
    fileCount_ = static_cast<std::int32_t>(DroppedFiles(data).size());
    hasText_ = Offers(data, CF_UNICODETEXT) || Offers(data, CF_TEXT);
    target_ = markerAt_ = kNoDropTarget;
    lastEffect_ = DropEffect::None;
    *effect = OverBar(keys, at);
    Log(2, "Form_OLEDragOver: %i files, text %i, effect %i", fileCount_, hasText_ ? 1 : 0,
        static_cast<std::int32_t>(*effect));
    return S_OK;
}

HRESULT BarDragDrop::DragOver(DWORD keys, POINTL at, DWORD* effect) {
    *effect = OverBar(keys, at);
    return S_OK;
}

// The bar shows itself, scrolls when it is wider than the screen, and keeps
// from reducing while something is dragged over it.
DWORD BarDragDrop::OverBar(DWORD keys, POINTL at) {
    if (motion_) {
        motion_->Reduce().UnReduce(false);
        motion_->Placer().BarMoveLeftRight();
        motion_->Reduce().RestartAutoReduceTimer();
    }
    const DropPos position = PositionAt(at);
    DragOverFacts facts;
    facts.FileCount = fileCount_;
    facts.HasText = hasText_;
    facts.OwnDrag = dragging_ >= 0;
    facts.Ctrl = (keys & MK_CONTROL) != 0 || GetAsyncKeyState(VK_CONTROL) < 0;
    facts.AtOrigin = at.x == 0 && at.y == 0;
    facts.DropsAllowed = !s_.App.NoConfig && !host_.IsMenuOrToolbarShown();
    const DragOverDecision d = DecideDragOver(facts);
    if (d.RecordTarget) target_ = position;
    if (facts.AtOrigin) ClearMarker();
    else SetMarker(position, d.Effect);
    return static_cast<DWORD>(d.Effect);
}

void BarDragDrop::SetMarker(DropPos position, DropEffect effect) {
    const bool ownPlace = dragging_ >= 0 && IsOwnPlace(dragging_, position);
    if (effect == DropEffect::None || ownPlace || position < 0) {
        ClearMarker();
    } else if (position != markerAt_ || (effect == DropEffect::Copy && lastEffect_ != effect)) {
        painter_.MarkerRemove();
        const DropMarker m = MarkerFor(painter_.Layout(), position);
        painter_.MarkerSet(m.IntoMenu, m.Left - painter_.ScrollOffset());
        markerAt_ = position;
    }
    lastEffect_ = effect;
}

void BarDragDrop::ClearMarker() {
    if (markerAt_ == kNoDropTarget) return;
    painter_.MarkerRemove();
    markerAt_ = kNoDropTarget;
}

HRESULT BarDragDrop::DragLeave() {
    ClearMarker();
    return S_OK;
}

HRESULT BarDragDrop::Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) {
    *effect = OverBar(keys, at);
    ClearMarker();
    if (*effect == DROPEFFECT_NONE || dragging_ >= 0) return S_OK;  // an own button: CompleteDrag
    const std::vector<std::string> files = DroppedFiles(data);
    if (files.empty() || target_ == kNoDropTarget) return S_OK;
    DropFiles(files, target_);
    return S_OK;
}

void BarDragDrop::DropFiles(const std::vector<std::string>& files, DropPos position) {
    Log(1, "Form_OLEDragDrop: %i files at %.1f", static_cast<std::int32_t>(files.size()), position);
    HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    clsItems& buttons = s_.Lists[kListButtons];
    DropPlace place = PlaceOfDrop(buttons, position);
    Win32NameOnDisk names;
    for (const std::string& file : files) {
        std::optional<ShortcutInfo> link;
        if (ShortcutInfo info; ReadShellLink(file, info)) link = info;
        Item item = ItemForDroppedFile(file, link, names);
        item.Icon = IconForDroppedFile(file, s_.App.IconFolder);
        if (place.IntoMenu) item.Desc = std::string(kDepthMark) + item.Desc;
        buttons.AddItemAt(place.Index++, item);
    }
    host_.ButtonListChanged();
    SetCursor(old);
    if (motion_) motion_->Reduce().RestartAutoReduceTimer();
}

void BarDragDrop::GiveFeedback(DWORD effect) {
    if (effect == DROPEFFECT_NONE && target_ != kNoDropTarget) ClearMarker();
}

void BarDragDrop::StartDrag(std::int32_t button) {
    const auto doDrag = Ole<decltype(&DoDragDrop)>("DoDragDrop");
    if (!registered_ || !doDrag || s_.Options.NoDragDropSource) return;
    const clsItems& buttons = s_.Lists[kListButtons];
    if (button < 0 || button >= buttons.Count()) return;
    Item item;
    buttons.GetItem(button, item);
    TextData data(Widen(std::string(StripDepth(item.Desc)) + "\r\n" + item.Path + "\r\n" +
                        item.WrkDir + "\r\n"));
    BarDropSource source(*this);
    if (motion_) motion_->StopTimers();
    dragging_ = button;
    target_ = markerAt_ = kNoDropTarget;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = doDrag(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    Log(1, "Form_OLECompleteDrag: %X, effect %i, target %.1f", static_cast<std::uint32_t>(hr),
        static_cast<std::int32_t>(effect), target_);
    CompleteDrag(hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE);
}

// A move into another program takes the button away; a drop on the bar
// moves it there, or with Ctrl copies it.
void BarDragDrop::CompleteDrag(DWORD effect) {
    ClearMarker();
    const std::int32_t button = std::exchange(dragging_, -1);
    painter_.ButtonDrawUnPress();
    clsItems& buttons = s_.Lists[kListButtons];
    bool changed = false;
    if (target_ != kNoDropTarget && effect != DROPEFFECT_NONE) {
        const bool copy = effect == DROPEFFECT_COPY;
        const ButtonDrop done = DropButton(buttons, button, target_, copy);
        if (done == ButtonDrop::Moved) Log(1, "Button_Move %i %.1f", button, target_);
        if (done == ButtonDrop::Copied) Log(1, "Button_Copy %i %.1f", button, target_);
        if (done == ButtonDrop::Refused) {
            MsgBox(Text(Txt::NotPossible), MB_OK | MB_ICONEXCLAMATION, bar_);
        }
        changed = done == ButtonDrop::Moved || done == ButtonDrop::Copied;
    } else if (effect == DROPEFFECT_MOVE) {
        Log(1, "Button_Remove %i (taken by another program)", button);
        buttons.RemoveItems(button);
        changed = true;
    }
    target_ = kNoDropTarget;
    if (changed) host_.ButtonListChanged();
    SendMessageW(bar_, WM_MOUSEMOVE, 0, MAKELPARAM(kSimulatedMoveX, 0));
    if (motion_) {
        motion_->StartPosTimer();
        motion_->Reduce().RestartAutoReduceTimer();
    }
}

}  // namespace zorv
