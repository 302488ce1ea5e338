// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// record_file.h: the fewest pegs ever left, kept between runs in "record.txt".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Opened by its bare name, so it lives in the working directory the game was started from.
// Beside it, the lock that games sharing the folder take turns with, and the one temporary
// name a new record is written to before it replaces the old.
inline constexpr const char* recordFileName = "record.txt";
inline constexpr const char* recordLockName = "record.txt.lock";
inline constexpr const char* recordTempName = "record.txt.tmp";

// The record is the first field of the file; the loader never looks past this many bytes,
// so a huge or runaway file costs no more to open than a small one.
inline constexpr std::size_t recordReadLimit = 256;

// Decimal digits, with a leading "-" only when negative and no padding.
std::string decimalText(int value);

// The record in the first field of `text`, or nothing when the field is unreadable.
// `wholeFile` says whether `text` is all of the file or only its first bytes.
std::optional<std::int16_t> parseRecord(std::string_view text, bool wholeFile);

struct SaveResult {
    bool ok;
    std::string reason;   // in French, for the player; empty when ok
    std::int16_t record;  // the record to play on: the value asked for, or a lower one that the
                          // file already held; after a failed save, the value asked for
    std::string setAside; // where a file that held no record was moved to, if one was
};

// Makes "record.txt" hold `value` followed by CR LF, unless it already holds a record at least
// as low: several games in one folder keep the lowest any of them reached. Either the new
// record is in place or the old file is left exactly as it was, never torn or empty; a file
// that held something other than a record is moved aside, never overwritten.
SaveResult saveRecord(std::int16_t value);
