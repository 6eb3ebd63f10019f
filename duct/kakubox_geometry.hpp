// The plan of a square air register set in a plenum box: the box outline,
// the register face, the register type's symbol across the face and, for a
// lined box, the lining's inner face and hatching over the box.
#pragma once

#include "framework/record_list.hpp"

namespace tavelin {

// The symbol across the register face.
enum class RegisterType : int {
  kNone = 0,
  kCross = 1,         // both diagonals
  kDiagonal = 2,      // one diagonal
  kHalfDiagonal = 3,  // one diagonal and half of the other
};

struct KakuboxInput {
  double registerWidth = 0.0;  // Wr
  double registerDepth = 0.0;  // Dr
  double margin = 0.0;         // A: box margin around the register
  double lining = 0.0;         // T
  bool lined = false;
  RegisterType type = RegisterType::kNone;
  int base = 1;  // 1: the centre; 2: the box's lower left corner
};

// Box width X = Wr + 2A and depth Y = Dr + 2A.
double KakuboxWidth(const KakuboxInput& input);
double KakuboxDepth(const KakuboxInput& input);

// Clears `list`, resets its mirror and rotation, sets its base offset and
// adds the extents record and the records of the box. Values that are not
// finite or beyond any drawing leave the list empty and return false.
bool BuildKakubox(RecordList& list, const KakuboxInput& input, const CommonValues& common);

}  // namespace tavelin
