// Draws the saver's icon, an eight-fold kaleidoscope star, and writes it as a Windows icon file with
// a 32 x 32 and a 16 x 16 image of 16 colours each. Its output is resources/morvane.ico (morvane.rc).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// The 16 colours of the standard Windows palette, as 0xRRGGBB, indexed as the images use them.
const std::uint32_t kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
enum Colour : std::uint8_t { Black = 0, Navy = 4, Purple = 5, Blue = 12, Fuchsia = 13, Aqua = 14, Yellow = 11, White = 15 };

constexpr double kPi = 3.14159265358979323846;
constexpr int kWedges = 8;

struct Pixel {
    bool opaque;
    std::uint8_t colour;
};

// The star in polar terms: r is 1 at the icon's edge, `fold` the angle folded into one half-wedge
// (0 on a point's axis, 1 halfway between two points), `wedge` the index of the wedge.
Pixel starAt(double r, double fold, int wedge) {
    const double edge = 0.42 + 0.56 * (1.0 - fold);  // the star's outline: points reach r = 0.98
    if (r > edge) return {false, Black};
    if (r > edge - 0.12) return {true, Navy};
    if (r < 0.18) return {true, White};
    if (r < 0.32) return {true, Yellow};
    // Every second wedge is the mirror image of its neighbour and takes the other colour pair.
    const bool mirrored = wedge % 2 == 1;
    if (fold < 0.35) return {true, mirrored ? Fuchsia : Aqua};
    return {true, mirrored ? Purple : Blue};
}

std::vector<Pixel> drawStar(int size) {
    std::vector<Pixel> pixels(size * size);
    const double half = size / 2.0;
    const double wedgeAngle = 2.0 * kPi / kWedges;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = (x + 0.5 - half) / half;
            const double dy = (y + 0.5 - half) / half;
            double angle = std::atan2(dy, dx) + kPi / 2.0;  // a point straight up
            if (angle < 0) angle += 2.0 * kPi;
            const int wedge = static_cast<int>(angle / wedgeAngle) % kWedges;
            double within = std::fmod(angle, wedgeAngle) / (wedgeAngle / 2.0);  // 0 to 2 across a wedge
            if (within > 1.0) within = 2.0 - within;
            pixels[y * size + x] = starAt(std::hypot(dx, dy), within, wedge);
        }
    }
    return pixels;
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// One icon image: BITMAPINFOHEADER (height doubled for the mask), palette, 4-bit colour rows and
// 1-bit transparency mask rows, both bottom row first and padded to 4 bytes.
std::vector<std::uint8_t> iconImage(int size) {
    const std::vector<Pixel> pixels = drawStar(size);
    const int colourStride = (size * 4 + 31) / 32 * 4;
    const int maskStride = (size + 31) / 32 * 4;
    std::vector<std::uint8_t> out;
    put32(out, 40);
    put32(out, size);
    put32(out, size * 2);
    put16(out, 1);
    put16(out, 4);
    put32(out, 0);
    put32(out, (colourStride + maskStride) * size);
    for (int i = 0; i < 4; ++i) put32(out, 0);
    for (std::uint32_t rgb : kPalette) put32(out, rgb);  // RGBQUAD is blue, green, red, 0 in memory
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colourStride, 0);
        for (int x = 0; x < size; ++x) {
            const Pixel& pixel = pixels[y * size + x];
            const std::uint8_t index = pixel.opaque ? pixel.colour : std::uint8_t{Black};
            row[x / 2] |= x % 2 == 0 ? index << 4 : index;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskStride, 0);
        for (int x = 0; x < size; ++x)
            if (!pixels[y * size + x].opaque) row[x / 8] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: morvane-icons OUTPUT.ico\n");
        return 2;
    }
    const int sizes[] = {32, 16};
    std::vector<std::vector<std::uint8_t>> images;
    for (int size : sizes) images.push_back(iconImage(size));

    std::vector<std::uint8_t> file;
    put16(file, 0);
    put16(file, 1);  // an icon, not a cursor
    put16(file, 2);
    std::uint32_t offset = 6 + 16 * 2;
    for (int i = 0; i < 2; ++i) {
        file.push_back(static_cast<std::uint8_t>(sizes[i]));
        file.push_back(static_cast<std::uint8_t>(sizes[i]));
        file.push_back(16);
        file.push_back(0);
        put16(file, 1);
        put16(file, 4);
        put32(file, static_cast<std::uint32_t>(images[i].size()));
        put32(file, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "morvane-icons: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
