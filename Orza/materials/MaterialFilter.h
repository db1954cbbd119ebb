#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <QString>

#include <cstddef>
#include <vector>

namespace Orza {

/**
 * The Materials page's search, the same for both lists: the query trimmed of spaces and tabs and
 * lower-cased; a material passes when its name, else its id, else its source contains it, ignoring case.
 * An empty query passes everything. The list's own order is kept; nothing is sorted.
 */
class MaterialFilter {
public:
    explicit MaterialFilter(const QString& query = {});

    bool isEmpty() const { return m_needle.isEmpty(); }
    bool matches(const GlazeCore::Material& material) const;
    /// The positions in `materials` of those that pass, in list order.
    std::vector<std::size_t> positions(const std::vector<GlazeCore::Material>& materials) const;

private:
    bool contains(const std::string& text) const;

    QString m_needle;
};

} // namespace Orza
