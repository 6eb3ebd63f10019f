#include "framework/handoff.hpp"

#include <cstdlib>

#include "framework/info_folder.hpp"
#include "framework/record_list.hpp"
#include "framework/text.hpp"

namespace tavelin {

int RuntimeRandom::Next() {
  state_ = state_ * 214013u + 2531011u;
  return static_cast<int>((state_ >> 16) & 0x7FFFu);
}

std::string PlacedStatus(const std::string& blockName, const std::filesystem::path& blocksFolder) {
  std::string folder = blocksFolder.lexically_normal().string();
  if (!folder.empty() && folder.back() == '/') folder.pop_back();
  const char* home = std::getenv("HOME");
  std::string homeFolder = home ? std::filesystem::path(home).lexically_normal().string() : "";
  if (!homeFolder.empty() && homeFolder.back() == '/') homeFolder.pop_back();
  if (!homeFolder.empty() &&
      (folder == homeFolder || folder.rfind(homeFolder + "/", 0) == 0)) {
    folder = "~" + folder.substr(homeFolder.size());
  }
  return std::string(kStatusPlaced) + "：" + blockName + "（" + folder + "）";
}

RuntimeRandom& ProcessRandom() {
  static RuntimeRandom random;
  return random;
}

std::string WeightedBlockName(std::string_view prefix, const std::vector<std::string>& values,
                              const std::vector<CommonTerm>& commonTerms, int random) {
  double sum = 0.0;
  for (size_t j = 0; j < values.size(); ++j) {
    sum += (ToDouble(values[j]) + 1.0) * (1.0 + 0.1 * static_cast<double>(j));
  }
  const double lastWeight = 1.0 + 0.1 * static_cast<double>(values.empty() ? 0 : values.size() - 1);
  for (const CommonTerm& term : commonTerms) sum += (lastWeight + term.step) * term.value;
  std::string number = FormatF(sum);
  for (char& c : number) {
    if (c == '.') c = 'D';
  }
  return std::string(prefix) + number + FormatD(random);
}

std::string BlockName(std::string_view prefix, const std::vector<std::string>& values,
                      const std::vector<double>& commonValues, int random) {
  std::vector<CommonTerm> terms;
  for (size_t m = 1; m <= commonValues.size(); ++m) {
    terms.push_back({commonValues[m - 1], 0.1 * static_cast<double>(m)});
  }
  return WeightedBlockName(prefix, values, terms, random);
}

void WriteDrawData(const InfoFolder& info, const std::vector<std::string>& records) {
  info.WriteLines("DrawData.txt", records);
}

void WriteDrawName(const InfoFolder& info, const std::string& blockName) {
  info.WriteLine("DrawName.ini", blockName);
}

void WriteHandOff(const InfoFolder& info, const std::vector<std::string>& records,
                  std::string_view settingsFile, const std::vector<std::string>& settings,
                  const std::string& blockName,
                  const std::vector<InfoFolder::NamedLines>& otherFiles) {
  std::vector<InfoFolder::NamedLines> files = {
      {"DrawData.txt", records}, {std::string(settingsFile), settings}, {"DrawName.ini", {blockName}}};
  files.insert(files.end(), otherFiles.begin(), otherFiles.end());
  info.WriteInBackground(files);
}

}  // namespace tavelin
