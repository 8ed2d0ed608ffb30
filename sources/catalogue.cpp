#include "sources/catalogue.h"

#include <atomic>
#include <utility>

namespace sources {

namespace {

// Both catalogues and the indicator, swapped as one: a reader never sees an indicator that
// names a catalogue other than the one it gets.
struct Catalogues {
  std::int32_t current = 0;
  SharedCatalogue a = std::make_shared<const Catalogue>();
  SharedCatalogue b = std::make_shared<const Catalogue>();
};

std::shared_ptr<const Catalogues> g_catalogues = std::make_shared<const Catalogues>();

std::shared_ptr<const Catalogues> Load() { return std::atomic_load(&g_catalogues); }

}  // namespace

std::int32_t CurrentCatalogue() { return Load()->current; }

SharedCatalogue TakeCurrentCatalogue() {
  const std::shared_ptr<const Catalogues> catalogues = Load();
  if (catalogues->current == 1) return catalogues->b;
  if (catalogues->current == 2) return catalogues->a;
  return nullptr;
}

SharedCatalogue CatalogueA() { return Load()->a; }
SharedCatalogue CatalogueB() { return Load()->b; }

bool PublishCatalogue(Catalogue filled) {
  if (filled.empty()) return false;
  // Kept until the next refresh but one: without the room its filling left (up to as much again).
  filled.shrink_to_fit();
  const std::shared_ptr<const Catalogues> before = Load();
  auto after = std::make_shared<Catalogues>(*before);
  auto records = std::make_shared<const Catalogue>(std::move(filled));
  // 0 and 1 fill CatalogueA and make it current (2); 2 fills CatalogueB (1).
  if (before->current == 2) {
    after->b = std::move(records);
    after->current = 1;
  } else {
    after->a = std::move(records);
    after->current = 2;
  }
  std::atomic_store(&g_catalogues, std::shared_ptr<const Catalogues>(std::move(after)));
  return true;
}

void ResetCatalogues() { std::atomic_store(&g_catalogues, std::make_shared<const Catalogues>()); }

}  // namespace sources
