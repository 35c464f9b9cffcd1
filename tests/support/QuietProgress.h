#pragma once
// Progress for a download nobody watches and nobody cancels.
#include "transfer/TransferProgress.h"

namespace hpa::test {

class CQuietProgress : public CTransferProgress {
public:
    void SetMessage(const std::string&) override {}
    void SetPos(int) override {}
    void Pump() override {}
    bool IsCancelled() override { return false; }
    bool CheckCancel() override { return false; }
};

} // namespace hpa::test
