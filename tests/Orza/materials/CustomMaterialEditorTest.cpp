#include "Orza/materials/CustomMaterialEditor.h"

#include "MaterialsTestSupport.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/materials/MaterialAnalysisView.h"
#include "Orza/materials/PercentField.h"
#include "Orza/widgets/AlertSymbol.h"
#include "Orza/widgets/TextStyle.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QStyle>
#include <QUndoStack>

#include <cmath>
#include <limits>

using namespace Orza;
using GlazeCore::Oxide;
using MaterialsTest::material;
using MaterialsTest::type;

namespace {

const std::string clayID = "custom-clay";

GlazeCore::GlazeBook bookWith(GlazeCore::Material custom) {
    GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Celadon"});
    book.customMaterials.push_back(std::move(custom));
    return book;
}

/// A book window showing the editor of one custom material where the page would.
struct Editing {
    std::unique_ptr<BookWindow> window;
    CustomMaterialEditor* editor;

    explicit Editing(GlazeCore::Material custom, bool inUse = false)
        : window(OrzaTest::makeWindowWithMenus(bookWith(custom))) {
        editor = MaterialsTest::placeInDetail(
            *window, new CustomMaterialEditor(*window->document(), *window->actions(), custom.id, inUse));
    }

    BookDocument& document() const { return *window->document(); }
    const GlazeCore::Material& stored() const { return document().book().customMaterials.front(); }
    QLineEdit* field(Oxide oxide) const { return editor->oxideField(oxide)->lineEdit(); }

    /// Focuses the field with its text selected, as a click and select-all leave it.
    bool focus(QLineEdit* field) const {
        editor->ensureWidgetVisible(field);
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        return field->hasFocus();
    }
};

} // namespace

class CustomMaterialEditorTest : public OrzaTest::WindowSuite {
    Q_OBJECT
protected:
    void setUp() override { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void tearDown() override { QLocale::setDefault(QLocale::c()); }

private slots:
    void oxideTypingIsOneUndoStepPerBurst() {
        Editing editing(material(clayID, "Clay", {{Oxide::SiO2, 60}, {Oxide::Al2O3, 20}}, 10));
        QVERIFY(OrzaTest::showActive(*editing.window));
        QUndoStack* undo = editing.document().undoStack();

        QVERIFY(editing.focus(editing.field(Oxide::SiO2)));
        type(editing.field(Oxide::SiO2), QStringLiteral("68.5"));
        QCOMPARE(editing.stored().analysis.at(Oxide::SiO2), 68.5);
        QCOMPARE(undo->count(), 1);
        QCOMPARE(editing.editor->totalText(), QStringLiteral("Oxides + LOI = 98.50 % (expected about 100 %)"));

        // Leaving ends the burst: typing in the same field again is a step of its own.
        QVERIFY(editing.focus(editing.field(Oxide::K2O)));
        type(editing.field(Oxide::K2O), QStringLiteral("1"));
        QVERIFY(editing.focus(editing.field(Oxide::SiO2)));
        type(editing.field(Oxide::SiO2), QStringLiteral("69"));
        QCOMPARE(undo->count(), 3);
        QVERIFY(editing.editor->totalLooksRight());

        // The undo keys in the field act on the book; the field shows the book's value again.
        QTest::keyClick(editing.field(Oxide::SiO2), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editing.stored().analysis.at(Oxide::SiO2), 68.5);
        QCOMPARE(editing.field(Oxide::SiO2)->text(), QStringLiteral("68.5"));

        // 0 takes the oxide out of the analysis; the row then reads 0.
        QVERIFY(editing.focus(editing.field(Oxide::Al2O3)));
        type(editing.field(Oxide::Al2O3), QStringLiteral("0"));
        QVERIFY(!editing.stored().analysis.contains(Oxide::Al2O3));
        QVERIFY(editing.focus(editing.field(Oxide::SiO2)));
        QCOMPARE(editing.field(Oxide::Al2O3)->text(), QStringLiteral("0"));
        QCOMPARE(editing.editor->oxidePercent(Oxide::Al2O3), 0.0);

        // Typing what is stored, and clearing an absent oxide, write nothing.
        const int steps = undo->count();
        editing.editor->setOxidePercent(Oxide::SiO2, 68.5);
        editing.editor->setOxidePercent(Oxide::BaO, 0);
        QCOMPARE(undo->count(), steps);
    }

    // A refused text takes back what the typing wrote on the way the moment it is refused, keeping the text
    // until the field is left: no step is left, the book is unedited again, and an oxide the typing brought
    // in goes again.
    void refusedTextLeavesNoStep() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        Editing editing(material(clayID, "Clay", {{Oxide::SiO2, 60}}, 10));
        QVERIFY(OrzaTest::showActive(*editing.window));
        QVERIFY(!editing.document().isModified());

        QVERIFY(editing.focus(editing.field(Oxide::SiO2)));
        type(editing.field(Oxide::SiO2), QStringLiteral("12.5"));
        QCOMPARE(editing.stored().analysis.at(Oxide::SiO2), 60.0);
        QCOMPARE(editing.field(Oxide::SiO2)->text(), QStringLiteral("12.5"));
        QVERIFY(editing.focus(editing.field(Oxide::K2O)));
        QCOMPARE(editing.stored().analysis.at(Oxide::SiO2), 60.0);
        QCOMPARE(editing.field(Oxide::SiO2)->text(), QStringLiteral("60"));

        type(editing.field(Oxide::K2O), QStringLiteral("5.5"));
        QVERIFY(!editing.stored().analysis.contains(Oxide::K2O));
        QVERIFY(editing.focus(editing.field(Oxide::SiO2)));
        QVERIFY(!editing.stored().analysis.contains(Oxide::K2O));
        QCOMPARE(editing.document().undoStack()->count(), 0);
        QVERIFY(!editing.document().isModified());
    }

