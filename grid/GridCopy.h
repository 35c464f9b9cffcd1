#pragma once
// The selected cells as text for the clipboard: the resolved texts in
// selection order, a tab between cells of one row and a single line feed
// between rows, nothing after the last cell.
#include <string>
#include <string_view>

namespace hpa {

class CUGCtrl;

// Where the copied text goes. The window layer puts it on the desktop's
// clipboard; tests keep it.
class CGridClipboard {
public:
    virtual ~CGridClipboard() = default;
    // The text as the cells' bytes; 0 when it is on the clipboard, 1 when it
    // could not be placed there.
    virtual int PutText(std::string_view bytes) = 0;
};

// The text CopySelectionToClipboard places (the current cell alone when the
// selection is off or empty).
std::string BuildSelectionText(CUGCtrl& ctrl);

} // namespace hpa
