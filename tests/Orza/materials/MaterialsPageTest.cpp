#include "Orza/materials/MaterialsPage.h"

#include "GlazeCore/library/MaterialRules.h"
#include "MaterialsTestSupport.h"
#include "Orza/app/AppMenus.h"
#include "Orza/app/DocumentController.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/materials/BundledMaterialsModel.h"
#include "Orza/materials/CustomMaterialEditor.h"
#include "Orza/materials/CustomMaterialsModel.h"
#include "Orza/materials/MaterialAnalysisView.h"
#include "Orza/materials/PercentField.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/MessageBox.h"
#include "Orza/widgets/ContentUnavailableView.h"
#include "Orza/widgets/ListFootButtons.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QToolButton>
#include <QUndoStack>

using namespace Orza;
using GlazeCore::Oxide;
using MaterialsTest::material;
using MaterialsTest::type;
using Scope = MaterialsPage::Scope;

namespace {

const std::string clayID = "custom-clay";
const std::string ashID = "custom-ash";

/// Two recipes, one of them using the clay; three custom materials.
GlazeCore::GlazeBook sampleBook() {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon", "Shino"});
    book.recipes[0].lines.push_back({GlazeCore::Uuid::random(), clayID, 10, false});
    book.customMaterials = {
        material(clayID, "Red Clay", {{Oxide::SiO2, 58}, {Oxide::Al2O3, 20}}, 9, "Creekside Supply"),
        material(ashID, "Wood ash", {{Oxide::CaO, 40}}, 30, "own kiln"),
        material("custom-frit", "Frit 3134 mix", {{Oxide::B2O3, 23}}, 0, ""),
    };
    return book;
}

struct Page {
    std::unique_ptr<BookWindow> window;
    MaterialsPage* page;

    explicit Page(GlazeCore::GlazeBook book = sampleBook()) : Page(OrzaTest::makeWindow(std::move(book))) {}
    explicit Page(std::unique_ptr<BookWindow> made) : window(std::move(made)) {
        installAppMenus(*window, DocumentController::instance());
        page = MaterialsTest::placeInDetail(*window, new MaterialsPage(*window->document(), *window->actions()));
    }

    BookDocument& document() const { return *window->document(); }
    const std::vector<GlazeCore::Material>& custom() const { return document().book().customMaterials; }

    QStringList bundledIDs() const { return ids(page->bundledModel(), BundledMaterialsModel::idRole); }
    QStringList customIDs() const { return ids(page->customModel(), CustomMaterialsModel::idRole); }
    QString bundledDetailTitle() const { return titleOf(page->bundledDetail()); }
    QString customDetailTitle() const { return titleOf(page->customDetail()); }

    static QStringList ids(const QAbstractItemModel* model, int role) {
        QStringList list;
        for (int row = 0; row < model->rowCount(); ++row)
            list << model->index(row, 0).data(role).toString();
        return list;
    }
    /// The empty state's title, or the id of the material shown.
    static QString titleOf(QWidget* detail) {
        if (auto* empty = qobject_cast<ContentUnavailableView*>(detail)) return empty->title();
        if (auto* editor = qobject_cast<CustomMaterialEditor*>(detail))
            return QString::fromStdString(editor->materialID());
        if (auto* scroll = qobject_cast<QScrollArea*>(detail))
            if (auto* view = qobject_cast<MaterialAnalysisView*>(scroll->widget()))
                return QString::fromStdString(view->material().id);
        return {};
    }
};

QStringList allBundledIDs() {
    QStringList ids;
    for (const GlazeCore::Material& material : BookLibrary::bundledMaterials().materials)
        ids << QString::fromStdString(material.id);
    return ids;
}

/// The longest text the window hands Qt to lay out: each widget's own texts, titles, tips and accessible texts,
/// and the texts the rows of its lists show. Laying out costs what it is given, so this bounds a repaint's work.
qsizetype longestShownText(QWidget& window) {
    qsizetype longest = 0;
    const auto note = [&longest](const QString& text) { longest = std::max(longest, text.size()); };
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets << &window;
    for (QWidget* widget : widgets) {
        for (const QString& text : {widget->windowTitle(), widget->toolTip(), widget->statusTip(), widget->whatsThis(),
                                    widget->accessibleName(), widget->accessibleDescription()})
            note(text);
        if (auto* label = qobject_cast<QLabel*>(widget)) note(label->text());
        if (auto* field = qobject_cast<QLineEdit*>(widget)) note(field->displayText());
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) note(button->text());
        const auto* view = qobject_cast<QAbstractItemView*>(widget);
        if (!view || !view->model()) continue;
        const QAbstractItemModel& model = *view->model();
        for (int row = 0; row < model.rowCount(); ++row)
            for (int column = 0; column < model.columnCount(); ++column)
                for (const int role : {int(Qt::DisplayRole), int(Qt::ToolTipRole), int(Qt::AccessibleTextRole),
                                       int(Qt::AccessibleDescriptionRole), CustomMaterialsModel::shownIdRole})
                    note(model.index(row, column).data(role).toString());
    }
    return longest;
}

} // namespace

class MaterialsPageTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private slots:
    // The page's title names the window, as the Tests page's does; leaving the page takes it along.
    void pageTitleNamesTheWindow() {
        auto window = OrzaTest::makeWindow(sampleBook());
        const auto subtitle = [&] { return window->windowTitle().section(QStringLiteral(" \u2014 "), 1); };
        window->model()->setSelection(SidebarItem::materials());
        QVERIFY(qobject_cast<MaterialsPage*>(window->detail()));
        QCOMPARE(subtitle(), QStringLiteral("Materials"));
        window->model()->setSelection(SidebarItem::tests());
        QCOMPARE(subtitle(), QStringLiteral("Test Log"));
        window->model()->setSelection(std::nullopt);
        QCOMPARE(subtitle(), QString());
    }

    // Bundled and Custom read as two radio buttons of the "Material list" group; the chosen one is checked and is
    // the group's one Tab stop, whichever way it was chosen.
    void theListPickerReadsAsRadioButtons() {
        Page p;
        const auto segment = [&](const QString& title) {
            for (QToolButton* button : p.page->findChildren<QToolButton*>())
                if (button->text() == title) return button;
            return static_cast<QToolButton*>(nullptr);
        };
        QToolButton* bundled = segment(QStringLiteral("Bundled"));
        QToolButton* custom = segment(QStringLiteral("Custom"));
        QVERIFY(bundled && custom);
        QAccessibleInterface* group = QAccessible::queryAccessibleInterface(bundled->parentWidget());
        QCOMPARE(group->role(), QAccessible::Grouping);
        QCOMPARE(group->text(QAccessible::Name), QStringLiteral("Material list"));
        for (const Scope scope : {Scope::custom, Scope::bundled}) {
            p.page->setScope(scope);
            for (QToolButton* button : {bundled, custom}) {
                const bool chosen = (button == custom) == (scope == Scope::custom);
                QAccessibleInterface* read = QAccessible::queryAccessibleInterface(button);
                QCOMPARE(read->role(), QAccessible::RadioButton);
                QCOMPARE(bool(read->state().checked), chosen);
                QCOMPARE(bool(button->focusPolicy() & Qt::TabFocus), chosen);
            }
        }
        QAccessible::queryAccessibleInterface(custom)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QCOMPARE(p.page->scope(), Scope::custom);
    }

    // Inside the search field a reader meets one button, named for what it does.
    void theSearchFieldsClearButtonIsNamed() {
        Page p;
        p.page->setQuery(QStringLiteral("whiting"));
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(p.page->searchField());
        QList<QAccessibleInterface*> buttons;
        for (int i = 0; i < field->childCount(); ++i)
            if (field->child(i)->role() == QAccessible::Button) buttons << field->child(i);
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(buttons.front()->text(QAccessible::Name), QStringLiteral("Clear the search"));
    }

    void searchFiltersBothListsByNameIdOrSource() {
        Page p;
        // The table shows the whole name as a tooltip and the loss on ignition with one decimal.
        const QModelIndex whiting = p.page->bundledModel()->index(allBundledIDs().indexOf("whiting"), 0);
        QCOMPARE(whiting.data(Qt::ToolTipRole).toString(), QStringLiteral("Whiting"));
        QCOMPARE(whiting.siblingAtColumn(1).data().toString(), QStringLiteral("44.0"));
        QVERIFY(p.page->emptyListNote()->isHidden());

        // Only spaces: everything.
        p.page->setQuery(QStringLiteral(" \t "));
        QCOMPARE(p.bundledIDs(), allBundledIDs());
        QCOMPARE(p.customIDs(), (QStringList{"custom-clay", "custom-ash", "custom-frit"}));

        // Case is ignored in query, names, ids and sources; only a source word can keep a material.
        p.page->setQuery(QStringLiteral("  CREEKSIDE "));
        QCOMPARE(p.customIDs(), QStringList{"custom-clay"});
        p.page->setQuery(QStringLiteral("FLINT"));
        QCOMPARE(p.bundledIDs(), QStringList{"silica"});
        p.page->setQuery(QStringLiteral("Custom-A"));
        QCOMPARE(p.customIDs(), QStringList{"custom-ash"});

        // Every material passing keeps its list order.
        p.page->setQuery(QStringLiteral("feldspar"));
        QStringList expected;
        for (const GlazeCore::Material& material : BookLibrary::bundledMaterials().materials) {
            const QString all = QString::fromStdString(material.name + material.id + material.source).toLower();
            if (all.contains(QStringLiteral("feldspar"))) expected << QString::fromStdString(material.id);
        }
        QVERIFY(expected.size() > 1);
        QCOMPARE(p.bundledIDs(), expected);

        // A rename moves just that material into or out of the filtered list.
        p.page->setQuery(QStringLiteral("glaze"));
        QVERIFY(p.customIDs().isEmpty());
        QVERIFY(p.page->emptyListNote()->isHidden()); // the book has custom materials, none match
        p.document().setMaterialName(ashID, "Ash glaze base");
        QCOMPARE(p.customIDs(), QStringList{"custom-ash"});
        p.document().undoStack()->undo();
        QVERIFY(p.customIDs().isEmpty());
    }

    void selectionsAreIdsThatOutliveTheSearch() {
        Page p;
        QCOMPARE(p.bundledDetailTitle(), QStringLiteral("Select a Material"));
        QVERIFY(p.page->duplicateButton()->isHidden());
        p.page->selectBundled("whiting");
        QCOMPARE(p.bundledDetailTitle(), QStringLiteral("whiting"));
        QVERIFY(!p.page->duplicateButton()->isHidden());
        p.page->setScope(Scope::custom);
        p.page->customList()->setCurrentIndex(p.page->customModel()->index(1));
        QCOMPARE(p.page->customSelection(), std::optional<std::string>(ashID));
        QCOMPARE(p.customDetailTitle(), QString::fromStdString(ashID));

        // Hidden by the search, both stay selected and shown; switching scopes changes neither.
        p.page->setQuery(QStringLiteral("frit"));
        QCOMPARE(p.page->customSelection(), std::optional<std::string>(ashID));
        QCOMPARE(p.customDetailTitle(), QString::fromStdString(ashID));
        p.page->setScope(Scope::bundled);
        QCOMPARE(p.bundledDetailTitle(), QStringLiteral("whiting"));
        QVERIFY(p.page->bundledTable()->selectionModel()->selectedRows().isEmpty());
        p.page->setScope(Scope::custom);

        // Clearing the search shows the rows selected again.
        p.page->setQuery(QString());
        QCOMPARE(p.page->customList()->selectionModel()->selectedIndexes().value(0).row(), 1);
        p.page->setQuery(QStringLiteral("frit"));

        // Renaming the selected material out of the search hides its row, not its editor.
        p.page->setQuery(QStringLiteral("wood"));
        QCOMPARE(p.page->customList()->selectionModel()->selectedIndexes().size(), 1);
        CustomMaterialEditor* editor = p.page->editor();
        editor->nameField()->setText(QStringLiteral("Ash"));
        emit editor->nameField()->textEdited(QStringLiteral("Ash"));
        QVERIFY(p.customIDs().isEmpty());
        QCOMPARE(p.page->customSelection(), std::optional<std::string>(ashID));
        QCOMPARE(p.page->editor(), editor);
        p.page->setQuery(QStringLiteral("frit"));

        // Delete still acts on the hidden material.
        p.page->deleteSelectedMaterial();
        QVERIFY(!p.document().materialIndex(ashID));
        QCOMPARE(p.page->customSelection(), std::nullopt);
        QCOMPARE(p.customDetailTitle(), QStringLiteral("No Custom Material Selected"));
    }

    // An id of megabytes is listed by its ends: showing, selecting and renaming its material give Qt no text longer
    // than a line shows to lay out, so the list repaints at once, and the book keeps the id whole.
    void hugeIdsAreListedByTheirEnds() {
        GlazeCore::GlazeBook book = sampleBook();
        const std::string huge = "<" + std::string(std::size_t{17} << 20, 'x') + ">";
        book.customMaterials.push_back(material(huge, "Slip", {{Oxide::SiO2, 60}}, 10, ""));
        Page p(std::move(book));
        QVERIFY(OrzaTest::showActive(*p.window));
        p.page->setScope(Scope::custom);
        p.page->customList()->viewport()->grab();
        p.page->customList()->setCurrentIndex(p.page->customModel()->index(3));
        p.page->customList()->viewport()->grab();
        QVERIFY(p.page->editor());
        QLineEdit* name = p.page->editor()->nameField();
        name->setFocus();
        QTest::keyClick(name, Qt::Key_End);
        QTest::keyClicks(name, QStringLiteral("s"));
        p.page->customList()->viewport()->grab();
        const qsizetype longest = longestShownText(*p.window);
        // At most a name and an id read as one, each by its ends.
        QVERIFY2(longest <= 2 * qsizetype(shownTextLimit) + 2, qPrintable(QString::number(longest)));
        QVERIFY(p.page->customSelection() == huge);
        QVERIFY(p.custom().back().name == "Slips");
        const QString shown = p.page->customModel()->index(3).data(CustomMaterialsModel::shownIdRole).toString();
        QVERIFY2(shown.size() <= 1000 && shown.startsWith(QStringLiteral("<xx")) &&
                     shown.endsWith(QStringLiteral("xx>")),
                 qPrintable(shown.left(10)));
    }

    void addAppendsSelectsAndUndoes() {
        Page p;
        p.page->setQuery(QStringLiteral("clay"));
        p.page->addMaterial();
        QCOMPARE(p.custom().size(), std::size_t(4));
        const GlazeCore::Material& added = p.custom().back();
        QCOMPARE(added.name, "New material 1");
        QVERIFY(added.id.starts_with("custom-"));
        QCOMPARE(p.page->scope(), Scope::custom);
        QCOMPARE(p.page->customSelection(), std::optional(added.id));
        const std::string id = added.id;
        // Selected though the search hides it.
        QCOMPARE(p.customIDs(), QStringList{"custom-clay"});
        QCOMPARE(p.customDetailTitle(), QString::fromStdString(id));
        QCOMPARE(p.page->editor()->nameField()->text(), QStringLiteral("New material 1"));
        // Its long id scrolls within the form rather than widening it beyond the narrowest pane.
        QVERIFY(p.page->editor()->widget()->minimumSizeHint().width() <= 380);
        QCOMPARE(p.document().undoStack()->undoText(), QStringLiteral("Add Material"));

        // Undo takes it out and the page waits on the id; redo brings the editor back.
        p.document().undoStack()->undo();
        QCOMPARE(p.custom().size(), std::size_t(3));
        QCOMPARE(p.page->customSelection(), std::optional(id));
        QCOMPARE(p.customDetailTitle(), QStringLiteral("No Custom Material Selected"));
        p.document().undoStack()->redo();
        QCOMPARE(p.customDetailTitle(), QString::fromStdString(id));

        // The next one takes the next free name.
        p.page->addMaterial();
        QCOMPARE(p.custom().back().name, "New material 2");
    }

    void duplicateCopiesABuiltInMaterial() {
        Page p;
        QVERIFY(OrzaTest::showActive(*p.window));
        p.page->bundledTable()->selectRow(allBundledIDs().indexOf("whiting"));
        QCOMPARE(p.page->bundledSelection(), std::optional<std::string>("whiting"));
        p.page->duplicateButton()->click();
        p.page->setScope(Scope::bundled);
        p.page->duplicateButton()->click();

        QCOMPARE(p.custom().size(), std::size_t(5));
        const GlazeCore::Material& first = p.custom()[3];
        const GlazeCore::Material& second = p.custom()[4];
        const GlazeCore::Material* whiting = BookLibrary::bundledMaterials().materials.data();
        while (whiting->id != "whiting")
            ++whiting;
        for (const GlazeCore::Material* copy : {&first, &second}) {
            QCOMPARE(copy->name, "Whiting (custom)");
            QCOMPARE(copy->source, "Copied from bundled whiting: " + whiting->source);
            QCOMPARE(copy->analysis, whiting->analysis);
            QCOMPARE(copy->loi, whiting->loi);
            QVERIFY(copy->id.starts_with("custom-"));
        }
        QVERIFY(first.id != second.id);
        QCOMPARE(p.page->scope(), Scope::custom);
        QCOMPARE(p.page->customSelection(), std::optional(second.id));
        QCOMPARE(p.page->bundledSelection(), std::optional<std::string>("whiting"));
        QCOMPARE(p.document().undoStack()->undoText(), QStringLiteral("Duplicate as Custom Material"));
    }

    void deletingAnUnusedMaterialRemovesIt() {
        Page p;
        QVERIFY(OrzaTest::showActive(*p.window));
        p.page->setScope(Scope::custom);
        p.page->customList()->setCurrentIndex(p.page->customModel()->index(1));
        QVERIFY(p.page->footButtons()->removeButton()->isEnabled());
        // The list's own delete key.
        p.page->customList()->setFocus();
        QTest::keyClick(p.page->customList(), Qt::Key_Delete);
        QCOMPARE(p.customIDs(), (QStringList{"custom-clay", "custom-frit"}));
        QCOMPARE(p.page->customSelection(), std::nullopt);
        QCOMPARE(p.customDetailTitle(), QStringLiteral("No Custom Material Selected"));
        QVERIFY(!p.page->footButtons()->removeButton()->isEnabled());
        QCOMPARE(p.document().undoStack()->undoText(), QStringLiteral("Delete Material"));
        p.document().undoStack()->undo();
        QCOMPARE(p.customIDs(), (QStringList{"custom-clay", "custom-ash", "custom-frit"}));

        // A selection naming no material: nothing to remove, the selection is cleared.
        p.page->selectCustom("custom-gone");
        QCOMPARE(p.customDetailTitle(), QStringLiteral("No Custom Material Selected"));
        p.page->footButtons()->removeButton()->click();
        QCOMPARE(p.custom().size(), std::size_t(3));
        QCOMPARE(p.page->customSelection(), std::nullopt);
    }

    void deletingAMaterialInUseIsRefused_data() {
        QTest::addColumn<int>("users");
        QTest::addColumn<QString>("message");
        QTest::newRow("one recipe") << 1
                                    << "1 recipe uses \u201CRed Clay\u201D (\u201CR1\u201D). Choose a different "
                                       "material in that recipe, then delete this material.";
        QTest::newRow("three recipes")
            << 3
            << "3 recipes use \u201CRed Clay\u201D (\u201CR1\u201D, \u201CR2\u201D, \u201CR3\u201D). Choose a "
               "different material in these recipes, then delete this material.";
        QTest::newRow("more than ten")
            << 12
            << "12 recipes use \u201CRed Clay\u201D (\u201CR1\u201D, \u201CR2\u201D, \u201CR3\u201D, \u201CR4\u201D, "
               "\u201CR5\u201D, \u201CR6\u201D, \u201CR7\u201D, \u201CR8\u201D, \u201CR9\u201D, \u201CR10\u201D and 2 "
               "more). Choose a different material in these recipes, then delete this material.";
    }
    void deletingAMaterialInUseIsRefused() {
        QFETCH(int, users);
        QFETCH(QString, message);
        GlazeCore::GlazeBook book;
        for (int i = 1; i <= users; ++i) {
            book.recipes.push_back(OrzaTest::recipe("R" + std::to_string(i)));
            book.recipes.back().lines.push_back({GlazeCore::Uuid::random(), clayID, 5, i % 2 == 0});
        }
        book.recipes.push_back(OrzaTest::recipe("Unrelated"));
        book.customMaterials = {material(clayID, "Red Clay", {{Oxide::SiO2, 60}}, 10)};
        Page p(book);
        p.page->setScope(Scope::custom);
        p.page->selectCustom(clayID);
        QVERIFY(p.page->editor()->inUse());

        p.page->footButtons()->removeButton()->click();
        const QList<MessageBox::Alert> alerts = MessageBox::takeRecordedAlerts();
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(alerts[0].text, QStringLiteral("This Material Is in Use"));
        QCOMPARE(alerts[0].informativeText, message);
        QCOMPARE(p.custom().size(), std::size_t(1));
        QCOMPARE(p.page->customSelection(), std::optional(clayID));
        QCOMPARE(p.document().undoStack()->count(), 0);
        QVERIFY(!p.document().isModified());
    }

    void inUseNoteFollowsTheRecipes() {
        Page p;
        p.page->setScope(Scope::custom);
        p.page->selectCustom(ashID);
        CustomMaterialEditor* editor = p.page->editor();
        QVERIFY(editor->inUseNote()->isHidden());
        const GlazeCore::Recipe& shino = p.document().book().recipes[1];
        p.document().setLineMaterial(shino.id, shino.lines[0].id, ashID);
        QVERIFY(!editor->inUseNote()->isHidden());
        QCOMPARE(editor->inUseNote()->text(),
                 QStringLiteral("Recipes in this book use this material. Changes update their chemistry."));
        p.document().undoStack()->undo();
        QVERIFY(editor->inUseNote()->isHidden());
        p.document().removeRecipe(p.document().book().recipes[0].id); // the clay's only user
        p.page->selectCustom(clayID);
        QVERIFY(p.page->editor()->inUseNote()->isHidden());
        p.document().undoStack()->undo();
        QVERIFY(!p.page->editor()->inUseNote()->isHidden());
        QCOMPARE(p.page->editor(), p.page->customDetail()); // the same editor throughout

        // Ids match as everywhere in the book: a composed and a decomposed accent name the same material.
        GlazeCore::GlazeBook accented = OrzaTest::bookWithRecipes({"Tenmoku"});
        accented.customMaterials = {material("custom-\u00E9", "Iron earth", {{Oxide::Fe2O3, 40}}, 10)};
        accented.recipes[0].lines[0].materialID = "custom-e\u0301";
        Page q(accented);
        q.page->selectCustom("custom-\u00E9");
        QVERIFY(q.page->isInUse("custom-\u00E9"));
        QVERIFY(!q.page->editor()->inUseNote()->isHidden());
        q.page->deleteSelectedMaterial();
        QCOMPARE(MessageBox::takeRecordedAlerts().size(), 1);
    }

    void emptyBookShowsItsNoteWhateverTheSearch() {
        Page p(OrzaTest::bookWithRecipes({"A"}));
        p.page->setScope(Scope::custom);
        QVERIFY(!p.page->emptyListNote()->isHidden());
        QCOMPARE(p.page->emptyListNote()->text(), QStringLiteral("No custom materials"));
        p.page->setQuery(QStringLiteral("zzz"));
        QVERIFY(!p.page->emptyListNote()->isHidden());
        p.page->footButtons()->addButton()->click();
        QVERIFY(p.page->emptyListNote()->isHidden());
        QVERIFY(p.customIDs().isEmpty()); // "New material 1" does not match "zzz"
        p.document().undoStack()->undo();
        QVERIFY(!p.page->emptyListNote()->isHidden());
    }

    // Typing, undo and revert all change the book under the editor; none of them rebuilds it, so the
    // field being typed in keeps the keyboard, and the selection stays on the material.
    void theEditorOutlivesChangesOfItsMaterial() {
        const QString path = filePath(QStringLiteral("book.glaze"));
        OrzaTest::saveBook(sampleBook(), path);
        Page p(std::make_unique<BookWindow>(std::make_unique<BookDocument>(GlazeDocument::read(path), path)));
        QVERIFY(OrzaTest::showActive(*p.window));
        p.page->setScope(Scope::custom);
        p.page->customList()->setCurrentIndex(p.page->customModel()->index(0));
        CustomMaterialEditor* editor = p.page->editor();
        QVERIFY(editor);
        // Building the editor of a material in use opens no stray window that takes the keyboard away.
        OrzaTest::settle();
        QCOMPARE(QApplication::activeWindow(), p.window.get());

        QLineEdit* name = editor->nameField();
        name->setFocus(Qt::TabFocusReason);
        name->end(false);
        type(name, QStringLiteral(" 2"));
        QCOMPARE(p.custom()[0].name, "Red Clay 2");
        QCOMPARE(p.page->customModel()->index(0).data().toString(), QStringLiteral("Red Clay 2"));
        QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(name->text(), QStringLiteral("Red Clay"));
        QCOMPARE(p.page->editor(), editor);
        QVERIFY(name->hasFocus());

        QLineEdit* silica = editor->oxideField(Oxide::SiO2)->lineEdit();
        silica->setFocus(Qt::TabFocusReason);
        silica->selectAll();
        type(silica, QStringLiteral("61"));
        QCOMPARE(p.custom()[0].analysis.at(Oxide::SiO2), 61.0);
        p.document().revert();
        QCOMPARE(p.page->editor(), editor);
        QVERIFY(silica->hasFocus());
        QCOMPARE(silica->text(), QStringLiteral("58"));
        QCOMPARE(p.page->customSelection(), std::optional(clayID));
        QCOMPARE(p.page->customList()->selectionModel()->selectedIndexes().value(0).row(), 0);

        // A material the file does not hold: the selection waits on its id.
        p.page->addMaterial();
        QVERIFY(p.page->editor()->nameField()->hasFocus()); // ready to be named
        const std::string added = p.custom().back().id;
        p.document().revert();
        QCOMPARE(p.page->customSelection(), std::optional(added));
        QCOMPARE(p.customDetailTitle(), QStringLiteral("No Custom Material Selected"));
        // The editor that held the keyboard has gone; the list has it now, not nothing.
        OrzaTest::settle();
        QVERIFY(p.page->isAncestorOf(QApplication::focusWidget()));
    }
};

QTEST_MAIN(MaterialsPageTest)
#include "MaterialsPageTest.moc"
