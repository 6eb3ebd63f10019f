// The main dialog and small probe dialogs shown as windows: the widgets match
// the layout and the model, user actions reach the model and its state comes
// back, and the model alone decides about checks and closing.
#include "qt/dialog_window.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>
#include <fstream>
#include <functional>
#include <memory>

#include "app/dialog_registry.hpp"
#include "app/main_dialog.hpp"
#include "app/schedule_dialog.hpp"
#include "qt/group_frame.hpp"
#include "qt/qt_ui_host.hpp"
#include "qt_test_main.hpp"
#include "resources/resources.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin::qt {
namespace {

using ui::ControlKind;

// On the layout "LayerPrefix": the label "工事中", OK (1, the default button)
// and cancel (2). Paints a green block under the label's left end.
class ProbeDialog : public ui::Dialog {
 public:
  explicit ProbeDialog(ui::AppContext& app) : Dialog(app, "LayerPrefix") {
    SetMessageMap({{ui::EventKind::kMouseDown, 0,
                    [this](const ui::Event& e) { downs.push_back(QPoint(e.x, e.y)); }}});
  }
  bool refuseCancel = false;
  bool messageOnPaint = false;
  int cancels = 0;
  int paints = 0;
  std::vector<QPoint> downs;

 protected:
  void OnCancel() override {
    ++cancels;
    if (!refuseCancel) EndDialog(ui::kIdCancel);
  }
  void OnPaint(Canvas& canvas) override {
    ++paints;
    canvas.FillRect({0, 0, 100, 40}, {0, 128, 0});
    if (messageOnPaint) MessageBox("寸法を確認してください。", "確認");
  }
};

// The main dialog with its layer-prefix combo shown and filled.
class MainWithPrefixes : public MainDialog {
 public:
  using MainDialog::MainDialog;

 protected:
  void OnInitDialog() override {
    MainDialog::OnInitDialog();
    ShowItem(1130, true);
    Item(1130).AddString("A-");
    Item(1130).AddString("B-");
  }
};

// Any layout, without handlers.
class BareDialog : public ui::Dialog {
 public:
  BareDialog(ui::AppContext& app, std::string_view layout) : Dialog(app, layout) {}
};

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// The class a control of `kind` must be shown with.
bool ShownAsItsKind(const ui::ControlDefinition& definition, QWidget* widget) {
  switch (definition.kind) {
    case ControlKind::kEdit:
      return definition.multiline ? qobject_cast<QPlainTextEdit*>(widget) != nullptr
                            : qobject_cast<QLineEdit*>(widget) != nullptr;
    case ControlKind::kPushButton:
      return qobject_cast<QPushButton*>(widget) &&
             !static_cast<QPushButton*>(widget)->isCheckable();
    case ControlKind::kRadioButton:
      return definition.pushLike ? qobject_cast<QPushButton*>(widget) != nullptr
                           : qobject_cast<QRadioButton*>(widget) != nullptr;
    case ControlKind::kCheckBox:
      return definition.pushLike ? qobject_cast<QPushButton*>(widget) != nullptr
                           : qobject_cast<QCheckBox*>(widget) != nullptr;
    case ControlKind::kComboBox:
      return qobject_cast<QComboBox*>(widget) && !static_cast<QComboBox*>(widget)->isEditable();
    case ControlKind::kComboEdit:
      return qobject_cast<QComboBox*>(widget) && static_cast<QComboBox*>(widget)->isEditable();
    case ControlKind::kListBox:
      return definition.table ? qobject_cast<QTableWidget*>(widget) != nullptr
                              : qobject_cast<QListWidget*>(widget) != nullptr;
    case ControlKind::kStatic:
      return qobject_cast<QLabel*>(widget) != nullptr;
    case ControlKind::kGroupBox:
      return dynamic_cast<GroupFrame*>(widget) != nullptr;
  }
  return false;
}

bool Checked(QWidget* widget) { return static_cast<QAbstractButton*>(widget)->isChecked(); }

}  // namespace

class DialogWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<testing::TestApp> test;
  QtUiHost host;
  std::vector<std::pair<QString, QString>> messages;  // caption, text

  std::unique_ptr<ui::Dialog> Create(const char* className) {
    return CreateDialog(className, test->App());
  }

 private slots:
  void init() {
    test = std::make_unique<testing::TestApp>();
    messages.clear();
    host.runMessageBox = [this](QMessageBox& box) {
      messages.emplace_back(box.windowTitle(), box.text());
    };
    host.runWindow = nullptr;
    test->App().ui = &host;
  }

  void cleanup() { test.reset(); }

  void theMainDialogShowsItsLayoutAndItsState() {
    auto dialog = Create("MainDialog");
    DialogWindow window(*dialog);
    window.Start();
    window.show();
    QCOMPARE(window.windowTitle(), Text(ui::kProductTitle));
    QCOMPARE(window.size(), QSize(dialog->GetLayout().width, dialog->GetLayout().height));

    const auto& controls = dialog->Controls();
    for (size_t i = 0; i < controls.size(); ++i) {
      const ui::Control& control = *controls[i];
      QWidget* widget = window.WidgetAt(i);
      const QString where = QString("control %1 (%2)").arg(control.Id()).arg(i);
      QVERIFY2(ShownAsItsKind(control.Definition(), widget), qPrintable(where));
      QCOMPARE(widget->isHidden(), !control.Visible());
      const PixelRect& r = control.Rect();
      QCOMPARE(widget->x(), r.left);
      QCOMPARE(widget->y(), r.top);
      QCOMPARE(widget->width(), r.Width());
      if (control.Visible()) QVERIFY2(DialogWindow::TextFits(widget), qPrintable(where));
    }

    auto* straight = qobject_cast<QPushButton*>(window.Widget(1013));
    QCOMPARE(straight->text(), Text("直管作図"));
    QVERIFY(straight->isCheckable());
    QVERIFY(!straight->autoExclusive());
    QVERIFY(window.Widget(1015)->isHidden());
    QVERIFY(window.Widget(1128)->isHidden());
    QVERIFY(window.Widget(1130)->isHidden());

    // The switches carry the memo texts; the stored set is the checked one.
    const auto memos = test->Lines("Memo.ini");
    for (int s = 0; s < 6; ++s) {
      auto* button = qobject_cast<QAbstractButton*>(window.Widget(MainDialog::kFirstSwitch + s));
      QCOMPARE(button->text(), QString::fromStdString(memos[s]));
      QCOMPARE(button->isChecked(), s == 0);
    }
    QVERIFY(!Checked(window.Widget(MainDialog::kByLayer)));

    auto* status = qobject_cast<QLabel*>(window.Widget(MainDialog::kStatusLine));
    QCOMPARE(status->text(),
             QString::fromStdString("属性は【" + memos[0] + "】が選択されています。"));
    QVERIFY(status->autoFillBackground());
    QCOMPARE(status->palette().color(QPalette::WindowText), QColor(50, 50, 255));
    QCOMPARE(status->palette().color(QPalette::Window), QColor(192, 192, 192));
    // Other labels let the dialog's drawings show through.
    QLabel* version = nullptr;
    for (QLabel* label : window.findChildren<QLabel*>()) {
      if (label->text() == Text("Ver1.7")) version = label;
    }
    QVERIFY(version);
    QVERIFY(!version->autoFillBackground());
    QVERIFY(messages.empty());
  }

  void aSwitchClickGoesThroughTheModelAndComesBack() {
    auto dialog = Create("MainDialog");
    DialogWindow window(*dialog);
    window.Start();
    window.show();
    QTest::mouseClick(window.Widget(1389), Qt::LeftButton);
    QVERIFY(dialog->FindControl(1389)->Checked());
    QVERIFY(Checked(window.Widget(1389)));
    QVERIFY(!dialog->FindControl(1386)->Checked());
    QVERIFY(!Checked(window.Widget(1386)));
    QCOMPARE(test->Lines("Sentaku.ini"), std::vector<std::string>{"4"});
    const auto memos = test->Lines("Memo.ini");
    QCOMPARE(qobject_cast<QLabel*>(window.Widget(MainDialog::kStatusLine))->text(),
             QString::fromStdString("属性は【" + memos[3] + "】が選択されています。"));

    // A second click on the checked switch leaves it checked: the model, not
    // the button, decides.
    QTest::mouseClick(window.Widget(1389), Qt::LeftButton);
    QVERIFY(Checked(window.Widget(1389)));
    QVERIFY(dialog->FindControl(1389)->Checked());

    // The check box shows what the model wrote, both ways.
    QTest::mouseClick(window.Widget(MainDialog::kByLayer), Qt::LeftButton);
    QVERIFY(Checked(window.Widget(MainDialog::kByLayer)));
    QCOMPARE(test->Lines("ByLayer.ini"), std::vector<std::string>{"1"});
    QTest::mouseClick(window.Widget(MainDialog::kByLayer), Qt::LeftButton);
    QVERIFY(!Checked(window.Widget(MainDialog::kByLayer)));
    QCOMPARE(test->Lines("ByLayer.ini"), std::vector<std::string>{"0"});
    QVERIFY(messages.empty());
  }

  void aButtonOpensItsDialogModallyOverTheMainWindow() {
    auto dialog = Create("MainDialog");
    DialogWindow window(*dialog);
    window.setWindowModality(Qt::ApplicationModal);
    window.Start();
    dialog->FindControl(1128)->Show(true);
    window.Reflect();
    window.show();

    QString childCaption;
    QWidget* childParent = nullptr;
    bool childShownWhileOpen = false;
    host.runWindow = [&](DialogWindow& child) {
      childCaption = child.windowTitle();
      childParent = child.parentWidget();
      child.show();
      childShownWhileOpen = child.isVisible();
      QTest::mouseClick(child.Widget(ui::kIdCancel), Qt::LeftButton);
    };
    QTest::mouseClick(window.Widget(1128), Qt::LeftButton);
    QCOMPARE(childCaption, Text("レイヤ付加文字登録"));
    QCOMPARE(childParent, static_cast<QWidget*>(&window));
    QVERIFY(childShownWhileOpen);
    QVERIFY(window.isVisible());
    QVERIFY(!dialog->Ended());

    // A fitting button records its code, stays pressed and opens its dialog.
    childCaption.clear();
    host.runWindow = [&](DialogWindow& child) {
      childCaption = child.windowTitle();
      child.Cancel();
      QVERIFY(child.Model().Ended());
    };
    QTest::mouseClick(window.Widget(1005), Qt::LeftButton);
    QVERIFY(!childCaption.isEmpty());
    QCOMPARE(test->Lines("Command.ini"), std::vector<std::string>{"4"});
    QVERIFY(Checked(window.Widget(1005)));
    QVERIFY(!Checked(window.Widget(1013)));
  }

  void escapeEnterAndTheCloseBoxLeaveTheDecisionToTheModel() {
    ProbeDialog probe(test->App());
    probe.refuseCancel = true;
    DialogWindow window(probe);
    window.Start();
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    QCOMPARE(probe.cancels, 1);
    QVERIFY(window.isVisible());
    window.close();
    QCOMPARE(probe.cancels, 2);
    QVERIFY(window.isVisible());
    window.reject();
    QCOMPARE(probe.cancels, 3);
    QVERIFY(window.isVisible());
    QVERIFY(!probe.Ended());

    probe.refuseCancel = false;
    window.close();
    QVERIFY(probe.Ended());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), ui::kIdCancel);

    // Enter presses the layout's default button, here OK.
    ProbeDialog second(test->App());
    DialogWindow secondWindow(second);
    secondWindow.Start();
    secondWindow.show();
    QTest::keyClick(&secondWindow, Qt::Key_Return);
    QVERIFY(second.Ended());
    QCOMPARE(second.Result(), ui::kIdOk);
    QVERIFY(!secondWindow.isVisible());

    // The main dialog has no default button: Enter is its OK, which closes it.
    auto main = Create("MainDialog");
    DialogWindow mainWindow(*main);
    mainWindow.Start();
    mainWindow.show();
    QTest::keyClick(&mainWindow, Qt::Key_Enter);
    QCOMPARE(main->Result(), ui::kIdOk);
    QVERIFY(!mainWindow.isVisible());
  }

  void theModelPaintsOncePerEventAndItsDrawingLiesUnderTheWidgets() {
    ProbeDialog probe(test->App());
    DialogWindow window(probe);
    window.Start();
    window.show();
    QCOMPARE(probe.paints, 1);
    for (int i = 0; i < 3; ++i) {
      window.repaint();
      QCoreApplication::processEvents();
    }
    QImage picture = window.grab().toImage();
    QCOMPARE(probe.paints, 1);
    QCOMPARE(window.ModelPaints(), 1);
    // The green block shows around the window's corner and through the label
    // "工事中" (its left end has no text); elsewhere the dialog face.
    QCOMPARE(picture.pixelColor(5, 5), QColor(0, 128, 0));
    QVERIFY(window.WidgetAt(0)->geometry().contains(22, 30));
    QCOMPARE(picture.pixelColor(22, 30), QColor(0, 128, 0));
    QCOMPARE(picture.pixelColor(200, 5), QColor(192, 192, 192));

    // A press on the client area, also over the label, reaches the model in
    // the dialog's coordinates and is followed by one paint.
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(7, 9));
    QTest::mouseClick(window.WidgetAt(0), Qt::LeftButton, {}, QPoint(4, 5));
    const QPoint labelAt = window.WidgetAt(0)->pos();
    QCOMPARE(probe.downs.size(), size_t{2});
    QCOMPARE(probe.downs[0], QPoint(7, 9));
    QCOMPARE(probe.downs[1], labelAt + QPoint(4, 5));
    QCOMPARE(probe.paints, 3);
  }

  void aMessageRaisedWhilePaintingIsNotRepeatedByRepaints() {
    ProbeDialog probe(test->App());
    probe.messageOnPaint = true;
    DialogWindow window(probe);
    window.Start();
    window.show();
    QCOMPARE(messages.size(), size_t{1});
    QCOMPARE(messages[0].first, Text("確認"));
    for (int i = 0; i < 3; ++i) {
      window.repaint();
      (void)window.grab();
      QCoreApplication::processEvents();
    }
    QCOMPARE(messages.size(), size_t{1});
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(messages.size(), size_t{2});
  }

  void typingFocusAndChoicesInAComboReachTheModel() {
    MainWithPrefixes dialog(test->App());
    DialogWindow window(dialog);
    window.Start();
    window.show();
    auto* combo = qobject_cast<QComboBox*>(window.Widget(1130));
    QVERIFY(combo && combo->isVisible());
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(1), Text("B-"));
    QCOMPARE(combo->currentIndex(), -1);
    // The field is as high as one line, not as the dropped-down list.
    QVERIFY(combo->height() < dialog.FindControl(1130)->Rect().Height());

    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(combo->lineEdit(), &focusIn);
    QCOMPARE(dialog.FocusedId(), 1130);

    QTest::keyClicks(combo->lineEdit(), "XY");
    QCOMPARE(dialog.FindControl(1130)->Text(), std::string("XY"));

    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(dialog.FindControl(1130)->CurSel(), 1);
    QCOMPARE(dialog.FindControl(1130)->Text(), std::string("B-"));
    QCOMPARE(combo->currentText(), Text("B-"));
  }

  void aDoubleClickOnTheMainSizeGivesTheBranchTheSameSize() {
    // A small catalogue: 22 categories, the first of them in PVC sizes.
    std::vector<std::string> names, attributes;
    for (int c = 0; c < 22; ++c) {
      names.push_back("継手" + std::to_string(c));
      attributes.push_back("P-1-7,P_HID-2-8,P_CEN-3-1");
    }
    test->Write("TugiteName.ini", names);
    test->Write("TugiteSet.ini", attributes);
    test->Write("Gaikei_Enbi.ini", {"13,18", "20,26", "25,32", "50,60", "100,114"});
    auto dialog = Create("PartsMenuDialog");
    DialogWindow window(*dialog);
    window.Start();
    window.show();
    window.Select(1100, 0);
    auto* mainSize = qobject_cast<QComboBox*>(window.Widget(1101));
    auto* branchSize = qobject_cast<QComboBox*>(window.Widget(1102));
    QVERIFY(mainSize && branchSize && mainSize->count() > 3);
    window.Select(1101, 3);
    window.Select(1102, 0);
    QTest::mouseDClick(mainSize, Qt::LeftButton);
    QCOMPARE(dialog->FindControl(1102)->CurSel(), 3);
    QCOMPARE(branchSize->currentIndex(), 3);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QVERIFY(!mainSize->view()->isVisible());  // the double-click opened no list
    // A single click still opens the list after the double-click time.
    QTest::mouseClick(mainSize, Qt::LeftButton);
    QTRY_VERIFY(mainSize->view()->isVisible());
    mainSize->hidePopup();
  }

  // A list marked as a table: the headings, one row per entry cut at its
  // tabs, numbers to the right, and the row chosen in the window chosen in
  // the model.
  void aTableListShowsHeadingsRowsAndSelection() {
    const std::filesystem::path drawing = test->Root() / "doors.dxf";
    std::ofstream(drawing, std::ios::binary)
        << "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nDOOR\n10\n0\n20\n0\n0\nENDBLK\n"
           "0\nBLOCK\n2\nWINDOW\n10\n0\n20\n0\n0\nENDBLK\n0\nENDSEC\n"
           "0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\nDOOR\n10\n0\n20\n0\n"
           "0\nINSERT\n2\nDOOR\n10\n0\n20\n0\n0\nINSERT\n2\nWINDOW\n10\n0\n20\n0\n"
           "0\nENDSEC\n0\nEOF\n";
    ScheduleDialog dialog(test->App());
    DialogWindow window(dialog);
    window.Start();
    window.show();
    auto* table = window.findChild<QTableWidget*>(QString("control_%1").arg(ScheduleDialog::kTable));
    QVERIFY(table);
    QCOMPARE(table->columnCount(), 12);
    QCOMPARE(table->horizontalHeaderItem(4)->text(), QString("数量"));
    QCOMPARE(table->rowCount(), 0);
    auto* edit = window.findChild<QLineEdit*>(QString("control_%1").arg(ScheduleDialog::kDrawing));
    QVERIFY(edit);
    QTest::keyClicks(edit, QString::fromStdString(drawing.string()));
    window.findChild<QPushButton*>(QString("control_%1").arg(ScheduleDialog::kRead))->click();
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 1)->text(), QString("DOOR"));
    QCOMPARE(table->item(0, 4)->text(), QString("2"));
    QCOMPARE(table->item(1, 1)->text(), QString("WINDOW"));
    QVERIFY(table->item(0, 4)->textAlignment() & Qt::AlignRight);
    QVERIFY(!(table->item(0, 1)->textAlignment() & Qt::AlignRight));
    table->setCurrentCell(1, 2);
    QCOMPARE(dialog.FindControl(ScheduleDialog::kTable)->CurSel(), 1);
  }

  void aListFollowsItsEntriesByInsertsRemovalsAndResets() {
    // The block browser's list, fed through the control as the model feeds
    // it: each step's rows and selection must be the control's, whether the
    // window applied the few edits or compared the entries whole.
    BareDialog dialog(test->App(), "BlockBrowser");
    DialogWindow window(dialog);
    window.Start();
    ui::Control& control = *dialog.FindControl(3001);
    auto* list = qobject_cast<QListWidget*>(window.Widget(3001));
    QVERIFY(list);
    int serial = 0;
    auto add = [&](int at) { control.InsertString(at, "行 " + std::to_string(serial++)); };
    const struct {
      const char* step;
      std::function<void()> change;
    } steps[] = {
        {"filled",
         [&] {
           for (int i = 0; i < 30; ++i) control.AddString("元 " + std::to_string(i));
         }},
        {"selected", [&] { control.SetCurSel(10); }},
        {"one at the top", [&] { add(0); }},
        {"one in the middle, one at the end",
         [&] {
           add(15);
           add(control.Count());
         }},
        {"the selected removed",
         [&] {
           control.DeleteString(control.CurSel());
           control.SetCurSel(3);
         }},
        {"inserted and removed before the window looked",
         [&] {
           add(2);
           add(2);
           control.DeleteString(0);
           control.DeleteString(control.Count() - 1);
         }},
        {"more than the window applies one by one",
         [&] {
           for (int i = 0; i < 100; ++i) add(i % 7);
         }},
        {"more than the control keeps",
         [&] {
           for (int i = 0; i < 300; ++i) add(i % 5);
         }},
        {"most removed",
         [&] {
           while (control.Count() > 5) control.DeleteString(1);
         }},
        {"made anew",
         [&] {
           control.ResetContent();
           add(0);
           add(0);
           control.SetCurSel(1);
         }},
    };
    for (const auto& step : steps) {
      step.change();
      window.Reflect();
      QStringList rows;
      for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
      QStringList entries;
      for (const std::string& entry : control.Items()) entries << QString::fromStdString(entry);
      QVERIFY2(rows == entries, step.step);
      QVERIFY2(list->currentRow() == control.CurSel(), step.step);
    }
    // The selection stays on its entry as others come and go before it.
    control.SetCurSel(1);
    const std::string chosen = control.ItemText(1);
    add(0);
    QCOMPARE(control.ItemText(control.CurSel()), chosen);
    control.DeleteString(0);
    QCOMPARE(control.ItemText(control.CurSel()), chosen);
  }

  void everyLayoutIsBuiltWithCaptionsThatFit() {
    int layouts = 0;
    QStringList faults;
    for (std::string_view name : resources::Names()) {
      if (name.substr(0, 8) != "layouts/" || name.size() < 13) continue;
      const std::string stem(name.substr(8, name.size() - 12));
      BareDialog dialog(test->App(), stem);
      DialogWindow window(dialog);
      window.show();
      ++layouts;
      const auto& controls = dialog.Controls();
      for (size_t i = 0; i < controls.size(); ++i) {
        const ui::Control& control = *controls[i];
        QWidget* widget = window.WidgetAt(i);
        const QString where = QString("%1: control %2 \"%3\"")
                                  .arg(QString::fromStdString(stem))
                                  .arg(control.Id())
                                  .arg(QString::fromStdString(control.Text()));
        if (!ShownAsItsKind(control.Definition(), widget)) faults << where + " has the wrong widget";
        if (!DialogWindow::TextFits(widget)) faults << where + " is clipped";
        if (widget->pos() != QPoint(control.Rect().left, control.Rect().top)) {
          faults << where + " is misplaced";
        }
      }
    }
    QVERIFY(layouts >= 3);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("\n")));
  }
};

}  // namespace tavelin::qt

TAVELIN_QTEST_MAIN(tavelin::qt::DialogWindowTest)
#include "dialog_window_test.moc"
