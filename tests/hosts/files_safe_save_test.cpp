// Saves that never lose a byte: read-only and foreign files, links, a file changed at the last
// moment, failed system calls, saves killed at any point, and inputs that are no module files.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <random>
#include <thread>

#include "files_test_util.h"
#include "hosts/files/workspace.h"

namespace {

using files::SaveStep;
using files::Workspace;
using files_test::Crlf;
using files_test::ReadFile;
using files_test::ScratchDir;
using files_test::WriteFile;
namespace fs = std::filesystem;

const std::string kModA = Crlf("Attribute VB_Name = \"modA\"\nOption Explicit\n\nPublic Sub A()\nEnd Sub\n");
const std::string kModAEdited = Crlf("Attribute VB_Name = \"modA\"\n' edited\nOption Explicit\n\nPublic Sub A()\nEnd Sub\n");

void Edit(Workspace& ws, const vb::Text& module = u"modA") {
  ws.vbe()->Component(module)->CodeModule()->InsertLines(1, u"' edited");
}

// "FILENAME: MESSAGE" of the SaveError that saving raised.
std::string SaveErrorOf(Workspace& ws) {
  try {
    ws.Save();
  } catch (const files::SaveError& e) {
    return e.path().filename().string() + ": " + e.message();
  }
  return "saved";
}

std::string LoadErrorOf(const fs::path& path) {
  try {
    Workspace::Load(path);
  } catch (const files::LoadError& e) {
    return e.path().filename().string() + ": " + e.message();
  }
  return "loaded";
}

// Runs `body` in a child process that dies there (or ends) without cleaning up anything.
void InChild(const std::function<void()>& body) {
  std::cout.flush();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    try {
      body();
    } catch (...) {
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
}

// The files of vb6kit's saves in a folder: temporary files and journals.
std::vector<std::string> Leftovers(const ScratchDir& dir) {
  std::vector<std::string> found;
  for (const auto& name : dir.Names())
    if (name.find(".vb6kit-") != std::string::npos) found.push_back(name);
  return found;
}

TEST(FilesSafeSave, ReadOnlyFilesAndFoldersAreRefusedAndNothingIsWritten) {
  const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  for (const bool folder : {false, true}) {
    ScratchDir dir;
    const fs::path vbp = dir.CopyExample();
    fs::create_directories(dir / "lib");
    fs::rename(dir / "clsProduct.cls", dir / "lib" / "clsProduct.cls");
    WriteFile(vbp, files_test::ReplaceOnce(ReadFile(vbp), "clsProduct.cls", "lib\\clsProduct.cls"));
    const std::string stock = ReadFile(dir / "modStock.bas"), product = ReadFile(dir / "lib" / "clsProduct.cls");
    fs::permissions(folder ? dir / "lib" : dir / "lib" / "clsProduct.cls",
                    folder ? readOnly | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec : readOnly);
    Workspace ws = Workspace::Load(vbp);
    Edit(ws, u"modStock");
    Edit(ws, u"clsProduct");
    // Decided from the mode bits: root, whom the kernel lets write anyway, is refused too.
    EXPECT_EQ(SaveErrorOf(ws), folder ? "clsProduct.cls: its folder " + (dir / "lib").generic_string() +
                                            " is read-only (mode 0555); nothing was saved"
                                      : "clsProduct.cls: the file is read-only (mode 0444); nothing was saved");
    EXPECT_EQ(ReadFile(dir / "modStock.bas"), stock);
    EXPECT_EQ(ReadFile(dir / "lib" / "clsProduct.cls"), product);
    EXPECT_TRUE(Leftovers(dir).empty());
    fs::permissions(dir / "lib", fs::perms::owner_all);
  }
}

TEST(FilesSafeSave, LinksAndOtherOwnersKeepTheirFileAndAFailedCallLeavesItWhole) {
  struct Case {
    const char* name;
    std::function<fs::path(const ScratchDir&)> make;  // the path to load; modA.bas in `dir` is the file
    std::function<int(SaveStep, const fs::path&, const fs::path&)> hook;
    std::string error;    // "saved" when the save succeeds
    std::string content;  // of modA.bas afterwards
    bool needsRoot = false;
  };
  const auto plain = [](const ScratchDir& d) { return d / "modA.bas"; };
  const auto hardLink = [](const ScratchDir& d) {
    fs::create_hard_link(d / "modA.bas", d / "copy.bas");
    return d / "modA.bas";
  };
  const auto symlink = [](const ScratchDir& d) {
    fs::create_directories(d / "project");
    fs::create_symlink("../modA.bas", d / "project" / "modA.bas");
    return d / "project" / "modA.bas";
  };
  const auto otherOwner = [](const ScratchDir& d) {
    EXPECT_EQ(::chown((d / "modA.bas").c_str(), 4321, 4321), 0);
    return d / "modA.bas";
  };
  const auto failAt = [](SaveStep failing, int error) {
    return [failing, error](SaveStep step, const fs::path&, const fs::path&) { return step == failing ? error : 0; };
  };
  // Another program saves the file between the check and the replacement.
  const auto editorSaves = [](SaveStep step, const fs::path&, const fs::path& target) {
    if (step == SaveStep::Written) WriteFile(target, kModA + "' theirs\r\n");
    return 0;
  };
  const std::string theirs =
      "the file changed on disk while it was being saved (another program wrote it); the file is as it was";
  const std::string changed = kModA + "' theirs\r\n";
  const Case cases[] = {
      {"plain file", plain, {}, "saved", kModAEdited},
      {"symbolic link", symlink, {}, "saved", kModAEdited},
      {"hard link", hardLink, {}, "saved", kModAEdited},
      {"another user's file", otherOwner, {}, "saved", kModAEdited, true},
      {"chmod fails", plain, failAt(SaveStep::Permissions, EPERM),
       "modA.bas: cannot give the temporary file the file's permissions (mode 0640): Operation not permitted; the file "
       "is as it was",
       kModA},
      {"changed before the rename", plain, editorSaves, "modA.bas: " + theirs, changed},
      {"changed before the rewrite in place", hardLink, editorSaves, "modA.bas: " + theirs, changed},
      {"changed behind a link", symlink, editorSaves, "modA.bas: " + theirs, changed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needsRoot && ::geteuid() != 0) continue;  // only root can give a file away
    ScratchDir dir;
    WriteFile(dir / "modA.bas", kModA);
    fs::permissions(dir / "modA.bas", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path path = c.make(dir);
    struct stat before{};
    ASSERT_EQ(::stat((dir / "modA.bas").c_str(), &before), 0);
    Workspace ws = Workspace::Load(path);
    Edit(ws);
    if (c.hook) ws.SetSaveHook(c.hook);
    EXPECT_EQ(SaveErrorOf(ws), c.error);
    EXPECT_EQ(ReadFile(dir / "modA.bas"), c.content);
    struct stat after{};
    ASSERT_EQ(::stat((dir / "modA.bas").c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
    EXPECT_EQ(after.st_nlink, before.st_nlink);
    EXPECT_EQ(after.st_uid, before.st_uid);
    if (after.st_nlink > 1 || c.needsRoot) {
      EXPECT_EQ(after.st_ino, before.st_ino);
    }
    if (path != dir / "modA.bas") {
      EXPECT_TRUE(fs::is_symlink(path));
    }
    EXPECT_TRUE(Leftovers(dir).empty());
  }
}

// The new text comes piece by piece and goes to disk as it comes; a journal, which records the
// text's length and hash before it, asks for the text twice and refuses a text that came out
// differently the second time.
TEST(FilesSafeSave, TheNewTextIsWrittenAsItComes) {
  for (const bool hardLinked : {false, true})
    for (const bool steady : {true, false}) {
      SCOPED_TRACE(std::string(hardLinked ? "rewritten in place" : "replaced") + (steady ? "" : ", unsteady text"));
      ScratchDir dir;
      const fs::path path = dir / "modA.bas";
      WriteFile(path, kModA);
      if (hardLinked) fs::create_hard_link(path, dir / "copy.bas");
      files::FileStamp stamp;
      ASSERT_TRUE(files::HoldsBytes(path, kModA, stamp));
      int passes = 0;
      const auto source = [&](const files::ByteSink& out) {
        ++passes;
        for (std::size_t at = 0; at < kModAEdited.size(); at += 7) out(std::string_view(kModAEdited).substr(at, 7));
        if (!steady && passes > 1) out("'");
      };
      std::string error = "saved";
      try {
        const files::FileStamp saved = files::SaveFile(path, stamp, kModA, source);
        EXPECT_EQ(saved, files::StampOf(path));
      } catch (const files::SaveError& e) {
        error = e.message();
      }
      const bool fails = hardLinked && !steady;
      EXPECT_EQ(error, fails ? "cannot write the journal for rewriting it in place: the text to save came out "
                               "differently the second time"
                             : "saved");
      EXPECT_EQ(ReadFile(path), fails ? kModA : kModAEdited);
      EXPECT_EQ(passes, hardLinked ? 2 : 1);
      EXPECT_TRUE(Leftovers(dir).empty());
    }
}

// A save that dies leaves its temporary file or journal; the next run finishes it: a journal
// written to its end is applied, one cut short is dropped, a dead save's temporary file is
// removed; what a live process owns, and files that are not ours, stay.
TEST(FilesSafeSave, WhatAKilledSaveLeftIsFinishedByTheNextRun) {
  for (const bool hardLinked : {false, true}) {
    SCOPED_TRACE(hardLinked ? "rewritten in place" : "replaced");
    ScratchDir dir;
    WriteFile(dir / "modA.bas", kModA);
    if (hardLinked) fs::create_hard_link(dir / "modA.bas", dir / "copy.bas");
    InChild([&] {
      Workspace ws = Workspace::Load(dir / "modA.bas");
      Edit(ws);
      ws.SetSaveHook([](SaveStep step, const fs::path&, const fs::path&) {
        if (step == SaveStep::Written) ::raise(SIGKILL);
        return 0;
      });
      ws.Save();
    });
    const auto left = Leftovers(dir);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(left[0].starts_with(".modA.bas.vb6kit-")) << left[0];
    EXPECT_TRUE(left[0].ends_with(hardLinked ? ".journal" : ".tmp")) << left[0];
    EXPECT_EQ(ReadFile(dir / "modA.bas"), kModA);
    // The same name with a live process's id (this one's), and a name that is not ours.
    std::string live = left[0];
    const auto pidStart = live.find('-', live.find(".vb6kit-") + 8) + 1;
    live.replace(pidStart, live.find('-', pidStart) - pidStart, std::to_string(::getpid()));
    fs::copy_file(dir / left[0], dir / live);
    WriteFile(dir / ".modA.bas.vb6kit-notes.tmp", "mine");

    // A kill while the file was rewritten in place leaves it half written beside its journal.
    if (hardLinked) WriteFile(dir / "modA.bas", kModAEdited.substr(0, 40) + kModA.substr(40));
    // The next run: a journal written to its end is applied when the module is loaded.
    Workspace ws = Workspace::Load(dir / "modA.bas");
    EXPECT_EQ(ReadFile(dir / "modA.bas"), hardLinked ? kModAEdited : kModA);
    ws.vbe()->Component(u"modA")->CodeModule()->InsertLines(1, u"' again");
    ws.Save();
    std::vector<std::string> kept{".modA.bas.vb6kit-notes.tmp", live};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Leftovers(dir), kept);
    if (hardLinked) {
      EXPECT_EQ(ReadFile(dir / "copy.bas"), ReadFile(dir / "modA.bas"));
    }

    // A journal cut short was never applied: it is dropped and the file stays as it is.
    if (hardLinked) {
      const std::string now = ReadFile(dir / "modA.bas");
      const std::string dead = left[0];
      const std::string journal = ReadFile(dir / live);
      WriteFile(dir / dead, journal.substr(0, journal.size() - 3));
      Workspace::Load(dir / "modA.bas");
      EXPECT_EQ(ReadFile(dir / "modA.bas"), now);
      EXPECT_FALSE(fs::exists(dir / dead));
    }
  }
}

// Saves killed at random moments: the module is always the old file or the new one (a file being
// rewritten in place may be half written on disk only while its journal is there, and the next
// run completes it), and the next run leaves no temporary file or journal behind.
TEST(FilesSafeSave, SavesKilledAtRandomMomentsLeaveTheOldOrTheNewFile) {
  std::string old = "Attribute VB_Name = \"modBig\"\r\nOption Explicit\r\n";
  for (int p = 0; p < 4000; ++p) {
    const std::string n = std::to_string(p);
    old += "\r\nPublic Sub P" + n + "()\r\n    Total = Total + " + n + "\r\nEnd Sub\r\n";
  }
  const std::string edited = old.substr(0, old.find("Option")) + "' edited\r\n" + old.substr(old.find("Option"));
  const auto seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  constexpr int kKills = 30;
  for (const bool hardLinked : {false, true}) {
    SCOPED_TRACE(hardLinked ? "rewritten in place" : "replaced");
    ScratchDir dir;
    const fs::path path = dir / "modBig.bas";
    auto reset = [&] {
      WriteFile(path, old);
      if (hardLinked && !fs::exists(dir / "copy.bas")) fs::create_hard_link(path, dir / "copy.bas");
    };
    // How long a save takes here: the kills fall anywhere in it, and a little after.
    reset();
    Workspace timed = Workspace::Load(path);
    Edit(timed, u"modBig");
    const auto start = std::chrono::steady_clock::now();
    timed.Save();
    const auto saveTime = std::chrono::steady_clock::now() - start;
    std::uniform_int_distribution<long long> delay(
        0, std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count() * 3 / 2);

    int olds = 0, news = 0, halfWithJournal = 0, leftBehind = 0;
    for (int kill = 0; kill < kKills; ++kill) {
      reset();
      int ready[2];
      ASSERT_EQ(::pipe(ready), 0);
      std::cout.flush();
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        Workspace ws = Workspace::Load(path);
        Edit(ws, u"modBig");
        const char go = 1;
        if (::write(ready[1], &go, 1) != 1) ::_exit(1);
        try {
          ws.Save();
        } catch (...) {
        }
        ::_exit(0);
      }
      char go = 0;
      ASSERT_EQ(::read(ready[0], &go, 1), 1);
      std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
      ::close(ready[0]);
      ::close(ready[1]);

      const std::string after = ReadFile(path);
      const auto left = Leftovers(dir);
      leftBehind += !left.empty();
      if (after == old) {
        ++olds;
      } else if (after == edited) {
        ++news;
      } else {
        ASSERT_TRUE(hardLinked) << "a replaced file is never half written";
        ASSERT_EQ(left.size(), 1u);
        ASSERT_TRUE(left[0].ends_with(".journal"));
        ++halfWithJournal;
      }
      // The next run sees the old file or the new one, and leaves nothing of the killed save.
      Workspace next = Workspace::Load(path);
      const vb::Text code = next.vbe()->Code(u"modBig");
      ASSERT_TRUE(code.starts_with(u"' edited\r\nOption") || code.starts_with(u"Option")) << kill;
      next.vbe()->Component(u"modBig")->CodeModule()->InsertLines(1, u"' next");
      next.Save();
      EXPECT_TRUE(Leftovers(dir).empty()) << kill;
      EXPECT_EQ(ReadFile(path).find("' next\r\n"), old.find("Option")) << kill;
    }
    std::cout << "[ kills    ] " << (hardLinked ? "rewritten in place" : "replaced") << ": " << kKills << " kills, "
              << olds << " old, " << news << " new, " << halfWithJournal
              << " half written with their journal (completed by the next run); " << leftBehind
              << " left a temporary file or journal (gone after the next run)\n";
  }
}

TEST(FilesSafeSave, OnlyRegularFilesWithinVb6sLimitsAreRead) {
  ScratchDir dir;
  ASSERT_EQ(::mkfifo((dir / "modPipe.bas").c_str(), 0644), 0);
  WriteFile(dir / "Zero.vbp", Crlf("Type=Exe\nModule=modZero; /dev/zero\n"));
  WriteFile(dir / "Pipe.vbp", Crlf("Type=Exe\nModule=modPipe; modPipe.bas\n"));
  fs::create_directories(dir / "folder.bas");
  // A sparse file: large without taking the disk.
  WriteFile(dir / "modHuge.bas", "Attribute VB_Name = \"modHuge\"\r\n");
  fs::resize_file(dir / "modHuge.bas", files::kMaxFileBytes + 1);
  // Containers nested far past anything the designer makes.
  std::string deep = "VERSION 5.00\r\nBegin VB.Form frmDeep \r\n";
  for (int i = 0; i < 20000; ++i) deep += "Begin VB.PictureBox p" + std::to_string(i) + " \r\n";
  WriteFile(dir / "frmDeep.frm", deep);

  const std::string notRegular = "is not a regular file (a FIFO); only regular files are read";
  EXPECT_EQ(LoadErrorOf(dir / "modPipe.bas"), "modPipe.bas: " + notRegular);
  EXPECT_EQ(LoadErrorOf(dir / "Pipe.vbp"), "modPipe.bas: " + notRegular);
  EXPECT_EQ(LoadErrorOf(dir / "Zero.vbp"), "zero: is not a regular file (a character device); only regular files are read");
  EXPECT_EQ(LoadErrorOf(dir / "folder.bas"), "folder.bas: the folder holds no VB6 module files");
  EXPECT_EQ(LoadErrorOf(dir / "modHuge.bas"), "modHuge.bas: is " + std::to_string(files::kMaxFileBytes + 1) +
                                                  " bytes, more than a VB6 file can hold (" +
                                                  std::to_string(files::kMaxFileBytes) +
                                                  " bytes: 65,534 lines of 1,023 characters); it was not read");
  EXPECT_EQ(LoadErrorOf(dir / "frmDeep.frm"),
            "frmDeep.frm: designer block: line 502: controls nest more than 500 deep; a VB6 form never does");
}

// Windows ignores letter case in file names: a project given by its bare name finds its modules
// as a project given with a folder does.
TEST(FilesSafeSave, ABareProjectNameFindsModulesInOtherLetterCase) {
  ScratchDir dir;
  WriteFile(dir / "case.vbp", Crlf("Type=Exe\nModule=modStock; MODSTOCK.BAS\nName=\"Case\"\n"));
  WriteFile(dir / "modStock.bas", Crlf("Attribute VB_Name = \"modStock\"\nOption Explicit\n"));
  testing_support::CurrentFolder here(dir.path());
  for (const char* given : {"case.vbp", "./case.vbp"}) {
    SCOPED_TRACE(given);
    Workspace ws = Workspace::Load(given);
    EXPECT_EQ(vb::ToUtf8(ws.vbe()->Code(u"Case.modStock")), "Option Explicit");
  }
}

}  // namespace
