// record_file.cpp: reading and safely rewriting "record.txt".
#include "record_file.h"

#include "game_state.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
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

void GameState::loadRecord() {
    std::optional<std::int16_t> stored;
    // Non-blocking, so that a pipe or device someone put in the file's place cannot hang the
    // start; only a regular file is read.
    const int fd = ::open(recordFileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
            char buffer[recordReadLimit + 1];
            std::size_t got = 0;
            ssize_t n = 0;
            while (got < sizeof buffer &&
                   ((n = ::read(fd, buffer + got, sizeof buffer - got)) > 0 ||
                    (n < 0 && errno == EINTR))) {
                got += n > 0 ? static_cast<std::size_t>(n) : 0;
            }
            if (n >= 0) {
                const bool wholeFile = got <= recordReadLimit;
                stored = parseRecord({buffer, wholeFile ? got : recordReadLimit}, wholeFile);
            }
        }
        ::close(fd);
    }

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

} // namespace

// The new text goes to a file of this process's own beside "record.txt", reaches the disk,
// and only then is renamed over the old one: a crash or a full disk at any moment leaves
// either the old record or the new one, whole. Two copies of the game each use their own
// temporary name, and whichever renames last wins.
SaveResult saveRecord(std::int16_t value) {
    const std::string text = decimalText(value) + "\r\n";
    const std::string tempName =
        std::string(recordFileName) + "." + std::to_string(::getpid()) + ".tmp";

    const int fd =
        ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        return {false, reasonFor(errno)};
    }
    bool ok = writeAll(fd, text) && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(tempName.c_str(), recordFileName) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(tempName.c_str());
        return {false, reasonFor(error)};
    }
    return {true, {}};
}
