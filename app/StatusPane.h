#pragma once
// A fixed-width status bar pane whose text area is exactly as wide as a
// sample text in the pane's font ("XXXXXX" for the data-kind pane). The
// width follows font changes.
#include <QLabel>

namespace hpa {

class CStatusPane : public QLabel {
    Q_OBJECT
public:
    explicit CStatusPane(const QString& strSizeSample, QWidget* pParent = nullptr);

    // Width of the text area (inside the border) in pixels.
    int TextAreaWidth() const { return contentsRect().width(); }

protected:
    void changeEvent(QEvent* pEvent) override;
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void FitToSample();

    QString m_strSample;
};

} // namespace hpa
