// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// record_file.cpp: reading and safely rewriting "record.txt".
#include "record_file.h"

#include "game_state.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

std::string decimalText(int value) {
    return std::to_string(value);
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

// The game writes "N" CR LF and nothing else; a hand-edited file is read as a player means it:
// a UTF-8 byte-order mark, blank lines, spaces and tabs before the number are skipped, a "+"
// or "-" sign is taken, and spaces or tabs after the digits are ignored. The field ends at a
// comma, a line end or the end of the file, and what follows it is not read. Anything else in
// the field -- letters, a fraction such as "5.5", two numbers such as "5 5", no digits at all,
// or a number outside -32768..32767 -- makes the file unreadable, and the caller falls back.
std::optional<std::int16_t> parseRecord(std::string_view text, bool wholeFile) {
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, byteOrderMark.size()) == byteOrderMark) {
        text.remove_prefix(byteOrderMark.size());
    }

    std::size_t at = 0;
    while (at < text.size() && (isBlank(text[at]) || isLineEnd(text[at]))) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    const std::size_t digitsStart = at;
    long magnitude = 0;
    while (at < text.size() && isDigit(text[at])) {
        magnitude = magnitude * 10 + (text[at] - '0');
        // 32768 may still be -32768; the sign is taken into account below.
        if (magnitude > 32768) {
            return std::nullopt;
        }
        ++at;
    }
    if (at == digitsStart) {
        return std::nullopt;
    }
    while (at < text.size() && isBlank(text[at])) {
        ++at;
    }
    if (at == text.size()) {
        // The field runs to the end of what was read: complete only if that was the whole file.
        if (!wholeFile) {
            return std::nullopt;
        }
    } else if (text[at] != ',' && !isLineEnd(text[at])) {
        return std::nullopt;
    }

    const long value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

namespace {

// What "record.txt" holds: `present` when it is a plain file with something in it, and the
// record when that something reads as one.
struct Stored {
    bool present = false;
    std::optional<std::int16_t> record;
};

Stored readStored() {
    Stored stored;
    // Non-blocking, so that a pipe or device someone put in the file's place cannot hang the
    // game; only a regular file is read.
    const int fd = ::open(recordFileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return stored;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        char buffer[recordReadLimit + 1];
        std::size_t got = 0;
        ssize_t n = 0;
        while (got < sizeof buffer && ((n = ::read(fd, buffer + got, sizeof buffer - got)) > 0 ||
                                       (n < 0 && errno == EINTR))) {
            got += n > 0 ? static_cast<std::size_t>(n) : 0;
        }
        stored.present = got > 0;
        if (n >= 0) {
            const bool wholeFile = got <= recordReadLimit;
            stored.record = parseRecord({buffer, wholeFile ? got : recordReadLimit}, wholeFile);
        }
    }
    ::close(fd);
    return stored;
}

} // namespace

void GameState::loadRecord() {
    const std::optional<std::int16_t> stored = readStored().record;
    if (!stored) {
        // Unreadable or missing: the starting number of pegs, so the first jump sets a record.
        record = startingPegs;
        return;
    }
    record = *stored;
    recordText = decimalText(record);
}

namespace {

std::string reasonFor(int error) {
    switch (error) {
    case ENOSPC:
        return "plus de place sur le disque";
    case EDQUOT:
        return "quota de disque dépassé";
    case EACCES:
    case EPERM:
        return "permission refusée";
    case EROFS:
        return "système de fichiers en lecture seule";
    case EISDIR:
        return "c'est un répertoire";
    case EIO:
        return "erreur d'entrée-sortie";
    case ELOOP:
        return "lien symbolique refusé";
    case EEXIST:
        return "le fichier existe déjà";
    default:
        return std::strerror(error);
    }
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Refuses a name of the game's own that someone else has taken: a link, another user's file
// or something that is not a plain file is never followed, written or removed.
std::string strangerAt(const char* name, const struct stat& info) {
    const std::string quoted = std::string("« ") + name + " »";
    if (S_ISLNK(info.st_mode)) {
        return quoted + " est un lien symbolique";
    }
    if (info.st_uid != ::geteuid()) {
        return quoted + " appartient à un autre utilisateur";
    }
    return S_ISREG(info.st_mode) ? "" : quoted + " n'est pas un fichier ordinaire";
}

// Moves a "record.txt" that holds no record to the first free name of "record.txt.illisible",
// "record.txt.illisible-2", ...; never over an existing file.
std::optional<std::string> setAside() {
    for (int n = 1; n < 100; ++n) {
        const std::string name =
            std::string(recordFileName) + ".illisible" + (n > 1 ? "-" + std::to_string(n) : "");
        if (::renameat2(AT_FDCWD, recordFileName, AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
            return name;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return std::nullopt;
}

// Writes the record to the one temporary name, makes it reach the disk and renames it over
// "record.txt": a crash or a full disk at any moment leaves either the old record or the new
// one, whole, and at most that one temporary file, which the next save clears.
std::optional<std::string> replaceRecord(std::int16_t value) {
    struct stat info {};
    if (::lstat(recordTempName, &info) == 0) {
        if (std::string stranger = strangerAt(recordTempName, info); !stranger.empty()) {
            return stranger;
        }
        ::unlink(recordTempName);
    }
    const int fd =
        ::open(recordTempName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return reasonFor(errno);
    }
    bool ok = writeAll(fd, decimalText(value) + "\r\n") && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(recordTempName, recordFileName) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(recordTempName);
        return reasonFor(error);
    }
    return std::nullopt;
}

// Closes the lock file, which lets the next game in.
struct LockHolder {
    int fd;
    ~LockHolder() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

} // namespace

// Games sharing a folder take turns through a lock beside the record; each then reads what is
// stored and writes only a lower record, so no interleaving can lose the best one.
SaveResult saveRecord(std::int16_t value) {
    const LockHolder lock{
        ::open(recordLockName, O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644)};
    struct stat info {};
    if (lock.fd < 0) {
        // A link refused by O_NOFOLLOW is named as any other stranger at that name.
        const int error = errno;
        const bool link = error == ELOOP && ::lstat(recordLockName, &info) == 0;
        return {false, link ? strangerAt(recordLockName, info) : reasonFor(error), value, {}};
    }
    if (::fstat(lock.fd, &info) != 0) {
        return {false, reasonFor(errno), value, {}};
    }
    if (std::string stranger = strangerAt(recordLockName, info); !stranger.empty()) {
        return {false, stranger, value, {}};
    }
    while (::flock(lock.fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            return {false, reasonFor(errno), value, {}};
        }
    }

    const Stored stored = readStored();
    if (stored.record && *stored.record <= value) {
        return {true, {}, *stored.record, {}};
    }
    std::string asideName;
    if (stored.present && !stored.record) {
        const std::optional<std::string> aside = setAside();
        if (!aside) {
            return {false, reasonFor(errno), value, {}};
        }
        asideName = *aside;
    }
    if (const std::optional<std::string> failure = replaceRecord(value)) {
        return {false, *failure, value, asideName};
    }
    return {true, {}, value, asideName};
}
