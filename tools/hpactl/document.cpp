#include "document.h"

#include "document/AccDocumentFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <new>

namespace hpactl {

bool LoadDocumentFile(const char* pszCommand, const std::string& strPath, CLoadedDocument& document)
{
    std::ifstream file(strPath, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "hpactl %s: cannot open %s\n", pszCommand, strPath.c_str());
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (file.bad()) {
        std::fprintf(stderr, "hpactl %s: cannot read %s\n", pszCommand, strPath.c_str());
        return false;
    }
    hpa::CAccDocumentContent content;
    for (std::size_t n = 0; n < document.m_grids.size(); ++n)
        content.m_pGrids[n] = &document.m_grids[n];
    content.m_pAcc = &document.m_acc;
    try {
        hpa::LoadAccDocument(bytes.data(), bytes.size(), content);
    } catch (const hpa::CArchiveException&) {
        std::fprintf(stderr, "Unexpected file format. (%s)\n", strPath.c_str());
        return false;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "Failed to open document. (%s)\n", strPath.c_str());
        return false;
    }
    return true;
}

int KindFromName(const std::string& strName)
{
    if (strName == "job")
        return hpa::kKindJob;
    if (strName == "paper")
        return hpa::kKindPaper;
    if (strName == "status")
        return hpa::kKindStatus;
    return -1;
}

} // namespace hpactl
