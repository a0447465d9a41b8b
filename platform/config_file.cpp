#include "platform/config_file.h"

#include <unistd.h>

#include <cstdio>

#include "platform/paths.h"

namespace {

constexpr size_t kReadLimit = 4096;  // a hand-edited file is tiny; the rest is not read

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

DisplayConfig ParseDisplayConfig(std::string_view text) {
  DisplayConfig config;
  text = text.substr(0, kReadLimit);
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value = Trim(line.substr(equals + 1));
    if (key == "fullscreen" && (value == "0" || value == "1")) config.fullscreen = value == "1";
  }
  return config;
}

std::string FormatDisplayConfig(const DisplayConfig& config) {
  return std::string("# ZORBLATS display: 1 = full screen, 0 = a window (Alt+Enter or F11 switches)\n") +
         "fullscreen=" + (config.fullscreen ? "1" : "0") + "\n";
}

std::string DisplayConfigPath() {
  const std::string folder = UserFolder("XDG_CONFIG_HOME", "/.config");
  return folder.empty() ? folder : folder + "/zorblats.conf";
}

DisplayConfig LoadDisplayConfig() {
  const std::string path = DisplayConfigPath();
  std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
  if (!file) return {};
  std::string text(kReadLimit, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), file));
  std::fclose(file);
  return ParseDisplayConfig(text);
}

bool SaveDisplayConfig(const DisplayConfig& config) {
  const std::string path = DisplayConfigPath();
  if (path.empty()) return false;
  MakeFolders(path.substr(0, path.rfind('/')));  // the config folder itself may be new
  const std::string temporary = path + ".new";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  const std::string text = FormatDisplayConfig(config);
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}
