// The base of every dialog model: controls by identifier, built from the
// dialog's layout, and one message map that routes the user's events to the
// dialog's handlers. No window system is involved, so every behaviour can be
// driven headless; the Qt host shows the same model as real widgets.
#pragma once

#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/canvas.hpp"
#include "framework/toolkit/app_context.hpp"
#include "framework/toolkit/control.hpp"
#include "framework/toolkit/layout.hpp"

namespace tavelin {
class RecordList;
}

namespace tavelin::ui {

enum class EventKind {
  kClick,       // button, radio button or check box
  kSelChange,   // combo or list box selection
  kDblClick,    // list entry double-clicked
  kEditChange,  // an edit's text changed
  kSetFocus,    // the input focus entered the control
  kKillFocus,   // the input focus left the control
  kMouseDown,   // a left click in the client area (x, y in pixels)
};

struct Event {
  EventKind kind = EventKind::kClick;
  int id = 0;
  int x = 0;
  int y = 0;
};

// One row of a message map: the event kind, the control (any id for
// kMouseDown) and the handler.
struct MessageEntry {
  MessageEntry(EventKind k, int i, std::function<void()> h)
      : kind(k), id(i), handler([h = std::move(h)](const Event&) { h(); }) {}
  MessageEntry(EventKind k, int i, std::function<void(const Event&)> h)
      : kind(k), id(i), handler(std::move(h)) {}
  EventKind kind;
  int id;
  std::function<void(const Event&)> handler;
};

class Dialog {
 public:
  Dialog(AppContext& app, std::string_view layoutName);
  // A dialog on a layout of its own (which must outlive it).
  Dialog(AppContext& app, const Layout& layout);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // --- Host side: what the window system (or a test) does to the dialog. ---
  // Runs the dialog's initialisation; a file error is reported, not thrown.
  void Initialize();
  // A click on button, radio or check box `id`: auto radios become checked
  // and auto check boxes toggle first. A click on IDOK or IDCANCEL is OK or cancel.
  // Returns false when the control cannot be clicked (unknown, hidden, disabled).
  bool UserClick(int id);
  bool UserSelect(int id, int index);
  bool UserDoubleClick(int id, int index);
  // The focus enters edit `id`, then its text becomes `text`.
  bool UserSetText(int id, std::string text);
  // Text typed into an edit that already has the focus.
  bool UserType(int id, std::string text);
  bool UserFocus(int id);
  void UserMouseDown(int x, int y);
  void UserOk();      // Enter
  void UserCancel();  // Esc, the close box
  void Paint(Canvas& canvas);
  // Lets the model look at the world outside (a folder it lists); true when
  // its state changed. Hosts call it every PollInterval() milliseconds.
  bool Poll();
  virtual int PollInterval() const { return 0; }
  // Waits at most `limit` for what the dialog loads off the window's thread
  // after opening (a folder's first listing) and shows it: for hosts and
  // tests that read the dialog's state right after opening, never for a
  // window. True when nothing is left loading.
  bool WaitLoaded(std::chrono::milliseconds limit = std::chrono::seconds(60));
  // The records the dialog's preview draws, for a larger view; nullptr when
  // the dialog has no preview.
  virtual const RecordList* PreviewRecords() const { return nullptr; }
  // The control the model asked to take the focus with its text selected
  // (an edit whose value was refused), once; 0 when none.
  int TakeFocusRequest() { return std::exchange(focusRequest_, 0); }
  // The headless "generate": a generator whose opening already writes the
  // hand-off files has nothing more to do; one that writes them only on a
  // user's action (the straight duct) writes them here.
  void Generate();

  bool Ended() const { return ended_; }
  int Result() const { return result_; }
  const std::string& Caption() const { return caption_; }
  const Layout& GetLayout() const { return layout_; }
  // Every control in layout order.
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  Control* FindControl(int id);
  int FocusedId() const { return focused_; }
  // Bumped whenever the model asks to be redrawn.
  int RepaintRequests() const { return repaintRequests_; }
  // Where the drawing changed since the last call: the union of the
  // rectangles the model gave (dialog pixels); nothing when it asked for the
  // whole dialog, or did not ask at all. Taking it starts afresh.
  std::optional<PixelRect> TakeRepaintRect();
  // Handlers stopped by a file error or another failure (each was reported).
  int Failures() const { return failures_; }

