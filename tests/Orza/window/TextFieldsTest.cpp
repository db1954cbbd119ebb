#include "Orza/actions/ActionRegistry.h"
#include "Orza/blends/BlendSheet.h"
#include "Orza/document/BookDocument.h"
#include "Orza/materials/CustomMaterialEditor.h"
#include "Orza/models/WindowModel.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/testlog/TestTileEditor.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/widgets/MaterialSearchList.h"
#include "Orza/widgets/OneLineText.h"
#include "Orza/window/BookWindow.h"
#include "Orza/window/RenameRecipeDialog.h"
#include "support/TestEnvironment.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolTip>

#include <functional>
#include <memory>
#include <tuple>

using namespace Orza;

namespace {

/// Clipboard data that counts how often its text is fetched and its formats are asked, as another program
/// holding the clipboard would be asked.
class CountingData final : public QMimeData {
public:
    explicit CountingData(const QString& text) { setText(text); }
    mutable int fetches = 0;
    mutable int offerAsks = 0;

    QStringList formats() const override {
        ++offerAsks;
        return QMimeData::formats();
    }

protected:
    QVariant retrieveData(const QString& format, QMetaType type) const override {
        if (format == QLatin1String("text/plain")) ++fetches;
        return QMimeData::retrieveData(format, type);
    }
};

/// Puts counting data holding `text` on the clipboard, which owns it from then on.
CountingData* onClipboard(const QString& text) {
    auto* data = new CountingData(text);
    QGuiApplication::clipboard()->setMimeData(data);
    return data;
}

GlazeCore::GlazeBook fullBook() {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    book.tests.push_back(OrzaTest::tile(book.recipes[0].id, "6", "T-1"));
    book.customMaterials.push_back({"custom-clay", "Clay", {{GlazeCore::Oxide::SiO2, 60}}, 10, "Pit"});
    return book;
}

/// The one-line fields of `root` that take a book's text: not those of numbers, steppers, dates and pickers,
/// nor one only read.
QList<QLineEdit*> textLines(const QWidget* root) {
    QList<QLineEdit*> lines;
    for (QLineEdit* line : root->findChildren<QLineEdit*>())
        if (!line->isReadOnly() && !qobject_cast<LiveNumberField*>(line) &&
            !qobject_cast<QAbstractSpinBox*>(line->parentWidget()) && !qobject_cast<QComboBox*>(line->parentWidget()))
            lines.append(line);
    return lines;
}

QString pasted(QLineEdit* line, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    line->setFocus();
    QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
    return line->text();
}

} // namespace

