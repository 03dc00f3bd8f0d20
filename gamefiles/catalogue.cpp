#include "gamefiles/catalogue.h"

#include <algorithm>

#include "gamefiles/text_rules.h"

namespace km {

namespace {
const char kKeyPrefix[] = "英雄";
}

std::string catalogue_section() { return "皮肤包"; }

std::string catalogue_key(int slot) { return kKeyPrefix + number_to_text(slot); }

std::optional<int> slot_of_key(std::string_view key) {
  const std::string_view prefix = kKeyPrefix;
  if (key.size() <= prefix.size() || key.substr(0, prefix.size()) != prefix) return std::nullopt;
  std::string_view digits = key.substr(prefix.size());
  // Only the form number_to_text writes: "英雄01" is another key, not slot 1.
  if (digits.size() > 9 || digits[0] == '0') return std::nullopt;
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

int first_free_slot(Catalogue& catalogue) {
  int n = 1;
  while (!catalogue.read_slot(n).empty()) ++n;
  return n;
}

int slot_after_last(const std::vector<CatalogueEntry>& entries) {
  int last = 0;
  for (const CatalogueEntry& e : entries) last = std::max(last, e.slot);
  return last + 1;
}

std::string catalogue_file_text(const std::vector<std::string>& values) {
  if (values.empty()) return {};
  std::string text = "[" + catalogue_section() + "]\r\n";
  for (size_t i = 0; i < values.size(); ++i) {
    text += catalogue_key(static_cast<int>(i + 1)) + "=" + values[i] + "\r\n";
  }
  return text;
}

}  // namespace km
