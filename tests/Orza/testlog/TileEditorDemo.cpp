// Shows the tile editor for the first tile of the sample book, with a photo linked, so that it can be
// looked at on a screen. "--moved" links the photo and then moves the file away.
#include "GlazeCore/book/PhotoLink.h"
#include "GlazeCore/book/SampleBook.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/app/Translations.h"
#include "Orza/document/BookDocument.h"
#include "Orza/testlog/TestTileEditor.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

/// A glazed test tile as a camera might see it: a pale body, a glossy blue run and iron speckles.
QImage tilePicture() {
    QImage image(1600, 1200, QImage::Format_RGB32);
    image.fill(QColor(58, 55, 52));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(226, 218, 204));
    painter.drawRoundedRect(QRectF(420, 120, 760, 960), 40, 40);
    QRadialGradient glaze(QPointF(800, 520), 520);
    glaze.setColorAt(0, QColor(74, 128, 170));
    glaze.setColorAt(0.7, QColor(40, 82, 128));
    glaze.setColorAt(1, QColor(98, 120, 120));
    painter.setBrush(glaze);
    painter.drawRoundedRect(QRectF(420, 120, 760, 700), 40, 40);
    QRandomGenerator random(7);
    painter.setBrush(QColor(92, 60, 36));
    for (int i = 0; i < 400; ++i)
        painter.drawEllipse(QPointF(440 + random.bounded(720), 140 + random.bounded(660)), 3, 3);
    painter.setPen(QPen(QColor(60, 50, 40), 6));
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 60, QFont::Bold));
    painter.drawText(QRectF(420, 860, 760, 200), Qt::AlignCenter, QStringLiteral("T-001"));
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    Orza::Translations::install();
    const bool moved = app.arguments().contains(QStringLiteral("--moved"));

    QTemporaryDir folder;
    const QString photo = folder.filePath(QStringLiteral("tile T-001.jpg"));
    tilePicture().save(photo, "JPEG", 90);

    GlazeCore::GlazeBook book = GlazeCore::SampleBook::makeBook();
    GlazeCore::TestTile& tile = book.tests.front();
    tile.photoBookmark = GlazeCore::PhotoLink::make(QFile::encodeName(photo).toStdString());
    if (moved) QFile::rename(photo, folder.filePath(QStringLiteral("elsewhere.jpg")));
    const GlazeCore::Uuid tileID = tile.id;

    Orza::BookDocument document(Orza::GlazeDocument::make(std::move(book), true));
    QMainWindow window;
    Orza::ActionRegistry actions(&window, document);
    auto* editor = new Orza::TestTileEditor(document, actions, tileID);
    window.setCentralWidget(editor);
    window.setWindowTitle(QStringLiteral("Tile editor"));
    window.resize(720, 1400);
    window.show();
    return app.exec();
}
