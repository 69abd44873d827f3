#include "persist/replay_file.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr char kMagic[8] = {'S', 'G', 'R', 'E', 'P', 'L', 'A', 'Y'};
constexpr std::size_t kStreamLimit = 64u << 20;
constexpr std::size_t kVersionTextLimit = 32;

void PutBytes(std::vector<std::uint8_t>& out, const void* data, std::size_t n) {
  if (n == 0) return;
  const std::size_t at = out.size();
  out.resize(at + n);
  std::memcpy(out.data() + at, data, n);
}

template <typename T>
void PutLe(std::vector<std::uint8_t>& out, T value) {
  auto v = static_cast<std::uint64_t>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    v >>= 8;
  }
}

void PutBlob(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& blob) {
  PutLe<std::uint32_t>(out, static_cast<std::uint32_t>(blob.size()));
  PutBytes(out, blob.data(), blob.size());
}

std::uint32_t Crc(std::span<const std::uint8_t> bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes lengths as uInt: feed large files in pieces.
  while (!bytes.empty()) {
    const std::size_t n = std::min<std::size_t>(bytes.size(), 1u << 30);
    crc = crc32(crc, bytes.data(), static_cast<uInt>(n));
    bytes = bytes.subspan(n);
  }
  return static_cast<std::uint32_t>(crc);
}

// A cursor that never reads past the end: every read says whether it could.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  template <typename T>
  bool Le(T* value) {
    if (bytes_.size() - at_ < sizeof(T)) return false;
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
      v |= static_cast<std::uint64_t>(bytes_[at_ + i]) << (8 * i);
    at_ += sizeof(T);
    *value = static_cast<T>(v);
    return true;
  }
  bool Bytes(std::size_t n, std::vector<std::uint8_t>* out) {
    if (bytes_.size() - at_ < n) return false;
    out->assign(bytes_.begin() + static_cast<std::ptrdiff_t>(at_),
                bytes_.begin() + static_cast<std::ptrdiff_t>(at_ + n));
    at_ += n;
    return true;
  }
  bool Blob(std::size_t limit, std::vector<std::uint8_t>* out) {
    std::uint32_t n = 0;
    return Le(&n) && n <= limit && Bytes(n, out);
  }
  std::size_t at() const { return at_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

}  // namespace

bool ReplayCarriesName(const std::string& name) {
  return name == "settings.dat" || name == "JoypadConfig.txt";
}

std::vector<std::uint8_t> EncodeReplay(const ReplayFile& replay) {
  std::vector<std::uint8_t> out;
  out.reserve(64 + replay.tape.input.size() + replay.tape.clock.size());
  PutBytes(out, kMagic, sizeof kMagic);
  PutLe<std::uint16_t>(out, kReplayFormatVersion);
  const std::string version = replay.game_version.substr(0, kVersionTextLimit);
  PutLe<std::uint8_t>(out, static_cast<std::uint8_t>(version.size()));
  PutBytes(out, version.data(), version.size());
  PutLe<std::uint8_t>(out, replay.seeded ? 1 : 0);
  PutLe<std::int64_t>(out, replay.seed);
  std::vector<const ReplayCarriedFile*> carried;
  for (const ReplayCarriedFile& f : replay.files)
    if (ReplayCarriesName(f.name) && f.bytes.size() <= kReplayFileLimit &&
        carried.size() < kReplayMaxFiles)
      carried.push_back(&f);
  PutLe<std::uint8_t>(out, static_cast<std::uint8_t>(carried.size()));
  for (const ReplayCarriedFile* f : carried) {
    PutLe<std::uint8_t>(out, static_cast<std::uint8_t>(f->name.size()));
    PutBytes(out, f->name.data(), f->name.size());
    PutBlob(out, f->bytes);
  }
  PutBlob(out, replay.tape.input);
  PutBlob(out, replay.tape.clock);
  PutLe<std::int32_t>(out, replay.outcome.score);
  PutLe<std::int32_t>(out, replay.outcome.level);
  PutLe<std::uint64_t>(out, replay.outcome.checksum);
  PutLe<std::uint32_t>(out, replay.outcome.frames);
  PutLe<std::uint32_t>(out, Crc(out));
  return out;
}

