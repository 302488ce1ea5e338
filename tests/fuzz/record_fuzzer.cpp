// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// record_fuzzer.cpp: any bytes at all as "record.txt" -- the loader reads them safely, takes a
// record in range or falls back to 32, and shows what it took.
#include "game_state.h"
#include "record_file.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A directory of its own, so that no real record is touched.
    static std::string directory = std::filesystem::temp_directory_path() / "trebalune-fuzz-XXXXXX";
    std::filesystem::current_path(::mkdtemp(directory.data()));
    std::atexit([] { std::filesystem::remove_all(directory); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The parser on an exact-size heap copy, so that AddressSanitizer sees any read past its end.
    const std::vector<char> copy(data, data + std::min(size, recordReadLimit));
    const auto parsed = parseRecord({copy.data(), copy.size()}, size <= recordReadLimit);
    std::ofstream("record.txt", std::ios::binary).write(reinterpret_cast<const char*>(data), size);
    GameState game;
    game.setPalette();
    game.loadRecord();
    if (game.record != parsed.value_or(32) || game.recordText != std::to_string(game.record)) {
        std::abort();
    }
    return 0;
}
