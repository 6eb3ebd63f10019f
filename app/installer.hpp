// Installs the default data (the info folder, the schematics and the part
// catalogue) and the block builder into an installation root.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tavelin {

struct InstallReport {
  int copied = 0;  // files written
  int kept = 0;    // files that already existed and were left alone
  bool builderInstalled = false;
};

// The folder holding the default data: $TAVELIN_DATA_DIR, else the data/
// folder of the source tree this program was built from.
std::filesystem::path DefaultDataDir();

// The block builder of `program`: built beside it (tavelin-blockbuilder), else
// installed with it in PREFIX/lib/tavelin when `program` is PREFIX/bin/NAME.
std::filesystem::path BuilderBesideProgram(const std::filesystem::path& program);

// The pipe catalogue of `program`: generated at build time (BUILD/catalogue),
// else installed in PREFIX/share/tavelin/catalogue.
std::filesystem::path CatalogueBesideProgram(const std::filesystem::path& program);

// The default data of `program`: $TAVELIN_DATA_DIR, else the installed
// PREFIX/share/tavelin/data when there is one, else DefaultDataDir().
std::filesystem::path DataDirOf(const std::filesystem::path& program);

// What the desktop program does at start: a root that does not exist yet is
// set up as `tavelin-cli init` does (true when it was); in an existing root
// only the block builder is brought up to date. Throws FileError.
bool PrepareRoot(const std::filesystem::path& root, const std::filesystem::path& program);

// Copies every file under `dataDir` into `root` without overwriting an
// existing file (names compared without regard to case), then installs
// `builder` (when it exists) as root/exes/Forvane, replacing an older copy:
// the builder is a program, not user data. Throws FileError.
InstallReport InstallDefaults(const std::filesystem::path& root,
                              const std::filesystem::path& dataDir,
                              const std::filesystem::path& builder);

// What `tavelin-cli init` and the first start do: the default data, the
// catalogue and the block builder of `program` copied into `root` (existing
// files kept), then one flush of the whole tree. Throws FileError.
InstallReport InstallRoot(const std::filesystem::path& root, const std::filesystem::path& program);

// Copies every file under `tree` into `root` without overwriting (the generated catalogue).
void InstallTree(const std::filesystem::path& root, const std::filesystem::path& tree,
                 InstallReport& report);

}  // namespace tavelin
