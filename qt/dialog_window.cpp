#include "qt/table_widget.hpp"
#include "qt/dialog_window.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <algorithm>
#include <exception>

#include "framework/toolkit/keyboard_navigation.hpp"
#include "qt/appearance.hpp"
#include "qt/font_fitting.hpp"
#include "qt/group_frame.hpp"
#include "qt/preview_window.hpp"
#include "qt/widget_factory.hpp"

namespace tavelin::qt {
namespace {

using ui::ControlKind;

std::vector<DialogWindow*>& OpenWindows() {
  static std::vector<DialogWindow*> windows;
  return windows;
}

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

// A label shows "&x" as "x" (the mnemonic mark) and "&&" as "&", like the
// dialog's buttons do.
QString WithoutMnemonics(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

QRect ToQRect(const PixelRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// The whole text of an edit, or of a list's edit field, selected: what the
// user types next replaces it.
void SelectAllText(QWidget* widget) {
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->selectAll();
  } else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit()) {
    combo->lineEdit()->selectAll();
  }
}

}  // namespace

DialogWindow::DialogWindow(ui::Dialog& model, QWidget* parent)
    : QDialog(parent), model_(model), font_(DialogFont(model.GetLayout())) {
  OpenWindows().push_back(this);
  Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;
  if (!parent) flags |= Qt::WindowMinimizeButtonHint;
  setWindowFlags(flags);
  setWindowIcon(AppIcon());
  setFont(font_);
  setFixedSize(model.GetLayout().width, model.GetLayout().height);
  setWindowTitle(FromUtf8(model.Caption()));
  setObjectName("dialog");
  buildPoll_ = new QTimer(this);
  buildPoll_->setInterval(100);
  connect(buildPoll_, &QTimer::timeout, this, [this] {
    if (busy_ > 0) return;  // a message box of the model is open; ask later
    Forward([this] { model_.PollBuild(); }, false);
    if (!model_.BuildRunning()) buildPoll_->stop();
  });

  // Later widgets lie above earlier ones: the frames of group boxes, created
  // first, stay under the buttons they hold.
  items_.reserve(model.Controls().size());
  for (const auto& control : model.Controls()) {
    Item item;
    item.control = control.get();
    item.widget = CreateControlWidget(*this, *control, font_);
    items_.push_back(std::move(item));
  }
  Reflect();
}

DialogWindow::~DialogWindow() {
  std::erase(OpenWindows(), this);
  // The widgets go while this window can still ignore what they report.
  finished_ = true;
  // Nor are their events filtered any more: a widget being destroyed is no
  // longer the combo box or edit field the filter takes it for.
  for (Item& item : items_) {
    item.widget->removeEventFilter(this);
    if (auto* combo = qobject_cast<QComboBox*>(item.widget); combo && combo->lineEdit()) {
      combo->lineEdit()->removeEventFilter(this);
    }
  }
  for (Item& item : items_) {
    item.widget->blockSignals(true);
    delete item.widget;
  }
  items_.clear();
}

DialogWindow* DialogWindow::Of(const ui::Dialog* model) {
  for (DialogWindow* window : OpenWindows()) {
    if (&window->model_ == model) return window;
  }
  return nullptr;
}

QWidget* DialogWindow::Widget(int id) const {
  if (id == ui::kIdStatic) return nullptr;
  for (const Item& item : items_) {
    if (item.control->Id() == id) return item.widget;
  }
  return nullptr;
}

QWidget* DialogWindow::WidgetAt(size_t index) const {
  return index < items_.size() ? items_[index].widget : nullptr;
}

int DialogWindow::ComboFieldHeight() const {
  return std::max(ui::DialogUnitsToPixelsY(12), QFontMetrics(font_).height() + 6);
}

void DialogWindow::Start() {
  Forward([this] { model_.Initialize(); }, true);
}

template <typename Action>
void DialogWindow::Forward(Action&& action, bool paint) {
  if (finished_ || model_.Ended()) return;
  const int requests = model_.RepaintRequests();
  ++busy_;
  try {
    action();
  } catch (const std::exception& error) {
    // The model reports its own failures; anything else must not cross Qt.
    qWarning("tavelin: %s", error.what());
  }
  --busy_;
  const bool requested = model_.RepaintRequests() != requests;
  // A redraw the model asked for in one rectangle only updates that part of
  // the window; the widgets update themselves as their state is copied.
  const std::optional<PixelRect> part = model_.TakeRepaintRect();
  AfterEvent(paint || requested, paint ? std::nullopt : part);
}

void DialogWindow::AfterEvent(bool paint, std::optional<PixelRect> part) {
  if (paint && !model_.Ended()) PaintModel();
  Reflect();
  if (model_.BuildRunning() && !buildPoll_->isActive()) buildPoll_->start();
  if (model_.Ended()) {
    Finish();
    return;
  }
  // A refused value: the focus goes to its field, the text selected. The
  // message box that said so has just closed; the window takes the focus
  // back (and keeps it on the field) once it is active again.
  if (int id = model_.TakeFocusRequest()) {
    if (QPointer<QWidget> widget = Widget(id)) {
      auto focus = [widget] {
        if (!widget) return;
        widget->setFocus(Qt::OtherFocusReason);
        SelectAllText(widget.data());
      };
      focus();
      if (isVisible() && !isActiveWindow()) activateWindow();
      QTimer::singleShot(0, this, focus);
    }
  }
  if (!paint) return;
  if (largePreview_) largePreview_->update();
  if (part) {
    update(ToQRect(*part));
  } else {
    update();
  }
}

void DialogWindow::WaitLoaded() {
  Forward([&] { model_.WaitLoaded(); }, true);
}

void DialogWindow::Poll() {
  // Not while one of the model's handlers runs (a dialog it opened is up).
  if (busy_ > 0) return;
  Forward([&] { model_.Poll(); }, false);
}

bool DialogWindow::OpenLargePreview() {
  const RecordList* records = model_.PreviewRecords();
  if (!records) return false;
  if (!largePreview_) {
    largePreview_ = new PreviewWindow(*records, "拡大プレビュー：" + windowTitle(), this);
  }
  largePreview_->show();
  largePreview_->raise();
  largePreview_->activateWindow();
  return true;
}

int DialogWindow::NextTabStop(int id, bool forward) const {
  return ui::NextTabStop(model_.Controls(), id, forward);
}

int DialogWindow::NextInRadioGroup(int id, bool forward) const {
  return ui::NextInRadioGroup(model_.Controls(), id, forward);
}

bool DialogWindow::focusNextPrevChild(bool next) {
  int from = 0;
  for (const Item& item : items_) {
    if (item.widget->hasFocus() || item.widget->isAncestorOf(QApplication::focusWidget())) {
      from = item.control->Id();
    }
  }
  const int to = NextTabStop(from, next);
  QWidget* widget = to ? Widget(to) : nullptr;
  if (!widget) return QDialog::focusNextPrevChild(next);
  widget->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  SelectAllText(widget);
  return true;
}

void DialogWindow::PaintModel() {
  drawing_.Clear();
  ++modelPaints_;
  ++busy_;
  model_.Paint(drawing_);
  --busy_;
}

void DialogWindow::Finish() {
  if (finished_) return;
  finished_ = true;
  QDialog::done(model_.Result());
}

void DialogWindow::Click(int id) {
  Forward([&] { model_.UserClick(id); });
}
void DialogWindow::Select(int id, int index) {
  Forward([&] { model_.UserSelect(id, index); });
}
void DialogWindow::DoubleClick(int id, int index) {
  Forward([&] { model_.UserDoubleClick(id, index); });
}
// Typing and focus moves repaint only when the model asks for it: the classic
// edit does not redraw the dialog, and a check the model runs while painting
// must not interrupt every keystroke.
void DialogWindow::Type(int id, const std::string& text) {
  Forward([&] { model_.UserType(id, text); }, false);
}
void DialogWindow::Focus(int id) {
  if (model_.FocusedId() == id) return;
  Forward([&] { model_.UserFocus(id); }, false);
}
void DialogWindow::MouseDown(int x, int y) {
  Forward([&] { model_.UserMouseDown(x, y); });
}
void DialogWindow::Ok() {
  Forward([&] { model_.UserOk(); });
}
void DialogWindow::Cancel() {
  Forward([&] { model_.UserCancel(); });
}

void DialogWindow::Reflect() {
  reflecting_ = true;
  const QString caption = FromUtf8(model_.Caption());
  if (windowTitle() != caption) setWindowTitle(caption);
  for (Item& item : items_) ReflectItem(item);
  reflecting_ = false;
}

void DialogWindow::ReflectItem(Item& item) {
  const ui::Control& control = *item.control;
  QWidget* widget = item.widget;
  QSignalBlocker blocker(widget);
  const QString text = FromUtf8(control.Text());

  QRect rect = ToQRect(control.Rect());
  if (control.Kind() == ControlKind::kComboBox || control.Kind() == ControlKind::kComboEdit) {
    // The layout's height includes the dropped-down list.
    rect.setHeight(std::min(rect.height(), ComboFieldHeight()));
  }
  const bool moved = widget->geometry() != rect;
  if (moved) widget->setGeometry(rect);
  if (widget->isEnabled() != control.Enabled()) widget->setEnabled(control.Enabled());

  switch (control.Kind()) {
    case ControlKind::kEdit:
      if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text() != text) {
          edit->setText(text);
          // A field the user is not in shows the start of its text, as a
          // classic edit control does.
          if (!edit->hasFocus()) edit->setCursorPosition(0);
        }
      } else if (auto* area = qobject_cast<QPlainTextEdit*>(widget)) {
        if (area->toPlainText() != text) area->setPlainText(text);
      }
      break;
    case ControlKind::kPushButton:
    case ControlKind::kRadioButton:
    case ControlKind::kCheckBox: {
      auto* button = static_cast<QAbstractButton*>(widget);
      if (button->text() != text) button->setText(text);
      if (button->isCheckable() && button->isChecked() != control.Checked()) {
        button->setChecked(control.Checked());
      }
      break;
    }
    case ControlKind::kComboBox:
    case ControlKind::kComboEdit: {
      auto* combo = static_cast<QComboBox*>(widget);
      const auto& entries = control.Items();
      bool same = combo->count() == static_cast<int>(entries.size());
      for (int i = 0; same && i < combo->count(); ++i) {
        same = combo->itemText(i) == FromUtf8(entries[static_cast<size_t>(i)]);
      }
      if (!same) {
        combo->clear();
        for (const std::string& entry : entries) combo->addItem(FromUtf8(entry));
      }
      if (combo->currentIndex() != control.CurSel()) combo->setCurrentIndex(control.CurSel());
      if (combo->isEditable() && combo->currentText() != text) combo->setEditText(text);
      break;
    }
    case ControlKind::kListBox: {
      if (control.Definition().table) {
        ReflectTable(widget, control);
        break;
      }
      auto* list = static_cast<QListWidget*>(widget);
      const auto& entries = control.Items();
      if (list->count() != static_cast<int>(item.shownItems.size())) {
        // Not filled by this host: shown anew.
        item.shownItems.clear();
        list->clear();
        item.shownRevision = ~0UL;
      }
      if (item.shownRevision == control.ItemsRevision()) {
        // The entries shown are the control's: nothing to compare.
      } else if (ApplyItemEdits(item, *list)) {
        // A few entries inserted or removed: those rows alone.
      } else if (item.shownItems != entries) {
        // Only the entries between what the old and the new lists share at
        // their start and at their end change: a block written into a list of
        // thousands is one row inserted, not the whole list refilled.
        const std::vector<std::string>& shown = item.shownItems;
        size_t head = 0;
        while (head < shown.size() && head < entries.size() && shown[head] == entries[head]) ++head;
        size_t tail = 0;
        while (tail < shown.size() - head && tail < entries.size() - head &&
               shown[shown.size() - 1 - tail] == entries[entries.size() - 1 - tail]) {
          ++tail;
        }
        const int removed = static_cast<int>(shown.size() - head - tail);
        list->setUpdatesEnabled(false);
        for (int k = 0; k < removed; ++k) delete list->takeItem(static_cast<int>(head));
        QStringList added;
        added.reserve(static_cast<qsizetype>(entries.size() - tail - head));
        for (size_t k = head; k < entries.size() - tail; ++k) added.append(FromUtf8(entries[k]));
        if (head == static_cast<size_t>(list->count())) {
          list->addItems(added);
        } else {
          for (qsizetype k = 0; k < added.size(); ++k) {
            list->insertItem(static_cast<int>(head + static_cast<size_t>(k)), added[k]);
          }
        }
        list->setUpdatesEnabled(true);
        item.shownItems = entries;
      }
      item.shownRevision = control.ItemsRevision();
      if (list->currentRow() != control.CurSel()) {
        list->setCurrentRow(control.CurSel());
        if (control.CurSel() < 0) list->clearSelection();
      }
      break;
    }
    case ControlKind::kStatic: {
      auto* label = static_cast<QLabel*>(widget);
      const QString shown = WithoutMnemonics(text);
      if (label->text() != shown) label->setText(shown);
      break;
    }
    case ControlKind::kGroupBox: {
      auto* group = static_cast<GroupFrame*>(widget);
      const QString shown = WithoutMnemonics(text);
      if (group->title() != shown) group->setTitle(shown);
      break;
    }
  }
  if (moved || !item.fitted || item.shownText != control.Text()) FitFont(item);
  if (const QString tip = QString::fromStdString(control.ToolTip()); widget->toolTip() != tip) {
    widget->setToolTip(tip);
  }
  if (widget->isHidden() == control.Visible()) widget->setVisible(control.Visible());
}

