// WM_SHOWLINE, with which the comparison dialog brings the window to an item and row.
#include <gtest/gtest.h>

#include "general/errors.h"
#include "messages/fields.h"
#include "messages/showline.h"

namespace zantro {
namespace {

TEST(ShowLineMessage, EncodesAndDecodesItsFields) {
  ShowLineMessage m{3, 12, "\x83\x5f\x83\x4e\x83\x67"};  // ダクト in Shift-JIS
  EXPECT_EQ(m.Encode(), "WM_SHOWLINE;3;12;\x83\x5f\x83\x4e\x83\x67;");
  ShowLineMessage back = ShowLineMessage::Decode(m.Encode());
  EXPECT_EQ(back.Item, 3);
  EXPECT_EQ(back.Row, 12);
  EXPECT_EQ(back.Name, m.Name);
  // Row 0 is the item's row of the breakdown list; a missing name reads as the last field.
  EXPECT_EQ(ShowLineMessage::Decode("WM_SHOWLINE;1;0;;").Row, 0);
  EXPECT_EQ(ShowLineMessage::Decode("WM_SHOWLINE;1;0;;").Name, "");
}

TEST(ShowLineMessage, RefusesOtherCommandsPlacesThatCannotBeAndBadNumbers) {
  EXPECT_THROW(ShowLineMessage::Decode("WM_DATADISP;1;1;x;"), MessageError);
  EXPECT_THROW(ShowLineMessage::Decode("WM_SHOWLINE;0;1;x;"), MessageError);
  EXPECT_THROW(ShowLineMessage::Decode("WM_SHOWLINE;1;-1;x;"), MessageError);
  EXPECT_NO_THROW(ShowLineMessage::Decode("WM_SHOWLINE;1;0;x;"));
  EXPECT_THROW(ShowLineMessage::Decode("WM_SHOWLINE;a;1;x;"), ConversionError);
  EXPECT_THROW(ShowLineMessage::Decode("WM_SHOWLINE;1;1.5;x;"), ConversionError);
  EXPECT_THROW((ShowLineMessage{1, 1, "a;b"}.Encode()), MessageError);
}

}  // namespace
}  // namespace zantro
