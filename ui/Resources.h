#pragma once
// The compiled-in resources (toolbar buttons, icons, start-up bitmap, help
// pages) live in a static library, so they must be registered explicitly
// before the first use. Safe to call any number of times.

namespace hpa {

void InitResources();

} // namespace hpa
