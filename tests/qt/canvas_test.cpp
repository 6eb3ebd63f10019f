// The painting canvas on a QImage: where lines, arcs, fills and text land,
// pixel by pixel.
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <functional>

#include "qt/qt_canvas.hpp"
#include "qt_test_main.hpp"

namespace tavelin::qt {
namespace {

constexpr Pen kRed{PenStyle::kSolid, {255, 0, 0}};

QImage Draw(int width, int height, const std::function<void(Canvas&)>& draw) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QFont font("Noto Sans CJK JP");
  font.setPixelSize(12);
  QtCanvas canvas(painter, font);
  draw(canvas);
  painter.end();
  return image;
}

bool Inked(const QImage& image, int x, int y) {
  return image.rect().contains(x, y) && image.pixel(x, y) != qRgb(255, 255, 255);
}

// Any inked pixel within `reach` of (x, y).
bool InkedNear(const QImage& image, int x, int y, int reach = 1) {
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      if (Inked(image, x + dx, y + dy)) return true;
    }
  }
  return false;
}

int InkedCount(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += Inked(image, x, y);
  }
  return count;
}

}  // namespace

class CanvasTest : public QObject {
  Q_OBJECT

 private slots:
  void linesRunFromTheCurrentPositionInThePensColour() {
    QImage image = Draw(60, 60, [](Canvas& c) {
      c.SelectPen(kRed);
      c.MoveTo(5, 10);
      c.LineTo(40, 10);
      c.LineTo(40, 50);  // continues from the end of the first line
    });
    for (int x = 5; x < 40; ++x) QCOMPARE(image.pixel(x, 10), qRgb(255, 0, 0));
    for (int y = 11; y < 50; ++y) QVERIFY2(Inked(image, 40, y), qPrintable(QString::number(y)));
    QVERIFY(!Inked(image, 20, 9));
    QVERIFY(!Inked(image, 20, 11));
    QVERIFY(!Inked(image, 4, 10));
    QVERIFY(!Inked(image, 39, 30));
  }

  void arcsRunCounterClockwiseFromTheFirstRayToTheSecond() {
    const PixelRect box{10, 10, 51, 51};  // centre (30, 30), radius 20
    // From the ray to the right to the ray upward: the upper right quarter.
    QImage quarter = Draw(60, 60, [&](Canvas& c) { c.Arc(box, 55, 30, 30, 2); });
    QVERIFY(InkedNear(quarter, 44, 16));
    QVERIFY(!InkedNear(quarter, 16, 16, 2));
    QVERIFY(!InkedNear(quarter, 16, 44, 2));
    QVERIFY(!InkedNear(quarter, 44, 44, 2));
    // The same rays the other way round: the other three quarters.
    QImage rest = Draw(60, 60, [&](Canvas& c) { c.Arc(box, 30, 2, 55, 30); });
    QVERIFY(!InkedNear(rest, 44, 16, 2));
    QVERIFY(InkedNear(rest, 16, 16));
    QVERIFY(InkedNear(rest, 16, 44));
    QVERIFY(InkedNear(rest, 44, 44));
    // Nothing strays off the circle.
    QVERIFY(!InkedNear(rest, 30, 30, 10));
  }

