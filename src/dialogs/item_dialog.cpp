#include "dialogs/item_dialog.h"

#include <algorithm>

#include "bar/bar_layout.h"
#include "bar/icon_source.h"
#include "dialogs/item_dialog_ids.h"
#include "support/ascii.h"
#include "support/texts.h"
#include "support/utf8.h"

namespace zorv {

namespace {

std::string Trimmed(std::string_view text) {
    return std::string(TrimBlanks(text));
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return LowerAscii(x) < LowerAscii(y); });
}

}  // namespace

IconChoice IconChoiceOf(std::string_view iconField) {
    const std::string_view name = TrimBlanks(iconField);
    IconChoice icon;
    if (name.empty()) return icon;
    if (name.substr(0, 2) == "**") {
        const std::int32_t n = ParseDecimalPrefix(name.substr(2));
        if (n >= 1 && n <= kBuiltInIconCount) {
            icon.Kind = IconChoiceKind::BuiltIn;
            icon.BuiltIn = n;
        }
        return icon;
    }
    icon.Kind = IconChoiceKind::File;
    icon.File = std::string(name);
    return icon;
}

ItemDialogStart FillForm(const clsItems& list, const ItemDialogRequest& request, bool english) {
    ItemDialogStart start;
    start.Caption = TextIn(request.AddMode ? Txt::AddItem : Txt::EditItem, english);
    const bool exists = request.Index >= 0 && request.Index < list.Count();
    if (request.AddMode) {
        // A new item lands on the level of the line it goes before, or from
        // the bar on the level of the pressed button.
        if (exists) {
            const std::string desc = list.GetDesc(request.Index);
            start.DepthPrefix = desc.substr(0, desc.size() - StripDepth(desc).size());
        }
        return start;
    }
    if (!exists) return start;
    Item item;
    list.GetItem(request.Index, item);
    start.EditIndex = request.Index;
    ItemForm& f = start.Form;
    const std::string_view name = StripDepth(item.Desc);
    start.DepthPrefix = item.Desc.substr(0, item.Desc.size() - name.size());
    f.Desc = std::string(name);
    f.Path = item.Path;
    f.WorkDir = item.WrkDir;
    f.Title = item.Title;
    f.UserBox0 = item.UserType == 1;
    f.UserBox1 = item.UserType == 2;
    f.Prio = std::clamp(item.Prio, 0, 4);
    f.Activate = std::min<std::int32_t>(item.Activate, 2);
    f.Force = item.Style >= 100;
    f.WindowStyle = std::clamp(item.Style % 100, 0, 3);
    f.Hotkey = item.Hotkey;
    f.Icon = IconChoiceOf(item.Icon);
    return start;
}

RightsLayout RightsFor(const StartupState& app) {
    RightsLayout r;
    r.Visible = app.WindowsVersion.Win2000OrLater;
    r.AdminCaption = app.ElevationType == 3;
    r.Box0Enabled = !(app.ElevationType == 2 && app.WindowsVersion.VistaOrLater);
    return r;
}

void ClickRightsBox(std::int32_t clicked, bool& box0, bool& box1) {
    if (clicked == 0 && box0) box1 = false;
    if (clicked == 1 && box1) box0 = false;
}

std::int32_t AppIconDelayMs(std::string_view path) {
    const bool network = path.substr(0, 2) == "\\\\" || path.substr(0, 2) == "//";
    return network ? 2000 : 300;
}

Item ItemFromForm(ItemForm& form, std::string_view depthPrefix, NameOnDiskLookup& files) {
    form.Path = Trimmed(form.Path);
    form.Desc = Trimmed(form.Desc);
    form.WorkDir = Trimmed(form.WorkDir);
    form.Title = Trimmed(form.Title);
    Item item;
    item.UserType = form.UserBox0 ? 1 : form.UserBox1 ? 2 : 0;
    item.Prio = form.Prio;
    std::string name = form.Desc;
    if (name.empty() && form.Path.empty()) name = "-";
    if (name.empty()) name = ProgramNameOf(form.Path, files);
    name = std::string(FirstChars(name, kMaxItemNameChars));
    item.Desc = std::string(depthPrefix) + name;
    item.Path = form.Path;
    item.WrkDir = form.WorkDir;
    item.Style = std::clamp(form.WindowStyle, 0, 3) + (form.Force ? 100 : 0);
    item.Hotkey = form.Hotkey;
    item.Activate = static_cast<std::uint8_t>(std::clamp(form.Activate, 0, 2));
    item.Title = form.Title;
    return item;
}

std::string IconFieldOf(const IconChoice& icon) {
    switch (icon.Kind) {
        case IconChoiceKind::BuiltIn: {
            std::string digits = std::to_string(icon.BuiltIn);
            if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
            return "**" + digits;
        }
        case IconChoiceKind::File:
            return icon.File;
        case IconChoiceKind::AppIcon:
        case IconChoiceKind::None:
            break;
    }
    return {};
}

std::int32_t WriteItem(clsItems& list, const ItemDialogRequest& request, const Item& item) {
    if (!request.AddMode) {
        list.SetItemAt(request.Index, item);
        return request.Index;
    }
    std::int32_t at = std::clamp(request.Index, 0, list.Count());
    if (request.FromBar && at < list.Count()) {
        // After the pressed button and the deeper items of its menu.
        const std::int32_t depth = ItemDepth(list.GetDesc(at));
        ++at;
        while (at < list.Count() && ItemDepth(list.GetDesc(at)) > depth) ++at;
    }
    list.AddItemAt(at, item);
    return at;
}

