// The resource catalogue: the 41 images every screen and game object reaches by number.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

// The number of each image is its position in the main pack.
enum ImageId : int32_t {
  kStartScreen = 0,         // start_screen.bmp
  kInGame = 1,              // ingame.bmp, play screen background
  kPlayer = 2,              // Player1.bmp, keyed black
  kShipShot = 3,            // Weapon1.bmp
  kEnemyShot = 4,           // Weapon2.bmp
  kEnemy1 = 5,              // Enemy11.bmp, keyed black
  kEnemy2 = 6,              // Enemy21.bmp, keyed black
  kEnemy3 = 7,              // Enemy31.bmp, keyed black
  kMainMenu = 8,            // main.bmp
  kSmallEnemy = 9,          // SmallEnemy.bmp, not drawn
  kGameOver = 10,           // game_over.bmp, keyed black
  kGiftLauncher = 11,       // GiftLauncher1.bmp, keyed black
  kGifts = 12,              // Gifts.bmp
  kBrickSpacing = 13,       // Brick.bmp, only its width is used
  kOptions = 14,            // options.bmp
  kHelp = 15,               // help.bmp
  kAbout = 16,              // about.bmp
  kScores = 17,             // scores.bmp
  kSupport = 18,            // support.bmp
  kFontGrey = 19,           // font.bmp, keyed 156,156,156
  kFontBold = 20,           // font_bold.bmp, keyed 128,128,128
  kStar1 = 21,              // StarFront1.bmp .. StarFront5.bmp
  kStar2 = 22,
  kStar3 = 23,
  kStar4 = 24,
  kStar5 = 25,
  kExplosion = 26,          // Explosion.bmp, keyed black
  kShipExplosion = 27,      // ExplosionPlayer.bmp, opaque
  kRadio = 28,              // radio.bmp, keyed black
  kLevelBanner = 29,        // start.bmp, keyed black
  kReserved30 = 30,         // reserved slot
  kResumeButton = 31,       // but_resume.bmp
  kKeyboardSmall = 32,      // keyboard_small.bmp
  kKeyboardLarge = 33,      // keyboard_large.bmp
  kKeyboardSmallPushed = 34,  // keyboard_small_pushed.bmp
  kKeyboardLargePushed = 35,  // keyboard_large_pushed.bmp
  kReserved36 = 36,         // reserved slot
  kEditBox = 37,            // editbox.bmp, only its size is used
  kFontWhite = 38,          // font_white.bmp, keyed by its own pixel (0, 5)
  kBrick = 39,              // brick1.bmp, keyed black
  kBrickWorn = 40,          // small_brick.bmp, keyed black
  kImageCount = 41
};

// Source file names in ImageId order, as the pack builder takes them.
extern const char* const kImageSourceNames[kImageCount];

// The 41 display surfaces, owned by the main pack's image set for the whole run.
extern SDL_Surface* Images[kImageCount];

// Fills Images from data/1.pak and gives the keyed images their transparent colours.
// Called once by RunGame after the start screen. A missing or damaged pack stops the game
// with a message.
void LoadImages();

// Gives the keyed images of Images their transparent colours, in the catalogue's order
// (font_white.bmp keyed by its own pixel (0, 5)). Called by LoadImages and by tests that
// fill Images themselves.
void ApplyColourKeys();
