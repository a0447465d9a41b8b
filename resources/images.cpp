// The resource catalogue: the 41 images of the main pack and their transparent colours.
#include "resources/images.h"

#include <string>

#include "platform/message_box.h"
#include "resources/draw.h"
#include "resources/pack.h"

const char* const kImageSourceNames[kImageCount] = {
    "start_screen.bmp",           // 0
    "ingame.bmp",                 // 1
    "Player1.bmp",                // 2
    "Weapon1.bmp",                // 3
    "Weapon2.bmp",                // 4
    "Enemy11.bmp",                // 5
    "Enemy21.bmp",                // 6
    "Enemy31.bmp",                // 7
    "main.bmp",                   // 8
    "SmallEnemy.bmp",             // 9
    "game_over.bmp",              // 10
    "GiftLauncher1.bmp",          // 11
    "Gifts.bmp",                  // 12
    "Brick.bmp",                  // 13
    "options.bmp",                // 14
    "help.bmp",                   // 15
    "about.bmp",                  // 16
    "scores.bmp",                 // 17
    "support.bmp",                // 18
    "font.bmp",                   // 19
    "font_bold.bmp",              // 20
    "StarFront1.bmp",             // 21
    "StarFront2.bmp",             // 22
    "StarFront3.bmp",             // 23
    "StarFront4.bmp",             // 24
    "StarFront5.bmp",             // 25
    "Explosion.bmp",              // 26
    "ExplosionPlayer.bmp",        // 27
    "radio.bmp",                  // 28
    "start.bmp",                  // 29
    "reserved30.bmp",             // 30
    "but_resume.bmp",             // 31
    "keyboard_small.bmp",         // 32
    "keyboard_large.bmp",         // 33
    "keyboard_small_pushed.bmp",  // 34
    "keyboard_large_pushed.bmp",  // 35
    "reserved36.bmp",             // 36
    "editbox.bmp",                // 37
    "font_white.bmp",             // 38
    "brick1.bmp",                 // 39
    "small_brick.bmp",            // 40
};
static_assert(sizeof kImageSourceNames / sizeof kImageSourceNames[0] == kImageCount,
              "one source name per image");

SDL_Surface* Images[kImageCount];

namespace {

// The main pack and its surfaces live until the process ends; nothing ever frees them.
PackFile* mainPack = new PackFile(PackMode::Read);
ImageSet* mainSet = new ImageSet;

constexpr char kMainPackName[] = "\\data\\1";
constexpr size_t kMainPackBuffer = 2000000;

struct KeyedImage {
  ImageId id;
  uint8_t r, g, b;
};

// The order in which the images get their keys.
constexpr KeyedImage kKeyedImages[] = {
    {kExplosion, 0, 0, 0},      {kBrick, 0, 0, 0},  {kBrickWorn, 0, 0, 0},
    {kGameOver, 0, 0, 0},       {kEnemy1, 0, 0, 0}, {kEnemy2, 0, 0, 0},
    {kEnemy3, 0, 0, 0},         {kPlayer, 0, 0, 0}, {kLevelBanner, 0, 0, 0},
    {kGiftLauncher, 0, 0, 0},   {kRadio, 0, 0, 0},  {kFontGrey, 156, 156, 156},
    {kFontBold, 128, 128, 128},
};

}  // namespace

void ApplyColourKeys() {
  for (const KeyedImage& keyed : kKeyedImages) {
    SDL_Surface* surface = Images[keyed.id];
    if (!surface) continue;
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY,
                    SDL_MapRGB(surface->format, keyed.r, keyed.g, keyed.b));
  }
  // The white font brings its own key: whatever colour its pixel (0, 5) has, unmapped.
  if (SDL_Surface* font = Images[kFontWhite]) {
    SDL_SetColorKey(font, SDL_SRCCOLORKEY, ReadPixel(0, 5, font));
  }
}

void LoadImages() {
  mainPack->Load(*mainSet, kMainPackName, kMainPackBuffer);
  if (mainSet->Count() < kImageCount) {
    std::string path;
    if (!PackFilePath(kMainPackName, &path)) path = "data/1.pak";
    const std::string text = "The image pack " + path + " holds " +
                             std::to_string(mainSet->Count()) + " images; the game needs " +
                             std::to_string(kImageCount) + ".";
    StopWithMessage(text.c_str());
  }
  for (int id = 0; id < kImageCount; ++id) Images[id] = mainSet->GetSurface(id);
  ApplyColourKeys();
}
