#include "Orza/document/GlazeDocument.h"

#include "GlazeCore/book/GlazeBookCodec.h"
#include "Orza/document/BookDocument.h"
#include "Orza/document/DocumentError.h"
#include "support/ChildRun.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>

#include <cerrno>
#include <cstring>

#include <grp.h>
#include <unistd.h>

using namespace Orza;

namespace {

/// A book of some megabytes: read in parts and decoded in batches, saved in batches and pieces.
GlazeCore::GlazeBook largeBook() {
    GlazeCore::GlazeBook book;
    for (int i = 0; i < 3500; ++i) {
        GlazeCore::Recipe recipe = OrzaTest::recipe("Glaze " + std::to_string(i));
        for (int line = 0; line < 30; ++line)
            recipe.lines.push_back({GlazeCore::Uuid::random(), "kaolin", 1.0 / (line + 3), line % 7 == 6});
        book.tests.push_back(OrzaTest::tile(recipe.id, "6", "T-" + std::to_string(i + 1)));
        book.tests.back().notes = "crawled at the rim, thick over the foot \u00E9 / " + std::to_string(i);
        book.recipes.push_back(std::move(recipe));
    }
    book.nextTileNumber = 3501;
    book.version = 2;
    return book;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The bytes this process has read from files so far, as the system counts them.
qint64 bytesReadSoFar() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("rchar:")) return line.mid(6).trimmed().toLongLong();
    return -1;
}

} // namespace

class GlazeDocumentTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void aLargeBookGoesToTheFileAndBackWhole() {
        const QString path = filePath("large.orzabook");
        BookDocument document(GlazeDocument::make(largeBook(), false));
        document.save(path);
        const QByteArray saved = readAll(path);
        QVERIFY(saved.size() > 10'000'000); // above the size read and decoded in parts

