#include "Orza/batch/BatchPrintPage.h"
#include "Orza/batch/BatchPageLayout.h"
#include "Orza/batch/BatchRows.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/printing/PdfFile.h"
#include "printing/PdfProbe.h"
#include "support/TestEnvironment.h"

#include <QBuffer>
#include <QLocale>
#include <QPdfWriter>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace Orza;

namespace {

GlazeCore::RecipeLine line(std::string materialID, double amount, bool isAddition = false) {
    return {GlazeCore::Uuid::random(), std::move(materialID), amount, isAddition};
}

BatchPrintPage pageOf(GlazeCore::Recipe recipe, const BookLibrary& library, double precision = 0.1) {
    auto rows = batchRows(recipe, library, 1000, precision);
    return {std::move(recipe), std::move(rows), 1000,
            [precision](double grams) { return gramsText(grams, precision); }};
}

QStringList textsOf(const BatchPageLayout& layout) {
    QStringList texts;
    for (const auto& placed : layout.texts())
        texts << placed.block.text();
    return texts;
}

} // namespace

class BatchPrintPageTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private:
    QBuffer sink;
    std::unique_ptr<QPdfWriter> pdf;

    void setUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        sink.open(QIODevice::WriteOnly);
        pdf = std::make_unique<QPdfWriter>(&sink);
    }
    void tearDown() override {
        pdf.reset();
        sink.close();
        QLocale::setDefault(QLocale::system());
    }

