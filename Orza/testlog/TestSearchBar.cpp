#include "Orza/testlog/TestSearchBar.h"

#include "GlazeCore/text/UnicodeText.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/models/WindowModel.h"
#include "Orza/resources/Resources.h"
#include "Orza/testlog/TestFilterOptions.h"
#include "Orza/testlog/TileSearchCache.h"
#include "Orza/widgets/AccessibleComboBox.h"
#include "Orza/widgets/AccessibleHidden.h"
#include "Orza/widgets/ConeTyping.h"
#include "Orza/widgets/OneLineText.h"
#include "Orza/widgets/TextStyle.h"
#include "Orza/widgets/ThemedIcon.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orza {

namespace {

constexpr int symbolSide = 14;

/// The rounded box behind the search row: the window's background, a one-pixel separator line inside its edge.
/// While the field has the keyboard focus the line takes the accent colour, as a focused field's frame does.
class SearchBox final : public QWidget {
public:
    using QWidget::QWidget;
    void setField(QWidget* field) { m_field = field; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool focused = m_field && m_field->hasFocus();
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(palette().color(focused ? QPalette::Highlight : QPalette::Mid), 1));
        painter.setBrush(palette().color(QPalette::Window));
        painter.drawRoundedRect(box, 6, 6);
    }

private:
    QWidget* m_field = nullptr;
};

QPixmap tinted(const QString& path, const QColor& color, qreal ratio) {
    return ThemedIcon::tinted(QIcon(path).pixmap(QSize(symbolSide, symbolSide), ratio), color);
}

/// A filled circle with a cross cut out of it.
QPixmap clearSymbol(const QColor& color, qreal ratio) {
    QPixmap pixmap(QSize(symbolSide, symbolSide) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QRectF(0.5, 0.5, symbolSide - 1, symbolSide - 1));
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap));
    const qreal near = symbolSide * 0.34, far = symbolSide * 0.66;
    painter.drawLine(QPointF(near, near), QPointF(far, far));
    painter.drawLine(QPointF(far, near), QPointF(near, far));
    return pixmap;
}

QString numberText(int value) {
    return QLocale().toString(value);
}

/// Fills a filter menu: "Any …" for none, then the options; the chosen value is selected.
void fillMenu(QComboBox* menu, const QString& anyTitle, const std::vector<std::string>& options,
              const std::optional<std::string>& chosen, const std::function<QString(const QString&)>& title) {
    const QSignalBlocker quiet(menu);
    menu->clear();
    menu->addItem(anyTitle);
    int selected = 0;
    for (const std::string& option : options) {
        const QString value = QString::fromStdString(option);
        if (chosen && GlazeCore::UnicodeText::canonicallyEqual(option, *chosen)) selected = menu->count();
        // A value from the book may be far longer than a menu shows; the filter keeps it whole.
        menu->addItem(title(shownText(option)), value);
    }
    menu->setCurrentIndex(selected);
}

std::optional<std::string> menuValue(const QComboBox* menu, int index) {
    const QVariant value = menu->itemData(index);
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

} // namespace

TestSearchBar::TestSearchBar(WindowModel& model, TileSearchCache& cache, QWidget* parent)
    : QWidget(parent), m_model(model), m_cache(cache) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(6);
    column->addWidget(makeSearchBox());
    column->addWidget(makeFilterRow());

    connect(&m_model, &WindowModel::testQueryChanged, this, &TestSearchBar::showQuery);
    connect(&m_model, &WindowModel::testConeChanged, this, &TestSearchBar::showConeMenu);
    connect(&m_model, &WindowModel::testAtmosphereChanged, this, &TestSearchBar::showAtmosphereMenu);
    connect(&m_cache, &TileSearchCache::valuesChanged, this, [this] {
        showConeMenu();
        showAtmosphereMenu();
    });
    showQuery();
    showConeMenu();
    showAtmosphereMenu();
    paintSymbols();
}

