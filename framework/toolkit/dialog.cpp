#include "framework/toolkit/dialog.hpp"

#include <algorithm>
#include <stdexcept>

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/toolkit/keyboard_navigation.hpp"

namespace tavelin::ui {

Dialog::Dialog(AppContext& app, std::string_view layoutName)
    : Dialog(app, LoadLayout(layoutName)) {}

Dialog::Dialog(AppContext& app, const Layout& layout)
    : app_(app), layout_(layout), caption_(layout_.caption) {
  controls_.reserve(layout_.controls.size());
  for (const ControlDefinition& definition : layout_.controls) {
    controls_.push_back(std::make_unique<Control>(*this, definition));
  }
}

Dialog::~Dialog() = default;

void Dialog::SetMessageMap(std::initializer_list<MessageEntry> entries) { messageMap_ = entries; }

void Dialog::SetMessageMap(std::vector<MessageEntry> entries) { messageMap_ = std::move(entries); }

Control* Dialog::FindControl(int id) {
  if (id == kIdStatic) return nullptr;
  for (auto& control : controls_) {
    if (control->Id() == id) return control.get();
  }
  return nullptr;
}

Control& Dialog::Item(int id) {
  if (Control* control = FindControl(id)) return *control;
  throw std::logic_error("the dialog " + caption_ + " has no control " + std::to_string(id));
}

std::string Dialog::ItemText(int id) { return Item(id).Text(); }
void Dialog::SetItemText(int id, std::string text) { Item(id).SetText(std::move(text)); }
bool Dialog::IsChecked(int id) { return Item(id).Checked(); }
void Dialog::SetChecked(int id, bool checked) { Item(id).SetCheck(checked); }
void Dialog::EnableItem(int id, bool enabled) { Item(id).Enable(enabled); }
void Dialog::ShowItem(int id, bool visible) { Item(id).Show(visible); }

void Dialog::CheckRadio(int id) {
  for (Control* radio : RadioGroupOf(controls_, id)) radio->SetCheck(radio->Id() == id);
  Item(id).SetCheck(true);
}

int Dialog::CheckedOf(std::initializer_list<int> ids) {
  for (int id : ids) {
    if (IsChecked(id)) return id;
  }
  return 0;
}

int Dialog::MessageBox(const std::string& text, const std::string& caption) {
  if (!app_.ui) return kIdOk;
  return app_.ui->ShowMessage(this, text, caption);
}

void Dialog::EndDialog(int result) {
  ended_ = true;
  result_ = result;
}

PixelRect Dialog::ClientRectOf(int id) { return Item(id).ClientRect(); }

OffsetCanvas Dialog::ControlCanvas(Canvas& canvas, int id) {
  const PixelRect& r = Item(id).Rect();
  return OffsetCanvas(canvas, r.left, r.top);
}

void Dialog::Guarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const FileError& error) {
    ++failures_;
    MessageBox(
        FileErrorHeadline(error) + "\n" + error.Path().string() + "\n(" + error.Reason() + ")",
        kProductTitle);
  } catch (const std::exception& error) {
    ++failures_;
    MessageBox(std::string("処理を続けられません。\n") + error.what(), kProductTitle);
  }
}

void Dialog::Dispatch(const Event& event) {
  for (const MessageEntry& entry : messageMap_) {
    if (entry.kind == event.kind && (entry.id == event.id || event.kind == EventKind::kMouseDown)) {
      entry.handler(event);
      return;
    }
  }
}

void Dialog::Notify(EventKind kind, int id) { Dispatch({kind, id}); }

bool Dialog::Handles(EventKind kind, int id) const {
  for (const MessageEntry& entry : messageMap_) {
    if (entry.kind == kind && entry.id == id) return true;
  }
  return false;
}

void Dialog::Initialize() {
  Guarded([this] { OnInitDialog(); });
}

bool Dialog::UserClick(int id) {
  if (id == kIdOk && !FindControl(id)) return UserOk(), true;
  if (id == kIdCancel && !FindControl(id)) return UserCancel(), true;
  Control* control = FindControl(id);
  if (!control || !control->Visible() || !control->Enabled()) return false;
  if (control->Kind() == ControlKind::kRadioButton) CheckRadio(id);
  if (control->Kind() == ControlKind::kCheckBox) control->SetCheck(!control->Checked());
  if (id == kIdOk) {
    UserOk();
  } else if (id == kIdCancel) {
    UserCancel();
  } else {
    Guarded([&] { Dispatch({EventKind::kClick, id}); });
  }
  return true;
}

bool Dialog::UserSelect(int id, int index) {
  Control* control = FindControl(id);
  if (!control || !control->Visible() || !control->Enabled()) return false;
  if (index < 0 || index >= control->Count()) return false;
  control->SetCurSel(index);
  Guarded([&] { Dispatch({EventKind::kSelChange, id}); });
  return true;
}

