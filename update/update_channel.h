#pragma once

#include <QString>

namespace reversi {

// Where the published version number and the new executables live.
struct UpdateChannel {
    // The file holding the latest version number; its path ends in "/master/version.txt".
    QString versionFileUrl;
    // A repository URL followed by "/raw/", a 40-hex-digit commit id and "/"; the executable of
    // version V is this base followed by "V.exe".
    QString downloadBaseUrl;

    // The channel compiled in from the CMake cache variables REVERSI_UPDATE_VERSION_URL and
    // REVERSI_UPDATE_DOWNLOAD_BASE.
    static UpdateChannel builtIn();

    // Both URLs are set and fit on one script line (no control characters).
    bool isUsable() const;
};

}  // namespace reversi
