#pragma once
// The desktop clipboard for copied cells. The cells hold the printer's
// bytes; the clipboard gets plain text the desktop can read: each cell's
// bytes decoded on their own (UTF-8 when valid, else Windows-1252), so one
// cell in a legacy code page does not garble the others.
#include "grid/GridCopy.h"

#include <QString>

namespace hpa {

class CUGCtrl;

class CQtGridClipboard : public CGridClipboard {
public:
    int PutText(std::string_view bytes) override;
};

// The copied text decoded piece by piece between the tabs and line feeds.
QString DecodeCopiedText(std::string_view bytes);

// The process's clipboard, for CUGCtrl::SetClipboard.
CQtGridClipboard& QtGridClipboard();

} // namespace hpa
