#!/usr/bin/env bash
# Breaks the game on purpose, one fault at a time, in a scratch copy of the sources; after
# each fault it rebuilds the in-process test program and runs it. A fault the tests do not
# catch "survives": either a test is missing or the change does not alter what the game
# does. Prints one line per fault and the score.
# Usage: tools/mutation/mutate.sh [scratch-dir] [grep pattern choosing faults]
set -uo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
work=${1:-${TMPDIR:-/tmp}/zorblats-mutants}
pick=${2:-.}
rm -rf "$work/src" && mkdir -p "$work/src"
# Fresh time stamps: a build left by an earlier run must not keep a broken tool.
tar -C "$src" --exclude="./build*" --exclude=./.git -cf - . | tar -C "$work/src" -m -xf -
cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORBLATS_BENCH=OFF \
  >"$work/configure.log" || { echo "configure failed: $work/configure.log"; exit 1; }
build() { cmake --build "$work/build" -j"$(nproc)" --target zorblats_tests >"$work/build.log" 2>&1; }
suite() {
  (cd "$work/build/tests" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    timeout -s KILL 300 ./zorblats_tests --gtest_brief=1 --gtest_fail_fast >"$work/suite.log" 2>&1) 2>/dev/null
}
build && suite || { echo "the unbroken sources fail: $work/build.log $work/suite.log"; exit 1; }

