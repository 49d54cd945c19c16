#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "actors/buff.hpp"
#include "actors/gegner.hpp"
#include "actors/panzer.hpp"
#include "actors/player.hpp"
#include "actors/waffe.hpp"
#include "records/record_json.hpp"
#include "run/record_types.hpp"
#include "tests/records/definition_test_support.hpp"
#include "world/door.hpp"
#include "world/kamera.hpp"
#include "world/key.hpp"
#include "world/leuchte.hpp"
#include "world/schalter.hpp"
#include "world/teleport.hpp"

namespace grotmere {
namespace {

using testing::RecordTest;

std::vector<std::string> field_names(const TTypeId& type) {
    std::vector<std::string> names;
    for (const TField* field : type.EnumFields())
        names.push_back(field->Name());
    return names;
}

using FieldRegistryTest = RecordTest;

TEST_F(FieldRegistryTest, HoldsTheTwentyOneTypesInRegistrationOrder) {
    register_record_types();
    register_record_types();  // a second registration changes nothing
    std::vector<std::string> names;
    for (const TTypeId* type : TTypeId::All())
        names.push_back(type->Name());
    EXPECT_EQ(names,
              (std::vector<std::string>{
                  "TKarte",    "TMobiliar",   "TKartenTile", "TTeleport", "TSchalter", "TDoor",
                  "TKey",      "TKamera",     "TGegner",     "TTreasure", "TPlayer",   "TTastatur",
                  "TGeschoss", "TGegenstand", "TTrank",      "TLeuchte",  "TPanzer",   "TWaffe",
                  "TMunition", "TBuff",       "TBifList"}));
    EXPECT_EQ(TTypeId::ForName("TWaffe")->Base(), TTypeId::ForName("TGegenstand"));
    EXPECT_EQ(TTypeId::ForName("TGegner")->Base(), nullptr);
}

TEST_F(FieldRegistryTest, LooksUpNamesIgnoringCaseAndReportsThemAsDeclared) {
    const TTypeId* player_type = TTypeId::ForName("tplayer");
    ASSERT_NE(player_type, nullptr);
    EXPECT_EQ(player_type->Name(), "TPlayer");
    EXPECT_EQ(TTypeId::ForName("TFoo"), nullptr);
    EXPECT_EQ(TTypeId::ForName("TPlayer "), nullptr);

    const TTypeId& monster = TTypeId::Of<TGegner>();
    for (const char* spelling : {"RS", "rs", "Rs", "rS"}) {
        const TField* field = monster.FindField(spelling);
        ASSERT_NE(field, nullptr) << spelling;
        EXPECT_EQ(field->Name(), "RS");
    }
    EXPECT_EQ(TTypeId::Of<TPanzer>().FindField("RS")->Name(), "rs");
    EXPECT_EQ(monster.FindField("nothing"), nullptr);
}

TEST_F(FieldRegistryTest, ADoorsOwnPreisHidesTheInheritedOne) {
    const TTypeId& door = TTypeId::Of<TDoor>();
    const TField* found = door.FindField("PREIS");
    EXPECT_EQ(&found->Owner(), &door);
    EXPECT_EQ(field_names(door),
              (std::vector<std::string>{"name", "preis", "anzahl", "x", "y", "open", "locked",
                                        "secret", "cloak", "key_id", "preis"}));
    EXPECT_EQ(&door.EnumFields()[1]->Owner(), &TTypeId::Of<TGegenstand>());
    EXPECT_EQ(&TTypeId::Of<TKey>().FindField("preis")->Owner(), &TTypeId::Of<TKey>());
}

TEST_F(FieldRegistryTest, DerivedTypesListInheritedFieldsFirst) {
    EXPECT_EQ(field_names(TTypeId::Of<TLeuchte>()),
              (std::vector<std::string>{"name", "preis", "anzahl", "x", "y", "leuchtkraft", "r",
                                        "g", "b", "reichweite", "brenndauer", "brennt"}));
    EXPECT_EQ(field_names(*TTypeId::ForName("TWaffe")),
              (std::vector<std::string>{"name", "preis", "anzahl", "x", "y", "dmg", "reichweite",
                                        "munition"}));
}

// A field name that an own field hides cannot be reached from a data file.
bool hidden(const TTypeId& type, const TField& field) {
    return type.FindField(field.Name()) != &field;
}

// The dump writes a field that shares its name with an inherited one as "TDoor.preis".
std::string dump_key(const TTypeId& type, const TField& field) {
    for (const TField* earlier : type.EnumFields()) {
        if (earlier == &field) break;
        if (earlier->Name() == field.Name()) return field.Owner().Name() + "." + field.Name();
    }
    return field.Name();
}

// Every integer and text field of every type a data file may make goes through the loader and
// comes out of the dump under its own name, and a record loaded with no fields dumps exactly as
// the type's fresh record: the loader adds nothing to the defaults.
TEST_F(FieldRegistryTest, EveryFieldTravelsThroughTheLoaderAndTheDump) {
    for (const TTypeId* type : TTypeId::All()) {
        if (!type->FromData()) continue;
        SCOPED_TRACE(type->Name());
        std::string text = type->Name() + " {\n";
        std::map<std::string, nlohmann::ordered_json> expected;
        int32_t n = 0;
        for (const TField* field : type->EnumFields()) {
            if (!field->is_int_or_text() || hidden(*type, *field)) continue;
            ++n;
            if (field->Kind() == FieldKind::Int) {
                text += field->Name() + " = " + std::to_string(1000 + n) + "\n";
                expected[dump_key(*type, *field)] = 1000 + n;
            } else {
                text += field->Name() + " = \"v" + std::to_string(n) + "\"\n";
                expected[dump_key(*type, *field)] = "v" + std::to_string(n);
            }
        }
        records.clear();
        load(text + "}\n" + type->Name() + " { }\n");
        ASSERT_EQ(count(), 2) << problem_texts();
        const nlohmann::ordered_json loaded = record_to_json(*record<Record>(0));
        for (const auto& [name, value] : expected)
            EXPECT_EQ(loaded.at(name), value) << name;
        EXPECT_EQ(record_to_json(*record<Record>(1)), record_to_json(*type->NewObject()));
    }
}

// The defaults the rules lean on, as a data file that sets nothing gets them.
TEST_F(FieldRegistryTest, RecordsLoadedWithoutFieldsHaveTheGamesDefaults) {
    load("TLeuchte {} TGegner {} TDoor {} TKey {} TSchalter {} TPlayer {}");
    ASSERT_EQ(count(), 6) << problem_texts();
    const auto light = record_to_json(*record<Record>(0));
    EXPECT_EQ(light["anzahl"], 1);
    EXPECT_EQ(light["leuchtkraft"], 100);
    EXPECT_EQ(light["reichweite"], 5);
    EXPECT_EQ(light["brenndauer"], -1);
    EXPECT_EQ(light["brennt"], 1);
    const auto monster = record_to_json(*record<Record>(1));
    EXPECT_EQ(monster["x"], -1);
    EXPECT_EQ(monster["anzahl"], 1);
    EXPECT_EQ(monster["attack_range"], 1);
    EXPECT_TRUE(monster["buffs"].is_array());
    const auto door = record_to_json(*record<Record>(2));
    EXPECT_EQ(door["TDoor.preis"], -1000);
    EXPECT_EQ(door["preis"], 0);
    EXPECT_EQ(record_to_json(*record<Record>(3))["TKey.preis"], -1000);
    EXPECT_EQ(record_to_json(*record<Record>(4))["ziel_x"], -1);
    const auto hero = record_to_json(*record<Record>(5));
    EXPECT_EQ(hero["inv_visible"], 1);
    EXPECT_EQ(hero["wear_visible"], 1);
    EXPECT_EQ(hero["inventory"].size(), 10u);
    EXPECT_EQ(record_to_json(*TTypeId::Of<TKamera>().NewObject())["border"], 1);
}

TEST_F(FieldRegistryTest, ConstructionSideEffectsHappenThroughTheRegistry) {
    auto camera = TTypeId::ForName("TKamera")->NewObject();
    EXPECT_EQ(cameras->first(), camera);
    clone_record(*camera);
    EXPECT_EQ(cameras->count(), 2);

    current_map = "bifs/level2.map";
    auto teleport = new_record<TTeleport>();
    current_map = "bifs/other.map";
    EXPECT_EQ(teleport->target_map, "bifs/level2.map");
}

TEST_F(FieldRegistryTest, ForObjectNamesTheMostDerivedType) {
    auto weapon = std::make_shared<TWaffe>();
    TGegenstand& as_item = *weapon;
    EXPECT_EQ(TTypeId::ForObject(as_item)->Name(), "TWaffe");
    EXPECT_TRUE(TTypeId::ForObject(as_item)->IsA(TTypeId::Of<TGegenstand>()));
    EXPECT_FALSE(TTypeId::Of<TGegenstand>().IsA(TTypeId::Of<TWaffe>()));
}

TEST_F(FieldRegistryTest, SetConvertsTextsForIntegerFields) {
    auto monster = new_record<TGegner>();
    const TField* hp = TTypeId::Of<TGegner>().FindField("hp");
    hp->Set(*monster, "12]");
    EXPECT_EQ(monster->hp, 12);
    hp->Set(*monster, "abc");
    EXPECT_EQ(monster->hp, 0);
    hp->Set(*monster, " -5");
    EXPECT_EQ(monster->hp, -5);
    hp->Set(*monster, "$1F");
    EXPECT_EQ(monster->hp, 31);
    EXPECT_EQ(std::get<std::string>(hp->Get(*monster)), "31");
    hp->SetInt(*monster, 7);
    EXPECT_EQ(hp->GetInt(*monster), 7);

    const TField* name = TTypeId::Of<TGegner>().FindField("name");
    name->Set(*monster, "Orc");
    name->Set(*monster, FieldValue());
    EXPECT_EQ(monster->name, "");
    EXPECT_FALSE(name->Set(*monster, RecordRef(monster)));
}

TEST_F(FieldRegistryTest, ReferenceFieldsTakeOnlyTheirOwnKind) {
    auto hero = new_record<TPlayer>();
    const TField* waffe = TTypeId::Of<TPlayer>().FindField("waffe");
    auto sword = new_record<TWaffe>();
    EXPECT_TRUE(waffe->Set(*hero, RecordRef(sword)));
    EXPECT_EQ(hero->waffe, sword);
    EXPECT_FALSE(waffe->Set(*hero, RecordRef(new_record<TPanzer>())));
    EXPECT_FALSE(waffe->Set(*hero, "Sword"));
    EXPECT_EQ(hero->waffe, sword);
    EXPECT_TRUE(waffe->Set(*hero, FieldValue()));
    EXPECT_EQ(hero->waffe, nullptr);
}

TEST_F(FieldRegistryTest, AFieldIgnoresRecordsOfOtherTypes) {
    const TField* hp = TTypeId::Of<TGegner>().FindField("hp");
    auto hero = new_record<TPlayer>();
    hero->hp = 9;
    EXPECT_EQ(hp->GetInt(*hero), 0);
    EXPECT_FALSE(hp->Set(*hero, "4"));
    EXPECT_EQ(hero->hp, 9);
}

TEST_F(FieldRegistryTest, CloneCopiesBothPreisFieldsAndSharesListsAndArrays) {
    auto door = new_record<TDoor>();
    door->TGegenstand::preis = 11;
    door->preis = 22;
    door->name = "Oak Door";
    auto door_copy = clone_as(*door);
    EXPECT_EQ(door_copy->TGegenstand::preis, 11);
    EXPECT_EQ(door_copy->preis, 22);
    EXPECT_EQ(door_copy->name, "Oak Door");
    // The extremes of a number and a text of spaces, on a field inherited and one of its own.
    auto torch = new_record<TLeuchte>();
    torch->x = INT32_MIN;
    torch->brenndauer = INT32_MAX;
    torch->name = "  two  spaces ";
    auto torch_copy = clone_as(*torch);
    EXPECT_EQ(torch_copy->x, INT32_MIN);
    EXPECT_EQ(torch_copy->brenndauer, INT32_MAX);
    EXPECT_EQ(torch_copy->name, "  two  spaces ");

    auto monster = new_record<TGegner>();
    monster->hp = 12;
    auto monster_copy = clone_as(*monster);
    EXPECT_EQ(monster_copy->hp, 12);
    EXPECT_EQ(monster_copy->buffs, monster->buffs);

    auto hero = new_record<TPlayer>();
    hero->waffe = new_record<TWaffe>();
    auto hero_copy = clone_as(*hero);
    EXPECT_EQ(hero_copy->inventory, hero->inventory);
    EXPECT_EQ(hero_copy->waffe, hero->waffe);
}

TEST_F(FieldRegistryTest, ABuffRefersToItsOwnerWithoutKeepingItAlive) {
    std::weak_ptr<TGegner> watched;
    {
        auto monster = new_record<TGegner>();
        auto buff = new_record<TBuff>();
        const TTypeId& buff_type = TTypeId::Of<TBuff>();
        buff_type.FindField("ziel")->Set(*buff, RecordRef(monster));
        buff_type.FindField("variable")->Set(*buff, TTypeId::Of<TGegner>().FindField("hp"));
        buff_type.FindField("wer")->Set(*buff, &TTypeId::Of<TGegner>());
        monster->buffs->append(buff);
        EXPECT_EQ(std::get<RecordRef>(buff_type.FindField("ziel")->Get(*buff)), monster);
        EXPECT_EQ(buff->variable->Name(), "hp");
        watched = monster;
    }
    EXPECT_TRUE(watched.expired());
}

}  // namespace
}  // namespace grotmere
