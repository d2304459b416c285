// The fast line splitter of the totals gives the lines the diary reader
// gives, whatever mix of CR, LF and CR LF a file holds and wherever the
// breaks fall against its 64-byte blocks.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/records/text_lines.h"
#include "core/totals/line_scanner.h"

namespace tomvik::core::test {
namespace {

std::vector<std::string> Scanned(std::string_view text) {
  std::vector<std::string> lines;
  LineScanner scanner(text);
  std::string_view line;
  while (scanner.next(line)) {
    lines.emplace_back(line);
    EXPECT_EQ(scanner.number(), lines.size());
  }
  return lines;
}

TEST(LineScanner, SplitsAsTheDiaryReaderDoes) {
  for (const std::string text : {"", "a", "a\r\n", "a\r\nb", "a\rb\nc\r\n\r\nd", "\r", "\n\n", "\r\r\n", "x\r"}) {
    EXPECT_EQ(Scanned(text), SplitLines(text)) << text;
  }
  std::mt19937 random(64);
  const char alphabet[] = {'a', 'b', '\r', '\n', ' ', '\x81'};
  for (int round = 0; round < 2000; ++round) {
    std::string text(random() % 300, 'a');
    for (char& c : text) c = alphabet[random() % sizeof alphabet];
    ASSERT_EQ(Scanned(text), SplitLines(text)) << "round " << round;
  }
}

}  // namespace
}  // namespace tomvik::core::test
