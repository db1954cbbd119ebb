#pragma once

#include <QString>

class QWidget;

/// Where the panels that choose a file start: beside the book they were opened for, as a potter keeps the
/// photos and sheets of a book with it, else in the folder last used.
namespace Orza::StartFolder {

/// The folder of the book whose window holds `widget` (a sheet of that window counts): the window names
/// its book's file as its window file path. Empty for an untitled book or outside a book window.
QString ofBook(const QWidget* widget);
/// Where the panels start when the book has no folder of its own: the folder last used, else the documents
/// folder, else the home folder; only folders that exist.
QString lastUsed();
/// The book's folder, else the folder last used.
QString forPanel(const QWidget* widget);
/// Keeps the folder of a file the user chose as the folder last used.
void remember(const QString& chosenPath);

} // namespace Orza::StartFolder
