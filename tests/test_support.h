// test_support.h: what the rules and record tests share.
#pragma once

#include "game_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

inline std::string readFile(const char* path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

// Each test runs in a fresh empty working directory, so "record.txt" is always its own.
class InTempDir : public ::testing::Test {
    void SetUp() override {
        std::string name = std::filesystem::temp_directory_path() / "trebalune-XXXXXX";
        std::filesystem::current_path(::mkdtemp(name.data()));
    }
    void TearDown() override {
        const auto here = std::filesystem::current_path();
        std::filesystem::current_path("/");
        std::filesystem::remove_all(here);
    }
};

// A game ready for clicks, as the window has it after start-up.
inline GameState readyGame() {
    GameState game;
    game.setPalette();
    return game;
}
