// The window as drafters drive it from the keyboard (a radio group is one Tab
// stop, the arrow keys move within it, a refused value takes the focus back),
// the larger preview and pens that stay visible at 200 %.
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QtTest>
#include <memory>

#include "app/block_browser_dialog.hpp"
#include "app/dialog_registry.hpp"
#include "app/main_dialog.hpp"
#include "attributes/duct_attr_dialog.hpp"
#include "duct/erbo_dialog.hpp"
#include "duct/flex_dialog.hpp"
#include "framework/preview.hpp"
#include "framework/record_list.hpp"
#include "qt/dialog_window.hpp"
#include "qt/preview_window.hpp"
#include "qt/qt_canvas.hpp"
#include "qt/qt_ui_host.hpp"
#include "qt_test_main.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin::qt {

class DesktopTest : public QObject {
  Q_OBJECT

  std::unique_ptr<testing::TestApp> test;
  QtUiHost host;
  int messages = 0;

  static int FocusedId(DialogWindow&) {
    QWidget* focus = QApplication::focusWidget();
    while (focus && !focus->property("controlId").isValid()) focus = focus->parentWidget();
    return focus ? focus->property("controlId").toInt() : 0;
  }

 private slots:
  void init() {
    test = std::make_unique<testing::TestApp>();
    messages = 0;
    host.runMessageBox = [this](QMessageBox&) { ++messages; };
    test->App().ui = &host;
  }
  void cleanup() {
    host.runWindow = nullptr;
    test.reset();
  }

  void tabStopsOnceInEachRadioGroupAndArrowsMoveWithinIt() {
    auto dialog = CreateDialog("MainDialog", test->App());
    DialogWindow window(*dialog);
    window.Start();
    window.show();
    QApplication::setActiveWindow(&window);
    // The fitting buttons are one stop, at their first since none is checked;
    // then the two pipe buttons, the switches at the checked one, and so on.
    QCOMPARE(window.NextTabStop(1013, true), 1000);
    QCOMPARE(window.NextTabStop(1020, true), 1000);  // from any fitting button
    int active = 0;
    for (int id = 1386; id <= 1391; ++id) {
      if (dialog->FindControl(id)->Checked()) active = id;
    }
    QVERIFY(active != 0);
    QCOMPARE(window.NextTabStop(1001, true), active);
    QCOMPARE(window.NextTabStop(1391, false), 1001);  // any switch belongs to the stop
    QCOMPARE(window.NextTabStop(1000, false), 1013);
    QCOMPARE(window.NextTabStop(active, true), 1002);
    window.Widget(1001)->setFocus();
    QTest::keyClick(window.Widget(1001), Qt::Key_Tab);
    QCOMPARE(FocusedId(window), active);
    QTest::keyClick(window.Widget(active), Qt::Key_Tab);
    QCOMPARE(FocusedId(window), 1002);
    QTest::keyClick(window.Widget(1002), Qt::Key_Backtab);
    QCOMPARE(FocusedId(window), active);
    QCOMPARE(window.NextTabStop(1002, true), 1392);
    QCOMPARE(window.NextTabStop(2, true), MainDialog::kBlockBrowser);
    QCOMPARE(window.NextTabStop(MainDialog::kBlockBrowser, true), 1013);  // round again

    window.Click(1388);
    QCOMPARE(window.NextTabStop(1001, true), 1388);  // the checked switch is the stop
    window.Widget(1001)->setFocus();
    QTest::keyClick(window.Widget(1001), Qt::Key_Tab);
    QCOMPARE(FocusedId(window), 1388);
    // Arrows move the focus among push-like switches without pressing them.
    QTest::keyClick(window.Widget(1388), Qt::Key_Down);
    QCOMPARE(FocusedId(window), 1389);
    QTest::keyClick(window.Widget(1389), Qt::Key_Up);
    QTest::keyClick(window.Widget(1388), Qt::Key_Up);
    QCOMPARE(FocusedId(window), 1387);
    QVERIFY(dialog->FindControl(1388)->Checked());
    QCOMPARE(test->Lines("Sentaku.ini").at(0), std::string("3"));
    QTest::keyClick(window.Widget(1387), Qt::Key_Up);
    QTest::keyClick(window.Widget(1386), Qt::Key_Up);  // wraps within the group
    QCOMPARE(FocusedId(window), 1391);
  }

