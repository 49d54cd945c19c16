#include "records/record_graph.hpp"

#include <algorithm>
#include <stdexcept>

#include "records/field_registry.hpp"

namespace grotmere {

namespace {

// A record's fields lie at most this deep below another's: far beyond what the game makes (a
// player, its inventory, an item), and shallow enough that ending the graph's life, one owner
// after another, never runs out of stack.
constexpr size_t kDeepest = 1000;

size_t type_place(const TTypeId& type) {
    const std::vector<const TTypeId*>& all = TTypeId::All();
    return static_cast<size_t>(std::find(all.begin(), all.end(), &type) - all.begin());
}

// Every item array is read and written through the registry's own access, where the items' type
// is known.
const TField& item_array_access() {
    static const TField* const field = [] {
        for (const TTypeId* type : TTypeId::All()) {
            for (const TField& field : type->OwnFields()) {
                if (field.Kind() == FieldKind::ItemArray) return &field;
            }
        }
        throw std::logic_error("record graph: an item array, but no item array field");
    }();
    return *field;
}

// A field a record refers to, by its type's place and its place among the type's own fields.
void write_field_ref(ByteWriter& out, const TField* field) {
    if (field == nullptr) return out.unsigned_number(0);
    const std::vector<TField>& own = field->Owner().OwnFields();
    for (size_t place = 0; place < own.size(); ++place) {
        if (&own[place] != field) continue;
        out.unsigned_number(type_place(field->Owner()) + 1);
        return out.unsigned_number(place);
    }
    throw std::logic_error("record graph: a field that is none of its type's own");
}

const TField* read_field_ref(ByteReader& in) {
    const size_t type = in.count(TTypeId::All().size());
    if (type == 0) return nullptr;
    const std::vector<TField>& own = TTypeId::All()[type - 1]->OwnFields();
    const size_t place = in.count(own.size());
    if (place == own.size()) in.fail();
    return in.failed() ? nullptr : &own[place];
}

template <class Visit>
void for_each_member(const TTypeId& type, Visit&& visit) {
    for (const TField* field : type.EnumFields())
        visit(*field);
    for (const TField& kept : type.KeptMembers())
        visit(kept);
}

}  // namespace

uint32_t GraphWriter::record_id(const Record* record) {
    if (record == nullptr) return 0;
    auto [place, added] = record_ids_.emplace(record, static_cast<uint32_t>(records_.size() + 1));
    if (added) {
        if (TTypeId::ForObject(*record) == nullptr)
            throw std::logic_error("record graph: a record of a class the registry does not know");
        records_.push_back(record);
    }
    return place->second;
}

uint32_t GraphWriter::list_id(const RecordList* list) {
    if (list == nullptr) return 0;
    auto [place, added] = list_ids_.emplace(list, static_cast<uint32_t>(lists_.size() + 1));
    if (added) lists_.push_back(list);
    return place->second;
}

uint32_t GraphWriter::array_id(const ItemArray* array) {
    if (array == nullptr) return 0;
    auto [place, added] = array_ids_.emplace(array, static_cast<uint32_t>(arrays_.size() + 1));
    if (added) arrays_.push_back(array);
    return place->second;
}

void GraphWriter::record(ByteWriter& out, const Record* record) {
    out.unsigned_number(record_id(record));
}

void GraphWriter::list(ByteWriter& out, const RecordList* list) {
    out.unsigned_number(list_id(list));
}

void GraphWriter::write_fields(ByteWriter& out, const Record& record) {
    for_each_member(*TTypeId::ForObject(record),
                    [&](const TField& each) { field(out, record, each); });
}

void GraphWriter::field(ByteWriter& out, const Record& record, const TField& field) {
    switch (field.Kind()) {
        case FieldKind::Int:
            return out.number(field.GetInt(record));
        case FieldKind::String:
            return out.text(*field.PeekText(record));
        case FieldKind::Record: {
            const FieldValue value = field.Get(record);
            const RecordRef* held = std::get_if<RecordRef>(&value);
            return out.unsigned_number(record_id(held ? held->get() : nullptr));
        }
        case FieldKind::List: {
            const FieldValue value = field.Peek(record);
            const ListRef* held = std::get_if<ListRef>(&value);
            return out.unsigned_number(list_id(held ? held->get() : nullptr));
        }
        case FieldKind::ItemArray: {
            const FieldValue value = field.Get(record);
            const ItemArrayRef* held = std::get_if<ItemArrayRef>(&value);
            return out.unsigned_number(array_id(held ? held->get() : nullptr));
        }
        case FieldKind::FieldRef: {
            const FieldValue value = field.Get(record);
            const TField* const* held = std::get_if<const TField*>(&value);
            return write_field_ref(out, held ? *held : nullptr);
        }
        case FieldKind::TypeRef: {
            const FieldValue value = field.Get(record);
            const TTypeId* const* held = std::get_if<const TTypeId*>(&value);
            return out.unsigned_number(held && *held ? type_place(**held) + 1 : 0);
        }
    }
}

void GraphWriter::finish(ByteWriter& out, std::string_view roots) {
    ByteWriter records, lists, arrays;
    // Writing what is met may meet more; each kind is worked off until nothing new is met.
    size_t record = 0, list = 0, array = 0;
    while (record < records_.size() || list < lists_.size() || array < arrays_.size()) {
        for (; record < records_.size(); ++record)
            write_fields(records, *records_[record]);
        for (; list < lists_.size(); ++list) {
            // Reading the list's records changes nothing in it.
            auto& members = const_cast<RecordList&>(*lists_[list]);
            lists.unsigned_number(static_cast<uint64_t>(members.count()));
            members.look_at_each<Record>(
                [&](const Record& member) { lists.unsigned_number(record_id(&member)); });
        }
        for (; array < arrays_.size(); ++array) {
            for (size_t slot = 0; slot < kInventorySlots; ++slot)
                arrays.unsigned_number(
                    record_id(item_array_access().ItemIn(*arrays_[array], slot)));
        }
    }
    out.unsigned_number(records_.size());
    for (const Record* each : records_)
        out.unsigned_number(type_place(*TTypeId::ForObject(*each)));
    out.unsigned_number(lists_.size());
    for (const RecordList* each : lists_)
        out.byte(each->watched() ? 1 : 0);
    out.unsigned_number(arrays_.size());
    out.raw(records.bytes());
    out.raw(lists.bytes());
    out.raw(arrays.bytes());
    out.raw(roots);
}

// The graph's strong references, node by node: records first, then lists, then item arrays.
// Read back, they must hold no cycle (the game makes none: back references do not own) and no
// chain deeper than kDeepest.
class GraphReader::Ownership {
public:
    void begin_node() { starts_.push_back(static_cast<uint32_t>(edges_.size())); }
    void add_edge(uint32_t node) { edges_.push_back(node); }

