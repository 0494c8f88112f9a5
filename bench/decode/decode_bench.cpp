// decode_bench RESOURCES_DIR [ROUNDS]: times the loader decoding the three embedded pictures
// (in this process, from memory) against djpeg decoding the same files from RESOURCES_DIR, in the
// same run. djpeg runs as a process per file, so its start-up, measured on a tiny picture, is
// taken off its figures before they are compared. Medians of ROUNDS rounds (default 30).
//
// djpeg is timed twice: writing to /dev/null (decoding alone; its pixels go nowhere) and writing
// to a file in /dev/shm (its pixels are then also read back and kept in memory, as the loader's
// are for the upload).
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/platform.h"
#include <jpeglib.h>

#include "images/picture_decode.h"
#include "resources/embedded.h"

extern char** environ;

// The embedded pictures are this program's only resources.
namespace platform {
ResourceHandle findResource(InstanceHandle, const char* name) {
    return reinterpret_cast<ResourceHandle>(findEmbeddedResource(name));
}
}  // namespace platform

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool decodeAllPictures() {
    TextureImage sheet = {}, logo = {};
    bool ok = decodeMaskedPicture(sheet, "JPEG_MORVANE_RGB", "JPEG_MORVANE_MASK") && decodePicture(logo, "LOGO_MASK");
    std::free(sheet.pixels);
    std::free(logo.pixels);
    return ok;
}

bool runDjpeg(const std::string& file, const char* output = "/dev/null") {
    const char* argv[] = {"djpeg", "-outfile", output, file.c_str(), nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, "djpeg", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Writes an 8 x 8 grey JPEG to `path`: decoding it costs nothing beside djpeg's own start-up.
bool writeTinyJpeg(const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = cinfo.image_height = 8;
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    JSAMPLE samples[8] = {};
    JSAMPROW row = samples;
    while (cinfo.next_scanline < cinfo.image_height) jpeg_write_scanlines(&cinfo, &row, 1);
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s RESOURCES_DIR [ROUNDS]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const int rounds = argc > 2 ? std::max(3, std::atoi(argv[2])) : 30;
    const std::string files[] = {dir + "/morvane_rgb.jpg", dir + "/morvane_mask.jpg", dir + "/logo_mask.jpg"};

    char tinyPath[] = "/tmp/decode_bench_XXXXXX";
    int fd = mkstemp(tinyPath);
    if (fd >= 0) close(fd);
    if (fd < 0 || !writeTinyJpeg(tinyPath)) {
        std::perror("decode_bench: temporary file");
        return 1;
    }

    if (!decodeAllPictures() || !runDjpeg(files[0]) || !runDjpeg(tinyPath)) {
        std::fprintf(stderr, "decode_bench: a warm-up decode failed (is djpeg installed? libjpeg-turbo-progs)\n");
        unlink(tinyPath);
        return 1;
    }

    char memoryPath[] = "/dev/shm/decode_bench_XXXXXX";
    int memoryFd = mkstemp(memoryPath);
    if (memoryFd >= 0) close(memoryFd);
    const bool inMemory = memoryFd >= 0;

    std::vector<double> loader, djpeg, djpegToMemory, startUp;
    for (int round = 0; round < rounds; ++round) {
        // Interleaved, so that both see the same machine load.
        Clock::time_point start = Clock::now();
        decodeAllPictures();
        loader.push_back(millisecondsSince(start));

        start = Clock::now();
        for (const std::string& file : files) runDjpeg(file);
        djpeg.push_back(millisecondsSince(start));

        if (inMemory) {
            start = Clock::now();
            for (const std::string& file : files) runDjpeg(file, memoryPath);
            djpegToMemory.push_back(millisecondsSince(start));
            unlink(memoryPath);
        }

        start = Clock::now();
        for (int i = 0; i < 3; ++i) runDjpeg(tinyPath);
        startUp.push_back(millisecondsSince(start));
    }
    unlink(tinyPath);

    const double loaderMs = median(loader), startUpMs = median(startUp);
    const double djpegMs = median(djpeg) - startUpMs;
    std::printf("Decoding the three pictures (median of %d rounds)\n", rounds);
    std::printf("  djpeg start-up, three tiny pictures        %8.2f ms (taken off below)\n", startUpMs);
    std::printf("  loader, in process, from memory            %8.2f ms\n", loaderMs);
    std::printf("  djpeg to /dev/null                         %8.2f ms   loader / djpeg %5.2f x (goal 1.15 x)\n",
                djpegMs, loaderMs / djpegMs);
    if (inMemory) {
        const double memoryMs = median(djpegToMemory) - startUpMs;
        std::printf("  djpeg to a file in /dev/shm                %8.2f ms   loader / djpeg %5.2f x\n", memoryMs,
                    loaderMs / memoryMs);
    }
    return 0;
}
