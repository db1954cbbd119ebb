#include "Orza/materials/PercentField.h"

#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <cmath>
#include <limits>
#include <memory>

using Orza::PercentField;

namespace {

/// A window holding the field and a second field to move the focus to; the field's writes are stored and
/// handed back, as the editor does through the book.
struct Form {
    QWidget window;
    PercentField* field;
    QLineEdit* other;
    std::unique_ptr<QSignalSpy> writes;

    explicit Form(double value, PercentField::FractionDigits digits = {0, 3}) {
        field = new PercentField(QStringLiteral("SiO\u2082"), value, digits, QStringLiteral("S i O 2 weight percent"));
        other = new QLineEdit;
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        writes = std::make_unique<QSignalSpy>(field, &PercentField::valueEdited);
        QObject::connect(field, &PercentField::valueEdited, field, &PercentField::setValue);
    }

    /// Focuses the field, its text all selected unless `atEnd`.
    bool begin(bool atEnd = false) {
        if (!OrzaTest::showActive(window)) return false;
        field->lineEdit()->setFocus(Qt::TabFocusReason);
        if (atEnd)
            field->lineEdit()->end(false);
        else
            field->lineEdit()->selectAll();
        return field->lineEdit()->hasFocus();
    }

    void leave() { other->setFocus(Qt::TabFocusReason); }

    QList<double> written() const {
        QList<double> values;
        for (const QList<QVariant>& call : *writes)
            values << call.at(0).toDouble();
        return values;
    }

    QString shownMessage() const {
        auto* label = field->findChild<QLabel*>();
        return label && !label->isHidden() ? label->text() : QString();
    }
};

/// Types the keys one by one; "\b" is Backspace.
void type(QWidget* widget, const QString& keys) {
    for (const QChar key : keys) {
        if (key == QLatin1Char('\b'))
            QTest::keyClick(widget, Qt::Key_Backspace);
        else
            QTest::keyClicks(widget, QString(key));
    }
}

const QString notANumber = QStringLiteral("Enter a number from 0 to 100.");
const QString outOfRange = QStringLiteral("Enter a value from 0 to 100.");

} // namespace

class PercentFieldTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void typingWritesEveryValidPercentage_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("start");
        QTest::addColumn<bool>("atEnd");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<double>>("written");
        QTest::addColumn<QString>("shownWhileTyping");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shownAfter");
        QTest::addColumn<double>("value");

        // "12." and "12.50" mean what is stored already: nothing is written for them.
        QTest::newRow("trailing zero kept while typing")
            << "en_US" << 0.0 << false << "12.50" << QList<double>{1, 12, 12.5} << "12.50"
            << ""
            << "12.5" << 12.5;
        QTest::newRow("same value writes nothing") << "en_US" << 12.5 << true << "0" << QList<double>{} << "12.50"
                                                   << ""
                                                   << "12.5" << 12.5;
        QTest::newRow("100 is accepted") << "en_US" << 0.0 << false << "100" << QList<double>{1, 10, 100} << "100"
                                         << ""
                                         << "100" << 100.0;
        // A refused text takes back what was written on the way at once; leaving shows what was kept.
        QTest::newRow("above 100 refused, taken back")
            << "en_US" << 5.0 << false << "100.01" << QList<double>{1, 10, 100, 5} << "100.01" << outOfRange << "5" << 5.0;
        QTest::newRow("negative refused")
            << "en_US" << 4.0 << false << "-5" << QList<double>{} << "-5" << outOfRange << "4" << 4.0;
        QTest::newRow("letters refused") << "en_US" << 4.0 << false << "abc" << QList<double>{} << "abc" << notANumber
                                         << "4" << 4.0;
        QTest::newRow("cleared writes 0") << "en_US" << 12.5 << false << "\b" << QList<double>{0} << ""
                                          << ""
                                          << "0" << 0.0;
        QTest::newRow("spaces around a number")
            << "en_US" << 0.0 << false << " 7.25 " << QList<double>{7, 7.2, 7.25} << " 7.25 "
            << ""
            << "7.25" << 7.25;
        QTest::newRow("fix after a refusal") << "en_US" << 3.0 << false << "2x\b5" << QList<double>{2, 3, 2, 25} << "25"
                                             << ""
                                             << "25" << 25.0;
        QTest::newRow("de decimal comma") << "de_DE" << 0.0 << false << "12,5" << QList<double>{1, 12, 12.5} << "12,5"
                                          << ""
                                          << "12,5" << 12.5;
        QTest::newRow("de point is not a decimal")
            << "de_DE" << 3.0 << false << "1.5" << QList<double>{1, 3} << "1.5" << notANumber << "3" << 3.0;
        // A separator where the locale puts none is no percentage: 0.25 in German was stored as 25.
        QTest::newRow("de point before two digits")
            << "de_DE" << 3.0 << false << "0.25" << QList<double>{0, 3} << "0.25" << notANumber << "3" << 3.0;
        QTest::newRow("de point before three digits")
            << "de_DE" << 3.0 << false << "0.050" << QList<double>{0, 3} << "0.050" << notANumber << "3" << 3.0;
        QTest::newRow("en comma before two digits")
            << "en_US" << 3.0 << false << "0,25" << QList<double>{0, 3} << "0,25" << notANumber << "3" << 3.0;
        QTest::newRow("fr point") << "fr_FR" << 3.0 << false << "1.50" << QList<double>{1, 3} << "1.50" << notANumber
                                  << "3" << 3.0;
        QTest::newRow("fr decimal comma") << "fr_FR" << 3.0 << false << "0,25" << QList<double>{0, 0.2, 0.25} << "0,25"
                                          << ""
                                          << "0,25" << 0.25;
        QTest::newRow("ch comma") << "de_CH" << 3.0 << false << "1,50" << QList<double>{1, 3} << "1,50" << notANumber
                                  << "3" << 3.0;
        QTest::newRow("ch decimal point") << "de_CH" << 3.0 << false << "0.25" << QList<double>{0, 0.2, 0.25} << "0.25"
                                          << ""
                                          << "0.25" << 0.25;
    }
    void typingWritesEveryValidPercentage() {
        QFETCH(QString, locale);
        QFETCH(double, start);
        QFETCH(bool, atEnd);
        QFETCH(QString, keys);
        QFETCH(QList<double>, written);
        QFETCH(QString, shownWhileTyping);
        QFETCH(QString, message);
        QFETCH(QString, shownAfter);
        QFETCH(double, value);
        QLocale::setDefault(QLocale(locale));

        Form form(start);
        QVERIFY(form.begin(atEnd));
        type(form.field->lineEdit(), keys);
        QCOMPARE(form.written(), written);
        QCOMPARE(form.field->text(), shownWhileTyping);
        QCOMPARE(form.shownMessage(), message);
        QCOMPARE(form.field->value(), value); // a refused text already stands for what leaving keeps
        form.leave();
        // A valid text is tidied to the stored value; an invalid one goes back to where the edit began.
        QCOMPARE(form.field->text(), shownAfter);
        QCOMPARE(form.shownMessage(), QString());
        QCOMPARE(form.field->value(), value);
        QCOMPARE(form.written(), written);
    }

    void outsideChangesReplaceTheTextUnlessItMeansTheValue() {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        Form form(1, {0, 2});
        form.field->setValue(1.0 / 3); // not focused: the text follows, formatted
        QCOMPARE(form.field->text(), QStringLiteral("0.33"));

        QVERIFY(form.begin());
        type(form.field->lineEdit(), QStringLiteral("12.50"));
        form.field->setValue(12.5); // the text means it already: kept as typed
        QCOMPARE(form.field->text(), QStringLiteral("12.50"));
        form.field->setValue(3); // an undo while typing: the text follows
        QCOMPARE(form.field->text(), QStringLiteral("3"));

        // Leaving on an invalid text goes back to the value the undo brought, not to where typing began.
        type(form.field->lineEdit(), QStringLiteral("x"));
        form.leave();
        QCOMPARE(form.field->text(), QStringLiteral("3"));
        QCOMPARE(form.shownMessage(), QString());
        QCOMPARE(form.written(), (QList<double>{1, 12, 12.5}));

        // A context menu taking the keyboard is not leaving the field: the text is not tidied under it.
        QVERIFY(form.begin());
        type(form.field->lineEdit(), QStringLiteral("4.0"));
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(form.field->lineEdit(), &popup);
        QCOMPARE(form.field->text(), QStringLiteral("4.0"));

        // A value a book may hold but no one can type is shown plainly.
        form.leave();
        form.field->setValue(std::numeric_limits<double>::quiet_NaN());
        QCOMPARE(form.field->text(), QStringLiteral("nan"));
    }

    void accessibilityReadsTheTextAndItsMessage() {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        Form form(2);
        QCOMPARE(form.field->lineEdit()->accessibleName(), QStringLiteral("S i O 2 weight percent"));
        QCOMPARE(form.field->accessibleValue(), QStringLiteral("2"));
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(form.field->lineEdit());
        QCOMPARE(field->text(QAccessible::Value), QStringLiteral("2"));
        QVERIFY(form.begin());
        type(form.field->lineEdit(), QStringLiteral("abc"));
        QCOMPARE(form.field->accessibleValue(), QStringLiteral("abc, ") + notANumber);
        // The Linux bridge reads the field's text and description, not its value: the description reads the
        // text and the message, and the red label does not repeat it.
        field = QAccessible::queryAccessibleInterface(form.field->lineEdit());
        QCOMPARE(field->text(QAccessible::Value), QStringLiteral("abc, ") + notANumber);
        QCOMPARE(field->text(QAccessible::Description), QStringLiteral("abc, ") + notANumber);
        QLabel* red = nullptr;
        for (QLabel* label : form.field->findChildren<QLabel*>())
            if (label->text() == notANumber) red = label;
        QVERIFY(red && red->isVisibleTo(form.field));
        QVERIFY(QAccessible::queryAccessibleInterface(red)->state().invisible);
        type(form.field->lineEdit(), QStringLiteral("\b\b\b-3"));
        QCOMPARE(field->text(QAccessible::Description), QStringLiteral("-3, ") + outOfRange);
        // Still a text field: its text, caret and editing reach assistive technology.
        QCOMPARE(field->role(), QAccessible::EditableText);
        QVERIFY(field->state().editable);
        QCOMPARE(field->textInterface()->text(0, field->textInterface()->characterCount()), QStringLiteral("-3"));
        QCOMPARE(field->textInterface()->cursorPosition(), 2);
        field->editableTextInterface()->replaceText(0, 2, QStringLiteral("12"));
        QCOMPARE(form.field->text(), QStringLiteral("12"));
        QCOMPARE(field->text(QAccessible::Value), QStringLiteral("12"));
        QCOMPARE(field->text(QAccessible::Description), QString());

        PercentField untitled(QStringLiteral("Loss on ignition (%)"), 0, {0, 2});
        QCOMPARE(untitled.lineEdit()->accessibleName(), QStringLiteral("Loss on ignition (%)"));
    }
};

QTEST_MAIN(PercentFieldTest)
#include "PercentFieldTest.moc"
