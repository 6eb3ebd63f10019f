#include "qt/widget_factory.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "qt/dialog_window.hpp"
#include "qt/group_frame.hpp"
#include "qt/list_rows.hpp"
#include "qt/table_widget.hpp"

namespace tavelin::qt {
namespace {

using ui::ControlKind;

Qt::Alignment HorizontalAlignment(ui::TextAlign align) {
  switch (align) {
    case ui::TextAlign::kCentre:
      return Qt::AlignHCenter;
    case ui::TextAlign::kRight:
      return Qt::AlignRight;
    case ui::TextAlign::kLeft:
      break;
  }
  return Qt::AlignLeft;
}

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace

QWidget* CreateControlWidget(DialogWindow& window, ui::Control& control, const QFont& font) {
  DialogWindow* const self = &window;
  const ui::ControlDefinition& definition = control.Definition();
  const int id = control.Id();
  QWidget* widget = nullptr;
  switch (definition.kind) {
    case ControlKind::kEdit: {
      if (definition.multiline) {
        auto* edit = new QPlainTextEdit(self);
        edit->setReadOnly(definition.readOnly);
        QObject::connect(edit, &QPlainTextEdit::textChanged, self, [self, edit, id] {
          if (!self->Reflecting()) self->Type(id, edit->toPlainText().toStdString());
        });
        widget = edit;
      } else {
        auto* edit = new QLineEdit(self);
        edit->setReadOnly(definition.readOnly);
        edit->setAlignment(HorizontalAlignment(definition.align) | Qt::AlignVCenter);
        QObject::connect(edit, &QLineEdit::textEdited, self,
                         [self, id](const QString& text) { self->Type(id, text.toStdString()); });
        widget = edit;
      }
      if (definition.readOnly) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        widget->setPalette(palette);
      }
      break;
    }
    case ControlKind::kPushButton: {
      auto* button = new QPushButton(self);
      // Enter reaches the dialog, which clicks the focused or the default
      // button itself (keyPressEvent).
      button->setAutoDefault(false);
      button->setDefault(definition.defaultButton);
      QObject::connect(button, &QPushButton::clicked, self, [self, id] { self->Click(id); });
      widget = button;
      break;
    }
    case ControlKind::kRadioButton:
    case ControlKind::kCheckBox: {
      QAbstractButton* button = nullptr;
      if (definition.pushLike) {
        auto* push = new QPushButton(self);
        // Enter on a switch is the dialog's Enter, not a click on the switch.
        push->setAutoDefault(false);
        button = push;
      } else if (definition.kind == ControlKind::kRadioButton) {
        button = new QRadioButton(self);
      } else {
        button = new QCheckBox(self);
      }
      button->setCheckable(true);
      // The model checks and unchecks; the buttons never do it on their own.
      button->setAutoExclusive(false);
      QObject::connect(button, &QAbstractButton::clicked, self, [self, id] { self->Click(id); });
      widget = button;
      break;
    }
    case ControlKind::kComboBox:
    case ControlKind::kComboEdit: {
      auto* combo = new QComboBox(self);
      combo->setEditable(definition.kind == ControlKind::kComboEdit);
      combo->setInsertPolicy(QComboBox::NoInsert);
      // What the user types is what the model gets: no completion.
      if (combo->isEditable()) combo->setCompleter(nullptr);
      const int rowHeight = QFontMetrics(font).height() + 2;
      combo->setMaxVisibleItems(std::max(
          5, (definition.rect.Height() - self->ComboFieldHeight()) / std::max(1, rowHeight)));
      QObject::connect(combo, &QComboBox::activated, self,
                       [self, id](int index) { self->Select(id, index); });
      // A drop-down list whose entry the model takes double-clicks on: a
      // double-click on the closed box is a double-click on its entry.
      if (!combo->isEditable() && self->Model().Handles(ui::EventKind::kDblClick, id)) {
        combo->setProperty("doubleClickable", true);
      }
      if (combo->lineEdit()) {
        QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, self,
                         [self, id](const QString& text) { self->Type(id, text.toStdString()); });
        combo->lineEdit()->installEventFilter(self);
        combo->lineEdit()->setProperty("controlId", id);
      }
      widget = combo;
      break;
    }
    case ControlKind::kListBox: {
      if (definition.table) {
        widget = CreateTableWidget(window, id);
        break;
      }
      auto* list = new QListWidget(self);
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      // A change repaints the rows that moved from pictures kept of them.
      SetUpLongList(*list);
      QObject::connect(list, &QListWidget::currentRowChanged, self, [self, id](int row) {
        if (row >= 0) self->Select(id, row);
      });
      QObject::connect(
          list, &QListWidget::itemDoubleClicked, self,
          [self, id, list](QListWidgetItem* entry) { self->DoubleClick(id, list->row(entry)); });
      widget = list;
      break;
    }
    case ControlKind::kStatic: {
      auto* label = new QLabel(self);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      if (definition.sunken) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
      }
      // One line of text sits in the middle of a low label; taller labels read
      // from the top.
      const int lines =
          static_cast<int>(std::count(definition.text.begin(), definition.text.end(), '\n')) + 1;
      Qt::Alignment vertical =
          definition.rect.Height() < 2 * QFontMetrics(font).height() && lines == 1
              ? Qt::AlignVCenter
              : Qt::AlignTop;
      label->setAlignment(HorizontalAlignment(definition.align) | vertical);
      QPalette palette = label->palette();
      if (definition.background) {
        palette.setColor(QPalette::Window, ToQColor(*definition.background));
        label->setAutoFillBackground(true);
      } else {
        // The dialog's own drawings show through.
        label->setAutoFillBackground(false);
        label->setAttribute(Qt::WA_NoSystemBackground);
      }
      label->setPalette(palette);
      label->setAttribute(Qt::WA_TransparentForMouseEvents);
      widget = label;
      break;
    }
    case ControlKind::kGroupBox: {
      widget = new GroupFrame(self);
      break;
    }
  }
  if (definition.textColour || (definition.background && definition.kind != ControlKind::kStatic)) {
    QPalette palette = widget->palette();
    if (definition.textColour) {
      for (QPalette::ColorRole role :
           {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Active, role, ToQColor(*definition.textColour));
        palette.setColor(QPalette::Inactive, role, ToQColor(*definition.textColour));
      }
    }
    if (definition.background && definition.kind != ControlKind::kStatic) {
      palette.setColor(QPalette::Base, ToQColor(*definition.background));
      palette.setColor(QPalette::Button, ToQColor(*definition.background));
    }
    widget->setPalette(palette);
  }
  widget->setObjectName(QString("control_%1").arg(id));
  widget->setProperty("controlId", id);
  widget->setFont(font);
  if (widget->focusPolicy() != Qt::NoFocus) widget->installEventFilter(self);
  return widget;
}

}  // namespace tavelin::qt
