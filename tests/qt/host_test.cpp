// The Qt host as the dialog models use it: message boxes with their caption
// and one OK button, modal runs over the open window, failures at start-up.
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/block_browser_dialog.hpp"
#include "app/dialog_registry.hpp"
#include "app/main_dialog.hpp"
#include "qt/dialog_window.hpp"
#include "qt/qt_ui_host.hpp"
#include "qt_test_main.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin::qt {
namespace {

// Asks for a message box when its OK (id 1) is clicked; ends during its
// initialisation when told to.
class AskingDialog : public ui::Dialog {
 public:
  explicit AskingDialog(ui::AppContext& app, bool endAtOnce = false)
      : Dialog(app, "LayerPrefix"), endAtOnce_(endAtOnce) {}
  int answer = 0;

 protected:
  void OnInitDialog() override {
    if (endAtOnce_) EndDialog(7);
  }
  void OnOK() override { answer = MessageBox("幅を入力してください。\n(100以上)", "入力確認"); }

 private:
  bool endAtOnce_;
};

struct SeenBox {
  QString caption;
  QString text;
  QList<QAbstractButton*> buttons;
  QMessageBox::StandardButtons standard;
  QWidget* parent = nullptr;
  Qt::TextFormat format = Qt::AutoText;
};

}  // namespace

class HostTest : public QObject {
  Q_OBJECT

  std::unique_ptr<testing::TestApp> test;
  QtUiHost host;
  std::vector<SeenBox> boxes;

 private slots:
  void init() {
    test = std::make_unique<testing::TestApp>();
    boxes.clear();
    host.runMessageBox = [this](QMessageBox& box) {
      boxes.push_back({box.windowTitle(), box.text(), box.buttons(), box.standardButtons(),
                       box.parentWidget(), box.textFormat()});
    };
    host.runWindow = nullptr;
    test->App().ui = &host;
  }

  void cleanup() { test.reset(); }

  void aMessageBoxHasTheCaptionTheTextAndOneOkButton() {
    AskingDialog dialog(test->App());
    DialogWindow window(dialog);
    window.Start();
    window.show();
    QTest::mouseClick(window.Widget(ui::kIdOk), Qt::LeftButton);
    QCOMPARE(boxes.size(), size_t{1});
    QCOMPARE(boxes[0].caption, QString::fromUtf8("入力確認"));
    QCOMPARE(boxes[0].text, QString::fromUtf8("幅を入力してください。\n(100以上)"));
    QCOMPARE(boxes[0].format, Qt::PlainText);
    QCOMPARE(boxes[0].buttons.size(), 1);
    QCOMPARE(boxes[0].standard, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(boxes[0].parent, static_cast<QWidget*>(&window));
    QCOMPARE(dialog.answer, ui::kIdOk);
    // The message does not close the dialog.
    QVERIFY(window.isVisible());
    QVERIFY(!dialog.Ended());
  }

  void aMissingInfoFileIsReportedWhenTheMainDialogStarts() {
    std::filesystem::remove(test->App().info.Locate("Memo.ini"));
    auto dialog = CreateDialog("MainDialog", test->App());
    bool ran = false;
    host.runWindow = [&](DialogWindow& window) {
      ran = true;
      // The window still opens, with what the model could set.
      QVERIFY(window.Widget(1013) != nullptr);
      window.Cancel();
    };
    QCOMPARE(host.RunModal(*dialog), ui::kIdCancel);
    QVERIFY(ran);
    QVERIFY(!boxes.empty());
    QCOMPARE(boxes[0].caption, QString::fromUtf8(ui::kProductTitle));
    QVERIFY2(boxes[0].text.startsWith(QString::fromUtf8("ファイルを開けません。")),
             qPrintable(boxes[0].text));
    QVERIFY(boxes[0].text.contains("Memo.ini"));
  }

  void openFolderShowsThePathWhenNoFileManagerTakesIt() {
    namespace fs = std::filesystem;
    testing::TempDir bin;
    const fs::path seen = bin.Path() / "seen";
    auto script = [&](const char* name, const std::string& body) {
      const fs::path path = bin.Path() / name;
      std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
      fs::permissions(path, fs::perms::owner_all);
      return QString::fromStdString(path.string());
    };
    struct Case {
      QString opener;
      bool opened;
    };
    const Case cases[] = {
        {script("no-handler", "exit 3"), false},  // xdg-open found no file manager
        {QString::fromStdString((bin.Path() / "gone").string()), false},
        {QStringLiteral("tavelin-no-such-opener"), false},  // nothing on PATH
        {script("opens", "printf %s \"$1\" > '" + seen.string() + "'"), true},
    };
    BlockBrowserDialog browser(test->App());
    browser.Initialize();
    QVERIFY(browser.WaitLoaded());
    const QString folder = QString::fromStdString((test->Root() / "blocks").string());
    for (const Case& c : cases) {
      boxes.clear();
      host.folderOpener = c.opener;
      QVERIFY(browser.UserClick(BlockBrowserDialog::kOpenFolder));
      if (c.opened) {
        QVERIFY2(boxes.empty(), qPrintable(c.opener));
        std::ifstream in(seen);
        const std::string argument((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
        QCOMPARE(QString::fromStdString(argument), folder);
      } else {
        QCOMPARE(boxes.size(), size_t{1});
        QVERIFY2(boxes[0].text.contains(folder), qPrintable(boxes[0].text));
      }
    }
  }

  void runModalReturnsTheModelsResult() {
    // Ended during its initialisation: never shown.
    AskingDialog early(test->App(), true);
    bool shown = false;
    host.runWindow = [&](DialogWindow&) { shown = true; };
    QCOMPARE(host.RunModal(early), 7);
    QVERIFY(!shown);

    // Closed by the user with OK through the window.
    auto layerPrefix = CreateDialog("LayerPrefixDialog", test->App());
    host.runWindow = [&](DialogWindow& window) {
      window.show();
      QTest::mouseClick(window.Widget(ui::kIdOk), Qt::LeftButton);
    };
    QCOMPARE(host.RunModal(*layerPrefix), ui::kIdOk);

    // A window left open by its runner (the application quit) counts as cancel.
    AskingDialog open(test->App());
    host.runWindow = [&](DialogWindow&) {};
    QCOMPARE(host.RunModal(open), ui::kIdCancel);
  }
};

}  // namespace tavelin::qt

TAVELIN_QTEST_MAIN(tavelin::qt::HostTest)
#include "host_test.moc"
