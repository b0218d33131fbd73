#include "url_rules.h"

#include <cctype>
#include <string_view>

#include <arpa/inet.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <strings.h>

#include <algorithm>
#include <memory>

namespace downloader {
namespace {

struct UrlHandleDeleter {
    void operator()(CURLU* handle) const { curl_url_cleanup(handle); }
};

std::optional<std::string> urlPart(CURLU* handle, CURLUPart part) {
    char* value = nullptr;
    if (curl_url_get(handle, part, &value, 0) != CURLUE_OK) return std::nullopt;
    std::string text(value);
    curl_free(value);
    return text;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    return text;
}

}  // namespace

std::optional<UrlParts> splitUrl(const std::string& url) {
    std::unique_ptr<CURLU, UrlHandleDeleter> handle(curl_url());
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) {
        return std::nullopt;
    }
    auto scheme = urlPart(handle.get(), CURLUPART_SCHEME);
    auto host = urlPart(handle.get(), CURLUPART_HOST);
    auto path = urlPart(handle.get(), CURLUPART_PATH);
    if (!scheme || !host || !path) return std::nullopt;
    UrlParts parts{lowerCase(*scheme), *host, *path};
    if (parts.scheme != "http" && parts.scheme != "https") return std::nullopt;
    return parts;
}

bool isLoopbackHost(const std::string& host) {
    if (strcasecmp(host.c_str(), "localhost") == 0) return true;
    in_addr v4{};
    if (inet_pton(AF_INET, host.c_str(), &v4) == 1) {
        return (ntohl(v4.s_addr) >> 24) == 127;
    }
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        const std::string literal = host.substr(1, host.size() - 2);
        in6_addr v6{};
        return inet_pton(AF_INET6, literal.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
    }
    return false;
}

bool isReservedInvalidHost(const std::string& host) {
    std::string name;
    for (const char c : host)
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!name.empty() && name.back() == '.')
        name.pop_back();
    constexpr std::string_view suffix = ".invalid";
    return name == "invalid" ||
           (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0);
}

std::optional<std::string> refusalReason(const std::string& url,
                                         const std::string& redirectedFrom) {
    const auto parts = splitUrl(url);
    if (!parts) return "not an http or https URL: " + url;
    if (isReservedInvalidHost(parts->host)) return "the .invalid domain never resolves: " + url;
    if (parts->scheme == "https") return std::nullopt;
    if (!isLoopbackHost(parts->host)) return "plain HTTP is allowed only to loopback: " + url;
    if (!redirectedFrom.empty()) {
        const auto from = splitUrl(redirectedFrom);
        if (!from || from->scheme != "http" || !isLoopbackHost(from->host)) {
            return "refusing a redirect from HTTPS to plain HTTP: " + url;
        }
    }
    return std::nullopt;
}

std::optional<std::string> outputFileName(const std::string& url) {
    const auto parts = splitUrl(url);
    if (!parts) return std::nullopt;
    const std::string& path = parts->path;
    const std::string encoded = path.substr(path.find_last_of('/') + 1);
    int length = 0;
    char* decoded =
        curl_easy_unescape(nullptr, encoded.c_str(), static_cast<int>(encoded.size()), &length);
    if (decoded == nullptr) return std::nullopt;
    std::string name(decoded, static_cast<std::size_t>(length));
    curl_free(decoded);

    // A leading dot also covers "." and ".."; hidden names could overwrite a shell's or this
    // program's own dot files.
    if (name.empty() || name.front() == '.') return std::nullopt;
    for (unsigned char c : name) {
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7f) return std::nullopt;
    }
    return name;
}

}  // namespace downloader
