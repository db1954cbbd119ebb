#include "Orza/testlog/TilePhotoLoader.h"

#include "GlazeCore/book/PhotoLink.h"

#include <QFile>
#include <QImageReader>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace Orza {

namespace {

std::mutex hookLock;
std::function<void()>& beforeRead() {
    static std::function<void()> hook;
    return hook;
}

void runBeforeReadHook() {
    std::function<void()> hook;
    {
        const std::lock_guard lock(hookLock);
        hook = beforeRead();
    }
    if (hook) hook();
}

/// The size to decode at: the picture's own size, shrunk to fit inside the box; never enlarged.
QSize decodeSize(const QImageReader& reader, QSize box) {
    QSize size = reader.size();
    if (!size.isValid() || box.isEmpty()) return {};
    // The box holds the upright picture; the reader scales the picture as stored, before turning it.
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    if (turned) box.transpose();
    if (size.width() <= box.width() && size.height() <= box.height()) return {};
    return size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

/// Megabytes the decoder holds for the whole picture: most formats (16-bit PNG among them) decode it at full
/// size before scaling it down to the size asked for.
qint64 fullDecodeMegabytes(const QImageReader& reader) {
    const QSize size = reader.size();
    if (!size.isValid()) return 0;
    const int bits = reader.imageFormat() == QImage::Format_Invalid
                         ? 64
                         : QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel();
    const qint64 bytes = qint64(size.width()) * size.height() * std::max(bits, 32) / 8;
    return bytes / (1024 * 1024) + 1;
}

/// Half the machine's memory: a picture that needs more is left unread rather than let it crowd out the rest.
qint64 largestDecodeMegabytes() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return 4096;
    return qint64(pages) / (1024 * 1024) * pageSize / 2;
}

/// Reads the picture with the image allocation limit raised, for this read only, to what a full-size decode
/// needs: the limit guards against hostile files, but a photo the user chose may be a large one.
QImage readWithRoom(QImageReader& reader) {
    // The limit is the process's; photo reads take turns, so each puts back what it found.
    static std::mutex roomLock;
    const std::lock_guard lock(roomLock);
    const int limit = QImageReader::allocationLimit();
    const qint64 needed = fullDecodeMegabytes(reader);
    if (limit == 0 || needed <= limit || needed > largestDecodeMegabytes()) return reader.read();
    QImageReader::setAllocationLimit(int(needed));
    QImage image = reader.read();
    QImageReader::setAllocationLimit(limit);
    return image;
}

QImage readPicture(const std::string& path, QSize box) {
    // Opened by its raw bytes, so a name that is not UTF-8 still opens.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return {};
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return {};
    }
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    reader.setDecideFormatFromContent(true);
    if (const QSize size = decodeSize(reader, box); size.isValid()) reader.setScaledSize(size);
    return readWithRoom(reader);
}

} // namespace

TilePhotoResult readTilePhoto(const GlazeCore::Bytes& link, QSize box) {
    TilePhotoResult result;
    const auto resolved = GlazeCore::PhotoLink::resolve(link);
    if (!resolved) return result;
    runBeforeReadHook();
    result.image = readPicture(resolved->path, box);
    result.outcome = result.image.isNull() ? TilePhotoResult::Outcome::unreadable : TilePhotoResult::Outcome::shown;
    if (resolved->isStale) {
        try {
            result.renewedLink = GlazeCore::PhotoLink::make(resolved->path);
        } catch (const GlazeCore::PhotoLink::PhotoLinkError&) {
            // The old link keeps working as well as it does; nothing to report.
        }
    }
    return result;
}

TilePhotoLoader::TilePhotoLoader(QObject* parent) : QObject(parent) {}

TilePhotoLoader::~TilePhotoLoader() {
    cancel();
}

void TilePhotoLoader::setBeforeReadForTesting(std::function<void()> hook) {
    const std::lock_guard lock(hookLock);
    beforeRead() = std::move(hook);
}

void TilePhotoLoader::load(const GlazeCore::Bytes& link, QSize box) {
    cancel();
    m_watcher = new QFutureWatcher<TilePhotoResult>(this);
    QFutureWatcher<TilePhotoResult>* watcher = m_watcher;
    connect(watcher, &QFutureWatcher<TilePhotoResult>::finished, this, [this, watcher, link] {
        const TilePhotoResult result = watcher->result();
        m_watcher = nullptr;
        watcher->deleteLater();
        emit loaded(link, result);
    });
    watcher->setFuture(QtConcurrent::run([link, box] { return readTilePhoto(link, box); }));
}

void TilePhotoLoader::cancel() {
    if (!m_watcher) return;
    // The read itself runs to its end on the worker; its result has no one left to hear it.
    m_watcher->disconnect(this);
    m_watcher->deleteLater();
    m_watcher = nullptr;
}

} // namespace Orza
