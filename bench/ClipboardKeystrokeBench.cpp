// Clicks and keys in a recipe's name and notes while another program holds 50 million characters on the
// clipboard (offscreen): each fetch of the clipboard's text is that text made anew from its UTF-8 bytes, as a
// paste from another program brings it. One iteration: a click into the name and five keys there, or the same in
// the notes. Paste's state is to cost no fetch at all.

#include "GlazeCore/book/BookTypes.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/recipe/RecipeLinesTable.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/window/BookWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

/// The clipboard as another program holds it: its text comes over anew at every fetch.
class ForeignText final : public QMimeData {
public:
    explicit ForeignText(std::size_t characters) : m_utf8(qsizetype(characters), 'x') {}
    QStringList formats() const override { return {QStringLiteral("text/plain")}; }

protected:
    QVariant retrieveData(const QString& format, QMetaType) const override {
        if (format != QLatin1String("text/plain")) return {};
        return QString::fromUtf8(m_utf8);
    }

private:
    QByteArray m_utf8;
};

void keystrokes(benchmark::State& state, bool notes) {
    GlazeCore::GlazeBook book;
    book.recipes.push_back({GlazeCore::Uuid::random(), "Celadon", "6", {}, ""});
    Orza::BookWindow window(std::make_unique<Orza::BookDocument>(Orza::GlazeDocument::make(book, false)));
    window.resize(1320, 780);
    window.show();
    window.model()->setSelection(Orza::SidebarItem::recipe(book.recipes[0].id));
    auto* pane = qobject_cast<Orza::RecipePane*>(window.detail());
    if (!pane) {
        state.SkipWithError("no recipe pane");
        return;
    }
    QGuiApplication::clipboard()->setMimeData(new ForeignText(50'000'000));
    QCoreApplication::processEvents();
    QWidget* field = notes ? static_cast<QWidget*>(pane->notesField()) : pane->nameField();
    QWidget* clicked = notes ? pane->notesField()->viewport() : field;
    for (auto _ : state) {
        pane->linesTable()->setFocus(); // away, so that the click brings the focus back
        QTest::mouseClick(clicked, Qt::LeftButton);
        QTest::keyClicks(field, QStringLiteral("abcde"));
    }
}

void BM_NameClickAndFiveKeys(benchmark::State& state) {
    keystrokes(state, false);
}

void BM_NotesClickAndFiveKeys(benchmark::State& state) {
    keystrokes(state, true);
}

} // namespace

BENCHMARK(BM_NameClickAndFiveKeys)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_NotesClickAndFiveKeys)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
