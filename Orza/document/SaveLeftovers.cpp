#include "Orza/document/SaveLeftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace Orza {

namespace {

// The letters QSaveFile puts after the book's name and a dot, for the file it writes or the name it gives that file
// just before it takes the book's place.
constexpr qsizetype suffixLength = 6;
constexpr qint64 longestNote = 16 << 10;

/// A save's file and the process writing it, as its note keeps them.
struct Note {
    QString book;
    quint64 device = 0;
    quint64 inode = 0;
    QByteArray born;
    qint64 pid = 0;
    QByteArray started;
    QByteArray boot;
};

std::optional<struct statx> statusOf(int folder, const char* path, int flags) {
    struct statx status {};
    constexpr unsigned wanted = STATX_TYPE | STATX_NLINK | STATX_UID | STATX_INO | STATX_BTIME;
    if (::statx(folder, path, flags, wanted, &status) != 0) return std::nullopt;
    return status;
}

quint64 deviceOf(const struct statx& status) {
    return makedev(status.stx_dev_major, status.stx_dev_minor);
}

// When the file was made, where the file system keeps it: tells the file from a later one given the same inode.
QByteArray bornOf(const struct statx& status) {
    if (!(status.stx_mask & STATX_BTIME)) return {};
    return QByteArray::number(status.stx_btime.tv_sec) + '.' + QByteArray::number(status.stx_btime.tv_nsec);
}

QByteArray firstLineOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readLine(256).trimmed();
}

// Tells this boot from the ones before it: a process noted before the last start of the system is gone.
QByteArray bootId() {
    static const QByteArray id = firstLineOf(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    return id;
}

// When the process started, in clock ticks since the boot: tells a process from a later one given the same number.
QByteArray startOf(qint64 pid) {
    const QByteArray stat = firstLineOf(QStringLiteral("/proc/%1/stat").arg(pid));
    // The name in parentheses may hold spaces; the start time is the 20th field after it.
    const qsizetype nameEnd = stat.lastIndexOf(')');
    if (nameEnd < 0) return {};
    const QList<QByteArray> fields = stat.mid(nameEnd + 2).split(' ');
    return fields.size() > 19 ? fields[19] : QByteArray();
}

QByteArray encode(const Note& note) {
    return "book " + note.book.toUtf8().toPercentEncoding() + "\ndevice " + QByteArray::number(note.device) +
           "\ninode " + QByteArray::number(note.inode) + "\nborn " + note.born + "\npid " +
           QByteArray::number(note.pid) + "\nstarted " + note.started + "\nboot " + note.boot + "\n";
}

std::optional<Note> decode(const QByteArray& text) {
    Note note;
    bool read[3] = {false, false, false};
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype space = line.indexOf(' ');
        const QByteArray key = line.left(space);
        const QByteArray value = space < 0 ? QByteArray() : line.mid(space + 1);
        if (key == "book") note.book = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
        if (key == "device") note.device = value.toULongLong(&read[0]);
        if (key == "inode") note.inode = value.toULongLong(&read[1]);
        if (key == "pid") note.pid = value.toLongLong(&read[2]);
        if (key == "born") note.born = value;
        if (key == "started") note.started = value;
        if (key == "boot") note.boot = value;
    }
    if (note.book.isEmpty() || !read[0] || !read[1] || !read[2] || note.pid <= 0) return std::nullopt;
    return note;
}

// Whether the writer still holds its note's lock: the lock goes with the process, wherever it runs, so this sees a
// writer that the process checks below cannot (another process namespace, another machine on a shared home).
bool noteLocked(int descriptor) {
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
        ::flock(descriptor, LOCK_UN);
        return false;
    }
    return errno == EWOULDBLOCK;
}

// A process that may be the writer counts as alive: its file is then left for a later look.
bool writerGone(const Note& note, int noteDescriptor) {
    if (noteLocked(noteDescriptor)) return false;
    if (!note.boot.isEmpty() && !bootId().isEmpty() && note.boot != bootId()) return true;
    if (::kill(static_cast<pid_t>(note.pid), 0) != 0 && errno == ESRCH) return true;
    const QByteArray started = startOf(note.pid);
    return !note.started.isEmpty() && !started.isEmpty() && started != note.started;
}

bool isSuffix(QStringView text) {
    if (text.size() != suffixLength) return false;
    for (const QChar c : text)
        if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))) return false;
    return true;
}

