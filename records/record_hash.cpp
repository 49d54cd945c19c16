#include "records/record_hash.hpp"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

#include "records/field_registry.hpp"
#include "records/record_json.hpp"
#include "records/record_list.hpp"

namespace grotmere {

namespace {

// What stands where a record, a list or a name could: each its own mark, so none reads as another.
enum Mark : uint64_t { kNone = 0x6e6f6e65, kRecord, kNamed, kList, kItems };

uint64_t registry_place(const TTypeId& type) {
    const auto& all = TTypeId::All();
    return static_cast<uint64_t>(std::find(all.begin(), all.end(), &type) - all.begin());
}

}  // namespace

// A type's plain members lie at the same place in every record of it, so the place found in the
// first record is the place in all. The registry never changes, so neither do the plans.
const RecordHasher::Plan& RecordHasher::plan_of(const TTypeId& type, const Record& example) {
    static std::unordered_map<const TTypeId*, Plan> plans;
    static const TTypeId* last_type = nullptr;
    static const Plan* last_plan = nullptr;
    if (&type == last_type) return *last_plan;
    auto found = plans.find(&type);
    if (found == plans.end()) {
        Plan plan{registry_place(type), {}};
        for (const TField* field : type.EnumFields())
            plan.steps.push_back({field, field->PlaceIn(example).value_or(-1)});
        found = plans.emplace(&type, std::move(plan)).first;
    }
    last_type = &type;
    last_plan = &found->second;
    return *last_plan;
}

RecordHasher::RecordHasher(LaneHash& hash, PlanCheck check) : hash_(hash), check_(check) {
    path_.reserve(kMaxJsonNesting);
}

void RecordHasher::record(const Record* record) {
    const TTypeId* type = record ? TTypeId::ForObject(*record) : nullptr;
    if (type == nullptr) return hash_.add(kNone);
    const Plan& plan = plan_of(*type, *record);
    const bool on_path = std::find(path_.begin(), path_.end(), record) != path_.end();
    if (on_path || static_cast<int32_t>(path_.size()) >= kMaxJsonNesting) {
        hash_.add(kNamed);
        return hash_.add(plan.mark);
    }
    if (check_ == PlanCheck::On) check_plan(*record, plan);
    path_.push_back(record);
    hash_.add(kRecord);
    hash_.add(plan.mark);
    fields_by_plan(*record, plan);
    path_.pop_back();
}

void RecordHasher::list(const RecordList* list) {
    if (list == nullptr) return hash_.add(kNone);
    hash_.add(kList);
    hash_.add(list->records().size());
    for (const RecordRef& element : list->records())
        record(element.get());
}

void RecordHasher::fields_by_plan(const Record& record, const Plan& plan) {
    for (const Step& each : plan.steps)
        step(record, each);
}

void RecordHasher::step(const Record& record, const Step& step) {
    if (step.place < 0) return field(record, *step.field);
    const char* at = reinterpret_cast<const char*>(&record) + step.place;
    if (step.field->Kind() == FieldKind::Int)
        return hash_.add_int(*reinterpret_cast<const int32_t*>(at));
    hash_.add_text(*reinterpret_cast<const std::string*>(at));
}

void RecordHasher::field(const Record& record, const TField& field) {
    switch (field.Kind()) {
        case FieldKind::Int:
            return hash_.add_int(field.GetInt(record));
        case FieldKind::String: {
            const std::string* text = field.PeekText(record);
            return text ? hash_.add_text(*text) : hash_.add(kNone);
        }
        default:
            return reference(record, field);
    }
}

void RecordHasher::reference(const Record& record, const TField& field) {
    const FieldValue value = field.Peek(record);
    switch (field.Kind()) {
        case FieldKind::Record: {
            const RecordRef& target = std::get<RecordRef>(value);
            if (!target || !field.is_back_reference()) return this->record(target.get());
            const TTypeId* type = TTypeId::ForObject(*target);
            return type ? hash_.add(registry_place(*type)) : hash_.add(kNone);
        }
        case FieldKind::List:
            return list(std::get<ListRef>(value).get());
        case FieldKind::ItemArray:
            if (!std::get<ItemArrayRef>(value)) return hash_.add(kNone);
            hash_.add(kItems);
            for (size_t slot = 0; slot < static_cast<size_t>(kInventorySlots); ++slot)
                this->record(field.ItemAt(record, slot));
            return;
        case FieldKind::FieldRef: {
            const TField* named = std::get<const TField*>(value);
            return named ? hash_.add_text(named->Name()) : hash_.add(kNone);
        }
        case FieldKind::TypeRef: {
            const TTypeId* named = std::get<const TTypeId*>(value);
            return named ? hash_.add(registry_place(*named)) : hash_.add(kNone);
        }
        default:
            return;
    }
}

// The plan's reading of each plain member against the field's own access.
void RecordHasher::check_plan(const Record& record, const Plan& plan) {
    for (const Step& each : plan.steps) {
        if (each.place < 0) continue;
        LaneHash by_plan, plain;
        RecordHasher(by_plan).step(record, each);
        RecordHasher(plain).field(record, *each.field);
        if (by_plan.value() != plain.value())
            throw std::logic_error("the digest reads " + each.field->Name() +
                                   " at another place than its field does");
    }
}

}  // namespace grotmere