QWidget* TestSearchBar::makeSearchBox() {
    auto* box = new SearchBox;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(7, 4, 7, 4);
    row->setSpacing(6);

    m_symbol = new QLabel;
    m_symbol->setFixedSize(symbolSide, symbolSide);
    hideFromAccessibility(m_symbol);
    m_field = new QLineEdit;
    OneLineText::keepWhole(m_field);
    m_field->setFrame(false);
    m_field->setPlaceholderText(tr("Code, recipe, material or note"));
    m_field->setAccessibleName(tr("Search tests"));
    m_field->setAccessibleDescription(tr("Type a tile code, a recipe, a material or a word from the notes"));
    // The box draws the background; the field shows through.
    QPalette clear = m_field->palette();
    clear.setColor(QPalette::Base, Qt::transparent);
    m_field->setPalette(clear);
    m_field->installEventFilter(this);
    box->setField(m_field);
    m_clear = new QToolButton;
    m_clear->setAutoRaise(true);
    m_clear->setToolTip(tr("Clear the search"));
    m_clear->setAccessibleName(tr("Clear the search"));
    m_clear->setCursor(Qt::ArrowCursor);
    m_clear->setFocusPolicy(Qt::NoFocus);
    m_clear->setIconSize(QSize(symbolSide, symbolSide));

    row->addWidget(m_symbol);
    row->addWidget(m_field, 1);
    row->addWidget(m_clear);

    connect(m_field, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_clear->setVisible(!text.isEmpty());
        m_model.setTestQuery(text.toStdString());
    });
    connect(m_field, &QLineEdit::returnPressed, this, &TestSearchBar::submitted);
    connect(m_clear, &QToolButton::clicked, this, [this] { m_model.setTestQuery(std::string()); });
    return box;
}

QWidget* TestSearchBar::makeFilterRow() {
    auto* filters = new QWidget;
    auto* row = new QHBoxLayout(filters);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);

    m_cone = new QComboBox;
    setComboBoxName(m_cone, tr("Cone filter"));
    chooseConesByTyping(m_cone);
    m_cone->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_atmosphere = new QComboBox;
    setComboBoxName(m_atmosphere, tr("Atmosphere filter"));
    m_atmosphere->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_count = new QLabel;
    m_count->setFont(TextStyle::monospacedDigits(TextStyle::font(TextStyle::Style::callout, font())));
    TextStyle::makeSecondary(m_count);

    row->addWidget(m_cone);
    row->addWidget(m_atmosphere);
    row->addStretch(1);
    row->addWidget(m_count);

    connect(m_cone, &QComboBox::activated, this, [this](int index) { m_model.setTestCone(menuValue(m_cone, index)); });
    connect(m_atmosphere, &QComboBox::activated, this,
            [this](int index) { m_model.setTestAtmosphere(menuValue(m_atmosphere, index)); });
    return filters;
}

void TestSearchBar::setCount(int shown, int total) {
    if (m_model.isFiltering()) {
        m_count->setText(tr("%1 of %2").arg(numberText(shown), numberText(total)));
        m_count->setAccessibleName(tr("%1 of %Ln tile(s) shown", nullptr, total).arg(numberText(shown)));
    } else {
        m_count->setText(tr("%Ln tile(s)", nullptr, total));
        m_count->setAccessibleName(m_count->text());
    }
}

void TestSearchBar::focusSearch() {
    // A page just made is shown a moment later; a hidden field cannot take the focus.
    m_focusWhenShown = !m_field->isVisible();
    if (m_focusWhenShown) return;
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void TestSearchBar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_focusWhenShown) focusSearch();
}

void TestSearchBar::showQuery() {
    const QString query = QString::fromStdString(m_model.testQuery());
    if (m_field->text() != query) m_field->setText(query);
    m_clear->setVisible(!query.isEmpty());
}

void TestSearchBar::showConeMenu() {
    const auto options = TestFilterOptions::coneFilterOptions(m_cache.cones(), m_model.testCone());
    fillMenu(m_cone, tr("Any cone"), options, m_model.testCone(),
             [](const QString& cone) { return tr("Cone %1").arg(cone); });
}

void TestSearchBar::showAtmosphereMenu() {
    const auto options = TestFilterOptions::atmosphereFilterOptions(m_cache.atmospheres(), m_model.testAtmosphere());
    fillMenu(m_atmosphere, tr("Any atmosphere"), options, m_model.testAtmosphere(),
             [](const QString& atmosphere) { return atmosphere; });
}

void TestSearchBar::paintSymbols() {
    ensureResources();
    const QColor color = TextStyle::secondary(palette());
    const qreal ratio = devicePixelRatioF();
    m_symbol->setPixmap(tinted(QStringLiteral(":/orza/icons/magnifyingglass.svg"), color, ratio));
    m_clear->setIcon(QIcon(clearSymbol(color, ratio)));
}

void TestSearchBar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) paintSymbols();
}

bool TestSearchBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        m_field->parentWidget()->update();
    // Escape in a search field with text clears it, as in any desktop search field.
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && !m_field->text().isEmpty()) {
            m_model.setTestQuery(std::string());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Orza
