#include "app/FrameResources.h"

#include "ui/CommandIds.h"

namespace hpa {

namespace {

using K = MenuEntryKind;

// The main frame's menu bar.
constexpr MenuEntry kMenu[] = {
    {K::Popup, "&File", nullptr, 0},
    {K::Item, "&New", "Ctrl+N", ID_FILE_NEW},
    {K::Item, "&Open...", "Ctrl+O", ID_FILE_OPEN},
    {K::Item, "Save &As...", nullptr, ID_FILE_SAVE_AS},
    {K::Separator, nullptr, nullptr, 0},
    {K::Item, "&Export...", nullptr, ID_EXPORT},
    {K::Item, "Add to &History...", nullptr, ID_FILE_ADD_TO_HISTORY},
    {K::Separator, nullptr, nullptr, 0},
    {K::Item, "&Print...", "Ctrl+P", ID_FILE_PRINT},
    {K::Item, "Print Pre&view", nullptr, ID_FILE_PRINT_PREVIEW},
    {K::Item, "P&rint Setup...", nullptr, ID_FILE_PRINT_SETUP},
    {K::Separator, nullptr, nullptr, 0},
    {K::RecentFiles, "Recent File", nullptr, ID_FILE_MRU_FILE1},
    {K::Separator, nullptr, nullptr, 0},
    {K::Item, "E&xit", nullptr, ID_APP_EXIT},
    {K::EndPopup, nullptr, nullptr, 0},
    {K::Popup, "&Edit", nullptr, 0},
    {K::Item, "&Copy", "Ctrl+C", ID_EDIT_COPY},
    {K::Separator, nullptr, nullptr, 0},
    {K::Item, "&Find...", nullptr, ID_EDIT_FIND},
    {K::EndPopup, nullptr, nullptr, 0},
    {K::Popup, "&View", nullptr, 0},
    {K::Popup, "&Data", nullptr, 0},
    {K::Item, "&Job", nullptr, ID_DATA_JOB},
    {K::Item, "&Paper", nullptr, ID_DATA_PAPER},
    {K::Item, "&Status", nullptr, ID_DATA_STATUS},
    {K::EndPopup, nullptr, nullptr, 0},
    {K::Item, "&Filters...", nullptr, ID_FILTERS},
    {K::Item, "&Summary...", nullptr, ID_VIEW_SUMMARY},
    {K::EndPopup, nullptr, nullptr, 0},
    {K::Popup, "&Admin", nullptr, 0},
    {K::Item, "&Connect to Printer...", nullptr, ID_CONNECT},
    {K::EndPopup, nullptr, nullptr, 0},
    {K::Popup, "&Help", nullptr, 0},
    {K::Item, "&Help Topics", nullptr, ID_HELP_FINDER},
    {K::Separator, nullptr, nullptr, 0},
    {K::Item, "&About HPA...", nullptr, ID_APP_ABOUT},
    {K::EndPopup, nullptr, nullptr, 0},
};

// Accelerator table 128. Paste, cut, undo and the pane keys have no handler
// in this program; they stay in the table and do nothing.
constexpr AcceleratorEntry kAccelerators[] = {
    {"Ctrl+C", ID_EDIT_COPY},        {"Ctrl+Ins", ID_EDIT_COPY},
    {"Ctrl+N", ID_FILE_NEW},         {"Ctrl+O", ID_FILE_OPEN},
    {"Ctrl+P", ID_FILE_PRINT},       {"Ctrl+S", ID_FILE_SAVE},
    {"F12", ID_FILE_SAVE_AS},        {"Ctrl+V", ID_EDIT_PASTE},
    {"Shift+Ins", ID_EDIT_PASTE},    {"Ctrl+X", ID_EDIT_CUT},
    {"Shift+Del", ID_EDIT_CUT},      {"Ctrl+Z", ID_EDIT_UNDO},
    {"Alt+Backspace", ID_EDIT_UNDO}, {"F1", ID_HELP},
    {"Shift+F1", ID_CONTEXT_HELP},   {"F6", ID_NEXT_PANE},
    {"Shift+F6", ID_PREV_PANE},
};

// Toolbar 128, 16x15 buttons.
constexpr ToolbarEntry kToolbar[] = {
    {ID_FILE_NEW, ":/hpa/toolbar/new.png"},
    {ID_FILE_OPEN, ":/hpa/toolbar/open.png"},
    {ID_FILE_SAVE_AS, ":/hpa/toolbar/saveas.png"},
    {0, nullptr},
    {ID_FILE_PRINT_DIRECT, ":/hpa/toolbar/print.png"},
    {ID_EDIT_COPY, ":/hpa/toolbar/copy.png"},
    {ID_EDIT_FIND, ":/hpa/toolbar/find.png"},
    {0, nullptr},
    {ID_CONNECT, ":/hpa/toolbar/connect.png"},
    {0, nullptr},
    {ID_APP_ABOUT, ":/hpa/toolbar/about.png"},
    {ID_CONTEXT_HELP, ":/hpa/toolbar/contexthelp.png"},
};

struct PromptEntry {
    int nID;
    const char* pszPrompt;
};

constexpr PromptEntry kPrompts[] = {
    {ID_CONNECT, "Connect to printer for receiving accounting information\nConnect"},
    {ID_EXPORT, "Export the current grid to CSV format\nExport"},
    {ID_FILE_ADD_TO_HISTORY, "Add the document's jobs to the fleet history\nAdd to History"},
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN, "Open an existing document\nOpen"},
    {ID_FILE_SAVE, "Save the active document with a new name\nSave As"},
    {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    {ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
    {ID_FILE_PRINT, "Print the current grid\nPrint"},
    {ID_FILE_PRINT_DIRECT, "Print the current grid\nPrint"},
    {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview"},
    {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
    {ID_EDIT_FIND, "Find the specified text\nFind"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_HELP_FINDER, "List Help topics\nHelp Topics"},
    {ID_CONTEXT_HELP, "Display help for clicked on buttons, menus and windows\nHelp"},
};

} // namespace

std::span<const MenuEntry> MainMenu()
{
    return kMenu;
}

std::span<const AcceleratorEntry> MainAccelerators()
{
    return kAccelerators;
}

std::span<const ToolbarEntry> MainToolbar()
{
    return kToolbar;
}

const char* CommandPrompt(int nID)
{
    for (const auto& e : kPrompts)
        if (e.nID == nID)
            return e.pszPrompt;
    return nullptr;
}

std::string_view PromptMessage(int nID)
{
    std::string_view prompt = CommandPrompt(nID) ? CommandPrompt(nID) : "";
    return prompt.substr(0, prompt.find('\n'));
}

std::string_view PromptTip(int nID)
{
    std::string_view prompt = CommandPrompt(nID) ? CommandPrompt(nID) : "";
    const auto nBreak = prompt.find('\n');
    return nBreak == std::string_view::npos ? std::string_view() : prompt.substr(nBreak + 1);
}

} // namespace hpa
