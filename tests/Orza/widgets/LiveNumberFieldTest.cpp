#include "Orza/widgets/LiveNumberField.h"

#include "support/AccessibleEvents.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QDialog>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using Orza::LiveNumberField;

namespace {

/// A window holding the field and a second field to move the focus to.
struct Form {
    QWidget window;
    LiveNumberField* field;
    QLineEdit* other;
    std::unique_ptr<QSignalSpy> writes;

    Form(double value, LiveNumberField::FractionDigits digits, bool allowsNegative) {
        field = new LiveNumberField(QStringLiteral("Amount"), value, digits, allowsNegative);
        other = new QLineEdit;
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        writes = std::make_unique<QSignalSpy>(field, &LiveNumberField::valueEdited);
        // The owner stores what the field writes and hands the stored value back, as a binding does.
        QObject::connect(field, &LiveNumberField::valueEdited, field, &LiveNumberField::setValue);
    }

    bool begin() {
        if (!OrzaTest::showActive(window)) return false;
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        return field->isEditing();
    }

    void leave() { other->setFocus(Qt::TabFocusReason); }

    QList<double> written() const {
        QList<double> values;
        for (const QList<QVariant>& call : *writes)
            values << call.at(0).toDouble();
        return values;
    }
};

/// Types the keys one by one; "\b" is Backspace.
void type(QWidget* widget, const QString& keys) {
    for (const QChar key : keys) {
        if (key == QLatin1Char('\b'))
            QTest::keyClick(widget, Qt::Key_Backspace);
        else if (key.unicode() > 0xff) // a narrow no-break space or a typographic apostrophe
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(key), Qt::NoModifier);
        else
            QTest::keyClicks(widget, QString(key));
    }
}

} // namespace

class LiveNumberFieldTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void typingWritesEveryNewValue_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<double>>("written");
        QTest::addColumn<QString>("shownWhileTyping");
        QTest::addColumn<QString>("shownAfter");
        QTest::addColumn<double>("value");

        QTest::newRow("en digits beyond the display")
            << "en_US" << 0.0 << "1.2345" << QList<double>{1, 1.2, 1.23, 1.234, 1.2345} << "1.2345"
            << "1.23" << 1.2345;
        // Deleting digits back to a text that looks like the rounded stored value still stores it.
        QTest::newRow("en deleting back")
            << "en_US" << 0.0 << "1.2345\b\b" << QList<double>{1, 1.2, 1.23, 1.234, 1.2345, 1.234, 1.23} << "1.23"
            << "1.23" << 1.23;
        QTest::newRow("en trailing zero") << "en_US" << 3.0 << "1.50" << QList<double>{1, 1.5} << "1.50"
                                          << "1.5" << 1.5;
        QTest::newRow("en leading zero") << "en_US" << 3.0 << "01" << QList<double>{0, 1} << "01"
                                         << "1" << 1.0;
        QTest::newRow("de decimal comma") << "de_DE" << 0.0 << "2,5" << QList<double>{2, 2.5} << "2,5"
                                          << "2,5" << 2.5;
        QTest::newRow("de deleting back")
            << "de_DE" << 0.0 << "1,2345\b\b" << QList<double>{1, 1.2, 1.23, 1.234, 1.2345, 1.234, 1.23} << "1,23"
            << "1,23" << 1.23;
        QTest::newRow("de thousands never grouped")
            << "de_DE" << 0.0 << "1234,5" << QList<double>{1, 12, 123, 1234, 1234.5} << "1234,5"
            << "1234,5" << 1234.5;
        // 1,000,000 is the largest number stored; one more is refused, and the value goes back where the edit
        // began at once.
        QTest::newRow("above the bound") << "en_US" << 0.0 << "1000000\b1"
                                         << QList<double>{1, 10, 100, 1000, 10000, 100000, 1000000, 100000, 0}
                                         << "1000001"
                                         << "0" << 0.0;
        // A separator where the locale puts none is no number: the digits before it were stored on the way,
        // and are taken back the moment the text is refused; it stays as typed until the edit ends.
        QTest::newRow("de full stop") << "de_DE" << 3.0 << "0.25" << QList<double>{0, 3} << "0.25"
                                      << "3" << 3.0;
        QTest::newRow("de decimal point") << "de_DE" << 3.0 << "19.5" << QList<double>{1, 19, 3} << "19.5"
                                          << "3" << 3.0;
        QTest::newRow("de zero-led group") << "de_DE" << 3.0 << "0.125" << QList<double>{0, 3} << "0.125"
                                           << "3" << 3.0;
        QTest::newRow("de grouped thousands") << "de_DE" << 3.0 << "1.000" << QList<double>{1, 3, 1000} << "1.000"
                                              << "1000" << 1000.0;
        QTest::newRow("en comma") << "en_US" << 3.0 << "1,50" << QList<double>{1, 3} << "1,50"
                                  << "3" << 3.0;
        QTest::newRow("fr full stop") << "fr_FR" << 3.0 << "1.2345" << QList<double>{1, 3} << "1.2345"
                                      << "3" << 3.0;
        QTest::newRow("fr typed space groups")
            << "fr_FR" << 3.0 << "1 000,5" << QList<double>{1, 3, 1000, 1000.5} << "1 000,5"
            << "1000,5" << 1000.5;
        QTest::newRow("ch comma") << "de_CH" << 3.0 << "0,25" << QList<double>{0, 3} << "0,25"
                                  << "3" << 3.0;
        QTest::newRow("ch apostrophe groups")
            << "de_CH" << 3.0 << "1'000.5" << QList<double>{1, 3, 1000, 1000.5} << "1'000.5"
            << "1000.5" << 1000.5;
        QTest::newRow("minus alone") << "en_US" << 4.0 << "-" << QList<double>{} << "-"
                                     << "4" << 4.0;
        QTest::newRow("negative refused") << "en_US" << 4.0 << "-3" << QList<double>{} << "-3"
                                          << "4" << 4.0;
        QTest::newRow("not a number") << "en_US" << 4.0 << "abc" << QList<double>{} << "abc"
                                      << "4" << 4.0;
        QTest::newRow("cleared") << "en_US" << 4.0 << "\b" << QList<double>{} << ""
                                 << "4" << 4.0;
    }
    void typingWritesEveryNewValue() {
        QFETCH(QString, locale);
        QFETCH(double, start);
        QFETCH(QString, keys);
        QFETCH(QList<double>, written);
        QFETCH(QString, shownWhileTyping);
        QFETCH(QString, shownAfter);
        QFETCH(double, value);
        QLocale::setDefault(QLocale(locale));

        Form form(start, {0, 2}, false);
        QVERIFY(form.begin());
        type(form.field, keys);
        QCOMPARE(form.written(), written);
        QCOMPARE(form.field->text(), shownWhileTyping);
        // While the text stands, the value is already what leaving keeps.
        QCOMPARE(form.field->value(), value);
        form.leave();
        QVERIFY(!form.field->isEditing());
        QCOMPARE(form.field->text(), shownAfter);
        QCOMPARE(form.field->value(), value);
        // Tidying the text writes nothing.
        QCOMPARE(form.written(), written);
    }

    void refusedTextIsMarkedWhileTyping_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("allowsNegative");
        QTest::addColumn<QString>("problem");

        const QString positive = QStringLiteral("Enter a number from 0 to %1.");
        QTest::newRow("en comma") << "en_US"
                                  << "0,25" << false << positive.arg("1,000,000");
        QTest::newRow("en letters") << "en_US"
                                    << "abc" << false << positive.arg("1,000,000");
        QTest::newRow("en above the bound") << "en_US"
                                            << "1000001" << false << positive.arg("1,000,000");
        QTest::newRow("en negative") << "en_US"
                                     << "-3" << false << positive.arg("1,000,000");
        QTest::newRow("en below the bound")
            << "en_US"
            << "-1000001" << true << QStringLiteral("Enter a number from -1,000,000 to 1,000,000.");
        QTest::newRow("de full stop") << "de_DE"
                                      << "19.5" << false << positive.arg("1.000.000");
        QTest::newRow("fr full stop") << "fr_FR"
                                      << "0.25" << false << positive.arg("1\u202f000\u202f000");
        QTest::newRow("ch comma") << "de_CH"
                                  << "0,25" << false << positive.arg("1\u2019000\u2019000");
        QTest::newRow("en number") << "en_US"
                                   << "1,000.5" << false << QString();
        QTest::newRow("de number") << "de_DE"
                                   << "1.000,5" << false << QString();
        QTest::newRow("fr number") << "fr_FR"
                                   << "1\u202f000,5" << false << QString();
        QTest::newRow("ch number") << "de_CH"
                                   << "1\u2019000.5" << false << QString();
        QTest::newRow("cleared") << "en_US"
                                 << "" << false << QString();
    }
    void refusedTextIsMarkedWhileTyping() {
        QFETCH(QString, locale);
        QFETCH(QString, keys);
        QFETCH(bool, allowsNegative);
        QFETCH(QString, problem);
        QLocale::setDefault(QLocale(locale));

        Form form(4, {0, 2}, allowsNegative);
        QVERIFY(form.begin());
        QTest::keyClick(form.field, Qt::Key_Backspace);
        type(form.field, keys);
        QCOMPARE(form.field->text(), keys);
        // Seen as a mark at the field's end with the range as its tooltip, heard as the field's description.
        QCOMPARE(form.field->accessibleDescription(), problem);
        QCOMPARE(form.field->actions().size(), 1);
        const QAction* mark = form.field->actions().constFirst();
        QCOMPARE(mark->isVisible(), !problem.isEmpty());
        const auto buttons = form.field->findChildren<QToolButton*>();
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(buttons.constFirst()->isVisible(), !problem.isEmpty());
        if (!problem.isEmpty()) QCOMPARE(mark->toolTip(), problem);
        // A reader finds the mark as the alert it is, named by the reason.
        QAccessibleInterface* markRead = QAccessible::queryAccessibleInterface(buttons.constFirst());
        QCOMPARE(markRead->role(), QAccessible::AlertMessage);
        QCOMPARE(markRead->text(QAccessible::Name), problem);

        // Leaving the field shows the stored value again, which is no mistake.
        form.leave();
        QCOMPARE(form.field->accessibleDescription(), QString());
        QVERIFY(!mark->isVisible());
        QVERIFY(!buttons.constFirst()->isVisible());
    }

    // The reason a text is refused is told as it appears, once however long the typing goes on; a number
    // typed after it tells nothing more.
    void aRefusalIsToldOnce_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("problem");
        QTest::newRow("en") << QStringLiteral("en_US") << QStringLiteral("Enter a number from 0 to 1,000,000.");
        QTest::newRow("de") << QStringLiteral("de_DE") << QStringLiteral("Enter a number from 0 to 1.000.000.");
    }
    void aRefusalIsToldOnce() {
        QFETCH(QString, locale);
        QFETCH(QString, problem);
        QLocale::setDefault(QLocale(locale));
        Form form(4, {0, 2}, false);
        QVERIFY(form.begin());
        OrzaTest::AccessibleEvents events;
        type(form.field, QStringLiteral("abc"));
        const auto told = events.of(QAccessible::Alert);
        QCOMPARE(told.size(), 1);
        QCOMPARE(told.constFirst().name, problem);
        QCOMPARE(told.constFirst().role, QAccessible::AlertMessage);

        events.clear();
        type(form.field, QStringLiteral("\b\b\b12"));
        QVERIFY(form.field->problem().isEmpty());
        QVERIFY(events.of(QAccessible::Alert).isEmpty());
    }

    void storedValueIsNeverMarked() {
        // A book may hold more than a field takes; showing it is not typing it.
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        Form form(5e6, {0, 2}, false);
        QVERIFY(form.begin());
        QCOMPARE(form.field->accessibleDescription(), QString());
        type(form.field, QStringLiteral("x"));
        QCOMPARE(form.field->accessibleDescription(), QStringLiteral("Enter a number from 0 to 1,000,000."));
        QTest::keyClick(form.field, Qt::Key_Backspace);
        QCOMPARE(form.field->accessibleDescription(), QString());
    }

    // A book may hold what no field takes: a number beyond the bound, or none at all, which a field of its own
    // rules may write as "nan". Shown, it is the stored value, not typing: no mark, Return goes on to the
    // default button, and leaving writes nothing.
    void aStoredValueNoFieldTakesIsNoRefusal_data() {
        QTest::addColumn<double>("stored");
        QTest::addColumn<bool>("ownRules");
        QTest::addColumn<QString>("shown");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("beyond the bound") << 5e6 << false << "5000000";
        QTest::newRow("not a number") << nan << false << "NaN";
        QTest::newRow("not a number, own rules") << nan << true << "nan";
    }
    void aStoredValueNoFieldTakesIsNoRefusal() {
        QFETCH(double, stored);
        QFETCH(bool, ownRules);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        LiveNumberField::Rules rules;
        rules.format = [](double value) {
            return std::isnan(value) ? QStringLiteral("nan") : QLocale().toString(value, 'f', 1);
        };
        rules.read = [](const QString& text) -> std::optional<double> {
            bool ok = false;
            const double value = QLocale().toDouble(text, &ok);
            return ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
        };
        rules.refusal = [] { return QStringLiteral("Enter a percentage."); };
        QDialog dialog;
        auto* field = ownRules ? new LiveNumberField(QStringLiteral("Percent"), 1, rules)
                               : new LiveNumberField(QStringLiteral("Amount"), 1, {0, 2}, false);
        auto* ok = new QPushButton(QStringLiteral("OK"));
        ok->setDefault(true);
        auto* other = new QLineEdit;
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(field);
        layout->addWidget(other);
        layout->addWidget(ok);
        QObject::connect(field, &LiveNumberField::valueEdited, field, &LiveNumberField::setValue);
        QSignalSpy writes(field, &LiveNumberField::valueEdited);
        QSignalSpy pressed(ok, &QPushButton::clicked);

        field->setValue(stored); // the book read again, an undo
        QCOMPARE(field->text(), shown);
        QCOMPARE(field->problem(), QString());
        QVERIFY(OrzaTest::showActive(dialog));
        field->setFocus(Qt::TabFocusReason);
        QCOMPARE(field->problem(), QString());
        QCOMPARE(field->accessibleDescription(), QString());
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(pressed.count(), 1);
        other->setFocus(Qt::TabFocusReason);
        QCOMPARE(field->text(), shown);
        QVERIFY(writes.isEmpty());
    }

    void negativesWhenAllowed() {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        Form form(4, {0, 3}, true);
        QVERIFY(form.begin());
        type(form.field, QStringLiteral("-0.125"));
        QCOMPARE(form.written(), (QList<double>{0, -0.1, -0.12, -0.125})); // "-" alone writes nothing
        QCOMPARE(form.field->value(), -0.125);
    }

    void returnTidiesAndKeepsEditing() {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        Form form(0, {0, 2}, false);
        QVERIFY(form.begin());
        type(form.field, QStringLiteral("2.456"));
        QTest::keyClick(form.field, Qt::Key_Return);
        QCOMPARE(form.field->text(), QStringLiteral("2.46"));
        QCOMPARE(form.field->value(), 2.456);
        QVERIFY(form.field->hasFocus());
        type(form.field, QStringLiteral("\b"));
        QCOMPARE(form.field->value(), 2.4);
    }

    // Return ends the edit as leaving does and the field goes on with a new one: a text refused after it goes
    // back to what Return confirmed, not to where the first edit began.
    void returnEndsTheEditAndWhatItConfirmedStays() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        Form form(120, {0, 1}, true);
        QVERIFY(form.begin());
        type(form.field, QStringLiteral("200,25"));
        QTest::keyClick(form.field, Qt::Key_Return);
        QCOMPARE(form.field->text(), QStringLiteral("200,2"));
        QCOMPARE(form.field->valueBeforeEdit(), 200.25);
        QVERIFY(form.field->isEditing());

        form.field->selectAll();
        type(form.field, QStringLiteral("abc"));
        QCOMPARE(form.field->value(), 200.25);
        form.leave();
        QCOMPARE(form.field->text(), QStringLiteral("200,2"));
        QCOMPARE(form.written(), (QList<double>{2, 20, 200, 200.2, 200.25}));
    }

    // Return over a refused text takes the edit back and is spent on it: the edit goes on, and the default
    // button is not pressed for a value nobody saw. A change from outside mid-edit (an undo) is where a later
    // refusal goes back to.
    void returnTakesARefusedTextBack() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        QDialog dialog;
        auto* field = new LiveNumberField(QStringLiteral("Amount"), 3, {0, 2}, false);
        auto* ok = new QPushButton(QStringLiteral("OK"));
        ok->setDefault(true);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(field);
        layout->addWidget(ok);
        QObject::connect(field, &LiveNumberField::valueEdited, field, &LiveNumberField::setValue);
        QSignalSpy pressed(ok, &QPushButton::clicked);
        QVERIFY(OrzaTest::showActive(dialog));
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();

        type(field, QStringLiteral("17.5"));
        QCOMPARE(field->value(), 3.0);
        QCOMPARE(field->text(), QStringLiteral("17.5"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(field->value(), 3.0);
        QCOMPARE(field->text(), QStringLiteral("3"));
        QVERIFY(field->isEditing());
        QCOMPARE(pressed.count(), 0);

        type(field, QStringLiteral("\b5"));
        field->setValue(8);
        type(field, QStringLiteral(".5"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(field->value(), 8.0);
        QCOMPARE(pressed.count(), 0);

        QTest::keyClick(field, Qt::Key_Return); // a number: Return goes on to the default button
        QCOMPARE(pressed.count(), 1);
    }

    // A sheet closed takes a refused text back once its turn is over; a sheet destroyed while shown, its edit
    // kept by another window holding the keyboard, tells its half-destroyed owner nothing.
    void hidingTakesARefusedTextBackAndDestroyingTellsNobody() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        struct Sheet : QDialog {
            LiveNumberField* field = new LiveNumberField(QStringLiteral("Target"), 3, {0, 2}, false, this);
            bool* destroyed;
            std::vector<double>* heard;
            Sheet(bool* destroyed, std::vector<double>* heard) : destroyed(destroyed), heard(heard) {
                connect(field, &LiveNumberField::valueEdited, this, [this](double value) {
                    QVERIFY2(!*this->destroyed, "the field wrote to an owner being destroyed");
                    this->heard->push_back(value);
                });
            }
            ~Sheet() override { *destroyed = true; }
        };
        bool destroyed = false;
        std::vector<double> heard;
        for (const bool destroy : {false, true}) {
            destroyed = false;
            auto sheet = std::make_unique<Sheet>(&destroyed, &heard);
            QVERIFY(OrzaTest::showActive(*sheet));
            sheet->field->setFocus(Qt::TabFocusReason);
            sheet->field->selectAll();
            type(sheet->field, QStringLiteral("17.5"));
            QCOMPARE(heard, (std::vector<double>{1, 17, 3}));
            QWidget elsewhere;
            QVERIFY(OrzaTest::showActive(elsewhere)); // the field's edit goes on
            QVERIFY(sheet->field->isEditing());
            heard.clear();
            if (destroy) {
                sheet.reset();
                OrzaTest::settle();
                QVERIFY(heard.empty());
            } else {
                sheet->hide();
                QTRY_COMPARE(sheet->field->text(), QStringLiteral("3"));
                QVERIFY(heard.empty());
            }
        }
    }

    // An edit ended while the field keeps the keyboard (a save from the keys) ends as leaving ends it, and what
    // is typed next is a new edit: a refusal then goes back to the value kept, not to where the first began.
    void anEditEndedInPlaceGoesOnAsANewOne() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        Form form(3, {0, 2}, false);
        QVERIFY(form.begin());
        type(form.field, QStringLiteral("17.5"));
        form.field->endEdit();
        QCOMPARE(form.field->value(), 3.0);
        QCOMPARE(form.field->text(), QStringLiteral("3"));
        QVERIFY(form.field->hasFocus() && form.field->isEditing());

        form.field->selectAll();
        type(form.field, QStringLiteral("17,50"));
        form.field->endEdit();
        QCOMPARE(form.field->value(), 17.5);
        QCOMPARE(form.field->text(), QStringLiteral("17,5"));
        type(form.field, QStringLiteral("x"));
        form.leave();
        QCOMPARE(form.field->value(), 17.5);
        QCOMPARE(form.written(), (QList<double>{1, 17, 3, 1, 17, 17.5}));
    }

    // The field's context menu takes the keyboard and gives it back: the same edit goes on, so a refusal after
    // it goes back to where the edit began, not to what was typed before the menu.
    void aContextMenuKeepsTheEditItInterrupts() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        Form form(3, {0, 2}, false);
        QVERIFY(form.begin());
        type(form.field, QStringLiteral("17"));
        QCOMPARE(form.field->value(), 17.0);
        std::unique_ptr<QMenu> menu(form.field->createStandardContextMenu());
        menu->popup(form.field->mapToGlobal(QPoint(4, 4)));
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(form.field->isEditing());
        QTest::keyClick(menu.get(), Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());
        QTRY_VERIFY(form.field->hasFocus());

        type(form.field, QStringLiteral(".5"));
        QCOMPARE(form.field->text(), QStringLiteral("17.5"));
        form.leave();
        QCOMPARE(form.field->value(), 3.0);
        QCOMPARE(form.field->text(), QStringLiteral("3"));
        QCOMPARE(form.written(), (QList<double>{1, 17, 3}));
    }

    // Hidden and shown again within one turn (a new parent, new window flags), a sheet goes on with its edit:
    // the end its hiding queued finds the field shown and leaves it be.
    void aSheetShownAgainBeforeItsTurnKeepsItsEdit() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        QDialog sheet;
        auto* field = new LiveNumberField(QStringLiteral("Target"), 3, {0, 2}, false, &sheet);
        QObject::connect(field, &LiveNumberField::valueEdited, field, &LiveNumberField::setValue);
        QSignalSpy writes(field, &LiveNumberField::valueEdited);
        QVERIFY(OrzaTest::showActive(sheet));
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        type(field, QStringLiteral("17.5"));
        QWidget elsewhere;
        QVERIFY(OrzaTest::showActive(elsewhere)); // the field's edit goes on
        QVERIFY(field->isEditing());

        sheet.hide();
        sheet.show();
        OrzaTest::settle();
        QVERIFY(field->isEditing());
        QCOMPARE(field->text(), QStringLiteral("17.5"));
        QCOMPARE(field->value(), 3.0);
        QCOMPARE(writes.count(), 3); // 1, 17, and 3 when the text was refused

        sheet.hide(); // hidden for good: now the edit ends
        QTRY_VERIFY(!field->isEditing());
        QCOMPARE(field->text(), QStringLiteral("3"));
        QCOMPARE(writes.count(), 3);
    }

    void outsideChanges() {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        Form form(1, {0, 2}, false);
        form.field->setValue(2.5); // not editing: the text follows
        QCOMPARE(form.field->text(), QStringLiteral("2.5"));
        QVERIFY(form.writes->isEmpty());

        QVERIFY(form.begin());
        type(form.field, QStringLiteral("1.50"));
        form.field->setValue(1.5); // what the text already means: kept as typed
        QCOMPARE(form.field->text(), QStringLiteral("1.50"));
        form.field->setValue(7.126); // an undo while typing: replaces the text
        QCOMPARE(form.field->text(), QStringLiteral("7.13"));
        QCOMPARE(form.field->value(), 7.126);
        QCOMPARE(form.written(), (QList<double>{1, 1.5}));
        // A context menu taking the keyboard does not end the edit.
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(form.field, &popup);
        QVERIFY(form.field->isEditing());
    }

    void followsTheLocaleAtEachUse() {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        Form form(1234.5, {1, 3}, false);
        QCOMPARE(form.field->text(), QStringLiteral("1234.5"));
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        form.field->setValue(0.25);
        QCOMPARE(form.field->text(), QStringLiteral("0,25"));
        QCOMPARE(form.field->placeholderText(), QStringLiteral("Amount"));
        QCOMPARE(form.field->accessibleName(), QStringLiteral("Amount"));
    }
};

QTEST_MAIN(LiveNumberFieldTest)
#include "LiveNumberFieldTest.moc"
