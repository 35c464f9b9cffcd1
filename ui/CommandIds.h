#pragma once
// Command ids of the menus, accelerators and toolbar. The numbers are fixed:
// help context numbers are 0x10000 plus the id, so the help pages and the
// documentation that name them stay valid.

namespace hpa {

// File
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_DIRECT = 57608;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_FILE_ADD_TO_HISTORY = 32790;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;
inline constexpr int ID_FILE_MRU_LAST = 57619; // four recent files
inline constexpr int ID_APP_EXIT = 57665;

// Edit
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_FIND = 57636;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_UNDO = 57643;

// Pane switching (accelerators only; nothing handles them)
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;

// Help
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_HELP_FINDER = 57667;
inline constexpr int ID_CONTEXT_HELP = 57669;
inline constexpr int ID_HELP = 57670;
inline constexpr int ID_DEFAULT_HELP = 57671;

// Application commands
inline constexpr int ID_CONNECT = 32771;
inline constexpr int ID_DATA_JOB = 32778;
inline constexpr int ID_DATA_PAPER = 32779;
inline constexpr int ID_DATA_STATUS = 32780;
inline constexpr int ID_EXPORT = 32781;
inline constexpr int ID_FILTERS = 32782;
inline constexpr int ID_VIEW_SUMMARY = 32783;

// Help context numbers: a command's topic is 0x10000 plus its id; the main
// window's own topic is 0x20000 plus its resource id (128).
inline constexpr unsigned kHelpCommandBase = 0x10000;
inline constexpr unsigned kHelpMainFrame = 0x20000 + 128;

} // namespace hpa
