// The list reader: a client that keeps one bug set over every bug open for
// the whole run, reading a row now and then and pausing for long stretches
// (a user looking at the list) while the set stays open. It runs until
// SIGTERM and journals each read that failed and each pause.
#pragma once

#include <cstdint>
#include <string>

namespace stress {

struct ReaderConfig {
    std::string database;
    std::uint64_t seed = 0;
    int pauseMs = 500;
    std::string journal;
    std::string errorLog;
};

int RunReader(const ReaderConfig& config);

}  // namespace stress
