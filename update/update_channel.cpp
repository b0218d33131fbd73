#include "update_channel.h"

#include <algorithm>

#include "update_channel_defaults.h"

namespace reversi {
namespace {

bool isOneLine(const QString& text) {
    return std::none_of(text.begin(), text.end(),
                        [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

}  // namespace

UpdateChannel UpdateChannel::builtIn() {
    return {QStringLiteral(REVERSI_UPDATE_VERSION_URL),
            QStringLiteral(REVERSI_UPDATE_DOWNLOAD_BASE)};
}

bool UpdateChannel::isUsable() const {
    return !versionFileUrl.isEmpty() && !downloadBaseUrl.isEmpty() && isOneLine(versionFileUrl) &&
           isOneLine(downloadBaseUrl);
}

}  // namespace reversi
