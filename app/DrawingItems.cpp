#include "app/DrawingItems.h"

#include <algorithm>

#include "app/TextUtil.h"

namespace {

constexpr int kFarthestPlacement = 1 << 20;

}  // namespace

AnsiString picturePath(const char* format, const char* name) {
  return name != nullptr ? AnsiString::Format(format, name) : AnsiString();
}

int storedPlacement(const char* text) {
  return std::clamp(readNumber(text), -kFarthestPlacement, kFarthestPlacement);
}
