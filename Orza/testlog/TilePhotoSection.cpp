#include "Orza/testlog/TilePhotoSection.h"

#include "GlazeCore/book/PhotoLink.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/platform/ScreenFit.h"
#include "Orza/platform/StartFolder.h"
#include "Orza/testlog/FormSection.h"
#include "Orza/testlog/PhotoView.h"
#include "Orza/testlog/TilePhotoLoader.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMimeDatabase>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orza {

namespace {

// Wide enough for any panorama the column can show; the height is the section's own limit.
constexpr int widestPicture = 1600;

QLabel* secondaryText(const QString& text, const QFont& font) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setFont(font);
    makeSecondary(label);
    return label;
}

/// One filter of every image type the decoder reads, by their file name patterns.
QString imageFilter() {
    QStringList patterns;
    const QMimeDatabase types;
    for (const QByteArray& name : QImageReader::supportedMimeTypes())
        for (const QString& pattern : types.mimeTypeForName(QString::fromLatin1(name)).globPatterns())
            if (!patterns.contains(pattern)) patterns.append(pattern);
    return QFileDialog::tr("Images (%1)").arg(patterns.join(QLatin1Char(' ')));
}

} // namespace

TilePhotoSection::TilePhotoSection(BookDocument& document, const GlazeCore::Uuid& tileID, QWidget* parent)
    : QWidget(parent), m_document(document), m_tileID(tileID), m_loader(new TilePhotoLoader(this)),
      m_picture(new PhotoView(pictureHeight)), m_message(secondaryText({}, calloutFont(font()))),
      m_choose(new QPushButton), m_remove(new QPushButton(tr("Remove Photo"))) {
    m_picture->setAccessibleName(tr("Photo of the test tile"));
    m_picture->hide();
    m_message->hide();
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_choose, 0, Qt::AlignVCenter);
    buttons->addWidget(m_remove, 0, Qt::AlignVCenter);
    buttons->addStretch(1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    column->addWidget(m_picture);
    column->addWidget(m_message);
    column->addLayout(buttons);
    column->addWidget(secondaryText(tr("The book keeps a link to the photo file. The photo itself stays where it is."),
                                    captionFont(font())));

    connect(m_choose, &QPushButton::clicked, this, &TilePhotoSection::choosePhoto);
    connect(m_remove, &QPushButton::clicked, this, &TilePhotoSection::removePhoto);
    connect(m_loader, &TilePhotoLoader::loaded, this, &TilePhotoSection::finishLoad);
    connect(&m_document, &BookDocument::tileChanged, this, &TilePhotoSection::onTileChanged);
    // A revert, or the tile coming back or going, may bring another link.
    const auto followLink = [this] {
        updateButtons();
        if (bookmark() != m_shownLink) loadTilePhoto();
    };
    connect(&m_document, &BookDocument::reset, this, followLink);
    connect(&m_document, &BookDocument::testsInserted, this, followLink);
    connect(&m_document, &BookDocument::testsRemoved, this, followLink);
    updateButtons();
    loadTilePhoto();
}

TilePhotoSection::~TilePhotoSection() = default;

std::optional<GlazeCore::Bytes> TilePhotoSection::bookmark() const {
    const GlazeCore::TestTile* tile = m_document.tile(m_tileID);
    return tile ? tile->photoBookmark : std::nullopt;
}

QImage TilePhotoSection::photo() const {
    return m_picture->image();
}

std::optional<QString> TilePhotoSection::message() const {
    if (m_message->isHidden()) return std::nullopt;
    return m_message->text();
}

QFileDialog* TilePhotoSection::openPanel() const {
    return m_panel;
}

bool TilePhotoSection::isLoading() const {
    return m_loader->isLoading();
}

void TilePhotoSection::choosePhoto() {
    if (m_panel) {
        m_panel->raise();
        return;
    }
    m_panel = new QFileDialog(window(), tr("Choose Photo"), StartFolder::forPanel(this));
    m_panel->setFileMode(QFileDialog::ExistingFile);
    m_panel->setAcceptMode(QFileDialog::AcceptOpen);
    m_panel->setNameFilter(imageFilter());
    m_panel->setWindowModality(Qt::WindowModal);
    m_panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_panel, &QFileDialog::fileSelected, this, &TilePhotoSection::storePhotoLink);
    connect(m_panel, &QFileDialog::fileSelected, this, &StartFolder::remember);
    ScreenFit::keep(m_panel);
    m_panel->open();
}

void TilePhotoSection::storePhotoLink(const QString& path) {
    GlazeCore::Bytes link;
    try {
        link = GlazeCore::PhotoLink::make(QFile::encodeName(path).toStdString());
    } catch (const GlazeCore::PhotoLink::PhotoLinkError& error) {
        setMessage(tr("The photo link could not be saved: %1").arg(visibleText(error.message())));
        return;
    }
    m_document.endEditBurst();
    m_document.setTilePhoto(m_tileID, std::move(link));
    m_document.endEditBurst();
    setMessage(std::nullopt);
}

void TilePhotoSection::removePhoto() {
    m_document.endEditBurst();
    m_document.setTilePhoto(m_tileID, std::nullopt);
    m_document.endEditBurst();
    setPhoto({});
    setMessage(std::nullopt);
}

void TilePhotoSection::onTileChanged(const GlazeCore::Uuid& tileID, int, TileField field) {
    if (tileID != m_tileID || field != TileField::photoBookmark) return;
    updateButtons();
    loadTilePhoto();
}

void TilePhotoSection::loadTilePhoto() {
    // A message belongs to the link it was about; an undo or a new link starts afresh.
    setMessage(std::nullopt);
    const auto link = bookmark();
    m_shownLink = link;
    if (!link) {
        m_loader->cancel();
        setPhoto({});
        emit photoLoaded();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    m_loader->load(*link, QSize(widestPicture, pictureHeight) * ratio);
}

void TilePhotoSection::finishLoad(const GlazeCore::Bytes& link, const TilePhotoResult& result) {
    if (bookmark() != link) return;
    switch (result.outcome) {
    case TilePhotoResult::Outcome::shown: {
        QImage image = result.image;
        image.setDevicePixelRatio(devicePixelRatioF());
        setPhoto(image);
        break;
    }
    case TilePhotoResult::Outcome::notAvailable:
        setPhoto({});
        setMessage(tr("The photo was moved or is not available. Choose it again."));
        break;
    case TilePhotoResult::Outcome::unreadable:
        setPhoto({});
        setMessage(tr("The photo file could not be read. Choose it again."));
        break;
    }
    // Renewed once: when the user undoes the renewal, the older link stays as the undo left it.
    if (result.renewedLink && m_renewed.insert(link).second) {
        m_document.endEditBurst();
        m_document.setTilePhoto(m_tileID, *result.renewedLink);
        m_document.endEditBurst();
    }
    emit photoLoaded();
}

void TilePhotoSection::setMessage(const std::optional<QString>& message) {
    m_message->setText(message.value_or(QString()));
    m_message->setVisible(message.has_value());
}

void TilePhotoSection::setPhoto(const QImage& image) {
    m_picture->setImage(image);
    m_picture->setVisible(!image.isNull());
}

void TilePhotoSection::updateButtons() {
    const bool linked = bookmark().has_value();
    m_choose->setText(linked ? tr("Replace Photo…") : tr("Choose Photo…"));
    m_remove->setVisible(linked);
    m_choose->setEnabled(m_document.tile(m_tileID) != nullptr);
}

} // namespace Orza
