#include "Orza/document/GlazeDocument.h"

#include "GlazeCore/book/GlazeBookCodec.h"
#include "Orza/document/BookDocument.h"
#include "Orza/document/DocumentError.h"
#include "Orza/document/SaveLeftovers.h"
#include "support/ChildRun.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSettings>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <string_view>

#include <dlfcn.h>
#include <grp.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Orza;

// In a child run that asks for it, the program is killed where a save's file, named beside the book, is about to take
// the book's place: a save cut short at its last step.
extern "C" int rename(const char* from, const char* to) noexcept {
    static const auto system = reinterpret_cast<int (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "rename"));
    if (qEnvironmentVariableIsSet("ORZA_TEST_KILL_AT_RENAME") && std::string_view(to).ends_with(".orzabook"))
        ::raise(SIGKILL);
    return system(from, to);
}

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

/// While it lives, `folder` is mounted read-only for this thread, in a mount namespace of its own; `mounted` is false
/// when the system allows no such namespace.
struct ReadOnlyMount {
    explicit ReadOnlyMount(const QString& folder) : name(QFile::encodeName(folder)) {
        // A user other than root may have a mount namespace within a user namespace of its own.
        mounted = (::unshare(CLONE_NEWNS) == 0 || ::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0) &&
                  ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                  ::mount(name.constData(), name.constData(), nullptr, MS_BIND, nullptr) == 0 &&
                  ::mount(nullptr, name.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    ~ReadOnlyMount() {
        if (mounted) ::umount(name.constData());
    }
    QByteArray name;
    bool mounted = false;
};

/// While it lives, the process runs as nobody when it runs as root (who may write any file), the saved ids kept so
/// that root comes back to clear the files away. The folders up to `folder` are opened to others.
struct OtherUser {
    explicit OtherUser(const QString& folder) : root(geteuid() == 0) {
        for (QString step = folder; step.size() > 1; step = QFileInfo(step).path())
            QFile::setPermissions(step, QFile::permissions(step) | QFileDevice::ExeOther | QFileDevice::ReadOther);
        if (root && (setgroups(0, nullptr) != 0 || setresgid(65534, 65534, 0) != 0 || setresuid(65534, 65534, 0) != 0))
            qFatal("could not become nobody");
    }
    ~OtherUser() {
        if (root && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0)) qFatal("could not become root again");
    }
    bool root;
};

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
    // start, or white space longer than the bytes looked at, is read on. Each control byte but white space refuses a
    // file (these in files of some megabytes, enough to tell a file read whole).
    void aLargeFileIsRefusedByItsFirstBytes_data() {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<char>("filler");
        QTest::addColumn<bool>("readWhole");
        QTest::addColumn<qint64>("size");
        constexpr qint64 large = qint64(64) << 20;
        QTest::newRow("archive") << QByteArray("PK\x03\x04\x14\x00\x06\x00", 8) << ' ' << false << large;
        QTest::newRow("zeros") << QByteArray() << '\0' << false << large;
        QTest::newRow("list") << QByteArray("[{\"recipes\": []}") << ' ' << false << large;
        QTest::newRow("utf-16") << QByteArray("\xFF\xFE{\x00\"\x00", 6) << ' ' << false << large;
        QTest::newRow("not UTF-8") << QByteArray("{\"r\xE9\"") << ' ' << false << large;
        QTest::newRow("name unquoted") << QByteArray("{ recipes: [] }") << ' ' << false << large;
        QTest::newRow("book's start") << QByteArray("\xEF\xBB\xBF  \n{\n  \"customMaterials\" : [") << ' ' << true
                                      << large;
        QTest::newRow("white space") << QByteArray() << '\n' << true << large;
        for (char byte = 0x0B; byte < 0x20; ++byte)
            if (byte != '\r')
                QTest::newRow(qPrintable(QStringLiteral("control 0x%1").arg(int(byte), 2, 16, QLatin1Char('0'))))
                    << (QByteArray(1, byte) + "{\n  \"customMaterials\" : [") << ' ' << false << (qint64(8) << 20);
    }
    void aLargeFileIsRefusedByItsFirstBytes() {
        QFETCH(QByteArray, start);
        QFETCH(char, filler);
        QFETCH(bool, readWhole);
        QFETCH(qint64, size);
        const QString path = filePath("large.orzabook");
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(start), start.size());
            // Zeros are left as a hole in the file.
            QVERIFY(filler == '\0' ? file.resize(size) : file.write(QByteArray(size - start.size(), filler)) > 0);
            QVERIFY(file.flush() && file.size() == size);
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

