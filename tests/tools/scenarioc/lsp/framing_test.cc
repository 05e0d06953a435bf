// Reading frames of the protocol from a byte stream, whatever the editor or
// a faulty client sends: each malformed frame is reported and reading goes on.
#include "scenarioc/lsp/framing.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace scenario::lsp {
namespace {

TEST(FramingTest, ReadsFramesAndPassesOverMalformedOnes) {
  std::istringstream in(
      "Content-Length: 2\r\n\r\n{}"
      "content-length:3\r\nContent-Type: utf-8\r\n\r\n[1]"  // any case, other fields
      "Content-Type: x\r\n\r\n"                             // no length
      "Content-Length: -4\r\n\r\n"                          // no valid length
      "\r\nContent-Length: 4\n\nnull"                       // bare LF, a blank line before
      "Content-Length: 10\r\n\r\nshort");                   // the stream ends inside
  const Frame::Kind kinds[] = {Frame::Kind::message,   Frame::Kind::message, Frame::Kind::malformed,
                               Frame::Kind::malformed, Frame::Kind::message, Frame::Kind::end};
  const char* bodies[] = {"{}", "[1]", "", "", "null", ""};
  for (size_t i = 0; i < std::size(kinds); ++i) {
    const Frame frame = read_frame(in);
    EXPECT_EQ(frame.kind, kinds[i]) << i;
    EXPECT_EQ(frame.body, bodies[i]) << i;
  }
  EXPECT_EQ(read_frame(in).kind, Frame::Kind::end);
}

TEST(FramingTest, ABodyTooLongIsPassedOverUnread) {
  const std::string big(kLargestBody + 1, ' ');
  std::istringstream in("Content-Length: " + std::to_string(big.size()) + "\r\n\r\n" + big +
                        "Content-Length: 1\r\n\r\n7");
  const Frame skipped = read_frame(in);
  EXPECT_EQ(skipped.kind, Frame::Kind::malformed);
  EXPECT_TRUE(skipped.body.empty());
  EXPECT_EQ(read_frame(in).body, "7");
}

TEST(FramingTest, AHeaderLineTooLongIsPassedOverToItsEnd) {
  const std::string endless(10 * kLongestHeaderLine, 'x');
  std::istringstream in("X-Filler: " + endless + "\r\nContent-Length: 2\r\n\r\n{}" +
                        "Content-Length: 1\r\n\r\n7" + endless);
  const Frame skipped = read_frame(in);
  EXPECT_EQ(skipped.kind, Frame::Kind::malformed);
  EXPECT_NE(skipped.error.find("longer than"), std::string::npos) << skipped.error;
  EXPECT_EQ(read_frame(in).body, "7");  // the body of the malformed frame was passed over
  EXPECT_EQ(read_frame(in).kind, Frame::Kind::end);  // a header line without its end
}

TEST(FramingTest, WritesTheLengthInBytes) {
  std::ostringstream out;
  write_frame(out, "\"\xc3\xa0\"");
  EXPECT_EQ(out.str(), "Content-Length: 4\r\n\r\n\"\xc3\xa0\"");
}

}  // namespace
}  // namespace scenario::lsp
