// The hexadecimal digits of pi's fractional part, 32 bits a word, computed
// once per process. Blowfish starts its key schedule from the first 1042.
#pragma once

#include <cstdint>
#include <vector>

namespace nimbra {

class PiDigits {
public:
    static constexpr std::size_t kBlowfishWords = 18 + 4 * 256;
    // The first kBlowfishWords words: 0x243F6A88, 0x85A308D3, ...
    static const std::vector<std::uint32_t>& blowfishWords();
    // Any number of words (Machin's formula in fixed point).
    static std::vector<std::uint32_t> compute(std::size_t words);
};

}  // namespace nimbra
