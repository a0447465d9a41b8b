// The resource catalogue: the 41 images of the main pack and their transparent colours.
#include "resources/images.h"

#include <string>

#include "platform/message_box.h"
#include "resources/draw.h"
#include "resources/pack.h"

const char* const kImageSourceNames[kImageCount] = {
    "start_screen.bmp",        "ingame.bmp",
    "Player1.bmp",             "Weapon1.bmp",
    "Weapon2.bmp",             "Enemy11.bmp",
    "Enemy21.bmp",             "Enemy31.bmp",
    "main.bmp",                "SmallEnemy.bmp",
    "game_over.bmp",           "GiftLauncher1.bmp",
    "Gifts.bmp",               "Brick.bmp",
    "options.bmp",             "help.bmp",
    "about.bmp",               "scores.bmp",
    "support.bmp",             "font.bmp",
    "font_bold.bmp",           "StarFront1.bmp",
    "StarFront2.bmp",          "StarFront3.bmp",
    "StarFront4.bmp",          "StarFront5.bmp",
    "Explosion.bmp",           "ExplosionPlayer.bmp",
    "radio.bmp",               "start.bmp",
    "reserved30.bmp",          "but_resume.bmp",
    "keyboard_small.bmp",      "keyboard_large.bmp",
    "keyboard_small_pushed.bmp", "keyboard_large_pushed.bmp",
    "reserved36.bmp",          "editbox.bmp",
    "font_white.bmp",          "brick1.bmp",
    "small_brick.bmp",
};
static_assert(sizeof kImageSourceNames / sizeof kImageSourceNames[0] == kImageCount,
              "one source name per image");

SDL_Surface* Images[kImageCount];

namespace {

// The main pack and its surfaces live until the process ends; nothing ever frees them.
PackFile* mainPack = new PackFile(PackMode::Read);
ImageSet* mainSet = new ImageSet;

constexpr char kMainPackName[] = "//data//1";
constexpr size_t kMainPackBuffer = 2000000;

struct KeyedImage {
  ImageId id;
  uint8_t r, g, b;
};

// The order in which the images get their keys.
constexpr KeyedImage kKeyedImages[] = {
    {kExplosion, 0, 0, 0},     {kBrick, 0, 0, 0},         {kBrickWorn, 0, 0, 0},
    {kGameOver, 0, 0, 0},      {kEnemy1, 0, 0, 0},        {kEnemy2, 0, 0, 0},
    {kEnemy3, 0, 0, 0},        {kPlayer, 0, 0, 0},        {kLevelBanner, 0, 0, 0},
    {kGiftLauncher, 0, 0, 0},  {kRadio, 0, 0, 0},         {kFontGrey, 156, 156, 156},
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
