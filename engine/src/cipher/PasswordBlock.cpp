#include "cipher/PasswordBlock.h"

#include "cipher/BlowfishCipher.h"

#include <algorithm>

namespace lindor {

namespace {

// The engine's built-in key for stored passwords. Changing it would make every
// existing database unreadable.
constexpr char kPasswordKey[] = "Kq7%Ve2P";
constexpr std::size_t kPasswordKeyLength = sizeof(kPasswordKey) - 1;

BlowfishCipher MakePasswordCipher()
{
    const std::uint8_t zeroBlock[BlowfishCipher::kBlockSize] = {};
    return BlowfishCipher(reinterpret_cast<const std::uint8_t*>(kPasswordKey), kPasswordKeyLength,
                          zeroBlock);
}

// Why a password cannot be stored, or an empty text when it can.
std::string RefusalReason(const std::string& password)
{
    if (password.size() > kMaxPasswordLength) return "Password is too long (at most 63 bytes).";
    // A zero byte would end the stored text early and silently shorten it.
    if (password.find('\0') != std::string::npos)
        return "Password must not contain a zero character.";
    return std::string();
}

bool Refuse(const std::string& reason, std::string* error)
{
    if (error != nullptr) *error = reason;
    return false;
}

}  // namespace

bool EncipherPassword(const std::string& password, PasswordBlock* block, std::string* error)
{
    if (block == nullptr) return Refuse("No buffer for the enciphered password.", error);
    const std::string reason = RefusalReason(password);
    if (!reason.empty()) return Refuse(reason, error);

    PasswordBlock plain{};
    std::copy(password.begin(), password.end(), plain.begin());
    MakePasswordCipher().Encrypt(plain.data(), block->data(), plain.size(), CipherMode::ECB);
    WipeMemory(plain.data(), plain.size());
    return true;
}

std::string DecipherPassword(const std::uint8_t* stored, std::size_t size)
{
    const std::size_t usable = std::min(size, kPasswordBlockSize);
    const std::size_t wholeBlocks = usable - usable % BlowfishCipher::kBlockSize;
    if (stored == nullptr || wholeBlocks == 0) return std::string();

    PasswordBlock plain{};
    MakePasswordCipher().Decrypt(stored, plain.data(), wholeBlocks, CipherMode::ECB);
    // Stop at the first zero byte, and never take more than fits a password,
    // even when a damaged value deciphers to 64 bytes without one.
    const auto textEnd = std::find(plain.begin(), plain.begin() + kMaxPasswordLength, 0);
    std::string text(plain.begin(), textEnd);
    WipeMemory(plain.data(), plain.size());
    return text;
}

}  // namespace lindor
