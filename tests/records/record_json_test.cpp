#include <gtest/gtest.h>

#include "actors/buff.hpp"
#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "actors/waffe.hpp"
#include "records/bif_list.hpp"
#include "records/record_json.hpp"
#include "tests/records/definition_test_support.hpp"
#include "world/door.hpp"
#include "world/karten_tile.hpp"

namespace grotmere {
namespace {

using RecordJsonTest = testing::RecordTest;

TEST_F(RecordJsonTest, WritesTheTypeAndEveryFieldInRegistryOrder) {
    auto door = new_record<TDoor>();
    door->name = "Gate";
    door->TGegenstand::preis = 3;
    nlohmann::ordered_json json = record_to_json(*door);
    EXPECT_EQ(json.dump(),
              R"({"type":"TDoor","name":"Gate","preis":3,"anzahl":1,"x":0,"y":0,"open":0,)"
              R"("locked":0,"secret":0,"cloak":0,"key_id":0,"TDoor.preis":-1000})");
}

TEST_F(RecordJsonTest, NestsReferencesAndWritesHighBytesAsValidUtf8) {
    auto hero = new_record<TPlayer>();
    hero->name = "K\xE4the";
    auto sword = new_record<TWaffe>();
    sword->name = "Blade";
    hero->waffe = sword;
    (*hero->inventory)[2] = sword;
    nlohmann::ordered_json json = record_to_json(*hero);
    EXPECT_EQ(json["name"], "K\u00e4the");
    EXPECT_EQ(json["waffe"]["type"], "TWaffe");
    EXPECT_EQ(json["panzer"], nullptr);
    ASSERT_EQ(json["inventory"].size(), 10u);
    EXPECT_EQ(json["inventory"][2]["name"], "Blade");
    EXPECT_EQ(json["inventory"][0], nullptr);
    EXPECT_NO_THROW(json.dump());
}

TEST_F(RecordJsonTest, NamesTheBuffsOwnerFieldAndTypeInsteadOfWalkingThem) {
    auto monster = new_record<TGegner>();
    auto buff = new_record<TBuff>();
    buff->ziel = monster;
    buff->variable = TTypeId::Of<TGegner>().FindField("rs");
    buff->wer = &TTypeId::Of<TGegner>();
    monster->buffs->append(buff);
    nlohmann::ordered_json json = record_to_json(*monster);
    const auto& written = json["buffs"][0];
    EXPECT_EQ(written["ziel"], "TGegner");
    EXPECT_EQ(written["variable"], "RS");
    EXPECT_EQ(written["wer"], "TGegner");

    auto entry = new_record<TBifList>();
    entry->feld = TTypeId::Of<TDoor>().FindField("preis");
    EXPECT_EQ(record_to_json(*entry)["feld"], "preis");
    EXPECT_EQ(record_to_json(*new_record<TBifList>())["feld"], nullptr);
}

TEST_F(RecordJsonTest, ARecordThatHoldsItselfEndsInItsTypeName) {
    auto tile = new_record<TKartenTile>();
    tile->gegenstaende()->append(tile);
    nlohmann::ordered_json json = record_to_json(*tile);
    EXPECT_EQ(json["gegenstaende"][0], "TKartenTile");
    tile->gegenstaende()->clear();  // breaks the cycle so the tile is freed

    // A long chain of distinct records is cut at the nesting limit.
    auto top = new_record<TKartenTile>();
    auto current = top;
    for (int i = 0; i < 50; ++i) {
        auto next = new_record<TKartenTile>();
        current->gegenstaende()->append(next);
        current = next;
    }
    nlohmann::ordered_json deep = record_to_json(*top);
    int32_t depth = 0;
    for (const auto* at = &deep; at->is_object(); at = &(*at)["gegenstaende"][0])
        ++depth;
    EXPECT_EQ(depth, kMaxJsonNesting);
}

}  // namespace
}  // namespace grotmere
