#include "core/device/wmf/TextCodec.hpp"

#include <gtest/gtest.h>

namespace krv::wmf {
namespace {

std::u16string decode(std::initializer_list<std::uint8_t> bytes, std::uint8_t charSet) {
    const std::vector<std::uint8_t> v(bytes);
    return decodeText(v, charSet);
}

TEST(WmfTextCodec, WesternIsTheDefaultWithItsOwnUpperCharacters) {
    EXPECT_EQ(decode({'A', 0x80, 0xC4, 0x96}, 0), u"A\u20AC\u00C4\u2013");
    EXPECT_EQ(decode({0x80}, 1), u"\u20AC");     // default character set
    EXPECT_EQ(decode({0x81}, 0), u"\uFFFD");     // unassigned
    EXPECT_EQ(decode({0xE9}, 128), u"\u00E9");   // a double-byte set falls back to Western
}

TEST(WmfTextCodec, OtherCodePagesByCharacterSet) {
    EXPECT_EQ(decode({0xC0, 0xFF}, 204), u"\u0410\u044F");  // Cyrillic
    EXPECT_EQ(decode({0xB9}, 238), u"\u0105");               // Central European
    EXPECT_EQ(decode({0xC1}, 161), u"\u0391");               // Greek
    EXPECT_EQ(decode({0xDD}, 162), u"\u0130");               // Turkish
}

}  // namespace
}  // namespace krv::wmf
