#include "records/record_json.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "base/text.hpp"
#include "records/field_registry.hpp"
#include "records/record_list.hpp"

namespace grotmere {

namespace {

using Json = nlohmann::ordered_json;

class JsonWriter {
public:
    Json record(const Record& record) {
        const TTypeId* type = TTypeId::ForObject(record);
        if (type == nullptr) return nullptr;
        // A record met again on its own path, or too deep, is named instead of written.
        bool on_path = std::find(path_.begin(), path_.end(), &record) != path_.end();
        if (on_path || static_cast<int32_t>(path_.size()) >= kMaxJsonNesting) return type->Name();
        path_.push_back(&record);
        Json object;
        object["type"] = type->Name();
        for (const TField* field : type->EnumFields()) {
            object[key_for(*type, *field)] = value(record, *field);
        }
        path_.pop_back();
        return object;
    }

    Json list(const RecordList* list) {
        if (list == nullptr) return nullptr;
        Json array = Json::array();
        for (const RecordRef& element : list->records())
            array.push_back(record(*element));
        return array;
    }

private:
    // A field that shares its name with an inherited one (the own `preis` of TDoor and TKey) is
    // written under its type's name, "TDoor.preis", beside the inherited "preis".
    static std::string key_for(const TTypeId& type, const TField& field) {
        for (const TField* earlier : type.EnumFields()) {
            if (earlier == &field) break;
            if (earlier->Name() == field.Name()) return field.Owner().Name() + "." + field.Name();
        }
        return field.Name();
    }

    Json value(const Record& record, const TField& field) {
        FieldValue value = field.Get(record);
        switch (field.Kind()) {
            case FieldKind::Int:
                return field.GetInt(record);
            case FieldKind::String:
                return latin1_to_utf8(std::get<std::string>(value));
            case FieldKind::Record:
                return reference(std::get<RecordRef>(value), field.is_back_reference());
            case FieldKind::List:
                return list(std::get<ListRef>(value).get());
            case FieldKind::ItemArray:
                return items(record, field, std::get<ItemArrayRef>(value) != nullptr);
            case FieldKind::FieldRef: {
                const TField* named = std::get<const TField*>(value);
                return named ? Json(named->Name()) : Json(nullptr);
            }
            case FieldKind::TypeRef: {
                const TTypeId* named = std::get<const TTypeId*>(value);
                return named ? Json(named->Name()) : Json(nullptr);
            }
        }
        return nullptr;
    }

    Json reference(const RecordRef& target, bool back_reference) {
        if (!target) return nullptr;
        if (!back_reference) return record(*target);
        const TTypeId* type = TTypeId::ForObject(*target);
        return type ? Json(type->Name()) : Json(nullptr);
    }

    Json items(const Record& owner, const TField& field, bool has_array) {
        if (!has_array) return nullptr;
        Json array = Json::array();
        for (size_t slot = 0; slot < static_cast<size_t>(kInventorySlots); ++slot) {
            const Record* item = field.ItemAt(owner, slot);
            array.push_back(item ? record(*item) : Json(nullptr));
        }
        return array;
    }

    std::vector<const Record*> path_;
};

}  // namespace

nlohmann::ordered_json record_to_json(const Record& record) {
    return JsonWriter().record(record);
}

nlohmann::ordered_json list_to_json(const RecordList& list) {
    return JsonWriter().list(&list);
}

}  // namespace grotmere
