#pragma once

class QFrame;

namespace Orza {

/// A sunken horizontal rule between the sections of a sheet or a pane's table and its buttons.
QFrame* divider();

/// A plain horizontal hairline in the palette's mid tone, between the regions of a page.
QFrame* hairline();

} // namespace Orza
