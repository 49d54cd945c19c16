// The field registry: the one place that knows every record type by name, its base type, how to
// make a record with the type's defaults, and its fields in declared order with their kinds and
// access. The definition loader, clone_record, the state dump and every rule that reads or writes
// a field by name go through it. The registry is built on first use and never changes afterwards,
// so any caller (start-up, a test) may use it at any time once it is described. Name lookups ignore
// letter case; Name() reports names as declared.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeindex>
#include <typeinfo>
#include <variant>
#include <vector>

#include "records/record.hpp"

namespace grotmere {

enum class FieldKind { Int, String, Record, List, ItemArray, FieldRef, TypeRef };

// What Get returns and Set takes: none, a text (integers travel as their decimal text), or one of
// the references a field can hold.
using FieldValue = std::variant<std::monostate, std::string, RecordRef, ListRef, ItemArrayRef,
                                const TField*, const TTypeId*>;

class TField {
public:
    const std::string& Name() const { return name_; }
    FieldKind Kind() const { return kind_; }
    bool is_int_or_text() const { return kind_ == FieldKind::Int || kind_ == FieldKind::String; }
    // The type that declares the field.
    const TTypeId& Owner() const { return *owner_; }
    // For a record reference, the type it must refer to; none when any record will do.
    const TTypeId* Target() const { return target_; }
    // A buff's `ziel`: a reference to the owner of the list that holds the record.
    bool is_back_reference() const { return access_.back_reference; }

    // A record that is not of the owning type (or derived from it) reads as 0 and none, and
    // ignores writes.
    int32_t GetInt(const Record& record) const;
    void SetInt(Record& record, int32_t value) const;
    FieldValue Get(const Record& record) const;
    // Integer fields convert texts with text_to_int; string fields store texts (none stores "");
    // reference fields take none or a reference of their kind and type. False when the value does
    // not fit the field, which is then left unchanged.
    bool Set(Record& record, const FieldValue& value) const;
    // For records known to be of the field's owning type or one derived from it, as a record
    // of a type whose fields are walked or looked up is (clone_record, the loader), so no test
    // of the record's type is made:
    // - Set(record, text) without first making a value of the text;
    bool set_text(Record& record, std::string_view text) const;
    // - Set(to, Get(from)), without the integer's round trip through its text.
    void copy_value(const Record& from, Record& to) const;
    // For an item array, the record in slot 0 to 9, or null for an empty slot or another kind.
    const Record* ItemAt(const Record& record, size_t slot) const {
        return access_.item_at ? access_.item_at(record, slot) : nullptr;
    }
    // For an item array field, the record in a slot of any item array, and a record put into one:
    // false, the slot left alone, for a record that is no item.
    const Record* ItemIn(const ItemArray& array, size_t slot) const {
        return access_.item_in ? access_.item_in(array, slot) : nullptr;
    }
    bool PutItem(ItemArray& array, size_t slot, const RecordRef& item) const {
        return access_.put_item && access_.put_item(array, slot, item);
    }
    // Reading without making anything: Get for every field but those whose value is made the
    // first time it is asked for (a tile's object list), which read as what would be made.
    FieldValue Peek(const Record& record) const;
    // A text field's value read without making it, or null for a record of another type.
    const std::string* PeekText(const Record& record) const { return read_string(record); }
    // Where a number or text field that is a plain member of its record lies: its distance in
    // bytes from the record's start, the same in every record of the owning type or one derived
    // from it (the types derive singly). None for a field reached another way.
    std::optional<std::ptrdiff_t> PlaceIn(const Record& record) const;

    // Access as the registration table builds it: one of the two slots, or the reference pair.
    struct Access {
        std::function<int32_t*(Record&)> int_slot;
        std::function<std::string*(Record&)> string_slot;
        // Where set, reads a text without making room for it (the slot may make it on demand).
        std::function<const std::string*(const Record&)> string_read;
        std::function<FieldValue(const Record&)> get_reference;
        std::function<bool(Record&, const FieldValue&)> set_reference;
        // An item array's slot as a record, or null for an empty slot; the table knows the items.
        std::function<const Record*(const Record&, size_t slot)> item_at;
        std::function<const Record*(const ItemArray&, size_t slot)> item_in;
        std::function<bool(ItemArray&, size_t slot, const RecordRef&)> put_item;
        // Where set, the slot of a record known to be of the owning type or derived from it.
        std::function<int32_t*(Record&)> int_member;
        std::function<std::string*(Record&)> string_member;
        // Where set, Peek reads the reference through it without making the value.
        std::function<FieldValue(const Record&)> peek_reference;
        // The reference points back at the record's owner and does not keep it alive.
        bool back_reference = false;
    };
    TField(std::string name, FieldKind kind, Access access, std::type_index target)
        : name_(std::move(name)), kind_(kind), access_(std::move(access)), target_type_(target) {}

private:
    friend class TypeTable;

