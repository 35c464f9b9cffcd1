#pragma once
// What the main frame and the application expect of the view: a widget for
// the frame's client area, the document's CViewLink, the view's command map
// (route slot View) and the three data grids the document saves and loads.
#include "ui/CommandRouter.h"
#include "ui/ViewLink.h"

#include <QWidget>

namespace hpa {

class CUGCtrl;
class CVexAccDoc;

class CAccViewBase : public QWidget, public CViewLink {
    Q_OBJECT
public:
    explicit CAccViewBase(QWidget* pParent = nullptr) : QWidget(pParent) {}

    const CCommandMap& CommandMap() const { return m_commands; }
    // The data grids by data kind index: 0 job, 1 paper, 2 status.
    virtual CUGCtrl& Grid(int nIndex) = 0;

    // The document the view shows (set by the application once both exist):
    // a download marks it modified, the filters ask whether it is.
    void SetDocument(CVexAccDoc* pDocument) { m_pDocument = pDocument; }
    CVexAccDoc* GetDocument() const { return m_pDocument; }

protected:
    CCommandMap m_commands;

private:
    CVexAccDoc* m_pDocument = nullptr;
};

} // namespace hpa
