#pragma once

#include <array>
#include <cstddef>

// Types and names of the resources carried inside the executable. Each type is one prefix of
// the Qt resource system, so a resource lives at ":/<type>/<name>"; the program's lookup
// compares both parts ignoring letter case.
namespace reversi::resources {

namespace ResourceType {
inline constexpr char rawData[] = "RCDATA";      // the theme previews and intro frames
inline constexpr char decorativeFont[] = "5db";  // written to "5.db" at start-up
inline constexpr char sourceCodeFont[] = "6db";  // written to "6.db" at start-up
inline constexpr char icon[] = "ICON";
}  // namespace ResourceType

namespace ResourceName {
inline constexpr char decorativeFont[] = "DECORATIVE";
inline constexpr char sourceCodeFont[] = "SourceCodePro";
// The family the code font reports once registered.
inline constexpr char sourceCodeFamily[] = "Source Code Pro";
inline constexpr char mainIcon[] = "MAINICON";

// Raw-data images: 1 to 3 are the theme previews (theme n shows "IMAGE<n>"), the others the
// intro frames in the order they are shown. The build embeds the images named here, each from
// images/<name>.png.
inline constexpr std::array images = {
    "IMAGE1", "IMAGE2", "IMAGE3",  "IMAGE4",  "IMAGE5",  "IMAGE6",  "IMAGE7",
    "IMAGE8", "IMAGE9", "IMAGE10", "IMAGE11", "IMAGE12", "IMAGE13", "IMAGE14",
};
inline constexpr int firstPreview = 1;
inline constexpr int lastPreview = 3;
inline constexpr int firstIntroFrame = 4;
inline constexpr int lastIntroFrame = static_cast<int>(images.size());

// The name of image `number` (1 to lastIntroFrame).
constexpr const char* image(int number) {
    return images.at(static_cast<std::size_t>(number - 1));
}
}  // namespace ResourceName

// Pixel sizes of the images.
inline constexpr int previewSize = 81;
inline constexpr int introFrameWidth = 870;
inline constexpr int introFrameHeight = 640;
inline constexpr int iconSize = 32;

}  // namespace reversi::resources
