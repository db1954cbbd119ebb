#include "Orza/materials/MaterialAnalysisView.h"

#include "GlazeCore/text/OxideText.h"
#include "Orza/display/NumberDisplay.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/materials/MaterialsStyle.h"
#include "Orza/platform/AccessibleHeading.h"
#include "Orza/widgets/AccessibleHidden.h"
#include "Orza/widgets/AccessibleLabelledValue.h"
#include "Orza/widgets/LongNotes.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace Orza {

namespace {

QLabel* selectable(QLabel* label) {
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setCursor(Qt::IBeamCursor);
    return label;
}

QLabel* plain(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* headline(const QString& text) {
    auto* label = plain(text);
    label->setFont(MaterialsStyle::headlineFont(label->font()));
    markAsHeading(label);
    return label;
}

/// The symbol and text of a note, side by side.
QWidget* noteLabel(const QString& symbol, const QString& text) {
    auto* note = new QWidget;
    auto* icon = new QLabel;
    icon->setPixmap(MaterialsStyle::symbol(symbol).pixmap(QSize(14, 14)));
    icon->setAlignment(Qt::AlignTop);
    auto* words = plain(text);
    words->setWordWrap(true);
    MaterialsStyle::makeSecondary(words);
    auto* row = new QHBoxLayout(note);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(words, 1);
    note->setAccessibleName(text);
    return note;
}

} // namespace

MaterialAnalysisView::MaterialAnalysisView(GlazeCore::Material material, bool readOnly, QWidget* parent)
    : QWidget(parent), m_material(std::move(material)), m_readOnly(readOnly) {
    auto* stack = new QVBoxLayout(this);
    stack->setSpacing(8);

    auto* name = selectable(plain(shownText(m_material.name)));
    name->setFont(MaterialsStyle::titleFont(font()));
    name->setWordWrap(true);
    markAsHeading(name);
    stack->addWidget(name);

    if (m_readOnly)
        stack->addWidget(
            noteLabel(QStringLiteral("lock"),
                      tr("Bundled material, read-only. To change it, duplicate it as a custom material.")));

    auto* id = selectable(plain(tr("Id: ") + QString::fromStdString(m_material.id)));
    id->setFont(MaterialsStyle::captionFont(font()));
    MaterialsStyle::makeSecondary(id);
    stack->addWidget(id);

    auto* loiRow = new QHBoxLayout;
    auto* loiTitle = plain(tr("Loss on ignition"));
    loiRow->addWidget(loiTitle);
    loiRow->addStretch(1);
    auto* loi = plain(formatDoublePlaces(2, m_material.loi) + QStringLiteral(" %"));
    readAsLabelledValue(loiTitle, loi);
    loiRow->addWidget(selectable(loi));
    stack->addLayout(loiRow);

    auto* sourceStack = new QVBoxLayout;
    sourceStack->setSpacing(2);
    sourceStack->addWidget(headline(tr("Source")));
    auto* source = selectable(plain(LongNotes::laidOut(m_material.source)));
    source->setWordWrap(true);
    MaterialsStyle::makeSecondary(source);
    sourceStack->addWidget(source);
    stack->addLayout(sourceStack);

    auto* divider = new QFrame;
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    stack->addWidget(divider);

    stack->addWidget(headline(tr("Oxide analysis (weight %)")));
    stack->addWidget(makeAnalysisGrid(), 0, Qt::AlignLeft);
    stack->addStretch(1);
}

QWidget* MaterialAnalysisView::makeAnalysisGrid() {
    auto* grid = new QWidget;
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(16);
    layout->setVerticalSpacing(3);
    int row = 0;
    for (const GlazeCore::Oxide oxide : GlazeCore::OxideNames::allCases()) {
        const auto found = m_material.analysis.find(oxide);
        // Absent, zero, negative and not-a-number values get no row.
        if (found == m_material.analysis.end() || !(found->second > 0)) continue;
        const QString value = formatDoublePlaces(2, found->second);
        const QString spoken = spokenFormula(oxide) + QLatin1Char(' ') + value + QLatin1Char(' ') + tr("percent");
        auto* formula = plain(QString::fromStdString(GlazeCore::OxideText::formula(oxide)));
        formula->setAccessibleName(spoken);
        auto* number = plain(value);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // The formula speaks for the row.
        hideFromAccessibility(number);
        layout->addWidget(formula, row, 0, Qt::AlignLeft);
        layout->addWidget(number, row, 1);
        ++row;
    }
    return grid;
}

} // namespace Orza
