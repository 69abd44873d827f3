#include "audio/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <climits>
#include <string>

#include "platform/resources.h"

// Every sound, music included, is decoded whole into a Mix_Chunk and played on its own
// fixed channel. Mix_Music would stream, but it has a single slot and no channel index, so
// the bank could not address the two loops like the effects. The cost is memory: about
// 10 MB per minute of 44.1 kHz stereo, a few tens of MB for the whole bank.

void ChunkDeleter::operator()(Mix_Chunk* chunk) const {
  Mix_FreeChunk(chunk);
}

namespace {

constexpr int kFrequency = 44100;
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 1024;

struct Bank {
  std::vector<Sound> sounds;
  double master = 1.0;
  int loadCounter = 0;
  // Channel indices that playback may use; kept even without a device so the
  // bookkeeping matches a real run.
  int channels = 100;
  bool deviceOpen = false;
  bool sdlAudio = false;  // we initialised SDL's audio subsystem
  bool mixInit = false;   // we called Mix_Init

  Bank() = default;
  Bank(const Bank&) = delete;
  Bank& operator=(const Bank&) = delete;
  ~Bank() { Shutdown(); }

  void Shutdown() {
    if (deviceOpen) Mix_HaltChannel(-1);
    sounds.clear();  // frees the chunks while the mixer still knows them
    if (deviceOpen) Mix_CloseAudio();
    if (mixInit) Mix_Quit();
    if (sdlAudio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    master = 1.0;
    loadCounter = 0;
    channels = 100;
    deviceOpen = sdlAudio = mixInit = false;
  }
};

Bank& TheBank() {
  static Bank bank;
  return bank;
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// fx is already lower case; comparing against the lowered name without building it keeps
// Play free of allocations.
bool MatchesLowered(std::string_view fx, std::string_view name) {
  if (fx.size() != name.size()) return false;
  for (std::size_t i = 0; i < fx.size(); ++i) {
    if (fx[i] != Lower(name[i])) return false;
  }
  return true;
}

bool IsAll(std::string_view name) {
  return MatchesLowered("all", name);
}

std::string ShortName(std::string_view name) {
  const std::size_t slash = name.find_last_of("\\/");
  std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
  const std::size_t dot = base.rfind('.');
  if (dot != std::string_view::npos) base = base.substr(0, dot);
  std::string out(base);
  for (char& c : out) c = Lower(c);
  return out;
}

int MixVolume(double volume) {
  volume = std::clamp(volume, 0.0, 1.0);
  return static_cast<int>(volume * MIX_MAX_VOLUME + 0.5);
}

void ApplyVolume(const Bank& bank, const Sound& sound) {
  if (bank.deviceOpen && sound.channel >= 0) {
    Mix_Volume(sound.channel, MixVolume(bank.master * sound.cvolume));
  }
}

// A silent bank has no chunks but still plays on paper.
bool HasSound(const Bank& bank, const Sound& sound) {
  return sound.soundFX != nullptr || !bank.deviceOpen;
}

int StartChannel(const Bank& bank, const Sound& sound, bool loop) {
  if (sound.ChannelNr < 0 || sound.ChannelNr >= bank.channels) return -1;
  if (!bank.deviceOpen) return sound.ChannelNr;
  return Mix_PlayChannel(sound.ChannelNr, sound.soundFX.get(), loop ? -1 : 0);
}

ChunkPtr DecodeMemory(const unsigned char* data, std::size_t size) {
  if (size > static_cast<std::size_t>(INT_MAX)) return nullptr;
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  if (rw == nullptr) return nullptr;
  return ChunkPtr(Mix_LoadWAV_RW(rw, 1));
}

ChunkPtr DecodeFile(const std::string& path) {
  SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
  if (rw == nullptr) return nullptr;
  return ChunkPtr(Mix_LoadWAV_RW(rw, 1));
}

// Without a device nothing can be decoded; a readable, non-empty file counts as found.
bool FileHasData(const std::string& path) {
  SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
  if (rw == nullptr) return false;
  unsigned char byte = 0;
  const bool readable = SDL_RWread(rw, &byte, 1, 1) == 1;
  SDL_RWclose(rw);
  return readable;
}

}  // namespace

int SoundInit(int channels) {
  Bank& bank = TheBank();
  bank.channels = std::max(channels, 0);
  if (bank.deviceOpen) {
    Mix_AllocateChannels(bank.channels);
    return 1;
  }
  if (!bank.sdlAudio) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    bank.sdlAudio = true;
  }
  if (!bank.mixInit) {
    Mix_Init(MIX_INIT_OGG);
    bank.mixInit = true;
  }
  if (Mix_OpenAudio(kFrequency, MIX_DEFAULT_FORMAT, kOutputChannels, kBufferFrames) != 0) {
    return 0;
  }
  Mix_AllocateChannels(bank.channels);
  bank.deviceOpen = true;
  return 1;
}

bool SoundDeviceOpen() {
  return TheBank().deviceOpen;
}

const std::vector<Sound>& SoundList() {
  return TheBank().sounds;
}

int Sound::AppExit() {
  TheBank().Shutdown();
  return 0;
}

int Sound::ChannelVolume(std::string_view name, int percent) {
  Bank& bank = TheBank();
  for (Sound& sound : bank.sounds) {
    if (!MatchesLowered(sound.FX, name)) continue;
    sound.cvolume = 0.01 * percent;
    ApplyVolume(bank, sound);
  }
  return 0;
}

int Sound::GlobalVolume(int percent) {
  Bank& bank = TheBank();
  bank.master = 0.01 * percent;
  for (const Sound& sound : bank.sounds) ApplyVolume(bank, sound);
  return 0;
}

int Sound::IsPlaying(std::string_view name) {
  const Bank& bank = TheBank();
  for (const Sound& sound : bank.sounds) {
    if (sound.FX != name) continue;
    if (!bank.deviceOpen || sound.channel < 0) return 0;
    return Mix_Playing(sound.channel) != 0 ? 1 : 0;
  }
  return 0;
}

// The stream flag is accepted for the callers' sake; every sound is decoded whole (see
// the note at the top).
int Sound::Load(std::string_view name, int /*stream*/) {
  Bank& bank = TheBank();
  ++bank.loadCounter;  // also for a failed load, so later sounds keep their channels

  Sound sound;
  bool found = false;
  if (auto resource = FindResource(name); resource && !resource->empty()) {
    found = true;
    if (bank.deviceOpen) sound.soundFX = DecodeMemory(resource->data(), resource->size());
  } else {
    // The names are written with Windows separators; try them as given, then as a
    // path of this system.
    std::string path(name);
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    for (const std::string* candidate : {&path, &native}) {
      if (bank.deviceOpen) {
        sound.soundFX = DecodeFile(*candidate);
        found = sound.soundFX != nullptr;
      } else {
        found = FileHasData(*candidate);
      }
      if (found || native == path) break;
    }
  }
  if (!found || !HasSound(bank, sound)) return 0;

  sound.FX = ShortName(name);
  sound.ChannelNr = bank.loadCounter;
  bank.sounds.push_back(std::move(sound));
  return 1;
}

int Sound::Play(std::string_view name, int loop) {
  Bank& bank = TheBank();
  for (Sound& sound : bank.sounds) {
    if (!MatchesLowered(sound.FX, name)) continue;
    if (sound.isplay == 1 && loop == 1) return 0;
    if (!HasSound(bank, sound)) continue;
    sound.loop = loop;
    sound.channel = StartChannel(bank, sound, loop == 1);
    ApplyVolume(bank, sound);
    sound.isplay = 1;
    return 0;
  }
  return 0;
}

int Sound::Pause(std::string_view name, int state) {
  Bank& bank = TheBank();
  const bool all = IsAll(name);
  for (Sound& sound : bank.sounds) {
    if (!all && !MatchesLowered(sound.FX, name)) continue;
    if (sound.channel < 0) continue;
    if (state == 0) {
      if (bank.deviceOpen) Mix_Pause(sound.channel);
      sound.isplay = 0;
    } else {
      if (bank.deviceOpen) Mix_Resume(sound.channel);
      sound.isplay = 1;
      ApplyVolume(bank, sound);
    }
  }
  return 0;
}

int Sound::Stop(std::string_view name) {
  Bank& bank = TheBank();
  const bool all = IsAll(name);
  for (Sound& sound : bank.sounds) {
    if (!all && !MatchesLowered(sound.FX, name)) continue;
    // A looping sound that is paused or already stopped ends the whole walk.
    if (sound.isplay == 0 && sound.loop == 1) return 0;
    if (sound.channel < 0) continue;
    sound.count = 0;
    if (bank.deviceOpen) Mix_HaltChannel(sound.channel);
    sound.channel = -1;
    sound.isplay = 0;
  }
  return 0;
}
