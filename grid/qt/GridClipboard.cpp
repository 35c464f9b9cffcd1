#include "grid/qt/GridClipboard.h"

#include "platform/qt/TextDecode.h"

#include <QClipboard>
#include <QGuiApplication>

namespace hpa {

// Splitting at tab and line feed never cuts a UTF-8 sequence (both are
// ASCII), so a piece is valid UTF-8 exactly when the cell's bytes there are.
QString DecodeCopiedText(std::string_view bytes)
{
    QString strText;
    std::size_t nStart = 0;
    while (nStart <= bytes.size()) {
        const std::size_t nEnd = bytes.find_first_of("\t\n", nStart);
        const std::size_t nLen =
            nEnd == std::string_view::npos ? bytes.size() - nStart : nEnd - nStart;
        strText += DecodeAccText(bytes.substr(nStart, nLen));
        if (nEnd == std::string_view::npos)
            break;
        strText += QChar(bytes[nEnd]);
        nStart = nEnd + 1;
    }
    return strText;
}

int CQtGridClipboard::PutText(std::string_view bytes)
{
    QClipboard* pClipboard = QGuiApplication::clipboard();
    if (!pClipboard)
        return 1;
    pClipboard->setText(DecodeCopiedText(bytes), QClipboard::Clipboard);
    return 0;
}

CQtGridClipboard& QtGridClipboard()
{
    static CQtGridClipboard s_clipboard;
    return s_clipboard;
}

} // namespace hpa
