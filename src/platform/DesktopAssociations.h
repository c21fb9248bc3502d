#pragma once

#include <string>
#include <vector>

// The file associations of a Linux desktop, read from the desktop's own files: an extension's
// MIME type from the MIME database's glob files, the type's default application from the
// "mimeapps.list" files, and that application's command from its desktop entry. The command
// is given in the registered command-line form of the desktop platform interface, so the
// program's rules for cutting a registered command apply to it unchanged.

// The folders of the desktop's base-directory scheme that the lookup reads.
struct XdgFolders {
  std::string configHome;               // $XDG_CONFIG_HOME, else $HOME/.config
  std::vector<std::string> configDirs;  // $XDG_CONFIG_DIRS, else /etc/xdg
  std::string dataHome;                 // $XDG_DATA_HOME, else $HOME/.local/share
  std::vector<std::string> dataDirs;    // $XDG_DATA_DIRS, else /usr/local/share:/usr/share
  std::string searchPath;               // $PATH: where a program named without a folder is

  static XdgFolders FromEnvironment();
};

// The MIME type of an extension (".rtf"): the heaviest glob "*.rtf" of the glob files
// ("mime/globs2", else "mime/globs") of the data folders, the user's first; a glob matches
// regardless of case unless it is marked case-sensitive. Empty when no glob matches.
std::string XdgMimeTypeOfExtension(const XdgFolders& folders, const std::string& extension);

// The desktop entry file of the default application of a MIME type: the first installed
// entry that a "[Default Applications]" group names (the "mimeapps.list" files of the config
// folders, then of the data folders' "applications", then "defaults.list"), else of an
// "[Added Associations]" group, else of the "mimeinfo.cache" files. Empty when none.
std::string XdgDefaultApplicationEntry(const XdgFolders& folders, const std::string& mimeType);

// The "Exec" value of a desktop entry file's "[Desktop Entry]" group, its string escapes
// ("\s", "\t", "\n", "\r", "\\") resolved. Empty when there is none or the file cannot be read.
std::string XdgDesktopEntryExec(const std::string& entryPath);

// An "Exec" value in the registered command form: the program found on searchPath (unless it
// names a folder) in double quotes, then every argument, in double quotes when it holds a
// blank; the file and address field codes %f %F %u %U become "%1" (an argument that is only
// the code is written "\"%1\""), "%%" becomes "%", and the other field codes are dropped.
// Empty when the value names no program or the program is not found.
std::string XdgExecToCommand(const std::string& exec, const std::string& searchPath);

// The command that opens files of a MIME type: its default application's "Exec" in the
// registered command form; empty when there is none.
std::string XdgOpenCommand(const XdgFolders& folders, const std::string& mimeType);
