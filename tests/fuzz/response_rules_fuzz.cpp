// The downloader's checks of a server's answer: its header lines (which tell how the body is
// delimited), its status, and the running count of body bytes against the size cap. The input
// is read as three 8-byte counts for the cap check, a status code, an HTTP version selector,
// then header lines. A body is taken as whole only when the last answer's own headers delimit
// it, and the cap is never passed, whatever the counts.

#include <curl/curl.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "response_rules.h"

using namespace downloader;

namespace {

template <class T>
T take(std::string_view& input) {
    T value{};
    const std::size_t n = std::min(sizeof value, input.size());
    std::memcpy(&value, input.data(), n);
    input.remove_prefix(n);
    return value;
}

bool startsWithLowered(std::string_view line, std::string_view prefix) {
    if (line.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = line[i] >= 'A' && line[i] <= 'Z' ? static_cast<char>(line[i] + 32) : line[i];
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = reversi::fuzz::asText(data, size);

    const auto received = take<long long>(input);
    const auto bytes = take<long long>(input);
    const auto cap = take<long long>(input);
    const __int128 total = static_cast<__int128>(received) + bytes;
    const bool fits = received >= 0 && bytes >= 0 && total <= cap;
    if (fitsUnderCap(received, bytes, cap) != fits) std::abort();

    const long status = take<std::uint16_t>(input);
    const bool hasLocation = take<std::uint8_t>(input) & 1;
    const AnswerKind kind = answerKind(status, hasLocation);
    if ((kind == AnswerKind::body) != (status == 200)) std::abort();
    if (kind == AnswerKind::redirect && (status < 300 || status > 399 || !hasLocation)) {
        std::abort();
    }

    static constexpr long versions[] = {CURL_HTTP_VERSION_1_0, CURL_HTTP_VERSION_1_1,
                                        CURL_HTTP_VERSION_2_0, CURL_HTTP_VERSION_3};
    const long version = versions[take<std::uint8_t>(input) % std::size(versions)];

    // Header lines as libcurl hands them over, each with its line end.
    Framing framing;
    bool lengthStated = false;
    bool chunked = false;
    while (!input.empty()) {
        const auto end = input.find('\n');
        const std::string_view line =
            end == std::string_view::npos ? input : input.substr(0, end + 1);
        input.remove_prefix(line.size());
        noteHeaderLine(framing, line);
        if (startsWithLowered(line, "http/")) {
            lengthStated = chunked = false;
        } else if (startsWithLowered(line, "content-length:")) {
            lengthStated = true;
        } else if (startsWithLowered(line, "transfer-encoding:")) {
            std::string lowered(line);
            for (char& c : lowered)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
            chunked = chunked || lowered.find("chunked") != std::string::npos;
        }
        if (framing.lengthStated != lengthStated || framing.chunked != chunked) std::abort();
    }
    const bool delimited = version >= CURL_HTTP_VERSION_2_0 || lengthStated || chunked;
    if (bodyIsDelimited(framing, version) != delimited) std::abort();
    return 0;
}
