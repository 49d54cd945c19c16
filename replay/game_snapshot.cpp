#include "replay/game_snapshot.hpp"

#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "aids/aid_keys.hpp"
#include "aids/aid_walk.hpp"
#include "aids/window_aids.hpp"
#include "base/byte_stream.hpp"
#include "base/random.hpp"
#include "records/field_registry.hpp"
#include "records/record_graph.hpp"
#include "replay/state_roots.hpp"
#include "world/kamera.hpp"
#include "world/karte.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// Raised whenever what the bytes hold changes shape.
constexpr uint64_t kFormat = 1;

// The world's state member by member, as the snapshot sees it. A member added to WorldState
// changes its size and fails the check below: keep it in write_rest and read_rest, or name it
// among those worked out anew from the rest, then list it here in its place.
struct WorldStateMembers {
    decltype(WorldState::message_lines) message_lines;            // a root of the dump
    decltype(WorldState::message_history) message_history;        // kept
    decltype(WorldState::app_title) app_title;                    // kept
    decltype(WorldState::frame_timer) frame_timer;                // kept
    decltype(WorldState::tile_grid) tile_grid;                    // a root of the dump
    decltype(WorldState::tile_tracking) tile_tracking;            // worked out anew
    decltype(WorldState::lit_cells_cache) lit_cells_cache;        // worked out anew
    decltype(WorldState::kept_light) kept_light;                  // worked out anew
    decltype(WorldState::map_width) map_width;                    // a root of the dump
    decltype(WorldState::map_height) map_height;                  // a root of the dump
    decltype(WorldState::current_map) current_map;                // a root of the dump
    decltype(WorldState::map_records) map_records;                // a root of the dump
    decltype(WorldState::cameras) cameras;                        // kept
    decltype(WorldState::monster_prototypes) monster_prototypes;  // a root of the dump
    decltype(WorldState::monsters) monsters;                      // a root of the dump
    decltype(WorldState::treasures) treasures;                    // a root of the dump
    decltype(WorldState::player_list) player_list;                // kept
    decltype(WorldState::binding_list) binding_list;              // kept
    decltype(WorldState::missiles) missiles;                      // a root of the dump
    decltype(WorldState::item_prototypes) item_prototypes;        // a root of the dump
    decltype(WorldState::karte) karte;                            // kept
    decltype(WorldState::kamera) kamera;                          // kept
    decltype(WorldState::chronicle) chronicle;                    // kept
    decltype(WorldState::player) player;                          // a root of the dump
    decltype(WorldState::bindings) bindings;                      // a root of the dump
    decltype(WorldState::escape_text) escape_text;                // kept
    decltype(WorldState::buff_changes) buff_changes;              // kept
    decltype(WorldState::frame_watch) frame_watch;                // worked out anew
};
static_assert(sizeof(WorldStateMembers) == sizeof(WorldState),
              "a member of WorldState the game's snapshot does not know");

// --- the tiles ------------------------------------------------------------------------------

// Most neighbouring tiles share their numbers, so each number field goes as runs of one value,
// field after field over the whole grid; the texts and object lists of the few tiles that have
// them follow.
class TileColumns {
public:
    explicit TileColumns(TKartenTile* first) : first_(first) {}

    int32_t get(const TField& field, std::optional<std::ptrdiff_t> place, size_t k) const {
        if (!place) return field.GetInt(first_[k]);
        int32_t value;
        std::memcpy(&value, reinterpret_cast<const char*>(&first_[k]) + *place, sizeof value);
        return value;
    }
    void set(const TField& field, std::optional<std::ptrdiff_t> place, size_t k, int32_t value) {
        if (!place) return field.SetInt(first_[k], value);
        std::memcpy(reinterpret_cast<char*>(&first_[k]) + *place, &value, sizeof value);
    }

private:
    TKartenTile* first_;
};

const std::vector<const TField*>& tile_fields() {
    return TTypeId::Of<TKartenTile>().EnumFields();
}

