// A generator in a real window: what the user types and confirms with Enter
// is the block handed on, and the builder's outcome reaches the status line
// while the window goes on without waiting for it.
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>
#include <memory>

#include "app/dialog_registry.hpp"
#include "duct/erbo_dialog.hpp"
#include "qt/dialog_window.hpp"
#include "qt/qt_ui_host.hpp"
#include "qt_test_main.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin::qt {
namespace {

// A builder that finishes only after a few polls, as a real one takes time.
class SlowLauncher : public BlockBuilderLauncher {
 public:
  std::unique_ptr<BuildRun> Start(const std::filesystem::path& jobRoot,
                                  const std::string& blockName) override {
    ++starts;
    job = jobRoot;
    class Run : public BuildRun {
     public:
      explicit Run(std::string name) : name_(std::move(name)) {}
      std::optional<BuildOutcome> Poll() override {
        if (++polls_ < 3) return std::nullopt;
        return Wait();
      }
      BuildOutcome Wait() override {
        BuildOutcome outcome;
        outcome.written = true;
        outcome.blockName = name_;
        return outcome;
      }

     private:
      std::string name_;
      int polls_ = 0;
    };
    return std::make_unique<Run>(blockName);
  }
  int starts = 0;
  std::filesystem::path job;
};

}  // namespace

class GeneratorWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void enterHandsOnTheTypedElbowAndTheOutcomeArrivesLater() {
    testing::TestApp test;
    QtUiHost host;
    host.runMessageBox = [](QMessageBox&) {};
    SlowLauncher launcher;
    test.App().ui = &host;
    test.App().launcher = &launcher;
    ErboDialog dialog(test.App());
    DialogWindow window(dialog);
    window.Start();
    window.show();
    const std::vector<std::string> before = test.Lines("DrawData.txt");

    auto* angle = qobject_cast<QLineEdit*>(window.Widget(ErboDialog::kAngle));
    QVERIFY(angle);
    angle->setFocus();
    angle->selectAll();
    QTest::keyClicks(angle, "45");
    QCOMPARE(dialog.FindControl(ErboDialog::kAngle)->Text(), std::string("45"));
    QTest::keyClick(angle, Qt::Key_Return);

    QCOMPARE(launcher.starts, 1);
    const std::vector<std::string> handed = InfoFolder(launcher.job).ReadToEnd("DrawData.txt", 1000);
    QVERIFY(handed != before);
    QVERIFY(handed == dialog.Records().Records());
    auto* status = qobject_cast<QLabel*>(window.Widget(ErboDialog::kStatusLine));
    QVERIFY(status);
    QCOMPARE(status->text(), QString::fromUtf8(kStatusBuilding));
    QVERIFY(dialog.BuildRunning());
    // The window goes on; the timer asks the builder until it has finished.
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.BuildRunning(), 3000);
    const std::string name = test.Lines("DrawName.ini")[0];
    QCOMPARE(status->text(),
             QString::fromStdString(PlacedStatus(name, test.Root() / "blocks")));
    // The whole path of the block rests on the status line as its tooltip.
    QCOMPARE(status->toolTip(),
             QString::fromStdString((test.Root() / "blocks" / (name + ".dxf")).string()));
  }
};

}  // namespace tavelin::qt

TAVELIN_QTEST_MAIN(tavelin::qt::GeneratorWindowTest)
#include "generator_window_test.moc"
