#pragma once
// --save FILE.hpa of fetch and decode: the decoded grids and the accounting
// set as the desktop's accounting document, which File > Open shows as if
// the printer had just been read.
#include "accounting/FieldCatalogue.h"

#include <QGuiApplication>

#include <array>
#include <memory>
#include <string>

namespace hpa {
class CAcc;
class CUGCtrl;
} // namespace hpa

namespace hpactl {

// Sets the grids up as the desktop's view does (its defaults, alignment
// included) and makes the readers fit column widths as the desktop does (the
// grid font, Arial 9 points on a 96 dots-per-inch screen, measured with Qt's
// fonts), so a saved document opens as a download would have left it.
// Needs Qt's fonts but no display: Qt runs on its offscreen platform while
// the object lives. Create it before decoding.
class CDesktopMeasuring {
public:
    explicit CDesktopMeasuring(const std::array<hpa::CUGCtrl*, hpa::kDataKindCount>& grids);
    ~CDesktopMeasuring();
    CDesktopMeasuring(const CDesktopMeasuring&) = delete;
    CDesktopMeasuring& operator=(const CDesktopMeasuring&) = delete;

private:
    std::unique_ptr<QGuiApplication> m_pApp;
    QtMessageHandler m_pfnOldHandler = nullptr;
};

// Writes the document to strPath through a temporary file in the same
// directory, so an existing file is replaced whole or not at all. False,
// with the reason on stderr, when it cannot be written.
bool SaveDocument(const std::string& strPath, hpa::CAcc& acc,
                  const std::array<hpa::CUGCtrl*, hpa::kDataKindCount>& grids);

} // namespace hpactl
