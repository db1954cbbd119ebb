#include "Orza/widgets/ConeTyping.h"

#include "Orza/widgets/FocusReportingView.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListView>

namespace Orza {

namespace {

/// The picker's list, whose type-ahead looks at the cone each item holds before its title.
class ConeListView final : public FocusReportingView<QListView> {
public:
    using FocusReportingView::FocusReportingView;

    void keyboardSearch(const QString& search) override {
        // Keys typed in quick succession make one search, as the list's own type-ahead does.
        if (!m_sinceLastKey.isValid() || m_sinceLastKey.restart() > QApplication::keyboardInputInterval())
            m_typed.clear();
        if (!m_sinceLastKey.isValid()) m_sinceLastKey.start();
        m_typed += search;
        if (const int row = rowHolding(m_typed.trimmed()); row >= 0) {
            setCurrentIndex(model()->index(row, modelColumn(), rootIndex()));
            return;
        }
        QListView::keyboardSearch(search);
    }

private:
    /// The row whose cone is `typed`, else the first whose cone begins with it; -1 for none.
    int rowHolding(const QString& typed) const {
        if (typed.isEmpty() || !model()) return -1;
        int beginning = -1;
        for (int row = 0; row < model()->rowCount(rootIndex()); ++row) {
            const QString cone = model()->index(row, modelColumn(), rootIndex()).data(Qt::UserRole).toString();
            if (cone == typed) return row;
            if (beginning < 0 && cone.startsWith(typed)) beginning = row;
        }
        return beginning;
    }

    QString m_typed;
    QElapsedTimer m_sinceLastKey;
};

} // namespace

void chooseConesByTyping(QComboBox* picker) {
    picker->setView(new ConeListView);
}

} // namespace Orza
