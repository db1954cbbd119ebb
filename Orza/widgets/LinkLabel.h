#pragma once

#include <QLabel>

namespace Orza {

/**
 * A label that is one link, and one stop for the keyboard: Tab and Shift+Tab come to it and leave it in one press
 * each, it shows the focus while it has it, and Return opens the link. Qt's own label walks its links as stops
 * of their own, which a plain Tab into it passes without a word and Shift+Tab never leaves.
 */
class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    /// A link to `url` reading `text`; `linkActivated` tells when it is opened, by the mouse or by Return.
    LinkLabel(const QString& url, const QString& text, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QString m_url;
};

} // namespace Orza
