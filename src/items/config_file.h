// The configuration file as text: reading it into the six item lists and the
// settings, and writing them back. The core works on UTF-8 text; the shell
// reads and writes the bytes and converts the system code page (a file that
// begins with a UTF-8 byte order mark stays UTF-8 with the mark).
#pragma once

#include <string>
#include <string_view>

#include "items/items.h"
#include "items/settings.h"

namespace zorv {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// True when the file's bytes begin with the UTF-8 byte order mark.
bool HasUtf8Bom(std::string_view bytes);

// "; ZorvPanel V0.01": the first line of a written file.
std::string IniHeaderLine();

// Empties the six lists (a file that cannot be opened leaves them so).
void ClearItemLists(ItemLists& lists);

// Replaces the lists by the items of `text` and sets the settings it names;
// the others keep their values, except the few every reading starts from
// (ForcedColor3DFace, RefreshOnCDS, TransparencyIdx, SendWmPaints on
// Windows 95/98/ME). A leading byte order mark is skipped. Finishes with
// UpdateDerivedSettings.
void ReadIniText(std::string_view text, ItemLists& lists, Settings& settings,
                 const IniContext& context);

// The whole file: header, the items of lists 0 to 5, "[Settings]" with every
// key. Lines end with CR LF. The lists must carry their names (SetListNames):
// clipboard lists are told by name.
std::string FormatIni(const ItemLists& lists, const Settings& settings, const IniContext& context);

}  // namespace zorv
