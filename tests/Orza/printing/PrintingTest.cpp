#include "Orza/platform/PrintInfo.h"
#include "Orza/printing/PagePainting.h"
#include "Orza/printing/PagePrinter.h"
#include "Orza/printing/PdfFile.h"
#include "Orza/printing/PdfPages.h"
#include "Orza/printing/PdfSaveDialog.h"
#include "Orza/printing/PrintDialog.h"
#include "Orza/printing/TextBlock.h"
#include "printing/PdfProbe.h"
#include "support/TestEnvironment.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTest>

#include <cmath>

using namespace Orza;
using namespace Orza::Printing;

namespace {

/// Content of a fixed size that fills itself black, with a line of text at its top left.
class Block final : public PageContent {
public:
    Block(QSizeF size, QString text, const QPaintDevice& device)
        : m_size(size), m_text(std::move(text), pageFont(12, QFont::Normal, device), device) {}
    QSizeF size() const override { return m_size; }
    void paint(QPainter& painter) const override {
        painter.fillRect(QRectF(QPointF(0, 0), m_size), Qt::black);
        m_text.paint(painter, QPointF(0, 0), Qt::white);
    }

private:
    QSizeF m_size;
    TextBlock m_text;
};

PageMaker block(QSizeF size, const QString& text = QString()) {
    return [size, text](const QPaintDevice& device) { return std::make_unique<Block>(size, text, device); };
}

/// The painted (dark) part of a page picture, in points.
QRectF inkBounds(const QImage& image, qreal pixelsPerPoint) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0) return {};
    return QRectF(left / pixelsPerPoint, top / pixelsPerPoint, (right - left + 1) / pixelsPerPoint,
                  (bottom - top + 1) / pixelsPerPoint);
}

} // namespace

class PrintingTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private:
    QString printerOutput;

    void setUp() override {
        printerOutput = filePath(QStringLiteral("printed.pdf"));
        PrintInfo::shared().setOutputFileName(printerOutput);
    }
    void tearDown() override {
        PrintInfo::shared().setOutputFileName(QString());
        QVERIFY(PrintDialog::clearNextAnswers());
        QVERIFY(PdfSaveDialog::clearNextAnswer());
    }

