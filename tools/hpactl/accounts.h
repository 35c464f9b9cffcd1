#pragma once
// What fetch and decode decode into: three grids of their own, the
// program's accounting set bound to them, to the working directory, the
// masks and messages on stderr, and the desktop's column measuring when a
// document is to be saved.
#include "outputs.h"
#include "save.h"

#include "accounting/FieldCatalogue.h"
#include "grid/UGCtrl.h"
#include "platform/Messages.h"

#include <array>
#include <filesystem>
#include <optional>

namespace hpa {
class CAcc;
} // namespace hpa

namespace hpactl {

class CDecodeTarget {
public:
    CDecodeTarget(const std::filesystem::path& workDir, const COutputOptions& options);
    CDecodeTarget(const CDecodeTarget&) = delete;
    CDecodeTarget& operator=(const CDecodeTarget&) = delete;

    hpa::CAcc& Acc() const;
    const std::array<hpa::CUGCtrl*, hpa::kDataKindCount>& Grids() const { return m_pGrids; }
    hpa::CMessages& Messages() { return m_messages; }

private:
    std::array<hpa::CUGCtrl, hpa::kDataKindCount> m_grids;
    std::array<hpa::CUGCtrl*, hpa::kDataKindCount> m_pGrids;
    hpa::CStderrMessages m_messages;
    // A saved document carries the column widths; fit them as the desktop would.
    std::optional<CDesktopMeasuring> m_measuring;
};

} // namespace hpactl
