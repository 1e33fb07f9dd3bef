#pragma once

#include <array>

/// The 128 General MIDI melodic programs as the instrument lists show them, in program
/// order: "001.Piano de cola" ... "128.Disparo de arma". Item index = program - 1.
extern const std::array<const char*, 128> GmInstrumentNames;

/// The ten drum kits of the drum track's list; item index = the drum track's Instrument.
extern const std::array<const char*, 10> DrumSetNames;
