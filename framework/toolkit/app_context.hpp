// What every dialog model reaches besides its own controls: the info folder,
// the host that shows it, the block-builder launcher, the run-time random
// generator and the way to open another dialog.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "framework/build_job.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"

namespace tavelin::ui {

class Dialog;
struct AppContext;

inline constexpr const char* kProductTitle = "Tavelin ダクト・配管作図";

// The window system as a dialog model sees it. The Qt host shows real
// windows; tests and the command line answer without a display.
class UiHost {
 public:
  virtual ~UiHost() = default;
  // A modal message box with an OK button; returns kIdOk.
  virtual int ShowMessage(Dialog* owner, const std::string& text, const std::string& caption) = 0;
  // Runs `dialog` modally (it is not yet initialised) and returns its result.
  virtual int RunModal(Dialog& dialog) = 0;
  // A question with "はい" and "いいえ"; true for yes. A host that cannot ask says no.
  virtual bool AskYesNo(Dialog* owner, const std::string& text, const std::string& caption) {
    (void)owner, (void)text, (void)caption;
    return false;
  }
  // Puts `text` on the clipboard; false when there is none.
  virtual bool CopyText(const std::string& text) {
    (void)text;
    return false;
  }
  // A file the user chooses to open (`save` false) or to write, starting
  // from `suggested`; `filter` as "DXF 図面 (*.dxf)". Nothing when the user
  // cancels or the host cannot ask.
  virtual std::optional<std::filesystem::path> ChooseFile(Dialog* owner, const std::string& caption,
                                                          const std::string& filter, bool save,
                                                          const std::filesystem::path& suggested) {
    (void)owner, (void)caption, (void)filter, (void)save, (void)suggested;
    return std::nullopt;
  }
  // Shows `folder` in the desktop's file manager; false when it cannot.
  virtual bool OpenFolder(const std::filesystem::path& folder) {
    (void)folder;
    return false;
  }
};

using DialogFactory =
    std::function<std::unique_ptr<Dialog>(std::string_view className, AppContext& app)>;

struct AppContext {
  explicit AppContext(std::filesystem::path root) : info(std::move(root)) {}

  InfoFolder info;
  UiHost* ui = nullptr;
  BlockBuilderLauncher* launcher = nullptr;
  RuntimeRandom* random = &ProcessRandom();
  DialogFactory createDialog;
};

}  // namespace tavelin::ui
