// Ogg Vorbis writer for the sound generators.
#pragma once

#include <string>
#include <vector>

constexpr int kSampleRate = 44100;

// samples: interleaved, channels 1 or 2, nominally within -1..1. The serial number
// is fixed per file so the output is the same on every build. The ENCODER comment
// names the generator. Returns false (after a message on stderr) on failure.
bool WriteOgg(const std::string& path, int channels, const std::vector<float>& samples,
              float quality, const std::string& title, const std::string& encoder);
