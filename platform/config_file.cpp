#include "platform/config_file.h"

#include "platform/paths.h"
#include "platform/small_file.h"

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
  if (text.size() > kReadLimit) {
    // A line the limit cuts is dropped, lest "fullscreen=01" be read as "fullscreen=0"; a
    // newline just past the limit still ends a whole line.
    const size_t lastNewline = text.substr(0, kReadLimit + 1).rfind('\n');
    text = text.substr(0, lastNewline == std::string_view::npos ? 0 : lastNewline);
  }
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
  std::string text;
  if (path.empty() || !ReadSmallFile(path, kReadLimit + 1, text)) return {};
  return ParseDisplayConfig(text);
}

bool SaveDisplayConfig(const DisplayConfig& config) {
  const std::string path = DisplayConfigPath();
  if (path.empty()) return false;
  MakeFolders(path.substr(0, path.rfind('/')));  // the config folder itself may be new
  const std::string text = FormatDisplayConfig(config);
  return SaveSmallFile(path, text.data(), text.size(), "zorblats.conf.new");
}
