// The game's two folders and the translation of its paths into host paths.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

constexpr size_t kExeDirCapacity = 260;   // ExeDir, the module path's capacity too
constexpr size_t kDataDirCapacity = 400;  // DataDir
constexpr size_t kPathCapacity = 260;     // every file path the game forms

// The executable's own file name; ExeDir is the module path less this many characters.
constexpr const char kExeName[] = "zorblats";

// The executable's folder with its trailing separator (set once by InitDataPaths).
extern char ExeDir[kExeDirCapacity];
// The executable's folder followed by "data\" (set once by InitDataPaths).
extern char DataDir[kDataDirCapacity];

// Derives ExeDir and DataDir from a module path, as a pure function of its text.
// False when a result would not fit its capacity. Used by InitDataPaths and tests.
bool DerivePaths(const char* modulePath, char* exeDir, char* dataDir);

// The full path of the running executable: on the desktop read from /proc/self/exe; in the
// browser /zorblats/zorblats, beside the data folder the page preloads. False if unknown or
// longer than the capacity. Each back end provides it; called by InitDataPaths.
bool ReadModulePath(char* out, size_t capacity);

// Copies a game path into a host path: backslashes become slashes; doubled separators are
// left as they are (harmless). False if it does not fit. Every file open goes through it.
bool HostPath(const char* gamePath, char* out, size_t capacity);

// fopen of a game path through HostPath; null when it cannot be opened or translated.
std::FILE* OpenGameFile(const char* gamePath, const char* mode);

// Why the game cannot use a host path: it holds a backslash (the game's separator) or does not
// fit kPathCapacity; null when it can. Used by InitDataPaths and ChooseSettingsFolder.
const char* PathProblem(std::string_view hostPath);

// Picks, once at start-up, the folder of the settings file: DataDir while the game's own data
// folder takes writes (a game run from its build or home folder) or holds a settings file
// the player may write, else the first of the user's $XDG_DATA_HOME/zorblats/ and
// ~/.local/share/zorblats/ without a PathProblem for the file, made when missing. A folder
// that does not fit is never chosen. Empty, or why no folder can keep the file (saves then
// fail). Called by InitDataPaths after DataDir is set.
std::string ChooseSettingsFolder(const char* settingsFileName);

// The settings file's folder, ending in a separator: the user's folder when
// ChooseSettingsFolder picked it, else DataDir. Used by the settings file code.
const char* SettingsFolder();

// The game's folder under one of the user's base folders: $variable when it is an absolute
// path (a relative one counts as unset), else $HOME followed by underHome; "zorblats" is
// added. Empty when neither gives an absolute path. Used for the display config.
std::string UserFolder(const char* variable, const char* underHome);

// Makes every missing folder of an absolute host path, as mkdir -p does; the folders made are
// private (0700), as the user's folders should be. False when one cannot be made.
bool MakeFolders(const std::string& path);

// Makes a folder (a game path) the working directory, so relative picture paths of the
// help text open beside the game. Called once by InitDataPaths.
bool EnterFolder(const char* gameFolder);
