/* The running-cost benchmark's frame counter, preloaded (LD_PRELOAD) into the saver and into the peers it
 * is compared with, so that every program's presented frames are counted the same way: each call of
 * glXSwapBuffers or eglSwapBuffers. The count and the times of the first and last swap go into the file
 * SWAP_COUNTER_FILE names, mapped shared, so that they are there however the program ends (the peers
 * die of SIGTERM without running any exit code). The file holds three unsigned 64-bit numbers: frames,
 * then the first and the last swap's CLOCK_MONOTONIC time in nanoseconds. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

typedef struct {
    uint64_t frames;
    uint64_t first_ns;
    uint64_t last_ns;
} SwapRecord;

static SwapRecord* record;

__attribute__((constructor)) static void open_record(void) {
    const char* path = getenv("SWAP_COUNTER_FILE");
    if (!path || !*path) return;
    const int fd = open(path, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return;
    if (ftruncate(fd, sizeof(SwapRecord)) == 0) {
        void* mapped = mmap(NULL, sizeof(SwapRecord), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (mapped != MAP_FAILED) record = mapped;
    }
    close(fd);
}

static void count_swap(void) {
    if (!record) return;
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ns = (uint64_t)now.tv_sec * 1000000000u + (uint64_t)now.tv_nsec;
    if (record->frames == 0) record->first_ns = ns;
    record->last_ns = ns;
    record->frames++;
}

/* The real functions, found past this library; a program that never calls one never looks it up. */
void glXSwapBuffers(void* display, unsigned long drawable) {
    static void (*real)(void*, unsigned long);
    if (!real) real = (void (*)(void*, unsigned long))dlsym(RTLD_NEXT, "glXSwapBuffers");
    if (real) real(display, drawable);
    count_swap();
}

unsigned eglSwapBuffers(void* display, void* surface) {
    static unsigned (*real)(void*, void*);
    if (!real) real = (unsigned (*)(void*, void*))dlsym(RTLD_NEXT, "eglSwapBuffers");
    const unsigned presented = real ? real(display, surface) : 0;
    count_swap();
    return presented;
}
