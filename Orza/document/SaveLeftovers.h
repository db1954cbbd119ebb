#pragma once

#include <QString>

namespace Orza {

/**
 * A save writes the book to a file of its own and, once it is whole, puts it in the book's place; on the way that
 * file takes a name beside the book, the book's name with a dot and six letters added (QSaveFile's). A save cut short
 * there, the program killed, leaves the file under that name. While a save runs, a note in the application's data
 * folder names the book, the file (by its device and inode) and the process writing it, so that such a file can be
 * told from any of the user's own named alike and removed when the book is next opened or saved. A file no note names
 * is never removed, nor one whose note is still locked by its writer.
 */
class SaveNote {
public:
    /// Notes the file this process has open as `descriptor` to save the book at `bookPath`; no note when the file or
    /// the folder of the notes cannot be told, and the file is then never removed.
    SaveNote(const QString& bookPath, int descriptor);
    /// The save is over, its file in the book's place or dropped: the note goes.
    ~SaveNote();
    SaveNote(const SaveNote&) = delete;
    SaveNote& operator=(const SaveNote&) = delete;

private:
    QString m_notePath;
    int m_lock = -1; // the note, locked while the save runs
};

/// Removes the files that saves of the book at `bookPath` left when they were cut short: beside the book under its
/// name with a dot and six letters, each still the file a note names (the same device and inode, this user's, under
/// no other name), and the process that noted it gone. The notes of those saves go too. Never throws.
void removeSaveLeftovers(const QString& bookPath);

/// The folder of the notes; empty when the application has no data folder.
QString saveNotesFolder();

} // namespace Orza
