// Random choices and contents for the stress programs, reproducible from a seed.
#pragma once

#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace stress {

class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}

    // A whole number from lo to hi, both included.
    long Between(long lo, long hi) { return std::uniform_int_distribution<long>(lo, hi)(engine_); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(engine_) < p; }
    template <class Container>
    auto Pick(const Container& items) -> decltype(items[0])
    {
        return items[static_cast<std::size_t>(Between(0, static_cast<long>(std::size(items)) - 1))];
    }
    // Index chosen with the weights given.
    std::size_t Weighted(const std::vector<int>& weights);

    // A few lower-case words.
    std::string Words(int count);
    // `size` bytes, either noise or text that compresses well.
    std::vector<std::uint8_t> Bytes(std::size_t size, bool compressible);
    // A string of `count` '0'/'1' characters, each '1' with probability p.
    std::string Flags(std::size_t count, double p);

private:
    std::mt19937_64 engine_;
};

// Writes the bytes to a new file; throws when it cannot.
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// The CRC-32 of the bytes (the checksum a zip entry records).
std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes);

}  // namespace stress
