// Drawing the bar: the bar image is painted once, and the window gets
// rectangles copied from it (a whole redraw, or one cell for a press or a
// hover). Also the bar's geometry as currently built, for the mouse and
// placement code, and the cached bar picture beside the configuration file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zorv {

// Declared in bar/bar_layout.h. Not included here: placement code includes
// this header beside its own geometry types.
class BarLayout;
struct ButtonMenuPlan;

// What other parts of the bar do around a rebuild or a redraw. Each is
// optional; the parts that own them register them once at start.
struct BarDrawHooks {
    // After BarRedraw: put the window alpha back that reduce/fade requires.
    std::function<void()> AfterRedraw;
    // During BarCreate: build the buttons' popup menus from the plans.
    std::function<void(const std::vector<ButtonMenuPlan>&)> BuildButtonMenus;
    // The face colour or colour depth differed from the stored ones: the
    // position timer is to run at its one-second pace.
    std::function<void()> ColoursChanged;
};
void SetBarDrawHooks(BarDrawHooks hooks);

// The window the bar is drawn onto; FirstShow sets it before anything else.
void AttachBarWindow(HWND bar);

// Creates all image contexts (cell buffer, face strip, named pictures) and
// draws the face strip for the current settings and system colours.
void CreateBarImages();
// Builds the bar image and the button menus; with `useCache` the cached
// picture beside the configuration file may stand in for the painting.
void BarCreate(bool useCache);
// Copies the bar image to the window at the current scroll offset; `full`
// also paints the line row below the buttons.
void BarRedraw(bool full);
// Draws cell i pressed and records i as the pressed index (not separators).
void ButtonDrawPress(std::int32_t i);
// Draws the pressed cell back to normal; the pressed index stays.
void ButtonDrawUnPress();
// Flat mode: a raised frame around cell i, or (raise false) none; records the
// raised index (-1 when lowered).
void RaiseButton(std::int32_t i, bool raise);
// Flat mode: lowers the raised cell and releases the capture once the cursor
// has left the bar.
void Try4UnRaise();
// The window region: holes at separators when they are transparent.
void SetRgn();
// New images from scratch (colours, colour depth, flat or height changed),
// the window fitted to the new width and repainted.
void FullBarRecreate();

// Geometry of the bar as last built.
std::int32_t BarHeight();        // H
std::int32_t BarContentWidth();  // W
std::int32_t BarButtonWidth();   // 21 or 22
std::int32_t BarIconTop();       // icon top offset in a cell
const BarLayout& CurrentBarLayout();
bool BarBuilt();

// Pixels of the bar hidden at the left; every hit test adds it to client x.
std::int32_t BarScrollOffset();
void SetBarScrollOffset(std::int32_t offset);
// The cell under client x, or the item count for the main-menu cell and
// beyond.
std::int32_t ButtonAtClientX(std::int32_t x);
// Whether the cursor is on the bar (menuCellOnly: on its main-menu cell).
bool MouseOnBarNow(bool menuCellOnly);

std::int32_t PressedIndex();  // -1 = none
void ClearPressedIndex();
std::int32_t RaisedIndex();  // -1 = none
const std::vector<ButtonMenuPlan>& ButtonMenuPlans();

// After the configuration was written to `iniPath`: rewrite or delete the
// cached bar picture beside it as the display and the bar's state require.
void RefreshBarPictureCache(const std::string& iniPath);
// Writes the cached bar picture; false when there is no bar image or the
// file cannot be written.
bool WriteBarPicture(const std::string& path);

}  // namespace zorv
