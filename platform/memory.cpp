#include "platform/memory.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

uint64_t ParseMemAvailable(const char* text) {
  if (!text) return UINT64_MAX;
  const char* line = std::strstr(text, "MemAvailable:");
  if (!line) return UINT64_MAX;
  line += std::strlen("MemAvailable:");
  char* end = nullptr;
  unsigned long long kib = std::strtoull(line, &end, 10);
  if (end == line) return UINT64_MAX;
  return static_cast<uint64_t>(kib) * 1024u;
}

uint64_t AvailablePhysicalMemory() {
  std::FILE* file = std::fopen("/proc/meminfo", "rb");
  if (!file) return UINT64_MAX;
  char text[4096];
  size_t got = std::fread(text, 1, sizeof text - 1, file);
  std::fclose(file);
  text[got] = 0;
  return ParseMemAvailable(text);
}

bool EnoughMemory(uint64_t availableBytes) { return availableBytes >= kMinimumFreeMemory; }

static MemorySource memorySource = nullptr;

void UseMemorySource(MemorySource source) { memorySource = source; }

uint64_t ReadFreeMemory() { return memorySource ? memorySource() : AvailablePhysicalMemory(); }
