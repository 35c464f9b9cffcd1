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

    // Width of the text area (inside the border and margins) in pixels.
    int TextAreaWidth() const { return contentsRect().width(); }

    // The box's line and the free space between it and the text, in pixels.
    static constexpr int kFrameLine = 1;
    static constexpr int kTextMargin = 3;

protected:
    void changeEvent(QEvent* pEvent) override;
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void FitToSample();

    QString m_strSample;
};

} // namespace hpa
