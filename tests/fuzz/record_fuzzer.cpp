// record_fuzzer.cpp: any bytes at all as "record.txt" -- the loader reads them safely and takes
// exactly the record that a well-formed first field holds.
#include "game_state.h"
#include "record_file.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <unistd.h>
#include <vector>

namespace {

// The record a player means, written independently of the loader as one pattern over the
// bytes it reads: a byte-order mark, blanks and line ends, a sign, digits, blanks, then a
// comma, a line end or the end of a file read whole. Anything else reads as 32.
long meantRecord(const std::string& bytes) {
    static const std::regex field(
        "^(\xEF\xBB\xBF)?[ \t\r\n]*([+-]?)0*([0-9]{1,5})[ \t]*([,\r\n]|$)");
    const std::string read = bytes.substr(0, recordReadLimit);
    std::smatch m;
    if (!std::regex_search(read, m, field) ||
        (m[4].length() == 0 && bytes.size() > recordReadLimit)) {
        return 32;
    }
    const long value = std::stol(m[3]) * (m[2] == "-" ? -1 : 1);
    return value >= -32768 && value <= 32767 ? value : 32;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A directory of its own, in memory where the system has one, so no real record is touched.
    static std::string directory = std::filesystem::is_directory("/dev/shm")
                                       ? "/dev/shm/trebalune-fuzz-XXXXXX"
                                       : "/tmp/trebalune-fuzz-XXXXXX";
    if (::mkdtemp(directory.data()) == nullptr) {
        std::abort();
    }
    std::filesystem::current_path(directory);
    std::atexit([] { std::filesystem::remove_all(directory); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // The parser on an exact-size heap copy, so that AddressSanitizer sees any read past its end.
    const std::vector<char> copy(data, data + std::min(size, recordReadLimit));
    const auto parsed = parseRecord({copy.data(), copy.size()}, size <= recordReadLimit);

    std::FILE* file = std::fopen("record.txt", "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::abort();
    }
    GameState game;
    game.setPalette();
    game.loadRecord();
    const long meant = meantRecord(bytes);
    if (game.record != meant || game.recordText != std::to_string(meant) ||
        parsed.value_or(32) != meant) {
        std::fprintf(stderr, "read %d, shown \"%s\", meant %ld\n", game.record,
                     game.recordText.c_str(), meant);
        std::abort();
    }
    return 0;
}
