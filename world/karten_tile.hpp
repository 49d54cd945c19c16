// TKartenTile, one cell of the map. The tile owns its object list (lights, doors, switches,
// teleports and furniture placed on it); sight and light values are rewritten every turn.
//
// A large map holds 65,536 tiles and the walks of a turn read their terrain, sight and light
// values, so a tile keeps only those in itself (48 bytes, the map's tiles side by side in one
// block). Its texts and its object list, which almost every tile leaves empty, live in extras
// made the first time either is asked for; until then the texts read as "" and the list as empty.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "records/record_list.hpp"

namespace grotmere {

class TKartenTile : public Record {
public:
    struct Extras {
        std::string name;
        std::string beschreibung;
        // Watched, so that the index of the tiles holding objects learns of every object placed.
        ListRef gegenstaende = new_watched_list();
        std::string symbol;
    };

    // Every member is copied by its own kind, so a new field cannot be left out of a copy: a copy
    // has texts of its own and shares the object list, as a cloned record does.
    TKartenTile() = default;
    TKartenTile(const TKartenTile&) = default;
    TKartenTile& operator=(const TKartenTile&) = default;
    TKartenTile(TKartenTile&&) noexcept = default;
    TKartenTile& operator=(TKartenTile&&) noexcept = default;

    // The objects on the tile, or null while it has none to show (never given any, or its list
    // set to none).
    RecordList* objects_if_any() const {
        return extras_.made ? extras_.made->gegenstaende.get() : nullptr;
    }
    bool holds_objects() const {
        const RecordList* objects = objects_if_any();
        return objects != nullptr && !objects->empty();
    }
    // The object list for a walk that may outlive the tile (a teleport can replace the map), or
    // null while the tile has none.
    ListRef object_list_if_any() const {
        return extras_.made ? extras_.made->gegenstaende : nullptr;
    }
    // The object list, made empty the first time it is asked for: for placing objects.
    const ListRef& gegenstaende() const;

    // The texts and the list, made the first time they are asked for.
    Extras& extras() const;
    const Extras* extras_if_any() const { return extras_.made.get(); }

    int32_t begehbar = 1;
    int32_t sichtbar = 0;
    int32_t erfasst = 0;
    int32_t lichtstaerke = 0;
    int32_t lichtr = 0;
    int32_t lichtg = 0;
    int32_t lichtb = 0;
    int32_t ID = 0;  // terrain: TKarte::MAP_RAUM, MAP_SOLID, MAP_GANG or another digit

private:
    // The extras, made anew for a copy.
    struct CopiedExtras {
        std::unique_ptr<Extras> made;

        CopiedExtras() = default;
        CopiedExtras(const CopiedExtras& other)
            : made(other.made ? std::make_unique<Extras>(*other.made) : nullptr) {}
        CopiedExtras& operator=(const CopiedExtras& other) {
            if (this != &other) made = other.made ? std::make_unique<Extras>(*other.made) : nullptr;
            return *this;
        }
        CopiedExtras(CopiedExtras&&) noexcept = default;
        CopiedExtras& operator=(CopiedExtras&&) noexcept = default;
    };

    // Made on demand even for a const tile: asking for the list or a text changes nothing a
    // reader can see.
    mutable CopiedExtras extras_;
};

}  // namespace grotmere
