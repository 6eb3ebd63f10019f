// Existing roots that a careless or hostile hand left behind: a pipe or a link
// to a device in the builder's place, folders the user cannot search, links
// that lead out of the root. Every step ends with a clear message, the program
// still starts, nothing is read without bound and nothing is written outside
// the root. Each step runs in a child process, so that a hang (ended by an
// alarm), a crash or an unbounded read fails the case instead of the run.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "app/installer.hpp"
#include "cli/cli_commands.hpp"
#include "framework/info_folder.hpp"
#include "tests/support/sanitizers.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;
constexpr int kCannotDropRoot = 97;

struct Ended {
  bool exited = false;
  int status = -1;  // the exit status, or the signal that ended it
  std::string output;
};

// Runs `body` in a child process; `asUser` drops root's right to search
// every folder first.
Ended InChild(bool asUser, const std::function<int(std::ostream&)>& body) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  const pid_t child = testing::ForkParked();
  if (child == 0) {
    ::close(pipeFds[0]);
    if (asUser && ::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      ::_exit(kCannotDropRoot);
    }
    ::alarm(120);
#ifndef TAVELIN_TEST_ASAN
    const rlimit memory{2048ul << 20, 2048ul << 20};
    ::setrlimit(RLIMIT_AS, &memory);
#endif
    std::ostringstream out;
    int status = 0;
    try {
      status = body(out);
    } catch (const std::exception& error) {
      out << "uncaught: " << error.what() << "\n";
      status = 98;
    }
    const std::string text = out.str();
    for (size_t done = 0; done < text.size();) {
      const ssize_t n = ::write(pipeFds[1], text.data() + done, text.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    ::_exit(status);
  }
  ::close(pipeFds[1]);
  Ended ended;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
    ended.output.append(buffer, n);
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  ended.exited = WIFEXITED(status);
  ended.status = ended.exited ? WEXITSTATUS(status) : WTERMSIG(status);
  return ended;
}

// The program as `init` and the desktop start see it: the block builder
// beside it, the default data of the source tree, no generated catalogue.
struct Installation {
  Installation() {
    fs::create_directories(dir.Path() / "bin");
    fs::create_symlink(testing::BinDir() / "tavelin-blockbuilder",
                       dir.Path() / "bin" / "tavelin-blockbuilder");
  }
  fs::path Program() const { return dir.Path() / "bin" / "tavelin"; }
  testing::TempDir dir;
};

enum class Step {
  kInit,   // tavelin-cli init
  kStart,  // the desktop program's start, then its main dialog
  kOk,     // tavelin-cli run ChokuDialog ok: the straight duct's OK and the builder
};

struct Expected {
  Step step;
  int status;        // the exit status
  std::string text;  // a part of the message it gives
};

struct HostileCase {
  std::string name;
  bool asUser;  // the folder rights matter: run as a user, not as root
  std::function<void(const fs::path& root, const fs::path& outside)> spoil;
  std::vector<Expected> steps;
  std::function<void(const fs::path& root, const fs::path& outside)> check;
};

int RunStep(Step step, const fs::path& root, const fs::path& program, std::ostream& out) {
  switch (step) {
    case Step::kInit:
      return RunCommandLine(program.string(), {"--root", root.string(), "init"}, out, out);
    case Step::kStart:
      try {
        PrepareRoot(root, program);
      } catch (const FileError& error) {
        out << "message: " << error.what() << "\n";
      }
      // The main dialog opens whatever the preparation said.
      RunCommandLine(program.string(), {"--root", root.string(), "run", "MainDialog"}, out, out);
      return 0;
    case Step::kOk:
      return RunCommandLine(program.string(), {"--root", root.string(), "run", "ChokuDialog", "ok"},
                            out, out);
  }
  return -1;
}

void OwnTree(const fs::path& root, uid_t user) {
  ASSERT_EQ(::lchown(root.c_str(), user, user), 0);
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    ASSERT_EQ(::lchown(entry.path().c_str(), user, user), 0) << entry.path();
  }
}

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<HostileCase> Cases() {
  const std::string notAFile = "通常のファイルではないため";
  auto forvane = [](const fs::path& root) { return root / "exes" / "Forvane"; };
  return {
      {"a pipe as the builder",
       false,
       [forvane](const fs::path& root, const fs::path&) {
         fs::remove(forvane(root));
         ASSERT_EQ(::mkfifo(forvane(root).c_str(), 0755), 0);
       },
       {{Step::kInit, 3, notAFile}, {Step::kStart, 0, notAFile}},
       [forvane](const fs::path& root, const fs::path&) {
         EXPECT_TRUE(fs::is_fifo(fs::symlink_status(forvane(root))));
       }},
      {"a link to an endless device as the builder",
       false,
       [forvane](const fs::path& root, const fs::path&) {
         fs::remove(forvane(root));
         fs::create_symlink("/dev/zero", forvane(root));
       },
       {{Step::kInit, 3, notAFile}, {Step::kStart, 0, notAFile}},
       [forvane](const fs::path& root, const fs::path&) {
         EXPECT_EQ(fs::read_symlink(forvane(root)), "/dev/zero");
       }},
      {"a pipe as a settings file",
       false,
       [](const fs::path& root, const fs::path&) {
         const fs::path file = root / "info" / "Sentaku.ini";
         fs::remove(file);
         ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
       },
       {{Step::kStart, 0, "(通常のファイルではありません)"}},
       {}},
      {"an info folder the user cannot search",
       true,
       [](const fs::path& root, const fs::path&) {
         fs::permissions(root / "info", fs::perms::owner_read | fs::perms::owner_write);
       },
       {{Step::kInit, 3, "/info/"}, {Step::kStart, 0, "ファイルを開けません"}},
       {}},
      {"an exes folder the user cannot search",
       true,
       [](const fs::path& root, const fs::path&) {
         fs::permissions(root / "exes", fs::perms::owner_read | fs::perms::owner_write);
       },
       {{Step::kInit, 3, "Forvane: 調べられません"}, {Step::kStart, 0, "Forvane: 調べられません"}},
       {}},
      {"the builder's log linked out of the root",
       false,
       [](const fs::path& root, const fs::path& outside) {
         std::ofstream(outside / "log.txt") << "someone else's\n";
         fs::create_directories(root / "blocks");
         fs::create_symlink(outside / "log.txt", root / "blocks" / "builder.log");
       },
       {{Step::kOk, 0, "block written: "}},
       [](const fs::path& root, const fs::path& outside) {
         EXPECT_EQ(Slurp(outside / "log.txt"), "someone else's\n");
         EXPECT_TRUE(fs::is_symlink(root / "blocks" / "builder.log"));
       }},
      {"the job folder linked out of the root",
       false,
       [](const fs::path& root, const fs::path& outside) {
         fs::create_directories(outside / "jobs" / "1_2_3");
         fs::last_write_time(outside / "jobs" / "1_2_3",
                             fs::file_time_type::clock::now() - std::chrono::hours(48));
         fs::create_directory_symlink(outside / "jobs", root / "jobs");
       },
       {{Step::kOk, 3, "(シンボリックリンクのため使えません)"}},
       [](const fs::path&, const fs::path& outside) {
         EXPECT_TRUE(fs::exists(outside / "jobs" / "1_2_3"));
         EXPECT_EQ(
             std::distance(fs::directory_iterator(outside / "jobs"), fs::directory_iterator()), 1);
       }},
  };
}

