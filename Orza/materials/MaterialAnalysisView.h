#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <QWidget>

namespace Orza {

/**
 * A material shown without editing: its name, the read-only note for a built-in material, id, loss on
 * ignition, source and the oxides of its analysis above 0, with two decimals, in the fixed oxide order.
 * It holds a copy of the material and shows exactly that copy.
 */
class MaterialAnalysisView final : public QWidget {
    Q_OBJECT
public:
    MaterialAnalysisView(GlazeCore::Material material, bool readOnly, QWidget* parent = nullptr);

    const GlazeCore::Material& material() const { return m_material; }
    bool isReadOnly() const { return m_readOnly; }

private:
    QWidget* makeAnalysisGrid();

    GlazeCore::Material m_material;
    bool m_readOnly;
};

} // namespace Orza
