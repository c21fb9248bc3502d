#pragma once

#include <string>
#include <vector>

class DesktopPlatform;

// The text rules behind the viewer, browser and mail operations of BaseDialog: how a
// registered command line becomes a program path, how a file name becomes the address given
// to the browser, and how paths are taken apart. Plain functions without state.

// How a registered command line loses its arguments (FindViewerCommand keeps the blank that
// precedes the options, FindMailCommand drops it).
enum class BlankBeforeOptions : int { Keep, Drop };

// The program path of a registered command line. Options start at the earliest "%", "-" or
// "/" (a "-" or "/" that is the first character does not count; in a command that begins with
// a double quote only what follows the closing quote counts). With b the first blank and o
// the options' start: o = b + 1 keeps the first o characters (Keep) or o - 1 (Drop); any
// other o > 0 keeps the first o - 1. Then a text that begins with a double quote loses it, and
// its last character while that is a double quote or a blank.
std::string ProgramOfRegisteredCommand(const std::string& command, BlankBeforeOptions blank);

// What is given to the browser for a local file: with addPrefix, ":" becomes "|" and "\"
// becomes "/", and "file://localhost/" goes in front (a path that begins with "/" keeps one
// "/" after the host); every blank becomes "%20". The name is not cut.
std::string FileUrlOf(const std::string& fileName, bool addPrefix);

// An empty path gives empty parts. A path holding a double quote is split before the first
// one; otherwise after its last "\" or "/" (the folder keeps that separator).
void SplitFolderAndName(const std::string& path, std::string& folder, std::string& name);

// The message of a DDE error code ("DDE Error: busy"); "Unknown DDE Error : <code>" for a code
// of no name.
std::string DdeErrorText(int error);

// A file name as the viewer's argument: a name holding a blank is put in double quotes (a
// name that already holds one gets only the quotes it lacks at its ends).
std::string QuotedFileArgument(const std::string& fileName);

// An address into the maker's web site that carries a query ("?") gets "&p=<product>&v=<short
// version>" (not on the version-check page) and, for a language other than English,
// "&l=<code>". Other addresses are returned as they are.
std::string AddressWithSiteQuery(const std::string& address, int language);

// The answer of a file-open chooser taken apart: one file gives its folder (with its trailing
// separator) and name; several files of one folder give the folder without its trailing
// separator and an empty name. remembered (may be null) takes the folder when it is not empty.
void TakeFileDialogResult(const std::vector<std::string>& paths, std::string& folder,
                          std::string& name, std::string* remembered);

// Message 47 for a program that could not be started: the command, its argument and the
// system's error number, under caption 8.
void ShowLaunchFailure(DesktopPlatform& platform, const std::string& command,
                       const std::string& argument, int error);
