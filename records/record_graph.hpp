// The game's records as one graph of bytes, written and read through the registry, for a snapshot
// of the game kept in memory or beside a recording. A caller writes its roots (the program-wide
// lists, the player, the tiles' object lists) as ids; the writer gives each record, list and
// item array one id however often it is met, so what the game shares stays shared when read back
// (a door in its tile's list and in map_records, the lists a clone shares with its source, a
// buff's back reference to its owner). Every field the type registers is written, and every
// member it keeps beside them; a record of a class the registry does not know is a programming
// fault and throws std::logic_error.
//
// The reader makes each record by its class's default constructor alone (NewBlank: no camera
// joins a list, no map is built) and sets every field through the registry, which refuses a
// reference of the wrong type. It trusts nothing: a count, an id, a type or a field that does not
// fit fails it, and bytes that fail it leave no trace but the records it made, which die with it.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/byte_stream.hpp"
#include "records/record_list.hpp"

namespace grotmere {

class GraphWriter {
public:
    // Writes the id of the thing to `out`, 0 for none.
    void record(ByteWriter& out, const Record* record);
    void list(ByteWriter& out, const RecordList* list);
    // One field of a record the graph does not hold itself (a tile of the map), its references
    // as ids.
    void field(ByteWriter& out, const Record& record, const TField& field);

    // Every record, list and item array named so far and all they lead to, then the roots.
    void finish(ByteWriter& out, std::string_view roots);

private:
    uint32_t record_id(const Record* record);
    uint32_t list_id(const RecordList* list);
    uint32_t array_id(const ItemArray* array);
    void write_fields(ByteWriter& out, const Record& record);

    std::unordered_map<const void*, uint32_t> record_ids_, list_ids_, array_ids_;
    std::vector<const Record*> records_;
    std::vector<const RecordList*> lists_;
    std::vector<const ItemArray*> arrays_;
};

class GraphReader {
public:
    // Reads the graph a GraphWriter wrote, up to its roots; false when the bytes hold none.
    bool read(ByteReader& in);
    // The thing an id read from `in` names, or none for 0; an id of nothing fails `in`.
    RecordRef record(ByteReader& in) const;
    ListRef list(ByteReader& in) const;
    // One field as GraphWriter::field wrote it; false when it does not fit the field.
    bool field(ByteReader& in, Record& record, const TField& field) const;

private:
    class Ownership;
    bool read_graph(ByteReader& in);
    void let_go();
    void read_fields(ByteReader& in, Record& record, Ownership& ownership) const;
    bool read_field(ByteReader& in, Record& record, const TField& field,
                    Ownership* ownership) const;

    std::vector<RecordRef> records_;
    std::vector<ListRef> lists_;
    std::vector<ItemArrayRef> arrays_;
};

}  // namespace grotmere
