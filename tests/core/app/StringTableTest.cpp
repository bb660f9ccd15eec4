// The string table: the file's format, and the built-in table as the program uses it.
#include "core/state/StringTable.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace krv::app {
namespace {

TEST(StringTable, EntriesKeepTheirBlanksAndTabsAndResolveEscapesAndBadLinesAreNamed) {
    const auto table = StringTable::parse(
        "# c\r\n\n   \n#10020\tno entry\n3\t nicht gefunden! \r\n7\t\n8\ta\tb\\n\\\\n\\t\n"
        "123456789\tnine digits");
    EXPECT_EQ(table.ids(), (std::vector<int>{3, 7, 8, 123456789}));
    EXPECT_EQ(table.text(3) + "|" + table.text(8) + "|" + table.text(123456789) + "|" + table.text(10020),
              " nicht gefunden! |a\tb\n\\n\t|nine digits|");
    EXPECT_TRUE(table.contains(7) && !table.contains(10020));
    EXPECT_EQ(&table.text(2), &table.text(99999)) << "one shared empty text, never a temporary";
    for (const auto& [text, zeile] :
         {std::pair{"# c\n2\tok\n3 kein Tab\n", "line 3"}, {"12a\tx\n", "line 1"}, {"\n\n-5\tx\n", "line 3"},
          {" 12\tx\n", "line 1"}, {"1\tx\n\tohne Id\n", "line 2"}, {"1\tx\n1234567890\tzu lang\n", "line 2"},
          {"1\tok\n2\tunbekannt \\x\n", "line 2"}, {"1\tam Ende \\\n", "line 1"},
          {"2\terste\n# c\n10002\tfirst\n2\tzweite\n", "line 4: id 2 repeated (first on line 1)"}}) {
        std::string fehler = "no error";
        try {
            StringTable::parse(text);
        } catch (const std::runtime_error& e) {
            fehler = e.what();
        }
        EXPECT_NE(fehler.find(zeile), std::string::npos) << text << " -> " << fehler;
    }
}

TEST(StringTable, EveryBuiltInGermanTextHasItsEnglishTwinAndTheLanguageOffsetChoosesIt) {
    const auto& table = StringTable::builtIn();
    ASSERT_GT(table.ids().size(), 200u);
    for (int id : table.ids()) {
        EXPECT_TRUE(id >= 0 && id < 20000 && table.contains(id < 10000 ? id + 10000 : id - 10000)) << id;
    }
    EXPECT_EQ(LoadResString(2, 0) + "|" + LoadResString(2, 10000),
              "KRV Diagnoseprogramm|KRV Diagnosis Software");
    EXPECT_EQ(LoadResString(1005, 0), "") << "the unused serial event has no text";
}

}  // namespace
}  // namespace krv::app