void write_tiles(ByteWriter& out, GraphWriter& graph) {
    out.unsigned_number(static_cast<uint64_t>(tile_grid.columns()));
    out.unsigned_number(static_cast<uint64_t>(tile_grid.rows()));
    const size_t count = static_cast<size_t>(tile_grid.columns()) * tile_grid.rows();
    if (count == 0) return;
    TKartenTile* first = tile_grid.column(0);
    const TileColumns tiles(first);
    for (const TField* field : tile_fields()) {
        if (field->Kind() != FieldKind::Int) continue;
        const std::optional<std::ptrdiff_t> place = field->PlaceIn(*first);
        int32_t value = tiles.get(*field, place, 0);
        size_t run = 1;
        for (size_t k = 1; k < count; ++k) {
            const int32_t next = tiles.get(*field, place, k);
            if (next == value) {
                ++run;
                continue;
            }
            out.unsigned_number(run);
            out.number(value);
            value = next;
            run = 1;
        }
        out.unsigned_number(run);
        out.number(value);
    }
    size_t with_extras = 0;
    for (size_t k = 0; k < count; ++k)
        with_extras += first[k].extras_if_any() != nullptr;
    out.unsigned_number(with_extras);
    size_t last = 0;
    for (size_t k = 0; k < count; ++k) {
        if (first[k].extras_if_any() == nullptr) continue;
        out.unsigned_number(k - last);
        last = k;
        for (const TField* field : tile_fields()) {
            if (field->Kind() != FieldKind::Int) graph.field(out, first[k], *field);
        }
    }
}

bool read_tiles(ByteReader& in, const GraphReader& graph, TileGrid& grid) {
    const auto columns = static_cast<int32_t>(in.count(kGridSize));
    const auto rows = static_cast<int32_t>(in.count(kGridSize));
    if (in.failed()) return false;
    grid.make_tiles(columns, rows);
    const size_t count = static_cast<size_t>(columns) * static_cast<size_t>(rows);
    if (count == 0) return true;
    TKartenTile* first = grid.column(0);
    TileColumns tiles(first);
    for (const TField* field : tile_fields()) {
        if (field->Kind() != FieldKind::Int) continue;
        const std::optional<std::ptrdiff_t> place = field->PlaceIn(*first);
        for (size_t k = 0; k < count && !in.failed();) {
            const size_t run = in.count(count - k);
            const int32_t value = in.int32();
            if (run == 0) in.fail();
            for (const size_t end = k + run; k < end && !in.failed(); ++k)
                tiles.set(*field, place, k, value);
        }
    }
    const size_t with_extras = in.count(count);
    size_t at = 0;
    for (size_t n = 0; n < with_extras && !in.failed(); ++n) {
        const size_t step = in.count(count - 1 - at);
        if (n > 0 && step == 0) in.fail();
        at += step;
        for (const TField* field : tile_fields()) {
            if (!in.failed() && field->Kind() != FieldKind::Int) graph.field(in, first[at], *field);
        }
    }
    return !in.failed();
}

// --- the dump's roots -----------------------------------------------------------------------

class RootsWriter : public StateReader {
public:
    RootsWriter(ByteWriter& out, GraphWriter& graph) : out_(out), graph_(graph) {}
    void number(const char*, int64_t value) override { out_.number(value); }
    void text(const char*, const std::string& text) override { out_.text(text); }
    void texts(const char*, const std::string* first, size_t count) override {
        out_.unsigned_number(count);
        for (size_t k = 0; k < count; ++k)
            out_.text(first[k]);
    }
    void record(const char*, const Record* record) override { graph_.record(out_, record); }
    void list(const char*, const RecordList& list) override { graph_.list(out_, &list); }
    void tiles(const char*) override { write_tiles(out_, graph_); }
    void random_state(int32_t state) override { out_.number(state); }

private:
    ByteWriter& out_;
    GraphWriter& graph_;
};

