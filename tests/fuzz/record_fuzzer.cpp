// record_fuzzer.cpp: any bytes at all as "record.txt" -- the loader must read them safely.
#include "game_state.h"
#include "record_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// What the loader promises, written independently of it as one pattern: an optional UTF-8
// byte-order mark, blanks and line ends, an optional sign, digits, blanks, then a comma, a line
// end or the end of the file -- all within the bytes the loader reads.
std::optional<long> wellFormedField(const std::string& bytes) {
    static const std::regex field("^(\xEF\xBB\xBF)?[ \t\r\n]*([+-]?[0-9]+)[ \t]*([,\r\n]|$)");
    const bool wholeFile = bytes.size() <= recordReadLimit;
    const std::string prefix = bytes.substr(0, recordReadLimit);
    std::smatch match;
    if (!std::regex_search(prefix, match, field, std::regex_constants::match_not_null)) {
        return std::nullopt;
    }
    if (match[3].length() == 0 && !wholeFile) {
        return std::nullopt; // the number may go on past the bytes read
    }
    std::string digits = match[2].str();
    const bool negative = digits[0] == '-';
    if (digits[0] == '-' || digits[0] == '+') {
        digits.erase(0, 1);
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    if (digits.size() > 5) {
        return std::nullopt;
    }
    const long value = negative ? -std::stol(digits) : std::stol(digits);
    if (value < -32768 || value > 32767) {
        return std::nullopt;
    }
    return value;
}

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "contract broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Work in a directory of our own so that no real record is ever touched; in memory where
    // the system offers it, since every input is written out as a file.
    const bool inMemory = std::filesystem::is_directory("/dev/shm");
    std::string pattern =
        inMemory ? "/dev/shm/trebalune-fuzz-XXXXXX" : "/tmp/trebalune-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    std::filesystem::current_path(pattern);
    std::atexit([] {
        const std::filesystem::path here = std::filesystem::current_path();
        std::filesystem::current_path("/");
        std::error_code ignored;
        std::filesystem::remove_all(here, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // The parser on an exact-size heap copy: AddressSanitizer catches any read past the end.
    const std::size_t shown = std::min(size, recordReadLimit);
    std::vector<char> exact(bytes.begin(), bytes.begin() + static_cast<long>(shown));
    const auto parsed = parseRecord({exact.data(), exact.size()}, size <= recordReadLimit);

    if (std::FILE* file = std::fopen(recordFileName, "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    } else {
        std::abort();
    }
    GameState game;
    game.setPalette();
    game.loadRecord();

    const std::optional<long> expected = wellFormedField(bytes);
    check(parsed.has_value() == expected.has_value(), "parser and pattern agree on readability");
    if (expected) {
        check(game.record == *expected, "record is the value of the first field");
        check(game.recordText == std::to_string(*expected), "record text shows the record");
    } else {
        check(game.record == 32, "an unreadable file gives 32");
        check(game.recordText == "32", "an unreadable file leaves the text at 32");
    }
    return 0;
}
