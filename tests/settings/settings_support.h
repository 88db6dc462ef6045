// Shared set-up for the settings tests: a fresh simulation and engine with
// the library mapped from a folder whose name holds spaces, and short ways
// to seed and read the settings key.
#pragma once

#include "engine/clock_state.h"
#include "platform/sim/sim_control.h"

#include <stdint.h>
#include <string>
#include <vector>

extern const char SettingsKey[];
extern const char RunKey[];

// Resets the simulation and ClockState, then maps the library, as a process
// that loaded dialwick.dll would have it.
void SetUpLibrary();

std::vector<uint8_t> Bytes(const std::string &text);
std::vector<uint8_t> Dword(uint32_t value);

void Seed(const char *name, DWORD type, const std::vector<uint8_t> &data);
// The value of the settings key; type REG_NONE and no data when missing.
struct StoredValue {
    bool Exists = false;
    DWORD Type = REG_NONE;
    std::vector<uint8_t> Data;
};
StoredValue Stored(const char *name, const char *key = SettingsKey);

// True when nothing the settings code opens is left open.
bool NothingLeftOpen();
