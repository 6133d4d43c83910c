#include "common/RandomData.h"

#include <zlib.h>

#include <cstdio>
#include <numeric>
#include <stdexcept>

namespace stress {
namespace {

const char* const kWords[] = {"crash",  "window", "list",   "filter", "report", "print",
                              "slow",   "export", "button", "login",  "sort",   "version",
                              "attach", "dialog", "font",   "save",   "undo",   "network"};

}  // namespace

std::size_t Random::Weighted(const std::vector<int>& weights)
{
    const int total = std::accumulate(weights.begin(), weights.end(), 0);
    long roll = Between(0, total - 1);
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (roll < weights[i]) return i;
        roll -= weights[i];
    }
    return weights.size() - 1;
}

std::string Random::Words(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += (i == 0 ? "" : " ") + std::string(Pick(kWords));
    return text;
}

std::vector<std::uint8_t> Random::Bytes(std::size_t size, bool compressible)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(size);
    while (bytes.size() < size) {
        if (compressible) {
            const std::string word = std::string(Pick(kWords)) + " ";
            bytes.insert(bytes.end(), word.begin(), word.end());
        } else {
            bytes.push_back(static_cast<std::uint8_t>(engine_()));
        }
    }
    bytes.resize(size);
    return bytes;
}

std::string Random::Flags(std::size_t count, double p)
{
    std::string flags;
    for (std::size_t i = 0; i < count; ++i) flags += Chance(p) ? '1' : '0';
    return flags;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) throw std::runtime_error("cannot write " + path);
    const std::size_t written =
        bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file);
    const bool closed = std::fclose(file) == 0;
    if (written != bytes.size() || !closed) throw std::runtime_error("cannot write " + path);
}

std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    if (!bytes.empty()) crc = crc32(crc, bytes.data(), static_cast<uInt>(bytes.size()));
    return static_cast<std::uint32_t>(crc);
}

}  // namespace stress
