#pragma once
// The questions the document asks the user: the file dialogs and "Save
// changes to %1?". Tests script the answers.
#include <QString>

class QWidget;

namespace hpa {

class CDocumentUi {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~CDocumentUi() = default;
    // "Save changes to %1?" with Yes, No and Cancel.
    virtual Answer AskSaveChanges(const QString& strDocumentName) = 0;
    // The chosen file, or empty when cancelled.
    virtual QString GetOpenFileName() = 0;
    virtual QString GetSaveFileName(const QString& strSuggested) = 0;
    // The PDF file a print goes into when there is no print queue,
    // proposing strSuggested; an existing file only after the user agreed
    // to replace it. Empty when cancelled (and by default).
    virtual QString GetPrintFileName(const QString& strSuggested);
};

// Message box and file dialogs owned by a window.
class CQtDocumentUi : public CDocumentUi {
public:
    explicit CQtDocumentUi(QWidget* pOwner = nullptr) : m_pOwner(pOwner) {}
    void SetOwner(QWidget* pOwner) { m_pOwner = pOwner; }

    Answer AskSaveChanges(const QString& strDocumentName) override;
    QString GetOpenFileName() override;
    QString GetSaveFileName(const QString& strSuggested) override;
    QString GetPrintFileName(const QString& strSuggested) override;

    // "HPA Files (*.hpa)" and the rest.
    static QString Filter();

private:
    QWidget* m_pOwner;
};

} // namespace hpa
