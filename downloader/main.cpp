// downloader [--max-bytes N] [--ca-file FILE] [--replace NAME [--identity DEV:INO]] URL
//
// Fetches URL and saves the body in the current directory under the last segment of the URL's
// path. The body goes to an exclusively created temporary file in the current directory, which
// is renamed into place only after a complete answer: status 200 with a body whose length the
// server stated (or sent in chunks), so a failed run leaves nothing behind but the empty state
// file ".wget-hsts" that the update scripts expect.
//
// With --replace the body must be a complete program for this machine; it then takes the place
// of the regular file NAME in the current directory, with NAME's permission bits, in one rename,
// and only while NAME is still the file DEV:INO (device and inode) when --identity is given.
// --ca-file trusts the certificates in FILE instead of the system's.
//
// Exit status: 0 saved; 1 bad arguments; 2 URL, redirect or file to replace refused; 3 local
// file failure; 4 network or TLS failure, time-out, or a body that may be incomplete (its length
// not stated, or stated twice differently); 5 the server answered with another status than 200;
// 6 the answer is too large: its body beyond the size cap, or its header beyond 128 KiB or a
// header line longer than libcurl accepts; 7 the body is not a program for this machine. Every
// failure prints one line on stderr.

#include <curl/curl.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "decimal.h"
#include "exit_status.h"
#include "program_check.h"
#include "response_rules.h"
#include "staged_file.h"
#include "url_rules.h"

