// The line records of a list read back as numbers, to compare a drawing
// record by record with a worked example.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/record_list.hpp"
#include "framework/text.hpp"

namespace tavelin::testing {

struct LineRec {
  int style;
  int element;
  double x1, y1, x2, y2;
};

// Slots 1 to count - 1, all taken as line records.
inline std::vector<LineRec> LineRecords(const RecordList& list) {
  std::vector<LineRec> out;
  for (size_t k = 1; k < list.Count(); ++k) {
    auto f = Split(list.Record(k), ',');
    out.push_back({ToInt(f[1]), list.ElementOf(k), ToDouble(f[3]), ToDouble(f[4]),
                   ToDouble(f[5]), ToDouble(f[6])});
  }
  return out;
}

inline void ExpectLine(const LineRec& got, const LineRec& want, double tolerance = 1e-5) {
  EXPECT_EQ(got.style, want.style);
  EXPECT_EQ(got.element, want.element);
  EXPECT_NEAR(got.x1, want.x1, tolerance);
  EXPECT_NEAR(got.y1, want.y1, tolerance);
  EXPECT_NEAR(got.x2, want.x2, tolerance);
  EXPECT_NEAR(got.y2, want.y2, tolerance);
}

inline void ExpectLines(const std::vector<LineRec>& got, const std::vector<LineRec>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE("record " + std::to_string(i + 1));
    ExpectLine(got[i], want[i]);
  }
}

}  // namespace tavelin::testing