    // A book whose first 64 KiB, the bytes looked at before the rest is read, end inside a character of two, three or
    // four bytes opens: the cut is not the file's fault.
    void aBookWhoseFirstBytesEndInsideACharacterOpens_data() {
        QTest::addColumn<QByteArray>("character");
        QTest::addColumn<int>("bytesBefore");
        for (const QByteArray character : {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x94\xA5"})
            for (int before = 1; before < character.size(); ++before)
                QTest::newRow(qPrintable(QStringLiteral("%1 bytes, %2 before").arg(character.size()).arg(before)))
                    << character << before;
    }
    void aBookWhoseFirstBytesEndInsideACharacterOpens() {
        QFETCH(QByteArray, character);
        QFETCH(int, bytesBefore);
        constexpr std::size_t looked = std::size_t{64} << 10;
        GlazeCore::GlazeBook book = OrzaTest::bookWithRecipes({"Glaze"});
        const auto withName = [&](std::size_t padding) {
            book.recipes[0].name = std::string(padding, 'a') + character.toStdString() + std::string(looked, 'b');
            return GlazeCore::GlazeBookCodec::encode(book);
        };
        const std::size_t at = withName(looked / 2).find(character.toStdString());
        const std::string text = withName(looked / 2 + looked - std::size_t(bytesBefore) - at);
        QCOMPARE(text.find(character.toStdString()), looked - std::size_t(bytesBefore));
        const QString path = filePath("cut.orzabook");
        OrzaTest::writeAll(path, QByteArray::fromStdString(text));
        try {
            QVERIFY(GlazeDocument::read(path).book == book);
        } catch (const DocumentError& error) {
            QFAIL(qPrintable(error.message()));
        }
    }

    // A file that cannot be written fails the save with the system's own reason, never a sentence of Qt's own that
    // hides it: on a read-only mount (a bind mount of the test's folder in a mount namespace of the child's own) and,
    // for a user other than root, a file or folder that user may not write. The folder's name holds a line break
    // and a direction control, which no message shows raw.
    void aFileThatCannotBeWrittenSaysTheSystemsReason_data() {
        QTest::addColumn<bool>("readOnlyMount");
        QTest::addColumn<bool>("existing");
        QTest::newRow("read-only mount, a book there") << true << true;
        QTest::newRow("read-only mount, a new book") << true << false;
        QTest::newRow("not writable, a book there") << false << true;
        QTest::newRow("not writable, a new book") << false << false;
    }
    void aFileThatCannotBeWrittenSaysTheSystemsReason() {
        ORZA_TEST_IN_CHILD_PROCESS();
        QFETCH(bool, readOnlyMount);
        QFETCH(bool, existing);
        const QString folder = filePath(QStringLiteral("Glazes\u202Eevil\nline"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/kept.orzabook");
        if (existing) OrzaTest::saveBook(OrzaTest::bookWithRecipes({"Old"}), path);
        const QByteArray old = readAll(path);
        // Once the user is this one again, so that the folder can be cleared away.
        const QFileDevice::Permissions before = QFile::permissions(folder);
        const auto restore = qScopeGuard([&] { QFile::setPermissions(folder, before); });
        std::optional<ReadOnlyMount> mount;
        std::optional<OtherUser> nobody;
        if (readOnlyMount) {
            mount.emplace(folder);
            if (!mount->mounted) QSKIP("no mount namespace here");
        } else {
            QVERIFY(QFile::setPermissions(existing ? path : folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                                        QFileDevice::ReadOther |
                                                                        QFileDevice::ExeOther));
            nobody.emplace(folder);
        }

        const BookDocument document(GlazeDocument::make(OrzaTest::bookWithRecipes({"New"}), false));
        try {
            document.document().save(path);
            QFAIL("a file that may not be written was saved");
        } catch (const DocumentError& error) {
            const QString reason = QString::fromLocal8Bit(std::strerror(readOnlyMount ? EROFS : EACCES));
            QCOMPARE(
                error.message(),
                QStringLiteral("The file could not be written: %1. The file on disk was not changed.").arg(reason));
        }
        QCOMPARE(readAll(path), old);
    }

    // A save cut short at its last step, the program killed after the written file took a name beside the book and
    // before it took the book's place, leaves that file behind; the next open or save of the book removes it. Files
    // of the user's own named alike stay, and so does the file of a save still under way.
    void aSaveCutShortLeavesNothingPastTheNextOpenOrSave_data() {
        QTest::addColumn<bool>("opened");
        QTest::newRow("next open") << true;
        QTest::newRow("next save") << false;
    }
    void aSaveCutShortLeavesNothingPastTheNextOpenOrSave() {
        if (OrzaTest::isChildRun()) {
            clearFoldersOfKilledChild();
            GlazeDocument::make(OrzaTest::bookWithRecipes({"New"}), false).save(qEnvironmentVariable("ORZA_TEST_BOOK"));
            QFAIL("the save was not cut short");
        }
        QFETCH(bool, opened);
        const QString path = filePath("k.orzabook");
        OrzaTest::saveBook(OrzaTest::bookWithRecipes({"Old"}), path);
        const QByteArray old = readAll(path);
        QStringList kept{QStringLiteral("k.orzabook"), QStringLiteral("k.orzabook.AbCdEf"),
                         QStringLiteral("k.orzabook.backup"), QStringLiteral("k.orzabook.QwErTy")};
        for (const QString& name : kept.mid(1))
            OrzaTest::writeAll(filePath(name), old);
        // A save under way in this process, its file named beside the book.
        QFile underWay(filePath(kept.back()));
        QVERIFY(underWay.open(QIODevice::ReadWrite));
        const SaveNote note(path, underWay.handle());

        QByteArray output;
        QVERIFY2(!OrzaTest::runInChild(
                     output, {QStringLiteral("ORZA_TEST_BOOK=") + path, QStringLiteral("ORZA_TEST_KILL_AT_RENAME=1")}),
                 output.constData());
        QCOMPARE(readAll(path), old);
        const QStringList afterKill = QDir(filePath(QString())).entryList(QDir::Files);
        QCOMPARE(afterKill.size(), kept.size() + 1);
        for (const QString& name : afterKill)
            if (!kept.contains(name)) QVERIFY(readAll(filePath(name)).contains("\"New\""));

        if (opened)
            QCOMPARE(GlazeDocument::read(path).book.recipes[0].name, std::string("Old"));
        else
            OrzaTest::saveBook(OrzaTest::bookWithRecipes({"Newer"}), path);
        QStringList left = QDir(filePath(QString())).entryList(QDir::Files);
        left.sort();
        kept.sort();
        QCOMPARE(left, kept);
        for (const QString& name : kept.mid(1))
            QCOMPARE(readAll(filePath(name)), old);
    }

    void aLeftoverStaysWhileItsWriterHoldsItsNote() {
        // A writer no process check can see (another process namespace, another machine on a shared home): the
        // number its note gives is of a process gone here, but it holds the note's lock.
        const QString path = filePath("w.orzabook");
        OrzaTest::saveBook(OrzaTest::bookWithRecipes({"Old"}), path);
        const QString leftover = filePath("w.orzabook.XyZ123");
        OrzaTest::writeAll(leftover, readAll(path));
        const pid_t gone = ::fork();
        if (gone == 0) ::_exit(0);
        ::waitpid(gone, nullptr, 0);
        const auto writeNote = [&](const QString& name, const QString& file) {
            struct stat status {};
            QVERIFY(::stat(QFile::encodeName(file).constData(), &status) == 0);
            QVERIFY(QDir().mkpath(saveNotesFolder()));
            OrzaTest::writeAll(saveNotesFolder() + QLatin1Char('/') + name,
                               "book " + QFileInfo(path).canonicalFilePath().toUtf8().toPercentEncoding() +
                                   "\ndevice " + QByteArray::number(quint64(status.st_dev)) + "\ninode " +
                                   QByteArray::number(quint64(status.st_ino)) + "\npid " + QByteArray::number(gone) +
                                   "\n");
        };
        writeNote(QStringLiteral("held.note"), leftover);
        // A note left by a save that finished, naming the book's own file, goes at the first look.
        writeNote(QStringLiteral("finished.note"), path);
        QFile held(saveNotesFolder() + QStringLiteral("/held.note"));
        QVERIFY(held.open(QIODevice::ReadOnly));
        QVERIFY(::flock(held.handle(), LOCK_EX) == 0);

        GlazeDocument::read(path);
        QVERIFY(QFile::exists(leftover));
        QVERIFY(!QFile::exists(saveNotesFolder() + QStringLiteral("/finished.note")));
        QVERIFY(QFile::exists(path));
        held.close();
        GlazeDocument::read(path);
        QVERIFY(!QFile::exists(leftover));
        QVERIFY(!QFile::exists(held.fileName()));
    }

private:
    /// A child that is to be killed clears its test's folders first, as its end would have.
    void clearFoldersOfKilledChild() {
        QDir(filePath(QString())).removeRecursively();
        QDir settings = QFileInfo(QSettings().fileName()).dir();
        if (settings.cdUp() && settings.path().startsWith(QDir::tempPath())) settings.removeRecursively();
    }
};

QTEST_MAIN(GlazeDocumentTest)
#include "GlazeDocumentTest.moc"