ReplayReadResult DecodeReplay(std::span<const std::uint8_t> bytes, ReplayFile* out,
                              std::string* reason) {
  auto fail = [&](ReplayReadResult result, const std::string& why) {
    if (reason) *reason = why;
    return result;
  };
  if (bytes.size() < sizeof kMagic + 2 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
    return fail(ReplayReadResult::kNotAReplay, "not a Silkguard replay");
  Reader r(bytes.subspan(sizeof kMagic));
  std::uint16_t format = 0;
  r.Le(&format);
  if (format > kReplayFormatVersion || format == 0)
    return fail(ReplayReadResult::kNewerFormat,
                "a replay of format " + std::to_string(format) + ", which this game cannot read");
  // The check sum first: a damaged file is refused before anything in it is trusted.
  if (bytes.size() < sizeof kMagic + 2 + 4)
    return fail(ReplayReadResult::kDamaged, "the replay is cut short");
  const std::size_t body = bytes.size() - 4;
  std::uint32_t stored = 0;
  for (int i = 0; i < 4; ++i) stored |= static_cast<std::uint32_t>(bytes[body + i]) << (8 * i);
  if (Crc(bytes.first(body)) != stored)
    return fail(ReplayReadResult::kDamaged, "the replay is damaged (its check sum is wrong)");

  ReplayFile f;
  std::uint8_t n = 0, seeded = 0;
  std::vector<std::uint8_t> text;
  if (!r.Le(&n) || n > kVersionTextLimit || !r.Bytes(n, &text))
    return fail(ReplayReadResult::kDamaged, "the replay's version text is damaged");
  f.game_version.assign(text.begin(), text.end());
  if (!r.Le(&seeded) || seeded > 1 || !r.Le(&f.seed))
    return fail(ReplayReadResult::kDamaged, "the replay's seed is damaged");
  f.seeded = seeded == 1;
  std::uint8_t files = 0;
  if (!r.Le(&files) || files > kReplayMaxFiles)
    return fail(ReplayReadResult::kDamaged, "the replay's file list is damaged");
  for (int i = 0; i < files; ++i) {
    ReplayCarriedFile carried;
    if (!r.Le(&n) || !r.Bytes(n, &text))
      return fail(ReplayReadResult::kDamaged, "the replay's file list is damaged");
    carried.name.assign(text.begin(), text.end());
    if (!ReplayCarriesName(carried.name))
      return fail(ReplayReadResult::kDamaged, "the replay carries a file it must not");
    for (const ReplayCarriedFile& other : f.files)
      if (other.name == carried.name)
        return fail(ReplayReadResult::kDamaged, "the replay carries a file twice");
    if (!r.Blob(kReplayFileLimit, &carried.bytes))
      return fail(ReplayReadResult::kDamaged, "the replay's files are damaged");
    f.files.push_back(std::move(carried));
  }
  if (!r.Blob(kStreamLimit, &f.tape.input) || !r.Blob(kStreamLimit, &f.tape.clock))
    return fail(ReplayReadResult::kDamaged, "the replay's recording is cut short");
  if (!r.Le(&f.outcome.score) || !r.Le(&f.outcome.level) || !r.Le(&f.outcome.checksum) ||
      !r.Le(&f.outcome.frames))
    return fail(ReplayReadResult::kDamaged, "the replay's outcome is cut short");
  if (sizeof kMagic + r.at() != body)
    return fail(ReplayReadResult::kDamaged, "the replay has bytes past its end");
  std::string why;
  if (!ValidateTape(f.tape, &why)) return fail(ReplayReadResult::kDamaged, "the replay: " + why);
  *out = std::move(f);
  return ReplayReadResult::kOk;
}