bool Dialog::UserDoubleClick(int id, int index) {
  Control* control = FindControl(id);
  if (!control || !control->Visible() || !control->Enabled()) return false;
  if (index < 0 || index >= control->Count()) return false;
  control->SetCurSel(index);
  Guarded([&] { Dispatch({EventKind::kDblClick, id}); });
  return true;
}

bool Dialog::UserFocus(int id) {
  Control* control = FindControl(id);
  if (!control || !control->Visible() || !control->Enabled()) return false;
  if (focused_ == id) return true;
  int previous = focused_;
  focused_ = id;
  Guarded([&] {
    if (previous) Dispatch({EventKind::kKillFocus, previous});
    Dispatch({EventKind::kSetFocus, id});
  });
  return true;
}

bool Dialog::UserType(int id, std::string text) {
  Control* control = FindControl(id);
  if (!control || !control->Visible() || !control->Enabled()) return false;
  if (control->Definition().readOnly) return false;
  if (control->Kind() != ControlKind::kEdit && control->Kind() != ControlKind::kComboEdit) {
    return false;
  }
  control->SetTextQuietly(std::move(text));
  if (control->Kind() == ControlKind::kComboEdit) {
    control->selection_ = -1;
    return true;
  }
  Guarded([&] { Dispatch({EventKind::kEditChange, id}); });
  return true;
}

bool Dialog::UserSetText(int id, std::string text) {
  if (!UserFocus(id)) return false;
  return UserType(id, std::move(text));
}

void Dialog::UserMouseDown(int x, int y) {
  Guarded([&] { Dispatch({EventKind::kMouseDown, 0, x, y}); });
}

void Dialog::UserOk() {
  Guarded([this] { OnOK(); });
}
void Dialog::UserCancel() {
  Guarded([this] { OnCancel(); });
}

void Dialog::Paint(Canvas& canvas) {
  Guarded([&] { OnPaint(canvas); });
}

void Dialog::InvalidateRect(const PixelRect& rect) {
  ++repaintRequests_;
  if (!repaintRect_) {
    repaintRect_ = rect;
    return;
  }
  PixelRect& all = *repaintRect_;
  all = {std::min(all.left, rect.left), std::min(all.top, rect.top),
         std::max(all.right, rect.right), std::max(all.bottom, rect.bottom)};
}

std::optional<PixelRect> Dialog::TakeRepaintRect() {
  std::optional<PixelRect> rect = repaintAll_ ? std::nullopt : repaintRect_;
  repaintAll_ = false;
  repaintRect_.reset();
  return rect;
}

bool Dialog::Poll() {
  bool changed = false;
  Guarded([&] { changed = OnPoll(); });
  return changed;
}

bool Dialog::WaitLoaded(std::chrono::milliseconds limit) {
  bool loaded = false;
  Guarded([&] { loaded = OnWaitLoaded(limit); });
  return loaded;
}

void Dialog::FocusItem(int id) {
  Control* control = FindControl(id);
  if (!control || !control->Visible() || !control->Enabled()) return;
  focused_ = id;
  focusRequest_ = id;
}

void Dialog::Generate() {
  Guarded([this] { OnGenerate(); });
}

void Dialog::WatchBuild(std::unique_ptr<BuildRun> run, int statusId) {
  // A run still going keeps going: its outcome is simply no longer shown.
  run_ = std::move(run);
  runStatusId_ = statusId;
  SetItemText(statusId, kStatusBuilding);
  Invalidate();
  // A builder that could not even start has its outcome at once.
  PollBuild();
}

void Dialog::ShowBuildOutcome(const BuildOutcome& outcome) {
  lastOutcome_ = outcome;
  if (outcome.written) {
    // The status line names the block and its folder; the pointer resting
    // on it shows the whole path of the file.
    const std::filesystem::path folder = Info().Root() / "blocks";
    SetItemText(runStatusId_, PlacedStatus(outcome.blockName, folder));
    Item(runStatusId_).SetToolTip((folder / (outcome.blockName + ".dxf")).string());
  } else {
    SetItemText(runStatusId_, kStatusNotBuilt);
    MessageBox("ブロック " + outcome.blockName + " を作成できませんでした。\n" + outcome.reason,
               "確認");
  }
  Invalidate();
}

void Dialog::PollBuild() {
  if (!run_) return;
  Guarded([this] {
    std::optional<BuildOutcome> outcome = run_->Poll();
    if (!outcome) return;
    run_.reset();
    ShowBuildOutcome(*outcome);
  });
}

void Dialog::WaitForBuild() {
  if (!run_) return;
  Guarded([this] {
    BuildOutcome outcome = run_->Wait();
    run_.reset();
    ShowBuildOutcome(outcome);
  });
}

}  // namespace tavelin::ui
