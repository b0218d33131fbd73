#pragma once

#include <QFont>
#include <QString>
#include <optional>

#include "files.h"

namespace reversi {

// The two fonts the program carries: written beside the program at start-up, registered for
// the run, and removed with their files at exit.
class ProgramFonts {
  public:
    static constexpr const char* decorativeFile = "5.db";
    static constexpr const char* codeFile = "6.db";

    // Writes and registers one font; throws FileError when the file cannot be written.
    void installDecorative();
    void installCode();
    // Unregisters each font this run installed and deletes its file, unless that file was
    // replaced by another meanwhile.
    void remove();

    // The families the windows use; the system's when a font could not be installed.
    QString decorativeFamily() const;
    QString codeFamily() const;

    // A font of a family at a pixel height.
    static QFont font(const QString& family, int pixels, bool bold = false);

  private:
    struct Installed {
        std::optional<FileIdentity> file;  // the file written this run
        int id = -1;
        QString family;
    };
    static Installed install(const char* type, const char* name, const char* file);
    static void remove(Installed& font, const char* file);

    Installed decorative_;
    Installed code_;
};

}  // namespace reversi
