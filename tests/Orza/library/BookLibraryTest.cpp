#include "Orza/library/BookLibrary.h"

#include "GlazeCore/chemistry/GlazeCalculator.h"

#include <QTest>

using namespace Orza;
using GlazeCore::Material;
using GlazeCore::Oxide;

class BookLibraryTest : public QObject {
    Q_OBJECT
private:
    static const Material& firstBundled() { return BookLibrary::bundledMaterials().materials.front(); }

    static std::size_t countID(const std::vector<Material>& list, const std::string& id) {
        return std::size_t(std::count_if(list.begin(), list.end(), [&](const Material& m) { return m.id == id; }));
    }

private slots:
    void initTestCase() {
        QVERIFY2(!BookLibrary::bundledLoadProblem(), "the built-in materials should load from the source tree");
        QVERIFY(!BookLibrary::bundledMaterials().materials.empty());
    }

    void customMaterialOverridesABuiltInOne() {
        Material mine{firstBundled().id, "My feldspar", {{Oxide::SiO2, 70}}, 0, ""};
        const BookLibrary library({mine});
        QCOMPARE(library.material(mine.id)->name, std::string("My feldspar"));
        QCOMPARE(library.all().front().name, std::string("My feldspar"));
        QCOMPARE(countID(library.all(), mine.id), std::size_t(1));
        QCOMPARE(library.all().size(), library.bundled().size());
    }

    void laterCustomMaterialWinsTheLookupButBothAreListed() {
        const BookLibrary library({{"custom-x", "First", {}, 0, ""}, {"custom-x", "Second", {}, 0, ""}});
        QCOMPARE(library.material("custom-x")->name, std::string("Second"));
        QCOMPARE(countID(library.all(), "custom-x"), std::size_t(2));
    }

    void invalidMaterialIsListedAndNamedButNotCalculated() {
        const BookLibrary library({{"custom-bad", "Too much", {{Oxide::SiO2, 90}}, 20, ""},
                                   {"custom-range", "Out of range", {{Oxide::Al2O3, 120}}, 0, ""}});
        QVERIFY(!library.material("custom-bad"));
        QVERIFY(!library.material("custom-range"));
        QCOMPARE(countID(library.all(), "custom-bad"), std::size_t(1));
        QCOMPARE(materialDisplayName("custom-bad", library), QStringLiteral("Too much"));
    }

    // A line may name a custom material in another spelling of its id (an accent decomposed). The book
    // treats both as one id, so the library finds the material and the chemistry counts it.
    void idsMatchByCanonicalEquivalence() {
        const BookLibrary library({{"custom-caf\u00e9", "Frit", {{Oxide::SiO2, 60}, {Oxide::CaO, 40}}, 0, ""}});
        QCOMPARE(library.material("custom-cafe\u0301")->name, std::string("Frit"));
        QCOMPARE(materialDisplayName("custom-cafe\u0301", library), QStringLiteral("Frit"));
        GlazeCore::Recipe recipe{
            GlazeCore::Uuid::random(), "R", "6", {{GlazeCore::Uuid::random(), "custom-cafe\u0301", 100, false}}, ""};
        const GlazeCore::Chemistry chemistry = GlazeCore::GlazeCalculator::chemistry(recipe, library, false);
        for (const std::string& warning : chemistry.warnings)
            QVERIFY2(warning.find("Unknown material") == std::string::npos, warning.c_str());
        QVERIFY(GlazeCore::oxideValue(chemistry.umf, Oxide::SiO2) > 0);
    }

    void displayNames() {
        const BookLibrary library({});
        QCOMPARE(materialDisplayName("", library), QStringLiteral("Choose material"));
        QCOMPARE(materialDisplayName(" ", library), QStringLiteral("Unknown material ( )"));
        QCOMPARE(materialDisplayName(firstBundled().id, library), QString::fromStdString(firstBundled().name));
    }
};

QTEST_GUILESS_MAIN(BookLibraryTest)
#include "BookLibraryTest.moc"
