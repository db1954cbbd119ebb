#pragma once

namespace Orza {

/// Registers the application's icons; the resources live in a static library, which the linker would
/// otherwise leave out. Safe to call more than once.
void ensureResources();

} // namespace Orza
