#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace audio {

// A package's tune is a few kilobytes. FluidSynth keeps each event of the file in an allocation
// of its own, many times the event's few bytes, so the bound also limits a hostile tune's memory.
constexpr std::size_t kMaxTuneBytes = 2u << 20;

// Why bytes are not a standard MIDI file that the synthesizer reads exactly as written, or an
// empty text when they are one. The walk is stricter than FluidSynth's own reader, so that
// anything accepted here loads there: a tune that failed to load would end at once and, with
// the music looping, be reopened again and again.
std::string MidiFileProblem(const std::uint8_t* data, std::size_t size);

// Reads a tune file whole after checking it; throws DeviceError naming the file and the reason.
std::vector<std::uint8_t> ReadMidiFile(const std::string& path);

} // namespace audio
