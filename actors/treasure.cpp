#include "actors/treasure.hpp"

#include <memory>
#include <string>
#include <vector>

#include "base/random.hpp"
#include "records/field_registry.hpp"
#include "world/gegenstand.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// A monster's budget buys items for at most this many counter points; a try costs 1, a try that
// buys an item 5 more. What is left then turns into gold, one piece per 8.
constexpr int32_t kTriesForGold = 30;
constexpr int32_t kCostOfAFind = 5;
constexpr int32_t kValuePerGoldPiece = 8;
// An item worth no more than this share of the budget left is too cheap to be drawn.
constexpr int32_t kCheapestShare = 20;

std::shared_ptr<TTreasure> new_heap(int32_t x, int32_t y, int32_t gold) {
    auto heap = new_record<TTreasure>();
    heap->x = x;
    heap->y = y;
    heap->gold = gold;
    return heap;
}

// A heap whose list a data file took away gets a new one when something is put on it.
RecordList& items_of(TTreasure& heap) {
    if (!heap.drop) heap.drop = new_list();
    return *heap.drop;
}

std::shared_ptr<TGegenstand> item_named(TTreasure& heap, const std::string& name) {
    return items_of(heap).find_first<TGegenstand>(
        [&](const TGegenstand& item) { return item.name == name; });
}

std::shared_ptr<TTreasure> first_heap_at(int32_t x, int32_t y) {
    return treasures->find_first<TTreasure>(
        [&](const TTreasure& heap) { return heap.x == x && heap.y == y; });
}

// Keys and doors declare a price of their own; only the one every item inherits buys treasure.
int32_t inherited_preis(const TGegenstand& item) {
    return item.preis;
}

bool within_price_window(const TGegenstand& prototype, int32_t wert) {
    const int32_t preis = inherited_preis(prototype);
    return preis <= wert && preis > wert / kCheapestShare;
}

// A try's prototype, drawn uniformly; none when there are no prototypes, so the tries run out
// and the budget becomes gold.
std::shared_ptr<TGegenstand> draw_prototype(const std::vector<RecordRef>& prototypes) {
    if (prototypes.empty()) return nullptr;
    const int32_t last = static_cast<int32_t>(prototypes.size()) - 1;
    return std::dynamic_pointer_cast<TGegenstand>(prototypes[random_range(0, last)]);
}

// A second find of a kind adds one piece, whatever the prototype's count.
void add_find(TTreasure& heap, const std::string& name) {
    if (std::shared_ptr<TGegenstand> same = item_named(heap, name)) {
        same->anzahl += 1;
    } else if (std::shared_ptr<TGegenstand> made = TGegenstand::create_from_proto(name)) {
        items_of(heap).append(made);
    }
}

}  // namespace

// The first try always runs, so even an empty budget costs one draw.
int32_t TTreasure::create(int32_t x, int32_t y, int32_t gold, int32_t wert) {
    std::shared_ptr<TTreasure> heap = new_heap(x, y, gold);
    const std::vector<RecordRef> prototypes = item_prototypes->records();
    int32_t tries = 0;
    do {
        std::shared_ptr<TGegenstand> prototype = draw_prototype(prototypes);
        if (prototype && within_price_window(*prototype, wert)) {
            add_find(*heap, prototype->name);
            wert -= inherited_preis(*prototype);
            tries += kCostOfAFind;
        }
        tries += 1;
        if (tries >= kTriesForGold) {
            heap->gold += wert / kValuePerGoldPiece;
            wert = 0;
        }
    } while (wert != 0);
    treasures->append(heap);
    return 0;
}

int32_t TTreasure::drop_gold(int32_t x, int32_t y, int32_t amount) {
    if (std::shared_ptr<TTreasure> heap = first_heap_at(x, y)) {
        heap->gold += amount;
    } else {
        treasures->append(new_heap(x, y, amount));
    }
    return 0;
}

// Exactly one piece is added, a copy; the given item stays with its owner.
int32_t TTreasure::drop_gegenstand(int32_t x, int32_t y, const TGegenstand& item) {
    std::shared_ptr<TTreasure> heap = first_heap_at(x, y);
    if (heap) {
        if (std::shared_ptr<TGegenstand> same = item_named(*heap, item.name)) {
            same->anzahl += 1;
            return 0;
        }
    } else {
        heap = new_heap(x, y, 0);
        treasures->append(heap);
    }
    auto piece = clone_as(item);
    piece->anzahl = 1;
    items_of(*heap).append(piece);
    return 0;
}

int32_t TTreasure::update() {
    treasures->for_each_of<TTreasure>([](std::shared_ptr<TTreasure>& heap) {
        if (heap->gold == 0 && (!heap->drop || heap->drop->empty())) treasures->remove(heap.get());
    });
    return 0;
}

}  // namespace grotmere
