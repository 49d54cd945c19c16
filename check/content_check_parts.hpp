// The pieces the content check (check/content_check.cpp) shares with its way-out check
// (check/content_way_out.cpp): records read through the registry, the files as read, the terrain.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.hpp"
#include "records/definition_loader.hpp"
#include "records/field_registry.hpp"

namespace grotmere {

// --- records read through the registry ---------------------------------------------------------

inline const TTypeId& type_of(const Record& record) {
    return *TTypeId::ForObject(record);
}

inline bool is_a(const Record& record, std::string_view type_name) {
    const TTypeId* type = TTypeId::ForName(type_name);
    return type != nullptr && type_of(record).IsA(*type);
}

inline int32_t int_of(const Record& record, std::string_view field_name) {
    const TField* field = type_of(record).FindField(field_name);
    return field != nullptr ? field->GetInt(record) : 0;
}

inline std::string text_of(const Record& record, std::string_view field_name) {
    const TField* field = type_of(record).FindField(field_name);
    if (field == nullptr) return {};
    FieldValue value = field->Get(record);
    const std::string* text = std::get_if<std::string>(&value);
    return text != nullptr ? *text : std::string();
}

// The value a treasure is bought with is the one every item declares, not the one keys and doors
// declare again for themselves.
inline int32_t item_value(const Record& item) {
    return TTypeId::ForName("TGegenstand")->FindField("preis")->GetInt(item);
}

inline std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

inline std::string at(int32_t x, int32_t y) {
    return "(" + int_to_text(x) + "|" + int_to_text(y) + ")";
}

// One file's records with the line each was written on.
struct LoadedFile {
    std::string file;
    RecordList list;
    RecordOrigins origins;
};

// The map's terrain as the map file gives it.
struct Terrain {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<int32_t> ids;  // [x * height + y]
    bool usable = false;

    bool inside(int32_t x, int32_t y) const {
        return usable && x >= 0 && y >= 0 && x < width && y < height;
    }
    bool open(int32_t x, int32_t y) const { return inside(x, y) && ids[x * height + y] != 1; }
};

// The prototype of that name in the item file, when it is of the type; null otherwise.
inline const Record* item_named(const LoadedFile& items, const std::string& name,
                                std::string_view type = "TGegenstand") {
    for (const RecordRef& item : items.list.records()) {
        if (text_of(*item, "name") == name) return is_a(*item, type) ? item.get() : nullptr;
    }
    return nullptr;
}

// What the way-out check reads, and how it reports a problem of a record.
struct WayOutInputs {
    const LoadedFile& items;
    const LoadedFile& monsters;
    const LoadedFile& player;
    const LoadedFile& map;
    const Terrain& terrain;
    // The switches whose text can open the door they act on.
    std::function<const std::vector<const Record*>&(const Record&)> switches_opening;
    std::function<void(const Record&, std::string)> problem;
};

// What a light of the item file costs each turn, when its reach makes that unreasonable; empty
// otherwise.
std::string light_reach_cost(const Record& light);

// Every exit that cannot be reached from the player's start through doors the player can open.
void check_way_out(const WayOutInputs& inputs);

}  // namespace grotmere
