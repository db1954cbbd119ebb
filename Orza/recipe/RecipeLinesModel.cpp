#include "Orza/recipe/RecipeLinesModel.h"

#include "GlazeCore/book/RecipeCheck.h"
#include "GlazeCore/library/MaterialRules.h"
#include "GlazeCore/text/NumberText.h"
#include "Orza/display/NumberDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"

#include <QLocale>

namespace Orza {

RecipeLinesModel::RecipeLinesModel(BookDocument& document, const GlazeCore::Uuid& recipeID, QObject* parent)
    : QAbstractTableModel(parent), m_document(document), m_recipeID(recipeID), m_present(document.recipe(recipeID)) {
    updateTotals();
    const auto mine = [this](const GlazeCore::Uuid& id) { return id == m_recipeID; };
    connect(&document, &BookDocument::lineChanged, this, &RecipeLinesModel::followLine);
    connect(&document, &BookDocument::linesAboutToBeInserted, this, [this, mine](const auto& id, int first, int last) {
        if (mine(id)) beginInsertRows({}, first, last);
    });
    connect(&document, &BookDocument::linesInserted, this, [this, mine](const auto& id) {
        if (!mine(id)) return;
        endInsertRows();
        updateTotals();
    });
    connect(&document, &BookDocument::linesAboutToBeRemoved, this, [this, mine](const auto& id, int first, int last) {
        if (mine(id)) beginRemoveRows({}, first, last);
    });
    connect(&document, &BookDocument::linesRemoved, this, [this, mine](const auto& id) {
        if (!mine(id)) return;
        endRemoveRows();
        updateTotals();
    });
    const auto resetting = [this, mine](const auto& id) {
        if (mine(id)) beginResetModel();
    };
    const auto wasReset = [this, mine](const auto& id) {
        if (!mine(id)) return;
        endResetModel();
        updateTotals();
    };
    connect(&document, &BookDocument::linesAboutToBeReset, this, resetting);
    connect(&document, &BookDocument::linesReset, this, wasReset);
    // A revert, or the recipe leaving the book and coming back, changes everything at once.
    connect(&document, &BookDocument::aboutToReset, this, [this] { beginResetModel(); });
    connect(&document, &BookDocument::reset, this, [this] {
        m_present = recipe() != nullptr;
        endResetModel();
        updateTotals();
    });
    // The recipe itself can leave the book (a deletion) and come back (its undo): its rows go and return.
    for (const auto signal : {&BookDocument::recipesRemoved, &BookDocument::recipesInserted})
        connect(&document, signal, this, &RecipeLinesModel::followPresence);
    connect(&document, &BookDocument::libraryChanged, this, [this] {
        if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, totalColumns - 1));
    });
}

const GlazeCore::Recipe* RecipeLinesModel::recipe() const {
    return m_document.recipe(m_recipeID);
}

const GlazeCore::RecipeLine* RecipeLinesModel::line(int row) const {
    const GlazeCore::Recipe* owner = recipe();
    if (!owner || row < 0 || std::size_t(row) >= owner->lines.size()) return nullptr;
    return &owner->lines[std::size_t(row)];
}

std::optional<int> RecipeLinesModel::rowOf(const GlazeCore::Uuid& lineID) const {
    if (const auto row = m_document.lineIndex(m_recipeID, lineID)) return int(*row);
    return std::nullopt;
}

int RecipeLinesModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_present) return 0;
    const GlazeCore::Recipe* owner = recipe();
    return owner ? int(owner->lines.size()) : 0;
}

int RecipeLinesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(totalColumns);
}

QString RecipeLinesModel::materialName(const std::string& materialID) const {
    return materialDisplayName(materialID, m_document.library());
}

bool RecipeLinesModel::isUsable(const std::string& materialID) const {
    return !materialID.empty() && m_document.library().material(materialID);
}

QString RecipeLinesModel::percentText(double amount) const {
    if (!(m_baseTotal > 0)) return QStringLiteral("\u2013");
    return formatDoublePlaces(1, amount / m_baseTotal * 100) + QStringLiteral(" %");
}

