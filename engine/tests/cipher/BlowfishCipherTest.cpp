#include "cipher/BlowfishCipher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#ifndef LINDOR_TEST_DATA_DIR
#error "LINDOR_TEST_DATA_DIR must name the folder holding blowfish-vectors.txt"
#endif

namespace lindor {
namespace {

using Bytes = std::vector<std::uint8_t>;

// ---------------------------------------------------------------------------
// Reading the published vectors

struct EcbVector {
    Bytes key;
    Bytes clear;
    Bytes cipher;
};

struct KeyLengthVector {
    std::size_t keyLength = 0;
    Bytes cipher;
};

struct PublishedVectors {
    std::vector<EcbVector> ecb;
    Bytes keyLengthClear;
    Bytes keyLengthKey;
    std::vector<KeyLengthVector> keyLength;
    Bytes chainKey;
    Bytes chainInitialBlock;
    Bytes chainClear;
    Bytes cbcCipher;
    Bytes cfbCipher;
};

bool IsHex(const std::string& text)
{
    if (text.empty() || text.size() % 2 != 0) return false;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

Bytes HexToBytes(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::vector<std::string> Tokens(const std::string& line)
{
    std::istringstream stream(line);
    std::vector<std::string> tokens;
    for (std::string token; stream >> token;) tokens.push_back(token);
    return tokens;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

enum class Section { None, Ecb, KeyLength, Chaining };

Section SectionOf(const std::string& heading)
{
    if (heading.find("ECB") != std::string::npos) return Section::Ecb;
    if (heading.find("Variable key length") != std::string::npos) return Section::KeyLength;
    if (heading.find("Chaining modes") != std::string::npos) return Section::Chaining;
    return Section::None;
}

void ParseEcbLine(const std::vector<std::string>& tokens, PublishedVectors* vectors)
{
    if (tokens.size() == 3 && IsHex(tokens[0]) && IsHex(tokens[1]) && IsHex(tokens[2]))
        vectors->ecb.push_back(
            {HexToBytes(tokens[0]), HexToBytes(tokens[1]), HexToBytes(tokens[2])});
}

// The heading names the clear block ("clear bytes <hex>;") and the full key
// opens the next line ("<hex>; cipher bytes =="); then one "N=<n> <hex>" line
// per key length.
void ParseKeyLengthLine(const std::string& line, const std::vector<std::string>& tokens,
                        PublishedVectors* vectors)
{
    const std::string clearLabel = "clear bytes ";
    const std::size_t clearAt = line.find(clearLabel);
    if (clearAt != std::string::npos) {
        const std::size_t start = clearAt + clearLabel.size();
        vectors->keyLengthClear = HexToBytes(line.substr(start, line.find(';', start) - start));
        return;
    }
    if (tokens.empty()) return;
    const std::string first = tokens[0].substr(0, tokens[0].find(';'));
    if (IsHex(first)) {
        vectors->keyLengthKey = HexToBytes(first);
        return;
    }
    if (tokens.size() == 2 && StartsWith(first, "N=") && IsHex(tokens[1]))
        vectors->keyLength.push_back({std::stoul(first.substr(2)), HexToBytes(tokens[1])});
}

// Labelled values end their line; the two results stand alone on the line
// after their label.
void ParseChainingLine(const std::string& line, const std::vector<std::string>& tokens,
                       PublishedVectors* vectors, Bytes** pendingResult)
{
    if (tokens.empty()) return;
    const std::string& last = tokens.back();
    if (tokens.size() == 1 && IsHex(last) && *pendingResult != nullptr) {
        **pendingResult = HexToBytes(last);
        *pendingResult = nullptr;
    } else if (StartsWith(line, "key") && IsHex(last)) {
        vectors->chainKey = HexToBytes(last);
    } else if (StartsWith(line, "initial block") && IsHex(last)) {
        vectors->chainInitialBlock = HexToBytes(last);
    } else if (StartsWith(line, "clear") && IsHex(last)) {
        vectors->chainClear = HexToBytes(last);
    } else if (StartsWith(line, "CBC")) {
        *pendingResult = &vectors->cbcCipher;
    } else if (StartsWith(line, "CFB")) {
        *pendingResult = &vectors->cfbCipher;
    }
}

PublishedVectors ReadPublishedVectors()
{
    PublishedVectors vectors;
    std::ifstream file(std::string(LINDOR_TEST_DATA_DIR) + "/blowfish-vectors.txt");
    Section section = Section::None;
    Bytes* pendingResult = nullptr;
    for (std::string line; std::getline(file, line);) {
        const std::vector<std::string> tokens = Tokens(line);
        // A heading may carry values of its section too.
        if (StartsWith(line, "==")) section = SectionOf(line);
        switch (section) {
            case Section::Ecb:
                ParseEcbLine(tokens, &vectors);
                break;
            case Section::KeyLength:
                ParseKeyLengthLine(line, tokens, &vectors);
                break;
            case Section::Chaining:
                ParseChainingLine(line, tokens, &vectors, &pendingResult);
                break;
            case Section::None:
                break;
        }
    }
    return vectors;
}

const PublishedVectors& Vectors()
{
    static const PublishedVectors vectors = ReadPublishedVectors();
    return vectors;
}

// ---------------------------------------------------------------------------
// Helpers

const std::uint8_t kZeroBlock[BlowfishCipher::kBlockSize] = {};

Bytes Encrypted(const BlowfishCipher& cipher, Bytes data, CipherMode mode)
{
    cipher.Encrypt(data.data(), data.size(), mode);
    return data;
}

Bytes Decrypted(const BlowfishCipher& cipher, Bytes data, CipherMode mode)
{
    cipher.Decrypt(data.data(), data.size(), mode);
    return data;
}

Bytes PaddedTo(Bytes data, std::size_t size)
{
    data.resize(size, 0);
    return data;
}

// Bytes that differ from block to block, so mixed-up blocks show.
Bytes Pattern(std::size_t size, std::uint8_t seed)
{
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(seed + i * 37);
    return data;
}

const Bytes kSampleKey = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF,
                          0xF0, 0xE1, 0xD2, 0xC3, 0xB4, 0xA5, 0x96, 0x87};
const Bytes kSampleInitialBlock = {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10};

BlowfishCipher SampleCipher()
{
    return BlowfishCipher(kSampleKey.data(), kSampleKey.size(), kSampleInitialBlock.data());
}

void ExpectCipherError(const std::function<void()>& action, const std::string& message)
{
    try {
        action();
        ADD_FAILURE() << "expected CipherError \"" << message << "\"";
    } catch (const CipherError& error) {
        EXPECT_EQ(error.what(), message);
    }
}

const CipherMode kAllModes[] = {CipherMode::ECB, CipherMode::CBC, CipherMode::CFB};

// ---------------------------------------------------------------------------
// Published vectors

TEST(BlowfishPublishedVectors, FileParsesCompletely)
{
    const PublishedVectors& v = Vectors();
    EXPECT_EQ(v.ecb.size(), 34u);
    EXPECT_EQ(v.keyLength.size(), 24u);
    EXPECT_EQ(v.keyLengthClear.size(), 8u);
    EXPECT_EQ(v.keyLengthKey.size(), 24u);
    EXPECT_EQ(v.chainKey.size(), 16u);
    EXPECT_EQ(v.chainInitialBlock.size(), 8u);
    EXPECT_EQ(v.chainClear.size(), 29u);
    EXPECT_EQ(v.cbcCipher.size(), 32u);
    EXPECT_EQ(v.cfbCipher.size(), 29u);
}

TEST(BlowfishPublishedVectors, EcbTableEnciphersAndDeciphers)
{
    for (const EcbVector& vector : Vectors().ecb) {
        const BlowfishCipher cipher(vector.key.data(), vector.key.size(), kZeroBlock);
        EXPECT_EQ(Encrypted(cipher, vector.clear, CipherMode::ECB), vector.cipher);
        EXPECT_EQ(Decrypted(cipher, vector.cipher, CipherMode::ECB), vector.clear);
    }
}

TEST(BlowfishPublishedVectors, KeyLengthsOneToTwentyFour)
{
    const PublishedVectors& v = Vectors();
    for (const KeyLengthVector& vector : v.keyLength) {
        SCOPED_TRACE("key length " + std::to_string(vector.keyLength));
        ASSERT_LE(vector.keyLength, v.keyLengthKey.size());
        const BlowfishCipher cipher(v.keyLengthKey.data(), vector.keyLength, kZeroBlock);
        EXPECT_EQ(Encrypted(cipher, v.keyLengthClear, CipherMode::ECB), vector.cipher);
        EXPECT_EQ(Decrypted(cipher, vector.cipher, CipherMode::ECB), v.keyLengthClear);
    }
}

TEST(BlowfishPublishedVectors, CbcOfZeroPaddedClear)
{
    const PublishedVectors& v = Vectors();
    const BlowfishCipher cipher(v.chainKey.data(), v.chainKey.size(), v.chainInitialBlock.data());
    const Bytes clear = PaddedTo(v.chainClear, 32);
    EXPECT_EQ(Encrypted(cipher, clear, CipherMode::CBC), v.cbcCipher);
    EXPECT_EQ(Decrypted(cipher, v.cbcCipher, CipherMode::CBC), clear);
}

TEST(BlowfishPublishedVectors, CfbFirstBytesOfZeroPaddedClear)
{
    const PublishedVectors& v = Vectors();
    const BlowfishCipher cipher(v.chainKey.data(), v.chainKey.size(), v.chainInitialBlock.data());
    const Bytes clear = PaddedTo(v.chainClear, 32);
    const Bytes output = Encrypted(cipher, clear, CipherMode::CFB);
    EXPECT_EQ(Bytes(output.begin(), output.begin() + 29), v.cfbCipher);
    EXPECT_EQ(Decrypted(cipher, output, CipherMode::CFB), clear);
}

// ---------------------------------------------------------------------------
// Chaining modes

TEST(BlowfishModes, EveryModeRoundTrips)
{
    const BlowfishCipher cipher = SampleCipher();
    const Bytes clear = Pattern(40, 3);
    for (CipherMode mode : kAllModes) {
        SCOPED_TRACE(static_cast<int>(mode));
        const Bytes enciphered = Encrypted(cipher, clear, mode);
        EXPECT_NE(enciphered, clear);
        EXPECT_EQ(Decrypted(cipher, enciphered, mode), clear);
    }
}

TEST(BlowfishModes, ChainingHidesRepeatedBlocks)
{
    const BlowfishCipher cipher = SampleCipher();
    const Bytes clear(16, 0x5A);  // two equal blocks
    const Bytes ecb = Encrypted(cipher, clear, CipherMode::ECB);
    EXPECT_TRUE(std::equal(ecb.begin(), ecb.begin() + 8, ecb.begin() + 8));
    for (CipherMode mode : {CipherMode::CBC, CipherMode::CFB}) {
        const Bytes chained = Encrypted(cipher, clear, mode);
        EXPECT_FALSE(std::equal(chained.begin(), chained.begin() + 8, chained.begin() + 8));
    }
}

TEST(BlowfishModes, ChainStartsFromInitialBlock)
{
    const Bytes otherInitialBlock = {1, 2, 3, 4, 5, 6, 7, 8};
    const BlowfishCipher sample = SampleCipher();
    const BlowfishCipher other(kSampleKey.data(), kSampleKey.size(), otherInitialBlock.data());
    const Bytes clear = Pattern(16, 9);
    EXPECT_EQ(Encrypted(sample, clear, CipherMode::ECB), Encrypted(other, clear, CipherMode::ECB));
    EXPECT_NE(Encrypted(sample, clear, CipherMode::CBC), Encrypted(other, clear, CipherMode::CBC));
    EXPECT_NE(Encrypted(sample, clear, CipherMode::CFB), Encrypted(other, clear, CipherMode::CFB));
}

TEST(BlowfishModes, EachCallRestartsTheChain)
{
    const BlowfishCipher cipher = SampleCipher();
    const Bytes clear = Pattern(16, 1);
    for (CipherMode mode : {CipherMode::CBC, CipherMode::CFB}) {
        const Bytes first = Encrypted(cipher, clear, mode);
        EXPECT_EQ(Encrypted(cipher, clear, mode), first);
        EXPECT_EQ(Decrypted(cipher, first, mode), clear);
        EXPECT_EQ(Decrypted(cipher, first, mode), clear);
    }
}

TEST(BlowfishModes, InitialBlockIsCopiedAtConstruction)
{
    Bytes initialBlock = kSampleInitialBlock;
    const BlowfishCipher cipher(kSampleKey.data(), kSampleKey.size(), initialBlock.data());
    initialBlock.assign(8, 0xEE);
    const Bytes clear = Pattern(24, 4);
    EXPECT_EQ(Encrypted(cipher, clear, CipherMode::CBC),
              Encrypted(SampleCipher(), clear, CipherMode::CBC));
}

TEST(BlowfishModes, NullInitialBlockActsAsZeroBlock)
{
    const BlowfishCipher withNull(kSampleKey.data(), kSampleKey.size(), nullptr);
    const BlowfishCipher withZero(kSampleKey.data(), kSampleKey.size(), kZeroBlock);
    const Bytes clear = Pattern(16, 6);
    EXPECT_EQ(Encrypted(withNull, clear, CipherMode::CBC),
              Encrypted(withZero, clear, CipherMode::CBC));
}

TEST(BlowfishModes, UnknownModeValuesActAsEcb)
{
    EXPECT_EQ(CipherModeFromInt(0), CipherMode::ECB);
    EXPECT_EQ(CipherModeFromInt(1), CipherMode::CBC);
    EXPECT_EQ(CipherModeFromInt(2), CipherMode::CFB);
    EXPECT_EQ(CipherModeFromInt(7), CipherMode::ECB);
    EXPECT_EQ(CipherModeFromInt(-1), CipherMode::ECB);

    const BlowfishCipher cipher = SampleCipher();
    const Bytes clear = Pattern(24, 2);
    const Bytes ecb = Encrypted(cipher, clear, CipherMode::ECB);
    const CipherMode seven = static_cast<CipherMode>(7);
    EXPECT_EQ(Encrypted(cipher, clear, seven), ecb);
    EXPECT_EQ(Decrypted(cipher, ecb, seven), clear);
}

TEST(BlowfishModes, TwoBufferFormsMatchInPlaceForms)
{
    const BlowfishCipher cipher = SampleCipher();
    const Bytes clear = Pattern(32, 11);
    for (CipherMode mode : kAllModes) {
        SCOPED_TRACE(static_cast<int>(mode));
        const Bytes inPlace = Encrypted(cipher, clear, mode);

        Bytes out(clear.size(), 0xCC);
        cipher.Encrypt(clear.data(), out.data(), clear.size(), mode);
        EXPECT_EQ(out, inPlace);

        Bytes back(clear.size(), 0xCC);
        cipher.Decrypt(out.data(), back.data(), out.size(), mode);
        EXPECT_EQ(back, Decrypted(cipher, inPlace, mode));
        EXPECT_EQ(back, clear);
    }
}

TEST(BlowfishModes, TwoBufferFormsAcceptTheSameBuffer)
{
    const BlowfishCipher cipher = SampleCipher();
    const Bytes clear = Pattern(32, 12);
    for (CipherMode mode : kAllModes) {
        Bytes data = clear;
        cipher.Encrypt(data.data(), data.data(), data.size(), mode);
        EXPECT_EQ(data, Encrypted(cipher, clear, mode));
        cipher.Decrypt(data.data(), data.data(), data.size(), mode);
        EXPECT_EQ(data, clear);
    }
}

// ---------------------------------------------------------------------------
// Keys

TEST(BlowfishKeys, OnlyTheFirst56KeyBytesCount)
{
    const Bytes longKey = Pattern(57, 17);
    const BlowfishCipher key55(longKey.data(), 55, kZeroBlock);
    const BlowfishCipher key56(longKey.data(), 56, kZeroBlock);
    const BlowfishCipher key57(longKey.data(), 57, kZeroBlock);
    Bytes otherTail = longKey;
    otherTail[56] ^= 0xFF;
    const BlowfishCipher key57OtherTail(otherTail.data(), 57, kZeroBlock);

    const Bytes clear = Pattern(64, 5);
    for (CipherMode mode : kAllModes) {
        const Bytes with56 = Encrypted(key56, clear, mode);
        EXPECT_EQ(Encrypted(key57, clear, mode), with56);
        EXPECT_EQ(Encrypted(key57OtherTail, clear, mode), with56);
        EXPECT_NE(Encrypted(key55, clear, mode), with56);
        EXPECT_EQ(Decrypted(key57, with56, mode), clear);
    }
}

TEST(BlowfishKeys, EmptyKeyIsRefused)
{
    const Bytes key = kSampleKey;
    ExpectCipherError([&] { BlowfishCipher(key.data(), 0, kZeroBlock); }, "Incorrect key length");
    ExpectCipherError([&] { BlowfishCipher(nullptr, 8, kZeroBlock); }, "Incorrect key length");
}

// ---------------------------------------------------------------------------
// Buffer lengths

TEST(BlowfishBufferLength, BadLengthsAreRefusedAndChangeNothing)
{
    const BlowfishCipher cipher = SampleCipher();
    const Bytes original = Pattern(16, 21);
    for (std::size_t length : {0u, 7u, 12u}) {
        for (CipherMode mode : kAllModes) {
            SCOPED_TRACE("length " + std::to_string(length));
            Bytes data = original;
            Bytes out(original.size(), 0xCC);
            const Bytes untouchedOut = out;
            ExpectCipherError([&] { cipher.Encrypt(data.data(), length, mode); },
                              "Incorrect buffer length");
            ExpectCipherError([&] { cipher.Decrypt(data.data(), length, mode); },
                              "Incorrect buffer length");
            ExpectCipherError([&] { cipher.Encrypt(data.data(), out.data(), length, mode); },
                              "Incorrect buffer length");
            ExpectCipherError([&] { cipher.Decrypt(data.data(), out.data(), length, mode); },
                              "Incorrect buffer length");
            EXPECT_EQ(data, original);
            EXPECT_EQ(out, untouchedOut);
        }
    }
}

TEST(BlowfishBufferLength, NullBuffersAreRefused)
{
    const BlowfishCipher cipher = SampleCipher();
    Bytes data = Pattern(8, 22);
    const Bytes original = data;
    ExpectCipherError([&] { cipher.Encrypt(nullptr, 8, CipherMode::ECB); },
                      "Incorrect buffer length");
    ExpectCipherError([&] { cipher.Encrypt(nullptr, data.data(), 8, CipherMode::ECB); },
                      "Incorrect buffer length");
    ExpectCipherError([&] { cipher.Decrypt(data.data(), nullptr, 8, CipherMode::ECB); },
                      "Incorrect buffer length");
    EXPECT_EQ(data, original);
}

}  // namespace
}  // namespace lindor
