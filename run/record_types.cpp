// The one table of record type and field names. Each type lists its own fields in declared order;
// the inherited ones come from its base. The types are entered in the game's registration order.

#include "run/record_types.hpp"

#include <string>
#include <variant>

#include "actors/buff.hpp"
#include "actors/gegner.hpp"
#include "actors/geschoss.hpp"
#include "actors/munition.hpp"
#include "actors/panzer.hpp"
#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "actors/trank.hpp"
#include "actors/treasure.hpp"
#include "actors/waffe.hpp"
#include "records/bif_list.hpp"
#include "records/recycled_memory.hpp"
#include "records/type_table.hpp"
#include "world/door.hpp"
#include "world/gegenstand.hpp"
#include "world/kamera.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/key.hpp"
#include "world/leuchte.hpp"
#include "world/mobiliar.hpp"
#include "world/schalter.hpp"
#include "world/teleport.hpp"

namespace grotmere {

namespace {

using Fields = std::vector<TField>;

// A tile's texts live in its extras, which reading leaves unmade: an unmade text reads as "".
TField tile_text_field(std::string name, std::string TKartenTile::Extras::*member) {
    TField::Access access;
    access.string_slot = [member](Record& record) -> std::string* {
        auto* tile = dynamic_cast<TKartenTile*>(&record);
        return tile ? &(tile->extras().*member) : nullptr;
    };
    access.string_read = [member](const Record& record) -> const std::string* {
        static const std::string unmade;
        const auto* tile = dynamic_cast<const TKartenTile*>(&record);
        if (tile == nullptr) return nullptr;
        return tile->extras_if_any() ? &(tile->extras_if_any()->*member) : &unmade;
    };
    return TField(std::move(name), FieldKind::String, std::move(access), typeid(Record));
}

// A tile's object list is made the first time it is asked for, through this field too.
TField tile_list_field() {
    TField::Access access;
    access.get_reference = [](const Record& record) -> FieldValue {
        const auto* tile = dynamic_cast<const TKartenTile*>(&record);
        return tile ? FieldValue(tile->gegenstaende()) : FieldValue();
    };
    // A list not made yet reads as the empty list it would be made as.
    access.peek_reference = [](const Record& record) -> FieldValue {
        static const ListRef unmade = new_list();
        const auto* tile = dynamic_cast<const TKartenTile*>(&record);
        if (tile == nullptr) return FieldValue();
        if (!tile->extras_if_any()) return FieldValue(unmade);
        return FieldValue(tile->extras_if_any()->gegenstaende);
    };
    access.set_reference = [](Record& record, const FieldValue& value) {
        auto* tile = dynamic_cast<TKartenTile*>(&record);
        if (tile == nullptr) return false;
        if (std::holds_alternative<std::monostate>(value)) {
            tile->extras().gegenstaende = nullptr;
            return true;
        }
        const ListRef* given = std::get_if<ListRef>(&value);
        if (given == nullptr) return false;
        tile->extras().gegenstaende = *given;
        return true;
    };
    return TField("gegenstaende", FieldKind::List, std::move(access), typeid(Record));
}

void describe_world_types(TypeTable& table) {
    // The map object rebuilds every tile when it is made, so data files never make one.
    table.rules_only(
        table.add<TKarte>("TKarte", {}, [] { return RecordRef(TKarte::construct()); }));
    Fields mobiliar_fields = {
        string_field("name", &TMobiliar::name),
        int_field("blocks", &TMobiliar::blocks),
        string_field("beschreibung", &TMobiliar::beschreibung),
    };
    table.add<TMobiliar>("TMobiliar", std::move(mobiliar_fields));
    using Tile = TKartenTile;
    Fields karten_tile_fields = {
        int_field("begehbar", &Tile::begehbar),
        int_field("sichtbar", &Tile::sichtbar),
        int_field("erfasst", &Tile::erfasst),
        int_field("lichtstaerke", &Tile::lichtstaerke),
        int_field("lichtr", &Tile::lichtr),
        int_field("lichtg", &Tile::lichtg),
        int_field("lichtb", &Tile::lichtb),
        int_field("ID", &Tile::ID),
        tile_text_field("name", &Tile::Extras::name),
        tile_text_field("beschreibung", &Tile::Extras::beschreibung),
        tile_list_field(),
        tile_text_field("symbol", &Tile::Extras::symbol),
    };
    table.add<Tile>("TKartenTile", std::move(karten_tile_fields));
    // A tile is its vtable, its extras and the eight number fields above: a member added to the
    // class fails here until the table lists it too.
    static_assert(sizeof(Tile) == sizeof(Record) + sizeof(void*) + 8 * sizeof(int32_t));
    Fields teleport_fields = {
        string_field("name", &TTeleport::name),
        int_field("x", &TTeleport::x),
        int_field("y", &TTeleport::y),
        string_field("target_map", &TTeleport::target_map),
        int_field("target_x", &TTeleport::target_x),
        int_field("target_y", &TTeleport::target_y),
        int_field("save_map", &TTeleport::save_map),
        int_field("secret", &TTeleport::secret),
    };
    table.add<TTeleport>("TTeleport", std::move(teleport_fields));
    Fields schalter_fields = {
        string_field("name", &TSchalter::name),
        int_field("x", &TSchalter::x),
        int_field("y", &TSchalter::y),
        string_field("art", &TSchalter::art),
        string_field("wirkung", &TSchalter::wirkung),
        string_field("comment", &TSchalter::comment),
        string_field("ziel_name", &TSchalter::ziel_name),
        int_field("ziel_x", &TSchalter::ziel_x),
        int_field("ziel_y", &TSchalter::ziel_y),
    };
    table.add<TSchalter>("TSchalter", std::move(schalter_fields));
    Fields door_fields = {
        int_field("open", &TDoor::open),     int_field("locked", &TDoor::locked),
        int_field("secret", &TDoor::secret), int_field("cloak", &TDoor::cloak),
        int_field("key_id", &TDoor::key_id), int_field("preis", &TDoor::preis),
    };
    table.add<TDoor, TGegenstand>("TDoor", std::move(door_fields));
    Fields key_fields = {
        int_field("preis", &TKey::preis),
        int_field("key_id", &TKey::key_id),
    };
    table.add<TKey, TGegenstand>("TKey", std::move(key_fields));
    Fields kamera_fields = {
        int_field("cam_x", &TKamera::cam_x),       int_field("cam_y", &TKamera::cam_y),
        int_field("cam_b", &TKamera::cam_b),       int_field("cam_h", &TKamera::cam_h),
        int_field("origin_x", &TKamera::origin_x), int_field("origin_y", &TKamera::origin_y),
        int_field("border", &TKamera::border),
    };
    // A camera joins `cameras` as it is made, and every frame draws every camera: only the game
    // makes one.
    table.rules_only(table.add<TKamera>("TKamera", std::move(kamera_fields),
                                        [] { return RecordRef(TKamera::construct()); }));
}

void describe_actor_types(TypeTable& table) {
    using G = TGegner;
    Fields gegner_fields = {
        string_field("name", &G::name),
        int_field("x", &G::x),
        int_field("y", &G::y),
        int_field("hp", &G::hp),
        int_field("xp", &G::xp),
        int_field("attack", &G::attack),
        int_field("defend", &G::defend),
        int_field("RS", &G::RS),
        int_field("dmg", &G::dmg),
        int_field("lastmove", &G::lastmove),
        int_field("luck", &G::luck),
        int_field("gold", &G::gold),
        int_field("gold_drop", &G::gold_drop),
        int_field("level", &G::level),
        int_field("anzahl", &G::anzahl),
        int_field("abweichung", &G::abweichung),
        int_field("attack_range", &G::attack_range),
        int_field("range_dmg", &G::range_dmg),
        list_field("buffs", &G::buffs),
    };
    table.add<G>("TGegner", std::move(gegner_fields));
    Fields treasure_fields = {
        int_field("x", &TTreasure::x),
        int_field("y", &TTreasure::y),
        int_field("gold", &TTreasure::gold),
        list_field("drop", &TTreasure::drop),
    };
    table.add<TTreasure>("TTreasure", std::move(treasure_fields));
    using P = TPlayer;
    Fields player_fields = {
        int_field("x", &P::x),
        int_field("y", &P::y),
        string_field("name", &P::name),
        int_field("hp", &P::hp),
        int_field("hpmax", &P::hpmax),
        int_field("xp", &P::xp),
        int_field("level", &P::level),
        int_field("attack", &P::attack),
        int_field("defend", &P::defend),
        int_field("rs", &P::rs),
        int_field("dmg", &P::dmg),
        int_field("luck", &P::luck),
        int_field("gold", &P::gold),
        int_field("lastgain", &P::lastgain),
        record_field("waffe", &P::waffe),
        record_field("panzer", &P::panzer),
        record_field("leuchte", &P::leuchte),
        int_field("perception", &P::perception),
        item_array_field("inventory", &P::inventory),
        list_field("buffs", &P::buffs),
        int_field("inv_visible", &P::inv_visible),
        int_field("wear_visible", &P::wear_visible),
        int_field("attackmode", &P::attackmode),
        int_field("usemode", &P::usemode),
    };
    table.add<P>("TPlayer", std::move(player_fields));
}

void describe_binding_and_missile_types(TypeTable& table) {
    Fields tastatur_fields;
    for (const Binding& binding : kBindings)
        tastatur_fields.push_back(int_field(binding.field, binding.key));
    table.add<TTastatur>("TTastatur", std::move(tastatur_fields));
    Fields geschoss_fields = {
        int_field("x", &TGeschoss::x),
        int_field("y", &TGeschoss::y),
        int_field("dmg", &TGeschoss::dmg),
        int_field("reichweite", &TGeschoss::reichweite),
        int_field("flugweg", &TGeschoss::flugweg),
        int_field("richtung", &TGeschoss::richtung),
        int_field("skill", &TGeschoss::skill),
    };
    // Shots come and go every turn of a fight; their memory is used again.
    table.add<TGeschoss>("TGeschoss", std::move(geschoss_fields),
                         [] { return RecordRef(make_recycled<TGeschoss>()); });
}

void describe_item_types(TypeTable& table) {
    Fields gegenstand_fields = {
        string_field("name", &TGegenstand::name),  int_field("preis", &TGegenstand::preis),
        int_field("anzahl", &TGegenstand::anzahl), int_field("x", &TGegenstand::x),
        int_field("y", &TGegenstand::y),
    };
    table.add<TGegenstand>("TGegenstand", std::move(gegenstand_fields));
    Fields trank_fields = {
        string_field("wirkung", &TTrank::wirkung),
    };
    table.add<TTrank, TGegenstand>("TTrank", std::move(trank_fields));
    using L = TLeuchte;
    Fields leuchte_fields = {
        int_field("leuchtkraft", &L::leuchtkraft),
        int_field("r", &L::r),
        int_field("g", &L::g),
        int_field("b", &L::b),
        int_field("reichweite", &L::reichweite),
        int_field("brenndauer", &L::brenndauer),
        int_field("brennt", &L::brennt),
    };
    table.add<L, TGegenstand>("TLeuchte", std::move(leuchte_fields));
    Fields panzer_fields = {
        int_field("rs", &TPanzer::rs),
    };
    table.add<TPanzer, TGegenstand>("TPanzer", std::move(panzer_fields));
    Fields waffe_fields = {
        int_field("dmg", &TWaffe::dmg),
        int_field("reichweite", &TWaffe::reichweite),
        string_field("munition", &TWaffe::munition),
    };
    table.add<TWaffe, TGegenstand>("TWaffe", std::move(waffe_fields));
    Fields munition_fields = {
        int_field("dmg", &TMunition::dmg),
    };
    table.add<TMunition, TGegenstand>("TMunition", std::move(munition_fields));
}

void describe_bookkeeping_types(TypeTable& table) {
    Fields buff_fields = {
        int_field("multi", &TBuff::multi),
        int_field("wirkzeit", &TBuff::wirkzeit),
        int_field("wert", &TBuff::wert),
        int_field("startwert", &TBuff::startwert),
        field_ref_field("variable", &TBuff::variable),
        type_ref_field("wer", &TBuff::wer),
        owner_field("ziel", &TBuff::ziel),
        string_field("operand", &TBuff::operand),
        int_field("silent", &TBuff::silent),
    };
    TTypeId& buff = table.add<TBuff>("TBuff", std::move(buff_fields));
    table.keep(buff, {string_field("source", &TBuff::source)});
    Fields bif_list_fields = {
        int_field("ID", &TBifList::ID),
        field_ref_field("feld", &TBifList::feld),
        string_field("wert", &TBifList::wert),
    };
    table.add<TBifList>("TBifList", std::move(bif_list_fields));
}

void describe_record_types(TypeTable& table) {
    describe_world_types(table);
    describe_actor_types(table);
    describe_binding_and_missile_types(table);
    describe_item_types(table);
    describe_bookkeeping_types(table);
}

}  // namespace

void register_record_types() {
    describe_types_with(describe_record_types);
}

}  // namespace grotmere