  void arrowsCheckAClassicRadioAndRebuild() {
    ErboDialog dialog(test->App());
    DialogWindow window(dialog);
    window.Start();
    window.show();
    QApplication::setActiveWindow(&window);
    window.Click(ErboDialog::kBaseOuter);
    const std::vector<std::string> before = dialog.Records().Records();
    window.Widget(ErboDialog::kBaseOuter)->setFocus();
    QTest::keyClick(window.Widget(ErboDialog::kBaseOuter), Qt::Key_Down);
    QCOMPARE(FocusedId(window), ErboDialog::kBaseCentre);
    QVERIFY(dialog.FindControl(ErboDialog::kBaseCentre)->Checked());
    QVERIFY(!dialog.FindControl(ErboDialog::kBaseOuter)->Checked());
    // Tab leaves the base-point group for the radius group, at its checked radio.
    const int radius = dialog.FindControl(ErboDialog::kFullRadius)->Checked()
                           ? ErboDialog::kFullRadius
                           : ErboDialog::kHalfRadius;
    QCOMPARE(window.NextTabStop(ErboDialog::kBaseInner, true), radius);
    QVERIFY(dialog.Records().Records() != before);  // the base point moved
  }

  void aRefusedValueTakesTheFocusWithItsTextSelected() {
    DuctAttrDialog dialog(test->App());
    DialogWindow window(dialog);
    window.Start();
    window.show();
    QApplication::setActiveWindow(&window);
    const int field = DuctAttrDialog::TypeColourId(3, 2);
    window.Type(field, "12-7");
    window.Widget(DuctAttrDialog::kHatchingWidth)->setFocus();
    // A real modal box, closed by the user a moment later: the window gets
    // its focus back after it, and that focus is the field at fault.
    host.runMessageBox = [this](QMessageBox& box) {
      ++messages;
      QTimer::singleShot(50, &box, [&box] { box.accept(); });
      box.exec();
    };
    window.Cancel();  // closing saves; the value is refused
    QApplication::processEvents();
    QCOMPARE(messages, 1);
    QVERIFY(!dialog.Ended());
    QCOMPARE(FocusedId(window), field);
    auto* edit = qobject_cast<QLineEdit*>(window.Widget(field));
    QCOMPARE(edit->selectedText(), QString("12-7"));
  }

  void aGeneratorRefusalSelectsTheListFieldSoTypingReplacesIt() {
    FlexDialog dialog(test->App());
    DialogWindow window(dialog);
    window.Start();
    window.show();
    QApplication::setActiveWindow(&window);
    window.Type(FlexDialog::kAngle, "120");
    window.Type(FlexDialog::kLength, "600");  // needs 741 with A 500
    host.runMessageBox = [this](QMessageBox& box) {
      ++messages;
      QTimer::singleShot(50, &box, [&box] { box.accept(); });
      box.exec();
    };
    window.Click(FlexDialog::kUpdate);
    QApplication::processEvents();
    QCOMPARE(messages, 1);
    QCOMPARE(FocusedId(window), FlexDialog::kLength);
    auto* combo = qobject_cast<QComboBox*>(window.Widget(FlexDialog::kLength));
    QVERIFY(combo && combo->lineEdit());
    QCOMPARE(combo->lineEdit()->selectedText(), QString("600"));
    // The next value replaces the refused one instead of extending it.
    QTest::keyClicks(combo->lineEdit(), "800");
    QCOMPARE(dialog.FindControl(FlexDialog::kLength)->Text(), std::string("800"));
  }

