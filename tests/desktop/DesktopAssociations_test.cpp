#include "platform/DesktopAssociations.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/Viewers.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

// A desktop of the test's own: data, config and program folders inside one temporary folder.
class DesktopFolders : public ::testing::Test {
 protected:
  DesktopFolders() : root("assoc") {
    folders.dataHome = root.File("data");
    folders.dataDirs = {root.File("system")};
    folders.configHome = root.File("config");
    folders.configDirs = {root.File("etc")};
    folders.searchPath = root.File("nothing") + ":" + root.File("bin");
  }
  void Write(const std::string& name, const std::string& text) {
    const fs::path path = root.path / name;
    fs::create_directories(path.parent_path());
    WriteBytes(path.string(), text);
  }
  std::string Program(const std::string& name) {
    Write("bin/" + name, "#!/bin/sh\n");
    fs::permissions(root.path / "bin" / name, fs::perms::owner_all);
    return root.File("bin/" + name);
  }
  void Entry(const std::string& folder, const std::string& id, const std::string& exec) {
    Write(folder + "/applications/" + id, "[Desktop Entry]\nType=Application\nName=x\nExec=" +
                                              exec + "\n[Desktop Action New]\nExec=other\n");
  }

  TempFolder root;
  XdgFolders folders;
};

}  // namespace

TEST_F(DesktopFolders, MimeTypeOfAnExtensionByItsHeaviestGlob) {
  Write("system/mime/globs2",
        "# comment\n50:text/rtf:*.rtf\n60:application/rtf:*.rtf\n50:text/x-c:*.C:cs\n"
        "50:text/plain:*.txt\n");
  // The user's glob file (the older form without weights) is read too.
  Write("data/mime/globs", "application/x-kv-doc:*.kvd\n");
  struct Case {
    const char* extension;
    const char* type;
  };
  const Case cases[] = {
      {".rtf", "application/rtf"},
      {".RTF", "application/rtf"},  // a glob matches regardless of case
      {".C", "text/x-c"},
      {".c", ""},                   // unless it is case-sensitive
      {".kvd", "application/x-kv-doc"},
      {".none", ""},
      {"rtf", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.extension);
    EXPECT_EQ(XdgMimeTypeOfExtension(folders, c.extension), c.type);
  }
}

TEST_F(DesktopFolders, DefaultApplicationFromTheListsInTheirOrder) {
  Entry("system", "system-viewer.desktop", "sysview %f");
  Entry("data", "user-viewer.desktop", "userview %f");
  Entry("system", "added.desktop", "added %f");
  Entry("system", "cached.desktop", "cached %f");
  Write("system/applications/mimeapps.list",
        "[Default Applications]\ntext/rtf=system-viewer.desktop\n");
  // The user's list comes first; an entry that is not installed is passed over.
  Write("config/mimeapps.list",
        "[Added Associations]\ntext/plain=added.desktop\n"
        "[Default Applications]\ntext/rtf=gone.desktop;user-viewer.desktop;\n");
  Write("system/applications/mimeinfo.cache", "[MIME Cache]\nimage/png=cached.desktop;\n");
  EXPECT_EQ(XdgDefaultApplicationEntry(folders, "text/rtf"),
            root.File("data/applications/user-viewer.desktop"));
  EXPECT_EQ(XdgDefaultApplicationEntry(folders, "text/plain"),
            root.File("system/applications/added.desktop"));
  EXPECT_EQ(XdgDefaultApplicationEntry(folders, "image/png"),
            root.File("system/applications/cached.desktop"));
  EXPECT_EQ(XdgDefaultApplicationEntry(folders, "image/gif"), "");
  EXPECT_EQ(XdgDesktopEntryExec(root.File("data/applications/user-viewer.desktop")),
            "userview %f");
  EXPECT_EQ(XdgDesktopEntryExec(root.File("no-such.desktop")), "");
}

TEST_F(DesktopFolders, ExecBecomesARegisteredCommand) {
  const std::string viewer = Program("viewer");
  const std::string dashed = Program("x-www-viewer");
  const std::string spaced = Program("my viewer");
  struct Case {
    std::string exec;
    std::string command;
  };
  const Case cases[] = {
      {"viewer %f", "\"" + viewer + "\" \"%1\""},
      {"viewer --new-window %U", "\"" + viewer + "\" --new-window \"%1\""},
      {"\"" + spaced + "\" %u", "\"" + spaced + "\" \"%1\""},
      {"viewer --icon %i --name=%c %k %F", "\"" + viewer + "\" --icon --name= \"%1\""},
      {"viewer \"two words\" 100%%", "\"" + viewer + "\" \"two words\" 100%"},
      {"viewer", "\"" + viewer + "\""},
      {"/opt/elsewhere/tool %f", "\"/opt/elsewhere/tool\" \"%1\""},
      {"missing %f", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exec);
    EXPECT_EQ(XdgExecToCommand(c.exec, folders.searchPath), c.command);
  }
  // The program's cutting rules give back the program path, "-" and "/" included.
  for (const char* exec : {"x-www-viewer --new %U", "x-www-viewer"}) {
    SCOPED_TRACE(exec);
    const std::string command = XdgExecToCommand(exec, folders.searchPath);
    EXPECT_EQ(ProgramOfRegisteredCommand(command, BlankBeforeOptions::Keep), dashed);
    EXPECT_EQ(ProgramOfRegisteredCommand(command, BlankBeforeOptions::Drop), dashed);
  }
}

TEST_F(DesktopFolders, OpenCommandOfAnExtensionFromEndToEnd) {
  const std::string viewer = Program("rtf-viewer");
  Write("data/mime/globs2", "50:text/rtf:*.rtf\n");
  Entry("data", "kv-rtf.desktop", "rtf-viewer --view %F");
  Entry("data", "kv-mail.desktop", "rtf-viewer --compose %u");
  Write("config/mimeapps.list",
        "[Default Applications]\ntext/rtf=kv-rtf.desktop\nx-scheme-handler/mailto=kv-mail.desktop\n");
  const std::string type = XdgMimeTypeOfExtension(folders, ".rtf");
  EXPECT_EQ(XdgOpenCommand(folders, type), "\"" + viewer + "\" --view \"%1\"");
  EXPECT_EQ(XdgOpenCommand(folders, "x-scheme-handler/mailto"),
            "\"" + viewer + "\" --compose \"%1\"");
  EXPECT_EQ(XdgOpenCommand(folders, "text/html"), "");
}