namespace downloader {
namespace {

constexpr long long sizeCap = 64LL * 1024 * 1024;
// The header of one answer, all its lines: well below libcurl's own limit (300 KiB in 7.88),
// which it reports as a failure to receive.
constexpr long long headerCap = 128 * 1024;
constexpr int maxRedirects = 5;
constexpr long connectTimeoutSeconds = 30;
constexpr long totalTimeoutSeconds = 600;
// Without progress for this long the peer is taken as gone, well before the total time-out.
constexpr long stalledSeconds = 60;
constexpr char stateFile[] = ".wget-hsts";
constexpr char temporaryPrefix[] = ".download-";
// A temporary file this old belongs to a run that was killed: no run lasts this long.
constexpr long leftoverSeconds = totalTimeoutSeconds + 300;

class Failure : public std::runtime_error {
  public:
    Failure(int status, const std::string& message) : std::runtime_error(message), status(status) {}
    int status;  // one of exitStatus
};

std::string systemError(const std::string& step) {
    return step + ": " + std::strerror(errno);
}

// The one file a termination signal removes before the process ends, registered while it is
// being written. The path is copied before the flag says it is there, so the handler never
// reads a half-written path.
char pendingFilePath[PATH_MAX];
volatile std::sig_atomic_t hasPendingFile = 0;

void registerPendingFile(const std::string& path) {
    hasPendingFile = 0;
    std::snprintf(pendingFilePath, sizeof pendingFilePath, "%s", path.c_str());
    hasPendingFile = 1;
}

void forgetPendingFile() {
    hasPendingFile = 0;
}

extern "C" void removePendingAndReraise(int signalNumber) {
    // The handler was reset to the default on entry (SA_RESETHAND): raising again ends the
    // process as the signal would have.
    const int savedErrno = errno;
    if (hasPendingFile) unlink(pendingFilePath);
    errno = savedErrno;
    raise(signalNumber);
}

void removePendingFileOnTermination() {
    struct sigaction action = {};
    action.sa_handler = removePendingAndReraise;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signalNumber, &action, nullptr);
}

// An exclusively created temporary file in the current directory; removed unless committed.
class TemporaryFile {
  public:
    TemporaryFile() : file_(std::string(temporaryPrefix) + "XXXXXX") {
        if (!file_.isOpen())
            throw Failure(exitStatus::fileFailure, systemError("cannot create a file here"));
        registerPendingFile(file_.path());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() { forgetPendingFile(); }

    int descriptor() const { return file_.descriptor(); }

    // Flushes the body to disk, gives it `mode` and moves it to `name`, replacing any file of
    // that name (a link itself, never what it points to).
    void commit(const std::string& name, mode_t mode) {
        if (!file_.finish(mode, reversi::posix::StagedFile::Durability::lasting))
            throw Failure(exitStatus::fileFailure, systemError("cannot write " + name));
        if (!file_.moveTo(name))
            throw Failure(exitStatus::fileFailure, systemError("cannot save " + name));
        forgetPendingFile();
    }

  private:
    reversi::posix::StagedFile file_;
};

// Leaves the state file behind on every run, as the scripts that run this program expect it.
// It stays empty: beyond loopback only HTTPS is spoken, so a store of hosts that asked for HTTPS
// would add nothing. Neither a link nor a FIFO of that name is opened through or waited on.
class StateFileGuard {
  public:
    StateFileGuard() = default;
    StateFileGuard(const StateFileGuard&) = delete;
    StateFileGuard& operator=(const StateFileGuard&) = delete;
    ~StateFileGuard() {
        const int fd =
            open(stateFile, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd >= 0) close(fd);
    }
};

// Removes the temporary files that killed runs of this program left in the current directory:
// its own name pattern, its user, the mode it creates them with, and older than any run lasts.
void removeLeftovers() {
    DIR* directory = opendir(".");
    if (directory == nullptr) return;
    const std::string_view prefix = temporaryPrefix;
    const auto now = std::time(nullptr);
    while (const dirent* entry = readdir(directory)) {
        const std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
        struct stat status {};
        if (fstatat(dirfd(directory), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(status.st_mode) && status.st_uid == geteuid() &&
            (status.st_mode & 07777) == 0600 && now - status.st_mtime > leftoverSeconds) {
            unlinkat(dirfd(directory), entry->d_name, 0);
        }
    }
    closedir(directory);
}

class CurlSession {
  public:
    CurlSession() {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK || !(curl_ = curl_easy_init())) {
            throw Failure(exitStatus::networkFailure, "cannot initialise libcurl");
        }
    }
    CurlSession(const CurlSession&) = delete;
    CurlSession& operator=(const CurlSession&) = delete;
    ~CurlSession() {
        if (curl_) curl_easy_cleanup(curl_);  // also writes the HSTS cache
        curl_global_cleanup();
    }
    CURL* get() const { return curl_; }

  private:
    CURL* curl_ = nullptr;
};

constexpr char usage[] =
    "usage: downloader [--max-bytes N] [--ca-file FILE] [--replace NAME [--identity DEV:INO]] URL";

// The file a program download takes the place of.
struct Replacement {
    std::string name;
    std::optional<std::pair<dev_t, ino_t>> identity;
};

struct Options {
    std::string url;
    long long maxBytes = sizeCap;
    std::string caFile;
    std::optional<Replacement> replace;
};

// "DEV:INO" as two decimal numbers.
std::optional<std::pair<dev_t, ino_t>> parseIdentity(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const auto number = [](std::string_view digits) {
        return reversi::parseDecimal(digits, std::numeric_limits<unsigned long long>::max());
    };
    const auto device = number(std::string_view(text).substr(0, colon));
    const auto inode = number(std::string_view(text).substr(colon + 1));
    if (!device || !inode) return std::nullopt;
    return std::pair{static_cast<dev_t>(*device), static_cast<ino_t>(*inode)};
}

// "--max-bytes N" lowers the size cap (the tests use it), never raises it.
Options parseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--max-bytes" && i + 1 < argc) {
            const auto maxBytes = reversi::parseDecimal(std::string_view(argv[++i]), sizeCap);
            if (!maxBytes || *maxBytes < 1) {
                throw Failure(
                    exitStatus::badArguments,
                    "--max-bytes takes a whole number from 1 to " + std::to_string(sizeCap));
            }
            options.maxBytes = *maxBytes;
        } else if (argument == "--ca-file" && i + 1 < argc) {
            options.caFile = argv[++i];
        } else if (argument == "--replace" && i + 1 < argc) {
            options.replace = Replacement{argv[++i], std::nullopt};
            const std::string& name = options.replace->name;
            if (name.empty() || name == "." || name == ".." ||
                name.find('/') != std::string::npos) {
                throw Failure(exitStatus::badArguments,
                              "--replace takes a file name in this directory");
            }
        } else if (argument == "--identity" && i + 1 < argc && options.replace) {
            options.replace->identity = parseIdentity(argv[++i]);
            if (!options.replace->identity) {
                throw Failure(exitStatus::badArguments,
                              "--identity takes DEV:INO, two whole numbers");
            }
        } else if (options.url.empty() && !argument.empty() && argument[0] != '-') {
            options.url = argument;
        } else {
            throw Failure(exitStatus::badArguments, usage);
        }
    }
    if (options.url.empty()) throw Failure(exitStatus::badArguments, usage);
    return options;
}

