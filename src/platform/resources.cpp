#include "platform/resources.h"

#include <map>
#include <string>

namespace {

using Registry = std::map<std::string, std::span<const unsigned char>, std::less<>>;

Registry& Entries() {
  static Registry entries;
  return entries;
}

}  // namespace

void RegisterResource(std::string_view name, const void* data, std::size_t size) {
  // A null pointer can only describe an empty resource.
  if (data == nullptr && size != 0) return;
  const auto* bytes = static_cast<const unsigned char*>(data);
  Entries().insert_or_assign(std::string(name), std::span<const unsigned char>(bytes, size));
}

std::optional<std::span<const unsigned char>> FindResource(std::string_view name) {
  const Registry& entries = Entries();
  const auto it = entries.find(name);
  if (it == entries.end()) return std::nullopt;
  return it->second;
}

std::size_t ResourceCount() {
  return Entries().size();
}

void ClearResources() {
  Entries().clear();
}