QVariant RecipeLinesModel::data(const QModelIndex& index, int role) const {
    const GlazeCore::RecipeLine* line = index.isValid() ? this->line(index.row()) : nullptr;
    if (!line) return {};
    switch (role) {
    case materialIDRole:
        return QString::fromStdString(line->materialID);
    case materialUsableRole:
        return isUsable(line->materialID);
    case missingMaterialRole:
        return GlazeCore::RecipeCheck::isMissingMaterial(*line);
    case lineIDRole:
        return QString::fromStdString(line->id.uppercaseText());
    default:
        break;
    }
    switch (index.column()) {
    case materialColumn:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return materialName(line->materialID);
        if (role == Qt::AccessibleTextRole) {
            const QString picker = tr("Material: %1").arg(materialName(line->materialID));
            // The warning symbol after the picker is read with it.
            if (!GlazeCore::RecipeCheck::isMissingMaterial(*line)) return picker;
            return picker + QStringLiteral(", ") + tr("Row not valid: amount without a material");
        }
        if (role == Qt::AccessibleDescriptionRole) return tr("Opens a searchable list of materials");
        return {};
    case amountColumn:
        if (role == Qt::DisplayRole)
            return QString::fromStdString(
                GlazeCore::NumberText::format(line->amount, {0, 2}, QLocale().name().toStdString()));
        if (role == Qt::EditRole) return line->amount;
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role == Qt::AccessibleTextRole) return tr("Amount of %1").arg(materialName(line->materialID));
        return {};
    case percentColumn:
        if (role == Qt::DisplayRole) return percentText(line->amount);
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role == Qt::AccessibleTextRole) return tr("%1 of base").arg(percentText(line->amount));
        return {};
    case additionColumn:
        if (role == Qt::CheckStateRole) return line->isAddition ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::AccessibleTextRole) return tr("%1 is an addition").arg(materialName(line->materialID));
        return {};
    default:
        return {};
    }
}

QVariant RecipeLinesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::TextAlignmentRole)
        return int((section == amountColumn || section == percentColumn ? Qt::AlignRight : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    switch (section) {
    case materialColumn:
        return tr("Material");
    case amountColumn:
        return tr("Amount");
    case percentColumn:
        return tr("% of base");
    case additionColumn:
        return tr("Addition");
    default:
        return {};
    }
}

Qt::ItemFlags RecipeLinesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == amountColumn) flags |= Qt::ItemIsEditable;
    if (index.column() == additionColumn) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool RecipeLinesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const GlazeCore::RecipeLine* line = index.isValid() ? this->line(index.row()) : nullptr;
    if (!line) return false;
    const GlazeCore::Uuid lineID = line->id;
    if (role == materialIDRole) return m_document.setLineMaterial(m_recipeID, lineID, value.toString().toStdString());
    if (index.column() == amountColumn && role == Qt::EditRole) {
        bool ok = false;
        const double amount = value.toDouble(&ok);
        return ok && m_document.setLineAmount(m_recipeID, lineID, amount);
    }
    if (index.column() == additionColumn && role == Qt::CheckStateRole)
        return m_document.setLineAddition(m_recipeID, lineID, value.toInt() == Qt::Checked);
    return false;
}

void RecipeLinesModel::followLine(const GlazeCore::Uuid& recipeID, int row, LineField field) {
    if (recipeID != m_recipeID) return;
    switch (field) {
    case LineField::materialID:
        emit dataChanged(index(row, 0), index(row, totalColumns - 1));
        return;
    case LineField::amount:
    case LineField::isAddition:
        // The totals first: the line's share is read against the new base, never the old one.
        updateTotals();
        emit dataChanged(index(row, 0), index(row, totalColumns - 1));
        return;
    }
}

void RecipeLinesModel::followPresence() {
    const bool present = recipe() != nullptr;
    if (present == m_present) return;
    beginResetModel();
    m_present = present;
    endResetModel();
    updateTotals();
}

void RecipeLinesModel::updateTotals() {
    double base = 0;
    double additions = 0;
    if (const GlazeCore::Recipe* owner = recipe())
        for (const GlazeCore::RecipeLine& line : owner->lines)
            (line.isAddition ? additions : base) += line.amount;
    const bool changed = base != m_baseTotal || additions != m_additionsTotal;
    m_baseTotal = base;
    m_additionsTotal = additions;
    if (!changed) return;
    percentsChanged();
    emit totalsChanged();
}

void RecipeLinesModel::percentsChanged() {
    if (rowCount() > 0) emit dataChanged(index(0, percentColumn), index(rowCount() - 1, percentColumn));
}

} // namespace Orza