// The header lines of the answer to one request (of one hop of the redirects), counted against
// the header cap.
struct HeaderSink {
    Framing framing;
    long long received = 0;
    bool tooLarge = false;
};

extern "C" std::size_t receiveHeader(char* data, std::size_t size, std::size_t count,
                                     void* context) {
    auto& sink = *static_cast<HeaderSink*>(context);
    const auto bytes = static_cast<long long>(size * count);
    if (!fitsUnderCap(sink.received, bytes, headerCap)) {
        sink.tooLarge = true;
        return 0;
    }
    sink.received += bytes;
    noteHeaderLine(sink.framing, std::string_view(data, size * count));
    return size * count;
}

struct BodySink {
    CURL* curl;
    int fd;
    long long maxBytes;
    long long saved = 0;
    long long discarded = 0;
    bool tooLarge = false;
    int writeError = 0;
};

// Saves the body of a 200 answer; bodies of redirects and other answers are read and dropped.
extern "C" std::size_t receiveBody(char* data, std::size_t size, std::size_t count, void* context) {
    auto& sink = *static_cast<BodySink*>(context);
    const auto bytes = static_cast<long long>(size * count);
    long status = 0;
    curl_easy_getinfo(sink.curl, CURLINFO_RESPONSE_CODE, &status);
    const bool success = status == 200;
    long long& total = success ? sink.saved : sink.discarded;
    if (!fitsUnderCap(total, bytes, sink.maxBytes)) {
        sink.tooLarge = true;
        return 0;
    }
    total += bytes;
    if (!success) return size * count;

    if (!reversi::posix::writeAll(sink.fd, data, size * count)) {
        sink.writeError = errno;
        return 0;
    }
    return size * count;
}

std::string oneLine(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

void configure(CURL* curl, BodySink& sink, HeaderSink& header, const Options& options,
               char* errorBuffer) {
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, receiveBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, receiveHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &header);
    // Redirects are followed here, hop by hop, so each target is checked before any connection.
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, connectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, stalledSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(sink.maxBytes));
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "reversi-downloader/1");
    if (!options.caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, options.caFile.c_str());
}

