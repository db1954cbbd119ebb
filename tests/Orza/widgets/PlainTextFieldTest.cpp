#include "Orza/widgets/PlainTextField.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <memory>

using Orza::PlainTextField;

namespace {

/// The field with its paste entry open to the test, as Qt's own paths call it.
class Field : public PlainTextField {
public:
    using PlainTextField::canInsertFromMimeData;
    using PlainTextField::insertFromMimeData;
};

/// The data a clipboard nobody owns hands out: there, but of no format.
std::unique_ptr<QMimeData> noFormat() {
    return std::make_unique<QMimeData>();
}

std::unique_ptr<QMimeData> withText(const QString& text) {
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    return data;
}

} // namespace

class PlainTextFieldTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QGuiApplication::clipboard()->clear(); }

    // Through the field's own entry, where every paste and drop ends: data without text changes nothing and is
    // not offered; text is pasted as ever.
    void dataWithoutTextInsertsNothing() {
        Field field;
        field.setPlainText(QStringLiteral("Celadon"));
        field.moveCursor(QTextCursor::End);
        const auto none = noFormat();
        const auto empty = withText(QString());
        const auto html = std::make_unique<QMimeData>();
        html->setHtml(QStringLiteral("<b></b>"));
        for (const QMimeData* data : {static_cast<QMimeData*>(nullptr), none.get(), empty.get(), html.get()}) {
            field.insertFromMimeData(data);
            QCOMPARE(field.toPlainText(), QStringLiteral("Celadon"));
            // Offered by its formats: an empty text is told only by fetching it, which waits for the paste.
            if (data) QCOMPARE(field.canInsertFromMimeData(data), data == empty.get());
        }
        const auto glossy = withText(QStringLiteral(" glossy"));
        QVERIFY(field.canInsertFromMimeData(glossy.get()));
        field.insertFromMimeData(glossy.get());
        QCOMPARE(field.toPlainText(), QStringLiteral("Celadon glossy"));
    }

    // The keys, the context menu and a drop with a clipboard of data of no format, as a desktop on which nobody
    // owns the clipboard gives: nothing happens, and the program stays.
    void pastingNothingDoesNothing() {
        Field field;
        field.show();
        field.setFocus();
        QGuiApplication::clipboard()->setMimeData(noFormat().release());
        QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(&field, Qt::Key_Insert, Qt::ShiftModifier);
        QTest::keyClick(&field, Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier);
        field.paste();
        std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        for (QAction* item : menu->actions())
            if (item->objectName() == QStringLiteral("edit-paste")) QVERIFY(!item->isEnabled());
        const auto dropped = noFormat();
        QDropEvent drop(field.viewport()->rect().center(), Qt::CopyAction, dropped.get(), Qt::LeftButton,
                        Qt::NoModifier);
        QCoreApplication::sendEvent(field.viewport(), &drop);
        QCOMPARE(field.toPlainText(), QString());

        QGuiApplication::clipboard()->setText(QStringLiteral("Shino"));
        QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field.toPlainText(), QStringLiteral("Shino"));
    }
};

QTEST_MAIN(PlainTextFieldTest)
#include "PlainTextFieldTest.moc"
