#pragma once
// A window with a data-kind pane (the main frame's status bar pane 1:
// "JOB", "PAPER", "STATUS" or empty). The view names the kind it shows in
// the pane of the window it sits in, whatever that window's class.
#include <QString>

namespace hpa {

class CDataKindPane {
public:
    // Sets the pane's text and repaints it at once.
    virtual void SetDataKindPaneText(const QString& strText) = 0;
    virtual QString DataKindPaneText() const = 0;

protected:
    ~CDataKindPane() = default;
};

} // namespace hpa
