#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace downloader {

// How the last answer's body is delimited: by a stated length or in chunks, or else only by the
// connection closing, which a cut-off transfer looks like too.
struct Framing {
    bool lengthStated = false;
    bool chunked = false;
    std::optional<std::string> length;  // the first length stated, as written
    // Two different lengths were stated (in two Content-Length lines, or in one as a list): the
    // body's end cannot be told, and libcurl would go by the last one.
    bool lengthsConflict = false;
};

// Takes one header line of an answer, as received (line end included), into `framing`. A status
// line starts a new answer, so the headers of a redirect do not count for the answer after it.
void noteHeaderLine(Framing& framing, std::string_view line);

// Whether a 200 answer's body ended where the server said it would. HTTP/2 and later delimit
// every body themselves; over HTTP/1 it needs a stated length or chunks. `httpVersion` is
// libcurl's CURL_HTTP_VERSION_* value of the answer.
bool bodyIsDelimited(const Framing& framing, long httpVersion);

// What the downloader does with a finished answer.
enum class AnswerKind {
    body,         // 200: the body is the download
    redirect,     // 3xx with a location to follow
    serverError,  // anything else: a 206 answers a range never asked for, other 2xx carry no file
};
AnswerKind answerKind(long status, bool hasLocation);

// Whether `bytes` more bytes of a body fit under `cap` when `received` already arrived. Counts
// that cannot be true (negative) never fit.
bool fitsUnderCap(long long received, long long bytes, long long cap);

}  // namespace downloader