  void equalPointsDrawTheWholeEllipse() {
    const PixelRect box{10, 10, 51, 51};
    QImage full = Draw(60, 60, [&](Canvas& c) { c.Arc(box, 50, 30, 50, 30); });
    for (QPoint p : {QPoint(44, 16), QPoint(16, 16), QPoint(16, 44), QPoint(44, 44)}) {
      QVERIFY2(InkedNear(full, p.x(), p.y()), qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
    }
    // The extreme points of the circle.
    QVERIFY(InkedNear(full, 10, 30));
    QVERIFY(InkedNear(full, 50, 30));
    QVERIFY(InkedNear(full, 30, 10));
    QVERIFY(InkedNear(full, 30, 50));
  }

  void anEllipticArcStartsWhereItsRayMeetsTheEllipse() {
    // A flat ellipse, centre (40, 20), half axes 40 and 20. The ray at 45
    // degrees meets it at about (57, 2); the arc runs from there up to the top.
    const PixelRect box{0, 0, 81, 41};
    QImage image = Draw(90, 45, [&](Canvas& c) { c.Arc(box, 60, 0, 40, -5); });
    QVERIFY(InkedNear(image, 57, 2));
    QVERIFY(InkedNear(image, 46, 1));
    // Below the ray (about 30 degrees), where an arc started at the
    // parametric angle of 45 degrees would begin, nothing is drawn.
    QVERIFY(!InkedNear(image, 67, 5, 1));
    QVERIFY(!InkedNear(image, 78, 15, 2));
    QVERIFY(!InkedNear(image, 2, 20, 2));
  }

  void fillsLeaveOutTheRightAndBottomEdges() {
    QImage image = Draw(30, 30, [](Canvas& c) { c.FillRect({5, 5, 15, 10}, {0, 0, 255}); });
    QCOMPARE(image.pixel(5, 5), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(14, 9), qRgb(0, 0, 255));
    QVERIFY(!Inked(image, 15, 9));
    QVERIFY(!Inked(image, 14, 10));
    QVERIFY(!Inked(image, 4, 5));
    QCOMPARE(InkedCount(image), 50);
    // An empty or inverted rectangle fills nothing.
    QImage none = Draw(30, 30, [](Canvas& c) {
      c.FillRect({10, 10, 10, 20}, {0, 0, 255});
      c.FillRect({20, 20, 10, 10}, {0, 0, 255});
    });
    QCOMPARE(InkedCount(none), 0);
  }

  void aClipKeepsDrawingInsideUntilLifted() {
    QImage image = Draw(60, 60, [](Canvas& c) {
      PixelRect left{0, 0, 20, 60};
      c.SetClip(&left);
      c.SelectPen(kRed);
      c.MoveTo(0, 30);
      c.LineTo(59, 30);
      c.SetClip(nullptr);
      c.MoveTo(0, 40);
      c.LineTo(59, 40);
    });
    QVERIFY(Inked(image, 10, 30));
    QVERIFY(!Inked(image, 20, 30));
    QVERIFY(!Inked(image, 45, 30));
    QVERIFY(Inked(image, 45, 40));
  }

  void textHangsBelowAndRightOfItsPoint() {
    QImage image = Draw(60, 40, [](Canvas& c) {
      c.SelectPen(kRed);
      c.Text(10, 10, "田", {0, 0, 0});
      c.MoveTo(0, 35);
      c.LineTo(59, 35);  // the pen survives the text colour
    });
    int inside = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 60; ++x) {
        if (y == 35 || !Inked(image, x, y)) continue;
        QVERIFY2(x >= 10 && x < 24 && y >= 10 && y < 28,
                 qPrintable(QString("%1,%2").arg(x).arg(y)));
        ++inside;
      }
    }
    QVERIFY(inside > 10);
    QCOMPARE(image.pixel(30, 35), qRgb(255, 0, 0));
  }

  void aRecordingDrawsAgainExactlyWhatWasDrawn() {
    auto scene = [](Canvas& c) {
      c.FillRect({1, 1, 59, 59}, {225, 225, 225});
      c.SelectPen({PenStyle::kDashDot, {255, 50, 50}});
      c.MoveTo(2, 2);
      c.LineTo(57, 40);
      PixelRect clip{0, 0, 40, 60};
      c.SetClip(&clip);
      c.SelectPen({PenStyle::kSolid, {0, 255, 128}});
      c.Arc({20, 20, 41, 41}, 30, 30, 30, 30);
      c.SetClip(nullptr);
      c.Text(3, 40, "A", {0, 0, 255});
    };
    PaintRecording recording;
    scene(recording);
    QCOMPARE(recording.Size(), size_t{9});
    QImage direct = Draw(60, 60, scene);
    QImage replayed = Draw(60, 60, [&](Canvas& c) { recording.Replay(c); });
    QCOMPARE(replayed, direct);
    recording.Clear();
    QVERIFY(recording.Empty());
  }
};

}  // namespace tavelin::qt

TAVELIN_QTEST_MAIN(tavelin::qt::CanvasTest)
#include "canvas_test.moc"
