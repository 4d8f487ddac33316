// Reads a window template image many times and reports the reading speed in MB/s.
//   template_read_bench [IMAGE]          IMAGE: a raw image (e.g. from formc --image);
//                                        default: a representative 118-record image
//   template_read_bench --write FILE [PAIRS]
//                                        writes the representative image (PAIRS label and
//                                        edit box pairs per page, default 18) and exits;
//                                        used to make the fuzzer's seed corpus
// A timing benchmark, not a test: it asserts nothing about speed.
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "forms/template_image.h"
#include "tests/native/template_sample.h"

namespace {

double Seconds() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<uint8_t> image;
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--write") == 0) {
        auto bytes = WriteTemplateImage(argc == 4 ? sample::MakeImage(std::atoi(argv[3])) : sample::MakeImage());
        std::ofstream out(argv[2], std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
        return out ? 0 : 1;
    }
    if (argc == 2) {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", argv[1]);
            return 1;
        }
        image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
        image = *WriteTemplateImage(sample::MakeImage());
    }
    auto first = ReadTemplateImage(image.data(), image.size());
    if (!first) {
        std::fprintf(stderr, "the image is malformed\n");
        return 1;
    }
    size_t records = 0;
    for (const auto& w : first->windows) records += w.records.size();

    // Warm up, then read for about two seconds.
    for (int i = 0; i < 100; ++i) ReadTemplateImage(image.data(), image.size());
    size_t reads = 0;
    double start = Seconds(), elapsed = 0;
    while (elapsed < 2.0) {
        for (int i = 0; i < 200; ++i) {
            auto parsed = ReadTemplateImage(image.data(), image.size());
            if (!parsed) return 1;
            reads++;
        }
        elapsed = Seconds() - start;
    }
    double mb = static_cast<double>(image.size()) * static_cast<double>(reads) / 1e6;
    std::printf("template read: %zu bytes, %zu records, %zu reads in %.2f s: %.1f MB/s, %.1f us per image\n", image.size(), records,
                reads, elapsed, mb / elapsed, elapsed * 1e6 / static_cast<double>(reads));

    // Baseline in the same run: copying the image's bytes into a fresh buffer, the least any
    // reader that keeps its own copy must do.
    size_t copies = 0;
    uint64_t sink = 0;
    start = Seconds();
    double copyElapsed = 0;
    while (copyElapsed < 1.0) {
        for (int i = 0; i < 200; ++i) {
            std::vector<uint8_t> copy(image.begin(), image.end());
            sink += copy[copies % copy.size()];
            copies++;
        }
        copyElapsed = Seconds() - start;
    }
    double perRead = elapsed / static_cast<double>(reads), perCopy = copyElapsed / static_cast<double>(copies);
    std::printf("baseline copy: %.1f MB/s; reading takes %.1f times a plain copy (checksum %llu)\n",
                static_cast<double>(image.size()) / perCopy / 1e6, perRead / perCopy,
                static_cast<unsigned long long>(sink % 10));
    return 0;
}
