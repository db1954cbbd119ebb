#include "Orza/models/WindowModel.h"

#include "GlazeCore/search/TestSearch.h"
#include "GlazeCore/text/UnicodeText.h"
#include "Orza/library/BookLibrary.h"

#include <QLocale>
#include <QTimeZone>

#include <cmath>

namespace Orza {

namespace {

/// Stores the value and reports whether it changed, so that setters signal only real changes.
template <class T> bool store(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}

} // namespace

WindowModel::WindowModel(QObject* parent) : QObject(parent) {}

void WindowModel::setSelection(const std::optional<SidebarItem>& value) {
    if (store(m_selection, value)) emit selectionChanged();
}

const std::vector<StullPoint>& WindowModel::trail(const GlazeCore::Uuid& recipeID) const {
    static const std::vector<StullPoint> none;
    const auto found = m_trails.find(recipeID);
    return found == m_trails.end() ? none : found->second;
}

void WindowModel::recordTrail(const StullPoint& point, const GlazeCore::Uuid& recipeID) {
    std::vector<StullPoint>& points = m_trails[recipeID];
    if (!points.empty()) {
        const StullPoint& last = points.back();
        if (std::abs(last.siO2 - point.siO2) < trailTolerance && std::abs(last.al2O3 - point.al2O3) < trailTolerance)
            return;
    }
    points.push_back(point);
    if (points.size() > maxTrailPoints)
        points.erase(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(points.size() - maxTrailPoints));
    emit trailsChanged();
}

void WindowModel::setBlendMode(const std::optional<BlendMode>& value) {
    if (store(m_blendMode, value)) emit blendModeChanged();
}

void WindowModel::setShowBatch(bool value) {
    if (store(m_showBatch, value)) emit showBatchChanged();
}

void WindowModel::setDialogShown(bool value) {
    if (store(m_dialogShown, value)) emit dialogShownChanged();
}

void WindowModel::setNudge(const std::optional<NudgeRequest>& value) {
    m_nudge = value;
    emit nudgeChanged();
}

void WindowModel::setReplace(const std::optional<ReplaceRequest>& value) {
    m_replace = value;
    emit replaceChanged();
}

void WindowModel::setTestQuery(const std::string& value) {
    if (store(m_testQuery, value)) emit testQueryChanged();
}

void WindowModel::setTestCone(const std::optional<std::string>& value) {
    if (store(m_testCone, value)) emit testConeChanged();
}

void WindowModel::setTestAtmosphere(const std::optional<std::string>& value) {
    if (store(m_testAtmosphere, value)) emit testAtmosphereChanged();
}

void WindowModel::setTestSelection(const std::optional<GlazeCore::Uuid>& value) {
    if (store(m_testSelection, value)) emit testSelectionChanged();
}

void WindowModel::setWantsTestSearchFocus(bool value) {
    if (store(m_wantsTestSearchFocus, value)) emit wantsTestSearchFocusChanged();
}

void WindowModel::setShowLabels(bool value) {
    if (store(m_showLabels, value)) emit showLabelsChanged();
}

void WindowModel::setLabelScope(LabelScope value) {
    if (store(m_labelScope, value)) emit labelScopeChanged();
}

bool WindowModel::isFiltering() const {
    return !GlazeCore::UnicodeText::trimSpacesAndTabs(m_testQuery).empty() || m_testCone || m_testAtmosphere;
}

bool WindowModel::anySheetShown() const {
    return m_blendMode || m_showBatch || m_dialogShown || m_nudge || m_replace || m_showLabels;
}

std::vector<GlazeCore::TestTile> WindowModel::filteredTests(const std::vector<GlazeCore::Recipe>& recipes,
                                                            const std::vector<GlazeCore::TestTile>& tiles,
                                                            const BookLibrary& library) const {
    if (!isFiltering()) return tiles;
    const auto names = GlazeCore::TestSearch::materialNames(library);
    return GlazeCore::TestSearch::results(tiles, recipes, names, m_testQuery, m_testCone, m_testAtmosphere,
                                          QTimeZone::systemTimeZoneId().toStdString(), QLocale().name().toStdString());
}

} // namespace Orza
