// Whatever the dump shows, the digest sees: every registered field of every record root, of the
// first record of every list and of tiles with and without objects, each changed in turn, changes
// the digest, and changed back gives the digest before. The fields are read by the types' plans,
// checked against their own access as everywhere tests run.
#include "replay/state_digest.hpp"

#include <gtest/gtest.h>

#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "base/random.hpp"
#include "records/field_registry.hpp"
#include "records/record_list.hpp"
#include "run/startup.hpp"
#include "tests/records/definition_test_support.hpp"
#include "tests/support/headless_game.hpp"
#include "world/karten_tile.hpp"

namespace grotmere::testing {
namespace {

// Another value of the field's kind: a changed number or text, a new record, list or array
// where there is none, none where there is one.
FieldValue other_value(const FieldValue& value, const TField& field) {
    const FieldKind kind = field.Kind();
    if (kind == FieldKind::Int) return std::to_string(std::stoi(std::get<std::string>(value)) + 1);
    if (kind == FieldKind::String) return std::get<std::string>(value) + "x";
    const bool none = std::visit(
        [](const auto& held) {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::monostate>)
                return true;
            else if constexpr (std::is_same_v<Held, std::string>)
                return false;
            else
                return !held;
        },
        value);
    if (none) {
        if (kind == FieldKind::List) return new_list();
        if (kind == FieldKind::ItemArray) return std::make_shared<ItemArray>();
        if (kind == FieldKind::Record && field.Target()) return field.Target()->NewObject();
    }
    return FieldValue();
}

class DigestOfEverything : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        WorkingDirectory inside(GROTMERE_SOURCE_DIR);
        ::testing::internal::CaptureStdout();
        ASSERT_FALSE(start_game(StartupOptions{3}));
        ::testing::internal::GetCapturedStdout();
        before_ = state_digest();
    }

    // Each field of the record, changed and put back.
    void expect_every_field_seen(Record& record, const std::string& where) {
        const TTypeId* type = TTypeId::ForObject(record);
        ASSERT_NE(type, nullptr) << where;
        for (const TField* field : type->EnumFields()) {
            const FieldValue kept = field->Peek(record);
            const FieldValue changed = other_value(kept, *field);
            if (!field->Set(record, changed)) continue;  // a reference of no other value here
            EXPECT_NE(state_digest(), before_) << where << "." << field->Name();
            field->Set(record, kept);
            EXPECT_EQ(state_digest(), before_) << where << "." << field->Name() << " put back";
        }
    }

    uint64_t before_ = 0;
};

TEST_F(DigestOfEverything, EveryFieldOfEveryRootChangesIt) {
    expect_every_field_seen(*player, "player");
    expect_every_field_seen(*bindings, "bindings");
    for (const auto& [name, list] : {std::pair{"item_prototypes", item_prototypes},
                                     {"monster_prototypes", monster_prototypes},
                                     {"map_records", map_records},
                                     {"monsters", monsters}}) {
        ASSERT_FALSE(list->empty()) << name;
        expect_every_field_seen(*list->records().front(), name);
    }
    // A tile that never held anything, and one with a lamp lying on it.
    expect_every_field_seen(*tile_grid.at(0, 0), "tile (0, 0)");
    TKartenTile* lit = nullptr;
    for (int32_t x = 0; x < map_width && !lit; ++x)
        for (int32_t y = 0; y < map_height && !lit; ++y)
            if (tile_grid.at(x, y)->holds_objects()) lit = tile_grid.at(x, y);
    ASSERT_NE(lit, nullptr);
    expect_every_field_seen(*lit->objects_if_any()->records().front(), "a lamp lying");

    // The roots that are no records, and the random generator's state, which no dump shows.
    const std::pair<const char*, void (*)(int32_t)> roots[] = {
        {"map_width", [](int32_t by) { map_width += by; }},
        {"current_map", [](int32_t by) { current_map.resize(current_map.size() + by, 'x'); }},
        {"message_lines",
         [](int32_t by) { message_lines[8].resize(message_lines[8].size() + by, 'x'); }},
        {"random state", [](int32_t by) { set_random_state(random_state() + by); }},
    };
    for (const auto& [name, change] : roots) {
        change(1);
        EXPECT_NE(state_digest(), before_) << name;
        change(-1);
        EXPECT_EQ(state_digest(), before_) << name << " put back";
    }
}

}  // namespace
}  // namespace grotmere::testing
