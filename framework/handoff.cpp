#include "framework/handoff.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "framework/info_folder.hpp"
#include "framework/record_list.hpp"
#include "framework/text.hpp"

extern char** environ;

namespace tavelin {

int RuntimeRandom::Next() {
  state_ = state_ * 214013u + 2531011u;
  return static_cast<int>((state_ >> 16) & 0x7FFFu);
}

RuntimeRandom& ProcessRandom() {
  static RuntimeRandom random;
  return random;
}

std::string BlockName(std::string_view prefix, const std::vector<std::string>& values,
                      const std::vector<double>& commonValues, int random) {
  double sum = 0.0;
  for (size_t j = 0; j < values.size(); ++j) {
    sum += (ToDouble(values[j]) + 1.0) * (1.0 + 0.1 * static_cast<double>(j));
  }
  const double lastWeight = 1.0 + 0.1 * static_cast<double>(values.empty() ? 0 : values.size() - 1);
  for (size_t m = 1; m <= commonValues.size(); ++m) {
    sum += (lastWeight + 0.1 * static_cast<double>(m)) * commonValues[m - 1];
  }
  std::string number = FormatF(sum);
  for (char& c : number) {
    if (c == '.') c = 'D';
  }
  return std::string(prefix) + number + FormatD(random);
}

void WriteDrawData(const InfoFolder& info, const std::vector<std::string>& records) {
  info.WriteLines("DrawData.txt", records);
}

void WriteDrawName(const InfoFolder& info, const std::string& blockName) {
  info.WriteLine("DrawName.ini", blockName);
}

void WriteHandOff(const InfoFolder& info, const RecordList& list, std::string_view settingsFile,
                  const std::vector<std::string>& settings, const std::string& blockName) {
  WriteDrawData(info, list.Records());
  info.WriteLines(settingsFile, settings);
  WriteDrawName(info, blockName);
}

std::filesystem::path ProcessLauncher::BuilderPath() const {
  return LocateIgnoringCase(root_ / "exes", "Forvane");
}

void ProcessLauncher::Start() {
  const std::string path = BuilderPath().string();
  std::string rootVariable = "TAVELIN_ROOT=" + root_.string();
  std::vector<char*> environment;
  for (char** e = environ; e && *e; ++e) {
    if (std::strncmp(*e, "TAVELIN_ROOT=", 13) != 0) environment.push_back(*e);
  }
  environment.push_back(rootVariable.data());
  environment.push_back(nullptr);
  std::string program = path;
  char* argv[] = {program.data(), nullptr};

  // A short-lived intermediate process starts the builder in a session of its
  // own and exits at once, so the builder is never our child to wait for.
  pid_t middle = ::fork();
  if (middle < 0) return;
  if (middle == 0) {
    ::setsid();
    pid_t builder = ::fork();
    if (builder == 0) {
      ::execve(argv[0], argv, environment.data());
      ::_exit(127);
    }
    ::_exit(0);
  }
  int status = 0;
  while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace tavelin
