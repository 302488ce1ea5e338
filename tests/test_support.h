// test_support.h: what the rules and record tests share.
#pragma once

#include "game_state.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

inline std::string readFile(const char* path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

inline void writeFile(const char* path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Each test runs in a fresh empty working directory, so "record.txt" is always its own.
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = std::filesystem::temp_directory_path() / "trebalune-XXXXXX";
        std::filesystem::current_path(::mkdtemp(name.data()));
    }
    void TearDown() override {
        const auto here = std::filesystem::current_path();
        std::filesystem::current_path("/");
        std::error_code ignored;
        std::filesystem::remove_all(here, ignored);
    }
};

// A game ready for clicks, as the window has it after start-up.
inline GameState readyGame() {
    GameState game;
    game.setPalette();
    return game;
}