TEST(HostileRoot, EveryCaseEndsWithAMessageAndNothingLeavesTheRoot) {
  for (const HostileCase& hostile : Cases()) {
    SCOPED_TRACE(hostile.name);
    Installation installation;
    testing::TempDir root;
    testing::TempDir outside;
    InstallDefaults(root.Path(), testing::SourceDataDir(),
                    installation.Program().parent_path() / "tavelin-blockbuilder");
    InfoFolder(root.Path())
        .WriteLines("Choku.ini", {"1820", "450", "2", "1", "1", "3", "0", "3640"});
    hostile.spoil(root.Path(), outside.Path());
    if (hostile.asUser && ::geteuid() == 0) OwnTree(root.Path(), kNobody);
    for (const Expected& expected : hostile.steps) {
      const Ended ended = InChild(hostile.asUser, [&](std::ostream& out) {
        return RunStep(expected.step, root.Path(), installation.Program(), out);
      });
      if (ended.exited && ended.status == kCannotDropRoot) GTEST_SKIP() << "cannot run as a user";
      if (!ended.exited) {
        ADD_FAILURE() << "ended by signal " << ended.status << "\n" << ended.output;
        break;
      }
      EXPECT_EQ(ended.status, expected.status) << ended.output;
      EXPECT_NE(ended.output.find(expected.text), std::string::npos)
          << "no \"" << expected.text << "\" in:\n"
          << ended.output;
    }
    if (hostile.check) hostile.check(root.Path(), outside.Path());
    // The removal of the temporary folders needs the rights back.
    std::error_code ignored;
    fs::permissions(root.Path() / "info", fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::permissions(root.Path() / "exes", fs::perms::owner_all, fs::perm_options::add, ignored);
  }
}

}  // namespace
}  // namespace tavelin