bool DialogWindow::ApplyItemEdits(Item& item, QListWidget& list) {
  // Beyond this many, comparing the entries costs no more.
  constexpr size_t kMostEdits = 64;
  const ui::Control& control = *item.control;
  if (item.shownRevision == ~0UL) return false;
  size_t count = 0;
  const ui::Control::ItemEdit* edits = control.ItemEditsSince(item.shownRevision, count);
  if (!edits || count > kMostEdits) return false;
  std::vector<std::string>& shown = item.shownItems;
  for (size_t k = 0; k < count; ++k) {
    const ui::Control::ItemEdit& edit = edits[k];
    const auto at = static_cast<size_t>(edit.index);
    if (edit.inserted && at <= shown.size()) {
      list.insertItem(edit.index, FromUtf8(edit.text));
      shown.insert(shown.begin() + static_cast<std::ptrdiff_t>(at), edit.text);
    } else if (!edit.inserted && at < shown.size()) {
      delete list.takeItem(edit.index);
      shown.erase(shown.begin() + static_cast<std::ptrdiff_t>(at));
    } else {
      return false;  // not what the widget shows: compared whole instead
    }
  }
  if (shown.size() != control.Items().size()) return false;
  item.shownRevision = control.ItemsRevision();
  return true;
}

void DialogWindow::FitFont(Item& item) {
  item.fitted = true;
  item.shownText = item.control->Text();
  const QSize room = item.control->Rect().Width() > 0
                         ? QSize(item.control->Rect().Width(), item.control->Rect().Height())
                         : item.widget->size();
  const QFont font = FittedFont(item.widget, room, font_);
  if (item.widget->font() != font) item.widget->setFont(font);
}

