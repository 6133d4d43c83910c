// The 64-bit block cipher (16-round Blowfish) with its three chaining modes,
// as the client needs it for the password block of its options file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace nimbra {

// Raised for a refused key or buffer; what() is the text to show.
class CipherError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class BlowfishCipher {
public:
    static constexpr std::size_t kBlockSize = 8;
    static constexpr std::size_t kMaxKeyLength = 56;

    // 0 ECB, 1 CBC, 2 CFB with 64-bit feedback; any other value acts as ECB.
    enum Mode : int { ECB = 0, CBC = 1, CFB = 2 };

    // Throws CipherError "Incorrect key length" for an empty key; only the
    // first 56 bytes of a longer key count.
    BlowfishCipher(const std::uint8_t* key, std::size_t keyLength,
                   const std::array<std::uint8_t, kBlockSize>& initialBlock);

    // In place; every call starts its chain from the initial block. A length
    // that is 0 or not a multiple of 8 throws CipherError "Incorrect buffer
    // length" and changes nothing.
    void encrypt(std::uint8_t* buffer, std::size_t length, int mode) const;
    void decrypt(std::uint8_t* buffer, std::size_t length, int mode) const;

private:
    struct Block {
        std::uint32_t left;
        std::uint32_t right;
    };

    static Block load(const std::uint8_t* bytes);
    static void store(Block block, std::uint8_t* bytes);
    static void checkLength(std::size_t length);

    void scheduleKey(const std::uint8_t* key, std::size_t keyLength);
    std::uint32_t feistel(std::uint32_t x) const;
    Block encipher(Block block) const;
    Block decipher(Block block) const;

    Block initial_{};
    std::array<std::uint32_t, 18> p_{};
    std::array<std::array<std::uint32_t, 256>, 4> s_{};
};

}  // namespace nimbra
