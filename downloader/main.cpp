// downloader [--max-bytes N] URL
//
// Fetches URL and saves the body in the current directory under the last segment of the URL's
// path. The body goes to an exclusively created temporary file beside it, which is renamed into
// place only after a complete 2xx response, so a failed run leaves nothing behind but the state
// file ".wget-hsts" (the hosts that asked for HTTPS only).
//
// Exit status: 0 saved; 1 bad arguments; 2 URL or redirect refused; 3 local file failure;
// 4 network or TLS failure, time-out, or an incomplete body; 5 the server answered with an error
// status; 6 the body is larger than the size cap. Every failure prints one line on stderr.

#include <curl/curl.h>
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
#include <stdexcept>
#include <string>

#include "url_rules.h"

namespace downloader {
namespace {

constexpr long long kSizeCap = 64LL * 1024 * 1024;
constexpr int kMaxRedirects = 5;
constexpr long kConnectTimeoutSeconds = 30;
constexpr long kTotalTimeoutSeconds = 600;
// Without progress for this long the peer is taken as gone, well before the total time-out.
constexpr long kStalledSeconds = 60;
constexpr char kStateFile[] = ".wget-hsts";

enum ExitStatus : int {
    kSaved = 0,
    kBadArguments = 1,
    kRefused = 2,
    kFileFailure = 3,
    kNetworkFailure = 4,
    kServerError = 5,
    kTooLarge = 6,
};

class Failure : public std::runtime_error {
  public:
    Failure(ExitStatus status, const std::string& message)
        : std::runtime_error(message), status(status) {}
    ExitStatus status;
};

std::string systemError(const std::string& step) {
    return step + ": " + std::strerror(errno);
}

// The temporary file being written, for removal from a signal handler. Only written before the
// handlers can see it as set, and read by the handlers.
char pendingTemporaryPath[PATH_MAX];
volatile std::sig_atomic_t hasPendingTemporary = 0;

extern "C" void removePendingAndReraise(int signalNumber) {
    if (hasPendingTemporary) unlink(pendingTemporaryPath);
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// An exclusively created temporary file in the current directory; removed unless committed.
class TemporaryFile {
  public:
    TemporaryFile() {
        std::snprintf(pendingTemporaryPath, sizeof pendingTemporaryPath, ".download-XXXXXX");
        fd_ = mkstemp(pendingTemporaryPath);
        if (fd_ < 0) throw Failure(kFileFailure, systemError("cannot create a file here"));
        path_ = pendingTemporaryPath;
        hasPendingTemporary = 1;
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (fd_ >= 0) close(fd_);
        if (!path_.empty()) {
            hasPendingTemporary = 0;
            unlink(path_.c_str());
        }
    }

    int descriptor() const { return fd_; }

    // Flushes the body to disk, gives it the usual permissions of a new file and moves it to
    // `name`, replacing any file of that name.
    void commit(const std::string& name) {
        const mode_t mask = umask(0);
        umask(mask);
        if (fchmod(fd_, 0666 & ~mask) != 0 || fsync(fd_) != 0) {
            throw Failure(kFileFailure, systemError("cannot write " + name));
        }
        const int fd = fd_;
        fd_ = -1;
        if (close(fd) != 0) throw Failure(kFileFailure, systemError("cannot write " + name));
        if (std::rename(path_.c_str(), name.c_str()) != 0) {
            throw Failure(kFileFailure, systemError("cannot save " + name));
        }
        hasPendingTemporary = 0;
        path_.clear();
    }

  private:
    int fd_ = -1;
    std::string path_;
};

// Leaves the state file behind on every run, as the scripts that run this program expect it;
// libcurl itself writes it only when it has something to store.
class StateFileGuard {
  public:
    StateFileGuard() = default;
    StateFileGuard(const StateFileGuard&) = delete;
    StateFileGuard& operator=(const StateFileGuard&) = delete;
    ~StateFileGuard() {
        const int fd = open(kStateFile, O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) close(fd);
    }
};

class CurlSession {
  public:
    CurlSession() {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK || !(curl_ = curl_easy_init())) {
            throw Failure(kNetworkFailure, "cannot initialise libcurl");
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

constexpr char kUsage[] = "usage: downloader [--max-bytes N] URL";

struct Options {
    std::string url;
    long long maxBytes = kSizeCap;
};

// "--max-bytes N" lowers the size cap (the tests use it), never raises it.
Options parseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--max-bytes" && i + 1 < argc) {
            const char* text = argv[++i];
            errno = 0;
            char* end = nullptr;
            options.maxBytes = std::strtoll(text, &end, 10);
            if (errno != 0 || end == text || *end != '\0' || options.maxBytes < 1 ||
                options.maxBytes > kSizeCap) {
                throw Failure(kBadArguments, "--max-bytes takes a whole number from 1 to " +
                                                 std::to_string(kSizeCap));
            }
        } else if (options.url.empty() && !argument.empty() && argument[0] != '-') {
            options.url = argument;
        } else {
            throw Failure(kBadArguments, kUsage);
        }
    }
    if (options.url.empty()) throw Failure(kBadArguments, kUsage);
    return options;
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

// Saves the body of a 2xx response; bodies of redirects and error pages are read and dropped.
extern "C" std::size_t receiveBody(char* data, std::size_t size, std::size_t count, void* context) {
    auto& sink = *static_cast<BodySink*>(context);
    const auto bytes = static_cast<long long>(size * count);
    long status = 0;
    curl_easy_getinfo(sink.curl, CURLINFO_RESPONSE_CODE, &status);
    const bool success = status >= 200 && status <= 299;
    long long& total = success ? sink.saved : sink.discarded;
    if (total + bytes > sink.maxBytes) {
        sink.tooLarge = true;
        return 0;
    }
    total += bytes;
    if (!success) return size * count;

    for (std::size_t done = 0; done < size * count;) {
        const ssize_t written = write(sink.fd, data + done, size * count - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            sink.writeError = errno;
            return 0;
        }
        done += static_cast<std::size_t>(written);
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

void configure(CURL* curl, BodySink& sink, char* errorBuffer) {
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, receiveBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    // Redirects are followed here, hop by hop, so each target is checked before any connection.
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStalledSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(sink.maxBytes));
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "reversi-downloader/1");
    curl_easy_setopt(curl, CURLOPT_HSTS_CTRL, static_cast<long>(CURLHSTS_ENABLE));
    curl_easy_setopt(curl, CURLOPT_HSTS, kStateFile);
}

// Fetches `url`, following redirects, into `sink`; returns when a 2xx body is complete.
void fetch(CURL* curl, std::string url, BodySink& sink) {
    char errorBuffer[CURL_ERROR_SIZE] = {};
    configure(curl, sink, errorBuffer);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(kTotalTimeoutSeconds);
    std::string redirectedFrom;

    for (int redirects = 0;; ++redirects) {
        if (const auto reason = refusalReason(url, redirectedFrom)) {
            throw Failure(kRefused, *reason);
        }
        const auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (remaining.count() <= 0) throw Failure(kNetworkFailure, "timed out");

        const auto parts = splitUrl(url);
        const bool loopback = isLoopbackHost(parts->host);
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, loopback ? "http,https" : "https");
        // A proxy would carry a loopback request off this machine.
        curl_easy_setopt(curl, CURLOPT_NOPROXY, loopback ? "*" : nullptr);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(remaining.count()));
        errorBuffer[0] = '\0';
        sink.discarded = 0;

        const CURLcode result = curl_easy_perform(curl);
        if (sink.writeError != 0) {
            errno = sink.writeError;
            throw Failure(kFileFailure, systemError("cannot write the download"));
        }
        if (sink.tooLarge || result == CURLE_FILESIZE_EXCEEDED) {
            throw Failure(kTooLarge,
                          "the body is larger than " + std::to_string(sink.maxBytes) + " bytes");
        }
        if (result != CURLE_OK) {
            throw Failure(kNetworkFailure,
                          errorBuffer[0] ? errorBuffer : curl_easy_strerror(result));
        }

        long status = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        if (status >= 200 && status <= 299) return;
        char* location = nullptr;
        curl_easy_getinfo(curl, CURLINFO_REDIRECT_URL, &location);
        if (status < 300 || status > 399 || location == nullptr) {
            throw Failure(kServerError, "the server answered HTTP " + std::to_string(status));
        }
        if (redirects == kMaxRedirects) {
            throw Failure(kNetworkFailure,
                          "more than " + std::to_string(kMaxRedirects) + " redirects");
        }
        redirectedFrom = url;
        url = location;
    }
}

int run(int argc, char** argv) {
    const Options options = parseArguments(argc, argv);
    const auto name = outputFileName(options.url);
    if (!name) throw Failure(kRefused, "no safe file name at the end of " + options.url);
    if (const auto reason = refusalReason(options.url)) throw Failure(kRefused, *reason);

    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        std::signal(signalNumber, removePendingAndReraise);
    }
    const StateFileGuard stateFile;
    const CurlSession session;
    TemporaryFile temporary;
    BodySink sink{session.get(), temporary.descriptor(), options.maxBytes};
    fetch(session.get(), options.url, sink);
    temporary.commit(*name);
    return kSaved;
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
        return downloader::kNetworkFailure;
    }
}
