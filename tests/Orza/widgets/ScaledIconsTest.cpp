#include "Orza/widgets/ThemedIcon.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace Orza;

namespace {

/// The rectangle, in device pixels, of the pixels the painting left opaque.
QRect inkedArea(const QImage& image) {
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) area |= QRect(x, y, 1, 1);
    return area;
}

} // namespace

// The application runs at one and a half times its size, as a desktop scaled by 150 % does.
class ScaledIconsTest : public QObject {
    Q_OBJECT
private slots:
    void symbolsKeepTheirSizeAndSharpnessWhenScaled() {
        QCOMPARE(qApp->devicePixelRatio(), 1.5);
        for (const QString& name : {QStringLiteral("square.grid.3x3"), QStringLiteral("shippingbox")}) {
            const QIcon icon = ThemedIcon::symbol(name);
            const QPixmap pixmap = icon.pixmap(QSize(16, 16), 1.5);
            QCOMPARE(pixmap.size(), QSize(24, 24));
            QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(16, 16));

            QImage canvas(QSize(48, 48) * 1.5, QImage::Format_ARGB32_Premultiplied);
            canvas.setDevicePixelRatio(1.5);
            canvas.fill(Qt::transparent);
            {
                QPainter painter(&canvas);
                icon.paint(&painter, QRect(8, 8, 16, 16));
            }
            const QRect inked = inkedArea(canvas);
            QVERIFY2(!inked.isEmpty(), qPrintable(name));
            // Inside the 16 points it was given (24 device pixels from 12), and filling most of them.
            QVERIFY2(QRect(12, 12, 24, 24).contains(inked), qPrintable(name));
            QVERIFY2(inked.width() >= 16 || inked.height() >= 16, qPrintable(name));
        }
    }
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "1.5");
    QApplication application(argc, argv);
    ScaledIconsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ScaledIconsTest.moc"
