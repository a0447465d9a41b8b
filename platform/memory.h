// Free physical memory, the start-up check's only question to the host.
#pragma once
#include <cstdint>

// The least free memory the game starts with: five million bytes, not 5 MiB.
constexpr uint64_t kMinimumFreeMemory = 5000000;

// Reads MemAvailable from /proc/meminfo, in bytes; UINT64_MAX when it cannot tell.
// The memory source StartUp reads unless a test chose another (ReadFreeMemory).
uint64_t AvailablePhysicalMemory();

// Parses the MemAvailable line of a /proc/meminfo text into bytes; UINT64_MAX if absent.
// Called by AvailablePhysicalMemory; the tests call it directly.
uint64_t ParseMemAvailable(const char* meminfoText);

// True when the game may start with this much free memory. Used by StartUp.
bool EnoughMemory(uint64_t availableBytes);

// The memory reading StartUp uses; tests replace it to simulate a small device.
using MemorySource = uint64_t (*)();
void UseMemorySource(MemorySource source);  // null restores the /proc reading
uint64_t ReadFreeMemory();                  // through the chosen source