class TextFieldsTest : public OrzaTest::WindowSuite {
    Q_OBJECT
private slots:
    // Every one-line field that holds a book's text, on every page, sheet and dialog: a paste is kept whole up to
    // the limit; past it, a paste or a key is refused whole, with a word, never cut or dropped in silence.
    void everyTextLineKeepsWhatIsPastedWhole() {
        auto window = OrzaTest::makeWindowWithMenus(fullBook());
        QVERIFY(OrzaTest::showActive(*window));
        BookDocument& document = *window->document();
        const auto recipeID = document.book().recipes[0].id;
        ActionRegistry& actions = *window->actions();
        QWidget* parent = window.get();
        const auto page = [&](SidebarItem item) {
            return [&, item] {
                window->model()->setSelection(item);
                return window->detail();
            };
        };
        const std::vector<std::pair<const char*, std::function<QWidget*()>>> places = {
            {"recipe", page(SidebarItem::recipe(recipeID))},
            {"materials", page(SidebarItem::materials())},
            {"tests", page(SidebarItem::tests())},
            {"custom material",
             [&] { return new CustomMaterialEditor(document, actions, "custom-clay", false, parent); }},
            {"tile", [&] { return new TestTileEditor(document, actions, document.book().tests[0].id, parent); }},
            {"material search", [&] { return new MaterialSearchList(document.library(), {}, parent); }},
            {"blend", [&] { return BlendSheet::open(window->paneContext(), recipeID, BlendMode::grid); }},
            {"rename",
             [&] {
                 window->beginRename(recipeID);
                 return window->findChild<RenameRecipeDialog*>();
             }},
        };
        const auto limit = qsizetype(OneLineText::maxCharacters);
        int walked = 0;
        for (const auto& [place, open] : places) {
            QWidget* root = open();
            QVERIFY2(root, place);
            root->show();
            const QList<QLineEdit*> lines = textLines(root);
            QVERIFY2(!lines.isEmpty(), place);
            for (QLineEdit* line : lines) {
                const QByteArray where = QByteArray(place) + ": " + line->accessibleName().toUtf8();
                line->clear();
                QVERIFY2(pasted(line, QString(limit - 1, QLatin1Char('x'))).size() == limit - 1, where);
                QToolTip::hideText();
                QTest::keyClick(line, 'Q');
                QVERIFY2(line->text().endsWith(QLatin1Char('Q')), where);
                QTest::keyClick(line, 'Z');
                QVERIFY2(line->text().size() == limit && QToolTip::isVisible(), where);
                QToolTip::hideText();
                line->clear();
                QVERIFY2(pasted(line, QString(40'000, QLatin1Char('y'))).isEmpty(), where);
                QVERIFY2(QToolTip::text().contains(QLocale().toString(limit)), where);
                QToolTip::hideText();
                ++walked;
            }
            if (auto* dialog = qobject_cast<QDialog*>(root)) dialog->reject();
            OrzaTest::settle();
        }
        QVERIFY(walked >= 10);
    }

    // In every field that shows a huge text by its ends, Backspace just after the "…" and Delete just before it
    // take one character of the hidden middle each, not all of it; the field still shows the "…".
    void keysBesideTheCutTakeOneHiddenCharacter() {
        const std::string huge = "Start" + std::string(20'000, 'm') + "MN" + std::string(2'000, 'n') + "Close";
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({huge});
        book.customMaterials.push_back({"custom-clay", huge, {{GlazeCore::Oxide::SiO2, 60}}, 10, huge});
        auto window = OrzaTest::makeWindowWithMenus(book);
        QVERIFY(OrzaTest::showActive(*window));
        BookDocument& document = *window->document();
        const auto recipeID = document.book().recipes[0].id;
        window->model()->setSelection(SidebarItem::recipe(recipeID));
        auto* material = new CustomMaterialEditor(document, *window->actions(), "custom-clay", false, window.get());
        const auto named = [material](const char* name) {
            for (QLineEdit* line : material->findChildren<QLineEdit*>())
                if (line->accessibleName() == QLatin1String(name)) return line;
            return static_cast<QLineEdit*>(nullptr);
        };
        const auto& stored = document.book();
        const std::vector<std::tuple<QLineEdit*, std::function<std::string()>, std::string>> fields = {
            {qobject_cast<RecipePane*>(window->detail())->nameField(), [&] { return stored.recipes[0].name; }, huge},
            {named("Name"), [&] { return stored.customMaterials[0].name; }, huge},
            {named("Source"), [&] { return stored.customMaterials[0].source; }, huge},
            {nullptr, [&] { return stored.recipes[0].name; }, {}}, // the rename dialog, of the name as it is then
        };
        for (auto [field, whole, before] : fields) {
            RenameRecipeDialog* rename = nullptr;
            if (!field) {
                before = whole();
                window->beginRename(recipeID);
                rename = window->findChild<RenameRecipeDialog*>();
                QVERIFY(rename);
                field = rename->nameField();
            }
            const qsizetype cut = field->text().indexOf(QStringLiteral("\u2026"));
            QVERIFY2(cut > 0, field->accessibleName().toUtf8());
            const std::size_t head = field->text().left(cut).toStdString().size();
            const std::size_t tail = field->text().mid(cut + 1).toStdString().size();
            field->setFocus();
            field->setCursorPosition(int(cut + 1));
            QTest::keyClick(field, Qt::Key_Backspace);
            field->setCursorPosition(int(cut));
            QTest::keyClick(field, Qt::Key_Delete);
            QCOMPARE(field->text().indexOf(QStringLiteral("\u2026")), cut);
            if (rename) rename->accept();
            std::string expected = before;
            expected.erase(expected.size() - tail - 1, 1);
            expected.erase(head, 1);
            QVERIFY2(whole() == expected, field->accessibleName().toUtf8());
        }
    }

    // With text on the clipboard, clicks, keys and focus changes in the name and the notes fetch none of it:
    // Paste's state comes from what the clipboard offers, asked once while it stays the same. A paste fetches
    // the text once.
    void typingFetchesNothingFromTheClipboard() {
        auto window = OrzaTest::makeWindowWithMenus(OrzaTest::bookWithRecipes({"Celadon"}));
        QVERIFY(OrzaTest::showActive(*window));
        const auto recipeID = window->document()->book().recipes[0].id;
        window->model()->setSelection(SidebarItem::recipe(recipeID));
        auto* pane = qobject_cast<RecipePane*>(window->detail());
        QVERIFY(pane);
        CountingData* data = onClipboard(QString(5'000, QLatin1Char('x')));
        QAction* paste = window->actions()->action(Command::paste);

        QTest::mouseClick(pane->nameField(), Qt::LeftButton);
        QVERIFY(paste->isEnabled());
        const int asked = data->offerAsks;
        QTest::keyClick(pane->nameField(), Qt::Key_End);
        QTest::keyClicks(pane->nameField(), QStringLiteral("abc"));
        QTest::mouseClick(pane->notesField()->viewport(), Qt::LeftButton);
        QTest::keyClicks(pane->notesField(), QStringLiteral("abc"));
        QTest::keyClick(pane->notesField(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(data->offerAsks, asked);
        // The context menu asks the formats again, and fetches nothing either.
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5));
        QCoreApplication::sendEvent(pane->notesField(), &menu);
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        QTest::mouseClick(pane->nameField(), Qt::LeftButton);
        QCOMPARE(data->fetches, 0);
        QVERIFY(paste->isEnabled());

        QTest::keyClick(pane->nameField(), Qt::Key_End);
        QTest::keyClick(pane->nameField(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(data->fetches, 1);
        QCOMPARE(window->document()->book().recipes[0].name.size(), std::size_t(5'000 + 10));
        pane->notesField()->setFocus();
        QTest::keyClick(pane->notesField(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(data->fetches, 2);
        paste->trigger();
        QCOMPARE(data->fetches, 3);
        QCOMPARE(window->document()->book().recipes[0].notes.size(), std::size_t(2 + 10'000)); // "c" was selected

        // A new clipboard is asked again; one without text turns Paste off.
        QGuiApplication::clipboard()->setMimeData(new QMimeData);
        QVERIFY(!paste->isEnabled());
    }

    // A paste far past what notes are edited within is refused with a word, after one fetch, and leaves them.
    void aHugePasteIntoNotesIsRefused() {
        auto window = OrzaTest::makeWindowWithMenus(OrzaTest::bookWithRecipes({"Celadon"}));
        QVERIFY(OrzaTest::showActive(*window));
        window->model()->setSelection(SidebarItem::recipe(window->document()->book().recipes[0].id));
        auto* pane = qobject_cast<RecipePane*>(window->detail());
        QVERIFY(pane);
        CountingData* data = onClipboard(QString(3'000'000, QLatin1Char('x')));
        pane->notesField()->setFocus();
        QTest::keyClick(pane->notesField(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(data->fetches, 1);
        QVERIFY(pane->notesField()->toPlainText().isEmpty());
        QVERIFY(QToolTip::text().contains(QLocale().toString(100'000)));
        QVERIFY(window->document()->book().recipes[0].notes.empty());
    }
};

QTEST_MAIN(TextFieldsTest)
#include "TextFieldsTest.moc"
