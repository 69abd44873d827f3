#include "audio/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <climits>
#include <deque>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "platform/resources.h"

// Every sound, music included, is decoded whole into a Mix_Chunk and played on its own
// fixed channel. Mix_Music would stream, but it has a single slot and no channel index, so
// the bank could not address the two loops like the effects. The cost is memory: about
// 10 MB per minute of 44.1 kHz stereo, a few tens of MB for the whole bank.
//
// Decoding the music loops whole takes a few hundred milliseconds, too long to hold up
// start-up, so large resources are decoded on one background thread in load order. Load
// only checks that the bytes open as a sound. A Play that comes before the samples do is
// kept as asked (channel, loop, isplay and volume as usual) and the decoder starts it the
// moment they are ready; until then IsPlaying answers 1, as it would for the playback the
// caller has asked for, so a caller that stops what "is playing" stops this one too.
// Nothing waits for the decoder except SoundList and AppExit.

void ChunkDeleter::operator()(Mix_Chunk* chunk) const {
  Mix_FreeChunk(chunk);
}

namespace {

constexpr int kFrequency = 44100;
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 1024;
// Embedded resources at least this large are decoded in the background: the music loops,
// not the effects.
constexpr std::size_t kBackgroundBytes = 128 * 1024;

struct DecodeJob {
  std::size_t index;  // into the sound list, which only grows until Shutdown
  std::span<const unsigned char> bytes;
};

struct Bank;
void DecodeLoop(Bank& bank);

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

  // Every call into the bank and every hand-over from the decoder hold this.
  std::mutex lock;
  std::deque<DecodeJob> jobs;
  std::thread decoder;
  bool decoderRunning = false;
  bool closing = false;  // the decoder drops what it finishes

  Bank() = default;
  Bank(const Bank&) = delete;
  Bank& operator=(const Bank&) = delete;
  ~Bank() { Shutdown(); }

  // Returns once the decoder has finished every queued job.
  void Settle() {
    std::thread running;
    {
      std::lock_guard guard(lock);
      running = std::move(decoder);
    }
    if (running.joinable()) running.join();
  }

