#include "text/long_path.h"

#include <gtest/gtest.h>

#include <string>

namespace sevrane {
namespace {

TEST(LongPath, OnlyLongAbsolutePathsTakeTheExtendedFormWhichKeepsTheFullPath) {
    const std::u16string name(kMaxPath, u'a');
    for (const std::u16string& path : {u"C:\\" + name.substr(3), u"z:/" + name,
                                       u"\\\\host\\share\\" + name, u"\\\\.\\" + name}) {
        EXPECT_TRUE(NeedsExtendedLengthForm(path)) << path.size();
    }
    for (const std::u16string& path :
         {u"C:\\" + name.substr(4), u"\\\\?\\C:\\" + name, u"a\\" + name, u"\\a\\" + name,
          u"C:" + name, u"1:\\" + name}) {
        EXPECT_FALSE(NeedsExtendedLengthForm(path)) << path.size();
    }
    EXPECT_EQ(ExtendedLengthForm(u"C:\\a"), u"\\\\?\\C:\\a");
    EXPECT_EQ(ExtendedLengthForm(u"\\\\host\\share\\a"), u"\\\\?\\UNC\\host\\share\\a");
    EXPECT_EQ(ExtendedLengthForm(u"\\\\.\\C:\\a"), u"\\\\?\\C:\\a");
    EXPECT_EQ(ExtendedLengthForm(u"\\\\?\\C:\\a"), u"\\\\?\\C:\\a");
}

} // namespace
} // namespace sevrane