private slots:
    // Content is only ever scaled down, by the tighter side, and stays at the page's top left.
    void contentIsFittedDownAtTheTopLeft() {
        QCOMPARE(fitScale({612, 1000}, letterPage), 0.792);
        QCOMPARE(fitScale({612, 500}, letterPage), 1.0);
        QCOMPARE(fitScale({0, 0}, letterPage), 1.0);
        QCOMPARE(fitScale({1, 2000}, letterPage), 0.396);
        QCOMPARE(fitScale({1224, 792}, letterPage), 0.5);

        const qreal ppp = 2;
        const QRectF tall = inkBounds(renderPage(block({612, 1000}), letterPage, ppp), ppp);
        QVERIFY(std::abs(tall.left()) < 0.5 && std::abs(tall.top()) < 0.5);
        QVERIFY2(std::abs(tall.width() - 484.704) < 1, qPrintable(QString::number(tall.width())));
        QVERIFY(std::abs(tall.height() - 792) < 1);

        const QRectF shortOne = inkBounds(renderPage(block({612, 500}), letterPage, ppp), ppp);
        QVERIFY(std::abs(shortOne.width() - 612) < 1);
        QVERIFY2(std::abs(shortOne.bottom() - 500) < 1, "the lower part of the page stays blank");

        // Nothing to draw leaves the painter as it found it.
        QImage image(10, 10, QImage::Format_ARGB32);
        QPainter painter(&image);
        const QTransform before = painter.worldTransform();
        int calls = 0;
        drawFittedOnPage(painter, {0, 0}, letterPage, [&](QPainter& p) {
            ++calls;
            QCOMPARE(p.worldTransform().m11(), 1.0);
        });
        QCOMPARE(calls, 1);
        QCOMPARE(painter.worldTransform(), before);
    }

    // Text is sized in points on every device: a printer's or PDF's resolution must not enlarge it again.
    void textMeasuresTheSameOnEveryDevice() {
        const QString line = QStringLiteral("Silica 325 mesh Al\u2082O\u2083");
        QBuffer sink;
        sink.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&sink);
        QImage screen(10, 10, QImage::Format_ARGB32);
        QImage fine(10, 10, QImage::Format_ARGB32);
        fine.setDotsPerMeterX(11811); // 300 dpi
        fine.setDotsPerMeterY(11811);
        const QSizeF onPdf = TextBlock(line, pageFont(12, QFont::Normal, pdf), pdf).size();
        for (const QPaintDevice* device :
             {static_cast<const QPaintDevice*>(&screen), static_cast<const QPaintDevice*>(&fine)}) {
            const QSizeF size = TextBlock(line, pageFont(12, QFont::Normal, *device), *device).size();
            QVERIFY2(std::abs(size.width() - onPdf.width()) < onPdf.width() * 0.02,
                     qPrintable(QStringLiteral("%1 against %2").arg(size.width()).arg(onPdf.width())));
        }
        QVERIFY2(onPdf.height() > 12 && onPdf.height() < 20, qPrintable(QString::number(onPdf.height())));

        // Wrapping keeps every line inside the width and breaks where the text does.
        const TextBlock wrapped(QStringLiteral("one two three four five six seven\neight"),
                                pageFont(12, QFont::Normal, pdf), pdf, 60);
        QVERIFY(wrapped.lineCount() >= 4);
        QVERIFY(wrapped.size().width() <= 60);
    }

    // The PDF holds one page per maker at the exact size, and its text comes back as text.
    void pdfPagesKeepTheirSizeAndText() {
        if (!OrzaTest::PdfProbe::available()) QSKIP("pdfinfo and pdftotext are not installed");
        const QByteArray bytes =
            makePdf({block({300, 200}, QStringLiteral("Al\u2082O\u2083 \u2610")), block({612, 2000})}, letterPage,
                    QStringLiteral("Two pages"));
        QVERIFY(bytes.startsWith("%PDF-"));
        const QString path = filePath(QStringLiteral("two.pdf"));
        QVERIFY(!PdfFile{bytes}.write(path));
        const auto info = OrzaTest::PdfProbe::info(path);
        QVERIFY(info);
        QCOMPARE(info->pages, 2);
        QCOMPARE(info->pageSize, QSizeF(612, 792));
        QVERIFY(OrzaTest::PdfProbe::text(path).contains(QStringLiteral("Al\u2082O\u2083 \u2610")));
    }

    // A file is written whole or not at all, and an empty one reads as no bytes.
    void pdfFilesAreWrittenWholeOrNotAtAll() {
        const QString path = filePath(QStringLiteral("out.pdf"));
        OrzaTest::writeAll(path, "older");
        QVERIFY(!PdfFile{"%PDF-1.4 new"}.write(path));
        QCOMPARE(PdfFile::read(path).data, QByteArray("%PDF-1.4 new"));

        const auto error = PdfFile{"%PDF"}.write(filePath(QStringLiteral("missing/out.pdf")));
        QVERIFY(error && !error->isEmpty());
        QVERIFY(!QFile::exists(filePath(QStringLiteral("missing/out.pdf"))));

        OrzaTest::writeAll(filePath(QStringLiteral("empty.pdf")), {});
        QVERIFY(PdfFile::read(filePath(QStringLiteral("empty.pdf"))).data.isEmpty());
        QVERIFY(PdfFile::read(filePath(QStringLiteral("none.pdf"))).data.isEmpty());
    }

    // The print panel decides; the shared printer prints each page fitted to its paper, or says it cannot.
    void printingGoesThroughThePanelToTheSharedPrinter() {
        if (!OrzaTest::PdfProbe::available()) QSKIP("pdfinfo and pdftotext are not installed");
        std::optional<bool> answered;
        PrintDialog::setNextAnswer(PrintDialog::Answer::cancel);
        printPages(nullptr, {block({612, 792}, QStringLiteral("Cancelled"))}, letterPage, QStringLiteral("Job"),
                   QStringLiteral("Job.pdf"), [&](bool available) { answered = available; });
        QCOMPARE(answered, std::optional(true));
        QVERIFY(!QFile::exists(printerOutput));

        // A4 paper with its margins is narrower than Letter: the page shrinks to the printable width.
        QPrinter& printer = PrintInfo::shared();
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(36, 36, 36, 36), QPageLayout::Point);
        PrintDialog::setNextAnswer(PrintDialog::Answer::print);
        printPages(nullptr, {block({612, 792}, QStringLiteral("Printed"))}, letterPage, QStringLiteral("Job"),
                   QStringLiteral("Job.pdf"), [&](bool available) { answered = available; });
        QCOMPARE(answered, std::optional(true));
        QCOMPARE(printer.docName(), QStringLiteral("Job"));
        const auto info = OrzaTest::PdfProbe::info(printerOutput);
        QVERIFY(info);
        QCOMPARE(info->pages, 1);
        const auto words = OrzaTest::PdfProbe::words(printerOutput);
        QCOMPARE(words.size(), std::size_t(1));
        QCOMPARE(words[0].text, QStringLiteral("Printed"));
        QVERIFY(std::abs(words[0].box.left() - 36) < 2 && words[0].box.top() >= 35);

        // A printer that cannot be painted on is reported, not passed over.
        printer.setOutputFileName(filePath(QStringLiteral("missing/printed.pdf")));
        PrintDialog::setNextAnswer(PrintDialog::Answer::print);
        printPages(nullptr, {block({612, 792})}, letterPage, QStringLiteral("Job"), QStringLiteral("Job.pdf"),
                   [&](bool available) { answered = available; });
        QCOMPARE(answered, std::optional(false));
        printer.setPageSize(QPageSize(QPageSize::Letter));
    }
};

QTEST_MAIN(PrintingTest)
#include "PrintingTest.moc"
