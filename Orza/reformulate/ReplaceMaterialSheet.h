#pragma once

#include "Orza/models/WindowTypes.h"
#include "Orza/reformulate/ReformulateSheet.h"

#include <QStringList>

#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QStackedWidget;

namespace Orza {

class AdjustmentSummary;
class IconLabel;
class MaterialPickerButton;
struct PaneContext;

/**
 * Replace Material: puts another material in place of one base material of the recipe and works out new
 * base amounts that keep the unity formula as close to the current one as the materials allow. Nothing is
 * solved until both materials are chosen; a prompt stands in the result's place until then.
 */
class ReplaceMaterialSheet final : public ReformulateSheet {
    Q_OBJECT
public:
    ReplaceMaterialSheet(BookDocument& document, const GlazeCore::Uuid& recipeID, std::string oldID, Select select,
                         QWidget* parent = nullptr);

    /// Opens the sheet window-modal over the window for the request, the material to replace preselected
    /// from it. The window model holds the request while the sheet is up: clearing it closes the sheet,
    /// closing the sheet clears it. None when the book has no recipe with that id.
    static ReplaceMaterialSheet* open(const PaneContext& context, const GlazeCore::Uuid& recipeID,
                                      const ReplaceRequest& request);
    using QDialog::open;

    const std::string& oldID() const { return m_oldID; }
    void setOldID(const std::string& id);
    const std::string& newID() const { return m_newID; }
    void setNewID(const std::string& id);

    /// The result differs from the recipe's lines in any way; false without a result.
    bool hasChanges() const;
    /// The materials the Replace picker lists now.
    const std::vector<std::string>& baseIDs() const { return m_baseIDs; }

    QComboBox* replacePicker() const { return m_picker; }
    MaterialPickerButton* withButton() const { return m_with; }
    QLabel* promptLabel() const { return m_prompt; }
    IconLabel* failureLabel() const { return m_failure; }
    QLabel* cautionLabel() const { return m_caution; }
    QPushButton* replaceButton() const { return m_replace; }
    QPushButton* saveButton() const { return m_save; }

protected:
    std::optional<Result> solve(const GlazeCore::Recipe& recipe) override;
    void showResult() override;
    QString copySuffix() const override;
    QString inPlaceStepName() const override;
    QString copyStepName() const override;

private:
    QWidget* makeChoiceRow();
    QWidget* makeResultArea();
    QWidget* makeButtons();
    void showPicker();

    std::string m_oldID;
    std::string m_newID;
    std::vector<std::string> m_baseIDs;
    std::optional<std::vector<std::string>> m_pickerIDs;
    QStringList m_pickerNames;

    QComboBox* m_picker = nullptr;
    MaterialPickerButton* m_with = nullptr;
    QLabel* m_prompt = nullptr;
    IconLabel* m_failure = nullptr;
    QLabel* m_caution = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_save = nullptr;
};

} // namespace Orza
