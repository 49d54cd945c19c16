#include "records/field_registry.hpp"

#include <stdexcept>
#include <unordered_map>

#include "base/fnv_hash.hpp"
#include "base/text.hpp"
#include "records/type_table.hpp"

namespace grotmere {

namespace {

// Only A to Z fold, as everywhere in the game; no allocation, since stats are looked up by name
// on every pass.
bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y) return false;
    }
    return true;
}

struct Registry {
    TypeTable table;
    std::vector<const TTypeId*> in_order;

    explicit Registry(DescribeTypes describe) {
        describe(table);
        table.finish();
        for (const auto& type : table.types())
            in_order.push_back(type.get());
    }
};

// A registry table that breaks its own rules is a programming fault, found by the first test run.
[[noreturn]] void table_fault(const std::string& what) {
    throw std::logic_error("record type table: " + what);
}

DescribeTypes& described_by() {
    static DescribeTypes describe = nullptr;
    return describe;
}

const Registry& registry() {
    if (described_by() == nullptr) table_fault("used before the game described its types");
    static const Registry instance(described_by());
    return instance;
}

}  // namespace

void TypeTable::finish() {
    std::unordered_map<std::type_index, TTypeId*> by_type;
    for (const auto& type : types_) {
        for (const auto& other : types_) {
            if (other != type && same_name(other->name_, type->name_))
                table_fault("two types named " + type->name_);
        }
        by_type.emplace(type->type_, type.get());
    }
    for (const auto& type : types_) {
        if (type->base_type_ != typeid(Record)) {
            auto base = by_type.find(type->base_type_);
            if (base == by_type.end()) table_fault("the base of " + type->name_ + " is unknown");
            type->base_ = base->second;
        }
        for (TField& field : type->kept_)
            field.owner_ = type.get();
        for (TField& field : type->own_fields_) {
            field.owner_ = type.get();
            if (field.target_type_ == typeid(Record)) continue;
            auto target = by_type.find(field.target_type_);
            if (target == by_type.end())
                table_fault("the target of " + field.name_ + " is unknown");
            field.target_ = target->second;
        }
    }
    // Bases first: a type's list starts with its base's complete list.
    for (const auto& type : types_) {
        std::vector<const TTypeId*> chain;
        for (const TTypeId* t = type.get(); t != nullptr; t = t->base_)
            chain.insert(chain.begin(), t);
        for (const TTypeId* t : chain) {
            for (const TField& field : t->own_fields_)
                type->all_fields_.push_back(&field);
        }
    }
}

const TTypeId* TTypeId::ForName(std::string_view name) {
    for (const TTypeId* type : registry().in_order) {
        if (same_name(type->name_, name)) return type;
    }
    return nullptr;
}

const TTypeId& TTypeId::OfType(std::type_index type) {
    for (const TTypeId* candidate : registry().in_order) {
        if (candidate->type_ == type) return *candidate;
    }
    table_fault(std::string("a record class is not registered: ") + type.name());
}

const TTypeId* TTypeId::ForObject(const Record& record) {
    const std::type_info& info = typeid(record);
    const std::vector<const TTypeId*>& types = registry().in_order;
    for (const TTypeId* candidate : types) {
        if (candidate->type_info_ == &info) return candidate;
    }
    // A class whose type_info came twice into the program (a shared library's copy) still
    // matches by name.
    const std::type_index type = info;
    for (const TTypeId* candidate : types) {
        if (candidate->type_ == type) return candidate;
    }
    return nullptr;
}

const std::vector<const TTypeId*>& TTypeId::All() {
    return registry().in_order;
}

const TField* TTypeId::FindField(std::string_view name) const {
    for (const TTypeId* type = this; type != nullptr; type = type->base_) {
        for (const TField& field : type->own_fields_) {
            if (same_name(field.Name(), name)) return &field;
        }
    }
    return nullptr;
}

bool TTypeId::IsA(const TTypeId& other) const {
    for (const TTypeId* type = this; type != nullptr; type = type->base_) {
        if (type == &other) return true;
    }
    return false;
}