    // Escape cancels the edit of a percentage, a number typed in full or not: the book keeps what it held, no
    // step is left, and the field goes on with a new edit from there.
    void escapeCancelsAPercentEdit_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("loi");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("whileTyping");
        // A refused text has taken its typing back already; a number is stored as typed.
        QTest::newRow("SiO2, de decimal point") << "de_DE" << false << "17.5" << 60.0;
        QTest::newRow("SiO2, en number") << "en_US" << false << "25" << 25.0;
        QTest::newRow("LOI, en decimal comma") << "en_US" << true << "1,5" << 10.0;
        QTest::newRow("LOI, de number") << "de_DE" << true << "2,5" << 2.5;
    }
    void escapeCancelsAPercentEdit() {
        QFETCH(QString, locale);
        QFETCH(bool, loi);
        QFETCH(QString, typed);
        QFETCH(double, whileTyping);
        QLocale::setDefault(QLocale(locale));
        Editing editing(material(clayID, "Clay", {{Oxide::SiO2, 60}}, 10));
        QVERIFY(OrzaTest::showActive(*editing.window));
        QLineEdit* field = loi ? editing.editor->loiField()->lineEdit() : editing.field(Oxide::SiO2);
        const auto stored = [&] { return loi ? editing.stored().loi : editing.stored().analysis.at(Oxide::SiO2); };
        const double before = stored();
        const QString shown = field->text();

        QVERIFY(editing.focus(field));
        type(field, typed);
        QCOMPARE(stored(), whileTyping);
        QCOMPARE(field->text(), typed);
        QTest::keyClick(field, Qt::Key_Escape);
        QCOMPARE(stored(), before);
        QCOMPARE(field->text(), shown);
        QCOMPARE(editing.document().undoStack()->count(), 0);
        QVERIFY(!editing.document().isModified());
        QVERIFY(field->hasFocus());

        field->selectAll();
        type(field, QStringLiteral("8"));
        QCOMPARE(stored(), 8.0);
    }

    // Return ends a percent's edit as leaving does: what it confirmed is a step of its own, and a text refused
    // after it, or Escape, goes back to it rather than to the value before.
    void returnEndsAPercentEditAndWhatItConfirmedStays_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("loi");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("confirmed");
        QTest::newRow("LOI, en") << "en_US" << true << "7.25" << 7.25;
        QTest::newRow("SiO2, de") << "de_DE" << false << "17,5" << 17.5;
    }
    void returnEndsAPercentEditAndWhatItConfirmedStays() {
        QFETCH(QString, locale);
        QFETCH(bool, loi);
        QFETCH(QString, typed);
        QFETCH(double, confirmed);
        QLocale::setDefault(QLocale(locale));
        Editing editing(material(clayID, "Clay", {{Oxide::SiO2, 60}}, 5.25));
        QVERIFY(OrzaTest::showActive(*editing.window));
        QLineEdit* field = loi ? editing.editor->loiField()->lineEdit() : editing.field(Oxide::SiO2);
        const auto stored = [&] { return loi ? editing.stored().loi : editing.stored().analysis.at(Oxide::SiO2); };

        QVERIFY(editing.focus(field));
        type(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(stored(), confirmed);
        QTest::keyClick(field, Qt::Key_Escape);
        QCOMPARE(stored(), confirmed);
        field->selectAll();
        type(field, QStringLiteral("abc"));
        QCOMPARE(stored(), confirmed);
        QVERIFY(editing.focus(editing.field(Oxide::Al2O3)));
        QCOMPARE(stored(), confirmed);
        QCOMPARE(field->text(), QLocale().toString(confirmed));
        QVERIFY(editing.document().isModified());

        // What is typed after Return is a step of its own.
        QVERIFY(editing.focus(field));
        type(field, QStringLiteral("8"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(editing.document().undoStack()->count(), 2);
        editing.document().undoStack()->undo();
        QCOMPARE(stored(), confirmed);
    }

    void totalLineAndBannerFollowTheAnalysis_data() {
        QTest::addColumn<double>("silica");
        QTest::addColumn<double>("loi");
        QTest::addColumn<QString>("total");
        QTest::addColumn<bool>("looksRight");
        QTest::addColumn<QStringList>("issues");

        // With alumina 19.1 and potash 10.2.
        QTest::newRow("1.6 short of 100")
            << 68.5 << 0.6 << "Oxides + LOI = 98.40 % (expected about 100 %)" << false << QStringList();
        QTest::newRow("exactly 99") << 69.1 << 0.6 << "Oxides + LOI = 99.00 %" << true << QStringList();
        QTest::newRow("exactly 101") << 71.1 << 0.6 << "Oxides + LOI = 101.00 %" << true << QStringList();
        QTest::newRow("101.5 warns only")
            << 71.6 << 0.6 << "Oxides + LOI = 101.50 % (expected about 100 %)" << false << QStringList();
        QTest::newRow("above 102 is invalid")
            << 72.11 << 0.6 << "Oxides + LOI = 102.01 % (expected about 100 %)" << false
            << QStringList{"Oxides + LOI = 102.01 %. The total must not be more than 102 %."};
        QTest::newRow("out of range values")
            << 150.0 << -1.0 << "Oxides + LOI = 178.30 % (expected about 100 %)" << false
            << QStringList{"SiO2 is 150 %. Enter a value from 0 to 100.",
                           "The loss on ignition is -1 %. Enter a value from 0 to 100."};
    }
    void totalLineAndBannerFollowTheAnalysis() {
        QFETCH(double, silica);
        QFETCH(double, loi);
        QFETCH(QString, total);
        QFETCH(bool, looksRight);
        QFETCH(QStringList, issues);

        Editing editing(material(clayID, "Feldspar", {{Oxide::Al2O3, 19.1}, {Oxide::K2O, 10.2}}, 0.6));
        // Set from outside the editor (as an undo would), so the editor must follow the book.
        editing.document().setMaterialOxide(clayID, Oxide::SiO2, silica);
        editing.document().setMaterialLoi(clayID, loi);
        if (loi < 0) {
            // The document refuses what no field could type; a book file may still hold it.
            GlazeCore::Material odd = editing.stored();
            odd.loi = loi;
            odd.analysis[Oxide::SiO2] = silica;
            editing.document().removeMaterial(clayID);
            editing.document().insertMaterial(0, odd, QStringLiteral("Odd"));
        }
        QCOMPARE(editing.editor->totalText(), total);
        QCOMPARE(editing.editor->totalLooksRight(), looksRight);
        QCOMPARE(editing.editor->issueTexts(), issues);
        QCOMPARE(!editing.editor->invalidBanner()->isHidden(), !issues.isEmpty());
        QCOMPARE(editing.editor->loiField()->text(), QLocale().toString(loi));

        // The total line and the banner are each one element: what they say is read once.
        editing.window->show();
        const QStringList spoken = OrzaTest::spokenTexts(editing.editor);
        QCOMPARE(spoken.count(total), 1);
        for (const QString& issue : issues)
            QVERIFY2(spoken.filter(issue).size() == 1, qPrintable(spoken.join(QLatin1Char('|'))));
    }

    // The banner's octagon is drawn in the alert colour of the scheme, so it stands out on a dark window as on a
    // light one, and follows a change of scheme.
    void theBannersMarkFollowsTheAlertColour() {
        Editing editing(material(clayID, "Feldspar", {{Oxide::SiO2, 150}}, 0.6));
        auto* mark = editing.editor->invalidBanner()->findChild<AlertSymbol*>();
        QVERIFY(mark);
        QPalette dark(QColor(42, 46, 50));
        dark.setColor(QPalette::Window, QColor(42, 46, 50));
        dark.setColor(QPalette::Base, QColor(27, 30, 32));
        dark.setColor(QPalette::WindowText, QColor(252, 252, 252));
        for (const QPalette& scheme : {dark, QApplication::style()->standardPalette()}) {
            editing.window->setPalette(scheme);
            const QColor window = mark->palette().color(QPalette::Window);
            QCOMPARE(mark->colour(), TextStyle::alert(mark->palette()));
            QVERIFY(TextStyle::contrastRatio(mark->colour(), window) >= 3);
            // The stroke in the drawn pixmap is that colour.
            const QImage drawn = mark->pixmap().toImage();
            QColor strongest(Qt::transparent);
            for (int y = 0; y < drawn.height(); ++y)
                for (int x = 0; x < drawn.width(); ++x)
                    if (const QColor pixel = drawn.pixelColor(x, y); pixel.alpha() > strongest.alpha())
                        strongest = pixel;
            QCOMPARE(strongest.rgb(), mark->colour().rgb());
        }
    }

    void newMaterialTotalsZeroWithoutBanner() {
        Editing editing(material(clayID, "New material 1", {}, 0));
        QCOMPARE(editing.editor->totalText(), QStringLiteral("Oxides + LOI = 0.00 % (expected about 100 %)"));
        QVERIFY(editing.editor->invalidBanner()->isHidden());
        QCOMPARE(editing.editor->analysisTotal(), 0.0);
    }

    void textFieldsWriteEveryKeystrokeAndFollowTheBook() {
        Editing editing(material(clayID, "Clay", {{Oxide::SiO2, 60}}, 10, "Creek"));
        QVERIFY(OrzaTest::showActive(*editing.window));
        QLineEdit* name = editing.editor->nameField();
        QCOMPARE(editing.editor->idField()->text(), QString::fromStdString(clayID));
        QVERIFY(editing.editor->idField()->isReadOnly());
        QCOMPARE(editing.editor->sourceField()->placeholderText(),
                 QStringLiteral("Data sheet, supplier or lab analysis"));

        QVERIFY(editing.focus(name));
        type(name, QStringLiteral("Red"));
        QCOMPARE(editing.stored().name, "Red");
        // An empty name is allowed.
        type(name, QStringLiteral("\b\b\b"));
        QCOMPARE(editing.stored().name, "");
        QCOMPARE(editing.document().undoStack()->count(), 1);
        QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editing.stored().name, "Clay");
        QCOMPARE(name->text(), QStringLiteral("Clay"));

        QVERIFY(editing.focus(editing.editor->sourceField()));
        type(editing.editor->sourceField(), QStringLiteral("Mill"));
        QCOMPARE(editing.stored().source, "Mill");

        // Once the material has left the book the form shows empty fields and drops its writes.
        editing.document().removeMaterial(clayID);
        QCOMPARE(name->text(), QString());
        QCOMPARE(editing.field(Oxide::SiO2)->text(), QStringLiteral("0"));
        const int steps = editing.document().undoStack()->count();
        QVERIFY(editing.focus(name));
        type(name, QStringLiteral("Gone"));
        QVERIFY(editing.focus(editing.field(Oxide::CaO)));
        type(editing.field(Oxide::CaO), QStringLiteral("5"));
        QCOMPARE(editing.document().undoStack()->count(), steps);
        QVERIFY(editing.document().book().customMaterials.empty());
    }

    // Name, id and source from a book may be megabytes long: each field shows their ends, and the book keeps
    // them whole until the potter types.
    void hugeTextsShowTheirEnds() {
        const std::string huge = "<" + std::string(std::size_t{1} << 20, 'x') + ">";
        Editing editing(material(huge, huge, {{Oxide::SiO2, 60}}, 10, huge));
        QVERIFY(OrzaTest::showActive(*editing.window));
        for (QLineEdit* field :
             {editing.editor->nameField(), editing.editor->idField(), editing.editor->sourceField()}) {
            const QString shown = field->text();
            QVERIFY2(shown.size() <= 1000 && shown.startsWith(QStringLiteral("<xx")) &&
                         shown.endsWith(QStringLiteral("xx>")),
                     qPrintable(field->accessibleName()));
        }
        QVERIFY(editing.focus(editing.editor->sourceField()));
        QTest::keyClick(editing.editor->sourceField(), Qt::Key_Tab);
        QCOMPARE(editing.document().undoStack()->count(), 0);
        QCOMPARE(editing.stored().source, huge);

        // Typing in the shown ends edits the whole text there.
        for (QLineEdit* field : {editing.editor->nameField(), editing.editor->sourceField()}) {
            QVERIFY(editing.focus(field));
            QTest::keyClick(field, Qt::Key_End);
            QTest::keyClicks(field, QStringLiteral("!"));
        }
        QVERIFY(editing.stored().name == huge + "!");
        QVERIFY(editing.stored().source == huge + "!");
    }

    // A name of "…" alone: a key lands where the field shows it, whatever "…" the shown start holds.
    void keysLandWhereTheNameFieldShowsThem() {
        std::string dots;
        for (int i = 0; i < 3000; ++i)
            dots += "\u2026";
        Editing editing(material(clayID, dots, {{Oxide::SiO2, 60}}, 10));
        QVERIFY(OrzaTest::showActive(*editing.window));
        QLineEdit* name = editing.editor->nameField();
        QVERIFY(editing.focus(name));
        QTest::keyClick(name, Qt::Key_Home);
        for (int i = 0; i < 100; ++i)
            QTest::keyClick(name, Qt::Key_Right);
        QTest::keyClicks(name, QStringLiteral("Y"));
        const QString stored = QString::fromStdString(editing.stored().name);
        QCOMPARE(stored.indexOf(QLatin1Char('Y')), 100);
        QCOMPARE(stored.size(), 3001);
    }

    // A custom material with a built-in id overrides it in every calculation of the book.
    void overrideChangesTheLibraryOncePerEdit() {
        Editing editing(material("whiting", "Whiting (own test)", {{Oxide::CaO, 55}}, 44));
        QVERIFY(OrzaTest::showActive(*editing.window));
        QCOMPARE(editing.document().library().material("whiting")->analysis.at(Oxide::CaO), 55.0);
        QSignalSpy rebuilt(&editing.document(), &BookDocument::libraryChanged);

        QVERIFY(editing.focus(editing.field(Oxide::MgO)));
        type(editing.field(Oxide::MgO), QStringLiteral("0.5"));
        // "0" and "0." write nothing; "0.5" writes once.
        QCOMPARE(rebuilt.count(), 1);
        QCOMPARE(editing.document().library().material("whiting")->analysis.at(Oxide::MgO), 0.5);

        // Invalid: the library leaves it out rather than falling back on the built-in whiting.
        QVERIFY(editing.focus(editing.editor->loiField()->lineEdit()));
        type(editing.editor->loiField()->lineEdit(), QStringLiteral("50"));
        QCOMPARE(rebuilt.count(), 3);
        QVERIFY(!editing.editor->invalidBanner()->isHidden());
        QCOMPARE(editing.document().library().material("whiting"), nullptr);
        QCOMPARE(editing.document().library().find("whiting")->name, "Whiting (own test)");

        QTest::keyClick(editing.editor->loiField()->lineEdit(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rebuilt.count(), 4);
        QCOMPARE(editing.document().library().material("whiting")->loi, 44.0);
    }

    void readOnlyViewShowsOnlyOxidesAboveZero() {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        MaterialAnalysisView view(
            material("m", "Odd", {{Oxide::SiO2, 68.456}, {Oxide::CaO, 0}, {Oxide::MgO, -1}, {Oxide::BaO, nan}}, 1.5,
                     ""),
            true);
        QStringList texts;
        for (QLabel* label : view.findChildren<QLabel*>())
            texts << label->text();
        QVERIFY(texts.contains(QStringLiteral("SiO\u2082")));
        QVERIFY(texts.contains(QStringLiteral("68.46")));
        QVERIFY(texts.contains(QStringLiteral("1.50 %")));
        QVERIFY(texts.contains(QStringLiteral("Id: m")));
        QVERIFY(texts.contains(
            QStringLiteral("Bundled material, read-only. To change it, duplicate it as a custom material.")));
        for (const QString& absent : {QStringLiteral("CaO"), QStringLiteral("MgO"), QStringLiteral("BaO")})
            QVERIFY2(!texts.contains(absent), qPrintable(absent));
        QVERIFY(texts.contains(QStringLiteral("Source"))); // shown even when empty

        MaterialAnalysisView editable(material("m", "Odd", {}, 0), false);
        for (QLabel* label : editable.findChildren<QLabel*>())
            QVERIFY(!label->text().startsWith(QStringLiteral("Bundled material")));
    }

    // A reader hears the loss on ignition by its name with its value, and each oxide row once.
    void readOnlyViewIsReadRowByRow() {
        MaterialAnalysisView view(material("whiting", "Whiting", {{Oxide::CaO, 56.03}}, 43.97, ""), true);
        view.show();
        const QStringList spoken = OrzaTest::spokenTexts(&view);
        QCOMPARE(spoken.count(QStringLiteral("Loss on ignition: 43.97 %")), 1);
        QVERIFY(!spoken.contains(QStringLiteral("Loss on ignition")));
        QCOMPARE(spoken.count(QStringLiteral("C a O 56.03 percent")), 1);
    }
};

QTEST_MAIN(CustomMaterialEditorTest)
#include "CustomMaterialEditorTest.moc"
