#include "cipher/PasswordBlock.h"

#include "cipher/BlowfishCipher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lindor {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Works on the stored form with the cipher directly, independently of the
// password functions under test.
BlowfishCipher StoredFormCipher()
{
    const std::string key = "Kq7%Ve2P";
    const std::uint8_t zeroBlock[BlowfishCipher::kBlockSize] = {};
    return BlowfishCipher(reinterpret_cast<const std::uint8_t*>(key.data()), key.size(), zeroBlock);
}

PasswordBlock PlainFormOf(const PasswordBlock& stored)
{
    PasswordBlock plain = stored;
    StoredFormCipher().Decrypt(plain.data(), plain.size(), CipherMode::ECB);
    return plain;
}

PasswordBlock StoredFormOfPlain(PasswordBlock plain)
{
    StoredFormCipher().Encrypt(plain.data(), plain.size(), CipherMode::ECB);
    return plain;
}

PasswordBlock Enciphered(const std::string& password)
{
    PasswordBlock block{};
    std::string error;
    EXPECT_TRUE(EncipherPassword(password, &block, &error)) << error;
    EXPECT_EQ(error, "");
    return block;
}

std::string ReadBack(const PasswordBlock& block)
{
    return DecipherPassword(block.data(), block.size());
}

// ---------------------------------------------------------------------------
// Stored form

TEST(PasswordBlockStoredForm, EmptyPasswordIsEnciphermentOfZeroBytes)
{
    const PasswordBlock block = Enciphered("");
    EXPECT_EQ(block, StoredFormOfPlain(PasswordBlock{}));
    EXPECT_EQ(ReadBack(block), "");
}

TEST(PasswordBlockStoredForm, PlainFormIsTextThenZeroBytes)
{
    const std::string password = "abc";
    const PasswordBlock plain = PlainFormOf(Enciphered(password));
    PasswordBlock expected{};
    std::copy(password.begin(), password.end(), expected.begin());
    EXPECT_EQ(plain, expected);
}

TEST(PasswordBlockStoredForm, BlocksAreEncipheredIndependently)
{
    // Eight text bytes fill the first block; the other seven blocks are zero
    // blocks, and each one enciphers alike on its own.
    const PasswordBlock block = Enciphered("abcdefgh");
    const PasswordBlock empty = Enciphered("");
    EXPECT_FALSE(std::equal(block.begin(), block.begin() + 8, empty.begin()));
    EXPECT_TRUE(std::equal(block.begin() + 8, block.end(), empty.begin() + 8));
}

TEST(PasswordBlockStoredForm, EqualPasswordsGiveEqualBlocks)
{
    EXPECT_EQ(Enciphered("Secret1"), Enciphered("Secret1"));
    EXPECT_NE(Enciphered("Secret1"), Enciphered("secret1"));
}

// ---------------------------------------------------------------------------
// Round trips

TEST(PasswordBlockRoundTrip, ShortPassword)
{
    EXPECT_EQ(ReadBack(Enciphered("Secret1")), "Secret1");
}

TEST(PasswordBlockRoundTrip, LongestPasswordKeepsItsEndingZero)
{
    std::string password;
    for (std::size_t i = 0; i < kMaxPasswordLength; ++i)
        password += static_cast<char>('!' + i % 90);
    ASSERT_EQ(password.size(), 63u);

    const PasswordBlock block = Enciphered(password);
    EXPECT_EQ(ReadBack(block), password);
    const PasswordBlock plain = PlainFormOf(block);
    EXPECT_EQ(plain[63], 0);
    EXPECT_EQ(std::string(plain.begin(), plain.begin() + 63), password);
}

TEST(PasswordBlockRoundTrip, Utf8Text)
{
    const std::string password = "p\xC3\xA4ss w\xC3\xB6rd \xE2\x9C\x93 \xE6\x97\xA5";
    EXPECT_EQ(ReadBack(Enciphered(password)), password);
}

// ---------------------------------------------------------------------------
// Refusals

TEST(PasswordBlockRefusal, TooLongPasswordIsRefused)
{
    for (std::size_t length : {64u, 65u, 200u}) {
        SCOPED_TRACE(length);
        PasswordBlock block;
        block.fill(0xAA);
        const PasswordBlock untouched = block;
        std::string error;
        EXPECT_FALSE(EncipherPassword(std::string(length, 'x'), &block, &error));
        EXPECT_EQ(error, "Password is too long (at most 63 bytes).");
        EXPECT_EQ(block, untouched);
    }
}

TEST(PasswordBlockRefusal, ZeroByteInPasswordIsRefused)
{
    // Stored, it would read back cut at the zero byte and never match again.
    PasswordBlock block{};
    std::string error;
    EXPECT_FALSE(EncipherPassword(std::string("ab\0cd", 5), &block, &error));
    EXPECT_EQ(error, "Password must not contain a zero character.");
}

TEST(PasswordBlockRefusal, MissingOutputsAreHandled)
{
    std::string error;
    EXPECT_FALSE(EncipherPassword("abc", nullptr, &error));
    EXPECT_FALSE(error.empty());

    PasswordBlock block{};
    EXPECT_FALSE(EncipherPassword(std::string(64, 'x'), &block, nullptr));
    EXPECT_TRUE(EncipherPassword("abc", &block, nullptr));
    EXPECT_EQ(ReadBack(block), "abc");
}

// ---------------------------------------------------------------------------
// Reading stored values

TEST(PasswordBlockReading, NullColumnReadsAsEmptyText)
{
    EXPECT_EQ(DecipherPassword(nullptr, 0), "");
    EXPECT_EQ(DecipherPassword(nullptr, 64), "");
    const PasswordBlock block = Enciphered("abc");
    EXPECT_EQ(DecipherPassword(block.data(), 0), "");
}

TEST(PasswordBlockReading, ShortValueUsesItsWholeBlocks)
{
    const PasswordBlock block = Enciphered("abc");
    for (std::size_t size : {8u, 12u, 63u}) {
        const Bytes stored(block.begin(), block.begin() + size);
        EXPECT_EQ(DecipherPassword(stored.data(), stored.size()), "abc");
    }
    const Bytes partialBlock(block.begin(), block.begin() + 7);
    EXPECT_EQ(DecipherPassword(partialBlock.data(), partialBlock.size()), "");
}

TEST(PasswordBlockReading, LongValueUsesFirst64Bytes)
{
    const PasswordBlock block = Enciphered("Secret1");
    Bytes stored(block.begin(), block.end());
    stored.insert(stored.end(), {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88});
    EXPECT_EQ(DecipherPassword(stored.data(), stored.size()), "Secret1");
}

TEST(PasswordBlockReading, PlainFormWithoutZeroByteGivesAtMost63Bytes)
{
    PasswordBlock plain;
    plain.fill('x');
    const PasswordBlock stored = StoredFormOfPlain(plain);
    EXPECT_EQ(ReadBack(stored), std::string(63, 'x'));
}

TEST(PasswordBlockReading, ArbitraryDataOfAnySizeIsReadSafely)
{
    std::uint32_t state = 12345;
    for (std::size_t size = 0; size <= 70; ++size) {
        // Exactly size bytes on the heap, so a read past the end is caught by
        // sanitizer builds.
        Bytes stored(size);
        for (std::uint8_t& byte : stored) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<std::uint8_t>(state >> 16);
        }
        const std::string text = DecipherPassword(stored.data(), stored.size());
        EXPECT_LE(text.size(), 63u) << "size " << size;
        EXPECT_EQ(text.find('\0'), std::string::npos);
    }
}

}  // namespace
}  // namespace lindor
