#include "core/text/html_entities.h"

#include <algorithm>
#include <iterator>

namespace {

struct NamedEntity {
    const char* name;
    const char* utf8;
};

// Every named character reference of HTML5 (the forms with a semicolon), sorted by name in
// byte order for the binary search below.
constexpr NamedEntity kEntities[] = {
#include "core/text/html_entity_table.inc"
};

}  // namespace

const char* HtmlNamedEntity(std::string_view name) {
    const auto found =
        std::lower_bound(std::begin(kEntities), std::end(kEntities), name,
                         [](const NamedEntity& e, std::string_view n) { return std::string_view(e.name) < n; });
    return found != std::end(kEntities) && std::string_view(found->name) == name ? found->utf8 : nullptr;
}
