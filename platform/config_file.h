// The player's display choice, kept in $XDG_CONFIG_HOME/zorblats/zorblats.conf (by default
// ~/.config/zorblats/): a few "key=value" lines, separate from the game's settings file.
#pragma once
#include <string>
#include <string_view>

// What the file can hold; every field has its default when the file does not say.
struct DisplayConfig {
  bool fullscreen = true;  // "fullscreen=1": full screen; "fullscreen=0": a window
};

// The values a text gives: "key=value" lines, blanks around either ignored, '#' lines,
// unknown keys, bad values and anything past the first 4096 bytes skipped, with the line
// those bytes cut (a short text's last line counts without its newline).
// Called by LoadDisplayConfig and the fuzz target.
DisplayConfig ParseDisplayConfig(std::string_view text);

// The whole file for these values. Called by SaveDisplayConfig and the fuzz target.
std::string FormatDisplayConfig(const DisplayConfig& config);

// The file's path from $XDG_CONFIG_HOME, else $HOME/.config; empty when neither is an
// absolute path.
std::string DisplayConfigPath();

// The file's values, or the defaults where it is missing, unreadable or no regular file.
// Called at start-up.
DisplayConfig LoadDisplayConfig();

// Rewrites the whole file with SaveSmallFile (links kept, a temporary "zorblats.conf.new"
// renamed over it), making its folder if needed. False when it cannot be written; the game
// goes on. Called when the player switches mode.
bool SaveDisplayConfig(const DisplayConfig& config);
