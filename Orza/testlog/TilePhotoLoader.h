#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QSize>

#include <functional>
#include <optional>

namespace Orza {

/// What reading a tile's photo through its link gave.
struct TilePhotoResult {
    enum class Outcome { shown, notAvailable, unreadable };
    Outcome outcome = Outcome::notAvailable;
    /// The picture, upright and no larger than the box it was read for; null unless shown.
    QImage image;
    /// A fresh link to the same file when the one read was stale and a new one could be made.
    std::optional<GlazeCore::Bytes> renewedLink;
};

/// Resolves the link and reads its picture, turned upright and decoded to fit inside `box` (device pixels).
/// Blocks while the file is read, so it runs on a worker thread.
TilePhotoResult readTilePhoto(const GlazeCore::Bytes& link, QSize box);

/**
 * Reads a tile's photo off the main thread and hands the result back on it, so a large photo never holds
 * up the window. Only the newest request answers: a load started while another runs supersedes it, and
 * the older result is dropped when it arrives.
 */
class TilePhotoLoader final : public QObject {
    Q_OBJECT
public:
    explicit TilePhotoLoader(QObject* parent = nullptr);
    ~TilePhotoLoader() override;

    void load(const GlazeCore::Bytes& link, QSize box);
    /// Drops the request under way, if any: no result for it will arrive.
    void cancel();
    bool isLoading() const { return m_watcher != nullptr; }

    /// Runs on the worker before each read; tests hold a read there to see that the window stays free.
    static void setBeforeReadForTesting(std::function<void()> hook);

signals:
    /// On the main thread, for the link that was loaded.
    void loaded(const GlazeCore::Bytes& link, const Orza::TilePhotoResult& result);

private:
    QFutureWatcher<TilePhotoResult>* m_watcher = nullptr;
};

} // namespace Orza