    const std::string* read_string(const Record& record) const;

    std::string name_;
    FieldKind kind_;
    Access access_;
    std::type_index target_type_;  // typeid(Record) when any record will do
    const TTypeId* owner_ = nullptr;
    const TTypeId* target_ = nullptr;
};

class TTypeId {
public:
    using Factory = std::function<RecordRef()>;

    static const TTypeId* ForName(std::string_view name);
    static const TTypeId* ForObject(const Record& record);
    template <class T>
    static const TTypeId& Of();
    // Every registered type, in registration order.
    static const std::vector<const TTypeId*>& All();

    const std::string& Name() const { return name_; }
    const TTypeId* Base() const { return base_; }
    // A new record with the type's defaults, construction side effects included.
    RecordRef NewObject() const { return factory_(); }
    // A new record made by the class's own default constructor alone: no camera joins `cameras`,
    // no map is built. For records whose every field is set next (a snapshot put back).
    RecordRef NewBlank() const { return blank_(); }
    const TField* FindField(std::string_view name) const;
    // The base type's fields first (recursively), then the type's own, each in declared order.
    const std::vector<const TField*>& EnumFields() const { return all_fields_; }
    const std::vector<TField>& OwnFields() const { return own_fields_; }
    // Members the game keeps beside the fields (what made a buff): no data file sets them, and
    // neither the dump nor the digest shows them, but a snapshot of the game keeps them with the
    // fields. The class's every other member is a field.
    const std::vector<TField>& KeptMembers() const { return kept_; }
    // This type or one derived from it.
    bool IsA(const TTypeId& other) const;
    // Whether a data file may make records of the type; the map object, say, may not.
    bool FromData() const { return from_data_; }

    TTypeId(std::string name, const std::type_info& type, std::type_index base, Factory factory,
            Factory blank, std::vector<TField> fields)
        : name_(std::move(name)),
          type_info_(&type),
          type_(type),
          base_type_(base),
          factory_(std::move(factory)),
          blank_(std::move(blank)),
          own_fields_(std::move(fields)) {}
    TTypeId(const TTypeId&) = delete;
    TTypeId& operator=(const TTypeId&) = delete;

private:
    friend class TypeTable;
    static const TTypeId& OfType(std::type_index type);

    std::string name_;
    // The class's own type_info object: within one program a class has one, so comparing the
    // addresses answers at once where comparing type_index may compare mangled names.
    const std::type_info* type_info_;
    std::type_index type_;
    std::type_index base_type_;  // typeid(Record) for a type with no base
    Factory factory_;
    Factory blank_;
    std::vector<TField> own_fields_;
    std::vector<TField> kept_;
    const TTypeId* base_ = nullptr;
    std::vector<const TField*> all_fields_;
    bool from_data_ = true;
};

// Looked up once per class: the registry is filled once and never changes, so the descriptor
// found first stays the right one for the whole run.
template <class T>
const TTypeId& TTypeId::Of() {
    static const TTypeId* const type = &OfType(typeid(T));
    return *type;
}

// The registry is filled once, by the layer that knows the record types (the game's type table,
// register_record_types in run/record_types.hpp), before anything looks a type up; a look-up
// before that is a programming fault. Later calls change nothing.
class TypeTable;
using DescribeTypes = void (*)(TypeTable& table);
void describe_types_with(DescribeTypes describe);

// A new record of T made through the registry, so its construction side effects happen.
template <class T>
std::shared_ptr<T> new_record() {
    return std::static_pointer_cast<T>(TTypeId::Of<T>().NewObject());
}

// A new record of the source's own type whose every field, inherited ones included, is set to the
// source's value: integers and texts are copied, references, lists and arrays shared.
RecordRef clone_record(const Record& source);

template <class T>
std::shared_ptr<T> clone_as(const T& source) {
    return std::static_pointer_cast<T>(clone_record(source));
}

// A fingerprint of the registry: every type's name and base, every field's and kept member's name
// and kind, in order. Bytes that name types and fields by their places are read only by a registry
// of the same fingerprint.
uint64_t registry_fingerprint();

}  // namespace grotmere
