// Registry of the assets compiled into the executable, found by their "res\..." names.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

// The bytes must outlive the registry (embedded data lives for the whole run).
// Registering a name again replaces the earlier entry.
void RegisterResource(std::string_view name, const void* data, std::size_t size);

// Exact, case-sensitive lookup. Nothing for an unknown name.
std::optional<std::span<const unsigned char>> FindResource(std::string_view name);

// Number of registered resources.
std::size_t ResourceCount();

// Forget every registration (tests only).
void ClearResources();
