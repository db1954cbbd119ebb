#include "Orza/library/BookLibrary.h"

#include "GlazeCore/library/ResourceBundle.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Orza;

// Its own process: the built-in list loads once per process, and here it must not find its files.
class BookLibraryWithoutBundleTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_emptyFolder;

private slots:
    void initTestCase() { GlazeCore::ResourceBundle::setResourceOverride(m_emptyFolder.path().toStdString()); }

    void aMissingListLeavesOnlyTheCustomMaterials() {
        const auto problem = BookLibrary::bundledLoadProblem();
        QVERIFY(problem);
        QVERIFY2(problem->startsWith(QStringLiteral("The bundled material list did not load: ")), qPrintable(*problem));
        QVERIFY(BookLibrary({}).all().empty());

        const BookLibrary library({{"custom-1", "Mine", {{GlazeCore::Oxide::SiO2, 100}}, 0, ""}});
        QCOMPARE(library.all().size(), std::size_t(1));
        QVERIFY(library.material("custom-1"));
        QCOMPARE(materialDisplayName("silica", library), QStringLiteral("Unknown material (silica)"));
        QCOMPARE(BookLibrary::bundledLoadProblem(), problem); // kept, not retried
    }
};

QTEST_GUILESS_MAIN(BookLibraryWithoutBundleTest)
#include "BookLibraryWithoutBundleTest.moc"
