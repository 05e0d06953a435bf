// The journal of a set reads back as written, names with any byte included,
// and a journal that is cut short, altered or names anything but plain names
// of its own folder is refused whole: recovery renames nothing it names.
#include "base/file_set_journal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scenario {

bool operator==(const JournalEntry& a, const JournalEntry& b) {
  return a.temporary == b.temporary && a.name == b.name;
}

namespace {

TEST(FileSetJournalTest, ReadsBackWhatWasWritten) {
  const std::vector<JournalEntry> entries = {
      {".~12-1.tmp", "Velmora_Dorsel_linea.dat"},
      {".~12-2.tmp", "a b%c\n\x7f\x01\xc3\xa8.sim"},
      {".~12-3.tmp", "x.dat"},
  };
  const std::string text = journal_text(entries);
  EXPECT_EQ(text.find('\x7f'), std::string::npos);
  const auto read = read_journal(text);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(*read, entries);
}

TEST(FileSetJournalTest, RefusesWhatItDidNotWrite) {
  const std::string head = "file set 1\n";
  const char* refused[] = {
      "",
      "file set 1\nend\n",                                // no entry
      "file set 1\n.~1-1.tmp a.dat\n",                    // cut short
      "file set 1\n.~1-1.tmp a.dat\nend",                 // last line cut
      "file set 2\n.~1-1.tmp a.dat\nend\n",               // another version
      "file set 1\n.~1-1.tmp a.dat\nend\nmore\n",         // text after the end
      "file set 1\n.~1-1.tmp\nend\n",                     // no name
      "file set 1\nother.tmp a.dat\nend\n",               // not a temporary
      "file set 1\n.~1-1.tmp ../a.dat\nend\n",            // another folder
      "file set 1\n.~1-1.tmp sub/a.dat\nend\n",           //
      "file set 1\n.~1-1.tmp sub\\a.dat\nend\n",          //
      "file set 1\n.~1-1.tmp ..\nend\n",                  //
      "file set 1\n.~1-1.tmp .\nend\n",                   //
      "file set 1\n.~1-1.tmp %2E%2E%2Fa\nend\n",          // escaped, still another folder
      "file set 1\n.~1-1.tmp a%00b\nend\n",               // a zero byte
      "file set 1\n.~1-1.tmp .~2-1.tmp\nend\n",           // a temporary's name
      "file set 1\n.~1-1.tmp .~file-set.journal\nend\n",  // the journal's own
      "file set 1\n.~1-1.tmp a\rb\nend\n",                // an unescaped control byte
      "file set 1\n.~1-1.tmp a%4\nend\n",                 // a bad escape
      "file set 1\n.~1-1.tmp a%G0\nend\n",                //
      "file set 1\n.~1-1.tmp a\n.~1-2.tmp a\nend\n",      // a name twice
      "file set 1\n.~1-1.tmp a\n.~1-1.tmp b\nend\n",      // a temporary twice
  };
  for (const char* text : refused) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(read_journal(text).has_value());
  }
  EXPECT_TRUE(read_journal(head + ".~1-1.tmp a\nend\n").has_value());
}

}  // namespace
}  // namespace scenario