total=0 caught=0 survivors=()
# The faults, below: file@@text as it stands (exactly once in the file)@@text with the fault.
while IFS= read -r line; do
  file=${line%%@@*} rest=${line#*@@}
  before=${rest%%@@*} after=${rest#*@@}
  printf '%s\n' "$file $before" | grep -q -e "$pick" || continue
  total=$((total + 1))
  # The text must stand exactly once in the file, or the fault list is out of date.
  # A fault spanning lines writes them joined by a literal \n.
  if ! B="$before" A="$after" perl -0777 -ne '($b, $a) = map { s/\\n/\n/gr } $ENV{B}, $ENV{A};
       $n = () = /\Q$b\E/g; die "found $n times\n" if $n != 1; s/\Q$b\E/$a/; print' "$work/src/$file" > "$work/mutant"; then
    echo "STALE     $file: '$before'"; survivors+=("stale: $file: $before"); continue
  fi
  cp "$work/src/$file" "$work/original" && cp "$work/mutant" "$work/src/$file"
  if ! build; then
    result="NOBUILD"
  elif suite; then
    result="SURVIVED"; survivors+=("$file: '$before' -> '$after'")
  else
    result="caught"; caught=$((caught + 1))
  fi
  cp "$work/original" "$work/src/$file"  # a fresh time stamp: the next build compiles it again
  printf '%-9s %s: %s -> %s\n' "$result" "$file" "$before" "$after"
done <<'FAULTS'
platform/small_file.cpp@@  if (fd < 0) return errno == ENOENT;@@  if (fd < 0) return true;
platform/small_file.cpp@@(replaced == Replaced::NoNewFile && RewriteInPlace(target, bytes, size));@@(false && RewriteInPlace(target, bytes, size));
platform/small_file.cpp@@  if (lstat(path.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode)) return path;@@  if (true) return path;
platform/small_file.cpp@@ftruncate(fd, static_cast<off_t>(size)) == 0@@ftruncate(fd, static_cast<off_t>(size - 1)) == 0
platform/small_file.cpp@@open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666)@@open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)
platform/small_file.cpp@@return error == ENOSPC || error == EDQUOT ? Replaced::NoNewFile : Replaced::Failed;@@return Replaced::Failed;
platform/small_file.cpp@@if (stat(target.c_str(), &entry) == 0 && !S_ISREG(entry.st_mode)) {@@if (false) {
platform/small_file.cpp@@const bool regular = fstat(fd, &entry) == 0 && S_ISREG(entry.st_mode);@@const bool regular = fstat(fd, &entry) == 0;
platform/small_file.cpp@@return written && (persistStep ? persistStep : PersistSavedFile)(target);@@return written;
settings/settings.cpp@@ShowMessageBox(kSaveError, kSaveError, MB_OK);@@ShowMessageBox(kSaveError, "Error", MB_OK);
platform/config_file.cpp@@ReadSmallFile(path, kReadLimit + 1, text)@@ReadSmallFile(path, kReadLimit, text)
platform/config_file.cpp@@text.substr(0, kReadLimit + 1).rfind(@@text.substr(0, kReadLimit).rfind(
platform/paths.cpp@@std::strlen(DataDir) + std::strlen(settingsFileName) < kPathCapacity@@std::strlen(DataDir) + std::strlen(settingsFileName) <= kPathCapacity
platform/paths.cpp@@if (hostPath.find('\\') != std::string_view::npos) {@@if (false) {
platform/paths.cpp@@if (hostPath.size() >= kPathCapacity)@@if (hostPath.size() > kPathCapacity)
platform/paths.cpp@@why += "; " + file + " " + problem;@@why += "; " + file + " " + problem; break;
resources/pack.cpp@@    if (entry->depth < 1 || entry->depth > 32) {@@    if (entry->depth < 1 || entry->depth > 32 || entry->depth == 15) {
resources/pack.cpp@@  const int closed = gzclose(file);@@  const int closed = gzdirect(file) ? Z_DATA_ERROR : gzclose(file);
resources/pack_build.cpp@@    if (surface && surface->format->palette) surface@@    if (surface && surface->format->BitsPerPixel < 16) surface
platform/desktop/window_mode.cpp@@constexpr int kMaxWindowScale = 4;@@constexpr int kMaxWindowScale = 5;
platform/config_file.cpp@@(value == "0" || value == "1")@@(!value.empty())
game/ship.cpp@@static_cast<int16_t>(kShipFrameSize * ship.frame), 0);@@static_cast<int16_t>(kShipFrameSize * ship.frame + 1), 0);
game/ship.cpp@@  PlaySound(0);@@  PlaySound(1);
game/formation.cpp@@      f.movingLeft = 1;@@      f.movingLeft = 1; if (AnyLiveEnemy([](const Enemy& e) { return e.y + kEnemyHeight > kLandingRow; })) Play.gameOver = 1;
game/formation.cpp@@if (r > 500 - Play.enemyFireChance)@@if (r >= 500 - Play.enemyFireChance)
game/formation.cpp@@    enemy.alive = 0;@@    enemy.alive = 0; enemy.frame = 1;
game/formation.cpp@@    enemy.shot.inFlight = 0;@@    // enemy.shot.inFlight = 0;
game/formation.cpp@@BlitImagePart(enemy.bodyImages[enemy.hits]@@BlitImagePart(enemy.bodyImages[enemy.cell - 1]
game/game_loop.cpp@@  if (f.liveCount <= 0) Play.levelDone = 1;@@  if (f.liveCount < kSpeedUpBelow) f.spedUp = 1; if (f.liveCount <= 0) Play.levelDone = 1;
game/game_loop.cpp@@if (Launcher.chainOn && r > 0) {@@if (Launcher.chainOn && r > 0 && f.liveCount > 1) {
game/game_loop.cpp@@DrawText(level, 128, 299, kFontWhite);@@DrawText(level, 129, 299, kFontWhite);
game/game_loop.cpp@@DrawText(score, 128, 275, kFontWhite);@@DrawText(score, 128, 276, kFontWhite);
game/game_loop.cpp@@DrawText(lives, 51, 273, kFontWhite);@@DrawText(lives, 50, 273, kFontWhite);
game/game_loop.cpp@@kShipExplosionSize, static_cast<int16_t>(kShipExplosionSize * f), 0);@@kShipExplosionSize, static_cast<int16_t>(kShipExplosionSize * (f % 4)), 0);
game/game_loop.h@@constexpr Rect MenuTapZone{177, 273, 240, 292};@@constexpr Rect MenuTapZone{176, 273, 240, 292};
game/launcher.cpp@@if (r > 500 - Play.launchChance && !launcher.effectActive)@@if (r >= 500 - Play.launchChance && !launcher.effectActive)
game/launcher.cpp@@const int height = launcher.launcherImage ? launcher.launcherImage->h : 0;@@const int height = kGiftSize;
game/launcher.cpp@@static_cast<int16_t>(kGiftSize * launcher.kind), 0);@@static_cast<int16_t>(kGiftSize * (launcher.kind % 4)), 0);
game/launcher.cpp@@constexpr int16_t kShipSpeedBonus = 2;@@constexpr int16_t kShipSpeedBonus = 3;
game/game_state.cpp@@constexpr int32_t kFireChanceByDifficulty[] = {7, 20, 30};@@constexpr int32_t kFireChanceByDifficulty[] = {7, 21, 30};
game/game_state.h@@    ParseLevelRow("00333300 02333320 12222221 21222212 22211222 11122111"),  // 17@@    ParseLevelRow("00333300 02333320 12222221 21222212 22211222 11123111"),  // 17
game/bricks_stars.cpp@@brick.damage[i] == kCellWorn ? brick.damagedImage@@brick.damage[i] == kCellWorn ? brick.image
game/sounds.cpp@@  if (Settings.soundOn == 0) return;@@  if (Settings.soundOn == 2) return;
game/sounds.cpp@@"%s\\data\\%d.wav", ExeDir, n);@@"%s\\data\\%d.wav", ExeDir, n == 3 ? 2 : n);
game/launcher.cpp@@const Rect shipRect{ship.x, ship.y, ship.x + ship.width, ship.y + ship.height};@@const Rect shipRect{ship.x, ship.y, ship.x + ship.width - 1, ship.y + ship.height};
game/game_loop.cpp@@      if (keys[SDLK_RIGHT] == 1) {@@      if (keys[SDLK_RIGHT] == 1 && keys[SDLK_LEFT] == 0) {
platform/memory.cpp@@return static_cast<uint64_t>(kib) * 1024u;@@return static_cast<uint64_t>(kib) * 1000u;
platform/paths.cpp@@if (i + 1 >= capacity) return false;@@if (i >= capacity) return false;
platform/desktop/sound.cpp@@if (std::strcmp(cache[i].path, gamePath) == 0) return &cache[i];@@if (std::strcmp(cache[i].path, gamePath) == 0) continue;
platform/desktop/window_mode.cpp@@scale = std::min(scale, kMaxWindowScale);@@scale = std::min(scale, kMaxWindowScale + 2);
platform/desktop/window_mode.cpp@@return px >= 0 && px < right && py >= 0 && py < bottom;@@return px >= 0 && px <= right && py >= 0 && py < bottom;
platform/desktop/window_mode.cpp@@  const int roomHigh = area.height - area.frameTop - area.frameBottom;@@  const int roomHigh = area.height - area.frameTop;
platform/desktop/window_mode.cpp@@  const int roomWide = area.width - area.frameLeft - area.frameRight;@@  const int roomWide = area.width;
platform/desktop/window_mode.cpp@@  const int y = area.top + std::max(0, (roomHigh - high) / 2);@@  const int y = std::max(0, (roomHigh - high) / 2);
platform/desktop/window_mode.cpp@@  const int x = area.left + std::max(0, (roomWide - wide) / 2);@@  const int x = area.left + (roomWide - wide) / 2;
platform/config_file.cpp@@text = text.substr(0, lastNewline == std::string_view::npos ? 0 : lastNewline);@@text = text.substr(0, kReadLimit);
resources/pack.cpp@@if (entry->pitch < rowBytes) {@@if (entry->pitch < rowBytes - 1) {
resources/pack.cpp@@entry->height <= 0) {@@entry->height < 0) {
resources/pack.cpp@@const int more = got == static_cast<int>(bufferSize) ? gzread(file, &beyond, 1) : 0;@@const int more = 0;
resources/pack.cpp@@if (*c == '/' && !hostPath->empty() && hostPath->back() == '/') continue;@@if (*c == '/' && !hostPath->empty() && hostPath->back() == '/') {}
resources/pack_build.cpp@@    *alphaFlag = 1;@@    *alphaFlag = 0;
resources/images.cpp@@if (mainSet->Count() < kImageCount) {@@if (mainSet->Count() < kImageCount - 1) {
resources/images.cpp@@{kFontBold, 128, 128, 128},@@{kFontBold, 128, 128, 127},
resources/draw.cpp@@SDL_Rect source{sourceX, sourceY, width, height};@@SDL_Rect source{sourceX, sourceY, static_cast<uint16_t>(width + 1), height};
resources/bitmap_file.cpp@@height = static_cast<int32_t>(Le(h + 22, 4));@@height = static_cast<int32_t>(Le(h + 22, 2));
text/font.cpp@@ch - 32 >= table.count) return false;@@ch - 32 > table.count) return false;
text/font.cpp@@constexpr int32_t kTextLineStep = 15;@@constexpr int32_t kTextLineStep = 16;
text/textbox.cpp@@if (std::strcmp(tag, "<BOLD>") == 0) {@@if (strcasecmp(tag, "<BOLD>") == 0) {
text/textbox.cpp@@if (pen.x + LookAheadWidth(p + 1, end) > right) {@@if (pen.x + LookAheadWidth(p + 1, end) >= right) {
text/textbox.cpp@@pen.y += 2 * LineHeight();@@pen.y += LineHeight();
text/textbox.cpp@@static_cast<int16_t>(left + (width - picture->w) / 2),@@static_cast<int16_t>(left + (width - picture->w + 1) / 2),
text/textbox.cpp@@      next = p - 1;@@      next = p;
tools/contentgen/soundgen.cpp@@const double scale = sound.peak * 32767.0 / loudest;@@const double scale = sound.peak * 32000.0 / loudest;
tools/contentgen/art.cpp@@const double maxR = std::min(w, h) * 0.5;@@const double maxR = std::min(w, h) * 0.05;
tools/packbuilder/main.cpp@@const NameList names{argc - 3, argv + 3};@@const NameList names{argc - 4, argv + 3};
frontend/menu.cpp@@if (PtInRect(kNewGameArea, x, y)) return NewGame;@@if (PtInRect(kNewGameArea, x, y)) return Resume;
frontend/menu.cpp@@if (gameInProgress) BlitImage@@if (!gameInProgress) BlitImage
frontend/options.cpp@@Settings.difficulty <= 2) {@@Settings.difficulty <= 3) {
frontend/high_scores.cpp@@if (Settings.highScores[place] != 0) {@@if (true) {
frontend/high_scores.cpp@@MB_YESNO) == IDYES) {@@MB_YESNO) == IDNO) {
frontend/info_screens.cpp@@kPageThatCloses = 4;@@kPageThatCloses = 5;
frontend/keyboard.cpp@@ry < a.bottom) {@@ry <= a.bottom) {
frontend/keyboard.cpp@@return largeKeys == 1 ? key.large : key.normal;@@return key.normal;
frontend/keyboard.cpp@@if (length < maxLength) {@@if (length <= maxLength) {
frontend/name_entry.cpp@@if ((blinkCounter / 4) % 2 == 0) {@@if ((blinkCounter / 2) % 2 == 0) {
frontend/keyboard.cpp@@static_cast<uint16_t>(std::abs(keyArea.right - keyArea.left)),@@static_cast<uint16_t>(std::abs(keyArea.right - keyArea.left) + 1),
frontend/game_over.cpp@@kGameOverMs = 3000;@@kGameOverMs = 2000;
settings/settings.cpp@@PutLittleEndian(out + kSpareWordBOffset, record.spareWordB, 2);@@PutLittleEndian(out + kSpareWordBOffset, record.spareWordA, 2);
settings/settings.cpp@@if (Settings.highScores[place] < score) return place;@@if (Settings.highScores[place] <= score) return place;
settings/settings.cpp@@for (int j = kHighScorePlaces - 2; j >= place; --j) {@@for (int j = kHighScorePlaces - 2; j > place; --j) {
app/driver.cpp@@if (CurrentLevel == kLevelCount) CurrentLevel = 0;@@if (CurrentLevel > kLevelCount) CurrentLevel = 0;
frontend/message_box_screen.cpp@@return i == 0 ? yes : no;@@return yes;
app/startup.cpp@@if (!AcquireInstanceLock(kInstanceName)) return StartupOutcome::AlreadyRunning;@@// no lock
platform/gamepad.cpp@@case kEast: return SDLK_BACKSPACE;@@case kEast: return SDLK_TAB;
platform/gamepad.cpp@@Hold(SDLK_DOWN, kFromHat, event.jhat.value & SDL_HAT_DOWN);@@Hold(SDLK_DOWN, kFromHat, event.jhat.value & SDL_HAT_UP);
frontend/focus.cpp@@marked = (marked + count - 1) % count;@@marked = (marked + count - 1) % (count - 1);
settings/settings.cpp@@if (from[i] == 0) break;@@// keep copying
app/driver.cpp@@code = RunMenuSeeingTheTable(true);@@code = RunMenuSeeingTheTable(false);
frontend/focus.cpp@@BlitImagePart(corners, right, bottom, kCorner, kCorner, 3 * kCorner, 0);@@BlitImagePart(corners, right, bottom, kCorner, kCorner, 2 * kCorner, 0);
frontend/options.cpp@@Settings.soundOn ? kSoundOn : kSoundOff@@Settings.soundOn ? kSoundOff : kSoundOn
frontend/menu.cpp@@  DropWaitingEvents();@@  // the taps of before are taken
frontend/menu.cpp@@    StartScreenInput();  // the keys@@    // the keys
frontend/options.cpp@@  StartScreenInput();@@  // the keys of before are taken
frontend/high_scores.cpp@@  StartScreenInput();@@  // the keys of before are taken
frontend/info_screens.cpp@@  StartScreenInput();  // an arrow@@  // an arrow
frontend/info_screens.cpp@@  StartScreenInput();  // an Escape@@  // an Escape
frontend/message_box_screen.cpp@@    StartScreenInput();@@    // the keys of before are taken
frontend/name_entry.cpp@@  StartScreenInput();@@  // the keys of before are taken
frontend/screen_events.cpp@@if (IsRepeatedCharacter(event)) return input.keyPressed;@@if (IsRepeatedCharacter(event)) return true;
frontend/screen_events.cpp@@  if (event.type == SDL_KEYDOWN) input.keyPressed = true;@@  // no key goes down
frontend/screen_events.cpp@@if (!IsKey(event) && count < kKeptCapacity)@@if (count < kKeptCapacity)
frontend/screen_events.cpp@@if (!IsKey(event) && count < kKeptCapacity)@@if (false)
frontend/screen_events.cpp@@if (!TakeKept(event) && !HostWaitEvent(&event)) {@@if (!HostWaitEvent(&event)) {
frontend/info_screens.cpp@@DrawFocusMark(kHelpMarks[marked]);\n  FlipScreen();@@DrawFocusMark(kHelpMarks[marked]);
frontend/high_scores.cpp@@kFontWhite);\n  }\n  FlipScreen();@@kFontWhite);\n  }
platform/desktop/window_mode.cpp@@  ForgetShown(shown);\n  return true;@@  return true;
platform/desktop/window_mode.cpp@@      ForgetShown(shown);\n      ShowAgain();@@      ShowAgain();
platform/screen_changes.cpp@@const int from = std::min<int>(last->x, left)@@const int from = last->x
game/game_loop.cpp@@      result = GameOver;@@      if (result != LevelCleared) result = GameOver;
game/game_loop.cpp@@      Play.levelDone = 0;@@      Play.levelDone = Play.gameOver;
game/game_loop.cpp@@if (HitEnemy(enemy)) CountKill(r, j);@@if (HitEnemy(enemy)) { CountKill(r, j); enemy.shot.inFlight = 0; }
game/game_state.cpp@@  if (Settings.difficulty >= 0 && Settings.difficulty <= 2) {@@  Play.enemyFireChance = 30; if (Settings.difficulty >= 0 && Settings.difficulty <= 2) {
settings/settings.cpp@@GetLittleEndian(bytes, size, kDifficultyOffset, 2,@@GetLittleEndian(bytes, size, kDifficultyOffset, 1,
game/sounds.cpp@@  if (Settings.soundOn == 0) return;@@  if (Settings.soundOn != 1) return;
frontend/options.cpp@@Settings.soundOn ? kSoundOn : kSoundOff@@Settings.soundOn == 1 ? kSoundOn : kSoundOff
game/game_state.h@@"00333300 02333320 12222221 11222211 22211222 11111111"),  // 15@@"00333300 02333320 12222221 11222211 22112222 11111111"),  // 15
game/game_state.cpp@@      e.cell = Play.layout[slot];@@      e.cell = Play.layout[slot ^ (r == 5)];
text/textbox.cpp@@box.SetRect(19, 60, 205, 190);@@box.SetRect(19, 60, 206, 190);
text/textbox.cpp@@box.SetRect(19, 60, 205, 190);@@box.SetRect(19, 60, 204, 190);
text/textbox.cpp@@box.SetRect(19, 60, 205, 190);@@box.SetRect(19, 60, 205, 191);
text/textbox.cpp@@box.SetRect(19, 60, 205, 190);@@box.SetRect(19, 61, 205, 189);
app/driver.cpp@@constexpr uint32_t kStartScreenMs = 1000;@@constexpr uint32_t kStartScreenMs = 1500;
platform/small_file.cpp@@const std::string temporary = folder + temporaryName;@@const std::string temporary = target;
platform/small_file.cpp@@  if (stat(target.c_str(), &old) == 0) fchmod(fd, old.st_mode & 07777);@@  // mode not kept
platform/small_file.cpp@@  *linkToNothing = resolved == nullptr;@@  *linkToNothing = false;
settings/settings.cpp@@    if (offset + i >= available) break;@@    if (offset + i >= available) return old;
settings/settings.cpp@@  for (size_t i = 0; i < size && offset + i < available; ++i) {@@  for (size_t i = 0; offset + size <= available && i < size; ++i) {
settings/settings.cpp@@kTemporaryFileName[] = "zorblats.tmp";@@kTemporaryFileName[] = "zorblats.set.tmp";
platform/config_file.cpp@@kReadLimit + 1, text)) return {};@@kReadLimit + 1, text)) return DisplayConfig{false};
platform/config_file.cpp@@UserFolder("XDG_CONFIG_HOME", "/.config");@@UserFolder("XDG_CONFIG_HOME", "/.conf");
platform/config_file.cpp@@  const size_t first = s.find_first_not_of(" \t\r");@@  const size_t first = s.find_first_not_of(" \r");
platform/config_file.cpp@@"zorblats.conf.new");@@"zorblats.new");
frontend/focus.cpp@@return event.key.keysym.mod & KMOD_SHIFT ? NavKey::Previous : NavKey::Next;@@return NavKey::Next;
frontend/focus.cpp@@    case SDLK_RETURN:\n    case SDLK_KP_ENTER:@@    case SDLK_RETURN:
game/game_loop.cpp@@ || event.key.keysym.sym == SDLK_p) return OpenMenu;@@) return OpenMenu;
frontend/options.cpp@@      if (key == NavKey::Left) marked = NeighbourRow(marked, -1);@@
frontend/info_screens.cpp@@      previous = key == NavKey::Left;@@      previous = false;
frontend/message_box_screen.cpp@@          case SDLK_y:\n@@
frontend/keyboard.cpp@@    case SDLK_KP_ENTER:\n    case SDLK_ESCAPE:\n      return 1;@@    case SDLK_KP_ENTER:\n      return 1;
frontend/keyboard.cpp@@    case SDLK_RETURN:\n    case SDLK_KP_ENTER:\n    case SDLK_ESCAPE:@@    case SDLK_RETURN:\n    case SDLK_ESCAPE:
frontend/keyboard.cpp@@keysym.sym == SDLK_TAB ? NavKey::Right : key@@key
frontend/menu.cpp@@if (key == NavKey::Back && gameInProgress) return Resume;@@if (key == NavKey::Back) return Resume;
platform/gamepad.cpp@@    case kWest: return SDLK_LCTRL;@@    case kWest: return SDLK_UNKNOWN;
platform/gamepad.cpp@@    case kStart: return SDLK_ESCAPE;@@    case kStart: return SDLK_UNKNOWN;
platform/gamepad.cpp@@const int limit = (held[low] | held[high]) & kFromStick ? kStickReleased : kStickPushed;@@const int limit = kStickPushed;
platform/gamepad.cpp@@      if (event.jaxis.axis == kStickY) Stick(event.jaxis.value, SDLK_UP, SDLK_DOWN);@@
replay/replay_file.cpp@@{ return static_cast<int32_t>((v >> 1) ^ (0u - (v & 1))); }@@{ return static_cast<int32_t>(v >> 1); }
replay/replay_file.cpp@@      PutNumber(body, e.button.x);@@      PutNumber(body, e.button.y);
replay/replay_file.cpp@@  return Number(out) && out >= kInlineLimit;@@  return Number(out);
replay/replay_file.cpp@@    if (ended) {@@    if (false) {
replay/session.cpp@@    keys[key] = now[key] ? 1 : 0;@@    keys[key] = 1;
replay/session.cpp@@  if (record.digest == ScreenSurfaceDigest() || firstDifference) return;@@  return;
replay/session.cpp@@  if (found) DecodeSettings@@  if (!found) DecodeSettings
game/random.cpp@@  generatorState = generatorState * 1103515245u + 12345u;@@  generatorState = generatorState * 1103515245u + 12346u;
FAULTS
echo "caught $caught of $total faults"
for s in "${survivors[@]}"; do echo "  survived: $s"; done
