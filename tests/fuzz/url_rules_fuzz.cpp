// The downloader's URL rules, fed what the update scripts pass on the command line and what a
// server sends in a Location header. The input is a URL, optionally followed by a line end and
// the URL that redirected to it. Whatever the rules accept must keep their promises: HTTPS, or
// plain HTTP between loopback hosts only; never a host in .invalid; a saved file's name that
// stays in the working directory and is not hidden.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "url_rules.h"

using namespace downloader;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = reversi::fuzz::asText(data, size);
    const auto lineEnd = input.find('\n');
    const std::string url(input.substr(0, lineEnd));
    const std::string from(lineEnd == std::string_view::npos ? std::string_view{}
                                                             : input.substr(lineEnd + 1));

    // The host checks also see the raw text, as a host name never parsed from a URL.
    isLoopbackHost(url);
    isReservedInvalidHost(url);

    const auto parts = splitUrl(url);
    if (parts && parts->scheme != "http" && parts->scheme != "https") std::abort();

    if (!refusalReason(url, from)) {
        if (!parts || isReservedInvalidHost(parts->host)) std::abort();
        if (parts->scheme == "http") {
            if (!isLoopbackHost(parts->host)) std::abort();
            if (!from.empty()) {
                const auto previous = splitUrl(from);
                if (!previous || previous->scheme != "http" || !isLoopbackHost(previous->host)) {
                    std::abort();
                }
            }
        }
    }
    // A first request has no redirect behind it; a redirect cannot make a URL acceptable.
    if (!refusalReason(url, from) && refusalReason(url)) std::abort();

    if (const auto name = outputFileName(url)) {
        if (!parts || name->empty() || name->front() == '.') std::abort();
        for (const unsigned char c : *name) {
            if (c == '/' || c == '\\' || c < 0x20 || c == 0x7f) std::abort();
        }
    }
    return 0;
}
