// What every fuzz target shares: a headless 240 x 320 screen, a private game folder for the
// files a target writes, the game's real pictures, and a check that aborts on a broken rule.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Opens SDL with the dummy drivers and the game's video mode, makes a fresh game folder in
// $TMPDIR, one a process, with a copy of the built game's data folder (ExeDir, DataDir =
// folder + "data\"; the display config in its "zorblats" folder), loads the main pack into Images,
// silences message boxes and skips making saves last. Called once from LLVMFuzzerInitialize:
// a target without one of its own gets one that calls only this. The folder is removed at exit
// or, after a crash or a timeout, at the next start.
void FuzzSetUp();

// The temporary game folder, ending in '/'.
const std::string& FuzzFolder();

// Writes bytes to a file, replacing it; aborts if that fails (the disk is not under test).
void FuzzWriteFile(const std::string& path, const uint8_t* data, size_t size);

// Reports a broken rule and aborts, so libFuzzer keeps the input as a crash.
[[noreturn]] void FuzzFail(const char* what);
#define FUZZ_CHECK(condition) ((condition) ? void() : FuzzFail(#condition))
