#include "Orza/window/CustomizeToolbarDialog.h"

#include "Orza/platform/DialogKeys.h"
#include "Orza/platform/ScreenFit.h"
#include "Orza/resources/Resources.h"
#include "Orza/widgets/FocusReportingView.h"
#include "Orza/widgets/ThemedIcon.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace Orza {

using ToolbarItems::Item;

namespace {

constexpr int itemRole = Qt::UserRole;

QListWidgetItem* makeEntry(Item item) {
    ensureResources();
    // The chemistry item's own label changes with the panel; here it goes by what it is about.
    const QString name = item == Item::chemistry ? QCoreApplication::translate("CustomizeToolbarDialog", "Chemistry")
                                                 : ToolbarItems::label(item, true);
    auto* entry = new QListWidgetItem(ThemedIcon::symbol(ToolbarItems::symbol(item)), name);
    entry->setData(itemRole, int(item));
    return entry;
}

Item itemOf(const QListWidgetItem* entry) {
    return Item(entry->data(itemRole).toInt());
}

} // namespace

CustomizeToolbarDialog::CustomizeToolbarDialog(QWidget* parent)
    : QDialog(parent), m_available(new FocusReportingView<QListWidget>), m_shown(new FocusReportingView<QListWidget>),
      m_add(new QPushButton(tr("Add"))), m_remove(new QPushButton(tr("Remove"))), m_up(new QPushButton(tr("Move Up"))),
      m_down(new QPushButton(tr("Move Down"))), m_defaults(new QPushButton(tr("Restore Defaults"))) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Customize Toolbar"));

    m_shown->setDragDropMode(QAbstractItemView::InternalMove);
    m_shown->setDefaultDropAction(Qt::MoveAction);
    for (QListWidget* list : {m_available, m_shown}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setMinimumWidth(200);
        connect(list, &QListWidget::currentRowChanged, this, &CustomizeToolbarDialog::updateButtons);
    }
    connect(m_available, &QListWidget::itemDoubleClicked, this, &CustomizeToolbarDialog::addChosen);
    connect(m_shown, &QListWidget::itemDoubleClicked, this, &CustomizeToolbarDialog::removeChosen);
    connect(m_add, &QPushButton::clicked, this, &CustomizeToolbarDialog::addChosen);
    connect(m_remove, &QPushButton::clicked, this, &CustomizeToolbarDialog::removeChosen);
    connect(m_up, &QPushButton::clicked, this, [this] { moveChosen(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { moveChosen(1); });
    connect(m_defaults, &QPushButton::clicked, this,
            [this] { fill(std::vector<Item>(ToolbarItems::all().begin(), ToolbarItems::all().end())); });

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(m_add);
    middle->addWidget(m_remove);
    middle->addSpacing(12);
    middle->addWidget(m_up);
    middle->addWidget(m_down);
    middle->addStretch();

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Available items")), 0, 0);
    grid->addWidget(new QLabel(tr("Shown in the toolbar")), 0, 2);
    // A list is read by its own name, not by the title above it.
    m_available->setAccessibleName(tr("Available items"));
    m_shown->setAccessibleName(tr("Shown in the toolbar"));
    grid->addWidget(m_available, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(m_shown, 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->addButton(m_defaults, QDialogButtonBox::ResetRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::accepted, this, [this] { ToolbarItems::setShown(chosenItems()); });

    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(buttons);
    DialogKeys::follow(*this, *buttons->button(QDialogButtonBox::Ok));
    orderTabStops(buttons);

    fill(ToolbarItems::shown());
    ScreenFit::keep(this);
}

void CustomizeToolbarDialog::orderTabStops(QDialogButtonBox* buttons) {
    // Set as the page reads: the lists and the buttons between them, then the buttons at the foot as they stand.
    // The order the button box gives its buttons before it joins the dialog leaves forward Tab going round the
    // lists alone.
    QList<QWidget*> stops{m_available, m_add, m_remove, m_up, m_down, m_shown};
    for (int i = 0; i < buttons->layout()->count(); ++i)
        if (auto* button = qobject_cast<QAbstractButton*>(buttons->layout()->itemAt(i)->widget())) stops << button;
    for (qsizetype i = 1; i < stops.size(); ++i)
        setTabOrder(stops[i - 1], stops[i]);
}

void CustomizeToolbarDialog::fill(const std::vector<Item>& shown) {
    m_available->clear();
    m_shown->clear();
    for (const Item item : shown)
        m_shown->addItem(makeEntry(item));
    for (const Item item : ToolbarItems::all())
        if (std::find(shown.begin(), shown.end(), item) == shown.end()) m_available->addItem(makeEntry(item));
    updateButtons();
}

std::vector<Item> CustomizeToolbarDialog::chosenItems() const {
    std::vector<Item> items;
    for (int row = 0; row < m_shown->count(); ++row)
        items.push_back(itemOf(m_shown->item(row)));
    return items;
}

void CustomizeToolbarDialog::addChosen() {
    const int row = m_available->currentRow();
    if (row < 0) return;
    QListWidgetItem* entry = m_available->takeItem(row);
    // After the chosen shown item, else at the end.
    const int at = m_shown->currentRow() < 0 ? m_shown->count() : m_shown->currentRow() + 1;
    m_shown->insertItem(at, entry);
    m_shown->setCurrentRow(at);
    updateButtons();
}

void CustomizeToolbarDialog::removeChosen() {
    const int row = m_shown->currentRow();
    if (row < 0) return;
    const Item item = itemOf(m_shown->item(row));
    delete m_shown->takeItem(row);
    // Back in declaration order among the available ones.
    const auto rank = [](Item i) { return std::find(ToolbarItems::all().begin(), ToolbarItems::all().end(), i); };
    int at = 0;
    while (at < m_available->count() && rank(itemOf(m_available->item(at))) < rank(item))
        ++at;
    m_available->insertItem(at, makeEntry(item));
    updateButtons();
}

void CustomizeToolbarDialog::moveChosen(int step) {
    const int row = m_shown->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_shown->count()) return;
    QListWidgetItem* entry = m_shown->takeItem(row);
    m_shown->insertItem(target, entry);
    m_shown->setCurrentRow(target);
    updateButtons();
}

void CustomizeToolbarDialog::updateButtons() {
    const int row = m_shown->currentRow();
    m_add->setEnabled(m_available->currentRow() >= 0);
    m_remove->setEnabled(row >= 0);
    m_up->setEnabled(row > 0);
    m_down->setEnabled(row >= 0 && row + 1 < m_shown->count());
}

} // namespace Orza
