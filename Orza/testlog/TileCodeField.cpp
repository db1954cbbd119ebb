#include "Orza/testlog/TileCodeField.h"

#include "GlazeCore/text/UnicodeText.h"
#include "Orza/actions/DocumentFieldKeys.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/testlog/FormSection.h"
#include "Orza/testlog/ProblemLabel.h"
#include "Orza/testlog/TileSearchCache.h"
#include "Orza/widgets/OneLineText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orza {

namespace {

constexpr int codeFieldWidth = 110;

} // namespace

TileCodeField::TileCodeField(BookDocument& document, ActionRegistry& actions, const GlazeCore::Uuid& tileID,
                             QWidget* parent)
    : QWidget(parent), m_document(document), m_codes(TileSearchCache::of(document)), m_tileID(tileID),
      m_edit(new QLineEdit), m_printLabel(new QPushButton(tr("Print Label…"))),
      m_hint(new QLabel(tr("Write the code on the back of the tile. Type it in the search field to find the tile "
                           "again."))),
      m_problemLabel(new ProblemLabel) {
    OneLineText::keepWhole(m_edit);
    m_edit->setFixedWidth(codeFieldWidth);
    m_edit->setAccessibleName(tr("Tile code"));
    m_edit->setAccessibleDescription(hintDescription());
    DocumentFieldKeys::attach(m_edit, m_document, actions);
    m_printLabel->setToolTip(tr("Print a label for this tile"));
    m_printLabel->setEnabled(false);
    m_hint->setWordWrap(true);
    m_hint->setFont(captionFont(font()));
    makeSecondary(m_hint);
    m_problemLabel->hide();

    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(m_edit, 0, Qt::AlignVCenter);
    row->addWidget(m_printLabel, 0, Qt::AlignVCenter);
    row->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addLayout(row);
    column->addWidget(m_hint);
    column->addWidget(m_problemLabel);

    connect(m_edit, &QLineEdit::textEdited, this, &TileCodeField::applyCodeDraft);
    connect(m_printLabel, &QPushButton::clicked, this, [this] {
        if (m_printAction) m_printAction();
    });
    connect(&m_document, &BookDocument::tileChanged, this, &TileCodeField::onTileChanged);
    connect(&m_document, &BookDocument::reset, this, &TileCodeField::resetCodeState);
    connect(&m_document, &BookDocument::testsInserted, this, &TileCodeField::adoptOutsideCode);
    resetCodeState();
}

void TileCodeField::setPrintLabel(std::function<void()> printLabel) {
    m_printAction = std::move(printLabel);
    m_printLabel->setEnabled(bool(m_printAction));
}

const GlazeCore::TestTile* TileCodeField::tile() const {
    return m_document.tile(m_tileID);
}

std::optional<GlazeCore::TileCode::Problem> TileCodeField::check(const std::string& code) const {
    // An empty stored code is shown as it is: nothing was typed that could be refused.
    if (code.empty()) return std::nullopt;
    return m_codes.validateCode(code, m_tileID);
}

void TileCodeField::resetCodeState() {
    const GlazeCore::TestTile* shown = tile();
    const std::string code = shown ? shown->code : std::string();
    m_originalCode = code;
    m_lastWritten = code;
    m_edit->setText(shownText(code));
    m_codeProblem.reset();
    showProblem(check(code));
}

void TileCodeField::applyCodeDraft(const QString& draft) {
    if (!tile()) return;
    const std::string typed = draft.toStdString();
    const auto problem = m_codes.validateCode(typed, m_tileID);
    m_writing = true;
    if (problem)
        m_document.setTileCode(m_tileID, m_originalCode);
    else
        m_document.setTileCode(m_tileID, GlazeCore::UnicodeText::trimWhitespaceAndNewlines(typed));
    m_writing = false;
    if (const GlazeCore::TestTile* written = tile()) m_lastWritten = written->code;
    showProblem(problem);
}

void TileCodeField::adoptOutsideCode() {
    const GlazeCore::TestTile* changed = tile();
    if (!changed || changed->code == m_lastWritten) return;
    m_originalCode = changed->code;
    m_lastWritten = changed->code;
    m_edit->setText(shownText(changed->code));
    m_codeProblem.reset();
    showProblem(check(changed->code));
}

void TileCodeField::onTileChanged(const GlazeCore::Uuid& tileID, int, TileField field) {
    if (tileID == m_tileID && field == TileField::code && !m_writing) adoptOutsideCode();
}

void TileCodeField::showProblem(const std::optional<GlazeCore::TileCode::Problem>& problem) {
    const bool isNew = problem && problem != m_codeProblem;
    m_codeProblem = problem;
    m_hint->setVisible(!problem);
    m_problemLabel->setVisible(problem.has_value());
    // While the code is refused the field says why, so a reader hears it again on coming back to the field.
    m_edit->setAccessibleDescription(problem ? QString::fromStdString(problem->message()) : hintDescription());
    if (!problem) return;
    m_problemLabel->setText(QString::fromStdString(problem->message()));
    if (isNew) m_problemLabel->announce();
}

QString TileCodeField::hintDescription() {
    return tr("Write this code on the back of the tile. Up to %1 characters.").arg(GlazeCore::TileCode::maxLength);
}

} // namespace Orza