private slots:
    // The header names the cone, the weight asked for and the day, in the user's locale.
    void headerLineNamesConeWeightAndDay() {
        GlazeCore::Recipe recipe{GlazeCore::Uuid::random(), "Celadon", "6", {line("silica", 100)}, ""};
        auto page = pageOf(recipe, BookLibrary({}));
        QCOMPARE(batchHeaderLine(page, QDate(2025, 3, 4)),
                 QStringLiteral("Cone 6 \u00b7 batch 1,000.0 g \u00b7 Mar 4, 2025"));
        page.recipe.cone.clear();
        QVERIFY(batchHeaderLine(page, QDate(2025, 3, 4)).startsWith(QStringLiteral("Cone  \u00b7 batch ")));
        const QString german = batchHeaderLine(page, QDate(2025, 12, 4), QLocale(QLocale::German, QLocale::Germany));
        QVERIFY2(german.endsWith(QStringLiteral("4. Dez. 2025")), qPrintable(german));
    }

    // Name, header, divider, the grid with its header, rows and total, then notes under a second divider.
    void pageListsEveryPartInOrder() {
        GlazeCore::Recipe recipe{GlazeCore::Uuid::random(),
                                 "Celadon",
                                 "6",
                                 {line("silica", 60), line("kaolin", 40), line("red-iron-oxide", 1.5, true)},
                                 ""};
        const BookLibrary library({});
        const BatchPageLayout plain(pageOf(recipe, library), *pdf, QDate(2025, 3, 4));
        QCOMPARE(textsOf(plain),
                 (QStringList{"Celadon", "Cone 6 \u00b7 batch 1,000.0 g \u00b7 Mar 4, 2025", "Material", "Grams",
                              "Weighed", "Silica", "600.0", "\u2610", "Kaolin", "400.0", "\u2610",
                              "Red iron oxide (addition)", "15.0", "\u2610", "Total", "1,015.0", ""}));
        QCOMPARE(plain.dividers().size(), std::size_t(1));
        QCOMPARE(plain.size().width(), 612.0);

        // Grams line up at their trailing edge, header and total included.
        const auto& texts = plain.texts();
        const auto rightOf = [&](std::size_t i) { return texts[i].topLeft.x() + texts[i].block.size().width(); };
        for (const std::size_t i : {std::size_t(6), std::size_t(9), std::size_t(12), std::size_t(15)})
            QVERIFY(std::abs(rightOf(i) - rightOf(3)) < 0.01);
        QVERIFY(texts[4].topLeft.x() > rightOf(3));

        recipe.notes = "Sieve twice.\nApply thin.";
        const BatchPageLayout noted(pageOf(recipe, library), *pdf, QDate(2025, 3, 4));
        QCOMPARE(noted.dividers().size(), std::size_t(2));
        QCOMPARE(noted.texts().back().block.text(), QStringLiteral("Sieve twice.\nApply thin."));
        QCOMPARE(noted.texts().back().block.lineCount(), 2);
        QVERIFY(noted.texts().back().topLeft.y() > noted.dividers().back().y1());
        QVERIFY(noted.size().height() > plain.size().height());
    }

    // Texts of megabytes are printed by their ends: the page is laid out at once, not after minutes.
    void hugeTextsArePrintedByTheirEnds() {
        const std::string huge(std::size_t{3} << 20, 'x');
        const GlazeCore::Material material{"custom-huge", huge, {{GlazeCore::Oxide::SiO2, 100}}, 0, ""};
        const GlazeCore::Recipe recipe{GlazeCore::Uuid::random(), huge, huge, {line("custom-huge", 100)}, huge};
        const BatchPageLayout layout(pageOf(recipe, BookLibrary({material})), *pdf);
        for (const QString& text : textsOf(layout))
            QVERIFY2(text.size() < 1100, qPrintable(text.left(40)));
        QCOMPARE(layout.dividers().size(), std::size_t(2));
    }

    // A name too long for the page wraps inside it instead of pushing the grams off the paper.
    void longNamesWrapInsideThePage() {
        GlazeCore::Material wordy{
            "custom-wordy", std::string(40, 'w') + " " + std::string(60, 'x'), {{GlazeCore::Oxide::SiO2, 100}}, 0, ""};
        GlazeCore::Recipe recipe{GlazeCore::Uuid::random(),
                                 std::string(30, 'N') + " " + std::string(30, 'M'),
                                 "6",
                                 {line("custom-wordy", 100)},
                                 ""};
        const BatchPageLayout layout(pageOf(recipe, BookLibrary({wordy})), *pdf);
        for (const auto& placed : layout.texts())
            QVERIFY2(placed.topLeft.x() + placed.block.size().width() <= 612 - 48 + 0.01,
                     qPrintable(placed.block.text()));
        QVERIFY(layout.texts()[0].block.lineCount() >= 2);
    }

    // Sixty lines still make one Letter page: scaled down to fit from the top left, every text extractable.
    void longListIsOnePageScaledToFit() {
        if (!OrzaTest::PdfProbe::available()) QSKIP("pdfinfo and pdftotext are not installed");
        GlazeCore::Material alumina{
            "custom-alumina", "Alumina Al\u2082O\u2083", {{GlazeCore::Oxide::Al2O3, 100}}, 0, ""};
        const BookLibrary library({alumina});
        std::vector<std::string> ids;
        for (const auto& material : library.all())
            ids.push_back(material.id);
        GlazeCore::Recipe recipe{GlazeCore::Uuid::random(), "Sixty", "10", {}, "Weigh carefully."};
        for (int i = 0; i < 60; ++i)
            recipe.lines.push_back(line(ids[std::size_t(i) % ids.size()], 1 + i % 7, i >= 55));
        const BatchPrintPage page = pageOf(recipe, library);
        QCOMPARE(page.rows.size(), std::size_t(60));

        const QString path = filePath(QStringLiteral("sixty.pdf"));
        QVERIFY(!Printing::PdfFile{makeBatchPDF(page)}.write(path));
        const auto info = OrzaTest::PdfProbe::info(path);
        QVERIFY(info);
        QCOMPARE(info->pages, 1);
        QCOMPARE(info->pageSize, QSizeF(612, 792));

        const QString text = OrzaTest::PdfProbe::text(path);
        QVERIFY(text.contains(batchHeaderLine(page, QDate::currentDate())));
        for (const BatchRow& row : page.rows) {
            QVERIFY2(text.contains(batchRowTitle(row)), qPrintable(batchRowTitle(row)));
            QVERIFY(text.contains(gramsText(row.grams, 0.1)));
        }
        QVERIFY(text.contains(QStringLiteral("Alumina Al\u2082O\u2083")));
        QCOMPARE(text.count(QStringLiteral("\u2610")), 60);
        QVERIFY(text.contains(QStringLiteral("Total")));
        QVERIFY(text.contains(QStringLiteral("Weigh carefully.")));

        // Laid out with the same metrics, the page is taller than the paper; the PDF shrinks it to fit.
        const BatchPageLayout layout(page, *pdf);
        const qreal scale = 792 / layout.size().height();
        QVERIFY(scale < 0.9);
        qreal right = 0, bottom = 0, left = 612;
        for (const auto& word : OrzaTest::PdfProbe::words(path)) {
            right = std::max(right, word.box.right());
            bottom = std::max(bottom, word.box.bottom());
            left = std::min(left, word.box.left());
        }
        QVERIFY2(std::abs(left - 48 * scale) < 2, qPrintable(QString::number(left)));
        QVERIFY2(right <= (612 - 48) * scale + 2, qPrintable(QString::number(right)));
        QVERIFY2(bottom <= 792 - 48 * scale + 2 && bottom > 792 - 48 * scale - 20, qPrintable(QString::number(bottom)));
    }
};

QTEST_MAIN(BatchPrintPageTest)
#include "BatchPrintPageTest.moc"
