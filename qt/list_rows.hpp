// What keeps a change of a long list widget from costing the whole visible
// list: rows drawn once and kept as pictures, and scroll bars drawn from the
// picture of their last look while it holds.
#pragma once

#include <QHash>
#include <QListWidget>
#include <QPixmap>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QString>
#include <QStyledItemDelegate>

namespace tavelin::qt {

// Draws each row as the style draws it, once: the picture is kept by the
// row's text, size and state, so that a repaint after rows moved (a line
// inserted at the top shifts every visible row) copies pictures instead of
// laying the text out again. The pictures drawn lately are kept, about two
// screens of rows; anything else that changes a row's look (style, font,
// palette, pixel ratio, alignment) lets them all go.
class RowPictureDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

  // Rows drawn afresh and rows copied from a kept picture, for tests.
  int Drawn() const { return drawn_; }
  int Copied() const { return copied_; }

 private:
  struct Key {
    QString text;
    QSize size;
    int state = 0;
    friend bool operator==(const Key&, const Key&) = default;
    friend size_t qHash(const Key& key, size_t seed = 0) {
      return qHashMulti(seed, key.text, key.size.width(), key.size.height(), key.state);
    }
  };
  // What every row's look shares; the pictures go when it changes.
  struct Look {
    const QStyle* style = nullptr;
    QFont font;
    qint64 palette = 0;
    qreal ratio = 0;
    int direction = 0;
    int alignment = 0;
    int elide = 0;
    int features = 0;
    bool operator==(const Look&) const = default;
  };

  // Two generations: a picture used again moves to the newer one; when the
  // newer one is full, the older is dropped.
  mutable QHash<Key, QPixmap> recent_;
  mutable QHash<Key, QPixmap> older_;
  mutable Look look_;
  mutable int drawn_ = 0;
  mutable int copied_ = 0;
};

// A scroll bar that keeps the picture of its last look: the list lays its
// scroll bars out again at every change of its rows, which repaints them
// whole although the handle mostly stays where it was. Drawn afresh when the
// handle, the range's ends, the size, the state, the style or the palette
// change, and always while the pointer is over it or a button is down.
class PictureScrollBar : public QScrollBar {
 public:
  using QScrollBar::QScrollBar;

  // Paints drawn afresh and paints copied from the kept picture, for tests.
  int Drawn() const { return drawn_; }
  int Copied() const { return copied_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Look {
    const QStyle* style = nullptr;
    int direction = 0;
    QRect rect;
    QRect handle;
    bool atStart = false;
    bool atEnd = false;
    int state = 0;
    qint64 palette = 0;
    qreal ratio = 0;
    bool operator==(const Look&) const = default;
  };

  Look kept_;
  QPixmap picture_;
  int drawn_ = 0;
  int copied_ = 0;
};

// Sets `list` (of one line a row) up for long lists: rows of one size, kept
// as pictures, and scroll bars that keep theirs.
void SetUpLongList(QListWidget& list);

}  // namespace tavelin::qt
