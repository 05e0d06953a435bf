#include "documents/sheet_layout.h"

#include <algorithm>
#include <iterator>

#include "documents/column_text.h"

namespace scenario {
namespace {

// clang-format off
constexpr const char* kTemplateTitle = "SCHEDA 0/0";
// The blank pages keep the form's own placeholders, "C" of the rank included.
constexpr const char* kTemplateTrain       = " |   TRENO n.xxxxx   |                   da: xxxxxx                |    Vxxx C    |";
constexpr const char* kTemplateDestination = " |___________________|                    a: xxxxxx                |     xxx%     |";
constexpr const char* kTemplateCategory    = " |        xxx        |              |      xxxT         |";

constexpr const char* kClosingRule = " |_____|_____|__________|_____|____________________________|________________|_____|";

// Between pages: the one after a filled page that another follows is longer.
constexpr const char* kFilledSeparator = ".................................................................................";
constexpr const char* kSeparator       = "........................................................................";
// clang-format on

constexpr size_t kTemplateRows = 31;
constexpr size_t kNameWidth = 22;    // "da:" and "a:" names, up to the bar
constexpr size_t kMiddleWidth = 45;  // the open area of the title
constexpr size_t kTitleIndent = 20;
constexpr size_t kRightBoxWidth = 14;
constexpr size_t kBandBoxWidth = 19;
constexpr size_t kCategoryIndent = 8;
constexpr size_t kMassIndent = 6;
constexpr size_t kTimeWidth = 16;
constexpr size_t kPlaceWidth = 27;

std::string title_line(const std::string& title) {
  return " |                   |" +
         left_aligned(std::string(kTitleIndent, ' ') + title, kMiddleWidth) + "|              |";
}

std::string train_line(const SheetHeader& h) {
  const std::string speed =
      h.maximum_speed ? right_aligned(std::to_string(*h.maximum_speed), 3) : "xxx";
  return " |   TRENO n." + left_aligned(" " + h.train, 8) +
         "|                   da: " + left_aligned(h.origin.value_or("xxxxxx"), kNameWidth) + "|" +
         left_aligned("    V" + speed + " " + h.rank.value_or("x"), kRightBoxWidth) + "|";
}

std::string destination_line(const SheetHeader& h) {
  const std::string percentage =
      h.braked_percentage ? right_aligned(std::to_string(*h.braked_percentage), 3) : "xxx";
  return " |___________________|                    a: " +
         left_aligned(h.destination.value_or("xxxxxx"), kNameWidth) + "|" +
         left_aligned("     " + percentage + "%", kRightBoxWidth) + "|";
}

std::string category_line(const SheetHeader& h) {
  const std::string mass =
      h.blocked_mass ? right_aligned(std::to_string(*h.blocked_mass), 3) : "xxx";
  return " |" +
         left_aligned(std::string(kCategoryIndent, ' ') + h.category.value_or("xxx"),
                      kBandBoxWidth) +
         "|              |" +
         left_aligned(std::string(kMassIndent, ' ') + mass + "T", kBandBoxWidth) + "|";
}

// The 14 header lines; line 7 keeps the seven blanks after its last bar.
void add_header_block(Righe& righe, const std::string& title, const std::string& train,
                      const std::string& destination, const std::string& category) {
  const std::string lines[] = {
      "  ___________________                                               ______________",
      title,
      train,
      destination,
      "                                                                   |______________|",
      "  ___________________                ___________________",
      " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
      category,
      " |___________________|              |___________________|",
      "",
      "  ________________________________________________________________________________",
      " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
      " | Lim.|Marc.|          |  Rs |                            |                |     |",
      kClosingRule,
  };
  righe.insert(righe.end(), std::begin(lines), std::end(lines));
}

void add_lines(Righe& righe, size_t count, const std::string& text) {
  righe.insert(righe.end(), count, text);
}

void add_template_page(Righe& righe) {
  add_header_block(righe, title_line(kTemplateTitle), kTemplateTrain, kTemplateDestination,
                   kTemplateCategory);
  add_lines(righe, kTemplateRows, sheet_row_text({}));
  righe.emplace_back(kClosingRule);
}

std::string time_text(const std::optional<int64_t>& seconds) {
  return seconds ? sheet_time_text(*seconds) : std::string(kTimePlaceholder);
}

// `lead` blanks, then `body`, in the 16 characters of the column; a body too
// long for its blanks takes them from the left.
std::string time_form(size_t lead, const std::string& body) {
  const size_t blanks = body.size() >= kTimeWidth ? 0 : std::min(lead, kTimeWidth - body.size());
  return left_aligned(std::string(blanks, ' ') + body, kTimeWidth);
}

std::string recovery_text(int32_t tenths) {
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace

std::string time_column_text(const TimeColumn& t) {
  switch (t.form) {
    case TimeForm::none:
      return std::string(kTimeWidth, ' ');
    case TimeForm::departure:
      return time_form(9, time_text(t.first) + t.mark);
    case TimeForm::passing:
      return time_form(6, time_text(t.first) + t.mark);
    case TimeForm::stop:
      return time_form(1, time_text(t.first) + " - " + time_text(t.second) + t.mark);
    case TimeForm::arrival:
      return time_form(1, time_text(t.first) + t.mark);
  }
  return std::string(kTimeWidth, ' ');
}

std::string sheet_row_text(const SheetRow& row) {
  const std::string limit =
      row.limit != 0 ? " " + right_aligned(std::to_string(row.limit), 3) + " " : "     ";
  const std::string chainage =
      row.chainage ? left_aligned(" " + right_aligned(kilometres_text(*row.chainage), 7), 10)
                   : std::string(10, ' ');
  const std::string recovery =
      row.recovery > 0 && row.recovery < 100 ? " " + recovery_text(row.recovery) + " " : "     ";
  return " |" + limit + "|     |" + chainage + "|     | " + left_aligned(row.place, kPlaceWidth) +
         "|" + time_column_text(row.time) + "|" + recovery + "|";
}

Righe train_sheet_document(const SheetHeader& header, const std::vector<SheetRow>& rows,
                           const std::vector<std::string>& footnotes) {
  const size_t slots = rows.size() + footnotes.size();
  const size_t pages = slots == 0 ? 1 : (slots + kSheetPageRows - 1) / kSheetPageRows;
  const std::string train = train_line(header);
  const std::string destination = destination_line(header);
  const std::string category = category_line(header);
  const std::string empty_row = sheet_row_text({});
  Righe righe;
  add_lines(righe, 2, "");
  for (size_t page = 1; page <= pages; ++page) {
    add_header_block(righe,
                     title_line("SCHEDA " + std::to_string(page) + "/" + std::to_string(pages)),
                     train, destination, category);
    const size_t first = std::min(rows.size(), (page - 1) * kSheetPageRows);
    const size_t last = std::min(rows.size(), first + kSheetPageRows);
    for (size_t i = first; i < last; ++i) righe.push_back(sheet_row_text(rows[i]));
    const size_t filled = (last - first) + (page == pages ? footnotes.size() : 0);
    if (filled < kSheetPageRows) add_lines(righe, kSheetPageRows - filled, empty_row);
    if (page < pages) {
      righe.emplace_back(kClosingRule);
      add_lines(righe, 3, "");
      righe.emplace_back(kFilledSeparator);
      add_lines(righe, 2, "");
      continue;
    }
    for (const std::string& footnote : footnotes) {
      SheetRow row;
      row.place = footnote;
      righe.push_back(sheet_row_text(row));
    }
    righe.emplace_back(kClosingRule);
    add_lines(righe, 3, "");
  }
  righe.emplace_back(kSeparator);
  righe.emplace_back("");
  add_template_page(righe);
  add_lines(righe, 2, "");
  righe.emplace_back(kSeparator);
  righe.emplace_back("");
  add_template_page(righe);
  righe.emplace_back("");
  righe.emplace_back(kEndMarker);
  return righe;
}

}  // namespace scenario
