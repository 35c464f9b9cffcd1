#pragma once
// Whether accounting bytes are valid UTF-8. Text the printer sent is shown as
// UTF-8 when it is, otherwise as Windows-1252 (the screen, the clipboard,
// PDFs and the history's reports all decide the same way).
#include <string_view>

namespace hpa {

bool IsValidUtf8(std::string_view bytes);

} // namespace hpa
