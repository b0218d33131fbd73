#pragma once

#include <optional>
#include <string>

namespace downloader {

// The parts of an absolute URL that the download rules look at.
struct UrlParts {
    std::string scheme;  // lower case
    std::string host;    // as written, IPv6 literals with their brackets
    std::string path;    // still percent-encoded
};

// Splits an absolute http or https URL; nullopt when it is malformed or uses another scheme.
std::optional<UrlParts> splitUrl(const std::string& url);

// True for "localhost", 127.0.0.0/8 and ::1.
bool isLoopbackHost(const std::string& host);

// True for names in the reserved .invalid domain, which never resolve: they are refused
// without a lookup, so an unconfigured update channel sends nothing anywhere.
bool isReservedInvalidHost(const std::string& host);

// Why fetching `url` is refused, or nullopt when it may be fetched. Plain HTTP is allowed only to
// a loopback host; `redirectedFrom` names the URL that answered with a redirect, and a redirect
// may leave HTTPS only between loopback hosts, so no remote server can steer the download to
// plain HTTP.
std::optional<std::string> refusalReason(const std::string& url,
                                         const std::string& redirectedFrom = {});

// The name under which the body of `url` is saved: the last segment of its path, decoded.
// nullopt when that segment is empty, "." or "..", hidden (leading dot), or holds a slash, a
// backslash or a control character.
std::optional<std::string> outputFileName(const std::string& url);

}  // namespace downloader
