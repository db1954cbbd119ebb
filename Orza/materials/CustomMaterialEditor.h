#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "Orza/display/ShownTextEdit.h"
#include "Orza/document/BookFieldNames.h"

#include <QScrollArea>

#include <array>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace Orza {

class ActionRegistry;
class BookDocument;
class PercentField;

/**
 * The form of one custom material of the book, found by its id: name, id, loss on ignition, source and
 * the weight percent of every oxide, with the running total and, while the analysis breaks the material
 * rules, a red banner naming every problem.
 *
 * Each keystroke that makes a new valid value is written to the book at once through the document, which
 * merges a field's typing into one undo step; the fields' undo keys act on the book. The form follows
 * every change of its material, whoever made it, without rebuilding a field; when the material leaves the
 * book it shows empty fields and its writes are dropped.
 */
class CustomMaterialEditor final : public QScrollArea {
    Q_OBJECT
public:
    CustomMaterialEditor(BookDocument& document, ActionRegistry& actions, std::string materialID, bool inUse,
                         QWidget* parent = nullptr);

    const std::string& materialID() const { return m_id; }
    /// The book's material, or a stand-in with this id and empty fields once it has gone.
    GlazeCore::Material material() const;

    bool inUse() const { return m_inUse; }
    void setInUse(bool inUse);

    /// The sum of the analysis and the loss on ignition.
    double analysisTotal() const;
    /// The oxide's weight percent; 0 when the analysis does not hold it.
    double oxidePercent(GlazeCore::Oxide oxide) const;
    /// Stores a value above 0, or takes the oxide out of the analysis for 0 and below.
    void setOxidePercent(GlazeCore::Oxide oxide, double value);

    QLineEdit* nameField() const { return m_name; }
    /// The id, read-only and selectable.
    QLineEdit* idField() const { return m_idField; }
    PercentField* loiField() const { return m_loi; }
    QLineEdit* sourceField() const { return m_source; }
    PercentField* oxideField(GlazeCore::Oxide oxide) const;
    QLabel* inUseNote() const { return m_inUseNote; }
    /// Shown while the analysis has issues.
    QWidget* invalidBanner() const { return m_banner; }
    QStringList issueTexts() const;
    QString totalText() const;
    /// Whether the total is within 1 of 100.
    bool totalLooksRight() const { return m_totalRight; }

private:
    QWidget* makeMaterialSection();
    QWidget* makeBanner();
    static QString bannerHeadline();
    QWidget* makeAnalysisSection();
    QWidget* makeTotalLine();
    PercentField* makePercentField(const QString& title, double value, int maximumDigits,
                                   const std::optional<QString>& spokenName);
    void materialChanged(int row, MaterialField field);
    void refresh();
    void showName(const GlazeCore::Material& material);
    void showSource(const GlazeCore::Material& material);
    void showAnalysis(const GlazeCore::Material& material);
    void showChecks(const GlazeCore::Material& material);

    BookDocument& m_document;
    ActionRegistry& m_actions;
    std::string m_id;
    bool m_inUse;
    bool m_totalRight = false;

    QLineEdit* m_name = nullptr;
    ShownTextEdit m_nameEdit;
    QLineEdit* m_idField = nullptr;
    PercentField* m_loi = nullptr;
    QLineEdit* m_source = nullptr;
    ShownTextEdit m_sourceEdit;
    QLabel* m_inUseNote = nullptr;
    QWidget* m_banner = nullptr;
    QVBoxLayout* m_issues = nullptr;
    std::array<PercentField*, GlazeCore::oxideCount> m_oxides{};
    QWidget* m_totalLine = nullptr;
    QLabel* m_totalIcon = nullptr;
    QLabel* m_total = nullptr;
};

} // namespace Orza