// Fetches the URL, following redirects, into `sink`; returns when a 200 body is complete.
void fetch(CURL* curl, const Options& options, BodySink& sink) {
    char errorBuffer[CURL_ERROR_SIZE] = {};
    HeaderSink header;
    configure(curl, sink, header, options, errorBuffer);
    std::string url = options.url;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(totalTimeoutSeconds);
    std::string redirectedFrom;

    for (int redirects = 0;; ++redirects) {
        if (const auto reason = refusalReason(url, redirectedFrom)) {
            throw Failure(exitStatus::refused, *reason);
        }
        const auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (remaining.count() <= 0) throw Failure(exitStatus::networkFailure, "timed out");

        const auto parts = splitUrl(url);
        const bool loopback = isLoopbackHost(parts->host);
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, loopback ? "http,https" : "https");
        // A proxy would carry a loopback request off this machine.
        curl_easy_setopt(curl, CURLOPT_NOPROXY, loopback ? "*" : nullptr);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(remaining.count()));
        errorBuffer[0] = '\0';
        sink.discarded = 0;
        header.received = 0;

        const CURLcode result = curl_easy_perform(curl);
        if (sink.writeError != 0) {
            errno = sink.writeError;
            throw Failure(exitStatus::fileFailure, systemError("cannot write the download"));
        }
        if (sink.tooLarge || result == CURLE_FILESIZE_EXCEEDED) {
            throw Failure(exitStatus::tooLarge,
                          "the body is larger than " + std::to_string(sink.maxBytes) + " bytes");
        }
        // libcurl keeps a header line in a buffer of bounded size and gives up with "out of
        // memory" when a server sends a longer one: the answer is too large, not this machine.
        // The header as a whole stops at the cap here, before libcurl's own limit.
        if (header.tooLarge || result == CURLE_OUT_OF_MEMORY) {
            const std::string limit = std::to_string(headerCap);
            throw Failure(exitStatus::tooLarge,
                          "the server's answer is too large: its header is longer than " + limit +
                              " bytes, or one of its lines longer than libcurl accepts");
        }
        if (result != CURLE_OK) {
            throw Failure(exitStatus::networkFailure,
                          errorBuffer[0] ? errorBuffer : curl_easy_strerror(result));
        }

        long status = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        char* location = nullptr;
        curl_easy_getinfo(curl, CURLINFO_REDIRECT_URL, &location);
        const AnswerKind kind = answerKind(status, location != nullptr);
        if (kind == AnswerKind::body) {
            long version = 0;
            curl_easy_getinfo(curl, CURLINFO_HTTP_VERSION, &version);
            if (header.framing.lengthsConflict) {
                throw Failure(exitStatus::networkFailure,
                              "the server stated two different lengths of the body, so it may "
                              "be cut off");
            }
            if (!bodyIsDelimited(header.framing, version)) {
                throw Failure(exitStatus::networkFailure,
                              "the server did not state the length of the body, so it may be cut "
                              "off");
            }
            return;
        }
        if (kind == AnswerKind::serverError) {
            throw Failure(exitStatus::serverError,
                          "the server answered HTTP " + std::to_string(status));
        }
        if (redirects == maxRedirects) {
            throw Failure(exitStatus::networkFailure,
                          "more than " + std::to_string(maxRedirects) + " redirects");
        }
        redirectedFrom = url;
        url = location;
    }
}

// The file a program download replaces, checked just before the rename: a regular file, and the
// expected one. Returns the permission bits the new file takes over.
mode_t replacedMode(const Replacement& replace) {
    struct stat status {};
    if (fstatat(AT_FDCWD, replace.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        throw Failure(exitStatus::refused,
                      systemError("cannot find " + replace.name + " to replace"));
    }
    if (!S_ISREG(status.st_mode)) {
        throw Failure(exitStatus::refused,
                      replace.name + " is not a regular file; it is left as it is");
    }
    if (replace.identity && *replace.identity != std::pair{status.st_dev, status.st_ino}) {
        throw Failure(exitStatus::refused, replace.name + " is no longer the file to replace");
    }
    return status.st_mode & 0777;
}

int run(int argc, char** argv) {
    const Options options = parseArguments(argc, argv);
    const auto name = outputFileName(options.url);
    if (!name) throw Failure(exitStatus::refused, "no safe file name at the end of " + options.url);
    if (const auto reason = refusalReason(options.url)) throw Failure(exitStatus::refused, *reason);

    removePendingFileOnTermination();
    removeLeftovers();
    const StateFileGuard stateFile;
    const CurlSession session;
    TemporaryFile temporary;
    BodySink sink{session.get(), temporary.descriptor(), options.maxBytes};
    fetch(session.get(), options, sink);
    if (!options.replace) {
        temporary.commit(*name, reversi::posix::narrowedByUmask(0666));
        return exitStatus::saved;
    }
    if (const auto reason = whyNotAProgram(temporary.descriptor())) {
        throw Failure(exitStatus::notAProgram,
                      "the download is not a program for this machine: " + *reason);
    }
    temporary.commit(options.replace->name, replacedMode(*options.replace));
    return exitStatus::saved;
}

}  // namespace
}  // namespace downloader

int main(int argc, char** argv) {
    try {
        return downloader::run(argc, argv);
    } catch (const downloader::Failure& failure) {
        std::fprintf(stderr, "downloader: %s\n", downloader::oneLine(failure.what()).c_str());
        return failure.status;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "downloader: %s\n", downloader::oneLine(error.what()).c_str());
        return downloader::exitStatus::networkFailure;
    }
}
