#include "accounts.h"

#include "accounting/Acc.h"

namespace hpactl {

CDecodeTarget::CDecodeTarget(const std::filesystem::path& workDir, const COutputOptions& options)
    : m_pGrids{&m_grids[0], &m_grids[1], &m_grids[2]}
{
    hpa::CAccBinding binding;
    binding.m_pathWorkDir = workDir;
    binding.m_pGrids = m_pGrids;
    binding.m_pMasks = &hpa::g_masks;
    binding.m_pMessages = &m_messages;
    Acc().Bind(binding);
    if (!options.m_strSave.empty())
        m_measuring.emplace(m_pGrids);
}

hpa::CAcc& CDecodeTarget::Acc() const
{
    return hpa::g_acc;
}

} // namespace hpactl