bool DialogWindow::TextFits(QWidget* widget) { return TextFitsWidget(widget); }

void DialogWindow::paintEvent(QPaintEvent*) {
  // The model's last drawing, under the widgets. The model itself paints after
  // each user action, not on every repaint of the window system.
  QPainter painter(this);
  QtCanvas canvas(painter, font_);
  drawing_.Replay(canvas);
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      Cancel();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      // A focused push button takes Enter; else the default button; else OK.
      for (const Item& item : items_) {
        if (item.widget->hasFocus() && item.control->Kind() == ControlKind::kPushButton) {
          Click(item.control->Id());
          return;
        }
      }
      for (const Item& item : items_) {
        const ui::ControlDefinition& definition = item.control->Definition();
        if (definition.kind == ControlKind::kPushButton && definition.defaultButton) {
          if (item.control->Visible() && item.control->Enabled()) Click(item.control->Id());
          return;
        }
      }
      Ok();
      return;
    }
    default:
      QDialog::keyPressEvent(event);
  }
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  if (finished_ || model_.Ended()) {
    event->accept();
    return;
  }
  // The close box is the cancel action; the model decides whether to close.
  event->ignore();
  Cancel();
}

void DialogWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double-click on the preview opens the larger one.
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    for (const Item& item : items_) {
      const ui::ControlDefinition& definition = item.control->Definition();
      if (definition.kind == ControlKind::kStatic && definition.sunken && item.control->Visible() &&
          item.control->Rect().Contains(at.x(), at.y()) && OpenLargePreview()) {
        return;
      }
    }
  }
  QDialog::mouseDoubleClickEvent(event);
}

void DialogWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const QPoint at = event->position().toPoint();
    MouseDown(at.x(), at.y());
  }
  QDialog::mousePressEvent(event);
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (finished_) return QDialog::eventFilter(watched, event);
  if (auto* combo = qobject_cast<QComboBox*>(watched);
      combo && combo->property("doubleClickable").toBool()) {
    // The list opens only when no second click follows within the
    // double-click time, so the second click is not lost to the open list.
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      const int press = ++comboPresses_;
      combo->setFocus(Qt::MouseFocusReason);
      QPointer<QComboBox> guarded(combo);
      QTimer::singleShot(QApplication::doubleClickInterval(), this, [this, guarded, press] {
        if (guarded && press == comboPresses_ && !finished_) guarded->showPopup();
      });
      return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) return true;
    if (event->type() == QEvent::MouseButtonDblClick) {
      ++comboPresses_;  // the list stays closed
      const int id = combo->property("controlId").toInt();
      if (combo->currentIndex() >= 0) DoubleClick(id, combo->currentIndex());
      return true;
    }
  }
  if (event->type() == QEvent::KeyPress) {
    // The arrow keys move within a radio group; a classic radio is checked
    // as it takes the focus, a push-like switch only takes the focus.
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int id = watched->property("controlId").toInt();
    const ui::Control* control = model_.FindControl(id);
    if (control && control->Kind() == ControlKind::kRadioButton &&
        (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right)) {
      const int to = NextInRadioGroup(id, key == Qt::Key_Down || key == Qt::Key_Right);
      if (QWidget* widget = to ? Widget(to) : nullptr) {
        widget->setFocus(Qt::OtherFocusReason);
        if (!control->Definition().pushLike) Click(to);
      }
      return true;
    }
  }
  if (event->type() == QEvent::FocusIn) {
    const int id = watched->property("controlId").toInt();
    if (id != ui::kIdStatic && id != model_.FocusedId()) {
      if (busy_ > 0 || reflecting_) {
        // Not inside a handler that is still running: after it.
        QTimer::singleShot(0, this, [this, id] { Focus(id); });
      } else {
        Focus(id);
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tavelin::qt
