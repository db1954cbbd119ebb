#include "Orza/actions/ToolbarItems.h"

#include "Orza/actions/CommandTable.h"
#include "Orza/settings/Settings.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

namespace Orza::ToolbarItems {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("ToolbarItems", text);
}

QString withKey(const QString& text, Item item) {
    const auto key = menuKey(item);
    if (!key) return text;
    return text + QStringLiteral(" (") + key->toString(QKeySequence::NativeText) + QStringLiteral(")");
}

} // namespace

const std::array<Item, 7>& all() {
    static constexpr std::array<Item, 7> items{Item::addRecipe, Item::replaceMaterial, Item::oxideNudge, Item::findTest,
                                               Item::blend,     Item::batchSheet,      Item::chemistry};
    return items;
}

Command command(Item item) {
    switch (item) {
    case Item::addRecipe:
        return Command::addRecipe;
    case Item::replaceMaterial:
        return Command::replaceMaterial;
    case Item::oxideNudge:
        return Command::oxideNudge;
    case Item::findTest:
        return Command::findTest;
    case Item::blend:
        return Command::blendMenu;
    case Item::batchSheet:
        return Command::batchSheet;
    case Item::chemistry:
        return Command::toggleChemistry;
    }
    return Command::addRecipe;
}

QString identifier(Item item) {
    switch (item) {
    case Item::addRecipe:
        return QStringLiteral("addRecipe");
    case Item::replaceMaterial:
        return QStringLiteral("replaceMaterial");
    case Item::oxideNudge:
        return QStringLiteral("oxideNudge");
    case Item::findTest:
        return QStringLiteral("findTest");
    case Item::blend:
        return QStringLiteral("blend");
    case Item::batchSheet:
        return QStringLiteral("batchSheet");
    case Item::chemistry:
        return QStringLiteral("chemistry");
    }
    return {};
}

std::optional<Item> fromIdentifier(const QString& text) {
    for (const Item item : all())
        if (identifier(item) == text) return item;
    return std::nullopt;
}

QString label(Item item, bool chemistryShown) {
    switch (item) {
    case Item::addRecipe:
        return tr("Add Recipe");
    case Item::replaceMaterial:
        return tr("Replace Material");
    case Item::oxideNudge:
        return tr("Oxide Nudge");
    case Item::findTest:
        return tr("Find Test");
    case Item::blend:
        return tr("Blend");
    case Item::batchSheet:
        return tr("Batch Sheet");
    case Item::chemistry:
        return chemistryShown ? tr("Hide Chemistry") : tr("Show Chemistry");
    }
    return {};
}

QString symbol(Item item) {
    switch (item) {
    case Item::addRecipe:
        return QStringLiteral("plus");
    case Item::replaceMaterial:
        return QStringLiteral("arrow.triangle.swap");
    case Item::oxideNudge:
        return QStringLiteral("scope");
    case Item::findTest:
        return QStringLiteral("magnifyingglass");
    case Item::blend:
        return QStringLiteral("triangle");
    case Item::batchSheet:
        return QStringLiteral("scalemass");
    case Item::chemistry:
        return QStringLiteral("sidebar.trailing");
    }
    return {};
}

QString helpText(Item item, bool chemistryShown) {
    switch (item) {
    case Item::addRecipe:
        return withKey(tr("Add a recipe"), item);
    case Item::replaceMaterial:
        return tr("Replace Material: put another material in place of one and work out new amounts");
    case Item::oxideNudge:
        return tr("Oxide Nudge: move one oxide to a target value");
    case Item::findTest:
        return withKey(tr("Find Test: find a test tile by its code, recipe, material or notes"), item);
    case Item::blend:
        return tr("Make a line, triaxial or four-corner blend");
    case Item::batchSheet:
        return withKey(tr("Scale this recipe to a batch weight and print it"), item);
    case Item::chemistry:
        return withKey(chemistryShown ? tr("Hide the chemistry panel") : tr("Show the chemistry panel"), item);
    }
    return {};
}

QString accessibleName(Item item, bool chemistryShown) {
    if (item == Item::chemistry) return chemistryShown ? tr("Hide chemistry") : tr("Show chemistry");
    return label(item, chemistryShown);
}

bool showsTitle(Item item) {
    return item == Item::blend || item == Item::batchSheet;
}

std::optional<QKeySequence> menuKey(Item item) {
    const QList<QKeySequence> keys = CommandTable::shortcuts(CommandTable::of(command(item)));
    if (keys.isEmpty()) return std::nullopt;
    return keys.front();
}

std::vector<Item> parse(const QString& stored) {
    std::vector<Item> items;
    for (const QString& part : stored.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto item = fromIdentifier(part.trimmed());
        if (item && std::find(items.begin(), items.end(), *item) == items.end()) items.push_back(*item);
    }
    return items;
}

QString serialize(const std::vector<Item>& items) {
    QStringList identifiers;
    for (const Item item : items)
        identifiers << identifier(item);
    return identifiers.join(QLatin1Char(','));
}

std::vector<Item> shown() {
    return parse(Settings::instance().stringValue(Settings::Key::bookToolbar));
}

void setShown(const std::vector<Item>& items) {
    Settings::instance().set(Settings::Key::bookToolbar, serialize(items));
}

} // namespace Orza::ToolbarItems
