// A book window over the sample book, with three custom materials, showing the Materials page where the
// window will build it. For looking at the page (not a test):
//   materials_page_demo [custom] [select=ID] [search=TEXT] [focus=OXIDE] [alert] [size=WxH]
// "alert" tries to delete the selected material, which a recipe uses.

#include "GlazeCore/book/SampleBook.h"
#include "Orza/document/BookDocument.h"
#include "Orza/materials/CustomMaterialEditor.h"
#include "Orza/materials/MaterialsPage.h"
#include "Orza/materials/PercentField.h"
#include "Orza/models/WindowModel.h"
#include "Orza/window/BookWindow.h"

#include <QApplication>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

using namespace Orza;

namespace {

GlazeCore::Material material(std::string id, std::string name, GlazeCore::Analysis analysis, double loi,
                             std::string source) {
    return {std::move(id), std::move(name), std::move(analysis), loi, std::move(source)};
}

GlazeCore::GlazeBook demoBook() {
    using GlazeCore::Oxide;
    GlazeCore::GlazeBook book = GlazeCore::SampleBook::makeBook();
    book.customMaterials.push_back(material("custom-creek-red-clay", "Creek bank red clay",
                                            {{Oxide::SiO2, 58.2},
                                             {Oxide::Al2O3, 18.6},
                                             {Oxide::Fe2O3, 6.9},
                                             {Oxide::K2O, 2.4},
                                             {Oxide::MgO, 1.6},
                                             {Oxide::CaO, 1.1},
                                             {Oxide::Na2O, 0.6},
                                             {Oxide::TiO2, 0.9}},
                                            9.4, "Dug below the mill, lab analysis 2023"));
    book.customMaterials.push_back(material("custom-hardwood-ash", "Washed hardwood ash, sieved through 80 mesh",
                                            {{Oxide::CaO, 38},
                                             {Oxide::K2O, 9.5},
                                             {Oxide::MgO, 4.2},
                                             {Oxide::SiO2, 12},
                                             {Oxide::P2O5, 2.8},
                                             {Oxide::Na2O, 1.2}},
                                            30.1, "Own kiln, 2024 firing"));
    book.customMaterials.push_back(material("custom-feldspar-guess", "Feldspar (guessed analysis)",
                                            {{Oxide::SiO2, 70}, {Oxide::Al2O3, 25}, {Oxide::K2O, 9}}, 0.4,
                                            "From memory"));
    // The clay goes into the first recipe, so deleting it is blocked.
    book.recipes.front().lines.push_back({GlazeCore::Uuid::random(), "custom-creek-red-clay", 5, true});
    return book;
}

QString argument(const QStringList& arguments, const QString& name) {
    for (const QString& argument : arguments)
        if (argument.startsWith(name + QLatin1Char('='))) return argument.mid(name.size() + 1);
    return {};
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    auto* window = new BookWindow(std::make_unique<BookDocument>(GlazeDocument::make(demoBook(), false)));
    const QStringList size = argument(arguments, QStringLiteral("size")).split(QLatin1Char('x'));
    window->resize(size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt()) : QSize(1280, 780));
    window->show();

    // Stands in for the window's own wiring: the page takes the detail area while Materials is selected.
    auto page = std::make_shared<QPointer<MaterialsPage>>();
    auto follow = [window, page] {
        const auto& selection = window->model()->selection();
        if (*page) delete page->data();
        if (!selection || selection->kind != SidebarItem::Kind::materials) return;
        QWidget* area = window->detail()->parentWidget();
        window->detail()->hide();
        *page = new MaterialsPage(*window->document(), *window->actions(), area);
        area->layout()->addWidget(*page);
    };
    QObject::connect(window->model(), &WindowModel::selectionChanged, window,
                     [follow] { QTimer::singleShot(0, follow); });

    QTimer::singleShot(200, window, [window, page, arguments] {
        window->model()->setSelection(SidebarItem::materials());
        QTimer::singleShot(600, window, [page, arguments] {
            MaterialsPage* shown = *page;
            if (!shown) return;
            shown->setQuery(argument(arguments, QStringLiteral("search")));
            if (arguments.contains(QStringLiteral("custom"))) shown->setScope(MaterialsPage::Scope::custom);
            const QString selected = argument(arguments, QStringLiteral("select"));
            if (!selected.isEmpty() && shown->scope() == MaterialsPage::Scope::custom)
                shown->selectCustom(selected.toStdString());
            else if (!selected.isEmpty())
                shown->selectBundled(selected.toStdString());
            if (arguments.contains(QStringLiteral("alert"))) shown->deleteSelectedMaterial();
            // Once the editor is laid out, so that it can scroll to the field.
            QTimer::singleShot(100, shown, [shown, arguments] {
                const auto oxide =
                    GlazeCore::OxideNames::fromRaw(argument(arguments, QStringLiteral("focus")).toStdString());
                CustomMaterialEditor* editor = shown->editor();
                if (!editor || !oxide) return;
                QLineEdit* field = editor->oxideField(*oxide)->lineEdit();
                editor->ensureWidgetVisible(field);
                field->setFocus();
                field->selectAll();
            });
        });
    });
    return app.exec();
}
