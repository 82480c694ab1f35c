// Payment tables read back from disk.
#include <gtest/gtest.h>

#include "lastora/class1.h"
#include "lastora/table_files.h"
#include "support/field_texts.h"
#include "support/temp_dir.h"

namespace lastora {
namespace {

using ::lastora::testing::Grid;
using ::lastora::testing::GridOf;
using ::lastora::testing::ScopedTempDir;
using ::lastora::testing::WriteBytes;

// A table cut short by another program is widened to the full layout in place: every row keeps
// its own cells, the added columns read empty, and the colours take the same shape.
TEST(PaymentTableFileTest, NarrowTableIsWidenedWithItsRowsIntact) {
  ScopedTempDir dir;
  WriteBytes(dir.File("kurz.csv"),
             "Nr;Kontoinhaber;IBAN\r\n"
             "1;Albers, Karin Sophie;DE12123056001000123401\r\n"
             "2;Quast, Helga Margarete;DE51123056001000565601\r\n"
             "3;Zimmer, Ida;\r\n");
  Class1 component;
  const ColouredTable table = ReadPaymentTable(dir.File("kurz.csv"), component);
  Grid expected = {{"1", "Albers, Karin Sophie", "DE12123056001000123401"},
                   {"2", "Quast, Helga Margarete", "DE51123056001000565601"},
                   {"3", "Zimmer, Ida", {}}};
  for (auto& row : expected) row.resize(kPaymentColumns);
  EXPECT_EQ(GridOf(table.values), expected);
  EXPECT_EQ(table.colours.RowCount(), 3);
  EXPECT_EQ(table.colours.ColCount(), kPaymentColumns);
}

}  // namespace
}  // namespace lastora