  void doubleClickOpensTheLargerPreviewWhichZoomsAboutTheMouse() {
    ErboDialog dialog(test->App());
    DialogWindow window(dialog);
    window.Start();
    window.show();
    const PixelRect preview = dialog.FindControl(ErboDialog::kPreview)->Rect();
    QTest::mouseDClick(&window, Qt::LeftButton, {}, QPoint(preview.left + 5, preview.top + 5));
    auto* large = static_cast<PreviewWindow*>(window.LargePreview());
    QVERIFY(large && large->isVisible());
    QVERIFY(large->isWindow());
    large->resize(600, 400);

    // The drawing fills the window: its outermost dark pixels reach near the
    // edges of the shorter side, and it follows a resize.
    auto drawn = [&](QImage image) {
      QRect box;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
          if (qGray(image.pixel(x, y)) < 200) box |= QRect(x, y, 1, 1);
      return box;
    };
    QRect box = drawn(large->grab().toImage());
    QVERIFY2(box.height() > 0.85 * 400 || box.width() > 0.85 * 600,
             qPrintable(QString("%1x%2").arg(box.width()).arg(box.height())));
    QVERIFY(QRect(0, 0, 600, 400).contains(box));

    // Zooming about a point keeps the drawing under it in place.
    const QPointF at(150, 100);
    const QPointF centre(300, 200);
    const QPointF world = (at - centre - large->Pan()) / large->Zoom();
    large->ZoomAt(at, 2.0);
    QCOMPARE(large->Zoom(), 2.0);
    const QPointF again = (at - centre - large->Pan()) / large->Zoom();
    QVERIFY(qAbs(again.x() - world.x()) < 1e-9 && qAbs(again.y() - world.y()) < 1e-9);
    large->Fit();
    QCOMPARE(large->Zoom(), 1.0);

    // A rebuild of the dialog shows in the larger preview too.
    dialog.UserSetText(ErboDialog::kInletWidth, "900");
    window.Click(ErboDialog::kUpdate);
    QVERIFY(drawn(large->grab().toImage()) != box);
  }

  void theBrowserReopensAnElbowBlockInTheElbowWindow() {
    // A block made as the program makes it: the elbow dialog's hand-off,
    // then the block builder.
    test->Write("Command.ini", {"4"});
    {
      ErboDialog elbow(test->App());
      elbow.Initialize();
      elbow.UserSetText(ErboDialog::kInletWidth, "700");
      elbow.UserClick(ErboDialog::kUpdate);
    }
    QProcess builder;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TAVELIN_ROOT", QString::fromStdString(test->Root().string()));
    builder.setProcessEnvironment(env);
    builder.start(QString::fromStdString((testing::BinDir() / "tavelin-blockbuilder").string()), {});
    QVERIFY(builder.waitForFinished(20000));
    QCOMPARE(builder.exitCode(), 0);
    test->Write("Erbo.ini", {"400"});  // the drafter has moved on

    InstallDialogFactory(test->App());
    QString reopened;
    QString width;
    host.runWindow = [&](DialogWindow& window) {
      if (dynamic_cast<ErboDialog*>(&window.Model())) {
        reopened = window.windowTitle();
        width = qobject_cast<QLineEdit*>(window.Widget(ErboDialog::kInletWidth))->text();
        window.Cancel();
        return;
      }
      QCOMPARE(window.windowTitle(), QString("ブロック一覧"));
      window.WaitLoaded();
      window.Select(BlockBrowserDialog::kList, 0);
      QTest::keyClick(&window, Qt::Key_Return);  // Enter: the default button, 再編集
      window.Cancel();
    };
    std::unique_ptr<ui::Dialog> browser = CreateDialog("BlockBrowserDialog", test->App());
    host.RunModal(*browser);
    QCOMPARE(reopened, QString("エルボ：一般両エルボ"));
    QCOMPARE(width, QString("700"));
  }

  void pensAreTwoDevicePixelsWideAt200Percent() {
    for (qreal ratio : {1.0, 2.0}) {
      QImage image(100 * ratio, 50 * ratio, QImage::Format_RGB32);
      image.setDevicePixelRatio(ratio);
      image.fill(Qt::white);
      {
        QPainter painter(&image);
        QtCanvas canvas(painter, QFont());
        canvas.SelectPen(pens::kBlack);
        canvas.MoveTo(10, 20);
        canvas.LineTo(90, 20);
      }
      int dark = 0;
      for (int y = 0; y < image.height(); ++y) dark += qGray(image.pixel(50 * ratio, y)) < 128;
      QCOMPARE(dark, static_cast<int>(ratio));
    }
  }
};

}  // namespace tavelin::qt

TAVELIN_QTEST_MAIN(tavelin::qt::DesktopTest)
#include "desktop_test.moc"