        const GlazeDocument reopened = GlazeDocument::read(path);
        QVERIFY(reopened.book == document.book());
        QVERIFY(!reopened.backfillNotice);
        QCOMPARE(GlazeCore::GlazeBookCodec::encode(reopened.book), saved.toStdString());
    }

    void aTextThatCannotBeWrittenLeavesTheOldFileAndNoOther() {
        const QString path = filePath("kept.orzabook");
        OrzaTest::saveBook(OrzaTest::bookWithRecipes({"Old"}), path);
        const QByteArray old = readAll(path);

        GlazeCore::GlazeBook broken = largeBook();
        broken.tests[3000].notes = "not UTF-8 \xC3";
        const BookDocument document(GlazeDocument::make(std::move(broken), false));
        try {
            document.document().save(path);
            QFAIL("text that is not UTF-8 was saved");
        } catch (const DocumentError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("tests[3000].notes")), qPrintable(error.message()));
        }
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(filePath(QString())).entryList(QDir::Files), QStringList{QStringLiteral("kept.orzabook")});
    }

    // The file system can refuse the last step too, where the written file takes the old one's place: that is
    // no save. The old file stays whole with no written copy beside it, a Save As leaves no new file, and the
    // document stays edited and where it was.
    void aRefusedCommitIsNoSave() {
        const QString path = filePath("kept.orzabook");
        OrzaTest::saveBook(OrzaTest::bookWithRecipes({"Old"}), path);
        const QByteArray old = readAll(path);
        BookDocument document(GlazeDocument::make(OrzaTest::bookWithRecipes({"New"}), false), path);
        document.markEdited();
        for (const QString& target : {path, filePath("copy.orzabook")}) {
            GlazeDocument::failNextCommit();
            try {
                document.save(target);
                QFAIL("a refused commit was reported as saved");
            } catch (const DocumentError& error) {
                QVERIFY2(error.message().endsWith(QStringLiteral("The file on disk was not changed.")),
                         qPrintable(error.message()));
            }
            QCOMPARE(readAll(path), old);
            QCOMPARE(QDir(filePath(QString())).entryList(QDir::Files), QStringList{QStringLiteral("kept.orzabook")});
            QVERIFY(document.isModified());
            QCOMPARE(document.filePath(), path);
        }
        document.save(path); // the refusal was for one save only
        QCOMPARE(GlazeDocument::read(path).book.recipes[0].name, std::string("New"));
    }

    // A disk without room for the whole book (here a file size limit: writes beyond it fail as on a full
    // disk) fails the save with the system's reason, whether the room ends within the first buffer of bytes
    // or after it, for a book smaller than a buffer or larger. The old file stays as it was and the document
    // stays edited.
    void aDiskWithoutRoomLeavesTheOldFileWholeAndSaysWhy_data() {
        QTest::addColumn<qint64>("room");
        QTest::addColumn<int>("recipes");
        QTest::newRow("no room") << qint64(0) << 10;
        QTest::newRow("less than a buffer") << qint64(1000) << 10;
        QTest::newRow("more than a buffer") << qint64(40'000) << 400;
    }
    void aDiskWithoutRoomLeavesTheOldFileWholeAndSaysWhy() {
        ORZA_TEST_IN_CHILD_PROCESS();
        QFETCH(qint64, room);
        QFETCH(int, recipes);
        const QString path = filePath("full.orzabook");
        OrzaTest::saveBook(OrzaTest::bookWithRecipes({"Old"}), path);
        const QByteArray old = readAll(path);

        std::vector<std::string> names;
        for (int i = 0; i < recipes; ++i)
            names.push_back("Glaze " + std::to_string(i));
        BookDocument document(GlazeDocument::make(OrzaTest::bookWithRecipes(names), false), path);
        document.markEdited();
        QVERIFY(GlazeCore::GlazeBookCodec::encode(document.book()).size() > std::size_t(room) + 1000);
        try {
            OrzaTest::FileSizeLimit limit(room);
            document.save(path);
            QFAIL("a book that did not fit on the disk was saved");
        } catch (const DocumentError& error) {
            const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
            QCOMPARE(
                error.message(),
                QStringLiteral("The file could not be written: %1. The file on disk was not changed.").arg(reason));
        }
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(filePath(QString())).entryList(QDir::Files), QStringList{QStringLiteral("full.orzabook")});
        QVERIFY(document.isModified());
        QCOMPARE(document.filePath(), path);
    }

    // A large file whose first bytes start no book is refused as not a book from those bytes, the rest unread: an
    // archive, zeros, JSON that is not an object, a book's start in UTF-16 or with a control byte. A book's own
    // start, or white space longer than the bytes looked at, is read on.
    void aLargeFileIsRefusedByItsFirstBytes_data() {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<char>("filler");
        QTest::addColumn<bool>("readWhole");
        QTest::newRow("archive") << QByteArray("PK\x03\x04\x14\x00\x06\x00", 8) << ' ' << false;
        QTest::newRow("zeros") << QByteArray() << '\0' << false;
        QTest::newRow("list") << QByteArray("[{\"recipes\": []}") << ' ' << false;
        QTest::newRow("utf-16") << QByteArray("\xFF\xFE{\x00\"\x00", 6) << ' ' << false;
        QTest::newRow("not UTF-8") << QByteArray("{\"r\xE9\"") << ' ' << false;
        QTest::newRow("name unquoted") << QByteArray("{ recipes: [] }") << ' ' << false;
        QTest::newRow("book's start") << QByteArray("\xEF\xBB\xBF  \n{\n  \"customMaterials\" : [") << ' ' << true;
        QTest::newRow("white space") << QByteArray() << '\n' << true;
    }
    void aLargeFileIsRefusedByItsFirstBytes() {
        QFETCH(QByteArray, start);
        QFETCH(char, filler);
        QFETCH(bool, readWhole);
        const QString path = filePath("large.orzabook");
        constexpr qint64 size = qint64(64) << 20;
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(start), start.size());
            // Zeros are left as a hole in the file.
            QVERIFY(filler == '\0' ? file.resize(size) : file.write(QByteArray(size - start.size(), filler)) > 0);
        }
        const qint64 before = bytesReadSoFar();
        QVERIFY(before >= 0);
        try {
            GlazeDocument::read(path);
            QFAIL("a file that is no book was read as one");
        } catch (const DocumentError& error) {
            QCOMPARE(error.message(), QStringLiteral("The file is not a glaze book, or it is damaged. The file was "
                                                     "not changed."));
        }
        const qint64 read = bytesReadSoFar() - before;
        QVERIFY2(readWhole ? read >= size : read < size / 64, qPrintable(QString::number(read)));
    }

    // The system's reason can quote the file's path, line breaks and direction controls and all: the message
    // writes them out. Here a file that may not be written, for a user other than root.
    void aReasonThatQuotesThePathShowsItsControls() {
        ORZA_TEST_IN_CHILD_PROCESS();
        const QString folder = filePath(QStringLiteral("Glazes\u202Eevil\nline"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/kept.orzabook");
        OrzaTest::saveBook(OrzaTest::bookWithRecipes({"Old"}), path);
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        for (QString step = folder; step.size() > 1; step = QFileInfo(step).path())
            QFile::setPermissions(step, QFile::permissions(step) | QFileDevice::ExeOther | QFileDevice::ReadOther);
        // Root may write any file: the save runs as nobody, the saved ids kept so that root comes back to clear
        // the files away.
        const bool root = geteuid() == 0;
        if (root)
            QVERIFY(setgroups(0, nullptr) == 0 && setresgid(65534, 65534, 0) == 0 && setresuid(65534, 65534, 0) == 0);
        const auto asBefore = qScopeGuard([&] {
            if (root && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0)) qFatal("could not become root again");
        });

        const BookDocument document(GlazeDocument::make(OrzaTest::bookWithRecipes({"New"}), false));
        try {
            document.document().save(path);
            QFAIL("a file that may not be written was saved");
        } catch (const DocumentError& error) {
            const QString message = error.message();
            QVERIFY2(message.contains(QStringLiteral("Glazes\\u202Eevil\\u000Aline")), qPrintable(message));
            QVERIFY(!message.contains(QChar(0x202E)) && !message.contains(QLatin1Char('\n')));
        }
    }
};

QTEST_MAIN(GlazeDocumentTest)
#include "GlazeDocumentTest.moc"
