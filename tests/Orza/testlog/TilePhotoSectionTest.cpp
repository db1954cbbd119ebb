#include "Orza/testlog/TilePhotoSection.h"
#include "GlazeCore/book/PhotoLink.h"
#include "Orza/testlog/PhotoView.h"
#include "Orza/testlog/TilePhotoLoader.h"
#include "TileFixture.h"
#include "support/TestEnvironment.h"

#include <cstdint>
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPushButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

using Orza::TilePhotoSection;

namespace {

const QString movedMessage = QStringLiteral("The photo was moved or is not available. Choose it again.");

QString writePicture(const QString& path, QSize size, QColor colour = Qt::darkCyan) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path);
    return path;
}

GlazeCore::Bytes linkTo(const QString& path) {
    return GlazeCore::PhotoLink::make(QFile::encodeName(path).toStdString());
}

GlazeCore::GlazeBook bookWithPhoto(std::optional<GlazeCore::Bytes> link) {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    GlazeCore::TestTile tile = OrzaTest::tile(book.recipes[0].id, "6", "T-001");
    tile.photoBookmark = std::move(link);
    book.tests.push_back(tile);
    return book;
}

/// A PNG file of 16-bit RGB, black, written without holding its pixels: the image data is one zero byte and
/// copies of it (fixed-code deflate), so even a very large picture is a small file made at once.
class BlackPng16 {
public:
    static QByteArray make(int width, int height) {
        QByteArray png("\x89PNG\r\n\x1a\n", 8);
        QByteArray header;
        put32(header, std::uint32_t(width));
        put32(header, std::uint32_t(height));
        header.append("\x10\x02\x00\x00\x00", 5); // 16 bits, RGB, deflate, no filter method, no interlace
        chunk(png, "IHDR", header);
        chunk(png, "IDAT", zeros(std::uint64_t(height) * (1 + std::uint64_t(width) * 6)));
        chunk(png, "IEND", {});
        return png;
    }

private:
    struct Bits {
        QByteArray bytes;
        std::uint32_t pending = 0;
        int count = 0;
        void put(std::uint32_t value, int n) { // least significant bit first
            pending |= value << count;
            for (count += n; count >= 8; count -= 8, pending >>= 8)
                bytes.append(char(pending & 0xFF));
        }
        void code(std::uint32_t value, int n) { // a Huffman code goes most significant bit first
            for (int i = n - 1; i >= 0; --i)
                put((value >> i) & 1, 1);
        }
    };

    static void put32(QByteArray& out, std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.append(char((value >> shift) & 0xFF));
    }
    static std::uint32_t crc(const QByteArray& data) {
        std::uint32_t c = 0xFFFFFFFFu;
        for (const char byte : data) {
            c ^= std::uint8_t(byte);
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        return c ^ 0xFFFFFFFFu;
    }
    static void chunk(QByteArray& out, const char* type, const QByteArray& data) {
        put32(out, std::uint32_t(data.size()));
        const QByteArray body = QByteArray(type) + data;
        out += body;
        put32(out, crc(body));
    }
    /// A zlib stream of `size` zero bytes.
    static QByteArray zeros(std::uint64_t size) {
        Bits bits;
        bits.put(0x78, 8);
        bits.put(0x01, 8);
        bits.put(1, 1);     // the last block,
        bits.put(1, 2);     // in the fixed codes
        bits.code(0x30, 8); // the literal 0
        std::uint64_t left = size - 1;
        for (; left >= 258; left -= 258) {
            bits.code(0xC5, 8); // length 258
            bits.code(0, 5);    // at distance 1
        }
        for (; left > 0; --left)
            bits.code(0x30, 8);
        bits.code(0, 7); // end of block
        bits.put(0, 7);  // to a whole byte
        QByteArray out = bits.bytes;
        put32(out, std::uint32_t((size % 65521) << 16 | 1)); // Adler-32 of zeros
        return out;
    }
};

/// The part of the widget's picture drawn in `colour`.
QRect drawnExtent(QWidget* widget, const QColor& colour) {
    const QImage image = widget->grab().toImage();
    QRect extent;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) extent |= QRect(x, y, 1, 1);
    return extent;
}

/// Waits for the read under way, if any, to end.
bool settled(TilePhotoSection& section) {
    return QTest::qWaitFor([&] { return !section.isLoading(); });
}

} // namespace

class TilePhotoSectionTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void choosingAndRemovingAPhoto();
    void messagesBelongToTheLinkShown();
    void staleLinksAreRenewedOnceAndForeignLinksKept();
    void aLargePhotoIsReadOffTheMainThreadAtTheSizeShown();
    void aPhotoBeyondTheImageLimitStillShows();
    void smallAndLargePhotosFillTheHeightLimit();
};