std::int32_t IconStrip::Count() const {
    return kBuiltInIconCount + static_cast<std::int32_t>(Files.size());
}

IconChoice IconStrip::At(std::int32_t index) const {
    IconChoice icon;
    if (index >= 0 && index < kBuiltInIconCount) {
        icon.Kind = IconChoiceKind::BuiltIn;
        icon.BuiltIn = index + 1;
    } else if (index >= kBuiltInIconCount && index < Count()) {
        icon.Kind = IconChoiceKind::File;
        icon.File = Files[static_cast<std::size_t>(index - kBuiltInIconCount)];
    }
    return icon;
}

std::int32_t IconStrip::IndexOf(const IconChoice& icon) const {
    if (icon.Kind == IconChoiceKind::BuiltIn) return icon.BuiltIn - 1;
    if (icon.Kind != IconChoiceKind::File) return -1;
    for (std::size_t i = 0; i < Files.size(); ++i) {
        if (EqualsNoCase(Files[i], icon.File)) return kBuiltInIconCount + static_cast<std::int32_t>(i);
    }
    return -1;
}

std::int32_t IconStrip::Add(const std::string& file) {
    IconChoice icon{IconChoiceKind::File, 0, file};
    if (const std::int32_t at = IndexOf(icon); at >= 0) return at;
    Files.push_back(file);
    std::sort(Files.begin(), Files.end(), LessNoCase);
    return IndexOf(icon);
}

IconStrip MakeIconStrip(std::vector<std::string> files) {
    std::sort(files.begin(), files.end(), LessNoCase);
    return IconStrip{std::move(files)};
}

std::int32_t IconStripScrollMax(std::int32_t count, std::int32_t visible) {
    return std::max(0, count - std::max(visible, 1));
}

const std::vector<ItemCaption>& ItemDialogCaptions() {
    static const std::vector<ItemCaption> captions = {
        {IDC_ITEM_DESC_LABEL, "&Beschreibung:", "&Name:"},
        {IDC_ITEM_PATH_LABEL, "Befehls&zeile:", "&Commandline:"},
        {IDC_ITEM_BROWSE_PATH, "&Durchsuchen...", "&Browse..."},
        {IDC_ITEM_WORKDIR_LABEL, "Arbeitsverzei&chnis:", "&Working-Directory:"},
        {IDC_ITEM_BROWSE_FOLDER, "D&urchsuchen...", "&Browse..."},
        {IDC_ITEM_ICON_LABEL, "&Icon:", "&Icon:"},
        {IDC_ITEM_APPICON_LABEL, "App's icon:", "App's icon:"},
        {IDC_ITEM_BROWSE_ICON, "Du&rchsuchen...", "&Browse..."},
        {IDC_ITEM_STYLE_FRAME, "&Fenster:", "&Window:"},
        {IDC_ITEM_STYLE0, "&Versteckt", "&Hidden"},
        {IDC_ITEM_STYLE1, "&Normal", "&Normal"},
        {IDC_ITEM_STYLE2, "M&inimiert", "M&inimized"},
        {IDC_ITEM_STYLE3, "&Maximiert", "&Maximized"},
        {IDC_ITEM_FORCE, "Er&zwingen", "&Force"},
        {IDC_ITEM_ACTIVATE, "&Laufendes Programm aktivieren:", "&Activate running program"},
        {IDC_ITEM_TITLE_LABEL, "&Titelzeilezeile:", "&Titlebar to activate:"},
        {IDC_ITEM_GET_TITLE, "Titelzeile h&olen...", "&Get Titlebar"},
        {IDC_ITEM_SEARCH_LABEL, "Fenster- Suchwerkzeug:", "&Window SearchTool:"},
        {IDC_ITEM_RIGHTS_FRAME, "Rechte / Priorität", "Rights"},
        {IDC_ITEM_USERTYPE0, "Als anderer Nutzer", "As &Other User"},
        {IDC_ITEM_USERTYPE1, "eingeschränkt", "&Run restriced"},
        {IDC_ITEM_HOTKEY_LABEL, "&Hotkey:", "&Hotkey:"},
        {1 /* IDOK */, "OK", "OK"},
        {2 /* IDCANCEL */, "Abbrechen", "Cancel"},
    };
    return captions;
}

std::string_view AdminCaption(bool english) {
    return english ? "As &Administrator" : "Als &Administrator";
}

std::vector<std::string_view> PriorityNames(bool english) {
    if (english) return {"low", "below normal", "nomal", "above normal", "high"};
    return {"niedrig", "niedriger als normal", "normal", "höher als normal", "hoch"};
}

std::string_view IconFileFilter(bool english) {
    return english ? "Icons|*.ico;*.exe;*.dll;*.bmp|All Files(*.*)|*.*"
                   : "Symbole|*.ico;*.exe;*.dll;*.bmp|Alle Dateien(*.*)|*.*";
}

std::string ProgramFileFilter(bool english, bool win9x) {
    std::string patterns;
    for (std::string_view ext : ExeExtensions) {
        if (ext.empty() || (win9x && ext == "cmd")) continue;
        if (!patterns.empty()) patterns += ';';
        patterns.append("*.").append(ext);
    }
    return std::string(english ? "Programs|" : "Programme|") + patterns +
           (english ? "|All Files(*.*)|*.*" : "|Alle Dateien(*.*)|*.*");
}

}  // namespace zorv
