#pragma once
// The package's short system sounds, synthesised: 16-bit mono PCM WAV files.

#include <string>
#include <vector>

namespace artgen {

struct Sound {
    std::string name;  // the file name in the package ("WELC.WAV")
    std::string bytes; // the whole WAV file
};

std::vector<Sound> sounds();

// A RIFF/WAVE file of 16-bit mono samples.
std::string wavFile(const std::vector<double>& samples, int sampleRate);

}  // namespace artgen
