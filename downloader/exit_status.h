#pragma once

// What the downloader's exit status says; the update scripts only tell 0 from the rest, the
// tests every value.
namespace downloader::exitStatus {
enum : int {
    saved = 0,
    badArguments = 1,
    refused = 2,
    fileFailure = 3,
    networkFailure = 4,
    serverError = 5,
    tooLarge = 6,
    notAProgram = 7,
};
}  // namespace downloader::exitStatus
