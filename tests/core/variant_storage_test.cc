// A cell keeps a short text in place and a longer one in a block of its own: texts on either side
// of that line must survive copies, moves and overwrites byte for byte.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "lastora/variant.h"

namespace lastora {
namespace {

std::vector<std::string> TextsAroundTheInlineLimit() {
  std::vector<std::string> texts = {"", "DE", std::string("a\0b", 3)};
  for (size_t size : {13, 14, 15, 16, 100}) texts.push_back(std::string(size, 'x') + "\xC3\xA4");
  return texts;
}

TEST(VariantStorageTest, TextsSurviveCopiesMovesAndOverwrites) {
  for (const std::string& text : TextsAroundTheInlineLimit()) {
    SCOPED_TRACE(text.size());
    auto copy = std::make_unique<Variant>(text);
    const Variant kept = *copy;
    copy.reset();  // the copy must own its own bytes
    Variant moved_from = kept;
    EXPECT_EQ(Variant(std::move(moved_from)).AsString(), text);

    Variant overwritten("a text of more than fourteen bytes");
    overwritten = kept;
    overwritten = overwritten;  // NOLINT: self-assignment keeps the value
    EXPECT_EQ(overwritten.AsString(), text);
  }
}

// Equal bits under another kind are another value.
TEST(VariantStorageTest, EqualityKeepsKindAndLength) {
  EXPECT_FALSE(Variant(1.0) == Variant::Date(1.0));
  EXPECT_FALSE(Variant("") == Variant());
  EXPECT_FALSE(Variant(std::string(15, 'x')) == Variant(std::string(16, 'x')));
}

}  // namespace
}  // namespace lastora
