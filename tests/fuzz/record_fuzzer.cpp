// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// record_fuzzer.cpp: any bytes at all as "record.txt", read by the parser and by the file's rules.
#include "record_file.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <utility>
#include <vector>

namespace {

// The first field by the file's rules, apart from the loader's code: after a byte-order mark,
// blank lines, spaces and tabs, a sign and decimal digits within -32768..32767, then spaces or tabs
// up to a comma, a line end or the end of the file -- if the bytes are the whole file.
std::optional<std::int16_t> byTheRules(std::string_view bytes, bool wholeFile) {
    static const std::regex field("(\xEF\xBB\xBF)?[ \t\r\n]*([-+]?)([0-9]+)[ \t]*([,\r\n]|$)");
    std::cmatch got;
    int value = 0;
    if (!std::regex_search(bytes.data(), bytes.data() + bytes.size(), got, field,
                           std::regex_constants::match_continuous) ||
        (got[4].length() == 0 && !wholeFile) ||
        std::from_chars(got[3].first, got[3].second, value).ec != std::errc()) {
        return std::nullopt;
    }
    value = got[2] == "-" ? -value : value;
    return std::in_range<std::int16_t>(value) ? std::optional<std::int16_t>(value) : std::nullopt;
}

// A broken rule stops the run, and libFuzzer keeps the input that broke it.
void expect(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "record_fuzzer: %s\n", what);
        std::abort();
    }
}

} // namespace

// The bytes as a whole file, and cut where the loader stops reading, in a heap block of its own
// (as libFuzzer's is) so that AddressSanitizer sees any read past the end of either.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<char> copy(data, data + std::min(size, recordReadLimit));
    const std::string_view cut(copy.data(), copy.size());
    const auto whole = parseRecord(bytes, true);
    const auto read = parseRecord(cut, size <= recordReadLimit);
    expect(whole == byTheRules(bytes, true), "the whole file read otherwise than by the rules");
    expect(read == byTheRules(cut, size <= recordReadLimit), "the cut read otherwise");
    expect(!whole || parseRecord(decimalText(*whole) + "\r\n", true) == whole,
           "a record does not read back from its own decimal text");
    return 0;
}
