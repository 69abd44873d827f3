// Request signing, shared by the score library and the score server: HMAC-SHA256 with
// the shared key over the method, path, query, timestamp and nonce of a request, each
// exactly as it travels, one per line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

std::string SignatureBase(std::string_view method, std::string_view path, std::string_view query,
                          std::int64_t timestamp, std::string_view nonce);

// The signature in lower-case hex (64 characters); empty if the HMAC failed.
std::string RequestSignature(std::string_view key, std::string_view method, std::string_view path,
                             std::string_view query, std::int64_t timestamp,
                             std::string_view nonce);

// 16 fresh random bytes in lower-case hex; empty if no random bytes could be had.
std::string FreshNonce();

// Compares in time that does not depend on where the texts differ.
bool SameSignature(std::string_view a, std::string_view b);
