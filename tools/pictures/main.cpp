// morvane-pictures: draws the sprite sheet, its mask and the logo and writes them as the three JPEG
// files that the saver embeds. Usage: morvane-pictures OUTPUT_DIR [FONT_FILE]
#include <cstdio>
#include <string>

#include "tools/pictures/jpeg_writer.h"
#include "tools/pictures/sheet.h"

namespace {
constexpr int kQuality = 90;
const char kDefaultFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [FONT_FILE]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    GreyPicture logo;
    if (!drawLogo(argc == 3 ? argv[2] : kDefaultFont, logo)) return 1;
    SpriteSheet sheet = drawSpriteSheet();
    bool ok = writeJpeg(dir + "/morvane_rgb.jpg", sheet.colour, sheet.width, sheet.height, 3, kQuality) &&
              writeJpeg(dir + "/morvane_mask.jpg", sheet.mask.samples, sheet.mask.width, sheet.mask.height, 1, kQuality) &&
              writeJpeg(dir + "/logo_mask.jpg", logo.samples, logo.width, logo.height, 1, kQuality);
    return ok ? 0 : 1;
}
