#pragma once

#include <QFont>
#include <QString>

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
    // Unregisters each font whose file exists and deletes the file.
    void remove();

    // The families the windows use; the system's when a font could not be installed.
    QString decorativeFamily() const;
    QString codeFamily() const;

    // A font of a family at a pixel height.
    static QFont font(const QString& family, int pixels, bool bold = false);

  private:
    struct Installed {
        int id = -1;
        QString family;
    };
    static Installed install(const char* type, const char* name, const char* file);
    static void remove(Installed& font, const char* file);

    Installed decorative_;
    Installed code_;
};

}  // namespace reversi
