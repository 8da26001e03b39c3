#include "platform/headless/headless_display.h"

#include "platform/headless/virtual_clock.h"

namespace brawl {

void HeadlessDisplay::Open(int width, int height) {
  opened_ = true;
  width_ = width;
  height_ = height;
}

void HeadlessDisplay::Flip(const Surface&) {
  clock_.Flip();
}

}  // namespace brawl
