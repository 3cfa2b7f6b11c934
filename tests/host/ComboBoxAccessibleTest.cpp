// A screen reader reviewing the entry a drop-down list shows, piece by piece, as it reads any text.
#include <gtest/gtest.h>

#include <QComboBox>

#include "host/ComboBoxAccessible.h"
#include "support/ParamName.h"

namespace {

struct Piece {
    const char* name;
    QAccessible::TextBoundaryType boundary;
    int offset;
    const char* at;  // the piece at the offset
    int start, end;
};

class ReadingTheEntry : public ::testing::TestWithParam<Piece> {};

TEST_P(ReadingTheEntry, GivesThePieceAtAnOffset) {
    QComboBox combo;
    combo.addItems({QStringLiteral("C: [Home]"), QStringLiteral("Z: [File system]")});
    combo.setCurrentIndex(1);
    host::ComboBoxAccessible accessible(&combo);
    QAccessibleTextInterface* text = accessible.textInterface();
    ASSERT_NE(text, nullptr);
    int start = 0, end = 0;
    EXPECT_EQ(text->textAtOffset(GetParam().offset, GetParam().boundary, &start, &end),
              QString::fromLatin1(GetParam().at));
    EXPECT_EQ(start, GetParam().start);
    EXPECT_EQ(end, GetParam().end);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, ReadingTheEntry,
    ::testing::Values(Piece{"FirstCharacter", QAccessible::CharBoundary, 0, "Z", 0, 1},
                      Piece{"LastCharacter", QAccessible::CharBoundary, 15, "]", 15, 16},
                      Piece{"PastTheEnd", QAccessible::CharBoundary, 16, "", -1, -1},
                      Piece{"Word", QAccessible::WordBoundary, 5, "Z: [File system]", 0, 16},
                      Piece{"Line", QAccessible::LineBoundary, 3, "Z: [File system]", 0, 16}),
    testing_support::ByName);

TEST(EntryText, NeighbouringCharactersAndRanges) {
    QComboBox combo;
    combo.addItem(QStringLiteral("C: [Home]"));
    host::ComboBoxAccessible accessible(&combo);
    QAccessibleTextInterface* text = accessible.textInterface();
    int start = 0, end = 0;
    EXPECT_EQ(text->textBeforeOffset(1, QAccessible::CharBoundary, &start, &end), QStringLiteral("C"));
    EXPECT_EQ(text->textAfterOffset(1, QAccessible::CharBoundary, &start, &end), QStringLiteral(" "));
    EXPECT_EQ(text->text(4, 8), QStringLiteral("Home"));
    EXPECT_EQ(text->text(4, 99), QStringLiteral("Home]"));
    EXPECT_EQ(accessible.text(QAccessible::Value), QStringLiteral("C: [Home]"));
}

}  // namespace