  // A block builder the dialog started and has not heard back from. The host
  // polls it while it runs (the window never waits for it) and repaints
  // after; the headless host waits for its outcome.
  bool BuildRunning() const { return run_ != nullptr; }
  void PollBuild();
  void WaitForBuild();
  // Watches `run`, a block builder started for this dialog (framework/
  // fitting.hpp starts it): "ブロックを作成しています…" and then its outcome go
  // to control `statusId`. A run still going is no longer watched.
  void WatchBuild(std::unique_ptr<BuildRun> run, int statusId);
  // The outcome of the last builder run that finished.
  const std::optional<BuildOutcome>& LastBuildOutcome() const { return lastOutcome_; }

  // True when the message map has a handler for `kind` on control `id`.
  bool Handles(EventKind kind, int id) const;

  // Sent by a control whose state changed under program control.
  void Notify(EventKind kind, int id);

 protected:
  virtual void OnInitDialog() {}
  virtual void OnPaint(Canvas& canvas) { (void)canvas; }
  // The accept action (Enter, a button with id IDOK); closes by default.
  virtual void OnOK() { EndDialog(kIdOk); }
  // The cancel action (Esc, the close box, IDCANCEL); closes by default.
  virtual void OnCancel() { EndDialog(kIdCancel); }
  virtual void OnGenerate() {}
  virtual bool OnPoll() { return false; }
  virtual bool OnWaitLoaded(std::chrono::milliseconds limit) {
    (void)limit;
    return true;
  }

  // The dialog's message map; call once from the constructor.
  void SetMessageMap(std::initializer_list<MessageEntry> entries);
  // The same from a list a dialog put together (a derived dialog's entries
  // added to its base's).
  void SetMessageMap(std::vector<MessageEntry> entries);

  Control& Item(int id);
  std::string ItemText(int id);
  void SetItemText(int id, std::string text);
  bool IsChecked(int id);
  void SetChecked(int id, bool checked);
  // Checks `id` and unchecks every other radio of its group.
  void CheckRadio(int id);
  // The id of the checked radio among `ids`, or 0.
  int CheckedOf(std::initializer_list<int> ids);
  void EnableItem(int id, bool enabled);
  void ShowItem(int id, bool visible);
  // Moves the focus to control `id` and selects its text, as after a refused value.
  void FocusItem(int id);

  int MessageBox(const std::string& text, const std::string& caption);
  void EndDialog(int result);
  void Invalidate() {
    ++repaintRequests_;
    repaintAll_ = true;
  }
  // Asks to be redrawn where only `rect` (dialog pixels) changes: a window
  // may leave the rest of itself as it is.
  void InvalidateRect(const PixelRect& rect);
  void SetCaption(std::string caption) { caption_ = std::move(caption); }

  // A canvas whose origin is the top-left corner of control `id`; `clip`
  // limits drawing to the control.
  OffsetCanvas ControlCanvas(Canvas& canvas, int id);
  PixelRect ClientRectOf(int id);

  AppContext& App() { return app_; }
  const InfoFolder& Info() const { return app_.info; }

 private:
  void Dispatch(const Event& event);
  void ShowBuildOutcome(const BuildOutcome& outcome);
  // Runs `action`, reporting a file error or any other failure in a message box.
  void Guarded(const std::function<void()>& action);

  AppContext& app_;
  const Layout& layout_;
  std::string caption_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<MessageEntry> messageMap_;
  int focused_ = 0;
  bool ended_ = false;
  int result_ = 0;
  int repaintRequests_ = 0;
  bool repaintAll_ = false;
  std::optional<PixelRect> repaintRect_;
  int failures_ = 0;
  std::unique_ptr<BuildRun> run_;
  int runStatusId_ = 0;
  std::optional<BuildOutcome> lastOutcome_;
  int focusRequest_ = 0;
};

}  // namespace tavelin::ui
