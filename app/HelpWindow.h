#pragma once
// The program's help: HTML pages compiled into the program, shown in a small
// browser window. Commands and dialogs ask for a topic by help context
// number (0x10000 plus a command id, 0x20080 for the main window); a table
// maps the numbers to pages.
#include <QPointer>
#include <QString>
#include <QWidget>

class QTextBrowser;

namespace hpa {

// The page ("connect.html") for a help context number; the contents page
// for a number without a topic of its own.
QString HelpPageForContext(unsigned nContext);

// Shows the contents page / the topic of a context number. The window
// belongs to the main frame when there is one.
void ShowHelpContents();
void ShowHelpContext(unsigned nContext);

class CHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* pOwner = nullptr);

    // The help window of the process, made on first use.
    static CHelpWindow* Instance();
    // The window if it exists already (for tests), else nullptr.
    static CHelpWindow* Existing();

    void ShowPage(const QString& strPage);
    QString CurrentPage() const;
    QTextBrowser* Browser() const { return m_pBrowser; }

    ~CHelpWindow() override;

protected:
    bool event(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void JoinModalDialog();
    void LeaveModalDialog();

    QTextBrowser* m_pBrowser;
    // The modal dialog the window stands beside (its window is then the help
    // window's transient parent), or null.
    QPointer<QWidget> m_pModal;
};

} // namespace hpa
