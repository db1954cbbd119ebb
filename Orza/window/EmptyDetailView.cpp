#include "Orza/window/EmptyDetailView.h"

#include "Orza/widgets/ContentUnavailableView.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace Orza {

EmptyDetailView::EmptyDetailView(bool bookHasRecipes, QWidget* parent) : QWidget(parent) {
    if (bookHasRecipes) {
        m_content = new ContentUnavailableView(QStringLiteral("flask"), tr("Select a Recipe"),
                                               tr("Choose a recipe in the sidebar to see its chemistry."));
    } else {
        m_content = new ContentUnavailableView(
            QStringLiteral("flask"), tr("Add a Recipe"),
            tr("This book has no recipes yet. Add a recipe, then choose its materials and amounts. The chemistry "
               "and the Stull chart update as you type.") +
                QStringLiteral("\n\n") +
                tr("To look around first, open the sample book with six cone 6 base recipes. It is also in Help > "
                   "Open Sample Book."));
        m_addRecipe = new QPushButton(tr("Add Recipe"));
        m_addRecipe->setDefault(true);
        // Bordered and prominent: the accent colour marks the way forward.
        QPalette accent = m_addRecipe->palette();
        accent.setColor(QPalette::Button, accent.color(QPalette::Highlight));
        accent.setColor(QPalette::ButtonText, accent.color(QPalette::HighlightedText));
        m_addRecipe->setPalette(accent);
        m_openSample = new QPushButton(tr("Open Sample Book"));
        m_content->buttonRow()->addWidget(m_addRecipe);
        m_content->buttonRow()->addWidget(m_openSample);
        connect(m_addRecipe, &QPushButton::clicked, this, &EmptyDetailView::addRecipeRequested);
        connect(m_openSample, &QPushButton::clicked, this, &EmptyDetailView::openSampleRequested);
        // The invitation's default action: Return anywhere in the window adds the first recipe.
        for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
            auto* shortcut = new QShortcut(QKeySequence(key), this, nullptr, nullptr, Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this, &EmptyDetailView::addRecipeRequested);
        }
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_content);
}

} // namespace Orza
