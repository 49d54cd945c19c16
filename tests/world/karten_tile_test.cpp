// A tile keeps its texts and object list apart and makes them only when asked: reading a tile
// through the registry (as the dump does) must show the same values as before, a tile copied or
// cloned must keep its own texts and share its list, and a map's tiles must stay small.
#include <gtest/gtest.h>

#include "records/field_registry.hpp"
#include "records/record_json.hpp"
#include "tests/world/world_test_support.hpp"
#include "world/door.hpp"
#include "world/karte.hpp"

namespace grotmere {
namespace {

using KartenTile = testing::WorldTest;

const TField& tile_field(const char* name) {
    return *TTypeId::Of<TKartenTile>().FindField(name);
}

TEST_F(KartenTile, AnUntouchedTileReadsAsEmptyAndStaysSmall) {
    TKartenTile tile;
    EXPECT_EQ(std::get<std::string>(tile_field("name").Get(tile)), "");
    EXPECT_EQ(tile_field("symbol").GetInt(tile), 0);
    EXPECT_EQ(tile.extras_if_any(), nullptr) << "reading a text made room for it";
    EXPECT_FALSE(tile.holds_objects());

    const auto json = record_to_json(tile);
    EXPECT_EQ(json["beschreibung"], "");
    EXPECT_TRUE(json["gegenstaende"].is_array() && json["gegenstaende"].empty());
    // The whole largest map lives in 256 x 256 such tiles.
    EXPECT_LE(sizeof(TKartenTile), 48U);
}

TEST_F(KartenTile, CopiesAndClonesKeepTheirOwnTextsAndShareTheList) {
    TKartenTile tile;
    tile_field("name").Set(tile, std::string("Hall"));
    tile.gegenstaende()->append(new_record<TDoor>());
    tile.ID = TKarte::MAP_GANG;

    TKartenTile copy = tile;
    tile_field("name").Set(copy, std::string("Copy"));
    EXPECT_EQ(tile.extras_if_any()->name, "Hall");
    EXPECT_EQ(copy.ID, TKarte::MAP_GANG);
    EXPECT_EQ(copy.objects_if_any(), tile.objects_if_any());

    RecordRef clone = clone_record(tile);
    auto& cloned = static_cast<TKartenTile&>(*clone);
    EXPECT_EQ(cloned.extras_if_any()->name, "Hall");
    EXPECT_EQ(cloned.objects_if_any(), tile.objects_if_any());

    // A list set to none reads as none, as any list field does.
    tile_field("gegenstaende").Set(copy, FieldValue());
    EXPECT_TRUE(record_to_json(copy)["gegenstaende"].is_null());
    EXPECT_FALSE(copy.holds_objects());
}

TEST_F(KartenTile, TheGridAnswersOnlyInsideTheTilesItMade) {
    map_width = 3;
    map_height = 2;
    TKarte::construct();
    EXPECT_NE(tile_grid.at(2, 1), nullptr);
    EXPECT_EQ(tile_grid.at(3, 0), nullptr);
    EXPECT_EQ(tile_grid.at(0, 2), nullptr);
    EXPECT_EQ(tile_grid.at(-1, 0), nullptr);
    // Column after column: a column's tiles lie side by side.
    EXPECT_EQ(tile_grid.at(1, 1) - tile_grid.at(1, 0), 1);
    EXPECT_EQ(tile_grid.at(1, 0) - tile_grid.at(0, 0), 2);
}

}  // namespace
}  // namespace grotmere