// The book's path as every save names it, its links followed, whether or not the file is there yet.
QString bookPathOf(const QString& path) {
    const QFileInfo info(path);
    if (const QString canonical = info.canonicalFilePath(); !canonical.isEmpty()) return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + info.fileName();
}

// Whether `note` names the book's own file: its save was whole and in place before its note could go.
bool namesTheBook(const Note& note, const std::optional<struct statx>& book) {
    return book && deviceOf(*book) == note.device && book->stx_ino == note.inode;
}

std::vector<Note> notesOfGoneWriters(const QString& book, const QDir& notes, QStringList& notePaths) {
    std::vector<Note> found;
    const std::optional<struct statx> bookStatus = statusOf(AT_FDCWD, QFile::encodeName(book).constData(), 0);
    for (const QString& name : notes.entryList({QStringLiteral("*.note")}, QDir::Files)) {
        QFile file(notes.filePath(name));
        if (!file.open(QIODevice::ReadOnly) || file.size() > longestNote) continue;
        const std::optional<Note> note = decode(file.readAll());
        if (!note || note->book != book || !writerGone(*note, file.handle())) continue;
        if (namesTheBook(*note, bookStatus)) {
            // Nothing of it is left beside the book; a file given the book's inode later must never match it.
            file.remove();
            continue;
        }
        found.push_back(*note);
        notePaths.push_back(file.fileName());
    }
    return found;
}

// Whether the file at `path` is the one a note names: nothing else is removed.
bool isNotedFile(const QByteArray& path, const std::vector<Note>& notes) {
    const std::optional<struct statx> status = statusOf(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW);
    if (!status || !S_ISREG(status->stx_mode) || status->stx_uid != ::geteuid() || status->stx_nlink != 1) return false;
    return std::any_of(notes.begin(), notes.end(), [&](const Note& note) {
        return deviceOf(*status) == note.device && status->stx_ino == note.inode &&
               (note.born.isEmpty() || note.born == bornOf(*status));
    });
}

} // namespace

QString saveNotesFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/saves under way");
}

SaveNote::SaveNote(const QString& bookPath, int descriptor) {
    const std::optional<struct statx> status = statusOf(descriptor, "", AT_EMPTY_PATH);
    if (!status) return;
    const Note note{bookPathOf(bookPath), deviceOf(*status),   status->stx_ino, bornOf(*status),
                    ::getpid(),           startOf(::getpid()), bootId()};
    const QString folder = saveNotesFolder();
    if (note.book.isEmpty() || folder.isEmpty() || !QDir().mkpath(folder)) return;
    const QString path = QStringLiteral("%1/%2-%3-%4.note").arg(folder).arg(note.pid).arg(note.device).arg(note.inode);
    // Locked before it is written and kept locked under its name until the save is over, so that no look at it
    // finds it whole and unlocked while this process writes.
    const QByteArray part = QFile::encodeName(path + QStringLiteral(".part"));
    const int noteFile = ::open(part.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (noteFile < 0) return;
    const QByteArray text = encode(note);
    if (::flock(noteFile, LOCK_EX) != 0 || ::write(noteFile, text.constData(), text.size()) != text.size() ||
        ::rename(part.constData(), QFile::encodeName(path).constData()) != 0) {
        ::unlink(part.constData());
        ::close(noteFile);
        return;
    }
    m_notePath = path;
    m_lock = noteFile;
}

SaveNote::~SaveNote() {
    if (!m_notePath.isEmpty()) QFile::remove(m_notePath);
    if (m_lock >= 0) ::close(m_lock);
}

void removeSaveLeftovers(const QString& bookPath) {
    const QString book = bookPathOf(bookPath);
    const QString folder = saveNotesFolder();
    if (book.isEmpty() || folder.isEmpty()) return;
    QStringList notePaths;
    const std::vector<Note> notes = notesOfGoneWriters(book, QDir(folder), notePaths);
    if (notes.empty()) return;
    const QFileInfo info(book);
    const QString prefix = info.fileName() + QLatin1Char('.');
    const QDir beside(info.path());
    bool allGone = true;
    for (const QString& name : beside.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!name.startsWith(prefix) || !isSuffix(QStringView(name).mid(prefix.size()))) continue;
        const QByteArray path = QFile::encodeName(beside.filePath(name));
        if (isNotedFile(path, notes) && ::unlink(path.constData()) != 0) allGone = false;
    }
    // The writers are gone and so are their files: the notes have nothing more to tell.
    if (allGone)
        for (const QString& notePath : notePaths)
            QFile::remove(notePath);
}

} // namespace Orza