uint64_t registry_fingerprint() {
    static const uint64_t fingerprint = [] {
        Fnv1a hash;
        auto add_fields = [&hash](const std::vector<TField>& fields) {
            hash.add(static_cast<int32_t>(fields.size()));
            for (const TField& field : fields) {
                hash.add_text(field.Name());
                hash.add(static_cast<int32_t>(field.Kind()));
            }
        };
        for (const TTypeId* type : TTypeId::All()) {
            hash.add_text(type->Name());
            hash.add_text(type->Base() ? type->Base()->Name() : std::string());
            add_fields(type->OwnFields());
            add_fields(type->KeptMembers());
        }
        return hash.value();
    }();
    return fingerprint;
}

void describe_types_with(DescribeTypes describe) {
    if (described_by() == nullptr) described_by() = describe;
    registry();
}

int32_t TField::GetInt(const Record& record) const {
    // The slots hand out a writable member; reading through it changes nothing.
    Record& readable = const_cast<Record&>(record);
    if (access_.int_slot) {
        const int32_t* slot = access_.int_slot(readable);
        return slot ? *slot : 0;
    }
    if (access_.string_slot) {
        const std::string* slot = read_string(record);
        return slot ? text_to_int(*slot) : 0;
    }
    return 0;
}

void TField::SetInt(Record& record, int32_t value) const {
    if (access_.int_slot) {
        if (int32_t* slot = access_.int_slot(record)) *slot = value;
    } else if (access_.string_slot) {
        if (std::string* slot = access_.string_slot(record)) *slot = int_to_text(value);
    }
}

const std::string* TField::read_string(const Record& record) const {
    if (access_.string_read) return access_.string_read(record);
    // The slots hand out a writable member; reading through it changes nothing.
    return access_.string_slot(const_cast<Record&>(record));
}

FieldValue TField::Get(const Record& record) const {
    Record& readable = const_cast<Record&>(record);
    if (access_.int_slot) {
        const int32_t* slot = access_.int_slot(readable);
        return slot ? FieldValue(int_to_text(*slot)) : FieldValue();
    }
    if (access_.string_slot) {
        const std::string* slot = read_string(record);
        return slot ? FieldValue(*slot) : FieldValue();
    }
    return access_.get_reference(record);
}

FieldValue TField::Peek(const Record& record) const {
    if (access_.peek_reference) return access_.peek_reference(record);
    return Get(record);
}

std::optional<std::ptrdiff_t> TField::PlaceIn(const Record& record) const {
    Record& readable = const_cast<Record&>(record);
    const void* member = nullptr;
    if (access_.int_member) member = access_.int_member(readable);
    if (access_.string_member) member = access_.string_member(readable);
    if (member == nullptr) return std::nullopt;
    return static_cast<const char*>(member) - reinterpret_cast<const char*>(&record);
}

bool TField::Set(Record& record, const FieldValue& value) const {
    const std::string* text = std::get_if<std::string>(&value);
    bool none = std::holds_alternative<std::monostate>(value);
    if (access_.int_slot) {
        int32_t* slot = access_.int_slot(record);
        if (slot == nullptr || (text == nullptr && !none)) return false;
        *slot = text ? text_to_int(*text) : 0;
        return true;
    }
    if (access_.string_slot) {
        std::string* slot = access_.string_slot(record);
        if (slot == nullptr || (text == nullptr && !none)) return false;
        *slot = text ? *text : std::string();
        return true;
    }
    return access_.set_reference(record, value);
}

bool TField::set_text(Record& record, std::string_view text) const {
    if (access_.int_member) {
        *access_.int_member(record) = text_to_int(text);
        return true;
    }
    if (access_.string_member) {
        access_.string_member(record)->assign(text);
        return true;
    }
    return Set(record, std::string(text));
}

void TField::copy_value(const Record& from, Record& to) const {
    // The members hand out a writable slot; reading through it changes nothing.
    Record& source = const_cast<Record&>(from);
    if (access_.int_member) {
        *access_.int_member(to) = *access_.int_member(source);
    } else if (access_.string_member) {
        *access_.string_member(to) = *access_.string_member(source);
    } else {
        Set(to, Get(from));
    }
}

RecordRef clone_record(const Record& source) {
    const TTypeId* type = TTypeId::ForObject(source);
    if (type == nullptr) return nullptr;
    RecordRef copy = type->NewObject();
    // A factory makes a record of its own type, so both records have every field walked here.
    if (&typeid(*copy) != &typeid(source)) {
        for (const TField* field : type->EnumFields())
            field->Set(*copy, field->Get(source));
        return copy;
    }
    for (const TField* field : type->EnumFields())
        field->copy_value(source, *copy);
    return copy;
}

}  // namespace grotmere
