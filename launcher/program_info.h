#pragma once

// What the program says about itself; the values come from the build (CMakeLists.txt).
namespace reversi::program {
inline constexpr char name[] = REVERSI_PRODUCT_NAME;
inline constexpr char version[] = REVERSI_FILE_VERSION;
inline constexpr char productVersion[] = REVERSI_PRODUCT_VERSION;
inline constexpr char description[] = REVERSI_DESCRIPTION;
// The application id: the name of the desktop entry, which the desktop matches windows with.
inline constexpr char applicationId[] = REVERSI_APP_ID;

// The version record, kept in the executable where file tools can read it.
inline constexpr char versionRecord[] =
    "ProductName=" REVERSI_PRODUCT_NAME "\nProductVersion=" REVERSI_PRODUCT_VERSION
    "\nFileVersion=" REVERSI_FILE_VERSION "\nFileDescription=" REVERSI_DESCRIPTION "\n";
}  // namespace reversi::program
