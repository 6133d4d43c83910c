// The stored form of a user password: the text's bytes zero-padded to 64 and
// enciphered block by block under the engine's fixed key.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace lindor {

constexpr std::size_t kPasswordBlockSize = 64;
using PasswordBlock = std::array<std::uint8_t, kPasswordBlockSize>;

// Longest password text that fits with the zero byte that ends it.
constexpr std::size_t kMaxPasswordLength = kPasswordBlockSize - 1;

// Fills *block with the stored form of password (UTF-8). Returns false and
// sets *error (when error is non-null), leaving *block unchanged, for a
// password of more than 63 bytes, one holding a zero byte, or a null block.
bool EncipherPassword(const std::string& password, PasswordBlock* block, std::string* error);

// The password text of a stored value. Null or empty (a NULL column) reads as
// the empty text. Damaged values are read leniently: only the whole 8-byte
// blocks among the first 64 bytes are deciphered, the rest counts as zero, and
// the result never exceeds 63 bytes. Never reads past size.
std::string DecipherPassword(const std::uint8_t* stored, std::size_t size);

}  // namespace lindor
