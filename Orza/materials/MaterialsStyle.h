#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>

class QLabel;
class QWidget;

// How the Materials page sets its text: the few sizes, weights and colours its views share.
namespace Orza::MaterialsStyle {

/// Small print under a row: ids, notes, messages.
QFont captionFont(const QFont& base);
/// A section's heading in running text.
QFont headlineFont(const QFont& base);
/// The name at the top of a material's detail.
QFont titleFont(const QFont& base);

/// Text that matters less than its neighbours.
void makeSecondary(QLabel* label);

/// One of the page's symbols ("checkmark.circle", …), falling back to the application's own set, drawn in the
/// palette's text colour ("lock").
QIcon symbol(const QString& name);

} // namespace Orza::MaterialsStyle
