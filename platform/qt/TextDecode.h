#pragma once
// Accounting text is kept as the bytes the printer sent. Only where a person
// reads it (screen, clipboard, PDF) is it decoded: as UTF-8 when the bytes
// are valid UTF-8, otherwise as Windows-1252, the code page these printers
// write in.
#include "platform/Utf8.h"

#include <QString>

#include <string_view>

namespace hpa {

QString DecodeAccText(std::string_view bytes);

} // namespace hpa
