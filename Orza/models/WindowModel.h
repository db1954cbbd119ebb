#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "Orza/models/WindowTypes.h"

#include <QObject>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace Orza {

class BookLibrary;

/**
 * The per-window state that the sidebar, panes and sheets share and that is not part of the book:
 * selection, Stull trails, which sheet is open, the test log's search and the label scope.
 *
 * One instance per window, main thread only. Every property has one change signal, sent only when the
 * value really changes; the sheet requests have no equality and signal on every write.
 */
class WindowModel final : public QObject {
    Q_OBJECT
public:
    using Trails = std::unordered_map<GlazeCore::Uuid, std::vector<StullPoint>>;
    static constexpr std::size_t maxTrailPoints = 6;
    static constexpr double trailTolerance = 1e-6;

    explicit WindowModel(QObject* parent = nullptr);

    const std::optional<SidebarItem>& selection() const { return m_selection; }
    void setSelection(const std::optional<SidebarItem>& value);

    const Trails& trails() const { return m_trails; }
    /// The trail of one recipe, oldest first; empty when it has none.
    const std::vector<StullPoint>& trail(const GlazeCore::Uuid& recipeID) const;
    /// Appends the point unless it is within the tolerance of the trail's last point; keeps the newest six.
    void recordTrail(const StullPoint& point, const GlazeCore::Uuid& recipeID);

    const std::optional<BlendMode>& blendMode() const { return m_blendMode; }
    void setBlendMode(const std::optional<BlendMode>& value);

    bool showBatch() const { return m_showBatch; }
    void setShowBatch(bool value);

    bool dialogShown() const { return m_dialogShown; }
    void setDialogShown(bool value);

    const std::optional<NudgeRequest>& nudge() const { return m_nudge; }
    void setNudge(const std::optional<NudgeRequest>& value);

    const std::optional<ReplaceRequest>& replace() const { return m_replace; }
    void setReplace(const std::optional<ReplaceRequest>& value);

    const std::string& testQuery() const { return m_testQuery; }
    void setTestQuery(const std::string& value);

    const std::optional<std::string>& testCone() const { return m_testCone; }
    void setTestCone(const std::optional<std::string>& value);

    const std::optional<std::string>& testAtmosphere() const { return m_testAtmosphere; }
    void setTestAtmosphere(const std::optional<std::string>& value);

    const std::optional<GlazeCore::Uuid>& testSelection() const { return m_testSelection; }
    void setTestSelection(const std::optional<GlazeCore::Uuid>& value);

    bool wantsTestSearchFocus() const { return m_wantsTestSearchFocus; }
    void setWantsTestSearchFocus(bool value);

    bool showLabels() const { return m_showLabels; }
    void setShowLabels(bool value);

    LabelScope labelScope() const { return m_labelScope; }
    void setLabelScope(LabelScope value);

    /// A search text (after trimming blanks and tabs), a cone or an atmosphere narrows the test log.
    bool isFiltering() const;
    /// A sheet or a dialog of the window is up; the commands that need a handler then wait.
    bool anySheetShown() const;
    /// The tiles the test log shows: all of them in book order, or those matching the search, searched afresh.
    /// For a book with no document, as in a plain model; a window's test log finds them with shownTests().
    std::vector<GlazeCore::TestTile> filteredTests(const std::vector<GlazeCore::Recipe>& recipes,
                                                   const std::vector<GlazeCore::TestTile>& tiles,
                                                   const BookLibrary& library) const;

signals:
    void selectionChanged();
    void trailsChanged();
    void blendModeChanged();
    void showBatchChanged();
    void dialogShownChanged();
    void nudgeChanged();
    void replaceChanged();
    void testQueryChanged();
    void testConeChanged();
    void testAtmosphereChanged();
    void testSelectionChanged();
    void wantsTestSearchFocusChanged();
    void showLabelsChanged();
    void labelScopeChanged();

private:
    std::optional<SidebarItem> m_selection;
    Trails m_trails;
    std::optional<BlendMode> m_blendMode;
    bool m_showBatch = false;
    bool m_dialogShown = false;
    std::optional<NudgeRequest> m_nudge;
    std::optional<ReplaceRequest> m_replace;
    std::string m_testQuery;
    std::optional<std::string> m_testCone;
    std::optional<std::string> m_testAtmosphere;
    std::optional<GlazeCore::Uuid> m_testSelection;
    bool m_wantsTestSearchFocus = false;
    bool m_showLabels = false;
    LabelScope m_labelScope = LabelScope::all;
};

} // namespace Orza
