#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/text/Uuid.h"
#include "Orza/document/BookFieldNames.h"

#include <QPointer>
#include <QWidget>

#include <optional>
#include <set>

class QFileDialog;
class QLabel;
class QPushButton;

namespace Orza {

class BookDocument;
class PhotoView;
class TilePhotoLoader;
struct TilePhotoResult;

/**
 * The photo rows of the tile editor: the picture, a message when it cannot be shown, the buttons that
 * choose, replace and remove the photo, and a note that the book keeps only a link to the file.
 *
 * The link lives in the tile's photoBookmark and changes only through the document, one undoable edit
 * each. The picture is read off the main thread each time the link changes; until the new picture
 * arrives the old one stays. A link that cannot be followed or read stays in the book until the user
 * replaces or removes it; a stale one is renewed silently, once per link in this editor, so undoing the
 * renewal is not undone again behind the user's back.
 */
class TilePhotoSection final : public QWidget {
    Q_OBJECT
public:
    static constexpr int pictureHeight = 240;

    TilePhotoSection(BookDocument& document, const GlazeCore::Uuid& tileID, QWidget* parent = nullptr);
    ~TilePhotoSection() override;

    /// Opens the panel for one image file; a chosen file is linked.
    void choosePhoto();
    /// Links the tile to the file at `path`, or says why it cannot.
    void storePhotoLink(const QString& path);
    void removePhoto();

    /// The picture shown; null when none is.
    QImage photo() const;
    /// The problem shown, if any.
    std::optional<QString> message() const;
    bool isLoading() const;
    QPushButton* chooseButton() const { return m_choose; }
    QPushButton* removeButton() const { return m_remove; }
    /// The open panel while it is up.
    QFileDialog* openPanel() const;

signals:
    /// A read of the tile's photo ended, shown or not.
    void photoLoaded();

private:
    std::optional<GlazeCore::Bytes> bookmark() const;
    void loadTilePhoto();
    void finishLoad(const GlazeCore::Bytes& link, const TilePhotoResult& result);
    void setMessage(const std::optional<QString>& message);
    void setPhoto(const QImage& image);
    void updateButtons();
    void onTileChanged(const GlazeCore::Uuid& tileID, int row, TileField field);

    BookDocument& m_document;
    GlazeCore::Uuid m_tileID;
    TilePhotoLoader* m_loader;
    PhotoView* m_picture;
    QLabel* m_message;
    QPushButton* m_choose;
    QPushButton* m_remove;
    QPointer<QFileDialog> m_panel;
    /// The link the shown picture or message belongs to.
    std::optional<GlazeCore::Bytes> m_shownLink;
    /// Stale links this editor renewed already.
    std::set<GlazeCore::Bytes> m_renewed;
};

} // namespace Orza
