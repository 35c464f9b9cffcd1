#pragma once
// The main frame's resources as data: the menu, the accelerator table, the
// toolbar and the command prompts. CMainFrame builds its widgets from these
// tables, and tests compare the widgets against them.
#include <span>
#include <string_view>

namespace hpa {

enum class MenuEntryKind { Item, Separator, Popup, EndPopup, RecentFiles };

// A menu written as a flat list: Popup opens a submenu, EndPopup closes it.
struct MenuEntry {
    MenuEntryKind kind;
    const char* pszText;     // with '&' before the mnemonic
    const char* pszShortcut; // shown at the right of the item, or nullptr
    int nID;
};

// One accelerator: a key in QKeySequence's portable text form.
struct AcceleratorEntry {
    const char* pszKey;
    int nID;
};

// A toolbar button; nID 0 is a separator.
struct ToolbarEntry {
    int nID;
    const char* pszIcon; // resource path of the 16x15 image
};

std::span<const MenuEntry> MainMenu();
std::span<const AcceleratorEntry> MainAccelerators();
std::span<const ToolbarEntry> MainToolbar();

// "status bar prompt\ntool tip", or nullptr for a command without prompt.
const char* CommandPrompt(int nID);

// The two halves of a prompt: the status bar text before the line break and
// the tool tip after it (both empty for a command without prompt).
std::string_view PromptMessage(int nID);
std::string_view PromptTip(int nID);

} // namespace hpa
