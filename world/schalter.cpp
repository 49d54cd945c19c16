#include "world/schalter.hpp"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "base/text.hpp"
#include "platform/platform.hpp"
#include "records/field_registry.hpp"
#include "world/gegenstand.hpp"
#include "world/karten_tile.hpp"
#include "world/message_log.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// --- the effect text -------------------------------------------------------------------------

std::optional<SwitchMode> mode_named(const std::string& token) {
    if (token == "TOGGLE") return SwitchMode::Toggle;
    if (token == "ACTIVATE") return SwitchMode::Activate;
    if (token == "DEACTIVATE") return SwitchMode::Deactivate;
    return std::nullopt;
}

// The cells a switch searches: one column or row, or -1 for all of them.
struct Span {
    int32_t first;
    int32_t last;

    static Span of(int32_t ziel, int32_t size) {
        if (ziel == -1) return {0, std::clamp(size, 0, kGridSize) - 1};
        // A cell off the grid holds nothing; leaving it out also keeps the walk from counting up
        // to the end of the integer range.
        if (ziel < 0 || ziel >= kGridSize) return {0, -1};
        return {ziel, ziel};
    }
    bool holds(int32_t n) const { return n >= first && n <= last; }
};

// Only integer fields switch; a text field is left alone. The value is written back as decimal
// text through the registry, the way a data file would set it.
void switch_field(SwitchMode mode, const TField& field, Record& target) {
    if (field.Kind() != FieldKind::Int) return;
    const int32_t value = field.GetInt(target);
    std::optional<int32_t> changed;
    switch (mode) {
        case SwitchMode::Toggle:
            changed = 1 - value;
            break;
        case SwitchMode::Activate:
            if (value == 0) changed = 1;
            break;
        case SwitchMode::Deactivate:
            if (value == 1) changed = 0;
            break;
    }
    if (!changed) return;
    field.Set(target, FieldValue(int_to_text(*changed)));
    if (mode == SwitchMode::Deactivate) print_line(field.Name() + " deactivated");
}

// --- the switch pass -------------------------------------------------------------------------

void show(const TSchalter& schalter, const std::string& standard) {
    log_message(schalter.comment.empty() ? standard : schalter.comment);
}

bool stands_on(const SwitchUser& user, const TSchalter& schalter) {
    return user.x == schalter.x && user.y == schalter.y;
}

// `nth` counts the switches of the tile, whatever their kind: only the first one of a tile
// announces itself, so a button behind a trigger stays quiet until it is used.
void act(TSchalter& schalter, int32_t nth, const SwitchUser& user) {
    const std::string art = lower_case(schalter.art);
    if (art == "trigger") {
        if (!stands_on(user, schalter)) return;
        schalter.parse_wirkung();
        show(schalter, "You triggered " + schalter.name + "!");
    } else if (art == "button") {
        if (!stands_on(user, schalter)) return;
        if (user.usemode != 0) {
            schalter.parse_wirkung();
            show(schalter, "You use " + schalter.name + "!");
        } else if (nth < 2) {
            log_message("There is a " + schalter.name + " here.");
        }
    } else if (art == "exit") {
        // The way out: standing on it ends the game as a victory once the turn is over.
        if (!stands_on(user, schalter)) return;
        const std::string text = schalter.comment.empty() ? kEscapedText : schalter.comment;
        log_message(text);
        escape_text = text;
    }
}

}  // namespace

// A switch keeps no state: a trigger fires on every turn the player spends on it, a button on
// every turn the use key pressed it.
// Only the tiles holding switches are visited, in the order of a walk over the whole map.
int32_t TSchalter::update(const SwitchUser& user) {
    const std::vector<MapCell>& cells = tile_tracking.cells_with_switches();
    for (size_t k = 0; k < cells.size(); ++k) {
        TKartenTile* tile = tile_grid.at(cells[k].x, cells[k].y);
        RecordList* objects = tile ? tile->objects_if_any() : nullptr;
        if (objects == nullptr) continue;
        int32_t nth = 0;
        objects->for_each_of<TSchalter>(
            [&](std::shared_ptr<TSchalter>& schalter) { act(*schalter, ++nth, user); });
    }
    return 0;
}

std::vector<SwitchStep> read_switch_text(const std::string& wirkung) {
    std::vector<SwitchStep> steps;
    SwitchMode mode = SwitchMode::Toggle;
    auto take = [&](std::string token) {
        if (std::optional<SwitchMode> named = mode_named(token)) {
            mode = *named;
        } else if (!token.empty()) {  // "||" or an empty text names nothing
            steps.push_back({mode, std::move(token)});
        }
    };
    size_t start = 0;
    for (size_t bar; (bar = wirkung.find('|', start)) != std::string::npos; start = bar + 1)
        take(wirkung.substr(start, bar - start));
    take(wirkung.substr(start));
    return steps;
}

// Teleports, switches and furniture are not items, and monsters never stand in the lists.
std::shared_ptr<TGegenstand> switch_target(const TSchalter& schalter) {
    const Span columns = Span::of(schalter.ziel_x, map_width);
    const Span rows = Span::of(schalter.ziel_y, map_height);
    std::shared_ptr<TGegenstand> target;
    // Only tiles holding objects can hold the target; they come in the order of the search,
    // column by column, so the search starts at its first column.
    const std::vector<MapCell>& cells = tile_tracking.cells_with_objects();
    const auto first =
        std::lower_bound(cells.begin(), cells.end(), columns.first,
                         [](const MapCell& cell, int32_t column) { return cell.x < column; });
    for (auto k = static_cast<size_t>(first - cells.begin()); k < cells.size(); ++k) {
        const MapCell cell = cells[k];
        if (cell.x > columns.last) break;
        if (!rows.holds(cell.y)) continue;
        TKartenTile* tile = map_tile(cell.x, cell.y);
        RecordList* objects = tile ? tile->objects_if_any() : nullptr;
        if (objects == nullptr) continue;
        objects->for_each_of<TGegenstand>([&](std::shared_ptr<TGegenstand>& item) {
            if (item->name == schalter.ziel_name) target = item;
        });
    }
    return target;
}

// A step naming no field of the target, or with no target found, is skipped and the rest of the
// text goes on. The target is looked for once: no step can rename an item (names are text
// fields), so every later search would find the same one.
int32_t TSchalter::parse_wirkung() {
    const std::vector<SwitchStep> steps = read_switch_text(wirkung);
    if (steps.empty()) return 1;
    const std::shared_ptr<TGegenstand> target = switch_target(*this);
    if (!target) return 1;
    const TTypeId* type = TTypeId::ForObject(*target);
    for (const SwitchStep& step : steps) {
        const TField* field = type ? type->FindField(step.field) : nullptr;
        if (field != nullptr) switch_field(step.mode, *field, *target);
    }
    return 1;
}

}  // namespace grotmere
