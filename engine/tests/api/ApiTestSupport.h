// Helpers of the public-interface tests, which see only <lindor/lindor.h>.
#pragma once

#include <lindor/lindor.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace lindor::apitest {

// The description the last failing call left for its caller.
inline std::string ErrorText()
{
    std::string text;
    lindor::GetErrorInfo(&text, nullptr);
    return text;
}

inline std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Runs SQL on the database with the sqlite3 shell (its input and output files
// go in `folder`); returns the output without its last line ends.
inline std::string RunSql(const std::filesystem::path& folder, const std::string& database,
                          const std::string& statements)
{
    const std::string input = (folder / "input.sql").string();
    const std::string output = (folder / "output.txt").string();
    std::ofstream(input) << statements << "\n";
    const std::string command =
        "sqlite3 -batch '" + database + "' < '" + input + "' > '" + output + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(output);
    std::string text = ReadFileBytes(output);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

}  // namespace lindor::apitest