void TilePhotoSectionTest::choosingAndRemovingAPhoto() {
    OrzaTest::TileFixture fixture(bookWithPhoto(std::nullopt));
    TilePhotoSection section(fixture.document, fixture.tile().id);
    QVERIFY(section.photo().isNull());
    QVERIFY(!section.message());
    QCOMPARE(section.chooseButton()->text(), QStringLiteral("Choose Photo…"));
    QVERIFY(section.removeButton()->isHidden());

    // The panel offers image files only; the file chosen in it is linked and its picture shown.
    const QString picture = writePicture(filePath(QStringLiteral("tile.png")), QSize(300, 200));
    section.chooseButton()->click();
    QFileDialog* panel = section.openPanel();
    QVERIFY(panel);
    QCOMPARE(panel->nameFilters().size(), 1);
    QVERIFY(panel->nameFilters()[0].contains(QStringLiteral("*.png")));
    QVERIFY(panel->nameFilters()[0].contains(QStringLiteral("*.jpg")));
    QVERIFY(!panel->nameFilters()[0].contains(QStringLiteral("*.orzabook")));
    emit panel->fileSelected(picture);
    panel->reject();
    QVERIFY(fixture.tile().photoBookmark.has_value());
    QVERIFY(settled(section));
    QCOMPARE(section.photo().size(), QSize(300, 200));
    QCOMPARE(section.chooseButton()->text(), QStringLiteral("Replace Photo…"));
    QVERIFY(!section.removeButton()->isHidden());

    // A file that cannot be linked says why and leaves the tile alone.
    const auto linked = fixture.tile().photoBookmark;
    section.storePhotoLink(filePath(QStringLiteral("missing.png")));
    QVERIFY(section.message()->startsWith(QStringLiteral("The photo link could not be saved: ")));
    QCOMPARE(fixture.tile().photoBookmark, linked);
    QVERIFY(!section.photo().isNull());

    section.removeButton()->click();
    QVERIFY(!fixture.tile().photoBookmark);
    QVERIFY(section.photo().isNull());
    QVERIFY(!section.message());
    QCOMPARE(section.chooseButton()->text(), QStringLiteral("Choose Photo…"));
    QCOMPARE(fixture.steps(), 2);
}

void TilePhotoSectionTest::messagesBelongToTheLinkShown() {
    const QString gone = writePicture(filePath(QStringLiteral("gone.png")), QSize(40, 40));
    const GlazeCore::Bytes goneLink = linkTo(gone);
    QFile::remove(gone);
    OrzaTest::TileFixture fixture(bookWithPhoto(goneLink));
    TilePhotoSection section(fixture.document, fixture.tile().id);
    QVERIFY(settled(section));
    QCOMPARE(section.message(), movedMessage);
    QCOMPARE(fixture.tile().photoBookmark, goneLink);
    QCOMPARE(section.chooseButton()->text(), QStringLiteral("Replace Photo…"));
    QVERIFY(!section.removeButton()->isHidden());

    section.storePhotoLink(writePicture(filePath(QStringLiteral("new.png")), QSize(50, 30)));
    QVERIFY(settled(section));
    QVERIFY(!section.photo().isNull());
    QVERIFY(!section.message());

    // Undo and redo move between the two links; each shows only its own state.
    fixture.document.undoStack()->undo();
    QVERIFY(settled(section));
    QCOMPARE(section.message(), movedMessage);
    QVERIFY(section.photo().isNull());
    fixture.document.undoStack()->redo();
    QVERIFY(settled(section));
    QVERIFY(!section.photo().isNull());
    QVERIFY(!section.message());

    // A file that is no picture keeps its link and says so.
    const QString notPicture = filePath(QStringLiteral("notes.png"));
    OrzaTest::writeAll(notPicture, "not a picture");
    section.storePhotoLink(notPicture);
    QVERIFY(settled(section));
    QCOMPARE(section.message(), QStringLiteral("The photo file could not be read. Choose it again."));
    QVERIFY(section.photo().isNull());
    QVERIFY(fixture.tile().photoBookmark.has_value());
}

void TilePhotoSectionTest::staleLinksAreRenewedOnceAndForeignLinksKept() {
    const QString path = writePicture(filePath(QStringLiteral("tile.png")), QSize(60, 40));
    const GlazeCore::Bytes stale = linkTo(path);
    // Saved again by an editor that writes a new file over the old one: same path, another file.
    writePicture(filePath(QStringLiteral("edited.png")), QSize(80, 40), Qt::darkRed);
    QVERIFY(std::rename(QFile::encodeName(filePath(QStringLiteral("edited.png"))).constData(),
                        QFile::encodeName(path).constData()) == 0);

    OrzaTest::TileFixture fixture(bookWithPhoto(stale));
    TilePhotoSection section(fixture.document, fixture.tile().id);
    QVERIFY(QTest::qWaitFor([&] { return fixture.tile().photoBookmark != stale; }));
    QVERIFY(settled(section));
    QCOMPARE(section.photo().size(), QSize(80, 40));
    QVERIFY(fixture.document.isModified());
    QCOMPARE(GlazeCore::PhotoLink::resolve(*fixture.tile().photoBookmark)->isStale, false);

    // Undoing the renewal brings the stale link back, and it stays: the user can undo further.
    fixture.document.undoStack()->undo();
    QVERIFY(settled(section));
    QTest::qWait(50);
    QCOMPARE(fixture.tile().photoBookmark, stale);
    QVERIFY(fixture.document.undoStack()->canRedo());
    QCOMPARE(section.photo().size(), QSize(80, 40));

    // Link bytes of another platform never resolve here, and are never rewritten.
    const GlazeCore::Bytes foreign{'b', 'o', 'o', 'k', 0, 0, 2, 0, 0xC3, 0x10};
    fixture.document.setTilePhoto(fixture.tile().id, foreign);
    QVERIFY(settled(section));
    QCOMPARE(section.message(), movedMessage);
    QCOMPARE(fixture.tile().photoBookmark, foreign);
}

