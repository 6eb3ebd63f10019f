// A group box drawn the classic way: an etched frame whose top line runs
// through the middle of the title, the title on the dialog face. It takes no
// input and paints nothing else, so the dialog's drawings and the controls it
// frames show through.
#pragma once

#include <QString>
#include <QWidget>

namespace tavelin::qt {

class GroupFrame : public QWidget {
 public:
  explicit GroupFrame(QWidget* parent = nullptr);

  const QString& title() const { return title_; }
  void setTitle(const QString& title);

  // Where the title is drawn, in the frame's coordinates.
  QRect TitleRect() const;
  // Room for the title between the corners of the frame.
  static int TitleRoom(int frameWidth) { return frameWidth - 2 * kTitleIndent; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static constexpr int kTitleIndent = 8;
  QString title_;
};

}  // namespace tavelin::qt
