#pragma once
// The commands that read a saved accounting document (export, print,
// summary): its three grids and its accounting set, loaded as File > Open
// loads them.
#include "accounting/Acc.h"
#include "accounting/FieldCatalogue.h"
#include "grid/UGCtrl.h"

#include <array>
#include <string>

namespace hpactl {

struct CLoadedDocument {
    std::array<hpa::CUGCtrl, hpa::kDataKindCount> m_grids; // by data kind index
    hpa::CAcc m_acc;
};

// Loads strPath into document. False, with the reason on stderr (the
// desktop's own messages for a file that is no document), when it cannot.
bool LoadDocumentFile(const char* pszCommand, const std::string& strPath,
                      CLoadedDocument& document);

// The data kind index of "job", "paper" or "status"; -1 for anything else.
int KindFromName(const std::string& strName);

} // namespace hpactl
