// The bar as a drop target and a drag source, through OLE. Files dropped on
// the bar become buttons (or entries of a button's menu) where they land; a
// button dragged along the bar moves there (Ctrl: a copy); a button dragged
// out hands its command to the other program as text, and goes when that
// program takes it with a move. The decisions are bar/drop's.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bar/bar_draw_win32.h"
#include "bar/bar_host.h"
#include "bar/drop.h"
#include "items/app_state.h"

namespace zorv {

class BarMotion;

class BarDragDrop final : public IDropTarget {
  public:
    BarDragDrop(AppState& state, BarPainter& painter, BarHost& host)
        : s_(state), painter_(painter), host_(host) {}
    BarDragDrop(const BarDragDrop&) = delete;
    BarDragDrop& operator=(const BarDragDrop&) = delete;

    void SetMotion(BarMotion* motion) { motion_ = motion; }
    // OLE for this thread and the bar registered as a drop target; after the
    // first show, since OLE costs the start some milliseconds. False when
    // the system refuses.
    bool Register(HWND bar);
    void Revoke();
    // A held button was dragged far enough: it goes out as text. Returns
    // when the drag has ended (the system runs it).
    void StartDrag(std::int32_t button);

    // IUnknown: the object lives as long as the bar; the counts only keep
    // the system's bookkeeping.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
    // IDropTarget.
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at,
                                   DWORD* effect) override;

    // The drag source's side (called by its IDropSource).
    void GiveFeedback(DWORD effect);

  private:
    DropPos PositionAt(POINTL at) const;
    DWORD OverBar(DWORD keys, POINTL at);
    void SetMarker(DropPos position, DropEffect effect);
    void ClearMarker();
    void DropFiles(const std::vector<std::string>& files, DropPos position);
    void CompleteDrag(DWORD effect);

    AppState& s_;
    BarPainter& painter_;
    BarHost& host_;
    BarMotion* motion_ = nullptr;
    HWND bar_ = nullptr;
    bool registered_ = false;
    ULONG refs_ = 1;
    // The drag over the bar.
    std::int32_t fileCount_ = 0;
    bool hasText_ = false;
    DropPos target_ = kNoDropTarget;
    DropPos markerAt_ = kNoDropTarget;
    DropEffect lastEffect_ = DropEffect::None;
    // The button being dragged out, -1 when none.
    std::int32_t dragging_ = -1;
};

}  // namespace zorv
