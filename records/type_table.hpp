// How the registry is filled: the builders of the field descriptors and the table that takes each
// type with its base, factory and own fields. Only the game's table (run/record_types.cpp) writes
// it (the one list of type and field names) and records/field_registry.cpp reads it.
#pragma once

#include <memory>
#include <string>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <utility>
#include <vector>

#include "records/field_registry.hpp"

namespace grotmere {

class TypeTable {
public:
    // Types may name a base registered after them; bases are resolved by finish().
    template <class T, class Base = Record>
    TTypeId& add(std::string name, std::vector<TField> fields, TTypeId::Factory factory = nullptr);
    // A type the rules make but a data file must not: the loader refuses its records.
    void rules_only(TTypeId& type) { type.from_data_ = false; }
    // Members of the type's class that are no fields (TTypeId::KeptMembers).
    void keep(TTypeId& type, std::vector<TField> members) { type.kept_ = std::move(members); }
    void finish();

    const std::vector<std::unique_ptr<TTypeId>>& types() const { return types_; }

private:
    std::vector<std::unique_ptr<TTypeId>> types_;
};

template <class T, class Base>
TTypeId& TypeTable::add(std::string name, std::vector<TField> fields, TTypeId::Factory factory) {
    static_assert(std::is_base_of_v<Base, T> && std::is_base_of_v<Record, Base>);
    TTypeId::Factory blank = [] { return RecordRef(std::make_shared<T>()); };
    if (!factory) factory = blank;
    types_.push_back(std::make_unique<TTypeId>(std::move(name), typeid(T), typeid(Base),
                                               std::move(factory), std::move(blank),
                                               std::move(fields)));
    return *types_.back();
}

namespace field_access {

// The member of a record of type R, or null when the record is of another type. A record of
// exactly R, the common case, is known by the address of its type_info alone, without the search
// through the bases that a dynamic_cast makes.
template <class R, class M>
M* member_of(Record& record, M R::*member) {
    if (&typeid(record) == &typeid(R)) return &(static_cast<R&>(record).*member);
    R* typed = dynamic_cast<R*>(&record);
    return typed ? &(typed->*member) : nullptr;
}

template <class R, class M>
const M* member_of(const Record& record, M R::*member) {
    if (&typeid(record) == &typeid(R)) return &(static_cast<const R&>(record).*member);
    const R* typed = dynamic_cast<const R*>(&record);
    return typed ? &(typed->*member) : nullptr;
}

// A reference field takes none, or a value of the alternative V that `accept` turns into M.
template <class R, class M, class V, class Accept>
TField::Access reference_access(M R::*member, Accept accept) {
    TField::Access access;
    access.get_reference = [member](const Record& record) -> FieldValue {
        const M* slot = member_of(record, member);
        if constexpr (std::is_same_v<M, std::weak_ptr<Record>>) {
            return slot ? FieldValue(slot->lock()) : FieldValue();
        } else {
            return slot ? FieldValue(V(*slot)) : FieldValue();
        }
    };
    access.set_reference = [member, accept](Record& record, const FieldValue& value) {
        M* slot = member_of(record, member);
        if (slot == nullptr) return false;
        if (std::holds_alternative<std::monostate>(value)) {
            *slot = M{};
            return true;
        }
        const V* given = std::get_if<V>(&value);
        return given != nullptr && accept(*given, *slot);
    };
    return access;
}

}  // namespace field_access

template <class R>
TField int_field(std::string name, int32_t R::*member) {
    TField::Access access;
    access.int_slot = [member](Record& record) { return field_access::member_of(record, member); };
    access.int_member = [member](Record& record) { return &(static_cast<R&>(record).*member); };
    return TField(std::move(name), FieldKind::Int, std::move(access), typeid(Record));
}

template <class R>
TField string_field(std::string name, std::string R::*member) {
    TField::Access access;
    access.string_slot = [member](Record& record) {
        return field_access::member_of(record, member);
    };
    access.string_member = [member](Record& record) { return &(static_cast<R&>(record).*member); };
    return TField(std::move(name), FieldKind::String, std::move(access), typeid(Record));
}

// A reference to a record of type T or derived from it.
template <class R, class T>
TField record_field(std::string name, std::shared_ptr<T> R::*member) {
    auto accept = [](const RecordRef& given, std::shared_ptr<T>& slot) {
        std::shared_ptr<T> typed = std::dynamic_pointer_cast<T>(given);
        if (given && !typed) return false;
        slot = std::move(typed);
        return true;
    };
    return TField(std::move(name), FieldKind::Record,
                  field_access::reference_access<R, std::shared_ptr<T>, RecordRef>(member, accept),
                  typeid(T));
}

// A reference to any record that does not keep it alive: a back reference to an owner.
template <class R>
TField owner_field(std::string name, std::weak_ptr<Record> R::*member) {
    auto accept = [](const RecordRef& given, std::weak_ptr<Record>& slot) {
        slot = given;
        return true;
    };
    TField::Access access =
        field_access::reference_access<R, std::weak_ptr<Record>, RecordRef>(member, accept);
    access.back_reference = true;
    return TField(std::move(name), FieldKind::Record, std::move(access), typeid(Record));
}

template <class R>
TField list_field(std::string name, ListRef R::*member) {
    auto accept = [](const ListRef& given, ListRef& slot) {
        slot = given;
        return true;
    };
    return TField(std::move(name), FieldKind::List,
                  field_access::reference_access<R, ListRef, ListRef>(member, accept),
                  typeid(Record));
}

template <class R>
TField item_array_field(std::string name, ItemArrayRef R::*member) {
    auto accept = [](const ItemArrayRef& given, ItemArrayRef& slot) {
        slot = given;
        return true;
    };
    TField::Access access =
        field_access::reference_access<R, ItemArrayRef, ItemArrayRef>(member, accept);
    // Written where the items' type is complete: the table's own file instantiates it.
    access.item_at = [member](const Record& record, size_t slot) -> const Record* {
        const auto* array = field_access::member_of(record, member);
        if (array == nullptr || !*array || slot >= (*array)->size()) return nullptr;
        return (**array)[slot].get();
    };
    // The items' type named through R, so that it is looked at only where the table is made.
    using Array = std::remove_reference_t<decltype(*(std::declval<R&>().*member))>;
    using Item = typename Array::value_type::element_type;
    access.item_in = [](const Array& array, size_t slot) -> const Record* {
        return slot < array.size() ? array[slot].get() : nullptr;
    };
    access.put_item = [](Array& array, size_t slot, const RecordRef& item) {
        std::shared_ptr<Item> typed = std::dynamic_pointer_cast<Item>(item);
        if (slot >= array.size() || (item && !typed)) return false;
        array[slot] = std::move(typed);
        return true;
    };
    return TField(std::move(name), FieldKind::ItemArray, std::move(access), typeid(Record));
}

template <class R>
TField field_ref_field(std::string name, const TField* R::*member) {
    auto accept = [](const TField* given, const TField*& slot) {
        slot = given;
        return true;
    };
    return TField(std::move(name), FieldKind::FieldRef,
                  field_access::reference_access<R, const TField*, const TField*>(member, accept),
                  typeid(Record));
}

template <class R>
TField type_ref_field(std::string name, const TTypeId* R::*member) {
    auto accept = [](const TTypeId* given, const TTypeId*& slot) {
        slot = given;
        return true;
    };
    return TField(std::move(name), FieldKind::TypeRef,
                  field_access::reference_access<R, const TTypeId*, const TTypeId*>(member, accept),
                  typeid(Record));
}

}  // namespace grotmere
