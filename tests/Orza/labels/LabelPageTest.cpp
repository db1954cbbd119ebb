#include "Orza/labels/LabelPage.h"

#include "Orza/labels/LabelPreview.h"
#include "Orza/labels/LabelSheet.h"
#include "Orza/platform/PrintInfo.h"
#include "Orza/printing/PagePainting.h"
#include "Orza/printing/PdfFile.h"
#include "Orza/printing/PrintDialog.h"
#include "Orza/printing/TextFit.h"
#include "printing/PdfProbe.h"
#include "support/TestEnvironment.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTest>

#include <cmath>

using namespace Orza;
using Orza::Printing::PrintDialog;
using Sheet = GlazeCore::LabelLayout::Sheet;

namespace {

const Sheet& letter() {
    return chosenLabelSheet(QStringLiteral("letter-30"));
}
const Sheet& a4() {
    return chosenLabelSheet(QStringLiteral("a4-21"));
}

/// The one recipe of the set's tiles named `name`.
void renameRecipe(LabelSet& set, std::string name) {
    const GlazeCore::Uuid recipe = set.tiles.empty() ? GlazeCore::Uuid() : set.tiles.front().recipeID;
    set.recipes = std::make_shared<const GlazeCore::LabelLayout::RecipeNames>(
        GlazeCore::LabelLayout::RecipeNames{{recipe, std::move(name)}});
}

/// `count` tiles of one recipe, coded T-001 onwards.
LabelSet labelsOf(const Sheet& sheet, int count, int skip = 0) {
    LabelSet set{sheet, {}, {}, skip};
    const GlazeCore::Uuid celadon = GlazeCore::Uuid::random();
    for (int i = 1; i <= count; ++i)
        set.tiles.push_back(GlazeCore::LabelLayout::labelTile(
            OrzaTest::tile(celadon, "6", QStringLiteral("T-%1").arg(i, 3, 10, QLatin1Char('0')).toStdString())));
    renameRecipe(set, "Celadon");
    return set;
}

std::vector<OrzaTest::PdfProbe::Word> codesIn(const QString& path) {
    std::vector<OrzaTest::PdfProbe::Word> codes;
    for (auto& word : OrzaTest::PdfProbe::words(path))
        if (word.text.startsWith(QStringLiteral("T-"))) codes.push_back(std::move(word));
    return codes;
}

/// The position whose label frame holds the word's left edge, counted across, then down.
int slotOf(const OrzaTest::PdfProbe::Word& word, const Sheet& sheet) {
    const int column = int(std::floor((word.box.left() - sheet.left) / sheet.columnPitch));
    const int row = int(std::floor((word.box.top() - sheet.top) / sheet.rowPitch));
    return row * sheet.columns + column;
}

/// Where the preview draws its white page, found in a picture of the widget.
QRect drawnPage(LabelPreview& preview) {
    const QImage image = preview.grab().toImage();
    QRect page;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).lightness() >= 250) page |= QRect(x, y, 1, 1);
    return page;
}

} // namespace

class LabelPageTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private:
    QBuffer sink;
    std::unique_ptr<QPdfWriter> pdf;

    void setUp() override {
        sink.open(QIODevice::WriteOnly);
        pdf = std::make_unique<QPdfWriter>(&sink);
    }
    void tearDown() override {
        pdf.reset();
        sink.close();
        PrintInfo::shared().setOutputFileName(QString());
        QVERIFY(PrintDialog::clearNextAnswers());
    }

