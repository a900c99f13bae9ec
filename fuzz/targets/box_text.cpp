// What a message box shows of a text. Checks: no run the box cannot wrap is
// wider than a row; no more lines than rows; nothing grows but by the closing
// ellipsis; and the shown text is shown as it is (it already fits).
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "sysutil/BoxText.h"

using namespace boxtext;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TString text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  const TString shown = FitForBox(text);

  std::size_t run = 0, lines = 1;
  for (char16_t c : shown) {
    if (c == u'\n') ++lines;
    if (c == u' ' || c == u'\t' || c == u'\n' || Cells(c) == 2)
      run = 0;
    else
      run += Cells(c);
    FUZZ_CHECK(run <= kMaxRowCells);
  }
  FUZZ_CHECK(lines <= kMaxRows);
  FUZZ_CHECK(shown.size() <= text.size() + 1);
  FUZZ_CHECK(FitForBox(shown) == shown);
  return 0;
}