void TilePhotoSectionTest::aLargePhotoIsReadOffTheMainThreadAtTheSizeShown() {
    const QString path = filePath(QStringLiteral("large.jpg"));
    QImage large(4000, 3000, QImage::Format_RGB32);
    large.fill(Qt::darkGreen);
    QImageWriter writer(path);
    // Stored on its side, as a camera held upright stores it; the picture read must stand upright.
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    QVERIFY(writer.write(large));

    QSemaphore held;
    Orza::TilePhotoLoader::setBeforeReadForTesting([&held] { held.acquire(); });
    // However the test ends, the read is let go, so that the worker thread can finish.
    const auto letGo = qScopeGuard([&held] {
        held.release(8);
        Orza::TilePhotoLoader::setBeforeReadForTesting({});
    });
    OrzaTest::TileFixture fixture(bookWithPhoto(linkTo(path)));
    TilePhotoSection section(fixture.document, fixture.tile().id);
    QVERIFY(section.isLoading());

    // The read is held on its thread, and the main thread goes on all the same.
    bool ticked = false;
    QTimer::singleShot(10, [&ticked] { ticked = true; });
    QVERIFY(QTest::qWaitFor([&] { return ticked; }, 2000));
    QVERIFY(section.isLoading());
    QVERIFY(section.photo().isNull());

    held.release();
    QVERIFY(settled(section));
    const QImage shown = section.photo();
    QVERIFY(!shown.isNull());
    QCOMPARE(shown.height(), int(TilePhotoSection::pictureHeight * section.devicePixelRatioF()));
    QVERIFY(shown.height() > shown.width());
}

// A 16-bit photo is decoded whole before it is scaled down, which takes more memory than the image reader
// allows by default; the photo shows all the same, and the limit is left as it was.
void TilePhotoSectionTest::aPhotoBeyondTheImageLimitStillShows() {
    const QSize size(8000, 3000);
    const int limit = QImageReader::allocationLimit();
    QVERIFY(qint64(size.width()) * size.height() * 8 > qint64(limit) * 1024 * 1024);
    const QString path = filePath(QStringLiteral("wide-16-bit.png"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(BlackPng16::make(size.width(), size.height()));
    file.close();
    QCOMPARE(QImageReader(path).size(), size);

    OrzaTest::TileFixture fixture(bookWithPhoto(linkTo(path)));
    TilePhotoSection section(fixture.document, fixture.tile().id);
    QVERIFY(QTest::qWaitFor([&] { return !section.isLoading(); }, 20000));
    QVERIFY2(!section.message(), qPrintable(section.message().value_or(QString())));
    const QImage shown = section.photo();
    QVERIFY(!shown.isNull());
    QVERIFY(shown.width() < size.width());
    QVERIFY(qAbs(shown.width() * size.height() - shown.height() * size.width()) <= size.width());
    QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(QImageReader::allocationLimit(), limit);
}

// Scaled to fit 240 points of height, a small photo enlarged as a large one is reduced; a narrow column
// fits it to its width.
void TilePhotoSectionTest::smallAndLargePhotosFillTheHeightLimit() {
    const struct {
        QSize file;
        int columnWidth;
        QSize drawn;
    } cases[] = {{{200, 200}, 480, {240, 240}}, {{600, 1200}, 480, {120, 240}}, {{200, 100}, 160, {160, 80}}};
    for (const auto& c : cases) {
        const QString path =
            writePicture(filePath(QStringLiteral("photo-%1x%2.png").arg(c.file.width()).arg(c.file.height())), c.file);
        OrzaTest::TileFixture fixture(bookWithPhoto(linkTo(path)));
        QWidget column;
        auto* section = new TilePhotoSection(fixture.document, fixture.tile().id);
        auto* layout = new QVBoxLayout(&column);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(section);
        layout->addStretch(1);
        section->setFixedWidth(c.columnWidth);
        column.resize(c.columnWidth, 600);
        column.show();
        QVERIFY(QTest::qWaitForWindowExposed(&column));
        QVERIFY(settled(*section));
        QCoreApplication::processEvents();
        auto* picture = section->findChild<Orza::PhotoView*>();
        QVERIFY(picture && picture->isVisible());
        QCOMPARE(drawnExtent(picture, QColor(Qt::darkCyan)).size(), c.drawn);
    }
}

QTEST_MAIN(TilePhotoSectionTest)
#include "TilePhotoSectionTest.moc"