private slots:
    // Letter labels are short and use the small type; a label 100 points high or more is tall.
    void typeFollowsTheLabelsHeight() {
        const GlazeCore::LabelLayout::Text text{"T-001", "Celadon", "Cone 6 \u00b7 Oxidation \u00b7 2025-03-04"};
        struct Expected {
            qreal height, code, recipe, details, spacing, padding;
        };
        for (const Expected& e :
             {Expected{72, 16, 9.5, 8, 2, 6}, Expected{108, 20, 11, 9.5, 4, 9}, Expected{100, 20, 11, 9.5, 4, 9}}) {
            const TileLabel label(text, QSizeF(189, e.height), *pdf);
            const auto& lines = label.lines();
            QCOMPARE(lines.size(), std::size_t(3));
            QCOMPARE(lines[0].points, e.code);
            QCOMPARE(lines[1].points, e.recipe);
            QCOMPARE(lines[2].points, e.details);
            QCOMPARE(lines[0].topLeft, QPointF(9, e.padding));
            QCOMPARE(lines[1].topLeft.y(), lines[0].topLeft.y() + lines[0].height + e.spacing);
            QCOMPARE(lines[2].topLeft.y(), lines[1].topLeft.y() + lines[1].height + e.spacing);
            QVERIFY2(lines[2].topLeft.y() + lines[2].height <= e.height - e.padding + 0.5,
                     qPrintable(QString::number(lines[2].topLeft.y() + lines[2].height)));
        }
    }

    // Text too long for a label shrinks, then is cut: the code at its end, the recipe in its middle.
    void longTextsStayInsideTheLabel() {
        const GlazeCore::LabelLayout::Text text{
            "WWWWWWWWWWWWWWWWWWWW",
            "Tidewater Feldspar Gloss over Ember Strontium Satin with Rutile and Cobalt Blue Wash",
            "Cone 6 \u00b7 Oxidation \u00b7 2025-03-04 \u00b7 a very long day of firing"};
        const TileLabel label(text, QSizeF(189, 72), *pdf);
        const auto& code = label.lines()[0];
        QCOMPARE(code.points, 16 * 0.6);
        QVERIFY(code.rows.front().endsWith(QChar(0x2026)));
        // The longest code a tile may have only shrinks.
        const TileLabel longest({"WWWWWWWWWWWW", "Celadon", "Cone 6"}, QSizeF(189, 72), *pdf);
        QVERIFY(longest.lines()[0].points < 16 && longest.lines()[0].points > 16 * 0.6);
        QCOMPARE(longest.lines()[0].rows, QStringList{QStringLiteral("WWWWWWWWWWWW")});
        const auto& recipe = label.lines()[1];
        QCOMPARE(recipe.rows.size(), 2);
        const QString joined = recipe.rows.join(QLatin1Char(' '));
        QVERIFY2(joined.startsWith(QStringLiteral("Tidewater")) && joined.endsWith(QStringLiteral("Blue Wash")) &&
                     joined.contains(QChar(0x2026)),
                 qPrintable(joined));
        for (const auto& line : label.lines())
            for (const QString& row : line.rows)
                QVERIFY2(Printing::pageTextWidth(row, line.font, *pdf) <= line.width + 0.01, qPrintable(row));
        QVERIFY(label.lines()[2].points < 8 && label.lines()[2].points >= 8 * 0.7 - 1e-9);
    }

    // Labels stand in their positions: after the skipped ones on page 1, from the first on later pages.
    void labelsStandInTheirPositions() {
        auto one = std::make_shared<const LabelSet>(labelsOf(letter(), 1, 29));
        const LabelPageLayout preview({one, one->pages().front(), 0, true}, *pdf);
        QCOMPARE(preview.outlines().size(), std::size_t(30));
        QCOMPARE(preview.labels().size(), std::size_t(1));
        QCOMPARE(preview.labels()[0].frame, QRectF(409.5, 684, 189, 72));
        const LabelPageLayout paper({one, one->pages().front(), 0, false}, *pdf);
        QVERIFY(paper.outlines().empty());
        QCOMPARE(paper.size(), QSizeF(612, 792));

        auto twenty = std::make_shared<const LabelSet>(labelsOf(a4(), 20, 4));
        const auto pages = twenty->pages();
        QCOMPARE(pages.size(), std::size_t(2));
        const LabelPageLayout first({twenty, pages[0], 0, false}, *pdf);
        const LabelPageLayout second({twenty, pages[1], 1, false}, *pdf);
        QCOMPARE(first.labels().front().slot, 4);
        QCOMPARE(first.labels().back().slot, 20);
        QCOMPARE(second.labels().size(), std::size_t(3));
        QCOMPARE(second.labels().front().slot, 0);
        QCOMPARE(second.labels().front().frame.topLeft(), QPointF(a4().left, a4().top));
        QCOMPARE(first.size(), QSizeF(595, 842));

        // An index that names no tile draws nothing and leaves the preview with nothing to announce.
        const LabelPageLayout stray({twenty, {0, 99}, 0, false}, *pdf);
        QCOMPARE(stray.labels().size(), std::size_t(1));
        QCOMPARE(previewAccessibilityValue(*twenty, {0, 99}), QStringLiteral("No labels."));
        QCOMPARE(previewAccessibilityValue(*twenty, pages[0]),
                 QStringLiteral("17 labels, T-001 to T-017, starting at label 5."));
        QCOMPARE(previewAccessibilityValue(*one, {0}), QStringLiteral("1 label, T-001, starting at label 30."));
        QCOMPARE(previewAccessibilityValue(*one, {}), QStringLiteral("No labels."));
    }

    // The PDF has the sheet's pages at its paper size, every code in its own position, nothing scaled.
    void pdfPutsEachCodeInItsPosition() {
        if (!OrzaTest::PdfProbe::available()) QSKIP("pdfinfo and pdftotext are not installed");
        const QString letterPath = filePath(QStringLiteral("letter.pdf"));
        QVERIFY(!Printing::PdfFile{labelPDFData(labelsOf(letter(), 45))}.write(letterPath));
        auto info = OrzaTest::PdfProbe::info(letterPath);
        QVERIFY(info && info->pages == 2 && info->pageSize == QSizeF(612, 792));
        const QString a4Path = filePath(QStringLiteral("a4.pdf"));
        QVERIFY(!Printing::PdfFile{labelPDFData(labelsOf(a4(), 45))}.write(a4Path));
        info = OrzaTest::PdfProbe::info(a4Path);
        QVERIFY(info && info->pages == 3 && info->pageSize == QSizeF(595, 842));

        const QString last = filePath(QStringLiteral("last.pdf"));
        QVERIFY(!Printing::PdfFile{labelPDFData(labelsOf(letter(), 1, 29))}.write(last));
        auto codes = codesIn(last);
        QCOMPARE(codes.size(), std::size_t(1));
        QVERIFY2(std::abs(codes[0].box.left() - 418.5) < 1, qPrintable(QString::number(codes[0].box.left())));
        QVERIFY(codes[0].box.top() > 684 && codes[0].box.bottom() < 684 + 30);

        const QString path = filePath(QStringLiteral("a4-from-5.pdf"));
        QVERIFY(!Printing::PdfFile{labelPDFData(labelsOf(a4(), 20, 4))}.write(path));
        codes = codesIn(path);
        QCOMPARE(codes.size(), std::size_t(20));
        for (std::size_t i = 0; i < codes.size(); ++i) {
            QCOMPARE(codes[i].text, QStringLiteral("T-%1").arg(i + 1, 3, 10, QLatin1Char('0')));
            QCOMPARE(codes[i].page, i < 17 ? 0 : 1);
            QCOMPARE(slotOf(codes[i], a4()), i < 17 ? int(i) + 4 : int(i) - 17);
            const QRectF frame(a4().left + (slotOf(codes[i], a4()) % 3) * a4().columnPitch, 0, 0, 0);
            QVERIFY(std::abs(codes[i].box.left() - (frame.left() + 9)) < 1);
        }
        QVERIFY(labelPDFData(labelsOf(letter(), 0)).isEmpty());
    }

    // The type reaches paper and PDF at the sizes the label asks for, fractional ones too: on a Letter label
    // the recipe's 9.5 points against the details' 8, on an A4 label the details' 9.5 against the recipe's 11.
    void fractionalSizesReachThePage() {
        if (!OrzaTest::PdfProbe::available()) QSKIP("pdfinfo and pdftotext are not installed");
        // Words of one font: their boxes are as high as the font is large.
        const auto heightOf = [](const QString& path, const QString& text) {
            for (const auto& word : OrzaTest::PdfProbe::words(path))
                if (word.text == text) return word.box.height();
            return 0.0;
        };
        const auto expectRatio = [&](const QString& path, qreal recipe, qreal details) {
            const qreal ratio = heightOf(path, QStringLiteral("Celadon")) / heightOf(path, QStringLiteral("Oxidation"));
            QVERIFY2(std::abs(ratio - recipe / details) < 0.002,
                     qPrintable(QStringLiteral("%1: %2 against %3").arg(path).arg(ratio).arg(recipe / details)));
        };
        const QString letterPath = filePath(QStringLiteral("letter.pdf"));
        QVERIFY(!Printing::PdfFile{labelPDFData(labelsOf(letter(), 1))}.write(letterPath));
        expectRatio(letterPath, 9.5, 8);
        const QString a4Path = filePath(QStringLiteral("a4.pdf"));
        QVERIFY(!Printing::PdfFile{labelPDFData(labelsOf(a4(), 1))}.write(a4Path));
        expectRatio(a4Path, 11, 9.5);

        const QString printed = filePath(QStringLiteral("printed.pdf"));
        PrintInfo::shared().setOutputFileName(printed);
        PrintDialog::setNextAnswer(PrintDialog::Answer::print);
        QVERIFY(printLabelPDF(nullptr, labelsOf(letter(), 1), [](bool) {}));
        expectRatio(printed, 9.5, 8);
    }

    // A name that starts in a right-to-left script reads in its own direction on every device, whatever
    // direction the device's painter starts with, as it was measured: preview and paper agree.
    void aRightToLeftNameIsDrawnAsMeasured() {
        LabelSet set = labelsOf(letter(), 1);
        renameRecipe(set, "\u05e9\u05dc\u05d5\u05dd Celadon 12");
        QImage blank(QSize(440, 200), QImage::Format_RGB32);
        blank.fill(Qt::white);
        const LabelPageLayout layout({std::make_shared<const LabelSet>(set), {0}, 0, false}, blank);
        const auto& recipe = layout.labels().front().label.lines()[1];
        QCOMPARE(recipe.direction, Qt::RightToLeft);
        QCOMPARE(layout.labels().front().label.lines()[0].direction, Qt::LeftToRight);
        const auto drawn = [&](Qt::LayoutDirection start) {
            QImage image = blank;
            QPainter painter(&image);
            painter.setLayoutDirection(start);
            painter.scale(2, 2);
            painter.translate(-13.5, -36); // the first label's frame at the origin
            layout.paint(painter);
            return image;
        };
        QVERIFY(drawn(Qt::LeftToRight) != blank);
        QCOMPARE(drawn(Qt::LeftToRight), drawn(Qt::RightToLeft));
    }

    // A code and a name of megabytes are laid out by their ends, at once, and the preview announces their ends.
    void hugeTextsAreLaidOutByTheirEnds() {
        LabelSet set = labelsOf(letter(), 2);
        const std::string huge = "<" + std::string(std::size_t{8} << 20, 'x') + ">";
        set.tiles[0].code = huge;
        renameRecipe(set, huge);
        const auto shared = std::make_shared<const LabelSet>(std::move(set));
        QImage page(QSize(440, 200), QImage::Format_RGB32);
        const quint64 before = Orza::Printing::charactersLaidOut();
        const LabelPageLayout layout({shared, {0, 1}, 0, false}, page);
        // Each label measures its shown ends a few dozen times: far less than one huge text once.
        const quint64 laidOut = Orza::Printing::charactersLaidOut() - before;
        QVERIFY2(laidOut > 0 && laidOut < huge.size() / 100, qPrintable(QString::number(laidOut)));
        QCOMPARE(layout.labels().size(), std::size_t(2));
        const QString announced = previewAccessibilityValue(*shared, {0, 1});
        QVERIFY2(announced.size() < 1100 && announced.startsWith(QStringLiteral("2 labels, <xx")) &&
                     announced.endsWith(QStringLiteral("xx> to T-002, starting at label 1.")),
                 qPrintable(announced.left(100)));
    }

    // Printing uses a printer of the sheet's own paper: full page, no margins, no scaling, its own title.
    void printingPlacesLabelsAtTrueSize() {
        if (!OrzaTest::PdfProbe::available()) QSKIP("pdfinfo and pdftotext are not installed");
        const QString printed = filePath(QStringLiteral("printed.pdf"));
        QPrinter& shared = PrintInfo::shared();
        shared.setOutputFileName(printed);
        const QPageLayout sharedLayout = shared.pageLayout();
        QVERIFY(!printLabelPDF(nullptr, labelsOf(a4(), 0), [](bool) { QFAIL("nothing to print"); }));

        PrintDialog::setNextAnswer(PrintDialog::Answer::print);
        std::optional<bool> outcome;
        QVERIFY(printLabelPDF(nullptr, labelsOf(a4(), 20, 4), [&](bool available) { outcome = available; }));
        QCOMPARE(outcome, std::optional(true));
        const auto info = OrzaTest::PdfProbe::info(printed);
        QVERIFY(info && info->pages == 2 && info->pageSize == QSizeF(595, 842));
        const auto codes = codesIn(printed);
        QCOMPARE(codes.size(), std::size_t(20));
        QCOMPARE(slotOf(codes[0], a4()), 4);
        QVERIFY2(std::abs(codes[0].box.left() - (a4().left + 1 * a4().columnPitch + 9)) < 1,
                 qPrintable(QString::number(codes[0].box.left())));
        QVERIFY(shared.pageLayout().isEquivalentTo(sharedLayout));
        QCOMPARE(shared.docName(), QString());

        PrintDialog::setNextAnswer(PrintDialog::Answer::cancel);
        outcome.reset();
        QVERIFY(printLabelPDF(nullptr, labelsOf(a4(), 1), [&](bool available) { outcome = available; }));
        QCOMPARE(outcome, std::optional(true));
    }

    // The preview fills what it is offered, above true size too.
    void previewScalesToItsArea() {
        QCOMPARE(std::round(LabelPreview::scaleFor({400, 500}, a4()) * 10000) / 10000, 0.5939);
        QCOMPARE(std::round(LabelPreview::scaleFor({400, 500}, letter()) * 10000) / 10000, 0.6313);
        QCOMPARE(std::round(LabelPreview::scaleFor({700, 800}, letter()) * 10000) / 10000, 1.0101);
        LabelPreview preview;
        preview.resize(400, 500);
        preview.setPage(std::make_shared<const LabelSet>(labelsOf(letter(), 30)), labelsOf(letter(), 30).pages()[0]);
        QCOMPARE(preview.accessibleDescription(), QStringLiteral("30 labels, T-001 to T-030, starting at label 1."));
        const QRectF frame = preview.pageFrame();
        QVERIFY(std::abs(frame.center().x() - 200) < 0.5 && std::abs(frame.center().y() - 250) < 0.5);
        QVERIFY(preview.layout() && preview.layout()->outlines().size() == 30);

        // Drawn: the page fills the height of 400 × 500, its shadow left outside, and is centred across.
        for (const auto& [sheet, width] : {std::pair{&a4(), 353.5}, std::pair{&letter(), 386.4}}) {
            preview.setPage(std::make_shared<const LabelSet>(labelsOf(*sheet, 3)), labelsOf(*sheet, 3).pages()[0]);
            const QRect page = drawnPage(preview);
            QVERIFY2(std::abs(page.height() - 500) <= 1, qPrintable(QString::number(page.height())));
            QVERIFY2(std::abs(page.width() - width) <= 1.5, qPrintable(QString::number(page.width())));
            QVERIFY(std::abs(page.center().x() - 199.5) <= 1);
        }
    }
};

QTEST_MAIN(LabelPageTest)
#include "LabelPageTest.moc"