  void Shutdown() {
    {
      std::lock_guard guard(lock);
      jobs.clear();
      closing = true;
    }
    Settle();
    std::lock_guard guard(lock);
    closing = false;
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

  // Called with the lock held.
  void Queue(DecodeJob job) {
    jobs.push_back(job);
    if (decoderRunning) return;
    // A decoder that ran out of work has left the loop and needs no lock to finish.
    if (decoder.joinable()) decoder.join();
    decoderRunning = true;
    decoder = std::thread(DecodeLoop, std::ref(*this));
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

// A silent bank has no chunks but still plays on paper; a sound being decoded plays as
// soon as it can.
bool HasSound(const Bank& bank, const Sound& sound) {
  return sound.soundFX != nullptr || sound.decoding == 1 || !bank.deviceOpen;
}

bool InRange(const Bank& bank, const Sound& sound) {
  return sound.ChannelNr >= 0 && sound.ChannelNr < bank.channels;
}

int StartChannel(const Bank& bank, const Sound& sound, bool loop) {
  if (!InRange(bank, sound)) return -1;
  if (!bank.deviceOpen) return sound.ChannelNr;
  return Mix_PlayChannel(sound.ChannelNr, sound.soundFX.get(), loop ? -1 : 0);
}

// The playback a Play asked for while the samples were still being decoded.
void StartPending(const Bank& bank, Sound& sound) {
  sound.startPending = 0;
  sound.channel = StartChannel(bank, sound, sound.loop == 1);
  ApplyVolume(bank, sound);
}

ChunkPtr DecodeMemory(const unsigned char* data, std::size_t size) {
  if (size > static_cast<std::size_t>(INT_MAX)) return nullptr;
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  if (rw == nullptr) return nullptr;
  return ChunkPtr(Mix_LoadWAV_RW(rw, 1));
}

// Opens the bytes as a stream and closes them again: reads the headers only.
bool OpensAsSound(std::span<const unsigned char> bytes) {
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return false;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (rw == nullptr) return false;
  Mix_Music* music = Mix_LoadMUS_RW(rw, 1);
  if (music == nullptr) return false;
  Mix_FreeMusic(music);
  return true;
}

// Hands decoded samples to their sound, with the lock held.
void Adopt(const Bank& bank, Sound& sound, ChunkPtr chunk) {
  sound.decoding = 0;
  sound.soundFX = std::move(chunk);
  if (sound.startPending == 0) return;
  if (sound.soundFX == nullptr) {
    // Opened but would not decode: as if it had never been played.
    sound.startPending = 0;
    sound.channel = -1;
    sound.isplay = 0;
    return;
  }
  if (sound.isplay == 1) StartPending(bank, sound);  // paused: the resume starts it
}

void DecodeLoop(Bank& bank) {
  std::unique_lock guard(bank.lock);
  while (!bank.jobs.empty()) {
    const DecodeJob job = bank.jobs.front();
    bank.jobs.pop_front();
    guard.unlock();
    ChunkPtr chunk = DecodeMemory(job.bytes.data(), job.bytes.size());
    guard.lock();
    if (bank.closing) break;
    Adopt(bank, bank.sounds[job.index], std::move(chunk));
  }
  bank.decoderRunning = false;
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
  std::lock_guard guard(bank.lock);
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
  Bank& bank = TheBank();
  std::lock_guard guard(bank.lock);
  return bank.deviceOpen;
}

const std::vector<Sound>& SoundList() {
  Bank& bank = TheBank();
  bank.Settle();
  return bank.sounds;
}

int Sound::AppExit() {
  TheBank().Shutdown();
  return 0;
}

int Sound::ChannelVolume(std::string_view name, int percent) {
  Bank& bank = TheBank();
  std::lock_guard guard(bank.lock);
  for (Sound& sound : bank.sounds) {
    if (!MatchesLowered(sound.FX, name)) continue;
    sound.cvolume = 0.01 * percent;
    ApplyVolume(bank, sound);
  }
  return 0;
}

int Sound::GlobalVolume(int percent) {
  Bank& bank = TheBank();
  std::lock_guard guard(bank.lock);
  bank.master = 0.01 * percent;
  for (const Sound& sound : bank.sounds) ApplyVolume(bank, sound);
  return 0;
}

int Sound::IsPlaying(std::string_view name) {
  Bank& bank = TheBank();
  std::lock_guard guard(bank.lock);
  for (const Sound& sound : bank.sounds) {
    if (sound.FX != name) continue;
    if (!bank.deviceOpen || sound.channel < 0) return 0;
    if (sound.startPending == 1) return 1;
    return Mix_Playing(sound.channel) != 0 ? 1 : 0;
  }
  return 0;
}

// The stream flag is accepted for the callers' sake; every sound is decoded whole (see
// the note at the top).
int Sound::Load(std::string_view name, int /*stream*/) {
  Bank& bank = TheBank();
  std::lock_guard guard(bank.lock);
  ++bank.loadCounter;  // also for a failed load, so later sounds keep their channels

  Sound sound;
  bool found = false;
  std::span<const unsigned char> background;
  if (auto resource = FindResource(name); resource && !resource->empty()) {
    found = true;
    if (bank.deviceOpen && resource->size() >= kBackgroundBytes) {
      if (OpensAsSound(*resource)) {
        sound.decoding = 1;
        background = *resource;
      }
    } else if (bank.deviceOpen) {
      sound.soundFX = DecodeMemory(resource->data(), resource->size());
    }
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
  if (!background.empty()) bank.Queue({bank.sounds.size() - 1, background});
  return 1;
}

int Sound::Play(std::string_view name, int loop) {
  Bank& bank = TheBank();
  std::lock_guard guard(bank.lock);
  for (Sound& sound : bank.sounds) {
    if (!MatchesLowered(sound.FX, name)) continue;
    if (sound.isplay == 1 && loop == 1) return 0;
    if (!HasSound(bank, sound)) continue;
    sound.loop = loop;
    if (sound.decoding == 1) {
      sound.channel = InRange(bank, sound) ? sound.ChannelNr : -1;
      sound.startPending = sound.channel >= 0 ? 1 : 0;
    } else {
      sound.channel = StartChannel(bank, sound, loop == 1);
    }
    ApplyVolume(bank, sound);
    sound.isplay = 1;
    return 0;
  }
  return 0;
}

int Sound::Pause(std::string_view name, int state) {
  Bank& bank = TheBank();
  std::lock_guard guard(bank.lock);
  const bool all = IsAll(name);
  for (Sound& sound : bank.sounds) {
    if (!all && !MatchesLowered(sound.FX, name)) continue;
    if (sound.channel < 0) continue;
    if (state == 0) {
      if (bank.deviceOpen && sound.startPending == 0) Mix_Pause(sound.channel);
      sound.isplay = 0;
    } else {
      if (sound.startPending == 0) {
        if (bank.deviceOpen) Mix_Resume(sound.channel);
      } else if (sound.decoding == 0) {
        StartPending(bank, sound);  // decoded while paused
      }
      sound.isplay = 1;
      ApplyVolume(bank, sound);
    }
  }
  return 0;
}

int Sound::Stop(std::string_view name) {
  Bank& bank = TheBank();
  std::lock_guard guard(bank.lock);
  const bool all = IsAll(name);
  for (Sound& sound : bank.sounds) {
    if (!all && !MatchesLowered(sound.FX, name)) continue;
    // A looping sound that is paused or already stopped ends the whole walk.
    if (sound.isplay == 0 && sound.loop == 1) return 0;
    if (sound.channel < 0) continue;
    sound.count = 0;
    if (bank.deviceOpen) Mix_HaltChannel(sound.channel);
    sound.startPending = 0;
    sound.channel = -1;
    sound.isplay = 0;
  }
  return 0;
}
