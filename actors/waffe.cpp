#include "actors/waffe.hpp"

#include "records/field_registry.hpp"

namespace grotmere {

// preis is the price every item has, the one the treasure draw reads.
std::shared_ptr<TWaffe> TWaffe::create(const std::string& name, int32_t dmg, int32_t preis) {
    auto made = new_record<TWaffe>();
    made->name = name;
    made->dmg = dmg;
    made->preis = preis;
    return made;
}

}  // namespace grotmere
