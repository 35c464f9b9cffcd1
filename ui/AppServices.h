#pragma once
// What the dialogs and the view take from the running application: its
// settings, its message boxes, its printer and the main frame's data-kind
// pane text. The application object registers itself here when it is made,
// so code below the application reaches these without knowing the
// application's own classes.
#include <QString>

#include <optional>

class QPrinter;

namespace hpa {

class CDocumentUi;
class CMessages;
class CProfile;

class CAppServices {
public:
    CAppServices(const CAppServices&) = delete;
    CAppServices& operator=(const CAppServices&) = delete;

    // The services of the application made last and still alive, or null
    // (no application object, as in tests of a dialog on its own).
    static CAppServices* Instance();

    virtual CProfile& Profile() const = 0;
    virtual CMessages& Messages() const = 0;
    // The file dialogs and questions of the document and of printing.
    virtual CDocumentUi& DocumentUi() const = 0;
    // The printer chosen in Print Setup (at first the system default).
    virtual QPrinter& Printer() = 0;
    // The main frame's data-kind pane text; none while there is no frame.
    virtual std::optional<QString> FrameDataKindPaneText() const = 0;

protected:
    CAppServices();
    virtual ~CAppServices();
};

} // namespace hpa
