// A marked place carries its file's number: the highest number still fits the report's 24 bits.
#include <gtest/gtest.h>

#include "platform/location_marker.h"

KV_MARKED_FILE(platform::kMaxMarkedFile);

TEST(LocationMarker, APlaceIsTheFileNumberTimesTenThousandPlusTheLine) {
  const int line = __LINE__ + 1;
  KV_MARK();
  EXPECT_EQ(platform::LocationLine(platform::CurrentLocation()),
            static_cast<std::uint32_t>(platform::kMaxMarkedFile) * 10000u + static_cast<std::uint32_t>(line));
  EXPECT_EQ(platform::LocationModule(platform::CurrentLocation()), 0u);
}
