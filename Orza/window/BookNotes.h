#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace Orza {

class LineLimitedLabel;

/**
 * A closable note at the foot of a book window's sidebar: a heading with its symbol and a close button,
 * then the note's text in at most a fixed number of lines. Closing only reports the click; the window
 * decides that the note is gone and keeps it gone.
 */
class NoteBanner : public QWidget {
    Q_OBJECT
public:
    QLabel* heading() const { return m_heading; }
    QToolButton* closeButton() const { return m_close; }
    LineLimitedLabel* textLabel() const { return m_text; }

signals:
    void closeClicked();

protected:
    NoteBanner(const QString& heading, const QString& symbol, const QString& text, int maximumLines,
               const QString& closeAccessibleName, QWidget* parent);
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_heading;
    QToolButton* m_close;
    LineLimitedLabel* m_text;
};

/// Tells that tiles of this book were given codes when it was read; the text is the notice's message.
class TileCodeNote final : public NoteBanner {
    Q_OBJECT
public:
    static constexpr int maximumLines = 12;
    explicit TileCodeNote(const QString& text, QWidget* parent = nullptr);
};

/// Introduces the sample book and three tools to try.
class SampleNote final : public NoteBanner {
    Q_OBJECT
public:
    static constexpr int maximumLines = 16;
    explicit SampleNote(QWidget* parent = nullptr);
};

} // namespace Orza