    bool shallow_and_acyclic() {
        starts_.push_back(static_cast<uint32_t>(edges_.size()));
        const size_t nodes = starts_.size() - 1;
        std::vector<uint32_t> depth(nodes, 0);
        std::vector<uint8_t> state(nodes, 0);             // 0 unseen, 1 on the path, 2 done
        std::vector<std::pair<uint32_t, uint32_t>> path;  // node, next edge
        for (uint32_t root = 0; root < nodes; ++root) {
            if (state[root] != 0) continue;
            state[root] = 1;
            path.push_back({root, starts_[root]});
            while (!path.empty()) {
                auto& [node, next] = path.back();
                if (next == starts_[node + 1]) {
                    state[node] = 2;
                    const uint32_t below = depth[node] + 1;
                    path.pop_back();
                    if (!path.empty()) {
                        uint32_t& above = depth[path.back().first];
                        above = std::max(above, below);
                        if (above > kDeepest) return false;
                    }
                    continue;
                }
                const uint32_t child = edges_[next++];
                if (state[child] == 1) return false;
                if (state[child] == 2) {
                    depth[node] = std::max(depth[node], depth[child] + 1);
                    if (depth[node] > kDeepest) return false;
                    continue;
                }
                state[child] = 1;
                path.push_back({child, starts_[child]});
            }
        }
        return true;
    }

private:
    std::vector<uint32_t> starts_;
    std::vector<uint32_t> edges_;
};

bool GraphReader::read(ByteReader& in) {
    if (read_graph(in)) return true;
    in.fail();
    let_go();
    return false;
}

// Bytes that fail half-way may have tied records into a ring that would keep itself alive: every
// reference among the records read is dropped, so each dies with the reader.
void GraphReader::let_go() {
    for (const ListRef& list : lists_)
        list->clear();
    for (const ItemArrayRef& array : arrays_)
        array->fill(nullptr);
    for (const RecordRef& record : records_) {
        for_each_member(*TTypeId::ForObject(*record), [&](const TField& field) {
            if (!field.is_int_or_text()) field.Set(*record, FieldValue());
        });
    }
}

bool GraphReader::read_graph(ByteReader& in) {
    const std::vector<const TTypeId*>& types = TTypeId::All();
    // Each record's fields take a byte at least, each list a byte and each array ten, so no
    // count can ask for more than the bytes left could describe.
    size_t promised = 0;
    const size_t record_count = in.count(in.left());
    records_.clear();
    lists_.clear();
    arrays_.clear();
    for (size_t k = 0; k < record_count && !in.failed(); ++k) {
        const size_t type = in.count(types.size() - 1);
        promised += types[type]->EnumFields().size() + types[type]->KeptMembers().size();
        if (promised > in.left()) in.fail();
        if (!in.failed()) records_.push_back(types[type]->NewBlank());
    }
    const size_t list_count = in.count(in.left());
    for (size_t k = 0; k < list_count && !in.failed(); ++k) {
        const uint8_t watched = in.byte();
        if (watched > 1 || ++promised > in.left()) in.fail();
        if (!in.failed()) lists_.push_back(watched ? new_watched_list() : new_list());
    }
    const size_t array_count = in.count(in.left() / kInventorySlots);
    if (promised + array_count * kInventorySlots > in.left()) in.fail();
    for (size_t k = 0; k < array_count && !in.failed(); ++k)
        arrays_.push_back(std::make_shared<ItemArray>());
    if (in.failed()) return false;

    Ownership ownership;
    for (const RecordRef& record : records_) {
        ownership.begin_node();
        read_fields(in, *record, ownership);
    }
    for (const ListRef& list : lists_) {
        ownership.begin_node();
        const size_t members = in.count(in.left());
        for (size_t k = 0; k < members && !in.failed(); ++k) {
            const uint32_t id = in.count(records_.size());
            if (id == 0) in.fail();
            if (in.failed()) break;
            ownership.add_edge(id - 1);
            list->append(records_[id - 1]);
        }
    }
    const TField* items = array_count > 0 ? &item_array_access() : nullptr;
    for (const ItemArrayRef& array : arrays_) {
        ownership.begin_node();
        for (size_t slot = 0; slot < kInventorySlots && !in.failed(); ++slot) {
            const uint32_t id = in.count(records_.size());
            if (id == 0) continue;
            ownership.add_edge(id - 1);
            if (!items->PutItem(*array, slot, records_[id - 1])) in.fail();
        }
    }
    if (in.failed() || !ownership.shallow_and_acyclic()) {
        in.fail();
        return false;
    }
    return true;
}

void GraphReader::read_fields(ByteReader& in, Record& record, Ownership& ownership) const {
    for_each_member(*TTypeId::ForObject(record), [&](const TField& field) {
        if (!in.failed() && !read_field(in, record, field, &ownership)) in.fail();
    });
}

bool GraphReader::field(ByteReader& in, Record& record, const TField& field) const {
    if (!read_field(in, record, field, nullptr)) in.fail();
    return !in.failed();
}

// Records first, then lists, then item arrays: a reference's node in the ownership.
bool GraphReader::read_field(ByteReader& in, Record& record, const TField& field,
                             Ownership* ownership) const {
    auto owns = [&](size_t first_node, size_t id) {
        if (ownership != nullptr && id != 0)
            ownership->add_edge(static_cast<uint32_t>(first_node + id - 1));
    };
    switch (field.Kind()) {
        case FieldKind::Int:
            field.SetInt(record, in.int32());
            return true;
        case FieldKind::String:
            return field.set_text(record, in.text(in.left()));
        case FieldKind::Record: {
            const size_t id = in.count(records_.size());
            if (!field.is_back_reference()) owns(0, id);
            return field.Set(record, id == 0 ? FieldValue() : FieldValue(records_[id - 1]));
        }
        case FieldKind::List: {
            const size_t id = in.count(lists_.size());
            owns(records_.size(), id);
            return field.Set(record, id == 0 ? FieldValue() : FieldValue(lists_[id - 1]));
        }
        case FieldKind::ItemArray: {
            const size_t id = in.count(arrays_.size());
            owns(records_.size() + lists_.size(), id);
            return field.Set(record, id == 0 ? FieldValue() : FieldValue(arrays_[id - 1]));
        }
        case FieldKind::FieldRef:
            return field.Set(record, FieldValue(read_field_ref(in)));
        case FieldKind::TypeRef: {
            const size_t type = in.count(TTypeId::All().size());
            const TTypeId* named = type == 0 ? nullptr : TTypeId::All()[type - 1];
            return field.Set(record, FieldValue(named));
        }
    }
    return false;
}

RecordRef GraphReader::record(ByteReader& in) const {
    const size_t id = in.count(records_.size());
    return id == 0 ? nullptr : records_[id - 1];
}

ListRef GraphReader::list(ByteReader& in) const {
    const size_t id = in.count(lists_.size());
    return id == 0 ? nullptr : lists_[id - 1];
}

}  // namespace grotmere
