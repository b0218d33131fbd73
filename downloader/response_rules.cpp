#include "response_rules.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace downloader {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Each length of a Content-Length line (a comma-separated list of them) against the first one.
void noteLengths(Framing& framing, std::string_view values) {
    for (std::size_t start = 0; start <= values.size();) {
        const auto comma = std::min(values.find(',', start), values.size());
        const std::string_view value = trimmed(values.substr(start, comma - start));
        if (!framing.length) {
            framing.length = std::string(value);
        } else if (*framing.length != value) {
            framing.lengthsConflict = true;
        }
        start = comma + 1;
    }
}

}  // namespace

void noteHeaderLine(Framing& framing, std::string_view line) {
    std::string lower(line);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.starts_with("http/")) {
        framing = {};  // the status line of a new answer
    } else if (lower.starts_with("content-length:")) {
        framing.lengthStated = true;
        noteLengths(framing, line.substr(std::string_view("content-length:").size()));
    } else if (lower.starts_with("transfer-encoding:") &&
               lower.find("chunked") != std::string::npos) {
        framing.chunked = true;
    }
}

bool bodyIsDelimited(const Framing& framing, long httpVersion) {
    return httpVersion >= CURL_HTTP_VERSION_2_0 || framing.lengthStated || framing.chunked;
}

AnswerKind answerKind(long status, bool hasLocation) {
    if (status == 200) return AnswerKind::body;
    if (status >= 300 && status <= 399 && hasLocation) return AnswerKind::redirect;
    return AnswerKind::serverError;
}

bool fitsUnderCap(long long received, long long bytes, long long cap) {
    if (received < 0 || bytes < 0) return false;
    return received <= cap && bytes <= cap - received;
}

}  // namespace downloader
