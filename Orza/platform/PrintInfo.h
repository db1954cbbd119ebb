#pragma once

class QPageSetupDialog;
class QPrinter;
class QWidget;

/// The page setup that every print of the application starts from, and the panel that changes it.
namespace Orza::PrintInfo {

/// One printer set-up for the whole process: paper, orientation and margins as last chosen.
QPrinter& shared();

/// Opens the page-layout panel for the shared set-up, modal to `parent`'s window when there is one.
/// While a panel is open, asking again brings that one forward.
void runPageLayout(QWidget* parent);

/// The open page-layout panel, or none; tests close it.
QPageSetupDialog* openPanel();

} // namespace Orza::PrintInfo
