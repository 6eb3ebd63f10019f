// A dialog model shown as real widgets: one widget per control of its layout,
// placed at the layout's pixel rectangles. The window only translates: every
// user action goes to the model, then the model paints into a recording (drawn
// under the widgets at every repaint) and its whole state is copied back into
// the widgets. The model alone decides which radio is checked, what a check box
// shows and whether the window closes.
#pragma once

#include <QDialog>
#include <QFont>
#include <QPointer>
#include <optional>
#include <string>
#include <vector>

#include "framework/toolkit/dialog.hpp"
#include "qt/qt_canvas.hpp"

class QComboBox;
class QLabel;
class QListWidget;
class QTimer;

namespace tavelin::qt {

class DialogWindow : public QDialog {
 public:
  explicit DialogWindow(ui::Dialog& model, QWidget* parent = nullptr);
  ~DialogWindow() override;

  // Initialises the model, lets it paint once and shows its state. When the
  // model ends during its initialisation the window is done at once.
  void Start();

  ui::Dialog& Model() { return model_; }
  // The widget of control `id`, nullptr when there is none.
  QWidget* Widget(int id) const;
  // The widget of the control at `index` in layout order.
  QWidget* WidgetAt(size_t index) const;
  const QFont& DialogFontUsed() const { return font_; }
  // The model's drawing of its last paint.
  const PaintRecording& Drawing() const { return drawing_; }
  int ModelPaints() const { return modelPaints_; }

  // What the user does, as the widgets report it. Each goes to the model and is
  // followed by the model's paint (typing and focus moves: only when the model
  // asks to be redrawn) and the copy of its state into the widgets. Repaints of
  // the window system draw the model's last drawing again.
  void Click(int id);
  void Select(int id, int index);
  void DoubleClick(int id, int index);
  void Type(int id, const std::string& text);
  void Focus(int id);
  void MouseDown(int x, int y);
  void Ok();
  void Cancel();

  // Lets the model look at the world outside (its poll), then shows what changed.
  void Poll();
  // Waits (bounded) for what the model loads after opening and shows it: for
  // the screenshot tool and tests, never for the desktop window.
  void WaitLoaded();
  // Opens (or raises) the larger preview of the model's preview; false when
  // the model has none. The window is closed with this one.
  bool OpenLargePreview();
  QWidget* LargePreview() const { return largePreview_; }

  // The control that Tab moves to from control `id` (forward or backward):
  // controls in layout order that take the focus, a radio group being one stop
  // at its checked button (else its first). 0 when none.
  int NextTabStop(int id, bool forward) const;
  // The radio of `id`'s group that an arrow key moves to, or 0.
  int NextInRadioGroup(int id, bool forward) const;

  // Copies the model's state (caption, texts, checks, enabled and visible
  // states, entries, selections, rectangles) into the widgets, signals blocked.
  void Reflect();

  // The open window showing `model`, or nullptr.
  static DialogWindow* Of(const ui::Dialog* model);

  // True when `text` in the widget's current font fits the widget's room for
  // text (after the window chose the font size); for tests and checks.
  static bool TextFits(QWidget* widget);

  void accept() override { Ok(); }
  void reject() override { Cancel(); }

  // The model the window shows; true while the window copies its state into
  // the widgets (their change signals are then not the user's).
  const ui::Dialog& Model() const { return model_; }
  bool Reflecting() const { return reflecting_; }
  // The height of a combo box's field, without its dropped-down list.
  int ComboFieldHeight() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Item {
    ui::Control* control = nullptr;
    QWidget* widget = nullptr;
    std::string shownText;  // the text the widget's font size was chosen for
    bool fitted = false;
    std::vector<std::string> shownItems;  // the entries a list widget shows
    // The control's revision of its entries that the list widget shows.
    unsigned long shownRevision = ~0UL;
  };

  void ReflectItem(Item& item);
  void FitFont(Item& item);
  // Applies the control's entry edits since the list widget was last filled
  // to the rows they touch; false when they are not kept or too many.
  bool ApplyItemEdits(Item& item, QListWidget& list);
  // Runs `action` on the model, then lets the model paint (when `paint` is set
  // or the model asked to be redrawn) and reflects its state.
  template <typename Action>
  void Forward(Action&& action, bool paint = true);
  // `part`: the only part of the window whose drawing changed (else all).
  void AfterEvent(bool paint, std::optional<PixelRect> part = std::nullopt);
  void PaintModel();
  void Finish();

  ui::Dialog& model_;
  QFont font_;
  std::vector<Item> items_;
  PaintRecording drawing_;
  int modelPaints_ = 0;
  int busy_ = 0;
  int comboPresses_ = 0;  // presses on double-clickable lists, to tell a double-click
  bool reflecting_ = false;
  bool finished_ = false;
  // Asks the model after a block builder it started, while one runs.
  QTimer* buildPoll_ = nullptr;
  QPointer<QWidget> largePreview_;
};

}  // namespace tavelin::qt
