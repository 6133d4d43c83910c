// The engine's 64-bit block cipher (16-round Blowfish) with its three chaining
// modes. Used for the stored password form and by the client for its settings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace lindor {

// Raised for a refused key or buffer; what() is the text shown to the caller.
class CipherError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class CipherMode : int { ECB = 0, CBC = 1, CFB = 2 };

// Maps a stored or passed-in mode number; any value other than 0, 1, 2 is ECB.
CipherMode CipherModeFromInt(int value);

// One key schedule and one initial chaining block, for one use. Every call
// starts its chain from the initial block again; nothing carries over.
class BlowfishCipher {
public:
    static constexpr std::size_t kBlockSize = 8;
    static constexpr std::size_t kMaxKeyLength = 56;
    static constexpr std::size_t kPArrayWords = 18;
    static constexpr std::size_t kSBoxCount = 4;
    static constexpr std::size_t kSBoxWords = 256;

    // Throws CipherError "Incorrect key length" for a zero length or a null key.
    // Only the first 56 bytes of a longer key are used. A null initial block is
    // taken as eight zero bytes.
    BlowfishCipher(const std::uint8_t* key, std::size_t keyLength,
                   const std::uint8_t initialBlock[kBlockSize]);
    ~BlowfishCipher();

    BlowfishCipher(const BlowfishCipher&) = delete;
    BlowfishCipher& operator=(const BlowfishCipher&) = delete;
    BlowfishCipher(BlowfishCipher&&) = delete;
    BlowfishCipher& operator=(BlowfishCipher&&) = delete;

    // In place. length must be a non-zero multiple of 8 (and buffer non-null);
    // otherwise throws CipherError "Incorrect buffer length" and changes nothing.
    void Encrypt(std::uint8_t* buffer, std::size_t length, CipherMode mode) const;
    void Decrypt(std::uint8_t* buffer, std::size_t length, CipherMode mode) const;

    // From in to out (both of length bytes; they may be the same buffer). Same
    // refusal as above, and then out is left unchanged.
    void Encrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t length,
                 CipherMode mode) const;
    void Decrypt(const std::uint8_t* in, std::uint8_t* out, std::size_t length,
                 CipherMode mode) const;

private:
    struct Block {
        std::uint32_t left;
        std::uint32_t right;
    };

    static Block LoadBlock(const std::uint8_t* bytes);
    static void StoreBlock(Block block, std::uint8_t* bytes);
    static Block Xor(Block a, Block b);

    void ScheduleKey(const std::uint8_t* key, std::size_t keyLength);
    std::uint32_t RoundFunction(std::uint32_t x) const;
    Block EncipherBlock(Block block) const;
    Block DecipherBlock(Block block) const;

    Block InitialBlock() const;
    void EncryptEcb(std::uint8_t* buffer, std::size_t blocks) const;
    void DecryptEcb(std::uint8_t* buffer, std::size_t blocks) const;
    void EncryptCbc(std::uint8_t* buffer, std::size_t blocks) const;
    void DecryptCbc(std::uint8_t* buffer, std::size_t blocks) const;
    void EncryptCfb(std::uint8_t* buffer, std::size_t blocks) const;
    void DecryptCfb(std::uint8_t* buffer, std::size_t blocks) const;

    std::array<std::uint8_t, kBlockSize> initialBlock_{};
    std::array<std::uint32_t, kPArrayWords> p_{};
    std::array<std::array<std::uint32_t, kSBoxWords>, kSBoxCount> s_{};
};

// Overwrites memory holding key material or plain text so that the compiler
// cannot drop the writes as dead stores.
void WipeMemory(void* data, std::size_t size);

}  // namespace lindor
