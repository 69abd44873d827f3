// The sound bank: every effect and both music loops, addressed by short name ("shot",
// "menu-loop"). Each sound owns one fixed mixer channel, so playing it again cuts off its
// previous playback instead of layering a second copy.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct Mix_Chunk;

struct ChunkDeleter {
  void operator()(Mix_Chunk* chunk) const;
};
using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

struct Sound {
  ChunkPtr soundFX;   // decoded samples; none when the bank runs without a device
  int channel = -1;   // channel of the last playback, -1 = none
  int loop = 0;       // 1 if the last Play asked for looping
  std::string FX;     // name without folder and extension, lower case
  int ChannelNr = 0;  // channel used for every playback of this sound
  int isplay = 0;     // 1 after Play or a resuming Pause, 0 after Stop or a pausing Pause
  int count = 0;      // cleared by Stop
  double cvolume = 1.0;
  int decoding = 0;      // 1 while the samples are decoded in the background
  int startPending = 0;  // 1 while a Play waits for those samples

  // Closes the device and forgets every sound, the master volume and the load counter.
  static int AppExit();
  // Own volume of the named sound in percent.
  static int ChannelVolume(std::string_view name, int percent);
  // Master volume in percent, applied to every sound that has a channel.
  static int GlobalVolume(int percent);
  // 1 while the channel of the first sound named exactly so (no lowering) plays.
  static int IsPlaying(std::string_view name);
  // Loads from the embedded resource of that exact name, else from a file. 1 or 0.
  static int Load(std::string_view name, int stream);
  // loop 1 loops; a looping sound already marked as playing is not restarted.
  static int Play(std::string_view name, int loop);
  // name or "all"; state 0 pauses, anything else resumes.
  static int Pause(std::string_view name, int state);
  // name or "all".
  static int Stop(std::string_view name);
};

// Opens the audio device with the given number of mixer channels. Returns 1 when a device
// opened; without one the bank still loads and answers every call but plays nothing.
int SoundInit(int channels);

// Whether SoundInit opened a device (and AppExit has not closed it since).
bool SoundDeviceOpen();

// The loaded sounds in load order, once every one of them is decoded (waits for that).
const std::vector<Sound>& SoundList();

// The game's fifteen sounds in their fixed order, then the music volumes.
void LoadGameSounds();
