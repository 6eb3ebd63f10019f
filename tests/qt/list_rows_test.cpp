// A long list set up as the host sets up its lists (rows and scroll bars
// kept as pictures) shows on screen exactly what a plain list shows, step by
// step as rows come and go, the selection and the scroll position change and
// the list is narrowed, disabled or focused; and it does so without drawing
// again the rows that only moved, nor a scroll bar that looks the same.
#include "qt/list_rows.hpp"

#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>
#include <functional>

#include "qt_test_main.hpp"

namespace tavelin::qt {
namespace {

QString Row(int i) {
  QString text = QString::fromUtf8("一般両エルボ W1=%1 R=%2 ").arg(100 + i % 900).arg(i);
  // Every seventh row is too long for the list and ends in "…".
  if (i % 7 == 0) text += QString::fromUtf8("空調標準 ダクト 外形寸法 ").repeated(8);
  return text;
}

// The part of `window` that `widget` covers as it is on screen (the window's
// backing store, not a fresh rendering).
QImage OnScreen(QWidget& window, const QWidget& widget) {
  QApplication::processEvents();
  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(window.winId()).toImage();
  const qreal ratio = screen.devicePixelRatio();
  const QRect r = widget.geometry();
  return screen.copy(QRect(r.topLeft() * ratio, r.size() * ratio));
}

}  // namespace

class ListRowsTest : public QObject {
  Q_OBJECT

 private slots:
  void aLongListShowsWhatAPlainListShows() {
    QWidget window;
    window.resize(620, 300);
    QListWidget kept(&window), plain(&window);
    SetUpLongList(kept);
    plain.setUniformItemSizes(true);
    // The focus (and its frame on the current row) is compared at the end,
    // in each list in turn.
    kept.setFocusPolicy(Qt::NoFocus);
    plain.setFocusPolicy(Qt::NoFocus);
    kept.setGeometry(0, 0, 300, 300);
    plain.setGeometry(310, 0, 300, 300);
    auto* delegate = dynamic_cast<RowPictureDelegate*>(kept.itemDelegate());
    auto* bar = dynamic_cast<PictureScrollBar*>(kept.verticalScrollBar());
    QVERIFY(delegate && bar);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    int serial = 0;
    const struct {
      const char* step;
      std::function<void(QListWidget&)> change;
      // Whether the rows already drawn and the scroll bar are copied, not
      // drawn again.
      bool onlyMoved;
    } steps[] = {
        {"filled", [](QListWidget& l) { for (int i = 0; i < 3000; ++i) l.addItem(Row(i)); }, false},
        {"selected", [](QListWidget& l) { l.setCurrentRow(2); }, false},
        {"one at the top", [&](QListWidget& l) { l.insertItem(0, Row(5000 + serial)); }, true},
        {"one more at the top", [&](QListWidget& l) { l.insertItem(0, Row(6000 + serial)); }, true},
        {"the selected removed", [](QListWidget& l) { delete l.takeItem(l.currentRow()); }, false},
        {"scrolled to the middle",
         [](QListWidget& l) { l.verticalScrollBar()->setValue(l.verticalScrollBar()->maximum() / 2); },
         false},
        {"one at the top, scrolled", [&](QListWidget& l) { l.insertItem(0, Row(7000 + serial)); },
         false},
        {"scrolled to the end",
         [](QListWidget& l) { l.verticalScrollBar()->setValue(l.verticalScrollBar()->maximum()); },
         false},
        {"one at the end", [&](QListWidget& l) { l.addItem(Row(8000 + serial)); }, false},
        {"the last selected", [](QListWidget& l) { l.setCurrentRow(l.count() - 1); }, false},
        {"narrowed", [](QListWidget& l) { l.resize(220, 300); }, false},
        {"disabled", [](QListWidget& l) { l.setEnabled(false); }, false},
        {"enabled, back at the top",
         [](QListWidget& l) {
           l.setEnabled(true);
           l.scrollToTop();
         },
         false},
        {"most removed",
         [](QListWidget& l) {
           while (l.count() > 3) delete l.takeItem(1);
         },
         false},
    };
    for (const auto& step : steps) {
      const int drawn = delegate->Drawn(), barDrawn = bar->Drawn();
      step.change(kept);
      step.change(plain);
      ++serial;
      QApplication::processEvents();
      QVERIFY2(OnScreen(window, kept) == OnScreen(window, plain), step.step);
      if (step.onlyMoved) {
        QVERIFY2(delegate->Drawn() - drawn <= 1, step.step);  // the new row alone
        QVERIFY2(bar->Drawn() == barDrawn, step.step);
      }
    }
    QVERIFY(delegate->Copied() > 0 && bar->Copied() > 0);
    for (QListWidget* list : {&kept, &plain}) list->setFocusPolicy(Qt::StrongFocus);
    kept.setFocus();
    QApplication::processEvents();
    const QImage keptFocused = OnScreen(window, kept);
    plain.setFocus();
    QApplication::processEvents();
    QVERIFY(plain.hasFocus());
    QCOMPARE(keptFocused, OnScreen(window, plain));
  }
};

}  // namespace tavelin::qt

TAVELIN_QTEST_MAIN(tavelin::qt::ListRowsTest)
#include "list_rows_test.moc"
