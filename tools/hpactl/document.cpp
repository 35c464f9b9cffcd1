#include "document.h"

#include "document/AccDocumentFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

namespace hpactl {

bool LoadDocumentFile(const char* pszCommand, const std::string& strPath, CLoadedDocument& document)
{
    std::error_code ec;
    std::ifstream file(strPath, std::ios::binary);
    if (!file || std::filesystem::is_directory(strPath, ec)) {
        std::fprintf(stderr, "hpactl %s: cannot open %s\n", pszCommand, strPath.c_str());
        return false;
    }
    std::string bytes;
    bool bRead = false;
    try {
        // A file of known size comes in one read into a buffer of that size:
        // a document of a million jobs is tens of MiB, and a string grown as
        // the bytes stream in would copy them several times over. A pipe has
        // no size and streams.
        std::streamoff nSize = -1;
        if (file.seekg(0, std::ios::end))
            nSize = file.tellg();
        if (nSize >= 0 && file.seekg(0)) {
            bytes.resize(static_cast<std::size_t>(nSize));
            bRead = static_cast<bool>(file.read(bytes.data(), nSize));
        } else {
            file.clear();
            bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
            bRead = !file.bad();
        }
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "Failed to open document. (%s)\n", strPath.c_str());
        return false;
    } catch (const std::ios_base::failure&) {
        // The stream buffer throws where reading itself fails (a directory).
        bRead = false;
    }
    if (!bRead) {
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
