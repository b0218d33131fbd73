#include "response_rules.h"

#include <curl/curl.h>

#include <cctype>
#include <string>

namespace downloader {

void noteHeaderLine(Framing& framing, std::string_view line) {
    std::string lower(line);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.starts_with("http/")) {
        framing = {};  // the status line of a new answer
    } else if (lower.starts_with("content-length:")) {
        framing.lengthStated = true;
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