// The lists the dump holds, by the names the roots give them.
constexpr std::pair<std::string_view, ListRef WorldState::*> kDumpedLists[] = {
    {"item_prototypes", &WorldState::item_prototypes},
    {"monster_prototypes", &WorldState::monster_prototypes},
    {"map_records", &WorldState::map_records},
    {"monsters", &WorldState::monsters},
    {"treasures", &WorldState::treasures},
    {"missiles", &WorldState::missiles},
};

// Each root read back into the world being made, where its name says it goes. A root this
// reader has no place for is a programming fault: the list of roots grew without it.
class RootsReader : public StateReader {
public:
    RootsReader(ByteReader& in, const GraphReader& graph, WorldState& world, int32_t& random)
        : in_(in), graph_(graph), world_(world), random_(random) {}

    void number(const char* name, int64_t) override {
        const std::string_view root = name;
        if (root == "map_width") return read_int(world_.map_width);
        if (root == "map_height") return read_int(world_.map_height);
        unknown(name);
    }
    void text(const char* name, const std::string&) override {
        if (std::string_view(name) != "current_map") unknown(name);
        world_.current_map = in_.text(in_.left());
    }
    void texts(const char* name, const std::string*, size_t) override {
        if (std::string_view(name) != "message_lines") unknown(name);
        if (in_.count(kMessageLines) != kMessageLines) in_.fail();
        for (std::string& line : world_.message_lines)
            line = in_.text(in_.left());
    }
    void record(const char* name, const Record*) override {
        const std::string_view root = name;
        if (root == "player") return read_record(world_.player);
        if (root == "bindings") return read_record(world_.bindings);
        unknown(name);
    }
    void list(const char* name, const RecordList&) override {
        for (const auto& [root, member] : kDumpedLists) {
            if (root == name) return read_world_list(in_, graph_, world_.*member);
        }
        unknown(name);
    }
    void tiles(const char* name) override {
        if (std::string_view(name) != "tiles") unknown(name);
        if (!read_tiles(in_, graph_, world_.tile_grid)) in_.fail();
    }
    void random_state(int32_t) override { random_ = in_.int32(); }

    // A world list is never none.
    static void read_world_list(ByteReader& in, const GraphReader& graph, ListRef& list) {
        list = graph.list(in);
        if (!list) in.fail();
    }

private:
    [[noreturn]] static void unknown(const char* name) {
        throw std::logic_error(std::string("the game's snapshot keeps no root named ") + name);
    }
    void read_int(int32_t& value) { value = in_.int32(); }
    template <class T>
    void read_record(std::shared_ptr<T>& slot) {
        const RecordRef record = graph_.record(in_);
        slot = std::dynamic_pointer_cast<T>(record);
        if (record && !slot) in_.fail();
    }

    ByteReader& in_;
    const GraphReader& graph_;
    WorldState& world_;
    int32_t& random_;
};

// --- the rest of the world ------------------------------------------------------------------

void write_rest(ByteWriter& out, GraphWriter& graph) {
    message_history.write_to(out);
    out.text(app_title);
    out.number(frame_timer.hz);
    out.number(frame_timer.start_ms);
    out.number(frame_timer.consumed);
    for (const ListRef* list : {&cameras, &player_list, &binding_list})
        graph.list(out, list->get());
    graph.record(out, karte.get());
    graph.record(out, kamera.get());
    out.text(world_state.chronicle.last_harm);
    out.unsigned_number(world_state.chronicle.kills.size());
    for (const auto& [name, count] : world_state.chronicle.kills) {
        out.text(name);
        out.number(count);
    }
    out.byte(escape_text ? 1 : 0);
    if (escape_text) out.text(*escape_text);
    out.unsigned_number(buff_changes);
}

template <class T>
void read_typed(ByteReader& in, const GraphReader& graph, std::shared_ptr<T>& slot) {
    const RecordRef record = graph.record(in);
    slot = std::dynamic_pointer_cast<T>(record);
    if (record && !slot) in.fail();
}

