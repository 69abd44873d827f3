#include "signature.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

namespace {

std::string Hex(const unsigned char* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(count * 2, '0');
  for (std::size_t i = 0; i < count; ++i) {
    text[2 * i] = kDigits[bytes[i] >> 4];
    text[2 * i + 1] = kDigits[bytes[i] & 15];
  }
  return text;
}

}  // namespace

std::string SignatureBase(std::string_view method, std::string_view path, std::string_view query,
                          std::int64_t timestamp, std::string_view nonce) {
  std::string base;
  base.reserve(method.size() + path.size() + query.size() + nonce.size() + 24);
  base.append(method).append("\n").append(path).append("\n").append(query).append("\n");
  base.append(std::to_string(timestamp)).append("\n").append(nonce);
  return base;
}

std::string RequestSignature(std::string_view key, std::string_view method, std::string_view path,
                             std::string_view query, std::int64_t timestamp,
                             std::string_view nonce) {
  const std::string base = SignatureBase(method, path, query, timestamp, nonce);
  unsigned char mac[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  // HMAC wants a non-null key pointer even for an empty key.
  static const char kNoKey = 0;
  if (HMAC(EVP_sha256(), key.empty() ? &kNoKey : key.data(), static_cast<int>(key.size()),
           reinterpret_cast<const unsigned char*>(base.data()), base.size(), mac,
           &length) == nullptr)
    return {};
  return Hex(mac, length);
}

std::string FreshNonce() {
  unsigned char bytes[16];
  if (RAND_bytes(bytes, sizeof bytes) != 1) return {};
  return Hex(bytes, sizeof bytes);
}

bool SameSignature(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}
