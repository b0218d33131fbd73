#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>
#include <optional>

namespace reversi {

// The program's own files live in its working directory beside whatever else the user keeps
// there. Every file step here takes a name as the file it names itself: a link is never
// followed, a special file (a FIFO, a device) is never opened, so nothing blocks and nothing is
// written anywhere but in the name's own place, and the running program's file is never
// overwritten or deleted, whatever it is called.

// Which file a name stands for: its device and inode.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the regular file `name` itself; nullopt when there is none (missing, a link,
// a directory, a special file).
std::optional<FileIdentity> regularFileIdentity(const QString& name);

// Where the running program's file is: `/proc/self/exe` unless a test says otherwise.
inline constexpr const char* runningProgramLink = "/proc/self/exe";

// The running program's file when it lies in the current directory: the name it has there now
// (however it was renamed since it started) and its identity. nullopt for a copy that runs from
// another folder, or whose file was deleted or replaced. `program` is a path to the program's
// file or a link to it.
struct ProgramFile {
    QString name;
    FileIdentity identity;
};
std::optional<ProgramFile> runningProgramHere(const QString& program = runningProgramLink);

// Whether `name` is the running program's file (under this or any other of its names).
bool isRunningProgram(const QString& name, const QString& program = runningProgramLink);

// Opens the regular file `name` for reading into `file`; throws FileError when it is missing,
// unreadable, a link or a special file.
void openRegularFile(const QString& name, QFile& file);

// The permissions of the files the program writes: the owner may read and write them, everyone
// else read them. A program among them may also be run by all.
inline constexpr QFileDevice::Permissions defaultFilePermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
    QFileDevice::ReadOther;
inline constexpr QFileDevice::Permissions programFilePermissions =
    defaultFilePermissions | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;

// Writes `bytes` to `name`: into a new file beside it, renamed into place once complete. A link
// of that name is replaced, never written through; a directory, a special file or the running
// program of that name is refused. The owner's permissions are the given ones whatever the
// umask; the group's and others' are narrowed by it. Throws FileError, leaving no new file behind
// and any older file of that name as it was. Returns the identity of the file written.
FileIdentity writeFile(const QString& name, const QByteArray& bytes,
                       QFileDevice::Permissions permissions = defaultFilePermissions);

// Deletes `name` (a link itself, not what it points to) unless it is the running program; a
// missing file or a failure is ignored.
void removeFile(const QString& name, const QString& program = runningProgramLink);

// Deletes `name` only while it is still the file `identity`, one this run wrote.
void removeFileIfSame(const QString& name, FileIdentity identity);

// Whether a file under one of the program's names is somebody else's, which the program must
// neither replace nor delete: it is there and is no regular file (a link, a folder, a FIFO), or
// is larger than `largest` bytes, or `isProgramsOwn` says its bytes are not what the program
// writes under that name. A missing file is nobody's.
bool isOthersFile(const QString& name, qint64 largest,
                  const std::function<bool(const QByteArray&)>& isProgramsOwn);
// Says on standard error, once a name, that the program leaves a file of its name alone.
void reportLeftAlone(const QString& name);

}  // namespace reversi