void read_rest(ByteReader& in, const GraphReader& graph, WorldState& world) {
    if (!world.message_history.read_from(in)) in.fail();
    world.app_title = in.text(in.left());
    world.frame_timer.hz = in.int32();
    world.frame_timer.start_ms = in.number();
    world.frame_timer.consumed = in.number();
    for (ListRef* list : {&world.cameras, &world.player_list, &world.binding_list})
        RootsReader::read_world_list(in, graph, *list);
    read_typed(in, graph, world.karte);
    read_typed(in, graph, world.kamera);
    world.chronicle.last_harm = in.text(in.left());
    const size_t kinds = in.count(in.left());
    for (size_t k = 0; k < kinds && !in.failed(); ++k) {
        std::string name(in.text(in.left()));
        world.chronicle.kills.emplace_back(std::move(name), in.int32());
    }
    const uint8_t escaped = in.byte();
    if (escaped > 1) in.fail();
    if (escaped == 1) world.escape_text = std::string(in.text(in.left()));
    world.buff_changes = in.unsigned_number();
}

void write_overlay(ByteWriter& out) {
    const OverlayPlace place = overlay_place();
    out.unsigned_number(static_cast<uint64_t>(place.open));
    out.number(place.history_scroll);
}

OverlayPlace read_overlay(ByteReader& in) {
    OverlayPlace place;
    const size_t open = in.count(static_cast<size_t>(Overlay::History));
    place.open = static_cast<Overlay>(open);
    place.history_scroll = in.int32();
    if (place.history_scroll < 0) in.fail();
    return place;
}

// What start-up leaves and every rule relies on: the map within the grid and each of its tiles
// made, the player on it, the bindings there.
bool holds_together(const WorldState& world) {
    return world.map_width >= 1 && world.map_height >= 1 &&
           world.tile_grid.columns() >= world.map_width &&
           world.tile_grid.rows() >= world.map_height && world.player && world.bindings &&
           world.player->x >= 0 && world.player->y >= 0 && world.player->x < world.map_width &&
           world.player->y < world.map_height;
}

}  // namespace

std::string game_state_bytes() {
    GraphWriter graph;
    ByteWriter roots;
    RootsWriter writer(roots, graph);
    read_state_roots(writer);
    write_rest(roots, graph);
    write_overlay(roots);
    ByteWriter out;
    out.word(registry_fingerprint());
    out.unsigned_number(kFormat);
    graph.finish(out, roots.bytes());
    return out.take();
}

std::optional<std::string> put_back_game_state(std::string_view bytes) {
    ByteReader in(bytes);
    if (in.word() != registry_fingerprint())
        return "it was made by a build whose records are not this build's";
    if (in.unsigned_number() != kFormat) return "it was written in another format";
    GraphReader graph;
    if (!graph.read(in)) return "its records do not read";
    // Read aside first: the game changes only once everything has read.
    auto world = std::make_unique<WorldState>();
    int32_t random = 0;
    RootsReader roots(in, graph, *world, random);
    read_state_roots(roots);
    read_rest(in, graph, *world);
    const OverlayPlace overlay = read_overlay(in);
    if (in.failed() || !in.at_end()) return "it does not read as a game's state";
    if (!holds_together(*world)) return "it holds no game that could go on";
    world_state = std::move(*world);
    set_random_state(random);
    put_back_overlay_place(overlay);
    world_changed_outside_passes();
    return std::nullopt;
}

RunningParts running_parts() {
    return RunningParts{keyboard(), window_aids_state(), aid_keys_state(), walking_state()};
}

void put_back_running_parts(const RunningParts& parts) {
    keyboard().put_back(parts.keyboard);
    put_back_window_aids_state(parts.window_aids);
    put_back_aid_keys_state(parts.aid_keys);
    put_back_walking_state(parts.walking);
}

}  // namespace grotmere
