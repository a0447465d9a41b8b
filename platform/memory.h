// Free physical memory, the start-up check's only question to the host.
#pragma once
#include <cstdint>

// The least free memory the game starts with: five million bytes, not 5 MiB.
constexpr uint64_t kMinimumFreeMemory = 5000000;

// Reads MemAvailable from /proc/meminfo, in bytes; UINT64_MAX when it cannot tell.
// Called by WinMain (app/startup) through the memory source below.
uint64_t AvailablePhysicalMemory();

// Parses the MemAvailable line of a /proc/meminfo text into bytes; UINT64_MAX if absent.
uint64_t ParseMemAvailable(const char* meminfoText);

// True when the game may start with this much free memory. Used by WinMain and tests.
bool EnoughMemory(uint64_t availableBytes);

// The memory reading WinMain uses; tests replace it to simulate a small device.
using MemorySource = uint64_t (*)();
void UseMemorySource(MemorySource source);  // null restores the /proc reading
uint64_t ReadFreeMemory();                  // through the chosen source
